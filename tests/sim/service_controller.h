// The X740 service codes of the simulated controller: answers every service request, keeps
// the records the requests write, and can answer short, with a device error or with another
// direction byte when a test asks for it.
#pragma once

#include "tests/sim/service_handler.h"
#include "tests/sim/service_records.h"

#include <cstdint>
#include <functional>
#include <map>
#include <mutex>
#include <optional>
#include <string>
#include <utility>
#include <vector>

namespace x740sim {

class Station;

// Device error byte for a read of something the controller does not have.
inline constexpr std::uint8_t kErrNoSuchEntry = 0x05;

class ServiceController final : public ServiceHandler {
public:
    // The station receives the memory writes (code 15); code 14 and the module information are
    // the station's own. Register with station.setServiceHandler(&controller).
    explicit ServiceController(Station& station);

    bool handle(std::uint8_t direction, const std::vector<std::uint8_t>& data,
                std::vector<std::uint8_t>& replyPayload, std::uint8_t& replyDirection,
                bool& noReply) override;

    // --- records (copies in and out; key as told per kind) ---
    ServiceRecord record(RecordKind kind, int key = 0) const;
    bool hasRecord(RecordKind kind, int key = 0) const;
    void putRecord(const ServiceRecord& record, int key = 0);
    void eraseRecord(RecordKind kind, int key = 0);

    // Ident codes by (component, type).
    void putIdentCode(std::uint32_t component, std::uint32_t type, const std::string& code);
    std::optional<std::string> identCode(std::uint32_t component, std::uint32_t type) const;
    bool identFileStored() const;

    // How many requests of a code (and direction) arrived.
    int requests(std::uint8_t code, std::uint8_t direction) const;
    // The codes of the FTP server start (48), reset (49), firmware update start (93) and
    // NVRAM clear (43) requests, in the order they arrived.
    std::vector<std::uint8_t> serviceOrder() const;
    void clearServiceOrder();

    // --- reply shaping, per function code (both directions) ---
    // Cut the reply's data to length bytes (the reply then says so in its header).
    void setReplyLength(std::uint8_t code, int length);
    // Answer with direction 0x10 and the error byte as data[0] (times: requests affected;
    // -1 = all).
    void setDeviceError(std::uint8_t code, std::uint8_t error, int times = -1);
    // Answer the requests of a code that name one entry (key as for the records of the code;
    // the immediate update: its flag) with direction 0x10 and the error byte, every time until
    // the shaping is cleared. Nothing is read or stored for them.
    void setDeviceErrorAt(std::uint8_t code, int key, std::uint8_t error);
    // Answer with this direction byte instead of the request's.
    void setReplyDirection(std::uint8_t code, std::uint8_t direction);
    // Answer with exactly this data.
    void setReplyData(std::uint8_t code, const std::vector<std::uint8_t>& data);
    void clearShaping();
    // Lets the start of the FTP server and the reset be answered like a write (to show that
    // nothing reads such an answer).
    void setAnswerSendOnly(bool on);
    // Called at every reset request (code 49), on the transport's thread with the station
    // locked; the boot loader's power-on goes here.
    void setResetListener(std::function<void()> listener);

private:
    struct Shape {
        int length = -1;
        int errorTimes = 0;
        std::uint8_t error = 0;
        int direction = -1;
        std::optional<std::vector<std::uint8_t>> data;
    };

    using Key = std::pair<RecordKind, int>;
    bool answerRead(const std::vector<std::uint8_t>& data, std::vector<std::uint8_t>& reply,
                    bool& missing);
    bool answerWrite(const std::vector<std::uint8_t>& data, std::vector<std::uint8_t>& reply,
                     bool& noReply);
    void replyRecord(RecordKind kind, int key, const std::vector<std::uint8_t>& request,
                     std::vector<std::uint8_t>& reply) const;
    void storeRecord(RecordKind kind, int key, const std::vector<std::uint8_t>& request);

    Station& station_;
    mutable std::recursive_mutex mutex_;
    std::map<Key, ServiceRecord> records_;
    std::map<std::pair<std::uint32_t, std::uint32_t>, std::string> identCodes_;
    bool identFileStored_ = false;
    bool answerSendOnly_ = false;
    std::function<void()> resetListener_;
    std::map<std::pair<std::uint8_t, std::uint8_t>, int> requests_;
    std::vector<std::uint8_t> serviceOrder_;
    std::map<std::uint8_t, Shape> shapes_;
    std::map<std::pair<std::uint8_t, int>, std::uint8_t> entryErrors_;
};

} // namespace x740sim
