// Times opening and saving a project of 50 stations with 60 boards each, with the sample
// catalogue of the program folder loaded (its descriptions copied and made loadable by the
// module factory). Goal: under 250 ms for each.
#include "bench/bench_install.h"
#include "bench/bench_support.h"
#include "platform/clock.h"
#include "platform/ini_file.h"

#include <chrono>
#include <cstdio>
#include <filesystem>
#include <string>

namespace {

constexpr int kStations = 50;
constexpr int kBoards = 60;
constexpr double kGoalMs = 250.0;

namespace fs = std::filesystem;

} // namespace

int main(int argc, char** argv) {
    bench::CatalogueInstall install(argc, argv, "mv-bench-project", false);
    if (!install.Ready())
        return 1;
    const fs::path& dir = install.Dir();
    const CModuleDescriptionList& catalogue = install.Catalogue();

    CMorvelanDoc doc;
    doc.m_Comment = "Benchmark\r\nproject";
    bench::AddStations(doc, catalogue, dir.string(), kStations, kBoards);
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
    const double openMs = bench::MsSince(start);

    start = std::chrono::steady_clock::now();
    const int written = opened.OnSaveDocument(second);
    const double saveMs = bench::MsSince(start);

    const auto size = fs::file_size(second);
    std::printf("open %d stations x %d boards: %.1f ms (goal %.0f ms)%s\n", kStations, kBoards + 1,
                openMs, kGoalMs, openMs < kGoalMs ? "" : "  SLOWER THAN THE GOAL");
    std::printf("save (%ju bytes): %.1f ms (goal %.0f ms)%s\n", static_cast<std::uintmax_t>(size),
                saveMs, kGoalMs, saveMs < kGoalMs ? "" : "  SLOWER THAN THE GOAL");
    return read == 1 && written == 1 && opened.StationCount() == kStations ? 0 : 1;
}
