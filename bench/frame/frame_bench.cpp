// Opens a project of 50 stations with 60 boards each in the real main frame (offscreen, over a
// copy of the sample installation), then selects a board of another station and paints the
// frame, again and again; at the end the program closes the project with its tree still full.
// Goals: the open under 1 s, a switch with its paint under 30 ms.
//   QT_QPA_PLATFORM=offscreen frame_bench
#include "bench/bench_install.h"
#include "bench/bench_support.h"
#include "morvelan/ui/left_view.h"
#include "morvelan/ui/main_frame.h"
#include "morvelan/ui/morvelan_app.h"
#include "platform/ini_file.h"
#include "xui/message_dlg.h"

#include <QApplication>

#include <algorithm>
#include <chrono>
#include <cstdio>
#include <cstdlib>
#include <filesystem>
#include <string>
#include <vector>

namespace {

namespace fs = std::filesystem;

constexpr int kStations = 50;
constexpr int kBoards = 60;
constexpr int kSwitches = 40;
constexpr double kOpenGoalMs = 1000.0;
constexpr double kSwitchGoalMs = 15.0;

} // namespace

int main(int argc, char** argv) {
    QApplication qt(argc, argv);
    const std::string root = bench::MakeScratchFolder("mv-frame-bench");
    if (root.empty())
        return 1;
    fs::copy(MV_SAMPLE_DATA, root + "/prog", fs::copy_options::recursive);
    bench::UseInstallation(root, root + "/prog");
    xui::setMessagePresenter([](const xui::MessageRequest& r) {
        std::fprintf(stderr, "message: %s / %s\n", r.line1.c_str(), r.line2.c_str());
        return 1;
    });
    const std::string project = root + "/bench.mvl";
    bench::WriteProjectFile(project, kStations, kBoards, true);

    int result = 0;
    {
        CMorvelanApp app;
        app.m_CurrentDirectory = [root] { return root; };
        const char* args[] = {"morvelan"};
        if (!app.InitInstance(1, args)) {
            std::fprintf(stderr, "the program did not start\n");
            return 1;
        }
        CMainFrame& frame = *app.m_pFrame;
        frame.resize(1200, 800);
        QApplication::processEvents();

        const auto t0 = std::chrono::steady_clock::now();
        const bool opened = frame.OpenDocumentFile(project);
        QApplication::processEvents();
        const double openMs = bench::MsSince(t0);
        if (!opened || frame.Doc().StationCount() != kStations) {
            std::fprintf(stderr, "the project did not open\n");
            return 1;
        }

        std::vector<double> switches;
        for (int i = 0; i < kSwitches; ++i) {
            CStation* station = frame.Doc().Station((i * 7) % kStations);
            CModuleTile* board = station->Tile(1 + (i * 13) % kBoards);
            const auto s0 = std::chrono::steady_clock::now();
            frame.Tree()->SelectModul(board);
            QApplication::processEvents();
            const QImage shown = frame.grab().toImage();
            switches.push_back(bench::MsSince(s0));
            if (shown.isNull())
                result = 1;
        }
        std::sort(switches.begin(), switches.end());
        const double median = switches[switches.size() / 2];
        std::printf("open %d stations x %d boards: %.1f ms (goal %.0f ms)\n", kStations, kBoards,
                    openMs, kOpenGoalMs);
        std::printf("switch station and paint: median %.2f ms, max %.2f ms over %d (goal %.0f ms)\n",
                    median, switches.back(), kSwitches, kSwitchGoalMs);
        if (openMs > kOpenGoalMs || median > kSwitchGoalMs)
            std::printf("goal missed\n");
        const auto c0 = std::chrono::steady_clock::now();
        app.ExitInstance();
        std::printf("close the project and end: %.1f ms\n", bench::MsSince(c0));
    }
    xui::setMessagePresenter(nullptr);
    fs::remove_all(root);
    return result;
}
