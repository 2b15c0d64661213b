// The simulated controller station: its module bus model and the answers to module-protocol
// requests. Transport-free: a transport feeds it complete frames and writes the response.
#pragma once

#include "tests/sim/fault.h"
#include "tests/sim/service_handler.h"

#include <array>
#include <condition_variable>
#include <cstddef>
#include <cstdint>
#include <deque>
#include <map>
#include <mutex>
#include <string>
#include <vector>

namespace x740sim {

// Device error bytes the station itself answers with.
inline constexpr std::uint8_t kErrRequestChecksum = 0x01;
inline constexpr std::uint8_t kErrUnknownRequest = 0x02;
inline constexpr std::uint8_t kErrAnnounceMismatch = 0x03;
inline constexpr std::uint8_t kErrBadAddress = 0x04;
inline constexpr std::uint8_t kErrBadParameter = 0x05;

inline constexpr std::size_t kInputImageSize = 256;
inline constexpr std::size_t kMaxInputLength = 253;   // payload 255 = 2-byte head + 253
inline constexpr std::size_t kMemorySize = 65536;

// One piece of a reply, written after waiting delayBeforeMs.
struct ReplyChunk {
    std::vector<std::uint8_t> bytes;
    int delayBeforeMs = 0;
};

// What a transport does for one request: write the chunks in order, then reset the
// connection when drop is set.
struct Response {
    std::vector<ReplyChunk> chunks;
    bool drop = false;
};

class Station {
public:
    Station();
    Station(const Station&) = delete;
    Station& operator=(const Station&) = delete;

    // Answers one complete received frame (logged first). Thread-safe.
    Response process(const std::vector<std::uint8_t>& frame);
    // A transport lost its peer: a pending announce is forgotten.
    void connectionReset();

    // --- the model ---
    void setModuleIds(const std::vector<std::uint16_t>& ids);
    std::vector<std::uint16_t> moduleIds() const;
    void setControllerId(std::uint16_t id);
    std::uint16_t controllerId() const;
    // Protocol identification (direction 0x80, code 0): the byte after the echoed code.
    void setProtocolId(std::uint8_t id);
    std::uint8_t protocolId() const;

    // Input image (256 bytes) and how many of them a read-inputs reply carries (at most 253).
    void setInputs(std::size_t offset, const std::vector<std::uint8_t>& bytes);
    std::array<std::uint8_t, kInputImageSize> inputs() const;
    void setInputLength(std::size_t count);
    std::size_t inputLength() const;
    // When on, every read-inputs first steps a counter in input byte 0 and a walking bit in byte 1.
    void setAnimateInputs(bool on);

    std::vector<std::uint8_t> outputs() const;
    int outputWrites() const;

    void setModuleParameters(const std::vector<std::uint8_t>& bytes);
    std::vector<std::uint8_t> moduleParameters() const;
    void setSavedModuleParameters(const std::vector<std::uint8_t>& bytes);
    std::vector<std::uint8_t> savedModuleParameters() const;

    void setModuleConfiguration(const std::vector<std::uint8_t>& bytes);
    std::vector<std::uint8_t> moduleConfiguration() const;

    // Value of a master parameter by function code (without the 2-byte head).
    void setMasterParameter(std::uint8_t code, const std::vector<std::uint8_t>& value);
    std::vector<std::uint8_t> masterParameter(std::uint8_t code) const;
    bool hasMasterParameter(std::uint8_t code) const;

    // Module information record (code 23), sent after the 2-byte head.
    void setModuleInfo(const std::vector<std::uint8_t>& record);
    std::vector<std::uint8_t> moduleInfo() const;

    void writeMemory(std::uint32_t address, const std::vector<std::uint8_t>& bytes);
    std::vector<std::uint8_t> readMemory(std::uint32_t address, std::size_t count) const;

    bool fieldbusRunning() const;
    int flashClears() const;

    // --- faults ---
    // The fault applies to the next `times` requests (after those already queued).
    void injectFault(const Fault& fault, int times = 1);
    // The fault applies to the next `times` requests of one function code in one direction
    // (0x40 read, 0x20 write); other requests pass untouched. It goes before the queue above.
    void injectFaultFor(std::uint8_t code, std::uint8_t direction, const Fault& fault, int times = 1);
    void clearFaults();

    // --- frame log ---
    std::vector<std::vector<std::uint8_t>> frameLog() const;
    std::size_t frameCount() const;
    void clearFrameLog();
    // Waits (real time, at most timeoutMs) until at least count frames were received.
    bool waitForFrames(std::size_t count, int timeoutMs) const;
    // Frames are still counted when the log is off (benchmarks switch it off).
    void setFrameLogEnabled(bool on);

    // --- extension ---
    void setServiceHandler(ServiceHandler* handler);

    // The station's own answer (payload and direction) without faults; false = no reply.
    bool answer(std::uint8_t direction, const std::vector<std::uint8_t>& data,
                std::vector<std::uint8_t>& payload, std::uint8_t& replyDirection);

private:
    bool answerOwn(std::uint8_t direction, const std::vector<std::uint8_t>& data,
                   std::vector<std::uint8_t>& payload, std::uint8_t& replyDirection);
    Response shape(const std::vector<std::uint8_t>& reply, const Fault* fault, std::uint8_t requestDir);
    void stepInputs();

    mutable std::recursive_mutex mutex_;
    mutable std::condition_variable_any frameArrived_;

    std::vector<std::uint16_t> moduleIds_;
    std::uint16_t controllerId_ = 0;
    std::uint8_t protocolId_ = 0;
    std::array<std::uint8_t, kInputImageSize> inputs_{};
    std::size_t inputLength_ = 16;
    bool animate_ = false;
    std::uint8_t animationStep_ = 0;
    std::vector<std::uint8_t> outputs_;
    int outputWrites_ = 0;
    std::vector<std::uint8_t> params_;
    std::vector<std::uint8_t> savedParams_;
    std::vector<std::uint8_t> configuration_;
    std::map<std::uint8_t, std::vector<std::uint8_t>> masterParams_;
    std::vector<std::uint8_t> moduleInfo_;
    std::vector<std::uint8_t> memory_;
    bool fieldbus_ = false;
    int flashClears_ = 0;
    int announced_ = -1;   // size of the next frame announced by code 1, or -1

    struct PendingFault {
        Fault fault;
        int remaining;
    };
    std::deque<PendingFault> faults_;
    struct TargetedFault {
        std::uint8_t code;
        std::uint8_t direction;
        Fault fault;
        int remaining;
    };
    std::vector<TargetedFault> targetedFaults_;
    // The armed fault for a frame, used up by one; false when none applies.
    bool takeFault(const std::vector<std::uint8_t>& frame, Fault& fault);

    std::vector<std::vector<std::uint8_t>> log_;
    std::size_t frameCount_ = 0;
    bool logEnabled_ = true;
    ServiceHandler* handler_ = nullptr;
};

} // namespace x740sim
