// What the program's two self-drawn buttons share: the gradient colours and font, the pressed
// and normal face flags, and the mouse and focus handling that switches between the faces.
// A press released over the button posts a command (its control id, code 0) to the parent.
// The button does not capture the mouse: a press released outside sends nothing.
#pragma once

#include "platform/canvas.h"
#include "platform/gdi_types.h"

#include <QWidget>

namespace xui {

class GradientButton : public QWidget {
    Q_OBJECT

public:
    static constexpr mv::COLORREF kDefaultTop = 0xFFFFFF;
    static constexpr mv::COLORREF kDefaultBottom = 0xC0C0C0;
    static constexpr mv::COLORREF kFrameColor = 0xFFFFFF;
    static constexpr mv::COLORREF kTextColor = 0x000000;
    static constexpr mv::COLORREF kDisabledTextColor = 0xACACAC;

    explicit GradientButton(QWidget* parent);

    bool isPressed() const { return pressed_ != 0; }
    // True while the pressed face is on screen.
    bool pressedFaceShown() const { return pressedFace_; }
    bool NormalFaceShown() const { return normalFace_ != 0; }

protected:
    // A press of the left mouse button.
    virtual void leftDown() = 0;
    // Whether a release over the button leaves the pressed face on screen.
    virtual bool keepsPressedFace() const = 0;

    void showPressedFace();
    void repaintNormal();

    void mousePressEvent(QMouseEvent* event) override;
    void mouseReleaseEvent(QMouseEvent* event) override;
    void mouseMoveEvent(QMouseEvent* event) override;
    void mouseDoubleClickEvent(QMouseEvent* event) override;
    void focusInEvent(QFocusEvent* event) override;
    void focusOutEvent(QFocusEvent* event) override;

    mv::FontDesc font_;
    int latched_ = 0;
    mv::COLORREF top_ = kDefaultTop;
    mv::COLORREF bottom_ = kDefaultBottom;
    int pressed_ = 0;
    int normalFace_ = 0;
    bool pressedFace_ = false;
};

} // namespace xui
