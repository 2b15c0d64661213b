// The panel's clock: the pauses of its procedures and the FTP wait. Tests inject a clock, so
// waits take no real time.
#pragma once

#include "platform/clock.h"

namespace x740panel {

mv::Clock& PanelClock();
// Replaces the clock (tests); null restores the system clock.
void SetPanelClock(mv::Clock* clock);

// Waits ms while the event loop keeps running (it sleeps in the loop, no spinning). With an
// injected clock the time is advanced at once and pending events are processed.
void WaitInEventLoop(int ms);

} // namespace x740panel
