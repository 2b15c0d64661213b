#include "platform/sys_colors.h"

#include <gtest/gtest.h>

namespace {

TEST(SystemTable, ColoursAreFixed) {
    EXPECT_EQ(mv::GetSysColor(mv::COLOR_BTNFACE), 0xF0F0F0u);
    EXPECT_EQ(mv::GetSysColor(mv::COLOR_BTNTEXT), 0u);
    EXPECT_EQ(mv::GetSysColor(mv::COLOR_BTNSHADOW), 0xA0A0A0u);
    EXPECT_EQ(mv::GetSysColor(mv::COLOR_BTNHIGHLIGHT), 0xFFFFFFu);
    EXPECT_EQ(mv::GetSysColor(mv::COLOR_WINDOW), 0xFFFFFFu);
    EXPECT_EQ(mv::GetSysColor(mv::COLOR_WINDOWTEXT), 0u);
    EXPECT_EQ(mv::GetSysColor(mv::COLOR_MENU), 0xF0F0F0u);
}

TEST(SystemTable, MetricsAreFixed) {
    EXPECT_EQ(mv::GetSystemMetrics(mv::SM_CYFRAME), 4);
    EXPECT_EQ(mv::GetSystemMetrics(mv::SM_CYCAPTION), 22);
    EXPECT_EQ(mv::GetSystemMetrics(mv::SM_CXHTHUMB), 17);
    EXPECT_EQ(mv::GetSystemMetrics(mv::SM_CXVSCROLL), 17);
}

TEST(SystemTable, UnknownIndexesGiveZero) {
    EXPECT_EQ(mv::GetSysColor(-1), 0u);
    EXPECT_EQ(mv::GetSysColor(999), 0u);
    EXPECT_EQ(mv::GetSystemMetrics(-5), 0);
    EXPECT_EQ(mv::GetSystemMetrics(9999), 0);
}

} // namespace
