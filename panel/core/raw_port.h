// The four link calls the panel's telegram layer relies on: exact writes and reads within the
// link time-out, and the frame checksum filled in and checked. The panel's own port goes
// through Portwire on the application object's current handle; tests give a scripted one.
#pragma once

#include "portwire/include/Portwire.h"

#include <cstdint>
#include <functional>

namespace x740panel {

class RawPort {
public:
    virtual ~RawPort() = default;
    virtual bool Write(const std::uint8_t* buffer, int len) = 0;
    virtual bool Read(std::uint8_t* buffer, int len) = 0;
    // Puts the checksum of buffer[0..len-2] into buffer[len-1].
    virtual void CreateChecksum(std::uint8_t* buffer, int len) = 0;
    virtual bool CheckChecksum(const std::uint8_t* buffer, int len) = 0;
};

// RawPort over Portwire's A_Write, A_Read, A_CreateChecksum and A_CheckChksum on the handle
// the function gives at each call.
class PortwirePort final : public RawPort {
public:
    explicit PortwirePort(std::function<LinkHandle()> handle) : handle_(std::move(handle)) {}
    bool Write(const std::uint8_t* buffer, int len) override;
    bool Read(std::uint8_t* buffer, int len) override;
    void CreateChecksum(std::uint8_t* buffer, int len) override;
    bool CheckChecksum(const std::uint8_t* buffer, int len) override;

private:
    std::function<LinkHandle()> handle_;
};

} // namespace x740panel
