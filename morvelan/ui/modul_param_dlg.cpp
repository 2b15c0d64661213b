#include "morvelan/ui/modul_param_dlg.h"

#include "morvelan/core/app_hooks.h"
#include "morvelan/core/module_description.h"
#include "morvelan/core/module_tile.h"
#include "morvelan/core/param_data_file.h"
#include "morvelan/core/param_number.h"
#include "morvelan/ui/dialog_templates.h"
#include "morvelan/ui/dialog_util.h"
#include "morvelan/ui/module_dialog_seams.h"
#include "xui/bitmaps.h"
#include "xui/message_dlg.h"
#include "xui/xgrid_ctrl.h"

#include <cstring>

namespace morvelan {
namespace {

constexpr int kTextCaption = 190;
constexpr int kTextChange = 194;
constexpr int kTextInfo = 161;
constexpr int kTextLoad = 10021;
constexpr int kTextSave = 10020;
constexpr int kTextOk = 10000;
constexpr int kTextHeadings[] = {191, 192, 193};
constexpr int kTextPrefix = 10004;

void FileError(const std::string& line1, const std::string& line2) {
    xui::MessageRequest r;
    r.line1 = line1;
    r.line2 = line2;
    r.caption = mv::LanguageText(5000);
    r.bitmapId = xui::kBitmapError;
    r.captionColor = xui::kCaptionRed;
    xui::ShowMessage(r);
}

} // namespace

CModulParamDlg::CModulParamDlg(CModuleTile* tile, std::vector<ParamGroup> groups, QWidget* parent)
    : CXDialog(moduleDialogTemplate(IDD_MODUL_PARAM), parent), m_Tile(tile),
      m_Groups(std::move(groups)) {}

xui::XGridCtrl* CModulParamDlg::grid() const {
    return itemAs<xui::XGridCtrl>(IDC_GRID);
}

bool CModulParamDlg::OnInitDialog() {
    if (xui::XGridCtrl* g = grid()) {
        g->SetColumnCount(3);
        g->SetNoFixedColumn();
        const int w = g->width();
        g->SetColumnWidth(0, w / 4);
        g->SetColumnWidth(1, w / 4);
        g->SetColumnWidth(2, w / 2 - g->GetClientWidth());
        g->SetAllRowColors(kCatalogueRowColor);
        g->SetHeaderColor(kHeadingColor);
        g->SetHeaderTextColor(0);
        g->SetSelectionMode(xui::XGridCtrl::kSelectRow);
    }
    Fill();
    SetLanguageText(*this, 0, kTextCaption);
    SetLanguageText(*this, IDC_CHANGE, kTextChange);
    SetLanguageText(*this, mv::IDOK, kTextOk);
    SetLanguageText(*this, IDC_INFO, kTextInfo);
    SetLanguageText(*this, IDC_LOAD_FILE, kTextLoad);
    SetLanguageText(*this, IDC_SAVE_FILE, kTextSave);
    UpdateLabels();
    if (m_Total == 0) {
        if (QWidget* change = item(IDC_CHANGE))
            change->setEnabled(false);
    }
    return true;
}

void CModulParamDlg::Fill() {
    xui::XGridCtrl* g = grid();
    m_Total = ParamCount(m_Groups);
    if (!g)
        return;
    int rows = 1;
    for (const ParamGroup& group : m_Groups)
        rows += group.params.empty() ? 1 : static_cast<int>(group.params.size());
    g->SetRowCount(rows);
    int row = 1;
    for (const ParamGroup& group : m_Groups) {
        g->SetCellText(0, row, group.name);
        if (group.params.empty()) {
            ++row;
            continue;
        }
        const int n = static_cast<int>(group.params.size());
        for (int i = 0; i < n; ++i, ++row) {
            CModulParam* param = group.params[static_cast<std::size_t>(i)];
            if (n >= 2 && i < n - 1)
                g->SetCellFlag(0, row, xui::XGridCtrl::kFlagMergeDown);
            g->SetCellText(1, row, param->name);
            g->SetCellText(2, row, param->GetValueText());
            g->SetCellData(2, row, param);
        }
    }
    for (int c = 0; c < 3; ++c)
        g->SetCellText(c, 0, mv::LanguageText(kTextHeadings[c]));
}

void CModulParamDlg::UpdateLabels() {
    const CModuleDescription* d = m_Tile ? m_Tile->Description() : nullptr;
    const int number = m_Tile ? m_Tile->m_OnlineParam : -1;
    if (number == -1) {
        SetItemText(*this, IDC_LABEL_1012, "----");
        SetItemText(*this, IDC_LABEL_1009, d ? d->m_Description : std::string());
    } else {
        SetItemText(*this, IDC_LABEL_1012,
                    mv::FormatC("%s %d", mv::LanguageText(kTextPrefix).c_str(), number));
        SetItemText(*this, IDC_LABEL_1009, d ? d->m_DisplayName : std::string());
    }
}

void CModulParamDlg::OnPaint(mv::Canvas& dc) {
    PaintStaticBox(dc, item(IDC_LABEL_1012), kAlignCentre, xui::kLabelBoxFill, 0, kLabelFrame);
    PaintStaticBox(dc, item(IDC_LABEL_1009), kAlignCentre, xui::kLabelBoxFill, 0, kLabelFrame);
}

void CModulParamDlg::OnCommand(int id, int code) {
    switch (id) {
    case IDC_CHANGE:
    case IDC_GRID: // a double click in the grid
        OnChange();
        break;
    case IDC_INFO:
        OnInfo();
        break;
    case IDC_SAVE_FILE:
        OnSave();
        break;
    case IDC_LOAD_FILE:
        OnLoad();
        break;
    default:
        CXDialog::OnCommand(id, code);
        break;
    }
}

void CModulParamDlg::OnChange() {
    xui::XGridCtrl* g = grid();
    QWidget* change = item(IDC_CHANGE);
    if (!g || (change && !change->isEnabled()))
        return;
    const int row = SelectedRow(*g);
    if (row < 1)
        return;
    auto* param = static_cast<CModulParam*>(g->GetCellData(row, 2));
    if (!param)
        return;
    param->EditValue();
    g->SetCellText(2, row, param->GetValueText());
}

void CModulParamDlg::OnInfo() {
    const CModuleDescription* d = m_Tile ? m_Tile->Description() : nullptr;
    OpenModuleDocumentation(d ? d->m_Description : std::string());
}

std::string CModulParamDlg::DescriptionFile() const {
    const CModuleDescription* d = m_Tile ? m_Tile->Description() : nullptr;
    return d ? d->m_FileName : std::string();
}

void CModulParamDlg::OnSave() {
    FileDialogSpec wanted;
    wanted.save = true;
    wanted.filter = kParamDataFilter;
    wanted.defaultExtension = kParamDataExtension;
    wanted.overwritePrompt = true;
    const std::string path = ChooseFile(wanted, this);
    if (path.empty())
        return;
    if (!WriteParamDataFile(path, DescriptionFile(), m_Groups))
        FileError(kErrorCreatingFile, path);
}

void CModulParamDlg::OnLoad() {
    FileDialogSpec wanted;
    wanted.filter = kParamDataFilter;
    const std::string path = ChooseFile(wanted, this);
    if (path.empty())
        return;
    const std::string own = DescriptionFile();
    const ParamDataResult r = ReadParamDataFile(path, own, m_Groups);
    switch (r.status) {
    case ParamDataRead::CannotOpen:
        FileError(kErrorReadingFile, path);
        return;
    case ParamDataRead::OtherType:
        FileError(kErrorReadingFile, own + " <-> " + r.firstLine);
        return;
    case ParamDataRead::Short:
        FileError(kErrorReadingFile, "");
        Fill(); // the grid shows what the module now holds
        return;
    case ParamDataRead::Ok:
        Fill();
        return;
    }
}

} // namespace morvelan
