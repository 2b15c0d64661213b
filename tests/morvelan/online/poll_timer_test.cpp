// The Qt side of the polling: timer 1 ticks with its id, idle notices arrive whenever the event
// loop is about to wait, and the frame counts as in front only while no modal dialog is up.
#include "morvelan/online/poll_timer.h"
#include "tests/xui/xbase_test_support.h"

#include <QDialog>
#include <QEventLoop>
#include <QTimer>

#include <gtest/gtest.h>

namespace morvelan {
namespace {

TEST(PollTimer, TicksIdleNoticesAndTheFrameInFront) {
    xbase_test::app();
    QWidget frame;
    frame.resize(200, 100);
    frame.show();
    frame.activateWindow();
    std::vector<int> ticks;
    int idles = 0;
    CPollTimer timer(&frame, [&](int id) { ticks.push_back(id); }, [&] { ++idles; });
    EXPECT_FALSE(timer.IsRunning());
    timer.Start(1);
    EXPECT_TRUE(timer.IsRunning());
    EXPECT_EQ(timer.IntervalMs(), 1);
    {
        // The event loop runs (and waits) until three ticks came, at most 2 s.
        QEventLoop loop;
        QTimer guard;
        QObject::connect(&guard, &QTimer::timeout, &loop, &QEventLoop::quit);
        guard.start(2000);
        QTimer check;
        QObject::connect(&check, &QTimer::timeout, &loop, [&] {
            if (ticks.size() >= 3)
                loop.quit();
        });
        check.start(1);
        loop.exec();
    }
    timer.Kill();
    EXPECT_FALSE(timer.IsRunning());
    ASSERT_GE(ticks.size(), 3u);
    EXPECT_EQ(ticks[0], 1);
    EXPECT_GT(idles, 0);
    EXPECT_TRUE(timer.FrameInFront());

    // A modal dialog in front: the frame does not receive input, and the loop of the dialog
    // still brings idle notices.
    QDialog dialog(&frame);
    bool frontInDialog = true;
    int idlesInDialog = 0;
    QTimer::singleShot(0, &dialog, [&] {
        frontInDialog = timer.FrameInFront();
        const int before = idles;
        QTimer::singleShot(5, &dialog, [&, before] {
            idlesInDialog = idles - before;
            dialog.reject();
        });
    });
    dialog.exec();
    EXPECT_FALSE(frontInDialog);
    EXPECT_GT(idlesInDialog, 0);

    // A hidden frame is not in front either.
    frame.hide();
    EXPECT_FALSE(timer.FrameInFront());
}

} // namespace
} // namespace morvelan
