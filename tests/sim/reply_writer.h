// Writes a station's response to a descriptor, piece by piece with the pauses it asks for.
#pragma once

#include "tests/sim/station.h"

namespace x740sim {

// Writes every chunk completely (after its delay). socket = true sends with MSG_NOSIGNAL.
// Returns false when the descriptor failed.
bool writeResponse(int fd, const Response& response, bool socket);

// Writes all bytes, retrying short writes and waiting while a non-blocking descriptor is full.
bool writeAll(int fd, const std::uint8_t* data, std::size_t count, bool socket);

} // namespace x740sim
