// The library object: the table of open links, the last error and the status window.
#pragma once

#include <atomic>
#include <cstdint>
#include <functional>
#include <memory>
#include <mutex>
#include <vector>

#include "platform/clock.h"
#include "portwire/core/monitor.h"
#include "portwire/core/port_link.h"
#include "portwire/core/status_sink.h"
#include "portwire/core/transport.h"

namespace portwire {

// Makes the "Status" window for A_Open2; null where no window can be shown.
using StatusWindowFactory = std::function<std::unique_ptr<IStatusSink>()>;

class CPortwireApp {
public:
    // What the library talks through; null members take the system's own (process clock,
    // serial devices and TCP sockets, the monitor pipe).
    struct Services {
        mv::Clock* clock = nullptr;
        ITransportFactory* transports = nullptr;
        IMonitorSink* monitor = nullptr;
    };

    CPortwireApp();
    explicit CPortwireApp(const Services& services);
    ~CPortwireApp();  // closes and deletes every link still open
    CPortwireApp(const CPortwireApp&) = delete;
    CPortwireApp& operator=(const CPortwireApp&) = delete;

    // Link table (safe to use from several threads). FindLink sets 0x0100 when the handle is
    // not in the table.
    CPortLink* FindLink(std::uint32_t handle);
    std::size_t LinkCount() const;

    // Opening and closing (the exports of the same names).
    std::uint32_t Open(int comNumber);
    std::uint32_t Open2(int comNumber);
    std::uint32_t OpenCom(int comNumber, int baud);
    std::uint32_t OpenNoReadID(int comNumber);
    std::uint32_t OpenNet(std::uint32_t ipv4, int port, bool readId);
    void Close(std::uint32_t handle);

    // Last error: stored as 32 bits, read as its low 16.
    void SetLastError(std::uint32_t code) { lastError_ = code; }
    std::uint16_t GetLastError() const { return static_cast<std::uint16_t>(lastError_ & 0xFFFF); }

    // Status lines: appended to the registered status window, then a 250 ms pause; dropped
    // without a window.
    void ShowStatus(const char* line);
    void SetStatusSink(IStatusSink* sink) { statusSink_ = sink; }
    IStatusSink* StatusSink() const { return statusSink_; }
    void SetStatusWindowFactory(StatusWindowFactory factory) { statusWindowFactory_ = std::move(factory); }

    mv::Clock& Clock() const { return clock_ ? *clock_ : mv::processClock(); }
    ITransportFactory& Transports() const { return *transports_; }
    IMonitorSink& Monitor() const { return *monitor_; }

private:
    // A new link under a fresh handle, kept when open succeeds on it; noHandleError is the last
    // error when no handle is left.
    std::uint32_t AddLink(std::uint32_t noHandleError, const std::function<bool(CPortLink&)>& open);
    std::uint32_t OpenSerial(int comNumber, const std::function<bool(CPortLink&)>& open);
    CPortLink* FindSerial(int comNumber);
    CPortLink* FindTcp(std::uint32_t ipv4, int port);

    mv::Clock* clock_;
    ITransportFactory* transports_;
    IMonitorSink* monitor_;
    mutable std::mutex tableMutex_;  // guards links_ and the reference counts
    std::vector<std::unique_ptr<CPortLink>> links_;
    std::atomic<std::uint32_t> lastError_{0};
    IStatusSink* statusSink_ = nullptr;
    StatusWindowFactory statusWindowFactory_;
};

inline constexpr int kStatusPauseMs = 250;

// The library object the exported functions use: the one installed by InstallApp, else the
// process's own (made on first use, with the system's services).
CPortwireApp& TheApp();
CPortwireApp& DefaultApp();
// Puts another library object behind the exports (tests); nullptr returns to the default one.
void InstallApp(CPortwireApp* app);

// A fresh link handle: non-zero and never handed out before in this process (0 when the
// 32-bit range is used up).
std::uint32_t NewLinkHandle();

} // namespace portwire
