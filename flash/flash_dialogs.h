// The loader's dialog templates and the dialogs its windows run.
#pragma once

#include "flash/loader/history_content.h"
#include "xui/dialog_template.h"

namespace flash {

// The Check window's template (101): the list box, the status line and OK.
xui::DialogTemplate CheckDlgTemplate();

// Registers the loader's templates (Check, 101; History, 102).
void RegisterFlashTemplates();

// Runs the History dialog on the content's template, caption and lines.
void RunHistoryDialog(const HistoryContent& content);

} // namespace flash
