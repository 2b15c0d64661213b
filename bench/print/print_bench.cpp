// Times the page preview of a project of 50 stations with 60 boards each, with the sample
// catalogue of the program folder (descriptions, label layouts and pin lists copied and made
// loadable by the module factory): the page count of the project labels and of the project
// page, and the paint of each one's last page into a view of 300 x 424 pixels. Goal: under
// 300 ms each.
#include "bench/bench_install.h"
#include "bench/bench_support.h"
#include "morvelan/core/label_printer.h"
#include "morvelan/ui/page_view.h"
#include "morvelan/ui/print_session.h"
#include "platform/clock.h"
#include "platform/ini_file.h"

#include <QApplication>
#include <QImage>
#include <QPainter>

#include <chrono>
#include <cstdio>
#include <cstdlib>
#include <filesystem>
#include <string>

namespace {

constexpr int kStations = 50;
constexpr int kBoards = 60;
constexpr double kGoalMs = 300.0;
constexpr int kA4Height = 2970;

namespace fs = std::filesystem;

class BenchAppHooks : public mv::PrintingAppHooks {
public:
    std::string LanguageText(int number) override { return "Text " + std::to_string(number); }
};

const char* Verdict(double ms) { return ms < kGoalMs ? "" : "  SLOWER THAN THE GOAL"; }

} // namespace

int main(int argc, char** argv) {
    if (!std::getenv("QT_QPA_PLATFORM"))
        ::setenv("QT_QPA_PLATFORM", "offscreen", 1);
    QApplication qapp(argc, argv);
    bench::CatalogueInstall install(argc, argv, "mv-bench-print", true);
    if (!install.Ready())
        return 1;
    const fs::path& dir = install.Dir();
    const CModuleDescriptionList& catalogue = install.Catalogue();
    BenchAppHooks appHooks;
    mv::setAppHooks(&appHooks);

    CMorvelanDoc doc;
    doc.m_Name = "Benchmark";
    doc.m_Comment = "Benchmark\r\nproject";
    bench::AddStations(doc, catalogue, dir.string(), kStations, kBoards);

    CMorvelanAppBase app;
    app.m_ProgramDir = dir.string();
    morvelan::CPrintSession session(app, morvelan::MakeSystemPrinterSource());
    session.document = [&doc] { return &doc; };
    session.shortDate = [] { return std::string("08.12.26"); };
    session.state.printableHeight = kA4Height;
    morvelan::CPageView view(session);
    view.m_PageHeight = kA4Height;
    view.m_Extent = mv::SIZE{2100, kA4Height};

    bool ok = true;
    const struct {
        int mode;
        const char* name;
    } jobs[] = {{2, "project labels"}, {1, "project page"}};
    for (const auto& job : jobs) {
        view.m_Mode = job.mode;
        auto start = std::chrono::steady_clock::now();
        const int pages = view.PageCount();
        const double countMs = bench::MsSince(start);

        QImage image(300, 424, QImage::Format_RGB32);
        view.m_Page = pages;
        session.state.wantedPage = pages;
        start = std::chrono::steady_clock::now();
        {
            QPainter painter(&image);
            view.Render(painter, image.size());
        }
        const double paintMs = bench::MsSince(start);
        std::printf("%s, %d stations x %d boards: %d pages counted in %.1f ms (goal %.0f ms)%s\n",
                    job.name, kStations, kBoards + 1, pages, countMs, kGoalMs, Verdict(countMs));
        std::printf("%s, paint of page %d: %.1f ms (goal %.0f ms)%s\n", job.name, pages, paintMs,
                    kGoalMs, Verdict(paintMs));
        ok = ok && pages > 1;
    }
    mv::setAppHooks(nullptr);
    return ok ? 0 : 1;
}
