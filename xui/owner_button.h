// The self-drawn latching button: the gradient face of XBUTTON, a yellow pressed face, and a
// caption cut to fit ("..."). In latching mode a press latches and only Release() unlatches.
#pragma once

#include "platform/canvas.h"
#include "platform/gdi_types.h"

#include <QWidget>

#include <string>

namespace xui {

class COwnerButton : public QWidget {
    Q_OBJECT

public:
    static constexpr mv::COLORREF kDefaultTop = 0xFFFFFF;
    static constexpr mv::COLORREF kDefaultBottom = 0xC0C0C0;
    static constexpr mv::COLORREF kPressedFill = 0x5CDDFF;
    static constexpr mv::COLORREF kFrameColor = 0xFFFFFF;
    static constexpr mv::COLORREF kTextColor = 0x000000;
    static constexpr mv::COLORREF kDisabledTextColor = 0xACACAC;
    // Captions longer than these are cut to the kept count followed by "...".
    static constexpr int kNormalMax = 19;
    static constexpr int kNormalKeep = 16;
    static constexpr int kPressedMax = 15;
    static constexpr int kPressedKeep = 12;

    // A button with its control id and caption (Windows-1252 bytes).
    COwnerButton(QWidget* parent, int id, const std::string& caption);

    void SetLatching();
    // A press by the program: focus and pressed face (and latched in latching mode).
    void Press();
    // Latching mode: unlatch and repaint.
    void Release();

    void SetCaption(const std::string& caption);
    const std::string& caption() const { return caption_; }
    bool isLatched() const { return latched_ != 0; }
    bool isLatching() const { return latching_ != 0; }
    bool isPressed() const { return pressed_ != 0; }
    bool pressedFaceShown() const { return pressedFace_; }
    bool NormalFaceShown() const { return normalFace_ != 0; }

    // The caption as each face draws it.
    static std::string normalCaption(const std::string& caption);
    static std::string pressedCaption(const std::string& caption);

    void paintNormalFace(mv::Canvas& canvas, bool focused);
    void paintPressedFace(mv::Canvas& canvas);

protected:
    void paintEvent(QPaintEvent* event) override;
    void mousePressEvent(QMouseEvent* event) override;
    void mouseReleaseEvent(QMouseEvent* event) override;
    void mouseMoveEvent(QMouseEvent* event) override;
    void mouseDoubleClickEvent(QMouseEvent* event) override;
    void focusInEvent(QFocusEvent* event) override;
    void focusOutEvent(QFocusEvent* event) override;

private:
    void showPressedFace();
    void repaintNormal();

    std::string caption_;
    mv::FontDesc font_;
    int latched_ = 0;
    int latching_ = 0;
    mv::COLORREF top_ = kDefaultTop;
    mv::COLORREF bottom_ = kDefaultBottom;
    int pressed_ = 0;
    int normalFace_ = 0;
    bool pressedFace_ = false;
};

} // namespace xui
