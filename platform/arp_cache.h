// The system's ARP table: removing the entry of a controller's address before a TCP link is
// opened, so a controller that came back with another hardware address is found at once.
#pragma once

#include <cstdint>

namespace mv {

// Deletes the ARP entry of ipv4 (first octet most significant) on every local IPv4 interface.
// Best effort: without the right, or without an entry, nothing happens and nothing is told.
void deleteArpEntry(std::uint32_t ipv4);

} // namespace mv
