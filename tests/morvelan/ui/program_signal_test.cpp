// SIGTERM ends the real program at once on a private X server: in its start-up message and in
// a modal dialog of the running program, with the per-user settings written as Exit writes them.
#include "tests/test_paths.h"
#include "tests/xvfb/x_grab.h"
#include "tests/xvfb/xvfb_session.h"

#include <gtest/gtest.h>

#include <filesystem>
#include <fstream>
#include <iterator>
#include <string>
#include <vector>

#include <csignal>
#include <poll.h>
#include <spawn.h>
#include <sys/syscall.h>
#include <sys/wait.h>
#include <unistd.h>
#include <xcb/xcb.h>

extern char** environ;

namespace {

namespace fs = std::filesystem;

class ProgramSignal : public ::testing::Test {
protected:
    void SetUp() override {
        MV_REQUIRE_XVFB();
        char name[] = "/tmp/mv-signal-XXXXXX";
        root_ = ::mkdtemp(name);
        fs::copy(mvtest::SampleDataDir(), root_ + "/prog", fs::copy_options::recursive);
        std::ofstream(root_ + "/machine.reg", std::ios::binary)
            << "[SOFTWARE\\Kelvane\\Morvelan]\r\nInstall=sz:\"" << root_ << "/prog\"\r\n";
    }
    void TearDown() override {
        if (pid_ > 0) {
            ::kill(pid_, SIGKILL);
            ::waitpid(pid_, nullptr, 0);
        }
        if (!root_.empty())
            fs::remove_all(root_);
    }

    void Start(const std::vector<std::string>& args) {
        std::vector<std::string> env{"QT_QPA_PLATFORM=xcb",
                                     "MORVELAN_MACHINE_REG=" + root_ + "/machine.reg",
                                     "MORVELAN_USER_REG=" + root_ + "/user.reg"};
        for (char** e = environ; *e; ++e)
            if (std::string(*e).rfind("QT_QPA_PLATFORM=", 0) != 0)
                env.emplace_back(*e);
        const std::string program = mvtest::ProgramDir() + "/morvelan";
        std::vector<char*> argv{const_cast<char*>(program.c_str())}, envp;
        for (const std::string& a : args)
            argv.push_back(const_cast<char*>(a.c_str()));
        argv.push_back(nullptr);
        for (std::string& e : env)
            envp.push_back(e.data());
        envp.push_back(nullptr);
        ASSERT_EQ(::posix_spawn(&pid_, program.c_str(), nullptr, nullptr, argv.data(),
                                envp.data()),
                  0);
    }

    // Sends SIGTERM; true when the program has ended with status 0 within the deadline. A
    // program that does not end waits out the whole of it; under the sanitizers on a loaded
    // machine the leak check alone at exit can take more than a second.
    bool EndsOnSigterm() {
        constexpr int kDeadlineMs = 15000;
        const int pidfd = static_cast<int>(::syscall(SYS_pidfd_open, pid_, 0));
        ::kill(pid_, SIGTERM);
        pollfd p{pidfd, POLLIN, 0};
        const bool ended = pidfd >= 0 && ::poll(&p, 1, kDeadlineMs) == 1;
        ::close(pidfd);
        int status = -1;
        if (!ended || ::waitpid(pid_, &status, 0) != pid_)
            return false;
        pid_ = 0;
        return WIFEXITED(status) && WEXITSTATUS(status) == 0;
    }

    std::string UserStore() const {
        std::ifstream in(root_ + "/user.reg", std::ios::binary);
        return std::string(std::istreambuf_iterator<char>(in), {});
    }

    std::string root_;
    pid_t pid_ = 0;
};

TEST_F(ProgramSignal, EndsInTheStartUpMessage) {
    Start({"IP=1.2.3.400"});
    ASSERT_NE(mvtest::WaitForXWindow("ERROR", 20000), 0u) << "the command line's message";
    EXPECT_TRUE(EndsOnSigterm());
    EXPECT_NE(UserStore().find("Sprache=sz:\"English\""), std::string::npos);
}

TEST_F(ProgramSignal, EndsInAModalDialogOfTheRunningProgram) {
    Start({root_ + "/prog/samples/demo.mvl"});
    const uint32_t frame = mvtest::WaitForXWindow("demo.mvl - morvelan", 20000);
    ASSERT_NE(frame, 0u);
    // Ctrl+O: the file chooser, modal over the main window.
    ASSERT_TRUE(mvtest::PressXKey(frame, 'o', XCB_MOD_MASK_CONTROL));
    ASSERT_NE(mvtest::WaitForXWindow("Open", 20000), 0u);
    EXPECT_TRUE(EndsOnSigterm());
    EXPECT_NE(UserStore().find("Port=dword:00007d00"), std::string::npos);
}

} // namespace
