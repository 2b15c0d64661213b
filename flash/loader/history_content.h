// What the loader's History dialog shows: its template, caption, font and release notes.
#pragma once

#include <functional>
#include <string>
#include <vector>

namespace flash {

struct HistoryContent {
    int templateId = 102;       // the loader's own template id
    int layoutTemplateId = 190; // whose layout it takes
    std::string caption = "History";
    std::string fontName = "Courier New";
    std::vector<std::string> lines;
};

// Shows the History dialog; false when no dialog can be shown (no display), and the lines
// are printed instead.
using HistoryHook = std::function<bool(const HistoryContent&)>;

// The loader's release notes.
HistoryContent LoaderHistory();

} // namespace flash
