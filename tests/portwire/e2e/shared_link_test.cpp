// One link used from several threads at once, over TCP and over a pseudo-terminal: every request
// gets the station's answer to that request, never the other thread's; a link closed or opened
// by one thread while others use or open it stays whole.
#include "tests/portwire/e2e/e2e_fixture.h"

#include <algorithm>
#include <atomic>
#include <functional>
#include <latch>
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

constexpr int kOpeners = 8;

// kOpeners threads call open at the same moment: all get one link, which serves until the last
// of their closes.
void openAtOnceThenCloseEach(LinkKeeper& links, const std::function<LinkHandle()>& open)
{
    std::vector<LinkHandle> got(kOpeners);
    std::latch start(kOpeners);
    std::vector<std::thread> threads;
    for (int t = 0; t < kOpeners; ++t)
        threads.emplace_back([&, t] {
            start.arrive_and_wait();
            got[t] = open();
        });
    for (auto& t : threads)
        t.join();
    for (LinkHandle h : got)
        links.keep(h);
    ASSERT_NE(got[0], 0u) << A_GetLastError();
    ASSERT_EQ(std::count(got.begin(), got.end(), got[0]), kOpeners) << A_GetLastError();
    for (int closes = 0; closes < kOpeners; ++closes) {
        EXPECT_EQ(A_GetControllerID(got[0]), 0x0740) << "after " << closes << " closes";
        links.close(got[0]);
    }
    EXPECT_EQ(A_GetControllerID(got[0]), 0);
    EXPECT_EQ(A_GetLastError(), 0x0100);
}

TEST_F(E2eTcp, ThreadsOpeningOneAddressAtOnceShareOneConnection)
{
    for (int round = 1; round <= 3; ++round) {
        openAtOnceThenCloseEach(links, [&] { return A_OpenNet(kLoopback, server.port()); });
        EXPECT_EQ(server.connectionsAccepted(), round);
    }
}

TEST_F(E2ePtyFast, ThreadsOpeningOnePortAtOnceShareOneLink)
{
    for (int round = 0; round < 3; ++round)
        openAtOnceThenCloseEach(links, [] { return A_Open(kCom); });
}

// Threads keep asking for the controller ID while the main thread closes the link under them:
// each gets the station's answer or a clean failure for an unknown handle.
TEST_F(E2eTcp, CloseWhileOtherThreadsRequest)
{
    station.setFrameLogEnabled(false);
    constexpr int kThreads = 8;
    for (int round = 0; round < 10; ++round) {
        const LinkHandle h = A_OpenNet(kLoopback, server.port());
        ASSERT_NE(h, 0u);
        std::latch running(kThreads + 1);
        std::atomic<int> wrong{0};
        std::vector<std::thread> threads;
        for (int t = 0; t < kThreads; ++t)
            threads.emplace_back([&] {
                std::uint16_t id = A_GetControllerID(h);
                running.count_down();
                for (; id != 0; id = A_GetControllerID(h))
                    wrong += id != 0x0740;
            });
        running.arrive_and_wait();
        A_Close(h);
        for (auto& t : threads)
            t.join();
        EXPECT_EQ(wrong.load(), 0);
        EXPECT_EQ(A_GetControllerID(h), 0);
        EXPECT_EQ(A_GetLastError(), 0x0100);
    }
}

} // namespace
} // namespace e2e
