// What the FTP client and session tell their user, through small interfaces: log lines, the
// transfer status window, the overwrite question, and (for callers that print their own texts)
// each failing step and the start of an upload. Every method has a harmless default.
#pragma once

#include <string_view>

namespace ftp {

// The log list: lines that start with a letter and a tab ("F\t" from the client, "I\t" and
// "E\t" from the session).
class LogSink {
public:
    virtual ~LogSink() = default;
    virtual void AddLine(std::string_view line) = 0;
};

// The status window of one transfer: made hidden, shown once the data flows, two text lines,
// gone at the end.
class TransferStatus {
public:
    virtual ~TransferStatus() = default;
    virtual void Create() {}
    virtual void Show() {}
    virtual void SetLine1(std::string_view /*text*/) {}
    virtual void SetLine2(std::string_view /*text*/) {}
    virtual void Destroy() {}
};

// The steps whose failure the client reports besides its log line.
enum class Step { Socket, SetSockOpt, Bind, GetSockName, Listen, Accept, FileOpen };

class ClientObserver {
public:
    virtual ~ClientObserver() = default;
    // A step failed; error is the errno value (0 when there is none, as for a time-out).
    virtual void StepFailed(Step /*step*/, int /*error*/) {}
    // An upload's STOR is about to be sent.
    virtual void StoreStarted(std::string_view /*localPath*/, std::string_view /*remoteName*/) {}
};

// The question before an upload replaces a file of the same name on the server.
class OverwritePrompt {
public:
    virtual ~OverwritePrompt() = default;
    // True to overwrite.
    virtual bool ConfirmOverwrite(std::string_view name) = 0;
};

} // namespace ftp
