#include "flash/loader/key_input.h"

#include <cerrno>
#include <csignal>
#include <termios.h>
#include <unistd.h>

namespace flash {

namespace {

// The terminal settings in force before a key read, for the interrupt handler.
termios g_SavedTerminal{};
volatile sig_atomic_t g_TerminalRaw = 0;

void RestoreOnSignal(int signal) {
    if (g_TerminalRaw) {
        ::tcsetattr(STDIN_FILENO, TCSANOW, &g_SavedTerminal);
        g_TerminalRaw = 0;
    }
    std::signal(signal, SIG_DFL);
    std::raise(signal);
}

int ReadOneByte() {
    unsigned char byte = 0;
    for (;;) {
        const ssize_t n = ::read(STDIN_FILENO, &byte, 1);
        if (n == 1) {
            return byte;
        }
        if (n < 0 && errno == EINTR) {
            continue;
        }
        return kNoKey;
    }
}

// Puts the terminal into single-key mode without echo for its lifetime.
class RawTerminal {
public:
    RawTerminal() {
        if (::tcgetattr(STDIN_FILENO, &g_SavedTerminal) != 0) {
            return;
        }
        struct sigaction action {};
        action.sa_handler = RestoreOnSignal;
        sigemptyset(&action.sa_mask);
        for (int i = 0; i < 3; ++i) {
            ::sigaction(kSignals[i], &action, &m_Previous[i]);
        }
        termios raw = g_SavedTerminal;
        raw.c_lflag &= static_cast<tcflag_t>(~(ICANON | ECHO));
        raw.c_cc[VMIN] = 1;
        raw.c_cc[VTIME] = 0;
        g_TerminalRaw = 1;
        m_Active = ::tcsetattr(STDIN_FILENO, TCSANOW, &raw) == 0;
        if (!m_Active) {
            g_TerminalRaw = 0;
            RestoreHandlers();
        }
    }
    ~RawTerminal() {
        if (!m_Active) {
            return;
        }
        ::tcsetattr(STDIN_FILENO, TCSANOW, &g_SavedTerminal);
        g_TerminalRaw = 0;
        RestoreHandlers();
    }
    RawTerminal(const RawTerminal&) = delete;
    RawTerminal& operator=(const RawTerminal&) = delete;

private:
    void RestoreHandlers() {
        for (int i = 0; i < 3; ++i) {
            ::sigaction(kSignals[i], &m_Previous[i], nullptr);
        }
    }

    static constexpr int kSignals[3] = {SIGINT, SIGTERM, SIGHUP};
    struct sigaction m_Previous[3]{};
    bool m_Active = false;
};

} // namespace

int CStdinKeys::ReadKey() {
    if (::isatty(STDIN_FILENO) != 1) {
        return ReadOneByte();
    }
    RawTerminal raw;
    return ReadOneByte();
}

int CScriptedKeys::ReadKey() {
    ++m_Reads;
    if (m_Next >= m_Keys.size()) {
        return kNoKey;
    }
    return static_cast<unsigned char>(m_Keys[m_Next++]);
}

} // namespace flash
