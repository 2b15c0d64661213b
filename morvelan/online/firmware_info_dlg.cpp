#include "morvelan/online/firmware_info_dlg.h"

#include "morvelan/core/app_hooks.h"
#include "xui/qt_text.h"
#include "xui/window_class.h"

#include <QLineEdit>

namespace morvelan {

namespace {

constexpr int kMaxText = 255;
constexpr int kAlignLeft = 0;

} // namespace

const xui::DialogTemplate& firmwareInfoTemplate() {
    using namespace mv;
    constexpr std::uint32_t kEdit = WS_CHILD | WS_VISIBLE | WS_TABSTOP | WS_BORDER | ES_AUTOHSCROLL;
    static const xui::DialogTemplate t = xui::modalDialogTemplate(
        kFirmwareInfoTemplate, "Firmware", 257, 84,
        {
            // The labels are painted by the dialog as label boxes.
            {"Edit", kFwFirmwareEdit, "", 92, 7, 158, 12, kEdit},
            {"Static", kFwFirmwareLabel, "Firmware", 7, 7, 85, 12, WS_CHILD | SS_LEFT},
            {"Edit", kFwDateEdit, "", 92, 24, 158, 12, kEdit},
            {"Static", kFwDateLabel, "Datum", 7, 24, 85, 12, WS_CHILD | SS_LEFT},
            {"Edit", kFwVersionEdit, "", 92, 41, 158, 12, kEdit},
            {"Static", kFwVersionLabel, "Version", 7, 41, 85, 12, WS_CHILD | SS_LEFT},
            {"Static", -1, "", 7, 58, 243, 1, WS_CHILD | WS_VISIBLE | 0x10},
            {"XBUTTON", IDOK, "OK", 186, 63, 64, 14, WS_CHILD | WS_VISIBLE | WS_TABSTOP},
        });
    return t;
}

CFirmwareInfoDlg::CFirmwareInfoDlg(QWidget* parent)
    : xui::CXDialog(firmwareInfoTemplate(), parent) {}

bool CFirmwareInfoDlg::OnInitDialog() {
    xui::CXDialog::OnInitDialog();
    setWindowTitle(xui::fromCp1252(mv::LanguageText(kTextFirmwareCaption)));
    const std::pair<int, int> labels[] = {{kFwFirmwareLabel, kTextFirmwareLabel},
                                          {kFwDateLabel, kTextDateLabel},
                                          {kFwVersionLabel, kTextVersionLabel},
                                          {mv::IDOK, 10000}};
    for (const auto& [id, number] : labels) {
        if (QWidget* w = item(id))
            xui::setWindowText(w, xui::fromCp1252(mv::LanguageText(number)));
    }
    const std::pair<int, const std::string*> edits[] = {
        {kFwDateEdit, &m_Text1050}, {kFwFirmwareEdit, &m_Text1053}, {kFwVersionEdit, &m_Text1051}};
    for (const auto& [id, text] : edits) {
        if (auto* e = itemAs<QLineEdit>(id)) {
            e->setMaxLength(kMaxText);
            e->setText(xui::fromCp1252(text->substr(0, kMaxText)));
        }
    }
    return true;
}

void CFirmwareInfoDlg::OnPaint(mv::Canvas& dc) {
    xui::CXDialog::OnPaint(dc);
    for (int id : {kFwFirmwareLabel, kFwDateLabel, kFwVersionLabel}) {
        if (QWidget* w = item(id))
            PaintStaticBox(dc, w, kAlignLeft, xui::kLabelBoxFill, 0x000000, 0x000000);
    }
}

} // namespace morvelan
