#include "panel/ui/panel_clock.h"

#include <QCoreApplication>
#include <QEventLoop>
#include <QTimer>

namespace x740panel {
namespace {
mv::SystemClock& SystemClock() {
    static mv::SystemClock clock;
    return clock;
}
mv::Clock*& Injected() {
    static mv::Clock* clock = nullptr;
    return clock;
}
} // namespace

mv::Clock& PanelClock() { return Injected() != nullptr ? *Injected() : SystemClock(); }

void SetPanelClock(mv::Clock* clock) { Injected() = clock; }

void WaitInEventLoop(int ms) {
    if (Injected() != nullptr) {
        Injected()->sleep(ms);
        QCoreApplication::processEvents();
        return;
    }
    if (ms <= 0) {
        QCoreApplication::processEvents();
        return;
    }
    QEventLoop loop;
    QTimer::singleShot(ms, &loop, &QEventLoop::quit);
    loop.exec();
}

} // namespace x740panel
