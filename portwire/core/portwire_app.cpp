#include "portwire/core/portwire_app.h"

#include <algorithm>
#include <atomic>

#include "portwire/core/portwire_error.h"

namespace portwire {

std::uint32_t NewLinkHandle() {
    static std::atomic<std::uint32_t> next{1};
    std::uint32_t h = next.load();
    do {
        if (h == 0)
            return 0;  // every handle was handed out once
    } while (!next.compare_exchange_weak(h, h + 1));
    return h;
}

namespace {
CPortwireApp* g_installed = nullptr;
} // namespace

CPortwireApp& DefaultApp() {
    static CPortwireApp app;
    return app;
}

CPortwireApp& TheApp() { return g_installed ? *g_installed : DefaultApp(); }

void InstallApp(CPortwireApp* app) { g_installed = app; }

CPortwireApp::CPortwireApp() : CPortwireApp(Services{}) {}

CPortwireApp::CPortwireApp(const Services& services)
    : clock_(services.clock),
      transports_(services.transports ? services.transports : &systemTransports()),
      monitor_(services.monitor ? services.monitor : &pipeMonitor()) {}

CPortwireApp::~CPortwireApp() { links_.clear(); }

std::size_t CPortwireApp::LinkCount() const {
    std::lock_guard<std::mutex> table(tableMutex_);
    return links_.size();
}

std::vector<CPortwireApp::TableEntry>::iterator CPortwireApp::FindEntry(std::uint32_t handle) {
    return std::find_if(links_.begin(), links_.end(),
                        [handle](const TableEntry& e) { return e.link->Handle() == handle; });
}

std::shared_ptr<CPortLink> CPortwireApp::FindLink(std::uint32_t handle) {
    std::lock_guard<std::mutex> table(tableMutex_);
    const auto it = FindEntry(handle);
    if (it != links_.end())
        return it->link;
    SetLastError(kErrInvalidHandle);
    return nullptr;
}

std::shared_ptr<CPortLink> CPortwireApp::FindKey(const LinkKey& key) const {
    for (const TableEntry& e : links_) {
        if (e.key == key)
            return e.link;
    }
    return nullptr;
}

bool CPortwireApp::Opening(const LinkKey& key) const {
    return std::find(opening_.begin(), opening_.end(), key) != opening_.end();
}

void CPortwireApp::ShowStatus(const char* line) {
    if (!statusSink_)
        return;
    statusSink_->AddLine(line);
    Clock().sleep(kStatusPauseMs);
}

std::shared_ptr<CPortLink> CPortwireApp::NewLink(std::uint32_t noHandleError, const LinkStep& open) {
    const std::uint32_t handle = NewLinkHandle();
    if (handle == 0) {
        SetLastError(noHandleError);
        return nullptr;
    }
    auto link = std::make_shared<CPortLink>(*this, handle);
    if (!open(*link))
        return nullptr;  // a failed open gives its port back here, before others try theirs
    return link;
}

void CPortwireApp::EndOpening(const LinkKey& key, std::shared_ptr<CPortLink> link) {
    std::lock_guard<std::mutex> table(tableMutex_);
    opening_.erase(std::find(opening_.begin(), opening_.end(), key));
    // The waiting opens look again once the table is unlocked, whatever happens below.
    openingEnded_.notify_all();
    if (link)
        links_.push_back({key, std::move(link)});
}

std::uint32_t CPortwireApp::OpenKeyed(const LinkKey& key, std::uint32_t noHandleError,
                                      const LinkStep& open, const LinkStep& revive) {
    for (;;) {
        std::shared_ptr<CPortLink> found;
        {
            std::unique_lock<std::mutex> table(tableMutex_);
            openingEnded_.wait(table, [&] { return !Opening(key); });
            found = FindKey(key);
            if (found && !revive) {
                found->AddReference();
                return found->Handle();
            }
            if (!found)
                opening_.push_back(key);
        }
        if (!found) {
            // The slow part runs outside the table lock; opens of the same key wait for it.
            std::shared_ptr<CPortLink> link;
            try {
                link = NewLink(noHandleError, open);
            } catch (...) {
                EndOpening(key, nullptr);
                throw;
            }
            const std::uint32_t handle = link ? link->Handle() : 0;
            EndOpening(key, std::move(link));
            return handle;
        }
        {
            std::lock_guard<std::mutex> exclusive(found->Exclusive());
            if (found->IsOpen() && !revive(*found))
                return 0;
        }
        std::lock_guard<std::mutex> table(tableMutex_);
        if (FindKey(key) == found) {
            found->AddReference();
            return found->Handle();
        }
        // Another thread closed the link meanwhile: look again.
    }
}

std::uint32_t CPortwireApp::OpenSerial(int comNumber, const LinkStep& open) {
    return OpenKeyed(LinkKey{false, 0, comNumber}, kErrComOpen, open, nullptr);
}

std::uint32_t CPortwireApp::Open(int comNumber) {
    return OpenSerial(comNumber, [comNumber](CPortLink& link) { return link.OpenComAutoBaud(comNumber); });
}

std::uint32_t CPortwireApp::Open2(int comNumber) {
    std::unique_ptr<IStatusSink> window = statusWindowFactory_ ? statusWindowFactory_() : nullptr;
    IStatusSink* previous = statusSink_;
    if (window)
        statusSink_ = window.get();
    const std::uint32_t handle = Open(comNumber);
    statusSink_ = previous;
    return handle;
}

std::uint32_t CPortwireApp::OpenCom(int comNumber, int baud) {
    return OpenSerial(comNumber,
                      [comNumber, baud](CPortLink& link) { return link.OpenComPort(comNumber, baud); });
}

std::uint32_t CPortwireApp::OpenNoReadID(int comNumber) {
    return OpenSerial(comNumber,
                      [comNumber](CPortLink& link) { return link.OpenComPort(comNumber, kNoReadIdBaud); });
}

std::uint32_t CPortwireApp::OpenNet(std::uint32_t ipv4, int port, bool readId) {
    return OpenKeyed(
        LinkKey{true, ipv4, port}, kErrTcpConnect,
        [ipv4, port, readId](CPortLink& link) { return link.OpenNet(ipv4, port, readId); },
        // A link whose socket was lost on a failed transfer is connected again before it is
        // handed out once more.
        [readId](CPortLink& link) { return !link.SocketLost() || link.Reconnect(readId); });
}

void CPortwireApp::Close(std::uint32_t handle) {
    std::shared_ptr<CPortLink> closing;
    {
        std::lock_guard<std::mutex> table(tableMutex_);
        const auto it = FindEntry(handle);
        if (it == links_.end()) {
            SetLastError(kErrInvalidHandle);
            return;
        }
        if (it->link->DropReference() > 0)
            return;
        closing = std::move(it->link);
        links_.erase(it);
    }
    // A request another thread still runs on the link ends first; one that found the link
    // before it left the table and comes after fails as on an unknown handle. The object goes
    // with the last thread that holds it.
    std::lock_guard<std::mutex> exclusive(closing->Exclusive());
    closing->Close();
}

} // namespace portwire
