// Paints a station of 60 boards in the real main view (offscreen, over a copy of the sample
// installation): the rack, the list, and the list's online repaint of the tiles with unchanged
// values, each 200 times. Goals: a full paint under 16 ms; the online repaint at most a fifth
// of a full list paint.
//   QT_QPA_PLATFORM=offscreen view_bench
#include "morvelan/core/station.h"
#include "morvelan/ui/left_view.h"
#include "morvelan/ui/main_frame.h"
#include "morvelan/ui/module_tile_wnd.h"
#include "morvelan/ui/morvelan_app.h"
#include "morvelan/ui/morvelan_view.h"
#include "platform/settings_store.h"
#include "xui/message_dlg.h"

#include <QApplication>

#include <algorithm>
#include <chrono>
#include <cstdio>
#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <functional>
#include <string>
#include <vector>

namespace {

namespace fs = std::filesystem;

constexpr int kBoards = 60;
constexpr int kRuns = 200;
constexpr double kPaintGoalMs = 16.0;

const char* const kBoardFiles[] = {"D2110.kvn", "D2210.kvn", "A3104.kvn", "A3204.kvn",
                                   "K614.kvn",  "C643.kvn",  "@K2270.kvn", "F8020.kvn"};

void WriteProject(const std::string& path) {
    std::ofstream out(path, std::ios::binary);
    out << "[MAIN]\r\nINFO=Morvelan\r\nModule=1\r\nName=Bench\r\n";
    out << "[M0]\r\nName=Station 0\r\nComment= \r\nPrints=" << kBoards + 1 << "\r\n";
    out << "[M0P0]\r\nFilename=X740.kvn\r\n";
    for (int j = 1; j <= kBoards; ++j)
        out << "[M0P" << j << "]\r\nFilename=" << kBoardFiles[j % std::size(kBoardFiles)]
            << "\r\n";
}

double Median(const std::function<void()>& run) {
    std::vector<double> times;
    for (int i = 0; i < kRuns; ++i) {
        const auto t0 = std::chrono::steady_clock::now();
        run();
        times.push_back(
            std::chrono::duration<double, std::milli>(std::chrono::steady_clock::now() - t0)
                .count());
    }
    std::sort(times.begin(), times.end());
    return times[times.size() / 2];
}

} // namespace

int main(int argc, char** argv) {
    QApplication qt(argc, argv);
    char name[] = "/tmp/mv-view-bench-XXXXXX";
    const std::string root = ::mkdtemp(name);
    fs::copy(MV_SAMPLE_DATA, root + "/prog", fs::copy_options::recursive);
    std::ofstream(root + "/machine.reg", std::ios::binary)
        << "[SOFTWARE\\Kelvane\\Morvelan]\r\nInstall=sz:\"" << root << "/prog\"\r\n";
    ::setenv(mv::kMachineStoreEnv, (root + "/machine.reg").c_str(), 1);
    ::setenv(mv::kUserStoreEnv, (root + "/user.reg").c_str(), 1);
    xui::setMessagePresenter([](const xui::MessageRequest&) { return 1; });
    WriteProject(root + "/bench.mvl");

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
        frame.resize(1600, 1000);
        if (!frame.OpenDocumentFile(root + "/bench.mvl") || frame.Doc().StationCount() != 1) {
            std::fprintf(stderr, "the project did not open\n");
            return 1;
        }
        CStation& station = *frame.Doc().Station(0);
        frame.Tree()->SelectModul(station.Tile(1));
        QApplication::processEvents();
        CMorvelanView& view = *frame.View();
        QWidget& viewport = *view.viewport();

        const double rack = Median([&] { (void)viewport.grab(); });
        view.OnCommand(IDC_VIEW_LIST);
        QApplication::processEvents();
        const double list = Median([&] { (void)viewport.grab(); });

        // Online: every tile shows live values; after the first paint only they are drawn.
        std::vector<CModuleTileWnd*> windows;
        for (QWidget* w : viewport.findChildren<CModuleTileWnd*>())
            if (w->isVisible() || !frame.isVisible())
                windows.push_back(static_cast<CModuleTileWnd*>(w));
        for (int j = 0; j < station.TileCount(); ++j)
            station.Tile(j)->m_Online = 1;
        for (CModuleTileWnd* w : windows)
            (void)w->grab();
        // The poll invalidates the tiles only; one render of the area shows them.
        const double online = Median([&] {
            for (CModuleTileWnd* w : windows)
                w->Tile().Refresh(0);
            (void)viewport.grab();
        });
        for (int j = 0; j < station.TileCount(); ++j)
            station.Tile(j)->m_Online = 0;

        std::printf("rack paint, %d boards: median %.2f ms (goal %.0f ms)\n", kBoards, rack,
                    kPaintGoalMs);
        std::printf("list paint: median %.2f ms (goal %.0f ms)\n", list, kPaintGoalMs);
        std::printf("online list repaint, unchanged values: median %.2f ms (goal %.2f ms)\n",
                    online, list / 5);
        if (rack > kPaintGoalMs || list > kPaintGoalMs || online > list / 5)
            std::printf("goal missed\n");
        app.ExitInstance();
    }
    xui::setMessagePresenter(nullptr);
    fs::remove_all(root);
    return result;
}
