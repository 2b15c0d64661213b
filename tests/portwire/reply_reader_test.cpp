// The reply reader and the request lock around fixed requests.
#include <atomic>
#include <thread>

#include <gtest/gtest.h>

#include "fake_transport.h"
#include "portwire/core/request_lock.h"

namespace {

using pwtest::Bytes;
using pwtest::Rig;
using pwtest::reply;

struct PortwireReplyReader : ::testing::Test {
    Rig rig;
    std::shared_ptr<portwire::CPortLink> link;
    void SetUp() override { link = rig.app.FindLink(rig.serial()); ASSERT_NE(link, nullptr); }

    bool read(Bytes* payload) {
        const std::uint8_t* p = nullptr;
        std::size_t n = 0;
        link->Lock().Acquire();  // as a fixed request would have
        const bool ok = link->ReadResponse(&p, &n);
        if (ok)
            payload->assign(p, p + n);
        return ok;
    }
};

TEST_F(PortwireReplyReader, GivesThePayload) {
    rig.com().push(reply({0x14, 0x00, 0x05}));
    Bytes payload;
    ASSERT_TRUE(read(&payload));
    EXPECT_EQ(payload, (Bytes{0x14, 0x00, 0x05}));
    EXPECT_EQ(rig.com().readLens, (std::vector<std::size_t>{4, 4}));
    EXPECT_TRUE(link->Lock().IsFree());
}

TEST_F(PortwireReplyReader, DeviceErrorSetsItsByteWithoutPurging) {
    rig.com().push(reply({0x07, 0x00}, 0x50));
    rig.com().push({0xEE});  // something behind the reply stays
    Bytes payload;
    EXPECT_FALSE(read(&payload));
    EXPECT_EQ(rig.app.GetLastError(), 7);
    EXPECT_EQ(rig.com().purges, 0);
    EXPECT_EQ(rig.com().incoming.size(), 1u);
    EXPECT_TRUE(link->Lock().IsFree());
}

TEST_F(PortwireReplyReader, BadChecksumPurges) {
    Bytes r = reply({0x14, 0x00, 0x05});
    r.back() ^= 0x01;
    rig.com().push(r);
    rig.com().push({0xEE});
    Bytes payload;
    EXPECT_FALSE(read(&payload));
    EXPECT_EQ(rig.app.GetLastError(), 0x0600);
    EXPECT_EQ(rig.com().purges, 1);
    EXPECT_TRUE(rig.com().incoming.empty());
    EXPECT_TRUE(link->Lock().IsFree());
}

TEST_F(PortwireReplyReader, LengthZeroFailsAndKeepsTheLastError) {
    rig.app.SetLastError(0x0042);
    rig.com().push({0, 0, 0x40, 0});
    Bytes payload;
    EXPECT_FALSE(read(&payload));
    EXPECT_EQ(rig.app.GetLastError(), 0x0042);
    EXPECT_EQ(rig.com().purges, 1);
    EXPECT_TRUE(link->Lock().IsFree());
}

TEST_F(PortwireReplyReader, MissingHeaderOrBodyFailsAsShort) {
    rig.com().push({0, 0});
    Bytes payload;
    EXPECT_FALSE(read(&payload));
    EXPECT_EQ(rig.app.GetLastError(), 0x0500);

    rig.com().push({0, 0, 0x40, 5, 1, 2});
    EXPECT_FALSE(read(&payload));
    EXPECT_EQ(rig.app.GetLastError(), 0x0500);
    EXPECT_TRUE(link->Lock().IsFree());
}

TEST_F(PortwireReplyReader, FailedReadCallIsATransferError) {
    rig.com().readResults.push_back(pwtest::IoResult::Failed);
    Bytes payload;
    EXPECT_FALSE(read(&payload));
    EXPECT_EQ(rig.app.GetLastError(), 0x0300);
}

TEST_F(PortwireReplyReader, MaximalReplyFits) {
    Bytes data(255);
    for (std::size_t i = 0; i < data.size(); ++i)
        data[i] = static_cast<std::uint8_t>(i);
    rig.com().push(reply(data));
    Bytes payload;
    ASSERT_TRUE(read(&payload));
    EXPECT_EQ(payload, data);
}

TEST_F(PortwireReplyReader, FailedRequestWriteFreesTheLock) {
    rig.com().writeResults.push_back(pwtest::IoResult::Failed);
    EXPECT_FALSE(link->SendRequest(0x40, 20));
    EXPECT_TRUE(link->Lock().IsFree());
    EXPECT_EQ(rig.app.GetLastError(), 0x0300);
}

TEST(PortwireRequestLock, ReleaseWhileFreeDoesNothing) {
    portwire::CRequestLock lock;
    lock.Release();
    lock.Release();
    lock.Acquire();
    EXPECT_FALSE(lock.IsFree());
    lock.Release();
    EXPECT_TRUE(lock.IsFree());
}

TEST(PortwireRequestLock, SecondRequestWaitsForTheFirstReply) {
    portwire::CRequestLock lock;
    lock.Acquire();
    std::atomic<bool> taken{false};
    std::thread second([&] {
        lock.Acquire();
        taken = true;
    });
    lock.Release();
    second.join();
    EXPECT_TRUE(taken);
    EXPECT_FALSE(lock.IsFree());
}

} // namespace
