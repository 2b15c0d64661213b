// Extension point of the simulated station: a handler that answers requests before the
// station's own function codes. Service code families (core, cam, gateway, logic) plug in here.
#pragma once

#include <cstdint>
#include <vector>

namespace x740sim {

class ServiceHandler {
public:
    virtual ~ServiceHandler() = default;

    // Called for every complete, checksum-valid request frame. direction is the request's
    // byte 2 (0x40 read, 0x20 write); data holds its n data bytes (data[0] = function code).
    // Return false to let the station answer with its own codes. Return true when handled:
    // replyPayload is the payload of the reply, replyDirection its direction byte (preset to
    // the request's direction; set bit 0x10 and put the error byte in replyPayload[0] for a
    // device error), and noReply = true sends nothing back (preset to false).
    // The handler runs on the transport's thread with the station locked; it may call the
    // station's own accessors (the lock is recursive).
    virtual bool handle(std::uint8_t direction, const std::vector<std::uint8_t>& data,
                        std::vector<std::uint8_t>& replyPayload, std::uint8_t& replyDirection,
                        bool& noReply) = 0;
};

} // namespace x740sim
