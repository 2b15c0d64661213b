// The Check window offscreen: its run without an address, its lines and status, and where the
// list box draws a line's label and value.
#include "flash/check_dlg.h"
#include "flash/loader/console_out.h"
#include "flash/loader/flash_app.h"
#include "flash/loader/ip_files.h"
#include "platform/clock.h"
#include "platform/recording_canvas.h"
#include "platform/sys_colors.h"
#include "tests/flash/loader/net_namespace.h"
#include "tests/flash/loader/run_program.h"
#include "tests/ftp/ftp_peer.h"
#include "tests/sim/boot_loader.h"
#include "tests/sim/service_controller.h"
#include "tests/sim/station.h"
#include "tests/sim/tcp_station_server.h"
#include "tests/test_paths.h"
#include "xui/colorref.h"
#include "xui/font_map.h"

#include <QApplication>
#include <QElapsedTimer>
#include <QImage>
#include <QLabel>
#include <QTest>

#include <gtest/gtest.h>

#include <algorithm>
#include <memory>
#include <set>
#include <unistd.h>

namespace {

// The Qt application, a clock that does not wait, the console captured and the loader's
// application object, for one test.
struct CheckWindowRun {
    CheckWindowRun() : qapp(argc, argv) {
        mv::setProcessClock(&clock);
        flash::ConsoleOut().CaptureTo(&console, false);
    }
    ~CheckWindowRun() {
        flash::ConsoleOut().CaptureTo(nullptr, false);
        mv::setProcessClock(nullptr);
    }
    static inline int argc = 1;
    static inline char name[] = "flash_gui_test";
    static inline char* argv[] = {name, nullptr};
    QApplication qapp;
    mv::FakeClock clock;
    std::string console;
    flash::CX740FlashApp app;
};

TEST(FlashCheckWindow, RunsWithoutAddressAndDrawsLabelAndValue) {
    CheckWindowRun run;
    flash::CX740FlashApp& app = run.app;
    flash::CCheckDlg dlg(app);
    EXPECT_EQ(dlg.windowTitle(), "Check");
    flash::RunCheck(app, "", dlg);
    ASSERT_EQ(dlg.List()->count(), 1);
    EXPECT_EQ(dlg.List()->item(0)->text(), "END");
    EXPECT_EQ(dlg.Status()->text(), "END");
    dlg.AddLine("Serialnumber:\tSN1");
    EXPECT_EQ(dlg.List()->currentRow(), 1);

    mv::RecordingCanvas canvas;
    flash::CCheckListBox::DrawItem(canvas, mv::RECT{10, 20, 210, 34}, "Version\t2.1", true, true);
    const auto fills = canvas.callsOf(mv::DrawOp::FillRect);
    ASSERT_EQ(fills.size(), 1u);
    EXPECT_EQ(fills[0].color, mv::GetSysColor(mv::COLOR_HIGHLIGHT));
    EXPECT_EQ(canvas.callsOf(mv::DrawOp::FocusRect).size(), 1u);
    const auto texts = canvas.callsOf(mv::DrawOp::TextOut);
    ASSERT_EQ(texts.size(), 2u);
    EXPECT_EQ(texts[0].text, "Version");
    EXPECT_EQ(texts[0].from.x, 15);
    EXPECT_EQ(texts[0].from.y, 21);
    EXPECT_EQ(texts[1].text, "2.1");
    EXPECT_EQ(texts[1].from.x, 160);
    EXPECT_EQ(texts[1].state.textAlign & mv::TA_RIGHT, mv::TA_RIGHT);
}

} // namespace

namespace {

constexpr const char* kLoopback = "127.0.0.1";

// The real dialog, with the order of its status texts kept for the test.
class RecordingCheckDlg final : public flash::CCheckDlg {
public:
    using CCheckDlg::CCheckDlg;
    void SetStatus(const std::string& text) override {
        statuses.push_back(text);
        CCheckDlg::SetStatus(text);
    }
    std::vector<std::string> Lines() const {
        std::vector<std::string> lines;
        for (int i = 0; i < List()->count(); ++i) {
            lines.push_back(List()->item(i)->text().toStdString());
        }
        return lines;
    }
    std::vector<std::string> statuses;
};

// Columns of a row of the image that are not the fill colour (text, focus dots).
std::vector<int> InkColumns(const QImage& image, const QRect& row, QRgb fill) {
    std::vector<int> columns;
    for (int x = row.left(); x <= row.right(); ++x) {
        for (int y = row.top() + 1; y < row.bottom(); ++y) {
            if (image.pixel(x, y) != fill) {
                columns.push_back(x);
                break;
            }
        }
    }
    return columns;
}

QRgb Rgb(int sysColor) {
    return xui::toQColor(mv::GetSysColor(sysColor)).rgb();
}

bool HasPixel(const QImage& image, const QRect& row, QRgb color) {
    for (int y = row.top(); y <= row.bottom(); ++y) {
        for (int x = row.left(); x <= row.right(); ++x) {
            if (image.pixel(x, y) == color) {
                return true;
            }
        }
    }
    return false;
}

// Each row as the list box draws it: 14 pixels high, filled, the label from left + 5, the
// value right-aligned to left + 150, the text from top + 1; the focus rectangle on the
// current (last, selected) row.
void ExpectDrawnRows(const flash::CCheckListBox& list) {
    const QImage image = list.viewport()->grab().toImage();
    const int last = list.count() - 1;
    for (int i = 0; i <= last; ++i) {
        SCOPED_TRACE(list.item(i)->text().toStdString());
        const QRect r = list.visualItemRect(list.item(i));
        EXPECT_EQ(r.height(), flash::CCheckListBox::kItemHeight);
        EXPECT_EQ(r.top(), i * flash::CCheckListBox::kItemHeight);
        const bool current = i == last;
        const QRgb fill = Rgb(current ? mv::COLOR_HIGHLIGHT : mv::COLOR_WINDOW);
        EXPECT_EQ(image.pixel(r.left() + 2, r.top() + 7), fill);
        EXPECT_TRUE(
            HasPixel(image, r, Rgb(current ? mv::COLOR_HIGHLIGHTTEXT : mv::COLOR_MENUTEXT)));
        // Inside the focus rectangle's edges.
        const QRect inner = r.adjusted(1, 0, -1, 0);
        const std::vector<int> ink = InkColumns(image, inner, fill);
        ASSERT_FALSE(ink.empty());
        EXPECT_GE(ink.front(), r.left() + flash::CCheckListBox::kLabelX);
        EXPECT_LE(ink.front(), r.left() + flash::CCheckListBox::kLabelX + 2);
        EXPECT_LT(ink.back(), r.left() + flash::CCheckListBox::kValueX);
        if (list.item(i)->text().contains('\t')) {
            EXPECT_GE(ink.back(), r.left() + flash::CCheckListBox::kValueX - 3);
        }
        // Nothing drawn on the top line but the focus dots.
        std::vector<int> topInk;
        for (int x = r.left(); x <= r.right(); ++x) {
            if (image.pixel(x, r.top()) != fill) {
                topInk.push_back(x);
            }
        }
        EXPECT_EQ(topInk.empty(), !current) << topInk.size();
    }
}

TEST(FlashCheckWindow, ChecksTheControllerInANetworkNamespace) {
    if (!flashtest::InOwnNetworkNamespace()) {
        flashtest::RunCurrentTestInNamespace();
        return;
    }
    std::string error;
    ASSERT_TRUE(flashtest::SetLoopbackUp(true, error)) << error;
    flashtest::ScratchFolder folder;
    ASSERT_EQ(::chdir(folder.path().c_str()), 0);

    // The controller at its service port, its FTP server at port 21.
    x740sim::Station station;
    x740sim::ServiceController services{station};
    station.setServiceHandler(&services);
    ASSERT_TRUE(x740sim::applyFirmware(station, "2.1"));
    x740sim::ServiceRecord config(x740sim::RecordKind::ModulConfig);
    config.setText("serial", "SN400123");
    config.setText("ip", kLoopback);
    services.putRecord(config);
    x740sim::TcpStationServer tcp{station};
    ASSERT_TRUE(tcp.start(0x7F000001u, flash::kModuleTcpPort, &error)) << error;
    ftptest::TempFolder ftpRoot;
    ftptest::WriteWholeFile(ftpRoot.Path() + "/User3.BIN", "12345");
    ftptest::WriteWholeFile(ftpRoot.Path() + "/FTPSERV.BIN", "FTPSERVER");
    ftptest::PyFtpdOptions options;
    options.port = flash::kFtpPort;
    options.root = ftpRoot.Path();
    options.users = {{"update", "vorpal"}};
    options.transcript = folder.file("transcript.txt");
    auto ftpd = std::make_unique<ftptest::PyFtpd>(options);
    ASSERT_TRUE(ftpd->Running()) << ftpd->Error();
    // A configuration kept from an earlier update stays where it is.
    const flash::ModulConfig kept{"KEPT", "1.2.3.4", "255.0.0.0", "0.0.0.0", 0};
    ASSERT_TRUE(flash::WriteModulConfigFile(kept));

    CheckWindowRun run;
    flash::CX740FlashApp& app = run.app;
    const std::string& console = run.console;
    app.m_Ipd = kLoopback;

    // The dialog as the program shows it: the check starts a second after it is shown.
    RecordingCheckDlg dlg(app);
    dlg.m_Address = app.m_Ipd;
    EXPECT_EQ(dlg.windowTitle(), "Check");
    EXPECT_EQ(dlg.Item(flash::CCheckDlg::kListId), dlg.List());
    EXPECT_EQ(dlg.Item(flash::CCheckDlg::kStatusId), dlg.Status());
    EXPECT_EQ(xui::controlFont(dlg.List()).face, "MS Sans Serif");
    QElapsedTimer shown;
    shown.start();
    dlg.show();
    QApplication::setActiveWindow(&dlg);
    dlg.List()->setFocus();
    QCoreApplication::processEvents();
    EXPECT_EQ(dlg.List()->count(), 0);
    ASSERT_TRUE(QTest::qWaitFor([&] { return dlg.Status()->text() == "END"; }, 5000));
    EXPECT_GE(shown.elapsed(), 900);

    const std::vector<std::string> lines = dlg.Lines();
    ASSERT_EQ(lines.size(), 7u) << console;
    EXPECT_EQ(lines[0], "Firmware\tX740 FIRMWARE");
    EXPECT_EQ(lines[1], "Date:\t05.07.2005");
    EXPECT_EQ(lines[2], "Version\t2.1");
    EXPECT_EQ(lines[3], "Serialnumber:\tSN400123");
    EXPECT_EQ(std::set<std::string>(lines.begin() + 4, lines.begin() + 6),
              (std::set<std::string>{"user3.bin\t5", "ftpserv.bin\t9"}));
    EXPECT_EQ(lines[6], "END");
    EXPECT_EQ(dlg.List()->currentRow(), 6);
    EXPECT_EQ(dlg.statuses,
              (std::vector<std::string>{"Connecting to: 127.0.0.1 ", "Checking firmware version",
                                        "Reading modul-configuration", "Starting FTP",
                                        "Connecting to X740 FTP-Server", "Reading files", "END"}));
    EXPECT_NE(console.find("\nUser3.BIN\n"), std::string::npos) << console;
    const std::string log = folder.read(flash::kLogFileName);
    EXPECT_NE(log.find("Connecting to: 127.0.0.1 \nChecking firmware version\nReading "
                       "modul-configuration\nStarting FTP\nConnecting to X740 FTP-Server\n"),
              std::string::npos)
        << log;
    EXPECT_NE(log.find("User3.BIN\n"), std::string::npos) << log;
    const std::string transcript = ftptest::ReadWholeFile(options.transcript);
    EXPECT_NE(transcript.find("USER update\nPASS vorpal\n"), std::string::npos) << transcript;
    EXPECT_NE(transcript.find("LIST"), std::string::npos) << transcript;
    EXPECT_EQ(services.serviceOrder(), (std::vector<std::uint8_t>{48}));
    EXPECT_GE(run.clock.slept(), flash::kCheckFtpStartWaitMs);
    flash::ModulConfig read;
    ASSERT_TRUE(flash::ReadModulConfigFile(read));
    EXPECT_EQ(read.serial, "KEPT");

    // The list as drawn: rows of 14 pixels, the last one selected with the focus, labels at
    // 5, values ending at 150, text from one pixel below the row's top.
    ExpectDrawnRows(*dlg.List());

    // The FTP server gone: no connection, the lines so far and END.
    ftpd.reset();
    RecordingCheckDlg noFtp(app);
    flash::RunCheck(app, kLoopback, noFtp);
    EXPECT_EQ(noFtp.Lines().size(), 5u);
    EXPECT_EQ(noFtp.Lines().back(), "END");
    ASSERT_GE(noFtp.statuses.size(), 3u);
    EXPECT_EQ(noFtp.statuses[noFtp.statuses.size() - 3], "Connecting to X740 FTP-Server");
    EXPECT_EQ(noFtp.statuses[noFtp.statuses.size() - 2], "No Connection possible");

    // No address: logged, nothing tried, only END.
    services.clearServiceOrder();
    RecordingCheckDlg noAddress(app);
    flash::RunCheck(app, "", noAddress);
    EXPECT_EQ(noAddress.Lines(), std::vector<std::string>{"END"});
    EXPECT_EQ(noAddress.statuses, std::vector<std::string>{"END"});
    EXPECT_NE(folder.read(flash::kLogFileName).find("\nNo IPD defined\n"), std::string::npos);
    EXPECT_TRUE(services.serviceOrder().empty());

    // No controller at the port: the open error, then only END.
    tcp.stop();
    RecordingCheckDlg noController(app);
    flash::RunCheck(app, kLoopback, noController);
    EXPECT_EQ(noController.Lines(), std::vector<std::string>{"END"});
    EXPECT_EQ(noController.statuses,
              (std::vector<std::string>{"Connecting to: 127.0.0.1 ", "Open 0x400\n", "END"}));

    flash::ConsoleOut().CaptureTo(nullptr, false);
    mv::setProcessClock(nullptr);

    // The program without a display checks on the console.
    flashtest::ProgramOptions program;
    program.folder = folder.path();
    program.env = {{"DISPLAY", ""}, {"WAYLAND_DISPLAY", ""}};
    const flashtest::ProgramRun withAddress = flashtest::RunProgram(
        mvtest::ProgramDir() + "/X740Flash", {"-CHK", "-IPD:127.0.0.1"}, program);
    EXPECT_NE(withAddress.output.find("Connecting to: 127.0.0.1 \nOpen 0x400\nEND\nEND\n"),
              std::string::npos)
        << withAddress.output;
    const flashtest::ProgramRun without =
        flashtest::RunProgram(mvtest::ProgramDir() + "/X740Flash", {"-CHK"}, program);
    EXPECT_NE(without.output.find("END\nEND\n"), std::string::npos) << without.output;
    EXPECT_EQ(without.output.find("Connecting"), std::string::npos) << without.output;
}

} // namespace
