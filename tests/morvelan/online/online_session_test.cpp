// Online mode against the simulated station over loopback TCP and a pseudo-terminal, with a
// frame that records what it was asked to do: going online and offline, live inputs, pause and
// resume, the interval's growth, poll failures of every kind, the unknown-module path and the
// failures of the automatic sequence. The real frame's tests walk the same paths end to end.
#include "online_fixture.h"

#include "morvelan/core/morvelan_doc_hooks.h"
#include "morvelan/online/online_session.h"
#include "morvelan/online/upload_dlg.h"
#include "portwire/include/Portwire.h"
#include "tests/sim/pty_station_server.h"

#include <cstdlib>

namespace onlinetest {
namespace {

using morvelan::COnlineSession;
using Strings = std::vector<std::string>;

class RecordingFrame : public morvelan::IOnlineFrame, public morvelan::IUploadHost {
public:
    RecordingFrame(CMorvelanAppBase& app, CMorvelanDoc& doc) : app_(app), doc_(doc) {}

    CModuleTile* SelectedTile() override { return selected; }
    void InvalidateView(bool erase) override { calls.push_back(erase ? "view erase" : "view"); }
    void EnableTree(bool enable) override { treeEnabled = enable; }
    void DisableMainMenus() override { menusEnabled = false; }
    void EnableMainMenus() override { menusEnabled = true; }
    void StartPollTimer(int ms) override {
        timerMs = ms;
        starts.push_back(ms);
    }
    void KillPollTimer() override { timerMs = 0; }
    bool FrameInFront() override { return inFront; }
    void StopAutoStep() override { calls.push_back("stop stepping"); }
    void MaximiseAndRedraw() override { calls.push_back("maximise"); }
    int Upload() override {
        calls.push_back("upload");
        if (app_.OpenConnectionPlain(0) != 1)
            return 0;
        morvelan::CModuleUploadDlg dlg(*this);
        dlg.DoModal();
        app_.CloseConnection();
        return 1;
    }
    void LayoutList() override { calls.push_back("list layout"); }
    void ResetDisplayFlags() override { calls.push_back("display flags"); }

    // The upload dialog's host.
    CMorvelanDoc& Document() override { return doc_; }
    void NewDocument() override {
        selected = nullptr;
        doc_.OnNewDocument();
    }
    void FillTree() override {}
    void SelectModul(CModuleTile* tile) override { selected = tile; }
    void RedrawView() override {}
    int ScrollX() override { return 0; }
    int ScrollY() override { return 0; }
    std::uint32_t Link() override { return app_.m_Link; }
    bool AutoOnline() override { return app_.m_AutoOnline == 1; }

    CModuleTile* selected = nullptr;
    bool treeEnabled = true;
    bool menusEnabled = true;
    bool inFront = true;
    int timerMs = 0;
    std::vector<int> starts;
    Strings calls;

private:
    CMorvelanAppBase& app_;
    CMorvelanDoc& doc_;
};

class Grid : public morvelan::IOnlineGrid {
public:
    void Redraw() override { ++redraws; }
    int redraws = 0;
};

class SessionTest : public OnlineFixture {
protected:
    void SetUp() override {
        OnlineFixture::SetUp();
        frame.selected = doc.Station(0)->Tile(2);
        docHooks.selected = frame.selected;
    }
    bool StationOnline(int index) {
        const CStation* s = doc.Station(index);
        for (int j = 0; j < s->TileCount(); ++j) {
            if (s->Tile(j)->m_Online != 1)
                return false;
        }
        return s->TileCount() > 0;
    }
    // One tick of timer 1, the clock moved on by the interval first.
    bool Tick(int id = 1) {
        clock.advance(frame.timerMs > 0 ? frame.timerMs : 10);
        return session.OnTimer(id);
    }

    RecordingFrame frame{app, doc};
    mv::FakeClock clock;
    COnlineSession session{frame, app, doc, clock};
};

TEST_F(SessionTest, OnlinePollsInputsThenGoesOfflineAtTheNextTick) {
    station.setInputs(0, {0xA1, 0xB2, 0xC3});
    session.OnDebug();
    EXPECT_EQ(app.m_Online, 1);
    EXPECT_EQ(session.DebugFlag(), 1);
    EXPECT_TRUE(StationOnline(0));
    EXPECT_FALSE(frame.treeEnabled);
    EXPECT_FALSE(frame.menusEnabled);
    EXPECT_EQ(frame.starts, (std::vector<int>{10}));
    EXPECT_TRUE(session.IsPollingEnabled());
    EXPECT_EQ(Transcript(), (Strings{"R11", "R12"}));
    EXPECT_GE(hooks.maxWaitDepth, 1);

    Grid grid;
    session.SetOnlineGrid(&grid);
    station.clearFrameLog();
    EXPECT_FALSE(Tick());
    EXPECT_FALSE(Tick(7)) << "other timers are passed on";
    EXPECT_FALSE(Tick());
    EXPECT_EQ(Transcript(), (Strings{"R20", "R20"}));
    EXPECT_EQ(grid.redraws, 2);
    ASSERT_EQ(hooks.distributed, (std::vector<int>{0, 0}));
    EXPECT_EQ(Bytes(hooks.lastInputs.begin(), hooks.lastInputs.begin() + 3), (Bytes{0xA1, 0xB2, 0xC3}));
    session.ClearOnlineGrid();
    EXPECT_EQ(session.OnlineGrid(), nullptr);

    // Offline: the tiles, menus and tree at once; the link and the timer until the next tick.
    session.OnDebug();
    EXPECT_EQ(app.m_Online, 0);
    EXPECT_EQ(session.DebugFlag(), 0);
    EXPECT_FALSE(StationOnline(0));
    EXPECT_TRUE(frame.treeEnabled);
    EXPECT_TRUE(frame.menusEnabled);
    EXPECT_EQ(frame.calls.back(), "stop stepping");
    EXPECT_EQ(frame.timerMs, 10);
    EXPECT_TRUE(OpenConnections(1));
    // While paused the link stays open.
    session.PausePolling();
    EXPECT_FALSE(Tick());
    EXPECT_TRUE(OpenConnections(1));
    session.ResumePolling();
    EXPECT_TRUE(Tick());
    EXPECT_EQ(frame.timerMs, 0);
    EXPECT_EQ(app.m_Link, 0u);
    EXPECT_TRUE(OpenConnections(0));
    EXPECT_FALSE(session.IsPollingEnabled());
    EXPECT_TRUE(shown.empty());
}

TEST_F(SessionTest, IntervalGrowsWhileTheFrameIsBusyInFront) {
    session.SwitchDebugMode();
    for (int i = 0; i < 5; ++i)
        Tick();
    EXPECT_EQ(frame.starts, (std::vector<int>{10, 60}));
    frame.inFront = false;
    for (int i = 0; i < 10; ++i)
        Tick();
    EXPECT_EQ(frame.starts, (std::vector<int>{10, 60}));
    frame.inFront = true;
    // Idle time in the next window freezes it.
    Tick();
    clock.advance(5);
    session.IdleNotice();
    for (int i = 0; i < 10; ++i)
        Tick();
    EXPECT_EQ(frame.starts, (std::vector<int>{10, 60}));
}

TEST_F(SessionTest, PollFailuresLeaveOnlineModeWithTheErrorText) {
    struct Case {
        x740sim::Fault fault;
        int timeoutMs;
    };
    for (const Case& c : {Case{x740sim::Fault::drop(), 1000}, Case{x740sim::Fault::silence(), 100},
                          Case{x740sim::Fault::badChecksum(), 1000}}) {
        shown.clear();
        app.m_AutoOnline = 1;
        session.OnDebug();
        ASSERT_EQ(app.m_Online, 1);
        int old = 0;
        A_SetComTimout(app.m_Link, c.timeoutMs, &old);
        station.injectFaultFor(20, 0x40, c.fault);
        int codeSeen = -1;
        onMessage = [&](const xui::MessageRequest&) { codeSeen = A_GetLastError(); };
        EXPECT_TRUE(Tick());
        onMessage = nullptr;
        ASSERT_EQ(shown.size(), 1u);
        EXPECT_EQ(shown[0].line1, "Communication error : " + GetPortwireErrorText(codeSeen));
        EXPECT_EQ(shown[0].caption, "Error");
        EXPECT_EQ(shown[0].bitmapId, 150);
        EXPECT_EQ(app.m_Online, 0);
        EXPECT_EQ(app.m_AutoOnline, 0);
        EXPECT_EQ(session.DebugFlag(), 0);
        EXPECT_FALSE(session.IsPollingEnabled());
        EXPECT_EQ(frame.timerMs, 0);
        EXPECT_TRUE(frame.menusEnabled);
        EXPECT_TRUE(frame.treeEnabled);
        EXPECT_FALSE(StationOnline(0));
        EXPECT_EQ(app.m_Link, 0u);
        EXPECT_TRUE(OpenConnections(0));
    }
    EXPECT_EQ(GetPortwireErrorText(0x0600), " Checksum error");
}

TEST_F(SessionTest, UnknownModuleOffersOnlyTheHeadsOwnDialog) {
    docHooks.SetUnknownModule(true);
    session.SwitchDebugMode();
    EXPECT_EQ(hooks.onlineDialogs, (std::vector<int>{0}));
    EXPECT_EQ(app.m_Online, 0);
    EXPECT_EQ(frame.timerMs, 0);
    EXPECT_TRUE(shown.empty());
    // Without a selected tile nothing is tried at all.
    frame.selected = nullptr;
    docHooks.SetUnknownModule(false);
    station.clearFrameLog();
    session.SwitchDebugMode();
    EXPECT_EQ(app.m_Online, 0);
    EXPECT_TRUE(Transcript().empty());
}

TEST_F(SessionTest, AutoOnlineFailuresEndTheSequence) {
    // The station holds an unknown module: built, but not put online.
    x740sim::applyPreset(station, "unknown");
    session.OnAutoOnline();
    EXPECT_EQ(app.m_Online, 0);
    EXPECT_EQ(app.m_AutoOnline, 0);
    EXPECT_EQ(hooks.onlineDialogs.size(), 1u);
    // An unknown controller: the dialog cancels, nothing is selected, nothing is tried.
    station.setControllerId(0x4321);
    frame.selected = nullptr;
    frame.calls.clear();
    session.OnAutoOnline();
    EXPECT_EQ(app.m_Online, 0);
    EXPECT_EQ(app.m_AutoOnline, 0);
    // No connection: the upload fails and the sequence ends.
    server.stop();
    session.OnAutoOnline();
    EXPECT_EQ(app.m_AutoOnline, 0);
    EXPECT_EQ(frame.calls.back(), "upload");
}

// The same station behind a pseudo-terminal at 115200 baud as COM2.
TEST_F(SessionTest, OnlineOverASerialPortPollsAndGoesOffline) {
    x740sim::PtyStationServer pty(station);
    ASSERT_TRUE(pty.start(115200));
    ::setenv("PORTWIRE_COM2", pty.slavePath().c_str(), 1);
    app.m_Com = 2;
    app.m_SerInfo = 0;
    station.setInputs(0, {0x5A});
    session.SwitchDebugMode();
    EXPECT_EQ(app.m_Online, 1);
    EXPECT_EQ(A_GetPort(app.m_Link), 2u);
    EXPECT_FALSE(Tick());
    EXPECT_FALSE(Tick());
    ASSERT_EQ(hooks.distributed.size(), 2u);
    EXPECT_EQ(hooks.lastInputs[0], 0x5A);
    session.SwitchDebugMode();
    EXPECT_TRUE(Tick());
    EXPECT_EQ(app.m_Link, 0u);
    EXPECT_TRUE(shown.empty());
    pty.stop();
    ::unsetenv("PORTWIRE_COM2");
}

} // namespace
} // namespace onlinetest
