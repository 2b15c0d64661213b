#include "morvelan/ui/ip_dlgs.h"

#include "morvelan/core/app_hooks.h"
#include "morvelan/core/param_number.h"
#include "morvelan/ui/dialog_templates.h"
#include "morvelan/ui/dialog_util.h"
#include "morvelan/ui/value_dlgs.h"
#include "xui/bitmaps.h"
#include "xui/color_sel_edit.h"
#include "xui/ip_address_ctrl.h"
#include "xui/message_dlg.h"

namespace morvelan {

// ---- IP address (180) ----

CIpDlg::CIpDlg(CModulParam& param, QWidget* parent)
    : CXDialog(moduleDialogTemplate(IDD_IP), parent), m_Param(param) {}

xui::CIpAddressCtrl* CIpDlg::address() const {
    return itemAs<xui::CIpAddressCtrl>(IDC_IP_ADDRESS);
}

bool CIpDlg::OnInitDialog() {
    if (xui::CIpAddressCtrl* a = address())
        a->SetAddress(static_cast<std::uint32_t>(m_Param.value));
    SetItemText(*this, IDC_LABEL_1004, m_Param.name);
    return true;
}

void CIpDlg::OnPaint(mv::Canvas& dc) {
    PaintStaticBox(dc, item(IDC_LABEL_1004), kAlignCentre, xui::kLabelBoxFill, 0, kLabelFrame);
}

void CIpDlg::OnOK() {
    std::uint32_t value = 0;
    if (xui::CIpAddressCtrl* a = address())
        a->GetAddress(value);
    m_Param.value = static_cast<std::int32_t>(value);
    EndDialog(mv::IDOK);
}

// ---- IP address and port (181) ----

CIpPortDlg::CIpPortDlg(std::uint32_t& ip, int& port, QWidget* parent)
    : CXDialog(moduleDialogTemplate(IDD_IP_PORT), parent), m_Ip(ip), m_Port(port) {}

xui::CIpAddressCtrl* CIpPortDlg::address() const {
    return itemAs<xui::CIpAddressCtrl>(IDC_IP_PORT_ADDRESS);
}

bool CIpPortDlg::OnInitDialog() {
    if (xui::CIpAddressCtrl* a = address())
        a->SetAddress(m_Ip);
    if (auto* e = itemAs<xui::CColorSelEdit>(IDC_PORT_EDIT))
        e->SetAllowedChars(xui::CColorSelEdit::kDecimalChars);
    SetItemText(*this, IDC_PORT_EDIT, mv::FormatC("%d", m_Port));
    return true;
}

void CIpPortDlg::OnPaint(mv::Canvas& dc) {
    PaintStaticBox(dc, item(IDC_IP_LABEL), kAlignCentre, xui::kLabelBoxFill, 0, kLabelFrame);
    PaintStaticBox(dc, item(IDC_PORT_LABEL), kAlignCentre, xui::kLabelBoxFill, 0, kLabelFrame);
}

void CIpPortDlg::OnOK() {
    // Read in 64 bits: a port beyond 65535 is refused, never wrapped.
    const std::int64_t port = mv::ParseLongC(ItemText(*this, IDC_PORT_EDIT));
    if (port > kMaxPort || port < 0) {
        xui::MessageRequest r;
        r.line1 = mv::LanguageText(kTextAboveMaximum);
        r.caption = mv::LanguageText(5000);
        r.bitmapId = xui::kBitmapError;
        r.captionColor = xui::kCaptionRed;
        xui::ShowMessage(r);
        return;
    }
    std::uint32_t ip = 0;
    if (xui::CIpAddressCtrl* a = address())
        a->GetAddress(ip);
    m_Ip = ip;
    m_Port = static_cast<int>(port);
    EndDialog(mv::IDOK);
}

} // namespace morvelan
