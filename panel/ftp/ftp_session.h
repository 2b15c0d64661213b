// CFtpSession: the connection layer over CFtpClient: connection attempts with a delay between
// them, the server's base directory, listings as text rows and the question before an upload
// replaces a file.
#pragma once

#include "panel/ftp/ftp_client.h"

#include <string>
#include <string_view>
#include <vector>

namespace ftp {

class CFtpSession {
public:
    CFtpSession() = default;

    CFtpClient& Client() { return client_; }
    void SetPrompt(OverwritePrompt* prompt) { prompt_ = prompt; }

    // Connects with up to `attempts` tries, `delaySeconds` apart; `reserved` is not used. The
    // caller asks IsConnected afterwards. Log lines go to `log` (none when null).
    void Connect(std::string_view host, std::string_view user, std::string_view password,
                 const char* reserved, LogSink* log, int port, int attempts, int delaySeconds);
    bool IsConnected() const { return client_.IsConnected(); }
    void Quit() { client_.Quit(); }

    // Rows of a directory: first "|<dir>|0" of the directory itself, then per entry (not "."
    // or "..") a file "name|dir|owner|size|month|day|time" or, unless recursive, a directory
    // "|name|0". A relative path is taken below the base directory.
    bool ListDirectory(const std::string& path, bool absolute, std::vector<std::string>& rows,
                       bool recursive);
    // Asks before replacing a file of the last listing; false without a transfer when the
    // answer is no.
    bool PutFileConfirm(const std::string& localPath, std::string_view remoteName);
    bool GetFile(std::string_view remoteName, const std::string& localPath) {
        return client_.GetFile(remoteName, localPath);
    }
    // Always true: the reply is not examined.
    bool DeleteFile(std::string_view name) {
        client_.DeleteFile(name);
        return true;
    }

    const std::string& BaseDirectory() const { return base_; }

private:
    void LogLine(const char* format, ...) __attribute__((format(printf, 2, 3)));

    std::string base_;
    CFtpClient client_;
    LogSink* log_ = nullptr;
    OverwritePrompt* prompt_ = nullptr;
};

} // namespace ftp
