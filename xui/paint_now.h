// "Let this window paint now" for work that blocks the GUI thread: the window system's events
// of the moment are handled (its expose and paint events, never the user's input, so no
// command can start meanwhile) and the widget is painted onto the screen at once.
#pragma once

class QWidget;

namespace xui {

// How long a window just shown may take to be exposed before it is painted all the same.
inline constexpr int kExposeWaitMs = 2000;

// Waits (handling the window system's events, never the user's input) until the widget's
// window is exposed, at most kExposeWaitMs; then repaints the widget and hands what it drew to
// the window system. Nothing happens for a widget that is not visible.
void PaintNow(QWidget* widget);

} // namespace xui
