// The project, label, slider label, port, address and controller dialogs: texts cut on OK,
// Cancel changing nothing, the port's choice at the click with each COM port's device, the
// address control's value, the port entry's checks, and the controller's written channels.
#include "dialog_test_util.h"

#include "morvelan/core/controller_module.h"
#include "morvelan/core/module_tile.h"
#include "morvelan/core/station.h"
#include "morvelan/ui/controller_dlg.h"
#include "morvelan/ui/dialog_hooks.h"
#include "morvelan/ui/dialog_templates.h"
#include "morvelan/core/app_profile.h"
#include "morvelan/ui/ip_dlgs.h"
#include "morvelan/ui/label_dlgs.h"
#include "morvelan/ui/module_insert_dlgs.h"
#include "morvelan/ui/port_select_dlg.h"
#include "morvelan/ui/project_dlg.h"
#include "morvelan/ui/value_dlgs.h"
#include "xui/bitmaps.h"
#include "xui/color_sel_edit.h"
#include "xui/font_map.h"
#include "xui/ip_address_ctrl.h"
#include "xui/window_class.h"

#include <QClipboard>
#include <QLineEdit>
#include <QPlainTextEdit>
#include <QRadioButton>
#include <QTimer>

#include <cstdlib>

namespace {

using namespace morvelan;
using Strings = std::vector<std::string>;

class SmallDialogs : public dlgtest::DialogTest {
protected:
    static void Set(xui::CXDialog& d, int id, const std::string& text) {
        d.itemAs<QLineEdit>(id)->setText(QString::fromLatin1(text.c_str()));
    }
    static std::string Get(xui::CXDialog& d, int id) {
        return xui::windowText(d.item(id)).toStdString();
    }
};

TEST_F(SmallDialogs, ProjectPropertiesWriteBackOnlyOnOk) {
    CMorvelanDoc doc;
    doc.m_Name = "Demo";
    doc.m_Author = "Me";
    doc.m_Company = "Kelvane";
    doc.m_Comment = "Line 1\nLine 2";
    {
        CProjectDlg d(doc);
        d.ShowModeless();
        EXPECT_EQ(d.windowTitle(), "Project");
        EXPECT_EQ(Get(d, IDC_LABEL_1034), "Author");
        EXPECT_EQ(Get(d, IDC_PROJECT_NAME_EDIT), "Demo");
        EXPECT_EQ(d.itemAs<QPlainTextEdit>(IDC_PROJECT_COMMENT_EDIT)->toPlainText(),
                  "Line 1\nLine 2");
        Set(d, IDC_AUTHOR_EDIT, "Other");
        Command(d, mv::IDCANCEL);
        EXPECT_EQ(doc.m_Author, "Me");
    }
    CProjectDlg d(doc);
    d.ShowModeless();
    Set(d, IDC_PROJECT_NAME_EDIT, "Press \xFC");
    Set(d, IDC_COMPANY_EDIT, "");
    d.itemAs<QPlainTextEdit>(IDC_PROJECT_COMMENT_EDIT)->setPlainText("A\nB");
    Command(d, mv::IDOK);
    EXPECT_EQ(doc.m_Name, "Press \xFC");
    EXPECT_EQ(doc.m_Author, "Me");
    EXPECT_EQ(doc.m_Company, "");
    EXPECT_EQ(doc.m_Comment, "A\r\nB");
}

TEST_F(SmallDialogs, ProjectCommentKeepsItsLineEndsThroughTheDialog) {
    const std::string first = tmp + "/first.mvl";
    const std::string second = tmp + "/second.mvl";
    CMorvelanDoc made;
    made.m_Name = "Demo";
    made.m_Comment = "Line A\r\nLine B";
    ASSERT_EQ(made.OnSaveDocument(first), 1);
    CMorvelanDoc doc;
    ASSERT_EQ(doc.OnOpenDocument(first), 1);
    {
        CProjectDlg d(doc);
        d.ShowModeless();
        Command(d, mv::IDOK);
    }
    ASSERT_EQ(doc.OnSaveDocument(second), 1);
    EXPECT_EQ(dlgtest::ReadAll(second), dlgtest::ReadAll(first));

    // A line typed at the end is stored with CR LF like the others.
    CProjectDlg d(doc);
    d.ShowModeless();
    auto* comment = d.itemAs<QPlainTextEdit>(IDC_PROJECT_COMMENT_EDIT);
    comment->setFocus();
    QTest::keyClick(comment, Qt::Key_End, Qt::ControlModifier);
    QTest::keyClick(comment, Qt::Key_Return);
    QTest::keyClicks(comment, "Line C");
    Command(d, mv::IDOK);
    ASSERT_EQ(doc.OnSaveDocument(second), 1);
    EXPECT_NE(dlgtest::ReadAll(second).find("Kommentar=Line A\x1d\x1aLine B\x1d\x1aLine C\r\n"),
              std::string::npos)
        << dlgtest::ReadAll(second);
}

TEST_F(SmallDialogs, PastedLineBreaksBecomeBlanksAndEverySaveKeepsTheOtherEdits) {
    CMorvelanDoc doc;
    ASSERT_EQ(doc.OnOpenDocument(mvtest::SourceDir() + "/data/samples/demo.mvl"), 1);
    const auto paste = [](QWidget* edit, const char* text) {
        QApplication::clipboard()->setText(QString::fromLatin1(text));
        edit->setFocus();
        QTest::keyClick(edit, Qt::Key_A, Qt::ControlModifier);
        QTest::keyClick(edit, Qt::Key_V, Qt::ControlModifier);
    };
    {
        CLabelDlg d(*doc.Station(0)->Tile(1));
        d.ShowModeless();
        paste(d.item(IDC_LINE2_EDIT), "Inputs\nI0-I15");
        Command(d, mv::IDOK);
    }
    {
        CChangeModuleDlg d(*doc.Station(0));
        d.ShowModeless();
        paste(d.item(IDC_COMMENT_EDIT), "Halle 2\r\nlinks");
        Command(d, mv::IDOK);
    }
    doc.m_Author = "Someone";
    const std::string path = tmp + "/p.mvl";
    ASSERT_EQ(doc.OnSaveDocument(path), 1);
    CMorvelanDoc again;
    ASSERT_EQ(again.OnOpenDocument(path), 1);
    EXPECT_EQ(again.Station(0)->Tile(1)->m_Lines[1], "Inputs I0-I15");
    EXPECT_EQ(again.Station(0)->m_Comment, "Halle 2 links");
    EXPECT_EQ(again.m_Author, "Someone");

    // A break that still reaches the document is refused alone, named with its key.
    std::vector<std::string> errors;
    mv::setErrorBoxSink([&](const std::string&, const std::string& text) {
        errors.push_back(text);
    });
    again.m_Name = "Hall\nEast";
    again.m_Author = "Other";
    EXPECT_EQ(again.OnSaveDocument(path), 1);
    mv::setErrorBoxSink({});
    ASSERT_EQ(errors.size(), 1u);
    EXPECT_EQ(errors[0].rfind("SAVE MAIN Name FAILURE: ", 0), 0u) << errors[0];
    CMorvelanDoc third;
    ASSERT_EQ(third.OnOpenDocument(path), 1);
    EXPECT_EQ(third.m_Author, "Other");
    EXPECT_EQ(third.Station(0)->m_Comment, "Halle 2 links");
    EXPECT_EQ(third.Station(0)->TileCount(), doc.Station(0)->TileCount());
}

TEST_F(SmallDialogs, LabelsAreCutToTheirLengths) {
    CModuleTile tile;
    tile.m_Lines = {"One", "Two", "Three"};
    const std::string thirty(30, 'x');
    {
        CLabelDlg d(tile);
        d.ShowModeless();
        EXPECT_EQ(Get(d, IDC_LINE3_EDIT), "Three");
        EXPECT_EQ(xui::controlFont(d.item(IDC_LINE1_EDIT)), (mv::FontDesc{"Arial", -22, 800}));
        EXPECT_EQ(xui::controlFont(d.item(IDC_LINE3_EDIT)), (mv::FontDesc{"Arial", -42, 800}));
        EXPECT_EQ(d.item(mv::IDCANCEL), nullptr); // OK only; Escape still cancels
        Set(d, IDC_LINE1_EDIT, thirty);
        QTest::keyClick(&d, Qt::Key_Escape);
        QCoreApplication::sendPostedEvents();
        EXPECT_EQ(d.result(), mv::IDCANCEL);
        EXPECT_EQ(tile.m_Lines[0], "One");
    }
    CLabelDlg d(tile);
    d.ShowModeless();
    Set(d, IDC_LINE1_EDIT, thirty);
    Set(d, IDC_LINE2_EDIT, "");
    Command(d, mv::IDOK);
    EXPECT_EQ(tile.m_Lines[0], std::string(23, 'x'));
    EXPECT_EQ(tile.m_Lines[1], "");
    EXPECT_EQ(tile.m_Lines[2], "Three");

    tile.m_Sliders = {"a", "b", "c", "d", "e", "f"};
    {
        CSliderLabelDlg s(tile);
        s.ShowModeless();
        EXPECT_EQ(Get(s, IDC_LINE2_EDIT), "b");
        EXPECT_EQ(s.itemAs<xui::CColorSelEdit>(IDC_LINE1_EDIT)->bkColor(), 0xDCDCDCu);
        // The board's picture is copied to (7, 7).
        const QImage shot = s.grab().toImage();
        const QImage picture = xui::bitmapResource(IDB_SLIDER_BOARD);
        EXPECT_EQ(picture.size(), QSize(146, 288));
        EXPECT_EQ(shot.pixel(7 + 20, 7 + 50), picture.pixel(20, 50));
        Set(s, IDC_LINE1_EDIT, "123456789012");
        Command(s, mv::IDCANCEL);
        EXPECT_EQ(tile.m_Sliders[0], "a");
    }
    {
        CSliderLabelDlg s(tile);
        s.ShowModeless();
        Set(s, IDC_LINE1_EDIT, "123456789012");
        Set(s, IDC_LINE3_EDIT, "Z");
        Command(s, mv::IDOK);
        EXPECT_EQ(tile.m_Sliders,
                  (std::array<std::string, 6>{"1234567890", "b", "Z", "d", "e", "f"}));
    }
    CControllerSliderLabelDlg c(tile);
    c.ShowModeless();
    EXPECT_EQ(xui::bitmapResource(IDB_SLIDER_CONTROLLER).size(), QSize(267, 290));
    EXPECT_EQ(Get(c, IDC_LINE4_EDIT), "d");
    EXPECT_EQ(Get(c, IDC_LINE5_EDIT), "e");
    Set(c, IDC_LINE5_EDIT, "fifth label!");
    Set(c, IDC_LINE4_EDIT, "4");
    Command(c, mv::IDOK);
    EXPECT_EQ(tile.m_Sliders,
              (std::array<std::string, 6>{"1234567890", "b", "Z", "4", "fifth labe", "f"}));
}

TEST_F(SmallDialogs, PortChoiceFollowsTheClick) {
    ::setenv("PORTWIRE_COM2", "/dev/ttyUSB7", 1);
    int choice = 2;
    CPortSelectDlg d(choice);
    d.ShowModeless();
    ::unsetenv("PORTWIRE_COM2");
    EXPECT_EQ(d.windowTitle(), "Online port");
    EXPECT_EQ(Get(d, IDC_GROUP_1046), "Port ");
    EXPECT_TRUE(d.radio(2)->isChecked());
    EXPECT_EQ(d.radio(1)->text(), "COM1");
    EXPECT_EQ(d.radio(5)->text(), "NET");
    EXPECT_EQ(Get(d, IDC_COM2_DEVICE), "/dev/ttyUSB7");
    EXPECT_EQ(Get(d, IDC_COM3_DEVICE), "/dev/ttyS2");
    EXPECT_EQ(d.item(IDC_COM2_DEVICE)->palette().color(QPalette::WindowText), QColor(Qt::white));
    EXPECT_EQ(d.radio(1)->palette().color(QPalette::WindowText), QColor(Qt::white));
    QTest::mouseClick(d.radio(5), Qt::LeftButton, {}, QPoint(5, 5));
    QCoreApplication::sendPostedEvents();
    EXPECT_EQ(choice, 5);
    EXPECT_FALSE(d.radio(2)->isChecked());
    QTest::mouseClick(d.radio(4), Qt::LeftButton, {}, QPoint(5, 5));
    QCoreApplication::sendPostedEvents();
    EXPECT_EQ(choice, 4);
    QTest::keyClick(&d, Qt::Key_Escape);
    QCoreApplication::sendPostedEvents();
    EXPECT_EQ(d.result(), mv::IDCANCEL);
    EXPECT_EQ(choice, 4); // the choice took effect at the click

    int net = 5;
    CPortSelectDlg n(net);
    n.ShowModeless();
    EXPECT_TRUE(n.radio(5)->isChecked());
}

TEST_F(SmallDialogs, AddressesAndPorts) {
    CModulParam p;
    p.kind = 1;
    p.name = "Station address";
    p.value = static_cast<std::int32_t>(0xC0A80001u);
    {
        CIpDlg d(p);
        d.ShowModeless();
        EXPECT_EQ(d.address()->fieldValue(0), 192);
        EXPECT_EQ(d.address()->fieldValue(3), 1);
        EXPECT_EQ(Get(d, IDC_LABEL_1004), "Station address");
        d.address()->SetAddress(10, 0, 0, 7);
        Command(d, mv::IDCANCEL);
        EXPECT_EQ(static_cast<std::uint32_t>(p.value), 0xC0A80001u);
    }
    CIpDlg d(p);
    d.ShowModeless();
    d.address()->SetAddress(10, 0, 0, 7);
    Command(d, mv::IDOK);
    EXPECT_EQ(static_cast<std::uint32_t>(p.value), 0x0A000007u);
    EXPECT_EQ(p.GetValueText(), "10.0.0.7");

    std::uint32_t ip = 0xC0A80001u;
    int port = 32000;
    CIpPortDlg a(ip, port);
    a.ShowModeless();
    EXPECT_EQ(a.address()->fieldValue(1), 168);
    auto* edit = a.itemAs<xui::CColorSelEdit>(IDC_PORT_EDIT);
    EXPECT_EQ(edit->text(), "32000");
    edit->clear();
    edit->setFocus();
    QTest::keyClicks(edit, "a1b2c");
    EXPECT_EQ(edit->text(), "12");
    edit->setText("70000");
    Command(a, mv::IDOK);
    ASSERT_EQ(messages.size(), 1u);
    EXPECT_EQ(messages[0].line1, "The value is too large");
    EXPECT_TRUE(a.isVisible());
    EXPECT_EQ(port, 32000);
    edit->setText("99999999999999999999999");
    Command(a, mv::IDOK);
    EXPECT_EQ(messages.size(), 2u);
    edit->clear();
    a.address()->SetAddress(127, 0, 0, 1);
    Command(a, mv::IDOK);
    EXPECT_EQ(a.result(), mv::IDOK);
    EXPECT_EQ(port, 0);
    EXPECT_EQ(ip, 0x7F000001u);

    // The hook's form keeps the values on Cancel.
    QTimer::singleShot(0, [] {
        if (QWidget* m = QApplication::activeModalWidget())
            QTest::keyClick(m, Qt::Key_Escape);
    });
    EXPECT_FALSE(RunAskAddress(ip, port, nullptr));
    EXPECT_EQ(ip, 0x7F000001u);
}

TEST_F(SmallDialogs, ControllerListsWrittenChannels) {
    CMorvelanDoc doc;
    ASSERT_EQ(doc.OnOpenDocument(mvtest::SampleDataDir() + "/samples/demo.mvl"), 1);
    CModuleTile* head = doc.Station(0)->Tile(0);
    auto& controller = dynamic_cast<CControllerModule&>(head->Module());
    {
        CControllerDlg d(head, controller);
        d.ShowModeless();
        xui::XGridCtrl& g = *d.grid();
        EXPECT_EQ(g.rowCount(), 3); // channel 2 is not written
        EXPECT_EQ((Strings{Cell(g, 1, 0), Cell(g, 1, 1), Cell(g, 1, 2)}),
                  (Strings{"Cycle settings", "Cycle time [ms]", "500"}));
        EXPECT_EQ((Strings{Cell(g, 2, 0), Cell(g, 2, 1), Cell(g, 2, 2)}),
                  (Strings{"", "Watchdog [ms]", "1200"}));
        EXPECT_EQ(g.cellFlag(1, 0), 1);
        EXPECT_EQ(g.cellFlag(2, 0), 0);
        EXPECT_EQ(g.columnWidth(1), g.width() / 2 - g.GetClientWidth());
        EXPECT_EQ(Get(d, IDC_LABEL_1012), "Controller 0");
        EXPECT_EQ(Get(d, IDC_CHANGE), "Change"); // as in the module parameter dialog
        EXPECT_EQ(Get(d, IDC_LABEL_1009), "Network controller X740, Ethernet and RS232");

        // Change runs the range dialog on the typed value and rewrites the cell.
        ClickRow(g, 1);
        QTimer::singleShot(0, [] {
            auto* range = qobject_cast<CRangeDlg*>(QApplication::activeModalWidget());
            ASSERT_NE(range, nullptr);
            EXPECT_EQ(range->limits().maximum, 10000);
            range->edit()->setText("750");
            xui::postCommandTo(range, mv::IDOK);
        });
        Command(d, IDC_CHANGE);
        EXPECT_EQ(Cell(g, 1, 2), "750");
        Command(d, IDC_INFO);
        EXPECT_EQ(documentation, (Strings{"X740"}));
    }
    // Written hexadecimal bytes, a text parameter and a group without parameters.
    controller.Channel(1).write = 1;
    controller.Channel(1).params[0].value.SetByte(0x0A);
    controller.Channel(1).params[1].length = 3;
    controller.Channel(1).params[1].value.SetText("abc");
    controller.Channel(0).params.clear();
    CControllerDlg d(head, controller);
    d.ShowModeless();
    xui::XGridCtrl& g = *d.grid();
    EXPECT_EQ(g.rowCount(), 4);
    EXPECT_EQ(Cell(g, 1, 0), "Cycle settings");
    EXPECT_EQ(Cell(g, 1, 1), "");
    EXPECT_EQ(Cell(g, 2, 0), "Fieldbus state");
    EXPECT_EQ(Cell(g, 2, 2), "0AH");
    EXPECT_EQ(Cell(g, 3, 2), "abc");
    // Change on a text parameter opens nothing.
    ClickRow(g, 3);
    bool opened = false;
    QTimer::singleShot(0, [&opened] {
        if (QWidget* m = QApplication::activeModalWidget()) {
            opened = true;
            QTest::keyClick(m, Qt::Key_Escape);
        }
    });
    Command(d, IDC_CHANGE);
    QCoreApplication::processEvents();
    EXPECT_FALSE(opened);
}

} // namespace
