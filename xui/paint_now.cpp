#include "xui/paint_now.h"

#include <QCoreApplication>
#include <QEventLoop>
#include <QTimer>
#include <QWidget>
#include <QWindow>

namespace xui {

namespace {

constexpr QEventLoop::ProcessEventsFlags kNoUserInput = QEventLoop::ExcludeUserInputEvents;

// Ends a wait as soon as the window it watches is exposed.
class ExposeWatch final : public QObject {
public:
    ExposeWatch(QWindow* window, QEventLoop* loop) : window_(window), loop_(loop) {
        window_->installEventFilter(this);
    }
    ~ExposeWatch() override { window_->removeEventFilter(this); }

protected:
    bool eventFilter(QObject* watched, QEvent* event) override {
        if (watched == window_ && event->type() == QEvent::Expose && window_->isExposed())
            QTimer::singleShot(0, loop_, &QEventLoop::quit);
        return false;
    }

private:
    QWindow* window_;
    QEventLoop* loop_;
};

void WaitUntilExposed(QWindow* window) {
    if (window == nullptr || window->isExposed())
        return;
    QEventLoop loop;
    ExposeWatch watch(window, &loop);
    QTimer deadline;
    deadline.setSingleShot(true);
    QObject::connect(&deadline, &QTimer::timeout, &loop, &QEventLoop::quit);
    deadline.start(kExposeWaitMs);
    loop.exec(kNoUserInput);
}

} // namespace

void PaintNow(QWidget* widget) {
    if (widget == nullptr || !widget->isVisible())
        return;
    WaitUntilExposed(widget->window()->windowHandle());
    QCoreApplication::processEvents(kNoUserInput);
    widget->repaint();
    // The window system takes the drawing when its connection is served.
    QCoreApplication::processEvents(kNoUserInput);
}

} // namespace xui
