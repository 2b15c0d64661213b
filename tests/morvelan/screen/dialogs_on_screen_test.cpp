// The dialogs as a user meets them on an X server: each real dialog is shown, painted by the
// server's own rules, and grabbed by its own X window (a grab of the root shows popups black).
// Compared with what the dialogs are meant to draw: the module information's first page at
// once, controls without a band of their own colour, disabled texts grey, the upload dialog's
// etched line, and the on/off dialog's radio texts in the normal text colour.
#include "tests/morvelan/ui/dialog_test_util.h"
#include "tests/morvelan/ui/print_test_util.h"
#include "tests/xvfb/x_grab.h"
#include "tests/xvfb/xvfb_session.h"

#include "morvelan/online/upload_dlg.h"
#include "morvelan/ui/info_commands.h"
#include "morvelan/ui/modul_info_dlg.h"
#include "morvelan/ui/print_dialog_ids.h"
#include "morvelan/ui/print_select_dlg.h"
#include "morvelan/ui/value_dlgs.h"
#include "platform/sys_colors.h"
#include "xui/xbutton.h"

#include <QAbstractButton>
#include <QTest>

#include <functional>

namespace {

using namespace morvelan;

// The on/off dialog's "True" radio (the module dialogs' ids clash with the information
// dialog's own, so it is named here).
constexpr int kRadioOn = 1015;

class Upload : public IUploadHost {
public:
    CMorvelanDoc& Document() override { return doc; }
    void NewDocument() override {}
    void FillTree() override {}
    void SelectModul(CModuleTile*) override {}
    void RedrawView() override {}
    int ScrollX() override { return 0; }
    int ScrollY() override { return 0; }
    std::uint32_t Link() override { return 0; } // no controller: the list stays empty
    bool AutoOnline() override { return false; }
    CMorvelanDoc doc;
};

class OnScreen : public dlgtest::DialogTest {
protected:
    void SetUp() override {
        // The server comes before the application object.
        if (!mvtest::XvfbSession::Start())
            GTEST_SKIP() << "Xvfb not available";
        dlgtest::DialogTest::SetUp();
        ASSERT_EQ(QGuiApplication::platformName(), "xcb");
        xui::RegisterXButtonClass(); // the real buttons, not the tests' stand-in
    }

    // The dialog's window as the server holds it, once `ready` holds for the grab.
    static QImage Shot(QWidget& w, const std::function<bool(const QImage&)>& ready) {
        EXPECT_TRUE(QTest::qWaitForWindowExposed(&w));
        QImage shot;
        (void)QTest::qWaitFor(
            [&] {
                QApplication::processEvents();
                QApplication::sync();
                shot = mvtest::GrabXWindow(static_cast<std::uint32_t>(w.winId()));
                return !shot.isNull() && ready(shot);
            },
            5000);
        return shot;
    }
    static mv::COLORREF At(const QImage& img, QPoint p) { return xbase_test::pixel(img, p.x(), p.y()); }
    // The control's rectangle in the dialog's window.
    static QRect Place(xui::CXDialog& d, int id) {
        QWidget* w = d.item(id);
        return w ? QRect(w->mapTo(&d, QPoint(0, 0)), w->size()) : QRect();
    }
    // The darkest grey level in a region.
    static int Darkest(const QImage& img, QRect r) {
        int darkest = 255;
        for (int y = r.top(); y <= r.bottom(); ++y)
            for (int x = r.left(); x <= r.right(); ++x)
                darkest = std::min(darkest, qGray(img.pixel(x, y)));
        return darkest;
    }
};

TEST_F(OnScreen, ModuleInformationShowsItsFirstPageAtOnce) {
    const std::string info = tmp + "/Modul/info";
    std::filesystem::create_directories(info);
    QImage page(300, 400, QImage::Format_RGB32);
    page.fill(Qt::red);
    ASSERT_TRUE(page.save(QString::fromStdString(info + "/A3104_01.jpg"), "JPEG", 100));
    page.fill(Qt::blue);
    ASSERT_TRUE(page.save(QString::fromStdString(info + "/A3104_02.jpg"), "JPEG", 100));

    RegisterInfoTemplates();
    CModulInfoDlg d(tmp, catalogue, &hooks.language);
    d.m_TypeName = "A3104";
    d.ShowModeless();
    const QPoint inPage = Place(d, IDC_INFO_PICTURE).topLeft() + QPoint(20, 20);
    const QImage shot = Shot(d, [&](const QImage& s) { return qRed(s.pixel(inPage)) > 200; });
    EXPECT_GT(qRed(shot.pixel(inPage)), 200);
    EXPECT_LT(qGreen(shot.pixel(inPage)), 60);
    EXPECT_EQ(xui::windowText(d.item(IDC_PAGE_NUMBER)), "1");
}

TEST_F(OnScreen, PrintSelectionControlsStandOnTheirGroupAndDisabledTextIsGrey) {
    ::setenv(mv::kUserStoreEnv, (tmp + "/user.reg").c_str(), 1);
    CMorvelanAppBase app;
    app.m_PrintMode = mv::kPrintProjectPage; // the frame option is disabled
    CPrintSession session(app, std::make_unique<printtest::FakePrinters>());
    session.Init();
    CPrintSelectDlg d(session);
    d.ShowModeless();
    ASSERT_FALSE(d.button(kFrameCheck)->isEnabled());
    const QRect radio = Place(d, kRadioProjectLabels);
    const QRect group = Place(d, kRangeGroup);
    // Behind the radio's text end and beside the radio, inside the same group.
    const QPoint behind(radio.right() - 2, radio.center().y());
    const QPoint beside(group.right() - 3, radio.center().y());
    const QImage shot = Shot(d, [&](const QImage& s) { return At(s, beside) != 0; });
    EXPECT_EQ(At(shot, behind), At(shot, beside));
    const QRect frame = Place(d, kFrameCheck).adjusted(20, 0, 0, 0); // its text, not its box
    EXPECT_GT(Darkest(shot, frame), 80);
    EXPECT_LT(Darkest(shot, Place(d, kRadioProjectPage).adjusted(20, 0, 0, 0)), 40);
    ::unsetenv(mv::kUserStoreEnv);
}

TEST_F(OnScreen, UploadDialogDrawsItsEtchedLine) {
    Upload host;
    CModuleUploadDlg d(host);
    d.ShowModeless();
    // 7,121 in dialog units is 10,196 in pixels; the line lies below the comment label.
    const QPoint onLine(d.width() / 2, 197);
    const QImage shot = Shot(d, [&](const QImage& s) { return At(s, onLine) != 0; });
    int shadow = 0;
    for (int y = 190; y < 204; ++y)
        shadow += At(shot, {d.width() / 2, y}) == mv::GetSysColor(mv::COLOR_BTNSHADOW) ? 1 : 0;
    EXPECT_GE(shadow, 1);
}

TEST_F(OnScreen, OnOffRadioTextsAreInTheTextColourOnADarkDesktop) {
    // A desktop whose palette writes white texts.
    const QPalette before = QApplication::palette();
    QPalette dark = before;
    for (QPalette::ColorRole role : {QPalette::WindowText, QPalette::ButtonText, QPalette::Text})
        dark.setColor(role, Qt::white);
    QApplication::setPalette(dark);
    CModulParam flag;
    flag.name = "Enable";
    flag.value = 1;
    CFlagValueDlg d(flag);
    d.ShowModeless();
    const QRect on = Place(d, kRadioOn).adjusted(20, 0, 0, 0);
    const QImage shot = Shot(d, [&](const QImage& s) { return At(s, on.center()) != 0; });
    EXPECT_LT(Darkest(shot, on), 40);
    int white = 0;
    for (int y = on.top(); y <= on.bottom(); ++y)
        for (int x = on.left(); x <= on.right(); ++x)
            white += At(shot, {x, y}) == 0xFFFFFFu ? 1 : 0;
    EXPECT_EQ(white, 0);
    QApplication::setPalette(before);
}

} // namespace
