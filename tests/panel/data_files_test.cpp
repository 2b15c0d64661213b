// The data-file procedures and checkers against the simulated station over a real link, the
// panel replaced by a recording host.
#include "panel/core/data_files.h"
#include "panel/ui/panel_clock.h"
#include "platform/ini_file.h"
#include "tests/panel/host_fixture.h"

#include "tests/sim/pty_station_server.h"

#include <algorithm>
#include <cstdlib>
#include <fstream>
#include <memory>
#include <sstream>
#include <tuple>

namespace x740panel {
namespace {

using x740sim::RecordKind;

// A received frame as (function code, direction).
using Request = std::pair<int, int>;
constexpr int kRead = 0x40;
constexpr int kWrite = 0x20;

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
        index = offsetIndex;
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
    int offsetIndex = 1;
};

class DataFilesTest : public ::testing::Test {
protected:
    DataFilesTest() : commands(app, host, host, PanelClock()), files(app, host, commands) {}
    void SetUp() override { Open(false); }
    // Reaches the station over loopback TCP, or behind a pseudo-terminal as a COM port.
    void Open(bool serial) {
        dir = install.dir;
        if (serial) {
            pty = std::make_unique<x740sim::PtyStationServer>(sim.station);
            std::string error;
            ASSERT_TRUE(pty->start(115200, &error)) << error;
            ::setenv("PORTWIRE_COM7", pty->slavePath().c_str(), 1);
            app.m_Handle = A_OpenCom(7, 115200);
        } else {
            ASSERT_TRUE(sim.StartAtServicePort());
            app.m_Handle = A_OpenNet(sim.address, 32000);
        }
        ASSERT_NE(app.m_Handle, 0);
    }
    void TearDown() override {
        A_Close(app.m_Handle);
        ::unsetenv("PORTWIRE_COM7");
        mv::iniClearCache();
    }
    // The requests the station received since the last call.
    std::vector<Request> Requests() {
        std::vector<Request> out;
        updateFlags.clear();
        for (const auto& frame : sim.station.frameLog()) {
            if (frame.size() > 4) {
                out.emplace_back(frame[4], frame[2]);
            }
            if (frame.size() > 6 && frame[4] == 0x76) {
                updateFlags.push_back(frame[6]);
            }
        }
        sim.station.clearFrameLog();
        return out;
    }
    std::string FileText(const std::string& path) const {
        std::ifstream in(path, std::ios::binary);
        return std::string(std::istreambuf_iterator<char>(in), {});
    }
    // One section of a file as its bytes, from its header to the next one.
    std::string Section(const std::string& path, const std::string& name) const {
        const std::string text = FileText(path);
        const std::size_t at = text.find("[" + name + "]");
        if (at == std::string::npos) {
            return {};
        }
        const std::size_t end = text.find("\r\n[", at);
        return text.substr(at, end == std::string::npos ? std::string::npos : end + 2 - at);
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
    std::unique_ptr<x740sim::PtyStationServer> pty;
    std::vector<int> updateFlags; // of the immediate updates Requests() saw
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

    // Refused entries: the setup, a block, a bit, a cam, the final update (254 there means
    // busy and counts as success).
    struct Case {
        std::uint8_t code;
        int key;
        std::uint8_t error;
        std::string line;
        int finalUpdates; // flag-1 updates sent
    };
    const std::vector<Case> cases = {
        {0x73, -1, 3, "E\tError Sending NSW-Configuration", 1},
        {0x70, 1, 3, "E\tError sending NSW block", 1},
        {0x75, 1 * 256 + 7, 3, "E\tError sending NSW-Konfiguration Bit 2", 1},
        {0x71, 2, 3, "E\tError sending NSW-Configuration 2", 1},
        {0x76, 1, 3, "E\tError saving NSW-Configuration", 2},
        {0x76, 1, 254, "I\tReady", 1},
    };
    for (const Case& c : cases) {
        sim.services.clearShaping();
        sim.services.setDeviceErrorAt(c.code, c.key, c.error);
        host.messages.clear();
        Requests();
        files.Run(kCmdNswToModule);
        const std::vector<Request> sent = Requests();
        EXPECT_EQ(host.lines.back(), c.line);
        EXPECT_EQ(host.messages, c.line == "I\tReady"
                                     ? std::vector<std::string>{"NSW|Download OK|ok"}
                                     : std::vector<std::string>{})
            << c.line;
        EXPECT_TRUE(host.enabled);
        ASSERT_GE(sent.size(), 2u);
        EXPECT_EQ(sent.front(), Request(0x76, kWrite)) << c.line;
        EXPECT_EQ(sent.back(), Request(0x76, kWrite)) << c.line;
        const std::vector<int> flags =
            c.finalUpdates == 2 ? std::vector<int>{0, 1, 1} : std::vector<int>{0, 1};
        EXPECT_EQ(updateFlags, flags) << c.line;
        EXPECT_EQ(sim.services.record(RecordKind::ImmediateUpdate).get("flag"), c.code == 0x76 ? 0u : 1u)
            << c.line;
    }
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

    // A file that cannot be written ends each read with an error, never a "Ready" or "OK".
    const std::vector<std::pair<int, std::string>> reads = {
        {kCmdSsiFromModule, "SSI"}, {kCmdNswFromModule, "NSW"}, {kCmdFilterFromModule, "Filter"}};
    for (const auto& [command, caption] : reads) {
        host.messages.clear();
        host.path = dir + "/no such folder/out.ini";
        files.Run(command);
        const std::string text = "Error writing file " + host.path;
        EXPECT_EQ(host.lines.back(), "E\t" + text) << caption;
        EXPECT_EQ(host.messages, std::vector<std::string>{caption + "|" + text + "|error"});
        EXPECT_TRUE(host.enabled);
    }
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
    std::vector<BadFile> bad = {
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
        {(ok + "BitConfig_1=9,0,3\r\nNocken_0=0,a,1,1,1,1,16,0,0\r\n"
               "Nocken_1=3,b,1,1,1,1,16,4,0\r\n"),
         {"W\tBit Configuration -> BitConfig_1", "W\tBlock 9 does not exist",
          "I\tChecking Nocken_XXX", "E\tError in cam configuration -> Nocken_1",
          "E\tMultiturn Trigger Mode"},
         4, "Nocken_1"},
        {(ok + "Nocken_0=5,a,1,1,1,1,16,0,-5\r\nNocken_1=0,b,4000,0,0,0,0\r\n"),
         {"W\tcam configuration -> Nocken_0", "W\tTrack 5 does not exist",
          "E\tError in cam configuration -> Nocken_1", "E\tAngle must be between 0 and 3599"},
         4, "Nocken_1"},
    };
    // One damaged file per checker message, and per field the wire carries in one byte or 16
    // bits a value one past its range (it would arrive wrapped).
    const std::string setup = "[NSW128]\r\nSSI_Index=0\r\nSSI_MaxSpeed=1\r\n";
    const std::string block = setup + "BlockConfig_0=0,1,2\r\n";
    const std::string cam = ok + "Nocken_0=0,a,1,1,1,1,16";
    const std::string blockError = "E\tError in Block Configuration -> BlockConfig_0";
    const std::string bitError = "E\tError in Bit Configuration -> BitConfig_0";
    const std::string camError = "E\tError in cam configuration -> Nocken_0";
    const std::vector<BadFile> messages = {
        {"[NSW128]\r\nSSI_Index=0\r\n",
         {"E\tError in Section NSW128", "E\twrong definition of SSI_MaxSpeed"}, 1, ""},
        {"[NSW128]\r\nSSI_Index=-2\r\nSSI_MaxSpeed=1\r\n",
         {"E\tError in Section NSW128", "E\tSSI_Index must be 0 or 1"}, 1, ""},
        {"[NSW128]\r\nSSI_Index=0\r\nSSI_MaxSpeed=65536\r\n",
         {"E\tError in Section NSW128", "E\tSSI_MaxSpeed must be between 0 and 65535"}, 1, ""},
        {setup, {"E\tNo Block Configuration found"}, -1, ""},
        {setup + "BlockConfig_0=0,256,2\r\n",
         {blockError, "E\tModulindex must be between 0 and 255"}, 2, "BlockConfig_0"},
        {setup + "BlockConfig_0=0,1,-1\r\n", {blockError, "E\tByteoffset must be positiv"}, 2,
         "BlockConfig_0"},
        {setup + "BlockConfig_0=0,1,256\r\n",
         {blockError, "E\tByteoffset must be between 0 and 255"}, 2, "BlockConfig_0"},
        {block, {"E\tNo Bit Configuration found"}, -1, ""},
        {block + "BitConfig_0=0,8,0\r\n", {bitError, "E\tBitoffset must be between 0 and 7"}, 3,
         "BitConfig_0"},
        {block + "BitConfig_0=0,0,-1\r\n", {bitError, "E\tBahnindex must be positiv"}, 3,
         "BitConfig_0"},
        {block + "BitConfig_0=0,0,256\r\n", {bitError, "E\tBahnindex must be between 0 and 255"},
         3, "BitConfig_0"},
        {ok, {"E\tNo cam configuration found"}, -1, ""},
        {ok + "Nocken_0=-1,a,1,1,1,1,16\r\n", {camError, "E\tWrong index"}, 4, "Nocken_0"},
        {ok + "Nocken_0=256,a,1,1,1,1,16\r\n",
         {camError, "E\tNockenbahn must be between 0 and 255"}, 4, "Nocken_0"},
        {ok + "Nocken_0=0,a,1,-1,1,1,16\r\n", {camError, "E\tTime must be positiv"}, 4,
         "Nocken_0"},
        {ok + "Nocken_0=0,a,1,1,1,65536,16\r\n",
         {camError, "E\tTime must be between 0 and 65535"}, 4, "Nocken_0"},
        {cam + ",0,128\r\n", {camError, "E\tMultiturn Delay"}, 4, "Nocken_0"},
        {cam + ",0,-129\r\n", {camError, "E\tMultiturn Delay"}, 4, "Nocken_0"},
    };
    bad.insert(bad.end(), messages.begin(), messages.end());
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
        EXPECT_EQ(host.records.back().file, bad[i].recordType < 0 ? "" : host.path) << name;
        EXPECT_TRUE(host.enabled);
    }

    // Without the warning flag undefined blocks and tracks pass silently; delay -5 passes.
    host.warnings = false;
    WriteFile("nowarn.ini", ok + "BitConfig_1=9,0,3\r\nNocken_0=5,a,1,1,1,1,16,0,-5\r\n");
    host.lines.clear();
    host.messages.clear();
    host.path = dir + "/nowarn.ini";
    files.Run(kCmdNswToModule);
    EXPECT_EQ(std::count_if(host.lines.begin(), host.lines.end(),
                            [](const std::string& l) { return l.rfind("W\t", 0) == 0; }),
              0);
    EXPECT_EQ(host.messages, (std::vector<std::string>{"NSW|Download OK|ok"}));
    EXPECT_EQ(sim.services.record(RecordKind::NswBit, 0 * 256 + 0).get("value"), 0u);
    host.messages.clear();

    const std::vector<std::pair<std::string, std::vector<std::string>>> ssi = {
        {"[SSI_1]\r\nDrehrichtung=0\r\n", {"E\tNo SSI-information found"}},
        {"[SSI_0]\r\nDrehrichtung=0\r\nInkremente=5\r\nUserInkremente=1\r\n",
         {"E\tError in Section SSI_0 -> ModulIndex", "E\tMissing IO-Configuration"}},
        {"[SSI_0]\r\nDrehrichtung=1x\r\n", {"E\tError in Section SSI_0 -> Drehrichtung"}},
        {"[SSI_0]\r\nDrehrichtung=-2\r\n", {"E\tError in Section SSI_0 -> Drehrichtung"}},
        {"[SSI_0]\r\nDrehrichtung=0\r\nInkremente=0\r\nUserInkremente=1\r\n"
         "PresetModulIndex=0\r\nPresetModulByteOffset=0\r\nPresetModulBitOffset=0\r\n"
         "ValueMask=1\r\nOptionFlags=256\r\n",
         {"E\tError in Section SSI_0 -> OptionFlags"}},
    };
    for (const auto& [text, lines] : ssi) {
        WriteFile("ssi_bad.ini", text);
        host.lines.clear();
        host.path = dir + "/ssi_bad.ini";
        const auto before = sim.station.frameCount();
        files.Run(kCmdSsiToModule);
        EXPECT_EQ(sim.station.frameCount(), before) << text;
        EXPECT_EQ(Lines(1), lines) << text;
        EXPECT_TRUE(host.messages.empty());
    }

    // Places the wire cannot name: SSI_256 and block 256 (they would reach SSI_0 and block 0).
    std::string many;
    const std::string keys = "Drehrichtung=0\r\nInkremente=0\r\nUserInkremente=1\r\n"
                             "PresetModulIndex=0\r\nPresetModulByteOffset=0\r\n"
                             "PresetModulBitOffset=0\r\nValueMask=1\r\nOptionFlags=0\r\n"
                             "MaxDiffValue=0\r\nMaxDiffCounterValue=0\r\nTotzeit=0\r\n"
                             "Offset=0\r\n";
    for (int n = 0; n <= 256; ++n) {
        many += "[SSI_" + std::to_string(n) + "]\r\n" + keys;
    }
    WriteFile("ssi_many.ini", many);
    std::string blocks = "[NSW128]\r\nSSI_Index=0\r\nSSI_MaxSpeed=1\r\n";
    for (int k = 0; k <= 256; ++k) {
        blocks += Format("BlockConfig_%d=%d,1,0\r\n", k, k);
    }
    WriteFile("blocks_many.ini", blocks);
    const std::vector<std::tuple<std::string, int, std::vector<std::string>, int, std::string>>
        pastWire = {
            {"ssi_many.ini", kCmdSsiToModule, {"E\tError in Section SSI_256 -> SSI_256"}, 0,
             "SSI_256"},
            {"blocks_many.ini", kCmdNswToModule,
             {"E\tError in Block Configuration -> BlockConfig_256", "E\tWrong Blockindex"}, 2,
             "BlockConfig_256"},
        };
    for (const auto& [name, command, lines, type, place] : pastWire) {
        host.lines.clear();
        host.records.clear();
        host.path = dir + "/" + name;
        const auto before = sim.station.frameCount();
        files.Run(command);
        EXPECT_EQ(sim.station.frameCount(), before) << name;
        ASSERT_GE(host.lines.size(), lines.size());
        EXPECT_EQ(Lines(host.lines.size() - lines.size()), lines) << name;
        EXPECT_EQ(host.records.back().type, type) << name;
        EXPECT_EQ(host.records.back().name, place) << name;
    }

    // ModulIndex and ModulOffset may be missing while Inkremente is 0.
    WriteFile("ssi_plain.ini", "[SSI_0]\r\n" + keys);
    host.lines.clear();
    host.path = dir + "/ssi_plain.ini";
    files.Run(kCmdSsiToModule);
    EXPECT_EQ(host.lines.back(), "I\tReady");
    EXPECT_EQ(host.messages, (std::vector<std::string>{"SSI|Download OK|ok"}));
    EXPECT_EQ(sim.services.record(RecordKind::SsiSetup, 0).getAt(12, 4), 0u);
    host.messages.clear();

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

// The controller's records as the file sections should hold them.
std::string Line(const std::string& key, const std::string& value) {
    return key + "=" + value + "\r\n";
}

std::string SsiSections(const x740sim::CamConfiguration& c) {
    std::string out;
    for (std::size_t n = 0; n < c.ssi.size(); ++n) {
        const auto& s = c.ssi[n];
        out += "[SSI_" + std::to_string(n) + "]\r\n";
        const std::pair<const char*, long> keys[] = {
            {"Drehrichtung", s.direction},
            {"Inkremente", s.increments},
            {"UserInkremente", s.userIncrements},
            {"ModulIndex", s.modulIndex},
            {"ModulOffset", s.modulOffset},
            {"PresetModulIndex", s.presetModulIndex},
            {"PresetModulByteOffset", s.presetByteOffset},
            {"PresetModulBitOffset", s.presetBitOffset},
            {"ValueMask", s.valueMask},
            {"OptionFlags", s.optionFlags},
            {"MaxDiffValue", s.maxDiffValue},
            {"MaxDiffCounterValue", s.maxDiffCounterValue},
            {"Totzeit", s.deadTime},
            {"Offset", s.offset}};
        for (const auto& [key, value] : keys) {
            out += Line(key, std::to_string(value));
        }
    }
    return out;
}

std::string NswSection(const x740sim::CamConfiguration& c) {
    std::string out = "[NSW128]\r\n" + Line("SSI_Index", std::to_string(c.ssiIndex)) +
                      Line("SSI_MaxSpeed", std::to_string(c.maxSpeed));
    for (std::size_t k = 0; k < c.blocks.size(); ++k) {
        out += Line("BlockConfig_" + std::to_string(k),
                    Format("%d,%d,%d", static_cast<int>(k), c.blocks[k].module,
                           c.blocks[k].byteOffset));
    }
    for (std::size_t j = 0; j < c.bitTracks.size(); ++j) {
        out += Line("BitConfig_" + std::to_string(j),
                    Format("%d,%d,%d", static_cast<int>(j / 8), static_cast<int>(j % 8),
                           c.bitTracks[j]));
    }
    for (std::size_t n = 0; n < c.cams.size(); ++n) {
        const auto& m = c.cams[n];
        out += Line("Nocken_" + std::to_string(n),
                    Format("%d,%s,%d,%d,%d,%d,%d,%d,%d", m.track, m.name.c_str(), m.startAngle,
                           m.startDeadTime, m.endAngle, m.endDeadTime, m.type, m.triggerMode,
                           m.delay));
    }
    return out;
}

std::string FilterSection(const x740sim::CamConfiguration& c) {
    std::string out = "[DigFilter]\r\n";
    for (std::size_t n = 0; n < c.filters.size(); ++n) {
        const auto& f = c.filters[n];
        out += Line("DFMWConfig_" + std::to_string(n),
                    Format("%d,%d,%d", f.word, f.value1, f.value2));
    }
    return out;
}

class DataFilesRoundTrip : public DataFilesTest, public ::testing::WithParamInterface<bool> {
protected:
    void SetUp() override { Open(GetParam()); }
};

// Each file read from the preset controller holds its records; sent into an emptied
// controller, the files give back the same records, in the order and framing of the wire.
TEST_P(DataFilesRoundTrip, FilesHoldTheControllersRecordsAndRestoreThem) {
    const x740sim::CamConfiguration preset = x740sim::camPresetConfiguration();
    const std::string ssi = dir + "/ssi.ini";
    const std::string nsw = dir + "/nsw.ini";
    const std::string filter = dir + "/filter.ini";
    WriteFile("nsw.ini", "[Old]\r\nKept=1\r\n"); // a read starts a new file
    files.ReadSsiToFile(ssi);
    files.ReadNswToFile(nsw);
    files.ReadFilterToFile(filter);
    EXPECT_EQ(FileText(ssi).rfind("[System]\r\nControllerID=0x32a5\r\n", 0), 0u);
    EXPECT_EQ(FileText(nsw).find("[Old]"), std::string::npos);
    EXPECT_EQ(Section(ssi, "SSI_0") + Section(ssi, "SSI_1"), SsiSections(preset));
    EXPECT_EQ(Section(nsw, "NSW128"), NswSection(preset));
    EXPECT_EQ(Section(filter, "DigFilter"), FilterSection(preset));
    EXPECT_TRUE(host.enabled);

    x740sim::clearCamConfiguration(sim.services);
    Requests();
    host.messages.clear();
    files.WriteSsiFromFile(ssi);
    files.WriteNswFromFile(nsw);
    files.WriteFilterFromFile(filter);
    EXPECT_EQ(host.messages, (std::vector<std::string>{"SSI|Download OK|ok", "NSW|Download OK|ok"}));
    EXPECT_EQ(x740sim::takeCamConfiguration(sim.services), preset);

    std::vector<Request> want;
    for (int n = 0; n < 2; ++n) {
        want.insert(want.end(), {{0x79, kWrite}, {0x7B, kWrite}});
    }
    want.insert(want.end(), {{0x76, kWrite}, {0x73, kWrite}});
    want.insert(want.end(), preset.blocks.size(), {0x70, kWrite});
    want.insert(want.end(), preset.bitTracks.size(), {0x75, kWrite});
    want.insert(want.end(), preset.cams.size(), {0x71, kWrite});
    want.push_back({0x76, kWrite});
    want.insert(want.end(), preset.filters.size(), {0x98, kWrite});
    EXPECT_EQ(Requests(), want);
    EXPECT_EQ(updateFlags, (std::vector<int>{0, 1}));
}

INSTANTIATE_TEST_SUITE_P(Transports, DataFilesRoundTrip, ::testing::Values(false, true),
                         [](const auto& info) { return info.param ? "Pty" : "Tcp"; });

// Older controllers' short SSI replies and a cam name that fills its field.
TEST_F(DataFilesTest, ShortSsiRepliesAndFullCamNamesAreRead) {
    const std::string out = dir + "/short.ini";
    const std::vector<std::pair<int, std::vector<std::string>>> cases = {
        {36, {"16777215", "0", "0", "0", "0"}},
        {35, {"1073741823", "0", "0", "0", "0"}},
        {32, {"1073741823", "0", "0", "0", "0"}},
        {40, {"16777215", "2", "0", "0", "0"}},
    };
    for (const auto& [length, values] : cases) {
        sim.services.setReplyLength(0x78, length);
        files.ReadSsiToFile(out);
        std::vector<std::string> got;
        for (const char* key :
             {"ValueMask", "OptionFlags", "MaxDiffValue", "MaxDiffCounterValue", "Totzeit"}) {
            got.push_back(mv::iniReadString(out, "SSI_0", key));
        }
        EXPECT_EQ(got, values) << length;
        EXPECT_EQ(mv::iniReadString(out, "SSI_0", "PresetModulBitOffset"), "5") << length;
        EXPECT_EQ(mv::iniReadString(out, "SSI_1", "Offset"), "250000") << length;
    }
    sim.services.clearShaping();

    x740sim::CamConfiguration config = x740sim::camPresetConfiguration();
    config.cams[1].name = "SeventeenCharName";
    config.cams[1].startAngle = 0x4141; // the bytes after the name are no terminator
    x740sim::putCamConfiguration(sim.services, config);
    files.ReadNswToFile(out);
    EXPECT_EQ(mv::iniReadString(out, "NSW128", "Nocken_1"),
              "1,SeventeenCharNam,16705,0,3599,10,0,0,0");
    EXPECT_EQ(host.lines.back(), "I\tReady");
}

// A failed SSI record or offset stops the transfer with its message; an offset for an
// interface past 255 is refused before anything is sent.
TEST_F(DataFilesTest, SsiWriteFailuresStopWithTheirMessage) {
    const std::string file = dir + "/ssi.ini";
    files.ReadSsiToFile(file);
    struct Case {
        std::uint8_t code;
        int key;
        std::vector<std::string> tail;
        std::string message;
    };
    const std::vector<Case> cases = {
        {0x79, 1, {"I\tSSI_0", "I\tSSI_1", "E\tERROR"}, "SSI|Error sending SSI configuration|error"},
        {0x7B, 0, {"I\tSSI_0", "E\tERROR"}, "SSI|Error sending SSI offset|error"},
    };
    for (const Case& c : cases) {
        sim.services.clearShaping();
        sim.services.setDeviceErrorAt(c.code, c.key, 3);
        host.lines.clear();
        host.messages.clear();
        host.path = file;
        files.Run(kCmdSsiToModule);
        ASSERT_GE(host.lines.size(), c.tail.size());
        EXPECT_EQ(Lines(host.lines.size() - c.tail.size()), c.tail);
        EXPECT_EQ(host.messages, std::vector<std::string>{c.message});
        EXPECT_TRUE(host.enabled);
    }

    // One offset: a refused write, then an interface the request cannot carry.
    host.lines.clear();
    host.messages.clear();
    sim.services.setDeviceErrorAt(0x7B, 1, 3);
    files.Run(kCmdSsiOffsetWrite);
    host.offsetIndex = 256;
    Requests();
    files.Run(kCmdSsiOffsetWrite);
    EXPECT_TRUE(Requests().empty());
    EXPECT_EQ(host.lines, (std::vector<std::string>{"E\tERROR",
                                                    "E\tSSI-Index must be between 0 and 255"}));
    EXPECT_EQ(host.messages,
              (std::vector<std::string>{"SSI|Error sending SSI offset|error",
                                        "SSI|SSI-Index must be between 0 and 255|error"}));
    EXPECT_TRUE(host.enabled);

    // A refused filter item ends the filter write there, without a message.
    const std::string filter = dir + "/filter.ini";
    files.ReadFilterToFile(filter);
    sim.services.setDeviceErrorAt(0x98, 1, 3);
    host.lines.clear();
    host.messages.clear();
    host.path = filter;
    files.Run(kCmdFilterToModule);
    EXPECT_EQ(host.lines, (std::vector<std::string>{"I\tSende Konfiguration 0",
                                                    "E\tFehler beim Senden der Konfiguration"}));
    EXPECT_EQ(host.transient, "Sende Konfiguration 1");
    EXPECT_TRUE(host.messages.empty());
    EXPECT_FALSE(host.cursor);
    EXPECT_TRUE(host.enabled);
}

// A read cut by the lost link is no end of the controller's lists: an error line and message
// instead of "Ready", and the file read before stays as it was.
TEST_F(DataFilesTest, ReadsCutByTheLinkKeepThePreviousFile) {
    x740sim::CamConfiguration config = x740sim::largeCamConfiguration(20, 16, 3);
    config.ssi = x740sim::camPresetConfiguration().ssi; // two interfaces
    x740sim::putCamConfiguration(sim.services, config);
    const std::string before = "[NSW128]\r\nSSI_Index=1\r\nSSI_MaxSpeed=7\r\n";
    const std::vector<std::tuple<std::string, std::uint8_t, int, std::string>> cuts = {
        {"nsw.ini", 0x6E, 9, "Error reading Block 9: no reply"},
        {"ssi.ini", 0x7A, 1, "Error reading SSI_1 Offset: no reply"},
    };
    for (const auto& [name, code, good, message] : cuts) {
        WriteFile(name, before);
        sim.station.injectFaultFor(code, kRead, x740sim::Fault::delay(0), good);
        sim.station.injectFaultFor(code, kRead, x740sim::Fault::drop());
        host.lines.clear();
        host.messages.clear();
        const std::string path = dir + "/" + name;
        if (code == 0x6E) {
            files.ReadNswToFile(path);
        } else {
            files.ReadSsiToFile(path);
        }
        EXPECT_EQ(host.messages, std::vector<std::string>{(code == 0x6E ? "NSW|" : "SSI|") +
                                                          message + "|error"});
        EXPECT_EQ(host.lines.back(), "E\t" + message) << name;
        EXPECT_EQ(std::count(host.lines.begin(), host.lines.end(), "I\tReady"), 0) << name;
        EXPECT_EQ(FileText(path), before) << name;
        mv::iniClearCache();
        EXPECT_EQ(FileText(path), before) << name;
        A_Close(app.m_Handle);
        app.m_Handle = A_OpenNet(sim.address, 32000);
        ASSERT_NE(app.m_Handle, 0);
    }
    // Read whole, the file is replaced.
    files.ReadNswToFile(dir + "/nsw.ini");
    EXPECT_EQ(host.lines.back(), "I\tReady");
    EXPECT_NE(FileText(dir + "/nsw.ini").find("BlockConfig_19="), std::string::npos);
}

} // namespace
} // namespace x740panel
