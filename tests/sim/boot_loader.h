// The serial boot loader of the simulated controller. After power-on, and after a reset
// request, it keeps a window open in which it sends a 4-byte prompt every few milliseconds,
// as long as the terminal is set to 9600 baud. A reply ends that: below firmware 2 the phrase
// "BRIDGE IS AVAILABLE!", from 2 on a command without terminator that a quiet gap ends
// ("MODE 1", "MODE 2 IP=a/b/c FTP=COMP2", ...). Every command's bytes are logged; then, as when
// the window ends unanswered, the firmware runs and the station answers at 115200 baud.
//
// The loader is driven by the pseudo-terminal server's thread; powerOn() may be called from
// any thread (the reset request arrives on the transport's thread).
#pragma once

#include "tests/sim/station.h"

#include <cstdint>
#include <functional>
#include <mutex>
#include <string>
#include <vector>

namespace x740sim {

inline constexpr int kBootBaud = 9600;
inline constexpr int kFirmwareBaud = 115200;

enum class BootPrompt {
    Dong,    // "DONG": firmware below 2
    Mode,    // "MODE": firmware 2 or later
    AtDong,  // "AT\r\n" then "DONG"
    AtMode,  // "AT\r\n" then "MODE"
    Silence, // no prompt at all
    Garbage, // four bytes that are no prompt
};

struct BootSettings {
    BootPrompt prompt = BootPrompt::Mode;
    int windowMs = 3000;      // the boot loader's window after power-on or reset
    int promptIntervalMs = 5; // time between two prompts
    int quietGapMs = 15;      // silence that ends a command
};

// Names for the program's options: "dong", "mode", "at-dong", "at-mode", "silent", "garbage".
bool parseBootPrompt(const std::string& name, BootPrompt& prompt);

// Module information of the firmware versions "1.02", "1.05" and "2.1", with the prompt that
// version's boot loader sends. False for another version.
bool applyFirmware(Station& station, const std::string& version, BootPrompt* prompt = nullptr);

class BootLoader {
public:
    BootLoader() = default;
    BootLoader(const BootLoader&) = delete;
    BootLoader& operator=(const BootLoader&) = delete;

    void setSettings(const BootSettings& settings);
    BootSettings settings() const;

    // Opens the window (power switched on, or the controller reset itself). Thread-safe.
    void powerOn();
    // Called by the reset request: the window opens, and TCP links are dropped by onReset.
    void setOnReset(std::function<void()> dropLinks);
    // Wakes the thread that drives the loader (set by the terminal server).
    void setWake(std::function<void()> wake);

    // --- what the tests look at ---
    bool inWindow() const;
    std::vector<std::string> commands() const;
    int powerOns() const;
    // Prompts written since power-on.
    int promptsSent() const;
    // Bytes taken as command bytes since the loader was made.
    std::size_t bytesFed() const;
    // For each command: microseconds from the last prompt written to its first byte.
    std::vector<std::int64_t> answerLatenciesUs() const;

    // --- the driving thread ---
    // Handles a pending power-on, sends a due prompt through write, ends a command after its
    // quiet gap and the window at its end. at9600: the terminal is set to the boot baud.
    struct Tick {
        bool poweredOn = false; // a power-on was taken (links to drop)
        bool firmwareStarted = false;
    };
    Tick tick(std::int64_t nowMs, bool at9600, const std::function<void(const std::string&)>& write);
    // Bytes that arrived from the terminal while the window is open.
    void feed(const std::uint8_t* bytes, std::size_t n, std::int64_t nowMs, bool at9600);
    // Milliseconds until the next thing to do; -1 for nothing.
    int msUntilNext(std::int64_t nowMs) const;
    // A command is being received or a power-on is pending.
    bool busy() const;
    // Runs the reset hook (links dropped); called by the driving thread after a power-on.
    void dropLinks();

private:
    std::string promptBytes() const;
    void finishCommand(std::int64_t nowMs, Tick& tick);

    mutable std::mutex mutex_;
    BootSettings settings_;
    std::function<void()> dropLinks_;
    std::function<void()> wake_;
    bool pendingPowerOn_ = false;
    bool window_ = false;
    std::int64_t windowEnd_ = 0;
    std::int64_t nextPrompt_ = 0;
    std::string command_;
    std::int64_t lastByte_ = 0;
    std::vector<std::string> commands_;
    int powerOns_ = 0;
    int prompts_ = 0;
    std::int64_t lastPromptUs_ = -1;
    std::size_t bytesFed_ = 0;
    std::vector<std::int64_t> latenciesUs_;
};

} // namespace x740sim
