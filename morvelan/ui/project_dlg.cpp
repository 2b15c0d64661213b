#include "morvelan/ui/project_dlg.h"

#include "morvelan/core/morvelan_doc.h"
#include "morvelan/ui/dialog_templates.h"
#include "morvelan/ui/dialog_util.h"
#include "xui/color_sel_edit.h"
#include "xui/colorref.h"

#include <QPlainTextEdit>

namespace morvelan {
namespace {

constexpr int kTextCaption = 220;
constexpr int kLabels[][2] = {
    {IDC_LABEL_1004, 221}, {IDC_LABEL_1034, 222}, {IDC_LABEL_1035, 223}, {IDC_LABEL_1005, 224}};

} // namespace

CProjectDlg::CProjectDlg(CMorvelanDoc& doc, QWidget* parent)
    : CXDialog(moduleDialogTemplate(IDD_PROJECT), parent), m_Doc(doc) {}

bool CProjectDlg::OnInitDialog() {
    for (int id : {IDC_PROJECT_NAME_EDIT, IDC_AUTHOR_EDIT, IDC_COMPANY_EDIT}) {
        if (auto* e = itemAs<xui::CColorSelEdit>(id)) {
            e->SetBkColor(0xFFFFFF);
            e->SetTextColor(0);
        }
    }
    if (auto* comment = itemAs<QPlainTextEdit>(IDC_PROJECT_COMMENT_EDIT)) {
        QPalette p = comment->palette();
        p.setColor(QPalette::Base, Qt::white);
        p.setColor(QPalette::Text, Qt::black);
        comment->setPalette(p);
    }
    SetItemText(*this, IDC_PROJECT_NAME_EDIT, m_Doc.m_Name);
    SetItemText(*this, IDC_AUTHOR_EDIT, m_Doc.m_Author);
    SetItemText(*this, IDC_COMPANY_EDIT, m_Doc.m_Company);
    SetItemText(*this, IDC_PROJECT_COMMENT_EDIT, m_Doc.m_Comment);
    SetLanguageText(*this, 0, kTextCaption);
    for (const auto& label : kLabels)
        SetLanguageText(*this, label[0], label[1]);
    SetLanguageText(*this, mv::IDOK, 10000);
    SetLanguageText(*this, mv::IDCANCEL, 10001);
    return true;
}

void CProjectDlg::OnPaint(mv::Canvas& dc) {
    for (const auto& label : kLabels)
        PaintStaticBox(dc, item(label[0]), kAlignLeft, xui::kLabelBoxFill, 0, kLabelFrame);
}

void CProjectDlg::OnOK() {
    m_Doc.m_Name = ItemText(*this, IDC_PROJECT_NAME_EDIT);
    m_Doc.m_Author = ItemText(*this, IDC_AUTHOR_EDIT);
    m_Doc.m_Company = ItemText(*this, IDC_COMPANY_EDIT);
    m_Doc.m_Comment = ItemText(*this, IDC_PROJECT_COMMENT_EDIT);
    EndDialog(mv::IDOK);
}

} // namespace morvelan
