// CColorStatusBar: the frame's status bar with two panes it paints itself, each in its own
// text and background colour: pane 0 (stretched) the program's name, version and copyright,
// pane 1 the online port ("   COM1:" or " TCP/IP: a.b.c.d:port").
#pragma once

#include "platform/canvas.h"

#include <QStatusBar>

#include <array>
#include <string>

class CMainFrame;

constexpr int kStatusPaneCount = 2;
constexpr int kStatusColourSlots = 20;
// The indicator text whose width sets the panes' width.
inline constexpr const char* kStatusPaneText = "InfoInfoInfoInfoInfoInfoInfoInfo";
// Pane styles.
constexpr unsigned SBPS_NOBORDERS = 0x0100;
constexpr unsigned SBPS_DISABLED = 0x04000000;
constexpr unsigned SBPS_STRETCH = 0x08000000;

class CColorStatusBar : public QStatusBar {
    Q_OBJECT

public:
    explicit CColorStatusBar(CMainFrame& frame);

    // The pane texts as they are painted now (pane 1 follows the application's port choice).
    std::string PaneText(int pane) const;
    // Repaints the bar when a pane's text is not the one it last showed. The texts follow
    // state the bar is not told about, so whoever may have changed it calls this.
    void RefreshPanes();
    // Pane rectangles in the bar's coordinates.
    mv::RECT PaneRect(int pane) const;
    void SetPaneColours(int pane, mv::COLORREF text, mv::COLORREF back);
    void SetPaneStyle(int pane, unsigned style) { styles_[static_cast<std::size_t>(pane)] = style; }
    unsigned PaneStyle(int pane) const { return styles_[static_cast<std::size_t>(pane)]; }
    mv::COLORREF TextColour(int pane) const { return textColours_[static_cast<std::size_t>(pane)]; }
    mv::COLORREF BackColour(int pane) const { return backColours_[static_cast<std::size_t>(pane)]; }

    // Paints the bar on a canvas (the widget's paint event uses it).
    void Paint(mv::Canvas& dc) const;

    QSize sizeHint() const override;

protected:
    void paintEvent(QPaintEvent* event) override;

private:
    CMainFrame& frame_;
    std::array<mv::COLORREF, kStatusColourSlots> textColours_{};
    std::array<mv::COLORREF, kStatusColourSlots> backColours_{};
    std::array<unsigned, kStatusPaneCount> styles_{};
    std::string versionText_;
    // The texts the last refresh asked the screen for (a grab paints too, so not kept there).
    std::array<std::string, kStatusPaneCount> shownTexts_;
};
