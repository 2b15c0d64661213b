#include "morvelan/online/online_modul_dlg.h"

#include "catalogue/module_description.h"
#include "morvelan/core/app_hooks.h"
#include "morvelan/core/channel_module.h"
#include "morvelan/core/param_number.h"
#include "morvelan/core/station.h"
#include "morvelan/online/online_messages.h"
#include "morvelan/online/service_library.h"
#include "portwire/include/Portwire.h"
#include "xui/command.h"
#include "xui/qt_text.h"
#include "xui/xbutton.h"

#include <algorithm>

namespace morvelan {

namespace {

constexpr int kImageRoom = 256;
constexpr int kAlignCentre = 6;
// The Portwire error code of a frame too long to send.
constexpr int kDatasizeError = 0x0500;

} // namespace

const xui::DialogTemplate& onlineModulTemplate() {
    using namespace mv;
    constexpr std::uint32_t kButton = WS_CHILD | WS_VISIBLE | WS_TABSTOP;
    static const xui::DialogTemplate t = xui::modalDialogTemplate(
        kOnlineModulTemplate, "Online", 331, 122,
        {
            {kOnlineModulDataClass, kCtlModulGrid, "", 7, 23, 234, 92, kButton},
            {"Static", kCtlModulNumber, "", 7, 7, 70, 15, WS_CHILD | SS_CENTER},
            {"Static", kCtlModulName, "", 77, 7, 164, 15, WS_CHILD | SS_CENTER},
            {"XBUTTON", kCtlModulInfo, "Info", 249, 7, 75, 17, kButton},
            {"XBUTTON", kCtlMask, "Maske", 249, 27, 75, 17, kButton},
            {"XBUTTON", kCtlMaskUpdate, "Update", 249, 47, 75, 17, WS_CHILD | WS_TABSTOP},
            {"XBUTTON", kCtlModulAdvanced, "Advanced", 249, 78, 75, 17, kButton},
            {"XBUTTON", IDOK, "OK", 249, 98, 75, 17, kButton},
        });
    return t;
}

int GatherStationOutputs(const CStation& station, std::vector<std::uint8_t>& image) {
    image.assign(kImageRoom, 0);
    int length = 0;
    for (int j = 1; j < station.TileCount(); ++j) {
        const int at = std::min(length, kImageRoom);
        int count = 0;
        station.Tile(j)->Module().PutOutputs(image.data() + at, kImageRoom - at, count);
        length += std::max(0, count);
    }
    return length;
}

COnlineModulDlg::COnlineModulDlg(IOnlineModulHost& host, CChannelModule& module,
                                 const CModuleDescription* description, int moduleNumber,
                                 QWidget* parent)
    : xui::CXDialog(onlineModulTemplate(), parent), host_(host), module_(module),
      description_(description), moduleNumber_(moduleNumber) {}

COnlineModulDlg::~COnlineModulDlg() = default;

COnlineModulData* COnlineModulDlg::grid() const {
    return itemAs<COnlineModulData>(kCtlModulGrid);
}

bool COnlineModulDlg::OnInitDialog() {
    xui::CXDialog::OnInitDialog();
    if (COnlineModulData* g = grid()) {
        g->SetModule(&module_, moduleNumber_, description_);
        g->SetRegistry(&host_);
        g->SetScrollRange(module_.ChannelCount());
    }
    setWindowTitle(xui::fromCp1252(mv::LanguageText(kTextModulCaption)));
    const std::pair<int, int> texts[] = {{mv::IDOK, kTextModulOk}, {kCtlModulInfo, kTextModulInfo}};
    for (const auto& [id, number] : texts) {
        if (auto* b = itemAs<xui::CXButton>(id))
            b->setText(xui::fromCp1252(mv::LanguageText(number)));
    }
    if (QWidget* name = item(kCtlModulName))
        xui::setWindowText(name, xui::fromCp1252(description_ ? description_->m_DisplayName : ""));
    if (QWidget* number = item(kCtlModulNumber)) {
        xui::setWindowText(number, xui::fromCp1252(mv::FormatC(
                                       "%s %d", mv::LanguageText(kTextModulNumber).c_str(),
                                       moduleNumber_)));
    }
    if (QWidget* advanced = item(kCtlModulAdvanced))
        advanced->setVisible(description_ && !description_->m_Dll.empty());

    auto* mask = itemAs<xui::CXButton>(kCtlMask);
    if (mask) {
        mask->SetToggle();
        if (!description_ || description_->m_Mask == 0) {
            mask->setVisible(false);
        } else {
            bool anyMask = false;
            for (int i = 0; i < module_.ChannelCount(); ++i)
                anyMask = anyMask || module_.GetChannelMask(i) != -1;
            if (anyMask) {
                // Opens in mask mode.
                xui::postCommandTo(this, kCtlMask);
                mask->Click();
            }
        }
    }
    return true;
}

void COnlineModulDlg::OnPaint(mv::Canvas& dc) {
    xui::CXDialog::OnPaint(dc);
    for (int id : {kCtlModulName, kCtlModulNumber}) {
        if (QWidget* w = item(id))
            PaintStaticBox(dc, w, kAlignCentre, xui::kLabelBoxFill, 0x000000, 0xFFFFFF);
    }
    if (COnlineModulData* g = grid())
        g->Refresh();
    if (firstPaint_ == 0) {
        firstPaint_ = 1;
        host_.ResumeOnline();
    }
}

void COnlineModulDlg::OnCommand(int id, int code) {
    switch (id) {
    case kCtlModulGrid: SendOutputs(); return;
    case kCtlMask: OnMask(); return;
    case kCtlMaskUpdate: OnUpdate(); return;
    case kCtlModulInfo:
        if (description_)
            host_.ShowDocumentation(description_->m_Description);
        return;
    case kCtlModulAdvanced: OnAdvanced(); return;
    default: xui::CXDialog::OnCommand(id, code); return;
    }
}

void COnlineModulDlg::OnMask() {
    maskMode_ = maskMode_ ? 0 : 1;
    const int dx = maskMode_ ? kMaskWiden : -kMaskWiden;
    move(x() + (maskMode_ ? -kMaskShiftLeft : kMaskShiftLeft), y());
    setClientSize(width() + dx, height());
    for (int id : {kCtlMaskUpdate, kCtlModulInfo, kCtlMask, kCtlModulAdvanced, mv::IDOK}) {
        if (QWidget* w = item(id)) {
            const mv::RECT r = controlRect(w);
            moveControl(w, r.left + dx, r.top, r.right - r.left, r.bottom - r.top);
        }
    }
    if (COnlineModulData* g = grid()) {
        const mv::RECT r = controlRect(g);
        moveControl(g, r.left, r.top, r.right - r.left + dx, r.bottom - r.top);
        g->SetMaskMode(maskMode_);
    }
    if (QWidget* update = item(kCtlMaskUpdate))
        update->setVisible(maskMode_ != 0);
}

void COnlineModulDlg::OnUpdate() {
    if (COnlineModulData* g = grid())
        g->ReadMasks();
}

void COnlineModulDlg::SendOutputs() {
    CStation* station = host_.CurrentStation();
    if (!station)
        return;
    std::vector<std::uint8_t> image;
    const int length = GatherStationOutputs(*station, image);
    if (length > kMaxOutputImage) {
        // One frame cannot carry them: nothing is sent rather than a cut image.
        ShowOnlineError(CommErrorText(kDatasizeError));
        return;
    }
    if (A_SetOutputs(host_.Link(), length, image.data()) != 1)
        ShowOnlineError(CommErrorText(A_GetLastError()));
}

void COnlineModulDlg::OnAdvanced() {
    if (!description_ || description_->m_Dll.empty())
        return;
    const std::string error = CallServiceLibrary(
        host_.ProgramDir(), description_->m_Dll, "StartDLL", [this](void* entry) {
            // The panel pumps events in its long runs: no poll may touch the link meanwhile.
            host_.PauseOnline();
            reinterpret_cast<void (*)(int)>(entry)(static_cast<int>(host_.Link()));
            host_.ResumeOnline();
        });
    if (!error.empty())
        host_.SystemMessage("COnlineModulDlg", "Error : " + error);
}

} // namespace morvelan
