#include "morvelan/online/online_session.h"

#include "morvelan/core/app_state.h"
#include "morvelan/core/morvelan_doc.h"
#include "morvelan/core/morvelan_doc_hooks.h"
#include "morvelan/online/online_messages.h"
#include "portwire/include/Portwire.h"

namespace morvelan {

COnlineSession::COnlineSession(IOnlineFrame& frame, CMorvelanAppBase& app, CMorvelanDoc& doc,
                               const mv::Clock& clock)
    : frame_(frame), app_(app), doc_(doc), scheduler_(clock) {}

int COnlineSession::CurrentStation() {
    const CModuleTile* tile = frame_.SelectedTile();
    if (!tile || !doc_.Station(tile->m_Station))
        return -1;
    return tile->m_Station;
}

void COnlineSession::SwitchDebugMode() {
    if (app_.m_Online == 0)
        GoOnline();
    else
        GoOffline();
}

void COnlineSession::OnDebug() {
    debug_ = debug_ ? 0 : 1;
    SwitchDebugMode();
    // A refused go-online leaves no debug state behind.
    debug_ = app_.m_Online;
}

void COnlineSession::SetStationOnline(int station, int flag) {
    const CStation* target = doc_.Station(station);
    if (!target)
        return;
    for (int j = 0; j < target->TileCount(); ++j)
        target->Tile(j)->SetOnline(flag);
}

void COnlineSession::GoOnline() {
    // Going online needs a selected tile: without one nothing is tried.
    const int station = CurrentStation();
    if (station < 0)
        return;
    CWaitCursorGuard wait;
    scheduler_.ResetIdleProbe();

    if (mv::docHooks().UnknownModule()) {
        // Only the head's own online dialog is offered.
        CModuleTile* first = doc_.Station(station)->Tile(0);
        if (first)
            first->OpenOnline(app_);
        return;
    }

    if (doc_.CheckAgainstController(station) != 1) {
        wait.End();
        ShowOnlineError(mv::LanguageText(kTextMismatch));
        app_.m_Online = 0;
        frame_.EnableTree(true);
        return;
    }

    SetStationOnline(station, 1);
    frame_.InvalidateView(true);
    app_.m_Online = 1;
    pollStation_ = station;
    frame_.DisableMainMenus();
    frame_.EnableTree(false);

    if (!app_.m_MaskFile.empty())
        doc_.LoadMaskFile(app_.m_MaskFile);
    else
        doc_.LoadDefaultMaskFile();

    frame_.StartPollTimer(scheduler_.Start(app_.m_Ini.onlineTimer));
}

void COnlineSession::GoOffline() {
    CWaitCursorGuard wait;
    SetStationOnline(pollStation_, 0);
    frame_.InvalidateView(true);
    app_.m_Online = 0;
    frame_.EnableTree(true);
    frame_.StopAutoStep();
    frame_.EnableMainMenus();
    // The timer and the link stay: the next tick that polls ends online mode.
}

void COnlineSession::StopAndClose() {
    frame_.KillPollTimer();
    app_.CloseConnection();
}

bool COnlineSession::OnTimer(int timerId) {
    const TickResult tick = scheduler_.Tick(timerId, app_.m_Online != 0, frame_.FrameInFront());
    switch (tick.action) {
    case TickAction::PassOn:
        return false;
    case TickAction::StopAndClose:
        StopAndClose();
        return true;
    case TickAction::Poll:
        break;
    }
    if (tick.restart)
        frame_.StartPollTimer(tick.interval);

    if (app_.ReadOnlineInputs(pollStation_) != 1) {
        PollFailed();
        return true;
    }
    if (const CStation* station = doc_.Station(pollStation_)) {
        for (int j = 0; j < station->TileCount(); ++j)
            station->Tile(j)->Refresh(0);
    }
    if (grid_)
        grid_->Redraw();
    return false;
}

void COnlineSession::PollFailed() {
    frame_.KillPollTimer();
    // The input cycle released the link already.
    const int code = A_GetLastError();
    ShowOnlineError(CommErrorText(code));
    frame_.InvalidateView(true);
    app_.m_Online = 0;
    frame_.EnableTree(true);
    frame_.EnableMainMenus();
    app_.m_AutoOnline = 0;
    scheduler_.Stop();
    debug_ = 0;
}

void COnlineSession::OnAutoOnline() {
    if (app_.m_AutoOnline == 1) {
        app_.m_AutoOnline = 0;
        SwitchDebugMode();
        return;
    }
    // Step 0.
    frame_.MaximiseAndRedraw();
    app_.m_AutoOnline = 1;
    // Step 10.
    if (frame_.Upload() != 1) {
        // Step 90.
        app_.m_AutoOnline = 0;
        return;
    }
    // Step 20: online with the station the upload left selected.
    if (CurrentStation() >= 0)
        SwitchDebugMode();
    A_StopFieldbus(app_.m_Link);
    frame_.LayoutList();
    frame_.ResetDisplayFlags();
    // Not online now (refused, unknown module, nothing selected): the sequence has ended, so
    // the next command starts a new one.
    if (app_.m_Online != 1)
        app_.m_AutoOnline = 0;
}

} // namespace morvelan
