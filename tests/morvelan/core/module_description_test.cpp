// Module description files and the catalogue: reading one file, the scan of the folder, the
// two finds, and the sample installation's catalogue read whole.
#include "catalogue/module_description.h"
#include "tests/test_paths.h"
#include "platform/clock.h"
#include "platform/ini_file.h"

#include <gtest/gtest.h>

#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <set>
#include <string>
#include <vector>

namespace {

namespace fs = std::filesystem;

class Installation {
public:
    Installation() {
        char name[] = "/tmp/mv-kvn-XXXXXX";
        root_ = ::mkdtemp(name) ? name : "";
        fs::create_directories(root_ + "/Modul");
        mv::iniClearCache();
    }
    ~Installation() {
        std::error_code ec;
        fs::remove_all(root_, ec);
        mv::iniClearCache();
    }
    const std::string& root() const { return root_; }
    void write(const std::string& rel, const std::string& text) const {
        std::ofstream(root_ + "/" + rel, std::ios::binary) << text;
    }
    // A description file with the given Description, ID and Typ.
    void description(const std::string& file, const std::string& type, int id, int kind,
                     const std::string& device = "Morvelan") const {
        write("Modul/" + file, "[FILEINFO]\r\nFilename=" + file + "\r\nDevice=" + device +
                                   "\r\n[MORVELAN]\r\nDescription=" + type + "\r\nID=" +
                                   std::to_string(id) + "\r\nTyp=" + std::to_string(kind) +
                                   "\r\nName=1\r\n[English]\r\n1=" + type + " board\r\n");
    }

private:
    std::string root_;
};

CModuleDescription readOne(const Installation& inst, const std::string& file,
                           const std::string& language = "English", int* result = nullptr) {
    CModuleDescription d;
    d.m_FileName = file;
    const int r = d.Read(inst.root(), language);
    if (result)
        *result = r;
    return d;
}

TEST(ModuleDescriptionRead, TakesEveryCatalogueKey) {
    Installation inst;
    inst.write("Modul/X740.kvn", "[FILEINFO]\r\nFilename=ignored.kvn\r\nProtocol_ID=70000\r\n"
                                 "Device=Morvelan\r\n[MORVELAN]\r\nDescription=X740\r\nDoku=X740\r\n"
                                 "Print=X740 P\r\nName=7\r\nID=67392\r\nTyp=1\r\nChannel=3\r\n"
                                 "Mask=300\r\nBitmap=X740.bmp\r\nDLL=X740Panel\r\n"
                                 "[Deutsch]\r\n7=Steuerung\r\n[English]\r\n7=Controller\r\n");
    int result = -1;
    const CModuleDescription d = readOne(inst, "X740.kvn", "Deutsch", &result);
    EXPECT_EQ(result, 1);
    EXPECT_EQ(d.m_FileName, "X740.kvn");
    EXPECT_EQ(d.m_ProtocolId, static_cast<std::int16_t>(70000 & 0xFFFF));
    EXPECT_EQ(d.m_Device, "Morvelan");
    EXPECT_EQ(d.m_Description, "X740");
    EXPECT_EQ(d.m_Doku, "X740");
    EXPECT_EQ(d.m_Print, "X740 P");
    EXPECT_EQ(d.m_DisplayName, "Steuerung");
    EXPECT_EQ(d.m_Id, 67392 & 0xFFFF) << "stored as 16 bits";
    EXPECT_EQ(d.m_Kind, 1);
    EXPECT_EQ(d.m_ChannelCount, 3);
    EXPECT_EQ(d.m_Mask, 300 & 0xFF) << "Mask keeps its low 8 bits";
    EXPECT_EQ(d.m_Bitmap, "X740.bmp");
    EXPECT_EQ(d.m_Dll, "X740Panel");
}

TEST(ModuleDescriptionRead, DeviceMustMatchExactly) {
    Installation inst;
    inst.write("Modul/low.kvn", "[FILEINFO]\r\nProtocol_ID=4\r\nDevice=morvelan\r\n"
                                "[MORVELAN]\r\nDescription=LOW\r\nTyp=2\r\nID=9\r\n");
    int result = -1;
    const CModuleDescription d = readOne(inst, "low.kvn", "English", &result);
    EXPECT_EQ(result, 0);
    EXPECT_EQ(d.m_ProtocolId, 4);
    EXPECT_EQ(d.m_Device, "morvelan");
    EXPECT_EQ(d.m_Description, "");
    EXPECT_EQ(d.m_Kind, 0);
    EXPECT_EQ(d.m_Id, 0);

    const CModuleDescription missing = readOne(inst, "nothere.kvn", "English", &result);
    EXPECT_EQ(result, 0);
    EXPECT_EQ(missing.m_Device, "");
}

TEST(ModuleDescriptionRead, DisplayNameHasNoDefaultFallback) {
    Installation inst;
    inst.write("Modul/a.kvn", "[FILEINFO]\r\nDevice=Morvelan\r\n[MORVELAN]\r\nName=5\r\n"
                              "[Default]\r\n5=Fallback\r\n[English]\r\n6=Other\r\n");
    EXPECT_EQ(readOne(inst, "a.kvn").m_DisplayName, "");
    // Texts are cut to the 200-byte buffer.
    inst.write("Modul/b.kvn", "[FILEINFO]\r\nDevice=Morvelan\r\n[MORVELAN]\r\nDescription=" +
                                  std::string(300, 'x') + "\r\n");
    EXPECT_EQ(readOne(inst, "b.kvn").m_Description, std::string(199, 'x'));
}

TEST(ModuleDescriptionRead, WritesItsFileNameIntoAProject) {
    Installation inst;
    CModuleDescription d;
    d.m_FileName = "D2110.kvn";
    const std::string project = inst.root() + "/p.mvl";
    EXPECT_EQ(d.WriteParameterFileName(2, 5, project), 1);
    EXPECT_EQ(mv::iniReadString(project, "M2P5", "Filename"), "D2110.kvn");
    d.m_FileName.clear();
    d.WriteParameterFileName(1, 1, project);
    EXPECT_EQ(mv::iniReadString(project, "M1P1", "Filename", "", 10), "") << "one blank, trimmed";
}

class CatalogueScan : public ::testing::Test {
protected:
    int scan(const std::string& language = "English") {
        shown_.clear();
        return list_.Scan(inst_.root(), language,
                          [this](const std::string& f) { shown_.push_back(f); }, clock_);
    }
    Installation inst_;
    CModuleDescriptionList list_;
    mv::FakeClock clock_;
    std::vector<std::string> shown_;
};

TEST_F(CatalogueScan, ReadsKvnFilesSortedByNameAndCountsKinds) {
    inst_.description("b.kvn", "B", 20, 2);
    inst_.description("A.KVN", "A", 10, 1);
    inst_.description("c.Kvn", "C", 30, 5);
    inst_.description("d.kvn", "D", 40, 2);
    inst_.description("e.kvn", "E", 50, 3);
    inst_.write("Modul/readme.txt", "not a description");
    inst_.write("Modul/old.kvn.bak", "[FILEINFO]\r\nDevice=Morvelan\r\n");
    fs::create_directories(inst_.root() + "/Modul/dir.kvn");

    EXPECT_EQ(scan(), 5);
    ASSERT_EQ(list_.GetSize(), 5);
    const char* order[] = {"A.KVN", "b.kvn", "c.Kvn", "d.kvn", "e.kvn"}; // byte order
    for (int i = 0; i < 5; ++i)
        EXPECT_EQ(list_[i]->m_FileName, order[i]);
    EXPECT_EQ(list_.m_ControllerCount, 2) << "kinds 1 and 5";
    EXPECT_EQ(list_.m_BoardCount, 2) << "kind 2";
    EXPECT_EQ(shown_.size(), 5u) << "every file is shown";
    EXPECT_EQ(clock_.slept(), CModuleDescriptionList::kScanEndPauseMs);
    EXPECT_EQ(list_.GetAt(5), nullptr);
    EXPECT_EQ(list_.GetAt(-1), nullptr);
}

TEST_F(CatalogueScan, FindsByNameIgnoringCaseAndById) {
    inst_.description("z.kvn", "Dup", 7, 2);
    inst_.description("m.kvn", "DUP", 8, 2);
    inst_.description("q.kvn", "Other", 7, 2);
    scan();
    const int byName = list_.FindByName("dup");
    ASSERT_GE(byName, 0);
    EXPECT_EQ(list_[byName]->m_FileName, "m.kvn") << "the one that sorts first";
    const int byId = list_.FindById(7);
    ASSERT_GE(byId, 0);
    EXPECT_EQ(list_[byId]->m_FileName, "q.kvn") << "first in catalogue order";
    EXPECT_EQ(list_.FindByName("missing"), -1);
    EXPECT_EQ(list_.FindById(999), -1);
}

TEST_F(CatalogueScan, RejectedFilesStayListedButAreNeverFound) {
    inst_.description("good.kvn", "Good", 1, 2);
    inst_.description("lower.kvn", "Lower", 2, 2, "morvelan");
    inst_.write("Modul/nodevice.kvn", "[MORVELAN]\r\nDescription=None\r\nID=3\r\nTyp=2\r\n");
    scan();
    ASSERT_EQ(list_.GetSize(), 3);
    EXPECT_EQ(list_.m_BoardCount, 1) << "a rejected file counts as kind 0";
    EXPECT_EQ(list_.FindByName("Lower"), -1);
    EXPECT_EQ(list_.FindByName(""), -1) << "the empty type name of a rejected file";
    EXPECT_EQ(list_.FindById(0), -1);
    EXPECT_EQ(list_.FindById(2), -1);
    EXPECT_EQ(list_.FindById(3), -1);
    EXPECT_EQ(list_.FindById(1), list_.FindByName("GOOD"));
}

TEST_F(CatalogueScan, MissingFolderLeavesTheCatalogueEmpty) {
    fs::remove_all(inst_.root() + "/Modul");
    EXPECT_EQ(scan(), 0);
    EXPECT_EQ(list_.GetSize(), 0);
    EXPECT_TRUE(shown_.empty());
}

TEST_F(CatalogueScan, FolderNameIgnoresCase) {
    fs::rename(inst_.root() + "/Modul", inst_.root() + "/modul");
    inst_.write("modul/x.kvn", "[FILEINFO]\r\nDevice=Morvelan\r\n[MORVELAN]\r\nDescription=X\r\n");
    EXPECT_EQ(scan(), 1);
    EXPECT_EQ(list_.FindByName("x"), 0);
}

TEST_F(CatalogueScan, RemoveAllEmptiesTheCatalogue) {
    inst_.description("a.kvn", "A", 1, 1);
    scan();
    list_.RemoveAll();
    EXPECT_EQ(list_.GetSize(), 0);
    EXPECT_EQ(list_.m_ControllerCount, 0);
}

TEST(SampleCatalogue, EveryFileIsAcceptedAndTheNamedEntriesExist) {
    mv::iniClearCache();
    CModuleDescriptionList list;
    mv::FakeClock clock;
    const int files = list.Scan(mvtest::SampleDataDir(), "English", nullptr, clock);
    ASSERT_GT(files, 10);
    std::set<int> kinds;
    for (int i = 0; i < list.GetSize(); ++i) {
        const CModuleDescription& d = *list[i];
        EXPECT_EQ(d.m_Device, "Morvelan") << d.m_FileName;
        EXPECT_FALSE(d.m_Description.empty()) << d.m_FileName;
        EXPECT_FALSE(d.m_DisplayName.empty()) << d.m_FileName;
        EXPECT_EQ(list.FindByName(d.m_Description), i) << "type names are unique";
        kinds.insert(d.m_Kind);
    }
    EXPECT_EQ(kinds, (std::set<int>{1, 2, 3, 4, 5, 6, 7, 8}));
    for (const char* name : {"@PEmpty", "@K2270", "@K2271", "@Zero", "@D615", "@D619"})
        EXPECT_GE(list.FindByName(name), 0) << name;

    // The simulated station's controller and boards are in the catalogue.
    const int x740 = list.FindById(0x0740);
    ASSERT_GE(x740, 0);
    EXPECT_EQ(list[x740]->m_Kind, 1);
    EXPECT_EQ(list[x740]->m_Dll, "X740Panel");
    for (std::uint16_t id : {0x2110, 0x2210, 0x3104, 14, 15, 643})
        EXPECT_GE(list.FindById(id), 0) << id;
    int withoutDll = 0;
    for (int i = 0; i < list.GetSize(); ++i)
        withoutDll += (list[i]->m_Kind == 1 && list[i]->m_Dll.empty()) ? 1 : 0;
    EXPECT_GE(withoutDll, 1) << "a controller without service library";

    // German texts are there too.
    CModuleDescriptionList german;
    german.Scan(mvtest::SampleDataDir(), "Deutsch", nullptr, clock);
    const int d = german.FindByName("D2110");
    ASSERT_GE(d, 0);
    EXPECT_EQ(german[d]->m_DisplayName, "16 digitale Eing\xE4nge 24 V DC");
}

} // namespace
