// A private X server for one test program. Start() runs Xvfb on a free display (chosen by the
// server itself), points DISPLAY at it and switches Qt to the xcb platform; call it before the
// first QApplication is made. The server ends with the program.
#pragma once

#include <string>

namespace mvtest {

class XvfbSession {
public:
    // True when the server runs (started now or earlier in this process). False where Xvfb is
    // not installed, does not start, or a QApplication already exists: the caller skips.
    static bool Start();
    // ":<n>" of the running server, empty before Start().
    static std::string Display();
};

}  // namespace mvtest

// Skips the current test where no private X server can be had.
#define MV_REQUIRE_XVFB()                                                        \
    do {                                                                         \
        if (!::mvtest::XvfbSession::Start()) GTEST_SKIP() << "Xvfb not available"; \
    } while (0)
