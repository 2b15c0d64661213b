// The value dialogs: choice and on/off storing their values, the range dialog's entry in both
// modes (decimal, "h" suffix, limits, size-based and full 32-bit ranges with hexadecimal
// display, the character filter), and Cancel leaving the records unchanged.
#include "dialog_test_util.h"

#include "morvelan/core/controller_module.h"
#include "morvelan/ui/dialog_templates.h"
#include "morvelan/ui/value_dlgs.h"
#include "xui/color_combo_box.h"
#include "xui/color_sel_edit.h"
#include "xui/color_static.h"
#include "xui/window_class.h"

#include <QRadioButton>

namespace {

using namespace morvelan;

class ValueDialogs : public dlgtest::DialogTest {
protected:
    // Types into the range dialog's edit (through its filter) and presses OK.
    static void Enter(CRangeDlg& d, const char* typed) {
        d.edit()->clear();
        d.edit()->setFocus();
        QTest::keyClicks(d.edit(), QString::fromLatin1(typed));
        Command(d, mv::IDOK);
    }
    static std::string Text(CRangeDlg& d, int id) {
        return xui::windowText(d.item(id)).toStdString();
    }
    static CModulParam Param(float min, float max, std::int32_t value) {
        CModulParam p;
        p.name = "Upper limit";
        p.minimum = min;
        p.maximum = max;
        p.value = value;
        return p;
    }
    static CControllerParam Master(int length, int mode, std::int32_t min, std::int32_t max) {
        CControllerParam p;
        p.name = "Cycle";
        p.length = static_cast<std::int16_t>(length);
        p.mode = static_cast<std::int16_t>(mode);
        p.minimum = min;
        p.maximum = max;
        return p;
    }
};

TEST_F(ValueDialogs, RangeOfAChannelParameter) {
    CModulParam p = Param(10, 4095, 100);
    CRangeDlg d(p);
    d.ShowModeless();
    EXPECT_EQ(d.windowTitle(), "Value");
    EXPECT_EQ(d.edit()->text(), "100");
    EXPECT_EQ(Text(d, IDC_MIN_VALUE), "10");
    EXPECT_EQ(Text(d, IDC_MAX_VALUE), "4095");
    EXPECT_EQ(Text(d, IDC_LABEL_1004), "Upper limit");
    EXPECT_EQ(d.edit()->bkColor(), 0xFFFFFFu);
    auto* minimum = d.itemAs<xui::CColorStatic>(IDC_MIN_VALUE);
    EXPECT_EQ(minimum->bkColor(), 0xCF9060u);
    EXPECT_EQ(minimum->textColor(), 0xFFFFFFu);

    // Only digits, a..f and h pass the filter.
    d.edit()->clear();
    QTest::keyClicks(d.edit(), "x-1 2.zF");
    EXPECT_EQ(d.edit()->text(), "12F");

    Enter(d, "5"); // below
    Enter(d, "");  // empty reads as 0: below too
    Enter(d, "4096");
    Enter(d, "99999999999"); // beyond 32 bits: refused, never wrapped
    Enter(d, "100000000FFh");
    ASSERT_EQ(messages.size(), 5u);
    EXPECT_EQ(messages[0].line1, "The value is too small");
    EXPECT_EQ(messages[1].line1, "The value is too small");
    EXPECT_EQ(messages[2].line1, "The value is too large");
    EXPECT_EQ(messages[3].line1, "The value is too large");
    EXPECT_EQ(messages[4].line1, "The value is too large");
    EXPECT_EQ(messages[0].line2, "");
    EXPECT_EQ(messages[0].caption, "Error");
    EXPECT_EQ(messages[0].bitmapId, 150);
    EXPECT_EQ(messages[0].captionColor, 255u);
    EXPECT_TRUE(d.isVisible());
    EXPECT_EQ(p.value, 100);

    Enter(d, "1F"); // decimal: 1, below the minimum
    EXPECT_EQ(messages.size(), 6u);
    Enter(d, "1Fh");
    EXPECT_FALSE(d.isVisible());
    EXPECT_EQ(d.result(), mv::IDOK);
    EXPECT_EQ(p.value, 31);

    CModulParam q = Param(0, 100, 7);
    CRangeDlg one(q);
    one.ShowModeless();
    Enter(one, "1F");
    EXPECT_EQ(q.value, 1);
    CRangeDlg empty(q);
    empty.ShowModeless();
    Enter(empty, "");
    EXPECT_EQ(q.value, 0);
    CRangeDlg cancelled(q);
    cancelled.ShowModeless();
    cancelled.edit()->setText("55");
    Command(cancelled, mv::IDCANCEL);
    EXPECT_EQ(q.value, 0);
}

TEST_F(ValueDialogs, RangeOfATypedValue) {
    // One byte, hexadecimal, limits from the size.
    CControllerParam byte = Master(1, 1, 0, 0);
    byte.value.SetByte(0x2A);
    CRangeDlg b(byte);
    b.ShowModeless();
    EXPECT_EQ(b.mode(), 1);
    EXPECT_EQ(b.edit()->text(), "2Ah");
    EXPECT_EQ(Text(b, IDC_MIN_VALUE), "0h");
    EXPECT_EQ(Text(b, IDC_MAX_VALUE), "FFh");
    Enter(b, "100h");
    EXPECT_EQ(messages.size(), 1u);
    Enter(b, "FFh");
    EXPECT_EQ(byte.value.Data()[0], 0xFF);

    // Two bytes with their own limits, decimal.
    CControllerParam word = Master(2, 0, 1, 10000);
    word.value.SetWord(500);
    CRangeDlg w(word);
    w.ShowModeless();
    EXPECT_EQ(w.edit()->text(), "500");
    EXPECT_EQ(Text(w, IDC_MAX_VALUE), "10000");
    Enter(w, "0");
    Enter(w, "10001");
    EXPECT_EQ(messages.size(), 3u);
    Enter(w, "2710h");
    EXPECT_EQ(word.value.Data()[0] | (word.value.Data()[1] << 8), 10000);

    // Four bytes over the whole unsigned range: every 32-bit value, nothing beyond.
    CControllerParam full = Master(4, 0, 0, 0);
    full.value.SetLong(0xFFFFFFFFu);
    CRangeDlg f(full);
    f.ShowModeless();
    EXPECT_EQ(f.edit()->text(), "4294967295");
    EXPECT_EQ(Text(f, IDC_MAX_VALUE), "4294967295");
    Enter(f, "4294967296");
    EXPECT_EQ(messages.size(), 4u);
    Enter(f, "80000000h");
    std::uint32_t v = 0;
    full.value.CopyTo(reinterpret_cast<std::uint8_t*>(&v), 4);
    EXPECT_EQ(v, 0x80000000u);

    CControllerParam hex = Master(4, 1, 0, 0);
    hex.value.SetLong(0xC0A80001u);
    CRangeDlg h(hex);
    h.ShowModeless();
    EXPECT_EQ(h.edit()->text(), "C0A80001h");
    EXPECT_EQ(Text(h, IDC_MAX_VALUE), "FFFFFFFFh");
    Command(h, mv::IDCANCEL);
    hex.value.CopyTo(reinterpret_cast<std::uint8_t*>(&v), 4);
    EXPECT_EQ(v, 0xC0A80001u);
}

TEST_F(ValueDialogs, ChoiceAndOnOffStoreTheirValues) {
    CModulParam p;
    p.name = "Signal range";
    p.choiceCount = 3;
    p.choices = {{"0 - 10 V", 0}, {"4 - 20 mA", 5}, {"+/- 10 V", 9}};
    p.value = 9;
    {
        CChoiceDlg d(p);
        d.ShowModeless();
        EXPECT_EQ(d.combo()->count(), 3);
        EXPECT_EQ(d.combo()->currentIndex(), 0); // the first entry, whatever the value
        EXPECT_EQ(d.combo()->itemText(1), "4 - 20 mA");
        EXPECT_EQ(xui::windowText(d.item(mv::IDCANCEL)), "Cancel");
        d.combo()->setCurrentIndex(1);
        Command(d, mv::IDCANCEL);
        EXPECT_EQ(p.value, 9);
    }
    {
        CChoiceDlg d(p);
        d.ShowModeless();
        d.combo()->setCurrentIndex(1);
        Command(d, mv::IDOK);
        EXPECT_EQ(p.value, 5);
    }

    CModulParam flag;
    flag.name = "Behaviour";
    flag.value = 1;
    {
        CFlagValueDlg d(flag);
        d.ShowModeless();
        EXPECT_TRUE(d.radio(IDC_RADIO_ON)->isChecked());
        EXPECT_FALSE(d.radio(IDC_RADIO_OFF)->isChecked());
        EXPECT_EQ(d.radio(IDC_RADIO_ON)->text(), "True");
        EXPECT_EQ(d.radio(IDC_RADIO_OFF)->text(), "False");
        QTest::mouseClick(d.radio(IDC_RADIO_OFF), Qt::LeftButton, {}, QPoint(5, 5));
        Command(d, mv::IDCANCEL);
        EXPECT_EQ(flag.value, 1);
    }
    {
        CFlagValueDlg d(flag);
        d.ShowModeless();
        QTest::mouseClick(d.radio(IDC_RADIO_OFF), Qt::LeftButton, {}, QPoint(5, 5));
        EXPECT_FALSE(d.radio(IDC_RADIO_ON)->isChecked());
        Command(d, mv::IDOK);
        EXPECT_EQ(flag.value, 0);
    }
    flag.value = 7; // anything but 1 shows as off
    CFlagValueDlg d(flag);
    d.ShowModeless();
    EXPECT_TRUE(d.radio(IDC_RADIO_OFF)->isChecked());
    QTest::mouseClick(d.radio(IDC_RADIO_ON), Qt::LeftButton, {}, QPoint(5, 5));
    Command(d, mv::IDOK);
    EXPECT_EQ(flag.value, 1);
}

} // namespace
