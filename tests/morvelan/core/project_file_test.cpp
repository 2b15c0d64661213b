// Reading and writing project files: round trips, the file's own spelling, the refusals and the
// safety of a save that fails.
#include "fixtures/doc_test_util.h"

#include "morvelan/core/app_profile.h"
#include "morvelan/core/channel_module.h"
#include "morvelan/core/flag_module.h"
#include "platform/ini_file.h"

#include <gtest/gtest.h>

#include <filesystem>
#include <fstream>
#include <set>

#include <fcntl.h>
#include <sys/stat.h>
#include <ctime>

namespace {

using doctest::ReadAll;
using doctest::WriteAll;

class ProjectFileTest : public ::testing::Test {
protected:
    void SetUp() override {
        mv::setErrorBoxSink([this](const std::string&, const std::string& text) {
            errors_.push_back(text);
        });
    }
    void TearDown() override { mv::setErrorBoxSink({}); }

    std::string Path(const std::string& name) const { return install_.dir() + "/" + name; }

    // A project: CTRL head with DIG, FLAG and WORD boards; a second station of a picture head.
    void BuildProject(CMorvelanDoc& doc) {
        doc.m_Comment = "first line\r\nsecond line";
        doc.m_Name = "Press";
        doc.m_Date = "01.02.2024";
        doc.AddModuleToGroup(install_.MakeTile("CTRL"));
        hooks_.selected = doc.Station(0)->Tile(0);
        doc.AddModuleToGroup(install_.MakeTile("DIG"));
        doc.AddModuleToGroup(install_.MakeTile("FLAG"));
        doc.AddModuleToGroup(install_.MakeTile("WORD"));
        doc.AddModuleToGroup(install_.MakeTile("PIC"));
        doc.Station(0)->m_Name = "Line 1";
        doc.Station(0)->Tile(1)->m_Lines[0] = "Inputs";
        static_cast<CFlagModule&>(doc.Station(0)->Tile(2)->Module()).m_Option = 1;
        auto& dig = static_cast<CChannelModule&>(doc.Station(0)->Tile(1)->Module());
        dig.Channel(0).params[0].value = 3;
        dig.Channel(1).mask = 7;
    }

    doctest::Install install_;
    doctest::Hooks hooks_{install_};
    mvtest::RecordingHooks app_;
    std::vector<std::string> errors_;
};

TEST_F(ProjectFileTest, SaveReadSaveGivesTheSameBytes) {
    CMorvelanDoc doc;
    BuildProject(doc);
    ASSERT_EQ(doc.OnSaveDocument(Path("a.mvl")), 1);

    CMorvelanDoc again;
    ASSERT_EQ(again.OnOpenDocument(Path("a.mvl")), 1);
    ASSERT_EQ(again.OnSaveDocument(Path("b.mvl")), 1);
    EXPECT_EQ(ReadAll(Path("a.mvl")), ReadAll(Path("b.mvl")));

    EXPECT_EQ(again.m_Comment, "first line\r\nsecond line");
    ASSERT_EQ(again.StationCount(), 2);
    EXPECT_EQ(again.Station(0)->m_Name, "Line 1");
    EXPECT_EQ(again.Station(0)->TileCount(), 4);
    EXPECT_EQ(again.Station(0)->Tile(1)->m_Lines[0], "Inputs");
    EXPECT_EQ(static_cast<CFlagModule&>(again.Station(0)->Tile(2)->Module()).m_Option, 1);
    auto& dig = static_cast<CChannelModule&>(again.Station(0)->Tile(1)->Module());
    EXPECT_EQ(dig.Channel(0).params[0].value, 3);
    EXPECT_EQ(dig.Channel(1).mask, 7);
    EXPECT_TRUE(app_.messages.empty());
}

TEST_F(ProjectFileTest, FileStartsWithTheMainSectionInItsOrder) {
    CMorvelanDoc doc;
    BuildProject(doc);
    ASSERT_EQ(doc.OnSaveDocument(Path("a.mvl")), 1);
    const std::string text = ReadAll(Path("a.mvl"));
    EXPECT_EQ(text.rfind("[MAIN]\r\nINFO=Morvelan\r\nModule=2\r\n"
                         "Kommentar=first line\x1d\x1asecond line\r\nDatum=01.02.2024\r\n"
                         "Firma= \r\nAutor= \r\nName=Press\r\n[M0]\r\nName=Line 1\r\n"
                         "Comment= \r\nPrints=4\r\n[M0P0]\r\nETKL1= \r\n",
                         0),
              0u);
    EXPECT_NE(text.find("Filename=DIG.kvn\r\n[M0P1K0]\r\nM0=-1\r\nP0=3\r\n"), std::string::npos);
    EXPECT_NE(text.find("Filename=FLAG.kvn\r\nK2271=TRUE\r\n"), std::string::npos);
}

TEST_F(ProjectFileTest, HandWrittenSpellingIsRead) {
    WriteAll(Path("hand.mvl"),
             "[main]\r\n  module =  1 \r\nkommentar = a\x1d\x1a" "b\r\nNAME=x\r\n"
             "[m0]\r\nname=\r\nprints=3\r\n"
             "[m0p0]\r\nfilename = ctrl.kvn \r\netkl1=  Head  \r\n"
             "[m0p1]\r\nfilename=...\r\n"
             "[m0p2]\r\nFILENAME=..dig.old.kvn\r\n[m0p2k0]\r\nP0=2\r\n");
    CMorvelanDoc doc;
    ASSERT_EQ(doc.OnOpenDocument(Path("hand.mvl")), 1);
    EXPECT_EQ(doc.m_Comment, "a\r\nb");
    EXPECT_EQ(doc.m_Name, "x");
    ASSERT_EQ(doc.StationCount(), 1);
    // The position of dots only is skipped; the board behind it becomes the first board.
    ASSERT_EQ(doc.Station(0)->TileCount(), 2);
    EXPECT_EQ(doc.Station(0)->Tile(0)->m_Lines[0], "Head");
    CModuleTile& board = *doc.Station(0)->Tile(1);
    EXPECT_EQ(board.Description()->m_Description, "DIG");
    EXPECT_EQ(board.m_Slot, 0);
    EXPECT_EQ(static_cast<CChannelModule&>(board.Module()).Channel(0).params[0].value, 2);
}

TEST_F(ProjectFileTest, MissingFilenameIsLookedUpAsOneBlank) {
    // An empty value skips its position; a missing key is the type name " ", which no
    // description has, and stops the reading there.
    WriteAll(Path("nofile.mvl"), "[MAIN]\r\nModule=1\r\n[M0]\r\nPrints=3\r\n"
                                 "[M0P0]\r\nFilename=CTRL.kvn\r\n[M0P1]\r\nFilename=\r\n"
                                 "[M0P2]\r\nETKL1=x\r\n");
    CMorvelanDoc doc;
    EXPECT_EQ(doc.OnOpenDocument(Path("nofile.mvl")), 0);
    ASSERT_EQ(doc.StationCount(), 1);
    EXPECT_EQ(doc.Station(0)->TileCount(), 1);
    ASSERT_EQ(app_.messages.size(), 1u);
    EXPECT_EQ(app_.messages[0].line1, "Unknown modul in project");
    EXPECT_NE(app_.messages[0].line2.find("Type \" \" in"), std::string::npos);
    EXPECT_NE(app_.messages[0].line2.find("[M0P2]"), std::string::npos);
}

TEST_F(ProjectFileTest, EmptyStationNameIsWrittenAsOneBlank) {
    CMorvelanDoc doc;
    doc.AddModuleToGroup(install_.MakeTile("CTRL"));
    ASSERT_EQ(doc.OnSaveDocument(Path("a.mvl")), 1);
    EXPECT_NE(ReadAll(Path("a.mvl")).find("[M0]\r\nName= \r\n"), std::string::npos);
    CMorvelanDoc again;
    ASSERT_EQ(again.OnOpenDocument(Path("a.mvl")), 1);
    EXPECT_EQ(again.Station(0)->m_Name, " ");
}

TEST_F(ProjectFileTest, StationWithoutPrintsHasNoTiles) {
    WriteAll(Path("p.mvl"), "[MAIN]\r\nModule=3\r\n[M0]\r\nPrints=0\r\n[M1]\r\nName=B\r\n"
                            "[M2]\r\nName=C\r\nComment=c\r\nPrints=1\r\n"
                            "[M2P0]\r\nFilename=CTRL.kvn\r\n");
    CMorvelanDoc doc;
    ASSERT_EQ(doc.OnOpenDocument(Path("p.mvl")), 1);
    ASSERT_EQ(doc.StationCount(), 3);
    EXPECT_EQ(doc.Station(0)->TileCount(), 0);
    // Name and comment are read with the head only.
    EXPECT_EQ(doc.Station(1)->m_Name, " ");
    EXPECT_EQ(doc.Station(1)->m_Comment, " ");
    EXPECT_EQ(doc.Station(2)->m_Name, "C");
    EXPECT_EQ(doc.Station(2)->m_Comment, "c");
    EXPECT_EQ(hooks_.treeStations, (std::vector<int>{2}));
}

TEST_F(ProjectFileTest, FilesThatAreNoProjectAreRefusedAndTheOpenProjectStays) {
    CMorvelanDoc doc;
    BuildProject(doc);
    namespace fs = std::filesystem;
    WriteAll(Path("junk.mvl"), "\x7f" "ELF\x02\x01\x01 binary junk\n");
    WriteAll(Path("empty.mvl"), "");
    WriteAll(Path("utf16.mvl"), std::string("\xFF\xFE[\0M\0A\0I\0N\0]\0\r\0\n\0", 18));
    fs::create_directories(Path("folder.mvl"));
    ASSERT_EQ(::mkfifo(Path("pipe.mvl").c_str(), 0600), 0);
    {
        std::ofstream big(Path("big.mvl"), std::ios::binary);
        big << "[MAIN]\r\n";
        big.seekp(static_cast<std::streamoff>(mv::kIniMaxFileBytes) + 1);
        big << "x";
    }
    const std::vector<std::pair<std::string, std::string>> refused = {
        {Path("junk.mvl"), "Not a project file"},
        {Path("empty.mvl"), "Not a project file"},
        {Path("utf16.mvl"), "Not a project file"},
        {Path("folder.mvl"), "Cannot open the project file"},
        {Path("pipe.mvl"), "Cannot open the project file"},
        {"/dev/zero", "Cannot open the project file"},
        {Path("big.mvl"), "Cannot open the project file"},
    };
    for (const auto& [file, line1] : refused) {
        app_.messages.clear();
        EXPECT_EQ(doc.OnOpenDocument(file), 0) << file;
        ASSERT_EQ(app_.messages.size(), 1u) << file;
        EXPECT_EQ(app_.messages[0].line1, line1) << file;
        EXPECT_EQ(app_.messages[0].line2.rfind(file + ": ", 0), 0u) << app_.messages[0].line2;
        EXPECT_EQ(doc.StationCount(), 2) << file;
        EXPECT_EQ(doc.m_Name, "Press") << file;
    }
    EXPECT_EQ(app_.messages[0].line2, Path("big.mvl") + ": larger than 64 MiB");
    // Nothing is ever written in place of a device or a pipe.
    EXPECT_EQ(doc.OnSaveDocument(Path("pipe.mvl")), 0);
    EXPECT_TRUE(fs::is_fifo(Path("pipe.mvl")));
    EXPECT_FALSE(mv::iniWriteString(Path("pipe.mvl"), "MAIN", "INFO", "x"));
    EXPECT_TRUE(fs::is_fifo(Path("pipe.mvl")));

    // A missing file is an empty project.
    EXPECT_EQ(doc.OnOpenDocument(Path("none.mvl")), 1);
    EXPECT_EQ(doc.StationCount(), 0);
}

TEST_F(ProjectFileTest, ByteOrderMarkAndCarriageReturnLinesAreRead) {
    WriteAll(Path("bom.mvl"), "\xEF\xBB\xBF[MAIN]\r\nModule=1\r\nName=With mark\r\n"
                              "[M0]\r\nName=S\r\nPrints=1\r\n[M0P0]\r\nFilename=CTRL.kvn\r\n");
    WriteAll(Path("cr.mvl"), "[MAIN]\rModule=1\rName=Old lines\r[M0]\rName=T\rPrints=2\r"
                             "[M0P0]\rFilename=CTRL.kvn\r[M0P1]\rFilename=DIG.kvn\r");
    CMorvelanDoc doc;
    ASSERT_EQ(doc.OnOpenDocument(Path("bom.mvl")), 1);
    EXPECT_EQ(doc.m_Name, "With mark");
    ASSERT_EQ(doc.StationCount(), 1);
    EXPECT_EQ(doc.Station(0)->m_Name, "S");
    ASSERT_EQ(doc.OnOpenDocument(Path("cr.mvl")), 1);
    EXPECT_EQ(doc.m_Name, "Old lines");
    ASSERT_EQ(doc.StationCount(), 1);
    EXPECT_EQ(doc.Station(0)->m_Name, "T");
    EXPECT_EQ(doc.Station(0)->TileCount(), 2);
    EXPECT_TRUE(app_.messages.empty());
}

TEST_F(ProjectFileTest, AProjectAboveTheTotalTileLimitIsDamaged) {
    // 65 stations of 1024 tiles each: every station within its limit, the whole beyond.
    std::string text = "[MAIN]\r\nModule=65\r\n";
    for (int i = 0; i < 65; ++i)
        text += "[M" + std::to_string(i) + "]\r\nPrints=1024\r\n";
    WriteAll(Path("huge.mvl"), text);
    CMorvelanDoc doc;
    BuildProject(doc);
    EXPECT_EQ(doc.OnOpenDocument(Path("huge.mvl")), 0);
    ASSERT_EQ(app_.messages.size(), 1u);
    EXPECT_EQ(app_.messages[0].line1, "Damaged project file");
    EXPECT_EQ(app_.messages[0].line2, Path("huge.mvl") + ": more than 65536 modules");
    EXPECT_EQ(doc.StationCount(), 2);
}

TEST_F(ProjectFileTest, SaveRemovesStaleTemporariesOfItsOwnTarget) {
    namespace fs = std::filesystem;
    const auto age = [](const std::string& path, int seconds) {
        const timespec times[2] = {{::time(nullptr) - seconds, 0}, {::time(nullptr) - seconds, 0}};
        ASSERT_EQ(::utimensat(AT_FDCWD, path.c_str(), times, 0), 0);
    };
    const std::vector<std::string> stale = {Path(".p.mvl.Ab12Cd"), Path("..p.mvl.Ab12Cd.x9Y8z7")};
    const std::vector<std::string> kept = {Path(".p.mvl.Fresh1"), Path(".other.mvl.Ab12Cd"),
                                           Path(".p.mvl.toolong1"), Path("p.mvl.Ab12Cd")};
    for (const std::string& f : stale) {
        WriteAll(f, "left behind");
        age(f, 3600);
    }
    for (const std::string& f : kept) {
        WriteAll(f, "not ours or not old");
        if (f != kept[0])
            age(f, 3600);
    }
    CMorvelanDoc doc;
    BuildProject(doc);
    ASSERT_EQ(doc.OnSaveDocument(Path("p.mvl")), 1);
    for (const std::string& f : stale)
        EXPECT_FALSE(fs::exists(f)) << f;
    for (const std::string& f : kept)
        EXPECT_TRUE(fs::exists(f)) << f;
    // The save itself leaves nothing beside its target.
    std::size_t hidden = 0;
    for (const auto& e : fs::directory_iterator(install_.dir()))
        hidden += e.path().filename().string().rfind(".p.mvl", 0) == 0 ? 1 : 0;
    EXPECT_EQ(hidden, 2u); // the fresh one of another program, the one of another pattern
}

TEST_F(ProjectFileTest, MissingFileGivesAnEmptyProject) {
    CMorvelanDoc doc;
    ASSERT_EQ(doc.OnOpenDocument(Path("none.mvl")), 1);
    EXPECT_EQ(doc.StationCount(), 0);
    EXPECT_EQ(doc.m_Comment, "");
}

TEST_F(ProjectFileTest, LongTextsAreReadWhole) {
    const std::string longText(400, 'x');
    CMorvelanDoc doc;
    doc.m_Comment = longText + "\r\n" + longText;
    doc.m_Author = longText;
    doc.AddModuleToGroup(install_.MakeTile("CTRL"));
    doc.Station(0)->m_Name = longText;
    doc.Station(0)->m_Comment = longText;
    doc.Station(0)->Tile(0)->m_Lines[0] = longText;
    doc.Station(0)->Tile(0)->m_Sliders[0] = longText;
    ASSERT_EQ(doc.OnSaveDocument(Path("a.mvl")), 1);
    CMorvelanDoc again;
    ASSERT_EQ(again.OnOpenDocument(Path("a.mvl")), 1);
    EXPECT_EQ(again.m_Comment, doc.m_Comment);
    EXPECT_EQ(again.m_Author, longText);
    EXPECT_EQ(again.Station(0)->m_Name, longText);
    EXPECT_EQ(again.Station(0)->m_Comment, longText);
    // Label lines keep their 23 and slider labels their 11 characters.
    EXPECT_EQ(again.Station(0)->Tile(0)->m_Lines[0], std::string(23, 'x'));
    EXPECT_EQ(again.Station(0)->Tile(0)->m_Sliders[0], std::string(11, 'x'));
}

TEST_F(ProjectFileTest, BoardsStandAtTheRackPitchWhateverTheirWidth) {
    hooks_.scroll = 5;
    WriteAll(Path("r.mvl"),
             "[MAIN]\r\nModule=1\r\n[M0]\r\nPrints=4\r\n[M0P0]\r\nFilename=PIC.kvn\r\n"
             "[M0P1]\r\nFilename=DIG.kvn\r\n[M0P2]\r\nFilename=FLAG6.kvn\r\n"
             "[M0P3]\r\nFilename=DIG.kvn\r\n");
    CMorvelanDoc doc;
    ASSERT_EQ(doc.OnOpenDocument(Path("r.mvl")), 1);
    const CStation& s = *doc.Station(0);
    EXPECT_EQ(s.Tile(0)->x, 20);
    EXPECT_EQ(s.Tile(0)->cx, 299);  // the picture is 300 wide
    EXPECT_EQ(s.Tile(1)->x, 20 + 299 - 5);
    EXPECT_EQ(s.Tile(2)->x, 20 + 299 + 41 - 5);
    EXPECT_EQ(s.Tile(3)->x, 20 + 299 + 82 - 5);
    EXPECT_EQ(s.Tile(3)->y, 150);
    EXPECT_EQ(s.Tile(3)->cy, 300);
    EXPECT_EQ(s.Tile(3)->m_Slot, 2);
    // Running numbers of the kinds 2 and 6.
    EXPECT_EQ(s.Tile(0)->m_OnlineParam, -1);
    EXPECT_EQ(s.Tile(1)->m_OnlineParam, 0);
    EXPECT_EQ(s.Tile(2)->m_OnlineParam, 1);
    EXPECT_EQ(s.Tile(3)->m_OnlineParam, 2);
}

TEST_F(ProjectFileTest, TileOfAnotherProtocolIsInertButKept) {
    WriteAll(Path("o.mvl"), "[MAIN]\r\nModule=1\r\n[M0]\r\nPrints=2\r\n[M0P0]\r\nFilename=CTRL.kvn\r\n"
                            "[M0P1]\r\nFilename=OTHER.kvn\r\n");
    CMorvelanDoc doc;
    ASSERT_EQ(doc.OnOpenDocument(Path("o.mvl")), 1);
    CModuleTile& tile = *doc.Station(0)->Tile(1);
    EXPECT_TRUE(tile.IsInert());
    EXPECT_EQ(tile.Module().width, 41);
    EXPECT_EQ(tile.Module().GetChannelMask(0), -1);
    ASSERT_EQ(doc.OnSaveDocument(Path("o2.mvl")), 1);
    EXPECT_NE(ReadAll(Path("o2.mvl")).find("Filename=OTHER.kvn"), std::string::npos);
}

TEST_F(ProjectFileTest, UnknownTypeStopsReadingAndBlocksEverySave) {
    CMorvelanDoc doc;
    BuildProject(doc);
    ASSERT_EQ(doc.OnSaveDocument(Path("full.mvl")), 1);
    doctest::Patch(Path("full.mvl"), "Filename=FLAG.kvn", "Filename=GONE.kvn");
    const std::string original = ReadAll(Path("full.mvl"));

    hooks_.loadLast = 1;
    CMorvelanDoc partial;
    EXPECT_EQ(partial.OpenProject(Path("full.mvl")), 0);
    EXPECT_TRUE(hooks_.UnknownModule());
    ASSERT_EQ(app_.messages.size(), 1u);
    EXPECT_EQ(app_.messages[0].line1, "Unknown modul in project");
    EXPECT_NE(app_.messages[0].line2.find("GONE"), std::string::npos);
    EXPECT_EQ(partial.Station(0)->TileCount(), 2);  // read before the unknown one

    partial.m_PathName = Path("full.mvl");
    hooks_.answer = Path("full.mvl");
    EXPECT_EQ(partial.OnFileSave(), 0);
    EXPECT_EQ(partial.OnFileSaveAs(), 0);
    EXPECT_EQ(hooks_.asked, 0);
    ASSERT_EQ(app_.messages.size(), 3u);
    EXPECT_EQ(app_.messages[1].line1, "Saving not possible");
    EXPECT_EQ(app_.messages[1].line2, "Unknown modul in project");
    EXPECT_EQ(app_.messages[1].caption, "Error");

    partial.OnCloseDocument();
    EXPECT_EQ(ReadAll(Path("full.mvl")), original);
    EXPECT_FALSE(std::filesystem::exists(partial.AutosavePath()));
    EXPECT_FALSE(std::filesystem::exists(Path("mask.msk")));

    // New clears the flag, and so does a good open.
    CMorvelanDoc fresh;
    fresh.OnNewDocument();
    EXPECT_FALSE(hooks_.UnknownModule());
    hooks_.SetUnknownModule(true);
    EXPECT_EQ(fresh.OpenProject(Path("a-missing-file.mvl")), 1);
    EXPECT_FALSE(hooks_.UnknownModule());
}

TEST_F(ProjectFileTest, FailedSaveKeepsTheOldFileThePathAndTheTitle) {
    CMorvelanDoc doc;
    BuildProject(doc);
    hooks_.answer = Path("first.mvl");
    ASSERT_EQ(doc.OnFileSaveAs(), 1);
    EXPECT_EQ(doc.m_Title, "first.mvl");
    EXPECT_EQ(doc.m_PathName, Path("first.mvl"));
    EXPECT_EQ(hooks_.recent, (std::vector<std::string>{Path("first.mvl")}));
    const std::string before = ReadAll(Path("first.mvl"));

    hooks_.answer = Path("no/such/folder/second.mvl");
    EXPECT_EQ(doc.OnFileSaveAs(), 0);
    ASSERT_EQ(errors_.size(), 1u);
    EXPECT_EQ(errors_[0].rfind("SAVE MAIN FAILURE: ", 0), 0u);
    EXPECT_EQ(doc.m_Title, "first.mvl");
    EXPECT_EQ(doc.m_PathName, Path("first.mvl"));
    EXPECT_EQ(hooks_.recent.size(), 1u);

    // A save over the file that fails half-way leaves the old bytes: a folder in its way.
    std::filesystem::create_directories(Path("blocked.mvl/inside"));
    EXPECT_EQ(doc.OnSaveDocument(Path("blocked.mvl")), 0);
    EXPECT_TRUE(std::filesystem::is_directory(Path("blocked.mvl/inside")));
    EXPECT_EQ(ReadAll(Path("first.mvl")), before);
    // No staging file is left behind.
    for (const auto& e : std::filesystem::directory_iterator(install_.dir()))
        EXPECT_NE(e.path().filename().string().front(), '.') << e.path();
}

TEST_F(ProjectFileTest, SaveWithoutPathRunsSaveAsAndCancelSavesNothing) {
    CMorvelanDoc doc;
    BuildProject(doc);
    EXPECT_EQ(doc.OnFileSave(), 0);
    EXPECT_EQ(hooks_.asked, 1);
    EXPECT_TRUE(doc.m_PathName.empty());
    hooks_.answer = Path("x.mvl");
    EXPECT_EQ(doc.OnFileSave(), 1);
    EXPECT_EQ(doc.m_PathName, Path("x.mvl"));
    doc.m_Name = "changed";
    EXPECT_EQ(doc.OnFileSave(), 1);
    EXPECT_EQ(hooks_.asked, 2);
    EXPECT_NE(ReadAll(Path("x.mvl")).find("Name=changed"), std::string::npos);
}

TEST_F(ProjectFileTest, ClosingKeepsConfigAndMasksByTheSettings) {
    {
        CMorvelanDoc doc;
        BuildProject(doc);
        doc.OnCloseDocument();
        EXPECT_FALSE(std::filesystem::exists(Path("Config.mvl")));
        EXPECT_TRUE(std::filesystem::exists(Path("mask.msk")));
        EXPECT_EQ(doc.StationCount(), 0);
    }
    std::filesystem::remove(Path("mask.msk"));
    hooks_.loadLast = 1;
    hooks_.maskName = "other.msk";
    CMorvelanDoc doc;
    BuildProject(doc);
    ASSERT_EQ(doc.OnSaveDocument(Path("ref.mvl")), 1);
    doc.OnCloseDocument();
    EXPECT_EQ(ReadAll(Path("Config.mvl")), ReadAll(Path("ref.mvl")));
    EXPECT_FALSE(std::filesystem::exists(Path("mask.msk")));
    EXPECT_FALSE(std::filesystem::exists(Path("other.msk")));
}

TEST_F(ProjectFileTest, DamagedCountsAreRefused) {
    WriteAll(Path("d.mvl"), "[MAIN]\r\nModule=99999999\r\n");
    CMorvelanDoc doc;
    EXPECT_EQ(doc.OnOpenDocument(Path("d.mvl")), 0);
    ASSERT_EQ(app_.messages.size(), 1u);
    EXPECT_EQ(app_.messages[0].line1, "Damaged project file");
    WriteAll(Path("e.mvl"), "[MAIN]\r\nModule=1\r\n[M0]\r\nPrints=2000000000\r\n");
    EXPECT_EQ(doc.OnOpenDocument(Path("e.mvl")), 0);
    EXPECT_EQ(app_.messages.size(), 2u);
}

class SampleProjectTest : public ::testing::Test {
protected:
    doctest::SampleInstall install_;
    doctest::Hooks hooks_{install_};
    mvtest::RecordingHooks app_;
};

TEST_F(SampleProjectTest, DemoProjectReadsAndSavesToItsOwnBytes) {
    const std::string demo = doctest::SourceDir() + "/data/samples/demo.mvl";
    CMorvelanDoc doc;
    ASSERT_EQ(doc.OnOpenDocument(demo), 1);
    EXPECT_TRUE(app_.messages.empty());
    ASSERT_EQ(doc.StationCount(), 2);
    EXPECT_NE(doc.m_Comment.find("\r\n"), std::string::npos);
    // Every kind of the catalogue stands in the sample.
    std::set<int> kinds;
    for (int i = 0; i < doc.StationCount(); ++i) {
        for (int j = 0; j < doc.Station(i)->TileCount(); ++j) {
            kinds.insert(doc.Station(i)->Tile(j)->Description()->m_Kind);
            EXPECT_FALSE(doc.Station(i)->Tile(j)->IsInert());
        }
    }
    EXPECT_EQ(kinds, (std::set<int>{1, 2, 3, 4, 5, 6, 7, 8}));

    const std::string a = install_.dir() + "/a.mvl";
    const std::string b = install_.dir() + "/b.mvl";
    ASSERT_EQ(doc.OnSaveDocument(a), 1);
    CMorvelanDoc again;
    ASSERT_EQ(again.OnOpenDocument(a), 1);
    ASSERT_EQ(again.OnSaveDocument(b), 1);
    EXPECT_EQ(ReadAll(a), ReadAll(b));
    EXPECT_EQ(ReadAll(a), ReadAll(demo));
}

} // namespace
