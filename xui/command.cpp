#include "xui/command.h"

#include <QCoreApplication>
#include <QVariant>

namespace xui {
namespace {
constexpr const char* kIdProperty = "mvControlId";
}

QEvent::Type CommandEvent::eventType() {
    static const QEvent::Type type = static_cast<QEvent::Type>(QEvent::registerEventType());
    return type;
}

int controlId(const QWidget* widget) {
    if (widget == nullptr) {
        return 0;
    }
    return widget->property(kIdProperty).toInt();
}

void setControlId(QWidget* widget, int id) {
    if (widget != nullptr) {
        widget->setProperty(kIdProperty, id);
    }
}

void postCommand(QWidget* control, int code) {
    if (control == nullptr || control->parentWidget() == nullptr) {
        return;
    }
    postCommandTo(control->parentWidget(), controlId(control), code, control);
}

void postCommandTo(QWidget* receiver, int id, int code, QWidget* source) {
    if (receiver == nullptr) {
        return;
    }
    QCoreApplication::postEvent(receiver, new CommandEvent(id, code, source));
}

} // namespace xui
