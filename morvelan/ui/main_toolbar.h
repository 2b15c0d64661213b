// CMainToolBar: the frame's toolbar. One button per row of its table (16 rows, 19 with the
// toolbar option), images from bitmap 131 and, under the mouse, from bitmap 130 (21-px wide
// images, 0xC0C0C0 transparent), tool tips from the language table on 0xC0FFFF.
#pragma once

#include "platform/gdi_types.h"

#include <QToolBar>

#include <string>
#include <vector>

class CMainFrame;

constexpr int kToolbarRowsShort = 16;
constexpr int kToolbarRowsAll = 19;
constexpr int kToolbarImageWidth = 21;
constexpr int kToolbarMargin = 7;
constexpr mv::COLORREF kToolbarMask = 0xC0C0C0;
constexpr mv::COLORREF kToolTipBackground = 0xC0FFFF;

// The tool tip of a menu text: without its '&' markers and without what follows the tab.
std::string ToolTipOfMenuText(const std::string& text);

// One row of the toolbar: command (0 = separator) and image index.
struct ToolbarRow {
    int command;
    int image;
};
// The 19 rows.
const std::vector<ToolbarRow>& toolbarRows();

class CMainToolBar : public QToolBar {
    Q_OBJECT

public:
    explicit CMainToolBar(CMainFrame& frame);

    // Images and the first `rows` rows of the table. False when the images are missing.
    bool Create(int rows);
    // Tool-tip texts from the language table.
    void ApplyTexts();
    // The commands of the buttons in order (0 for separators).
    const std::vector<int>& Buttons() const { return buttons_; }
    int ImageHeight() const { return imageHeight_; }

private:
    CMainFrame& frame_;
    std::vector<int> buttons_;
    int imageHeight_ = 0;
};
