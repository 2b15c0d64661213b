// Online mode of the main frame: going online with the current station and offline again, the
// polling tick with its failure path, pause and resume of polling, the live grid that redraws
// after every good poll, and the automatic sequence (maximise, upload, go online). The frame
// forwards its commands, timer and idle notices here.
#pragma once

#include "morvelan/online/online_frame.h"
#include "morvelan/online/poll_scheduler.h"

class CMorvelanAppBase;
class CMorvelanDoc;

namespace morvelan {

class COnlineSession {
public:
    COnlineSession(IOnlineFrame& frame, CMorvelanAppBase& app, CMorvelanDoc& doc,
                   const mv::Clock& clock);

    // Goes online when the online flag is 0, offline when it is 1.
    void SwitchDebugMode();
    // The Debug command: the debug flag follows the online flag afterwards.
    void OnDebug();
    // The Auto online command.
    void OnAutoOnline();
    // A tick of a frame timer; false when the tick is left to the default handling.
    bool OnTimer(int timerId);
    // Idle time of the message loop (the application's idle handler, a modal loop's enter-idle).
    void IdleNotice() { scheduler_.IdleNotice(); }

    void PausePolling() { scheduler_.Pause(); }
    void ResumePolling() { scheduler_.Resume(); }
    bool IsPollingEnabled() const { return scheduler_.IsEnabled(); }
    void SetOnlineGrid(IOnlineGrid* grid) { grid_ = grid; }
    void ClearOnlineGrid() { grid_ = nullptr; }
    IOnlineGrid* OnlineGrid() const { return grid_; }

    // The debug flag of the Debug command (the frame toggles it around its online switch).
    int DebugFlag() const { return debug_; }
    void SetDebugFlag(int flag) { debug_ = flag; }
    const CPollScheduler& Scheduler() const { return scheduler_; }

private:
    void GoOnline();
    void GoOffline();
    void SetStationOnline(int station, int flag);
    // Kills the timer and closes the link: online mode ends at a tick.
    void StopAndClose();
    void PollFailed();
    // The station of the selected tile, or -1.
    int CurrentStation();

    IOnlineFrame& frame_;
    CMorvelanAppBase& app_;
    CMorvelanDoc& doc_;
    CPollScheduler scheduler_;
    IOnlineGrid* grid_ = nullptr;
    int debug_ = 0;
    int pollStation_ = -1; // the station polled while online
};

} // namespace morvelan
