#include "morvelan/ui/online_commands.h"

#include "morvelan/online/firmware_info_dlg.h"
#include "morvelan/online/module_check_dlg.h"

#include "morvelan/core/command_ids.h"
#include "morvelan/online/download.h"
#include "morvelan/ui/frame_seams.h"
#include "morvelan/ui/left_view.h"
#include "morvelan/ui/main_frame.h"
#include "morvelan/ui/morvelan_app.h"
#include "morvelan/ui/morvelan_view.h"

#include <QApplication>

namespace {

// Layout modes of the main view.
constexpr int kLayoutList = 2;

} // namespace

COnlineFrame::COnlineFrame(CMainFrame& frame)
    : frame_(frame), session_(*this, frame.App(), frame.Doc(), clock_),
      timer_(
          &frame, [this](int id) { OnTick(id); }, [this] { session_.IdleNotice(); }),
      previousMessageConfig_(xui::messageDlgConfig()) {
    // The program's message dialog holds polling while it is open and resumes it at each of
    // its paints when it was running.
    xui::MessageDlgConfig config = previousMessageConfig_;
    config.hooks.push_back({[this] {
                                const bool running = session_.IsPollingEnabled();
                                session_.PausePolling();
                                return running;
                            },
                            [this] { session_.ResumePolling(); }});
    xui::setMessageDlgConfig(config);
}

COnlineFrame::~COnlineFrame() {
    xui::setMessageDlgConfig(previousMessageConfig_);
}

void COnlineFrame::OnTick(int id) {
    session_.OnTimer(id);
    // A failed poll or the tick that ends online mode changes what the menus offer.
    if (frame_.App().m_Online != 1 && !session_.IsPollingEnabled())
        frame_.UpdateCommandStates();
}

CModuleTile* COnlineFrame::SelectedTile() {
    return frame_.SelectedTile();
}

void COnlineFrame::InvalidateView(bool /*erase*/) {
    if (CMorvelanView* view = frame_.View())
        view->Invalidate();
}

void COnlineFrame::EnableTree(bool enable) {
    if (CLeftView* tree = frame_.Tree())
        tree->setEnabled(enable);
}

void COnlineFrame::DisableMainMenus() {
    frame_.DisableMainMenus();
}

void COnlineFrame::EnableMainMenus() {
    frame_.EnableMainMenus();
}

void COnlineFrame::StartPollTimer(int intervalMs) {
    timer_.Start(intervalMs);
}

void COnlineFrame::KillPollTimer() {
    timer_.Kill();
}

bool COnlineFrame::FrameInFront() {
    return timer_.FrameInFront();
}

void COnlineFrame::StopAutoStep() {
    if (CMorvelanView* view = frame_.View())
        view->StopAutoStep();
}

void COnlineFrame::MaximiseAndRedraw() {
    frame_.showMaximized();
    frame_.repaint();
}

int COnlineFrame::Upload() {
    return frame_.Upload(morvelan::kUploadLive);
}

void COnlineFrame::LayoutList() {
    if (CMorvelanView* view = frame_.View())
        view->LayoutList();
    else
        frame_.App().m_LayoutMode = kLayoutList;
    InvalidateView(true);
}

void COnlineFrame::ResetDisplayFlags() {
    if (CMorvelanView* view = frame_.View())
        view->ResetDisplayFlags();
}

CMorvelanDoc& COnlineFrame::Document() {
    return frame_.Doc();
}

void COnlineFrame::NewDocument() {
    frame_.NewDocument();
}

void COnlineFrame::FillTree() {
    if (CLeftView* tree = frame_.Tree())
        tree->FillTree();
}

void COnlineFrame::SelectModul(CModuleTile* tile) {
    if (CLeftView* tree = frame_.Tree())
        tree->SelectModul(tile);
}

void COnlineFrame::RedrawView() {
    InvalidateView(true);
}

int COnlineFrame::ScrollX() {
    return frame_.View() ? frame_.View()->HorizontalScroll() : 0;
}

int COnlineFrame::ScrollY() {
    return frame_.View() ? frame_.View()->VerticalScroll() : 0;
}

std::uint32_t COnlineFrame::Link() {
    return frame_.App().m_Link;
}

bool COnlineFrame::AutoOnline() {
    return frame_.App().m_AutoOnline == 1;
}

int COnlineFrame::RunUploadDialog(int mode) {
    morvelan::CModuleUploadDlg dlg(*this, &frame_);
    dlg.m_Mode = mode;
    return dlg.DoModal();
}

void InstallOnlineCommands(CMainFrame& frame) {
    DialogSeams& seams = dialogSeams();
    seams.onlineSwitch = [](CMainFrame& f) { f.Online().Session().SwitchDebugMode(); };
    seams.uploadDialog = [&frame](int mode) { return frame.Online().RunUploadDialog(mode); };
    seams.firmwareDialog = [&frame](const std::string& field1, const std::string& field2,
                                    const std::string& field3) {
        morvelan::CFirmwareInfoDlg dlg(frame.App().m_pMainWnd);
        dlg.m_Text1050 = field1;
        dlg.m_Text1053 = field2;
        dlg.m_Text1051 = field3;
        return dlg.DoModal();
    };
    seams.moduleCheckDialog = [&frame] {
        std::vector<CModuleTile*> tiles;
        const CModuleTile* selected = frame.SelectedTile();
        if (const CStation* station = selected ? frame.Doc().Station(selected->m_Station) : nullptr) {
            for (int i = 0; i < station->TileCount(); ++i)
                tiles.push_back(station->Tile(i));
        }
        morvelan::CModuleCheckDlg dlg(frame.App().m_ProgramDir, std::move(tiles),
                                      frame.App().m_pMainWnd);
        return dlg.DoModal();
    };
    frame.Commands().Register(ID_AUTO_ONLINE, [&frame] {
        frame.Online().Session().OnAutoOnline();
        frame.UpdateCommandStates();
    });
    frame.Commands().Register(ID_DOWNLOAD, [&frame] {
        morvelan::RunDownload(frame.App(), frame.Doc(), frame.SelectedTile());
    });
}
