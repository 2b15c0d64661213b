// The request exports over a scripted peer: what goes on the wire and what comes back.
#include <cstring>

#include <gtest/gtest.h>

#include "fake_transport.h"
#include "portwire/include/Portwire.h"

namespace {

using pwtest::Bytes;
using pwtest::reply;
using pwtest::Rig;

Bytes fixed(std::uint8_t dir, std::uint8_t code) { return {0, 0, dir, 8, code, 0, 0, 0, 0, 0, 0, 0, 0}; }
Bytes frame(std::uint8_t dir, const Bytes& data) { return reply(data, dir); }

struct PortwireRequests : ::testing::Test {
    Rig rig;
    LinkHandle h = 0;
    pwtest::Wire* wire = nullptr;
    void SetUp() override {
        h = rig.serial();
        wire = &rig.com();
    }
};

TEST_F(PortwireRequests, ReadIdCountsModulesUpToTheFirstZero) {
    wire->answers[11] = reply({0x0B, 0x00, 0x34, 0x12, 0x78, 0x56, 0x00, 0x00});
    ASSERT_TRUE(rig.app.FindLink(h)->ReadID());
    EXPECT_EQ(wire->writes.back(), fixed(0x40, 11));
    EXPECT_EQ(A_GetNumberOfModules(h), 2);
    EXPECT_EQ(A_GetModulID(h, 0), 0x1234);
    EXPECT_EQ(A_GetModulID(h, 1), 0x5678);
    EXPECT_EQ(A_GetModulID(h, 2), 0);
    EXPECT_EQ(A_GetModulID(h, 3), 0);
    EXPECT_EQ(A_GetModulID(h, -1), 0);
    // A failed Read ID keeps the table.
    wire->answers.clear();
    EXPECT_FALSE(rig.app.FindLink(h)->ReadID());
    EXPECT_EQ(A_GetNumberOfModules(h), 2);
}

TEST_F(PortwireRequests, ReadInputsFillsTheImage) {
    wire->answers[20] = reply({0x14, 0x00, 0x11, 0x22, 0x33, 0x44});
    ASSERT_EQ(A_ReadInputs(h), 1);
    EXPECT_EQ(wire->writes.back(), (Bytes{0, 0, 0x40, 8, 0x14, 0, 0, 0, 0, 0, 0, 0, 0}));
    EXPECT_EQ(A_GetInputByte(h, 0), 0x11);
    EXPECT_EQ(A_GetInputWord(h, 0), 0x2211);
    EXPECT_EQ(A_GetInputLong(h, 0), 0x44332211u);
    std::uint8_t buf[256];
    A_GetInputBuffer(h, buf);
    EXPECT_EQ(buf[3], 0x44);
    EXPECT_EQ(buf[4], 0);

    // A shorter payload leaves the bytes behind it as they were.
    wire->answers[20] = reply({0x14, 0x00, 0x99});
    ASSERT_EQ(A_ReadInputs(h), 1);
    EXPECT_EQ(A_GetInputLong(h, 0), 0x44332299u);
}

TEST_F(PortwireRequests, InputAccessorsStayInsideTheImage) {
    Bytes data(255, 0xFF);
    data[0] = 0x14;
    data[1] = 0;
    wire->answers[20] = reply(data);
    ASSERT_EQ(A_ReadInputs(h), 1);
    EXPECT_EQ(A_GetInputByte(h, 252), 0xFF);  // last byte the payload reached
    EXPECT_EQ(A_GetInputByte(h, 253), 0);
    EXPECT_EQ(A_GetInputByte(h, 256), 0);      // beyond the image: 0
    EXPECT_EQ(A_GetInputWord(h, 255), 0);
    EXPECT_EQ(A_GetInputLong(h, 253), 0u);
    EXPECT_EQ(A_GetInputByte(h, 257), 0);
    EXPECT_EQ(A_GetInputByte(h, -1), 0);
    EXPECT_EQ(A_GetInputLong(h, -4), 0u);
    A_GetInputBuffer(h, nullptr);
    EXPECT_EQ(A_GetInputByte(h + 77, 0), 0);
    EXPECT_EQ(A_GetLastError(), 0x0100);
}

TEST_F(PortwireRequests, ControllerIdAndPayloadReaders) {
    wire->answers[12] = reply({0x0C, 0x00, 0xCD, 0xAB});
    EXPECT_EQ(A_GetControllerID(h), 0xABCD);
    wire->answers[12] = reply({0x0C, 0x00});
    EXPECT_EQ(A_GetControllerID(h), 0);

    wire->answers[44] = reply({0x2C, 0x00, 1, 2, 3, 4, 5, 6, 7, 8});
    std::uint8_t len = 0;
    std::uint8_t dest[16] = {};
    ASSERT_EQ(A_ReadModulConfiguration(h, &len, dest), 1);
    EXPECT_EQ(len, 10);
    EXPECT_EQ(Bytes(dest, dest + 9), (Bytes{1, 2, 3, 4, 5, 6, 7, 8, 0}));
    EXPECT_EQ(A_ReadModulConfiguration(h, nullptr, nullptr), 1);

    wire->answers[0x33] = reply({0x33, 0x00, 9, 8, 7, 6});
    std::uint16_t mlen = 0;
    std::memset(dest, 0, sizeof dest);
    ASSERT_EQ(A_ReadMasterParameter(h, 0x33, dest, 0, &mlen), 1);
    EXPECT_EQ(mlen, 6);
    EXPECT_EQ(Bytes(dest, dest + 6), (Bytes{0x33, 0x00, 9, 8, 7, 6}));
    EXPECT_EQ(wire->writes.back(), fixed(0x40, 0x33));
    EXPECT_EQ(A_ReadMasterParameter(h, 256, dest, 0, &mlen), 0);

    wire->answers[13] = reply({0x0D, 0x00, 5});
    wire->answers[23] = reply({0x17, 0x00, 6});
    wire->answers[41] = reply({0x29, 0x00, 7});
    ASSERT_EQ(A_ReadModulParameters(h, dest), 1);
    EXPECT_EQ(dest[0], 5);
    ASSERT_EQ(A_ReadModulInfo(h, dest), 1);
    EXPECT_EQ(dest[0], 6);
    ASSERT_EQ(A_ReadSavedModulParameters(h, dest), 1);
    EXPECT_EQ(dest[0], 7);
}

TEST_F(PortwireRequests, WriteModulParametersAnnouncesThenWrites) {
    wire->answers[1] = reply({0x01, 0x00});
    wire->answers[41] = reply({0x29, 0x00});
    Bytes data(20);
    for (std::size_t i = 0; i < data.size(); ++i)
        data[i] = static_cast<std::uint8_t>(i + 1);
    ASSERT_EQ(A_WriteModulParameters(h, 20, data.data()), 1);
    ASSERT_EQ(wire->writes.size(), 2u);
    EXPECT_EQ(wire->writes[0], frame(0x20, {1, 27, 27, 0, 0, 0, 0, 0}));
    Bytes body{41, 0};
    body.insert(body.end(), data.begin(), data.end());
    EXPECT_EQ(wire->writes[1], frame(0x20, body));
    EXPECT_EQ(wire->writes[1].size(), 27u);
    // The 5000 ms of the request were set and the old time-out restored.
    ASSERT_GE(wire->timeoutHistory.size(), 2u);
    EXPECT_EQ(wire->timeoutHistory[wire->timeoutHistory.size() - 2].readTotalConstant, 5000);
    EXPECT_EQ(wire->timeouts.readInterval, 1000);
    EXPECT_EQ(rig.app.FindLink(h)->Timeout(), 1000);
}

TEST_F(PortwireRequests, FailedWriteKeepsTheLongerTimeout) {
    wire->answers[1] = reply({0x01, 0x00});
    const std::uint8_t data[3] = {1, 2, 3};
    EXPECT_EQ(A_WriteModulConfiguration(h, 3, data), 0);
    EXPECT_EQ(wire->writes[0], frame(0x20, {1, 10, 10, 0, 0, 0, 0, 0}));
    EXPECT_EQ(rig.app.FindLink(h)->Timeout(), 5000);
    EXPECT_EQ(wire->timeouts.readInterval, 5000);

    wire->answers.clear();
    EXPECT_EQ(A_WriteModulParameters_2(h, 3, data, 8000), 0);
    EXPECT_EQ(wire->writes.size(), 3u);  // nothing after the unanswered announce
    EXPECT_EQ(rig.app.FindLink(h)->Timeout(), 8000);
}

TEST_F(PortwireRequests, WriteMasterParameterUsesTheCallersCode) {
    wire->peer = [](pwtest::Wire& w, const Bytes&) { w.push(reply({0, 0})); };
    const std::uint8_t data[2] = {0xAB, 0xCD};
    ASSERT_EQ(A_WriteMasterParameter(h, 0x55, 2, data), 1);
    EXPECT_EQ(wire->writes[1], frame(0x20, {0x55, 0, 0xAB, 0xCD}));
    EXPECT_EQ(A_WriteMasterParameter(h, -1, 2, data), 0);
    EXPECT_EQ(wire->writes.size(), 2u);
}

TEST_F(PortwireRequests, SetOutputsSendsEvenWithoutAnnounceReply) {
    wire->answers[30] = reply({0x1E, 0x00});
    const std::uint8_t out[2] = {0x0F, 0xF0};
    EXPECT_EQ(A_SetOutputs(h, 2, out), 1);
    ASSERT_EQ(wire->writes.size(), 2u);
    EXPECT_EQ(wire->writes[0], frame(0x20, {1, 9, 9, 0, 0, 0, 0, 0}));
    EXPECT_EQ(wire->writes[1], frame(0x20, {30, 0, 0x0F, 0xF0}));
    EXPECT_EQ(A_SetOutputsO(h, 12345, 2, out), 1);
}

TEST_F(PortwireRequests, FieldbusNeedsAZeroAnswer) {
    wire->answers[40] = reply({0x00});
    EXPECT_EQ(A_StartFieldbus(h), 1);
    EXPECT_EQ(wire->writes.back(), frame(0x20, {40, 0, 2, 0, 0, 0, 0, 0}));
    EXPECT_EQ(A_StopFieldbus(h), 1);
    EXPECT_EQ(wire->writes.back(), frame(0x20, {40, 0, 1, 0, 0, 0, 0, 0}));
    wire->answers[40] = reply({0x03});
    EXPECT_EQ(A_StopFieldbus(h), 0);
}

TEST_F(PortwireRequests, ClearFlashWaitsBeforeTheReply) {
    wire->clock = &rig.clock;
    wire->answers[42] = reply({0x00, 0x00});
    const auto before = rig.clock.now();
    EXPECT_EQ(A_ClearFlash(h), 1);
    EXPECT_EQ(wire->writes.back(), fixed(0x20, 42));
    EXPECT_EQ(rig.clock.pauses, (std::vector<int>{500}));
    ASSERT_FALSE(wire->readTimes.empty());
    EXPECT_EQ(wire->readTimes.front() - before, 500);
}

TEST_F(PortwireRequests, RawWriteAndRead) {
    const std::uint8_t out[3] = {1, 2, 3};
    EXPECT_EQ(A_Write(h, out, 3), 1);
    EXPECT_EQ(wire->writes.back(), (Bytes{1, 2, 3}));
    wire->push({9, 8});
    std::uint8_t in[2] = {};
    EXPECT_EQ(A_Read(h, in, 2), 1);
    EXPECT_EQ(in[1], 8);
    EXPECT_EQ(A_Read(h, in, 2), 0);
    EXPECT_EQ(A_GetLastError(), 0x0500);
    wire->writeResults.push_back(pwtest::IoResult::Failed);
    EXPECT_EQ(A_Write(h, out, 3), 0);
    EXPECT_EQ(A_GetLastError(), 0x0300);
    wire->push({1});
    EXPECT_EQ(A_PurgeComm(h), 1);
    EXPECT_TRUE(wire->incoming.empty());
}

TEST_F(PortwireRequests, SerialSetComTimoutReportsThePortValue) {
    int old = 0;
    ASSERT_EQ(A_SetComTimout(h, 250, &old), 1);
    EXPECT_EQ(old, 1000);
    EXPECT_EQ(wire->timeouts.readInterval, 250);
    EXPECT_EQ(wire->timeouts.readTotalConstant, 250);
    EXPECT_EQ(wire->timeouts.writeTotalConstant, 250);
    EXPECT_EQ(wire->timeouts.readTotalMultiplier, 1);
    EXPECT_EQ(A_SetComTimout(h, 300, nullptr), 1);
    wire->failSetTimeouts = true;
    EXPECT_EQ(A_SetComTimout(h, 400, &old), 0);
    EXPECT_EQ(A_GetLastError(), 0x0100);
    EXPECT_EQ(old, 300);
}

TEST(PortwireTcpRequests, SetComTimoutOnlyStoresAndReadsWaitThatLong) {
    Rig rig;
    const auto h = rig.tcp();
    int old = 0;
    ASSERT_EQ(A_SetComTimout(h, 500, &old), 1);
    EXPECT_EQ(old, 1000);
    rig.net().answers[20] = reply({0x14, 0x00});
    ASSERT_EQ(A_ReadInputs(h), 1);
    EXPECT_EQ(pwtest::FakeSocket::lastTimeout, 500);
}

TEST(PortwireTcpRequests, TransferFailuresSetCodes) {
    Rig rig;
    const auto h = rig.tcp();
    rig.app.SetLastError(0x0042);
    EXPECT_EQ(A_ReadInputs(h), 0);  // nothing answered by the deadline
    EXPECT_EQ(A_GetLastError(), 0x0500);

    const auto h2 = rig.app.OpenNet(Rig::kIp, Rig::kPort, false);  // reconnects
    ASSERT_EQ(h2, h);
    rig.net().writeResults.push_back(pwtest::IoResult::Failed);
    rig.app.SetLastError(0x0042);
    EXPECT_EQ(A_ReadInputs(h), 0);
    EXPECT_EQ(A_GetLastError(), 0x0300);
    EXPECT_EQ(A_PurgeComm(h), 0);
}

TEST(PortwireLogMode, SerialTrafficIsMirroredTcpIsNot) {
    Rig rig;
    const auto h = rig.serial();
    rig.com().answers[20] = reply({0x14, 0x00, 0x07});
    ASSERT_EQ(A_ReadInputs(h), 1);
    EXPECT_TRUE(rig.monitor.messages.empty());
    A_SetLogMode(h, 1);
    ASSERT_EQ(A_ReadInputs(h), 1);
    ASSERT_EQ(rig.monitor.messages.size(), 3u);  // request, reply header, reply rest
    const auto& req = rig.monitor.messages[0].bytes;
    EXPECT_EQ(req[4], 0x14);
    EXPECT_EQ(req[255], 13);
    EXPECT_EQ(req[259], 0);
    const auto& head = rig.monitor.messages[1].bytes;
    EXPECT_EQ(head[3], 3);
    EXPECT_EQ(head[255], 4);
    EXPECT_EQ(head[259], 1);
    const auto& rest = rig.monitor.messages[2].bytes;
    EXPECT_EQ(rest[2], 0x07);
    EXPECT_EQ(rest[255], 4);

    const auto t = rig.tcp();
    A_SetLogMode(t, 1);
    rig.net().answers[20] = reply({0x14, 0x00});
    ASSERT_EQ(A_ReadInputs(t), 1);
    EXPECT_EQ(rig.monitor.messages.size(), 3u);
}

} // namespace
