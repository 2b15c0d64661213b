// The information list box of the module check: heading lines ("VERSION...", "BOARD...") in
// white on blue, lines that report missing information in red, the others in blue.
#pragma once

#include "platform/canvas.h"
#include "platform/gdi_types.h"

#include <QListWidget>

#include <string>
#include <string_view>

namespace xui {

class CInfoListBox : public QListWidget {
    Q_OBJECT

public:
    static constexpr mv::COLORREF kNormalColor = 0xFF0000;
    static constexpr mv::COLORREF kWarningColor = 0x0000FF;
    static constexpr mv::COLORREF kHeadingText = 0xFFFFFF;
    static constexpr mv::COLORREF kLineFill = 0xFFFFFF;

    explicit CInfoListBox(QWidget* parent = nullptr);

    // Appends a line (Windows-1252 bytes), selects it and redraws at once.
    void AddLine(std::string_view text);

    // How a line is drawn.
    static bool isHeading(std::string_view line);
    static bool isWarning(std::string_view line);
    // Draws one item into its rectangle.
    static void drawItem(mv::Canvas& canvas, const mv::RECT& rect, std::string_view line,
                         bool focused);
};

} // namespace xui
