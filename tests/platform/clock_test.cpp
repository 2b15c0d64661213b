#include "platform/clock.h"

#include <gtest/gtest.h>

namespace {

TEST(Clock, FakeClockAdvancesOnSleepAndCountsWaits) {
    mv::FakeClock clock;
    const auto start = clock.now();
    clock.sleep(1000);
    clock.sleep(-5);
    clock.advance(20);
    EXPECT_EQ(clock.now() - start, 1020);
    EXPECT_EQ(clock.slept(), 1000);
    EXPECT_EQ(clock.sleeps(), 2);
}

TEST(Clock, ProcessClockCanBeReplacedAndRestored) {
    mv::FakeClock fake;
    mv::setProcessClock(&fake);
    mv::processClock().sleep(500);
    EXPECT_EQ(fake.slept(), 500);
    mv::setProcessClock(nullptr);
    const auto a = mv::processClock().now();
    EXPECT_GE(mv::processClock().now(), a);
}

} // namespace
