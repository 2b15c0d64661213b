#include "xui/owner_button.h"

#include "platform/sys_colors.h"
#include "xui/command.h"
#include "xui/qt_canvas.h"
#include "xui/qt_text.h"
#include "xui/xbutton.h"

#include <QPainter>

namespace xui {
namespace {

std::string cut(const std::string& text, std::size_t max, std::size_t keep) {
    if (text.size() <= max) {
        return text;
    }
    return text.substr(0, keep) + "...";
}

} // namespace

COwnerButton::COwnerButton(QWidget* parent, int id, const std::string& caption)
    : GradientButton(parent), caption_(caption) {
    setControlId(this, id);
    setWindowTitle(fromCp1252(caption_));
}

std::string COwnerButton::normalCaption(const std::string& caption) {
    return cut(caption, kNormalMax, kNormalKeep);
}

std::string COwnerButton::pressedCaption(const std::string& caption) {
    return cut(caption, kPressedMax, kPressedKeep);
}

void COwnerButton::SetCaption(const std::string& caption) {
    caption_ = caption;
    setWindowTitle(fromCp1252(caption_));
    update();
}

void COwnerButton::SetLatching() {
    latching_ = 1;
}

void COwnerButton::Press() {
    setFocus(Qt::OtherFocusReason);
    if (latching_ != 0) {
        latched_ = 1;
    }
    showPressedFace();
}

void COwnerButton::Release() {
    if (latching_ != 0) {
        latched_ = 0;
        repaintNormal();
    }
}

void COwnerButton::leftDown() {
    pressed_ = 1;
    setFocus(Qt::MouseFocusReason);
    if (latching_ != 0) {
        latched_ = 1;
    }
    showPressedFace();
}

void COwnerButton::paintEvent(QPaintEvent*) {
    QPainter painter(this);
    QtCanvas canvas(painter);
    if (pressedFace_ || latched_ != 0) {
        paintPressedFace(canvas);
        return;
    }
    paintNormalFace(canvas, hasFocus());
    normalFace_ = 1;
}

void COwnerButton::paintNormalFace(mv::Canvas& canvas, bool focused) {
    if (width() <= 0 || height() <= 0) {
        return;
    }
    DrawNormalButtonFace(canvas, width(), height(), focused, top_, bottom_, font_,
                         normalCaption(caption_), isEnabled());
}

void COwnerButton::paintPressedFace(mv::Canvas& canvas) {
    if (width() <= 0 || height() <= 0) {
        return;
    }
    normalFace_ = 0;
    canvas.saveState();
    const mv::RECT r{0, 0, width(), height()};
    // White outer line, the shadow frame inside it, yellow within.
    canvas.frameRect(r, kFrameColor);
    const mv::RECT inner = mv::InflateRect(r, -1, -1);
    canvas.fillRect(inner, kPressedFill);
    DrawPressedButtonCaption(canvas, r, font_, pressedCaption(caption_), kPressedFill);
    canvas.frameRect(inner, mv::GetSysColor(mv::COLOR_BTNSHADOW));
    canvas.drawFocusRect(mv::InflateRect(r, -2, -2));
    canvas.restoreState();
}

} // namespace xui
