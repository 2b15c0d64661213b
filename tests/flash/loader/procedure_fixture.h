// The update procedures end to end in the test process: the simulated controller on a
// pseudo-terminal (COM1) and at 127.0.0.1:32000, pyftpdlib at 127.0.0.1:21 with the
// controller's three accounts, the real ICMP echo, all inside a network namespace the test
// makes for itself. Where no namespace can be made, the same runs use free loopback ports and
// an echo answered by a stand-in, and say so.
#pragma once

#include "flash/loader/firmware_trailer.h"
#include "flash/loader/ip_files.h"
#include "flash/loader/loader_ftp.h"
#include "flash/loader/ping.h"
#include "tests/flash/loader/loader_fixture.h"
#include "tests/flash/loader/net_namespace.h"
#include "tests/ftp/ftp_peer.h"
#include "tests/sim/frame_codec.h"

#include <cstring>
#include <filesystem>
#include <functional>
#include <map>
#include <memory>
#include <regex>
#include <sstream>

namespace flashtest {

using x740sim::BootPrompt;
using x740sim::RecordKind;
namespace fs = std::filesystem;

inline const std::vector<std::pair<std::string, std::string>> kAccounts = {
    {"update", "vorpal"}, {"kvn", "qmx"}, {"root", "+3861597024"}};

// A firmware binary: its bytes and a 128-byte trailer (mark, version text at 60).
inline std::string Firmware(const std::string& body, const char* mark, const char* version) {
    std::string trailer(flash::kTrailerSize, '\0');
    std::memcpy(trailer.data(), mark, std::strlen(mark));
    std::memcpy(trailer.data() + flash::kTrailerVersionOffset, version, std::strlen(version));
    return body + trailer;
}

// What the controller does around the FTP sessions, by their number: before a connect (its
// server starts late), and after an ended session.
struct SessionHooks {
    std::function<void(int connect)> beforeConnect;
    std::function<void(int quit)> afterQuit;
};

// The controller's FTP server: an ended session restarts the controller when the test asks
// for it (the older firmware does so after its update session).
class RestartingFtp final : public flash::ILoaderFtp {
public:
    RestartingFtp(std::function<void()> restart, int restartAt, SessionHooks hooks = {})
        : m_Restart(std::move(restart)), m_RestartAt(restartAt), m_Hooks(std::move(hooks)) {}
    bool IsOpen() const override { return m_Ftp->IsOpen(); }
    void Quit() override {
        const bool open = m_Ftp->IsOpen();
        m_Ftp->Quit();
        if (!open) {
            return;
        }
        if (++m_Quits == m_RestartAt) {
            m_Restart();
        }
        if (m_Hooks.afterQuit) {
            m_Hooks.afterQuit(m_Quits);
        }
    }
    void CloseSocket() override { m_Ftp->CloseSocket(); }
    bool Connect(const std::string& host, int port, const std::string& user,
                 const std::string& password) override {
        if (m_Hooks.beforeConnect) {
            m_Hooks.beforeConnect(++m_Connects);
        }
        return m_Ftp->Connect(host, port, user, password);
    }
    bool Put(const std::string& local, const std::string& remote) override {
        return m_Ftp->Put(local, remote);
    }
    bool Delete(const std::string& name) override { return m_Ftp->Delete(name); }
    bool List(std::vector<flash::LoaderFtpEntry>& entries) override {
        return m_Ftp->List(entries);
    }

private:
    std::unique_ptr<flash::ILoaderFtp> m_Ftp = flash::MakeLoaderFtp();
    std::function<void()> m_Restart;
    int m_RestartAt;
    SessionHooks m_Hooks;
    int m_Quits = 0;
    int m_Connects = 0;
};

class ProcedureTest : public LoaderTest {
protected:
    void SetUp() override {
        if (InOwnNetworkNamespace()) {
            std::string error;
            ASSERT_TRUE(SetLoopbackUp(true, error)) << error;
        } else {
            m_Refusal = NamespaceRefusal();
            if (m_Refusal.empty()) {
                m_Outside = true;
                RunCurrentTestInNamespace();
                return;
            }
        }
        LoaderTest::SetUp();
        if (InOwnNetworkNamespace()) {
            tcp.stop();
            std::string error;
            ASSERT_TRUE(tcp.start(0x7F000001u, flash::kModuleTcpPort, &error)) << error;
            m_FtpOptions.port = flash::kFtpPort;
            flash::CPing ping;
            m_RealEcho = ping.Ping("127.0.0.1") == flash::CPing::kOk;
            if (!m_RealEcho) {
                std::printf("no ICMP socket in the namespace (%s): the echo is answered by a "
                            "stand-in\n",
                            ping.Failure().c_str());
            }
        } else {
            std::printf("%s: the controller and its FTP server run on free loopback ports and "
                        "the echo is answered by a stand-in\n",
                        m_Refusal.c_str());
        }
        app.m_TcpPort = tcp.port();
        m_FtpOptions.root = server.Path();
        m_FtpOptions.transcript = folder.path() + "/transcript.txt";
        StartServer(kAccounts);
        x740sim::ServiceRecord system(RecordKind::SystemConfig);
        system.setText("serial", "OLDSER");
        system.setText("ftpUser", "update");
        system.setText("text11", "kept text");
        services.putRecord(system);
    }
    void TearDown() override {
        if (m_Outside) {
            return;
        }
        CloseRun();
        m_Ftpd.reset();
        LoaderTest::TearDown();
    }
    bool Outside() const { return m_Outside; }

    // pyftpdlib with these accounts (none: no server at all).
    void StartServer(const std::vector<std::pair<std::string, std::string>>& users) {
        m_Ftpd.reset();
        if (users.empty()) {
            return;
        }
        m_FtpOptions.users = users;
        m_Ftpd = std::make_unique<ftptest::PyFtpd>(m_FtpOptions);
        ASSERT_TRUE(m_Ftpd->Running()) << m_Ftpd->Error();
        m_FtpPort = m_Ftpd->Port();
    }
    // The server's folder holds just these files ("name/" makes a folder).
    void ServerHolds(const std::map<std::string, std::string>& files) {
        for (const fs::directory_entry& e : fs::directory_iterator(server.Path())) {
            fs::remove_all(e.path());
        }
        for (const auto& [name, bytes] : files) {
            if (name.back() == '/') {
                fs::create_directory(server.Path() + "/" + name);
            } else {
                ftptest::WriteWholeFile(server.Path() + "/" + name, bytes);
            }
        }
    }
    // The server's folder: names with their bytes ("<dir>" for a folder).
    std::map<std::string, std::string> ServerFiles() const {
        std::map<std::string, std::string> files;
        for (const fs::directory_entry& e : fs::directory_iterator(server.Path())) {
            const std::string name = e.path().filename().string();
            files[name] = e.is_directory() ? "<dir>" : ftptest::ReadWholeFile(e.path().string());
        }
        return files;
    }
    // The firmware ZIP with its three folders; images left out on request.
    void MakeZip(const std::string& ftpserv, const std::string& appBin,
                 const std::vector<std::string>& missingImages = {}) {
        const std::string src = folder.path() + "/src";
        fs::remove_all(src);
        for (const char* sub : {"Firmware-Images", "Firmware-Binaries", "Firmware-Update"}) {
            fs::create_directories(src + "/" + sub);
        }
        for (const std::string image :
             {"startup.bin", "rom.bin", "user1.bin", "user2.bin", "user3.bin", "user4.bin"}) {
            if (std::find(missingImages.begin(), missingImages.end(), image) ==
                missingImages.end()) {
                ftptest::WriteWholeFile(src + "/Firmware-Images/" + image, "image " + image);
            }
        }
        ftptest::WriteWholeFile(src + "/Firmware-Binaries/ftpserv.bin", ftpserv);
        ftptest::WriteWholeFile(src + "/Firmware-Binaries/ftpserv.bnz", "packed ftp server");
        ftptest::WriteWholeFile(src + "/Firmware-Binaries/app.bin", appBin);
        ftptest::WriteWholeFile(src + "/Firmware-Binaries/app.bnz", "packed application");
        ftptest::WriteWholeFile(src + "/Firmware-Binaries/boot.bin", "boot loader");
        ftptest::WriteWholeFile(src + "/Firmware-Update/startup.bin", "new startup");
        fs::remove(folder.path() + "/fw.zip");
        const std::string cmd =
            "cd '" + src + "' && /usr/bin/python3 -c \"import zipfile,os,sys\n"
            "z=zipfile.ZipFile(sys.argv[1],'w',zipfile.ZIP_DEFLATED)\n"
            "[z.write(os.path.join(d,f)) for d,_,fs in sorted(os.walk('.')) for f in sorted(fs)]\n"
            "z.close()\" '" + folder.path() + "/fw.zip'";
        ASSERT_EQ(std::system(cmd.c_str()), 0);
    }
    std::string ZipMember(const std::string& name) {
        return ftptest::ReadWholeFile(folder.path() + "/src/" + name);
    }
    // One run of the program's arguments with a fresh application object, after a power-on
    // with the prompt; log, console, transcript, sleeps and service order start empty.
    // restartAt: the ended FTP session that restarts the controller (0: none).
    void Run(std::vector<std::string> args, const std::string& keys = "Y", int restartAt = 0) {
        Start(std::move(args), keys, restartAt, false);
    }
    // The same through the program's entry (closing lines and key wait); the exit code.
    int RunToExit(std::vector<std::string> args, const std::string& keys = "Y") {
        return Start(std::move(args), keys, 0, true);
    }
    int Start(std::vector<std::string> args, const std::string& keys, int restartAt, bool toExit) {
        CloseRun();
        console.clear();
        std::remove(folder.file("X740Flash_Log.txt").c_str());
        ftptest::WriteWholeFile(m_FtpOptions.transcript, "");
        services.clearServiceOrder();
        m_Commands = boot.commands().size();
        m_Keys = flash::CScriptedKeys(keys);
        m_Run = std::make_unique<flash::CX740FlashApp>();
        flash::CX740FlashApp& a = *m_Run;
        a.m_Exports = app.m_Exports;
        a.m_Keys = &m_Keys;
        a.m_TcpPort = app.m_TcpPort;
        a.m_FtpPort = m_FtpPort;
        a.m_ProgramFile = app.m_ProgramFile;
        a.m_Ftp = std::make_unique<RestartingFtp>([this] { boot.powerOn(); }, restartAt, m_Hooks);
        if (!m_RealEcho) {
            a.m_Echo = std::make_unique<AnsweringProbe>();
        }
        clock.m_Sleeps.clear();
        g_Calls.count.clear();
        args.insert(args.begin(), "X740Flash");
        std::vector<char*> argv;
        for (std::string& arg : args) {
            argv.push_back(arg.data());
        }
        if (toExit) {
            return a.Main(static_cast<int>(argv.size()), argv.data());
        }
        a.Run(static_cast<int>(argv.size()), argv.data());
        return -1;
    }
    // Ends the last run: its link closed, its FTP session ended.
    void CloseRun() {
        if (m_Run) {
            m_Run->m_Exports.close(m_Run->m_Link);
            m_Run.reset();
        }
    }
    const std::string& Message() const { return m_Run->m_Message; }
    // What pyftpdlib was sent, PORT arguments left out.
    std::string Transcript() const {
        std::istringstream in(ftptest::ReadWholeFile(m_FtpOptions.transcript));
        std::string line, text;
        while (std::getline(in, line)) {
            text += (line.rfind("PORT ", 0) == 0 ? std::string("PORT") : line) + "\n";
        }
        return text;
    }
    // The controller runs its firmware: a boot window opened and left to end.
    void LeaveBootWindow() {
        const x740sim::BootSettings settings = boot.settings();
        x740sim::BootSettings shortWindow = settings;
        shortWindow.windowMs = 10;
        boot.setSettings(shortWindow);
        const int powerOns = boot.powerOns();
        boot.powerOn();
        AwaitPeer([&] { return boot.powerOns() > powerOns && !boot.inWindow(); });
        boot.setSettings(settings);
    }
    std::vector<std::string> Commands() const {
        const std::vector<std::string> all = boot.commands();
        return {all.begin() + static_cast<std::ptrdiff_t>(m_Commands), all.end()};
    }
    std::vector<std::uint8_t> Order() {
        return services.serviceOrder();
    }
    void Firmware2(BootPrompt prompt, const char* version = "2.1") {
        x740sim::applyFirmware(station, version);
        PowerOn(prompt);
    }
    // The log of the run without its first lines; the private work folder as "<work>".
    std::string Log() {
        static const std::regex work("[^ \n]*/X740Flash\\.[A-Za-z0-9]+");
        return std::regex_replace(LogBody(), work, "<work>");
    }
    bool Has(const std::string& text, const std::string& part) const {
        return text.find(part) != std::string::npos;
    }

    ftptest::TempFolder server;
    ftptest::PyFtpdOptions m_FtpOptions;
    std::unique_ptr<ftptest::PyFtpd> m_Ftpd;
    int m_FtpPort = 0;
    std::unique_ptr<flash::CX740FlashApp> m_Run;
    SessionHooks m_Hooks;
    flash::CScriptedKeys m_Keys;
    std::size_t m_Commands = 0;
    bool m_RealEcho = false;

private:
    bool m_Outside = false;
    std::string m_Refusal;
};

inline const std::vector<std::string> kSerialRun = {"-COM:1", "-IPC:127.0.0.1", "-SNC:255.0.0.0",
                                             "-GWC:127.0.0.254"};
inline std::vector<std::string> With(std::vector<std::string> args) {
    args.insert(args.begin(), kSerialRun.begin(), kSerialRun.end());
    return args;
}
inline const std::string kReady = "\nReady\n Press any key\n";
inline const std::map<std::string, std::string> kUserImages = {{"user3.bin", "3"},
                                                                {"user4.bin", "4"}};

inline bool EndsWith(const std::string& text, const std::string& tail) {
    return text.size() >= tail.size() &&
           text.compare(text.size() - tail.size(), tail.size(), tail) == 0;
}

inline constexpr const char* kMode1 = "MODE 1 IP=127.0.0.1/255.0.0.0/127.0.0.254 FTP=COMP2";
inline constexpr const char* kMode2 = "MODE 2 IP=127.0.0.1/255.0.0.0/127.0.0.254 FTP=COMP2";

} // namespace flashtest
