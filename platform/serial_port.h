// A serial device used raw (8N1, no flow control), held exclusively while open.
#pragma once

#include <cstddef>
#include <cstdint>
#include <string>
#include <termios.h>

namespace mv {

// Time-outs of a serial port in milliseconds, with the semantics of the classic COM time-outs:
// a read of n bytes must finish within readTotalConstant + readTotalMultiplier * n and may pause
// at most readInterval between two bytes (0 = no interval limit); a write of n bytes must finish
// within writeTotalConstant + writeTotalMultiplier * n.
struct SerialTimeouts {
    int readInterval = 1000;
    int readTotalMultiplier = 1;
    int readTotalConstant = 1000;
    int writeTotalMultiplier = 1;
    int writeTotalConstant = 1000;
};

class SerialPort {
public:
    enum class Status { Ok, Failed, TimedOut };

    SerialPort() = default;
    ~SerialPort();
    SerialPort(const SerialPort&) = delete;
    SerialPort& operator=(const SerialPort&) = delete;

    // Opens an existing device for reading and writing and takes it exclusively (flock and
    // TIOCEXCL). Fails when the device is missing, not a terminal or held by someone else.
    bool open(const std::string& device);
    bool isOpen() const { return fd_ >= 0; }
    // Lets pending output leave, restores the settings found at open, releases the device and
    // closes it.
    void close();

    // Reads the current settings (a failure means the device is unusable).
    bool readState();
    // Raw 8N1 at the given baud, no flow control, DTR and RTS off where the device has them.
    // Pending output leaves at the old speed first. The settings are read back and compared; an
    // unsupported baud fails.
    bool applyState(int baud);

    bool setTimeouts(const SerialTimeouts& timeouts);
    SerialTimeouts timeouts() const { return timeouts_; }

    // Moves exactly len bytes within the time-outs; *done receives the count moved.
    Status write(const std::uint8_t* data, std::size_t len, std::size_t* done);
    Status read(std::uint8_t* data, std::size_t len, std::size_t* done);
    // Discards what was received and not yet read.
    bool purgeInput();

    const std::string& device() const { return device_; }

private:
    // Waits until everything written has been sent.
    void drainOutput();

    int fd_ = -1;
    bool locked_ = false;
    bool haveOriginal_ = false;
    termios original_{};
    SerialTimeouts timeouts_{};
    std::string device_;
};

} // namespace mv
