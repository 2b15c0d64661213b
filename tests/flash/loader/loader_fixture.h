// The loader's application object in the test process, against the simulated controller on a
// pseudo-terminal (COM1) and on a loopback TCP port: console and log captured, keys scripted,
// every Portwire and X740_Core call counted through the export table, and the process clock
// replaced by one that does not wait but lets the simulator finish what it was sent.
#pragma once

#include "flash/loader/console_out.h"
#include "flash/loader/echo_probe.h"
#include "flash/loader/flash_app.h"
#include "flash/loader/key_input.h"
#include "flash/loader/loader_ftp.h"
#include "platform/clock.h"
#include "tests/flash/loader/run_program.h"
#include "tests/sim/boot_loader.h"
#include "tests/sim/pty_station_server.h"
#include "tests/sim/service_controller.h"
#include "tests/sim/station.h"
#include "tests/sim/tcp_station_server.h"
#include "tests/test_paths.h"

#include <gtest/gtest.h>

#include <cstdlib>
#include <functional>
#include <map>
#include <string>
#include <unistd.h>
#include <vector>

namespace flashtest {

// Calls of the export table by name, and the read time-out the reads are given. Writes that
// get no answer (boot commands, the FTP start, the reset) are noted; the next wait of the run
// lets the simulator take them, as a real wait would. A run that does not wait after one (the
// reset before a close) is not held up for it.
struct ExportCalls {
    std::map<std::string, int> count;
    int readTimeoutMs = 200;
    x740sim::BootLoader* boot = nullptr;
    x740sim::ServiceController* services = nullptr;
    std::size_t bootBytesSent = 0; // 0: no boot command since the last wait
    int resetsSent = 0;
    int ftpStartsSent = 0;
};
inline ExportCalls g_Calls;

// Waits (real time, bounded) until the condition holds.
template <typename Condition> void AwaitPeer(Condition done) {
    for (int i = 0; i < 2000 && !done(); ++i) {
        ::usleep(1000);
    }
}

// What the run sent without an answer has been taken by the simulator.
inline void AwaitUnanswered() {
    ExportCalls& c = g_Calls;
    if (c.boot && c.bootBytesSent != 0) {
        AwaitPeer([&c] { return c.boot->bytesFed() >= c.bootBytesSent; });
        c.bootBytesSent = 0;
    }
    if (c.services) {
        AwaitPeer([&c] {
            return c.services->requests(49, 0x20) >= c.resetsSent &&
                   c.services->requests(48, 0x20) >= c.ftpStartsSent;
        });
    }
}

inline int& Count(const char* name) {
    return g_Calls.count[name];
}
inline LinkHandle Counted_openCom(int com, int baud) {
    ++Count("openCom");
    return A_OpenCom(com, baud);
}
inline LinkHandle Counted_openNet(std::uint32_t ip, int port) {
    ++Count("openNet");
    return A_OpenNet(ip, port);
}
inline LinkHandle Counted_openNetNoReadId(std::uint32_t ip, int port) {
    ++Count("openNetNoReadId");
    return A_OpenNet_NoReadID(ip, port);
}
inline std::uint16_t Counted_purgeComm(LinkHandle link) {
    ++Count("purgeComm");
    return A_PurgeComm(link);
}
inline std::uint16_t Counted_write(LinkHandle link, const std::uint8_t* bytes, int n) {
    ++Count("write");
    const std::size_t target =
        (g_Calls.boot ? g_Calls.boot->bytesFed() : 0) + static_cast<std::size_t>(n);
    const std::uint16_t ok = A_Write(link, bytes, n);
    if (ok && g_Calls.boot) {
        g_Calls.bootBytesSent = target;
    }
    return ok;
}
inline std::uint16_t Counted_x740ReadModulInfo(LinkHandle link, char* a, char* b, char* c) {
    ++Count("x740ReadModulInfo");
    return A_X740_ReadModulInfo(link, a, b, c);
}
inline std::uint16_t Counted_x740WriteModulConfig(LinkHandle link, const char* serial,
                                                  const char* ip, const char* mask,
                                                  const char* gateway, int dhcp) {
    ++Count("x740WriteModulConfig");
    return A_X740_WriteModulConfig(link, serial, ip, mask, gateway, dhcp);
}
inline std::uint16_t Counted_x740ResetModul(LinkHandle link) {
    ++Count("x740ResetModul");
    if (g_Calls.services && g_Calls.resetsSent < g_Calls.services->requests(49, 0x20)) {
        g_Calls.resetsSent = g_Calls.services->requests(49, 0x20);
    }
    const std::uint16_t ok = A_X740_ResetModul(link);
    g_Calls.resetsSent += ok ? 1 : 0;
    return ok;
}
inline std::uint16_t Counted_x740StartFtpServer(LinkHandle link) {
    ++Count("x740StartFtpServer");
    if (g_Calls.services && g_Calls.ftpStartsSent < g_Calls.services->requests(48, 0x20)) {
        g_Calls.ftpStartsSent = g_Calls.services->requests(48, 0x20);
    }
    const std::uint16_t ok = A_X740_StartFTPServer(link);
    g_Calls.ftpStartsSent += ok ? 1 : 0;
    return ok;
}
inline void Counted_close(LinkHandle l) {
    ++g_Calls.count["close"];
    A_Close(l);
}
// Reads get a short time-out, so 50 reads of a silent line take no 50 seconds.
inline std::uint16_t Counted_read(LinkHandle l, std::uint8_t* b, int n) {
    ++g_Calls.count["read"];
    A_SetComTimout(l, g_Calls.readTimeoutMs, nullptr);
    return A_Read(l, b, n);
}

// A console row: the text, then the result at column 55.
inline std::string Row(const std::string& text, const char* mark = " -> OK\n") {
    return text + std::string(text.size() < 55 ? 55 - text.size() : 0, ' ') + mark;
}

// An echo that every request gets at once.
class AnsweringProbe final : public flash::IEchoProbe {
public:
    int Open(const std::string&) override { return kOpened; }
    int Poll() override { return kAnswered; }
};

// Sleeps take no time but first let the simulated controller take everything it was sent.
class PeerClock final : public mv::Clock {
public:
    explicit PeerClock(x740sim::PtyStationServer& pty) : m_Pty(pty) {}
    mv::MonoMs now() const override { return m_Now; }
    void sleep(int ms) override {
        m_Sleeps.push_back(ms);
        m_Now += ms;
        if (m_OnSleep) {
            m_OnSleep(ms);
        }
        AwaitUnanswered();
        m_Pty.waitIdle(2000);
    }
    std::vector<int> m_Sleeps;
    std::function<void(int ms)> m_OnSleep; // what the controller does while the run waits

private:
    x740sim::PtyStationServer& m_Pty;
    mv::MonoMs m_Now = 1000000;
};

class LoaderTest : public ::testing::Test {
protected:
    void SetUp() override {
        g_Calls = ExportCalls{};
        g_Calls.boot = &boot;
        g_Calls.services = &services;
        station.setServiceHandler(&services);
        services.setResetListener([this] { boot.powerOn(); });
        boot.setOnReset([this] { tcp.dropConnections(); });
        pty.setBootLoader(&boot);
        ASSERT_TRUE(tcp.start(0));
        ASSERT_TRUE(pty.start(x740sim::kFirmwareBaud));
        ::setenv("PORTWIRE_COM1", pty.slavePath().c_str(), 1);
        ASSERT_EQ(::getcwd(m_Cwd, sizeof m_Cwd), m_Cwd);
        ASSERT_EQ(::chdir(folder.path().c_str()), 0);
        mv::setProcessClock(&clock);
        // The FTP client takes the process clock when it is made: a new one takes the fake.
        app.m_Ftp = flash::MakeLoaderFtp();
        flash::ConsoleOut().CaptureTo(&console, false);

        flash::LoaderExports& e = app.m_Exports;
        e.openCom = &Counted_openCom;
        e.openNet = &Counted_openNet;
        e.openNetNoReadId = &Counted_openNetNoReadId;
        e.close = &Counted_close;
        e.purgeComm = &Counted_purgeComm;
        e.write = &Counted_write;
        e.read = &Counted_read;
        e.x740ReadModulInfo = &Counted_x740ReadModulInfo;
        e.x740WriteModulConfig = &Counted_x740WriteModulConfig;
        e.x740ResetModul = &Counted_x740ResetModul;
        e.x740StartFtpServer = &Counted_x740StartFtpServer;
        app.m_Keys = &keys;
        app.m_TcpPort = tcp.port();
        app.m_ProgramFile = [] { return mvtest::ProgramDir() + "/X740Flash"; };

        x740sim::applyFirmware(station, "2.1");
        x740sim::ServiceRecord config(x740sim::RecordKind::ModulConfig);
        config.setText("serial", "SN400123");
        config.setText("ip", "10.1.2.3");
        config.setText("mask", "255.0.0.0");
        config.setText("gateway", "10.0.0.254");
        config.set("dhcp", 1);
        services.putRecord(config);
    }
    void TearDown() override {
        g_Calls.boot = nullptr;
        g_Calls.services = nullptr;
        app.m_Exports.close(app.m_Link);
        app.m_Link = 0;
        flash::ConsoleOut().CaptureTo(nullptr, false);
        mv::setProcessClock(nullptr);
        ASSERT_EQ(::chdir(m_Cwd), 0);
        pty.stop();
        tcp.stop();
    }

    // The boot loader with a prompt kind, its window opened as by power-on.
    void PowerOn(x740sim::BootPrompt prompt) {
        // What the previous run sent is taken first.
        AwaitTaken();
        x740sim::BootSettings settings;
        settings.prompt = prompt;
        settings.windowMs = 5000;
        boot.setSettings(settings);
        boot.powerOn();
        ASSERT_TRUE(pty.waitIdle(2000));
    }
    // Everything the runs wrote has reached the simulator and it has nothing left to do. The
    // line going quiet alone does not show it: written bytes reach the simulator's side of the
    // pseudo-terminal some time after the write returned, so the bytes noted are counted in.
    void AwaitTaken() {
        AwaitUnanswered();
        ASSERT_TRUE(pty.waitIdle(2000));
    }
    // The run for a command line; the log is read afterwards.
    void RunWith(std::vector<std::string> args) {
        args.insert(args.begin(), "X740Flash");
        std::vector<char*> argv;
        for (std::string& a : args) {
            argv.push_back(a.data());
        }
        app.Run(static_cast<int>(argv.size()), argv.data());
    }
    std::string ConfigText(const char* field) {
        return services.record(x740sim::RecordKind::ModulConfig).text(field);
    }
    // The log without its first three lines (blank, start stamp, command line).
    std::string LogBody() {
        std::string log = folder.read("X740Flash_Log.txt");
        for (int i = 0; i < 3; ++i) {
            log.erase(0, log.find('\n') + 1);
        }
        return log;
    }

    ScratchFolder folder;
    x740sim::Station station;
    x740sim::ServiceController services{station};
    x740sim::BootLoader boot;
    x740sim::TcpStationServer tcp{station};
    x740sim::PtyStationServer pty{station};
    PeerClock clock{pty};
    flash::CScriptedKeys keys;
    std::string console;
    flash::CX740FlashApp app;

private:
    char m_Cwd[4096] = {};
};

inline const std::string kBanner = "\nX740 Loader 1.0.0\n-------------------------\n";

} // namespace flashtest
