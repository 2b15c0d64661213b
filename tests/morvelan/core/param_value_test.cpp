#include "morvelan/core/app_hooks.h"
#include "morvelan/core/bit_string.h"
#include "morvelan/core/param_record.h"
#include "morvelan/core/param_value.h"

#include <gtest/gtest.h>

#include <clocale>
#include <cstring>

namespace {

// Language texts for true and false, as the language table would give them.
class BoolTexts : public mv::IAppHooks {
public:
    std::string LanguageText(int number) override {
        if (number == kTextTrue) {
            return "TRUE";
        }
        if (number == kTextFalse) {
            return "FALSE";
        }
        return "???";
    }
};

class ParamValueTest : public ::testing::Test {
protected:
    void SetUp() override { mv::setAppHooks(&texts_); }
    void TearDown() override { mv::setAppHooks(nullptr); }
    BoolTexts texts_;
};

TEST_F(ParamValueTest, SizesAndSignednessOfEveryType) {
    const int sizes[] = {0, 1, 1, 2, 4, 1, 2, 4, 8, 0, 0};
    for (int type = 1; type <= 10; ++type) {
        EXPECT_EQ(CParamValue::GetSize(type), sizes[type]) << "type " << type;
        EXPECT_EQ(CParamValue::IsSignedType(type), type >= 5) << "type " << type;
    }
    // Unknown types answer with their own number.
    EXPECT_EQ(CParamValue::GetSize(0), 0);
    EXPECT_EQ(CParamValue::GetSize(42), 42);
    CParamValue v;
    EXPECT_EQ(v.GetAsInt(42), 42);
    EXPECT_EQ(v.ToText(42), "");
}

TEST_F(ParamValueTest, LimitsAsFloats) {
    float lo = -5, hi = -5;
    CParamValue::GetLimits(4, lo, hi);
    EXPECT_EQ(lo, 0.0f);
    EXPECT_EQ(hi, 4294967296.0f);
    CParamValue::GetLimits(5, lo, hi);
    EXPECT_EQ(lo, -127.0f);
    EXPECT_EQ(hi, 127.0f);
    CParamValue::GetLimits(6, lo, hi);
    EXPECT_EQ(lo, -32767.0f);
    EXPECT_EQ(hi, 32767.0f);
    CParamValue::GetLimits(7, lo, hi);
    EXPECT_EQ(lo, -2147483648.0f);
    EXPECT_EQ(hi, 2147483648.0f);
    CParamValue::GetLimits(9, lo, hi);
    EXPECT_FLOAT_EQ(lo, 1.17549435e-38f);
    EXPECT_FLOAT_EQ(hi, 3.40282347e+38f);
    CParamValue::GetLimits(1, lo, hi);
    EXPECT_EQ(lo, 0.0f);
    EXPECT_EQ(hi, 1.0f);
    // An unknown type leaves the outputs alone.
    lo = 7;
    hi = 8;
    CParamValue::GetLimits(11, lo, hi);
    EXPECT_EQ(lo, 7.0f);
    EXPECT_EQ(hi, 8.0f);
}

TEST_F(ParamValueTest, IntegerReadingExtendsBySignedness) {
    CParamValue v;
    v.SetLong(0xFFFFFFFFu);
    EXPECT_EQ(v.GetAsInt(2), 255);
    EXPECT_EQ(v.GetAsInt(3), 65535);
    EXPECT_EQ(v.GetAsInt(5), -1);
    EXPECT_EQ(v.GetAsInt(6), -1);
    EXPECT_EQ(v.GetAsInt(7), -1);
    EXPECT_EQ(v.GetAsInt(8), 0);
    EXPECT_EQ(v.ToText(4), "4294967295");
    EXPECT_EQ(v.ToText(7), "-1");
    EXPECT_EQ(v.ToText(8), "");
    // A boolean is true only when its byte is exactly 1.
    EXPECT_EQ(v.GetAsInt(1), 0);
    v.SetByte(1);
    EXPECT_EQ(v.GetAsInt(1), 1);
}

TEST_F(ParamValueTest, TextRoundTripsForEveryIntegerType) {
    struct Case {
        int type;
        const char* text;
        const char* back;
    } cases[] = {
        {2, "200", "200"},   {3, "65535", "65535"},   {4, "3000000000", "3000000000"},
        {5, "-100", "-100"}, {6, "-32000", "-32000"}, {7, "-2147483648", "-2147483648"},
        {4, "31l", "31"},    {7, "  42xyz", "42"},    {2, "abc", "0"},
    };
    for (const auto& c : cases) {
        CParamValue v;
        v.FromText(c.text, c.type);
        EXPECT_EQ(v.ToText(c.type), c.back) << c.type << " " << c.text;
    }
}

TEST_F(ParamValueTest, OutOfRangeTextKeepsTheLowBytes) {
    CParamValue v;
    v.FromText("300", 2);
    EXPECT_EQ(v.GetAsInt(2), 300 & 0xFF);
    v.FromText("70000", 3);
    EXPECT_EQ(v.GetAsInt(3), 70000 & 0xFFFF);
    v.FromText("-1", 3);
    EXPECT_EQ(v.GetAsInt(3), 0xFFFF);
    v.FromText("4294967297", 4);
    EXPECT_EQ(v.ToText(4), "1");
    // Only the bytes of the type change.
    CParamValue w;
    w.SetLong(0xAABBCCDDu);
    w.FromText("1", 2);
    EXPECT_EQ(w.Data()[0], 1);
    EXPECT_EQ(w.Data()[1], 0xCC);
}

TEST_F(ParamValueTest, BooleanRoundTripsThroughItsText) {
    CParamValue v;
    v.SetByte(1);
    EXPECT_EQ(v.ToText(1), "TRUE");
    CParamValue w;
    w.FromText(v.ToText(1), 1);
    EXPECT_EQ(w.GetAsInt(1), 1);
    w.FromText("FALSE", 1);
    EXPECT_EQ(w.GetAsInt(1), 0);
    EXPECT_EQ(w.ToText(1), "FALSE");
    w.FromText("1", 1);
    EXPECT_EQ(w.GetAsInt(1), 1);
    w.FromText("5", 1);
    EXPECT_EQ(w.GetAsInt(1), 1);
    w.FromText("0", 1);
    EXPECT_EQ(w.GetAsInt(1), 0);
}

TEST_F(ParamValueTest, FloatsUseTheCLocaleWhateverTheProcessLocale) {
    const char* had = std::setlocale(LC_ALL, nullptr);
    const std::string saved = had ? had : "C";
    // A locale with a decimal comma, when the machine has one; the C locale otherwise.
    std::setlocale(LC_ALL, "de_DE.UTF-8");
    CParamValue v;
    v.FromText("2.5", 9);
    float f;
    std::memcpy(&f, v.Data(), sizeof f);
    EXPECT_EQ(f, 2.5f);
    EXPECT_EQ(v.ToText(9), "2.500000");
    std::setlocale(LC_ALL, saved.c_str());
}

TEST_F(ParamValueTest, TextsAreCutAt100AndTypesWithoutTextStayUnchanged) {
    CParamValue v;
    v.SetText(std::string(150, 'x'));
    EXPECT_EQ(v.ToText(10), std::string(100, 'x'));
    v.FromText("99", 10);
    EXPECT_EQ(v.ToText(10), std::string(100, 'x'));
    CParamValue w;
    w.SetLong(7);
    w.FromText("99", 8);
    EXPECT_EQ(w.GetAsInt(7), 7);
}

TEST_F(ParamValueTest, ComparisonCoversAllBytes) {
    CParamValue a, b;
    EXPECT_FALSE(a != b);
    b.Data()[103] = 1;
    EXPECT_TRUE(a != b);
}

TEST_F(ParamValueTest, CopiesNeverRunPastTheStorage) {
    std::uint8_t big[300];
    for (int i = 0; i < 300; ++i) {
        big[i] = static_cast<std::uint8_t>(i);
    }
    CParamValue v;
    EXPECT_EQ(v.CopyFrom(big, 300), 104u);
    EXPECT_EQ(v.Data()[103], 103);
    std::uint8_t out[300] = {};
    EXPECT_EQ(v.CopyTo(out, 300), 104u);
    EXPECT_EQ(out[104], 0);
}

TEST(ModulParam, ValueTexts) {
    CModulParam ip;
    ip.kind = 1;
    ip.value = static_cast<std::int32_t>(0xC0A80001u);
    EXPECT_EQ(ip.GetValueText(), "192.168.0.1");

    CModulParam choice;
    choice.choiceCount = 2;
    choice.choices = {{"first", 3}, {"second", 3}};
    choice.value = 3;
    EXPECT_EQ(choice.GetValueText(), "second");
    choice.value = 4;
    EXPECT_EQ(choice.GetValueText(), "");

    CModulParam plain;
    plain.value = -12;
    EXPECT_EQ(plain.GetValueText(), "-12");
}

TEST(ModulParam, EditValueChoosesTheDialogByNature) {
    struct Recorder : mv::IAppHooks {
        std::string seen;
        int EditAddressParam(CModulParam&) override { return seen += "ip ", 1; }
        int EditChoiceParam(CModulParam&) override { return seen += "choice ", 1; }
        int EditRadioParam(CModulParam&) override { return seen += "radio ", 1; }
        int EditRangeParam(CModulParam&) override { return seen += "range ", 1; }
    } hooks;
    mv::setAppHooks(&hooks);
    CModulParam p;
    p.kind = 1;
    p.choiceCount = 1;
    p.type = 1;
    p.EditValue();
    p.kind = 0;
    p.EditValue();
    p.choiceCount = 0;
    p.EditValue();
    p.type = 0;
    p.EditValue();
    mv::setAppHooks(nullptr);
    EXPECT_EQ(hooks.seen, "ip choice radio range ");
}

TEST(BitString, NewStringIsEightZeros) {
    CBitString s;
    EXPECT_EQ(s.GetText(), "00000000");
    EXPECT_EQ(s.GetSize(), 8);
}

TEST(BitString, BitsAcrossByteBoundaries) {
    CBitString s;
    s.SetSize(24);
    const std::uint8_t value[] = {0xFF, 0x03};
    ASSERT_TRUE(s.SetBits(6, 10, value));
    EXPECT_EQ(s.GetByte(0), 0xC0);
    EXPECT_EQ(s.GetByte(1), 0xFF);
    EXPECT_EQ(s.GetByte(2), 0x00);
    EXPECT_EQ(s.GetBits(6, 10), 0x3FFu);
    EXPECT_EQ(s.GetBits(4, 4), 0xCu);
}

TEST(BitString, FirstBitsOneZeroOneReadAsFive) {
    CBitString s;
    const std::uint8_t b = 0x05;
    s.SetBits(0, 3, &b);
    EXPECT_EQ(s.GetText().substr(0, 3), "101");
    EXPECT_EQ(s.GetBits(0, 3), 5u);
}

TEST(BitString, ThirtyTwoBitsRoundTrip) {
    CBitString s;
    s.SetSize(40);
    const std::uint8_t v[] = {0x78, 0x56, 0x34, 0x12};
    ASSERT_TRUE(s.SetBits(3, 32, v));
    EXPECT_EQ(s.GetBits(3, 32), 0x12345678u);
}

TEST(BitString, RangesOutsideTheStringAreRefused) {
    CBitString s;
    const std::uint8_t v[] = {0xFF, 0xFF, 0xFF, 0xFF, 0xFF};
    EXPECT_FALSE(s.SetBits(5, 4, v));
    EXPECT_FALSE(s.SetBits(-1, 2, v));
    EXPECT_EQ(s.GetText(), "00000000");
    EXPECT_EQ(s.GetBits(6, 3), 0u);
    s.SetSize(40);
    ASSERT_TRUE(s.SetBits(0, 40, v));
    EXPECT_EQ(s.GetBits(0, 33), 0u);
    EXPECT_EQ(s.GetByte(5), 0);
}

} // namespace
