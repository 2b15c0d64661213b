// Times opening and saving a project of 50 stations with 60 boards each, with the sample
// catalogue of the program folder loaded (its descriptions copied and made loadable by the
// module factory). Goal: under 250 ms for each.
#include "morvelan/core/channel_module.h"
#include "catalogue/module_description.h"
#include "morvelan/core/module_tile.h"
#include "morvelan/core/morvelan_doc.h"
#include "morvelan/core/morvelan_doc_hooks.h"
#include "platform/clock.h"
#include "platform/ini_file.h"

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
constexpr double kGoalMs = 250.0;

namespace fs = std::filesystem;

class BenchHooks : public mv::IDocHooks {
public:
    BenchHooks(std::string dir, const CModuleDescriptionList& catalogue)
        : dir_(std::move(dir)), catalogue_(catalogue) {}
    std::string ProgramDir() override { return dir_; }
    const CModuleDescriptionList* Catalogue() override { return &catalogue_; }

private:
    std::string dir_;
    const CModuleDescriptionList& catalogue_;
};

// Copies the descriptions and pictures of the program folder into `dir`, protocol 1 throughout.
bool CopyCatalogue(const fs::path& from, const fs::path& dir) {
    std::error_code ec;
    fs::create_directories(dir / "Modul", ec);
    fs::create_directories(dir / "bmp", ec);
    if (!fs::is_directory(from / "Modul"))
        return false;
    for (const auto& e : fs::directory_iterator(from / "Modul")) {
        if (e.path().extension() != ".kvn")
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

} // namespace

int main(int argc, char** argv) {
    const fs::path programDir =
        fs::canonical(fs::path(argv[0]).parent_path()).string();
    char name[] = "/tmp/mv-bench-project-XXXXXX";
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
    BenchHooks hooks(dir.string(), catalogue);
    mv::setDocHooks(&hooks);

    const char* boards[] = {"D2110", "D2210", "A3104", "A3204", "C643", "K614", "K618", "P4010"};
    CMorvelanDoc doc;
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
    const std::string first = (dir / "bench.mvl").string();
    const std::string second = (dir / "bench2.mvl").string();
    if (doc.OnSaveDocument(first) != 1) {
        std::fprintf(stderr, "could not write the project\n");
        return 1;
    }
    mv::iniClearCache();

    CMorvelanDoc opened;
    auto start = std::chrono::steady_clock::now();
    const int read = opened.OnOpenDocument(first);
    const double openMs = Ms(start);

    start = std::chrono::steady_clock::now();
    const int written = opened.OnSaveDocument(second);
    const double saveMs = Ms(start);

    const auto size = fs::file_size(second);
    std::printf("open %d stations x %d boards: %.1f ms (goal %.0f ms)%s\n", kStations, kBoards + 1,
                openMs, kGoalMs, openMs < kGoalMs ? "" : "  SLOWER THAN THE GOAL");
    std::printf("save (%ju bytes): %.1f ms (goal %.0f ms)%s\n", static_cast<std::uintmax_t>(size),
                saveMs, kGoalMs, saveMs < kGoalMs ? "" : "  SLOWER THAN THE GOAL");
    mv::setDocHooks(nullptr);
    mv::iniClearCache();
    std::error_code ec;
    fs::remove_all(dir, ec);
    return read == 1 && written == 1 && opened.StationCount() == kStations ? 0 : 1;
}
