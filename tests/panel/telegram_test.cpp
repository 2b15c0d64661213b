// The panel's raw telegrams, fixed requests and reply reader, against the simulated station.
#include "panel/core/panel_app.h"
#include "panel/core/telegrams.h"
#include "panel/core/text_parsers.h"
#include "tests/panel/station_port.h"
#include "tests/sim/service_controller.h"
#include "tests/sim/station_presets.h"

#include <gtest/gtest.h>

namespace x740panel {
namespace {

using Bytes = std::vector<std::uint8_t>;

class TelegramTest : public ::testing::Test {
protected:
    TelegramTest() : services(station), port(&station) {
        x740sim::applyPreset(station, "cam");
        station.setServiceHandler(&services);
        app.SetPort(&port);
    }

    // The frame the panel wrote last, without its checksum, and whether the checksum is right.
    Bytes LastFrame() {
        const Bytes& f = port.written.back();
        EXPECT_TRUE(x740sim::frameChecksumOk(f));
        return Bytes(f.begin(), f.end() - 1);
    }

    x740sim::Station station;
    x740sim::ServiceController services;
    test::StationPort port;
    CX740PanelApp app;
};

TEST_F(TelegramTest, ServiceTelegramsCarryTheirFieldsBothWays) {
    SsiSetupValues out{1, -2, 3, 4, 5, 6, 7, 8, 0x12345678, 200, 11, 12, 13};
    ASSERT_TRUE(WriteSsiSetupRaw(app, 2, out));
    Bytes f = LastFrame();
    ASSERT_EQ(f.size(), 56u);
    EXPECT_EQ(Bytes(f.begin(), f.begin() + 8), (Bytes{0, 0, 0x20, 52, 0x79, 0, 2, 1}));
    EXPECT_EQ(Bytes(f.begin() + 8, f.begin() + 12), (Bytes{0xFE, 0xFF, 0xFF, 0xFF}));
    EXPECT_EQ(f[4 + 36], 200);
    EXPECT_EQ(Bytes(f.begin() + 41, f.begin() + 44), (Bytes{0, 0, 0}));
    SsiSetupValues in{};
    ASSERT_TRUE(ReadSsiSetupRaw(app, 2, in));
    EXPECT_EQ(LastFrame(), (Bytes{0, 0, 0x40, 3, 0x78, 0, 2}));
    EXPECT_EQ(in, out);

    ASSERT_TRUE(WriteSsiOffsetRaw(app, 1, -5));
    EXPECT_EQ(LastFrame(), (Bytes{0, 0, 0x20, 7, 0x7B, 0, 1, 0xFB, 0xFF, 0xFF, 0xFF}));
    std::int32_t offset = 0;
    ASSERT_TRUE(ReadSsiOffsetRaw(app, 1, offset));
    EXPECT_EQ(LastFrame(), (Bytes{0, 0, 0x40, 3, 0x7A, 0, 1}));
    EXPECT_EQ(offset, -5);

    ASSERT_TRUE(WriteNswSetupRaw(app, 3, 0x1234));
    EXPECT_EQ(LastFrame(), (Bytes{0, 0, 0x20, 5, 0x73, 0, 3, 0x34, 0x12}));
    int a = 0, b = 0;
    ASSERT_TRUE(ReadNswSetupRaw(app, a, b));
    EXPECT_EQ(LastFrame(), (Bytes{0, 0, 0x40, 2, 0x72, 0}));
    EXPECT_EQ(a, 3);
    EXPECT_EQ(b, 0x1234);

    ASSERT_TRUE(WriteBlockConfigRaw(app, 4, 2, 9));
    EXPECT_EQ(LastFrame(), (Bytes{0, 0, 0x20, 5, 0x70, 0, 4, 2, 9}));
    ASSERT_TRUE(ReadBlockConfigRaw(app, 4, a, b));
    EXPECT_EQ(LastFrame(), (Bytes{0, 0, 0x40, 3, 0x6E, 0, 4}));
    EXPECT_EQ(a, 2);
    EXPECT_EQ(b, 9);

    ASSERT_TRUE(WriteBitConfigRaw(app, 4, 7, 12));
    EXPECT_EQ(LastFrame(), (Bytes{0, 0, 0x20, 5, 0x75, 0, 4, 7, 12}));
    ASSERT_TRUE(ReadBitConfigRaw(app, 4, 7, a));
    EXPECT_EQ(LastFrame(), (Bytes{0, 0, 0x40, 4, 0x74, 0, 4, 7}));
    EXPECT_EQ(a, 12);
}

TEST_F(TelegramTest, ShortSsiSetupRepliesTakeTheirDefaultsAndTooShortOnesFail) {
    SsiSetupValues v{};
    Bytes reply(35, 0);
    reply[0] = 0x78;
    reply[3] = 1;
    reply[32] = 9; // part of value 9, which needs 36 bytes
    port.silent = true;
    port.QueueReply(0x40, reply);
    ASSERT_TRUE(ReadSsiSetupRaw(app, 0, v));
    EXPECT_EQ(v[0], 1);
    EXPECT_EQ(v[8], 0x3FFFFFFF);
    for (int i = 9; i < 13; ++i) {
        EXPECT_EQ(v[static_cast<std::size_t>(i)], 0);
    }
    reply.resize(31);
    port.QueueReply(0x40, reply);
    EXPECT_FALSE(ReadSsiSetupRaw(app, 0, v));
    port.QueueReply(0x40, {0x7A, 0, 1, 2, 3, 4});
    std::int32_t offset = 0;
    EXPECT_FALSE(ReadSsiOffsetRaw(app, 0, offset));
    port.QueueReply(0x40, {0x72, 0, 1, 2});
    int a = 0, b = 0;
    EXPECT_FALSE(ReadNswSetupRaw(app, a, b));
    EXPECT_TRUE(port.pending.empty()); // nothing left behind, nothing read past a reply
}

TEST_F(TelegramTest, ReplyReaderRefusesEmptyBadAndDeviceErrorReplies) {
    std::vector<std::uint8_t> payload;
    port.silent = true;
    // Length 0: a failure without reading further bytes.
    port.pending = {0, 0, 0x40, 0, 0x99};
    const int readsBefore = port.reads;
    EXPECT_FALSE(app.ReceiveTelegram(payload));
    EXPECT_EQ(port.reads, readsBefore + 1);
    EXPECT_EQ(port.pending.size(), 1u);
    port.pending.clear();

    Bytes bad = x740sim::buildFrame(0x40, {1, 2, 3});
    bad.back() ^= 0x5A;
    port.pending.assign(bad.begin(), bad.end());
    EXPECT_FALSE(app.ReceiveTelegram(payload));

    port.QueueReply(0x50, {7});
    EXPECT_FALSE(app.ReceiveTelegram(payload));

    port.pending = {0, 0, 0x40, 5, 1, 2}; // the body never arrives
    EXPECT_FALSE(app.ReceiveTelegram(payload));
    port.pending.clear();

    port.QueueReply(0x40, {1, 2, 3});
    ASSERT_TRUE(app.ReceiveTelegram(payload));
    EXPECT_EQ(payload, (Bytes{1, 2, 3}));

    // A device error on a write is a failure too.
    port.silent = false;
    station.injectFault(x740sim::Fault::deviceError(5));
    EXPECT_FALSE(WriteBitConfigRaw(app, 1, 2, 3));
}

TEST_F(TelegramTest, FixedRequestsAreThirteenBytesAndTheirRepliesAreChecked) {
    std::uint16_t id = 0;
    ASSERT_TRUE(RequestControllerId(app, id));
    EXPECT_EQ(LastFrame(), (Bytes{0, 0, 0x40, 8, 12, 0, 0, 0, 0, 0, 0, 0}));
    EXPECT_EQ(id, 0x32A5);

    int protocol = 0;
    ASSERT_TRUE(RequestProtocolId(app, protocol));
    EXPECT_EQ(LastFrame(), (Bytes{0, 0, 0x80, 8, 0, 0, 0, 0, 0, 0, 0, 0}));
    EXPECT_EQ(protocol, 3);

    std::vector<std::uint8_t> inputs;
    station.setInputLength(3);
    station.setInputs(0, {0xA1, 0xB2, 0xC3});
    ASSERT_TRUE(RequestInputs(app, inputs));
    EXPECT_EQ(inputs, (Bytes{0xA1, 0xB2, 0xC3}));

    x740sim::ServiceRecord status(x740sim::RecordKind::Status);
    Bytes& s = status.bytes();
    const Bytes fields{0x34, 0x12, 7, 0, 9, 0, 3, 0xE8, 0x03, 0xC4, 0x09, 0x10, 0x27, 0xE4, 0x0C,
                       0x88, 0x13, 0xE0, 0x2E, 0x20, 0x4E, 42};
    std::copy(fields.begin(), fields.end(), s.begin() + 2);
    services.putRecord(status);
    StatusRecord r;
    ASSERT_TRUE(RequestStatus(app, r));
    EXPECT_EQ(LastFrame(), (Bytes{0, 0, 0x40, 8, 24, 0, 0, 0, 0, 0, 0, 0}));
    EXPECT_EQ(r.state, 0x1234);
    EXPECT_EQ(r.errorNumber, 7);
    EXPECT_EQ(r.errorInfo, 9);
    EXPECT_EQ(r.foError, 3);
    EXPECT_EQ(r.cycleTime, 1000);
    EXPECT_EQ(r.voltage2V5, 2500);
    EXPECT_EQ(r.vccp1, 10000);
    EXPECT_EQ(r.voltage3V3, 3300);
    EXPECT_EQ(r.voltage5V, 5000);
    EXPECT_EQ(r.voltage12V, 12000);
    EXPECT_EQ(r.vccp2, 20000);
    EXPECT_EQ(r.temperature, 42);

    services.setReplyLength(24, 23);
    EXPECT_FALSE(RequestStatus(app, r));
    port.silent = true;
    port.QueueReply(0x40, {12, 0, 0xA5});
    EXPECT_FALSE(RequestControllerId(app, id));
    port.QueueReply(0x80, {0});
    EXPECT_FALSE(RequestProtocolId(app, protocol));
}

TEST(TextParsers, DecimalCommaListAndAddress) {
    int v = 0;
    EXPECT_EQ(ParseDecimal("  -12 ", v), 1);
    EXPECT_EQ(v, -12);
    EXPECT_EQ(ParseDecimal("-", v), 1);
    EXPECT_EQ(v, 0);
    for (const char* bad : {"1a", "1-2", "", "   ", "+3", "2147483648", "-2147483649"}) {
        EXPECT_EQ(ParseDecimal(bad, v), 0) << bad;
    }
    EXPECT_EQ(ParseDecimal("-2147483648", v), 1);
    EXPECT_EQ(v, INT32_MIN);
    EXPECT_EQ(ParseDecimal("2147483647", v), 1);

    std::vector<std::string> fields;
    EXPECT_EQ(SplitCommaList("1,,3", fields), 3);
    EXPECT_EQ(fields, (std::vector<std::string>{"1", "", "3"}));
    EXPECT_EQ(SplitCommaList("", fields), 1);
    EXPECT_EQ(fields, (std::vector<std::string>{""}));
    EXPECT_EQ(SplitCommaList(" a , b", fields), 2);
    EXPECT_EQ(fields[0], " a ");
    EXPECT_EQ(SplitCommaList(std::string(24, ','), fields), 25);
    EXPECT_EQ(fields.size(), 20u);
    EXPECT_EQ(SplitCommaList(std::string(256, 'x'), fields), 0);
    EXPECT_EQ(SplitCommaList(std::string(255, 'x'), fields), 1);

    std::uint32_t a = 0;
    EXPECT_EQ(ParseIpAddress("192.168.1.20", a), 1);
    EXPECT_EQ(a, 0xC0A80114u);
    for (const char* bad : {"1.2.3", "1.2.3.4.5", "1.2.3.256", "1.-2.3.4", "1.2.x.4", "..."}) {
        EXPECT_EQ(ParseIpAddress(bad, a), 0) << bad;
    }
}

} // namespace
} // namespace x740panel
