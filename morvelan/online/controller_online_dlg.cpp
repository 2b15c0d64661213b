#include "morvelan/online/controller_online_dlg.h"

#include "catalogue/module_description.h"
#include "morvelan/core/app_hooks.h"
#include "morvelan/core/connection.h"
#include "morvelan/core/controller_module.h"
#include "morvelan/online/online_messages.h"
#include "morvelan/online/service_library.h"
#include "morvelan/core/param_number.h"
#include "xui/qt_text.h"
#include "portwire/include/Portwire.h"
#include "xui/command.h"
#include "xui/owner_button.h"
#include "xui/xbutton.h"
#include "xui/window_class.h"
#include "xui/xgrid_ctrl.h"

#include <array>
#include <cstring>

namespace morvelan {

namespace {

constexpr int kTabWidth = 100;
constexpr int kTabsShown = 3;
constexpr int kGridRows = 100;
constexpr int kReplyRoom = 512;
constexpr int kZeroTerminatedType = 99;

} // namespace

const xui::DialogTemplate& controllerOnlineTemplate() {
    using namespace mv;
    constexpr std::uint32_t kButton = WS_CHILD | WS_VISIBLE | WS_TABSTOP;
    static const xui::DialogTemplate t = xui::modalDialogTemplate(
        kControllerOnlineTemplate, "Controller", 425, 182,
        {
            {"Static", kCtlTitle, "", 7, 7, 234, 15, WS_CHILD | WS_VISIBLE},
            {"XGRID", kCtlGrid, "", 7, 40, 235, 135, kButton},
            {"Static", kCtlTabStrip, "", 7, 22, 234, 17, WS_CHILD | WS_VISIBLE},
            {"XBUTTON", kCtlSave, "Parameter speichern", 248, 23, 84, 19, kButton},
            {"XBUTTON", kCtlFieldbusOn, "Feldbus ein", 334, 23, 84, 19, kButton},
            {"XBUTTON", kCtlClear, "Parameter l\xF6schen", 248, 43, 84, 19, kButton},
            {"XBUTTON", kCtlFieldbusOff, "Feldbus aus", 334, 43, 84, 19, kButton},
            {"XBUTTON", kCtlAdvanced, "Advanced", 248, 70, 84, 19, kButton},
            {"XBUTTON", kCtlErrorInfo, "Error Info", 334, 70, 84, 19, kButton},
            {"XBUTTON", IDOK, "OK", 248, 92, 170, 19, kButton},
            {"XBUTTON", kCtlMemory, "Memory", 248, 156, 84, 19, kButton},
            {"XBUTTON", kCtlScrollRight, ">", 224, 24, 15, 14, kButton},
            {"XBUTTON", kCtlScrollLeft, "<", 208, 24, 15, 14, kButton},
        });
    return t;
}

std::string FormatMasterValue(const std::uint8_t* reply, int length, int offset, int type,
                              bool hex) {
    // A value the reply does not hold in full shows as not read; so does a negative offset.
    const auto notRead = [] { return mv::LanguageText(kTextValueNotRead); };
    if (offset < 0 || offset >= length)
        return notRead();
    const std::uint8_t* p = reply + offset;
    const int room = length - offset;
    switch (type) {
    case 1:
        return hex ? mv::FormatC("%02XH", p[0]) : mv::FormatC("%d", p[0]);
    case 2: {
        if (room < 2)
            return notRead();
        const unsigned v = p[0] | (p[1] << 8);
        return hex ? mv::FormatC("%04XH", v) : mv::FormatC("%d", v);
    }
    case 4: {
        if (room < 4)
            return notRead();
        const std::uint32_t v = p[0] | (p[1] << 8) | (p[2] << 16) | (std::uint32_t(p[3]) << 24);
        return hex ? mv::FormatC("%08XH", v) : mv::FormatC("%d", static_cast<std::int32_t>(v));
    }
    default:
        break;
    }
    if (type < 1)
        return {};
    // Texts end at their length, their zero byte or the end of the reply, whichever is first.
    int n = type >= kZeroTerminatedType ? room : std::min(type, room);
    const void* zero = std::memchr(p, 0, static_cast<std::size_t>(n));
    if (zero)
        n = static_cast<int>(static_cast<const std::uint8_t*>(zero) - p);
    return std::string(reinterpret_cast<const char*>(p), static_cast<std::size_t>(n));
}

CControllerOnlineDlg::CControllerOnlineDlg(IControllerOnlineHost& host, CControllerModule& module,
                                           const CModuleDescription* description, QWidget* parent)
    : xui::CXDialog(controllerOnlineTemplate(), parent), host_(host), module_(module),
      description_(description) {}

CControllerOnlineDlg::~CControllerOnlineDlg() {
    DeleteTabs();
}

xui::XGridCtrl* CControllerOnlineDlg::grid() const {
    return itemAs<xui::XGridCtrl>(kCtlGrid);
}

std::string CControllerOnlineDlg::Cell(int column, int row) const {
    std::string text;
    if (xui::XGridCtrl* g = grid())
        g->GetCellText(row, column, text);
    return text;
}

int CControllerOnlineDlg::RunModal() {
    const int result = DoModal();
    DeleteTabs();
    return result;
}

void CControllerOnlineDlg::DeleteTabs() {
    for (TabEntry& t : tabs_)
        delete t.button;
    tabs_.clear();
}

bool CControllerOnlineDlg::OnInitDialog() {
    xui::CXDialog::OnInitDialog();
    if (QWidget* memory = item(kCtlMemory))
        memory->setVisible(host_.MemoryButton());
    if (QWidget* advanced = item(kCtlAdvanced))
        advanced->setVisible(description_ && !description_->m_Dll.empty());
    if (auto* on = itemAs<xui::CXButton>(kCtlFieldbusOn))
        on->SetColors(0xFFFFFF, 0x00FF00);
    if (auto* off = itemAs<xui::CXButton>(kCtlFieldbusOff))
        off->SetColors(0xFFFFFF, 0x0000FF);
    if (xui::XGridCtrl* g = grid()) {
        g->SetColumnCount(3);
        g->SetNoFixedColumn();
        g->SetRowCount(kGridRows);
        g->SetAllRowColors(0xFF0000);
        g->SetHeaderColor(0xFBCCA3);
        g->SetHeaderTextColor(0);
        g->SetColumnWidth(0, 30);
        g->SetColumnWidth(1, 180);
        g->SetColumnWidth(2, 120);
    }
    setWindowTitle(xui::fromCp1252(mv::LanguageText(kTextControllerCaption)));
    if (QWidget* title = item(kCtlTitle))
        xui::setWindowText(title, xui::fromCp1252(description_ ? description_->m_DisplayName : ""));
    const std::pair<int, int> texts[] = {{kCtlFieldbusOn, kTextFieldbusOn},
                                         {kCtlFieldbusOff, kTextFieldbusOff},
                                         {kCtlSave, kTextSaveParameters},
                                         {kCtlClear, kTextClearParameters},
                                         {mv::IDOK, kTextOk},
                                         {kCtlErrorInfo, kTextErrorInfo}};
    for (const auto& [id, number] : texts) {
        if (auto* b = itemAs<xui::CXButton>(id))
            b->setText(xui::fromCp1252(mv::LanguageText(number)));
    }
    block_ = 0;
    ShowMasterParameters();
    CreateBlockTabs();
    return true;
}

void CControllerOnlineDlg::OnPaint(mv::Canvas& dc) {
    xui::CXDialog::OnPaint(dc);
    if (firstPaint_ == 0) {
        firstPaint_ = 1;
        host_.ResumeOnline();
    }
}

void CControllerOnlineDlg::CreateBlockTabs() {
    DeleteTabs();
    scroll_ = 0;
    QWidget* strip = item(kCtlTabStrip);
    QWidget* left = item(kCtlScrollLeft);
    if (!strip || !left)
        return;
    const mv::RECT s = controlRect(strip);
    const mv::RECT l = controlRect(left);
    for (int i = 0; i < module_.ChannelCount(); ++i) {
        auto* b = new xui::COwnerButton(this, kCtlFirstTab + i, module_.Channel(i).name);
        b->setGeometry(s.left + kTabWidth * i, l.top, kTabWidth, l.bottom - l.top);
        b->SetLatching();
        tabs_.push_back({b, i});
    }
    ShowTabs();
    if (!tabs_.empty())
        tabs_.front().button->Press();
    // The tabs are made after the template's controls; the buttons beside the strip stay above.
    for (int id : {kCtlScrollLeft, kCtlScrollRight, kCtlSave}) {
        if (QWidget* w = item(id))
            w->raise();
    }
    if (tabs_.size() <= kTabsShown) {
        for (int id : {kCtlScrollLeft, kCtlScrollRight}) {
            if (QWidget* w = item(id))
                w->setEnabled(false);
        }
    }
}

void CControllerOnlineDlg::ShowTabs() {
    // Only the strip's three tabs show: one beside them would lie over the scroll buttons and
    // "Parameter speichern" and take their clicks.
    for (int i = 0; i < TabCount(); ++i)
        tabs_[static_cast<std::size_t>(i)].button->setVisible(i >= scroll_ && i < scroll_ + kTabsShown);
}

void CControllerOnlineDlg::ShowMasterParameters() {
    xui::XGridCtrl* g = grid();
    if (!g)
        return;
    g->Clear();
    g->SetCellText(1, 0, mv::LanguageText(kTextGridName));
    g->SetCellText(2, 0, mv::LanguageText(kTextGridValue));
    if (block_ < 0 || block_ >= module_.ChannelCount())
        return;
    const CControllerChannel& channel = module_.Channel(block_);
    std::array<std::uint8_t, kReplyRoom> reply{};
    std::uint16_t length = 0;
    if (A_ReadMasterParameter(host_.Link(), channel.code, reply.data(), 0, &length) != 1) {
        const int code = A_GetLastError();
        host_.PauseOnline();
        host_.SystemMessage(mv::LanguageText(kTextError), CommErrorText(code));
        host_.ResumeOnline();
        return;
    }
    const int len = std::min<int>(length, kReplyRoom);
    const int rows = static_cast<int>(channel.params.size());
    if (rows + 1 > kGridRows)
        g->SetRowCount(rows + 1);
    for (int k = 0; k < rows; ++k) {
        const CControllerParam& p = channel.params[static_cast<std::size_t>(k)];
        g->SetCellText(0, k + 1, mv::FormatC("%5d:", k + 1));
        g->SetCellText(1, k + 1, p.name);
        g->SetCellText(2, k + 1,
                       FormatMasterValue(reply.data(), len, p.offset, p.length, p.mode == 1));
    }
    g->SetGridLineColor(0xC0C0C0);
}

void CControllerOnlineDlg::CommError() {
    ShowOnlineError(CommErrorText(A_GetLastError()));
}

void CControllerOnlineDlg::OnFieldbus(bool on) {
    const std::uint32_t link = host_.Link();
    const std::uint16_t ok = on ? A_StartFieldbus(link) : A_StopFieldbus(link);
    if (ok != 1)
        CommError();
    ShowMasterParameters();
}

void CControllerOnlineDlg::OnSaveParameters() {
    if (host_.UnknownModule()) {
        ShowOnlineMessage(mv::ErrorMessage("Unknown modul in project", "Download not possible"));
        return;
    }
    CWaitCursorGuard wait;
    std::vector<std::uint8_t> image;
    if (!host_.GatherParameters(image))
        return;
    if (image.size() > kMaxParameterImage) {
        wait.End();
        ShowOnlineError(mv::LanguageText(kTextCommError) + " : " + GetPortwireErrorText(0x0500));
        return;
    }
    const std::uint16_t ok =
        A_WriteModulParameters_2(host_.Link(), static_cast<int>(image.size()), image.data(),
                                 host_.WriteTimeout());
    const int code = ok == 1 ? 0 : A_GetLastError();
    wait.End();
    if (ok == 1)
        ShowOnlineInformation(mv::LanguageText(kTextTransferDone));
    else
        ShowOnlineError(CommErrorText(code));
}

void CControllerOnlineDlg::OnClearParameters() {
    if (A_ClearFlash(host_.Link()) == 1) {
        ShowOnlineInformation(mv::LanguageText(kTextTransferDone));
        return;
    }
    const int code = A_GetLastError();
    host_.PauseOnline();
    ShowOnlineError(CommErrorText(code));
    host_.ResumeOnline();
}

void CControllerOnlineDlg::OnControllerLibrary() {
    std::uint32_t link = host_.Link();
    bool called = false;
    const std::string error = CallServiceLibrary(
        host_.ProgramDir(), description_ ? description_->m_Dll : std::string(), "StartDLL2",
        [&](void* entry) {
            called = true;
            host_.PauseOnline();
            reinterpret_cast<void (*)(std::uint32_t*)>(entry)(&link);
            host_.ResumeOnline();
        });
    if (!error.empty()) {
        host_.SystemMessage("CControllerOnlineDlg", "Error : " + error);
        return;
    }
    if (called)
        host_.AdoptLink(link);
}

void CControllerOnlineDlg::OnCommand(int id, int code) {
    if (id >= kCtlFirstTab && id < kCtlFirstTab + TabCount()) {
        const int i = id - kCtlFirstTab;
        block_ = tabs_[static_cast<std::size_t>(i)].block;
        for (int j = 0; j < TabCount(); ++j) {
            if (j != i) {
                tabs_[static_cast<std::size_t>(j)].button->Release();
                tabs_[static_cast<std::size_t>(j)].button->update();
            }
        }
        ShowMasterParameters();
        return;
    }
    switch (id) {
    case kCtlFieldbusOn: OnFieldbus(true); return;
    case kCtlFieldbusOff: OnFieldbus(false); return;
    case kCtlSave: OnSaveParameters(); return;
    case kCtlClear: OnClearParameters(); return;
    case kCtlMemory: host_.RunMemory(); return;
    case kCtlErrorInfo:
        host_.PauseOnline();
        host_.RunInfoList(module_);
        host_.ResumeOnline();
        return;
    case kCtlAdvanced: OnControllerLibrary(); return;
    case kCtlScrollRight:
        if (scroll_ < TabCount() - kTabsShown) {
            ++scroll_;
            for (TabEntry& t : tabs_)
                t.button->move(t.button->x() - kTabWidth, t.button->y());
            ShowTabs();
        }
        return;
    case kCtlScrollLeft:
        if (scroll_ > 0) {
            --scroll_;
            for (TabEntry& t : tabs_)
                t.button->move(t.button->x() + kTabWidth, t.button->y());
            ShowTabs();
        }
        return;
    default: xui::CXDialog::OnCommand(id, code); return;
    }
}

void CControllerOnlineDlg::OnOK() {
    xui::CXDialog::OnOK();
    module_.SetFieldbusShownState(255);
    host_.RepaintView();
}

} // namespace morvelan
