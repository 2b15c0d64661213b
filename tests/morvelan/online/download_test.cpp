// The Download command against the simulated station over loopback TCP: the frames in order
// and their bytes, the messages, Cancel, every armed failure and what follows it, and the
// refusals that send nothing.
#include "online_fixture.h"

#include "morvelan/core/morvelan_doc_hooks.h"
#include "morvelan/online/download.h"

#include <fstream>

namespace onlinetest {
namespace {

using morvelan::RunDownload;
using Strings = std::vector<std::string>;

class DownloadTest : public OnlineFixture {
protected:
    void Download(int tile = 3) { RunDownload(app, doc, doc.Station(0)->Tile(tile)); }
    Bytes Image() {
        Bytes image(4096);
        int total = 0;
        doc.GatherGroupData(0, image.data(), 4096, total);
        image.resize(static_cast<std::size_t>(total));
        return image;
    }
};

// The sample station's module table: the boards with an ID, each with its size and offset.
const Bytes kDemoTable{22, 0, 6, 0,                   // 22 data bytes, 6 entries
                       0x10, 0x21, 2, 0, 0, 0,        // D2110
                       0x10, 0x22, 2, 0, 2, 0,        // D2210
                       0x04, 0x31, 8, 0, 4, 0,        // A3104
                       0xAA, 0x0F, 0, 0, 12, 0,       // P4010
                       0x83, 0x02, 8, 0, 12, 0,       // C643
                       0x0E, 0x00, 2, 0, 20, 0};      // K614

TEST_F(DownloadTest, SameModulesWriteParametersThenMasterParameters) {
    const Bytes image = Image();
    ASSERT_GT(image.size(), 0u);
    Download();
    EXPECT_EQ(Transcript(), (Strings{"R11", "R12", "W1", "W41", "W1", "W60", "R41"}));
    Bytes w41{41, 0};
    w41.insert(w41.end(), image.begin(), image.end());
    EXPECT_EQ(LastData(0x20, 41), w41);
    EXPECT_EQ(station.moduleParameters(), image);
    // The announce names the frame length of the write that follows (4 bytes + 7).
    EXPECT_EQ(LastData(0x20, 1), (Bytes{1, 11, 11, 0, 0, 0, 0, 0}));
    // Master parameters of the project: 500 and 1200 as two 16-bit values.
    EXPECT_EQ(station.masterParameter(60), (Bytes{0xF4, 0x01, 0xB0, 0x04}));
    ASSERT_EQ(shown.size(), 1u);
    EXPECT_EQ(shown[0].line1, "Done");
    EXPECT_EQ(shown[0].caption, "Information");
    EXPECT_EQ(shown[0].bitmapId, 159);
    EXPECT_EQ(shown[0].captionColor, 0x800000u);
    // The last close ends the TCP session.
    EXPECT_EQ(app.m_Link, 0u);
    EXPECT_TRUE(OpenConnections(0));
}

TEST_F(DownloadTest, DifferentModulesAskThenWriteTableAndParameters) {
    x740sim::setBoards(station, {0x2110});
    station.setModuleConfiguration({});
    answers = {1, 1};
    Download(0);
    EXPECT_EQ(Transcript(), (Strings{"R11", "R11", "W1", "W44", "W1", "W41", "R41"}));
    EXPECT_EQ(station.moduleConfiguration(), kDemoTable);
    EXPECT_EQ(station.moduleParameters(), Image());
    EXPECT_EQ(Lines(), (Strings{"Station differs", "Write configuration?", "Done"}));
    EXPECT_EQ(shown[1].buttonMode, 1);
    EXPECT_EQ(shown[1].bitmapId, 188);
    EXPECT_EQ(shown[1].caption, "Information");
    EXPECT_EQ(shown[0].captionColor, 255u);
    EXPECT_EQ(app.m_Link, 0u);
    EXPECT_TRUE(OpenConnections(0));
}

TEST_F(DownloadTest, StationOfItsControllerAloneWritesAnEmptyTable) {
    const std::string path = install.dir() + "/head.mvl";
    std::ofstream(path, std::ios::binary)
        << "[MAIN]\r\nINFO=Morvelan\r\nModule=1\r\nName=Head\r\n[M0]\r\nName=Alone\r\n"
        << "Comment= \r\nPrints=1\r\n[M0P0]\r\nFilename=X740.kvn\r\n";
    CMorvelanDoc alone;
    ASSERT_EQ(alone.OnOpenDocument(path), 1);
    ASSERT_EQ(alone.Station(0)->TileCount(), 1);
    answers = {1, 1};
    RunDownload(app, alone, alone.Station(0)->Tile(0));
    EXPECT_EQ(Lines(), (Strings{"Station differs", "Write configuration?", "Done"}));
    EXPECT_EQ(Transcript(), (Strings{"R11", "R11", "W1", "W44", "W1", "W41", "R41"}));
    EXPECT_EQ(LastData(0x20, 44), (Bytes{44, 0})) << "the table write carries no bytes";
    EXPECT_TRUE(station.moduleConfiguration().empty());
    EXPECT_EQ(app.m_Link, 0u);
}

TEST_F(DownloadTest, CancelSendsNothing) {
    station.setControllerId(0x0720);
    answers = {1, 2};
    Download();
    // The check read the IDs; nothing was written.
    EXPECT_EQ(Transcript(), (Strings{"R11", "R12"}));
    EXPECT_EQ(Lines(), (Strings{"Station differs", "Write configuration?"}));
}

TEST_F(DownloadTest, ArmedFailuresEndWithOneReportAndOneClose) {
    struct Case {
        std::uint8_t code;
        bool differ;
        Strings transcript;
        std::string report;
    };
    const std::vector<Case> cases{
        // A failed parameter write still asks for the saved parameters.
        {41, false, {"R11", "R12", "W1", "W41", "R41"}, "Communication error : Code 9"},
        // A failed master write does not.
        {60, false, {"R11", "R12", "W1", "W41", "W1", "W60"}, "Communication error : Code 9"},
        {44, true, {"R11", "R11", "W1", "W44"}, "Communication error : Code 9"},
        {41, true, {"R11", "R11", "W1", "W44", "W1", "W41"}, "Communication error : Code 9"},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.code);
        x740sim::applyPreset(station, "demo");
        if (c.differ)
            x740sim::setBoards(station, {0x2110});
        station.clearFrameLog();
        shown.clear();
        station.injectFaultFor(c.code, 0x20, x740sim::Fault::deviceError(0x09));
        Download();
        EXPECT_EQ(Transcript(), c.transcript);
        ASSERT_FALSE(shown.empty());
        EXPECT_EQ(shown.back().line1, c.report);
        EXPECT_EQ(shown.back().caption, "Error");
        EXPECT_EQ(app.m_Link, 0u);
        EXPECT_TRUE(OpenConnections(0));
    }
}

TEST_F(DownloadTest, RefusalsSendNothing) {
    // An unknown module in the project.
    docHooks.SetUnknownModule(true);
    Download();
    docHooks.SetUnknownModule(false);
    ASSERT_EQ(shown.size(), 1u);
    EXPECT_EQ(shown[0].line1, "Unknown modul in project");
    EXPECT_EQ(shown[0].line2, "Download not possible");
    EXPECT_EQ(shown[0].captionColor, 255u);
    EXPECT_TRUE(Transcript().empty());

    // No connection: the opening reports it, nothing more.
    shown.clear();
    server.stop();
    Download();
    EXPECT_TRUE(shown.empty());
    ASSERT_EQ(hooks.messages.size(), 1u);
    EXPECT_EQ(hooks.messages[0].line1, "No network connection");
    EXPECT_EQ(app.m_Link, 0u);
}

TEST_F(DownloadTest, OversizedImageOrTableIsRefusedBeforeAnythingIsSent) {
    // 60 more boards of four bytes each: the image no longer fits one frame.
    docHooks.selected = doc.Station(0)->Tile(0);
    for (int i = 0; i < 60; ++i)
        doc.AddModuleToGroup(install.MakeTile("A3104"));
    Download();
    EXPECT_TRUE(Transcript().empty());
    EXPECT_EQ(Lines(), (Strings{"Communication error :  Datasize error"}));
}

TEST_F(DownloadTest, TableOfMoreThanFortyOneEntriesIsRefused) {
    // Boards with an ID: 42 entries in all.
    docHooks.selected = doc.Station(0)->Tile(0);
    for (int i = 0; i < 36; ++i)
        doc.AddModuleToGroup(install.MakeTile("WORD"));
    answers = {1, 1};
    Download();
    // The count differs: the check closed the link after the IDs; nothing was written.
    EXPECT_EQ(Transcript(), (Strings{"R11"}));
    EXPECT_EQ(Lines(),
              (Strings{"Station differs", "Write configuration?", "Communication error :  Datasize error"}));
    EXPECT_EQ(app.m_Link, 0u);
}

TEST_F(DownloadTest, DeclaredParametersAfterAGapAreWritten) {
    // The controller's first master parameter loses its section; the first board declares two
    // parameters and describes only the second (bit 3, 2 bits), which the project sets to 3.
    const std::string modul = install.dir() + "/Modul/";
    std::string head = doctest::ReadAll(modul + "X740.kvn");
    head.replace(head.find("[K1P1]"), 6, "[Gone]");
    doctest::WriteAll(modul + "X740.kvn", head);
    std::string board = doctest::ReadAll(modul + "D2110.kvn");
    board.replace(board.find("Parameter=1"), 11, "Parameter=2");
    board.replace(board.find("[K1P1]"), 6, "[K1P2]");
    board.replace(board.find("Bit=1"), 5, "Bit=3");
    doctest::WriteAll(modul + "D2110.kvn", board);
    mv::iniClearCache();
    const std::string project = install.dir() + "/gap.mvl";
    std::filesystem::copy_file(doctest::SourceDir() + "/data/samples/demo.mvl", project);
    ASSERT_TRUE(mv::iniWriteString(project, "M0P1K0", "P1", "3"));
    ASSERT_EQ(doc.OnOpenDocument(project), 1);
    station.clearFrameLog();
    Download();
    EXPECT_EQ(Transcript(), (Strings{"R11", "R12", "W1", "W41", "W1", "W60", "R41"}));
    ASSERT_FALSE(station.moduleParameters().empty());
    EXPECT_EQ(station.moduleParameters()[0], 0x19);
    // Only the second master parameter has bytes: 1200.
    EXPECT_EQ(station.masterParameter(60), (Bytes{0xB0, 0x04}));
    EXPECT_EQ(shown.back().line1, "Done");
}

TEST_F(DownloadTest, PictureHeadStationWritesNoMasterParameters) {
    // Station 1 has a picture head and one board with an ID (K618) besides fillers.
    x740sim::setBoards(station, {0x000F, 0x3204});
    station.setControllerId(0);
    answers = {1, 1};
    RunDownload(app, doc, doc.Station(1)->Tile(0));
    ASSERT_FALSE(shown.empty());
    EXPECT_EQ(shown.back().line1, "Done");
}

} // namespace
} // namespace onlinetest
