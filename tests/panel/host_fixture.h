// End-to-end runs of the X740Panel plug-in: the simulated station on a loopback address of its
// own at the service port 32000, an installation and per-user store in a temporary folder, and
// the host program that loads the plug-in and drives the panel by script.
#pragma once

#include "tests/sim/cam_configuration.h"
#include "tests/sim/service_controller.h"
#include "tests/sim/station.h"
#include "tests/sim/station_presets.h"
#include "tests/sim/tcp_station_server.h"
#include "tests/test_paths.h"

#include <gtest/gtest.h>

#include <fcntl.h>
#include <spawn.h>
#include <sys/wait.h>
#include <unistd.h>

#include <cstdlib>
#include <fstream>
#include <random>
#include <string>
#include <vector>

extern char** environ;

namespace x740panel::test {

struct HostRun {
    int exitCode = -1;
    std::vector<std::string> log; // the panel's lines as logged (all runs)
    std::vector<long> handles;    // "HANDLE" of each run
    long opened = 0;
    std::string output;

    bool Has(const std::string& text) const { return output.find(text) != std::string::npos; }
};

class PanelInstall {
public:
    PanelInstall() {
        char pattern[] = "/tmp/x740panel_e2eXXXXXX";
        dir = ::mkdtemp(pattern);
        Write(dir + "/machine.reg",
              "[SOFTWARE\\Kelvane\\Morvelan]\r\nInstall=sz:\"" + dir + "\"\r\n");
        Write(dir + "/morvelan.ini", "[Setup]\r\nWRITETIMEOUT=2000\r\n");
        ::setenv("MORVELAN_MACHINE_REG", (dir + "/machine.reg").c_str(), 1);
        ::setenv("MORVELAN_USER_REG", (dir + "/user.reg").c_str(), 1);
    }
    ~PanelInstall() {
        const std::string cmd = "rm -rf '" + dir + "'";
        (void)std::system(cmd.c_str());
    }
    static void Write(const std::string& path, const std::string& text) {
        std::ofstream(path, std::ios::binary) << text;
    }
    std::string Read(const std::string& name) const {
        std::ifstream in(dir + "/" + name, std::ios::binary);
        return std::string(std::istreambuf_iterator<char>(in), {});
    }
    std::string dir;
};

class PanelStation {
public:
    explicit PanelStation(const std::string& preset = "cam") : services(station), tcp(station) {
        x740sim::applyPreset(station, preset);
        x740sim::applyServicePreset(services, preset);
        station.setServiceHandler(&services);
    }
    // Serves on a loopback address of its own at the service port; false when none was free.
    bool StartAtServicePort() {
        std::mt19937 random(static_cast<unsigned>(::getpid()) * 7919u + counter_++);
        for (int attempt = 0; attempt < 40; ++attempt) {
            address = 0x7F000000u | ((20 + random() % 200) << 16) | ((random() % 250 + 1) << 8) |
                      (random() % 250 + 2);
            if (tcp.start(address, 32000, nullptr)) {
                return true;
            }
        }
        return false;
    }
    std::string Endpoint() const {
        return std::to_string(address >> 24) + "." + std::to_string((address >> 16) & 255) + "." +
               std::to_string((address >> 8) & 255) + "." + std::to_string(address & 255) +
               ":32000";
    }

    x740sim::Station station;
    x740sim::ServiceController services;
    x740sim::TcpStationServer tcp;
    std::uint32_t address = 0;

private:
    static inline unsigned counter_ = 0;
};

// Runs the host with the arguments (after --lib) and collects what it printed.
inline HostRun RunHost(const std::vector<std::string>& args) {
    std::vector<std::string> all = {mvtest::ProgramDir() + "/x740panel_host", "--lib",
                                    mvtest::ProgramDir() + "/X740Panel.so"};
    all.insert(all.end(), args.begin(), args.end());
    std::vector<char*> argv;
    for (std::string& a : all) {
        argv.push_back(a.data());
    }
    argv.push_back(nullptr);
    int pipeFds[2];
    EXPECT_EQ(::pipe(pipeFds), 0);
    posix_spawn_file_actions_t actions;
    posix_spawn_file_actions_init(&actions);
    posix_spawn_file_actions_adddup2(&actions, pipeFds[1], 1);
    posix_spawn_file_actions_addclose(&actions, pipeFds[0]);
    ::setenv("QT_QPA_PLATFORM", "offscreen", 1);
    pid_t pid = 0;
    HostRun run;
    if (posix_spawn(&pid, argv[0], &actions, nullptr, argv.data(), environ) != 0) {
        ADD_FAILURE() << "cannot start " << argv[0];
        return run;
    }
    posix_spawn_file_actions_destroy(&actions);
    ::close(pipeFds[1]);
    char buf[4096];
    ssize_t n = 0;
    while ((n = ::read(pipeFds[0], buf, sizeof buf)) > 0) {
        run.output.append(buf, static_cast<std::size_t>(n));
    }
    ::close(pipeFds[0]);
    int status = 0;
    ::waitpid(pid, &status, 0);
    run.exitCode = WIFEXITED(status) ? WEXITSTATUS(status) : 128 + WTERMSIG(status);
    std::size_t start = 0;
    while (start < run.output.size()) {
        std::size_t end = run.output.find('\n', start);
        if (end == std::string::npos) {
            end = run.output.size();
        }
        const std::string line = run.output.substr(start, end - start);
        if (line.rfind("LOG ", 0) == 0) {
            run.log.push_back(line.substr(4));
        } else if (line.rfind("HANDLE ", 0) == 0) {
            run.handles.push_back(std::atol(line.c_str() + 7));
        } else if (line.rfind("OPENED ", 0) == 0) {
            run.opened = std::atol(line.c_str() + 7);
        }
        start = end + 1;
    }
    return run;
}

} // namespace x740panel::test
