// What the panel's commands need from the window: the log list and the number prompts.
#pragma once

#include "panel/core/log_item.h"

#include <memory>
#include <string>

namespace x740panel {

// Longest log line kept (longer texts are cut).
inline constexpr std::size_t kMaxLogLine = 255;

class PanelLog {
public:
    virtual ~PanelLog() = default;
    // Prefixes "I\t" when the text is empty or has no tab, appends the line, makes it the
    // current line and attaches the record (or none).
    virtual void AddLogLine(const std::string& text,
                            std::unique_ptr<LogItemRecord> record = nullptr) = 0;
    // Deletes the last line (and its record) and appends the text as AddLogLine does.
    virtual void ReplaceLogLine(const std::string& text) = 0;
};

// The number prompts of the commands. Each returns false when the user cancelled.
class PanelPrompts {
public:
    virtual ~PanelPrompts() = default;
    // "SSI Interface": the index text (initially the given one).
    virtual bool AskSsiIndex(std::string& index) = 0;
    // "CAM Blocknumber": block and bit offset texts; a bit offset of exactly "-1" keeps the
    // bit offset field hidden.
    virtual bool AskCamBlock(std::string& block, std::string& bitOffset) = 0;
};

// The text as a log line: "I\t" before a text without a tab, cut at kMaxLogLine bytes.
std::string MakeLogLine(const std::string& text);

} // namespace x740panel
