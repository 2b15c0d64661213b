#include "morvelan/ui/module_insert_dlgs.h"

#include "morvelan/core/app_hooks.h"
#include "morvelan/core/description_problems.h"
#include "morvelan/core/module_description.h"
#include "morvelan/core/module_tile.h"
#include "morvelan/core/morvelan_doc.h"
#include "morvelan/core/station.h"
#include "morvelan/ui/dialog_templates.h"
#include "morvelan/ui/dialog_util.h"
#include "xui/color_sel_edit.h"
#include "xui/xgrid_ctrl.h"

namespace morvelan {
namespace {

// Language texts.
constexpr int kTextInsertCaption = 110;
constexpr int kTextInsertName = 111;
constexpr int kTextInsertComment = 113;
constexpr int kTextInsertHead0 = 114;
constexpr int kTextInsertHead1 = 115;
constexpr int kTextAddCaption = 120;
constexpr int kTextAddSource = 121;
constexpr int kTextAddChosen = 122;
constexpr int kTextAdd = 123;
constexpr int kTextDelete = 124;
constexpr int kTextAddHead0 = 125;
constexpr int kTextAddHead1 = 126;
constexpr int kTextChangeCaption = 150;
constexpr int kTextChangeName = 151;
constexpr int kTextChangeComment = 153;
constexpr int kTextChangeHead0 = 154;
constexpr int kTextChangeHead1 = 155;
constexpr int kTextOk = 10000;
constexpr int kTextCancel = 10001;

// Grid column widths.
constexpr int kInsertWidths[] = {150, 284};
constexpr int kBoardWidths[] = {100, 250};
constexpr int kChosenWidth = 130;

bool IsHeadKind(int kind) {
    return kind == kKindController || kind == kKindBitmap;
}

void WhiteEdit(xui::CXDialog& d, int id) {
    if (auto* e = d.itemAs<xui::CColorSelEdit>(id)) {
        e->SetBkColor(0xFFFFFF);
        e->SetTextColor(0);
    }
}

// Fills a two-column catalogue grid with the descriptions whose kind `wanted` accepts.
template <class Wanted>
void FillCatalogue(xui::XGridCtrl& grid, const CModuleDescriptionList& catalogue, int rows,
                   Wanted wanted) {
    int row = 1;
    for (int i = 0; i < catalogue.GetSize() && row < rows; ++i) {
        const CModuleDescription* d = catalogue.GetAt(i);
        if (!d || !wanted(d->m_Kind))
            continue;
        grid.SetCellText(0, row, d->m_Description);
        grid.SetCellText(1, row, d->m_DisplayName);
        ++row;
    }
}

// A tile made for a catalogue entry, placed in the rack view.
std::unique_ptr<CModuleTile> MakeTile(IModuleWorkspace& workspace,
                                      const CModuleDescription* description, int x, bool show) {
    auto tile = std::make_unique<CModuleTile>();
    tile->Create(description, workspace.ProgramDir());
    tile->MoveTo(x, kRackTop - workspace.VerticalScroll(), tile->Module().width, kRackHeight, show);
    return tile;
}

} // namespace

CStation* CurrentStation(IModuleWorkspace& workspace, int* index) {
    if (index)
        *index = -1;
    CMorvelanDoc* doc = workspace.Document();
    CModuleTile* selected = workspace.SelectedTile();
    if (!doc || !selected)
        return nullptr;
    for (int s = 0; s < doc->StationCount(); ++s) {
        CStation* station = doc->Station(s);
        if (station && station->IndexOf(selected) >= 0) {
            if (index)
                *index = s;
            return station;
        }
    }
    return nullptr;
}

// ---- insert control module (139) ----

CInsertControlModuleDlg::CInsertControlModuleDlg(const CModuleDescriptionList& catalogue,
                                                 IModuleWorkspace& workspace, QWidget* parent)
    : CXDialog(moduleDialogTemplate(IDD_INSERT_CONTROL_MODULE), parent), m_Catalogue(catalogue),
      m_Workspace(workspace) {}

xui::XGridCtrl* CInsertControlModuleDlg::grid() const {
    return itemAs<xui::XGridCtrl>(IDC_SOURCE_GRID);
}

bool CInsertControlModuleDlg::OnInitDialog() {
    WhiteEdit(*this, IDC_NAME_EDIT);
    WhiteEdit(*this, IDC_COMMENT_EDIT);
    if (xui::XGridCtrl* g = grid()) {
        const int rows = m_Catalogue.m_ControllerCount + 1;
        g->SetColumnCount(2);
        g->SetRowCount(rows);
        g->SetColumnWidth(0, kInsertWidths[0]);
        g->SetColumnWidth(1, kInsertWidths[1]);
        SetListStyle(*g, kCatalogueRowColor);
        FillCatalogue(*g, m_Catalogue, rows, IsHeadKind);
        g->SetCellText(0, 0, mv::LanguageText(kTextInsertHead0));
        g->SetCellText(1, 0, mv::LanguageText(kTextInsertHead1));
    }
    SetLanguageText(*this, 0, kTextInsertCaption);
    SetLanguageText(*this, IDC_LABEL_1004, kTextInsertName);
    SetLanguageText(*this, IDC_LABEL_1005, kTextInsertComment);
    SetLanguageText(*this, mv::IDOK, kTextOk);
    SetLanguageText(*this, mv::IDCANCEL, kTextCancel);
    return true;
}

void CInsertControlModuleDlg::OnPaint(mv::Canvas& dc) {
    PaintStaticBox(dc, item(IDC_LABEL_1004), kAlignLeft, xui::kLabelBoxFill, 0, kLabelFrame);
    PaintStaticBox(dc, item(IDC_LABEL_1005), kAlignLeft, xui::kLabelBoxFill, 0, kLabelFrame);
}

void CInsertControlModuleDlg::OnOK() {
    xui::XGridCtrl* g = grid();
    CMorvelanDoc* doc = m_Workspace.Document();
    const int row = g ? SelectedRow(*g) : -1;
    if (row < 1 || !doc)
        return;
    const int index = m_Catalogue.FindByName(CellText(*g, row, 0));
    if (index < 0)
        return;
    m_Chosen = index;
    auto tile = MakeTile(m_Workspace, m_Catalogue.GetAt(index),
                         kRackLeft - m_Workspace.HorizontalScroll(), true);
    CModuleTile* raw = tile.get();
    doc->AddModuleToGroup(std::move(tile));
    if (CStation* station = doc->Station(raw->m_Station)) {
        station->m_Name = ItemText(*this, IDC_NAME_EDIT);
        station->m_Comment = ItemText(*this, IDC_COMMENT_EDIT);
    }
    raw->m_Slot = 0;
    m_NewTile = raw;
    m_Workspace.FillTree();
    m_Workspace.RepaintView();
    m_Workspace.SelectModul(raw);
    EndDialog(mv::IDOK);
}

// ---- add modules (140) ----

CAddModulesDlg::CAddModulesDlg(const CModuleDescriptionList& catalogue, IModuleWorkspace& workspace,
                               QWidget* parent)
    : CXDialog(moduleDialogTemplate(IDD_ADD_MODULES), parent), m_Catalogue(catalogue),
      m_Workspace(workspace) {}

xui::XGridCtrl* CAddModulesDlg::source() const {
    return itemAs<xui::XGridCtrl>(IDC_SOURCE_GRID);
}
xui::XGridCtrl* CAddModulesDlg::chosen() const {
    return itemAs<xui::XGridCtrl>(IDC_DEST_GRID);
}

bool CAddModulesDlg::OnInitDialog() {
    if (xui::XGridCtrl* g = source()) {
        const int rows = m_Catalogue.m_BoardCount + 1;
        g->SetColumnCount(2);
        g->SetRowCount(rows);
        g->SetColumnWidth(0, kBoardWidths[0]);
        g->SetColumnWidth(1, kBoardWidths[1]);
        SetListStyle(*g, kCatalogueRowColor);
        FillCatalogue(*g, m_Catalogue, rows, [](int kind) { return kind == kKindChannel; });
        g->SetCellText(0, 0, mv::LanguageText(kTextAddHead0));
        g->SetCellText(1, 0, mv::LanguageText(kTextAddHead1));
    }
    if (xui::XGridCtrl* g = chosen()) {
        g->SetColumnCount(1);
        g->SetRowCount(kChosenRows);
        g->SetColumnWidth(0, kChosenWidth);
        SetListStyle(*g, 0);
        g->SetCellAlignment(xui::XGridCtrl::kAlignCentre);
        g->SetCellText(0, 0, mv::LanguageText(kTextAddHead0));
    }
    SetLanguageText(*this, 0, kTextAddCaption);
    SetLanguageText(*this, IDC_LABEL_1009, kTextAddSource);
    SetLanguageText(*this, IDC_LABEL_1010, kTextAddChosen);
    SetLanguageText(*this, IDC_ADD, kTextAdd);
    SetLanguageText(*this, IDC_DELETE, kTextDelete);
    SetLanguageText(*this, mv::IDOK, kTextOk);
    SetLanguageText(*this, mv::IDCANCEL, kTextCancel);
    return true;
}

void CAddModulesDlg::OnPaint(mv::Canvas& dc) {
    PaintStaticBox(dc, item(IDC_LABEL_1009), kAlignCentre, xui::kLabelBoxFill, 0, kLabelFrame);
    PaintStaticBox(dc, item(IDC_LABEL_1010), kAlignCentre, xui::kLabelBoxFill, 0, kLabelFrame);
}

void CAddModulesDlg::OnCommand(int id, int code) {
    if (id == IDC_ADD)
        OnAdd();
    else if (id == IDC_DELETE)
        OnDelete();
    else
        CXDialog::OnCommand(id, code);
}

void CAddModulesDlg::OnAdd() {
    xui::XGridCtrl* from = source();
    xui::XGridCtrl* to = chosen();
    if (!from || !to)
        return;
    const int row = SelectedRow(*from);
    if (row < 1 || m_Count + 1 >= to->rowCount())
        return;
    const std::string name = CellText(*from, row, 0);
    if (name.empty())
        return;
    ++m_Count;
    to->SetRowColor(m_Count, kCatalogueRowColor);
    to->SetCellText(0, m_Count, name);
}

void CAddModulesDlg::OnDelete() {
    xui::XGridCtrl* to = chosen();
    if (!to)
        return;
    // Only a row that holds a chosen board is deleted, so the count stays in step.
    const int row = SelectedRow(*to);
    if (row < 1 || row > m_Count || CellText(*to, row, 0).empty())
        return;
    --m_Count;
    to->DeleteRow(row);
}

void CAddModulesDlg::OnOK() {
    // Boards of one damaged type are told once for the whole insert.
    mv::CDescriptionReportScope reportScope;
    CMorvelanDoc* doc = m_Workspace.Document();
    CStation* station = CurrentStation(m_Workspace);
    xui::XGridCtrl* to = chosen();
    if (!doc || !station || station->TileCount() == 0 || !to) {
        EndDialog(mv::IDCANCEL);
        return;
    }
    const int base = station->Tile(0)->Module().width + kRackLeft;
    CModuleTile* last = nullptr;
    for (int row = 1; row < to->rowCount(); ++row) {
        const std::string name = CellText(*to, row, 0);
        if (name.empty())
            break;
        const int index = m_Catalogue.FindByName(name);
        if (index < 0)
            continue;
        const int n = station->TileCount();
        auto tile =
            MakeTile(m_Workspace, m_Catalogue.GetAt(index),
                     base + n * kRackPitch - kRackPitch - m_Workspace.HorizontalScroll(), false);
        CModuleTile* raw = tile.get();
        doc->AddModuleToGroup(std::move(tile));
        raw->m_Slot = n - 1;
        last = raw;
    }
    m_Workspace.FillTree();
    m_Workspace.RepaintView();
    if (last)
        m_Workspace.SelectModul(last);
    EndDialog(mv::IDOK);
}

void CAddModulesDlg::OnCancel() {
    m_Workspace.FillTree();
    m_Workspace.RepaintView();
    EndDialog(mv::IDCANCEL);
}

// ---- change module (172) ----

CChangeModuleDlg::CChangeModuleDlg(CStation& station, QWidget* parent)
    : CXDialog(moduleDialogTemplate(IDD_CHANGE_MODULE), parent), m_Station(station) {}

xui::XGridCtrl* CChangeModuleDlg::grid() const {
    return itemAs<xui::XGridCtrl>(IDC_SOURCE_GRID);
}

bool CChangeModuleDlg::OnInitDialog() {
    WhiteEdit(*this, IDC_NAME_EDIT);
    WhiteEdit(*this, IDC_COMMENT_EDIT);
    if (xui::XGridCtrl* g = grid()) {
        g->SetColumnCount(2);
        g->SetRowCount(2);
        g->SetColumnWidth(0, kBoardWidths[0]);
        g->SetColumnWidth(1, kBoardWidths[1]);
        SetListStyle(*g, kCatalogueRowColor);
        const CModuleTile* head = m_Station.Tile(0);
        if (head && head->Description()) {
            g->SetCellText(0, 1, head->Description()->m_Description);
            g->SetCellText(1, 1, head->Description()->m_DisplayName);
        }
        g->SetCellText(0, 0, mv::LanguageText(kTextChangeHead0));
        g->SetCellText(1, 0, mv::LanguageText(kTextChangeHead1));
    }
    SetItemText(*this, IDC_NAME_EDIT, m_Station.m_Name);
    SetItemText(*this, IDC_COMMENT_EDIT, m_Station.m_Comment);
    SetLanguageText(*this, 0, kTextChangeCaption);
    SetLanguageText(*this, IDC_LABEL_1004, kTextChangeName);
    SetLanguageText(*this, IDC_LABEL_1005, kTextChangeComment);
    SetLanguageText(*this, mv::IDOK, kTextOk);
    SetLanguageText(*this, mv::IDCANCEL, kTextCancel);
    return true;
}

void CChangeModuleDlg::OnPaint(mv::Canvas& dc) {
    PaintStaticBox(dc, item(IDC_LABEL_1004), kAlignLeft, xui::kLabelBoxFill, 0, kLabelFrame);
    PaintStaticBox(dc, item(IDC_LABEL_1005), kAlignLeft, xui::kLabelBoxFill, 0, kLabelFrame);
}

void CChangeModuleDlg::OnOK() {
    m_Station.m_Name = ItemText(*this, IDC_NAME_EDIT);
    m_Station.m_Comment = ItemText(*this, IDC_COMMENT_EDIT);
    EndDialog(mv::IDOK);
}

} // namespace morvelan
