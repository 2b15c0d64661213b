// CFtpClient: a small blocking FTP client. Every data connection is opened with PORT (the
// client listens on the control connection's local address, the server connects back and only
// the server is accepted). Every reply, connect, accept and data read or write ends at a
// deadline; a time-out fails the operation and closes the connection.
#pragma once

#include "panel/ftp/ftp_dir_entry.h"
#include "panel/ftp/ftp_events.h"
#include "panel/ftp/ftp_reply.h"
#include "panel/ftp/ftp_socket.h"
#include "platform/clock.h"

#include <cstdint>
#include <string>
#include <string_view>
#include <vector>

namespace ftp {

class CFtpClient {
public:
    static constexpr int kModeImage = 1;
    static constexpr int kModeText = 2;
    static constexpr int kDefaultPort = 21;
    static constexpr int kDefaultTimeoutMs = 30000;
    // Transfers move blocks of up to this many bytes.
    static constexpr std::size_t kTransferBlock = 64 * 1024;
    // The status line of a transfer is repainted at most this often (and at the end).
    static constexpr int kStatusIntervalMs = 100;
    // The countdown after every upload: steps of one second.
    static constexpr int kUploadWaitSteps = 5;
    static constexpr int kUploadWaitStepMs = 1000;

    CFtpClient();
    ~CFtpClient();
    CFtpClient(const CFtpClient&) = delete;
    CFtpClient& operator=(const CFtpClient&) = delete;

    // Where the client reports (each may be null: nothing is reported there).
    void SetLogSink(LogSink* sink) { log_ = sink; }
    void SetStatus(TransferStatus* status);
    void SetObserver(ClientObserver* observer);
    // The clock of the client's waits (null: the process clock).
    void SetClock(mv::Clock* clock);
    mv::Clock& GetClock() const { return *clock_; }
    // The deadline of each socket wait in milliseconds.
    void SetTimeout(int ms) { timeoutMs_ = ms > 0 ? ms : 1; }
    int Timeout() const { return timeoutMs_; }

    static bool StartSockets() { return true; }

    bool Connect(std::string_view host, std::string_view user, std::string_view password,
                 int port = kDefaultPort);
    // A connected control socket, or -1.
    int OpenConnection(std::string_view host, std::string_view port);
    bool Login(std::string_view user, std::string_view password);
    bool SetBinary();
    bool PrintWorkingDir(std::string& directory);
    bool ChangeDir(std::string_view path);
    // The listen socket after PORT was answered 200, or -1.
    int GetListenSocket();
    // The server's data connection, or -1.
    int Accept();
    bool PutFile(const std::string& localPath, std::string_view remoteName);
    bool GetFile(std::string_view remoteName, const std::string& localPath);
    // True while connected, whatever the reply.
    bool DeleteFile(std::string_view name);
    bool List();
    bool Quit();
    // The code of a complete reply (0: no code, time-out or connection lost).
    int ReadReply();
    // The code of the next line of the control connection.
    int ReadLine();

    int GetEntryCount() const { return static_cast<int>(entries_.size()); }
    bool GetEntry(int index, FtpDirEntry& entry) const;
    bool FindEntry(std::string_view name) const;
    void ClearEntries() { entries_.clear(); }

    // Logs "F\t" and the formatted text up to its first CR or LF.
    void Log(const char* format, ...) __attribute__((format(printf, 2, 3)));

    bool IsConnected() const { return connected_ != 0; }
    int Mode() const { return mode_; }
    // The last line read (at most kReplyBufferSize - 1 bytes).
    const std::string& ReplyText() const { return reply_; }
    int ControlSocket() const { return control_.Get(); }

private:
    // Sends one command built from the format (refused when it does not fit the buffer).
    bool SendCommand(const char* format, ...) __attribute__((format(printf, 2, 3)));
    // Sends a command with one argument; refused when the argument holds CR or LF.
    bool SendCommandWith(const char* verb, std::string_view argument);
    // Closes every socket and clears the connected flag.
    void Drop();
    // ReadLine within the deadline already set.
    int ReadLineUntilDeadline();
    void Failed(Step step, int error);
    // Logs the step's text and reports it with the errno value of the moment; -1.
    int StepFailed(Step step, const char* text);
    // Sends the data socket's bytes of an open file; false on a send failure.
    bool SendFileData(int fd, std::string_view remoteName);
    // Receives the data socket's bytes into an open file; *writeFailed after a short write.
    bool ReceiveFileData(int fd, const std::string& localPath, bool* writeFailed);
    // Line 2 of the status, at most every kStatusIntervalMs unless `last`.
    void ShowProgress(const std::string& text, bool last);
    void UploadCountdown();

    SocketFd control_;
    SocketFd data_;
    SocketFd listen_;
    std::uint32_t server_ = 0; // the server's address (network order)
    int connected_ = 0;
    int mode_ = kModeText;
    std::string reply_;
    LineReader lines_;
    ReplyAssembler assembler_;
    mv::MonoMs replyDeadline_ = 0;
    std::vector<FtpDirEntry> entries_;
    LogSink* log_ = nullptr;
    TransferStatus* status_;
    ClientObserver* observer_;
    mv::Clock* clock_;
    int timeoutMs_ = kDefaultTimeoutMs;
    mv::MonoMs lastProgress_ = 0;
    bool progressShown_ = false;
};

} // namespace ftp
