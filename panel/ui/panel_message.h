// The panel's messages: the message dialog with the panel's success and error symbols.
#pragma once

#include <string>

namespace x740panel {

inline constexpr unsigned kSuccessCaptionColor = 0xCF9060;
inline constexpr unsigned kErrorCaptionColor = 0x0000FF;

// Shows text (Windows-1252) as one line under the caption with the success or error symbol.
void ShowPanelMessage(const std::string& caption, const std::string& text, bool success);

} // namespace x740panel
