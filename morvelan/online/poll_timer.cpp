#include "morvelan/online/poll_timer.h"

#include "morvelan/online/poll_scheduler.h"

#include <QAbstractEventDispatcher>
#include <QApplication>

namespace morvelan {

CPollTimer::CPollTimer(QWidget* frame, std::function<void(int)> tick, std::function<void()> idle)
    : frame_(frame), tick_(std::move(tick)), idle_(std::move(idle)) {
    timer_.setTimerType(Qt::PreciseTimer);
    connect(&timer_, &QTimer::timeout, this, [this] {
        if (tick_)
            tick_(kPollTimerId);
    });
    if (auto* dispatcher = QAbstractEventDispatcher::instance()) {
        idleConnection_ = connect(dispatcher, &QAbstractEventDispatcher::aboutToBlock, this, [this] {
            if (idle_)
                idle_();
        });
    }
}

CPollTimer::~CPollTimer() {
    disconnect(idleConnection_);
}

void CPollTimer::Start(int intervalMs) {
    timer_.start(intervalMs);
}

void CPollTimer::Kill() {
    timer_.stop();
}

bool CPollTimer::FrameInFront() const {
    if (!frame_ || QApplication::activeModalWidget() || QApplication::activePopupWidget())
        return false;
    return frame_->isActiveWindow();
}

} // namespace morvelan
