// COnlineModulData: the live value grid of a channel module (window class
// "ONLINEMODULDATA"). One row of 35 pixels per channel: its name, the value cell (eight bit
// boxes, a display bar or LCD digits) and its unit; in mask mode a hex mask edit per channel.
// The frame redraws the value cells after every good poll through the grid's redraw interface,
// which the grid registers at each paint and clears when it goes.
#pragma once

#include "morvelan/core/param_value.h"
#include "morvelan/online/online_frame.h"
#include "platform/canvas.h"

#include <QImage>
#include <QWidget>

#include <cstdint>
#include <string>
#include <vector>

class CChannelModule;
struct CModulChannel;
class CModuleDescription;
class QScrollBar;

namespace xui {
class CColorSelEdit;
}

namespace morvelan {

constexpr const char* kOnlineModulDataClass = "ONLINEMODULDATA";

// Channel modes in the grid.
constexpr int kGridModeBits = 1;
constexpr int kGridModeDisplay = 2;
constexpr int kGridModeValue = 3;

// Geometry of a row r (0 = the first visible channel).
constexpr int kGridRowHeight = 35;
constexpr int kBitBoxLeft = 120;
constexpr int kBitBoxPitch = 18;
constexpr int kBitBoxTop = 10;
constexpr int kValueFieldLeft = 115;
constexpr int kValueFieldRight = 269;
constexpr int kValueFieldTop = 8;
constexpr int kValueFieldBottom = 41;
constexpr mv::COLORREF kGridBackground = 0xDEBF97;
constexpr mv::COLORREF kDisplayFill = 0xC0C0C0;
constexpr const char* kMaskLabel = "Mask (hex) :";

// Scroll codes of the grid's scroll bar.
constexpr int kScrollLineUp = 0;
constexpr int kScrollLineDown = 1;
constexpr int kScrollPageUp = 2;
constexpr int kScrollPageDown = 3;

// Registers the window class with the dialog builder (program start).
bool RegisterOnlineModulData();

// Where the grid registers its redraw interface (the main frame's online-grid pointer).
class IOnlineGridRegistry {
public:
    virtual ~IOnlineGridRegistry() = default;
    virtual void SetOnlineGrid(IOnlineGrid* grid) = 0;
    virtual void ClearOnlineGrid() = 0;
};

// The text of a value cell in LCD digits: the raw value divided by 10 to the power of
// `decimals` (0 to 7) with "%<width>.<decimals>f", width = digits + decimals + 1; without
// decimals the integer right-aligned in `digits` places.
std::string FormatLcdValue(std::int64_t raw, int decimals, int digits);
// The LCD text of a channel: decimals from a scale that is a power of ten below 1, digits from
// the value type, signed or unsigned by the type.
std::string LcdValueText(const CModulChannel& channel);
// A mask edit's text as a mask: hex, at most 8 digits, read as an unsigned 32-bit number.
std::int32_t ParseMaskText(const std::string& text);

class COnlineModulData : public QWidget {
    Q_OBJECT

public:
    explicit COnlineModulData(QWidget* parent = nullptr);
    ~COnlineModulData() override;

    // Set by the dialog before the grid is shown.
    void SetModule(CChannelModule* module, int moduleNumber, const CModuleDescription* description);
    void SetRegistry(IOnlineGridRegistry* registry) { registry_ = registry; }
    // The scroll bar's range: 0 .. max.
    void SetScrollRange(int max);

    // Every channel drawn again at the next paint.
    void Refresh();
    // Creates (on) or destroys (off) the mask edits and lays the rows out again.
    void SetMaskMode(int on);
    // Each channel's mask := its edit's hex value; then Refresh.
    void ReadMasks();
    // Draws the value cells of every visible channel whose value changed (all while the changed
    // flag is set), then clears the flag. The frame calls it after every good poll.
    void RedrawValues();
    // A scroll code as the scroll bar sends it.
    void OnVScroll(int code);

    int FirstRow() const { return firstRow_; }
    int MaskMode() const { return maskMode_; }
    int Changed() const { return changed_; }
    xui::CColorSelEdit* MaskEdit(int channel) const;
    QScrollBar* ScrollBar() const { return scroll_; }
    IOnlineGrid* RedrawInterface() { return &redraw_; }
    // What is on screen (tests, screenshots).
    const QImage& Surface() const { return surface_; }
    // Cells drawn since construction (tests).
    int CellsDrawn() const { return cellsDrawn_; }

protected:
    void paintEvent(QPaintEvent* e) override;
    void resizeEvent(QResizeEvent* e) override;
    void mousePressEvent(QMouseEvent* e) override;
    // The second press of a double click is a double click, not another press.
    void mouseDoubleClickEvent(QMouseEvent* e) override;

private:
    class RedrawHook final : public IOnlineGrid {
    public:
        explicit RedrawHook(COnlineModulData& grid) : grid_(grid) {}
        void Redraw() override { grid_.RedrawValues(); }

    private:
        COnlineModulData& grid_;
    };

    int ChannelCount() const;
    void OnPaint(mv::Canvas& dc);
    void DrawRow(mv::Canvas& dc, int channel, int row);
    void DrawBits(mv::Canvas& dc, const CModulChannel& ch, int row);
    void DrawDisplay(mv::Canvas& dc, const CModulChannel& ch, int row);
    void OnLButtonDown(int x, int y);
    void LayoutMaskEdits();
    void WriteMasksBack();
    // Opens the set window for a value channel.
    void OpenValueSet(int channel);

    CChannelModule* module_ = nullptr;
    const CModuleDescription* description_ = nullptr;
    int moduleNumber_ = 0;
    IOnlineGridRegistry* registry_ = nullptr;
    RedrawHook redraw_{*this};
    QScrollBar* scroll_ = nullptr;
    mv::FontDesc font_;
    int changed_ = 0;
    int firstRow_ = 0;
    std::vector<xui::CColorSelEdit*> maskEdits_;
    int maskMode_ = 0;
    std::vector<CParamValue> lastDrawn_;
    QImage surface_;
    bool surfaceStale_ = true; // the next paint draws the whole surface
    int cellsDrawn_ = 0;
};

} // namespace morvelan
