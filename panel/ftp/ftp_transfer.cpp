// Uploads, downloads and listings of CFtpClient: each over one data connection.
#include "panel/ftp/ftp_client.h"
#include "platform/file_mode.h"

#include "platform/ini_file.h"

#include <cerrno>
#include <cstdio>
#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

#include <memory>

namespace ftp {

namespace {

bool IsPreliminary(int code) { return code >= 100 && code < 200; }
bool IsCompletion(int code) { return code >= 200 && code < 300; }

std::string Printf(const char* format, std::string_view text, long long number) {
    char buffer[kReplyBufferSize];
    std::snprintf(buffer, sizeof buffer, format, std::string(text).c_str(), number);
    return buffer;
}

// A temporary file beside `target`, removed again unless Commit() renamed it over the target.
// Partial files that downloads of the same target left behind (a killed process) and that
// have not been written for a minute go first.
class TempBeside {
public:
    explicit TempBeside(const std::string& target) : target_(target) {
        fd_ = mv::iniCreateTemporary(target, path_);
        if (fd_ < 0) {
            path_.clear();
            return;
        }
        mv::ApplyReplacementMode(fd_, target);
    }
    ~TempBeside() {
        if (fd_ >= 0)
            ::close(fd_);
        if (!path_.empty())
            ::unlink(path_.c_str());
    }
    TempBeside(const TempBeside&) = delete;
    TempBeside& operator=(const TempBeside&) = delete;

    int Fd() const { return fd_; }
    // Closes the file and puts it in place of the target; false when either fails.
    bool Commit() {
        const int fd = fd_;
        fd_ = -1;
        if (::close(fd) != 0 || ::rename(path_.c_str(), target_.c_str()) != 0)
            return false;
        path_.clear();
        return true;
    }

private:
    std::string target_;
    std::string path_;
    int fd_ = -1;
};

// Writes all bytes; false on a short write.
bool WriteAll(int fd, const char* data, std::size_t size) {
    while (size > 0) {
        const ssize_t n = ::write(fd, data, size);
        if (n < 0 && errno == EINTR)
            continue;
        if (n <= 0)
            return false;
        data += n;
        size -= static_cast<std::size_t>(n);
    }
    return true;
}

} // namespace

void CFtpClient::ShowProgress(const std::string& text, bool last) {
    const mv::MonoMs now = clock_->now();
    if (!last && progressShown_ && now - lastProgress_ < kStatusIntervalMs)
        return;
    progressShown_ = true;
    lastProgress_ = now;
    status_->SetLine2(text);
}

void CFtpClient::UploadCountdown() {
    status_->SetLine1("Wait");
    std::string text = " ";
    for (int i = 0; i < kUploadWaitSteps; ++i) {
        char step[16];
        std::snprintf(step, sizeof step, " %d ", i);
        text += step;
        status_->SetLine2(text);
        clock_->sleep(kUploadWaitStepMs);
    }
}

bool CFtpClient::SendFileData(int fd, std::string_view remoteName) {
    std::unique_ptr<char[]> block(new char[kTransferBlock]);
    long long total = 0;
    progressShown_ = false;
    bool ok = true;
    for (;;) {
        const ssize_t n = ::read(fd, block.get(), kTransferBlock);
        if (n < 0 && errno == EINTR)
            continue;
        if (n <= 0) {
            ok = n == 0;
            break;
        }
        const Io io = SendAll(data_.Get(), block.get(), static_cast<std::size_t>(n),
                              mv::deadlineAfter(timeoutMs_));
        if (io != Io::Ok) {
            if (io == Io::TimedOut) {
                Log("Timeout\n");
                Drop();
            }
            ok = false;
            break;
        }
        total += n;
        ShowProgress(Printf("%s : %lld sent", remoteName, total), false);
    }
    ShowProgress(Printf("%s : %lld sent", remoteName, total), true);
    return ok;
}

bool CFtpClient::PutFile(const std::string& localPath, std::string_view remoteName) {
    status_->Create();
    // Only a regular file is sent; a pipe in its place never holds the open up.
    SocketFd file(::open(localPath.c_str(), O_RDONLY | O_CLOEXEC | O_NONBLOCK));
    struct stat st {};
    if (file.IsOpen() && (::fstat(file.Get(), &st) != 0 || !S_ISREG(st.st_mode))) {
        file.Reset();
    }
    if (!file.IsOpen()) {
        StepFailed(Step::FileOpen, "file open");
        status_->Destroy();
        return false;
    }
    if (GetListenSocket() < 0) {
        Log("GetListenSocket failed\n");
        status_->Destroy();
        return false;
    }
    observer_->StoreStarted(localPath, remoteName);
    bool ok = SendCommandWith("STOR", remoteName) && IsPreliminary(ReadReply());
    if (!ok) {
        listen_.Reset();
    } else if (Accept() < 0) {
        Log("AcceptConnection failed\n");
        ok = false;
    }
    int code = 0;
    if (ok) {
        status_->Show();
        status_->SetLine1(Printf("Sending file %s ", remoteName, 0));
        ok = SendFileData(file.Get(), remoteName);
        data_.Reset();
        file.Reset();
        code = ReadReply();
    }
    UploadCountdown();
    status_->Destroy();
    return ok && IsCompletion(code);
}

bool CFtpClient::ReceiveFileData(int fd, const std::string& localPath, bool* writeFailed) {
    std::unique_ptr<char[]> block(new char[kTransferBlock]);
    long long total = 0;
    progressShown_ = false;
    bool ok = true;
    for (;;) {
        std::size_t received = 0;
        const Io io = ReceiveSome(data_.Get(), block.get(), kTransferBlock,
                                  mv::deadlineAfter(timeoutMs_), &received);
        if (io == Io::Closed)
            break;
        if (io != Io::Ok) {
            if (io == Io::TimedOut) {
                Log("Timeout\n");
                Drop();
            }
            ok = false;
            break;
        }
        if (!*writeFailed && !WriteAll(fd, block.get(), received)) {
            Log("Write Error\n");
            *writeFailed = true;
        }
        total += static_cast<long long>(received);
        ShowProgress(Printf("%s : %lld received", localPath, total), false);
    }
    ShowProgress(Printf("%s : %lld received", localPath, total), true);
    return ok;
}

bool CFtpClient::GetFile(std::string_view remoteName, const std::string& localPath) {
    status_->Create();
    TempBeside temp(localPath);
    if (temp.Fd() < 0) {
        StepFailed(Step::FileOpen, "file open");
        status_->Destroy();
        return false;
    }
    if (GetListenSocket() < 0) {
        status_->Destroy();
        return false;
    }
    if (!SendCommandWith("RETR", remoteName) || !IsPreliminary(ReadReply())) {
        listen_.Reset();
        status_->Destroy();
        return false;
    }
    if (Accept() < 0) {
        status_->Destroy();
        return false;
    }
    status_->Show();
    status_->SetLine1(Printf("Receiveing file %s ", localPath, 0));
    bool writeFailed = false;
    const bool received = ReceiveFileData(temp.Fd(), localPath, &writeFailed);
    data_.Reset();
    const int code = ReadReply();
    status_->Destroy();
    if (!received || writeFailed || !IsCompletion(code))
        return false;
    if (!temp.Commit()) {
        Log("Write Error\n");
        return false;
    }
    return true;
}

bool CFtpClient::List() {
    if (!connected_) {
        Log("Not Connected.\n");
        return false;
    }
    if (GetListenSocket() < 0) {
        Log("Cannot obtain a listen socket.\n");
        return false;
    }
    if (!SendCommand("LIST\r\n") || !IsPreliminary(ReadReply())) {
        listen_.Reset();
        return false;
    }
    if (Accept() < 0) {
        Log("Cannot accept connection.\n");
        return false;
    }
    ClearEntries();
    ListParser parser;
    bool ok = true;
    char block[kReplyBufferSize];
    for (;;) {
        std::size_t received = 0;
        const Io io = ReceiveSome(data_.Get(), block, sizeof block, mv::deadlineAfter(timeoutMs_),
                                  &received);
        if (io == Io::Closed)
            break;
        if (io != Io::Ok) {
            if (io == Io::TimedOut) {
                Log("Timeout\n");
                Drop();
            }
            ok = false;
            break;
        }
        parser.Feed(block, received);
    }
    data_.Reset();
    if (!ok || !IsCompletion(ReadReply()))
        return false;
    entries_ = std::move(parser.Entries());
    return true;
}

} // namespace ftp
