// The loader's FTP session with the controller: one control connection, uploads, deletions and
// the listing of the controller's folder. Failure texts and "Sending file" lines go to the
// loader's console.
#pragma once

#include <cstdint>
#include <memory>
#include <string>
#include <vector>

namespace flash {

// One entry of the controller's folder: attribute 16 (directory) or 128 (file), size, name.
struct LoaderFtpEntry {
    std::uint32_t attributes = 128;
    std::uint32_t size = 0;
    std::string name;
};

class ILoaderFtp {
public:
    virtual ~ILoaderFtp() = default;
    // True while the control connection is open.
    virtual bool IsOpen() const = 0;
    // Ends the session (QUIT) and closes the control connection.
    virtual void Quit() = 0;
    // Closes the control connection without ending the session.
    virtual void CloseSocket() = 0;
    // Connects, logs in and sets binary transfers; false leaves the session closed.
    virtual bool Connect(const std::string& host, int port, const std::string& user,
                         const std::string& password) = 0;
    // STOR of a local file under the remote name.
    virtual bool Put(const std::string& localPath, const std::string& remoteName) = 0;
    // DELE; true while connected, whatever the reply.
    virtual bool Delete(const std::string& name) = 0;
    // LIST of the current folder.
    virtual bool List(std::vector<LoaderFtpEntry>& entries) = 0;
};

// The program's FTP session.
std::unique_ptr<ILoaderFtp> MakeLoaderFtp();

} // namespace flash
