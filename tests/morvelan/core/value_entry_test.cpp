// Reading a typed number, the limits of channel and controller parameters, and how a
// controller parameter shows its value.
#include "morvelan/core/controller_module.h"
#include "morvelan/core/value_entry.h"

#include <gtest/gtest.h>

#include <limits>

namespace {

TEST(ValueEntry, ReadsDecimalAndSuffixedHexadecimalIn64Bits) {
    EXPECT_EQ(ParseValueEntry("1Fh"), 31);
    EXPECT_EQ(ParseValueEntry("1FH"), 31);
    EXPECT_EQ(ParseValueEntry("1F"), 1);
    EXPECT_EQ(ParseValueEntry(""), 0);
    EXPECT_EQ(ParseValueEntry("h"), 0);
    EXPECT_EQ(ParseValueEntry("abc"), 0);
    EXPECT_EQ(ParseValueEntry("FFFFFFFFh"), 0xFFFFFFFFll);
    EXPECT_EQ(ParseValueEntry("100000000h"), 0x100000000ll);
    EXPECT_EQ(ParseValueEntry("4294967296"), 4294967296ll);
    EXPECT_EQ(ParseValueEntry("FFFFFFFFFFFFFFFFFFFFh"), std::numeric_limits<std::int64_t>::max());
    EXPECT_EQ(ParseValueEntry("99999999999999999999999"), std::numeric_limits<std::int64_t>::max());
    EXPECT_EQ(ParseValueEntry("12x4h"), 0x12);
}

TEST(ValueEntry, LimitsOfParametersAndSizes) {
    CModulParam p;
    p.minimum = -1e12f;
    p.maximum = 4294967296.0f;
    const ValueLimits wide = ParamLimits(p);
    EXPECT_EQ(wide.minimum, std::numeric_limits<std::int32_t>::min());
    EXPECT_EQ(wide.maximum, std::numeric_limits<std::int32_t>::max());
    p.minimum = 1.9f;
    p.maximum = 4095.0f;
    EXPECT_EQ(ParamLimits(p).minimum, 1);
    EXPECT_EQ(ParamLimits(p).maximum, 4095);

    CControllerParam c;
    c.length = 1;
    EXPECT_EQ(ControllerParamLimits(c).maximum, 255);
    c.length = 2;
    EXPECT_EQ(ControllerParamLimits(c).maximum, 65535);
    c.length = 4;
    EXPECT_EQ(ControllerParamLimits(c).maximum, 4294967295ll);
    c.minimum = -5;
    c.maximum = 5;
    EXPECT_EQ(ControllerParamLimits(c).minimum, -5);
    EXPECT_EQ(ControllerParamLimits(c).maximum, 5);
}

TEST(ValueEntry, ControllerParameterTexts) {
    CControllerParam c;
    c.mode = 1;
    c.length = 1;
    SetControllerParamValue(c, 0x1AB);
    EXPECT_EQ(ControllerParamText(c), "ABH");
    c.length = 2;
    SetControllerParamValue(c, 0x2A);
    EXPECT_EQ(ControllerParamText(c), "002AH");
    c.length = 4;
    SetControllerParamValue(c, 0xC0A80001u);
    EXPECT_EQ(ControllerParamText(c), "C0A80001H");
    c.mode = 0;
    EXPECT_EQ(ControllerParamText(c), std::to_string(static_cast<std::int32_t>(0xC0A80001u)));
    c.length = 2;
    SetControllerParamValue(c, 65535);
    EXPECT_EQ(ControllerParamText(c), "65535");
    EXPECT_EQ(ControllerParamValue(c), 65535);
    c.length = 6;
    c.value.SetText("X740-Core");
    EXPECT_EQ(ControllerParamText(c), "X740-Core");
    EXPECT_EQ(ValueEntryText(255, true), "FFh");
    EXPECT_EQ(ValueEntryText(-3, false), "-3");
}

} // namespace
