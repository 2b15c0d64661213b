// A real FTP server for the tests: pyftpdlib (run by /usr/bin/python3) serving a folder on a
// loopback address. Port 0 lets the system choose; the chosen port is read back. The server
// ends with this object.
#pragma once

#include <cstdint>
#include <string>
#include <utility>
#include <vector>

#include <sys/types.h>

namespace ftptest {

struct PyFtpdOptions {
    std::string address = "127.0.0.1";
    int port = 0;
    std::string root; // empty: a temporary folder the server makes and removes
    std::vector<std::pair<std::string, std::string>> users{{"user", "password"}};
    std::string transcript; // file that receives every command line; empty for none
};

class PyFtpd {
public:
    explicit PyFtpd(const PyFtpdOptions& options);
    ~PyFtpd();
    PyFtpd(const PyFtpd&) = delete;
    PyFtpd& operator=(const PyFtpd&) = delete;

    bool Running() const { return port_ != 0; }
    std::uint16_t Port() const { return port_; }
    const std::string& Root() const { return root_; }
    // Why the server did not start.
    const std::string& Error() const { return error_; }

private:
    pid_t pid_ = -1;
    int stdin_ = -1;
    std::uint16_t port_ = 0;
    std::string root_;
    std::string error_;
};

// The launcher script in the source tree.
std::string LauncherScript();

// The descriptors the process has open now.
int OpenDescriptorCount();

// A fresh empty folder below the system's temporary folder, removed with the object.
class TempFolder {
public:
    TempFolder();
    ~TempFolder();
    TempFolder(const TempFolder&) = delete;
    TempFolder& operator=(const TempFolder&) = delete;
    const std::string& Path() const { return path_; }

private:
    std::string path_;
};

std::string ReadWholeFile(const std::string& path);
void WriteWholeFile(const std::string& path, const std::string& bytes);

} // namespace ftptest
