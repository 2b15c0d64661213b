// The Help menu's About (57664) and History (32800) commands and the templates of the
// information dialogs.
#pragma once

class CMainFrame;

namespace morvelan {

void RegisterInfoTemplates();
void InstallInfoCommands(CMainFrame& frame);

} // namespace morvelan
