#include "module_test_util.h"

#include "morvelan/core/controller_module.h"
#include "morvelan/core/app_profile.h"
#include "morvelan/core/param_number.h"
#include "platform/recording_canvas.h"
#include "portwire/include/Portwire.h"
#include "tests/sim/station.h"
#include "tests/sim/tcp_station_server.h"

#include <gtest/gtest.h>

#include <algorithm>

namespace {

using Bytes = std::vector<std::uint8_t>;

const char* const kController = R"([FILEINFO]
Protocol_ID=1
Device=Morvelan
[MORVELAN]
Description=TC-740
Typ=1
Channel=3
[K1]
Name=200
Parameter=4
Length=12
Nr=50
Write=1
[K1P1]
Name=201
Offset=2
Length=1
Min=0
Max=255
[K1P2]
Offset=3
Length=2
[K1P3]
Offset=5
Length=4
Min=-5
[K1P4]
Offset=9
Length=3
[K2]
Name=210
Parameter=1
Length=4
Nr=51
Write=0
[K2P1]
Offset=2
Length=2
[K3]
Parameter=1
Length=3
Nr=52
[K3P1]
Offset=2
Length=1
[Fieldbus]
Kanal=3
Offset=2
Bit=1
[Error]
Count=3
E0=12,40
E1=0
E2=7,41
[English]
40=Overheat
200=Settings
201=Address
[Default]
41=Lost
)";

// A controller description with the fieldbus section replaced.
std::string WithFieldbus(const std::string& fieldbus) {
    std::string text = kController;
    const auto from = text.find("[Fieldbus]");
    const auto to = text.find("[Error]");
    return text.substr(0, from) + fieldbus + text.substr(to);
}

class ControllerModuleTest : public ::testing::Test {
protected:
    void SetUp() override {
        station_.setModuleIds({0x0101});
        ASSERT_TRUE(server_.start(0));
        link_ = A_OpenNet(0x7F000001u, server_.port());
        ASSERT_NE(link_, 0u);
        hooks_.link = link_;
        path_ = install_.write("Modul/TC-740.kvn", kController);
    }
    void TearDown() override {
        A_Close(link_);
        server_.stop();
    }

    // True when the station received a frame holding these bytes in a row.
    bool Received(const Bytes& bytes) const {
        for (const Bytes& frame : station_.frameLog()) {
            if (std::search(frame.begin(), frame.end(), bytes.begin(), bytes.end()) !=
                frame.end()) {
                return true;
            }
        }
        return false;
    }

    mvtest::TempInstall install_;
    mvtest::RecordingHooks hooks_;
    x740sim::Station station_;
    x740sim::TcpStationServer server_{station_};
    LinkHandle link_ = 0;
    std::string path_;
};

TEST_F(ControllerModuleTest, DescriptionGivesChannelsParametersAndErrorTexts) {
    CControllerModule head;
    head.LoadDescription(path_);
    EXPECT_EQ(head.width, 82);
    ASSERT_EQ(head.ChannelCount(), 3);
    EXPECT_EQ(head.Channel(0).name, "Settings");
    EXPECT_EQ(head.Channel(0).code, 50);
    EXPECT_EQ(head.Channel(0).params[0].name, "Address");
    EXPECT_EQ(head.Channel(0).params[1].name, "NIX");
    EXPECT_EQ(head.Channel(0).params[0].maximum, 255);
    // Min without Max: both limits are 0.
    EXPECT_EQ(head.Channel(0).params[2].minimum, 0);
    ASSERT_EQ(head.ErrorTexts().size(), 2u);
    EXPECT_EQ(head.ErrorTexts()[0].code, 12);
    EXPECT_EQ(head.ErrorTexts()[0].text, "Overheat");
    EXPECT_EQ(head.ErrorText(7), "Lost");
    EXPECT_TRUE(head.HasFieldbus());
    std::string fw, fd, fv;
    head.GetFirmwareTexts(fw, fd, fv);
    EXPECT_EQ(fw + fd + fv, "XXXXXXXXX");
}

TEST_F(ControllerModuleTest, EveryDeclaredParameterIsReadUpToTheCaps) {
    std::string text = "[MORVELAN]\r\nChannel=1024\r\n";
    for (int k = 1; k <= 1024; ++k)
        text += mv::FormatC("[K%d]\r\nParameter=%d\r\n", k, k == 7 ? 3 : 1024);
    text += "[K7P1]\r\nOffset=2\r\nLength=1\r\n[K7P3]\r\nOffset=4\r\n";
    CControllerModule head;
    head.LoadDescription(install_.write("Modul/HOSTILE.kvn", text));
    ASSERT_EQ(head.ChannelCount(), kMaxControllerChannels);
    // Channel 7's missing second parameter is a default record; its third is read.
    ASSERT_EQ(head.Channel(6).params.size(), 3u);
    EXPECT_EQ(head.Channel(6).params[0].offset, 2);
    EXPECT_EQ(head.Channel(6).params[1].name, "NIX");
    EXPECT_EQ(head.Channel(6).params[1].length, 0);
    EXPECT_EQ(head.Channel(6).params[2].offset, 4);
    EXPECT_EQ(head.Channel(0).params.size(), std::size_t{kMaxControllerParams});
    // The channel count and every other channel's parameter count are cut.
    EXPECT_EQ(head.Warnings().size(), std::size_t{kMaxControllerChannels});
}

TEST_F(ControllerModuleTest, MasterParametersAreReadWhenOnline) {
    station_.setMasterParameter(50, {0xF1, 0x22, 0x83, 0x44, 0x55, 0x66, 0x77, 'a', 'b', 'c', 'd'});
    hooks_.online = true;
    CControllerModule head;
    head.LoadDescription(path_);
    const auto& p = head.Channel(0).params;
    EXPECT_EQ(p[0].value.GetAsInt(kTypeInt32), 0xF1);
    EXPECT_EQ(p[1].value.GetAsInt(kTypeInt32), static_cast<std::int16_t>(0x8322));
    EXPECT_EQ(p[2].value.GetAsInt(kTypeInt32), 0x77665544);
    EXPECT_EQ(p[3].value.ToText(kTypeText), "abc");
}

TEST_F(ControllerModuleTest, RepliesAreReadOnlyWithinTheirLength) {
    hooks_.online = true;
    station_.setMasterParameter(50, {0x01, 0x02, 0x03, 0x04, 0x05});
    CControllerModule head;
    head.LoadDescription(path_);
    auto& p = head.Channel(0).params;
    EXPECT_EQ(p[0].value.GetAsInt(kTypeInt32), 1);
    EXPECT_EQ(p[1].value.GetAsInt(kTypeInt32), 0x0302);
    // The four-byte number would run past the reply: it keeps its value.
    EXPECT_EQ(p[2].value.GetAsInt(kTypeInt32), 0);
    // A text the reply does not reach is marked as not read.
    EXPECT_EQ(p[3].value.ToText(kTypeText), "not read");
    // A text cut by the end of the reply.
    station_.setMasterParameter(50, {1, 2, 3, 4, 5, 6, 7, 'x'});
    head.ReadMasterParameters(link_);
    EXPECT_EQ(p[3].value.ToText(kTypeText), "x");
}

TEST_F(ControllerModuleTest, WritingSendsLittleEndianIntegersOfWritableChannels) {
    CControllerModule head;
    head.LoadDescription(path_);
    auto& p = head.Channel(0).params;
    p[0].value.SetLong(0xAB);
    p[1].value.SetLong(0x1234);
    p[2].value.SetLong(0xDEADBEEF);
    p[3].value.SetText("zzz");
    EXPECT_EQ(head.WriteMasterParameters(link_), 1);
    const Bytes expected{0xAB, 0x34, 0x12, 0xEF, 0xBE, 0xAD, 0xDE};
    EXPECT_EQ(station_.masterParameter(50), expected);
    Bytes onWire{50, 0};
    onWire.insert(onWire.end(), expected.begin(), expected.end());
    EXPECT_TRUE(Received(onWire));
    // The channel with Write = 0 is not sent.
    EXPECT_FALSE(station_.hasMasterParameter(51));
}

TEST_F(ControllerModuleTest, FailedWriteReturnsZero) {
    CControllerModule head;
    head.LoadDescription(path_);
    station_.injectFault(x740sim::Fault::deviceError(0x09), 4);
    EXPECT_EQ(head.WriteMasterParameters(link_), 0);
}

TEST_F(ControllerModuleTest, FieldbusIndicatorFollowsTheStateBit) {
    CControllerModule head;
    head.LoadDescription(path_);
    mv::RecordingCanvas dc;
    station_.setMasterParameter(52, {0x02});
    head.drawState = kDrawStateReset;
    EXPECT_EQ(head.DrawLiveState(dc, 0), 1);
    ASSERT_EQ(dc.callsOf(mv::DrawOp::Bitmap).size(), 1u);
    EXPECT_EQ(dc.callsOf(mv::DrawOp::Bitmap)[0].bitmap.resourceId, 166);
    EXPECT_EQ(dc.callsOf(mv::DrawOp::Bitmap)[0].from, (mv::POINT{10, 87}));
    EXPECT_TRUE(Received({52, 0}));

    dc.clear();
    EXPECT_EQ(head.DrawLiveState(dc, 0), 0);
    EXPECT_TRUE(dc.calls().empty());
    station_.setMasterParameter(52, {0xFD});
    EXPECT_EQ(head.DrawLiveState(dc, 0), 1);
    EXPECT_TRUE(dc.calls().empty());
    EXPECT_EQ(head.FieldbusShownState(), 0);
}

TEST_F(ControllerModuleTest, FieldbusTextWhileOnline) {
    CControllerModule head;
    head.LoadDescription(path_);
    mv::RecordingCanvas dc;
    station_.setMasterParameter(52, {0x02});
    head.DrawStatic(dc);
    EXPECT_TRUE(dc.texts().empty());
    hooks_.online = true;
    head.DrawStatic(dc);
    ASSERT_EQ(dc.texts().size(), 1u);
    const auto text = dc.callsOf(mv::DrawOp::TextOut)[0];
    EXPECT_EQ(text.text, " Fieldbus OFF");
    EXPECT_EQ(text.state.textColor, mv::RGB(255, 0, 0));
    EXPECT_EQ(text.from, (mv::POINT{355, 0}));
    dc.clear();
    station_.setMasterParameter(52, {0x00});
    head.DrawStatic(dc);
    EXPECT_EQ(dc.texts(), std::vector<std::string>{std::string(14, ' ')});
}

TEST_F(ControllerModuleTest, NoFieldbusReadWithoutAUsableFieldbusDescription) {
    for (const std::string& fieldbus :
         {std::string(), std::string("[Fieldbus]\nKanal=3\nOffset=2\nBit=9\n")}) {
        install_.write("Modul/NF.kvn", WithFieldbus(fieldbus));
        mv::iniClearCache();
        CControllerModule head;
        head.LoadDescription(install_.dir() + "/Modul/NF.kvn");
        EXPECT_FALSE(head.HasFieldbus());
        const std::size_t before = station_.frameCount();
        mv::RecordingCanvas dc;
        head.drawState = kDrawStateReset;
        EXPECT_EQ(head.DrawLiveState(dc, 0), 0);
        hooks_.online = true;
        head.DrawStatic(dc);
        hooks_.online = false;
        EXPECT_EQ(station_.frameCount(), before);
        EXPECT_TRUE(dc.texts().empty());
    }
    // An offset beyond the reply reads no bit.
    install_.write("Modul/NF.kvn", WithFieldbus("[Fieldbus]\nKanal=3\nOffset=200\nBit=0\n"));
    mv::iniClearCache();
    CControllerModule head;
    head.LoadDescription(install_.dir() + "/Modul/NF.kvn");
    station_.setMasterParameter(52, {0xFF});
    mv::RecordingCanvas dc;
    head.drawState = kDrawStateReset;
    EXPECT_EQ(head.DrawLiveState(dc, 0), 0);
    EXPECT_TRUE(dc.calls().empty());
}

TEST_F(ControllerModuleTest, FirmwareTextsFromTheControllerWhenOnline) {
    const std::string info("FWX740\0"
                           "2024-05-01\0"
                           "V1.23\0",
                           24);
    station_.setModuleInfo(Bytes(info.begin(), info.end()));
    hooks_.online = true;
    CControllerModule head;
    std::string fw, fd, fv;
    head.GetFirmwareTexts(fw, fd, fv);
    EXPECT_EQ(fw, "FWX740");
    EXPECT_EQ(fd, "2024-05-01");
    EXPECT_EQ(fv, "V1.23");
    EXPECT_TRUE(hooks_.messages.empty());

    // A record without zero bytes is cut at its end.
    station_.setModuleInfo(Bytes(251, 'A'));
    EXPECT_TRUE(head.ReadFirmwareTexts(link_));
    EXPECT_LE(head.m_FW.size(), 252u);
    EXPECT_EQ(head.m_FW.substr(0, 251), std::string(251, 'A'));
    EXPECT_TRUE(head.m_FV.empty());
}

TEST_F(ControllerModuleTest, FailedFirmwareReadKeepsTheTextsAndTellsWhy) {
    hooks_.online = true;
    hooks_.link = 0xFFFFFFF0u;
    CControllerModule head;
    EXPECT_EQ(head.m_FW, "XXX");
    ASSERT_EQ(hooks_.messages.size(), 1u);
    EXPECT_EQ(hooks_.messages[0].line1, "Communication error :  Handle error ");
    EXPECT_EQ(hooks_.messages[0].caption, "Error");
}

TEST_F(ControllerModuleTest, ProjectKeepsFirmwareTextsAndWritableChannels) {
    CControllerModule head;
    head.LoadDescription(path_);
    head.m_FW = "A";
    head.m_FD = "";
    head.m_FV = std::string(30, 'v');
    head.Channel(0).params[2].value.SetLong(static_cast<std::uint32_t>(-7));
    head.Channel(1).params[0].value.SetLong(9);
    const std::string project = install_.dir() + "/p.mvl";
    head.SaveToProject(2, 0, project);
    EXPECT_EQ(mv::iniReadString(project, "M2C", "FD"), "");
    EXPECT_EQ(mv::iniReadString(project, "M2CK0KNR50", "P2"), "-7");
    EXPECT_TRUE(mv::iniKeyNames(project, "M2CK1KNR51").empty());
    // A save that fails names its first section, not the file.
    std::vector<std::string> errors;
    mv::setErrorBoxSink([&](const std::string&, const std::string& text) {
        errors.push_back(text);
    });
    head.SaveToProject(5, 0, install_.dir() + "/no/such/folder/p.mvl");
    mv::setErrorBoxSink({});
    ASSERT_EQ(errors.size(), 1u);
    EXPECT_EQ(errors[0].rfind("SAVE M5C FAILURE: ", 0), 0u) << errors[0];

    CControllerModule again;
    again.LoadDescription(path_);
    again.LoadFromProject(2, 0, project);
    EXPECT_EQ(again.m_FW, "A");
    EXPECT_EQ(again.m_FV, std::string(19, 'v'));
    EXPECT_EQ(again.Channel(0).params[2].value.GetAsInt(kTypeInt32), -7);
    EXPECT_EQ(again.Channel(1).params[0].value.GetAsInt(kTypeInt32), 0);
}

} // namespace
