// morvelan: plans, labels and commissions modular I/O stations.
#include "morvelan/ui/morvelan_app.h"

#include <QAbstractEventDispatcher>
#include <QApplication>
#include <QSocketNotifier>
#include <QStyleFactory>

#include <csignal>
#include <fcntl.h>
#include <unistd.h>

namespace {

// A termination request (SIGTERM, SIGINT, SIGHUP) closes the main window as the Exit command
// does, so the per-user settings are written back.
int g_signalPipe[2] = {-1, -1};

void onSignal(int) {
    const char c = 1;
    [[maybe_unused]] const ssize_t n = ::write(g_signalPipe[1], &c, 1);
}

void closeOnSignals(QApplication& app) {
    if (::pipe2(g_signalPipe, O_CLOEXEC | O_NONBLOCK) != 0)
        return;
    auto* notifier = new QSocketNotifier(g_signalPipe[0], QSocketNotifier::Read, &app);
    QObject::connect(notifier, &QSocketNotifier::activated, &app, [] {
        char c;
        while (::read(g_signalPipe[0], &c, 1) > 0) {
        }
        if (!theApp().OnCommand(ID_APP_EXIT))
            QApplication::quit();
    });
    struct sigaction sa {};
    sa.sa_handler = onSignal;
    sigemptyset(&sa.sa_mask);
    sa.sa_flags = SA_RESTART;
    for (int sig : {SIGTERM, SIGINT, SIGHUP})
        ::sigaction(sig, &sa, nullptr);
}

} // namespace

int main(int argc, char** argv) {
    QApplication app(argc, argv);
    QApplication::setStyle(QStyleFactory::create(QStringLiteral("Fusion")));
    QApplication::setQuitOnLastWindowClosed(true);
    closeOnSignals(app);

    CMorvelanApp& morvelan = theApp();
    if (!morvelan.InitInstance(argc, argv))
        return 1;
    // Idle time goes to the application object whenever the event queue has run empty.
    QObject::connect(QAbstractEventDispatcher::instance(), &QAbstractEventDispatcher::aboutToBlock,
                     &app, [&morvelan] { morvelan.OnIdle(0); });
    const int result = QApplication::exec();
    morvelan.ExitInstance();
    return result;
}
