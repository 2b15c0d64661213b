#include "tests/ftp/ftp_peer.h"

#include "platform/clock.h"
#include "tests/test_paths.h"

#include <cerrno>
#include <csignal>
#include <cstdlib>
#include <dirent.h>
#include <fcntl.h>
#include <filesystem>
#include <fstream>
#include <poll.h>
#include <spawn.h>
#include <sstream>
#include <sys/wait.h>
#include <unistd.h>

extern char** environ;

namespace ftptest {

namespace {

constexpr int kStartTimeoutMs = 15000;
constexpr const char* kPython = "/usr/bin/python3";

} // namespace

std::string LauncherScript() { return mvtest::SourceDir() + "/tests/ftp/pyftpd_launcher.py"; }

PyFtpd::PyFtpd(const PyFtpdOptions& options) {
    std::vector<std::string> args = {kPython, LauncherScript(), "--address", options.address,
                                     "--port", std::to_string(options.port)};
    if (!options.root.empty())
        args.insert(args.end(), {"--root", options.root});
    for (const auto& [user, password] : options.users)
        args.insert(args.end(), {"--user", user + ":" + password});
    if (!options.transcript.empty())
        args.insert(args.end(), {"--transcript", options.transcript});
    std::vector<char*> argv;
    for (std::string& a : args)
        argv.push_back(a.data());
    argv.push_back(nullptr);

    int in[2];
    int out[2];
    if (::pipe2(in, O_CLOEXEC) != 0 || ::pipe2(out, O_CLOEXEC) != 0) {
        error_ = "pipe failed";
        return;
    }
    posix_spawn_file_actions_t actions;
    posix_spawn_file_actions_init(&actions);
    posix_spawn_file_actions_adddup2(&actions, in[0], 0);
    posix_spawn_file_actions_adddup2(&actions, out[1], 1);
    const int rc = posix_spawn(&pid_, kPython, &actions, nullptr, argv.data(), environ);
    posix_spawn_file_actions_destroy(&actions);
    ::close(in[0]);
    ::close(out[1]);
    stdin_ = in[1];
    if (rc != 0) {
        pid_ = -1;
        ::close(out[0]);
        error_ = "cannot start " + std::string(kPython);
        return;
    }
    std::string text;
    const mv::MonoMs deadline = mv::deadlineAfter(kStartTimeoutMs);
    while (text.find("PORT ") == std::string::npos ||
           text.find('\n', text.find("PORT ")) == std::string::npos) {
        if (mv::waitReady(out[0], POLLIN, deadline) != 1)
            break;
        char buffer[256];
        const ssize_t n = ::read(out[0], buffer, sizeof buffer);
        if (n <= 0)
            break;
        text.append(buffer, static_cast<std::size_t>(n));
    }
    ::close(out[0]);
    std::istringstream lines(text);
    std::string line;
    while (std::getline(lines, line)) {
        if (line.rfind("ROOT ", 0) == 0)
            root_ = line.substr(5);
        if (line.rfind("PORT ", 0) == 0)
            port_ = static_cast<std::uint16_t>(std::atoi(line.c_str() + 5));
    }
    if (port_ == 0)
        error_ = "pyftpdlib did not start (is python3-pyftpdlib installed?)";
}

PyFtpd::~PyFtpd() {
    if (stdin_ >= 0)
        ::close(stdin_); // the launcher ends at the end of its input
    if (pid_ <= 0)
        return;
    const mv::MonoMs deadline = mv::deadlineAfter(3000);
    int status = 0;
    while (::waitpid(pid_, &status, WNOHANG) == 0) {
        if (mv::monotonicNow() > deadline) {
            ::kill(pid_, SIGKILL);
            ::waitpid(pid_, &status, 0);
            break;
        }
        ::usleep(2000);
    }
}

int OpenDescriptorCount() {
    int count = 0;
    DIR* dir = ::opendir("/proc/self/fd");
    if (!dir)
        return -1;
    while (dirent* e = ::readdir(dir)) {
        if (e->d_name[0] != '.')
            ++count;
    }
    ::closedir(dir);
    return count - 1; // the directory's own descriptor
}

TempFolder::TempFolder() {
    std::string pattern = std::filesystem::temp_directory_path().string() + "/mvftp-XXXXXX";
    if (::mkdtemp(pattern.data()))
        path_ = pattern;
}

TempFolder::~TempFolder() {
    std::error_code ec;
    if (!path_.empty())
        std::filesystem::remove_all(path_, ec);
}

std::string ReadWholeFile(const std::string& path) {
    std::ifstream in(path, std::ios::binary);
    std::ostringstream s;
    s << in.rdbuf();
    return s.str();
}

void WriteWholeFile(const std::string& path, const std::string& bytes) {
    std::ofstream out(path, std::ios::binary | std::ios::trunc);
    out.write(bytes.data(), static_cast<std::streamsize>(bytes.size()));
}

} // namespace ftptest
