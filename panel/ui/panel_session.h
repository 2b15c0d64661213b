// One use of the service panel, as each entry point runs it: the application object is set
// up afresh, the panel runs modally, and when it returns nothing of the panel is left behind
// (widgets, timers, deferred deletes, the wait cursor). A caller without a QApplication gets
// one for the call only.
#pragma once

#include "portwire/include/Portwire.h"

namespace x740panel {

// Registers the panel's own window classes, templates and message dialog in its dialog layer.
void RegisterPanelClasses();

// Runs the panel on the handle; returns the handle the panel holds at its end (0 when it
// closed the link or its reconnect failed).
LinkHandle RunPanel(LinkHandle handle);

} // namespace x740panel
