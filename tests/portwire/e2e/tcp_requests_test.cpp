// Every request export of Portwire over a TCP link: the exact frames on the wire (from the
// station's frame log) and what the caller gets back.
#include "tests/portwire/e2e/e2e_fixture.h"

#include <array>
#include <climits>

namespace e2e {
namespace {

using x740sim::buildFrame;
using x740sim::Fault;

class E2eTcpRequests : public E2eTcp {
protected:
    void SetUp() override
    {
        E2eTcp::SetUp();
        h = openNet();
        ASSERT_NE(h, 0u);
        station.clearFrameLog();
    }
    LinkHandle h = 0;
};

// --- opening and the module table ---

TEST_F(E2eTcp, OpenNetSendsReadIdAndFillsModuleTable)
{
    station.setModuleIds({0x1234, 0x5678});
    const LinkHandle h = openNet();
    ASSERT_NE(h, 0u);
    ASSERT_EQ(frames().size(), 1u);
    EXPECT_EQ(frames()[0], (Bytes{0, 0, 0x40, 8, 0x0B, 0, 0, 0, 0, 0, 0, 0, 0}));
    EXPECT_EQ(A_GetNumberOfModules(h), 2);
    EXPECT_EQ(A_GetModulID(h, 0), 0x1234);
    EXPECT_EQ(A_GetModulID(h, 1), 0x5678);
    EXPECT_EQ(A_GetModulID(h, 2), 0);
    EXPECT_EQ(A_GetModulID(h, 3), 0);
    EXPECT_EQ(A_GetModulID(h, -1), 0);
    EXPECT_EQ(A_GetModulID(h, INT_MAX), 0);
    EXPECT_EQ(A_GetPort(h), kLoopback);
}

TEST_F(E2eTcp, OpenNetWithoutReadIdSendsNothing)
{
    const LinkHandle h = openNetNoReadId();
    ASSERT_NE(h, 0u);
    EXPECT_EQ(A_GetNumberOfModules(h), 0);
    EXPECT_EQ(station.frameCount(), 0u);
    EXPECT_EQ(A_GetControllerID(h), 0x0740);
    EXPECT_EQ(frames(), (std::vector<Bytes>{fixedRequest(0x40, 12)}));
}

// --- fixed reads ---

TEST_F(E2eTcpRequests, ReadInputsSendsFixedRequestAndFillsImage)
{
    station.setInputLength(8);
    station.setInputs(0, {0x11, 0x22, 0x33, 0x44, 0x55, 0x66, 0x77, 0x88});
    ASSERT_EQ(A_ReadInputs(h), 1);
    EXPECT_EQ(lastFrame(), (Bytes{0, 0, 0x40, 8, 0x14, 0, 0, 0, 0, 0, 0, 0, 0}));
    EXPECT_EQ(A_GetInputByte(h, 0), 0x11);
    EXPECT_EQ(A_GetInputByte(h, 7), 0x88);
    EXPECT_EQ(A_GetInputWord(h, 1), 0x3322);
    EXPECT_EQ(A_GetInputLong(h, 2), 0x66554433u);
    std::array<std::uint8_t, 256> buf{};
    A_GetInputBuffer(h, buf.data());
    EXPECT_EQ(Bytes(buf.begin(), buf.begin() + 8), (Bytes{0x11, 0x22, 0x33, 0x44, 0x55, 0x66, 0x77, 0x88}));
    EXPECT_EQ(buf[8], 0);

    // A shorter payload overwrites only its own bytes.
    station.setInputLength(2);
    station.setInputs(0, {0xA1, 0xA2, 0xA3});
    ASSERT_EQ(A_ReadInputs(h), 1);
    EXPECT_EQ(A_GetInputByte(h, 0), 0xA1);
    EXPECT_EQ(A_GetInputByte(h, 1), 0xA2);
    EXPECT_EQ(A_GetInputByte(h, 2), 0x33);
}

TEST_F(E2eTcpRequests, InputAccessorsStayInsideTheImage)
{
    station.setInputLength(253);
    Bytes all(253, 0xEE);
    station.setInputs(0, all);
    ASSERT_EQ(A_ReadInputs(h), 1);
    EXPECT_EQ(A_GetInputByte(h, 252), 0xEE);
    EXPECT_EQ(A_GetInputByte(h, 253), 0x00);
    EXPECT_EQ(A_GetInputByte(h, 257), 0);
    EXPECT_EQ(A_GetInputWord(h, 257), 0);
    EXPECT_EQ(A_GetInputLong(h, 257), 0u);
    EXPECT_EQ(A_GetInputByte(h, INT_MAX), 0);
    // Offsets at the very end and negative ones must not read outside the image (the
    // sanitizer build catches any stray read); their value is the library's choice.
    for (int off : {-1, -4, INT_MIN, 253, 254, 255, 256}) {
        (void)A_GetInputByte(h, off);
        (void)A_GetInputWord(h, off);
        (void)A_GetInputLong(h, off);
    }
}

TEST_F(E2eTcpRequests, ControllerIdIsWordAfterHead)
{
    station.setControllerId(0xBEEF);
    EXPECT_EQ(A_GetControllerID(h), 0xBEEF);
    EXPECT_EQ(lastFrame(), fixedRequest(0x40, 12));
}

TEST_F(E2eTcpRequests, ParameterAndInfoReadsSkipTheHead)
{
    station.setModuleParameters({1, 2, 3, 4, 5});
    station.setSavedModuleParameters({9, 8, 7});
    station.setModuleInfo({'A', 0, 'B', 0, 'C', 0});
    std::array<std::uint8_t, 260> dest;

    dest.fill(0xCC);
    ASSERT_EQ(A_ReadModulParameters(h, dest.data()), 1);
    EXPECT_EQ(lastFrame(), fixedRequest(0x40, 13));
    EXPECT_EQ(Bytes(dest.begin(), dest.begin() + 6), (Bytes{1, 2, 3, 4, 5, 0xCC}));

    dest.fill(0xCC);
    ASSERT_EQ(A_ReadSavedModulParameters(h, dest.data()), 1);
    EXPECT_EQ(lastFrame(), fixedRequest(0x40, 41));
    EXPECT_EQ(Bytes(dest.begin(), dest.begin() + 4), (Bytes{9, 8, 7, 0xCC}));

    dest.fill(0xCC);
    ASSERT_EQ(A_ReadModulInfo(h, dest.data()), 1);
    EXPECT_EQ(lastFrame(), fixedRequest(0x40, 23));
    EXPECT_EQ(Bytes(dest.begin(), dest.begin() + 7), (Bytes{'A', 0, 'B', 0, 'C', 0, 0xCC}));
}

TEST_F(E2eTcpRequests, ModuleConfigurationOfTenBytePayload)
{
    station.setModuleConfiguration({1, 2, 3, 4, 5, 6, 7, 8});
    std::array<std::uint8_t, 260> dest;
    dest.fill(0xCC);
    std::uint8_t len = 0;
    ASSERT_EQ(A_ReadModulConfiguration(h, &len, dest.data()), 1);
    EXPECT_EQ(lastFrame(), fixedRequest(0x40, 44));
    EXPECT_EQ(len, 10);
    EXPECT_EQ(Bytes(dest.begin(), dest.begin() + 9), (Bytes{1, 2, 3, 4, 5, 6, 7, 8, 0xCC}));
}

TEST_F(E2eTcpRequests, MasterParameterReadKeepsTheHead)
{
    station.setMasterParameter(60, {0x10, 0x27, 0x00, 0x00});
    std::array<std::uint8_t, 260> dest;
    dest.fill(0xCC);
    std::uint16_t len = 0;
    ASSERT_EQ(A_ReadMasterParameter(h, 60, dest.data(), 0, &len), 1);
    EXPECT_EQ(lastFrame(), fixedRequest(0x40, 60));
    EXPECT_EQ(len, 6);
    EXPECT_EQ(Bytes(dest.begin(), dest.begin() + 7), (Bytes{60, 0, 0x10, 0x27, 0, 0, 0xCC}));
}

// --- writes ---

TEST_F(E2eTcpRequests, SetOutputsAnnouncesThenWrites)
{
    const Bytes out{0xAB, 0xCD, 0xEF};
    ASSERT_EQ(A_SetOutputs(h, 3, out.data()), 1);
    EXPECT_EQ(frames(), (std::vector<Bytes>{announceFor(3), writeFrame(30, out)}));
    EXPECT_EQ(frames()[0][5], 10);
    EXPECT_EQ(station.outputs(), out);

    station.clearFrameLog();
    ASSERT_EQ(A_SetOutputsO(h, 12345, 2, out.data()), 1);
    EXPECT_EQ(frames(), (std::vector<Bytes>{announceFor(2), writeFrame(30, {0xAB, 0xCD})}));
}

TEST_F(E2eTcpRequests, SetOutputsOfLargestFrame)
{
    const Bytes out = pattern(253, 1);
    ASSERT_EQ(A_SetOutputs(h, 253, out.data()), 1);
    ASSERT_EQ(frames().size(), 2u);
    EXPECT_EQ(frames()[1].size(), 260u);
    EXPECT_EQ(station.outputs(), out);
}

TEST_F(E2eTcpRequests, SetOutputsIgnoresTheAnnounceReply)
{
    station.injectFault(Fault::deviceError(0x09));
    const Bytes out{1, 2};
    EXPECT_EQ(A_SetOutputs(h, 2, out.data()), 1);
    EXPECT_EQ(frames().size(), 2u);
    EXPECT_EQ(station.outputs(), out);
}

TEST_F(E2eTcpRequests, WriteModulParametersOfTwentyBytes)
{
    const Bytes params = pattern(20, 0x40);
    ASSERT_EQ(A_WriteModulParameters(h, 20, params.data()), 1);
    ASSERT_EQ(frames().size(), 2u);
    EXPECT_EQ(frames()[0], buildFrame(0x20, {1, 27, 27, 0, 0, 0, 0, 0}));
    EXPECT_EQ(frames()[1].size(), 27u);
    EXPECT_EQ(frames()[1], writeFrame(41, params));
    EXPECT_EQ(station.savedModuleParameters(), params);
}

TEST_F(E2eTcpRequests, WriteRequestsCarryTheirCodes)
{
    const Bytes cfg = pattern(12, 7);
    ASSERT_EQ(A_WriteModulConfiguration(h, 12, cfg.data()), 1);
    EXPECT_EQ(frames(), (std::vector<Bytes>{announceFor(12), writeFrame(44, cfg)}));
    EXPECT_EQ(station.moduleConfiguration(), cfg);

    station.clearFrameLog();
    const Bytes value{0x34, 0x12};
    ASSERT_EQ(A_WriteMasterParameter(h, 77, 2, value.data()), 1);
    EXPECT_EQ(frames(), (std::vector<Bytes>{announceFor(2), writeFrame(77, value)}));
    EXPECT_EQ(station.masterParameter(77), value);

    station.clearFrameLog();
    const Bytes params = pattern(5, 3);
    ASSERT_EQ(A_WriteModulParameters_2(h, 5, params.data(), 3000), 1);
    EXPECT_EQ(frames(), (std::vector<Bytes>{announceFor(5), writeFrame(41, params)}));
}

TEST_F(E2eTcpRequests, SuccessfulWriteRestoresTheTimeout)
{
    int old = 0;
    ASSERT_EQ(A_SetComTimout(h, 1500, &old), 1);
    const Bytes data{1};
    ASSERT_EQ(A_WriteModulParameters(h, 1, data.data()), 1);
    ASSERT_EQ(A_SetComTimout(h, 1000, &old), 1);
    EXPECT_EQ(old, 1500);
}

TEST_F(E2eTcpRequests, FailedAnnounceStopsTheWriteAndKeepsTheLongerTimeout)
{
    station.injectFault(Fault::deviceError(0x21));
    const Bytes data = pattern(4, 0);
    EXPECT_EQ(A_WriteModulParameters(h, 4, data.data()), 0);
    EXPECT_EQ(A_GetLastError(), 0x21);
    EXPECT_EQ(frames(), (std::vector<Bytes>{announceFor(4)}));
    int old = 0;
    ASSERT_EQ(A_SetComTimout(h, 1000, &old), 1);
    EXPECT_EQ(old, 5000);

    station.injectFault(Fault::deviceError(0x22));
    EXPECT_EQ(A_WriteModulParameters_2(h, 4, data.data(), 2500), 0);
    ASSERT_EQ(A_SetComTimout(h, 1000, &old), 1);
    EXPECT_EQ(old, 2500);
}

TEST_F(E2eTcpRequests, DeviceErrorOnTheWriteFrameFailsWithItsCode)
{
    station.injectFault(Fault::delay(0));          // the announce is answered normally
    station.injectFault(Fault::deviceError(0x33)); // the write itself is refused
    const Bytes data = pattern(3, 0);
    EXPECT_EQ(A_WriteMasterParameter(h, 70, 3, data.data()), 0);
    EXPECT_EQ(A_GetLastError(), 0x33);
    EXPECT_EQ(frames(), (std::vector<Bytes>{announceFor(3), writeFrame(70, data)}));
}

TEST_F(E2eTcpRequests, LengthsOutsideAFrameAreRefusedBeforeSending)
{
    const Bytes big(300, 0x55);
    EXPECT_EQ(A_SetOutputs(h, 254, big.data()), 0);
    EXPECT_EQ(A_SetOutputs(h, -1, big.data()), 0);
    EXPECT_EQ(A_SetOutputsO(h, 0, 254, big.data()), 0);
    EXPECT_EQ(A_WriteModulParameters(h, 254, big.data()), 0);
    EXPECT_EQ(A_WriteModulParameters(h, -5, big.data()), 0);
    EXPECT_EQ(A_WriteModulParameters_2(h, 300, big.data(), 1000), 0);
    EXPECT_EQ(A_WriteModulConfiguration(h, 254, big.data()), 0);
    EXPECT_EQ(A_WriteMasterParameter(h, 70, 254, big.data()), 0);
    EXPECT_EQ(A_WriteMasterParameter(h, 70, INT_MIN, big.data()), 0);
    EXPECT_EQ(A_Write(h, big.data(), -1), 0);
    EXPECT_EQ(station.frameCount(), 0u);
    // The link still works.
    EXPECT_EQ(A_ReadInputs(h), 1);
}

// --- fieldbus and flash ---

TEST_F(E2eTcpRequests, FieldbusStartAndStopFrames)
{
    ASSERT_EQ(A_StartFieldbus(h), 1);
    EXPECT_TRUE(station.fieldbusRunning());
    ASSERT_EQ(A_StopFieldbus(h), 1);
    EXPECT_FALSE(station.fieldbusRunning());
    EXPECT_EQ(frames(), (std::vector<Bytes>{buildFrame(0x20, {40, 0, 2, 0, 0, 0, 0, 0}),
                                            buildFrame(0x20, {40, 0, 1, 0, 0, 0, 0, 0})}));
}

class RefusingHandler : public x740sim::ServiceHandler {
public:
    bool handle(std::uint8_t, const Bytes& data, Bytes& payload, std::uint8_t&, bool&) override
    {
        if (data[0] != 40 && data[0] != 42)
            return false;
        payload = {0x01};
        return true;
    }
};

TEST_F(E2eTcpRequests, FieldbusAndFlashFailWhenTheDeviceRefuses)
{
    RefusingHandler refuse;
    station.setServiceHandler(&refuse);
    EXPECT_EQ(A_StartFieldbus(h), 0);
    EXPECT_EQ(A_StopFieldbus(h), 0);
    EXPECT_EQ(A_ClearFlash(h), 0);
    station.setServiceHandler(nullptr);
}

TEST_F(E2eTcpRequests, ClearFlashIsFixedWriteRequest)
{
    ASSERT_EQ(A_ClearFlash(h), 1);
    EXPECT_EQ(frames(), (std::vector<Bytes>{{0, 0, 0x20, 8, 0x2A, 0, 0, 0, 0, 0, 0, 0, 0}}));
    EXPECT_EQ(station.flashClears(), 1);
}

// --- memory ---

// Answers a memory read with exactly the data asked for (no head), or an empty header.
class MemoryHandler : public x740sim::ServiceHandler {
public:
    bool handle(std::uint8_t, const Bytes& data, Bytes& payload, std::uint8_t&, bool&) override
    {
        if (data[0] != 14)
            return false;
        payload = pattern(data[2], 0x90);
        return true;
    }
};

TEST_F(E2eTcpRequests, ReadMemoryFrameAndDataWithChecksum)
{
    MemoryHandler memory;
    station.setServiceHandler(&memory);
    std::array<std::uint8_t, 64> dest;
    dest.fill(0xCC);
    ASSERT_EQ(A_ReadMemory(h, 6, 0x00012345u, dest.data()), 1);
    station.setServiceHandler(nullptr);
    EXPECT_EQ(lastFrame(), buildFrame(0x40, {14, 0, 6, 0, 0x45, 0x23, 0x01, 0x00}));
    const Bytes reply = buildFrame(0x40, pattern(6, 0x90));
    EXPECT_EQ(Bytes(dest.begin(), dest.begin() + 7), Bytes(reply.begin() + 4, reply.end()));
    EXPECT_EQ(dest[7], 0xCC);
}

TEST_F(E2eTcpRequests, ReadMemoryStoresTheStationsHeadDataAndChecksumOnly)
{
    // The station's own reply carries a 2-byte head: more than count bytes of data. All of it
    // and the checksum land in dest, nothing behind them.
    station.writeMemory(0x100, {0x11, 0x22, 0x33, 0x44, 0x55});
    std::array<std::uint8_t, 300> dest;
    dest.fill(0xCC);
    ASSERT_EQ(A_ReadMemory(h, 4, 0x100, dest.data()), 1);
    EXPECT_EQ(Bytes(dest.begin(), dest.begin() + 6), (Bytes{14, 0, 0x11, 0x22, 0x33, 0x44}));
    for (std::size_t i = 7; i < dest.size(); ++i)
        EXPECT_EQ(dest[i], 0xCC) << "byte " << i;
    // The link stays in step with the station.
    EXPECT_EQ(A_GetControllerID(h), 0x0740);
}

TEST_F(E2eTcpRequests, ReadMemoryEmptyReplySucceedsWithoutWriting)
{
    station.injectFault(Fault::zeroLength());
    std::array<std::uint8_t, 16> dest;
    dest.fill(0xCC);
    EXPECT_EQ(A_ReadMemory(h, 4, 0x100, dest.data()), 1);
    for (std::uint8_t b : dest)
        EXPECT_EQ(b, 0xCC);
}

TEST_F(E2eTcpRequests, ReadMemoryDeviceErrorFailsWithItsCode)
{
    station.injectFault(Fault::deviceError(0x44));
    std::array<std::uint8_t, 16> dest;
    dest.fill(0xCC);
    EXPECT_EQ(A_ReadMemory(h, 4, 0x100, dest.data()), 0);
    EXPECT_EQ(A_GetLastError(), 0x44);
}

TEST_F(E2eTcpRequests, ReadMemoryRetriesABadChecksum)
{
    MemoryHandler memory;
    station.setServiceHandler(&memory);
    station.injectFault(Fault::badChecksum());
    std::array<std::uint8_t, 16> dest{};
    EXPECT_EQ(A_ReadMemory(h, 2, 0x10, dest.data()), 1);
    station.setServiceHandler(nullptr);
    EXPECT_EQ(frames().size(), 2u);
    EXPECT_EQ(dest[0], 0x90);
}

// --- reply errors ---

TEST_F(E2eTcpRequests, DeviceErrorReplySetsItsByte)
{
    station.injectFault(Fault::deviceError(0x07));
    EXPECT_EQ(A_ReadInputs(h), 0);
    EXPECT_EQ(A_GetLastError(), 0x07);
    EXPECT_EQ(A_ReadInputs(h), 1);
}

TEST_F(E2eTcpRequests, BadChecksumSets0600)
{
    station.injectFault(Fault::badChecksum());
    EXPECT_EQ(A_GetControllerID(h), 0);
    EXPECT_EQ(A_GetLastError(), 0x0600);
    EXPECT_EQ(A_GetControllerID(h), 0x0740);
}

TEST_F(E2eTcpRequests, StrayBytesAfterAReplyCostOneRequestOnly)
{
    station.setModuleParameters({1, 2, 3, 4, 5});
    station.setSavedModuleParameters({9, 8, 7});
    station.setModuleInfo({'A', 0});
    std::array<std::uint8_t, 260> dest{};
    station.injectFault(Fault::trailingBytes(7));
    ASSERT_EQ(A_ReadModulParameters(h, dest.data()), 1);
    // The stray bytes and the start of the next reply read as one frame that fails its check;
    // what is left of the reply is dropped with it.
    EXPECT_EQ(A_ReadModulParameters(h, dest.data()), 0);
    EXPECT_EQ(A_GetLastError(), 0x0600);
    // In step again: every read export succeeds.
    for (int round = 0; round < 2; ++round) {
        EXPECT_EQ(A_ReadModulParameters(h, dest.data()), 1);
        EXPECT_EQ(Bytes(dest.begin(), dest.begin() + 5), (Bytes{1, 2, 3, 4, 5}));
        EXPECT_EQ(A_ReadSavedModulParameters(h, dest.data()), 1);
        EXPECT_EQ(A_ReadModulInfo(h, dest.data()), 1);
        EXPECT_EQ(A_ReadInputs(h), 1);
        EXPECT_EQ(A_GetControllerID(h), 0x0740);
        std::uint8_t length = 0;
        EXPECT_EQ(A_ReadModulConfiguration(h, &length, dest.data()), 1);
    }
}

TEST_F(E2eTcpRequests, ZeroLengthHeaderFailsKeepingTheLastError)
{
    station.injectFault(Fault::deviceError(0x07));
    EXPECT_EQ(A_ReadInputs(h), 0);
    station.injectFault(Fault::zeroLength());
    EXPECT_EQ(A_ReadInputs(h), 0);
    EXPECT_EQ(A_GetLastError(), 0x07);
}

// --- raw transfer and checksum helpers ---

TEST_F(E2eTcpRequests, RawWriteAndReadCarryExactBytes)
{
    const Bytes req = buildFrame(0x40, {24, 0});
    ASSERT_EQ(A_Write(h, req.data(), static_cast<int>(req.size())), 1);
    std::array<std::uint8_t, 16> reply{};
    ASSERT_EQ(A_Read(h, reply.data(), 7), 1);
    EXPECT_EQ(Bytes(reply.begin(), reply.begin() + 7), buildFrame(0x40, {24, 0}));
    EXPECT_EQ(lastFrame(), req);
}

TEST_F(E2eTcpRequests, ChecksumHelpers)
{
    std::array<std::uint8_t, 13> f{0, 0, 0x40, 8, 0x14, 0, 0, 0, 0, 0, 0, 0, 0x77};
    A_CreateChecksum(h, f.data(), 13);
    EXPECT_EQ(f[12], 0x00);
    EXPECT_EQ(A_CheckChksum(h, f.data(), 13), 1);

    Bytes reply{0, 0, 0x40, 3, 0x14, 0, 5, 0};
    A_CreateChecksum(h, reply.data(), 8);
    EXPECT_EQ(reply[7], x740sim::blockChecksum(reply.data(), 7));
    reply[7] ^= 1;
    EXPECT_EQ(A_CheckChksum(h, reply.data(), 8), 0);
    EXPECT_EQ(A_GetLastError(), 0x0600);

    std::uint8_t one = 0x12;
    A_CreateChecksum(h, &one, 1);
    EXPECT_EQ(one, 0xAA);
    EXPECT_EQ(A_CheckChksum(h, &one, 1), 1);

    std::uint8_t guard[2] = {0x5A, 0x5A};
    A_CreateChecksum(h, guard + 1, 0);
    A_CreateChecksum(h, guard + 1, -3);
    EXPECT_EQ(guard[0], 0x5A);
    EXPECT_EQ(guard[1], 0x5A);
    EXPECT_EQ(A_CheckChksum(h, guard + 1, 0), 0);
    EXPECT_EQ(A_CheckChksum(h, guard + 1, INT_MIN), 0);
}

TEST_F(E2eTcpRequests, NullOutPointersAreNotWritten)
{
    // After each call the link must still be in step with the station (no reply left behind).
    const auto inStep = [&] { return A_GetControllerID(h) == 0x0740; };
    EXPECT_EQ(A_SetComTimout(h, 1000, nullptr), 1);
    (void)A_ReadMasterParameter(h, 60, nullptr, 0, nullptr);
    EXPECT_TRUE(inStep()) << "A_ReadMasterParameter";
    (void)A_ReadModulConfiguration(h, nullptr, nullptr);
    EXPECT_TRUE(inStep()) << "A_ReadModulConfiguration";
    (void)A_ReadModulParameters(h, nullptr);
    EXPECT_TRUE(inStep()) << "A_ReadModulParameters";
    (void)A_ReadSavedModulParameters(h, nullptr);
    EXPECT_TRUE(inStep()) << "A_ReadSavedModulParameters";
    (void)A_ReadModulInfo(h, nullptr);
    EXPECT_TRUE(inStep()) << "A_ReadModulInfo";
    MemoryHandler memory;
    station.setServiceHandler(&memory);
    (void)A_ReadMemory(h, 2, 0, nullptr);
    station.setServiceHandler(nullptr);
    EXPECT_TRUE(inStep()) << "A_ReadMemory";
    A_GetInputBuffer(h, nullptr);
    EXPECT_TRUE(inStep()) << "A_GetInputBuffer";
}

// --- unknown handles ---

TEST_F(E2eTcpRequests, UnknownHandleFailsWith0100)
{
    const LinkHandle bogus = h ^ 0x5A5A0000u;
    std::uint8_t buf[260] = {};
    std::uint16_t len16 = 0;
    int old = 0;
    EXPECT_EQ(A_ReadInputs(bogus), 0);
    EXPECT_EQ(A_GetLastError(), 0x0100);
    EXPECT_EQ(A_GetNumberOfModules(bogus), 0);
    EXPECT_EQ(A_GetModulID(bogus, 0), 0);
    EXPECT_EQ(A_GetControllerID(bogus), 0);
    EXPECT_EQ(A_GetPort(bogus), 0u);
    EXPECT_EQ(A_ReadMasterParameter(bogus, 60, buf, 0, &len16), 0);
    EXPECT_EQ(A_SetComTimout(bogus, 100, &old), 0);
    EXPECT_EQ(A_CheckChksum(bogus, buf, 5), 0);
    EXPECT_EQ(A_GetLastError(), 0x0100);
    EXPECT_EQ(A_ReadInputs(0), 0);
    EXPECT_EQ(station.frameCount(), 0u);
}

} // namespace
} // namespace e2e
