#include "tests/xvfb/xvfb_session.h"

#include <QCoreApplication>
#include <cerrno>
#include <csignal>
#include <cstdlib>
#include <fcntl.h>
#include <mutex>
#include <poll.h>
#include <sys/prctl.h>
#include <sys/wait.h>
#include <unistd.h>

namespace mvtest {
namespace {

struct Server {
    pid_t pid = -1;
    std::string display;
    bool tried = false;
};

Server& server() {
    static Server s;
    return s;
}

void stopServer() {
    Server& s = server();
    if (s.pid > 0) {
        kill(s.pid, SIGTERM);
        waitpid(s.pid, nullptr, 0);
        s.pid = -1;
    }
}

const char* findXvfb() {
    for (const char* p : {"/usr/bin/Xvfb", "/usr/local/bin/Xvfb"})
        if (access(p, X_OK) == 0) return p;
    return nullptr;
}

// Reads the display number the server writes to `fd` once it accepts clients.
std::string readDisplay(int fd, int timeoutMs) {
    std::string got;
    while (got.find('\n') == std::string::npos) {
        pollfd p{fd, POLLIN, 0};
        if (poll(&p, 1, timeoutMs) <= 0) return {};
        char buf[32];
        ssize_t n = read(fd, buf, sizeof buf);
        if (n < 0 && errno == EINTR) continue;
        if (n <= 0) return {};
        got.append(buf, static_cast<size_t>(n));
    }
    got.erase(got.find('\n'));
    return got.empty() ? std::string() : ":" + got;
}

bool launch() {
    const char* xvfb = findXvfb();
    if (!xvfb) return false;
    int fds[2];
    if (pipe2(fds, O_CLOEXEC) != 0) return false;
    const pid_t parent = getpid();
    pid_t pid = fork();
    if (pid < 0) {
        close(fds[0]);
        close(fds[1]);
        return false;
    }
    if (pid == 0) {
        // The server goes with the test program, however it ends.
        prctl(PR_SET_PDEATHSIG, SIGTERM);
        if (getppid() != parent) _exit(1);
        int devnull = open("/dev/null", O_RDWR);
        if (devnull >= 0) {
            dup2(devnull, STDOUT_FILENO);
            dup2(devnull, STDERR_FILENO);
        }
        int wfd = dup(fds[1]);  // without FD_CLOEXEC, for the server to write to
        std::string fdText = std::to_string(wfd);
        execl(xvfb, "Xvfb", "-displayfd", fdText.c_str(), "-screen", "0", "1280x1024x24",
              "-nolisten", "tcp", "-noreset", static_cast<char*>(nullptr));
        _exit(127);
    }
    close(fds[1]);
    std::string display = readDisplay(fds[0], 15000);
    close(fds[0]);
    Server& s = server();
    s.pid = pid;
    if (display.empty()) {
        stopServer();
        return false;
    }
    s.display = display;
    std::atexit(stopServer);
    setenv("DISPLAY", display.c_str(), 1);
    setenv("QT_QPA_PLATFORM", "xcb", 1);
    unsetenv("XAUTHORITY");
    return true;
}

}  // namespace

bool XvfbSession::Start() {
    static std::mutex m;
    std::lock_guard<std::mutex> lock(m);
    Server& s = server();
    if (s.tried) return !s.display.empty();
    if (QCoreApplication::instance()) return false;  // too late to change the platform
    s.tried = true;
    return launch();
}

std::string XvfbSession::Display() {
    return server().display;
}

}  // namespace mvtest
