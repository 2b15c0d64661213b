// The online port dialog (template 163): COM1 to COM4 or the network, with the device each COM
// port stands for beside its radio button. The choice takes effect at the click.
#pragma once

#include "xui/xdialog.h"

class QRadioButton;

namespace morvelan {

// Port choices.
constexpr int kPortCom1 = 1;
constexpr int kPortNet = 5;

class CPortSelectDlg : public xui::CXDialog {
    Q_OBJECT

public:
    explicit CPortSelectDlg(int& choice, QWidget* parent = nullptr);
    QRadioButton* radio(int choice) const;

protected:
    bool OnInitDialog() override;
    void OnCommand(int id, int code) override;

private:
    int& m_Choice;
};

} // namespace morvelan
