#include "morvelan/ui/controller_dlg.h"

#include "morvelan/core/app_hooks.h"
#include "morvelan/core/controller_module.h"
#include "morvelan/core/module_description.h"
#include "morvelan/core/module_tile.h"
#include "morvelan/core/value_entry.h"
#include "morvelan/ui/dialog_templates.h"
#include "morvelan/ui/dialog_util.h"
#include "morvelan/ui/module_dialog_seams.h"
#include "morvelan/ui/value_dlgs.h"
#include "xui/xgrid_ctrl.h"

namespace morvelan {
namespace {

constexpr int kTextHeadings[] = {191, 192, 193};
constexpr int kTextPrefix = 10004;
// The module parameter dialog's Change text, so both dialogs speak one language.
constexpr int kTextChange = 194;

} // namespace

CControllerDlg::CControllerDlg(CModuleTile* tile, CControllerModule& module, QWidget* parent)
    : CXDialog(moduleDialogTemplate(IDD_CONTROLLER), parent), m_Tile(tile), m_Module(module) {}

xui::XGridCtrl* CControllerDlg::grid() const {
    return itemAs<xui::XGridCtrl>(IDC_GRID);
}

bool CControllerDlg::OnInitDialog() {
    if (xui::XGridCtrl* g = grid()) {
        g->SetColumnCount(3);
        g->SetNoFixedColumn();
        const int w = g->width();
        g->SetColumnWidth(0, w / 4);
        g->SetColumnWidth(1, w / 2 - g->GetClientWidth());
        g->SetColumnWidth(2, w / 4);
        g->SetAllRowColors(kCatalogueRowColor);
        g->SetHeaderColor(kHeadingColor);
        g->SetHeaderTextColor(0);
        g->SetSelectionMode(xui::XGridCtrl::kSelectRow);
    }
    Fill();
    const CModuleDescription* d = m_Tile ? m_Tile->Description() : nullptr;
    SetLanguageText(*this, IDC_CHANGE, kTextChange);
    SetItemText(*this, IDC_LABEL_1012, mv::LanguageText(kTextPrefix) + " 0");
    SetItemText(*this, IDC_LABEL_1009, d ? d->m_DisplayName : std::string());
    return true;
}

void CControllerDlg::Fill() {
    xui::XGridCtrl* g = grid();
    if (!g)
        return;
    // Only the channels the controller is written with are listed; a channel without
    // parameters takes one row.
    int rows = 1;
    for (int k = 0; k < m_Module.ChannelCount(); ++k) {
        const CControllerChannel& channel = m_Module.Channel(k);
        if (channel.write == 1)
            rows += channel.params.empty() ? 1 : static_cast<int>(channel.params.size());
    }
    g->SetRowCount(rows);
    int row = 1;
    for (int k = 0; k < m_Module.ChannelCount(); ++k) {
        CControllerChannel& channel = m_Module.Channel(k);
        if (channel.write != 1)
            continue;
        g->SetCellText(0, row, channel.name);
        if (channel.params.empty()) {
            ++row;
            continue;
        }
        const int n = static_cast<int>(channel.params.size());
        for (int i = 0; i < n; ++i, ++row) {
            CControllerParam& param = channel.params[static_cast<std::size_t>(i)];
            if (i < n - 1)
                g->SetCellFlag(0, row, xui::XGridCtrl::kFlagMergeDown);
            g->SetCellText(1, row, param.name);
            g->SetCellText(2, row, ControllerParamText(param));
            g->SetCellData(2, row, &param);
        }
    }
    for (int c = 0; c < 3; ++c)
        g->SetCellText(c, 0, mv::LanguageText(kTextHeadings[c]));
}

void CControllerDlg::OnPaint(mv::Canvas& dc) {
    PaintStaticBox(dc, item(IDC_LABEL_1012), kAlignCentre, xui::kLabelBoxFill, 0, kLabelFrame);
    PaintStaticBox(dc, item(IDC_LABEL_1009), kAlignCentre, xui::kLabelBoxFill, 0, kLabelFrame);
}

void CControllerDlg::OnCommand(int id, int code) {
    if (id == IDC_CHANGE) {
        OnChange();
    } else if (id == IDC_INFO) {
        const CModuleDescription* d = m_Tile ? m_Tile->Description() : nullptr;
        OpenModuleDocumentation(d ? d->m_Description : std::string());
    } else {
        CXDialog::OnCommand(id, code);
    }
}

void CControllerDlg::OnChange() {
    xui::XGridCtrl* g = grid();
    const int row = g ? SelectedRow(*g) : -1;
    if (row < 1)
        return;
    auto* param = static_cast<CControllerParam*>(g->GetCellData(row, 2));
    // A text parameter has no number to change.
    if (!param || !param->IsInteger())
        return;
    CRangeDlg dlg(*param, this);
    dlg.DoModal();
    g->SetCellText(2, row, ControllerParamText(*param));
}

} // namespace morvelan
