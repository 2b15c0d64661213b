// The polling state tick by tick on a fake clock: the interval's growth while the user
// interface never idles, its freezing after a window with idle time, ticks with a dialog in
// front, paused ticks, going offline and foreign timer ids.
#include "morvelan/online/poll_scheduler.h"

#include <gtest/gtest.h>

#include <vector>

namespace morvelan {
namespace {

struct Step {
    int timer;
    bool online;
    bool front;
    int idleNotices;
    TickAction action;
    bool restart;
    int interval;
};

class PollSchedulerTest : public ::testing::Test {
protected:
    // Runs steps at the current interval's pace; each idle notice comes half way to the next tick.
    void Run(const std::vector<Step>& steps) {
        int n = 0;
        for (const Step& s : steps) {
            ++n;
            const TickResult r = scheduler.Tick(s.timer, s.online, s.front);
            EXPECT_EQ(r.action, s.action) << "step " << n;
            EXPECT_EQ(r.restart, s.restart) << "step " << n;
            EXPECT_EQ(scheduler.Interval(), s.interval) << "step " << n;
            if (r.restart) {
                EXPECT_EQ(r.interval, s.interval) << "step " << n;
            }
            clock.advance(scheduler.Interval() / 2);
            for (int i = 0; i < s.idleNotices; ++i)
                scheduler.IdleNotice();
            clock.advance(scheduler.Interval() - scheduler.Interval() / 2);
        }
    }

    mv::FakeClock clock;
    CPollScheduler scheduler{clock};
};

constexpr auto Poll = TickAction::Poll;
constexpr auto Pass = TickAction::PassOn;
constexpr auto Stop = TickAction::StopAndClose;

TEST_F(PollSchedulerTest, IntervalGrowsEveryFifthTickWhileNeverIdle) {
    EXPECT_EQ(scheduler.Start(10), 10);
    std::vector<Step> steps;
    int interval = 10;
    for (int tick = 1; tick <= 15; ++tick) {
        const bool grows = tick % 5 == 0;
        if (grows)
            interval += 50;
        steps.push_back({1, true, true, 0, Poll, grows, interval});
    }
    Run(steps);
    // 60 ms at tick 5, 110 at tick 10, 160 at tick 15.
    EXPECT_EQ(scheduler.Interval(), 160);
    EXPECT_EQ(scheduler.IdleProbeState(), kProbeOpen);
}

TEST_F(PollSchedulerTest, WindowWithIdleTimeFreezesTheIntervalUntilTheNextStart) {
    scheduler.Start(10);
    std::vector<Step> steps;
    for (int tick = 1; tick <= 5; ++tick)
        steps.push_back({1, true, true, 0, Poll, tick == 5, tick == 5 ? 60 : 10});
    // The next window sees idle time: frozen from then on, however busy.
    steps.push_back({1, true, true, 1, Poll, false, 60});
    for (int tick = 0; tick < 20; ++tick)
        steps.push_back({1, true, true, 0, Poll, false, 60});
    Run(steps);
    EXPECT_EQ(scheduler.IdleProbeState(), kProbeRunning);
    EXPECT_EQ(scheduler.TickCounter(), 0);
    EXPECT_EQ(scheduler.ProbeCounter(), 0);
    // Going online again starts afresh.
    scheduler.ResetIdleProbe();
    scheduler.Start(10);
    Run({{1, true, true, 0, Poll, false, 10}, {1, true, true, 0, Poll, false, 10},
         {1, true, true, 0, Poll, false, 10}, {1, true, true, 0, Poll, false, 10},
         {1, true, true, 0, Poll, true, 60}});
}

TEST_F(PollSchedulerTest, IdleNoticesWhileTheTickIsOverdueDoNotCount) {
    scheduler.Start(10);
    scheduler.Tick(1, true, true); // window opens
    clock.advance(10);             // the next tick is due: the loop only waits for it
    scheduler.IdleNotice();
    EXPECT_EQ(scheduler.ProbeCounter(), 1);
    clock.advance(25);
    scheduler.IdleNotice();
    EXPECT_EQ(scheduler.ProbeCounter(), 1);
    for (int i = 0; i < 4; ++i)
        scheduler.Tick(1, true, true);
    EXPECT_EQ(scheduler.Interval(), 60);
}

TEST_F(PollSchedulerTest, DialogInFrontPausesTheAdaptationButNotThePolling) {
    scheduler.Start(10);
    std::vector<Step> steps;
    for (int tick = 0; tick < 3; ++tick)
        steps.push_back({1, true, true, 0, Poll, false, 10});
    for (int tick = 0; tick < 12; ++tick)
        steps.push_back({1, true, false, 0, Poll, false, 10});
    steps.push_back({1, true, true, 0, Poll, false, 10});
    steps.push_back({1, true, true, 0, Poll, true, 60});
    Run(steps);
}

TEST_F(PollSchedulerTest, PausedTicksDoNothingAndKeepTheInterval) {
    scheduler.Start(10);
    Run({{1, true, true, 0, Poll, false, 10}});
    scheduler.Pause();
    EXPECT_FALSE(scheduler.IsEnabled());
    // While paused even going offline waits: the link stays open until polling resumes.
    Run({{1, true, true, 0, Pass, false, 10}, {1, false, true, 0, Pass, false, 10},
         {7, true, true, 0, Pass, false, 10}});
    EXPECT_EQ(scheduler.TickCounter(), 4);
    scheduler.Resume();
    Run({{1, true, true, 0, Poll, false, 10}, {1, true, true, 0, Poll, false, 10},
         {1, true, true, 0, Poll, false, 10}, {1, true, true, 0, Poll, true, 60}});
}

TEST_F(PollSchedulerTest, OfflineFlagEndsPollingAtTheNextTickWhateverItsId) {
    scheduler.Start(10);
    Run({{3, false, true, 0, Stop, false, 10}});
    EXPECT_FALSE(scheduler.IsEnabled());
    Run({{1, false, true, 0, Pass, false, 10}, {1, true, true, 0, Pass, false, 10}});
}

TEST_F(PollSchedulerTest, OtherTimerIdsArePassedOnUntouched) {
    scheduler.Start(10);
    Run({{10, true, true, 0, Pass, false, 10}, {2, true, true, 0, Pass, false, 10}});
    EXPECT_EQ(scheduler.IdleProbeState(), kProbeOpen);
    EXPECT_EQ(scheduler.TickCounter(), 0);
    // Not started: ticks are ignored.
    CPollScheduler idle(clock);
    EXPECT_EQ(idle.Tick(1, true, true).action, TickAction::PassOn);
    idle.Stop();
    EXPECT_FALSE(idle.IsEnabled());
}

} // namespace
} // namespace morvelan
