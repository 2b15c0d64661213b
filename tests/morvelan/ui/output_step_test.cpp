// Output stepping of the main view against the simulated station over loopback TCP: the image
// of the boards reaches the station after every step, a three-step file cycles 0, 1, 2, 0,
// automatic steps run at TIMER and hold while a message dialog is open, and a station whose
// outputs exceed one frame sends nothing.
#include "frame_fixture.h"

#include "morvelan/core/channel_module.h"
#include "morvelan/core/command_ids.h"
#include "morvelan/core/connection.h"
#include "morvelan/core/station.h"
#include "tests/sim/station_presets.h"
#include "tests/sim/tcp_station_server.h"

#include <fstream>

namespace {

using Bytes = std::vector<std::uint8_t>;

class OutputStepTest : public frametest::FrameTest {
protected:
    void SetUp() override {
        FrameTest::SetUp();
        ASSERT_TRUE(x740sim::applyPreset(station_, "demo"));
        station_.setAnimateInputs(false);
        ASSERT_TRUE(server_.start(0));
        setIni("ONLINETIMER", "600000");
        ASSERT_EQ(startWithDemo(), 1);
        app_->m_Com = kComTcpIp;
        app_->m_IpAddress = 0x7F000001u;
        app_->m_TcpPort = server_.port();
    }
    void TearDown() override {
        FrameTest::TearDown();
        server_.stop();
    }
    CMorvelanView& view() { return *frame().View(); }
    // The boards' output image as the modules give it now.
    Bytes image(int s) {
        Bytes out(4096);
        int length = 0;
        for (int j = 1; j < station(s).TileCount(); ++j) {
            int count = 0;
            tile(s, j).Module().PutOutputs(out.data() + length, 4096 - length, count);
            length += count;
        }
        out.resize(static_cast<std::size_t>(length));
        return out;
    }
    x740sim::Station station_;
    x740sim::TcpStationServer server_{station_};
};

TEST_F(OutputStepTest, StepsReachTheStationCycleAndRefuseTooManyBytes) {
    // D2210 steps through three values.
    std::ofstream(prog_ + "/Modul/fertigung/D2210.out", std::ios::binary)
        << "[OUT]\r\nSteps=3\r\n[K1]\r\n0=17\r\n1=34\r\n2=51\r\n";
    mv::iniClearCache();
    select(&tile(0, 3));
    ASSERT_TRUE(frame().OnCommand(ID_DEBUG));
    QApplication::processEvents();
    ASSERT_EQ(app_->m_Online, 1);
    auto& d2210 = static_cast<CChannelModule&>(tile(0, 2).Module());

    std::vector<int> seen;
    for (int k = 0; k < 4; ++k) {
        const int writes = station_.outputWrites();
        view().StepOutputs();
        seen.push_back(d2210.Channel(0).value.Data()[0]);
        EXPECT_EQ(station_.outputWrites(), writes + 1);
        EXPECT_EQ(station_.outputs(), image(0)) << k;
    }
    EXPECT_EQ(seen, (std::vector<int>{17, 34, 51, 17}));
    // The frame command steps as the button does.
    const int before = station_.outputWrites();
    view().OnCommand(IDC_VIEW_STEP);
    EXPECT_EQ(station_.outputWrites(), before + 1);
    EXPECT_EQ(d2210.Channel(0).value.Data()[0], 34);

    // AutoStep: timer 10 at TIMER; a tick steps unless a message dialog holds it.
    view().OnCommand(IDC_VIEW_AUTOSTEP);
    EXPECT_EQ(view().AutoStepRunning(), 1);
    EXPECT_TRUE(view().StepTimer().isActive());
    EXPECT_EQ(view().StepTimer().interval(), 500);
    view().OnTimer(kStepTimerId);
    EXPECT_EQ(d2210.Channel(0).value.Data()[0], 51);
    ASSERT_EQ(xui::messageDlgConfig().hooks.size(), 2u);
    const xui::MessagePauseHook& hold = xui::messageDlgConfig().hooks[1];
    EXPECT_TRUE(hold.pause());
    EXPECT_EQ(view().IsPollingEnabled(), 0);
    view().OnTimer(kStepTimerId);
    EXPECT_EQ(d2210.Channel(0).value.Data()[0], 51) << "held";
    hold.resume();
    view().OnTimer(kStepTimerId);
    EXPECT_EQ(d2210.Channel(0).value.Data()[0], 17);

    // More output bytes than one frame carries: nothing is sent, auto-stepping ends, one
    // message says why.
    const int index = app_->m_Catalogue.FindByName("D2210");
    ASSERT_GE(index, 0);
    while (image(0).size() <= static_cast<std::size_t>(kMaxOutputBytes)) {
        auto extra = std::make_unique<CModuleTile>();
        extra->Create(app_->m_Catalogue[index], app_->m_ProgramDir);
        extra->m_Station = 0;
        station(0).Append(std::move(extra));
    }
    EXPECT_GT(image(0).size(), static_cast<std::size_t>(kMaxOutputBytes));
    const Bytes last = station_.outputs();
    const int writes = station_.outputWrites();
    messages_.clear();
    view().OnTimer(kStepTimerId);
    EXPECT_EQ(station_.outputWrites(), writes);
    EXPECT_EQ(station_.outputs(), last);
    EXPECT_EQ(view().AutoStepRunning(), 0);
    EXPECT_FALSE(view().StepTimer().isActive());
    ASSERT_EQ(messages_.size(), 1u);
    EXPECT_EQ(messages_[0].line1, "The station's outputs exceed what one frame carries");
}

} // namespace
