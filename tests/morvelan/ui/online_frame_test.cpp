// Online mode in the real frame with the sample installation, against the simulated station
// over loopback TCP: going online (tiles, menus, tree, masks), live inputs on the tiles, poll
// failures, the refusals, online and offline twice, Download, the status bar after Download and
// Upload, and the automatic sequence end to end with its failures.
#include "frame_fixture.h"

#include "morvelan/core/channel_module.h"
#include "morvelan/core/command_ids.h"
#include "morvelan/core/controller_module.h"
#include "morvelan/core/connection.h"
#include "morvelan/core/morvelan_doc_hooks.h"
#include "morvelan/online/controller_online_dlg.h"
#include "morvelan/online/firmware_info_dlg.h"
#include "morvelan/online/online_modul_dlg.h"
#include "morvelan/ui/app_hooks_impl.h"
#include "morvelan/ui/color_status_bar.h"
#include "morvelan/ui/module_tile_wnd.h"
#include "morvelan/ui/online_commands.h"
#include "tests/sim/station_presets.h"
#include "tests/sim/tcp_station_server.h"

#include <QDialog>
#include <QLineEdit>
#include <QMenu>
#include <QScreen>
#include <QTimer>

#include <chrono>
#include <set>
#include <fstream>
#include <iterator>
#include <thread>

namespace {

namespace fs = std::filesystem;
using Bytes = std::vector<std::uint8_t>;
using Strings = std::vector<std::string>;

class OnlineFrameTest : public frametest::FrameTest {
protected:
    void SetUp() override {
        FrameTest::SetUp();
        // The sample mask file as the default one.
        fs::copy_file(prog_ + "/samples/demo.msk", prog_ + "/mask.msk");
        ASSERT_TRUE(x740sim::applyPreset(station_, "demo"));
        station_.setAnimateInputs(false);
        ASSERT_TRUE(server_.start(0));
        // Timer 1 never fires by itself here: the tests tick.
        setIni("ONLINETIMER", "600000");
        ASSERT_EQ(start(startArgs()), 1);
        app_->m_Com = kComTcpIp;
        app_->m_IpAddress = 0x7F000001u;
        app_->m_TcpPort = server_.port();
        station_.clearFrameLog();
        // Modal dialogs other than the upload dialog (the address dialog) are confirmed; each
        // is noted with the cursor it waits under.
        acceptor_.setInterval(2);
        QObject::connect(&acceptor_, &QTimer::timeout, [this] {
            auto* dialog = qobject_cast<QDialog*>(QApplication::activeModalWidget());
            if (!dialog)
                return;
            const bool upload = dialog->inherits("morvelan::CModuleUploadDlg");
            if (upload && !closeUpload_)
                return;
            modal_.push_back(std::string(dialog->metaObject()->className()) +
                             (QApplication::overrideCursor() ? " busy" : " normal"));
            if (upload)
                dialog->reject();
            else
                dialog->accept();
        });
        acceptor_.start();
    }
    void TearDown() override {
        acceptor_.stop();
        FrameTest::TearDown();
        server_.stop();
    }
    bool run(int id) {
        const bool ran = frame().OnCommand(id);
        QApplication::processEvents();
        return ran;
    }
    virtual std::vector<std::string> startArgs() { return {prog_ + "/samples/demo.mvl"}; }
    morvelan::COnlineSession& session() { return frame().Online().Session(); }
    bool tick() { return session().OnTimer(1); }
    bool tilesOnline(int s) {
        for (int j = 0; j < station(s).TileCount(); ++j) {
            if (tile(s, j).m_Online != 1)
                return false;
        }
        return true;
    }
    bool popupsEnabled() {
        for (int i : {0, 1, 3, 4}) {
            if (!frame().Popup(i)->menuAction()->isEnabled())
                return false;
        }
        return true;
    }
    bool openConnections(int count) {
        for (int i = 0; i < 200; ++i) {
            if (server_.connectionsOpen() == count)
                return true;
            std::this_thread::sleep_for(std::chrono::milliseconds(10));
        }
        return false;
    }
    Strings lines() {
        Strings out;
        for (const auto& m : messages_)
            out.push_back(m.line1);
        return out;
    }
    int writes(std::uint8_t code) {
        int n = 0;
        for (const Bytes& f : station_.frameLog())
            n += f.size() > 4 && f[2] == 0x20 && f[4] == code;
        return n;
    }

    x740sim::Station station_;
    x740sim::TcpStationServer server_{station_};
    QTimer acceptor_;
    bool closeUpload_ = false;
    Strings modal_;
};

TEST_F(OnlineFrameTest, DebugGoesOnlinePollsAndGoesOffline) {
    select(&tile(0, 3));
    auto& dig = static_cast<CChannelModule&>(tile(0, 1).Module());
    dig.SetChannelMask(0, 1);
    ASSERT_TRUE(run(ID_DEBUG));
    EXPECT_EQ(app_->m_Online, 1);
    EXPECT_EQ(frame().DebugFlag(), 1);
    EXPECT_TRUE(tilesOnline(0));
    EXPECT_FALSE(tree().isEnabled());
    EXPECT_FALSE(popupsEnabled());
    EXPECT_TRUE(frame().Popup(2)->menuAction()->isEnabled());
    EXPECT_EQ(dig.GetChannelMask(0), 255) << "the default mask file was loaded";
    EXPECT_TRUE(frame().Online().Timer().IsRunning());
    EXPECT_EQ(frame().Online().Timer().IntervalMs(), 600000);
    EXPECT_FALSE(frame().IsCommandEnabled(ID_AUTO_ONLINE)) << "Debug holds online mode";

    // The message dialog holds polling while it is open.
    // Its first hook holds polling; the main view's output stepping is the second.
    ASSERT_EQ(xui::messageDlgConfig().hooks.size(), 2u);
    const xui::MessagePauseHook& hold = xui::messageDlgConfig().hooks.front();
    EXPECT_TRUE(hold.pause());
    EXPECT_EQ(frame().IsPollingEnabled(), 0);
    EXPECT_FALSE(hold.pause()) << "a second dialog finds polling paused";
    hold.resume();
    EXPECT_EQ(frame().IsPollingEnabled(), 1);

    // Live inputs reach the tiles' modules.
    station_.setInputs(0, {0x5A, 0x00});
    EXPECT_FALSE(tick());
    EXPECT_EQ(dig.Channel(0).value.Data()[0], 0x5A);
    station_.setInputs(0, {0xA5});
    EXPECT_FALSE(tick());
    EXPECT_EQ(dig.Channel(0).value.Data()[0], 0xA5);

    // Off: at once for the windows, at the next tick for the link.
    ASSERT_TRUE(run(ID_DEBUG));
    EXPECT_EQ(app_->m_Online, 0);
    EXPECT_EQ(frame().DebugFlag(), 0);
    EXPECT_TRUE(tree().isEnabled());
    EXPECT_TRUE(popupsEnabled());
    EXPECT_TRUE(openConnections(1));
    EXPECT_TRUE(tick());
    EXPECT_FALSE(frame().Online().Timer().IsRunning());
    EXPECT_TRUE(openConnections(0));
    EXPECT_TRUE(messages_.empty());

    // Online, offline, online again: at the first try.
    ASSERT_TRUE(run(ID_DEBUG));
    EXPECT_EQ(app_->m_Online, 1);
    ASSERT_TRUE(run(ID_DEBUG));
    EXPECT_TRUE(tick());
    ASSERT_TRUE(run(ID_DEBUG));
    EXPECT_EQ(app_->m_Online, 1);
    EXPECT_TRUE(messages_.empty());

    // A poll that fails: the message, then everything offline.
    station_.injectFaultFor(20, 0x40, x740sim::Fault::drop());
    EXPECT_TRUE(tick());
    ASSERT_EQ(messages_.size(), 1u);
    EXPECT_EQ(messages_[0].line1.rfind("Communication error : ", 0), 0u) << messages_[0].line1;
    EXPECT_EQ(app_->m_Online, 0);
    EXPECT_EQ(frame().DebugFlag(), 0);
    EXPECT_FALSE(tilesOnline(0));
    EXPECT_TRUE(tree().isEnabled());
    EXPECT_TRUE(popupsEnabled());
    EXPECT_FALSE(frame().Online().Timer().IsRunning());
    EXPECT_TRUE(openConnections(0));
}

TEST_F(OnlineFrameTest, ModuleDialogRegistersItsGridWhilePollingGoesOn) {
    select(&tile(0, 2));
    ASSERT_TRUE(run(ID_DEBUG));
    acceptor_.stop();
    auto& board = static_cast<CChannelModule&>(tile(0, 2).Module());
    bool seen = false, registered = false, polling = false;
    int drawn = 0;
    QTimer::singleShot(0, [&] {
        auto* dlg = qobject_cast<morvelan::COnlineModulDlg*>(QApplication::activeModalWidget());
        if (!dlg)
            return;
        seen = true;
        for (int i = 0; i < 10 && !frame().OnlineGrid(); ++i)
            QApplication::processEvents();
        registered = frame().OnlineGrid() == dlg->grid()->RedrawInterface();
        polling = frame().IsPollingEnabled() == 1;
        const int before = dlg->grid()->CellsDrawn();
        station_.setInputs(2, {0x03});
        tick();
        drawn = dlg->grid()->CellsDrawn() - before;
        dlg->EndDialog(mv::IDOK);
    });
    tile(0, 2).OpenOnline(*app_);
    EXPECT_TRUE(seen);
    EXPECT_TRUE(registered) << "the first paint registers the grid";
    EXPECT_TRUE(polling) << "the first paint resumes polling";
    EXPECT_EQ(board.Channel(0).value.Data()[0], 0x03);
    EXPECT_GE(drawn, 1) << "the poll redrew the grid";
    EXPECT_EQ(frame().OnlineGrid(), nullptr);
}

TEST_F(OnlineFrameTest, MemoryButtonShowsOnlyForTheSettingOne) {
    select(&tile(0, 0));
    ASSERT_TRUE(run(ID_DEBUG));
    acceptor_.stop();
    std::vector<bool> shown;
    for (const int setting : {2, 1, 0}) {
        app_->m_Ini.memory = setting;
        QTimer::singleShot(0, [&] {
            auto* dlg = qobject_cast<xui::CXDialog*>(QApplication::activeModalWidget());
            if (!dlg)
                return;
            shown.push_back(dlg->item(morvelan::kCtlMemory)->isVisible());
            dlg->EndDialog(mv::IDOK);
        });
        tile(0, 0).OpenOnline(*app_);
    }
    EXPECT_EQ(shown, (std::vector<bool>{false, true, false}));
}

TEST_F(OnlineFrameTest, RefusalsAndTheUnknownModulePath) {
    select(&tile(0, 0));
    station_.setControllerId(0x0720);
    ASSERT_TRUE(run(ID_DEBUG));
    EXPECT_EQ(lines(), (Strings{"The station does not match the controller"}));
    EXPECT_EQ(app_->m_Online, 0);
    EXPECT_EQ(frame().DebugFlag(), 0);
    EXPECT_TRUE(frame().IsCommandEnabled(ID_AUTO_ONLINE));
    EXPECT_FALSE(frame().Online().Timer().IsRunning());
    // A project with an unknown module offers the head's own dialog only.
    messages_.clear();
    mv::docHooks().SetUnknownModule(true);
    frame().OnCommand(ID_DEBUG);
    EXPECT_EQ(app_->m_Online, 0);
    EXPECT_FALSE(frame().Online().Timer().IsRunning());
    // Download is refused.
    messages_.clear();
    run(ID_DOWNLOAD);
    EXPECT_EQ(lines(), (Strings{"Unknown modul in project"}));
    mv::docHooks().SetUnknownModule(false);
}

TEST_F(OnlineFrameTest, DownloadWritesTheSelectedStation) {
    select(&tile(0, 5));
    ASSERT_TRUE(run(ID_DOWNLOAD));
    EXPECT_EQ(writes(41), 1);
    EXPECT_EQ(writes(60), 1);
    EXPECT_EQ(station_.masterParameter(60), (Bytes{0xF4, 0x01, 0xB0, 0x04}));
    EXPECT_EQ(lines(), (Strings{"Transfer completed"}));
    EXPECT_TRUE(openConnections(0));
}

TEST_F(OnlineFrameTest, AutoOnlineBuildsANewProjectAndGoesOnline) {
    ASSERT_TRUE(run(ID_AUTO_ONLINE));
    EXPECT_EQ(app_->m_AutoOnline, 1);
    EXPECT_EQ(app_->m_Online, 1);
    ASSERT_EQ(doc().StationCount(), 1);
    EXPECT_EQ(station(0).TileCount(), 11);
    // The last tile the tree lists: the "@Zero" fillers (kind 7) are not in it.
    EXPECT_EQ(frame().SelectedTile(), &tile(0, 9));
    EXPECT_TRUE(tilesOnline(0));
    EXPECT_EQ(writes(40), 1) << "the fieldbus was stopped";
    EXPECT_FALSE(station_.fieldbusRunning());
    EXPECT_EQ(app_->m_LayoutMode, 2);
    EXPECT_FALSE(frame().IsCommandEnabled(ID_DEBUG)) << "Auto online holds online mode";
    EXPECT_FALSE(tick());
    // A controller made while online reads its firmware texts from the station at once.
    CControllerModule made;
    std::string fw, fd, fv;
    made.GetFirmwareTexts(fw, fd, fv);
    EXPECT_EQ((Strings{fw, fd, fv}), (Strings{"X740 CPU", "2023-04-17", "V2.10"}));
    // Firmware Info shows the station controller's texts, each in its own field.
    auto& head = static_cast<CControllerModule&>(tile(0, 0).Module());
    ASSERT_TRUE(head.ReadFirmwareTexts(app_->m_Link));
    acceptor_.stop();
    Strings shown;
    QTimer::singleShot(0, [&shown] {
        auto* dlg = qobject_cast<morvelan::CFirmwareInfoDlg*>(QApplication::activeModalWidget());
        if (!dlg)
            return;
        for (int id : {morvelan::kFwFirmwareEdit, morvelan::kFwDateEdit, morvelan::kFwVersionEdit})
            shown.push_back(dlg->itemAs<QLineEdit>(id)->text().toStdString());
        dlg->EndDialog(1);
    });
    ASSERT_TRUE(run(ID_FIRMWARE_INFO));
    acceptor_.start();
    EXPECT_EQ(shown, (Strings{"X740 CPU", "2023-04-17", "V2.10"}));
    // The second command ends it.
    ASSERT_TRUE(run(ID_AUTO_ONLINE));
    EXPECT_EQ(app_->m_AutoOnline, 0);
    EXPECT_EQ(app_->m_Online, 0);
    EXPECT_TRUE(tick());
    EXPECT_TRUE(openConnections(0));
    EXPECT_TRUE(messages_.empty());
}

TEST_F(OnlineFrameTest, AutoOnlineFailuresEndTheSequence) {
    // An unknown controller: the upload dialog cancels itself, nothing is selected any more.
    station_.setControllerId(0x4321);
    select(nullptr);
    ASSERT_TRUE(run(ID_AUTO_ONLINE));
    EXPECT_EQ(app_->m_Online, 0);
    EXPECT_EQ(app_->m_AutoOnline, 0);
    EXPECT_EQ(lines(), (Strings{"Unknown module"}));
    // No station to talk to: the upload fails to connect.
    messages_.clear();
    server_.stop();
    ASSERT_TRUE(run(ID_AUTO_ONLINE));
    EXPECT_EQ(app_->m_AutoOnline, 0);
    EXPECT_EQ(app_->m_Online, 0);
    EXPECT_EQ(messages_.size(), 1u);
}

// Ticks repaint only the tiles whose live values changed, and the window then shows what a
// fresh render of the view shows.
TEST_F(OnlineFrameTest, TicksRepaintOnlyChangedTilesAndTheViewShowsAFreshRender) {
    select(&tile(0, 1));
    ASSERT_TRUE(run(ID_DEBUG));
    struct PaintCounter : QObject {
        bool eventFilter(QObject* o, QEvent* e) override {
            if (e->type() == QEvent::Paint)
                painted.insert(o);
            return false;
        }
        std::set<QObject*> painted;
    } counter;
    std::vector<CModuleTileWnd*> windows;
    for (QWidget* w : QApplication::allWidgets()) {
        auto* window = qobject_cast<CModuleTileWnd*>(w);
        if (window && window->Tile().m_Station == 0 && window->isVisible()) {
            windows.push_back(window);
            window->installEventFilter(&counter);
        }
    }
    ASSERT_GE(windows.size(), 3u);
    const auto tickAndPaint = [&] {
        counter.painted.clear();
        EXPECT_FALSE(tick());
        QApplication::processEvents();
    };
    station_.setInputs(0, {0x5A, 0x00, 0x33, 0x44});
    tickAndPaint();
    station_.setInputs(0, {0xA5, 0x01, 0x34, 0x45});
    tickAndPaint();
    EXPECT_FALSE(counter.painted.empty());
    tickAndPaint();
    EXPECT_TRUE(counter.painted.empty()) << "nothing changed, nothing repaints";
    station_.setInputs(0, {0x0F});
    tickAndPaint();
    CModuleTileWnd* changed = nullptr;
    for (CModuleTileWnd* w : windows)
        changed = &w->Tile() == &tile(0, 1) ? w : changed;
    EXPECT_EQ(counter.painted, std::set<QObject*>{changed}) << "only the changed board repaints";
    // What the window shows of the view equals a fresh render of it.
    QWidget* view = frame().View()->viewport();
    const QRect area(view->mapTo(&frame(), QPoint()), view->size());
    const QImage screen = frame().screen()->grabWindow(frame().winId()).toImage().copy(area);
    EXPECT_EQ(screen.convertToFormat(QImage::Format_RGB32),
              frame().grab(area).toImage().convertToFormat(QImage::Format_RGB32));
}

// The wait cursor as the user sees it: each end of it notes whether it was showing.
struct CursorHooks : CAppHooks {
    using CAppHooks::CAppHooks;
    void SetWaitCursor(bool on) override {
        if (!on)
            endedShowing.push_back(QApplication::overrideCursor() != nullptr);
        CAppHooks::SetWaitCursor(on);
    }
    std::vector<bool> endedShowing;
};

TEST_F(OnlineFrameTest, DialogsAndMessagesWaitingForTheUserShowTheNormalCursor) {
    CursorHooks hooks(*app_);
    struct Restore {
        mv::IAppHooks* before;
        ~Restore() { mv::setAppHooks(before); }
    } restore{&mv::appHooks()};
    mv::setAppHooks(&hooks);
    xui::setMessagePresenter([this](const xui::MessageRequest& r) {
        modal_.push_back(r.line1 + (QApplication::overrideCursor() ? " busy" : " normal"));
        return r.buttonMode == 1 ? 2 : 1; // the question is cancelled
    });
    // Upload: the address dialog, then the upload dialog.
    closeUpload_ = true;
    select(&tile(0, 0));
    ASSERT_TRUE(run(ID_UPLOAD));
    // Download of a station the controller does not hold: the mismatch, then the question.
    station_.setControllerId(0x0720);
    ASSERT_TRUE(run(ID_DOWNLOAD));
    // Going online with an unknown module: the head's own dialog.
    mv::docHooks().SetUnknownModule(true);
    ASSERT_TRUE(run(ID_DEBUG));
    mv::docHooks().SetUnknownModule(false);
    EXPECT_EQ(modal_, (Strings{"morvelan::CIpPortDlg normal", "morvelan::CModuleUploadDlg normal",
                               "The station does not match the controller normal",
                               "Write the project's configuration into the controller? normal",
                               "morvelan::CControllerOnlineDlg normal"}));
    // Every wait cursor that ended after a dialog was showing again by then.
    EXPECT_EQ(hooks.endedShowing, std::vector<bool>(hooks.endedShowing.size(), true));
    EXPECT_GE(hooks.endedShowing.size(), 3u);
    EXPECT_EQ(QApplication::overrideCursor(), nullptr);
}

// A mask file named on the command line is the one going online loads.
class MaskArgumentTest : public OnlineFrameTest {
protected:
    std::vector<std::string> startArgs() override {
        std::ifstream in(prog_ + "/samples/demo.msk", std::ios::binary);
        std::string text((std::istreambuf_iterator<char>(in)), std::istreambuf_iterator<char>());
        const std::size_t first = text.find("Mask0=255");
        EXPECT_NE(first, std::string::npos);
        if (first != std::string::npos)
            text.replace(first, 9, "Mask0=7");
        std::ofstream(prog_ + "/named.msk", std::ios::binary) << text;
        return {"MSK=named.msk", prog_ + "/samples/demo.mvl"};
    }
};

TEST_F(MaskArgumentTest, GoingOnlineLoadsTheMaskFileNamedOnTheCommandLine) {
    select(&tile(0, 1));
    auto& dig = static_cast<CChannelModule&>(tile(0, 1).Module());
    dig.SetChannelMask(0, 1);
    ASSERT_TRUE(run(ID_DEBUG));
    ASSERT_EQ(app_->m_Online, 1);
    EXPECT_EQ(dig.GetChannelMask(0), 7) << "the named file, not the default one";
    EXPECT_EQ(dig.GetChannelMask(1), 15);
    EXPECT_TRUE(messages_.empty());
}

} // namespace

TEST_F(OnlineFrameTest, StatusBarOnScreenShowsTheConnectionAfterDownloadAndUpload) {
    // The fixture chose TCP/IP after the bar was first painted with "COM1:".
    CColorStatusBar& bar = *frame().ColorStatusBar();
    const auto onScreen = [&] {
        const QRect area(bar.mapTo(&frame(), QPoint()), bar.size());
        const QImage screen = frame().screen()->grabWindow(frame().winId()).toImage().copy(area);
        return screen.convertToFormat(QImage::Format_RGB32) ==
               bar.grab().toImage().convertToFormat(QImage::Format_RGB32);
    };
    const std::string pane = " TCP/IP: 127.0.0.1:" + std::to_string(server_.port());
    closeUpload_ = true;
    select(&tile(0, 0));
    ASSERT_TRUE(run(ID_DOWNLOAD));
    EXPECT_EQ(bar.PaneText(1), pane);
    EXPECT_TRUE(onScreen()) << "after Download";
    ASSERT_TRUE(run(ID_UPLOAD));
    EXPECT_TRUE(onScreen()) << "after Upload";
}
