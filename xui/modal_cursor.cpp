#include "xui/modal_cursor.h"

#include <QGuiApplication>

namespace xui {
namespace {

ModalCursorLift*& innermost() {
    static ModalCursorLift* lift = nullptr;
    return lift;
}

} // namespace

ModalCursorLift::ModalCursorLift() : outer_(innermost()) {
    while (const QCursor* c = QGuiApplication::overrideCursor()) {
        lifted_.push_back(*c);
        QGuiApplication::restoreOverrideCursor();
    }
    innermost() = this;
}

ModalCursorLift::~ModalCursorLift() {
    innermost() = outer_;
    for (auto it = lifted_.rbegin(); it != lifted_.rend(); ++it)
        QGuiApplication::setOverrideCursor(*it);
}

void BeginWaitCursor() {
    QGuiApplication::setOverrideCursor(Qt::WaitCursor);
}

void EndWaitCursor() {
    if (QGuiApplication::overrideCursor()) {
        QGuiApplication::restoreOverrideCursor();
        return;
    }
    for (ModalCursorLift* lift = innermost(); lift; lift = lift->outer_) {
        if (!lift->lifted_.empty()) {
            lift->lifted_.erase(lift->lifted_.begin());
            return;
        }
    }
}

} // namespace xui
