#include "morvelan/ui/frame_command_modules.h"

#include "morvelan/ui/frame_seams.h"
#include "morvelan/ui/main_frame.h"

DialogSeams& dialogSeams() {
    static DialogSeams seams;
    return seams;
}

void InstallFrameCommands(CMainFrame& frame) {
    // One line per subsystem, e.g. InstallPrintCommands(frame);
    (void)frame;
}
