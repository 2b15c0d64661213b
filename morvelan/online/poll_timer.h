// The Qt side of the polling: timer 1 of the frame as a precise QTimer, the idle time of the
// event loop (the dispatcher about to block, in the main loop and in every modal loop), and
// whether the frame itself receives input.
#pragma once

#include <QObject>
#include <QPointer>
#include <QTimer>
#include <QWidget>

#include <functional>

namespace morvelan {

class CPollTimer : public QObject {
    Q_OBJECT

public:
    // `tick` receives the timer id at every tick; `idle` is called whenever the event loop is
    // about to wait.
    CPollTimer(QWidget* frame, std::function<void(int)> tick, std::function<void()> idle);
    ~CPollTimer() override;

    void Start(int intervalMs);
    void Kill();
    bool IsRunning() const { return timer_.isActive(); }
    int IntervalMs() const { return timer_.interval(); }
    // No modal dialog or popup is up and the frame is the active window.
    bool FrameInFront() const;

private:
    QPointer<QWidget> frame_;
    QTimer timer_;
    std::function<void(int)> tick_;
    std::function<void()> idle_;
    QMetaObject::Connection idleConnection_;
};

} // namespace morvelan
