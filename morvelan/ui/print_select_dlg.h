// CPrintSelectDlg: the printer, what to print (project page, labels of the project, of the
// selected tile's station or of the selected module), paper, copies and label frames; OK prints
// on the chosen printer or opens the page preview (the dialog then stays open).
#pragma once

#include "morvelan/ui/print_dialog_ids.h"
#include "xui/xdialog.h"

class QComboBox;
class QLineEdit;
class QAbstractButton;

namespace morvelan {

class CPrintSession;

class CPrintSelectDlg : public xui::CXDialog {
    Q_OBJECT

public:
    explicit CPrintSelectDlg(CPrintSession& session, QWidget* parent = nullptr);

    QComboBox* printerCombo() const;
    QComboBox* paperCombo() const;
    QLineEdit* edit(int id) const;
    QAbstractButton* button(int id) const;
    // The print mode of the checked radio button (0 .. 3).
    int SelectedMode() const;

protected:
    bool OnInitDialog() override;
    void OnPaint(mv::Canvas& dc) override;
    void OnCommand(int id, int code) override;
    void OnOK() override;

private:
    // Enables the user size items while "User" is selected.
    void UpdateUserItems();
    // Disables the frame option for the project page.
    void UpdateFrameOption();
    // A number of a digits-only edit within 1 .. max; otherwise the message and false.
    bool ReadNumber(int id, int max, int& value);

    CPrintSession& session_;
};

} // namespace morvelan
