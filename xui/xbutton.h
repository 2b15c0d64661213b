// XBUTTON: the gradient push button (window class "XBUTTON"), optionally a toggle button.
// A press released over the button posts a command (its control id, code 0) to the parent.
// The button does not capture the mouse: a press released outside sends nothing.
#pragma once

#include "platform/canvas.h"
#include "platform/gdi_types.h"
#include "xui/window_class.h"

#include <QWidget>

#include <string>

namespace xui {

// The normal face of the program's buttons: a vertical gradient from the top colour down,
// each channel decreasing per line by |bottom - top| / height (never below 0). Lines run from
// rect.left to rect.right - 1 for y = startY .. rect.bottom - 1. A height of 0 draws nothing.
void DrawButtonGradient(mv::Canvas& canvas, const mv::RECT& rect, int startY, mv::COLORREF top,
                        mv::COLORREF bottom);

// The caption of a button as text bytes for the canvas.
std::string buttonText(const QWidget* button);

// The normal face on a width x height client area: white frame, gradient (from the top line
// when focused, else from 0), focus rectangle when focused, and the caption centred over it.
void DrawNormalButtonFace(mv::Canvas& canvas, int width, int height, bool focused,
                          mv::COLORREF top, mv::COLORREF bottom, const mv::FontDesc& font,
                          const std::string& text, bool enabled);

// The caption of a pressed face: black on the fill colour, centred in rect.
void DrawPressedButtonCaption(mv::Canvas& canvas, const mv::RECT& rect, const mv::FontDesc& font,
                              const std::string& text, mv::COLORREF fill);

// A double click with the left button: posts a press and a release at the same place, so the
// second click counts as a click of its own.
void repostDoubleClickAsClick(QWidget* button, QMouseEvent* event);

class CXButton : public QWidget, public RepairableFace {
    Q_OBJECT

public:
    static constexpr mv::COLORREF kDefaultTop = 0xFFFFFF;
    static constexpr mv::COLORREF kDefaultBottom = 0xC0C0C0;
    static constexpr mv::COLORREF kPressedFill = 0xF0F0F0;
    static constexpr mv::COLORREF kTextColor = 0x000000;
    static constexpr mv::COLORREF kDisabledTextColor = 0xACACAC;
    static constexpr mv::COLORREF kFrameColor = 0xFFFFFF;

    explicit CXButton(QWidget* parent = nullptr, const QString& text = QString());

    // Stores the two gradient colours (no repaint).
    void SetColors(mv::COLORREF top, mv::COLORREF bottom);
    // Makes the button a toggle button.
    void SetToggle();
    // The latched state.
    int GetCheck() const { return latched_; }
    // Toggle buttons: unlatch. Every button repaints.
    void ResetCheck();
    // Marks the normal face as not shown and repaints.
    void ClearHover();
    // If the normal face is not shown: repaint and mark it shown.
    void RefreshFace() override;
    bool NormalFaceShown() const override { return normalFace_ != 0; }
    // A press as by the left mouse button, without a notification.
    void Click();

    bool isToggle() const { return toggle_ != 0; }
    bool isPressed() const { return pressed_ != 0; }
    // True while the pressed face is on screen.
    bool pressedFaceShown() const { return pressedFace_; }
    mv::COLORREF topColor() const { return top_; }
    mv::COLORREF bottomColor() const { return bottom_; }
    const mv::FontDesc& buttonFont() const { return font_; }

    QString text() const { return windowTitle(); }
    void setText(const QString& text);

    // The two faces on any canvas (client rectangle 0,0 .. width,height).
    void paintNormalFace(mv::Canvas& canvas, bool focused);
    void paintPressedFace(mv::Canvas& canvas, bool focused);

protected:
    void paintEvent(QPaintEvent* event) override;
    void mousePressEvent(QMouseEvent* event) override;
    void mouseReleaseEvent(QMouseEvent* event) override;
    void mouseMoveEvent(QMouseEvent* event) override;
    void mouseDoubleClickEvent(QMouseEvent* event) override;
    void focusInEvent(QFocusEvent* event) override;
    void focusOutEvent(QFocusEvent* event) override;

private:
    void leftDown();
    void showPressedFace();
    void repaintNormal();

    mv::FontDesc font_;
    int latched_ = 0;
    int toggle_ = 0;
    mv::COLORREF top_ = kDefaultTop;
    mv::COLORREF bottom_ = kDefaultBottom;
    int pressed_ = 0;
    int normalFace_ = 0;
    bool pressedFace_ = false;
};

// Sends a mouse move the button saw outside itself on to the dialog surface below it, as the
// platform would have delivered it there (the dialog's face repair listens to it).
void forwardMoveToParent(QWidget* control, QMouseEvent* event);

// Registers the class name "XBUTTON" with the dialog builder; true on success.
bool RegisterXButtonClass();

} // namespace xui
