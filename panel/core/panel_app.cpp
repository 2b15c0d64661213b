#include "panel/core/panel_app.h"

#include "panel/core/telegram_codes.h"
#include "platform/ini_file.h"
#include "platform/settings_store.h"
#include "platform/win_path.h"

#include <array>

namespace x740panel {

bool PortwirePort::Write(const std::uint8_t* buffer, int len) {
    return A_Write(handle_(), buffer, len) == 1;
}

bool PortwirePort::Read(std::uint8_t* buffer, int len) {
    return A_Read(handle_(), buffer, len) == 1;
}

void PortwirePort::CreateChecksum(std::uint8_t* buffer, int len) {
    A_CreateChecksum(handle_(), buffer, len);
}

bool PortwirePort::CheckChecksum(const std::uint8_t* buffer, int len) {
    return A_CheckChksum(handle_(), buffer, len) == 1;
}

CX740PanelApp::CX740PanelApp() : portwire_([this] { return m_Handle; }), port_(&portwire_) {}

CX740PanelApp& theApp() {
    static CX740PanelApp app;
    return app;
}

bool CX740PanelApp::InitInstance() {
    ReadInstallDir();
    ReadSettings();
    return true;
}

void CX740PanelApp::ReadInstallDir() {
    m_InstallDir.clear();
    const auto key = mv::SettingsKey::open(mv::SettingsRoot::Machine, kSettingsKey);
    if (!key) {
        return;
    }
    if (auto value = key->readText("Install")) {
        m_InstallDir = value->substr(0, kInstallDirMax);
    }
}

std::string CX740PanelApp::SettingsFile() const {
    if (m_InstallDir.empty()) {
        return {};
    }
    return mv::joinPath(m_InstallDir, kSettingsFileName);
}

void CX740PanelApp::ReadSettings() {
    const std::string file = SettingsFile();
    const auto read = [&](const char* key, int def) {
        return file.empty() ? def : mv::GetPrivateProfileIntA("Setup", key, def, file.c_str());
    };
    m_WriteTimeout = read("WRITETIMEOUT", kDefaultWriteTimeout);
    m_ReconnectTimeout = read("RECONNECTTIMEOUT", kDefaultReconnectTimeout);
    m_FtpTimeout = read("FTPTIMEOUT", kDefaultFtpTimeout);
    m_EType = read("ETYPE", kDefaultEType);
    int previous = 0;
    A_SetComTimout(m_Handle, m_WriteTimeout, &previous);
}

void CX740PanelApp::SetPort(RawPort* port) { port_ = port != nullptr ? port : &portwire_; }

bool CX740PanelApp::SendTelegram(std::uint8_t b0, std::uint8_t b1, std::uint8_t direction,
                                 std::uint8_t length, const std::uint8_t* payload) {
    linkFailure_ = nullptr;
    if (length == 0 || payload == nullptr) {
        return false;
    }
    std::array<std::uint8_t, kTelegramBufferSize> frame{};
    frame[0] = b0;
    frame[1] = b1;
    frame[2] = direction;
    frame[3] = length;
    for (int i = 0; i < length; ++i) {
        frame[static_cast<std::size_t>(kHeaderSize + i)] = payload[i];
    }
    const int size = length + kHeaderSize + 1;
    port_->CreateChecksum(frame.data(), size);
    return port_->Write(frame.data(), size) || Failed(kNotWritten);
}

bool CX740PanelApp::SendRequest13(std::uint8_t b0, std::uint8_t b1, std::uint8_t direction,
                                  std::uint8_t length, std::uint8_t code) {
    std::array<std::uint8_t, kRequest13Size> frame{};
    frame[0] = b0;
    frame[1] = b1;
    frame[2] = direction;
    frame[3] = length;
    frame[4] = code;
    linkFailure_ = nullptr;
    port_->CreateChecksum(frame.data(), kRequest13Size);
    return port_->Write(frame.data(), kRequest13Size) || Failed(kNotWritten);
}

bool CX740PanelApp::ReceiveTelegram(std::vector<std::uint8_t>& payload) {
    linkFailure_ = nullptr;
    std::array<std::uint8_t, kTelegramBufferSize> frame{};
    if (!port_->Read(frame.data(), kHeaderSize)) {
        return Failed(kNoReply);
    }
    const int n = frame[3];
    if (n == 0) {
        return Failed("empty reply");
    }
    if (!port_->Read(frame.data() + kHeaderSize, n + 1)) {
        return Failed(kNoReply);
    }
    if (!port_->CheckChecksum(frame.data(), n + kHeaderSize + 1)) {
        return Failed("checksum error");
    }
    if ((frame[2] & kDirDeviceError) != 0) {
        return false;
    }
    payload.assign(frame.begin() + kHeaderSize, frame.begin() + kHeaderSize + n);
    return true;
}

} // namespace x740panel
