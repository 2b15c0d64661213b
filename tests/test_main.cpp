// Entry point of every test program: the environment that the tests rely on, then GoogleTest.
#include <cstdlib>

#include <gtest/gtest.h>

int main(int argc, char** argv) {
    // Values already set by the caller win.
    setenv("QT_QPA_PLATFORM", "offscreen", 0);
    setenv("MV_SOURCE_DIR", MV_TEST_SOURCE_DIR, 0);
    setenv("MV_PROGRAM_DIR", MV_TEST_PROGRAM_DIR, 0);
    testing::InitGoogleTest(&argc, argv);
    return RUN_ALL_TESTS();
}
