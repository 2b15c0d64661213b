// CReachabilityProbe: whether the controller's service port accepts a TCP connection, found
// by a non-blocking connect, a wait for writability and the socket's pending error. Only a
// completed connect counts as reachable (a refused connect also wakes the wait).
#pragma once

#include <cstdint>

namespace x740panel {

class CReachabilityProbe {
public:
    CReachabilityProbe() = default;
    explicit CReachabilityProbe(std::uint32_t address) : address_(address) {}

    void SetAddress(std::uint32_t address) { address_ = address; }
    std::uint32_t Address() const { return address_; }

    // 0 reachable, 1 not, within the given seconds.
    int Probe(int seconds) const;
    // The same for any address and port (the panel always probes the service port).
    static int ConnectWithTimeout(std::uint32_t address, int port, int seconds);

private:
    std::uint32_t address_ = 0;
};

} // namespace x740panel
