// COM numbers to devices.
#include "platform/com_ports.h"

#include <cstdlib>

#include <gtest/gtest.h>

namespace {

TEST(PortwireComPorts, DefaultDeviceIsTtySOfNumberLessOne) {
    ::unsetenv("PORTWIRE_COM1");
    ::unsetenv("PORTWIRE_COM12");
    EXPECT_EQ(mv::comPortDevice(1), "/dev/ttyS0");
    EXPECT_EQ(mv::comPortDevice(12), "/dev/ttyS11");
    EXPECT_EQ(mv::comPortName(3), "COM3");
}

TEST(PortwireComPorts, EnvironmentNamesAnotherDevice) {
    ::setenv("PORTWIRE_COM3", "/dev/pts/7", 1);
    EXPECT_EQ(mv::comPortDevice(3), "/dev/pts/7");
    ::setenv("PORTWIRE_COM3", "", 1);
    EXPECT_EQ(mv::comPortDevice(3), "/dev/ttyS2");
    ::unsetenv("PORTWIRE_COM3");
}

TEST(PortwireComPorts, NumbersBelowOneHaveNoDevice) {
    EXPECT_EQ(mv::comPortDevice(0), "");
    EXPECT_EQ(mv::comPortDevice(-4), "");
}

} // namespace
