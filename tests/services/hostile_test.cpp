// Hostile controllers: every read request of the four libraries answered with the longest reply
// a frame can carry (no text terminators, list counts far above what fits) or with a reply of one
// byte. Buffers are allocated with exactly the size each function documents, so a write past
// one is caught by the address sanitizer build.
#include "tests/services/service_fixture.h"

#include "services/include/X740_Cam.h"
#include "services/include/X740_Core.h"
#include "services/include/X740_Gate.h"
#include "services/include/X740_Logic.h"

#include <cstring>
#include <memory>

namespace svctest {
namespace {

// Answers every request, whatever its code, with [code, 0, fill...] of the given data length
// (one byte: only the code).
class FixedReplyController : public x740sim::ServiceHandler {
public:
    FixedReplyController(std::uint8_t fill, int length) : fill_(fill), length_(length) {}

    bool handle(std::uint8_t, const std::vector<std::uint8_t>& data,
                std::vector<std::uint8_t>& replyPayload, std::uint8_t&, bool&) override {
        replyPayload.assign(static_cast<std::size_t>(length_), fill_);
        replyPayload[0] = data.empty() ? 0 : data[0];
        if (length_ > 1)
            replyPayload[1] = 0;
        return true;
    }

private:
    std::uint8_t fill_;
    int length_;
};

// A heap buffer of exactly n bytes, preset to a marker.
class Buffer {
public:
    explicit Buffer(std::size_t n, char marker = '\x7E') : bytes_(new char[n]), size_(n) {
        std::memset(bytes_.get(), marker, n);
    }
    char* get() { return bytes_.get(); }
    std::uint8_t* u8() { return reinterpret_cast<std::uint8_t*>(bytes_.get()); }
    std::string str() const { return std::string(bytes_.get(), ::strnlen(bytes_.get(), size_)); }
    std::string raw() const { return std::string(bytes_.get(), size_); }

private:
    std::unique_ptr<char[]> bytes_;
    std::size_t size_;
};

constexpr char kFill = 'A';

class HostileReplyTest : public ServiceStationTest {
protected:
    void answerWith(int length) {
        hostile_ = std::make_unique<FixedReplyController>(static_cast<std::uint8_t>(kFill), length);
        station.setServiceHandler(hostile_.get());
    }
    void TearDown() override {
        ServiceStationTest::TearDown();
        station.setServiceHandler(nullptr);
    }

    std::unique_ptr<FixedReplyController> hostile_;
};

std::string fill(std::size_t n) {
    return std::string(n, kFill);
}

TEST_F(HostileReplyTest, LongestCoreRepliesStayInsideTheCallersBuffers) {
    answerWith(255);

    Buffer mem(8);
    ASSERT_EQ(A_X740_ReadMemory(link, 0x100, 8, mem.u8()), 1);
    EXPECT_EQ(mem.raw(), fill(8)) << "no more than the count asked for";

    Buffer metrics(4);
    std::uint32_t len = 4;
    ASSERT_EQ(A_X740_ReadSystemMetrics(link, 1, metrics.u8(), &len), 1);
    EXPECT_EQ(len, 4u);

    Buffer t1(256), t2(256), t3(256);
    ASSERT_EQ(A_X740_ReadModulInfo(link, t1.get(), t2.get(), t3.get()), 1);
    EXPECT_EQ(t1.str(), fill(253)) << "the first text ends with the reply";
    EXPECT_EQ(t2.str(), "");
    EXPECT_EQ(t3.str(), "");

    auto times = std::make_unique<double[]>(2);
    std::uint32_t count = 2;
    ASSERT_EQ(A_X740_ReadTimerStatus(link, nullptr, nullptr, nullptr, nullptr, nullptr, times.get(),
                                     &count),
              1);
    EXPECT_EQ(count, 2u);

    Buffer serial(12), ip(16), mask(16), gw(16);
    int dhcp = 0;
    ASSERT_EQ(A_X740_ReadModulConfig(link, serial.get(), ip.get(), mask.get(), gw.get(), &dhcp), 1);
    EXPECT_EQ(serial.raw(), fill(8) + std::string(4, '\0'));
    EXPECT_EQ(ip.str(), fill(15));
    EXPECT_EQ(gw.str(), fill(15));
    EXPECT_EQ(dhcp, kFill);

    Buffer port(16);
    ASSERT_EQ(A_X740_ReadSerServiceConfig(link, port.get(), nullptr, nullptr, nullptr, nullptr), 1);
    EXPECT_EQ(port.str(), fill(15));

    Buffer first(3), second(3);
    count = 3;
    ASSERT_EQ(A_X740_ReadForceOutput(link, first.u8(), second.u8(), &count), 1);
    EXPECT_EQ(count, 3u);

    auto values = std::make_unique<std::int16_t[]>(3);
    count = 3;
    ASSERT_EQ(A_X740_ReadDFMWData(link, values.get(), &count), 1);
    EXPECT_EQ(count, 3u);
    Buffer input(3);
    len = 3;
    ASSERT_EQ(A_X740_ReadDFMWInput(link, input.u8(), &len), 1);
    EXPECT_EQ(len, 3u);

    Buffer s(12), a(16), b(16), user(16), pass(16), c(16), d(16), e(16), f(16), t11(32), t12(16);
    std::uint32_t v10 = 0;
    ASSERT_EQ(A_X740_ReadSystemConfig(link, s.get(), a.get(), b.get(), user.get(), pass.get(),
                                      c.get(), d.get(), e.get(), f.get(), &v10, t11.get(),
                                      t12.get()),
              1);
    EXPECT_EQ(user.str(), fill(15));
    EXPECT_EQ(t11.str(), fill(31));
    EXPECT_EQ(t12.str(), fill(15));

    Buffer host(16);
    ASSERT_EQ(A_X740_ReadSysLogConfig(link, nullptr, host.get(), nullptr, nullptr), 1);
    EXPECT_EQ(host.str(), fill(15));

    Buffer ident(10);
    ASSERT_EQ(A_X740_ReadModulIdentCode(link, 1, 2, ident.get(), 10), 1);
    EXPECT_EQ(ident.str(), fill(9));
}

TEST_F(HostileReplyTest, LongestCamGateAndLogicRepliesStayInsideTheCallersBuffers) {
    answerWith(255);

    Buffer name(16);
    ASSERT_EQ(A_X740_Cam_ReadNSWProg(link, 1, nullptr, name.get(), nullptr, nullptr, nullptr,
                                     nullptr, nullptr),
              1);
    EXPECT_EQ(name.str(), fill(15));
    Buffer multi(16);
    ASSERT_EQ(A_X740_Cam_ReadNSWProgMultiturn(link, 1, nullptr, multi.get(), nullptr, nullptr,
                                              nullptr, nullptr, nullptr, nullptr, nullptr),
              1);
    EXPECT_EQ(multi.raw(), fill(16));

    // 65 entries announced: the lists keep 16.
    int count = 0;
    ASSERT_EQ(A_X740_MB_ReadAccessControlList(link, &count), 1);
    EXPECT_EQ(count, 16);
    ASSERT_EQ(A_X740_MB_ReadPriorityList(link, &count), 1);
    EXPECT_EQ(count, 16);
    int v1 = 0;
    EXPECT_EQ(A_X740_MB_ReadPriorityItem(15, &v1, nullptr), 1);
    EXPECT_EQ(v1, 0x41414141);
    EXPECT_EQ(A_X740_MB_ReadPriorityItem(16, &v1, nullptr), 0);

    Buffer text(16);
    ASSERT_EQ(A_X740_MB_ReadRS232Config(link, 0, text.get(), nullptr, nullptr, nullptr, nullptr,
                                        nullptr, nullptr, nullptr, nullptr, nullptr),
              1);
    EXPECT_EQ(text.str(), fill(15));

    Buffer xio(5);
    std::uint32_t len = 5;
    ASSERT_EQ(A_X740_IEC_ReadXIOBuffer(link, xio.u8(), &len), 1);
    EXPECT_EQ(len, 5u);
    EXPECT_EQ(xio.raw(), fill(5));
}

TEST_F(HostileReplyTest, OneByteRepliesGiveNothingOrTheDefaults) {
    answerWith(1);

    Buffer mem(8);
    ASSERT_EQ(A_X740_ReadMemory(link, 0, 8, mem.u8()), 1);
    EXPECT_EQ(mem.raw(), std::string(8, '\x7E'));

    std::uint32_t len = 4;
    Buffer metrics(4);
    ASSERT_EQ(A_X740_ReadSystemMetrics(link, 1, metrics.u8(), &len), 1);
    EXPECT_EQ(len, 0u);

    Buffer t1(256), t2(256), t3(256);
    ASSERT_EQ(A_X740_ReadModulInfo(link, t1.get(), t2.get(), t3.get()), 1);
    EXPECT_EQ(t1.str() + t2.str() + t3.str(), "");

    Buffer serial(12), ip(16);
    ASSERT_EQ(A_X740_ReadModulConfig(link, serial.get(), ip.get(), nullptr, nullptr, nullptr), 1);
    EXPECT_EQ(serial.raw(), std::string(12, '\0'));
    EXPECT_EQ(ip.str(), "");

    int a = 0, b = 0, c = 0, d = 0;
    ASSERT_EQ(A_X740_ReadMainServiceConfig(link, &a, &b, &c, &d), 1);
    EXPECT_EQ(b, -1);
    EXPECT_EQ(c, -1);
    EXPECT_EQ(d, -1);
    ASSERT_EQ(A_X740_ReadSerServiceConfig(link, nullptr, nullptr, nullptr, nullptr, &d), 1);
    EXPECT_EQ(d, -1);

    auto times = std::make_unique<double[]>(2);
    times[0] = -1;
    std::uint32_t count = 2;
    ASSERT_EQ(A_X740_ReadTimerStatus(link, nullptr, nullptr, nullptr, nullptr, nullptr, times.get(),
                                     &count),
              1);
    EXPECT_EQ(times[0], -1);

    Buffer first(3), second(3);
    count = 3;
    ASSERT_EQ(A_X740_ReadForceInput(link, first.u8(), second.u8(), &count), 1);
    EXPECT_EQ(count, 0u);
    count = 3;
    ASSERT_EQ(A_X740_ReadDFMWData(link, nullptr, &count), 1);
    EXPECT_EQ(count, 0u);

    Buffer ident(10);
    ASSERT_EQ(A_X740_ReadModulIdentCode(link, 1, 2, ident.get(), 10), 1);
    EXPECT_EQ(ident.str(), "");

    int mask = 0, options = -1;
    ASSERT_EQ(A_X740_Cam_ReadSSISetup(link, 0, nullptr, nullptr, nullptr, nullptr, nullptr, nullptr,
                                      nullptr, nullptr, &mask, &options),
              1);
    EXPECT_EQ(mask, 0x3FFFFFFF);
    EXPECT_EQ(options, 0);
    int trigger = -1, delay = -1;
    ASSERT_EQ(A_X740_Cam_ReadNSWProgMultiturn(link, 0, nullptr, nullptr, nullptr, nullptr, nullptr,
                                              nullptr, nullptr, &trigger, &delay),
              1);
    EXPECT_EQ(trigger, 0);
    EXPECT_EQ(delay, 0);

    int listCount = -1;
    ASSERT_EQ(A_X740_MB_ReadAccessControlList(link, &listCount), 1);
    EXPECT_EQ(listCount, 0);

    Buffer xio(5);
    len = 5;
    ASSERT_EQ(A_X740_IEC_ReadXIOBuffer(link, xio.u8(), &len), 1);
    EXPECT_EQ(len, 0u);
}

} // namespace
} // namespace svctest
