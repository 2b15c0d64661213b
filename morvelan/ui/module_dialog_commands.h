// The main frame's side of the module, project, label, port and address dialogs: commands
// 32771 (insert control module) and 32772 (add modules), and the dialog seams of the tree's
// properties, the tile's label clicks, the port command and the module list.
#pragma once

class CMainFrame;

namespace morvelan {

void InstallModuleDialogCommands(CMainFrame& frame);

} // namespace morvelan
