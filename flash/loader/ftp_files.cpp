// The loader's file operations on the controller's FTP server: sending, deleting, the folder
// clean-up before a firmware install, the list send and the resets around an FTP session.
#include "flash/loader/flash_app.h"

#include "flash/loader/console_out.h"
#include "flash/loader/ip_files.h"
#include "flash/loader/loader_ftp.h"
#include "flash/loader/text_format.h"
#include "platform/win_path.h"

#include <algorithm>
#include <cctype>

namespace flash {

namespace {

constexpr int kDeleteMarkColumn = 15;
constexpr int kAfterListWaitMs = 2000;
constexpr int kAfterQuitWaitMs = 5000;
constexpr int kConnectRetryMs = 1000;
// A list of file names to send; anything larger is not one.
constexpr std::size_t kMaxListFileBytes = std::size_t{1} << 20;

// Files the clean-up keeps.
constexpr const char* kSystemFiles[] = {"boot.bin",  "diag.bin",  "diag.bnz",  "system.cfg",
                                        "modul.cfg", "startup.bin", "rom.bin", "user1.bin",
                                        "user2.bin", "user3.bin", "user4.bin"};

std::string Lower(std::string text) {
    for (char& c : text) {
        c = static_cast<char>(std::tolower(static_cast<unsigned char>(c)));
    }
    return text;
}

std::string Upper(std::string text) {
    for (char& c : text) {
        c = static_cast<char>(std::toupper(static_cast<unsigned char>(c)));
    }
    return text;
}

bool IsSystemFile(const std::string& name, bool all) {
    const std::string lower = Lower(name);
    if (all && (lower == "ftpserv.bin" || lower == "ftpserv.bnz")) {
        return true;
    }
    return std::find(std::begin(kSystemFiles), std::end(kSystemFiles), lower) !=
           std::end(kSystemFiles);
}

// The file's own name without its folders.
std::string BaseName(const std::string& path) {
    const std::string slashed = mv::toSlashPath(path);
    const std::size_t slash = slashed.rfind('/');
    return slash == std::string::npos ? slashed : slashed.substr(slash + 1);
}

} // namespace

std::string CX740FlashApp::WorkFile(const std::string& relative) const {
    return mv::resolvePath(mv::joinPath(m_WorkFolder.Path(), relative));
}

int CX740FlashApp::ConnectFtp() {
    if (m_Ftp->Connect(m_Ipc, m_FtpPort, m_FtpUser, m_FtpPassword)) {
        return 1;
    }
    SetMessage("No FTP connection possible\n");
    return 0;
}

int CX740FlashApp::ConnectFtpRepeated() {
    const std::string before = m_Message;
    for (int attempt = 0; attempt < kFtpConnectAttempts; ++attempt) {
        if (attempt > 0) {
            Wait(kConnectRetryMs);
        }
        if (ConnectFtp()) {
            return RetrySucceeded(before);
        }
    }
    ConsoleOut().PrintError();
    return 0;
}

int CX740FlashApp::SendFile(const std::string& path) {
    return SendFileAs(path, BaseName(path));
}

int CX740FlashApp::SendFileAs(const std::string& path, const std::string& remoteName) {
    m_Log.WriteLine("Send file " + path);
    if (!m_Ftp->Put(mv::resolvePath(path), remoteName)) {
        ConsoleOut().PrintError();
        SetMessage("Error sending file " + path);
        return 0;
    }
    ConsoleOut().PrintOk();
    return 1;
}

int CX740FlashApp::SendFileReplacing(const std::string& path, const std::string& remoteName,
                                     const std::string& other) {
    return SendFileAs(path, remoteName) && DeleteFtpFile(other);
}

int CX740FlashApp::DeleteFtpFile(const std::string& name) {
    m_Log.WriteLine("Delete FTPfile " + name);
    if (!m_Ftp->Delete(name)) {
        SetMessage("Delete Error");
        return 0;
    }
    return 1;
}

int CX740FlashApp::DeleteFirmwareFiles() {
    return DeleteFiles(false);
}

int CX740FlashApp::DeleteFirmwareFilesAll() {
    return DeleteFiles(true);
}

int CX740FlashApp::DeleteFiles(bool all) {
    CConsoleOut& console = ConsoleOut();
    ConsolePrintf("\n");
    std::vector<LoaderFtpEntry> entries;
    if (!m_Ftp->List(entries)) {
        console.PrintError();
        SetMessage("Delete Error");
        return 0;
    }
    for (const LoaderFtpEntry& entry : entries) {
        ConsolePrintf("%s", entry.name.c_str());
        m_Log.Write(entry.name);
        console.SetColumn(kDeleteMarkColumn);
        if (entry.attributes == 16 || IsSystemFile(entry.name, all)) {
            ConsolePrintf("Systemfile\n");
            m_Log.Write("  Systemfile\n");
            continue;
        }
        ConsolePrintf("Delete\n");
        m_Log.Write("  Delete\n");
        const bool deleted = m_Ftp->Delete(entry.name);
        if (all) {
            ConsolePrintf(deleted ? "  OK\n" : "  ERROR\n");
            m_Log.Write(deleted ? "OK\n" : "ERROR\n");
        }
    }
    return 1;
}

int CX740FlashApp::SendFileList(int connect) {
    if (connect == 1 && !ConnectFtp()) {
        ConsoleOut().PrintError();
        return 0;
    }
    if (!m_ListFile.empty()) {
        std::vector<std::string> lines;
        if (!ReadTextLines(mv::resolvePath(m_ListFile), kMaxListFileBytes, lines)) {
            m_Ftp->Quit();
            Wait(kAfterQuitWaitMs);
            ConsoleOut().PrintError();
            SetMessage(Format("Open file %s\n", m_ListFile.c_str()));
            return 0;
        }
        for (std::string& line : lines) {
            while (!line.empty() && line.back() == '\r') {
                line.pop_back();
            }
            if (line.empty()) {
                continue;
            }
            if (!SendFile(line)) {
                return 0;
            }
        }
    }
    for (const std::string& file : m_FileList) {
        if (!SendFile(file)) {
            return 0;
        }
    }
    const std::string name = Upper(m_FirmwareZip);
    if (name.size() >= 7 && name.compare(name.size() - 7, 7, "ROM.BIN") == 0) {
        if (!SendFileAs(m_FirmwareZip, "ROM.BIN")) {
            return 0;
        }
        ConsoleOut().PrintOk();
    }
    Wait(kAfterListWaitMs);
    return 1;
}

int CX740FlashApp::ResetKeepFtp() {
    if (m_Exports.x740ResetModul(m_Link) == 0) {
        ConsoleOut().PrintError();
        SetMessage(Format("A_X740_ResetModul 0x%lx\n",
                          static_cast<unsigned long>(m_Exports.getLastError())));
        return 0;
    }
    m_Ftp->CloseSocket();
    m_Exports.close(m_Link);
    m_Link = 0;
    return 1;
}

int CX740FlashApp::ResetAfterFtp(int milliseconds) {
    if (m_Ftp->IsOpen()) {
        m_Ftp->Quit();
        Wait(kAfterQuitWaitMs);
    }
    if (m_Exports.x740ResetModul(m_Link) == 0) {
        ConsoleOut().PrintError();
        SetMessage(Format("A_X740_ResetModul 0x%lx\n",
                          static_cast<unsigned long>(m_Exports.getLastError())));
        return 0;
    }
    Wait(milliseconds);
    m_Exports.close(m_Link);
    m_Link = 0;
    return 1;
}

} // namespace flash
