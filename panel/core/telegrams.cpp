#include "panel/core/telegrams.h"

#include "panel/core/telegram_codes.h"

namespace x740panel {
namespace {

using Bytes = std::vector<std::uint8_t>;

std::int32_t I32(const Bytes& p, std::size_t at) {
    return static_cast<std::int32_t>(static_cast<std::uint32_t>(p[at]) |
                                     (static_cast<std::uint32_t>(p[at + 1]) << 8) |
                                     (static_cast<std::uint32_t>(p[at + 2]) << 16) |
                                     (static_cast<std::uint32_t>(p[at + 3]) << 24));
}

int U16(const Bytes& p, std::size_t at) { return p[at] | (p[at + 1] << 8); }

void PutI32(Bytes& p, std::size_t at, std::int32_t value) {
    const auto v = static_cast<std::uint32_t>(value);
    for (int i = 0; i < 4; ++i) {
        p[at + static_cast<std::size_t>(i)] = static_cast<std::uint8_t>(v >> (8 * i));
    }
}

// One telegram and its reply; the reply must carry at least minReply payload bytes.
bool Exchange(CX740PanelApp& app, std::uint8_t direction, const Bytes& request, Bytes& reply,
              std::size_t minReply) {
    if (!app.SendTelegram(0, 0, direction, static_cast<std::uint8_t>(request.size()),
                          request.data())) {
        return false;
    }
    if (!app.ReceiveTelegram(reply)) {
        return false;
    }
    return reply.size() >= minReply;
}

bool Write(CX740PanelApp& app, const Bytes& request) {
    Bytes reply;
    return Exchange(app, kDirWrite, request, reply, 0);
}

bool Fixed(CX740PanelApp& app, std::uint8_t direction, std::uint8_t code, Bytes& reply,
           std::size_t minReply) {
    if (!app.SendRequest13(0, 0, direction, kRequest13Length, code)) {
        return false;
    }
    return app.ReceiveTelegram(reply) && reply.size() >= minReply;
}

std::uint8_t Byte(int value) { return static_cast<std::uint8_t>(value); }

// A value is sent only when its field holds it: cut to a byte or to 16 bits it would reach
// the controller as another value.
bool FitsByte(int v) { return v >= 0 && v <= 0xFF; }
bool FitsWord(int v) { return v >= 0 && v <= 0xFFFF; }

} // namespace

bool ReadSsiSetupRaw(CX740PanelApp& app, int index, SsiSetupValues& values) {
    Bytes reply;
    if (!Exchange(app, kDirRead, {kCodeReadSsiSetup, 0, Byte(index)}, reply, kMinSsiSetupReply)) {
        return false;
    }
    values[0] = reply[3];
    for (std::size_t i = 1; i <= 7; ++i) {
        values[i] = I32(reply, 4 * i);
    }
    const auto tail = [&](std::size_t at, std::int32_t def) {
        return reply.size() >= at + 4 ? I32(reply, at) : def;
    };
    values[8] = tail(32, kSsiValueMaskDefault);
    values[9] = reply.size() >= 40 ? reply[36] : 0; // one byte, three reserved behind it
    values[10] = tail(40, 0);
    values[11] = tail(44, 0);
    values[12] = tail(48, 0);
    return true;
}

bool WriteSsiSetupRaw(CX740PanelApp& app, int index, const SsiSetupValues& values) {
    if (!FitsByte(index) || !FitsByte(values[0]) || !FitsByte(values[9])) {
        return false;
    }
    Bytes p(52, 0);
    p[0] = kCodeWriteSsiSetup;
    p[2] = Byte(index);
    p[3] = Byte(values[0]);
    for (std::size_t i = 1; i <= 8; ++i) {
        PutI32(p, 4 * i, values[i]);
    }
    p[36] = Byte(values[9]);
    PutI32(p, 40, values[10]);
    PutI32(p, 44, values[11]);
    PutI32(p, 48, values[12]);
    return Write(app, p);
}

bool ReadSsiOffsetRaw(CX740PanelApp& app, int index, std::int32_t& offset) {
    Bytes reply;
    if (!Exchange(app, kDirRead, {kCodeReadSsiOffset, 0, Byte(index)}, reply,
                  kMinSsiOffsetReply)) {
        return false;
    }
    offset = I32(reply, 3);
    return true;
}

bool WriteSsiOffsetRaw(CX740PanelApp& app, int index, std::int32_t offset) {
    if (!FitsByte(index)) {
        return false;
    }
    Bytes p{kCodeWriteSsiOffset, 0, Byte(index), 0, 0, 0, 0};
    PutI32(p, 3, offset);
    return Write(app, p);
}

bool ReadNswSetupRaw(CX740PanelApp& app, int& a, int& b) {
    Bytes reply;
    if (!Exchange(app, kDirRead, {kCodeReadNswSetup, 0}, reply, kMinNswSetupReply)) {
        return false;
    }
    a = reply[2];
    b = U16(reply, 3);
    return true;
}

bool WriteNswSetupRaw(CX740PanelApp& app, int a, int b) {
    if (!FitsByte(a) || !FitsWord(b)) {
        return false;
    }
    return Write(app, {kCodeWriteNswSetup, 0, Byte(a), Byte(b), Byte(b >> 8)});
}

bool ReadBlockConfigRaw(CX740PanelApp& app, int block, int& c, int& d) {
    Bytes reply;
    if (!Exchange(app, kDirRead, {kCodeReadBlockConfig, 0, Byte(block)}, reply,
                  kMinBlockConfigReply)) {
        return false;
    }
    c = reply[3];
    d = reply[4];
    return true;
}

bool WriteBlockConfigRaw(CX740PanelApp& app, int a, int b, int c) {
    if (!FitsByte(a) || !FitsByte(b) || !FitsByte(c)) {
        return false;
    }
    return Write(app, {kCodeWriteBlockConfig, 0, Byte(a), Byte(b), Byte(c)});
}

bool ReadBitConfigRaw(CX740PanelApp& app, int a, int b, int& c) {
    Bytes reply;
    if (!Exchange(app, kDirRead, {kCodeReadBitConfig, 0, Byte(a), Byte(b)}, reply,
                  kMinBitConfigReply)) {
        return false;
    }
    c = reply[4];
    return true;
}

bool WriteBitConfigRaw(CX740PanelApp& app, int a, int b, int c) {
    if (!FitsByte(a) || !FitsByte(b) || !FitsByte(c)) {
        return false;
    }
    return Write(app, {kCodeWriteBitConfig, 0, Byte(a), Byte(b), Byte(c)});
}

const char* ServiceLinkFailure(std::uint32_t error) {
    switch (error) {
    case 0x80010001u:
        return kNotWritten;
    case 0x80010002u:
        return kNoReply;
    case 0x80010003u:
        return kReplyIncomplete;
    default:
        return nullptr;
    }
}

bool RequestControllerId(CX740PanelApp& app, std::uint16_t& id) {
    Bytes reply;
    if (!Fixed(app, kDirRead, kCodeControllerId, reply, kMinControllerIdReply)) {
        return false;
    }
    id = static_cast<std::uint16_t>(U16(reply, 2));
    return true;
}

bool RequestProtocolId(CX740PanelApp& app, int& protocolId) {
    Bytes reply;
    if (!Fixed(app, kDirIdentify, kCodeProtocolId, reply, kMinProtocolIdReply)) {
        return false;
    }
    protocolId = reply[1];
    return true;
}

bool RequestInputs(CX740PanelApp& app, std::vector<std::uint8_t>& inputs) {
    Bytes reply;
    if (!Fixed(app, kDirRead, kCodeInputs, reply, 0)) {
        return false;
    }
    inputs.assign(reply.size() > 2 ? reply.begin() + 2 : reply.end(), reply.end());
    return true;
}

bool RequestStatus(CX740PanelApp& app, StatusRecord& s) {
    Bytes r;
    if (!Fixed(app, kDirRead, kCodeStatus, r, kMinStatusReply)) {
        return false;
    }
    s.state = U16(r, 2);
    s.errorNumber = U16(r, 4);
    s.errorInfo = U16(r, 6);
    s.foError = r[8];
    s.cycleTime = U16(r, 9);
    s.voltage2V5 = U16(r, 11);
    s.vccp1 = U16(r, 13);
    s.voltage3V3 = U16(r, 15);
    s.voltage5V = U16(r, 17);
    s.voltage12V = U16(r, 19);
    s.vccp2 = U16(r, 21);
    s.temperature = r[23];
    return true;
}

} // namespace x740panel
