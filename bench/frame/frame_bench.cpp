// Opens a project of 50 stations with 60 boards each in the real main frame (offscreen, over a
// copy of the sample installation), then selects a board of another station and paints the
// frame, again and again. Goals: the open under 1 s, a switch with its paint under 30 ms.
//   QT_QPA_PLATFORM=offscreen frame_bench
#include "morvelan/ui/left_view.h"
#include "morvelan/ui/main_frame.h"
#include "morvelan/ui/morvelan_app.h"
#include "platform/ini_file.h"
#include "platform/settings_store.h"
#include "xui/message_dlg.h"

#include <QApplication>

#include <algorithm>
#include <chrono>
#include <cstdio>
#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <string>
#include <vector>

namespace {

namespace fs = std::filesystem;

constexpr int kStations = 50;
constexpr int kBoards = 60;
constexpr int kSwitches = 40;
constexpr double kOpenGoalMs = 1000.0;
constexpr double kSwitchGoalMs = 30.0;

const char* const kBoardFiles[] = {"D2110.kvn", "D2210.kvn", "A3104.kvn", "A3204.kvn",
                                   "K614.kvn",  "C643.kvn",  "@K2270.kvn", "F8020.kvn"};

void WriteProject(const std::string& path) {
    std::ofstream out(path, std::ios::binary);
    out << "[MAIN]\r\nINFO=Morvelan\r\nModule=" << kStations << "\r\nName=Bench\r\n";
    for (int s = 0; s < kStations; ++s) {
        out << "[M" << s << "]\r\nName=Station " << s << "\r\nComment= \r\nPrints="
            << kBoards + 1 << "\r\n";
        out << "[M" << s << "P0]\r\nFilename=X740.kvn\r\n";
        for (int j = 1; j <= kBoards; ++j)
            out << "[M" << s << "P" << j << "]\r\nETKL1=Board " << j << "\r\nFilename="
                << kBoardFiles[j % std::size(kBoardFiles)] << "\r\n";
    }
}

double Ms(std::chrono::steady_clock::duration d) {
    return std::chrono::duration<double, std::milli>(d).count();
}

} // namespace

int main(int argc, char** argv) {
    QApplication qt(argc, argv);
    char name[] = "/tmp/mv-frame-bench-XXXXXX";
    const std::string root = ::mkdtemp(name);
    fs::copy(MV_SAMPLE_DATA, root + "/prog", fs::copy_options::recursive);
    std::ofstream(root + "/machine.reg", std::ios::binary)
        << "[SOFTWARE\\Kelvane\\Morvelan]\r\nInstall=sz:\"" << root << "/prog\"\r\n";
    ::setenv(mv::kMachineStoreEnv, (root + "/machine.reg").c_str(), 1);
    ::setenv(mv::kUserStoreEnv, (root + "/user.reg").c_str(), 1);
    xui::setMessagePresenter([](const xui::MessageRequest& r) {
        std::fprintf(stderr, "message: %s / %s\n", r.line1.c_str(), r.line2.c_str());
        return 1;
    });
    const std::string project = root + "/bench.mvl";
    WriteProject(project);

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
        const double openMs = Ms(std::chrono::steady_clock::now() - t0);
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
            switches.push_back(Ms(std::chrono::steady_clock::now() - s0));
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
        app.ExitInstance();
    }
    xui::setMessagePresenter(nullptr);
    fs::remove_all(root);
    return result;
}
