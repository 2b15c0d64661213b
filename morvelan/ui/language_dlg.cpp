#include "morvelan/ui/language_dlg.h"

#include "xui/bitmaps.h"
#include "xui/message_dlg.h"
#include "xui/qt_text.h"
#include "xui/window_class.h"

#include <QComboBox>

namespace morvelan {
namespace {

// The combo box of the dialog as the language table's list.
class ComboList final : public mv::LanguageList {
public:
    explicit ComboList(QComboBox* combo) : combo_(combo) {}
    void ResetContent() override { combo_->clear(); }
    void AddString(const std::string& text) override { combo_->addItem(xui::fromCp1252(text)); }
    void SetCurSel(int index) override { combo_->setCurrentIndex(index); }

private:
    QComboBox* combo_;
};

} // namespace

const xui::DialogTemplate& languageDlgTemplate() {
    using namespace mv;
    static const xui::DialogTemplate t = xui::modalDialogTemplate(
        kLanguageDlgTemplate, "Sprache w\xE4hlen", 160, 70,
        {
            {"Static", kLanguageLabel, "Sprache", 7, 7, 146, 12, WS_CHILD | SS_CENTER},
            {"ComboBox", kLanguageCombo, "", 7, 25, 146, 60,
             WS_CHILD | WS_VISIBLE | WS_TABSTOP | WS_VSCROLL | CBS_DROPDOWNLIST},
            {"XBUTTON", IDOK, "OK", 7, 49, 64, 14, WS_CHILD | WS_VISIBLE | WS_TABSTOP},
            {"XBUTTON", IDCANCEL, "Abbrechen", 89, 49, 64, 14,
             WS_CHILD | WS_VISIBLE | WS_TABSTOP},
        });
    return t;
}

CLanguageDlg::CLanguageDlg(mv::CLanguage& language, QWidget* parent)
    : xui::CXDialog(languageDlgTemplate(), parent), language_(language) {}

QComboBox* CLanguageDlg::combo() const { return itemAs<QComboBox>(kLanguageCombo); }

bool CLanguageDlg::OnInitDialog() {
    xui::CXDialog::OnInitDialog();
    if (QComboBox* c = combo()) {
        ComboList list(c);
        language_.FillLanguageCombo(list);
    }
    setWindowTitle(xui::fromCp1252(language_.GetText(kTextLanguageCaption)));
    xui::setWindowText(item(kLanguageLabel),
                       xui::fromCp1252(language_.GetText(kTextLanguageLabel)));
    return true;
}

void CLanguageDlg::OnPaint(mv::Canvas& dc) {
    PaintStaticBox(dc, item(kLanguageLabel), 6, xui::kLabelBoxFill, 0, 0xFFFFFF);
}

void CLanguageDlg::OnOK() {
    const std::string chosen = combo() != nullptr ? xui::toCp1252(combo()->currentText()) : "";
    EndDialog(mv::IDOK);
    language_.Load(chosen);
    xui::MessageRequest msg;
    msg.line1 = "Please restart software to use new language";
    msg.caption = "Language";
    msg.bitmapId = xui::kBitmapInformation;
    msg.buttonMode = xui::kMessageOk;
    msg.captionColor = xui::kCaptionDarkBlue;
    xui::ShowMessage(msg);
}

} // namespace morvelan
