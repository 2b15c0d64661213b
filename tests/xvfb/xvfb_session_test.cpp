// The X server support itself: a window painted before the GUI thread blocks is what a grab from
// another thread sees, and a window that never got to paint is told apart from one that did.
#include <QApplication>
#include <QPainter>
#include <QTest>
#include <QWidget>
#include <future>
#include <gtest/gtest.h>
#include <thread>

#include "tests/xvfb/x_grab.h"
#include "tests/xvfb/xvfb_session.h"

namespace {

class Filled : public QWidget {
public:
    explicit Filled(QColor c) : colour_(c) {}

protected:
    void paintEvent(QPaintEvent*) override {
        QPainter p(this);
        p.fillRect(rect(), colour_);
    }

private:
    QColor colour_;
};

QApplication& app() {
    static int argc = 1;
    static char name[] = "xvfb_session_test";
    static char* argv[] = {name, nullptr};
    static auto* a = new QApplication(argc, argv);
    return *a;
}

TEST(XvfbSession, GrabFromAnotherThreadWhileTheGuiThreadBlocks) {
    MV_REQUIRE_XVFB();
    app();
    ASSERT_EQ(QGuiApplication::platformName(), "xcb");

    Filled w(QColor(200, 30, 40));
    w.setWindowTitle("xvfb grab probe");
    w.resize(120, 80);
    w.show();
    ASSERT_TRUE(QTest::qWaitForWindowExposed(&w));
    QApplication::processEvents();
    QApplication::sync();

    // The GUI thread now blocks (as in a long search); only the other thread looks.
    std::promise<QImage> grabbed;
    std::thread looker([&] {
        uint32_t id = mvtest::WaitForXWindow("xvfb grab probe", 5000);
        grabbed.set_value(mvtest::GrabXWindow(id));
    });
    QImage img = grabbed.get_future().get();
    looker.join();

    ASSERT_FALSE(img.isNull());
    EXPECT_EQ(img.size(), QSize(120, 80));
    EXPECT_EQ(QColor(img.pixel(60, 40)), QColor(200, 30, 40));
    EXPECT_EQ(mvtest::FindXWindowByTitle("no such window"), 0u);
    EXPECT_TRUE(mvtest::GrabXWindow(0).isNull());
}

}  // namespace
