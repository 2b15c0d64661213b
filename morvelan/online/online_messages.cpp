#include "morvelan/online/online_messages.h"

#include "morvelan/core/connection.h"
#include "xui/message_dlg.h"

namespace morvelan {

int ShowOnlineMessage(const mv::AppMessage& message, int buttonMode) {
    xui::MessageRequest request;
    request.line1 = message.line1;
    request.line2 = message.line2;
    request.caption = message.caption;
    request.bitmapId = message.bitmap;
    request.buttonMode = buttonMode;
    request.captionColor = message.captionColour;
    return xui::ShowMessage(request);
}

void ShowOnlineError(const std::string& line1) {
    mv::AppMessage message = mv::ErrorMessage(line1);
    message.bitmap = kSymbolError;
    message.captionColour = kCaptionRed;
    ShowOnlineMessage(message);
}

std::string CommErrorText(int code) {
    return mv::LanguageText(kTextCommError) + " : " + GetPortwireErrorText(code);
}

void ShowOnlineInformation(const std::string& line1) {
    mv::AppMessage message;
    message.line1 = line1;
    message.caption = mv::LanguageText(kTextInformation);
    message.bitmap = kSymbolInformation;
    message.captionColour = kCaptionBlue;
    ShowOnlineMessage(message);
}

CWaitCursorGuard::CWaitCursorGuard() {
    Begin();
}

CWaitCursorGuard::~CWaitCursorGuard() {
    End();
}

void CWaitCursorGuard::Begin() {
    if (!active_) {
        mv::appHooks().SetWaitCursor(true);
        active_ = true;
    }
}

void CWaitCursorGuard::End() {
    if (active_) {
        mv::appHooks().SetWaitCursor(false);
        active_ = false;
    }
}

} // namespace morvelan
