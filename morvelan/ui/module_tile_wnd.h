// CModuleTileWnd: the window of one module tile in the rack view. It paints the tile as a rack
// picture (connector bitmap, highlight frame) or as a list row, turns clicks into the tree's
// selection and double clicks into the module's dialogs. It keeps its own image, so a module's
// live drawing only paints what changed; what it never paints shows the view beneath.
#pragma once

#include "morvelan/core/module_tile.h"
#include "platform/canvas.h"

#include <QImage>
#include <QPointer>
#include <QWidget>

#include <memory>
#include <string>

class CMainFrame;

// Rack picture of a board: the connector bitmap's top, and its left edge by the slot's parity.
constexpr int kConnectorTop = 85;
constexpr int kConnectorLeftEven = 9;
constexpr int kConnectorLeftOdd = 2;
// Highlight frame: two outlines in red, then 19 merged in 0xC80A64.
constexpr mv::COLORREF kHighlightRed = 0x0000FF;
constexpr mv::COLORREF kHighlightMerge = 0xC80A64;
constexpr int kHighlightRedFrames = 2;
constexpr int kHighlightMergeFrames = 19;
// List rows.
constexpr mv::COLORREF kListHighlight = 0xC8C8FF;
constexpr mv::COLORREF kListGreen = 0xC0FFC0;
constexpr mv::COLORREF kListWhite = 0xFFFFFF;
constexpr int kListDivider = 150;
// Double-click zones: slider labels above, labels below.
constexpr int kSliderZoneEnd = 25;
constexpr int kLabelZoneStart = 263;

// The connector bitmap file of a tile, below the program folder ("bmp/stecker.bmp", ...).
std::string ConnectorFile(const CModuleTile& tile);

class CModuleTileWnd : public QWidget {
    Q_OBJECT

public:
    CModuleTileWnd(CModuleTile& tile, CMainFrame& frame, QWidget* parent);

    CModuleTile& Tile() const { return tile_; }
    // Follows the tile's place and visibility.
    void Placed();
    // Marks the window for painting; erase 1 clears its image first.
    void Invalidate(int erase);
    // Paints the tile on a canvas in its display mode.
    void Paint(mv::Canvas& dc);
    // What the window shows (its own image).
    const QImage& Image() const { return image_; }
    // The double-click action for a point: runs it.
    void OnDoubleClick(int x, int y);

protected:
    void paintEvent(QPaintEvent* event) override;
    void mousePressEvent(QMouseEvent* event) override;
    void mouseDoubleClickEvent(QMouseEvent* event) override;

private:
    // What the tile's static picture depends on: its layout, slot, highlight, list row and
    // labels, connector picture and size.
    struct Look {
        int mode = 0;
        int slot = 0;
        int highlight = 0;
        int row = 0;
        int number = 0;
        std::string label;
        std::string connector;
        QSize size;
        bool operator==(const Look&) const = default;
    };
    Look CurrentLook() const;
    // Starts the image afresh when the look changed since the last paint; true when it did.
    bool ClearOnNewLook();
    void PaintRack(mv::Canvas& dc);
    void PaintList(mv::Canvas& dc);

    CModuleTile& tile_;
    CMainFrame& frame_;
    QImage image_;
    Look painted_;
    // The image holds the drawing the pending repaint is for.
    bool drawnAhead_ = false;
};

// The tile's side of its window: made by the document hooks, destroyed with the tile. It tells
// the tree to forget the tile and takes the window down.
std::unique_ptr<mv::ITileWindow> MakeTileWindow(CModuleTile& tile, CMainFrame& frame,
                                                QWidget* parent);
