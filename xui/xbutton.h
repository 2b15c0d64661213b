// XBUTTON: the gradient push button (window class "XBUTTON"), optionally a toggle button.
#pragma once

#include "platform/canvas.h"
#include "platform/gdi_types.h"
#include "xui/gradient_button.h"
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

class CXButton : public GradientButton, public RepairableFace {
    Q_OBJECT

public:
    static constexpr mv::COLORREF kPressedFill = 0xF0F0F0;

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
    bool NormalFaceShown() const override { return GradientButton::NormalFaceShown(); }
    // A press as by the left mouse button, without a notification.
    void Click();

    bool isToggle() const { return toggle_ != 0; }
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
    void leftDown() override;
    bool keepsPressedFace() const override { return toggle_ != 0 && latched_ != 0; }

private:
    int toggle_ = 0;
};

// Registers the class name "XBUTTON" with the dialog builder; true on success.
bool RegisterXButtonClass();

} // namespace xui
