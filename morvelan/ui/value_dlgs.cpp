#include "morvelan/ui/value_dlgs.h"

#include "morvelan/core/app_hooks.h"
#include "morvelan/core/controller_module.h"
#include "morvelan/core/param_number.h"
#include "platform/sys_colors.h"
#include "morvelan/ui/dialog_templates.h"
#include "morvelan/ui/dialog_util.h"
#include "xui/bitmaps.h"
#include "xui/color_combo_box.h"
#include "xui/color_sel_edit.h"
#include "xui/color_static.h"
#include "xui/message_dlg.h"
#include "xui/qt_text.h"

#include <QRadioButton>

#include <limits>

namespace morvelan {
namespace {

constexpr int kTextCaption = 230;
constexpr int kTextOk = 10000;
constexpr int kTextCancel = 10001;

void ValueTexts(xui::CXDialog& d) {
    SetLanguageText(d, 0, kTextCaption);
    SetLanguageText(d, mv::IDOK, kTextOk);
    SetLanguageText(d, mv::IDCANCEL, kTextCancel);
}

void PaintName(xui::CXDialog& d, mv::Canvas& dc) {
    d.PaintStaticBox(dc, d.item(IDC_LABEL_1004), kAlignCentre, xui::kLabelBoxFill, 0, kLabelFrame);
}

void LimitMessage(int textNumber) {
    xui::MessageRequest r;
    r.line1 = mv::LanguageText(textNumber);
    r.caption = mv::LanguageText(5000);
    r.bitmapId = xui::kBitmapError;
    r.captionColor = xui::kCaptionRed;
    xui::ShowMessage(r);
}

} // namespace

// ---- choice (144) ----

CChoiceDlg::CChoiceDlg(CModulParam& param, QWidget* parent)
    : CXDialog(moduleDialogTemplate(IDD_CHOICE), parent), m_Param(param) {}

xui::CColorComboBox* CChoiceDlg::combo() const {
    return itemAs<xui::CColorComboBox>(IDC_CHOICE_COMBO);
}

bool CChoiceDlg::OnInitDialog() {
    if (xui::CColorComboBox* c = combo()) {
        for (const CParamChoice& choice : m_Param.choices)
            c->addItem(xui::fromCp1252(choice.name));
        c->setCurrentIndex(c->count() > 0 ? 0 : -1);
    }
    SetItemText(*this, IDC_LABEL_1004, m_Param.name);
    ValueTexts(*this);
    return true;
}

void CChoiceDlg::OnPaint(mv::Canvas& dc) {
    PaintName(*this, dc);
}

void CChoiceDlg::OnOK() {
    const int index = combo() ? combo()->currentIndex() : -1;
    if (index >= 0 && index < static_cast<int>(m_Param.choices.size()))
        m_Param.value = m_Param.choices[static_cast<std::size_t>(index)].value;
    EndDialog(mv::IDOK);
}

// ---- on/off (146) ----

CFlagValueDlg::CFlagValueDlg(CModulParam& param, QWidget* parent)
    : CXDialog(moduleDialogTemplate(IDD_FLAG_VALUE), parent), m_Param(param) {}

QRadioButton* CFlagValueDlg::radio(int id) const {
    return itemAs<QRadioButton>(id);
}

bool CFlagValueDlg::OnInitDialog() {
    ValueTexts(*this);
    SetLanguageText(*this, IDC_RADIO_ON, kTextTrue);
    SetLanguageText(*this, IDC_RADIO_OFF, kTextFalse);
    // Transparent on the dialog's colour, in the normal text colour.
    for (int id : {IDC_RADIO_ON, IDC_RADIO_OFF})
        SetTransparentControl(item(id), mv::GetSysColor(mv::COLOR_WINDOWTEXT),
                              xui::kDialogBackground);
    SetItemText(*this, IDC_LABEL_1004, m_Param.name);
    if (QRadioButton* on = radio(IDC_RADIO_ON))
        on->setChecked(m_Param.value == 1);
    if (QRadioButton* off = radio(IDC_RADIO_OFF))
        off->setChecked(m_Param.value != 1);
    return true;
}

void CFlagValueDlg::OnPaint(mv::Canvas& dc) {
    PaintName(*this, dc);
}

void CFlagValueDlg::OnOK() {
    const QRadioButton* on = radio(IDC_RADIO_ON);
    m_Param.value = on && on->isChecked() ? 1 : 0;
    EndDialog(mv::IDOK);
}

// ---- range (147) ----

CRangeDlg::CRangeDlg(CModulParam& param, QWidget* parent)
    : CXDialog(moduleDialogTemplate(IDD_RANGE), parent), m_Param(&param), m_Mode(0) {}

CRangeDlg::CRangeDlg(CControllerParam& value, QWidget* parent)
    : CXDialog(moduleDialogTemplate(IDD_RANGE), parent), m_Value(&value), m_Mode(1) {}

xui::CColorSelEdit* CRangeDlg::edit() const {
    return itemAs<xui::CColorSelEdit>(IDC_VALUE_EDIT);
}

bool CRangeDlg::OnInitDialog() {
    if (xui::CColorSelEdit* e = edit()) {
        e->SetBkColor(0xFFFFFF);
        e->SetTextColor(0);
        e->SetAllowedChars(kValueEntryChars);
    }
    for (int id : {IDC_MIN_VALUE, IDC_MIN_CAPTION, IDC_MAX_VALUE, IDC_MAX_CAPTION}) {
        if (auto* s = itemAs<xui::CColorStatic>(id)) {
            s->SetBkColor(xui::kDialogBackground);
            s->SetTextColor(0xFFFFFF);
        }
    }
    bool hex = false;
    std::int64_t value = 0;
    std::string shown;
    if (m_Mode == 0) {
        m_Limits = ParamLimits(*m_Param);
        shown = m_Param->GetValueText();
        SetItemText(*this, IDC_LABEL_1004, m_Param->name);
    } else {
        m_Limits = ControllerParamLimits(*m_Value);
        hex = IsHexParam(*m_Value);
        value = ControllerParamValue(*m_Value);
        // Over the whole unsigned range the value is shown unsigned.
        if (m_Limits.maximum > std::numeric_limits<std::int32_t>::max())
            value = static_cast<std::uint32_t>(value);
        shown = ValueEntryText(value, hex);
    }
    SetItemText(*this, IDC_VALUE_EDIT, shown);
    SetItemText(*this, IDC_MIN_VALUE, ValueEntryText(m_Limits.minimum, hex));
    SetItemText(*this, IDC_MAX_VALUE, ValueEntryText(m_Limits.maximum, hex));
    ValueTexts(*this);
    return true;
}

void CRangeDlg::OnPaint(mv::Canvas& dc) {
    if (m_Mode == 0)
        PaintName(*this, dc);
}

void CRangeDlg::OnOK() {
    const std::int64_t v = ParseValueEntry(ItemText(*this, IDC_VALUE_EDIT));
    if (v < m_Limits.minimum) {
        LimitMessage(kTextBelowMinimum);
        return;
    }
    if (v > m_Limits.maximum) {
        LimitMessage(kTextAboveMaximum);
        return;
    }
    if (m_Mode == 0)
        m_Param->value = static_cast<std::int32_t>(v);
    else
        SetControllerParamValue(*m_Value, v);
    EndDialog(mv::IDOK);
}

} // namespace morvelan
