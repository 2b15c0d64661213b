// The X740 service records as the simulated controller keeps them: each record is held in the
// layout of a request's data (data[0] the function code, data[1] 0, fields from data[2]), and
// its fields are named after the controller's record tables.
#pragma once

#include <cstdint>
#include <string>
#include <vector>

namespace x740sim {

struct ServiceField {
    const char* name;
    int offset;
    int width;
};

struct ServiceRecordSpec {
    const char* name;
    int length; // data length of the whole record as the controller sends it
    std::vector<ServiceField> fields;
};

// The record kinds of the controller.
enum class RecordKind {
    SystemMetrics, // key: index; data from 4
    SystemInfo,
    Status,
    TimerStatus,
    TimerStatusMax, // entries of 8 bytes (whole, fraction) from 38
    ModulConfig,
    MainService,
    SerService,
    ForceInput, // byte pairs from 2
    ForceOutput,
    DfmwItem,  // key: index
    DfmwData,  // 16-bit values from 2
    DfmwInput, // bytes from 2
    SystemConfig,
    RtcDate,
    RtcStamp,
    SysLog,
    SsiSetup,      // key: SSI index
    EncoderOffset, // key: SSI index
    NswSetupSsi,
    NswBlock,   // key: block
    NswBit,     // key: index * 256 + subindex
    CamProgram, // key: cam number
    ImmediateUpdate,
    AccessList,   // count at 2, entries of 9 bytes from 3
    PriorityList, // count at 2, entries of 8 bytes from 3
    TcpConfig,
    Rs232Config, // key: interface index
    XioBuffer,   // bytes from 2
};

const ServiceRecordSpec& specOf(RecordKind kind);

class ServiceRecord {
public:
    ServiceRecord() = default;
    explicit ServiceRecord(RecordKind kind);

    RecordKind kind() const { return kind_; }
    // Unsigned little-endian value of a named field.
    std::uint32_t get(const std::string& field) const;
    std::int32_t getSigned(const std::string& field) const;
    void set(const std::string& field, std::uint32_t value);
    // A text field: the bytes up to the first 0 or the field's end.
    std::string text(const std::string& field) const;
    // Stores the text's bytes in the field as they are (no terminator added when it fills
    // the field; longer texts are cut to the field).
    void setText(const std::string& field, const std::string& text);

    // The whole record in request-data layout (resizable for the variable parts).
    std::vector<std::uint8_t>& bytes() { return bytes_; }
    const std::vector<std::uint8_t>& bytes() const { return bytes_; }

    std::uint32_t getAt(int offset, int width) const;
    void setAt(int offset, int width, std::uint32_t value);

private:
    const ServiceField& field(const std::string& name) const;

    RecordKind kind_ = RecordKind::Status;
    std::vector<std::uint8_t> bytes_;
};

} // namespace x740sim
