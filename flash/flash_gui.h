// The loader's windows. A console program: Qt starts only for the History and Check windows,
// and only when there is a display to show them on.
#pragma once

#include "flash/loader/history_content.h"

namespace flash {

class CX740FlashApp;

// True when a window can be shown: Qt is not told to draw offscreen or on no screen at all, and
// the display it would draw on is there. An X display named by DISPLAY must take a connection;
// without DISPLAY a set WAYLAND_DISPLAY is taken as it stands.
bool HasDisplay();

// The dialogs the windows are built from; without one the window is not shown.
using HistoryDialogFn = void (*)(const HistoryContent& content);
using CheckDialogFn = void (*)(CX740FlashApp& app);
void SetHistoryDialog(HistoryDialogFn dialog);
void SetCheckDialog(CheckDialogFn dialog);

// Runs the window modally; false when it cannot be shown (the caller prints instead). The
// first window starts Qt, which then lasts until the WindowSession ends.
bool ShowHistoryWindow(int& argc, char** argv, const HistoryContent& content);
bool ShowCheckWindow(int& argc, char** argv, CX740FlashApp& app);

// Owns the Qt application a window starts, and ends it when the session goes out of scope:
// Qt must be gone before the exit handlers tear its own globals down. One, in main.
class WindowSession {
public:
    WindowSession() = default;
    ~WindowSession();
    WindowSession(const WindowSession&) = delete;
    WindowSession& operator=(const WindowSession&) = delete;
};

} // namespace flash
