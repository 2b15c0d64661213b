// The real X740Flash with a display: its History and Check windows on a private X server, closed
// with OK from the keyboard, and a display that nobody serves.
#include "tests/flash/loader/run_program.h"
#include "tests/test_paths.h"
#include "tests/xvfb/x_grab.h"
#include "tests/xvfb/xvfb_session.h"

#include <gtest/gtest.h>

#include <cstdint>
#include <future>
#include <string>
#include <unistd.h>
#include <vector>

namespace {

using flashtest::ProgramRun;

const std::string kBanner = "\nX740 Loader 1.0.0\n-------------------------\n";
const std::string kReady = "\nReady\n Press any key\n";
constexpr std::uint32_t kTab = 0xff09;
constexpr std::uint32_t kSpace = 0x20;

std::future<ProgramRun> Start(const flashtest::ScratchFolder& folder,
                              const std::vector<std::string>& args, const std::string& display) {
    flashtest::ProgramOptions options;
    options.folder = folder.path();
    options.timeoutMs = 30000;
    // Qt picks its platform itself, as it does for the operator.
    options.env = {{"DISPLAY", display},     {"QT_QPA_PLATFORM", ""}, {"WAYLAND_DISPLAY", ""},
                   {"XDG_SESSION_TYPE", ""}, {"XAUTHORITY", ""},      {"TMPDIR", folder.path()}};
    return std::async(std::launch::async, [options, args] {
        return flashtest::RunProgram(mvtest::ProgramDir() + "/X740Flash", args, options);
    });
}

TEST(FlashProgramWindows, HistoryAndCheckEndWithReadyAfterOk) {
    MV_REQUIRE_XVFB();
    for (const char* option : {"-HISTORY", "-CHK"}) {
        SCOPED_TRACE(option);
        const flashtest::ScratchFolder folder;
        auto run = Start(folder, {option}, mvtest::XvfbSession::Display());
        const QString title = std::string(option) == "-CHK" ? "Check" : "History";
        const std::uint32_t window = mvtest::WaitForXWindow(title, 20000);
        EXPECT_NE(window, 0u);
        // The list has the focus: Tab to OK, Space presses it.
        EXPECT_TRUE(mvtest::PressXKey(window, kTab, 0));
        EXPECT_TRUE(mvtest::PressXKey(window, kSpace, 0));
        const ProgramRun ended = run.get();
        EXPECT_EQ(ended.exitCode, 0) << ended.output;
        EXPECT_EQ(ended.output, kBanner + kReady);
    }
}

TEST(FlashProgramWindows, UnservedDisplayFallsBackToTheConsole) {
    // A display number with neither a socket nor a lock file: no server answers there.
    int number = 4000;
    while (::access(("/tmp/.X11-unix/X" + std::to_string(number)).c_str(), F_OK) == 0 ||
           ::access(("/tmp/.X" + std::to_string(number) + "-lock").c_str(), F_OK) == 0) {
        ++number;
    }
    const std::string display = ":" + std::to_string(number);
    const flashtest::ScratchFolder folder;
    const ProgramRun history = Start(folder, {"-HISTORY"}, display).get();
    EXPECT_EQ(history.exitCode, 0);
    EXPECT_EQ(history.output, kBanner + "History\n1.00      September 2003        \n" + kReady);
    const ProgramRun check = Start(folder, {"-CHK"}, display).get();
    EXPECT_EQ(check.exitCode, 0);
    EXPECT_EQ(check.output, kBanner + "END\nEND\n" + kReady);
}

} // namespace
