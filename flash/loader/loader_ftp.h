// The loader's FTP control connection as the boot and reset steps see it: whether a session
// is open, and ending it. The update procedures send their files through the same session.
#pragma once

#include <memory>

namespace flash {

class ILoaderFtp {
public:
    virtual ~ILoaderFtp() = default;
    // True while the control connection is open.
    virtual bool IsOpen() const = 0;
    // Ends the session (QUIT) and closes the control connection.
    virtual void Quit() = 0;
};

// The program's FTP session.
std::unique_ptr<ILoaderFtp> MakeLoaderFtp();

} // namespace flash
