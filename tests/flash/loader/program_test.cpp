// The X740Flash program itself, run as the operator runs it: piped and on a terminal.
#include "tests/flash/loader/run_program.h"
#include "tests/test_paths.h"

#include <gtest/gtest.h>

#include <regex>
#include <string>
#include <vector>

namespace {

using flashtest::ProgramOptions;
using flashtest::ProgramRun;
using flashtest::RunProgram;
using flashtest::ScratchFolder;

const std::string kBanner = "\nX740 Loader 1.0.0\n-------------------------\n";
const std::string kReady = "\nReady\n Press any key\n";

class ProgramTest : public ::testing::Test {
protected:
    ProgramRun Run(const std::vector<std::string>& args, std::string input = {},
                   bool terminal = false) {
        ProgramOptions options;
        options.folder = folder.path();
        options.input = std::move(input);
        options.terminal = terminal;
        options.inputAfter = terminal ? "Press any key" : "";
        // No display, and COM ports that lead nowhere: nothing outside the test is touched.
        options.env = {{"DISPLAY", ""}, {"WAYLAND_DISPLAY", ""}, {"TMPDIR", folder.path()}};
        for (int n : {1, 3, 7, 12, 255}) {
            options.env.emplace_back("PORTWIRE_COM" + std::to_string(n),
                                     folder.file("no-such-port"));
        }
        return RunProgram(mvtest::ProgramDir() + "/X740Flash", args, options);
    }
    std::string Log() { return folder.read("X740Flash_Log.txt"); }

    ScratchFolder folder;
};

TEST_F(ProgramTest, WithoutArgumentsShowsBannerUsageAndReadyWithoutLog) {
    const ProgramRun run = Run({});
    EXPECT_EQ(run.exitCode, 1);
    ASSERT_EQ(run.output.rfind(kBanner + "NAME\n     x740flash  -  download", 0), 0u) << run.output;
    EXPECT_NE(run.output.find("     /COM:Port\n         Portnumber of serialport to use for data "
                              "transfer\n\n     /IPC:IP-Address\n"),
              std::string::npos);
    EXPECT_NE(run.output.find("         Example: /F:\"C:\\Software\\X740\\@PLC-X741-En Version "
                              "2.2.0.ZIP\"\n\n     /STARTFTP\n         This Parameter will "
                              "start the FTP-Server of the X740\n\n" +
                              kReady),
              std::string::npos);
    EXPECT_EQ(run.output.find('\x1b'), std::string::npos) << "no colours on a pipe";
    EXPECT_FALSE(folder.exists("X740Flash_Log.txt"));
}

TEST_F(ProgramTest, OptionCasesAndComValues) {
    struct Case {
        std::vector<std::string> args;
        std::string expected; // in the output
        int exitCode;
    };
    const std::vector<Case> cases = {
        // Case matters, and the key wait still ends at the end of input.
        {{"/nokey"}, "\nError : Unkown Parameter nokey\n\n" + kReady, 1},
        {{"-DEFX"}, "Error : Unkown Parameter DEFX\n", 1},
        {{"-COM:"}, "Error : Unkown Parameter COM:\n", 1},
        {{"-COM:256"}, "Error : Unkown Parameter COM:256\n", 1},
        {{"-COM:1x"}, "Error : Unkown Parameter COM:1x\n", 1},
        {{"-COM:12", "-IPD:10.1.1.1"}, "Opening Port COM12: ", 1},
        {{"-COM:255", "-IPD:10.1.1.1"}, "Opening Port COM255: ", 1},
        {{"-COM:3"}, kBanner + "Nothing to do\n\nError : Nothing to do\n\n" + kReady, 1},
        // Options after an unknown one are not read (NOKEY would end the run at once).
        {{"file.zip", "-BAD", "-NOKEY"}, "Error : Unkown Parameter BAD\n\n" + kReady, 1},
        // COM 0 with IPD but no IPC: nothing to reach.
        {{"-IPD:10.1.1.1", "-NOKEY"}, "Nothing to do\n", 1},
        // An update run wants IPC first.
        {{"-F:fw.zip", "-NOKEY"}, "Error : No IPC defined\n", 1},
        // The caution prompt is not skipped by NOKEY; "no" ends the run without a message.
        {{"-F:fw.zip", "-IPC:127.0.0.1", "-NOKEY"},
         "Do you want to continue ? (Y/N)\n" + kReady,
         0},
    };
    for (const Case& c : cases) {
        const ProgramRun run = Run(c.args);
        EXPECT_EQ(run.exitCode, c.exitCode) << c.args[0];
        EXPECT_NE(run.output.find(c.expected), std::string::npos) << c.args[0] << ":\n"
                                                                  << run.output;
    }
    // No banner before an unknown option.
    EXPECT_EQ(Run({"-FTPX", "-x"}).output.find("X740 Loader"), std::string::npos);
}

TEST_F(ProgramTest, PlainOutputReachesTheResultColumnWithBlanks) {
    const ProgramRun run = Run({"-COM:7", "-IPD:10.1.1.1"});
    const std::string row = "Opening Port COM7: " + std::string(55 - 19, ' ') + " -> Error\n";
    EXPECT_EQ(run.output, kBanner + row + "\nError : Open 0x200\n\n" + kReady);
    EXPECT_EQ(run.exitCode, 1);
}

TEST_F(ProgramTest, TerminalGetsColoursColumnAndKeyWithoutEcho) {
    const ProgramRun run = Run({"-COM:7", "-IPD:10.1.1.1"}, "k", true);
    EXPECT_NE(run.output.find("Opening Port COM7: \x1b[56G\x1b[91m -> Error\r\n\x1b[0m"),
              std::string::npos)
        << run.output;
    EXPECT_NE(run.output.find("\x1b[91m\r\nError : \x1b[0mOpen 0x200"), std::string::npos);
    // The key ends the wait and is not echoed.
    EXPECT_EQ(run.exitCode, 1);
    const std::size_t ready = run.output.find("Press any key");
    ASSERT_NE(ready, std::string::npos);
    EXPECT_EQ(run.output.find('k', ready + 13), std::string::npos) << run.output;

    const ProgramRun usage = Run({}, "k", true);
    EXPECT_NE(usage.output.find("\x1b[97mNAME\r\n\x1b[0m"), std::string::npos);
    EXPECT_NE(usage.output.find("\x1b[97m     /COM:\x1b[0mPort\r\n"), std::string::npos);
}

TEST_F(ProgramTest, IpFilesAreCheckedBeforeTheBanner) {
    struct Case {
        std::string file;
        bool good;
    };
    const std::vector<Case> cases = {
        {"10.10.12.6\n255.255.0.0\n10.10.254.254\n", true},
        {"10.10.12.6\r\n255.255.0.0\r\n10.10.254.254\r\n", true},
        {"10.10.12.6\n255.255.0.0\n10.10.254.254", true},
        {"10.10.12.6\n255.255.0.0\n10.10.254.254\nanything\n", true},
        {"0x0a.012.3\n255.255\n10\n", true},
        {"10.10.12.6\n255.255.255.255\n10.10.254.254\n", false},
        {"10.10.12.6\n255.255.0.0\n", false},
        {"10.10.12.6\n255.255.0.0\n010.010.254.0254\n", false}, // 16 characters
        {"10.10.12.6\n255.255.0.0\n10.10.254.254 \n", false},
        {"10.10.12.6\n\n10.10.254.254\n", false},
        {"10.10.12.256\n255.255.0.0\n10.10.254.254\n", false},
    };
    for (const Case& c : cases) {
        folder.write("ipc.cfg", c.file);
        folder.write("ipd.cfg", c.file);
        // With IPC read, an update run asks for the go-ahead; with IPD, the COM port opens.
        const ProgramRun fc = Run({"-FC", "-F:fw.zip", "-NOKEY"});
        const ProgramRun fd = Run({"-FD", "-COM:7", "-NOKEY"});
        if (c.good) {
            EXPECT_NE(fc.output.find(kBanner + "----"), std::string::npos) << c.file;
            EXPECT_EQ(fc.exitCode, 0);
            EXPECT_NE(fd.output.find(kBanner + "Opening Port COM7: "), std::string::npos) << c.file;
        } else {
            EXPECT_EQ(fc.output, "\nError : Error reading file ipc.cfg\n" + kReady) << c.file;
            EXPECT_EQ(fd.output, "\nError : Error reading file ipd.cfg\n" + kReady) << c.file;
        }
    }
    std::remove(folder.file("ipc.cfg").c_str());
    EXPECT_EQ(Run({"-FC"}).output, "\nError : Error reading file ipc.cfg\n" + kReady);
}

TEST_F(ProgramTest, RunsAppendToTheLog) {
    Run({"-COM:7", "-IPD:10.1.1.1"});
    Run({"-HISTORY", "-NOKEY"});
    const std::string log = Log();
    const std::string stamp = R"(\d\d\.\d\d\.\d{4}  \d\d:\d\d:\d\d    Start\n)";
    const std::regex expected("\n" + stamp + R"(\S*X740Flash -COM:7 -IPD:10\.1\.1\.1 \n)" +
                              "Opening Port COM7: \nError: Open 0x200\n\n" + "\n" + stamp +
                              R"(\S*X740Flash -HISTORY -NOKEY \n)");
    EXPECT_TRUE(std::regex_match(log, expected)) << log;
}

TEST_F(ProgramTest, HistoryWithoutDisplayGoesToStandardOutput) {
    const ProgramRun run = Run({"-HISTORY"});
    EXPECT_EQ(run.output, kBanner + "History\n1.00      September 2003        \n" + kReady);
    EXPECT_EQ(run.exitCode, 0);
    EXPECT_EQ(Log().find("History"), std::string::npos);
}

TEST_F(ProgramTest, AbsolutePathOfAFileIsAFileArgument) {
    folder.write("fw.zip", "PK");
    const ProgramRun run = Run({folder.file("fw.zip"), "-NOKEY"});
    EXPECT_NE(run.output.find("Error : No IPC defined"), std::string::npos) << run.output;
    const ProgramRun missing = Run({folder.file("missing.zip"), "-NOKEY"});
    EXPECT_NE(missing.output.find("Unkown Parameter "), std::string::npos);
}

} // namespace
