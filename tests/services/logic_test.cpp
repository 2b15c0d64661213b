// X740_Logic against the simulated controller: the exchange buffer and the reduced cam
// program record.
#include "tests/services/service_fixture.h"

#include "services/include/X740_Logic.h"

namespace svctest {
namespace {

class LogicTest : public ServiceStationTest {};

TEST_F(LogicTest, ExchangeBufferWriteCutsTo253AndReadsBack) {
    Bytes src(300);
    for (std::size_t i = 0; i < src.size(); ++i)
        src[i] = static_cast<std::uint8_t>(i * 7);
    ASSERT_EQ(A_X740_IEC_WriteXIOBuffer(link, src.data(), 300), 1);
    EXPECT_EQ(lastFrame()[3], 255);
    EXPECT_EQ(lastFrame(), request(0x20, cat({{104, 0}, Bytes(src.begin(), src.begin() + 253)})));

    Bytes dest(300, 0xEE);
    std::uint32_t len = 300;
    ASSERT_EQ(A_X740_IEC_ReadXIOBuffer(link, dest.data(), &len), 1);
    EXPECT_EQ(lastFrame(), request(0x40, {104, 0}));
    EXPECT_EQ(len, 253u);
    EXPECT_EQ(Bytes(dest.begin(), dest.begin() + 253), Bytes(src.begin(), src.begin() + 253));
    EXPECT_EQ(dest[253], 0xEE);

    len = 10;
    ASSERT_EQ(A_X740_IEC_ReadXIOBuffer(link, dest.data(), &len), 1);
    EXPECT_EQ(len, 10u);
}

TEST_F(LogicTest, ExchangeBufferGuards) {
    std::uint8_t b[4];
    std::uint32_t len = 4;
    EXPECT_EQ(A_X740_IEC_ReadXIOBuffer(link, nullptr, &len), 0);
    EXPECT_EQ(A_X740_IEC_ReadXIOBuffer(link, b, nullptr), 0);
    EXPECT_EQ(A_X740_IEC_WriteXIOBuffer(link, b, -2), 0);
    EXPECT_EQ(A_X740_IEC_WriteXIOBuffer(link, nullptr, 3), 0);
    EXPECT_EQ(station.frameCount(), 0u);
}

TEST_F(LogicTest, CamProgramWithOnlyItsOwnFields) {
    ASSERT_EQ(A_X740_IEC_WriteNSWProg(link, 9, 4, 1200, 2400, 15), 1);
    EXPECT_EQ(lastFrame(), request(0x20, cat({{113, 0},
                                              le16(9),
                                              {4},
                                              Bytes(16, 0),
                                              le16(1200),
                                              le16(15),
                                              le16(2400),
                                              le16(0),
                                              {0}})));
    const ServiceRecord cam = controller.record(RecordKind::CamProgram, 9);
    EXPECT_EQ(cam.get("startAngle"), 1200u);
    EXPECT_EQ(cam.get("startDeadTime"), 15u);
    EXPECT_EQ(cam.get("endAngle"), 2400u);

    ServiceRecord full = cam;
    full.set("endDeadTime", 77);
    full.setText("name", "ignored");
    controller.putRecord(full, 9);
    int channel = 0, start = 0, end = 0, startTime = 0;
    ASSERT_EQ(A_X740_IEC_ReadNSWProg(link, 9, &channel, &start, &end, &startTime), 1);
    EXPECT_EQ(lastFrame(), request(0x40, cat({{111, 0}, le16(9)})));
    EXPECT_EQ(channel, 4);
    EXPECT_EQ(start, 1200);
    EXPECT_EQ(end, 2400);
    EXPECT_EQ(startTime, 15);
}

TEST_F(LogicTest, FailureSetsItsOwnLastError) {
    controller.setDeviceError(111, 0x31, 1);
    EXPECT_EQ(A_X740_IEC_ReadNSWProg(link, 1, nullptr, nullptr, nullptr, nullptr), 0);
    EXPECT_EQ(A_X740_IEC_GetLastError(), 0x80000031u);
}

} // namespace
} // namespace svctest
