// Times the catalogue scan over 2000 generated description files, with a progress callback that
// does nothing and the closing pause taken on a fake clock. Goal: under 200 ms.
#include "bench/bench_support.h"
#include "catalogue/module_description.h"
#include "platform/clock.h"
#include "platform/ini_file.h"

#include <chrono>
#include <cstdio>
#include <filesystem>
#include <fstream>
#include <string>

namespace {

constexpr int kFiles = 2000;
constexpr double kGoalMs = 200.0;

void writeDescriptions(const std::string& folder) {
    std::filesystem::create_directories(folder);
    for (int i = 0; i < kFiles; ++i) {
        const std::string type = "B" + std::to_string(10000 + i);
        std::ofstream out(folder + "/" + type + ".kvn", std::ios::binary);
        out << "[FILEINFO]\r\nFilename=" << type << ".kvn\r\nProtocol_ID=3\r\nDevice=Morvelan\r\n"
            << "[MORVELAN]\r\nDescription=" << type << "\r\nDoku=" << type << "\r\nPrint=" << type
            << "\r\nName=1\r\nID=" << i << "\r\nTyp=" << (i % 8 + 1) << "\r\nChannel=4\r\n"
            << "Mask=15\r\nBitmap=" << type << ".bmp\r\n";
        for (int k = 1; k <= 4; ++k)
            out << "[K" << k << "]\r\nName=" << (9 + k) << "\r\nSkale=0.000305185\r\nOffset=0\r\n"
                << "Unit=V\r\nMode=3\r\nDatatype=6\r\nParameter=1\r\n[K" << k << "P1]\r\nName=20\r\n"
                << "Type=0\r\nBit=1\r\nBitCount=2\r\nSelect=0\r\nMin=0\r\nMax=2\r\nDefault=1\r\n";
        out << "[English]\r\n1=Generated board " << i << "\r\n10=Channel 1\r\n20=Range\r\n"
            << "[Deutsch]\r\n1=Erzeugtes Modul " << i << "\r\n10=Kanal 1\r\n20=Bereich\r\n";
    }
}

} // namespace

int main() {
    const std::string root = bench::MakeScratchFolder("mv-bench");
    if (root.empty())
        return 1;
    writeDescriptions(root + "/Modul");
    mv::iniClearCache();

    mv::FakeClock clock;
    CModuleDescriptionList list;
    const auto start = std::chrono::steady_clock::now();
    const int count = list.Scan(root, "English", [](const std::string&) {}, clock);
    const double ms = bench::MsSince(start);

    std::error_code ec;
    std::filesystem::remove_all(root, ec);
    std::printf("catalogue scan: %d files in %.1f ms (goal < %.0f ms) %s\n", count, ms, kGoalMs,
                ms < kGoalMs ? "OK" : "SLOW");
    return count == kFiles && list.GetSize() == kFiles ? 0 : 1;
}
