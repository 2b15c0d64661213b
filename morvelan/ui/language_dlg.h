// The language dialog: the languages of the language file in a combo box; OK loads the chosen
// one at once and tells the user that a restart shows it everywhere.
#pragma once

#include "morvelan/core/language.h"
#include "xui/xdialog.h"

class QComboBox;

namespace morvelan {

constexpr int kLanguageDlgTemplate = 158;
constexpr int kLanguageCombo = 1014;
constexpr int kLanguageLabel = 1039;
constexpr int kTextLanguageCaption = 240;
constexpr int kTextLanguageLabel = 241;

// The template of the dialog (dialog units).
const xui::DialogTemplate& languageDlgTemplate();

class CLanguageDlg : public xui::CXDialog {
    Q_OBJECT

public:
    CLanguageDlg(mv::CLanguage& language, QWidget* parent = nullptr);

    QComboBox* combo() const;

protected:
    bool OnInitDialog() override;
    void OnPaint(mv::Canvas& dc) override;
    void OnOK() override;

private:
    mv::CLanguage& language_;
};

} // namespace morvelan
