#include "panel/ui/ip_data_dlg.h"

#include "panel/core/config_records.h"
#include "panel/core/panel_app.h"
#include "panel/core/text_parsers.h"
#include "panel/ui/panel_message.h"
#include "panel/ui/panel_templates.h"
#include "panel/ui/prompts.h"
#include "platform/ini_file.h"
#include "platform/win_path.h"
#include "services/include/X740_Core.h"
#include "xui/colorref.h"
#include "xui/ip_address_ctrl.h"
#include "xui/qt_text.h"
#include "xui/window_class.h"

#include <QCheckBox>
#include <QLineEdit>

#include <cstdio>

namespace x740panel {
namespace {

constexpr const char* kCaption = "IP Data";

struct AddressField {
    int id;
    const char* label;
};
constexpr AddressField kAddressFields[] = {
    {kIpAddressId, "IP: Adresse"},
    {kSubnetMaskId, "IP: Subnet Mask"},
    {kGatewayId, "IP: Gateway"},
};

} // namespace

std::string PadSerialNumber(const std::string& text) {
    std::string serial = text.substr(0, kSerialEditMax);
    if (serial.size() < kSerialLength) {
        serial.insert(0, kSerialLength - serial.size(), '0');
    }
    return serial;
}

CIPDataDlg::CIPDataDlg(QWidget* parent) : CXDialog(kIpDataDlgTemplate, parent) {}

xui::CIpAddressCtrl* CIPDataDlg::Address(int id) const {
    return itemAs<xui::CIpAddressCtrl>(id);
}

bool CIPDataDlg::OnInitDialog() {
    CX740PanelApp& app = theApp();
    auto* serial = itemAs<QLineEdit>(kSerialEditId);
    if (serial != nullptr) {
        serial->setMaxLength(kSerialEditMax);
    }
    if (auto* check = itemAs<QCheckBox>(kUseDhcpId); check != nullptr) {
        // The check box sits on a label box of its own colour (a button fills its background
        // from the button role unless told otherwise).
        QPalette palette = check->palette();
        palette.setColor(QPalette::Window, xui::toQColor(xui::kLabelBoxFill));
        check->setPalette(palette);
        check->setBackgroundRole(QPalette::Window);
        check->setAutoFillBackground(true);
    }
    app.ReadInstallDir();
    if (!app.m_InstallDir.empty()) {
        const std::string file = mv::joinPath(app.m_InstallDir, kSettingsFileName);
        if (mv::GetPrivateProfileIntA("SETUP", "SET_SERIAL", 0, file.c_str()) == 1 &&
            serial != nullptr) {
            serial->setEnabled(true);
        }
    }

    ModuleConfigRecord config;
    readOk_ = config.Read(app.m_Handle);
    if (!readOk_) {
        return true; // the controller gave no values: the fields stay empty
    }
    const char* texts[] = {config.ipAddress, config.subnetMask, config.gateway};
    for (std::size_t i = 0; i < 3; ++i) {
        std::uint32_t value = 0;
        if (ParseIpAddress(texts[i], value) != 0 && Address(kAddressFields[i].id) != nullptr) {
            Address(kAddressFields[i].id)->SetAddress(value);
        }
    }
    if (serial != nullptr) {
        serial->setText(xui::fromCp1252(config.serial));
    }
    if (auto* check = itemAs<QCheckBox>(kUseDhcpId); check != nullptr) {
        check->setChecked(config.dhcp == 1);
    }
    return true;
}

void CIPDataDlg::OnPaint(mv::Canvas& dc) {
    PaintLabels(*this, dc, {kSerialLabelId, kIpAddressLabelId, kSubnetMaskLabelId, kGatewayLabelId});
}

void CIPDataDlg::OnOK() {
    const std::string typed = xui::toCp1252(xui::windowText(item(kSerialEditId)));
    // Without values from the controller a serial number is asked for only where it can be
    // typed; a locked field sends the padded blank as the controller would have it.
    const QWidget* serialEdit = item(kSerialEditId);
    if (!readOk_ && typed.empty() && serialEdit != nullptr && serialEdit->isEnabled()) {
        ShowPanelMessage(kCaption, "Please enter the serial number", false);
        return;
    }
    std::string addresses[3];
    for (std::size_t i = 0; i < 3; ++i) {
        xui::CIpAddressCtrl* control = Address(kAddressFields[i].id);
        // The address itself is needed; a blank mask or gateway is 0.0.0.0.
        if (control == nullptr || (i == 0 && control->IsBlank())) {
            ShowPanelMessage(kCaption, std::string("Please enter ") + kAddressFields[i].label,
                             false);
            return;
        }
        std::uint8_t f[4] = {};
        control->GetAddress(f[0], f[1], f[2], f[3]);
        char text[20];
        std::snprintf(text, sizeof text, "%d.%d.%d.%d", f[0], f[1], f[2], f[3]);
        addresses[i] = text;
    }
    const std::string serial = PadSerialNumber(typed).substr(0, kSerialLength);
    auto* check = itemAs<QCheckBox>(kUseDhcpId);
    const int dhcp = check != nullptr && check->isChecked() ? 1 : 0;

    const LinkHandle h = theApp().m_Handle;
    if (A_X740_WriteModulConfig(h, serial.c_str(), addresses[0].c_str(), addresses[1].c_str(),
                                addresses[2].c_str(), dhcp) != 1) {
        EndDialog(kIpDataFailed);
        return;
    }
    SystemConfigRecord system;
    if (system.Read(h)) {
        std::snprintf(system.serial, sizeof system.serial, "%s", serial.c_str());
        system.Write(h);
    }
    EndDialog(kIpDataWritten);
}

} // namespace x740panel
