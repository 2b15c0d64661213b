// The project properties dialog (template 157): project name, author, company and comment of
// the document.
#pragma once

#include "xui/xdialog.h"

class CMorvelanDoc;

namespace morvelan {

class CProjectDlg : public xui::CXDialog {
    Q_OBJECT

public:
    explicit CProjectDlg(CMorvelanDoc& doc, QWidget* parent = nullptr);

protected:
    bool OnInitDialog() override;
    void OnPaint(mv::Canvas& dc) override;
    void OnOK() override;

private:
    CMorvelanDoc& m_Doc;
};

} // namespace morvelan
