// X740_Core against the simulated controller: the request frame of each record type, every
// reply field at its offset (checked against the controller's own record tables), and the
// edge cases of short replies, texts and caller buffers.
#include "tests/services/service_fixture.h"

#include "services/include/X740_Core.h"

#include <cstring>

namespace svctest {
namespace {

class CoreTest : public ServiceStationTest {};

TEST_F(CoreTest, ReadMemoryTakesTheDataAfterTheHead) {
    station.writeMemory(0x100, {1, 2, 3, 4, 5});
    std::uint8_t dest[8];
    std::memset(dest, 0xEE, sizeof dest);
    ASSERT_EQ(A_X740_ReadMemory(link, 0x100, 5, dest), 1);
    EXPECT_EQ(lastFrame(), request(0x40, cat({{14, 0, 5, 0}, le32(0x100)})));
    EXPECT_EQ(Bytes(dest, dest + 6), (Bytes{1, 2, 3, 4, 5, 0xEE}));
}

TEST_F(CoreTest, WriteMemoryCutsTo249Bytes) {
    Bytes src(300);
    for (std::size_t i = 0; i < src.size(); ++i)
        src[i] = static_cast<std::uint8_t>(i);
    ASSERT_EQ(A_X740_WriteMemory(link, 0x2000, 300, src.data()), 1);
    const Bytes f = lastFrame();
    ASSERT_EQ(f.size(), 260u);
    EXPECT_EQ(f[3], 255);
    EXPECT_EQ(f,
              request(0x20, cat({{15, 0}, le32(0x2000), Bytes(src.begin(), src.begin() + 249)})));
    EXPECT_EQ(station.readMemory(0x2000, 249), Bytes(src.begin(), src.begin() + 249));
}

TEST_F(CoreTest, MemoryRequestsRefuseANegativeLength) {
    EXPECT_EQ(A_X740_WriteMemory(link, 0, -1, nullptr), 0);
    std::uint8_t dest[4] = {};
    EXPECT_EQ(A_X740_ReadMemory(link, 0, -1, dest), 0);
    EXPECT_EQ(station.frameCount(), 0u);
}

TEST_F(CoreTest, SystemMetricsReadAndWrite) {
    const Bytes block{9, 8, 7, 6, 5};
    ASSERT_EQ(A_X740_WriteSystemMetrics(link, 0x0102, block.data(), 5), 1);
    EXPECT_EQ(lastFrame(), request(0x20, cat({{16, 0}, le16(0x0102), block})));

    std::uint8_t dest[16] = {};
    std::uint32_t len = 3;
    ASSERT_EQ(A_X740_ReadSystemMetrics(link, 0x0102, dest, &len), 1);
    EXPECT_EQ(lastFrame(), request(0x40, cat({{16, 0}, le16(0x0102)})));
    EXPECT_EQ(len, 3u);
    EXPECT_EQ(Bytes(dest, dest + 4), (Bytes{9, 8, 7, 0}));

    len = sizeof dest;
    ASSERT_EQ(A_X740_ReadSystemMetrics(link, 0x0102, dest, &len), 1);
    EXPECT_EQ(len, 5u);
}

TEST_F(CoreTest, SystemMetricsGuards) {
    std::uint8_t byte = 1;
    EXPECT_EQ(A_X740_WriteSystemMetrics(link, 1, nullptr, 4), 0);
    EXPECT_EQ(A_X740_WriteSystemMetrics(link, 1, &byte, 0), 0);
    EXPECT_EQ(A_X740_ReadSystemMetrics(link, 1, &byte, nullptr), 0);
    EXPECT_EQ(station.frameCount(), 0u);
    Bytes big(400, 0x5A);
    ASSERT_EQ(A_X740_WriteSystemMetrics(link, 2, big.data(), 400), 1);
    EXPECT_EQ(lastFrame()[3], 255);
}

TEST_F(CoreTest, SystemMetricsShortReplyGivesNothing) {
    ServiceRecord metrics(RecordKind::SystemMetrics);
    metrics.set("index", 4);
    controller.putRecord(metrics, 4);
    controller.setReplyLength(16, 3);
    std::uint8_t dest[4] = {0xEE, 0xEE, 0xEE, 0xEE};
    std::uint32_t len = 4;
    ASSERT_EQ(A_X740_ReadSystemMetrics(link, 4, dest, &len), 1);
    EXPECT_EQ(len, 0u);
    EXPECT_EQ(dest[0], 0xEE);
}

TEST_F(CoreTest, SystemInfoFieldsInArgumentOrder) {
    ServiceRecord info(RecordKind::SystemInfo);
    info.set("bcdSwitch", 3);
    info.set("busBytes", 0x40);
    info.set("prints", 7);
    info.set("ram", 0x1234);
    info.set("nvram", 0x0200);
    info.set("flashCode", 0xC2);
    info.set("flashDeviceCode", 0x22DA);
    controller.putRecord(info);
    std::uint8_t bcd = 0, bus = 0, prints = 0;
    std::uint32_t ram = 0, nvram = 0, code = 0, device = 0;
    ASSERT_EQ(A_X740_ReadSystemInfo(link, &bcd, &bus, &prints, &ram, &nvram, &code, &device), 1);
    EXPECT_EQ(lastFrame(), request(0x40, {22, 0}));
    EXPECT_EQ(bcd, 3);
    EXPECT_EQ(bus, 0x40);
    EXPECT_EQ(prints, 7);
    EXPECT_EQ(ram, 0x1234u);
    EXPECT_EQ(nvram, 0x0200u);
    EXPECT_EQ(code, 0xC2u);
    EXPECT_EQ(device, 0x22DAu);
}

TEST_F(CoreTest, ModulInfoTextsOneAfterTheOther) {
    const std::string record = std::string("X740 FW") + '\0' + "2024-01-02" + '\0' + "2.13" + '\0';
    station.setModuleInfo(Bytes(record.begin(), record.end()));
    char t1[256], t2[256], t3[256];
    ASSERT_EQ(A_X740_ReadModulInfo(link, t1, t2, t3), 1);
    EXPECT_EQ(lastFrame(), request(0x40, {23, 0}));
    EXPECT_STREQ(t1, "X740 FW");
    EXPECT_STREQ(t2, "2024-01-02");
    EXPECT_STREQ(t3, "2.13");
    ASSERT_EQ(A_X740_ReadModulInfo(link, nullptr, t2, nullptr), 1);
    EXPECT_STREQ(t2, "2024-01-02");
}

TEST_F(CoreTest, ModulInfoTextsEndWithTheReply) {
    const std::string record = std::string("NAME") + '\0' + "DATE-WITHOUT-END";
    station.setModuleInfo(Bytes(record.begin(), record.end()));
    char t1[256], t2[256], t3[256];
    std::memset(t3, 'x', sizeof t3);
    ASSERT_EQ(A_X740_ReadModulInfo(link, t1, t2, t3), 1);
    EXPECT_STREQ(t1, "NAME");
    EXPECT_STREQ(t2, "DATE-WITHOUT-END");
    EXPECT_STREQ(t3, "");
}

TEST_F(CoreTest, StatusFields) {
    ServiceRecord status(RecordKind::Status);
    status.set("a", 0xBEEF);
    status.set("b", 0xFFFFFFFE);
    controller.putRecord(status);
    int a = 0, b = 0;
    ASSERT_EQ(A_X740_ReadStatus(link, &a, &b), 1);
    EXPECT_EQ(a, 0xBEEF);
    EXPECT_EQ(b, -2);
}

ServiceRecord timerRecord(RecordKind kind) {
    ServiceRecord t(kind);
    t.set("a", 11);
    t.set("b", 22);
    t.set("c", 33);
    t.set("rate", 1000); // ticks per second
    t.set("divisor", 4); // fraction in quarters
    t.set("whole1", 500);
    t.set("fraction1", 2); // 500.5 ticks = 500.5 ms
    t.set("whole2", 3000);
    t.set("fraction2", 0);
    // Three entries: 10.25, 20, 30.75 ticks.
    const std::int32_t entries[3][2] = {{10, 1}, {20, 0}, {30, 3}};
    for (const auto& e : entries) {
        const Bytes w = le32(static_cast<std::uint32_t>(e[0]));
        const Bytes f = le32(static_cast<std::uint32_t>(e[1]));
        t.bytes().insert(t.bytes().end(), w.begin(), w.end());
        t.bytes().insert(t.bytes().end(), f.begin(), f.end());
    }
    return t;
}

TEST_F(CoreTest, TimerStatusConvertsTicksToMilliseconds) {
    controller.putRecord(timerRecord(RecordKind::TimerStatus));
    int a = 0, b = 0, c = 0;
    double t1 = 0, t2 = 0, times[4] = {-1, -1, -1, -1};
    std::uint32_t count = 2;
    ASSERT_EQ(A_X740_ReadTimerStatus(link, &a, &b, &c, &t1, &t2, times, &count), 1);
    EXPECT_EQ(lastFrame(), request(0x40, {25, 0}));
    EXPECT_EQ(a, 11);
    EXPECT_EQ(b, 22);
    EXPECT_EQ(c, 33);
    EXPECT_DOUBLE_EQ(t1, 500.5);
    EXPECT_DOUBLE_EQ(t2, 3000.0);
    EXPECT_DOUBLE_EQ(times[0], 10.25);
    EXPECT_DOUBLE_EQ(times[1], 20.0);
    EXPECT_EQ(times[2], -1) << "no more than *count entries";
    EXPECT_EQ(count, 2u) << "*count is not changed";

    count = 4;
    ASSERT_EQ(
        A_X740_ReadTimerStatus(link, nullptr, nullptr, nullptr, nullptr, nullptr, times, &count),
        1);
    EXPECT_DOUBLE_EQ(times[2], 30.75);
    EXPECT_EQ(times[3], -1) << "no more entries than the reply has";
    EXPECT_EQ(count, 4u);
}

TEST_F(CoreTest, TimerStatusMaxAndShortReply) {
    controller.putRecord(timerRecord(RecordKind::TimerStatusMax));
    controller.setReplyLength(26, 30);
    double t1 = 0, times[2] = {-1, -1};
    std::uint32_t count = 2;
    ASSERT_EQ(
        A_X740_ReadTimerStatusMax(link, nullptr, nullptr, nullptr, &t1, nullptr, times, &count), 1);
    EXPECT_EQ(lastFrame(), request(0x40, {26, 0}));
    EXPECT_DOUBLE_EQ(t1, 500.5);
    EXPECT_EQ(times[0], -1) << "a reply shorter than 38 bytes has no entries";
}

TEST_F(CoreTest, TimerStatusNeedsACount) {
    EXPECT_EQ(
        A_X740_ReadTimerStatus(link, nullptr, nullptr, nullptr, nullptr, nullptr, nullptr, nullptr),
        0);
    EXPECT_EQ(A_X740_ReadTimerStatusMax(link, nullptr, nullptr, nullptr, nullptr, nullptr, nullptr,
                                        nullptr),
              0);
    EXPECT_EQ(station.frameCount(), 0u);
}

TEST_F(CoreTest, ModulConfigRead) {
    ServiceRecord cfg(RecordKind::ModulConfig);
    cfg.setText("serial", "12345678");
    cfg.setText("ip", "192.168.100.200");
    cfg.setText("mask", "255.255.255.0");
    cfg.setText("gateway", "192.168.100.1");
    cfg.set("dhcp", 1);
    controller.putRecord(cfg);
    char serial[12];
    std::memset(serial, 'x', sizeof serial);
    char ip[20], mask[20], gw[20];
    int dhcp = 0;
    ASSERT_EQ(A_X740_ReadModulConfig(link, serial, ip, mask, gw, &dhcp), 1);
    EXPECT_EQ(lastFrame(), request(0x40, {90, 0, 1}));
    EXPECT_EQ(std::string(serial, 12), std::string("12345678\0\0\0\0", 12));
    EXPECT_STREQ(ip, "192.168.100.200");
    EXPECT_STREQ(mask, "255.255.255.0");
    EXPECT_STREQ(gw, "192.168.100.1");
    EXPECT_EQ(dhcp, 1);

    char again[20];
    ASSERT_EQ(A_X740_ReadAktModulConfig(link, nullptr, again, nullptr, nullptr, nullptr), 1);
    EXPECT_STREQ(again, "192.168.100.200");
}

TEST_F(CoreTest, ModulConfigTextsWithoutTerminatorAreBounded) {
    ServiceRecord cfg(RecordKind::ModulConfig);
    cfg.setText("ip", "1234567890ABCDEFGHIJ"); // fills the 16-byte field, no terminator
    cfg.setText("mask", "255.0.0.0");
    controller.putRecord(cfg);
    char ip[20];
    std::memset(ip, 'x', sizeof ip);
    ASSERT_EQ(A_X740_ReadModulConfig(link, nullptr, ip, nullptr, nullptr, nullptr), 1);
    EXPECT_STREQ(ip, "1234567890ABCDE");
    EXPECT_EQ(ip[16], 'x') << "nothing written beyond the field width";
}

TEST_F(CoreTest, ModulConfigWrite) {
    ASSERT_EQ(A_X740_WriteModulConfig(link, "00000123", "10.10.12.6", "255.255.0.0", "0.0.0.0", 1),
              1);
    const Bytes expected = request(0x20, cat({{91, 0},
                                              text("00000123", 8),
                                              text("10.10.12.6", 16),
                                              text("255.255.0.0", 16),
                                              text("0.0.0.0", 16),
                                              {1}}));
    EXPECT_EQ(lastFrame(), expected);
    EXPECT_EQ(lastFrame()[3], 59);
    const ServiceRecord stored = controller.record(RecordKind::ModulConfig);
    EXPECT_EQ(stored.text("serial"), "00000123");
    EXPECT_EQ(stored.text("ip"), "10.10.12.6");
    EXPECT_EQ(stored.text("gateway"), "0.0.0.0");
    EXPECT_EQ(stored.get("dhcp"), 1u);
}

TEST_F(CoreTest, ModulConfigWriteCutsLongTexts) {
    ASSERT_EQ(A_X740_WriteModulConfig(link, "123456789", "111.222.333.444.555", nullptr, "", 0), 1);
    const ServiceRecord stored = controller.record(RecordKind::ModulConfig);
    EXPECT_EQ(stored.text("serial"), "12345678");
    EXPECT_EQ(stored.text("ip"), "111.222.333.444");
    EXPECT_EQ(stored.bytes()[10 + 15], 0) << "the field's last byte stays 0";
    EXPECT_EQ(stored.text("mask"), "");
}

TEST_F(CoreTest, MainServiceFieldsAndShortReplies) {
    ServiceRecord main(RecordKind::MainService);
    main.set("a", 32000);
    main.set("b", 5000);
    main.set("c", 10);
    main.set("d", 600);
    controller.putRecord(main);
    int a = 0, b = 0, c = 0, d = 0;
    ASSERT_EQ(A_X740_ReadMainServiceConfig(link, &a, &b, &c, &d), 1);
    EXPECT_EQ(lastFrame(), request(0x40, {130, 0}));
    EXPECT_EQ(a, 32000);
    EXPECT_EQ(b, 5000);
    EXPECT_EQ(c, 10);
    EXPECT_EQ(d, 600);

    controller.setReplyLength(130, 9);
    ASSERT_EQ(A_X740_ReadMainServiceConfig(link, &a, &b, &c, &d), 1);
    EXPECT_EQ(b, 5000);
    EXPECT_EQ(c, -1);
    EXPECT_EQ(d, -1);

    controller.setReplyLength(130, 5);
    ASSERT_EQ(A_X740_ReadMainServiceConfig(link, &a, &b, &c, &d), 1);
    EXPECT_EQ(a, 32000);
    EXPECT_EQ(b, -1);
}

TEST_F(CoreTest, MainServiceWrite) {
    ASSERT_EQ(A_X740_WriteMainServiceConfig(link, 32000, 5000, 10, 600), 1);
    EXPECT_EQ(lastFrame(),
              request(0x20, cat({{131, 0}, le16(32000), le16(5000), le16(10), le16(600)})));
    EXPECT_EQ(controller.record(RecordKind::MainService).get("d"), 600u);
}

TEST_F(CoreTest, SerServiceReadAndWrite) {
    ASSERT_EQ(A_X740_WriteSerServiceConfig(link, "/dev/ttyS1-long-name", 2, 115200, 0x2F, 300), 1);
    EXPECT_EQ(lastFrame(), request(0x20, cat({{141, 0},
                                              text("/dev/ttyS1-long", 16),
                                              le32(2),
                                              le32(115200),
                                              le32(0x2F),
                                              le16(300)})));
    ServiceRecord ser = controller.record(RecordKind::SerService);
    EXPECT_EQ(ser.text("name"), "/dev/ttyS1-long");
    EXPECT_EQ(ser.get("b"), 115200u);
    controller.putRecord(ser);

    char name[20];
    int a = 0, b = 0, c = 0, d = 0;
    ASSERT_EQ(A_X740_ReadSerServiceConfig(link, name, &a, &b, &c, &d), 1);
    EXPECT_EQ(lastFrame(), request(0x40, {140, 0}));
    EXPECT_STREQ(name, "/dev/ttyS1-long");
    EXPECT_EQ(a, 2);
    EXPECT_EQ(b, 115200);
    EXPECT_EQ(c, 0x2F);
    EXPECT_EQ(d, 300);

    controller.setReplyLength(140, 31);
    ASSERT_EQ(A_X740_ReadSerServiceConfig(link, name, &a, &b, &c, &d), 1);
    EXPECT_EQ(c, 0x2F);
    EXPECT_EQ(d, -1);
}

TEST_F(CoreTest, ForceListsReadAndWrite) {
    std::vector<std::uint8_t> first(200), second(200);
    for (int i = 0; i < 200; ++i) {
        first[static_cast<std::size_t>(i)] = static_cast<std::uint8_t>(i);
        second[static_cast<std::size_t>(i)] = static_cast<std::uint8_t>(255 - i);
    }
    ASSERT_EQ(A_X740_WriteForceInput(link, first.data(), second.data(), 200), 1);
    const Bytes sent = lastFrame();
    EXPECT_EQ(sent[3], 254);
    EXPECT_EQ(sent[4], 102);
    EXPECT_EQ(sent[6], 0);
    EXPECT_EQ(sent[7], 255);
    EXPECT_EQ(sent[4 + 2 + 2 * 125], 125);
    EXPECT_EQ(sent[4 + 3 + 2 * 125], 130);

    ASSERT_EQ(A_X740_WriteForceOutput(link, first.data(), second.data(), 2), 1);
    EXPECT_EQ(lastFrame(), request(0x20, {103, 0, 0, 255, 1, 254}));

    std::uint8_t f[4] = {}, s[4] = {};
    std::uint32_t count = 4;
    ASSERT_EQ(A_X740_ReadForceOutput(link, f, s, &count), 1);
    EXPECT_EQ(lastFrame(), request(0x40, {101, 0}));
    EXPECT_EQ(count, 2u);
    EXPECT_EQ(Bytes(f, f + 2), (Bytes{0, 1}));
    EXPECT_EQ(Bytes(s, s + 2), (Bytes{255, 254}));

    count = 3;
    ASSERT_EQ(A_X740_ReadForceInput(link, f, s, &count), 1);
    EXPECT_EQ(lastFrame(), request(0x40, {100, 0}));
    EXPECT_EQ(count, 3u);
    EXPECT_EQ(Bytes(f, f + 3), (Bytes{0, 1, 2}));
}

TEST_F(CoreTest, ForceListGuards) {
    std::uint8_t f[2], s[2];
    EXPECT_EQ(A_X740_ReadForceInput(link, f, s, nullptr), 0);
    EXPECT_EQ(A_X740_ReadForceOutput(link, f, s, nullptr), 0);
    EXPECT_EQ(A_X740_WriteForceInput(link, nullptr, s, 1), 0);
    EXPECT_EQ(A_X740_WriteForceInput(link, f, s, -1), 0);
    EXPECT_EQ(station.frameCount(), 0u);
    std::uint32_t count = 2;
    ASSERT_EQ(A_X740_ReadForceInput(link, f, nullptr, &count), 1);
    EXPECT_EQ(count, 2u) << "with second null nothing is touched";
}

TEST_F(CoreTest, PlainRequestsCarryOnlyTheirCode) {
    ASSERT_EQ(A_X740_ClearModulConfigs(link), 1);
    EXPECT_EQ(lastFrame(), request(0x20, {42, 0}));
    ASSERT_EQ(A_X740_StartFirmwareUpdate(link), 1);
    EXPECT_EQ(lastFrame(), request(0x20, {93, 0}));
    ASSERT_EQ(A_X740_StoreModulIdentFile(link), 1);
    EXPECT_EQ(lastFrame(), request(0x20, {163, 0}));
    EXPECT_TRUE(controller.identFileStored());
    ASSERT_EQ(A_X740_DeleteModulIdentFile(link), 1);
    EXPECT_EQ(lastFrame(), request(0x20, {162, 0}));
    EXPECT_FALSE(controller.identFileStored());
}

TEST_F(CoreTest, DfmwItemsRoundTripInTheirOrder) {
    ASSERT_EQ(A_X740_WriteDFMWItem(link, 3, 1, 2, 0x0304), 1);
    EXPECT_EQ(lastFrame(), request(0x20, {152, 0, 3, 0, 0x04, 0x03, 1, 2}));
    const ServiceRecord item = controller.record(RecordKind::DfmwItem, 3);
    EXPECT_EQ(item.get("value1"), 1u);
    EXPECT_EQ(item.get("value2"), 2u);
    EXPECT_EQ(item.get("word"), 0x0304u);

    int v1 = 0, v2 = 0, word = 0;
    ASSERT_EQ(A_X740_ReadDFMWItem(link, 3, &v1, &v2, &word), 1);
    EXPECT_EQ(lastFrame(), request(0x40, {150, 0, 3, 0}));
    EXPECT_EQ(v1, 1);
    EXPECT_EQ(v2, 2);
    EXPECT_EQ(word, 0x0304);

    EXPECT_EQ(A_X740_ReadDFMWItem(link, 4, &v1, &v2, &word), 0) << "no item 4 in the controller";
    EXPECT_EQ(A_X740_GetLastError(), 0x80000000u + x740sim::kErrNoSuchEntry);
}

TEST_F(CoreTest, DfmwDataAndInput) {
    ServiceRecord values(RecordKind::DfmwData);
    const Bytes v = cat({le16(0xFFFF), le16(2), le16(0x8000)});
    values.bytes().insert(values.bytes().end(), v.begin(), v.end());
    controller.putRecord(values);
    std::int16_t out[5] = {};
    std::uint32_t count = 5;
    ASSERT_EQ(A_X740_ReadDFMWData(link, out, &count), 1);
    EXPECT_EQ(lastFrame(), request(0x40, {151, 0}));
    EXPECT_EQ(count, 3u);
    EXPECT_EQ(out[0], -1);
    EXPECT_EQ(out[1], 2);
    EXPECT_EQ(out[2], -32768);
    count = 2;
    ASSERT_EQ(A_X740_ReadDFMWData(link, out, &count), 1);
    EXPECT_EQ(count, 2u);

    ServiceRecord input(RecordKind::DfmwInput);
    input.bytes().insert(input.bytes().end(), {7, 8, 9});
    controller.putRecord(input);
    std::uint8_t bytes[8] = {};
    std::uint32_t len = 8;
    ASSERT_EQ(A_X740_ReadDFMWInput(link, bytes, &len), 1);
    EXPECT_EQ(lastFrame(), request(0x40, {153, 0}));
    EXPECT_EQ(len, 3u);
    EXPECT_EQ(Bytes(bytes, bytes + 3), (Bytes{7, 8, 9}));

    EXPECT_EQ(A_X740_ReadDFMWData(link, out, nullptr), 0);
    EXPECT_EQ(A_X740_ReadDFMWInput(link, bytes, nullptr), 0);
}

TEST_F(CoreTest, SystemConfigWriteAndRead) {
    ASSERT_EQ(A_X740_WriteSystemConfig(link, "00000042", "t2", nullptr, "kvn", "qmx", "t6", "t7",
                                       "t8", "t9", 0xA1B2C3D4,
                                       "a text of exactly thirty-one ch!and more", "t12"),
              1);
    const Bytes f = lastFrame();
    ASSERT_EQ(f.size(), 195u);
    EXPECT_EQ(f, request(0x20, cat({{92, 0},
                                    text("00000042", 8),
                                    text("t2", 16),
                                    text("", 16),
                                    text("kvn", 16),
                                    text("qmx", 16),
                                    text("t6", 16),
                                    text("t7", 16),
                                    text("t8", 16),
                                    text("t9", 16),
                                    le32(0xA1B2C3D4),
                                    text("a text of exactly thirty-one ch", 32),
                                    text("t12", 16)})));
    ServiceRecord cfg = controller.record(RecordKind::SystemConfig);
    EXPECT_EQ(cfg.text("ftpUser"), "kvn");
    EXPECT_EQ(cfg.text("ftpPassword"), "qmx");
    EXPECT_EQ(cfg.get("value10"), 0xA1B2C3D4u);

    cfg.setText("text11", std::string(32, 'L'));
    cfg.setText("text12", std::string(16, 'M'));
    controller.putRecord(cfg);
    char serial[12], t2[20], t3[20], user[20], pass[20], t6[20], t7[20], t8[20], t9[20];
    char t11[32], t12[20];
    std::uint32_t v10 = 0;
    ASSERT_EQ(
        A_X740_ReadSystemConfig(link, serial, t2, t3, user, pass, t6, t7, t8, t9, &v10, t11, t12),
        1);
    EXPECT_EQ(lastFrame(), request(0x40, {92, 0}));
    EXPECT_EQ(std::string(serial, 12), std::string("00000042\0\0\0\0", 12));
    EXPECT_STREQ(t2, "t2");
    EXPECT_STREQ(t3, "");
    EXPECT_STREQ(user, "kvn");
    EXPECT_STREQ(pass, "qmx");
    EXPECT_STREQ(t9, "t9");
    EXPECT_EQ(v10, 0xA1B2C3D4u);
    EXPECT_EQ(std::string(t11), std::string(31, 'L'));
    EXPECT_EQ(std::string(t12), std::string(15, 'M'));
}

TEST_F(CoreTest, ClockDateAndStamp) {
    ASSERT_EQ(A_X740_WriteRTCDateTime(link, 1, 2, 3, 4, 5, 2031), 1);
    EXPECT_EQ(lastFrame(), request(0x20, {50, 0, 0, 3, 2, 1, 4, 5, 31}));
    int p1 = 0, p2 = 0, p3 = 0, p4 = 0, p5 = 0, year = 0;
    ASSERT_EQ(A_X740_ReadRTCDateTime(link, &p1, &p2, &p3, &p4, &p5, &year), 1);
    EXPECT_EQ(lastFrame(), request(0x40, {50, 0, 0}));
    EXPECT_EQ(p1, 1);
    EXPECT_EQ(p2, 2);
    EXPECT_EQ(p3, 3);
    EXPECT_EQ(p4, 4);
    EXPECT_EQ(p5, 5);
    EXPECT_EQ(year, 2031);

    ASSERT_EQ(A_X740_WriteRTCTimestamp(link, 0x65A1B2C3), 1);
    EXPECT_EQ(lastFrame(), request(0x20, cat({{50, 0, 1}, le32(0x65A1B2C3)})));
    EXPECT_EQ(controller.record(RecordKind::RtcStamp).get("stamp"), 0x65A1B2C3u);
    std::uint32_t stamp = 0;
    ASSERT_EQ(A_X740_ReadRTCTimestamp(link, &stamp), 1);
    EXPECT_EQ(lastFrame(), request(0x40, {50, 0, 1}));
    EXPECT_EQ(stamp, 0x65A1B2C3u);
}

TEST_F(CoreTest, SysLogConfig) {
    ASSERT_EQ(A_X740_WriteSysLogConfig(link, 2, "192.168.1.10", 514, -5), 1);
    EXPECT_EQ(lastFrame(), request(0x20, cat({{51, 0, 2},
                                              text("192.168.1.10", 16),
                                              le16(514),
                                              le32(static_cast<std::uint32_t>(-5))})));
    int mode = 0, a = 0, b = 0;
    char host[20];
    ASSERT_EQ(A_X740_ReadSysLogConfig(link, &mode, host, &a, &b), 1);
    EXPECT_EQ(lastFrame(), request(0x40, {51, 0}));
    EXPECT_EQ(mode, 2);
    EXPECT_STREQ(host, "192.168.1.10");
    EXPECT_EQ(a, 514);
    EXPECT_EQ(b, -5);
}

TEST_F(CoreTest, IdentCodeWriteReadDelete) {
    ASSERT_EQ(A_X740_WriteModulIdentCode(link, 7, 0x01020304, "ABC-123"), 1);
    EXPECT_EQ(lastFrame(),
              request(0x20, cat({{160, 0}, le32(7), le32(0x01020304), text("ABC-123", 7)})));
    EXPECT_EQ(controller.identCode(7, 0x01020304), std::optional<std::string>("ABC-123"));

    char dest[2048];
    ASSERT_EQ(A_X740_ReadModulIdentCode(link, 7, 0x01020304, dest, sizeof dest), 1);
    EXPECT_EQ(lastFrame(), request(0x40, cat({{160, 0}, le32(7), le32(0x01020304)})));
    EXPECT_STREQ(dest, "ABC-123");

    char small[4];
    ASSERT_EQ(A_X740_ReadModulIdentCode(link, 7, 0x01020304, small, sizeof small), 1);
    EXPECT_STREQ(small, "ABC");

    ASSERT_EQ(A_X740_DeleteModulIdentCode(link, 7), 1);
    EXPECT_EQ(lastFrame(), request(0x20, cat({{161, 0}, le32(7)})));
    EXPECT_FALSE(controller.identCode(7, 0x01020304).has_value());
    EXPECT_EQ(A_X740_ReadModulIdentCode(link, 7, 0x01020304, dest, sizeof dest), 0);
}

TEST_F(CoreTest, IdentCodeLimits) {
    const std::string longest(245, 'c');
    ASSERT_EQ(A_X740_WriteModulIdentCode(link, 1, 2, longest.c_str()), 1);
    EXPECT_EQ(lastFrame()[3], 255);
    const std::size_t before = station.frameCount();
    const std::string tooLong(246, 'c');
    EXPECT_EQ(A_X740_WriteModulIdentCode(link, 1, 2, tooLong.c_str()), 0);
    EXPECT_EQ(station.frameCount(), before) << "a code that does not fit is not sent at all";
    EXPECT_EQ(controller.identCode(1, 2), std::optional<std::string>(longest));

    char dest[8] = "keep";
    EXPECT_EQ(A_X740_ReadModulIdentCode(link, 1, 2, dest, 0), 0);
    EXPECT_EQ(A_X740_ReadModulIdentCode(link, 1, 2, nullptr, 8), 0);
    EXPECT_EQ(station.frameCount(), before);
    EXPECT_STREQ(dest, "keep");
    char one[1] = {'z'};
    ASSERT_EQ(A_X740_ReadModulIdentCode(link, 1, 2, one, 1), 1);
    EXPECT_EQ(one[0], '\0');
}

} // namespace
} // namespace svctest
