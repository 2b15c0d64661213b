// Commands: a control tells its parent what happened by posting a command (control id and
// notification code). The parent sees a CommandEvent in its event(); CXDialog turns it into a
// call of its OnCommand handler.
#pragma once

#include <QEvent>
#include <QPointer>
#include <QWidget>

namespace xui {

// Notification code of a plain click.
constexpr int kNotifyClicked = 0;

class CommandEvent final : public QEvent {
public:
    CommandEvent(int id, int code, QWidget* source)
        : QEvent(eventType()), id_(id), code_(code), source_(source) {}

    static QEvent::Type eventType();

    int id() const { return id_; }
    int code() const { return code_; }
    // The control that sent the command; null when it is gone or the command was synthetic.
    QWidget* source() const { return source_; }

private:
    int id_;
    int code_;
    QPointer<QWidget> source_;
};

// The control id of a widget (given by the dialog builder or by setControlId); 0 when none.
int controlId(const QWidget* widget);
void setControlId(QWidget* widget, int id);

// Posts a command with the control's own id and the code to the control's parent widget.
// Nothing happens when the control has no parent.
void postCommand(QWidget* control, int code = kNotifyClicked);

// Posts a command to any receiver (a dialog that sends itself 2 on Escape, for example).
void postCommandTo(QWidget* receiver, int id, int code = kNotifyClicked, QWidget* source = nullptr);

} // namespace xui
