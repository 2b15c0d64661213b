// The update procedures through the real program, one run each, as the operator starts them:
// the simulated controller on a pseudo-terminal (with its boot loader) and at 127.0.0.1:32000,
// pyftpdlib at port 21, the real echo, all in a network namespace of the test's own. Only the
// program's long waits are cut short (a preload); nothing in the run waits for the simulator.
#include "tests/flash/loader/procedure_fixture.h"

#include <algorithm>
#include <atomic>
#include <thread>

namespace flashtest {
namespace {

enum class Zip { None, Marked21, Marked22, Plain };

struct ProgramRow {
    const char* name;
    const char* firmware;       // the controller's version
    bool bootAtStart;           // false: the firmware runs, no boot window (NB)
    Zip zip;
    std::vector<std::string> args;
    std::map<std::string, std::string> serverFiles;
    std::vector<std::pair<std::string, std::string>> accounts;
    std::string keys;           // standard input
    bool storedConfig;          // a Modulcfg.cfg from an earlier run
    std::vector<int> restartAt; // ended FTP sessions after which the controller restarts
    std::vector<std::uint8_t> order;
    std::string tail;           // the console's last lines
};

std::vector<std::string> Serial(std::vector<std::string> args) {
    args.insert(args.begin(), {"-COM:1", "-IPC:127.0.0.1", "-SNC:255.0.0.0", "-GWC:127.0.0.254"});
    return args;
}

const std::vector<std::pair<std::string, std::string>> kNoKvn = {{"update", "vorpal"},
                                                                 {"root", "+3861597024"}};
// clang-format off
const std::vector<ProgramRow> kRows = {
    {"StepOne", "2.1", true, Zip::Marked21, Serial({"-F:fw.zip", "-IPD:10.20.30.40"}), {},
     kAccounts, "Y", false, {}, {49, 93, 93, 49},
     Row("Setting IP-Adress to 10.20.30.40") + Row("Reset") + kReady},
    {"StepOnePacked", "2.1", true, Zip::Marked21, Serial({"-F:fw.zip", "-BNZ"}), {}, kAccounts,
     "Y", false, {}, {49, 93, 93, 49}, Row("Setting system configuration") + Row("Reset") + kReady},
    {"StepTwo", "2.1", true, Zip::Marked22, Serial({"-F:fw.zip"}), {}, kAccounts, "Y", false, {},
     {49, 49}, Row("Setting system configuration") + Row("Reset") + kReady},
    {"AutomaticWithIpd", "1.05", true, Zip::Plain, Serial({"-F:fw.zip", "-IPD:10.20.30.40"}),
     kUserImages, kAccounts, "Y", false, {1}, {48, 43, 49, 49},
     Row("Setting IP-Adress to 10.20.30.40") + Row("Reset") + kReady},
    {"AutomaticWithStoredConfiguration", "1.05", true, Zip::Plain, Serial({"-F:fw.zip"}),
     kUserImages, kAccounts, "YY", true, {1}, {48, 43, 49},
     Row("Sending modul-configuration") + Row("Reset") + kReady},
    {"AutomaticWithoutBootLoader", "1.05", false, Zip::Plain, Serial({"-F:fw.zip", "-NB"}), {},
     kAccounts, "Y", false, {1}, {48, 43, 49},
     Row("Sending modul-configuration") + Row("Reset") + kReady},
    {"AutomaticWithoutBootLoaderAsUpdate", "1.05", false, Zip::Plain,
     Serial({"-F:fw.zip", "-NB"}), kUserImages, kNoKvn, "Y", false, {1}, {48, 43, 49},
     Row("Sending modul-configuration") + Row("Reset") + kReady},
    {"FileUpdate", "1.05", true, Zip::Plain, Serial({"-F:fw.zip", "-FU"}), kUserImages,
     kAccounts, "Y", false, {2}, {48, 48, 43, 49},
     Row("Sending modul-configuration") + Row("Reset") + kReady},
    {"StartFtpOverTheLine", "1.05", true, Zip::None,
     Serial({"-F:my_rom.bin", "-IPD:10.20.30.40"}), {}, kAccounts, "Y", false, {}, {48},
     Row("Setting IP-Adress to 10.20.30.40") + Row("Reset") + kReady},
    {"StartFtpOverTheNetwork", "1.05", true, Zip::None,
     {"-IPC:127.0.0.1", "-F:my_rom.bin", "-IPD:10.20.30.40"}, {}, kAccounts, "Y", false, {},
     {48, 49}, Row("Setting IP-Adress to 10.20.30.40") + Row("Reset") + kReady},
};
// clang-format on

class ProgramRunTest : public ProcedureTest, public ::testing::WithParamInterface<ProgramRow> {
protected:
    // Restarts the controller when the program has ended one of the given FTP sessions, as
    // the older firmware does after its update session.
    void WatchSessions(std::vector<int> restartAt) {
        m_Watcher = std::thread([this, restartAt] {
            int quits = 0;
            while (!m_Done) {
                const std::string text = ftptest::ReadWholeFile(m_FtpOptions.transcript);
                int n = 0;
                for (std::size_t at = text.find("quit\n"); at != std::string::npos;
                     at = text.find("quit\n", at + 1)) {
                    ++n;
                }
                for (; quits < n; ++quits) {
                    if (std::count(restartAt.begin(), restartAt.end(), quits + 1) != 0) {
                        boot.powerOn();
                    }
                }
                ::usleep(1000);
            }
        });
    }
    void TearDown() override {
        m_Done = true;
        if (m_Watcher.joinable()) {
            m_Watcher.join();
        }
        ProcedureTest::TearDown();
    }

    std::atomic<bool> m_Done{false};
    std::thread m_Watcher;
};

TEST_P(ProgramRunTest, EndsReadyWithItsRequests) {
    if (Outside()) {
        return;
    }
    if (!InOwnNetworkNamespace() || !m_RealEcho) {
        GTEST_SKIP() << "the program reaches port 21 and the echo only in a network namespace "
                        "of the test's own";
    }
#ifndef MV_QUICK_SLEEP
    GTEST_SKIP() << "X740Flash is not part of this build";
#else
    const ProgramRow& row = GetParam();
    const std::string ftpserv = Firmware("FTP SERVER", "KVN", "2.0");
    switch (row.zip) {
    case Zip::Marked21:
        MakeZip(ftpserv, Firmware("APPLICATION", "KVN", "2.1"));
        break;
    case Zip::Marked22:
        MakeZip(ftpserv, Firmware("APPLICATION", "KVN", "2.2"));
        break;
    case Zip::Plain:
        MakeZip("FTP SERVER", "APPLICATION");
        break;
    case Zip::None:
        ftptest::WriteWholeFile(folder.path() + "/my_rom.bin", "rom image");
        break;
    }
    if (row.storedConfig) {
        ASSERT_TRUE(
            flash::WriteModulConfigFile({"SAVED1", "10.5.5.5", "255.255.0.0", "10.5.0.1", 0}));
    }
    StartServer(row.accounts);
    ServerHolds(row.serverFiles);
    x740sim::applyFirmware(station, row.firmware);
    if (row.bootAtStart) {
        PowerOn(std::string(row.firmware) < "2" ? BootPrompt::Dong : BootPrompt::Mode);
    }
    services.clearServiceOrder();
    WatchSessions(row.restartAt);

    const char* asan = std::getenv("ASAN_OPTIONS");
    ProgramOptions options;
    options.folder = folder.path();
    options.input = row.keys;
    options.timeoutMs = 60000;
    options.env = {{"LD_PRELOAD", MV_QUICK_SLEEP},
                   {"ASAN_OPTIONS", std::string(asan ? asan : "") + ":verify_asan_link_order=0"}};
    const ProgramRun run = RunProgram(mvtest::ProgramDir() + "/X740Flash", row.args, options);
    EXPECT_EQ(run.exitCode, 0) << run.output;
    EXPECT_FALSE(Has(run.output, "Error")) << run.output;
    EXPECT_TRUE(EndsWith(run.output, row.tail)) << run.output;
    // The last request (a reset the run does not wait for) may still be on its way.
    AwaitPeer([&] { return Order().size() >= row.order.size(); });
    EXPECT_EQ(Order(), row.order) << run.output;
    if (row.storedConfig) {
        EXPECT_EQ(ConfigText("serial"), "SAVED1");
    }
#endif
}

INSTANTIATE_TEST_SUITE_P(Runs, ProgramRunTest, ::testing::ValuesIn(kRows),
                         [](const ::testing::TestParamInfo<ProgramRow>& info) {
                             return std::string(info.param.name);
                         });

} // namespace
} // namespace flashtest
