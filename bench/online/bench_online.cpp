// bench_online [--ms N]
// A project of an X740 with sixty boards opened in the real frame (offscreen) and polled online
// against the simulated station over loopback TCP, whose inputs change at every read. Prints
// the input cycle beside a bare socket doing the same exchange on the same station, the whole
// tick with the tile paints it causes (split into the timer handler with its input cycle and
// the paints, with the paints per tick), the same with inputs that do not change, the UI
// thread's busy share in the real event loop with ONLINETIMER 10, and the interval the
// adaptation settled on.
#include "bench/bench_support.h"
#include "bench/portwire/bare_exchange.h"
#include "morvelan/core/command_ids.h"
#include "morvelan/core/connection.h"
#include "morvelan/ui/left_view.h"
#include "morvelan/ui/main_frame.h"
#include "morvelan/ui/morvelan_app.h"
#include "morvelan/ui/online_commands.h"
#include "platform/clock.h"
#include "platform/settings_store.h"
#include "tests/sim/station_presets.h"
#include "tests/sim/tcp_station_server.h"
#include "xui/message_dlg.h"

#include <QApplication>
#include <QElapsedTimer>
#include <QEventLoop>
#include <QTimer>

#include <algorithm>
#include <chrono>
#include <cstdio>
#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <string>
#include <unistd.h>

namespace {

namespace fs = std::filesystem;
using SteadyClock = std::chrono::steady_clock;

double microsSince(SteadyClock::time_point start) {
    return std::chrono::duration<double, std::micro>(SteadyClock::now() - start).count();
}

std::string programFolder() {
    std::error_code ec;
    const auto exe = fs::read_symlink("/proc/self/exe", ec);
    return ec ? std::string(".") : exe.parent_path().string();
}

// A project of one station: the X740 and the boards of the simulated station, in its order.
void writeProject(const std::string& path, const std::vector<std::uint16_t>& ids) {
    auto typeOf = [](std::uint16_t id) -> std::string {
        switch (id) {
        case 0x2110: return "D2110";
        case 0x2210: return "D2210";
        case 0x3104: return "A3104";
        default: return "A3204";
        }
    };
    std::ofstream out(path, std::ios::binary);
    out << "[MAIN]\r\nINFO=Morvelan\r\nModule=1\r\nName=Bench\r\n[M0]\r\nName=Sixty\r\nComment= \r\n"
        << "Prints=" << ids.size() + 1 << "\r\n[M0P0]\r\nFilename=X740.kvn\r\n";
    for (std::size_t j = 0; j < ids.size(); ++j)
        out << "[M0P" << j + 1 << "]\r\nFilename=" << typeOf(ids[j]) << ".kvn\r\n";
}

// Runs of the alternating cycle measurement.
constexpr int kRuns = 3;

// The application that adds up the time the UI thread spends delivering events (outermost
// deliveries only): everything the thread does besides waiting.
class TimingApplication : public QApplication {
public:
    using QApplication::QApplication;
    bool notify(QObject* receiver, QEvent* event) override {
        if (event->type() == QEvent::Paint)
            ++paints;
        if (!timing || depth_ > 0)
            return QApplication::notify(receiver, event);
        ++depth_;
        const auto start = SteadyClock::now();
        const bool result = QApplication::notify(receiver, event);
        busyMicros += microsSince(start);
        --depth_;
        return result;
    }

    bool timing = false;
    double busyMicros = 0;
    long paints = 0;

private:
    int depth_ = 0;
};

} // namespace

int main(int argc, char** argv) {
    int ms = 2000;
    for (int i = 1; i < argc; ++i) {
        const std::string arg = argv[i];
        if (arg == "--ms" && i + 1 < argc) {
            ms = bench::NumberArgument(argv[++i], ms);
        } else {
            std::fprintf(stderr, "usage: bench_online [--ms N]\n");
            return 2;
        }
    }
    ::setenv("QT_QPA_PLATFORM", "offscreen", 0);
    TimingApplication qapp(argc, argv);

    x740sim::Station station;
    x740sim::applyPreset(station, "sixty");
    station.setFrameLogEnabled(false);
    x740sim::TcpStationServer server(station);
    std::string error;
    if (!server.start(0, &error)) {
        std::fprintf(stderr, "bench_online: %s\n", error.c_str());
        return 1;
    }

    // The installation is the program folder; the settings stores and the project are temporary.
    char pattern[] = "/tmp/bench_online_XXXXXX";
    const char* made = ::mkdtemp(pattern);
    if (!made) {
        std::fprintf(stderr, "bench_online: no temporary folder\n");
        return 1;
    }
    const std::string temp = made;
    std::ofstream(temp + "/machine.reg", std::ios::binary)
        << "[SOFTWARE\\Kelvane\\Morvelan]\r\nInstall=sz:\"" << programFolder() << "\"\r\n";
    ::setenv(mv::kMachineStoreEnv, (temp + "/machine.reg").c_str(), 1);
    ::setenv(mv::kUserStoreEnv, (temp + "/user.reg").c_str(), 1);
    const std::string project = temp + "/bench.mvl";
    writeProject(project, station.moduleIds());
    mv::FakeClock startClock; // the start dialog's pauses pass at once
    mv::setProcessClock(&startClock);
    int messages = 0;
    xui::setMessagePresenter([&messages](const xui::MessageRequest& r) {
        ++messages;
        std::fprintf(stderr, "bench_online: message \"%s\"\n", r.line1.c_str());
        return 1;
    });

    int result = 1;
    {
        CMorvelanApp app;
        app.m_SystemMessage = [](const std::string& c, const std::string& t) {
            std::fprintf(stderr, "bench_online: %s: %s\n", c.c_str(), t.c_str());
        };
        app.m_CurrentDirectory = [temp] { return temp; };
        const char* args[] = {"morvelan", project.c_str()};
        if (!app.InitInstance(2, args) || !app.m_pFrame) {
            std::fprintf(stderr, "bench_online: the program did not start\n");
            return 1;
        }
        mv::setProcessClock(nullptr);
        CMainFrame& frame = *app.m_pFrame;
        QApplication::processEvents();
        app.m_Com = kComTcpIp;
        app.m_IpAddress = 0x7F000001u;
        app.m_TcpPort = server.port();
        app.m_Ini.onlineTimer = 10;
        CMorvelanDoc& doc = frame.Doc();
        if (doc.StationCount() != 1 || doc.Station(0)->TileCount() != 61) {
            std::fprintf(stderr, "bench_online: the project did not open whole\n");
            return 1;
        }
        frame.Tree()->SelectModul(doc.Station(0)->Tile(0));
        frame.activateWindow();
        QApplication::processEvents();

        frame.OnCommand(ID_DEBUG);
        morvelan::COnlineSession& session = frame.Online().Session();
        if (app.m_Online != 1) {
            std::fprintf(stderr, "bench_online: the station did not go online\n");
            return 1;
        }
        frame.Online().Timer().Kill();

        // The input cycle alone, beside the bare exchange: the best of alternating runs, so a
        // busy machine disturbs both alike.
        double cycleMicros = 1e9;
        double bareMicros = 1e9;
        for (int run = 0; run < kRuns; ++run) {
            bareMicros = std::min(bareMicros, 1e6 / benchbare::bareSocketRate(server.port(), ms / (2 * kRuns)));
            long cycles = 0;
            const auto start = SteadyClock::now();
            while (microsSince(start) < ms * 500.0 / kRuns) {
                if (app.ReadOnlineInputs(0) != 1) {
                    std::fprintf(stderr, "bench_online: an input cycle failed\n");
                    return 1;
                }
                ++cycles;
            }
            cycleMicros = std::min(cycleMicros, microsSince(start) / static_cast<double>(cycles));
        }

        // The whole tick, with the paints of the tiles it invalidates: inputs that change at
        // every read, then inputs that stay.
        struct Tick {
            double whole = 0, handler = 0, paint = 0, paints = 0;
        };
        const auto measureTicks = [&](double spanMicros) {
            long ticks = 0;
            double handler = 0, paint = 0;
            const long paintsBefore = qapp.paints;
            const auto start = SteadyClock::now();
            while (microsSince(start) < spanMicros) {
                const auto t0 = SteadyClock::now();
                session.OnTimer(morvelan::kPollTimerId);
                handler += microsSince(t0);
                const auto t1 = SteadyClock::now();
                QApplication::processEvents();
                paint += microsSince(t1);
                ++ticks;
            }
            const double n = static_cast<double>(ticks);
            return Tick{microsSince(start) / n, handler / n, paint / n,
                        static_cast<double>(qapp.paints - paintsBefore) / n};
        };
        const Tick changing = measureTicks(ms * 500.0);
        station.setAnimateInputs(false);
        session.OnTimer(morvelan::kPollTimerId);
        QApplication::processEvents();
        const Tick steady = measureTicks(ms * 250.0);
        station.setAnimateInputs(true);

        // The real event loop: online afresh at ONLINETIMER 10; busy is all but the waiting.
        frame.OnCommand(ID_DEBUG);
        session.OnTimer(morvelan::kPollTimerId);
        frame.OnCommand(ID_DEBUG);
        qapp.busyMicros = 0;
        qapp.timing = true;
        QEventLoop loop;
        QTimer::singleShot(ms, &loop, &QEventLoop::quit);
        QElapsedTimer wall;
        wall.start();
        loop.exec();
        qapp.timing = false;
        const double wallMicros = static_cast<double>(wall.nsecsElapsed()) / 1000.0;
        const double busyShare = qapp.busyMicros / wallMicros;
        const int interval = session.Scheduler().Interval();
        frame.OnCommand(ID_DEBUG);
        session.OnTimer(morvelan::kPollTimerId);

        const double ratio = cycleMicros / bareMicros;
        std::printf("input cycle: %.1f us, bare socket exchange: %.1f us, ratio %.2f (goal: at most 1.3) %s\n",
                    cycleMicros, bareMicros, ratio, ratio <= 1.3 ? "OK" : "SLOW");
        const auto printTick = [](const char* what, const Tick& t, double goal) {
            std::printf("%s: %.1f us (timer handler with input cycle %.1f us, paint %.1f us, "
                        "%.1f paints per tick) (goal: under %.0f us) %s\n",
                        what, t.whole, t.handler, t.paint, t.paints, goal,
                        t.whole < goal ? "OK" : "SLOW");
        };
        printTick("whole tick with paints, inputs changed on every board", changing, 1500);
        printTick("whole tick with paints, nothing changed", steady, 200);
        std::printf("event loop at ONLINETIMER 10 for %.0f ms: UI busy share %.1f %% (goal: below 15 %%) %s\n",
                    wallMicros / 1000.0, busyShare * 100.0, busyShare < 0.15 ? "OK" : "SLOW");
        std::printf("final interval: %d ms (goal: 10 ms) %s\n", interval, interval == 10 ? "OK" : "GREW");
        result = messages == 0 ? 0 : 1;
        app.ExitInstance();
    }
    xui::setMessagePresenter({});
    std::error_code ec;
    fs::remove_all(temp, ec);
    return result;
}
