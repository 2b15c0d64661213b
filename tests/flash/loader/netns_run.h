// Runs one test of the current test program again inside a user and network namespace of its
// own (unshare -rn), where the loopback interface is brought up by the test and the fixed
// ports of the controller (21, 32000) are free. Outside, the caller learns whether that was
// possible and why not.
#pragma once

#include <gtest/gtest.h>

#include <climits>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <net/if.h>
#include <string>
#include <sys/ioctl.h>
#include <sys/socket.h>
#include <sys/wait.h>
#include <unistd.h>

namespace flashtest {

// Set in the environment of the copy that runs inside the namespace.
inline constexpr const char* kInsideNamespaceEnv = "MV_LOADER_NETNS";

inline bool InsideNamespace() {
    return std::getenv(kInsideNamespaceEnv) != nullptr;
}

// Runs a shell command line; its output (both streams) and exit status.
inline int RunShell(const std::string& command, std::string* output) {
    FILE* p = ::popen((command + " 2>&1").c_str(), "r");
    if (p == nullptr) {
        return -1;
    }
    char buffer[4096];
    std::size_t n = 0;
    while ((n = std::fread(buffer, 1, sizeof buffer, p)) > 0) {
        output->append(buffer, n);
    }
    const int status = ::pclose(p);
    return WIFEXITED(status) ? WEXITSTATUS(status) : -1;
}

// Why no namespace can be made here; empty when it can.
inline std::string NamespaceRefusal() {
    std::string probe;
    if (RunShell("unshare -rn true", &probe) == 0) {
        return {};
    }
    while (!probe.empty() && probe.back() == '\n') {
        probe.pop_back();
    }
    return "unshare -rn is refused (" + probe + ")";
}

// Brings the namespace's loopback interface up (127.0.0.1 comes with it).
inline bool BringLoopbackUp() {
    const int fd = ::socket(AF_INET, SOCK_DGRAM | SOCK_CLOEXEC, 0);
    if (fd < 0) {
        return false;
    }
    ifreq request{};
    std::strncpy(request.ifr_name, "lo", IFNAMSIZ - 1);
    bool ok = ::ioctl(fd, SIOCGIFFLAGS, &request) == 0;
    request.ifr_flags = static_cast<short>(request.ifr_flags | IFF_UP);
    ok = ok && ::ioctl(fd, SIOCSIFFLAGS, &request) == 0;
    ::close(fd);
    return ok;
}

// Runs the current test again in a namespace of its own and checks that it passed there.
inline void RunCurrentTestInNamespace() {
    const ::testing::TestInfo* info = ::testing::UnitTest::GetInstance()->current_test_info();
    const std::string name = std::string(info->test_suite_name()) + "." + info->name();
    char self[PATH_MAX];
    const ssize_t n = ::readlink("/proc/self/exe", self, sizeof self - 1);
    ASSERT_GT(n, 0);
    std::string output;
    const int status = RunShell(std::string(kInsideNamespaceEnv) + "=1 unshare -rn '" +
                                    std::string(self, static_cast<std::size_t>(n)) +
                                    "' --gtest_filter=" + name,
                                &output);
    EXPECT_EQ(status, 0) << output;
    EXPECT_NE(output.find("[  PASSED  ] 1 test."), std::string::npos) << output;
}

} // namespace flashtest
