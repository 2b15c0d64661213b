#include "morvelan/online/upload_dlg.h"

#include "morvelan/core/one_line_text.h"

#include "morvelan/core/description_problems.h"
#include "morvelan/core/module.h"
#include "morvelan/core/module_description.h"
#include "morvelan/core/morvelan_doc.h"
#include "morvelan/core/morvelan_doc_hooks.h"
#include "morvelan/core/one_line_text.h"
#include "morvelan/core/param_number.h"
#include "morvelan/online/online_messages.h"
#include "portwire/include/Portwire.h"
#include "xui/color_sel_edit.h"
#include "xui/command.h"
#include "xui/qt_text.h"
#include "xui/window_class.h"
#include "xui/xgrid_ctrl.h"

#include <algorithm>
#include <array>
#include <memory>

namespace morvelan {

namespace {

constexpr int kColumnType = 0;
constexpr int kColumnName = 1;
constexpr int kRowController = 1;
constexpr int kTypeWidth = 150;
constexpr int kNameWidth = 250;
constexpr mv::COLORREF kRowTextColor = 0xFF0000;
constexpr mv::COLORREF kHeadingColor = 0xFBCCA3;
constexpr int kAlignLeft = 1;
constexpr int kSelectRow = 1;
// The name shown for a module the catalogue lacks.
constexpr const char* kUnknownName = " ???  ";
constexpr const char* kBuildErrorLine2 =
    "                    Wrong or missing KVN-FILE ??                 ";

// Room for the saved configuration behind its reply head.
constexpr int kConfigurationRoom = 256;

// Head kinds: a controller or a picture-only head.
bool IsHeadKind(int kind) {
    return kind == 1 || kind == 5;
}

void ShowUnknownId(std::uint16_t id) {
    mv::AppMessage message = mv::ErrorMessage(mv::LanguageText(kTextUnknownModule),
                                              mv::FormatC("ID = %x", id));
    ShowOnlineMessage(message);
}

} // namespace

const xui::DialogTemplate& uploadDlgTemplate() {
    using namespace mv;
    static const xui::DialogTemplate t = xui::modalDialogTemplate(
        kUploadDlgTemplate, "Upload", 311, 152,
        {
            {"CColorSelEdit", kUploadNameEdit, "", 91, 88, 213, 12,
             WS_CHILD | WS_VISIBLE | WS_TABSTOP | WS_BORDER | ES_AUTOHSCROLL},
            {"CColorSelEdit", kUploadCommentEdit, "", 92, 104, 213, 12,
             WS_CHILD | WS_VISIBLE | WS_TABSTOP | WS_BORDER | ES_AUTOHSCROLL},
            {"Static", kUploadNameLabel, "Name", 7, 88, 77, 12, WS_CHILD | SS_CENTER},
            {"Static", kUploadCommentLabel, "Kommentar", 7, 104, 77, 12, WS_CHILD | SS_CENTER},
            {"Static", -1, "", 7, 121, 297, 1, WS_CHILD | WS_VISIBLE | mv::SS_ETCHEDHORZ},
            {"XGRID", kUploadGrid, "", 7, 7, 297, 77, WS_CHILD | WS_VISIBLE | WS_TABSTOP},
            {"XBUTTON", kUploadNewProject, "Neues Projekt", 7, 131, 83, 14,
             WS_CHILD | WS_VISIBLE | WS_TABSTOP},
            {"XBUTTON", kUploadAdd, "Hinzufuegen", 114, 131, 83, 14,
             WS_CHILD | WS_VISIBLE | WS_TABSTOP},
            {"XBUTTON", IDCANCEL, "Cancel", 221, 131, 83, 14,
             WS_CHILD | WS_VISIBLE | WS_TABSTOP},
        });
    return t;
}

CModuleUploadDlg::CModuleUploadDlg(IUploadHost& host, QWidget* parent)
    : xui::CXDialog(uploadDlgTemplate(), parent), host_(host) {}

xui::XGridCtrl* CModuleUploadDlg::grid() const {
    return itemAs<xui::XGridCtrl>(kUploadGrid);
}

bool CModuleUploadDlg::OnInitDialog() {
    xui::CXDialog::OnInitDialog();
    // The build buttons wait for a known controller in row 1.
    for (int id : {kUploadNewProject, kUploadAdd}) {
        if (QWidget* button = item(id))
            button->setEnabled(false);
    }
    if (xui::XGridCtrl* g = grid()) {
        g->SetColumnCount(2);
        g->SetRowCount(kUploadGridRows);
        g->SetNoFixedColumn();
        g->SetColumnWidth(kColumnType, kTypeWidth);
        g->SetColumnWidth(kColumnName, kNameWidth);
        g->SetAllRowColors(kRowTextColor);
        g->SetCellAlignment(kAlignLeft);
        g->SetSelectionMode(kSelectRow);
        g->SetHeaderColor(kHeadingColor);
    }
    SetTexts();

    const LinkHandle link = host_.Link();
    const std::uint16_t controllerId = A_GetControllerID(link);
    if (controllerId == 0) {
        ShowOnlineError(mv::FormatC("%s : %d", mv::LanguageText(kTextError).c_str(),
                                    static_cast<int>(A_GetLastError())));
        return true;
    }
    const CModuleDescriptionList* catalogue = mv::docHooks().Catalogue();
    const int index = catalogue ? catalogue->FindById(controllerId) : -1;
    const CModuleDescription* controller = index >= 0 ? catalogue->GetAt(index) : nullptr;
    if (!controller || !IsHeadKind(controller->m_Kind)) {
        ShowUnknownId(controllerId);
        xui::postCommandTo(this, mv::IDCANCEL);
        return true;
    }
    if (xui::XGridCtrl* g = grid()) {
        g->SetCellText(kColumnType, kRowController, controller->m_Description);
        g->SetCellText(kColumnName, kRowController, controller->m_DisplayName);
    }
    if (m_Mode == kUploadSaved)
        ReadSavedConfiguration();
    else
        ReadModules();
    for (int id : {kUploadNameEdit, kUploadCommentEdit}) {
        if (auto* edit = itemAs<xui::CColorSelEdit>(id)) {
            edit->SetBkColor(0xFFFFFF);
            edit->SetTextColor(0x000000);
        }
    }
    for (int id : {kUploadNewProject, kUploadAdd}) {
        if (QWidget* button = item(id))
            button->setEnabled(true);
    }
    // Under the automatic online sequence the dialog completes itself, as a click would.
    if (host_.AutoOnline())
        xui::postCommandTo(this, kUploadNewProject);
    return true;
}

void CModuleUploadDlg::SetTexts() {
    setWindowTitle(xui::fromCp1252(mv::LanguageText(kTextUploadCaption)));
    const std::array<std::pair<int, int>, 5> texts{{{kUploadNameLabel, kTextUploadName},
                                                    {kUploadCommentLabel, kTextUploadComment},
                                                    {kUploadNewProject, kTextUploadNewProject},
                                                    {kUploadAdd, kTextUploadAdd},
                                                    {mv::IDCANCEL, kTextCancel}}};
    for (const auto& [id, number] : texts) {
        if (QWidget* control = item(id))
            xui::setWindowText(control, xui::fromCp1252(mv::LanguageText(number)));
    }
    if (xui::XGridCtrl* g = grid()) {
        g->SetCellText(kColumnType, 0, mv::LanguageText(kTextUploadType));
        g->SetCellText(kColumnName, 0, mv::LanguageText(kTextUploadName));
    }
}

void CModuleUploadDlg::OnPaint(mv::Canvas& dc) {
    for (int id : {kUploadNameLabel, kUploadCommentLabel})
        PaintStaticBox(dc, item(id), 6, xui::kLabelBoxFill, 0x000000, 0xFFFFFF);
}

void CModuleUploadDlg::AddListName(const std::string& name) {
    if (static_cast<int>(moduleList_.size()) < kUploadListMax)
        moduleList_.push_back(name);
}

bool CModuleUploadDlg::ListModule(std::uint16_t id, int row) {
    const CModuleDescriptionList* catalogue = mv::docHooks().Catalogue();
    const int index = catalogue ? catalogue->FindById(id) : -1;
    xui::XGridCtrl* g = grid();
    if (index < 0) {
        ShowUnknownId(id);
        return false;
    }
    const CModuleDescription* description = catalogue->GetAt(index);
    if (g) {
        g->SetCellText(kColumnType, row, description->m_Description);
        g->SetCellText(kColumnName, row, description->m_DisplayName);
    }
    AddListName(description->m_Description);
    for (const std::string& filler : FillerNames(id, m_Mode))
        AddListName(filler);
    return true;
}

void CModuleUploadDlg::ReadModules() {
    const LinkHandle link = host_.Link();
    const int n = static_cast<std::int16_t>(A_GetNumberOfModules(link));
    for (int i = 0; i < n; ++i) {
        const std::uint16_t id = A_GetModulID(link, i);
        const int row = nextRow_++;
        if (ListModule(id, row))
            continue;
        listedUnknown_ = true;
        if (xui::XGridCtrl* g = grid()) {
            g->SetCellText(kColumnType, row, kUnknownTypeName);
            g->SetCellText(kColumnName, row, kUnknownName);
        }
        AddListName(kUnknownTypeName);
    }
}

void CModuleUploadDlg::ReadSavedConfiguration() {
    std::uint8_t length = 0;
    std::array<std::uint8_t, kConfigurationRoom> bytes{};
    if (A_ReadModulConfiguration(host_.Link(), &length, bytes.data()) != 1)
        return;
    for (std::uint16_t id : SavedConfigurationIds(bytes.data(), length)) {
        // An unknown ID ends the listing; the station built from it holds no unknown module.
        if (!ListModule(id, nextRow_++))
            break;
    }
}

bool CModuleUploadDlg::BuildProject() {
    // Boards of one damaged type are told once for the whole station.
    mv::CDescriptionReportScope reportScope;
    std::array<std::uint8_t, kUploadParamBytes> params;
    params.fill(kUploadParamFill);
    const LinkHandle link = host_.Link();
    const int read = m_Mode == kUploadSaved ? A_ReadSavedModulParameters(link, params.data())
                                            : A_ReadModulParameters(link, params.data());
    if (read != 1) {
        ShowOnlineError(CommErrorText(A_GetLastError()));
        return false;
    }

    mv::IDocHooks& hooks = mv::docHooks();
    const CModuleDescriptionList* catalogue = hooks.Catalogue();
    const std::string programDir = hooks.ProgramDir();
    CMorvelanDoc& doc = host_.Document();
    auto describe = [&](const std::string& name) -> const CModuleDescription* {
        const int index = catalogue ? catalogue->FindByName(name) : -1;
        return index >= 0 ? catalogue->GetAt(index) : nullptr;
    };

    std::string controllerName;
    if (xui::XGridCtrl* g = grid())
        g->GetCellText(kRowController, kColumnType, controllerName);
    auto head = std::make_unique<CModuleTile>();
    head->Create(describe(controllerName), programDir);
    const int headWidth = head->Module().width;
    head->MoveTo(kRackLeft - host_.ScrollX(), kRackTop - host_.ScrollY(), headWidth, kRackHeight,
                 true);
    CModuleTile* controller = head.get();
    doc.AddModuleToGroup(std::move(head));
    CStation* station = doc.Station(controller->m_Station);
    // A line break pasted into the one-line fields reaches the station as a blank.
    if (auto* edit = itemAs<QLineEdit>(kUploadNameEdit))
        station->m_Name = mv::OneLineText(xui::toCp1252(edit->text()));
    if (auto* edit = itemAs<QLineEdit>(kUploadCommentEdit))
        station->m_Comment = mv::OneLineText(xui::toCp1252(edit->text()));
    controller->m_Slot = 0;
    host_.FillTree();
    host_.RedrawView();
    host_.SelectModul(controller);

    int position = 0;
    int running = 0;
    CModuleTile* last = controller;
    for (const std::string& name : moduleList_) {
        if (name.empty())
            continue;
        const CModuleDescription* description = describe(name);
        // Every board stands at its index - 1, as the project reader and the inserts place it.
        const int slot = station->TileCount() - 1;
        auto board = std::make_unique<CModuleTile>();
        board->Create(description, programDir);
        board->MoveTo(kRackLeft + headWidth + kRackPitch * slot - host_.ScrollX(),
                      kRackTop - host_.ScrollY(), board->Module().width, kRackHeight, false);
        CModuleTile* tile = board.get();
        doc.AddModuleToGroup(std::move(board));
        tile->m_Slot = slot;
        // The tree lists no kind 7 tiles: the last tile it can select is the last of another kind.
        if (tile->m_Kind != kKindFlag2)
            last = tile;
        if (tile->IsInert()) {
            mv::AppMessage message;
            message.line1 = name + ": Data could not be created";
            message.line2 = kBuildErrorLine2;
            message.caption = "ERROR";
            ShowOnlineMessage(message);
            break;
        }
        if (description->m_Id != 0) {
            int count = 0;
            tile->Module().TakeParameterBlock(0, params.data() + position,
                                              kUploadParamBytes - position, count);
            position = std::clamp(position + count, 0, kUploadParamBytes);
            tile->m_Sliders[1] = mv::FormatC("%02d", tile->Module().GetVersion());
        }
        if (tile->m_Kind == kKindChannel || tile->m_Kind == kKindFlagAlt)
            tile->m_OnlineParam = running++;
    }
    host_.FillTree();
    host_.RedrawView();
    host_.SelectModul(last);
    return true;
}

void CModuleUploadDlg::OnCommand(int id, int code) {
    mv::IDocHooks& hooks = mv::docHooks();
    switch (id) {
    case kUploadNewProject:
        if (!item(id) || !item(id)->isEnabled())
            return;
        host_.NewDocument();
        if (BuildProject())
            hooks.SetUnknownModule(listedUnknown_);
        EndDialog(mv::IDOK);
        return;
    case kUploadAdd:
        if (!item(id) || !item(id)->isEnabled())
            return;
        if (BuildProject())
            hooks.SetUnknownModule(hooks.UnknownModule() || listedUnknown_);
        EndDialog(mv::IDOK);
        return;
    default:
        xui::CXDialog::OnCommand(id, code);
    }
}

} // namespace morvelan
