#include "morvelan/ui/port_select_dlg.h"

#include "morvelan/ui/dialog_templates.h"
#include "morvelan/ui/dialog_util.h"
#include "platform/com_ports.h"
#include "xui/colorref.h"

#include <QRadioButton>

namespace morvelan {
namespace {

constexpr int kTextCaption = 140;
constexpr int kTextGroup = 141;
// Radio button and device label of each choice 1 .. 5 (the network has no device).
constexpr int kRadios[] = {IDC_COM1, IDC_COM2, IDC_COM3, IDC_COM4, IDC_NET};
constexpr int kDevices[] = {IDC_COM1_DEVICE, IDC_COM2_DEVICE, IDC_COM3_DEVICE, IDC_COM4_DEVICE};

void WhiteOnBackground(QWidget* w) {
    if (!w)
        return;
    QPalette p = w->palette();
    p.setColor(QPalette::WindowText, Qt::white);
    p.setColor(QPalette::Window, xui::toQColor(xui::kDialogBackground));
    w->setPalette(p);
}

} // namespace

CPortSelectDlg::CPortSelectDlg(int& choice, QWidget* parent)
    : CXDialog(moduleDialogTemplate(IDD_PORT_SELECT), parent), m_Choice(choice) {}

QRadioButton* CPortSelectDlg::radio(int choice) const {
    if (choice < kPortCom1 || choice > kPortNet)
        return nullptr;
    return itemAs<QRadioButton>(kRadios[choice - 1]);
}

bool CPortSelectDlg::OnInitDialog() {
    if (QRadioButton* r = radio(m_Choice))
        r->setChecked(true);
    for (int id = IDC_COM1; id <= IDC_NET; ++id)
        WhiteOnBackground(item(id));
    for (int n = 0; n < 4; ++n) {
        SetItemText(*this, kDevices[n], mv::comPortDevice(n + 1));
        WhiteOnBackground(item(kDevices[n]));
    }
    SetLanguageText(*this, 0, kTextCaption);
    SetLanguageText(*this, IDC_GROUP_1046, kTextGroup);
    SetLanguageText(*this, mv::IDOK, 10000);
    return true;
}

void CPortSelectDlg::OnCommand(int id, int code) {
    for (int n = 0; n < 5; ++n) {
        if (id == kRadios[n]) {
            m_Choice = n + 1;
            return;
        }
    }
    CXDialog::OnCommand(id, code);
}

} // namespace morvelan
