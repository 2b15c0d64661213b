#include "tests/flash/loader/net_namespace.h"

#include <gtest/gtest.h>

#include <cerrno>
#include <cstdio>
#include <cstring>
#include <fcntl.h>
#include <linux/capability.h>
#include <net/if.h>
#include <poll.h>
#include <sched.h>
#include <signal.h>
#include <sys/ioctl.h>
#include <sys/socket.h>
#include <sys/syscall.h>
#include <sys/wait.h>
#include <unistd.h>

#include <vector>

extern char** environ;

namespace flashtest {

namespace {

constexpr const char* kInsideVariable = "MV_OWN_NETNS";
constexpr const char* kRefused = "network namespace refused: ";
constexpr int kRefusedExit = 77;
constexpr int kInnerRunLimitMs = 60000;

// Writes the whole text to a file; false with errno set when that fails (safe after fork).
bool WriteFile(const char* path, const char* text) {
    const int fd = ::open(path, O_WRONLY | O_CLOEXEC);
    if (fd < 0) {
        return false;
    }
    const auto size = static_cast<ssize_t>(std::strlen(text));
    const bool ok = ::write(fd, text, static_cast<std::size_t>(size)) == size;
    const int saved = errno;
    ::close(fd);
    errno = saved;
    return ok;
}

// In the forked child: the reason on standard output, then the refusal exit.
[[noreturn]] void Refuse(const char* step) {
    char text[256];
    const int n =
        std::snprintf(text, sizeof text, "%s%s: %s\n", kRefused, step, std::strerror(errno));
    if (n > 0) {
        (void)!::write(1, text, static_cast<std::size_t>(n));
    }
    ::_exit(kRefusedExit);
}

// In the forked child: a user and network namespace with the caller's ids mapped to root.
void EnterNamespace(const char* uidMap, const char* gidMap) {
    if (::unshare(CLONE_NEWUSER | CLONE_NEWNET) != 0) {
        Refuse("unshare");
    }
    if (!WriteFile("/proc/self/setgroups", "deny") && errno != ENOENT) {
        Refuse("setgroups");
    }
    if (!WriteFile("/proc/self/uid_map", uidMap)) {
        Refuse("uid_map");
    }
    if (!WriteFile("/proc/self/gid_map", gidMap)) {
        Refuse("gid_map");
    }
}

} // namespace

std::string NamespaceRefusal() {
    char uidMap[64], gidMap[64];
    std::snprintf(uidMap, sizeof uidMap, "0 %u 1\n", static_cast<unsigned>(::getuid()));
    std::snprintf(gidMap, sizeof gidMap, "0 %u 1\n", static_cast<unsigned>(::getgid()));
    int out[2];
    if (::pipe2(out, O_CLOEXEC) != 0) {
        return std::string("pipe: ") + std::strerror(errno);
    }
    const pid_t child = ::fork();
    if (child == 0) {
        ::dup2(out[1], 1);
        EnterNamespace(uidMap, gidMap);
        ::_exit(0);
    }
    ::close(out[1]);
    std::string output;
    char buffer[512];
    ssize_t n = 0;
    while (child > 0 && (n = ::read(out[0], buffer, sizeof buffer)) > 0) {
        output.append(buffer, static_cast<std::size_t>(n));
    }
    ::close(out[0]);
    if (child < 0) {
        return std::string("fork: ") + std::strerror(errno);
    }
    int status = 0;
    while (::waitpid(child, &status, 0) < 0 && errno == EINTR) {
    }
    if (WIFEXITED(status) && WEXITSTATUS(status) == 0) {
        return {};
    }
    while (!output.empty() && output.back() == '\n') {
        output.pop_back();
    }
    return output.empty() ? std::string(kRefused) + "the probe did not end" : output;
}

bool InOwnNetworkNamespace() {
    const char* value = std::getenv(kInsideVariable);
    return value != nullptr && *value != '\0';
}

void RunCurrentTestInNamespace() {
    const ::testing::TestInfo* info = ::testing::UnitTest::GetInstance()->current_test_info();
    ASSERT_NE(info, nullptr);
    // Everything the child needs is made before the fork.
    std::string filter =
        std::string("--gtest_filter=") + info->test_suite_name() + "." + info->name();
    std::string self = "/proc/self/exe";
    std::vector<char*> argv{self.data(), filter.data(), nullptr};
    std::string inside = std::string(kInsideVariable) + "=1";
    std::vector<char*> env;
    for (char** e = environ; *e != nullptr; ++e) {
        env.push_back(*e);
    }
    env.push_back(inside.data());
    env.push_back(nullptr);
    char uidMap[64], gidMap[64];
    std::snprintf(uidMap, sizeof uidMap, "0 %u 1\n", static_cast<unsigned>(::getuid()));
    std::snprintf(gidMap, sizeof gidMap, "0 %u 1\n", static_cast<unsigned>(::getgid()));

    int out[2];
    ASSERT_EQ(::pipe2(out, O_CLOEXEC), 0);
    const pid_t child = ::fork();
    ASSERT_GE(child, 0);
    if (child == 0) {
        ::dup2(out[1], 1);
        ::dup2(out[1], 2);
        EnterNamespace(uidMap, gidMap);
        ::execve(argv[0], argv.data(), env.data());
        Refuse("execve");
    }
    ::close(out[1]);
    std::string output;
    bool timedOut = false;
    char buffer[4096];
    for (;;) {
        pollfd p{out[0], POLLIN, 0};
        const int ready = ::poll(&p, 1, kInnerRunLimitMs);
        if (ready < 0 && errno == EINTR) {
            continue;
        }
        if (ready <= 0) {
            timedOut = true;
            ::kill(child, SIGKILL);
            break;
        }
        const ssize_t n = ::read(out[0], buffer, sizeof buffer);
        if (n <= 0) {
            break;
        }
        output.append(buffer, static_cast<std::size_t>(n));
    }
    ::close(out[0]);
    int status = 0;
    while (::waitpid(child, &status, 0) < 0 && errno == EINTR) {
    }
    ASSERT_FALSE(timedOut) << "the run inside the namespace did not end:\n" << output;
    const int code = WIFEXITED(status) ? WEXITSTATUS(status) : -1;
    if (code == kRefusedExit && output.rfind(kRefused, 0) == 0) {
        GTEST_SKIP() << output << "the test needs a user and network namespace of its own "
                     << "(unshare -rn); it never falls back to a real network";
    }
    if (output.find("[  SKIPPED ] 1 test") != std::string::npos) {
        GTEST_SKIP() << output;
    }
    EXPECT_EQ(code, 0) << output;
    EXPECT_NE(output.find("[  PASSED  ] 1 test"), std::string::npos) << output;
}

bool SetLoopbackUp(bool up, std::string& error) {
    const int fd = ::socket(AF_INET, SOCK_DGRAM | SOCK_CLOEXEC, 0);
    if (fd < 0) {
        error = std::string("socket: ") + std::strerror(errno);
        return false;
    }
    ifreq request{};
    std::snprintf(request.ifr_name, sizeof request.ifr_name, "lo");
    bool ok = ::ioctl(fd, SIOCGIFFLAGS, &request) == 0;
    if (ok) {
        const int flags = up ? (request.ifr_flags | IFF_UP) : (request.ifr_flags & ~IFF_UP);
        request.ifr_flags = static_cast<short>(flags);
        ok = ::ioctl(fd, SIOCSIFFLAGS, &request) == 0;
    }
    if (!ok) {
        error = std::string("lo flags: ") + std::strerror(errno);
    }
    ::close(fd);
    return ok;
}

bool WriteSysctl(const std::string& name, const std::string& value) {
    return WriteFile(("/proc/sys/" + name).c_str(), value.c_str());
}

bool SetRawSocketRight(bool allowed) {
    __user_cap_header_struct header{_LINUX_CAPABILITY_VERSION_3, 0};
    __user_cap_data_struct data[2] = {};
    if (::syscall(SYS_capget, &header, data) != 0) {
        return false;
    }
    const auto bit = static_cast<std::uint32_t>(1u << CAP_NET_RAW);
    data[0].effective = allowed ? (data[0].effective | bit) : (data[0].effective & ~bit);
    return ::syscall(SYS_capset, &header, data) == 0;
}

} // namespace flashtest
