#include "tests/flash/loader/run_program.h"

#include "flash/loader/work_folder.h"

#include <cerrno>
#include <chrono>
#include <csignal>
#include <cstdlib>
#include <fcntl.h>
#include <fstream>
#include <poll.h>
#include <pty.h>
#include <sstream>
#include <stdexcept>
#include <sys/stat.h>
#include <sys/wait.h>
#include <termios.h>
#include <unistd.h>

namespace flashtest {

namespace {

void ExecChild(const std::string& program, const std::vector<std::string>& args,
               const ProgramOptions& options) {
    if (::chdir(options.folder.c_str()) != 0) {
        ::_exit(126);
    }
    for (const auto& [name, value] : options.env) {
        if (value.empty()) {
            ::unsetenv(name.c_str());
        } else {
            ::setenv(name.c_str(), value.c_str(), 1);
        }
    }
    std::vector<char*> argv;
    argv.push_back(const_cast<char*>(program.c_str()));
    for (const std::string& a : args) {
        argv.push_back(const_cast<char*>(a.c_str()));
    }
    argv.push_back(nullptr);
    ::execv(program.c_str(), argv.data());
    ::_exit(127);
}

// Reads what the child writes until it closes its side, writing the input on the way.
void Pump(int outFd, int inFd, bool closeInput, const ProgramOptions& options, pid_t child,
          ProgramRun& run) {
    const std::string& input = options.input;
    const int timeoutMs = options.timeoutMs;
    const auto deadline = std::chrono::steady_clock::now() + std::chrono::milliseconds(timeoutMs);
    std::size_t written = 0;
    char buffer[4096];
    for (;;) {
        const auto left = std::chrono::duration_cast<std::chrono::milliseconds>(
                              deadline - std::chrono::steady_clock::now())
                              .count();
        if (left <= 0) {
            ::kill(child, SIGKILL);
            break;
        }
        pollfd fds[2] = {{outFd, POLLIN, 0}, {inFd, POLLOUT, 0}};
        bool writing = inFd >= 0 && written < input.size() &&
                       run.output.find(options.inputAfter) != std::string::npos;
        // On a terminal the key goes out only once the program has turned echo off, else the
        // line discipline would echo it before the program reads it.
        bool echoOn = false;
        if (writing && options.terminal) {
            termios mode{};
            echoOn = ::tcgetattr(inFd, &mode) == 0 && (mode.c_lflag & ECHO);
            writing = !echoOn;
        }
        fds[1].revents = 0;
        const int n = ::poll(fds, writing ? 2 : 1, echoOn ? 1 : static_cast<int>(left));
        if (n < 0 && errno == EINTR) {
            continue;
        }
        if (writing && (fds[1].revents & POLLOUT)) {
            const ssize_t w = ::write(inFd, input.data() + written, input.size() - written);
            if (w > 0) {
                written += static_cast<std::size_t>(w);
            }
        }
        if (closeInput && inFd >= 0 && written >= input.size() &&
            run.output.find(options.inputAfter) != std::string::npos) {
            ::close(inFd); // the end of input
            inFd = -1;
        }
        if (fds[0].revents & (POLLIN | POLLHUP | POLLERR)) {
            const ssize_t r = ::read(outFd, buffer, sizeof buffer);
            if (r <= 0) {
                break; // closed (a terminal's master reads EIO once the child is gone)
            }
            run.output.append(buffer, static_cast<std::size_t>(r));
        }
    }
}

int Reap(pid_t child) {
    int status = 0;
    while (::waitpid(child, &status, 0) < 0 && errno == EINTR) {
    }
    return WIFEXITED(status) ? WEXITSTATUS(status) : -1;
}

} // namespace

ProgramRun RunProgram(const std::string& program, const std::vector<std::string>& args,
                      const ProgramOptions& options) {
    ProgramRun run;
    if (options.terminal) {
        int master = -1;
        termios settings{};
        ::cfmakeraw(&settings);
        settings.c_lflag |= ECHO | ICANON | ISIG;
        settings.c_oflag |= OPOST | ONLCR;
        const pid_t child = ::forkpty(&master, nullptr, &settings, nullptr);
        if (child < 0) {
            throw std::runtime_error("forkpty failed");
        }
        if (child == 0) {
            ExecChild(program, args, options);
        }
        Pump(master, master, false, options, child, run);
        ::close(master);
        run.exitCode = Reap(child);
        return run;
    }
    int out[2], in[2];
    if (::pipe2(out, O_CLOEXEC) != 0 || ::pipe2(in, O_CLOEXEC) != 0) {
        throw std::runtime_error("pipe failed");
    }
    const pid_t child = ::fork();
    if (child == 0) {
        ::dup2(in[0], STDIN_FILENO);
        ::dup2(out[1], STDOUT_FILENO);
        ExecChild(program, args, options);
    }
    ::close(out[1]);
    ::close(in[0]);
    // All input at once, then its end.
    Pump(out[0], in[1], true, options, child, run);
    ::close(out[0]);
    run.exitCode = Reap(child);
    return run;
}

ScratchFolder::ScratchFolder() {
    const char* base = std::getenv("TMPDIR");
    std::string pattern = std::string(base && *base ? base : "/tmp") + "/x740flash-test-XXXXXX";
    if (!::mkdtemp(pattern.data())) {
        throw std::runtime_error("mkdtemp failed");
    }
    m_Path = pattern;
}

ScratchFolder::~ScratchFolder() {
    flash::RemoveTree(m_Path);
}

void ScratchFolder::write(const std::string& name, const std::string& bytes) const {
    std::ofstream(file(name), std::ios::binary) << bytes;
}

std::string ScratchFolder::read(const std::string& name) const {
    std::ifstream in(file(name), std::ios::binary);
    std::ostringstream text;
    text << in.rdbuf();
    return text.str();
}

bool ScratchFolder::exists(const std::string& name) const {
    struct stat st {};
    return ::stat(file(name).c_str(), &st) == 0;
}

} // namespace flashtest
