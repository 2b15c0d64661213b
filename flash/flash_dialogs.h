// The loader's dialog templates and the dialogs its windows run.
#pragma once

#include "flash/loader/history_content.h"

namespace flash {

// Registers the loader's templates (History, 102).
void RegisterFlashTemplates();

// Runs the History dialog on the content's template, caption and lines.
void RunHistoryDialog(const HistoryContent& content);

} // namespace flash
