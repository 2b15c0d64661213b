// The transfer status window on a real X server (a private Xvfb): an upload to pyftpdlib blocks
// the thread, yet every line the window is given reaches the screen before the work goes on.
#include "panel/ftp/ftp_client.h"
#include "panel/ftpdlg/ftp_dlg_ids.h"
#include "panel/ftpdlg/ftp_small_dlgs.h"
#include "tests/ftp/ftp_peer.h"
#include "tests/xvfb/x_grab.h"
#include "tests/xvfb/xvfb_session.h"
#include "xui/qt_text.h"
#include "xui/window_class.h"

#include <QApplication>

#include <gtest/gtest.h>

#include <filesystem>
#include <map>

namespace {

QApplication& App() {
    static int argc = 1;
    static char name[] = "ftp_status_paint_test";
    static char* argv[] = {name, nullptr};
    static QApplication* app = new QApplication(argc, argv);
    return *app;
}

// Counts the paint events of every widget of the program.
struct PaintCounter : QObject {
    PaintCounter() { qApp->installEventFilter(this); }
    ~PaintCounter() override { qApp->removeEventFilter(this); }
    bool eventFilter(QObject* receiver, QEvent* event) override {
        if (event->type() == QEvent::Paint)
            ++paints[receiver];
        return false;
    }
    std::map<QObject*, int> paints;
};

// What the screen showed at one of the upload's pauses.
struct Step {
    std::string line1;
    std::string line2;
    int paints = 0;       // of line 2 since the pause before
    bool sameAsFresh = false; // the server's pixels equal a fresh paint of the window
};

// The upload's clock: each pause looks at the status window as the X server holds it.
class LookingClock final : public mv::Clock {
public:
    explicit LookingClock(const ftpdlg::StatusWindow& status) : status_(status) {}
    mv::MonoMs now() const override { return now_; }
    void sleep(int ms) override {
        now_ += ms;
        ftpdlg::CFtpStatusDlg* window = status_.Window();
        if (window == nullptr || !window->isVisible())
            return;
        QWidget* line2 = window->item(ftpdlg::kStatusLine2);
        Step step;
        step.line1 = xui::toCp1252(xui::windowText(window->item(ftpdlg::kStatusLine1)));
        step.line2 = xui::toCp1252(xui::windowText(line2));
        step.paints = counter_.paints[line2] - seen_;
        seen_ = counter_.paints[line2];
        const QImage screen = mvtest::GrabXWindow(static_cast<uint32_t>(window->winId()));
        const QImage fresh = window->grab().toImage();
        step.sameAsFresh = !screen.isNull() && screen.size() == fresh.size() &&
                           screen.convertToFormat(QImage::Format_RGB32) ==
                               fresh.convertToFormat(QImage::Format_RGB32);
        steps.push_back(step);
    }
    std::vector<Step> steps;

private:
    const ftpdlg::StatusWindow& status_;
    mv::MonoMs now_ = 1000000;
    PaintCounter counter_;
    int seen_ = 0;
};

} // namespace

TEST(FtpStatusPaint, EveryCountdownStepOfAnUploadIsOnTheScreen) {
    MV_REQUIRE_XVFB();
    App();
    ASSERT_EQ(QGuiApplication::platformName(), "xcb");
    ftptest::TempFolder folder;
    ftptest::PyFtpdOptions options;
    options.root = folder.Path() + "/root";
    std::filesystem::create_directories(options.root);
    ftptest::PyFtpd server(options);
    ASSERT_TRUE(server.Running()) << server.Error();
    const std::string local = folder.Path() + "/up.bin";
    ftptest::WriteWholeFile(local, std::string(5000, 'u'));

    ftpdlg::StatusWindow status(nullptr);
    LookingClock clock(status);
    ftp::CFtpClient client;
    client.SetStatus(&status);
    client.SetClock(&clock);
    client.SetTimeout(5000);
    ASSERT_TRUE(client.Connect("127.0.0.1", "user", "password", server.Port()));
    ASSERT_TRUE(client.PutFile(local, "up.bin"));
    EXPECT_EQ(ftptest::ReadWholeFile(options.root + "/up.bin"), std::string(5000, 'u'));

    ASSERT_EQ(clock.steps.size(), 5u);
    std::string countdown = " ";
    for (int i = 0; i < 5; ++i) {
        countdown += " " + std::to_string(i) + " ";
        const Step& step = clock.steps[static_cast<std::size_t>(i)];
        EXPECT_EQ(step.line1, "Wait") << i;
        EXPECT_EQ(step.line2, countdown) << i;
        EXPECT_GE(step.paints, 1) << i;
        EXPECT_TRUE(step.sameAsFresh) << "step " << i << " is not on the screen";
    }
    EXPECT_EQ(status.Window(), nullptr);
}
