// What online mode asks of the main frame and the main view: the selection, the window
// states it switches, the polling timer and the steps of the automatic sequence. The frame
// implements it; tests drive online mode through a fake.
#pragma once

class CModuleTile;

namespace morvelan {

class IOnlineFrame {
public:
    virtual ~IOnlineFrame() = default;

    // The tile selected in the project tree (null when none).
    virtual CModuleTile* SelectedTile() = 0;
    // Invalidates the main view (erase: from its background up).
    virtual void InvalidateView(bool erase) = 0;
    virtual void EnableTree(bool enable) = 0;
    virtual void DisableMainMenus() = 0;
    virtual void EnableMainMenus() = 0;
    // Timer 1 of the frame: (re)started with a period, or killed.
    virtual void StartPollTimer(int intervalMs) = 0;
    virtual void KillPollTimer() = 0;
    // The frame itself receives input: no modal dialog or popup in front of it.
    virtual bool FrameInFront() = 0;
    // The main view's output stepping stops.
    virtual void StopAutoStep() = 0;
    // Steps of the automatic online sequence: maximise and redraw at once; the upload command
    // (connect, upload dialog in upload mode, close; 1 when the connection opened); the list
    // layout and the reset of the display flags.
    virtual void MaximiseAndRedraw() = 0;
    virtual int Upload() = 0;
    virtual void LayoutList() = 0;
    virtual void ResetDisplayFlags() = 0;
};

// The live value grid that is shown: the frame calls Redraw after every good poll.
class IOnlineGrid {
public:
    virtual ~IOnlineGrid() = default;
    virtual void Redraw() = 0;
};

} // namespace morvelan
