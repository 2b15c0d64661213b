// Where the subsystems that serve commands of the main frame register them. The frame calls
// InstallFrameCommands once it stands, after its own commands: each subsystem adds one line
// there, registering handlers with frame.Commands().Register(id, ...) and filling the dialog
// seams (dialog_seams.h) it owns.
#pragma once

class CMainFrame;

void InstallFrameCommands(CMainFrame& frame);
