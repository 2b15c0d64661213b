// The message dialog: layout arithmetic in both button modes with one or two lines, Escape,
// the pause and resume hooks, the caption band and the symbol.
#include "xbase_test_support.h"

#include "xui/bitmaps.h"
#include "xui/font_map.h"
#include "xui/message_dlg.h"
#include "xui/qt_text.h"

#include <QFontMetrics>
#include <QTest>
#include <QTimer>

#include <gtest/gtest.h>

namespace {

using namespace mv;
using xbase_test::findColour;
using xbase_test::pixel;

// Template positions in pixels: symbol right edge 11 + 32, line 1 top 13, OK 96 wide at 59.
constexpr int kSymbolRight = 43;
constexpr int kLineTop = 13;
constexpr int kButtonWidth = 96;
constexpr int kButtonTop = 59;

class MessageDialog : public ::testing::Test {
protected:
    void SetUp() override {
        xbase_test::app();
        xbase_test::registerStandInButton();
        xui::setMessageDlgConfig(xui::mainProgramMessageConfig());
    }
    void TearDown() override { xui::setMessageDlgConfig(xui::mainProgramMessageConfig()); }

    static int widthOf(const std::string& s) {
        return QFontMetrics(xui::screenFont(xui::fontFromPoints("MS Sans Serif", 8)))
            .horizontalAdvance(xui::fromCp1252(s));
    }
};

TEST_F(MessageDialog, OkOnlyCentresOkAndHidesCancel) {
    xui::CMessageDlg d("Short", "", "Info", 159, xui::kMessageOk, nullptr, 0x800000);
    d.ShowModeless();
    const int box = widthOf("Short") + 30;
    const int width = std::max(kButtonWidth, kSymbolRight + box + 100);
    EXPECT_EQ(d.width(), width);
    EXPECT_TRUE(d.item(IDCANCEL)->isHidden());
    const mv::RECT ok = d.controlRect(d.item(IDOK));
    EXPECT_EQ(ok.left, width / 2 - kButtonWidth / 2);
    EXPECT_EQ(ok.top, kButtonTop);
    // One line sits 8 pixels lower, the second line's place 8 lower still.
    EXPECT_EQ(d.controlRect(d.line1Static()),
              (mv::RECT{kSymbolRight + 10, kLineTop + 8, kSymbolRight + 10 + box,
                        kLineTop + 8 + d.controlRect(d.line1Static()).height()}));
    EXPECT_EQ(d.controlRect(d.line2Static()).top, kLineTop + 24);
    EXPECT_EQ(xui::windowText(d.line1Static()), "Short");
}

TEST_F(MessageDialog, OkCancelPlacesBothAroundTheMiddle) {
    const std::string longer = "A second line that is clearly the wider one of both";
    xui::CMessageDlg d("First", longer, "Question", 188, xui::kMessageOkCancel, nullptr, 0x800000);
    d.ShowModeless();
    const int box = widthOf(longer) + 30;
    const int width = std::max(2 * kButtonWidth + 100, kSymbolRight + box + 100);
    EXPECT_EQ(d.width(), width);
    EXPECT_FALSE(d.item(IDCANCEL)->isHidden());
    EXPECT_EQ(d.controlRect(d.item(IDOK)).left, width / 2 - kButtonWidth - 5);
    EXPECT_EQ(d.controlRect(d.item(IDCANCEL)).left, width / 2 + 5);
    EXPECT_EQ(d.controlRect(d.item(IDCANCEL)).top, kButtonTop);
    EXPECT_EQ(d.controlRect(d.line1Static()).top, kLineTop);
    EXPECT_EQ(d.controlRect(d.line2Static()).top, kLineTop + 16);
    EXPECT_EQ(d.controlRect(d.line2Static()).width(), box);
}

TEST_F(MessageDialog, NarrowTextKeepsTheButtonMinimum) {
    xui::CMessageDlg d("", "", "", 150, xui::kMessageOkCancel, nullptr, 255);
    d.ShowModeless();
    EXPECT_EQ(d.width(), std::max(2 * kButtonWidth + 100, kSymbolRight + 30 + 100));
}

TEST_F(MessageDialog, OtherButtonModesKeepTheTemplateLayout) {
    xui::CMessageDlg d("x", "", "", 150, 7, nullptr, 255);
    const int before = d.width();
    d.ShowModeless();
    EXPECT_EQ(d.width(), before);
    EXPECT_EQ(d.controlRect(d.item(IDOK)).left, 9);
    EXPECT_FALSE(d.item(IDCANCEL)->isHidden());
}

TEST_F(MessageDialog, ButtonsAndEscapeGiveTheResult) {
    {
        xui::CMessageDlg d("Really?", "", "Question", 188, 1, nullptr, 0x800000);
        QTimer::singleShot(0, &d, [&] { qobject_cast<QPushButton*>(d.item(IDOK))->click(); });
        EXPECT_EQ(d.DoModal(), IDOK);
    }
    {
        xui::CMessageDlg d("Done", "", "Info", 159, 0, nullptr, 0x800000);
        QTimer::singleShot(0, &d, [&] { QTest::keyClick(&d, Qt::Key_Escape); });
        EXPECT_EQ(d.DoModal(), IDCANCEL);
    }
}

TEST_F(MessageDialog, PausesOnOpeningAndResumesRunningWorkAfterEachPaint) {
    int pauses = 0;
    int pollingResumes = 0;
    int steppingResumes = 0;
    xui::MessageDlgConfig config = xui::mainProgramMessageConfig();
    config.hooks.push_back({[&] {
                                ++pauses;
                                return true; // polling was running
                            },
                            [&] { ++pollingResumes; }});
    config.hooks.push_back({[&] {
                                ++pauses;
                                return false; // stepping was off
                            },
                            [&] { ++steppingResumes; }});
    xui::setMessageDlgConfig(config);
    xui::CMessageDlg d("Error", "", "Error", 150, 0, nullptr, 255);
    d.ShowModeless();
    EXPECT_EQ(pauses, 2);
    d.grab();
    d.grab();
    EXPECT_EQ(pollingResumes, 2);
    EXPECT_EQ(steppingResumes, 0);
}

TEST_F(MessageDialog, PanelConfigurationUsesItsOwnIds) {
    xui::setMessageDlgConfig(xui::panelMessageConfig());
    xui::CMessageDlg d("Fehler", "", "Panel", 15037, 0, nullptr, 0xCF9060);
    EXPECT_NE(d.item(15069), nullptr);
    EXPECT_EQ(d.line2Static(), d.item(15090));
    EXPECT_EQ(d.symbolStatic(), d.item(15070));
    EXPECT_EQ(d.item(1028), nullptr);
}

TEST_F(MessageDialog, PanelDialogBesideTheProgramsDefaultRunsNoneOfItsHooks) {
    int pauses = 0;
    xui::MessageDlgConfig program = xui::mainProgramMessageConfig();
    program.hooks.push_back({[&] {
                                 ++pauses;
                                 return true;
                             },
                             [] {}});
    xui::setMessageDlgConfig(program);
    const xui::MessageDlgConfig panel = xui::panelMessageConfig();
    xui::CMessageDlg d(panel, "Fehler", "", "Panel", 15018, 0, nullptr, 0xCF9060);
    d.ShowModeless();
    EXPECT_EQ(pauses, 0);
    EXPECT_EQ(d.line1Static(), d.item(15069));
    EXPECT_EQ(d.item(1028), nullptr);
    EXPECT_FALSE(d.symbol().isNull());
    // The program's own messages still use the program's template and hooks.
    xui::CMessageDlg own("Error", "", "Error", 150, 0, nullptr, 255);
    own.ShowModeless();
    EXPECT_EQ(pauses, 1);
    EXPECT_EQ(own.line1Static(), own.item(1028));
}

TEST_F(MessageDialog, CaptionBandSymbolAndBackgroundPixels) {
    xui::CMessageDlg d("Something failed", "", "Error", 150, 0, nullptr, 0x0000FF);
    d.ShowModeless();
    const QImage img = d.grab().toImage();
    const mv::RECT bar = d.captionBarRect();
    EXPECT_EQ(bar, (mv::RECT{2, 2, d.width() - 2, 26}));
    EXPECT_EQ(pixel(img, 3, 3), 0x0000FFu);
    EXPECT_EQ(pixel(img, d.width() - 3, 25), 0x0000FFu);
    EXPECT_NE(pixel(img, d.width() - 2, 10), 0x0000FFu);
    // The caption text is white, left in the band.
    const QRect white = xbase_test::findInk(img, 0x0000FF, QRect(4, 4, d.width() - 8, 20));
    ASSERT_FALSE(white.isNull());
    bool light = false;
    for (int y = white.top(); y <= white.bottom(); ++y) {
        for (int x = white.left(); x <= white.right(); ++x) {
            light = light || (pixel(img, x, y) & 0xC0C0C0u) == 0xC0C0C0u;
        }
    }
    EXPECT_TRUE(light);
    EXPECT_GE(white.left(), 6);
    EXPECT_LT(white.left(), 12);
    // Message background 0xDEBF97; the symbol's magenta became the background.
    const QPoint client = d.clientOrigin();
    EXPECT_EQ(pixel(img, client.x() + 2, client.y() + 40), 0xDEBF97u);
    const mv::RECT sym = d.controlRect(d.symbolStatic());
    EXPECT_EQ(pixel(img, client.x() + sym.left, client.y() + sym.top), 0xDEBF97u);
    EXPECT_EQ(pixel(img, client.x() + sym.left + 16, client.y() + sym.top + 16),
              xui::colorrefFromRgb(xui::bitmapResource(150).pixel(16, 16)));
    EXPECT_EQ(findColour(img, 0xFF00FF), QRect());
}

TEST_F(MessageDialog, CaptionInTheBackgroundColourStillShowsItsText) {
    xui::CMessageDlg d("Saved", "", "Panel", 15018, 0, nullptr, 0xDEBF97);
    d.ShowModeless();
    const QImage img = d.grab().toImage();
    EXPECT_EQ(pixel(img, 3, 3), 0xDEBF97u);
    EXPECT_FALSE(xbase_test::findInk(img, 0xDEBF97, QRect(4, 4, d.width() - 8, 20)).isNull());
}

TEST_F(MessageDialog, PresenterAnswersInsteadOfTheDialog) {
    xui::MessageRequest seen;
    xui::setMessagePresenter([&](const xui::MessageRequest& r) {
        seen = r;
        return IDCANCEL;
    });
    xui::MessageRequest r;
    r.line1 = "Line";
    r.bitmapId = 188;
    r.buttonMode = 1;
    EXPECT_EQ(xui::ShowMessage(r), IDCANCEL);
    EXPECT_EQ(seen.line1, "Line");
    EXPECT_EQ(seen.buttonMode, 1);
    xui::setMessagePresenter({});
}

} // namespace
