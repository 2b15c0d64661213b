// Online mode in the main frame: the frame's side of the polling session (timer 1, idle time,
// the window states it switches), the upload dialog's host, and the commands Debug, Auto
// online and Download with the upload seam.
#pragma once

#include "morvelan/online/online_frame.h"
#include "morvelan/online/online_session.h"
#include "morvelan/online/poll_timer.h"
#include "morvelan/online/upload_dlg.h"
#include "xui/message_dlg.h"

#include <memory>

class CMainFrame;

class COnlineFrame final : public morvelan::IOnlineFrame, public morvelan::IUploadHost {
public:
    explicit COnlineFrame(CMainFrame& frame);
    ~COnlineFrame() override;

    morvelan::COnlineSession& Session() { return session_; }
    morvelan::CPollTimer& Timer() { return timer_; }

    // IOnlineFrame.
    CModuleTile* SelectedTile() override;
    void InvalidateView(bool erase) override;
    void EnableTree(bool enable) override;
    void DisableMainMenus() override;
    void EnableMainMenus() override;
    void StartPollTimer(int intervalMs) override;
    void KillPollTimer() override;
    bool FrameInFront() override;
    void StopAutoStep() override;
    void MaximiseAndRedraw() override;
    int Upload() override;
    void LayoutList() override;
    void ResetDisplayFlags() override;

    // IUploadHost.
    CMorvelanDoc& Document() override;
    void NewDocument() override;
    void FillTree() override;
    void SelectModul(CModuleTile* tile) override;
    void RedrawView() override;
    int ScrollX() override;
    int ScrollY() override;
    std::uint32_t Link() override;
    bool AutoOnline() override;

    // The upload dialog in a mode, with the link the frame opened.
    int RunUploadDialog(int mode);

private:
    void OnTick(int id);

    CMainFrame& frame_;
    mv::SystemClock clock_;
    morvelan::COnlineSession session_;
    morvelan::CPollTimer timer_;
    // The message dialog's configuration before this frame added its polling hook.
    xui::MessageDlgConfig previousMessageConfig_;
};

// Gives the frame its online mode: the session and its timer, the online switch of Debug, Auto
// online (32794), Download (32776) and the upload dialog.
void InstallOnlineCommands(CMainFrame& frame);
