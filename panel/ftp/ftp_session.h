// CFtpSession: the connection layer over CFtpClient: connection attempts with a delay between
// them, the server's base directory, listings as text rows and the question before an upload
// replaces a file.
#pragma once

#include "panel/ftp/ftp_client.h"

#include <cstdint>
#include <string>
#include <string_view>
#include <vector>

namespace ftp {

// One row of a directory listing with its fields kept apart: a name is a name whatever bytes
// it holds ('|' too), so no byte of it can move into another field.
struct DirectoryRow {
    bool directory = false;
    std::string name; // a file's name; a directory row's path or name
    std::string directoryField; // file rows: the listed directory, ending in '/'
    std::string owner;
    std::uint32_t size = 0;
    std::string month;
    std::string day;
    std::string timeOrYear;

    // The row as one text: "name|dir|owner|size|month|day|time" or "|name|0" (for showing;
    // it is never cut apart again).
    std::string Text() const;
};

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

    // Rows of a directory: first the directory itself (a directory row of its path), then
    // per entry (not "." or "..") a file row or, unless recursive, a directory row of its
    // name. A relative path is taken below the base directory.
    bool ListDirectory(const std::string& path, bool absolute, std::vector<DirectoryRow>& rows,
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
