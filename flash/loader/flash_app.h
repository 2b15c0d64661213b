// The loader's application object: the options of one run, the run itself and the steps that
// talk to the controller through its serial boot loader, Portwire and X740_Core.
#pragma once

#include "flash/loader/history_content.h"
#include "flash/loader/ip_files.h"
#include "flash/loader/load_log.h"
#include "flash/loader/loader_exports.h"
#include "flash/loader/work_folder.h"
#include "flash/zip/zip_archive.h"

#include <cstdint>
#include <functional>
#include <memory>
#include <string>
#include <utility>
#include <vector>

namespace flash {

class IEchoProbe;
class IKeyInput;
class ILoaderFtp;

// TCP port of the controller's module protocol.
inline constexpr int kModuleTcpPort = 32000;
// TCP port of the controller's FTP server.
inline constexpr int kFtpPort = 21;
// Attempts of the FTP connects that wait for a starting server (one second apart), and rounds
// of the module information and configuration reads that follow a restart.
inline constexpr int kFtpConnectAttempts = 60;
inline constexpr int kRestartReadRounds = 3;
// Open attempts of a firmware ZIP whose directory end is not found.
inline constexpr int kZipOpenAttempts = 3;
// Boot reply of firmware below 2.
inline constexpr const char* kBootReplyPhrase = "BRIDGE IS AVAILABLE!";
// Attempts of the boot prompt reader and of the module information read.
inline constexpr int kBootPromptAttempts = 50;
inline constexpr int kModulInfoAttempts = 30;
// Bytes of the module information record, and of the buffer it is read into.
inline constexpr int kModulInfoRecordSize = 252;
inline constexpr int kModulInfoBufferSize = 255;

// Firmware state after the boot prompt.
inline constexpr int kFirmwareUnknown = -1;
inline constexpr int kFirmwareBelow2 = 0; // "DONG"
inline constexpr int kFirmware2 = 1;      // "MODE"
inline constexpr int kFirmwareAt = 2;     // a prompt beginning "AT"

class CX740FlashApp {
public:
    CX740FlashApp();
    ~CX740FlashApp();
    CX740FlashApp(const CX740FlashApp&) = delete;
    CX740FlashApp& operator=(const CX740FlashApp&) = delete;

    // The process entry: the run for the arguments, the closing lines and key; the exit code.
    int Main(int argc, char** argv);

    // --- the run (command line and dispatch) ---
    int Run(int argc, char** argv);
    int ParseCommandLine(const std::string& option);
    int Dispatch();
    void CheckIpcDefined();
    bool AskContinue();
    void PrintBanner();
    void ClearTmpFolder();

    // --- boot-loader dialogue and controller steps ---
    int WaitForBootPrompt(std::uint8_t buffer[4]);
    int OpenComAndWaitForBoot(std::uint8_t prompt[4]);
    int SendBootReply();
    int WriteCommand(const std::string& text);
    int OpenCom();
    int OpenNet();
    int OpenNetNoReadId();
    int ReopenAndReadModulInfo();
    int ReadModulInfo(std::uint8_t record[kModulInfoRecordSize]);
    int PrintModulInfo(std::string& version);
    // The module information's name, date and version texts.
    int ReadModulTexts(std::vector<std::string>& texts);
    int SetIpConfiguration(const std::string& serial, const std::string& ip,
                           const std::string& mask, const std::string& gateway);
    int WriteModulConfiguration(const ModulConfig& config);
    int AskLastConfiguration(ModulConfig& config);
    int StartFtpServer(int wait);
    int ResetModul(int milliseconds);
    void DoWarmstart();
    int PingModul(const std::string& ip, int tries);
    void DeleteArpEntry(const std::string& ip);

    // --- runs of the dispatcher ---
    void IpConfigurationRun();
    void DefaultConfigurationRun();
    void ClearFlashRun();
    // STARTFTP (mode 1) and STARTDIAG (mode 2).
    void StartFtpRun(int mode);
    void ShowHistory();
    void ShowCheckDialog();
    void UpdateProcedure();
    void StartFtpProcedure();

    // --- firmware update procedures (1 success, 0 failure with the message set) ---
    int InstallFirmwareStep1();
    int InstallFirmwareStep2(const std::string& serial);
    int InstallPackedFiles();
    int InstallFileList();
    int AutomaticUpdate();
    int ExtractZip();
    int CheckZipMembers();
    int SendFile(const std::string& path);
    int SendFileAs(const std::string& path, const std::string& remoteName);
    int SendFileReplacing(const std::string& path, const std::string& remoteName,
                          const std::string& other);
    int DeleteFtpFile(const std::string& name);
    int DeleteFirmwareFiles();
    int DeleteFirmwareFilesAll();
    int SendFileList(int connect);
    int ConnectFtp();
    // Reset variant B: reset, close the FTP socket without ending the session, close the link.
    int ResetKeepFtp();
    // Reset variant C: end an open FTP session, reset, wait, close the link.
    int ResetAfterFtp(int milliseconds);
    // A file below the work folder ("Firmware-Binaries/app.bin").
    std::string WorkFile(const std::string& relative) const;

    // Text on the console and the same text as a line of the log.
    void PrintAndLog(const std::string& text);
    // Sets the run's message (the last writer wins).
    void SetMessage(std::string text) { m_Message = std::move(text); }

    // Members in the order of the original application object.
    std::unique_ptr<ILoaderFtp> m_Ftp;
    std::string m_FtpPassword;
    std::string m_FtpUser;
    CLoadLog m_Log;
    std::string m_Message;
    LinkHandle m_Link = 0;
    int m_NoKey = 0;
    std::vector<std::pair<std::string, std::string>> m_VersionInfo;
    std::string m_OsName;
    int m_FirmwareState = kFirmwareUnknown;
    int m_VersionCheck = 1;
    int m_Toolkit = 0, m_Fu = 0, m_Bnz = 0, m_Clear = 0, m_StartFtp = 0, m_Chk = 0, m_History = 0,
        m_StartDiag = 0, m_FtpOption = 0, m_FtpBnz = 0, m_Def = 0;
    std::string m_StartFolder;
    CZipArchive m_Zip;
    int m_UpdateRun = 0;
    std::string m_Ipc, m_Snc, m_Gwc;
    std::string m_Ipd, m_Snd, m_Gwd;
    std::string m_ListFile;
    int m_ComPort = 0;
    std::vector<std::string> m_FileList;
    std::string m_FirmwareZip;
    int m_Nb = 0;

    // Where the run reaches the world; tests replace them.
    LoaderExports m_Exports;
    int m_TcpPort = kModuleTcpPort;
    int m_FtpPort = kFtpPort;
    IKeyInput* m_Keys;
    std::unique_ptr<IEchoProbe> m_Echo;
    CWorkFolder m_WorkFolder;
    HistoryHook m_ShowHistory;
    // Shows the Check dialog for the address; false when it cannot be shown.
    std::function<bool(CX740FlashApp&)> m_ShowCheck;
    // Reads the program's own version block (the banner's FileVersion).
    std::function<std::string()> m_ProgramFile;

private:
    // The power-on request of the boot steps.
    void AskPowerOn();
    // "Open 0x%lx\n" with Portwire's last error, after " -> Error".
    int OpenFailed();
    // Opens the TCP link to IPC with one of the two open functions.
    int OpenTcp(LinkHandle (*open)(std::uint32_t ipv4, int tcpPort));
    // Refuses an IP text the controller would cut (message set); 1 when all fit.
    int CheckIpTextLengths(const std::string& ip, const std::string& mask,
                           const std::string& gateway);
    void Wait(int milliseconds);
    int ReadKey();
    // ConnectFtp repeated (one second apart) until it succeeds or the attempts are used up.
    int ConnectFtpRepeated();
    // A step that succeeded after failed tries: the run's message is again what it was before
    // them, since the tries' failures are not the run's outcome. Returns 1.
    int RetrySucceeded(const std::string& before);
    // "MODE n IP=ipc/snc/gwc FTP=COMP2" and the "update" account.
    int WriteModeCommand(int mode);
    // Reads the configuration (a few rounds) and logs its lines.
    int ReadAndLogConfiguration(ModulConfig& config, int rounds);
    // LIST and the clean-up of both DeleteFirmwareFiles variants.
    int DeleteFiles(bool all);
    // Sends the six image files of the work folder.
    int SendImages();
    // Waits for the boot prompt and answers it as step 50 of AutomaticUpdate does.
    int AnswerBootPrompt();
    // "Setting IP-Adress to %s" and the configuration of the address data, " -> OK". A
    // failure message, when given, follows " -> Error" in place of the configuration's own.
    int SetIpStep(const std::string& ip, const std::string& mask, const std::string& gateway,
                  const char* failure = nullptr);
    // "Reset", the reset variant with its wait, " -> OK".
    int ResetStep(int (CX740FlashApp::*reset)(int), int milliseconds);
    // The closing steps of an install: IPD set when one is given, then the reset.
    int SetIpdAndReset(int (CX740FlashApp::*reset)(int), int milliseconds);
    // MODE 1 with the "update" account, the echo awaited, the FTP session opened (a failure
    // message, when given, in place of the connect's own).
    int ConnectInMode1(const char* failure);
    // Reset (variant B), the boot prompt awaited again and answered with MODE 2, the account
    // for the second step, the echo awaited.
    int RestartInMode2(const char* user, const char* password);
    // The FTP server: packed under BNZ (then the unpacked one deleted), else under the name.
    int SendFtpServer(const char* plainName);
    // Without BNZ: "Deleting ftpserv.bnz" and its deletion.
    int DeletePackedFtpServer();
    // Writes the system configuration back with the serial number; the two failure messages.
    int SetSystemSerial(const std::string& serial, const char* readFailed,
                        const char* writeFailed);

    ModulConfig m_Stored;
};

} // namespace flash
