#include "morvelan/ui/print_select_dlg.h"

#include "morvelan/core/paper_sizes.h"
#include "morvelan/core/param_number.h"
#include "morvelan/ui/dialog_util.h"
#include "morvelan/ui/print_preview_dlg.h"
#include "morvelan/ui/print_session.h"
#include "xui/bitmaps.h"
#include "xui/color_sel_edit.h"
#include "xui/colorref.h"
#include "xui/message_dlg.h"
#include "xui/qt_text.h"
#include "xui/window_class.h"

#include <QAbstractButton>
#include <QComboBox>
#include <QLineEdit>

#include <algorithm>

namespace morvelan {
namespace {

constexpr mv::COLORREF kSelectBackground = 0xDEBF97;
constexpr mv::COLORREF kEditBackground = 0xFFFFFF;
constexpr mv::COLORREF kErrorCaptionColor = 255;
// A number longer than this is taken as too large without converting it.
constexpr std::size_t kMaxDigits = 6;

// The radio buttons in print mode order.
constexpr int kModeRadios[4] = {kRadioProjectPage, kRadioProjectLabels, kRadioControllerLabels,
                                kRadioModuleLabels};

// Controls drawn in black on the dialog's colour.
constexpr int kColouredControls[] = {
    kRadioProjectPage, kRadioProjectLabels, kRadioControllerLabels, kRadioModuleLabels,
    kPreviewCheck,     kFrameCheck,         kWidthLabel,            kHeightLabel,
    kWidthUnit,        kHeightUnit,         kPrinterGroup,          kNameLabel,
    kRangeGroup,       kCopiesGroup,        kCountLabel,            kPaperGroup,
    kSizeLabel,
};

// Control texts from the language table.
constexpr int kControlTexts[][2] = {
    {kPreviewCheck, kTextPreview},          {kRadioProjectPage, kTextProjectPage},
    {kRadioProjectLabels, kTextProjectLabels}, {kRadioControllerLabels, kTextControllerLabels},
    {kRadioModuleLabels, kTextModuleLabels}, {kWidthLabel, kTextWidth},
    {kHeightLabel, kTextHeight},            {kFrameCheck, kTextFrame},
    {kPrinterGroup, kTextPrinter},          {kNameLabel, kTextName},
    {kRangeGroup, kTextRange},              {kCopiesGroup, kTextCopies},
    {kCountLabel, kTextCount},              {kPaperGroup, kTextPaper},
    {kSizeLabel, kTextSize},                {mv::IDOK, kTextOk},
    {mv::IDCANCEL, kTextCancel},
};

void ShowRefusal(int text) {
    xui::MessageRequest r;
    r.line1 = mv::LanguageText(text);
    r.caption = mv::LanguageText(5000);
    r.bitmapId = xui::kBitmapError;
    r.buttonMode = xui::kMessageOk;
    r.captionColor = kErrorCaptionColor;
    xui::ShowMessage(r);
}

} // namespace

CPrintSelectDlg::CPrintSelectDlg(CPrintSession& session, QWidget* parent)
    : xui::CXDialog(printSelectDlgTemplate(), parent), session_(session) {
    SetBackColor(kSelectBackground);
}

QComboBox* CPrintSelectDlg::printerCombo() const { return itemAs<QComboBox>(kPrinterCombo); }
QComboBox* CPrintSelectDlg::paperCombo() const { return itemAs<QComboBox>(kPaperCombo); }
QLineEdit* CPrintSelectDlg::edit(int id) const { return itemAs<QLineEdit>(id); }
QAbstractButton* CPrintSelectDlg::button(int id) const { return itemAs<QAbstractButton>(id); }

int CPrintSelectDlg::SelectedMode() const {
    for (int mode = 0; mode < 4; ++mode) {
        if (QAbstractButton* b = button(kModeRadios[mode]); b && b->isChecked())
            return mode;
    }
    return mv::kPrintProjectLabels;
}

bool CPrintSelectDlg::OnInitDialog() {
    xui::CXDialog::OnInitDialog();
    setWindowTitle(xui::fromCp1252(mv::LanguageText(kTextPrintCaption)));
    for (const auto& t : kControlTexts)
        xui::setWindowText(item(t[0]), xui::fromCp1252(mv::LanguageText(t[1])));
    // The controls stand on what is behind them (the dialog's colour, or a group's inside).
    for (int id : kColouredControls)
        SetTransparentControl(item(id), 0, kSelectBackground);
    if (QComboBox* c = printerCombo()) {
        c->blockSignals(true);
        int current = -1;
        for (int i = 0; i < session_.printers.GetCount(); ++i) {
            c->addItem(xui::fromCp1252(session_.printers.GetName(i)));
            if (current < 0 && session_.current.HasPrinter() &&
                session_.printers.GetName(i) == session_.current.m_DeviceName)
                current = i;
        }
        c->setCurrentIndex(current);
        c->blockSignals(false);
    }
    const auto& paper = session_.app.m_PaperSize;
    if (QComboBox* c = paperCombo()) {
        c->blockSignals(true);
        for (const char* text : mv::kPaperTexts)
            c->addItem(xui::fromCp1252(text));
        c->setCurrentIndex(std::clamp<int>(paper[0], 0, mv::kPaperCount - 1));
        c->blockSignals(false);
    }
    for (int id : {kCopiesEdit, kUserWidthEdit, kUserHeightEdit}) {
        if (auto* e = itemAs<xui::CColorSelEdit>(id)) {
            e->SetAllowedChars(xui::CColorSelEdit::kDecimalChars);
            e->SetBkColor(kEditBackground);
        }
    }
    if (QLineEdit* e = edit(kCopiesEdit))
        e->setText(QStringLiteral("1"));
    if (QLineEdit* e = edit(kUserWidthEdit))
        e->setText(QString::number(paper[1]));
    if (QLineEdit* e = edit(kUserHeightEdit))
        e->setText(QString::number(paper[2]));
    const int mode = std::clamp(session_.app.m_PrintMode, 0, 3);
    if (QAbstractButton* b = button(kModeRadios[mode]))
        b->setChecked(true);
    UpdateUserItems();
    UpdateFrameOption();
    return true;
}

void CPrintSelectDlg::UpdateUserItems() {
    const bool user = paperCombo() && paperCombo()->currentIndex() == mv::kPaperUser;
    for (int id : {kUserWidthEdit, kUserHeightEdit, kWidthLabel, kHeightLabel, kWidthUnit,
                   kHeightUnit}) {
        if (QWidget* w = item(id))
            w->setEnabled(user);
    }
}

void CPrintSelectDlg::UpdateFrameOption() {
    if (QAbstractButton* frame = button(kFrameCheck))
        frame->setEnabled(SelectedMode() != mv::kPrintProjectPage);
}

void CPrintSelectDlg::OnPaint(mv::Canvas& /*dc*/) {}

void CPrintSelectDlg::OnCommand(int id, int code) {
    switch (id) {
    case kPaperCombo:
        UpdateUserItems();
        return;
    case kRadioProjectPage:
    case kRadioProjectLabels:
    case kRadioControllerLabels:
    case kRadioModuleLabels:
        UpdateFrameOption();
        return;
    default:
        xui::CXDialog::OnCommand(id, code);
    }
}

bool CPrintSelectDlg::ReadNumber(int id, int max, int& value) {
    const std::string text = edit(id) ? xui::toCp1252(edit(id)->text()) : std::string();
    const bool digits = !text.empty() && std::all_of(text.begin(), text.end(), [](char c) {
        return c >= '0' && c <= '9';
    });
    const std::size_t first = text.find_first_not_of('0');
    if (!digits || first == std::string::npos) {
        ShowRefusal(kTextTooSmall);
        return false;
    }
    if (text.size() - first > kMaxDigits || mv::ParseLongC(text.substr(first)) > max) {
        ShowRefusal(kTextTooLarge);
        return false;
    }
    value = static_cast<int>(mv::ParseLongC(text.substr(first)));
    return true;
}

void CPrintSelectDlg::OnOK() {
    const int printer = printerCombo() ? printerCombo()->currentIndex() : -1;
    if (printer < 0)
        return;
    const int paper = paperCombo() ? paperCombo()->currentIndex() : mv::kPaperA4;
    auto& stored = session_.app.m_PaperSize;
    int width = stored[1];
    int height = stored[2];
    if (paper == mv::kPaperUser && (!ReadNumber(kUserWidthEdit, mv::kUserPaperMax, width) ||
                                    !ReadNumber(kUserHeightEdit, mv::kUserPaperMax, height)))
        return;
    int copies = 1;
    if (!ReadNumber(kCopiesEdit, kMaxCopies, copies))
        return;
    if (!session_.SelectPrinter(printer))
        return;
    stored = {paper, width, height};
    const int mode = SelectedMode();
    session_.app.m_PrintMode = mode;
    const QAbstractButton* frame = button(kFrameCheck);
    const int boxes = frame && frame->isChecked() ? 1 : 0;
    const QAbstractButton* preview = button(kPreviewCheck);
    if (preview && preview->isChecked()) {
        session_.state.preview = 1;
        CPrintPreviewDlg dlg(session_, mode + 1, copies, paper, width, height, this);
        dlg.DoModal();
        return;
    }
    session_.state.preview = 0;
    if (session_.Print(mode, boxes, copies, mv::PaperSize(paper, width, height)) !=
        PrintOutcome::NotStarted)
        EndDialog(mv::IDOK);
}

} // namespace morvelan
