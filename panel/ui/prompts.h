// The number prompts of the panel's commands: CSSIIndexDlg ("SSI Interface") and
// CCamBlockDlg ("CAM Blocknumber", with the bit offset field shown unless its text is "-1").
#pragma once

#include "xui/xdialog.h"

#include <string>

namespace x740panel {

class CSSIIndexDlg : public xui::CXDialog {
    Q_OBJECT

public:
    explicit CSSIIndexDlg(QWidget* parent = nullptr);
    std::string m_Index;

protected:
    bool OnInitDialog() override;
    void OnPaint(mv::Canvas& dc) override;
    void OnOK() override;
};

class CCamBlockDlg : public xui::CXDialog {
    Q_OBJECT

public:
    explicit CCamBlockDlg(QWidget* parent = nullptr);
    std::string m_Block;
    std::string m_BitOffset;

protected:
    bool OnInitDialog() override;
    void OnPaint(mv::Canvas& dc) override;
    void OnOK() override;

private:
    bool bitShown_ = false;
};

// Paints the prompt text and the field labels of a prompt as label boxes. Their statics are
// hidden placeholders that keep text and place, so each label is drawn once.
void PaintLabels(xui::CXDialog& dlg, mv::Canvas& dc, std::initializer_list<int> ids);

} // namespace x740panel
