// Grabs of windows on the X server named by DISPLAY, through a connection of their own, so they
// may run on any thread, also while the GUI thread is blocked in work and paints nothing.
// What they return is what the server holds, not what the widget would paint on demand.
#pragma once

#include <QImage>
#include <QString>
#include <cstdint>

namespace mvtest {

// The window's contents as the server has them; a null image when the window does not exist
// or is not viewable.
QImage GrabXWindow(uint32_t windowId);

// The first viewable window whose title (_NET_WM_NAME, else WM_NAME) equals `title`, searched
// from the root; 0 when there is none.
uint32_t FindXWindowByTitle(const QString& title);

// Waits up to `timeoutMs` for FindXWindowByTitle to find one; 0 after the deadline.
uint32_t WaitForXWindow(const QString& title, int timeoutMs);

// Gives the window the keyboard focus and sends it a press and a release of the key that types
// `keysym` (X keysym, 'o' for the letter), with the modifier mask (XCB_MOD_MASK_CONTROL ...)
// held. False when the window or the key is not there.
bool PressXKey(uint32_t windowId, uint32_t keysym, uint16_t modifiers);

}  // namespace mvtest
