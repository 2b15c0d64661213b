// One link used from two threads at once, over TCP and over a pseudo-terminal: every request
// gets the station's answer to that request, never the other thread's.
#include "tests/portwire/e2e/e2e_fixture.h"

#include <atomic>
#include <map>
#include <mutex>
#include <thread>

namespace e2e {
namespace {

constexpr int kRequestsPerThread = 2000;

// A value of its own length and bytes for each code and version.
Bytes valueFor(int code, int version)
{
    return pattern(static_cast<std::size_t>(3 + (code + version) % 40),
                   static_cast<std::uint8_t>(code * 7 + version));
}

// Each thread owns five master-parameter codes: it writes new values into them now and then and
// reads them back in between, and asks for the controller ID; the station's records must be
// what it reads. The first mismatch is kept in `first`.
void hammer(LinkHandle h, int thread, std::atomic<int>& failures, std::string& first,
            std::mutex& firstMutex)
{
    std::map<int, Bytes> written;
    for (int c = 0; c < 5; ++c)
        written[100 + thread * 10 + c] = valueFor(100 + thread * 10 + c, 0);
    auto fail = [&](const std::string& what) {
        if (failures++ == 0) {
            std::lock_guard<std::mutex> lock(firstMutex);
            first = what;
        }
    };
    for (int i = 0; i < kRequestsPerThread; ++i) {
        const int code = 100 + thread * 10 + i % 5;
        if (i % 7 == 3) {
            const Bytes v = valueFor(code, i);
            if (A_WriteMasterParameter(h, code, static_cast<int>(v.size()), v.data()) != 1)
                fail("write " + std::to_string(code) + " failed");
            written[code] = v;
        } else if (i % 7 == 5) {
            if (A_GetControllerID(h) != 0x0740)
                fail("controller ID wrong");
        } else {
            std::uint8_t dest[256] = {};
            std::uint16_t len = 0;
            Bytes expected{static_cast<std::uint8_t>(code), 0};
            expected.insert(expected.end(), written[code].begin(), written[code].end());
            if (A_ReadMasterParameter(h, code, dest, 0, &len) != 1)
                fail("read " + std::to_string(code) + " failed");
            else if (Bytes(dest, dest + len) != expected)
                fail("read " + std::to_string(code) + " got another answer");
        }
    }
}

void hammerFromTwoThreads(x740sim::Station& station, LinkHandle h)
{
    station.setFrameLogEnabled(false);
    for (int t = 0; t < 2; ++t)
        for (int c = 0; c < 5; ++c)
            station.setMasterParameter(static_cast<std::uint8_t>(100 + t * 10 + c),
                                       valueFor(100 + t * 10 + c, 0));
    std::atomic<int> failures{0};
    std::string first;
    std::mutex firstMutex;
    std::thread a([&] { hammer(h, 0, failures, first, firstMutex); });
    std::thread b([&] { hammer(h, 1, failures, first, firstMutex); });
    a.join();
    b.join();
    EXPECT_EQ(failures.load(), 0) << "first: " << first;
    // The link is still in step afterwards.
    EXPECT_EQ(A_GetControllerID(h), 0x0740);
}

TEST_F(E2eTcp, TwoThreadsOnOneLinkEachGetTheirOwnAnswers)
{
    const LinkHandle h = openNet();
    ASSERT_NE(h, 0u);
    hammerFromTwoThreads(station, h);
}

class E2ePtyFast : public E2ePty {
protected:
    int stationBaud() const override { return 115200; }
};

TEST_F(E2ePtyFast, TwoThreadsOnOneSerialLinkEachGetTheirOwnAnswers)
{
    const LinkHandle h = links.keep(A_OpenCom(kCom, 115200));
    ASSERT_NE(h, 0u);
    hammerFromTwoThreads(station, h);
}

} // namespace
} // namespace e2e
