#include "xui/owner_button.h"

#include "platform/sys_colors.h"
#include "xui/command.h"
#include "xui/qt_canvas.h"
#include "xui/qt_text.h"
#include "xui/xbutton.h"

#include <QMouseEvent>
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
    : QWidget(parent), caption_(caption) {
    font_.face = "MS Sans Serif";
    font_.height = -8;
    font_.weight = mv::FW_NORMAL;
    setControlId(this, id);
    setWindowTitle(fromCp1252(caption_));
    setFocusPolicy(Qt::StrongFocus);
    setAttribute(Qt::WA_OpaquePaintEvent);
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

void COwnerButton::repaintNormal() {
    pressedFace_ = false;
    repaint();
}

void COwnerButton::showPressedFace() {
    normalFace_ = 0;
    pressedFace_ = true;
    repaint();
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

void COwnerButton::mousePressEvent(QMouseEvent* event) {
    if (event->button() == Qt::LeftButton) {
        pressed_ = 1;
        setFocus(Qt::MouseFocusReason);
        if (latching_ != 0) {
            latched_ = 1;
        }
        showPressedFace();
    }
    event->accept();
}

void COwnerButton::mouseReleaseEvent(QMouseEvent* event) {
    if (event->button() != Qt::LeftButton || !rect().contains(event->position().toPoint())) {
        return;
    }
    if (pressed_ != 0) {
        postCommand(this, kNotifyClicked);
    }
    pressed_ = 0;
    if (latched_ != 0) {
        showPressedFace();
    } else {
        normalFace_ = 0;
        repaintNormal();
    }
}

void COwnerButton::mouseMoveEvent(QMouseEvent* event) {
    if (!rect().contains(event->position().toPoint())) {
        forwardMoveToParent(this, event);
        return;
    }
    if ((event->buttons() & Qt::LeftButton) && hasFocus()) {
        normalFace_ = 1;
        if (pressed_ != 0) {
            showPressedFace();
        }
    }
}

void COwnerButton::mouseDoubleClickEvent(QMouseEvent* event) {
    repostDoubleClickAsClick(this, event);
}

void COwnerButton::focusInEvent(QFocusEvent* event) {
    if (pressed_ == 0) {
        normalFace_ = 0;
        repaintNormal();
    }
    QWidget::focusInEvent(event);
}

void COwnerButton::focusOutEvent(QFocusEvent* event) {
    normalFace_ = 0;
    repaintNormal();
    QWidget::focusOutEvent(event);
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
