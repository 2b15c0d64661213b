// datafiles_bench [--runs N] [--blocks N] [--bits N] [--cams N]
// A large cam-switch configuration (by default 256 blocks, 2048 bit assignments, 1000 cams) in
// the simulated station on loopback TCP. Each run reads it into an NSW data file and sends the
// file back (the panel's procedures, a silent panel), then sends the same requests with no file
// as the baseline: the setup, blocks, bits and cams read up to the first missing one, then
// written between the two immediate updates. Prints the best and the median of both and their
// ratio, and the frames each side sent.
#include "panel/core/data_files.h"
#include "panel/core/panel_commands.h"
#include "panel/core/telegrams.h"
#include "platform/clock.h"
#include "platform/ini_file.h"
#include "portwire/include/Portwire.h"
#include "services/include/X740_Cam.h"
#include "tests/sim/cam_configuration.h"
#include "tests/sim/service_controller.h"
#include "tests/sim/station.h"
#include "tests/sim/station_presets.h"
#include "tests/sim/tcp_station_server.h"

#include <algorithm>
#include <chrono>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <string>
#include <unistd.h>
#include <vector>

namespace {

using namespace x740panel;
using SteadyClock = std::chrono::steady_clock;

// The panel without a window: it drops what it is told.
class SilentPanel final : public DataFileHost, public PanelPrompts {
public:
    void AddLogLine(const std::string&, std::unique_ptr<LogItemRecord>) override { ++lines; }
    void ReplaceLogLine(const std::string&) override {}
    void ShowTransientLine(const std::string&) override {}
    void Pump() override {}
    void EnableControls(bool) override {}
    void SetWaitCursor(bool) override {}
    void ShowMessage(const std::string&, const std::string& text, bool ok) override {
        failed = failed || !ok || text != "Download OK";
    }
    bool ChooseFile(bool, const std::string&, std::string&) override { return false; }
    bool AskSsiOffset(int&, int&) override { return false; }
    bool NswWarnings() const override { return true; }
    bool AskSsiIndex(std::string&) override { return false; }
    bool AskCamBlock(std::string&, std::string&) override { return false; }

    long lines = 0;
    bool failed = false;
};

// The requests of one read and one write of the configuration, without a file.
bool bareRun(CX740PanelApp& app, const x740sim::CamConfiguration& c) {
    const LinkHandle h = app.m_Handle;
    int ssiIndex = 0, maxSpeed = 0;
    ReadNswSetupRaw(app, ssiIndex, maxSpeed);
    int blocks = 0;
    for (int k = 0; k <= kLastBlockIndex; ++k, ++blocks) {
        int module = 0, offset = 0;
        if (!ReadBlockConfigRaw(app, k, module, offset)) {
            break;
        }
    }
    int bits = 0;
    for (int b = 0, i = 0; b <= kLastBlockIndex; ++bits) {
        int track = 0;
        if (!ReadBitConfigRaw(app, b, i, track)) {
            break;
        }
        if (++i > 7) {
            i = 0;
            ++b;
        }
    }
    int cams = 0;
    for (int n = 0; n <= kLastCamIndex; ++n, ++cams) {
        int v[8] = {};
        char name[kCamNameLength + 8] = {};
        if (A_X740_Cam_ReadNSWProgMultiturn(h, n, &v[0], name, &v[1], &v[2], &v[3], &v[4], &v[5],
                                            &v[6], &v[7]) != 1) {
            break;
        }
    }
    if (blocks != static_cast<int>(c.blocks.size()) ||
        bits != static_cast<int>(c.bitTracks.size()) || cams != static_cast<int>(c.cams.size())) {
        return false;
    }
    bool ok = A_X740_Cam_SetImmediateUpdate(h, 0) == 1 && WriteNswSetupRaw(app, ssiIndex, maxSpeed);
    for (int k = 0; ok && k < blocks; ++k) {
        ok = WriteBlockConfigRaw(app, k, c.blocks[static_cast<std::size_t>(k)].module,
                                 c.blocks[static_cast<std::size_t>(k)].byteOffset);
    }
    for (int j = 0; ok && j < bits; ++j) {
        ok = WriteBitConfigRaw(app, j / 8, j % 8, c.bitTracks[static_cast<std::size_t>(j)]);
    }
    for (int n = 0; ok && n < cams; ++n) {
        const auto& m = c.cams[static_cast<std::size_t>(n)];
        ok = A_X740_Cam_WriteNSWProgMultiturn(h, n, m.track, m.name.c_str(), m.startAngle,
                                              m.startDeadTime, m.endAngle, m.endDeadTime, m.type,
                                              m.triggerMode, m.delay) == 1;
    }
    return A_X740_Cam_SetImmediateUpdate(h, 1) == 1 && ok;
}

double millisSince(SteadyClock::time_point start) {
    return std::chrono::duration<double, std::milli>(SteadyClock::now() - start).count();
}

double median(std::vector<double> v) {
    std::sort(v.begin(), v.end());
    return v[v.size() / 2];
}

int usage(const char* why) {
    if (why != nullptr) {
        std::fprintf(stderr, "datafiles_bench: %s\n", why);
    }
    std::printf("usage: datafiles_bench [--runs N] [--blocks N] [--bits N] [--cams N]\n"
                "  blocks 1..256, bits 1..8*blocks, cams 1..65535\n");
    return why != nullptr ? 2 : 0;
}

} // namespace

int main(int argc, char** argv) {
    int runs = 5, blocks = 256, bits = 2048, cams = 1000;
    for (int i = 1; i < argc; ++i) {
        const std::string a = argv[i];
        if (a == "--help" || a == "-h") {
            return usage(nullptr);
        }
        if (i + 1 >= argc) {
            return usage(("missing value of " + a).c_str());
        }
        const int v = std::atoi(argv[++i]);
        if (a == "--runs") runs = v;
        else if (a == "--blocks") blocks = v;
        else if (a == "--bits") bits = v;
        else if (a == "--cams") cams = v;
        else return usage(("unknown option " + a).c_str());
    }
    if (runs < 1 || blocks < 1 || blocks > 256 || bits < 1 || bits > 8 * blocks || cams < 1 ||
        cams > 65535) {
        return usage("value out of range");
    }

    x740sim::Station station;
    x740sim::applyPreset(station, "cam");
    x740sim::ServiceController services(station);
    station.setServiceHandler(&services);
    station.setFrameLogEnabled(false);
    const x740sim::CamConfiguration config = x740sim::largeCamConfiguration(blocks, bits, cams);
    x740sim::putCamConfiguration(services, config);
    x740sim::TcpStationServer server(station);
    std::string error;
    if (!server.start(0, &error)) {
        std::fprintf(stderr, "datafiles_bench: %s\n", error.c_str());
        return 1;
    }

    char folder[] = "/tmp/datafiles_benchXXXXXX";
    if (::mkdtemp(folder) == nullptr) {
        return 1;
    }
    const std::string file = std::string(folder) + "/nsw.ini";

    CX740PanelApp app;
    app.m_Handle = A_OpenNet(0x7F000001u, server.port());
    if (app.m_Handle == 0) {
        std::fprintf(stderr, "datafiles_bench: no link to the station\n");
        return 1;
    }
    SilentPanel panel;
    PanelCommands commands(app, panel, panel, mv::processClock());
    DataFiles files(app, panel, commands);

    std::vector<double> withFiles, bare;
    std::size_t filesFrames = 0, bareFrames = 0;
    bool ok = true;
    for (int run = 0; run < runs && ok; ++run) {
        mv::iniClearCache();
        std::size_t before = station.frameCount();
        auto start = SteadyClock::now();
        files.ReadNswToFile(file);
        files.WriteNswFromFile(file);
        withFiles.push_back(millisSince(start));
        filesFrames = station.frameCount() - before;
        ok = !panel.failed && x740sim::takeCamConfiguration(services) == config;

        before = station.frameCount();
        start = SteadyClock::now();
        ok = bareRun(app, config) && ok;
        bare.push_back(millisSince(start));
        bareFrames = station.frameCount() - before;
    }
    A_Close(app.m_Handle);
    std::remove(file.c_str());
    ::rmdir(folder);
    if (!ok) {
        std::fprintf(stderr, "datafiles_bench: a run did not complete\n");
        return 1;
    }
    const double best = *std::min_element(withFiles.begin(), withFiles.end());
    const double bestBare = *std::min_element(bare.begin(), bare.end());
    std::printf("configuration: %d blocks, %d bit assignments, %d cams; %d runs\n", blocks, bits,
                cams, runs);
    std::printf("with the NSW file : best %8.1f ms  median %8.1f ms  (%zu frames)\n", best,
                median(withFiles), filesFrames);
    std::printf("requests only     : best %8.1f ms  median %8.1f ms  (%zu frames)\n", bestBare,
                median(bare), bareFrames);
    std::printf("ratio (best)      : %.2fx  (median %.2fx; goal within 1.30x)\n", best / bestBare,
                median(withFiles) / median(bare));
    return 0;
}
