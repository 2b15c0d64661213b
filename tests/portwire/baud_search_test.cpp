// Opening serial links: the baud search with its status lines and pauses, fixed-baud opens.
#include <gtest/gtest.h>

#include "fake_transport.h"

namespace {

using pwtest::Bytes;
using pwtest::reply;
using pwtest::Rig;
using Lines = std::vector<std::string>;

const Bytes kIds = reply({0x0B, 0x00, 0x34, 0x12, 0x78, 0x56, 0x00, 0x00});

struct PortwireBaudSearch : ::testing::Test {
    Rig rig;
    pwtest::StatusRecorder status;
    void SetUp() override { rig.app.SetStatusSink(&status); }
    std::vector<int> pausesOf(int ms) const {
        std::vector<int> out;
        for (int p : rig.clock.pauses)
            if (p == ms)
                out.push_back(p);
        return out;
    }
};

TEST_F(PortwireBaudSearch, PeerAt9600IsFoundAtTheThirdAttempt) {
    rig.com(1).answers[11] = kIds;
    rig.com(1).answerBaud = 9600;
    const auto h = rig.app.Open(1);
    ASSERT_NE(h, 0u);
    EXPECT_EQ(status.lines, (Lines{"Open", "COM1", "Trying Baudrate 115200", "Read ID", "FAIL",
                                   "Trying Baudrate 38400", "Read ID", "FAIL", "Trying Baudrate 9600",
                                   "Read ID", "OK"}));
    EXPECT_EQ(pausesOf(1000).size(), 2u);
    EXPECT_EQ(pausesOf(250).size(), status.lines.size());
    auto link = rig.app.FindLink(h);
    EXPECT_EQ(link->Timeout(), 1000);
    EXPECT_EQ(rig.com(1).baud, 9600);
    EXPECT_EQ(rig.com(1).timeouts.readInterval, 1000);
    EXPECT_EQ(link->ModuleCount(), 2);
    EXPECT_EQ(link->ModuleId(0), 0x1234);
    EXPECT_EQ(rig.app.GetLastError(), 0);
    // The failed attempts discarded what they had received.
    EXPECT_GE(rig.com(1).purges, 2);
}

TEST_F(PortwireBaudSearch, FastPeerKeepsTheShortTimeout) {
    rig.com(2).answers[11] = kIds;
    const auto h = rig.app.Open(2);
    ASSERT_NE(h, 0u);
    EXPECT_EQ(rig.app.FindLink(h)->Timeout(), 100);
    EXPECT_EQ(rig.com(2).baud, 115200);
    EXPECT_TRUE(pausesOf(1000).empty());
}

TEST_F(PortwireBaudSearch, MissingPortEndsAtOnce) {
    rig.app.SetLastError(0);
    EXPECT_EQ(rig.app.Open(7), 0u);
    EXPECT_EQ(status.lines, (Lines{"Open", "COM7", "Error: INVALID_HANDLE"}));
    EXPECT_EQ(rig.app.GetLastError(), 0x0200);
    EXPECT_EQ(rig.transports.serialOpens, 1);
    EXPECT_TRUE(pausesOf(1000).empty());
    EXPECT_EQ(rig.app.LinkCount(), 0u);
}

TEST_F(PortwireBaudSearch, SilentPeerFailsAfterFourAttempts) {
    rig.com(1);
    EXPECT_EQ(rig.app.Open(1), 0u);
    EXPECT_EQ(rig.app.GetLastError(), 0x0300);
    EXPECT_EQ(std::count(status.lines.begin(), status.lines.end(), "FAIL"), 4);
    EXPECT_EQ(status.lines[status.lines.size() - 3], "Trying Baudrate 2400");
    // Every failed attempt is followed by its pause, the last one too.
    EXPECT_EQ(pausesOf(1000).size(), 4u);
    EXPECT_EQ(rig.clock.pauses.back(), 1000);
    EXPECT_EQ(rig.app.LinkCount(), 0u);
}

TEST(PortwireBaudSearchOrder, PauseFollowsEachFailBeforeTheNextRate) {
    // Each line is recorded with the number of 1000 ms pauses taken before it.
    struct Timeline final : portwire::IStatusSink {
        const pwtest::RecordingClock* clock = nullptr;
        Lines lines;
        void AddLine(const char* line) override {
            const auto n = std::count(clock->pauses.begin(), clock->pauses.end(), 1000);
            lines.push_back(std::string(line) + "@" + std::to_string(n));
        }
    };
    Rig rig;
    Timeline timeline;
    timeline.clock = &rig.clock;
    rig.app.SetStatusSink(&timeline);
    rig.com(1).answers[11] = kIds;
    rig.com(1).answerBaud = 9600;
    ASSERT_NE(rig.app.Open(1), 0u);
    EXPECT_EQ(timeline.lines, (Lines{"Open@0", "COM1@0", "Trying Baudrate 115200@0", "Read ID@0", "FAIL@0",
                                     "Trying Baudrate 38400@1", "Read ID@1", "FAIL@1",
                                     "Trying Baudrate 9600@2", "Read ID@2", "OK@2"}));
    // The port is closed and opened again for every attempt.
    EXPECT_EQ(rig.transports.serialOpens, 3);
}

TEST_F(PortwireBaudSearch, RefusedSettingsFailWithPortError) {
    rig.com(1).failApplyState = true;
    EXPECT_EQ(rig.app.Open(1), 0u);
    EXPECT_EQ(rig.app.GetLastError(), 0x0200);
    rig.com(1).failApplyState = false;
    rig.com(1).failReadState = true;
    EXPECT_EQ(rig.app.OpenCom(1, 9600), 0u);
    EXPECT_EQ(rig.app.GetLastError(), 0x0200);
}

TEST(PortwireStatusLines, DroppedWithoutWindowAndNoPauses) {
    Rig rig;
    rig.com(1).answers[11] = kIds;
    rig.com(1).answerBaud = 38400;
    ASSERT_NE(rig.app.Open(1), 0u);
    EXPECT_EQ(rig.clock.pauses, (std::vector<int>{1000}));
}

TEST(PortwireStatusLines, Open2ShowsTheWindowOnlyWhileSearching) {
    struct Window final : portwire::IStatusSink {
        Lines* out;
        explicit Window(Lines* o) : out(o) {}
        void AddLine(const char* line) override { out->emplace_back(line); }
    };
    Rig rig;
    rig.com(1).answers[11] = kIds;
    Lines shown;
    int made = 0;
    rig.app.SetStatusWindowFactory([&]() -> std::unique_ptr<portwire::IStatusSink> {
        ++made;
        return std::make_unique<Window>(&shown);
    });
    ASSERT_NE(rig.app.Open2(1), 0u);
    EXPECT_EQ(made, 1);
    EXPECT_EQ(shown, (Lines{"Open", "COM1", "Trying Baudrate 115200", "Read ID", "OK"}));
    EXPECT_EQ(rig.app.StatusSink(), nullptr);
    EXPECT_EQ(rig.clock.pauses, (std::vector<int>(5, 250)));
}

TEST(PortwireStatusLines, Open2WithoutWindowSkipsThePauses) {
    Rig rig;
    rig.com(1).answers[11] = kIds;
    rig.app.SetStatusWindowFactory([] { return std::unique_ptr<portwire::IStatusSink>(); });
    ASSERT_NE(rig.app.Open2(1), 0u);
    EXPECT_TRUE(rig.clock.pauses.empty());
}

TEST(PortwireFixedBaud, OpenComSetsTheBaudAndDefaultTimeouts) {
    Rig rig;
    rig.com(3);
    rig.app.SetLastError(0x0600);
    const auto h = rig.app.OpenCom(3, 19200);
    ASSERT_NE(h, 0u);
    EXPECT_EQ(rig.com(3).baud, 19200);
    EXPECT_EQ(rig.com(3).timeouts.readInterval, 1000);
    EXPECT_EQ(rig.com(3).timeouts.readTotalConstant, 1000);
    EXPECT_EQ(rig.com(3).timeouts.writeTotalMultiplier, 1);
    EXPECT_EQ(rig.app.GetLastError(), 0);
    EXPECT_TRUE(rig.com(3).writes.empty());  // no Read ID

    rig.com(4);
    EXPECT_NE(rig.app.OpenNoReadID(4), 0u);
    EXPECT_EQ(rig.com(4).baud, 115200);
}

TEST(PortwireFixedBaud, SameComTwiceSharesTheLink) {
    Rig rig;
    rig.com(3);
    const auto a = rig.app.OpenCom(3, 9600);
    const auto b = rig.app.Open(3);  // found, nothing opened
    EXPECT_EQ(a, b);
    EXPECT_EQ(rig.transports.serialOpens, 1);
    rig.app.Close(a);
    EXPECT_EQ(rig.app.LinkCount(), 1u);
    rig.app.Close(a);
    EXPECT_EQ(rig.app.LinkCount(), 0u);
    EXPECT_EQ(rig.app.FindLink(a), nullptr);
}

} // namespace
