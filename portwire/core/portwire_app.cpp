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

CPortLink* CPortwireApp::FindLink(std::uint32_t handle) {
    std::lock_guard<std::mutex> table(tableMutex_);
    if (handle != 0) {
        for (const auto& link : links_) {
            if (link->Handle() == handle)
                return link.get();
        }
    }
    SetLastError(kErrInvalidHandle);
    return nullptr;
}

CPortLink* CPortwireApp::FindSerial(int comNumber) {
    for (const auto& link : links_) {
        if (link->GetTransport() == CPortLink::kSerial && link->ComNumber() == comNumber)
            return link.get();
    }
    return nullptr;
}

CPortLink* CPortwireApp::FindTcp(std::uint32_t ipv4, int port) {
    for (const auto& link : links_) {
        if (link->GetTransport() == CPortLink::kTcp && link->Address() == ipv4 && link->TcpPort() == port)
            return link.get();
    }
    return nullptr;
}

void CPortwireApp::ShowStatus(const char* line) {
    if (!statusSink_)
        return;
    statusSink_->AddLine(line);
    Clock().sleep(kStatusPauseMs);
}

std::uint32_t CPortwireApp::AddLink(std::uint32_t noHandleError,
                                    const std::function<bool(CPortLink&)>& open) {
    const std::uint32_t handle = NewLinkHandle();
    if (handle == 0) {
        SetLastError(noHandleError);
        return 0;
    }
    auto link = std::make_unique<CPortLink>(*this, handle);
    if (!open(*link))
        return 0;
    std::lock_guard<std::mutex> table(tableMutex_);
    links_.push_back(std::move(link));
    return handle;
}

std::uint32_t CPortwireApp::OpenSerial(int comNumber, const std::function<bool(CPortLink&)>& open) {
    {
        std::lock_guard<std::mutex> table(tableMutex_);
        if (CPortLink* found = FindSerial(comNumber)) {
            found->AddReference();
            return found->Handle();
        }
    }
    return AddLink(kErrComOpen, open);
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
    CPortLink* found = nullptr;
    {
        std::lock_guard<std::mutex> table(tableMutex_);
        found = FindTcp(ipv4, port);
    }
    if (found) {
        // A link whose socket was lost on a failed transfer is connected again before it is
        // handed out once more.
        {
            std::lock_guard<std::mutex> exclusive(found->Exclusive());
            if (found->SocketLost() && !found->Reconnect(readId))
                return 0;
        }
        std::lock_guard<std::mutex> table(tableMutex_);
        found->AddReference();
        return found->Handle();
    }
    return AddLink(kErrTcpConnect,
                   [ipv4, port, readId](CPortLink& link) { return link.OpenNet(ipv4, port, readId); });
}

void CPortwireApp::Close(std::uint32_t handle) {
    CPortLink* link = FindLink(handle);
    if (!link)
        return;
    std::unique_ptr<CPortLink> closing;
    {
        std::lock_guard<std::mutex> table(tableMutex_);
        if (link->DropReference() > 0)
            return;
        auto it = std::find_if(links_.begin(), links_.end(),
                               [link](const std::unique_ptr<CPortLink>& l) { return l.get() == link; });
        closing = std::move(*it);
        links_.erase(it);
    }
    // A request another thread still runs on the link ends first.
    std::lock_guard<std::mutex> exclusive(closing->Exclusive());
    closing->Close();
}

} // namespace portwire
