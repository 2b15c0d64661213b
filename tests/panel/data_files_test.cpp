// The data-file procedures and checkers against the simulated station over a real link, the
// panel replaced by a recording host.
#include "panel/core/data_files.h"
#include "panel/ui/panel_clock.h"
#include "platform/ini_file.h"
#include "tests/panel/host_fixture.h"

#include <fstream>
#include <sstream>

namespace x740panel {
namespace {

using x740sim::RecordKind;

class RecordingHost final : public DataFileHost, public PanelPrompts {
public:
    void AddLogLine(const std::string& text, std::unique_ptr<LogItemRecord> record) override {
        lines.push_back(MakeLogLine(text));
        records.push_back(record ? *record : LogItemRecord{-1, "", ""});
    }
    void ReplaceLogLine(const std::string& text) override {
        if (!lines.empty()) {
            lines.pop_back();
            records.pop_back();
        }
        AddLogLine(text, nullptr);
    }
    void ShowTransientLine(const std::string& text) override { transient = text; }
    void Pump() override {}
    void EnableControls(bool on) override { enabled = on; }
    void SetWaitCursor(bool on) override { cursor = on; }
    void ShowMessage(const std::string& caption, const std::string& text, bool ok) override {
        messages.push_back(caption + "|" + text + (ok ? "|ok" : "|error"));
    }
    bool ChooseFile(bool, const std::string& filter, std::string& p) override {
        filters.push_back(filter);
        p = path;
        return !path.empty();
    }
    bool AskSsiOffset(int& index, int& offset) override {
        index = 1;
        offset = -77;
        return true;
    }
    bool NswWarnings() const override { return warnings; }
    bool AskSsiIndex(std::string&) override { return false; }
    bool AskCamBlock(std::string&, std::string&) override { return false; }

    std::vector<std::string> lines;
    std::vector<LogItemRecord> records;
    std::vector<std::string> messages;
    std::vector<std::string> filters;
    std::string transient;
    std::string path;
    bool enabled = true;
    bool cursor = false;
    bool warnings = true;
};

class DataFilesTest : public ::testing::Test {
protected:
    DataFilesTest() : commands(app, host, host, PanelClock()), files(app, host, commands) {}
    void SetUp() override {
        ASSERT_TRUE(sim.StartAtServicePort());
        app.m_Handle = A_OpenNet(sim.address, 32000);
        ASSERT_NE(app.m_Handle, 0);
        dir = install.dir;
    }
    void TearDown() override {
        A_Close(app.m_Handle);
        mv::iniClearCache();
    }
    void WriteFile(const std::string& name, const std::string& text) {
        test::PanelInstall::Write(dir + "/" + name, text);
        mv::iniClearCache();
    }
    // The log from line `from` on.
    std::vector<std::string> Lines(std::size_t from = 0) const {
        return {host.lines.begin() + static_cast<long>(from), host.lines.end()};
    }

    test::PanelInstall install;
    test::PanelStation sim;
    CX740PanelApp app;
    RecordingHost host;
    PanelCommands commands;
    DataFiles files;
    std::string dir;
};

const char* kNswFile =
    "[NSW128]\r\nSSI_Index=1\r\nSSI_MaxSpeed=3000\r\n"
    "BlockConfig_0=0,1,2\r\nBlockConfig_1=1,2,5\r\n"
    "BitConfig_0=0,0,0\r\nBitConfig_1=0,1,1\r\nBitConfig_2=1,7,2\r\n"
    "Nocken_0=0,Abc,100,5,200,0,16,2,5\r\n"
    "Nocken_1=1,FifteenCharName,0,0,3599,10,0\r\n"
    "Nocken_2=2,x,10,0,20,0,19,3,127\r\n";

TEST_F(DataFilesTest, NswFileGoesToTheControllerAndComesBackTheSame) {
    WriteFile("in.ini", kNswFile);
    host.path = dir + "/in.ini";
    files.Run(kCmdNswToModule);
    EXPECT_EQ(host.filters, (std::vector<std::string>{"NSW Data Files (*.ini)|*.ini|"}));
    EXPECT_EQ(host.lines.back(), "I\tReady");
    EXPECT_EQ(host.messages, (std::vector<std::string>{"NSW|Download OK|ok"}));
    EXPECT_TRUE(host.enabled);
    EXPECT_EQ(sim.services.record(RecordKind::NswBlock, 1).get("byteOffset"), 5u);
    EXPECT_EQ(sim.services.record(RecordKind::NswBit, 1 * 256 + 7).get("value"), 2u);
    EXPECT_EQ(sim.services.record(RecordKind::ImmediateUpdate).get("flag"), 1u);

    host.path = dir + "/out.ini";
    const std::size_t from = host.lines.size();
    files.Run(kCmdNswFromModule);
    EXPECT_EQ(Lines(from),
              (std::vector<std::string>{"I\tReading Block 0", "I\tReading NSW-Configuration Bit 0",
                                        "I\tReading NSW-Configuration CAM 0", "I\tReady"}));
    const std::string out = dir + "/out.ini";
    for (const char* key : {"SSI_Index", "SSI_MaxSpeed", "BlockConfig_0", "BlockConfig_1",
                            "BitConfig_1", "Nocken_0", "Nocken_2"}) {
        EXPECT_EQ(mv::iniReadString(out, "NSW128", key),
                  mv::iniReadString(dir + "/in.ini", "NSW128", key))
            << key;
    }
    EXPECT_EQ(mv::iniReadString(out, "NSW128", "Nocken_1"), "1,FifteenCharName,0,0,3599,10,0,0,0");
    EXPECT_EQ(mv::iniReadString(out, "System", "ControllerID"), "0x32a5");

    // The file read back is sent again unchanged.
    host.path = out;
    host.messages.clear();
    files.Run(kCmdNswToModule);
    EXPECT_EQ(host.messages, (std::vector<std::string>{"NSW|Download OK|ok"}));
}

TEST_F(DataFilesTest, NswWriteFailuresSendTheFinalUpdateAndReportNoSuccess) {
    WriteFile("in.ini", kNswFile);
    host.path = dir + "/in.ini";
    sim.services.setDeviceError(0x70, 3, 1); // the first block write fails
    files.Run(kCmdNswToModule);
    EXPECT_EQ(host.lines.back(), "E\tError sending NSW block");
    EXPECT_TRUE(host.messages.empty());
    EXPECT_TRUE(host.enabled);
    EXPECT_EQ(sim.services.record(RecordKind::ImmediateUpdate).get("flag"), 1u);
}

TEST_F(DataFilesTest, SsiAndFilterFilesTravelBothWays) {
    WriteFile("ssi.ini",
              "[SSI_0]\r\nDrehrichtung=1\r\nInkremente=4096\r\nUserInkremente=3600\r\n"
              "ModulIndex=2\r\nModulOffset=4\r\nPresetModulIndex=1\r\nPresetModulByteOffset=3\r\n"
              "PresetModulBitOffset=5\r\nValueMask=65535\r\nOptionFlags=2\r\nMaxDiffValue=9\r\n"
              "MaxDiffCounterValue=8\r\nTotzeit=7\r\nOffset=-100\r\n"
              "[SSI_2]\r\nDrehrichtung=0\r\n");
    host.path = dir + "/ssi.ini";
    files.Run(kCmdSsiToModule);
    EXPECT_EQ(Lines(1), (std::vector<std::string>{"I\tSending SSI-Configuration", "I\tSSI_0",
                                                   "I\tReady"}));
    EXPECT_EQ(host.messages, (std::vector<std::string>{"SSI|Download OK|ok"}));
    EXPECT_EQ(sim.services.record(RecordKind::EncoderOffset, 0).getSigned("offset"), -100);

    host.path = dir + "/ssi_out.ini";
    files.Run(kCmdSsiFromModule);
    const std::string out = dir + "/ssi_out.ini";
    EXPECT_EQ(mv::iniReadString(out, "SSI_0", "Inkremente"), "4096");
    EXPECT_EQ(mv::iniReadString(out, "SSI_0", "Totzeit"), "7");
    EXPECT_EQ(mv::iniReadString(out, "SSI_0", "Offset"), "-100");
    EXPECT_EQ(host.lines.back(), "I\tReady");

    host.messages.clear();
    files.Run(kCmdSsiOffsetWrite);
    EXPECT_EQ(host.messages, (std::vector<std::string>{"SSI|Download OK|ok"}));
    EXPECT_EQ(sim.services.record(RecordKind::EncoderOffset, 1).getSigned("offset"), -77);

    WriteFile("filter.ini", "[DigFilter]\r\nDFMWConfig_0=3,1,2\r\nDFMWConfig_1=65535,255,0\r\n");
    host.path = dir + "/filter.ini";
    files.Run(kCmdFilterToModule);
    EXPECT_EQ(host.lines.back(), "I\tOK");
    EXPECT_FALSE(host.cursor);
    host.path = dir + "/filter_out.ini";
    files.Run(kCmdFilterFromModule);
    EXPECT_EQ(mv::iniReadString(host.path, "DigFilter", "DFMWConfig_0"), "3,1,2");
    EXPECT_EQ(mv::iniReadString(host.path, "DigFilter", "DFMWConfig_1"), "65535,255,0");
    EXPECT_EQ(host.lines.back(), "I\tOK");

    // Cancel of the chooser leaves the controls enabled.
    host.path.clear();
    files.Run(kCmdFilterFromModule);
    EXPECT_TRUE(host.enabled);
}

struct BadFile {
    std::string text;
    std::vector<std::string> lines; // after "Checking File ..." and the section steps
    int recordType;
    const char* recordName;
};

TEST_F(DataFilesTest, CheckersRefuseBadFilesWithTheirLinesAndSendNothing) {
    const std::string ok = "[NSW128]\r\nSSI_Index=0\r\nSSI_MaxSpeed=1\r\nBlockConfig_0=0,1,2\r\n"
                           "BitConfig_0=0,0,0\r\n";
    const std::vector<BadFile> bad = {
        {"[NSW128]\r\nSSI_MaxSpeed=1\r\n", {"E\tError in Section NSW128",
                                             "E\tSSI_Index must be 0 or 1"}, 1, ""},
        {"[NSW128]\r\nSSI_Index=0\r\nSSI_MaxSpeed=1\r\nBlockConfig_0=0,1,2\r\n"
         "BlockConfig_1=2,5,0\r\n",
         {"I\tChecking BlockConfig_XXX", "E\tError in Block Configuration -> BlockConfig_1",
          "E\tWrong Blockindex"}, 2, "BlockConfig_1"},
        {(ok + "Nocken_0=0,a,1,1,1,1,16,0\r\n"),
         {"E\tError in cam configuration -> Nocken_0", "E\tMissing Data"}, 4, "Nocken_0"},
        {(ok + "Nocken_0=0,a,1,1,1,1,15\r\n"),
         {"E\tError in cam configuration -> Nocken_0", "E\tWrong type"}, 4, "Nocken_0"},
        {(ok + "Nocken_0=0,a,1,1,1,1,16" + std::string(240, ' ') + ",0,0\r\n"),
         {"E\tError in cam configuration -> Nocken_0", "E\tMissing Data"}, 4, "Nocken_0"},
        {(ok + "BitConfig_1=256,0,0\r\nNocken_0=0,a,1,1,1,1,16\r\n"),
         {"E\tError in Bit Configuration -> BitConfig_1", "E\tWrong Blockindex"}, 3,
         "BitConfig_1"},
        {(ok + "Nocken_0=5,a,1,1,1,1,16,0,-5\r\nNocken_1=0,b,4000,0,0,0,0\r\n"),
         {"W\tcam configuration -> Nocken_0", "W\tTrack 5 does not exist",
          "E\tError in cam configuration -> Nocken_1", "E\tAngle must be between 0 and 3599"},
         4, "Nocken_1"},
    };
    for (std::size_t i = 0; i < bad.size(); ++i) {
        const std::string name = "bad" + std::to_string(i) + ".ini";
        WriteFile(name, bad[i].text);
        host.lines.clear();
        host.records.clear();
        host.path = dir + "/" + name;
        const auto writesBefore = sim.station.frameCount();
        files.Run(kCmdNswToModule);
        EXPECT_EQ(sim.station.frameCount(), writesBefore) << name;
        ASSERT_GE(host.lines.size(), bad[i].lines.size()) << name;
        EXPECT_EQ(host.lines.front(), "I\tChecking File " + host.path);
        EXPECT_EQ(Lines(host.lines.size() - bad[i].lines.size()), bad[i].lines) << name;
        EXPECT_EQ(host.records.back().type, bad[i].recordType) << name;
        EXPECT_EQ(host.records.back().name, bad[i].recordName) << name;
        EXPECT_EQ(host.records.back().file, host.path) << name;
        EXPECT_TRUE(host.enabled);
    }

    const std::vector<std::pair<std::string, std::vector<std::string>>> ssi = {
        {"[SSI_1]\r\nDrehrichtung=0\r\n", {"E\tNo SSI-information found"}},
        {"[SSI_0]\r\nDrehrichtung=0\r\nInkremente=5\r\nUserInkremente=1\r\n",
         {"E\tError in Section SSI_0 -> ModulIndex", "E\tMissing IO-Configuration"}},
        {"[SSI_0]\r\nDrehrichtung=1x\r\n", {"E\tError in Section SSI_0 -> Drehrichtung"}},
    };
    for (const auto& [text, lines] : ssi) {
        WriteFile("ssi_bad.ini", text);
        host.lines.clear();
        host.path = dir + "/ssi_bad.ini";
        files.Run(kCmdSsiToModule);
        EXPECT_EQ(Lines(1), lines) << text;
        EXPECT_TRUE(host.messages.empty());
    }

    for (const char* text : {"[DigFilter]\r\nDFMWConfig_1=1,2,3\r\n",
                             "[DigFilter]\r\nDFMWConfig_0=1,2\r\n",
                             "[DigFilter]\r\nDFMWConfig_0=1,2,256\r\n"}) {
        WriteFile("f_bad.ini", text);
        host.lines.clear();
        host.path = dir + "/f_bad.ini";
        const auto before = sim.station.frameCount();
        files.Run(kCmdFilterToModule);
        EXPECT_EQ(sim.station.frameCount(), before) << text;
        ASSERT_EQ(host.lines.size(), 2u) << text;
        EXPECT_EQ(host.lines[0].rfind("E\tError in Filter Configuration -> DFMWConfig_", 0), 0u);
    }
}

} // namespace
} // namespace x740panel
