// bench_online [--ms N]
// A station of an X740 and sixty boards polled online against the simulated station over
// loopback TCP, with inputs that change at every read. Prints the input cycle beside a bare
// socket doing the same exchange, the whole tick with the repaint of the tiles it causes, the
// UI thread's busy share with ONLINETIMER 10 in the real event loop, and the interval the
// adaptation settled on. Runs offscreen.
#include "bench/portwire/bare_exchange.h"
#include "morvelan/core/app_hooks.h"
#include "morvelan/core/app_state.h"
#include "morvelan/core/module_description.h"
#include "morvelan/core/morvelan_doc.h"
#include "morvelan/core/morvelan_doc_hooks.h"
#include "morvelan/online/online_session.h"
#include "morvelan/online/poll_timer.h"
#include "tests/sim/station_presets.h"
#include "tests/sim/tcp_station_server.h"
#include "xui/qt_canvas.h"

#include <QApplication>
#include <QElapsedTimer>
#include <QEventLoop>
#include <QPainter>
#include <QTimer>
#include <QWidget>

#include <chrono>
#include <cstdio>
#include <cstdlib>
#include <filesystem>
#include <memory>
#include <string>
#include <unistd.h>

namespace {

using SteadyClock = std::chrono::steady_clock;

double microsSince(SteadyClock::time_point start) {
    return std::chrono::duration<double, std::micro>(SteadyClock::now() - start).count();
}

std::string programFolder() {
    std::error_code ec;
    const auto exe = std::filesystem::read_symlink("/proc/self/exe", ec);
    return ec ? std::string(".") : exe.parent_path().string();
}

class Hooks : public mv::IAppHooks, public mv::IDocHooks {
public:
    std::string ProgramDir() override { return dir; }
    const CModuleDescriptionList* Catalogue() override { return &catalogue; }
    CControllerConnection* Connection() override { return app; }
    void DistributeInputs(int station, const std::uint8_t* bytes) override {
        doc->DistributeInputs(station, bytes);
    }

    std::string dir;
    CModuleDescriptionList catalogue;
    CControllerConnection* app = nullptr;
    CMorvelanDoc* doc = nullptr;
};

// The frame of the benchmark: the station's tiles painted side by side, each tile's live
// values drawn at every repaint of a good poll.
class BenchFrame : public QWidget, public morvelan::IOnlineFrame {
public:
    explicit BenchFrame(CMorvelanDoc& doc) : doc_(doc) { resize(1800, 400); }

    CModuleTile* SelectedTile() override { return doc_.Station(0)->Tile(0); }
    void InvalidateView(bool) override { update(); }
    void EnableTree(bool) override {}
    void DisableMainMenus() override {}
    void EnableMainMenus() override {}
    void StartPollTimer(int ms) override {
        if (timer)
            timer->Start(ms);
    }
    void KillPollTimer() override {
        if (timer)
            timer->Kill();
    }
    bool FrameInFront() override { return timer && timer->FrameInFront(); }
    void StopAutoStep() override {}
    void MaximiseAndRedraw() override {}
    int Upload() override { return 0; }
    void LayoutList() override {}
    void ResetDisplayFlags() override {}

    morvelan::CPollTimer* timer = nullptr;
    double paintMicros = 0;
    long paints = 0;

protected:
    void paintEvent(QPaintEvent*) override {
        const auto start = SteadyClock::now();
        QPainter painter(this);
        xui::QtCanvas canvas(painter);
        const CStation& s = *doc_.Station(0);
        for (int j = 0; j < s.TileCount(); ++j) {
            CModuleTile& t = *s.Tile(j);
            painter.save();
            painter.translate(20 + 28 * j, 150);
            t.Module().DrawLiveValues(canvas);
            painter.restore();
        }
        paintMicros += microsSince(start);
        ++paints;
    }

private:
    CMorvelanDoc& doc_;
};

int number(const char* text, int fallback) {
    if (!text)
        return fallback;
    char* end = nullptr;
    const long v = std::strtol(text, &end, 10);
    return (*end == '\0' && v > 0 && v < 3600000) ? static_cast<int>(v) : fallback;
}

} // namespace

int main(int argc, char** argv) {
    int ms = 2000;
    for (int i = 1; i < argc; ++i) {
        const std::string arg = argv[i];
        if (arg == "--ms" && i + 1 < argc) {
            ms = number(argv[++i], ms);
        } else {
            std::fprintf(stderr, "usage: bench_online [--ms N]\n");
            return 2;
        }
    }
    ::setenv("QT_QPA_PLATFORM", "offscreen", 0);
    QApplication qapp(argc, argv);

    x740sim::Station station;
    x740sim::applyPreset(station, "sixty");
    station.setFrameLogEnabled(false);
    x740sim::TcpStationServer server(station);
    std::string error;
    if (!server.start(0, &error)) {
        std::fprintf(stderr, "bench_online: %s\n", error.c_str());
        return 1;
    }

    Hooks hooks;
    hooks.dir = programFolder();
    setModuleDescriptionContext({hooks.dir, "English"});
    mv::FakeClock scanClock;
    hooks.catalogue.Scan(hooks.dir, "English", {}, scanClock);
    CMorvelanAppBase app;
    app.m_Com = kComTcpIp;
    app.m_IpAddress = 0x7F000001u;
    app.m_TcpPort = server.port();
    app.m_Ini.onlineTimer = 10;
    CMorvelanDoc doc;
    hooks.app = &app;
    hooks.doc = &doc;
    mv::setAppHooks(&hooks);
    mv::setDocHooks(&hooks);

    std::vector<std::uint16_t> ids{x740sim::kPresetController};
    for (std::uint16_t id : station.moduleIds())
        ids.push_back(id);
    for (std::uint16_t id : ids) {
        const int index = hooks.catalogue.FindById(id);
        if (index < 0) {
            std::fprintf(stderr, "bench_online: the catalogue in %s lacks ID 0x%04x\n",
                         hooks.dir.c_str(), id);
            return 1;
        }
        auto tile = std::make_unique<CModuleTile>();
        tile->Create(hooks.catalogue.GetAt(index), hooks.dir);
        doc.AddModuleToGroup(std::move(tile));
    }

    BenchFrame frame(doc);
    mv::SystemClock clock;
    morvelan::COnlineSession session(frame, app, doc, clock);
    morvelan::CPollTimer timer(
        &frame, [&](int id) { session.OnTimer(id); }, [&] { session.IdleNotice(); });
    frame.timer = &timer;
    frame.show();
    frame.activateWindow();

    // The input cycle alone, beside the bare exchange.
    const double bareRate = benchbare::bareSocketRate(server.port(), ms / 2);
    session.SwitchDebugMode();
    if (app.m_Online != 1) {
        std::fprintf(stderr, "bench_online: the station did not go online\n");
        return 1;
    }
    timer.Kill();
    long cycles = 0;
    auto start = SteadyClock::now();
    while (microsSince(start) < ms * 500.0) {
        if (app.ReadOnlineInputs(0) != 1) {
            std::fprintf(stderr, "bench_online: an input cycle failed\n");
            return 1;
        }
        ++cycles;
    }
    const double cycleMicros = microsSince(start) / static_cast<double>(cycles);
    const double bareMicros = 1e6 / bareRate;

    // The whole tick with the repaint it causes.
    long ticks = 0;
    frame.paintMicros = 0;
    frame.paints = 0;
    start = SteadyClock::now();
    while (microsSince(start) < ms * 500.0) {
        session.OnTimer(morvelan::kPollTimerId);
        frame.repaint();
        ++ticks;
    }
    const double tickMicros = microsSince(start) / static_cast<double>(ticks);

    // The real event loop with ONLINETIMER 10: busy share and the interval it settles on.
    session.SwitchDebugMode(); // offline: the next tick closes
    session.OnTimer(morvelan::kPollTimerId);
    session.SwitchDebugMode(); // online afresh, timer started at 10 ms
    double busyMicros = 0;
    long loopTicks = 0;
    morvelan::CPollTimer measured(
        &frame,
        [&](int id) {
            const auto t0 = SteadyClock::now();
            session.OnTimer(id);
            busyMicros += microsSince(t0);
            ++loopTicks;
        },
        [&] { session.IdleNotice(); });
    timer.Kill();
    frame.timer = &measured;
    measured.Start(session.Scheduler().Interval());
    frame.paintMicros = 0;
    QEventLoop loop;
    QTimer::singleShot(ms, &loop, &QEventLoop::quit);
    QElapsedTimer wall;
    wall.start();
    loop.exec();
    const double wallMicros = static_cast<double>(wall.nsecsElapsed()) / 1000.0;
    const double busyShare = (busyMicros + frame.paintMicros) / wallMicros;
    measured.Kill();

    const double ratio = cycleMicros / bareMicros;
    std::printf("input cycle: %.1f us, bare socket exchange: %.1f us, ratio %.2f (goal: at most 1.3) %s\n",
                cycleMicros, bareMicros, ratio, ratio <= 1.3 ? "OK" : "SLOW");
    std::printf("whole tick with paints: %.1f us (goal: under 3000 us) %s\n", tickMicros,
                tickMicros < 3000 ? "OK" : "SLOW");
    std::printf("event loop at ONLINETIMER 10: %ld ticks in %.0f ms, UI busy share %.1f %% (goal: below 30 %%) %s\n",
                loopTicks, wallMicros / 1000.0, busyShare * 100.0, busyShare < 0.3 ? "OK" : "SLOW");
    std::printf("final interval: %d ms (goal: 10 ms) %s\n", session.Scheduler().Interval(),
                session.Scheduler().Interval() == 10 ? "OK" : "GREW");
    app.CloseConnection();
    mv::setAppHooks(nullptr);
    mv::setDocHooks(nullptr);
    return 0;
}
