// Frames on the wire: checksum, fixed requests, variable frames and the announce frame.
#include "portwire/core/frame.h"

#include <gtest/gtest.h>

#include "fake_transport.h"
#include "portwire/include/Portwire.h"

namespace {

using pwtest::Bytes;
using pwtest::Rig;

TEST(PortwireFrameChecksum, EmptyBlockIsTheSeed) { EXPECT_EQ(portwire::FrameChecksum(nullptr, 0), 0xAA); }

TEST(PortwireFrameChecksum, OnlyTheLastEightBytesCount) {
    Bytes a{1, 2, 3, 4, 5, 6, 7, 8, 9, 10, 11, 12};
    Bytes b{99, 98, 97, 96, 5, 6, 7, 8, 9, 10, 11, 12};
    EXPECT_EQ(portwire::FrameChecksum(a.data(), 12), portwire::FrameChecksum(b.data(), 12));
    EXPECT_EQ(portwire::FrameChecksum(a.data(), 12), pwtest::sum(a, 12));
}

TEST(PortwireFrameChecksum, MatchesIndependentComputation) {
    Bytes block{0x00, 0x00, 0x40, 0x03, 0x14, 0x00, 0x05};
    EXPECT_EQ(portwire::FrameChecksum(block.data(), 7), pwtest::sum(block, 7));
}

TEST(PortwireFixedRequest, ReadInputsIsExactOnTheWire) {
    std::uint8_t f[13];
    portwire::BuildFixedRequest(0x40, 20, f);
    EXPECT_EQ(Bytes(f, f + 13), (Bytes{0, 0, 0x40, 8, 0x14, 0, 0, 0, 0, 0, 0, 0, 0}));
}

TEST(PortwireFixedRequest, EveryCodeEndsInZero) {
    for (int code = 0; code < 256; ++code) {
        std::uint8_t f[13];
        portwire::BuildFixedRequest(code % 2 ? 0x20 : 0x40, static_cast<std::uint8_t>(code), f);
        EXPECT_EQ(f[12], 0) << code;
    }
}

TEST(PortwireVariableFrame, CarriesHeaderDataAndChecksum) {
    const std::uint8_t data[3] = {30, 0, 7};
    std::uint8_t f[8];
    ASSERT_EQ(portwire::BuildVariableFrame(0x20, data, 3, f), 8u);
    EXPECT_EQ(Bytes(f, f + 8), pwtest::reply({30, 0, 7}, 0x20));
}

TEST(PortwireAnnounceFrame, SizeIsCallerBytesPlusSeven) {
    std::uint8_t d[8];
    portwire::BuildAnnounceData(3, d);
    EXPECT_EQ(Bytes(d, d + 8), (Bytes{1, 10, 10, 0, 0, 0, 0, 0}));
    portwire::BuildAnnounceData(20, d);
    EXPECT_EQ(Bytes(d, d + 8), (Bytes{1, 27, 27, 0, 0, 0, 0, 0}));
    portwire::BuildAnnounceData(249, d);  // 256 wraps to 0
    EXPECT_EQ(d[1], 0);
    EXPECT_EQ(d[2], 0);
}

TEST(PortwireChecksumExports, CreateAndCheckOverABuffer) {
    Rig rig;
    const auto h = rig.serial();
    std::uint8_t one[1] = {0x55};
    A_CreateChecksum(h, one, 1);
    EXPECT_EQ(one[0], 0xAA);

    std::uint8_t block[6] = {1, 2, 3, 4, 5, 0};
    A_CreateChecksum(h, block, 6);
    EXPECT_EQ(block[5], pwtest::sum(Bytes(block, block + 6), 5));
    EXPECT_EQ(A_CheckChksum(h, block, 6), 1);
    block[5] ^= 1;
    EXPECT_EQ(A_CheckChksum(h, block, 6), 0);
    EXPECT_EQ(A_GetLastError(), 0x0600);
}

TEST(PortwireChecksumExports, ShortLengthsAndUnknownHandlesDoNothing) {
    Rig rig;
    const auto h = rig.serial();
    std::uint8_t block[2] = {7, 9};
    A_CreateChecksum(h, block, 0);
    A_CreateChecksum(h, block, -3);
    EXPECT_EQ(block[0], 7);
    EXPECT_EQ(block[1], 9);
    EXPECT_EQ(A_CheckChksum(h, block, 0), 0);
    EXPECT_EQ(A_CheckChksum(h, block, -1), 0);
    A_CreateChecksum(h, nullptr, 4);

    A_CreateChecksum(h + 1000, block, 2);
    EXPECT_EQ(block[1], 9);
    EXPECT_EQ(A_GetLastError(), 0x0100);
    EXPECT_EQ(A_CheckChksum(h + 1000, block, 2), 0);
}

} // namespace
