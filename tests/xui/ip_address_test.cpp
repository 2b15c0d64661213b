#include "xui/ip_address_ctrl.h"

#include "controls_test_util.h"
#include "xui/dialog_template.h"
#include "xui/font_map.h"
#include "xui/window_class.h"

#include <QLineEdit>
#include <QPainter>
#include <QtTest/QTest>

#include <gtest/gtest.h>

#include <algorithm>
#include <memory>
#include <utility>

using xui::CIpAddressCtrl;

namespace {

class IpAddressTest : public ::testing::Test {
protected:
    void SetUp() override {
        xctl_test::app();
        parent = std::make_unique<QWidget>();
        parent->resize(300, 100);
        ip = new CIpAddressCtrl(parent.get());
        ip->setGeometry(10, 10, 160, 22);
        parent->show();
        parent->activateWindow();
        ASSERT_TRUE(QTest::qWaitForWindowActive(parent.get()));
    }

    std::uint32_t address() {
        std::uint32_t a = 0;
        ip->GetAddress(a);
        return a;
    }

    void type(const char* keys) {
        ip->SetFieldFocus(0);
        QTest::keyClicks(QApplication::focusWidget(), QString::fromLatin1(keys));
    }

    // Types into whichever field has the focus as it moves.
    void typeMoving(const char* keys) {
        ip->SetFieldFocus(0);
        for (const char* k = keys; *k != '\0'; ++k) {
            QTest::keyClick(QApplication::focusWidget(), *k);
        }
    }

    std::unique_ptr<QWidget> parent;
    CIpAddressCtrl* ip = nullptr;
};

// The horizontal span of the dark pixels of an image; empty when there are none.
std::pair<int, int> inkSpan(const QImage& img) {
    int left = img.width();
    int right = -1;
    for (int y = 0; y < img.height(); ++y) {
        for (int x = 0; x < img.width(); ++x) {
            if (qGray(img.pixel(x, y)) < 128) {
                left = std::min(left, x);
                right = std::max(right, x);
            }
        }
    }
    return {left, right};
}

TEST_F(IpAddressTest, EveryDigitFitsItsFieldFromSixtyDialogUnits) {
    const mv::FontDesc font = xui::fontFromPoints("MS Sans Serif", 8);
    xui::setControlFont(ip, font);
    // "255" as the dialog font draws it.
    QImage probe(60, 20, QImage::Format_RGB32);
    probe.fill(Qt::white);
    {
        QPainter p(&probe);
        p.setFont(xui::screenFont(font));
        p.setPen(Qt::black);
        p.drawText(QRect(0, 0, 60, 20), Qt::AlignCenter, QStringLiteral("255"));
    }
    const auto whole = inkSpan(probe);
    ASSERT_GT(whole.second, whole.first);
    for (int units : {60, 64, 80, 120}) {
        ip->setGeometry(10, 10, xui::dluToPixelsX(units), xui::dluToPixelsY(12));
        ip->SetAddress(0xFFFFFFFFu);
        for (int f = 0; f < CIpAddressCtrl::kFieldCount; ++f) {
            QLineEdit* edit = ip->fieldEdit(f);
            // The caret after the last digit scrolls nothing out of sight.
            edit->setCursorPosition(f % 2 == 0 ? 3 : 0);
            const auto ink = inkSpan(xctl_test::render(edit));
            EXPECT_EQ(ink.second - ink.first, whole.second - whole.first)
                << units << " units, field " << f;
            EXPECT_GT(ink.first, 0) << units << " units, field " << f;
            EXPECT_LT(ink.second, edit->width() - 1) << units << " units, field " << f;
        }
    }
}

TEST_F(IpAddressTest, ValueRoundTripWithFirstFieldHigh) {
    ip->SetAddress(0xC0A80A01u);
    EXPECT_EQ(ip->fieldEdit(0)->text(), "192");
    EXPECT_EQ(ip->fieldEdit(1)->text(), "168");
    EXPECT_EQ(ip->fieldEdit(2)->text(), "10");
    EXPECT_EQ(ip->fieldEdit(3)->text(), "1");
    std::uint32_t a = 0;
    EXPECT_EQ(ip->GetAddress(a), 4);
    EXPECT_EQ(a, 0xC0A80A01u);
    std::uint8_t f0 = 0, f1 = 0, f2 = 0, f3 = 0;
    ip->GetAddress(f0, f1, f2, f3);
    EXPECT_EQ(f0, 192);
    EXPECT_EQ(f3, 1);
    EXPECT_FALSE(ip->IsBlank());
}

TEST_F(IpAddressTest, BlankFieldsReadZero) {
    EXPECT_TRUE(ip->IsBlank());
    std::uint32_t a = 99;
    EXPECT_EQ(ip->GetAddress(a), 0);
    EXPECT_EQ(a, 0u);
    ip->fieldEdit(1)->setText("7");
    EXPECT_EQ(ip->GetAddress(a), 1);
    EXPECT_EQ(a, 0x00070000u);
    EXPECT_FALSE(ip->IsBlank());
    ip->ClearAddress();
    EXPECT_TRUE(ip->IsBlank());
}

TEST_F(IpAddressTest, DotMovesToTheNextField) {
    typeMoving("10.0.0.254");
    EXPECT_EQ(address(), 0x0A0000FEu);
}

TEST_F(IpAddressTest, AFullFieldMovesOn) {
    typeMoving("192168001002");
    EXPECT_EQ(address(), 0xC0A80102u);
    EXPECT_EQ(QApplication::focusWidget(), ip->fieldEdit(3));
}

TEST_F(IpAddressTest, DigitsOnlyAndAtMost255) {
    typeMoving("a3x");
    EXPECT_EQ(ip->fieldEdit(0)->text(), "3");
    ip->ClearAddress();
    typeMoving("999");
    EXPECT_EQ(ip->fieldValue(0), 255);
    EXPECT_EQ(ip->fieldEdit(0)->text(), "255");
}

TEST_F(IpAddressTest, BackspaceAtAFieldStartGoesBack) {
    typeMoving("1.2");
    QTest::keyClick(QApplication::focusWidget(), Qt::Key_Backspace);
    QTest::keyClick(QApplication::focusWidget(), Qt::Key_Backspace);
    EXPECT_EQ(QApplication::focusWidget(), ip->fieldEdit(0));
}

TEST_F(IpAddressTest, MadeByTheBuilderClassName) {
    ASSERT_TRUE(xui::RegisterIpAddressClass());
    xui::WindowCreateInfo info;
    info.className = "SysIPAddress32";
    info.id = 1102;
    QWidget* w = xui::createWindow(parent.get(), info);
    ASSERT_NE(w, nullptr);
    EXPECT_NE(qobject_cast<CIpAddressCtrl*>(w), nullptr);
}

} // namespace
