// Extracts a 200 MB archive of mixed compressible and incompressible files with CZipArchive
// and with /usr/bin/unzip into fresh folders on the same filesystem, warm cache, and prints
// the median wall times and their ratio.
//
// Usage: zip_bench [work-folder] [runs]   (default: a new folder under the temp folder, 5 runs)
#include "flash/zip/zip_archive.h"

#include <algorithm>
#include <chrono>
#include <cstdint>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <filesystem>
#include <fstream>
#include <random>
#include <string>
#include <vector>

namespace fs = std::filesystem;

namespace {

constexpr std::size_t kBigFiles = 80;        // 4 MiB each, every other one incompressible
constexpr std::size_t kBigSize = 4u << 20;
constexpr std::size_t kSmallFiles = 640;     // 64 KiB each
constexpr std::size_t kSmallSize = 64u << 10;

std::vector<char> makeContent(std::mt19937_64& rng, std::size_t size, bool compressible) {
    std::vector<char> data(size);
    if (!compressible) {
        for (std::size_t i = 0; i + 8 <= size; i += 8) {
            std::uint64_t v = rng();
            std::copy_n(reinterpret_cast<const char*>(&v), 8, data.begin() + static_cast<std::ptrdiff_t>(i));
        }
        return data;
    }
    static const char* const words[] = {"firmware ", "module ", "station ", "0x1F40 ", "parameter ",
                                        "input ", "output ", "channel ", "\r\n", "value=17 "};
    std::size_t pos = 0;
    while (pos < size) {
        const char* w = words[rng() % 10];
        for (; *w && pos < size; ++w)
            data[pos++] = *w;
    }
    return data;
}

void writeFile(const fs::path& path, const std::vector<char>& data) {
    fs::create_directories(path.parent_path());
    std::ofstream out(path, std::ios::binary);
    out.write(data.data(), static_cast<std::streamsize>(data.size()));
}

fs::path makeArchive(const fs::path& work) {
    const fs::path archive = work / "bench.zip";
    if (fs::exists(archive))
        return archive;
    const fs::path src = work / "src";
    std::mt19937_64 rng(740);
    for (std::size_t i = 0; i < kBigFiles; ++i)
        writeFile(src / "big" / ("file" + std::to_string(i) + ".bin"), makeContent(rng, kBigSize, i % 2 == 0));
    for (std::size_t i = 0; i < kSmallFiles; ++i)
        writeFile(src / ("small" + std::to_string(i % 8)) / ("part" + std::to_string(i) + ".dat"),
                  makeContent(rng, kSmallSize, i % 3 != 0));
    std::printf("making the archive ...\n");
    std::fflush(stdout);
    const std::string cmd = "cd '" + src.string() + "' && /usr/bin/zip -q -r '" + archive.string() + "' .";
    if (std::system(cmd.c_str()) != 0) {
        std::fprintf(stderr, "zip failed\n");
        std::exit(1);
    }
    fs::remove_all(src);
    return archive;
}

double seconds(std::chrono::steady_clock::duration d) {
    return std::chrono::duration<double>(d).count();
}

double runOurs(const fs::path& archive, const fs::path& out) {
    auto start = std::chrono::steady_clock::now();
    CZipArchive zip;
    zip.Open(archive.string());
    for (int i = 0; i < zip.GetCount(); ++i) {
        if (!zip.ExtractFile(i, out.string(), true, {}, nullptr, nullptr, 65535)) {
            std::fprintf(stderr, "extraction of entry %d failed\n", i);
            std::exit(1);
        }
    }
    zip.Close();
    return seconds(std::chrono::steady_clock::now() - start);
}

double runUnzip(const fs::path& archive, const fs::path& out) {
    const std::string cmd = "/usr/bin/unzip -o -q '" + archive.string() + "' -d '" + out.string() + "'";
    auto start = std::chrono::steady_clock::now();
    if (std::system(cmd.c_str()) != 0) {
        std::fprintf(stderr, "unzip failed\n");
        std::exit(1);
    }
    return seconds(std::chrono::steady_clock::now() - start);
}

double median(std::vector<double> v) {
    std::sort(v.begin(), v.end());
    return v.size() % 2 ? v[v.size() / 2] : (v[v.size() / 2 - 1] + v[v.size() / 2]) / 2;
}

} // namespace

int main(int argc, char** argv) {
    // Options are none: any argument starting with '-' (--help too) asks for the usage.
    for (int i = 1; i < argc; ++i) {
        if (argv[i][0] == '-') {
            std::printf("usage: zip_bench [work-folder] [runs]\n"
                        "Extracts a 200 MB archive with CZipArchive and with unzip, runs times "
                        "each (at least 3, default 5),\nin work-folder (default: a new folder "
                        "under the temp folder, removed afterwards).\n");
            return std::strcmp(argv[i], "--help") == 0 || std::strcmp(argv[i], "-h") == 0 ? 0 : 2;
        }
    }
    fs::path work;
    if (argc > 1) {
        work = argv[1];
        fs::create_directories(work);
    } else {
        std::string pattern = (fs::temp_directory_path() / "mvzip-bench-XXXXXX").string();
        if (!::mkdtemp(pattern.data()))
            return 1;
        work = pattern;
    }
    const int runs = argc > 2 ? std::max(3, std::atoi(argv[2])) : 5;
    try {
        const fs::path archive = makeArchive(work);
        const fs::path out = work / "out";
        // Warm the cache and both programs once.
        runOurs(archive, out / "warm-ours");
        runUnzip(archive, out / "warm-unzip");
        fs::remove_all(out);
        std::vector<double> ours, theirs;
        for (int r = 0; r < runs; ++r) {
            fs::path a = out / ("ours" + std::to_string(r));
            fs::path b = out / ("unzip" + std::to_string(r));
            ours.push_back(runOurs(archive, a));
            theirs.push_back(runUnzip(archive, b));
            fs::remove_all(a);
            fs::remove_all(b);
        }
        const double mo = median(ours), mu = median(theirs);
        std::printf("archive %s: %.1f MB\n", archive.c_str(), static_cast<double>(fs::file_size(archive)) / 1e6);
        std::printf("CZipArchive   median of %d: %.3f s\n", runs, mo);
        std::printf("unzip -o -q   median of %d: %.3f s\n", runs, mu);
        std::printf("ratio (CZipArchive / unzip): %.3f\n", mo / mu);
        if (argc <= 1)
            fs::remove_all(work);
    } catch (const std::exception& e) {
        std::fprintf(stderr, "%s\n", e.what());
        return 1;
    }
    return 0;
}
