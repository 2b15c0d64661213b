#include "flash/loader/check_run.h"

#include "flash/loader/console_out.h"
#include "flash/loader/flash_app.h"
#include "flash/loader/loader_ftp.h"
#include "flash/loader/text_format.h"
#include "platform/clock.h"

#include <cctype>
#include <vector>

namespace flash {

namespace {

constexpr std::size_t kTextBuffer = 20;

// Status and log line at once.
void Report(CX740FlashApp& app, ICheckSink& sink, const std::string& text) {
    sink.SetStatus(text);
    app.m_Log.WriteLine(text);
}

// Steps 2 to 7; false when the check ends early.
bool CheckController(CX740FlashApp& app, const std::string& address, ICheckSink& sink) {
    LoaderExports& e = app.m_Exports;
    Report(app, sink, Format("Connecting to: %s ", address.c_str()));
    app.m_Link = IsValidIpText(address) ? e.openNet(DottedToHost(address), app.m_TcpPort) : 0;
    if (app.m_Link == 0) {
        Report(app, sink, Format("Open 0x%lx\n", static_cast<unsigned long>(e.getLastError())));
        return false;
    }
    Report(app, sink, "Checking firmware version");
    std::vector<std::string> texts;
    if (!app.ReadModulTexts(texts)) {
        Report(app, sink,
               Format("A_ReadModulInfo 0x%lx\n", static_cast<unsigned long>(e.getLastError())));
        return false;
    }
    sink.AddLine("Firmware\t" + texts[0]);
    sink.AddLine("Date:\t" + texts[1]);
    sink.AddLine("Version\t" + texts[2]);
    Report(app, sink, "Reading modul-configuration");
    // The controller's own values; a configuration kept from an earlier run stays untouched.
    char serial[kTextBuffer] = {}, ip[kTextBuffer] = {}, mask[kTextBuffer] = {},
         gateway[kTextBuffer] = {};
    int dhcp = 0;
    if (e.x740ReadModulConfig(app.m_Link, serial, ip, mask, gateway, &dhcp) == 0) {
        Report(app, sink, Format("A_X740_ReadModulConfig 0x%lx\n",
                                 static_cast<unsigned long>(e.x740GetLastError())));
        return false;
    }
    sink.AddLine(std::string("Serialnumber:\t") + serial);
    Report(app, sink, "Starting FTP");
    if (!app.StartFtpServer(0)) {
        Report(app, sink, app.m_Message);
        return false;
    }
    mv::processClock().sleep(kCheckFtpStartWaitMs);
    Report(app, sink, "Connecting to X740 FTP-Server");
    if (!app.PingModul(address, kCheckEchoTries) ||
        !app.m_Ftp->Connect(address, app.m_FtpPort, "update", "vorpal")) {
        sink.SetStatus("No Connection possible");
        return false;
    }
    ListFiles(app, sink);
    app.m_Ftp->Quit();
    return true;
}

} // namespace

void ListFiles(CX740FlashApp& app, ICheckSink& sink) {
    sink.SetStatus("Reading files");
    std::vector<LoaderFtpEntry> entries;
    app.m_Ftp->List(entries);
    ConsolePrintf("\n");
    for (const LoaderFtpEntry& entry : entries) {
        ConsolePrintf("%s\n", entry.name.c_str());
        app.m_Log.WriteLine(entry.name);
        std::string lower = entry.name;
        for (char& c : lower) {
            c = static_cast<char>(std::tolower(static_cast<unsigned char>(c)));
        }
        sink.AddLine(Format("%s\t%d", lower.c_str(), static_cast<int>(entry.size)));
    }
}

void RunCheck(CX740FlashApp& app, const std::string& address, ICheckSink& sink) {
    if (address.empty()) {
        app.m_Log.Write("No IPD defined\n");
    } else {
        CheckController(app, address, sink);
        app.m_Exports.close(app.m_Link);
        app.m_Link = 0;
    }
    sink.AddLine("END");
    sink.SetStatus("END");
}

void CConsoleCheckSink::AddLine(const std::string& text) {
    ConsolePrintf("%s\n", text.c_str());
}

void CConsoleCheckSink::SetStatus(const std::string& text) {
    if (!text.empty() && text.back() == '\n') {
        ConsolePrintf("%s", text.c_str());
    } else {
        ConsolePrintf("%s\n", text.c_str());
    }
}

} // namespace flash
