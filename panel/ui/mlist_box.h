// CMListBox: the panel's log list. Item texts are the lines as logged ("E\tText"); the list
// draws each line split at its tabs, coloured by its severity letter, and owns the record a
// line may carry. Double-clicking a line makes it the current one and sends the list's id
// with the code 0x400 to its parent.
#pragma once

#include "panel/core/log_item.h"
#include "platform/gdi_types.h"

#include <QListWidget>

#include <memory>
#include <string>
#include <vector>

namespace x740panel {

inline constexpr int kLogListId = 15013;
inline constexpr int kLogDoubleClickCode = 0x400;
inline constexpr int kLogItemHeight = 16;
inline constexpr int kLogTextIndent = 20;

inline constexpr mv::COLORREF kLogColorError = 0x0000FF;
inline constexpr mv::COLORREF kLogColorOk = 0x00AC00;
inline constexpr mv::COLORREF kLogColorFtp = 0xFF0000;
inline constexpr mv::COLORREF kLogColorWarning = 0xFF0000;

class CMListBox : public QListWidget {
    Q_OBJECT

public:
    explicit CMListBox(QWidget* parent = nullptr);
    ~CMListBox() override;

    // Appends a line (Windows-1252 bytes, taken as they are) with its record, and makes it
    // the current line.
    void AddLine(const std::string& line, std::unique_ptr<LogItemRecord> record);
    // Deletes the last line and frees its record.
    void DeleteLastLine();
    // Empties the list (records are freed).
    void ClearLines();

    int LineCount() const { return count(); }
    std::string Line(int index) const;
    // The record of a line; null when it has none.
    const LogItemRecord* Record(int index) const;

    // Draws the text over the last line (at its left + 20, top + 1) until that line is next
    // repainted; no line is added or changed.
    void ShowTransientLine(const std::string& text);

    // The colour a line is drawn in, and whether it is drawn at all (a line without a tab is
    // not drawn).
    static mv::COLORREF TextColor(const std::string& line);

    // Puts the log font ("Courier New", height -11) on the list.
    void ApplyLogFont();

    // The width the lines take, as a list box's horizontal extent: the indent and the widest
    // drawn text so far (0 when empty). Wider than the list, the list scrolls sideways.
    int HorizontalExtent() const { return extent_; }

    // Painting support of the item drawer.
    const std::string* TransientText(int row) const;

protected:
    void mouseDoubleClickEvent(QMouseEvent* event) override;

private:
    // Grows the horizontal extent to a line's drawn text.
    void WidenFor(const std::string& line);

    std::vector<std::unique_ptr<LogItemRecord>> records_;
    std::string transient_;
    int transientRow_ = -1;
    int extent_ = 0;
};

// Registers the class name "CMListBox" with the dialog builder.
bool RegisterLogListClass();

} // namespace x740panel
