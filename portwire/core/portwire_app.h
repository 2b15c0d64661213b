// The library object: the table of open links, the last error and the status window.
#pragma once

#include <atomic>
#include <condition_variable>
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
    // not in the table. The link it returns stays alive while it is held, even when another
    // thread closes it meanwhile: work on it then fails as on a closed link.
    std::shared_ptr<CPortLink> FindLink(std::uint32_t handle);
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
    using LinkStep = std::function<bool(CPortLink&)>;
    // What an open looks for: a COM number, or a TCP address and port.
    struct LinkKey {
        bool tcp = false;
        std::uint32_t address = 0;
        int port = 0;  // the COM number of a serial link
        bool operator==(const LinkKey&) const = default;
    };
    struct TableEntry {
        LinkKey key;
        std::shared_ptr<CPortLink> link;
    };

    // The open link of key counted once more (after `revive`, when given, made it usable), or
    // a new one kept when `open` succeeds on it. One open per key runs at a time: a second
    // thread waits for the first one's outcome, so both share the link it opened.
    std::uint32_t OpenKeyed(const LinkKey& key, std::uint32_t noHandleError, const LinkStep& open,
                            const LinkStep& revive);
    // A new link under a fresh handle, opened; null when there is no handle or open fails.
    std::shared_ptr<CPortLink> NewLink(std::uint32_t noHandleError, const LinkStep& open);
    // Ends the open of key: adds the link (when there is one) and lets waiting opens look again.
    void EndOpening(const LinkKey& key, std::shared_ptr<CPortLink> link);
    std::uint32_t OpenSerial(int comNumber, const LinkStep& open);
    // Table searches; the caller holds tableMutex_.
    std::vector<TableEntry>::iterator FindEntry(std::uint32_t handle);
    std::shared_ptr<CPortLink> FindKey(const LinkKey& key) const;
    bool Opening(const LinkKey& key) const;

    mv::Clock* clock_;
    ITransportFactory* transports_;
    IMonitorSink* monitor_;
    mutable std::mutex tableMutex_;  // guards links_, opening_ and the reference counts
    std::vector<TableEntry> links_;
    std::vector<LinkKey> opening_;  // keys whose open runs outside the lock
    std::condition_variable openingEnded_;
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
