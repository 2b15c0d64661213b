// Read memory: its own exchange with ten attempts, and the bounds of the caller's buffer.
#include <array>

#include <gtest/gtest.h>

#include "fake_transport.h"
#include "portwire/include/Portwire.h"

namespace {

using pwtest::Bytes;
using pwtest::reply;
using pwtest::Rig;

struct PortwireReadMemory : ::testing::Test {
    Rig rig;
    LinkHandle h = 0;
    pwtest::Wire* wire = nullptr;
    std::array<std::uint8_t, 64> dest{};
    void SetUp() override {
        h = rig.serial();
        wire = &rig.com();
        dest.fill(0xEE);
    }
};

TEST_F(PortwireReadMemory, RequestAndReplyWithChecksumByte) {
    const Bytes r = reply({1, 2, 3, 4});
    wire->answers[14] = r;
    ASSERT_EQ(A_ReadMemory(h, 4, 0x12345678, dest.data()), 1);
    EXPECT_EQ(wire->writes[0], reply({14, 0, 4, 0, 0x78, 0x56, 0x34, 0x12}, 0x40));
    EXPECT_EQ(Bytes(dest.begin(), dest.begin() + 6), (Bytes{1, 2, 3, 4, r.back(), 0xEE}));
    EXPECT_TRUE(rig.app.FindLink(h)->Lock().IsFree());
}

TEST_F(PortwireReadMemory, LengthZeroSucceedsWithoutTouchingDest) {
    wire->answers[14] = {0, 0, 0x40, 0};
    ASSERT_EQ(A_ReadMemory(h, 4, 0, dest.data()), 1);
    EXPECT_EQ(dest[0], 0xEE);
}

TEST_F(PortwireReadMemory, LongerReplyThanAskedIsStoredWholeWithItsChecksum) {
    // The device puts its head in front of the memory bytes: the whole reply lands in dest.
    Bytes data{14, 0, 1, 2, 3, 4};
    const Bytes r = reply(data);
    wire->answers[14] = r;
    ASSERT_EQ(A_ReadMemory(h, 4, 0, dest.data()), 1);
    data.push_back(r.back());
    EXPECT_EQ(Bytes(dest.begin(), dest.begin() + 7), data);
    for (std::size_t i = 7; i < dest.size(); ++i)
        ASSERT_EQ(dest[i], 0xEE) << i;
    EXPECT_TRUE(wire->incoming.empty());
    EXPECT_EQ(wire->purges, 0);

    // The longest reply a frame can carry fills 256 bytes and no more.
    std::array<std::uint8_t, 300> room{};
    room.fill(0xEE);
    wire->answers[14] = reply(Bytes(255, 0x11));
    ASSERT_EQ(A_ReadMemory(h, 80, 0, room.data()), 1);
    EXPECT_EQ(room[254], 0x11);
    EXPECT_EQ(room[256], 0xEE);
}

TEST_F(PortwireReadMemory, DeviceErrorEndsAtOnceWithItsCode) {
    wire->answers[14] = reply({0x09}, 0x50);
    EXPECT_EQ(A_ReadMemory(h, 4, 0, dest.data()), 0);
    EXPECT_EQ(A_GetLastError(), 9);
    EXPECT_EQ(wire->writes.size(), 1u);
    EXPECT_EQ(dest[2], 0xEE);
}

TEST_F(PortwireReadMemory, BadChecksumIsRetriedThenSucceeds) {
    int calls = 0;
    wire->peer = [&calls](pwtest::Wire& w, const Bytes&) {
        Bytes r = reply({5, 6});
        if (++calls < 3)
            r.back() ^= 0xFF;
        w.push(r);
    };
    ASSERT_EQ(A_ReadMemory(h, 2, 0, dest.data()), 1);
    EXPECT_EQ(calls, 3);
    EXPECT_EQ(dest[0], 5);
}

TEST_F(PortwireReadMemory, TenAttemptsThenFailure) {
    EXPECT_EQ(A_ReadMemory(h, 2, 0, dest.data()), 0);  // silent peer
    EXPECT_EQ(wire->writes.size(), 10u);
    EXPECT_EQ(wire->purges, 10);
    EXPECT_TRUE(rig.app.FindLink(h)->Lock().IsFree());

    wire->writes.clear();
    wire->writeResults.assign(10, pwtest::IoResult::Failed);
    EXPECT_EQ(A_ReadMemory(h, 2, 0, dest.data()), 0);
    EXPECT_EQ(A_GetLastError(), 0x0300);
}

TEST_F(PortwireReadMemory, ImpossibleCountIsRefusedBeforeSending) {
    EXPECT_EQ(A_ReadMemory(h, -1, 0, dest.data()), 0);
    EXPECT_EQ(A_ReadMemory(h, 256, 0, dest.data()), 0);
    EXPECT_TRUE(wire->writes.empty());
}

TEST(PortwireGuards, DataThatCannotFitAFrameIsRefusedBeforeSending) {
    Rig rig;
    const auto h = rig.serial();
    rig.com().peer = [](pwtest::Wire& w, const Bytes&) { w.push(reply({0, 0})); };
    Bytes big(254, 1);
    EXPECT_EQ(A_SetOutputs(h, 254, big.data()), 0);
    EXPECT_EQ(A_SetOutputs(h, -1, big.data()), 0);
    EXPECT_EQ(A_WriteModulParameters(h, 254, big.data()), 0);
    EXPECT_EQ(A_WriteModulConfiguration(h, -5, big.data()), 0);
    EXPECT_EQ(A_WriteMasterParameter(h, 3, 300, big.data()), 0);
    EXPECT_EQ(A_WriteModulParameters_2(h, 254, big.data(), 100), 0);
    EXPECT_EQ(A_Write(h, big.data(), -1), 0);
    EXPECT_EQ(A_Read(h, big.data(), -1), 0);
    EXPECT_TRUE(rig.com().writes.empty());
    EXPECT_EQ(rig.app.FindLink(h)->Timeout(), 1000);

    EXPECT_EQ(A_SetOutputs(h, 253, big.data()), 1);
    EXPECT_EQ(rig.com().writes.back().size(), 260u);
}

TEST(PortwireGuards, NullOutPointersAreNotWritten) {
    Rig rig;
    const auto h = rig.serial();
    rig.com().answers[16] = reply({0x10, 0x00, 1, 2});
    EXPECT_EQ(A_ReadMasterParameter(h, 16, nullptr, 0, nullptr), 1);
    rig.com().answers[13] = reply({0x0D, 0x00, 1, 2});
    EXPECT_EQ(A_ReadModulParameters(h, nullptr), 1);
    EXPECT_EQ(A_SetComTimout(h, 100, nullptr), 1);
    rig.com().answers[14] = reply({1, 2});
    EXPECT_EQ(A_ReadMemory(h, 2, 0, nullptr), 1);
    EXPECT_EQ(A_Write(h, nullptr, 3), 0);
}

} // namespace
