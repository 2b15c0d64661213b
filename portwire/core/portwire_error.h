// Codes of the library's last error (one 16-bit value for the whole library).
#pragma once

#include <cstdint>

namespace portwire {

enum PortwireError : std::uint16_t {
    kErrNone = 0x0000,
    kErrInvalidHandle = 0x0100,  // unknown handle, serial port closed, time-outs not set
    kErrComOpen = 0x0200,        // COM port cannot be opened or configured
    kErrTransfer = 0x0300,       // write or read failed; no baud rate answered
    kErrTcpConnect = 0x0400,     // TCP link could not be connected (or its Read ID failed)
    kErrShort = 0x0500,          // fewer bytes moved than asked within the time-out
    kErrChecksum = 0x0600,       // checksum mismatch
};

} // namespace portwire
