// CX740PanelApp: the service panel's application object. It holds the Portwire link handle
// the panel works on (set by the entry points, replaced when the panel reconnects), the
// installation folder and the panel's settings, and sends and receives the panel's raw
// telegrams over the link.
#pragma once

#include "panel/core/raw_port.h"

#include <cstdint>
#include <memory>
#include <string>
#include <vector>

namespace x740panel {

// Settings defaults ([Setup] of morvelan.ini).
inline constexpr int kDefaultWriteTimeout = 5000;    // ms
inline constexpr int kDefaultReconnectTimeout = 10;  // ticks of 1 s
inline constexpr int kDefaultFtpTimeout = 20;        // seconds
inline constexpr int kDefaultEType = 0;

inline constexpr const char* kSettingsKey = "SOFTWARE\\Kelvane\\Morvelan";
inline constexpr const char* kSettingsFileName = "morvelan.ini";
inline constexpr std::size_t kInstallDirMax = 255;

// Why an exchange failed on the link itself.
inline constexpr const char* kNotWritten = "request not written";
inline constexpr const char* kNoReply = "no reply";
inline constexpr const char* kReplyIncomplete = "reply incomplete";

// Size of the buffer a telegram is built in.
inline constexpr int kTelegramBufferSize = 260;
// Length byte and code of the 13-byte fixed requests.
inline constexpr std::uint8_t kRequest13Length = 8;
inline constexpr int kRequest13Size = 13;

class CX740PanelApp {
public:
    CX740PanelApp();

    // Starts one use of the panel: the installation folder and the settings are read afresh
    // (each entry point call is one use, as each load of the library was).
    bool InitInstance();
    // The installation folder: value "Install" of the machine store (read only); empty when
    // it cannot be read.
    void ReadInstallDir();
    // [Setup] WRITETIMEOUT, RECONNECTTIMEOUT, FTPTIMEOUT, ETYPE of the settings file (their
    // defaults without an installation folder), then the link time-out of the current handle.
    void ReadSettings();
    // The settings file: the installation folder joined with "morvelan.ini"; empty without
    // an installation folder.
    std::string SettingsFile() const;

    // Builds [b0, b1, direction, n, payload, checksum] and writes its n+5 bytes.
    bool SendTelegram(std::uint8_t b0, std::uint8_t b1, std::uint8_t direction,
                      std::uint8_t length, const std::uint8_t* payload);
    // Writes the 13-byte fixed request [b0, b1, direction, length, code, 7 zeros, checksum].
    bool SendRequest13(std::uint8_t b0, std::uint8_t b1, std::uint8_t direction,
                       std::uint8_t length, std::uint8_t code);
    // Reads one reply: header, then its length byte's payload and checksum. Fails on a length
    // of 0, a read failure, a checksum mismatch or the device-error bit; on success payload
    // holds the reply's payload bytes.
    bool ReceiveTelegram(std::vector<std::uint8_t>& payload);
    // Why the last send or receive failed on the link itself ("request not written", "no
    // reply", "empty reply", "checksum error"); null after a success or a device-error reply
    // (the controller's refusal, as for an entry it does not have).
    const char* LinkFailure() const { return linkFailure_; }

    RawPort& Port() { return *port_; }
    // Replaces the port (tests); null restores the Portwire port.
    void SetPort(RawPort* port);

    LinkHandle m_Handle = 0;
    std::string m_InstallDir;
    int m_WriteTimeout = kDefaultWriteTimeout;
    int m_ReconnectTimeout = kDefaultReconnectTimeout;
    int m_FtpTimeout = kDefaultFtpTimeout;
    int m_EType = kDefaultEType;

private:
    bool Failed(const char* reason) {
        linkFailure_ = reason;
        return false;
    }

    PortwirePort portwire_;
    RawPort* port_;
    const char* linkFailure_ = nullptr;
};

// The one application object of the panel.
CX740PanelApp& theApp();

} // namespace x740panel
