#include "morvelan/ui/frame_command_modules.h"

#include "morvelan/ui/frame_seams.h"
#include "morvelan/ui/info_commands.h"
#include "morvelan/ui/main_frame.h"
#include "morvelan/ui/module_dialog_commands.h"
#include "morvelan/ui/online_commands.h"
#include "morvelan/ui/print_commands.h"

DialogSeams& dialogSeams() {
    static DialogSeams seams;
    return seams;
}

void InstallFrameCommands(CMainFrame& frame) {
    // One line per subsystem.
    morvelan::InstallPrintCommands(frame);
    morvelan::InstallModuleDialogCommands(frame);
    InstallOnlineCommands(frame);
    morvelan::InstallInfoCommands(frame);
}
