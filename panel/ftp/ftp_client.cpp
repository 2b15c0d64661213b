#include "panel/ftp/ftp_client.h"

#include <arpa/inet.h>
#include <cerrno>
#include <cstdarg>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <sys/socket.h>

namespace ftp {

namespace {

TransferStatus g_noStatus;
ClientObserver g_noObserver;

std::string_view Trimmed(std::string_view text) {
    const std::size_t first = text.find_first_not_of(" \t\r\n");
    if (first == std::string_view::npos)
        return {};
    const std::size_t last = text.find_last_not_of(" \t\r\n");
    return text.substr(first, last - first + 1);
}

} // namespace

CFtpClient::CFtpClient()
    : status_(&g_noStatus), observer_(&g_noObserver), clock_(&mv::processClock()) {}

CFtpClient::~CFtpClient() {
    ClearEntries();
    Quit();
}

void CFtpClient::SetStatus(TransferStatus* status) { status_ = status ? status : &g_noStatus; }

void CFtpClient::SetObserver(ClientObserver* observer) {
    observer_ = observer ? observer : &g_noObserver;
}

void CFtpClient::SetClock(mv::Clock* clock) { clock_ = clock ? clock : &mv::processClock(); }

void CFtpClient::Log(const char* format, ...) {
    if (!log_)
        return;
    char text[kReplyBufferSize];
    va_list args;
    va_start(args, format);
    std::vsnprintf(text, sizeof text, format, args);
    va_end(args);
    std::string line = "F\t";
    line.append(LoggedText(text));
    log_->AddLine(line);
}

void CFtpClient::Failed(Step step, int error) { observer_->StepFailed(step, error); }

int CFtpClient::StepFailed(Step step, const char* text) {
    const int error = errno;
    Log("%s", text);
    Failed(step, error);
    return -1;
}

void CFtpClient::Drop() {
    data_.Reset();
    listen_.Reset();
    control_.Reset();
    lines_.Clear();
    connected_ = 0;
}

bool CFtpClient::Connect(std::string_view host, std::string_view user, std::string_view password,
                         int port) {
    if (connected_) {
        Log("Already connected.  Close connection first.\n");
        return false;
    }
    const int fd = OpenConnection(host, std::to_string(port));
    clock_->sleep(1);
    if (fd < 0)
        return false;
    control_.Reset(fd);
    lines_.Clear();
    Log("Connected to %.*s\n", static_cast<int>(host.size()), host.data());
    connected_ = 1;
    if (ReadReply() == 0 || !Login(user, password) || !SetBinary()) {
        Drop();
        return false;
    }
    return true;
}

int CFtpClient::OpenConnection(std::string_view host, std::string_view port) {
    sockaddr_in address{};
    address.sin_family = AF_INET;
    address.sin_port = htons(static_cast<std::uint16_t>(std::atoi(std::string(port).c_str())));
    SocketFd fd(OpenTcpSocket());
    if (!fd.IsOpen()) {
        const int error = errno;
        Log("socket: error code: %d\r\n", error);
        Failed(Step::Socket, error);
        return -1;
    }
    if (inet_pton(AF_INET, std::string(host).c_str(), &address.sin_addr) != 1) {
        Log("connect: error code: %d\r\n", EINVAL);
        return -1;
    }
    const int error = ConnectWithin(fd.Get(), address, mv::deadlineAfter(timeoutMs_));
    if (error != 0) {
        Log("connect: error code: %d\r\n", error);
        return -1;
    }
    const linger off{0, 5};
    const int no = 0;
    ::setsockopt(fd.Get(), SOL_SOCKET, SO_LINGER, &off, sizeof off);
    ::setsockopt(fd.Get(), SOL_SOCKET, SO_REUSEADDR, &no, sizeof no);
    ::setsockopt(fd.Get(), SOL_SOCKET, SO_KEEPALIVE, &no, sizeof no);
    server_ = address.sin_addr.s_addr;
    return fd.Release();
}

bool CFtpClient::Login(std::string_view user, std::string_view password) {
    if (!connected_) {
        std::fputs("Not Connected.\n", stdout);
        return false;
    }
    if (!SendCommandWith("USER", user))
        return false;
    const int userCode = ReadReply();
    if (userCode == 230)
        return true; // no password wanted
    if (userCode == 0 || !SendCommandWith("PASS", password))
        return false;
    const int code = ReadReply();
    return code == 230 || code == 202;
}

bool CFtpClient::SetBinary() {
    if (!SendCommand("TYPE I\r\n") || ReadReply() == 0)
        return false;
    Log("File transfer modes set to binary.\n");
    mode_ = kModeImage;
    return true;
}

bool CFtpClient::PrintWorkingDir(std::string& directory) {
    if (!SendCommand("PWD\r\n"))
        return false;
    ReadReply();
    const std::string_view text = reply_;
    const std::size_t open = text.find('"');
    if (open == std::string_view::npos || ReplyCode(text.substr(0, open)) != 257)
        return false;
    std::string_view rest = LoggedText(text.substr(open + 1));
    const std::size_t close = rest.find('"');
    if (close != std::string_view::npos)
        rest = rest.substr(0, close);
    directory.assign(rest);
    return true;
}

bool CFtpClient::ChangeDir(std::string_view path) {
    if (!SendCommandWith("CWD", Trimmed(path)))
        return false;
    const int code = ReadReply();
    return code != 550 && connected_;
}

bool CFtpClient::DeleteFile(std::string_view name) {
    if (!connected_) {
        Log("Not Connected.\n");
        return false;
    }
    if (!SendCommandWith("DELE", name))
        return false;
    ReadReply();
    return connected_ != 0;
}

bool CFtpClient::Quit() {
    if (!connected_)
        return false;
    if (SendCommand("quit\r\n"))
        ReadReply();
    Drop();
    return true;
}

int CFtpClient::GetListenSocket() {
    SocketFd fd(OpenTcpSocket());
    if (!fd.IsOpen()) {
        return StepFailed(Step::Socket, "socket");
    }
    const int yes = 1;
    if (::setsockopt(fd.Get(), SOL_SOCKET, SO_REUSEADDR, &yes, sizeof yes) != 0) {
        return StepFailed(Step::SetSockOpt, "setsockopt");
    }
    sockaddr_in local{};
    socklen_t length = sizeof local;
    if (::getsockname(control_.Get(), reinterpret_cast<sockaddr*>(&local), &length) != 0) {
        return StepFailed(Step::GetSockName, "getsockname");
    }
    local.sin_port = 0;
    if (::bind(fd.Get(), reinterpret_cast<const sockaddr*>(&local), sizeof local) != 0) {
        return StepFailed(Step::Bind, "bind");
    }
    length = sizeof local;
    if (::getsockname(fd.Get(), reinterpret_cast<sockaddr*>(&local), &length) != 0) {
        return StepFailed(Step::GetSockName, "getsockname");
    }
    if (::listen(fd.Get(), 1) != 0) {
        return StepFailed(Step::Listen, "listen");
    }
    const auto* a = reinterpret_cast<const unsigned char*>(&local.sin_addr.s_addr);
    const unsigned port = ntohs(local.sin_port);
    if (!SendCommand("PORT %d,%d,%d,%d,%d,%d\r\n", a[0], a[1], a[2], a[3], port >> 8,
                     port & 0xFF) ||
        ReadReply() != 200)
        return -1;
    listen_ = std::move(fd);
    return listen_.Get();
}

int CFtpClient::Accept() {
    int error = 0;
    const int fd = AcceptFrom(listen_.Get(), server_, mv::deadlineAfter(timeoutMs_), &error);
    listen_.Reset();
    if (fd < 0) {
        Log("accept");
        Failed(Step::Accept, error);
        if (error == 0)
            Drop(); // time-out
        return -1;
    }
    data_.Reset(fd);
    return fd;
}

bool CFtpClient::GetEntry(int index, FtpDirEntry& entry) const {
    if (index < 0 || index >= GetEntryCount())
        return false;
    entry = entries_[static_cast<std::size_t>(index)];
    return true;
}

bool CFtpClient::FindEntry(std::string_view name) const {
    for (const FtpDirEntry& entry : entries_) {
        if (entry.name == name)
            return true;
    }
    return false;
}

int CFtpClient::ReadLine() {
    replyDeadline_ = mv::deadlineAfter(timeoutMs_);
    return ReadLineUntilDeadline();
}

int CFtpClient::ReadLineUntilDeadline() {
    std::string line;
    while (!lines_.NextLine(line)) {
        if (!control_.IsOpen())
            return 0;
        char buffer[kReplyBufferSize];
        std::size_t received = 0;
        const Io io = ReceiveSome(control_.Get(), buffer, sizeof buffer, replyDeadline_, &received);
        if (io != Io::Ok) {
            if (io == Io::TimedOut)
                Log("Timeout\n");
            Drop();
            reply_.clear();
            return 0;
        }
        lines_.Feed(buffer, received);
    }
    reply_ = std::move(line);
    return ReplyCode(reply_);
}

int CFtpClient::ReadReply() {
    replyDeadline_ = mv::deadlineAfter(timeoutMs_);
    assembler_.Reset();
    reply_.clear();
    for (;;) {
        if (!control_.IsOpen())
            return 0;
        ReadLineUntilDeadline();
        if (!control_.IsOpen())
            return 0; // lost or timed out
        Log("%s\n", std::string(LoggedText(reply_)).c_str());
        if (assembler_.AddLine(reply_))
            return assembler_.Code();
    }
}

bool CFtpClient::SendCommand(const char* format, ...) {
    if (!control_.IsOpen())
        return false;
    char command[kReplyBufferSize];
    va_list args;
    va_start(args, format);
    const int n = std::vsnprintf(command, sizeof command, format, args);
    va_end(args);
    if (n < 0 || static_cast<std::size_t>(n) >= sizeof command)
        return false; // never a cut command
    const Io io = SendAll(control_.Get(), command, static_cast<std::size_t>(n),
                          mv::deadlineAfter(timeoutMs_));
    if (io != Io::Ok) {
        if (io == Io::TimedOut)
            Log("Timeout\n");
        Drop();
        return false;
    }
    return true;
}

bool CFtpClient::SendCommandWith(const char* verb, std::string_view argument) {
    if (argument.find_first_of(std::string_view("\r\n\0", 3)) != std::string_view::npos) {
        Log("Invalid name\n");
        return false;
    }
    return SendCommand("%s %.*s\r\n", verb, static_cast<int>(argument.size()), argument.data());
}

} // namespace ftp
