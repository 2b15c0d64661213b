// The address dialogs: a parameter whose value is an IPv4 address (template 180), and the
// address and port a TCP/IP connection is opened with (181). Addresses are 32-bit values with
// the first octet in the highest byte.
#pragma once

#include "morvelan/core/param_record.h"
#include "xui/xdialog.h"

#include <cstdint>

namespace xui {
class CIpAddressCtrl;
}

namespace morvelan {

class CIpDlg : public xui::CXDialog {
    Q_OBJECT

public:
    explicit CIpDlg(CModulParam& param, QWidget* parent = nullptr);
    xui::CIpAddressCtrl* address() const;

protected:
    bool OnInitDialog() override;
    void OnPaint(mv::Canvas& dc) override;
    void OnOK() override;

private:
    CModulParam& m_Param;
};

// Highest port number the port dialog accepts.
constexpr std::int64_t kMaxPort = 65535;

class CIpPortDlg : public xui::CXDialog {
    Q_OBJECT

public:
    CIpPortDlg(std::uint32_t& ip, int& port, QWidget* parent = nullptr);
    xui::CIpAddressCtrl* address() const;

protected:
    bool OnInitDialog() override;
    void OnPaint(mv::Canvas& dc) override;
    void OnOK() override;

private:
    std::uint32_t& m_Ip;
    int& m_Port;
};

} // namespace morvelan
