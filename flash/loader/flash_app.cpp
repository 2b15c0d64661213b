#include "flash/loader/flash_app.h"

#include "flash/loader/check_run.h"
#include "flash/loader/console_out.h"
#include "flash/loader/echo_probe.h"
#include "flash/loader/key_input.h"
#include "flash/loader/loader_ftp.h"
#include "flash/loader/text_format.h"
#include "platform/clock.h"
#include "platform/os_name.h"
#include "platform/version_block.h"

#include <cctype>
#include <cstring>
#include <ctime>
#include <sys/stat.h>
#include <unistd.h>

namespace flash {

namespace {

// The five names of the version block, in the order the program reads them.
constexpr const char* kVersionNames[] = {"ProductName", "FileVersion", "CompanyName",
                                         "LegalCopyright", "ProductVersion"};

// Keywords of the options in the order they are tried, with the count of characters compared
// (one more than a keyword's length makes only the exact option match).
enum class Option {
    NoVer,
    NoKey,
    Chk,
    History,
    Fu,
    Bnz,
    Clear,
    FtpBnz,
    Ftp,
    StartFtp,
    Toolkit,
    StartDiag,
    Def,
    Com,
    Fc,
    Fd,
    Fl,
    Ipc,
    Snc,
    Gwc,
    Ipd,
    Snd,
    Gwd,
    Nb,
    F
};
struct Keyword {
    const char* text;
    std::size_t n;
    Option option;
};
constexpr Keyword kKeywords[] = {
    {"NOVER", 5, Option::NoVer},
    {"NOKEY", 5, Option::NoKey},
    {"CHK", 3, Option::Chk},
    {"HISTORY", 7, Option::History},
    {"FU", 2, Option::Fu},
    {"BNZ", 3, Option::Bnz},
    {"CLEAR", 5, Option::Clear},
    {"FTPBNZ", 6, Option::FtpBnz},
    {"FTP", 3, Option::Ftp},
    {"STARTFTP", 8, Option::StartFtp},
    {"TOOLKIT", 7, Option::Toolkit},
    {"STARTDIAG", 9, Option::StartDiag},
    {"DEF", 4, Option::Def},
    {"COM:", 4, Option::Com},
    {"FC", 2, Option::Fc},
    {"FD", 2, Option::Fd},
    {"FL:", 3, Option::Fl},
    {"IPC:", 4, Option::Ipc},
    {"SNC:", 4, Option::Snc},
    {"GWC:", 4, Option::Gwc},
    {"IPD:", 4, Option::Ipd},
    {"SND:", 4, Option::Snd},
    {"GWD:", 4, Option::Gwd},
    {"NB", 2, Option::Nb},
    {"F:", 2, Option::F},
};

// Highest COM number an option may name.
constexpr int kMaxComPort = 255;

// The whole text as a COM number 0..255; -1 when it is none.
int ParseComPort(const std::string& text) {
    if (text.empty() || text.size() > 3) {
        return -1;
    }
    int value = 0;
    for (const char c : text) {
        if (c < '0' || c > '9') {
            return -1;
        }
        value = value * 10 + (c - '0');
    }
    return value <= kMaxComPort ? value : -1;
}

bool IsExistingFile(const std::string& path) {
    struct stat st {};
    return ::stat(path.c_str(), &st) == 0 && S_ISREG(st.st_mode);
}

std::string CurrentFolder() {
    char buffer[4096];
    return ::getcwd(buffer, sizeof buffer) ? std::string(buffer) : std::string();
}

std::string OwnProgramFile() {
    char buffer[4096];
    const ssize_t n = ::readlink("/proc/self/exe", buffer, sizeof buffer - 1);
    return n > 0 ? std::string(buffer, static_cast<std::size_t>(n)) : std::string();
}

CStdinKeys g_StdinKeys;

} // namespace

CX740FlashApp::CX740FlashApp()
    : m_Ftp(MakeLoaderFtp()), m_StartFolder(CurrentFolder()), m_Exports(DefaultLoaderExports()),
      m_Keys(&g_StdinKeys), m_Echo(MakeEchoProbe()), m_ProgramFile(&OwnProgramFile) {}

CX740FlashApp::~CX740FlashApp() = default;

void CX740FlashApp::Wait(int milliseconds) {
    if (milliseconds > 0) {
        mv::processClock().sleep(milliseconds);
    }
}

int CX740FlashApp::ReadKey() {
    return m_Keys->ReadKey();
}

int CX740FlashApp::RetrySucceeded(const std::string& before) {
    m_Message = before;
    return 1;
}

void CX740FlashApp::PrintAndLog(const std::string& text) {
    ConsolePrintf("%s", text.c_str());
    m_Log.WriteLine(text);
}

int CX740FlashApp::Main(int argc, char** argv) {
    int exitCode = 1;
    if (argc < 2) {
        PrintBanner();
        ConsoleOut().PrintUsage();
    } else {
        Run(argc, argv);
        if (!m_Message.empty()) {
            ConsoleOut().PrintErrorLine(m_Message);
        } else {
            exitCode = 0;
        }
    }
    ConsolePrintf("\nReady\n Press any key\n");
    if (!m_NoKey) {
        ReadKey();
    }
    return exitCode;
}

int CX740FlashApp::Run(int argc, char** argv) {
    m_OsName = mv::operatingSystemName();
    m_Log.WriteLine("");

    const std::time_t now = std::time(nullptr);
    std::tm local{};
    ::localtime_r(&now, &local);
    m_Log.Write(Format("%02d.%02d.%04d  %02d:%02d:%02d    Start\n", local.tm_mday, local.tm_mon + 1,
                       local.tm_year + 1900, local.tm_hour, local.tm_min, local.tm_sec));

    std::string commandLine;
    for (int i = 0; i < argc; ++i) {
        commandLine += argv[i] ? argv[i] : "";
        commandLine += ' ';
    }
    m_Log.Write(commandLine + "\n");

    for (int i = 1; i < argc; ++i) {
        const std::string argument = argv[i] ? argv[i] : "";
        const bool option = !argument.empty() && (argument[0] == '-' || argument[0] == '/');
        // An absolute path of an existing file is a file, not an option.
        if (option && !(argument[0] == '/' && IsExistingFile(argument))) {
            if (ParseCommandLine(argument.substr(1)) == 0) {
                return 0;
            }
            continue;
        }
        m_FileList.push_back(argument);
        m_UpdateRun = 1;
    }

    PrintBanner();
    Dispatch();
    if (!m_Message.empty()) {
        m_Log.Write("Error: ");
        m_Log.WriteLine(m_Message);
    }
    ClearTmpFolder();
    return 1;
}

int CX740FlashApp::ParseCommandLine(const std::string& option) {
    const Keyword* match = nullptr;
    for (const Keyword& keyword : kKeywords) {
        if (std::strncmp(option.c_str(), keyword.text, keyword.n) == 0) {
            match = &keyword;
            break;
        }
    }
    const std::size_t colon = option.find(':');
    const std::string value = colon == std::string::npos ? std::string() : option.substr(colon + 1);
    const auto unknown = [&] {
        SetMessage(Format("Unkown Parameter %s\n", option.c_str()));
        return 0;
    };
    if (!match) {
        return unknown();
    }
    IpData data;
    switch (match->option) {
    case Option::NoVer:
        m_VersionCheck = 0;
        break;
    case Option::NoKey:
        m_NoKey = 1;
        break;
    case Option::Chk:
        m_Chk = 1;
        break;
    case Option::History:
        m_History = 1;
        break;
    case Option::Fu:
        m_Fu = 1;
        break;
    case Option::Bnz:
        m_Bnz = 1;
        break;
    case Option::Clear:
        m_Clear = 1;
        break;
    case Option::FtpBnz:
        m_FtpBnz = 1;
        break;
    case Option::Ftp:
        m_FtpOption = 1;
        break;
    case Option::StartFtp:
        m_StartFtp = 1;
        break;
    case Option::Toolkit:
        m_Toolkit = 1;
        break;
    case Option::StartDiag:
        m_StartDiag = 1;
        break;
    case Option::Def:
        m_Def = 1;
        break;
    case Option::Com: {
        const int port = ParseComPort(value);
        if (port < 0) {
            return unknown();
        }
        m_ComPort = port;
        break;
    }
    case Option::Fc:
        if (!ReadIpFile(kIpcFile, data)) {
            SetMessage("Error reading file ipc.cfg");
            return 0;
        }
        m_Ipc = data.ip;
        m_Snc = data.mask;
        m_Gwc = data.gateway;
        break;
    case Option::Fd:
        if (!ReadIpFile(kIpdFile, data)) {
            SetMessage("Error reading file ipd.cfg");
            return 0;
        }
        m_Ipd = data.ip;
        m_Snd = data.mask;
        m_Gwd = data.gateway;
        break;
    case Option::Fl:
        m_ListFile = value;
        m_UpdateRun = 1;
        break;
    case Option::Ipc:
        m_Ipc = value;
        break;
    case Option::Snc:
        m_Snc = value;
        break;
    case Option::Gwc:
        m_Gwc = value;
        break;
    case Option::Ipd:
        m_Ipd = value;
        break;
    case Option::Snd:
        m_Snd = value;
        break;
    case Option::Gwd:
        m_Gwd = value;
        break;
    case Option::Nb:
        m_Nb = 1;
        break;
    case Option::F:
        m_FirmwareZip = value;
        m_UpdateRun = 1;
        break;
    }
    return 1;
}

int CX740FlashApp::Dispatch() {
    if (m_Def) {
        DefaultConfigurationRun();
    } else if (m_Clear) {
        ClearFlashRun();
    } else if (m_StartFtp) {
        StartFtpRun(1);
    } else if (m_StartDiag) {
        StartFtpRun(2);
    } else if (m_History) {
        ShowHistory();
    } else if (m_Chk) {
        ShowCheckDialog();
    } else if (m_UpdateRun) {
        CheckIpcDefined();
    } else {
        IpConfigurationRun();
    }
    return 1;
}

void CX740FlashApp::CheckIpcDefined() {
    if (m_Ipc.empty()) {
        SetMessage("No IPC defined\n");
        return;
    }
    if (!AskContinue()) {
        return;
    }
    std::string name = m_FirmwareZip;
    for (char& c : name) {
        c = static_cast<char>(std::toupper(static_cast<unsigned char>(c)));
    }
    if (name.empty() || (name.size() >= 3 && name.compare(name.size() - 3, 3, "ZIP") == 0)) {
        UpdateProcedure();
    } else {
        StartFtpProcedure();
    }
}

bool CX740FlashApp::AskContinue() {
    CConsoleOut& console = ConsoleOut();
    const char* dashes = "----------------------------------------------------------------\n";
    console.PrintColored(dashes, kAttrRed);
    console.PrintColored("                       !! CAUTION !!\n", kAttrRed);
    console.PrintColored(" Unsuccessful file update may cause the system fail to boot up\n",
                         kAttrRed);
    console.PrintColored(dashes, kAttrRed);
    console.PrintColored("\nDo you want to continue ? (Y/N)\n", kAttrRed);
    return IsYes(ReadKey());
}

void CX740FlashApp::PrintBanner() {
    m_VersionInfo.clear();
    const auto block = mv::VersionBlock::fromFile(m_ProgramFile ? m_ProgramFile() : std::string());
    for (const char* name : kVersionNames) {
        std::string value;
        if (block) {
            value = block
                        ->query(std::string("\\StringFileInfo\\") + mv::kVersionLanguageBlock +
                                "\\" + name)
                        .value_or("");
        }
        m_VersionInfo.emplace_back(name, value);
    }
    const std::string title = "X740 Loader " + m_VersionInfo[1].second;
    ConsolePrintf("\n%s\n", title.c_str());
    ConsolePrintf("-------------------------\n");
}

void CX740FlashApp::ClearTmpFolder() {
    m_WorkFolder.Remove();
}

void CX740FlashApp::ShowHistory() {
    const HistoryContent content = LoaderHistory();
    if (m_ShowHistory && m_ShowHistory(content)) {
        return;
    }
    ConsolePrintf("%s\n", content.caption.c_str());
    for (const std::string& line : content.lines) {
        ConsolePrintf("%s\n", line.c_str());
    }
}

void CX740FlashApp::ShowCheckDialog() {
    if (m_ShowCheck && m_ShowCheck(*this)) {
        return;
    }
    CConsoleCheckSink sink;
    RunCheck(*this, m_Ipd, sink);
}

HistoryContent LoaderHistory() {
    HistoryContent content;
    content.lines = {"1.00      September 2003        "};
    return content;
}

} // namespace flash
