#include "panel/ui/prompts.h"

#include "panel/ui/panel_templates.h"
#include "xui/qt_text.h"
#include "xui/window_class.h"

namespace x740panel {

void PaintLabels(xui::CXDialog& dlg, mv::Canvas& dc, std::initializer_list<int> ids) {
    for (int id : ids) {
        if (QWidget* label = dlg.item(id)) {
            dlg.PaintStaticBox(dc, label, 0, xui::kLabelBoxFill, 0, 0xFFFFFF);
        }
    }
}

namespace {
std::string Text(const xui::CXDialog& dlg, int id) {
    return xui::toCp1252(xui::windowText(dlg.item(id)));
}
void SetText(xui::CXDialog& dlg, int id, const std::string& text) {
    xui::setWindowText(dlg.item(id), xui::fromCp1252(text));
}
} // namespace

CSSIIndexDlg::CSSIIndexDlg(QWidget* parent) : CXDialog(kSsiIndexDlgTemplate, parent) {}

bool CSSIIndexDlg::OnInitDialog() {
    SetText(*this, kPromptEdit1Id, m_Index);
    return true;
}

void CSSIIndexDlg::OnPaint(mv::Canvas& dc) {
    PaintLabels(*this, dc, {kPromptTextId, kPromptLabel1Id});
}

void CSSIIndexDlg::OnOK() {
    m_Index = Text(*this, kPromptEdit1Id);
    CXDialog::OnOK();
}

CCamBlockDlg::CCamBlockDlg(QWidget* parent) : CXDialog(kCamBlockDlgTemplate, parent) {}

bool CCamBlockDlg::OnInitDialog() {
    SetText(*this, kPromptEdit1Id, m_Block);
    SetText(*this, kPromptEdit2Id, m_BitOffset);
    bitShown_ = m_BitOffset != "-1";
    item(kPromptEdit2Id)->setVisible(bitShown_);
    return true;
}

void CCamBlockDlg::OnPaint(mv::Canvas& dc) {
    if (bitShown_) {
        PaintLabels(*this, dc, {kPromptTextId, kPromptLabel1Id, kPromptLabel2Id});
    } else {
        PaintLabels(*this, dc, {kPromptTextId, kPromptLabel1Id});
    }
}

void CCamBlockDlg::OnOK() {
    m_Block = Text(*this, kPromptEdit1Id);
    m_BitOffset = Text(*this, kPromptEdit2Id);
    CXDialog::OnOK();
}

} // namespace x740panel
