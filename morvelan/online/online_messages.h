// The messages of online mode, in the program's message dialog, and the wait cursor as a guard.
#pragma once

#include "morvelan/core/app_hooks.h"

#include <string>

namespace morvelan {

// Language texts of online mode.
constexpr int kTextError = 5000;
constexpr int kTextMismatch = 5003;
constexpr int kTextCommError = 5004;
constexpr int kTextUnknownModule = 5013;
constexpr int kTextCancel = 10001;
constexpr int kTextInformation = 10002;
constexpr int kTextTransferDone = 10013;
constexpr int kTextDownloadQuestion = 246;

// Symbol bitmaps and caption colours of the message dialog.
constexpr int kSymbolError = 150;
constexpr int kSymbolInformation = 159;
constexpr int kSymbolQuestion = 188;
constexpr unsigned kCaptionRed = 255;
constexpr unsigned kCaptionBlue = 0x800000;
// Results of the message dialog.
constexpr int kResultOk = 1;
constexpr int kResultCancel = 2;

// Shows a message (button mode 0: OK, 1: OK and Cancel) without parent; returns the result.
int ShowOnlineMessage(const mv::AppMessage& message, int buttonMode = 0);
// An error message with line 1 and an empty line 2.
void ShowOnlineError(const std::string& line1);
// Language text 5004, " : " and the short text of a Portwire error code.
std::string CommErrorText(int code);
// An information message under caption 10002.
void ShowOnlineInformation(const std::string& line1);

// The wait cursor from construction until End or destruction, whichever comes first.
class CWaitCursorGuard {
public:
    CWaitCursorGuard();
    ~CWaitCursorGuard();
    CWaitCursorGuard(const CWaitCursorGuard&) = delete;
    CWaitCursorGuard& operator=(const CWaitCursorGuard&) = delete;

    void Begin();
    void End();
    bool Active() const { return active_; }

private:
    bool active_ = false;
};

} // namespace morvelan
