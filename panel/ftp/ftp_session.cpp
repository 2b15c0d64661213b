#include "panel/ftp/ftp_session.h"

#include "panel/ftp/ftp_path.h"

#include <algorithm>
#include <cstdarg>
#include <cstdio>

namespace ftp {

namespace {

// The server's directory with '/' separators, ending in one '/'; a run of separators
// counts as one.
std::string Normalised(std::string directory) {
    std::replace(directory.begin(), directory.end(), '\\', '/');
    directory.erase(std::unique(directory.begin(), directory.end(),
                                [](char a, char b) { return a == '/' && b == '/'; }),
                    directory.end());
    EnsureTrailingSeparator(directory, '/');
    return directory;
}

DirectoryRow DirectoryNamed(const std::string& name) {
    DirectoryRow row;
    row.directory = true;
    row.name = name;
    return row;
}

} // namespace

std::string DirectoryRow::Text() const {
    if (directory)
        return "|" + name + "|0";
    return name + "|" + directoryField + "|" + owner + "|" + std::to_string(size) + "|" + month +
           "|" + day + "|" + timeOrYear;
}

void CFtpSession::LogLine(const char* format, ...) {
    if (!log_)
        return;
    char text[kReplyBufferSize];
    va_list args;
    va_start(args, format);
    std::vsnprintf(text, sizeof text, format, args);
    va_end(args);
    log_->AddLine(text);
}

void CFtpSession::Connect(std::string_view host, std::string_view user,
                          std::string_view password, const char* /*reserved*/, LogSink* log,
                          int port, int attempts, int delaySeconds) {
    log_ = log;
    client_.SetLogSink(log);
    if (!CFtpClient::StartSockets()) {
        LogLine("E\tInternetOpen failed");
        return;
    }
    const std::string name(host);
    for (int attempt = 1; attempt <= attempts; ++attempt) {
        LogLine("I\tConnecting to %s (Attempt %d of %d)", name.c_str(), attempt, attempts);
        if (client_.Connect(host, user, password, port))
            break;
        if (attempt < attempts) {
            LogLine("E\tFailed to connect to %s (Attempt %d of %d)", name.c_str(), attempt,
                    attempts);
            LogLine("E\tRetrying after %d seconds...", delaySeconds);
            client_.GetClock().sleep(delaySeconds * 1000);
            continue;
        }
        LogLine("E\tCannot login to the server %s", name.c_str());
        return;
    }
    if (!client_.IsConnected())
        return;
    std::string directory;
    if (!client_.PrintWorkingDir(directory)) {
        LogLine("E\tCan't get Directory");
        return;
    }
    base_ = Normalised(directory);
}

bool CFtpSession::ListDirectory(const std::string& path, bool absolute,
                                std::vector<DirectoryRow>& rows, bool recursive) {
    std::string target = path;
    if (!absolute) {
        if (!target.empty() && (target.front() == '/' || target.front() == '\\'))
            target.erase(0, 1);
        target = base_ + target;
    }
    if (!client_.ChangeDir(target))
        return false;
    std::string reply;
    client_.PrintWorkingDir(reply);
    const std::string directory = Normalised(reply);
    rows.push_back(DirectoryNamed(directory));
    if (!client_.List())
        return false;
    std::vector<std::string> subdirectories;
    FtpDirEntry entry;
    for (int i = 0; client_.GetEntry(i, entry); ++i) {
        if (entry.name == "." || entry.name == "..")
            continue;
        if (entry.IsDirectory()) {
            subdirectories.push_back(directory + entry.name);
            if (!recursive)
                rows.push_back(DirectoryNamed(entry.name));
            continue;
        }
        DirectoryRow row;
        row.name = entry.name;
        row.directoryField = directory;
        row.owner = entry.owner;
        row.size = entry.size;
        row.month = entry.month;
        row.day = entry.day;
        row.timeOrYear = entry.timeOrYear;
        rows.push_back(std::move(row));
    }
    if (recursive) {
        for (const std::string& sub : subdirectories) {
            if (!ListDirectory(sub, true, rows, true))
                return false;
        }
    }
    return true;
}

bool CFtpSession::PutFileConfirm(const std::string& localPath, std::string_view remoteName) {
    const std::string_view name = BaseName(remoteName);
    if (client_.FindEntry(name) && !(prompt_ && prompt_->ConfirmOverwrite(name)))
        return false;
    return client_.PutFile(localPath, remoteName);
}

} // namespace ftp
