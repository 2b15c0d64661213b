// The application's one Portwire link to the controller: opening it by serial port or TCP/IP
// from the settings, reporting a failed open, the short texts of Portwire error codes, and the
// input cycle of the online polling.
#pragma once

#include <cstdint>
#include <string>

// COM setting that selects TCP/IP instead of a serial port.
constexpr int kComTcpIp = 5;
// Bytes of one input image.
constexpr int kInputImageBytes = 256;

// The short text of a Portwire error code (leading blanks included).
std::string GetPortwireErrorText(int code);

namespace mv {
struct AppMessage;
}
// The message a failed open shows for a Portwire error code.
mv::AppMessage OpenFailureMessage(int code);

// The Portwire entry points a connection opens its link with. They are the library's own unless
// replaced, which lets a test stand in for a serial search that would take seconds per baud.
struct PortwireOpeners {
    std::uint32_t (*open)(int comNumber);
    std::uint32_t (*open2)(int comNumber);
    std::uint32_t (*openNet)(std::uint32_t ipv4, int tcpPort);
    std::uint16_t (*lastError)();
};
// The library's own entry points.
PortwireOpeners DefaultPortwireOpeners();

// The link and the connection settings the application object holds. The application object
// derives from this class and fills the settings from the registry and morvelan.ini.
class CControllerConnection {
public:
    CControllerConnection() = default;
    virtual ~CControllerConnection() = default;
    CControllerConnection(const CControllerConnection&) = delete;
    CControllerConnection& operator=(const CControllerConnection&) = delete;

    // Opens the link by the settings; askAddress 1 shows the address dialog first for TCP/IP.
    // Serial ports are searched with the "Status" window when SERINFO is 1. 1 on success; on
    // failure the message dialog tells why and the result is 0.
    int OpenConnection(int askAddress);
    // The same, but a serial port is never searched with the "Status" window.
    int OpenConnectionPlain(int askAddress);
    // Removes the controller's ARP entry from the system's tables, where the process may.
    void ClearArpEntry();
    // One input cycle for a station: read the inputs and share them out among its modules.
    // A failed read closes the link (the stored handle becomes 0) and sets the station's tiles
    // offline; result 0.
    int ReadOnlineInputs(int station);
    // Releases the reference held on the link (at exit); the stored handle becomes 0.
    void CloseConnection();
    // A service library worked on the link and hands back the link it holds now, with a
    // reference of its own (0: none); the reference held so far is released.
    void AdoptLink(std::uint32_t link);

    std::uint32_t m_Link = 0;      // 0 when none was opened
    int m_Com = 1;                 // 1..4 serial port COM1..COM4, 5 TCP/IP
    std::uint32_t m_IpAddress = 0; // first octet in the most significant byte
    int m_TcpPort = 32000;
    int m_SerInfo = 1;  // 1: serial search shows the "Status" window
    int m_ClearArp = 0; // non-zero: clear the ARP entry before a TCP/IP open
    std::string m_OsName;
    PortwireOpeners m_Openers = DefaultPortwireOpeners();

private:
    int Open(int askAddress, bool statusWindow);
    // Releases the reference on the stored link, once, and forgets its handle.
    void Release();

    bool m_Held = false; // m_Link holds a reference not yet released
};
