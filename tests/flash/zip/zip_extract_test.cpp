// Extraction below a folder: byte-exact files, folders, times and modes, and names or links
// that try to leave the folder.
#include "flash/zip/zip_archive.h"
#include "tests/flash/zip/zip_fixtures.h"

#include <gtest/gtest.h>

#include <ctime>
#include <sys/stat.h>
#include <unistd.h>

using namespace mv::zip::test;

namespace {

int extractCause(CZipArchive& zip, int index, const std::string& folder) {
    try {
        zip.ExtractFile(index, folder);
    } catch (const CZipException& e) {
        return e.GetCause();
    }
    return 0;
}

std::vector<std::string> listTree(const fs::path& root) {
    std::vector<std::string> out;
    for (const auto& e : fs::recursive_directory_iterator(root))
        out.push_back(fs::relative(e.path(), root).string() + (e.is_directory() ? "/" : ""));
    std::sort(out.begin(), out.end());
    return out;
}

mode_t modeOf(const fs::path& p) {
    struct stat st {};
    EXPECT_EQ(::lstat(p.c_str(), &st), 0) << p;
    return st.st_mode;
}

} // namespace

class ZipExtractsArchive : public ::testing::TestWithParam<const char*> {};

TEST_P(ZipExtractsArchive, TreeIsByteForByteTheSource) {
    ScratchFolder out;
    const fs::path target = out.path() / "tmp";  // made by the extraction
    CZipArchive zip;
    zip.Open(Fixtures::path(GetParam()));
    for (int i = 0; i < zip.GetCount(); ++i)
        ASSERT_TRUE(zip.ExtractFile(i, target.string())) << i;
    const fs::path src = Fixtures::dir() / "src";
    std::vector<std::string> want = listTree(src);
    if (std::string(GetParam()) == "descriptor.zip")  // made without the empty folder
        want.erase(std::find(want.begin(), want.end(), "Firmware-Update/"));
    EXPECT_EQ(listTree(target), want);
    for (const std::string& name : want) {
        if (name.back() != '/') {
            EXPECT_EQ(readBytes(target / name), readBytes(src / name)) << name;
        }
    }
}

INSTANTIATE_TEST_SUITE_P(Kinds, ZipExtractsArchive,
                         ::testing::Values("stored.zip", "deflated.zip", "descriptor.zip", "cli.zip",
                                           "stub.zip"));

TEST(ZipExtract, NamesMadeOnLinuxComeOutAsUnzipGivesThem) {
    const fs::path source = Fixtures::dir() / "names";
    for (const char* archive : {"names-cli.zip", "names-python.zip"}) {
        SCOPED_TRACE(archive);
        ScratchFolder ours, theirs;
        CZipArchive zip;
        zip.Open(Fixtures::path(archive));
        for (int i = 0; i < zip.GetCount(); ++i)
            ASSERT_TRUE(zip.ExtractFile(i, ours.str())) << i;
        const std::string unzip = "unzip -q '" + Fixtures::path(archive) + "' -d '" + theirs.str() + "'";
        ASSERT_EQ(std::system(unzip.c_str()), 0) << unzip;
        EXPECT_EQ(listTree(ours.path()), listTree(theirs.path()));
        EXPECT_EQ(listTree(ours.path()), listTree(source));
        const fs::path member = fs::path("Gr\xC3\xBC\xC3\x9F" "e") / "\xC3\xB1" "and\xC3\xBA.txt";
        EXPECT_EQ(readBytes(ours.path() / member), readBytes(source / member));
    }
}

TEST(ZipExtract, FilesGetTheDosTime) {
    ScratchFolder out;
    CZipArchive zip;
    zip.Open(Fixtures::path("deflated.zip"));
    ASSERT_TRUE(zip.ExtractFile(findEntry(zip, "readme.txt"), out.str()));
    std::tm tm{};
    tm.tm_year = 121;
    tm.tm_mon = 2;
    tm.tm_mday = 4;
    tm.tm_hour = 5;
    tm.tm_min = 6;
    tm.tm_sec = 8;
    tm.tm_isdst = -1;
    struct stat st {};
    ASSERT_EQ(::stat((out.path() / "readme.txt").c_str(), &st), 0);
    EXPECT_EQ(st.st_mtime, std::mktime(&tm));
}

TEST(ZipExtract, UnixModesKeepOnlyPermissionsAndOwnerAccess) {
    ScratchFolder out;
    CZipArchive zip;
    zip.Open(Fixtures::path("modes.zip"));
    for (int i = 0; i < zip.GetCount(); ++i)
        ASSERT_TRUE(zip.ExtractFile(i, out.str())) << i;
    const fs::path tree = out.path() / "tree";
    EXPECT_EQ(modeOf(tree / "ro.txt") & 07777, 0644u);
    EXPECT_EQ(modeOf(tree / "run.sh") & 07777, 0755u);  // set-id bit dropped
    EXPECT_EQ(modeOf(tree / "locked") & 07777, 0750u);
    EXPECT_TRUE(S_ISDIR(modeOf(tree / "locked")));
    // A stored link becomes a plain file holding the link text; nothing is followed.
    EXPECT_TRUE(S_ISREG(modeOf(tree / "link")));
    std::vector<char> text = readBytes(tree / "link");
    EXPECT_EQ(std::string(text.begin(), text.end()), "/etc/passwd");
}

TEST(ZipExtract, DosReadOnlyAndFolders) {
    ScratchFolder out;
    CZipArchive zip;
    zip.Open(Fixtures::path("deflated.zip"));
    ASSERT_TRUE(zip.ExtractFile(0, out.str()));
    EXPECT_TRUE(fs::is_directory(out.path() / "Firmware-Update"));
    EXPECT_EQ(modeOf(out.path() / "Firmware-Update") & 0700, 0700u);

    CZipEntryHeader h;
    h.m_uExternalAttr = 0x01;  // DOS read-only
    EXPECT_EQ(h.GetSystemMode(), 0644u);
    h.m_szFileName = "d/";
    EXPECT_EQ(h.GetSystemMode(), 0755u);
    h.m_uVersionMadeBy = 3 << 8;
    h.m_uExternalAttr = (0040000u | 0500u) << 16;
    EXPECT_EQ(h.GetSystemMode(), 0700u);
}

TEST(ZipExtract, WithoutFullPathAndWithNewName) {
    ScratchFolder out;
    CZipArchive zip;
    zip.Open(Fixtures::path("deflated.zip"));
    const int app = findEntry(zip, "Firmware-Binaries/app.bin");
    ASSERT_TRUE(zip.ExtractFile(app, out.str(), false));
    ASSERT_TRUE(zip.ExtractFile(app, out.str(), true, "renamed\\copy.bin"));
    ASSERT_TRUE(zip.ExtractFile(app, out.str(), false, "deep/name.bin"));
    CZipEntryHeader h;
    zip.GetFileInfo(h, app);
    const std::string base = fs::path(h.m_szFileName).filename().string();
    const std::vector<char> want = readBytes(Fixtures::dir() / "src" / h.m_szFileName);
    EXPECT_EQ(readBytes(out.path() / base), want);
    EXPECT_EQ(readBytes(out.path() / "renamed" / "copy.bin"), want);
    EXPECT_EQ(readBytes(out.path() / "name.bin"), want);
}

TEST(ZipExtract, HostileNamesNeverLeaveTheFolder) {
    ScratchFolder out;
    const fs::path target = out.path() / "work";
    CZipArchive zip;
    zip.Open(Fixtures::path("hostile.zip"));
    ASSERT_EQ(zip.GetCount(), 8);
    EXPECT_EQ(extractCause(zip, 0, target.string()), 0);
    for (int i = 1; i <= 6; ++i) {
        CZipEntryHeader h;
        zip.GetFileInfo(h, i);
        EXPECT_EQ(extractCause(zip, i, target.string()), CZipException::badArchive) << h.m_szFileName;
    }
    EXPECT_EQ(extractCause(zip, 7, target.string()), 0);
    EXPECT_EQ(listTree(out.path()), (std::vector<std::string>{"work/", "work/dot/", "work/dot/fine.txt",
                                                              "work/ok/", "work/ok/good.txt"}));
    // A hostile name passed as the new name is refused the same way.
    EXPECT_THROW(zip.ExtractFile(0, target.string(), true, "../x.txt"), CZipException);
    EXPECT_FALSE(fs::exists(out.path() / "x.txt"));
}

TEST(ZipExtract, LinksPlantedInTheFolderAreNotFollowed) {
    ScratchFolder out;
    ScratchFolder outside;
    const fs::path target = out.path() / "work";
    fs::create_directories(target);
    fs::create_symlink(outside.path(), target / "ok");
    CZipArchive zip;
    zip.Open(Fixtures::path("hostile.zip"));
    EXPECT_EQ(extractCause(zip, 0, target.string()), CZipException::errNo);
    EXPECT_TRUE(fs::is_empty(outside.path()));

    fs::remove(target / "ok");
    fs::create_directories(target / "ok");
    writeBytes(outside.path() / "victim", {'v'});
    fs::create_symlink(outside.path() / "victim", target / "ok" / "good.txt");
    EXPECT_EQ(extractCause(zip, 0, target.string()), CZipException::errNo);
    EXPECT_EQ(readBytes(outside.path() / "victim"), std::vector<char>{'v'});
}

namespace {
struct Progress {
    std::uint64_t total = 0;
    std::vector<std::uint64_t> seen;
    std::size_t stopAfter = 1000;
};
bool onBlock(std::uint64_t total, std::uint64_t done, void* user) {
    auto* p = static_cast<Progress*>(user);
    p->total = total;
    p->seen.push_back(done);
    return p->seen.size() < p->stopAfter;
}
} // namespace

TEST(ZipExtract, CallbackSeesProgressAndCanStop) {
    ScratchFolder out;
    CZipArchive zip;
    zip.Open(Fixtures::path("deflated.zip"));
    const int exact = findEntry(zip, "Firmware-Binaries/exact.bin");  // two full blocks of 65535
    CZipEntryHeader h;
    zip.GetFileInfo(h, exact);
    Progress all;
    ASSERT_TRUE(zip.ExtractFile(exact, out.str(), true, {}, &onBlock, &all));
    EXPECT_EQ(all.total, 131070u);
    EXPECT_EQ(all.seen, (std::vector<std::uint64_t>{65535, 131070, 131070}));

    Progress stop;
    stop.stopAfter = 1;
    EXPECT_FALSE(zip.ExtractFile(exact, (out.path() / "stopped").string(), true, {}, &onBlock, &stop));
    EXPECT_FALSE(fs::exists(out.path() / "stopped" / h.m_szFileName));
    EXPECT_TRUE(zip.ExtractFile(findEntry(zip, "readme.txt"), out.str()));  // the archive is still usable
}

TEST(ZipExtract, RefusedArguments) {
    ScratchFolder out;
    CZipArchive zip;
    zip.Open(Fixtures::path("deflated.zip"));
    EXPECT_FALSE(zip.ExtractFile(6, ""));
    EXPECT_FALSE(zip.ExtractFile(6, out.str(), true, {}, nullptr, nullptr, 0));
    EXPECT_FALSE(zip.ExtractFile(7, out.str()));
    EXPECT_TRUE(fs::is_empty(out.path()));
}

TEST(ZipExtractFails, DamagedEntriesLeaveNoFileBehind) {
    ScratchFolder out;
    CZipArchive zip;
    zip.Open(Fixtures::path("corrupt.zip"));
    EXPECT_EQ(extractCause(zip, 0, out.str()), CZipException::dataError);
    EXPECT_FALSE(fs::exists(out.path() / "data.bin"));
    zip.Close();
    zip.Open(Fixtures::path("badcrc.zip"));
    EXPECT_EQ(extractCause(zip, 0, out.str()), CZipException::badCrc);
    EXPECT_FALSE(fs::exists(out.path() / "data.bin"));
    zip.Close();
    zip.Open(Fixtures::path("bzip2.zip"));
    EXPECT_EQ(extractCause(zip, 0, out.str()), CZipException::badArchive);
    zip.Close();
    zip.Open(Fixtures::path("encrypted.zip"));
    EXPECT_FALSE(zip.ExtractFile(0, out.str()));
    EXPECT_FALSE(fs::exists(out.path() / "readme.txt"));
}

TEST(ZipExtractFails, FileWhereAFolderMustGo) {
    ScratchFolder out;
    writeBytes(out.path() / "Firmware-Images", {'x'});
    CZipArchive zip;
    zip.Open(Fixtures::path("deflated.zip"));
    EXPECT_EQ(extractCause(zip, findEntry(zip, "Firmware-Images/rom.bin"), out.str()), CZipException::errNo);
}
