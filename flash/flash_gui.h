// The loader's windows. A console program: Qt starts only for the History and Check windows,
// and only when there is a display to show them on.
#pragma once

#include "flash/loader/history_content.h"

namespace flash {

class CX740FlashApp;

// True when a window can be shown: DISPLAY or WAYLAND_DISPLAY is set and Qt is not told to
// draw offscreen or on no screen at all.
bool HasDisplay();

// The dialogs the windows are built from; without one the window is not shown.
using HistoryDialogFn = void (*)(const HistoryContent& content);
using CheckDialogFn = void (*)(CX740FlashApp& app);
void SetHistoryDialog(HistoryDialogFn dialog);
void SetCheckDialog(CheckDialogFn dialog);

// Runs the window modally; false when it cannot be shown (the caller prints instead).
bool ShowHistoryWindow(int& argc, char** argv, const HistoryContent& content);
bool ShowCheckWindow(int& argc, char** argv, CX740FlashApp& app);

} // namespace flash
