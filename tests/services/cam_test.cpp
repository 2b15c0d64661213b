// X740_Cam against the simulated controller: SSI setup and offsets, cam-switch setup and cam
// programs, the immediate update and its accepted device error.
#include "tests/services/service_fixture.h"

#include "services/include/X740_Cam.h"

#include <cstring>

namespace svctest {
namespace {

class CamTest : public ServiceStationTest {};

TEST_F(CamTest, SsiSetupWriteThenRead) {
    ASSERT_EQ(A_X740_Cam_WriteSSISetup(link, 1, 1, 4096, 3600, 2, 8, 3, 200, 5, 0x00FFFFFF, 6), 1);
    const Bytes expected = request(0x20, cat({{121, 0, 1, 1},
                                              le32(4096),
                                              le32(3600),
                                              le32(2),
                                              le32(8),
                                              le32(3),
                                              le32(200),
                                              le32(5),
                                              le32(0x00FFFFFF),
                                              le32(6)}));
    EXPECT_EQ(lastFrame(), expected);
    const ServiceRecord ssi = controller.record(RecordKind::SsiSetup, 1);
    EXPECT_EQ(ssi.get("Increments"), 4096u);
    EXPECT_EQ(ssi.get("Preset ByteOffset"), 200u);
    EXPECT_EQ(ssi.get("Optionsflag"), 6u);

    int v[10];
    std::memset(v, 0, sizeof v);
    ASSERT_EQ(A_X740_Cam_ReadSSISetup(link, 1, &v[0], &v[1], &v[2], &v[3], &v[4], &v[5], &v[6],
                                      &v[7], &v[8], &v[9]),
              1);
    EXPECT_EQ(lastFrame(), request(0x40, {120, 0, 1}));
    const int want[10] = {1, 4096, 3600, 2, 8, 3, 200, 5, 0x00FFFFFF, 6};
    for (int i = 0; i < 10; ++i) {
        EXPECT_EQ(v[i], want[i]) << "field " << i + 1;
    }
}

TEST_F(CamTest, ShortSsiSetupRepliesUseTheDefaults) {
    ServiceRecord ssi(RecordKind::SsiSetup);
    ssi.set("index", 0);
    ssi.set("Preset Modul Bitoffset", 7);
    ssi.set("Valuemask", 0x0000FFFF);
    ssi.set("Optionsflag", 3);
    controller.putRecord(ssi, 0);
    int bit = 0, mask = 0, options = -1;

    controller.setReplyLength(120, 35);
    ASSERT_EQ(A_X740_Cam_ReadSSISetup(link, 0, nullptr, nullptr, nullptr, nullptr, nullptr, nullptr,
                                      nullptr, &bit, &mask, &options),
              1);
    EXPECT_EQ(bit, 7);
    EXPECT_EQ(mask, 0x3FFFFFFF);
    EXPECT_EQ(options, 0);

    controller.setReplyLength(120, 39);
    ASSERT_EQ(A_X740_Cam_ReadSSISetup(link, 0, nullptr, nullptr, nullptr, nullptr, nullptr, nullptr,
                                      nullptr, nullptr, &mask, &options),
              1);
    EXPECT_EQ(mask, 0x0000FFFF);
    EXPECT_EQ(options, 0);
}

TEST_F(CamTest, MissingSsiInterfaceIsADeviceError) {
    int direction = 9;
    EXPECT_EQ(A_X740_Cam_ReadSSISetup(link, 5, &direction, nullptr, nullptr, nullptr, nullptr,
                                      nullptr, nullptr, nullptr, nullptr, nullptr),
              0);
    EXPECT_EQ(A_X740_Cam_GetLastError(), 0x80000000u + x740sim::kErrNoSuchEntry);
    EXPECT_EQ(direction, 9);
}

TEST_F(CamTest, EncoderOffset) {
    ASSERT_EQ(A_X740_Cam_WriteSSIEncoderOffset(link, 1, -1234), 1);
    EXPECT_EQ(lastFrame(),
              request(0x20, cat({{123, 0, 1}, le32(static_cast<std::uint32_t>(-1234))})));
    EXPECT_EQ(controller.record(RecordKind::EncoderOffset, 1).getSigned("offset"), -1234);
    int offset = 0;
    ASSERT_EQ(A_X740_Cam_ReadSSIEncoderOffset(link, 1, &offset), 1);
    EXPECT_EQ(lastFrame(), request(0x40, {122, 0, 1}));
    EXPECT_EQ(offset, -1234);
}

TEST_F(CamTest, NswSetupSsiBlockAndBit) {
    ASSERT_EQ(A_X740_Cam_WriteNSWSetupSSI(link, 1, 3000), 1);
    EXPECT_EQ(lastFrame(), request(0x20, cat({{115, 0, 1}, le16(3000)})));
    int ssi = 0, speed = 0;
    ASSERT_EQ(A_X740_Cam_ReadNSWSetupSSI(link, &ssi, &speed), 1);
    EXPECT_EQ(lastFrame(), request(0x40, {114, 0}));
    EXPECT_EQ(ssi, 1);
    EXPECT_EQ(speed, 3000);

    ASSERT_EQ(A_X740_Cam_WriteNSWSetupBlock(link, 2, 17, 40), 1);
    EXPECT_EQ(lastFrame(), request(0x20, {112, 0, 2, 17, 40}));
    int module = 0, offset = 0;
    ASSERT_EQ(A_X740_Cam_ReadNSWSetupBlock(link, 2, &module, &offset), 1);
    EXPECT_EQ(lastFrame(), request(0x40, {110, 0, 2}));
    EXPECT_EQ(module, 17);
    EXPECT_EQ(offset, 40);

    ASSERT_EQ(A_X740_Cam_WriteNSWSetupBit(link, 2, 7, 12), 1);
    EXPECT_EQ(lastFrame(), request(0x20, {117, 0, 2, 7, 12}));
    EXPECT_EQ(controller.record(RecordKind::NswBit, 2 * 256 + 7).get("value"), 12u);
    int track = 0;
    ASSERT_EQ(A_X740_Cam_ReadNSWSetupBit(link, 2, 7, &track), 1);
    EXPECT_EQ(lastFrame(), request(0x40, {116, 0, 2, 7}));
    EXPECT_EQ(track, 12);
    EXPECT_EQ(A_X740_Cam_ReadNSWSetupBlock(link, 3, &module, &offset), 0) << "block 3 is not there";
}

TEST_F(CamTest, CamProgramWriteAndRead) {
    ASSERT_EQ(A_X740_Cam_WriteNSWProg(link, 0x0105, 3, "Cam A", 100, 5, 3599, 7, 16), 1);
    const Bytes expected = request(0x20, cat({{113, 0},
                                              le16(0x0105),
                                              {3},
                                              text("Cam A", 16),
                                              le16(100),
                                              le16(5),
                                              le16(3599),
                                              le16(7),
                                              {16}}));
    EXPECT_EQ(lastFrame(), expected);
    EXPECT_EQ(lastFrame()[3], 30);

    int channel = 0, start = 0, startDead = 0, end = 0, endDead = 0, type = 0;
    char name[16];
    ASSERT_EQ(A_X740_Cam_ReadNSWProg(link, 0x0105, &channel, name, &start, &startDead, &end,
                                     &endDead, &type),
              1);
    EXPECT_EQ(lastFrame(), request(0x40, cat({{111, 0}, le16(0x0105)})));
    EXPECT_EQ(channel, 3);
    EXPECT_STREQ(name, "Cam A");
    EXPECT_EQ(start, 100);
    EXPECT_EQ(startDead, 5);
    EXPECT_EQ(end, 3599);
    EXPECT_EQ(endDead, 7);
    EXPECT_EQ(type, 16);
}

TEST_F(CamTest, CamProgramNameFillingItsField) {
    ServiceRecord cam(RecordKind::CamProgram);
    cam.set("number", 4);
    cam.setText("name", "SIXTEEN-CHARS-NM");
    cam.set("type", 19);
    cam.set("trigger", 2);
    cam.set("delay", 127);
    controller.putRecord(cam, 4);

    char plain[17];
    std::memset(plain, 'x', sizeof plain);
    ASSERT_EQ(A_X740_Cam_ReadNSWProg(link, 4, nullptr, plain, nullptr, nullptr, nullptr, nullptr,
                                     nullptr),
              1);
    EXPECT_STREQ(plain, "SIXTEEN-CHARS-N");
    EXPECT_EQ(plain[16], 'x');

    char multi[17];
    std::memset(multi, 'x', sizeof multi);
    int type = 0, trigger = 0, delay = 0;
    ASSERT_EQ(A_X740_Cam_ReadNSWProgMultiturn(link, 4, nullptr, multi, nullptr, nullptr, nullptr,
                                              nullptr, &type, &trigger, &delay),
              1);
    EXPECT_EQ(std::string(multi, 16), "SIXTEEN-CHARS-NM");
    EXPECT_EQ(multi[16], 'x') << "exactly the 16 bytes of the field";
    EXPECT_EQ(type, 19);
    EXPECT_EQ(trigger, 2);
    EXPECT_EQ(delay, 127);
}

TEST_F(CamTest, MultiturnWriteAndShortRead) {
    ASSERT_EQ(A_X740_Cam_WriteNSWProgMultiturn(link, 2, 1, nullptr, 10, 0, 20, 0, 17, 3, 99), 1);
    EXPECT_EQ(lastFrame(), request(0x20, cat({{113, 0},
                                              le16(2),
                                              {1},
                                              text("", 16),
                                              le16(10),
                                              le16(0),
                                              le16(20),
                                              le16(0),
                                              {17, 3, 99}})));
    EXPECT_EQ(lastFrame()[3], 32);
    const ServiceRecord stored = controller.record(RecordKind::CamProgram, 2);
    EXPECT_EQ(stored.get("trigger"), 3u);
    EXPECT_EQ(stored.get("delay"), 99u);

    int trigger = -1, delay = -1, type = 0;
    controller.setReplyLength(111, 31);
    ASSERT_EQ(A_X740_Cam_ReadNSWProgMultiturn(link, 2, nullptr, nullptr, nullptr, nullptr, nullptr,
                                              nullptr, &type, &trigger, &delay),
              1);
    EXPECT_EQ(type, 17);
    EXPECT_EQ(trigger, 0);
    EXPECT_EQ(delay, 0);
}

TEST_F(CamTest, LongCamNameIsCut) {
    ASSERT_EQ(A_X740_Cam_WriteNSWProgMultiturn(link, 1, 0, "A-NAME-LONGER-THAN-SIXTEEN", 0, 0, 0, 0,
                                               0, 0, 0),
              1);
    EXPECT_EQ(controller.record(RecordKind::CamProgram, 1).text("name"), "A-NAME-LONGER-T");
}

TEST_F(CamTest, ImmediateUpdate) {
    ASSERT_EQ(A_X740_Cam_SetImmediateUpdate(link, 1), 1);
    EXPECT_EQ(lastFrame(), request(0x20, {118, 0, 1}));
    EXPECT_EQ(controller.record(RecordKind::ImmediateUpdate).get("flag"), 1u);

    controller.setDeviceError(118, 254, 1);
    EXPECT_EQ(A_X740_Cam_SetImmediateUpdate(link, 0), 1);
    EXPECT_EQ(A_X740_Cam_GetLastError(), 0x800000FEu);
}

TEST_F(CamTest, ImmediateUpdateFailsOnOtherErrorsDespiteAnEarlier254) {
    controller.setDeviceError(118, 254, 1);
    EXPECT_EQ(A_X740_Cam_SetImmediateUpdate(link, 0), 1);
    controller.setDeviceError(118, 3, 1);
    EXPECT_EQ(A_X740_Cam_SetImmediateUpdate(link, 0), 0);
    EXPECT_EQ(A_X740_Cam_GetLastError(), 0x80000003u);
    // The last error still reads 254 after this failure of another kind.
    controller.setDeviceError(118, 254, 1);
    EXPECT_EQ(A_X740_Cam_SetImmediateUpdate(link, 0), 1);
    EXPECT_EQ(A_X740_Cam_SetImmediateUpdate(0xDEAD, 0), 0)
        << "a write failure is not the accepted device error, whatever the last error says";
}

} // namespace
} // namespace svctest
