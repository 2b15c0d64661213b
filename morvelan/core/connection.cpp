#include "morvelan/core/connection.h"

#include "morvelan/core/app_hooks.h"
#include "morvelan/core/param_number.h"
#include "platform/arp_cache.h"
#include "portwire/include/Portwire.h"


namespace {

// Portwire error codes that have a message of their own.
constexpr int kErrHandle = 0x0100;
constexpr int kErrCom = 0x0200;
constexpr int kErrTimeout = 0x0300;
constexpr int kErrNetwork = 0x0400;
constexpr int kErrDataSize = 0x0500;
constexpr int kErrChecksum = 0x0600;

// Language texts of the open failure messages.
constexpr int kTextError = 5000;
constexpr int kTextComError = 5002;
constexpr int kTextTimeout = 5011;
constexpr int kTextNetwork = 5017;

} // namespace

std::string GetPortwireErrorText(int code) {
    switch (code) {
    case kErrHandle:
        return " Handle error ";
    case kErrCom:
        return " COM error";
    case kErrTimeout:
        return " Timeout";
    case kErrNetwork:
        return " Network access denied";
    case kErrDataSize:
        return " Datasize error";
    case kErrChecksum:
        return " Checksum error";
    default:
        return mv::FormatC("Code %d", code);
    }
}

mv::AppMessage OpenFailureMessage(int code) {
    switch (code) {
    case kErrCom:
        return mv::ErrorMessage(mv::LanguageText(kTextComError));
    case kErrTimeout:
        return mv::ErrorMessage(mv::LanguageText(kTextTimeout));
    case kErrNetwork:
        return mv::ErrorMessage(mv::LanguageText(kTextNetwork));
    default:
        return mv::ErrorMessage(mv::FormatC("%s : %d", mv::LanguageText(kTextError).c_str(), code));
    }
}

PortwireOpeners DefaultPortwireOpeners() {
    return PortwireOpeners{&A_Open, &A_Open2, &A_OpenNet, &A_GetLastError};
}

int CControllerConnection::OpenConnection(int askAddress) {
    return Open(askAddress, true);
}

int CControllerConnection::OpenConnectionPlain(int askAddress) {
    return Open(askAddress, false);
}

void CControllerConnection::Release() {
    if (m_Held && m_Link != 0) {
        A_Close(m_Link);
    }
    m_Held = false;
    // A closed link is no link: whoever asks next opens a new one.
    m_Link = 0;
}

void CControllerConnection::AdoptLink(std::uint32_t link) {
    if (link == m_Link && m_Held)
        return;
    Release();
    m_Link = link;
    m_Held = link != 0;
}

void CControllerConnection::CloseConnection() {
    Release();
}

int CControllerConnection::Open(int askAddress, bool statusWindow) {
    mv::IAppHooks& hooks = mv::appHooks();
    LinkHandle link = 0;
    if (m_Com == kComTcpIp) {
        if (askAddress == 1) {
            std::uint32_t ip = m_IpAddress;
            int port = m_TcpPort;
            if (!hooks.AskAddress(ip, port)) {
                return 0;
            }
            m_IpAddress = ip;
            m_TcpPort = port;
        }
        hooks.SetWaitCursor(true);
        if (m_ClearArp != 0) {
            ClearArpEntry();
        }
        link = m_Openers.openNet(m_IpAddress, m_TcpPort);
        hooks.SetWaitCursor(false);
    } else {
        link = (statusWindow && m_SerInfo == 1) ? m_Openers.open2(m_Com) : m_Openers.open(m_Com);
    }

    if (link != 0) {
        // Release the reference held so far before keeping the new one: reopening the same
        // link then keeps exactly one reference on it.
        Release();
        m_Link = link;
        m_Held = true;
        return 1;
    }

    const int code = m_Openers.lastError();
    Release();
    hooks.ShowMessage(OpenFailureMessage(code));
    return 0;
}

void CControllerConnection::ClearArpEntry() {
    if (m_OsName == "Windows 95") {
        return;
    }
    mv::deleteArpEntry(m_IpAddress);
}

int CControllerConnection::ReadOnlineInputs(int station) {
    std::uint8_t inputs[kInputImageBytes] = {};
    mv::IAppHooks& hooks = mv::appHooks();
    if (A_ReadInputs(m_Link) == 1) {
        A_GetInputBuffer(m_Link, inputs);
        hooks.DistributeInputs(station, inputs);
        return 1;
    }
    Release();
    hooks.SetStationOffline(station);
    return 0;
}
