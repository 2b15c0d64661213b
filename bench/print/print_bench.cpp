// Times the page preview of a project of 50 stations with 60 boards each, with the sample
// catalogue of the program folder (descriptions, label layouts and pin lists copied and made
// loadable by the module factory): the page count of the project labels and of the project
// page, and the paint of each one's last page into a view of 300 x 424 pixels. Goal: under
// 300 ms each.
#include "morvelan/core/label_printer.h"
#include "morvelan/core/module_description.h"
#include "morvelan/core/module_tile.h"
#include "morvelan/core/morvelan_doc.h"
#include "morvelan/core/morvelan_doc_hooks.h"
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
#include <fstream>
#include <iterator>
#include <regex>
#include <string>

namespace {

constexpr int kStations = 50;
constexpr int kBoards = 60;
constexpr double kGoalMs = 300.0;
constexpr int kA4Height = 2970;

namespace fs = std::filesystem;

class BenchDocHooks : public mv::IDocHooks {
public:
    BenchDocHooks(std::string dir, const CModuleDescriptionList& catalogue)
        : dir_(std::move(dir)), catalogue_(catalogue) {}
    std::string ProgramDir() override { return dir_; }
    const CModuleDescriptionList* Catalogue() override { return &catalogue_; }

private:
    std::string dir_;
    const CModuleDescriptionList& catalogue_;
};

class BenchAppHooks : public mv::PrintingAppHooks {
public:
    std::string LanguageText(int number) override { return "Text " + std::to_string(number); }
};

// Copies the descriptions, label layouts, pin lists and pictures of the program folder into
// `dir`, protocol 1 throughout.
bool CopyCatalogue(const fs::path& from, const fs::path& dir) {
    std::error_code ec;
    fs::create_directories(dir / "Modul", ec);
    fs::create_directories(dir / "bmp", ec);
    if (!fs::is_directory(from / "Modul"))
        return false;
    for (const auto& e : fs::directory_iterator(from / "Modul")) {
        const auto ext = e.path().extension();
        if (ext == ".etk" || ext == ".pin") {
            fs::copy_file(e.path(), dir / "Modul" / e.path().filename(), ec);
            continue;
        }
        if (ext != ".kvn")
            continue;
        std::ifstream in(e.path(), std::ios::binary);
        std::string text((std::istreambuf_iterator<char>(in)), std::istreambuf_iterator<char>());
        text = std::regex_replace(text, std::regex("Protocol_ID=[0-9]+"), "Protocol_ID=1");
        text = std::regex_replace(text, std::regex("Description=@"), "Description=");
        std::ofstream(dir / "Modul" / e.path().filename(), std::ios::binary) << text;
    }
    for (const auto& e : fs::directory_iterator(from / "bmp", ec))
        fs::copy_file(e.path(), dir / "bmp" / e.path().filename(), ec);
    return true;
}

double Ms(std::chrono::steady_clock::time_point start) {
    return std::chrono::duration<double, std::milli>(std::chrono::steady_clock::now() - start)
        .count();
}

const char* Verdict(double ms) { return ms < kGoalMs ? "" : "  SLOWER THAN THE GOAL"; }

} // namespace

int main(int argc, char** argv) {
    if (!std::getenv("QT_QPA_PLATFORM"))
        ::setenv("QT_QPA_PLATFORM", "offscreen", 1);
    QApplication qapp(argc, argv);
    const fs::path programDir = fs::canonical(fs::path(argv[0]).parent_path()).string();
    char name[] = "/tmp/mv-bench-print-XXXXXX";
    const char* made = ::mkdtemp(name);
    if (!made) {
        std::perror("mkdtemp");
        return 1;
    }
    const fs::path dir(made);
    const fs::path source = argc > 1 ? fs::path(argv[1]) : programDir;
    if (!CopyCatalogue(source, dir)) {
        std::fprintf(stderr, "no catalogue in %s\n", source.c_str());
        return 1;
    }
    ModuleDescriptionContext context;
    context.programDir = dir.string();
    setModuleDescriptionContext(context);
    CModuleDescriptionList catalogue;
    mv::FakeClock clock;
    catalogue.Scan(dir.string(), "English", {}, clock);
    BenchDocHooks docHooks(dir.string(), catalogue);
    mv::setDocHooks(&docHooks);
    BenchAppHooks appHooks;
    mv::setAppHooks(&appHooks);

    const char* boards[] = {"D2110", "D2210", "A3104", "A3204", "C643", "K614", "K618", "P4010"};
    CMorvelanDoc doc;
    doc.m_Name = "Benchmark";
    doc.m_Comment = "Benchmark\r\nproject";
    for (int s = 0; s < kStations; ++s) {
        auto head = std::make_unique<CModuleTile>();
        head->Create(catalogue.GetAt(catalogue.FindByName("X740")), dir.string());
        doc.AddModuleToGroup(std::move(head));
        for (int b = 0; b < kBoards; ++b) {
            auto tile = std::make_unique<CModuleTile>();
            tile->Create(catalogue.GetAt(catalogue.FindByName(boards[b % 8])), dir.string());
            tile->m_Lines[0] = "Board " + std::to_string(b);
            doc.AddModuleToGroup(std::move(tile));
        }
    }

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
        const double countMs = Ms(start);

        QImage image(300, 424, QImage::Format_RGB32);
        view.m_Page = pages;
        session.state.wantedPage = pages;
        start = std::chrono::steady_clock::now();
        {
            QPainter painter(&image);
            view.Render(painter, image.size());
        }
        const double paintMs = Ms(start);
        std::printf("%s, %d stations x %d boards: %d pages counted in %.1f ms (goal %.0f ms)%s\n",
                    job.name, kStations, kBoards + 1, pages, countMs, kGoalMs, Verdict(countMs));
        std::printf("%s, paint of page %d: %.1f ms (goal %.0f ms)%s\n", job.name, pages, paintMs,
                    kGoalMs, Verdict(paintMs));
        ok = ok && pages > 1;
    }
    mv::setAppHooks(nullptr);
    mv::setDocHooks(nullptr);
    mv::iniClearCache();
    std::error_code ec;
    fs::remove_all(dir, ec);
    return ok ? 0 : 1;
}
