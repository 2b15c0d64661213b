// The simulated station's answers and faults, driven frame by frame.
#include "tests/sim/frame_codec.h"
#include "tests/sim/station.h"
#include "tests/sim/station_presets.h"

#include <gtest/gtest.h>

namespace x740sim {
namespace {

using Bytes = std::vector<std::uint8_t>;

Bytes fixedRequest(std::uint8_t dir, std::uint8_t code)
{
    Bytes f(13, 0);
    f[2] = dir;
    f[3] = 8;
    f[4] = code;
    f[12] = blockChecksum(f.data(), 12);
    return f;
}

Bytes joined(const Response& r)
{
    Bytes all;
    for (const auto& c : r.chunks)
        all.insert(all.end(), c.bytes.begin(), c.bytes.end());
    return all;
}

TEST(SimFrameCodec, ChecksumKnownValues)
{
    const Bytes inputs = {0, 0, 0x40, 8, 0x14, 0, 0, 0, 0, 0, 0, 0};
    EXPECT_EQ(blockChecksum(inputs), 0x00);
    const std::uint8_t one = 0x00;
    EXPECT_EQ(blockChecksum(&one, 0), 0xAA);
    const Bytes reply = {0, 0, 0x40, 3, 0x14, 0, 5};
    // 0xAA -> 0x54 -> 0xA8 -> 0xD0 -> 0xA6 -> 0x64 -> 0xC8 -> 0x9A
    EXPECT_EQ(blockChecksum(reply), 0x9A);
}

TEST(SimFrameCodec, AssemblerCutsSplitStream)
{
    FrameAssembler a;
    const Bytes f1 = buildFrame(0x40, {20, 0, 1, 2});
    const Bytes f2 = fixedRequest(0x40, 11);
    Bytes stream = f1;
    stream.insert(stream.end(), f2.begin(), f2.end());
    std::vector<Bytes> out;
    for (std::uint8_t b : stream)
        a.feed(&b, 1, out);
    ASSERT_EQ(out.size(), 2u);
    EXPECT_EQ(out[0], f1);
    EXPECT_EQ(out[1], f2);
    EXPECT_EQ(a.pending(), 0u);
}

class SimStation : public ::testing::Test {
protected:
    void SetUp() override { ASSERT_TRUE(applyPreset(station, "default")); }
    Bytes ask(const Bytes& frame) { return joined(station.process(frame)); }
    Station station;
};

TEST_F(SimStation, ReadIdListsModulesWithHeadAndTerminator)
{
    station.setModuleIds({0x1234, 0x5678});
    EXPECT_EQ(ask(fixedRequest(0x40, 11)), buildFrame(0x40, {0x0B, 0x00, 0x34, 0x12, 0x78, 0x56, 0x00, 0x00}));
}

TEST_F(SimStation, ReadInputsCarriesConfiguredLengthAfterHead)
{
    station.setInputLength(3);
    station.setInputs(0, {9, 8, 7, 6});
    EXPECT_EQ(ask(fixedRequest(0x40, 20)), buildFrame(0x40, {20, 0, 9, 8, 7}));
}

TEST_F(SimStation, AnimatedInputsChangeAtEveryRead)
{
    station.setAnimateInputs(true);
    const Bytes a = ask(fixedRequest(0x40, 20));
    const Bytes b = ask(fixedRequest(0x40, 20));
    EXPECT_NE(a, b);
}

TEST_F(SimStation, AnnouncedWriteIsAcceptedAndStored)
{
    EXPECT_EQ(ask(buildFrame(0x20, {1, 10, 10, 0, 0, 0, 0, 0})), buildFrame(0x20, {0}));
    EXPECT_EQ(ask(buildFrame(0x20, {30, 0, 0xAB, 0xCD, 0xEF})), buildFrame(0x20, {0}));
    EXPECT_EQ(station.outputs(), (Bytes{0xAB, 0xCD, 0xEF}));
}

TEST_F(SimStation, AnnouncedSizeMismatchIsDeviceError)
{
    ask(buildFrame(0x20, {1, 11, 11, 0, 0, 0, 0, 0}));
    EXPECT_EQ(ask(buildFrame(0x20, {30, 0, 1, 2, 3})), buildFrame(0x30, {kErrAnnounceMismatch}));
    // The announce is used up: the same frame now passes.
    EXPECT_EQ(ask(buildFrame(0x20, {30, 0, 1, 2, 3})), buildFrame(0x20, {0}));
}

TEST_F(SimStation, RequestWithBadChecksumIsDeviceError)
{
    Bytes f = fixedRequest(0x40, 20);
    f.back() = 0x33;
    EXPECT_EQ(ask(f), buildFrame(0x50, {kErrRequestChecksum}));
    EXPECT_EQ(station.frameLog().back(), f);
}

TEST_F(SimStation, WritesThenReadsParametersConfigurationAndMaster)
{
    ask(buildFrame(0x20, {41, 0, 5, 6, 7}));
    EXPECT_EQ(ask(fixedRequest(0x40, 13)), buildFrame(0x40, {13, 0, 5, 6, 7}));
    EXPECT_EQ(ask(fixedRequest(0x40, 41)), buildFrame(0x40, {41, 0, 5, 6, 7}));
    ask(buildFrame(0x20, {44, 0, 1, 2}));
    EXPECT_EQ(ask(fixedRequest(0x40, 44)), buildFrame(0x40, {44, 0, 1, 2}));
    ask(buildFrame(0x20, {77, 0, 0x11, 0x22}));
    EXPECT_EQ(ask(fixedRequest(0x40, 77)), buildFrame(0x40, {77, 0, 0x11, 0x22}));
    EXPECT_EQ(ask(fixedRequest(0x40, 78)), buildFrame(0x40, {78, 0}));
}

TEST_F(SimStation, FieldbusClearFlashAndMemory)
{
    EXPECT_EQ(ask(buildFrame(0x20, {40, 0, 2, 0, 0, 0, 0, 0})), buildFrame(0x20, {0}));
    EXPECT_TRUE(station.fieldbusRunning());
    EXPECT_EQ(ask(buildFrame(0x20, {40, 0, 1, 0, 0, 0, 0, 0})), buildFrame(0x20, {0}));
    EXPECT_FALSE(station.fieldbusRunning());
    EXPECT_EQ(ask(buildFrame(0x20, {40, 0, 9, 0, 0, 0, 0, 0})), buildFrame(0x20, {kErrBadParameter}));

    EXPECT_EQ(ask(fixedRequest(0x20, 42)), buildFrame(0x20, {0}));
    EXPECT_EQ(station.flashClears(), 1);

    station.writeMemory(0x1000, {0xDE, 0xAD, 0xBE});
    EXPECT_EQ(ask(buildFrame(0x40, {14, 0, 3, 0, 0x00, 0x10, 0, 0})), buildFrame(0x40, {14, 0, 0xDE, 0xAD, 0xBE}));
    EXPECT_EQ(ask(buildFrame(0x40, {14, 0, 3, 0, 0xFF, 0xFF, 0, 0})), buildFrame(0x50, {kErrBadAddress}));
}

TEST_F(SimStation, FaultsShapeTheNextRepliesOnly)
{
    const Bytes good = ask(fixedRequest(0x40, 12));
    station.injectFault(Fault::silence(), 2);
    station.injectFault(Fault::badChecksum());
    station.injectFault(Fault::zeroLength(true));
    station.injectFault(Fault::deviceError(0x07));
    station.injectFault(Fault::splitHeaderBody(5));
    station.injectFault(Fault::shortReply(3));
    station.injectFault(Fault::drop());
    EXPECT_TRUE(station.process(fixedRequest(0x40, 12)).chunks.empty());
    EXPECT_TRUE(station.process(fixedRequest(0x40, 12)).chunks.empty());
    Bytes bad = ask(fixedRequest(0x40, 12));
    EXPECT_EQ(bad.size(), good.size());
    EXPECT_NE(bad.back(), good.back());
    Bytes zero = ask(fixedRequest(0x40, 12));
    EXPECT_EQ(Bytes(zero.begin(), zero.begin() + 4), (Bytes{0, 0, 0x40, 0}));
    EXPECT_EQ(Bytes(zero.begin() + 4, zero.end()), good);
    EXPECT_EQ(ask(fixedRequest(0x40, 12)), buildFrame(0x50, {0x07}));
    const Response split = station.process(fixedRequest(0x40, 12));
    ASSERT_EQ(split.chunks.size(), 2u);
    EXPECT_EQ(split.chunks[0].bytes.size(), 4u);
    EXPECT_EQ(split.chunks[1].delayBeforeMs, 5);
    EXPECT_EQ(joined(split), good);
    EXPECT_EQ(ask(fixedRequest(0x40, 12)), Bytes(good.begin(), good.begin() + 3));
    const Response dropped = station.process(fixedRequest(0x40, 12));
    EXPECT_TRUE(dropped.drop);
    EXPECT_TRUE(dropped.chunks.empty());
    EXPECT_EQ(ask(fixedRequest(0x40, 12)), good);
    EXPECT_EQ(station.frameCount(), 10u);
}

class RecordingHandler : public ServiceHandler {
public:
    bool handle(std::uint8_t direction, const Bytes& data, Bytes& payload, std::uint8_t& dir, bool& noReply) override
    {
        seen.push_back(data[0]);
        if (data[0] == 49) {
            noReply = true;
            return true;
        }
        if (data[0] == 24 && direction == 0x40) {
            payload = {24, 0, 0xAA};
            dir = 0x10;
            return true;
        }
        return false;
    }
    Bytes seen;
};

TEST_F(SimStation, ServiceHandlerIsAskedFirst)
{
    RecordingHandler handler;
    station.setServiceHandler(&handler);
    EXPECT_EQ(ask(fixedRequest(0x40, 24)), buildFrame(0x10, {24, 0, 0xAA}));
    EXPECT_TRUE(station.process(buildFrame(0x20, {49, 0})).chunks.empty());
    EXPECT_EQ(ask(fixedRequest(0x40, 12)), buildFrame(0x40, {12, 0, 0x40, 0x07}));
    EXPECT_EQ(handler.seen, (Bytes{24, 49, 12}));
    station.setServiceHandler(nullptr);
}

TEST_F(SimStation, FaultForOneCodeAndDirectionLeavesOtherRequestsAlone)
{
    station.injectFaultFor(41, 0x20, Fault::deviceError(0x09));
    // A read of the same code and a write of another code pass.
    EXPECT_EQ(ask(fixedRequest(0x40, 41)), buildFrame(0x40, {41, 0, 1, 2, 3, 4, 5, 6, 7, 8}));
    EXPECT_EQ(ask(buildFrame(0x20, {44, 0, 1, 2})), buildFrame(0x20, {0}));
    // The armed write fails once, then works again.
    EXPECT_EQ(ask(buildFrame(0x20, {41, 0, 5})), buildFrame(0x30, {0x09}));
    EXPECT_EQ(ask(buildFrame(0x20, {41, 0, 5})), buildFrame(0x20, {0}));
    // Silence for a code, twice.
    station.injectFaultFor(20, 0x40, Fault::silence(), 2);
    EXPECT_TRUE(station.process(fixedRequest(0x40, 20)).chunks.empty());
    EXPECT_TRUE(station.process(fixedRequest(0x40, 20)).chunks.empty());
    EXPECT_FALSE(station.process(fixedRequest(0x40, 20)).chunks.empty());
}

TEST(SimPresets, EveryPresetListsBoardsOnlyWithTheControllerApart)
{
    for (const std::string& name : presetNames()) {
        Station s;
        ASSERT_TRUE(applyPreset(s, name)) << name;
        const std::uint16_t controller = name == "cam" ? kCamController : kPresetController;
        EXPECT_EQ(s.controllerId(), controller) << name;
        for (std::uint16_t id : s.moduleIds())
            EXPECT_NE(id, controller) << name;
    }
    Station s;
    EXPECT_FALSE(applyPreset(s, "no-such-preset"));
    ASSERT_TRUE(applyPreset(s, "demo"));
    EXPECT_EQ(s.moduleIds(), (std::vector<std::uint16_t>{0x2110, 0x2210, 0x3104, 0x0FAA, 0x0283, 0x000E}));
    ASSERT_TRUE(applyPreset(s, "sixty"));
    EXPECT_EQ(s.moduleIds().size(), 60u);
    // The saved configuration in its two layouts: 4 + 6n and 4 + 2n bytes.
    ASSERT_TRUE(applyPreset(s, "default"));
    EXPECT_EQ(s.moduleConfiguration(),
              (Bytes{6, 0, 3, 0, 0x10, 0x21, 2, 0, 0, 0, 0x10, 0x22, 2, 0, 2, 0, 0x04, 0x31, 2, 0, 4, 0}));
    ASSERT_TRUE(applyPreset(s, "saved-list"));
    EXPECT_EQ(s.moduleConfiguration(), (Bytes{6, 0, 3, 0, 0x10, 0x21, 0x10, 0x22, 0x04, 0x31}));
}

TEST(SimPresets, HexIdListsAreCheckedWhole)
{
    std::vector<std::uint16_t> ids{1};
    EXPECT_TRUE(parseHexIds("2110,e,283", ids));
    EXPECT_EQ(ids, (std::vector<std::uint16_t>{0x2110, 0x000E, 0x0283}));
    EXPECT_TRUE(parseHexIds("", ids));
    EXPECT_TRUE(ids.empty());
    for (const char* bad : {"2110,", ",1", "1,,2", "10000", "-1", "xyz", "12 "})
        EXPECT_FALSE(parseHexIds(bad, ids)) << bad;
    std::uint16_t id = 0;
    EXPECT_TRUE(parseHexId("740", id));
    EXPECT_EQ(id, 0x0740);
    EXPECT_FALSE(parseHexId("", id));
}

} // namespace
} // namespace x740sim
