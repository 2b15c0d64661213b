// The panel's windows offscreen against the simulated station over a real Portwire link:
// menu and toolbar gating, the log list, Reset and the reconnect machine on an injected clock,
// the IP data dialog and the identification dialog.
#include "panel/core/panel_app.h"
#include "panel/ui/advanced_dlg.h"
#include "panel/ui/etype_dlg.h"
#include "panel/ui/ip_data_dlg.h"
#include "panel/ui/panel_clock.h"
#include "panel/ui/panel_session.h"
#include "panel/ui/panel_templates.h"
#include "platform/ini_file.h"
#include "tests/panel/host_fixture.h"
#include "xui/colorref.h"
#include "xui/command.h"
#include "xui/ip_address_ctrl.h"
#include "xui/message_dlg.h"

#include <QAction>
#include <QApplication>
#include <QCheckBox>
#include <QHelpEvent>
#include <QLabel>
#include <QLineEdit>
#include <QMenu>
#include <QPlainTextEdit>
#include <QScreen>
#include <QScrollBar>
#include <QTest>
#include <QTimer>
#include <QToolBar>
#include <QToolTip>

namespace x740panel::test {
namespace {

QApplication& App() {
    static int argc = 1;
    static char name[] = "panel_dialogs_test";
    static char* argv[] = {name, nullptr};
    static QApplication* a = new QApplication(argc, argv);
    return *a;
}

void Pump() {
    for (int i = 0; i < 5; ++i) {
        QCoreApplication::processEvents();
    }
}

class PanelDialogs : public ::testing::Test {
protected:
    void SetUp() override {
        App();
        ASSERT_TRUE(sim.StartAtServicePort());
        Connect();
        SetPanelClock(&clock);
        xui::setMessagePresenter([this](const xui::MessageRequest& r) {
            messages.push_back(r.line1);
            lastBitmap = r.bitmapId;
            lastCaption = r.caption;
            return mv::IDOK;
        });
    }
    void TearDown() override {
        xui::setMessagePresenter({});
        SetPanelClock(nullptr);
        A_Close(theApp().m_Handle);
    }
    void Connect() {
        theApp().m_Handle = A_OpenNet(sim.address, 32000);
        theApp().InitInstance();
        RegisterPanelClasses();
    }
    void SetEType(int value) {
        PanelInstall::Write(install.dir + "/morvelan.ini",
                            "[Setup]\r\nETYPE=" + std::to_string(value) + "\r\n");
        mv::iniClearCache();
        theApp().InitInstance();
    }
    // Runs `action` as soon as a dialog opens over `under`, then returns.
    static void WhenModalOpens(QWidget* under, std::function<void(QWidget*)> action) {
        auto* poll = new QTimer;
        QObject::connect(poll, &QTimer::timeout, poll, [poll, under, action] {
            QWidget* modal = QApplication::activeModalWidget();
            if (modal != nullptr && modal != under) {
                poll->stop();
                poll->deleteLater();
                action(modal);
            }
        });
        poll->start(5);
    }
    // The toolbar's items as shown, left to right: "B" a button, "|" a separator.
    static std::string ShownToolItems(QToolBar* bar) {
        Pump();
        std::string shown;
        for (QAction* a : bar->actions()) {
            const QWidget* w = bar->widgetForAction(a);
            if (w != nullptr && w->isVisible()) {
                shown += a->isSeparator() ? '|' : 'B';
            }
        }
        return shown;
    }
    static std::vector<std::string> Lines(const CAdvancedDlg& dlg) {
        std::vector<std::string> lines;
        for (int i = 0; i < dlg.LogList()->LineCount(); ++i) {
            lines.push_back(dlg.LogList()->Line(i));
        }
        return lines;
    }

    PanelInstall install;
    PanelStation sim;
    mv::FakeClock clock;
    std::vector<std::string> messages;
    int lastBitmap = 0;
    std::string lastCaption;
};

TEST_F(PanelDialogs, ControllerFamilyGatesMenusAndToolbarAndTooltipsAreOwn) {
    {
        CAdvancedDlg dlg;
        dlg.ShowModeless();
        EXPECT_EQ(dlg.windowTitle(), "X740 Advanced");
        EXPECT_TRUE(dlg.Menu("SSI")->isEnabled());
        EXPECT_TRUE(dlg.Menu("NSW")->isEnabled());
        EXPECT_FALSE(dlg.Menu("Filter")->isEnabled());
        int visible = 0;
        for (QAction* a : dlg.ToolBar()->actions()) {
            visible += !a->isSeparator() && a->isVisible();
        }
        EXPECT_EQ(visible, 7);
        EXPECT_EQ(ShownToolItems(dlg.ToolBar()), "B|BB|BB|BB");
        EXPECT_TRUE(dlg.Action(kCmdNswWarnings)->isChecked());
        EXPECT_EQ(dlg.Action(kCmdClearConfig)->text(), QString::fromUtf8("Konfiguration löschen"));

        // Tooltips: their texts, trailing blanks kept, shown in the panel's own colour.
        QToolBar* bar = dlg.ToolBar();
        QAction* ssi = nullptr;
        for (QAction* a : bar->actions()) {
            if (a->property("mvControlId").toInt() == kCmdSsiFromModule) ssi = a;
        }
        ASSERT_NE(ssi, nullptr);
        EXPECT_EQ(ssi->toolTip(), "Read SSI Configuration ");
        const QPalette tipsBefore = QToolTip::palette();
        QWidget* button = bar->widgetForAction(ssi);
        QHelpEvent help(QEvent::ToolTip, QPoint(2, 2), button->mapToGlobal(QPoint(2, 2)));
        QApplication::sendEvent(button, &help);
        ASSERT_TRUE(dlg.TooltipWindow()->isVisible());
        EXPECT_EQ(dlg.TooltipWindow()->text(), "Read SSI Configuration ");
        EXPECT_EQ(xui::toColorref(dlg.TooltipWindow()->grab().toImage().pixelColor(1, 1)),
                  kTooltipColor);
        EXPECT_EQ(QToolTip::palette(), tipsBefore);
    }
    sim.station.setControllerId(0x3100);
    CAdvancedDlg dlg;
    dlg.ShowModeless();
    EXPECT_FALSE(dlg.Menu("SSI")->isEnabled());
    EXPECT_FALSE(dlg.Menu("NSW")->isEnabled());
    EXPECT_TRUE(dlg.Menu("Filter")->isEnabled());
    int visible = 0;
    for (QAction* a : dlg.ToolBar()->actions()) {
        visible += !a->isSeparator() && a->isVisible();
    }
    EXPECT_EQ(visible, 3);
    // The separators of the hidden groups go with them: none at the end, none doubled.
    EXPECT_EQ(ShownToolItems(dlg.ToolBar()), "B|BB");
}

TEST_F(PanelDialogs, LogLinesTheirColoursAndDoubleClicks) {
    CAdvancedDlg dlg;
    dlg.ShowModeless();
    dlg.AddLogLine("plain");
    dlg.AddLogLine("");
    dlg.AddLogLine("E\tBroken\tnot drawn");
    dlg.AddLogLine("O\tFine");
    dlg.AddLogLine(std::string(300, 'x'));
    dlg.ReplaceLogLine("W\tLast");
    auto record = std::make_unique<LogItemRecord>();
    record->type = kLogItemCam;
    record->file = "/tmp/none.nsw";
    record->name = "Cam1";
    dlg.AddLogLine("I\tCam 1", std::move(record));
    EXPECT_EQ(Lines(dlg), (std::vector<std::string>{"I\tplain", "I\t", "E\tBroken\tnot drawn",
                                                    "O\tFine", "W\tLast", "I\tCam 1"}));
    EXPECT_EQ(dlg.LogList()->currentRow(), 5);
    EXPECT_EQ(dlg.LogList()->Record(5)->name, "Cam1");
    EXPECT_EQ(dlg.LogList()->Record(0), nullptr);
    dlg.AddLogLine(std::string(300, 'y'));
    EXPECT_EQ(dlg.LogList()->Line(6).size(), 255u);

    // Colours in pixels: red for E, green for O, no red in a plain line (the text's darkest
    // pixels are the line's colour, give or take the edge smoothing of the glyphs).
    const auto Near = [](mv::COLORREF a, mv::COLORREF b) {
        for (int shift : {0, 8, 16}) {
            if (std::abs(static_cast<int>((a >> shift) & 255) - static_cast<int>((b >> shift) & 255)) > 6)
                return false;
        }
        return true;
    };
    CMListBox* list = dlg.LogList();
    const QImage image = list->viewport()->grab().toImage();
    const auto hasColour = [&](int row, mv::COLORREF colour) {
        const QRect r = list->visualItemRect(list->item(row));
        for (int y = r.top(); y <= r.bottom(); ++y)
            for (int x = r.left() + kLogTextIndent; x < std::min(r.right(), image.width()); ++x)
                if (Near(xui::toColorref(image.pixelColor(x, y)), colour)) return true;
        return false;
    };
    EXPECT_TRUE(hasColour(2, kLogColorError));
    EXPECT_TRUE(hasColour(3, kLogColorOk));
    EXPECT_TRUE(hasColour(4, kLogColorWarning));
    EXPECT_FALSE(hasColour(0, kLogColorError));
    EXPECT_EQ(list->visualItemRect(list->item(1)).height(), kLogItemHeight);

    // A double-click makes its line current; a plain line opens nothing.
    const QRect plain = list->visualItemRect(list->item(0));
    QTest::mouseDClick(list->viewport(), Qt::LeftButton, {}, plain.center());
    Pump();
    EXPECT_EQ(list->currentRow(), 0);
    EXPECT_EQ(QApplication::activeModalWidget(), nullptr);
    // A line with a record opens the editor of its type on the record's file and key.
    QString editor;
    WhenModalOpens(&dlg, [&editor](QWidget* modal) {
        editor = modal->windowTitle();
        static_cast<QDialog*>(modal)->reject();
    });
    const QRect cam = list->visualItemRect(list->item(5));
    QTest::mouseDClick(list->viewport(), Qt::LeftButton, {}, cam.center());
    Pump();
    EXPECT_EQ(list->currentRow(), 5);
    EXPECT_EQ(editor, "CAM Data");

    // A transient text is drawn over the last line and leaves the line as it was.
    list->ShowTransientLine("progress 50%");
    EXPECT_EQ(list->Line(list->LineCount() - 1), "I\t" + std::string(253, 'y'));
    EXPECT_EQ(list->LineCount(), 7);
    // A shorter progress text after a longer one: the line on the screen shows the second alone,
    // as a line of that text is drawn.
    const auto onScreen = [list](int row) {
        const QRect r = list->visualItemRect(list->item(row));
        const QPoint at = list->viewport()->mapTo(list->window(), r.topLeft());
        return list->screen()
            ->grabWindow(list->window()->winId(), at.x(), at.y(), r.width(), r.height())
            .toImage();
    };
    list->ShowTransientLine("Reading Block 12");
    list->ShowTransientLine("Reading Block 0");
    const QImage shown = onScreen(6);
    ASSERT_FALSE(shown.isNull());
    list->AddLine("I\tReading Block 0", nullptr);
    Pump();
    EXPECT_EQ(shown, onScreen(7));

    // A line longer than the list scrolls into view sideways, up to its end.
    dlg.AddLogLine("E\t" + std::string(250, 'x') + "end");
    Pump();
    QScrollBar* across = list->horizontalScrollBar();
    ASSERT_GT(across->maximum(), 0);
    QTest::keyClick(across, Qt::Key_End);
    Pump();
    const QImage scrolled = list->viewport()->grab().toImage();
    const QRect longRow = list->visualItemRect(list->item(list->LineCount() - 1));
    int lastRed = -1;
    for (int y = longRow.top(); y <= longRow.bottom(); ++y)
        for (int x = 0; x < scrolled.width(); ++x)
            if (Near(xui::toColorref(scrolled.pixelColor(x, y)), kLogColorError)) lastRed = x;
    EXPECT_GT(lastRed, scrolled.width() - 60);
    EXPECT_LT(lastRed, scrolled.width() - 2);

    xui::postCommandTo(&dlg, kClearButtonId);
    Pump();
    EXPECT_EQ(list->LineCount(), 0);
    EXPECT_EQ(across->maximum(), 0);
}

TEST_F(PanelDialogs, ResetReconnectsOnTheInjectedClockAndAVanishedControllerEndsWithZero) {
    CAdvancedDlg dlg;
    dlg.ShowModeless();
    const LinkHandle before = theApp().m_Handle;
    xui::postCommandTo(&dlg, kCmdReset);
    Pump();
    EXPECT_EQ(Lines(dlg), (std::vector<std::string>{"I\tReset -> OK"}));
    // The description files were read with their 250 ms pause, then the reset settled.
    EXPECT_EQ(clock.slept(), 250 + kResetSettleMs);
    EXPECT_EQ(theApp().m_Handle, 0u);
    EXPECT_EQ(dlg.Reconnect().state, kReconnectStart);
    EXPECT_TRUE(dlg.WaitCursorHeld());
    EXPECT_NE(QApplication::overrideCursor(), nullptr);
    EXPECT_FALSE(dlg.item(mv::IDOK)->isEnabled());
    EXPECT_EQ(dlg.Port(), sim.address);

    // No other command starts while the reconnect runs.
    xui::postCommandTo(&dlg, kCmdControllerId);
    Pump();
    EXPECT_EQ(dlg.LogList()->LineCount(), 1);

    for (int tick = 0; tick < 20 && dlg.Reconnect().state != kReconnectIdle; ++tick) {
        dlg.OnTimer();
    }
    EXPECT_EQ(Lines(dlg).back(), "I\tOK");
    EXPECT_EQ(clock.slept(), 250 + kResetSettleMs + kReachableSettleMs);
    EXPECT_NE(theApp().m_Handle, 0u);
    EXPECT_NE(theApp().m_Handle, before);
    EXPECT_FALSE(dlg.WaitCursorHeld());
    EXPECT_EQ(QApplication::overrideCursor(), nullptr);
    EXPECT_TRUE(dlg.item(mv::IDOK)->isEnabled());

    // The controller vanishes after the reset: eleven failed probes, then the error line.
    xui::postCommandTo(&dlg, kCmdReset);
    Pump();
    sim.tcp.stop();
    int ticks = 0;
    for (; ticks < 40 && dlg.Reconnect().state != kReconnectIdle; ++ticks) {
        dlg.OnTimer();
    }
    EXPECT_EQ(ticks, 1 + 6 + 1 + 11);
    EXPECT_EQ(Lines(dlg).back(), "E\tError connecting to modul");
    EXPECT_EQ(theApp().m_Handle, 0u);
    EXPECT_FALSE(dlg.WaitCursorHeld());
    EXPECT_TRUE(dlg.item(mv::IDOK)->isEnabled());

    // Commands on the closed link log their failure lines.
    xui::postCommandTo(&dlg, kCmdControllerId);
    Pump();
    EXPECT_EQ(Lines(dlg).back(), "I\tController ID -> Data Error");
}

TEST_F(PanelDialogs, ClosingMidReconnectReleasesTheCursorAndKeepsTheHandle) {
    CAdvancedDlg dlg;
    dlg.ShowModeless();
    xui::postCommandTo(&dlg, kCmdReset);
    Pump();
    dlg.OnTimer();
    ASSERT_TRUE(dlg.WaitCursorHeld());
    xui::postCommandTo(&dlg, mv::IDOK);
    Pump();
    EXPECT_FALSE(dlg.isVisible());
    EXPECT_EQ(QApplication::overrideCursor(), nullptr);
    EXPECT_EQ(theApp().m_Handle, 0u);
}

TEST_F(PanelDialogs, IpDataSendsThePaddedSerialToModuleAndSystemConfiguration) {
    using x740sim::RecordKind;
    x740sim::ServiceRecord config(RecordKind::ModulConfig);
    config.setText("serial", "00000042");
    config.setText("ip", "10.1.2.3");
    config.setText("mask", "255.255.0.0");
    config.setText("gateway", "bad");
    config.set("dhcp", 1);
    sim.services.putRecord(config);
    x740sim::ServiceRecord system(RecordKind::SystemConfig);
    system.setText("serial", "00000042");
    system.setText("ftpUser", "user");
    system.setText("text11", "a longer text of field eleven");
    system.setAt(138, 4, 0xDEADBEEF);
    sim.services.putRecord(system);
    PanelInstall::Write(install.dir + "/morvelan.ini", "[SETUP]\r\nSET_SERIAL=1\r\n");
    mv::iniClearCache();

    {
        CIPDataDlg dlg;
        dlg.ShowModeless();
        auto* serial = dlg.itemAs<QLineEdit>(kSerialEditId);
        EXPECT_TRUE(serial->isEnabled());
        EXPECT_EQ(serial->text(), "00000042");
        EXPECT_EQ(dlg.itemAs<xui::CIpAddressCtrl>(kIpAddressId)->fieldValue(3), 3);
        EXPECT_TRUE(dlg.itemAs<xui::CIpAddressCtrl>(kGatewayId)->IsBlank());
        EXPECT_TRUE(dlg.itemAs<QCheckBox>(kUseDhcpId)->isChecked());
        // "Use DHCP" stands on the label colour, the dialog's own colour around it.
        const QImage shot = dlg.grab().toImage();
        const QRect dhcp = dlg.item(kUseDhcpId)->geometry();
        EXPECT_EQ(xui::toColorref(shot.pixelColor(dhcp.right() - 2, dhcp.center().y())),
                  xui::kLabelBoxFill);
        EXPECT_EQ(xui::toColorref(shot.pixelColor(dhcp.right() + 3, dhcp.center().y())),
                  xui::kDialogBackground);
        // A blank IP address is refused by name; a blank gateway goes out as 0.0.0.0.
        auto* address = dlg.itemAs<xui::CIpAddressCtrl>(kIpAddressId);
        address->ClearAddress();
        xui::postCommandTo(&dlg, mv::IDOK);
        Pump();
        EXPECT_EQ(messages, (std::vector<std::string>{"Please enter IP: Adresse"}));
        EXPECT_EQ(lastBitmap, 15037);
        EXPECT_EQ(sim.services.requests(91, 0x20), 0);
        address->SetAddress(0x0A010203u);
        serial->setText("123");
        xui::postCommandTo(&dlg, mv::IDOK);
        Pump();
        EXPECT_EQ(dlg.result(), kIpDataWritten);
    }
    const auto module = sim.services.record(RecordKind::ModulConfig);
    EXPECT_EQ(module.text("serial"), "00000123");
    EXPECT_EQ(module.text("ip"), "10.1.2.3");
    EXPECT_EQ(module.text("gateway"), "0.0.0.0");
    const auto written = sim.services.record(RecordKind::SystemConfig);
    EXPECT_EQ(written.text("serial"), "00000123");
    EXPECT_EQ(written.text("ftpUser"), "user");
    EXPECT_EQ(written.text("text11"), "a longer text of field eleven");
    EXPECT_EQ(written.getAt(138, 4), 0xDEADBEEFu);

    // Through the panel: a refused write is a transmit error; Cancel sends nothing.
    CAdvancedDlg panel;
    panel.ShowModeless();
    sim.services.setDeviceError(91, 5);
    WhenModalOpens(&panel, [](QWidget* ip) { xui::postCommandTo(ip, mv::IDOK); });
    xui::postCommandTo(&panel, kCmdIpConfig);
    Pump();
    EXPECT_EQ(Lines(panel).back(), "E\tTransmit Error");
    sim.services.clearShaping();
    const int writes = sim.services.requests(91, 0x20);
    WhenModalOpens(&panel, [](QWidget* ip) { xui::postCommandTo(ip, mv::IDCANCEL); });
    xui::postCommandTo(&panel, kCmdIpConfig);
    Pump();
    EXPECT_EQ(sim.services.requests(91, 0x20), writes);
    EXPECT_EQ(panel.LogList()->LineCount(), 1);
    WhenModalOpens(&panel, [](QWidget* ip) { xui::postCommandTo(ip, mv::IDOK); });
    xui::postCommandTo(&panel, kCmdIpConfig);
    Pump();
    EXPECT_EQ(Lines(panel).back(), "I\tWrite Modulkonfiguration -> OK");
}

TEST_F(PanelDialogs, IpDataWithoutAReadAsksForASerialOnlyWhereItCanBeTyped) {
    sim.services.setDeviceError(90, 5);
    for (const int setSerial : {1, 0}) {
        PanelInstall::Write(install.dir + "/morvelan.ini",
                            "[SETUP]\r\nSET_SERIAL=" + std::to_string(setSerial) + "\r\n");
        mv::iniClearCache();
        messages.clear();
        CIPDataDlg dlg;
        dlg.ShowModeless();
        EXPECT_TRUE(dlg.itemAs<QLineEdit>(kSerialEditId)->text().isEmpty());
        EXPECT_EQ(dlg.itemAs<QLineEdit>(kSerialEditId)->isEnabled(), setSerial == 1);
        EXPECT_TRUE(dlg.itemAs<xui::CIpAddressCtrl>(kIpAddressId)->IsBlank());
        dlg.itemAs<xui::CIpAddressCtrl>(kIpAddressId)->SetAddress(0x0A000001u);
        // The link is gone by the time Send is pressed.
        sim.services.setDeviceError(91, 5);
        xui::postCommandTo(&dlg, mv::IDOK);
        Pump();
        if (setSerial == 1) {
            EXPECT_EQ(messages, (std::vector<std::string>{"Please enter the serial number"}));
            EXPECT_TRUE(dlg.isVisible());
            EXPECT_EQ(sim.services.requests(91, 0x20), 0);
        } else {
            EXPECT_TRUE(messages.empty());
            EXPECT_EQ(dlg.result(), kIpDataFailed) << "the panel logs E\tTransmit Error";
            EXPECT_EQ(sim.services.requests(91, 0x20), 1);
        }
    }
}

TEST_F(PanelDialogs, IdentificationReadsOnlyWithoutETypeAndManagesCodesWithIt) {
    sim.services.putIdentCode(1, 2, "ABC-123");
    {
        CETypeDlg dlg;
        dlg.ShowModeless();
        EXPECT_EQ(dlg.windowTitle(), "Identification");
        EXPECT_TRUE(dlg.item(kWriteIdentCodeId)->isHidden());
        EXPECT_TRUE(dlg.item(kStoreIdentFileId)->isHidden());
        EXPECT_FALSE(dlg.item(kReadIdentCodeId)->isHidden());
        dlg.itemAs<QLineEdit>(kComponentIdEditId)->setText("1");
        dlg.itemAs<QLineEdit>(kTypeIdEditId)->setText("2");
        xui::postCommandTo(&dlg, kReadIdentCodeId);
        Pump();
        EXPECT_EQ(dlg.itemAs<QPlainTextEdit>(kIdentCodeEditId)->toPlainText(), "ABC-123");
        EXPECT_TRUE(messages.empty());
        dlg.itemAs<QLineEdit>(kTypeIdEditId)->setText("x2");
        xui::postCommandTo(&dlg, kReadIdentCodeId);
        Pump();
        EXPECT_EQ(messages.back(), "ComponentID and TypeID must be numbers");
    }
    messages.clear();
    SetEType(1);
    CETypeDlg dlg;
    dlg.ShowModeless();
    EXPECT_FALSE(dlg.item(kWriteIdentCodeId)->isHidden());
    EXPECT_EQ(dlg.itemAs<QLineEdit>(kComponentIdEditId)->text(), "0");
    dlg.itemAs<QLineEdit>(kComponentIdEditId)->setText("-3");
    dlg.itemAs<QLineEdit>(kTypeIdEditId)->setText("4");
    // A code of several lines read and written back keeps its CR LF bytes.
    sim.services.putIdentCode(0xFFFFFFFDu, 4, "LINE 1\r\nLINE 2\r\n");
    xui::postCommandTo(&dlg, kReadIdentCodeId);
    Pump();
    EXPECT_EQ(dlg.itemAs<QPlainTextEdit>(kIdentCodeEditId)->blockCount(), 3);
    xui::postCommandTo(&dlg, kWriteIdentCodeId);
    Pump();
    EXPECT_EQ(sim.services.identCode(0xFFFFFFFDu, 4).value_or(""), "LINE 1\r\nLINE 2\r\n");
    messages.clear();
    dlg.itemAs<QPlainTextEdit>(kIdentCodeEditId)->setPlainText("XYZ");
    for (int id : {kWriteIdentCodeId, kStoreIdentFileId, kDeleteIdentCodeId, kReadIdentCodeId,
                   kDeleteIdentFileId}) {
        xui::postCommandTo(&dlg, id);
        Pump();
        if (id == kWriteIdentCodeId) {
            EXPECT_EQ(sim.services.identCode(0xFFFFFFFDu, 4).value_or(""), "XYZ");
            EXPECT_EQ(lastCaption, "eType");
            EXPECT_EQ(lastBitmap, 15018);
        }
    }
    EXPECT_FALSE(sim.services.identCode(0xFFFFFFFDu, 4).has_value());
    EXPECT_FALSE(sim.services.identFileStored());
    EXPECT_EQ(messages, (std::vector<std::string>{
                            "Successfully stored IdentCode", "Successfully stored module ident file",
                            "Successfully deleted IdentCode", "Error reading IdentCode",
                            "Successfully deleted module ident file"}));
    dlg.itemAs<QPlainTextEdit>(kIdentCodeEditId)->setPlainText(QString(246, 'c'));
    xui::postCommandTo(&dlg, kWriteIdentCodeId);
    Pump();
    EXPECT_EQ(messages.back(), "Error writing IdentCode");
    EXPECT_EQ(lastBitmap, 15037);
}

} // namespace
} // namespace x740panel::test
