#include "morvelan/ui/modul_list_dlg.h"

#include "morvelan/core/app_hooks.h"
#include "morvelan/core/module.h"
#include "morvelan/core/module_description.h"
#include "morvelan/core/param_number.h"
#include "morvelan/ui/dialog_templates.h"
#include "morvelan/ui/dialog_util.h"
#include "morvelan/ui/module_dialog_seams.h"
#include "xui/colorref.h"
#include "xui/xgrid_ctrl.h"

#include <QCloseEvent>

namespace morvelan {
namespace {

constexpr int kTextCaption = 160;
constexpr int kTextInformation = 161;
constexpr int kTextGroup = 163;
constexpr int kTextCount = 164;
constexpr int kTextHeadings[] = {165, 166, 167};
constexpr int kTextOk = 10000;
constexpr int kWidths[] = {150, 300, 133};
constexpr mv::COLORREF kGridLines = 0xC0C0C0;

bool Listed(int kind) {
    return kind == kKindController || kind == kKindChannel || kind == kKindBitmap;
}

} // namespace

CModulListDlg::CModulListDlg(const CModuleDescriptionList& catalogue, bool pictureInformation,
                             QWidget* parent)
    : CXDialog(moduleDialogTemplate(IDD_MODUL_LIST), parent), m_Catalogue(catalogue),
      m_PictureInformation(pictureInformation) {}

xui::XGridCtrl* CModulListDlg::grid() const {
    return itemAs<xui::XGridCtrl>(IDC_GRID);
}

bool CModulListDlg::OnInitDialog() {
    if (xui::XGridCtrl* g = grid()) {
        const int rows = m_Catalogue.GetSize() + 1;
        g->SetColumnCount(3);
        g->SetRowCount(rows);
        for (int c = 0; c < 3; ++c)
            g->SetColumnWidth(c, kWidths[c]);
        g->SetNoFixedColumn();
        g->SetAllRowColors(0);
        g->SetHeaderColor(kHeadingColor);
        g->SetHeaderTextColor(0);
        int row = 1;
        for (int i = 0; i < m_Catalogue.GetSize(); ++i) {
            const CModuleDescription* d = m_Catalogue.GetAt(i);
            if (!d || !Listed(d->m_Kind))
                continue;
            g->SetRowColor(row, kCatalogueRowColor);
            g->SetCellText(0, row, d->m_Description);
            g->SetCellText(1, row, d->m_DisplayName);
            g->SetCellText(2, row, d->m_FileName);
            ++row;
        }
        for (int c = 0; c < 3; ++c)
            g->SetCellText(c, 0, mv::LanguageText(kTextHeadings[c]));
        g->SetGridLineColor(kGridLines);
        g->SetCellAlignment(xui::XGridCtrl::kAlignLeft);
        g->SetSelectionMode(xui::XGridCtrl::kSelectRow);
    }
    SetItemText(*this, IDC_COUNT_LABEL, mv::FormatC("%d", m_Catalogue.GetSize()));
    SetLanguageText(*this, 0, kTextCaption);
    SetLanguageText(*this, IDC_GROUP_1046, kTextGroup);
    SetLanguageText(*this, IDC_LABEL_1055, kTextCount);
    SetLanguageText(*this, mv::IDOK, kTextOk);
    SetLanguageText(*this, mv::IDCANCEL, kTextInformation);
    if (QWidget* box = item(IDC_GROUP_1046)) {
        QPalette p = box->palette();
        p.setColor(QPalette::WindowText, Qt::white);
        p.setColor(QPalette::Window, xui::toQColor(xui::kDialogBackground));
        box->setPalette(p);
    }
    return true;
}

void CModulListDlg::OnPaint(mv::Canvas& dc) {
    PaintStaticBox(dc, item(IDC_LABEL_1055), kAlignCentre, xui::kLabelBoxFill, 0, kLabelFrame);
    PaintStaticBox(dc, item(IDC_COUNT_LABEL), kAlignCentre, xui::kLabelBoxFill, 0, kLabelFrame);
}

void CModulListDlg::OnCommand(int id, int code) {
    // Button 2 shows the module information; the list stays open.
    if (id == mv::IDCANCEL)
        OnModuleInformation();
    else
        CXDialog::OnCommand(id, code);
}

void CModulListDlg::closeEvent(QCloseEvent* e) {
    e->ignore();
    if (isVisible())
        EndDialog(mv::IDCANCEL);
}

void CModulListDlg::OnModuleInformation() {
    xui::XGridCtrl* g = grid();
    const int row = g ? SelectedRow(*g) : -1;
    if (row < 1)
        return;
    const std::string name = CellText(*g, row, 0);
    if (name.empty())
        return;
    if (m_PictureInformation)
        ShowModuleInformation(name, this);
    else
        OpenModuleDocumentation(name);
}

} // namespace morvelan
