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

std::string Row(const char* format, ...) __attribute__((format(printf, 1, 2)));
std::string Row(const char* format, ...) {
    char text[4 * kReplyBufferSize];
    va_list args;
    va_start(args, format);
    std::vsnprintf(text, sizeof text, format, args);
    va_end(args);
    return text;
}

} // namespace

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
                                std::vector<std::string>& rows, bool recursive) {
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
    rows.push_back(Row("|%s|0", directory.c_str()));
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
                rows.push_back(Row("|%s|0", entry.name.c_str()));
            continue;
        }
        rows.push_back(Row("%s|%s|%s|%u|%s|%s|%s", entry.name.c_str(), directory.c_str(),
                           entry.owner.c_str(), entry.size, entry.month.c_str(), entry.day.c_str(),
                           entry.timeOrYear.c_str()));
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
