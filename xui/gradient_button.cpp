#include "xui/gradient_button.h"

#include "xui/command.h"

#include <QCoreApplication>
#include <QMouseEvent>

namespace xui {
namespace {

mv::FontDesc defaultButtonFont() {
    mv::FontDesc f;
    f.face = "MS Sans Serif";
    f.height = -8;
    f.weight = mv::FW_NORMAL;
    return f;
}

// A double click with the left button: posts a press and a release at the same place, so the
// second click counts as a click of its own.
void repostDoubleClickAsClick(QWidget* button, QMouseEvent* event) {
    if (event->button() != Qt::LeftButton) {
        return;
    }
    const QPointF pos = event->position();
    const QPointF global = event->globalPosition();
    QCoreApplication::postEvent(button, new QMouseEvent(QEvent::MouseButtonPress, pos, global,
                                                        Qt::LeftButton, Qt::LeftButton,
                                                        event->modifiers()));
    QCoreApplication::postEvent(button,
                                new QMouseEvent(QEvent::MouseButtonRelease, pos, global,
                                                Qt::LeftButton, Qt::NoButton, event->modifiers()));
}

// Sends a mouse move the button saw outside itself on to the dialog surface below it, as the
// platform would have delivered it there (the dialog's face repair listens to it).
void forwardMoveToParent(QWidget* control, QMouseEvent* event) {
    QWidget* parent = control->parentWidget();
    if (parent == nullptr) {
        return;
    }
    const QPoint p = control->mapToParent(event->position().toPoint());
    if (!parent->rect().contains(p) || parent->childAt(p) != nullptr) {
        return;
    }
    QMouseEvent move(QEvent::MouseMove, QPointF(p), event->globalPosition(), Qt::NoButton,
                     event->buttons(), event->modifiers());
    QCoreApplication::sendEvent(parent, &move);
}

} // namespace

GradientButton::GradientButton(QWidget* parent) : QWidget(parent), font_(defaultButtonFont()) {
    setFocusPolicy(Qt::StrongFocus);
    setAttribute(Qt::WA_OpaquePaintEvent);
}

void GradientButton::repaintNormal() {
    pressedFace_ = false;
    repaint();
}

void GradientButton::showPressedFace() {
    normalFace_ = 0;
    pressedFace_ = true;
    repaint();
}

void GradientButton::mousePressEvent(QMouseEvent* event) {
    if (event->button() == Qt::LeftButton) {
        leftDown();
    }
    event->accept();
}

void GradientButton::mouseReleaseEvent(QMouseEvent* event) {
    if (event->button() != Qt::LeftButton) {
        return;
    }
    // Released outside: the platform gives the release to whatever lies there.
    if (!rect().contains(event->position().toPoint())) {
        return;
    }
    if (pressed_ != 0) {
        postCommand(this, kNotifyClicked);
    }
    pressed_ = 0;
    if (keepsPressedFace()) {
        showPressedFace();
    } else {
        normalFace_ = 0;
        repaintNormal();
    }
}

void GradientButton::mouseMoveEvent(QMouseEvent* event) {
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

void GradientButton::mouseDoubleClickEvent(QMouseEvent* event) {
    repostDoubleClickAsClick(this, event);
}

void GradientButton::focusInEvent(QFocusEvent* event) {
    if (pressed_ == 0) {
        normalFace_ = 0;
        repaintNormal();
    }
    QWidget::focusInEvent(event);
}

void GradientButton::focusOutEvent(QFocusEvent* event) {
    normalFace_ = 0;
    repaintNormal();
    QWidget::focusOutEvent(event);
}

} // namespace xui
