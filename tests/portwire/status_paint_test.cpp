// The "Status" window of A_Open2 on a real X server: while the baud search blocks the GUI
// thread against a pseudo-terminal that never answers, another thread grabs the window from the
// server, and its lines are drawn there as a fresh paint of the same lines draws them.
#include "portwire/status/status_dlg.h"

#include <QApplication>
#include <QImage>

#include <gtest/gtest.h>

#include <atomic>
#include <cstdlib>
#include <fcntl.h>
#include <stdlib.h>
#include <string>
#include <thread>
#include <unistd.h>
#include <vector>

#include "platform/clock.h"
#include "portwire/include/Portwire.h"
#include "tests/xvfb/x_grab.h"
#include "tests/xvfb/xvfb_session.h"

namespace {

constexpr int kCom = 7;

QImage Rgb(const QImage& image) { return image.convertToFormat(QImage::Format_RGB32); }

TEST(PortwireStatusWindow, LinesReachTheScreenWhileTheSearchBlocks) {
    MV_REQUIRE_XVFB();
    int argc = 1;
    char name[] = "status_paint";
    char* argv[] = {name, nullptr};
    QApplication qapp(argc, argv);

    // A pseudo-terminal whose other end never answers.
    const int master = ::posix_openpt(O_RDWR | O_NOCTTY);
    ASSERT_GE(master, 0);
    ASSERT_EQ(::grantpt(master), 0);
    ASSERT_EQ(::unlockpt(master), 0);
    ::setenv(("PORTWIRE_COM" + std::to_string(kCom)).c_str(), ::ptsname(master), 1);

    // The lines of the whole search, and a fresh paint of each count of them.
    std::vector<std::string> lines = {"Open", "COM7"};
    for (int baud : {115200, 38400, 9600, 2400}) {
        lines.insert(lines.end(), {"Trying Baudrate " + std::to_string(baud), "Read ID"});
        if (baud != 2400)
            lines.push_back("FAIL");
    }
    std::vector<QImage> fresh;
    for (std::size_t n = 1; n <= lines.size(); ++n) {
        portwire::CStatusDlg dlg;
        for (std::size_t i = 0; i < n; ++i)
            dlg.AddLine(lines[i].c_str());
        fresh.push_back(Rgb(dlg.grab().toImage()));
    }

    // The pauses between lines take no time; the reads wait for real (4.1 s in all).
    mv::FakeClock clock;
    mv::setProcessClock(&clock);
    std::atomic<bool> searching{true};
    std::size_t mostLinesSeen = 0;
    std::thread looker([&] {
        const std::uint32_t id = mvtest::WaitForXWindow("Status", 5000);
        while (id != 0 && searching) {
            const QImage shown = Rgb(mvtest::GrabXWindow(id));
            for (std::size_t n = fresh.size(); n > mostLinesSeen; --n) {
                if (shown == fresh[n - 1]) {
                    mostLinesSeen = n;
                    break;
                }
            }
        }
    });
    EXPECT_EQ(A_Open2(kCom), 0u);
    searching = false;
    looker.join();
    mv::setProcessClock(nullptr);
    ::unsetenv(("PORTWIRE_COM" + std::to_string(kCom)).c_str());
    ::close(master);

    EXPECT_EQ(A_GetLastError(), 0x0300);
    // The last attempt's 2 s read shows every line but its "FAIL".
    EXPECT_EQ(mostLinesSeen, lines.size());
}

} // namespace
