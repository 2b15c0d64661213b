// morvelan: plans, labels and commissions modular I/O stations.
#include "morvelan/ui/morvelan_app.h"

#include <QApplication>
#include <QSocketNotifier>
#include <QStyleFactory>

#include <csignal>
#include <fcntl.h>
#include <unistd.h>

namespace {

// A termination request (SIGTERM, SIGINT, SIGHUP) ends the program at any moment, start-up and
// open dialogs included, writing the per-user settings back as Exit does. The handler only
// writes to a pipe; the event loop reads it.
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
        theApp().EndNow();
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

    return theApp().Run(argc, argv);
}
