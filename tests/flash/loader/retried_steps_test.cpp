// Steps the update repeats until they succeed, through the program's entry in the test
// process: a try that finally works leaves no failure behind, so the run ends with "Ready"
// and exit code 0. The waits between the tries are the injected clock's.
#include "tests/flash/loader/procedure_fixture.h"

namespace flashtest {
namespace {

TEST_F(ProcedureTest, StepsThatSucceedAfterFailedTriesEndTheRunReady) {
    if (Outside()) {
        return;
    }
    // The FTP server listens only from the third connect of step 1 on.
    MakeZip(Firmware("FTP SERVER", "KVN", "2.0"), Firmware("APPLICATION", "KVN", "2.1"));
    StartServer({});
    int connects = 0;
    m_Hooks.beforeConnect = [this, &connects](int connect) {
        connects = connect;
        if (connect == 3) {
            StartServer(kAccounts);
            m_Run->m_FtpPort = m_FtpPort;
        }
    };
    Firmware2(BootPrompt::Mode);
    EXPECT_EQ(RunToExit(With({"-F:fw.zip"})), 0) << console;
    EXPECT_EQ(Message(), "");
    EXPECT_EQ(connects, 4); // three in step 20, one in step 90
    EXPECT_TRUE(EndsWith(console, Row("Setting system configuration") + Row("Reset") + kReady))
        << console;
    EXPECT_EQ(Order(), (std::vector<std::uint8_t>{49, 93, 93, 49}));
    EXPECT_FALSE(Has(Log(), "Error"));
    m_Hooks = {};

    // The module answers only in the second round of step 130, after the startup file.
    MakeZip("FTP SERVER", "APPLICATION");
    ServerHolds(kUserImages);
    x740sim::applyFirmware(station, "1.05");
    PowerOn(BootPrompt::Dong);
    // Refusing from the end of the startup file's session to the second round's reopening.
    int reopens = 0;
    m_Hooks.afterQuit = [this, &reopens](int quit) {
        if (quit == 1) {
            station.injectFaultFor(23, x740sim::kDirRead,
                                   x740sim::Fault::deviceError(x740sim::kErrNoSuchEntry), 1000000);
            clock.m_OnSleep = [this, &reopens](int ms) {
                if (ms == 500 && ++reopens == 2) {
                    station.clearFaults();
                }
            };
        } else {
            boot.powerOn();
        }
    };
    EXPECT_EQ(RunToExit(With({"-F:fw.zip", "-FU"})), 0) << console;
    EXPECT_EQ(Message(), "");
    EXPECT_TRUE(Has(console, Row("Waiting for X740  " + std::string(flash::kModulInfoAttempts, '.'),
                                 " -> Error\n") +
                                 Row(".")))
        << console;
    EXPECT_TRUE(EndsWith(console, Row("Sending modul-configuration") + Row("Reset") + kReady))
        << console;
    EXPECT_EQ(Order(), (std::vector<std::uint8_t>{48, 48, 43, 49}));
    m_Hooks = {};
    clock.m_OnSleep = nullptr;

    // NB with a server that refuses kvn and takes update: the files are checked and sent.
    StartServer({{"update", "vorpal"}});
    ServerHolds(kUserImages);
    LeaveBootWindow();
    m_Hooks.afterQuit = [this](int) { boot.powerOn(); };
    EXPECT_EQ(RunToExit(With({"-F:fw.zip", "-NB"})), 0) << console;
    EXPECT_EQ(Message(), "");
    EXPECT_TRUE(
        Has(Transcript(), "USER kvn\nPASS qmx\nUSER update\nPASS vorpal\nTYPE I\nPORT\nLIST\n"))
        << Transcript();
    EXPECT_TRUE(EndsWith(console, Row("Sending modul-configuration") + Row("Reset") + kReady))
        << console;
    EXPECT_EQ(Order(), (std::vector<std::uint8_t>{48, 43, 49}));
    EXPECT_FALSE(Has(Log(), "Error"));
}

} // namespace
} // namespace flashtest
