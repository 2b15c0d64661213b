// CIPDataDlg ("IP Data"): writes the controller's serial number, IP address, subnet mask,
// gateway and DHCP flag, and copies the serial number into the system configuration.
// Ends with kIpDataWritten, kIpDataFailed, or IDCANCEL (2) when the user cancelled.
#pragma once

#include "xui/xdialog.h"

namespace xui {
class CIpAddressCtrl;
}

namespace x740panel {

inline constexpr int kIpDataWritten = 1;
inline constexpr int kIpDataFailed = 3;
// Characters the serial number edit takes, and the serial's length on the wire.
inline constexpr int kSerialEditMax = 19;
inline constexpr std::size_t kSerialLength = 8;

// The serial number as sent: padded on the left with "0" to eight characters.
std::string PadSerialNumber(const std::string& text);

class CIPDataDlg : public xui::CXDialog {
    Q_OBJECT

public:
    explicit CIPDataDlg(QWidget* parent = nullptr);

protected:
    bool OnInitDialog() override;
    void OnPaint(mv::Canvas& dc) override;
    void OnOK() override;

private:
    xui::CIpAddressCtrl* Address(int id) const;
    bool readOk_ = false;
};

} // namespace x740panel
