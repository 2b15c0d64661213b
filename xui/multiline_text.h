// The text of a multi-line edit (QPlainTextEdit or QTextEdit) as the files hold it: line breaks
// are CR LF. The edit itself only knows '\n'; these two keep the bytes that were put in when the
// user has not changed the text, and give every line break as CR LF once he has.
#pragma once

#include <string>
#include <string_view>

class QWidget;

namespace xui {

// Shows Windows-1252 bytes in the edit; CR LF, a lone CR and a lone LF each become one break.
void setMultiLineText(QWidget* edit, std::string_view bytes);

// The edit's text in Windows-1252 with CR LF line ends; the very bytes last set while the text is
// unchanged. Empty for a widget that is no multi-line edit.
std::string multiLineText(const QWidget* edit);

} // namespace xui
