#include "panel/ui/panel_message.h"

#include "xui/bitmaps.h"
#include "xui/message_dlg.h"

namespace x740panel {

void ShowPanelMessage(const std::string& caption, const std::string& text, bool success) {
    xui::MessageRequest request;
    request.line1 = text;
    request.caption = caption;
    request.bitmapId = success ? xui::kBitmapPanelSuccess : xui::kBitmapPanelError;
    request.captionColor = success ? kSuccessCaptionColor : kErrorCaptionColor;
    xui::ShowMessage(request);
}

} // namespace x740panel
