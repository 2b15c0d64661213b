// XGRID: the program's own table control (window class "XGRID"). A fixed heading row and a
// fixed first column drawn with a grey gradient, white data cells with grid lines, a
// highlighted selection and a vertical scroll bar. A double click with the left button posts
// a command (the grid's control id, code 0) to the parent.
//
// Rows and columns are 0-based and include the fixed ones. Setters that take a cell name the
// column first; getters name the row first. An index outside the grid is ignored.
#pragma once

#include "platform/canvas.h"
#include "platform/gdi_types.h"
#include "xui/window_class.h"

#include <QWidget>

#include <cstdint>
#include <string>
#include <string_view>
#include <vector>

class QScrollBar;

namespace xui {

class XGridCtrl : public QWidget {
    Q_OBJECT

public:
    // Selection modes.
    static constexpr int kSelectNone = 0;
    static constexpr int kSelectRow = 1;
    static constexpr int kSelectCell = 2;
    // Cell text alignments.
    static constexpr int kAlignCentre = 0;
    static constexpr int kAlignLeft = 1;
    static constexpr int kAlignRight = 2;
    // Cell flag: the fill covers the cell's left and lower grid line (cells merged downwards).
    static constexpr std::uint8_t kFlagMergeDown = 1;

    static constexpr int kDefaultColumns = 5;
    static constexpr int kDefaultRows = 5;
    static constexpr int kDefaultColumnWidth = 50;
    static constexpr int kRowHeight = 20;
    static constexpr int kPageRows = 10;
    static constexpr mv::COLORREF kBackColor = 0x484848;
    static constexpr mv::COLORREF kCellBackColor = 0xFFFFFF;
    static constexpr mv::COLORREF kDefaultGridLineColor = 0xC0C0C0;
    static constexpr mv::COLORREF kFrameColor = 0xC0C0C0;
    static constexpr mv::COLORREF kSelectionColor = 0x5CDDFF;

    // What the scroll bar asks for.
    enum class ScrollRequest {
        LineUp,
        LineDown,
        PageUp,
        PageDown,
        ThumbPosition,
        ThumbTrack,
        Other
    };

    explicit XGridCtrl(QWidget* parent = nullptr);

    void SetColumnCount(int count);
    void SetRowCount(int count);
    void SetColumnWidth(int column, int width);
    void SetCellText(int column, int row, std::string_view text);
    void GetCellText(int row, int column, std::string& text) const;
    void SetCellData(int column, int row, void* data);
    void* GetCellData(int row, int column) const;
    void SetCellFlag(int column, int row, std::uint8_t flag);
    void SetRowColor(int row, mv::COLORREF color);
    void SetAllRowColors(mv::COLORREF color);
    void SetHeaderColor(mv::COLORREF color);
    void SetHeaderTextColor(mv::COLORREF color);
    void SetGridLineColor(mv::COLORREF color);
    void SetSelectionMode(int mode);
    void SetCellAlignment(int alignment);
    void SetNoFixedColumn();
    void GetSelection(int& row, int& column) const;
    // The width of the scroll bar (callers subtract it when they share out the column widths).
    int GetClientWidth() const;
    void Clear();
    void DeleteRow(int row);

    // One request of the scroll bar; position is used by ThumbPosition.
    void OnVScroll(ScrollRequest request, int position = 0);

    int columnCount() const { return columns_; }
    int rowCount() const { return rows_; }
    int fixedRowCount() const { return fixedRows_; }
    int fixedColumnCount() const { return fixedColumns_; }
    int rowHeight() const { return rowHeight_; }
    int visibleRowCount() const { return visibleRows_; }
    int firstVisibleRow() const { return firstRow_; }
    // The highest first visible row: rows - visible rows, never below 0.
    int scrollLimit() const;
    int columnOffset(int column) const;
    int columnWidth(int column) const;
    std::uint8_t cellFlag(int row, int column) const;
    mv::COLORREF rowTextColor(int row) const;
    int selectionMode() const { return selectionMode_; }
    QScrollBar* scrollBar() const { return scrollBar_; }
    // The cell of a point of the client area, as a left click would select it: false when the
    // point is below the rows.
    bool hitTest(QPoint point, int& row, int& column) const;

    // Draws the whole grid (the update rectangle is filled with the background first).
    void paintGrid(mv::Canvas& canvas, const mv::RECT& update);
    // Draws one cell's fill and text at a screen row.
    void paintCell(mv::Canvas& canvas, int column, int screenRow, std::string_view text,
                   std::uint8_t flag);

protected:
    void paintEvent(QPaintEvent* event) override;
    void resizeEvent(QResizeEvent* event) override;
    void mousePressEvent(QMouseEvent* event) override;
    void mouseDoubleClickEvent(QMouseEvent* event) override;
    void focusInEvent(QFocusEvent* event) override;
    void focusOutEvent(QFocusEvent* event) override;

private:
    bool validCell(int row, int column) const;
    std::size_t cellIndex(int row, int column) const;
    void rebuildCells();
    void recomputeOffsets();
    void updateScrollRange();
    void setFirstRow(int row);
    // The screen row of a grid row, -1 when it is not on screen.
    int screenRowOf(int row) const;
    QRect rowRect(int screenRow) const;
    QRect cellRect(int column, int screenRow) const;
    void repaintRow(int row);
    void onScrollAction(int action);
    mv::FontDesc cellFont() const;

    int selectionMode_ = kSelectNone;
    mv::COLORREF gridLineColor_ = kDefaultGridLineColor;
    int selColumn_ = -1;
    int selRow_ = -1;
    std::vector<int> offsets_;
    int visibleRows_ = 0;
    bool fullRedraw_ = true;
    int firstRow_ = 0;
    QScrollBar* scrollBar_ = nullptr;
    std::vector<std::string> texts_;
    std::vector<std::uint8_t> flags_;
    std::vector<mv::COLORREF> rowTextColors_;
    std::vector<mv::COLORREF> rowBackColors_;
    std::vector<int> widths_;
    std::vector<void*> data_;
    int columns_ = kDefaultColumns;
    int rows_ = kDefaultRows;
    int fixedColumns_ = 1;
    int fixedRows_ = 1;
    int rowHeight_ = kRowHeight;
    mv::COLORREF headerColor_;
    mv::COLORREF headerTextColor_;
    mv::COLORREF rowTextColor_;
    int alignment_ = kAlignCentre;
    bool inScrollAction_ = false;
};

// Registers the class name "XGRID" with the dialog builder; true on success.
bool RegisterXGridClass();

} // namespace xui
