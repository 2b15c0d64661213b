// The panel's whole FTP hand-over: the plug-in in its host program against the simulated
// station at its service port 32000 and pyftpdlib at port 21, all inside a network namespace
// the test makes for itself (unshare -rn), so the fixed ports touch no real network.
#include "tests/ftp/ftp_peer.h"
#include "tests/panel/host_fixture.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <climits>
#include <cstdio>
#include <cstdlib>
#include <filesystem>
#include <unistd.h>

namespace {

constexpr const char* kInsideEnv = "MV_FTP_HANDOVER_NETNS";

std::string OwnProgram() {
    char path[PATH_MAX];
    const ssize_t n = ::readlink("/proc/self/exe", path, sizeof path - 1);
    return n > 0 ? std::string(path, static_cast<std::size_t>(n)) : std::string();
}

// Runs a command line; its output (both streams) and exit status.
int RunCommand(const std::string& command, std::string* output) {
    FILE* p = ::popen((command + " 2>&1").c_str(), "r");
    if (p == nullptr)
        return -1;
    char buffer[4096];
    std::size_t n = 0;
    while ((n = std::fread(buffer, 1, sizeof buffer, p)) > 0)
        output->append(buffer, n);
    const int status = ::pclose(p);
    return WIFEXITED(status) ? WEXITSTATUS(status) : -1;
}

bool HasLine(const std::vector<std::string>& lines, const std::string& line) {
    return std::find(lines.begin(), lines.end(), line) != lines.end();
}

// Inside the namespace: loopback up, the station, the FTP server, the host.
void RunHandOver() {
    ASSERT_EQ(std::system("ip link set lo up"), 0);
    x740panel::test::PanelInstall install;
    x740panel::test::PanelInstall::Write(install.dir + "/morvelan.ini",
                                         "[Setup]\r\nWRITETIMEOUT=2000\r\nFTPTIMEOUT=0\r\n");
    x740panel::test::PanelStation station;
    x740sim::ServiceRecord config(x740sim::RecordKind::SystemConfig);
    config.setText("ftpUser", "update");
    config.setText("ftpPassword", "vorpal");
    station.services.putRecord(config);
    ASSERT_TRUE(station.tcp.start(0x7F000001u, 32000, nullptr));

    ftptest::TempFolder folder;
    ftptest::PyFtpdOptions options;
    options.port = 21;
    options.root = folder.Path();
    options.users = {{"update", "vorpal"}};
    options.transcript = install.dir + "/transcript";
    ftptest::WriteWholeFile(folder.Path() + "/app.bin", "firmware");
    ftptest::PyFtpd server(options);
    ASSERT_TRUE(server.Running()) << server.Error();
    ASSERT_EQ(server.Port(), 21);

    const x740panel::test::HostRun run = x740panel::test::RunHost(
        {"--tcp", "127.0.0.1:32000", "--do", "cmd:40016", "--do", "wait:=F\t226 Transfer complete.",
         "--do", "click:1", "--do", "wait:Connecting to X740", "--do", "close"});
    EXPECT_EQ(run.exitCode, 0) << run.output;
    for (const char* line :
         {"I\tStart FTPServer -> OK", "I\tConnecting to 127.0.0.1 (Attempt 1 of 2)",
          "F\tConnected to 127.0.0.1", "F\t220 pyftpdlib ready.", "F\t230 Login successful.",
          "F\tFile transfer modes set to binary.", "F\t226 Transfer complete.", "I\tReset "}) {
        EXPECT_TRUE(HasLine(run.log, line)) << line << "\n" << run.output;
    }
    EXPECT_EQ(run.log.back(), "I\tOK") << run.output;
    const std::string sent = ftptest::ReadWholeFile(install.dir + "/transcript");
    EXPECT_EQ(sent.substr(0, sent.find("PORT")), "USER update\nPASS vorpal\nTYPE I\nPWD\nCWD /\nPWD\n");
    EXPECT_NE(sent.find("LIST\nquit\n"), std::string::npos) << sent;
    // The dialog kept its local directory in the per-user store.
    EXPECT_NE(install.Read("user.reg").find("FTP="), std::string::npos);
}

} // namespace

TEST(FtpHandover, WholeHandOverInANetworkNamespace) {
    if (std::getenv(kInsideEnv) != nullptr) {
        RunHandOver();
        return;
    }
    std::string probe;
    if (RunCommand("unshare -rn true", &probe) != 0)
        GTEST_SKIP() << "unshare -rn is refused on this machine (" << probe
                     << "): the FTP hand-over needs a network namespace of its own; skipped";
    ASSERT_TRUE(std::filesystem::exists(mvtest::ProgramDir() + "/x740panel_host"));
    std::string output;
    const int status =
        RunCommand(std::string(kInsideEnv) + "=1 unshare -rn '" + OwnProgram() +
                       "' --gtest_filter=FtpHandover.WholeHandOverInANetworkNamespace",
                   &output);
    EXPECT_EQ(status, 0) << output;
    EXPECT_NE(output.find("[  PASSED  ] 1 test"), std::string::npos) << output;
}
