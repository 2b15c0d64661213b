// Opening archives and reading entries: what the loader sees of good and of damaged archives.
#include "flash/zip/zip_archive.h"
#include "tests/flash/zip/zip_fixtures.h"

#include <gtest/gtest.h>

#include <cstring>
#include <sys/stat.h>

using namespace mv::zip::test;

namespace {

int openCause(const std::string& file) {
    CZipArchive zip;
    try {
        zip.Open(file);
    } catch (const CZipException& e) {
        EXPECT_EQ(e.GetFileName(), file);
        return e.GetCause();
    }
    return 0;
}

std::vector<char> readEntry(CZipArchive& zip, int index, std::size_t piece = 4096) {
    EXPECT_TRUE(zip.OpenFile(index));
    std::vector<char> data;
    std::vector<char> buffer(piece);
    for (;;) {
        std::size_t n = zip.ReadFile(buffer.data(), buffer.size());
        data.insert(data.end(), buffer.begin(), buffer.begin() + static_cast<std::ptrdiff_t>(n));
        if (n < buffer.size())
            break;
    }
    EXPECT_EQ(zip.CloseFile(), 1);
    return data;
}

// Patches a little-endian 32-bit value.
void put32(std::vector<char>& bytes, std::size_t at, std::uint32_t value) {
    for (int i = 0; i < 4; ++i)
        bytes[at + static_cast<std::size_t>(i)] = static_cast<char>(value >> (8 * i));
}

std::size_t find(const std::vector<char>& bytes, const char* sig, std::size_t from = 0) {
    auto it = std::search(bytes.begin() + static_cast<std::ptrdiff_t>(from), bytes.end(), sig, sig + 4);
    return static_cast<std::size_t>(it - bytes.begin());
}

} // namespace

class ZipReadsArchive : public ::testing::TestWithParam<const char*> {};

TEST_P(ZipReadsArchive, EveryEntryMatchesItsSourceFile) {
    CZipArchive zip;
    zip.Open(Fixtures::path(GetParam()));
    int files = 0;
    for (int i = 0; i < zip.GetCount(); ++i) {
        CZipEntryHeader h;
        ASSERT_TRUE(zip.GetFileInfo(h, i));
        if (h.IsDirectory())
            continue;
        ++files;
        EXPECT_EQ(readEntry(zip, i, 5000), readBytes(Fixtures::dir() / "src" / h.m_szFileName))
            << h.m_szFileName;
    }
    EXPECT_EQ(files, 6);
}

INSTANTIATE_TEST_SUITE_P(Kinds, ZipReadsArchive,
                         ::testing::Values("stored.zip", "deflated.zip", "descriptor.zip", "cli.zip",
                                           "stub.zip"));

TEST(ZipOpen, ReadsDirectoryInOrder) {
    CZipArchive zip;
    zip.Open(Fixtures::path("deflated.zip"));
    ASSERT_EQ(zip.GetCount(), 7);
    CZipEntryHeader h;
    ASSERT_TRUE(zip.GetFileInfo(h, 0));
    EXPECT_EQ(h.m_szFileName, "Firmware-Update/");
    EXPECT_TRUE(h.IsDirectory());
    ASSERT_TRUE(zip.GetFileInfo(h, 6));
    EXPECT_EQ(h.m_szFileName, "Firmware-Images/startup.bin");
    EXPECT_EQ(h.m_uMethod, CZipEntryHeader::kMethodDeflated);
    EXPECT_FALSE(zip.GetFileInfo(h, 7));
    EXPECT_FALSE(zip.GetFileInfo(h, -1));
}

TEST(ZipOpen, SecondOpenDoesNothingWhileOpen) {
    CZipArchive zip;
    zip.Open(Fixtures::path("deflated.zip"));
    zip.Open(Fixtures::path("empty.zip"));
    EXPECT_EQ(zip.GetCount(), 7);
    zip.Close();
    EXPECT_TRUE(zip.IsClosed());
    zip.Open(Fixtures::path("empty.zip"));
    EXPECT_EQ(zip.GetCount(), 0);
}

TEST(ZipOpen, LongestCommentWithFalseSignatureInside) {
    CZipArchive zip;
    zip.Open(Fixtures::path("comment.zip"));
    EXPECT_EQ(zip.GetGlobalComment().size(), 65535u);
    ASSERT_EQ(zip.GetCount(), 1);
    std::vector<char> data = readEntry(zip, 0);
    EXPECT_EQ(std::string(data.begin(), data.end()), "with comment\n");
}

TEST(ZipOpen, EndRecordFoundAcrossChunkBorders) {
    for (const char* name : {"cp437.zip", "comment.zip"}) {
        for (std::size_t chunk : {4u, 5u, 6u, 7u, 9u, 13u, 64u, 1000u, 70000u}) {
            CZipVolume volume;
            volume.Open(Fixtures::path(name), CZipVolume::openReadOnly);
            volume.SetChunkSize(chunk);
            CZipCentralDir dir;
            dir.Read(volume);
            EXPECT_EQ(dir.GetCount(), 1) << name << " chunk " << chunk;
        }
    }
}

TEST(ZipOpen, EndRecordSearchedOverTheLastBytesOnly) {
    ScratchFolder tmp;
    const std::vector<char> good = readBytes(Fixtures::path("cp437.zip"));
    std::vector<char> bytes = good;
    bytes.resize(good.size() + 65535);  // the farthest a record can lie from the end
    writeBytes(tmp.path() / "far.zip", bytes);
    CZipArchive zip;
    zip.Open((tmp.path() / "far.zip").string());
    EXPECT_EQ(zip.GetCount(), 1);
    bytes.resize(good.size() + 65536);
    writeBytes(tmp.path() / "beyond.zip", bytes);
    EXPECT_EQ(openCause((tmp.path() / "beyond.zip").string()), CZipException::noCentralDir);
}

TEST(ZipOpen, StubInFrontIsCounted) {
    CZipArchive zip;
    zip.Open(Fixtures::path("stub.zip"));
    EXPECT_EQ(zip.GetCentralDir().GetBytesBefore(), 17u * 100u);
}

TEST(ZipOpen, NamesInCodePage437AndUtf8) {
    CZipArchive zip;
    zip.Open(Fixtures::path("cp437.zip"));
    CZipEntryHeader h;
    zip.GetFileInfo(h, 0);
    EXPECT_EQ(h.m_szFileName, "M\xC3\xBC" "nchen.txt");
    zip.Close();
    zip.Open(Fixtures::path("utf8.zip"));
    zip.GetFileInfo(h, 0);
    EXPECT_EQ(h.m_szFileName, "Gr\xC3\xBC\xC3\x9F" "e.txt");
}

TEST(ZipOpenFails, WithTheCauseTheLoaderActsOn) {
    ScratchFolder tmp;
    EXPECT_EQ(openCause((tmp.path() / "missing.zip").string()), CZipException::errNo);
    EXPECT_EQ(openCause(""), CZipException::errNo);
    EXPECT_EQ(openCause(tmp.str()), CZipException::errNo);  // a folder
    EXPECT_EQ(openCause(Fixtures::path("src/readme.txt")), CZipException::noCentralDir);
    writeBytes(tmp.path() / "tiny.zip", {'P', 'K'});
    EXPECT_EQ(openCause((tmp.path() / "tiny.zip").string()), CZipException::noCentralDir);
    EXPECT_EQ(openCause(Fixtures::path("zip64.zip")), CZipException::badArchive);
}

TEST(ZipOpenFails, OtherVolumesAreRefused) {
    ScratchFolder tmp;
    std::vector<char> bytes = readBytes(Fixtures::path("deflated.zip"));
    std::size_t end = find(bytes, "PK\x05\x06");
    bytes[end + 4] = 1;  // this volume
    writeBytes(tmp.path() / "span.zip", bytes);
    EXPECT_EQ(openCause((tmp.path() / "span.zip").string()), CZipException::badArchive);
}

TEST(ZipOpenFails, CountsAndOffsetsBeyondTheFile) {
    ScratchFolder tmp;
    const std::vector<char> good = readBytes(Fixtures::path("deflated.zip"));
    const std::size_t end = find(good, "PK\x05\x06");
    const std::size_t central = find(good, "PK\x01\x02");
    struct Patch {
        std::size_t at;
        std::uint32_t value;
        int bytes;
    };
    const Patch patches[] = {
        {end + 8, 0xFFFF, 2},                 // entries on this volume
        {end + 8, 0xFFFFFFFF, 4},             // both counts
        {end + 12, 0x7FFFFFFF, 4},            // directory size
        {end + 16, 0x7FFFFFF0, 4},            // directory offset
        {end + 12, 0, 4},                     // directory size 0 with entries
        {central + 42, 0x7FFFFFF0, 4},        // local header offset
        {central + 28, 0xFFFF, 2},            // name length
        {central + 34, 3, 2},                 // disk number start
        {central, 0, 4},                      // signature
    };
    for (const Patch& p : patches) {
        std::vector<char> bytes = good;
        for (int i = 0; i < p.bytes; ++i)
            bytes[p.at + static_cast<std::size_t>(i)] = static_cast<char>(p.value >> (8 * i));
        writeBytes(tmp.path() / "bad.zip", bytes);
        EXPECT_EQ(openCause((tmp.path() / "bad.zip").string()), CZipException::badArchive)
            << "patch at " << p.at;
    }
}

TEST(ZipOpenFails, EveryTruncationGivesAnError) {
    ScratchFolder tmp;
    const std::vector<char> good = readBytes(Fixtures::path("cp437.zip"));
    for (std::size_t cut = 0; cut < good.size(); ++cut) {
        writeBytes(tmp.path() / "cut.zip", std::vector<char>(good.begin(), good.begin() + static_cast<std::ptrdiff_t>(cut)));
        int cause = openCause((tmp.path() / "cut.zip").string());
        EXPECT_TRUE(cause == CZipException::badArchive || cause == CZipException::noCentralDir)
            << "cut at " << cut << " gave " << cause;
    }
    // Cut in the middle: the directory then points past the data.
    const std::vector<char> big = readBytes(Fixtures::path("deflated.zip"));
    std::vector<char> holed(big.begin(), big.begin() + 1000);
    holed.insert(holed.end(), big.begin() + 200000, big.end());
    writeBytes(tmp.path() / "holed.zip", holed);
    EXPECT_EQ(openCause((tmp.path() / "holed.zip").string()), CZipException::badArchive);
}

TEST(ZipReadFails, Bzip2EntryIsRefusedWhenOpened) {
    CZipArchive zip;
    zip.Open(Fixtures::path("bzip2.zip"));
    try {
        zip.OpenFile(0);
        FAIL() << "no exception";
    } catch (const CZipException& e) {
        EXPECT_EQ(e.GetCause(), CZipException::badArchive);
    }
}

TEST(ZipReadFails, CorruptDeflateStreamIsADataError) {
    CZipArchive zip;
    zip.Open(Fixtures::path("corrupt.zip"));
    ASSERT_TRUE(zip.OpenFile(0));
    char buffer[256];
    try {
        zip.ReadFile(buffer, sizeof buffer);
        FAIL() << "no exception";
    } catch (const CZipException& e) {
        EXPECT_EQ(e.GetCause(), CZipException::dataError);
    }
}

TEST(ZipReadFails, CrcMismatchShowsAtTheEnd) {
    CZipArchive zip;
    zip.Open(Fixtures::path("badcrc.zip"));
    ASSERT_TRUE(zip.OpenFile(0));
    std::vector<char> buffer(100000);
    EXPECT_EQ(zip.ReadFile(buffer.data(), buffer.size()), 3600u);
    try {
        zip.CloseFile();
        FAIL() << "no exception";
    } catch (const CZipException& e) {
        EXPECT_EQ(e.GetCause(), CZipException::badCrc);
    }
    // The entry is closed: it can be opened again.
    EXPECT_TRUE(zip.OpenFile(0));
}

TEST(ZipReadFails, EncryptedEntryIsNotOpened) {
    CZipArchive zip;
    zip.Open(Fixtures::path("encrypted.zip"));
    CZipEntryHeader h;
    zip.GetFileInfo(h, 0);
    EXPECT_TRUE(h.IsEncrypted());
    EXPECT_FALSE(zip.OpenFile(0));
}

TEST(ZipReadFails, SizesThatDisagreeWithTheStream) {
    ScratchFolder tmp;
    const std::vector<char> base = readBytes(Fixtures::path("utf8.zip"));
    const std::size_t central = find(base, "PK\x01\x02");
    for (std::uint32_t size : {3u, 60u}) {
        std::vector<char> bytes = base;
        put32(bytes, 22, size);
        put32(bytes, central + 24, size);
        writeBytes(tmp.path() / "size.zip", bytes);
        CZipArchive zip;
        zip.Open((tmp.path() / "size.zip").string());
        ASSERT_TRUE(zip.OpenFile(0));
        char buffer[100];
        try {
            zip.ReadFile(buffer, sizeof buffer);
            zip.CloseFile();
            FAIL() << "no exception for size " << size;
        } catch (const CZipException& e) {
            EXPECT_EQ(e.GetCause(), CZipException::badArchive) << size;
        }
    }
}

TEST(ZipEntryReading, PartialReadAndRefusedSecondOpen) {
    CZipArchive zip;
    zip.Open(Fixtures::path("deflated.zip"));
    int rom = findEntry(zip, "Firmware-Images/rom.bin");
    ASSERT_GE(rom, 0);
    ASSERT_TRUE(zip.OpenFile(rom));
    EXPECT_FALSE(zip.OpenFile(rom));
    char buffer[1000];
    EXPECT_EQ(zip.ReadFile(buffer, sizeof buffer), sizeof buffer);
    EXPECT_EQ(zip.CloseFile(), -1);
    EXPECT_FALSE(zip.OpenFile(99));
    std::vector<char> data = readEntry(zip, rom, 65535);
    EXPECT_EQ(data, readBytes(Fixtures::dir() / "src/Firmware-Images/rom.bin"));
}

TEST(ZipEntryReading, CauseTable) {
    EXPECT_EQ(CZipException::CauseFromCode(1), 2);
    EXPECT_EQ(CZipException::CauseFromCode(2), 3);
    for (int code = -1; code >= -6; --code)
        EXPECT_EQ(CZipException::CauseFromCode(code), 3 - code);
    for (int code = -101; code >= -109; --code)
        EXPECT_EQ(CZipException::CauseFromCode(code), -91 - code);
    EXPECT_EQ(CZipException::CauseFromCode(0), 1);
    EXPECT_EQ(CZipException::CauseFromCode(-100), 1);
}

TEST(ZipEntryReading, CloseFileGivesTimeAndAttributesToANamedFile) {
    ScratchFolder tmp;
    CZipArchive zip;
    zip.Open(Fixtures::path("deflated.zip"));
    const int readme = findEntry(zip, "readme.txt");
    ASSERT_TRUE(zip.OpenFile(readme));
    char buffer[64];
    ASSERT_EQ(zip.ReadFile(buffer, sizeof buffer), 18u);
    const fs::path copy = tmp.path() / "copy.txt";
    writeBytes(copy, std::vector<char>(buffer, buffer + 18));
    fs::permissions(copy, fs::perms::owner_read);
    EXPECT_EQ(zip.CloseFile(copy.string()), 1);
    CZipEntryHeader h;
    zip.GetFileInfo(h, readme);
    struct stat st {};
    ASSERT_EQ(::stat(copy.c_str(), &st), 0);
    EXPECT_EQ(st.st_mtime, h.GetTime());
    EXPECT_EQ(st.st_mode & 0777, 0644u);

    ASSERT_TRUE(zip.OpenFile(readme));
    ASSERT_EQ(zip.ReadFile(buffer, sizeof buffer), 18u);
    EXPECT_EQ(zip.CloseFile((tmp.path() / "missing.txt").string()), -2);
}
