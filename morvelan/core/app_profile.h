// Writers of settings and project files that report failures to the user, and the failure
// message itself.
#pragma once

#include <functional>
#include <string>

// Writes text into section/key of file; an empty text is written as one blank. On failure
// ShowLastError("SAVE " + section + " " + key) and 0; else 1.
int WriteProfileText(const std::string& section, const std::string& key, const std::string& text,
                     const std::string& file);
// The same with the number written in decimal ("%d").
int WriteProfileNumber(const std::string& section, const std::string& key, int number,
                       const std::string& file);

// Shows "<text> FAILURE: <message>\n" (or "<text> FAILURE: (0x%08x)\n" when errno has no
// message) with the caption "ERROR", then puts errno back.
void ShowLastError(const std::string& text);

// The text ShowLastError shows for an error code.
std::string LastErrorText(const std::string& text, int code);

namespace mv {
// Where ShowLastError's message goes (caption, text). The program installs a message box;
// by default the text goes to standard error. An empty function restores the default.
using ErrorBoxSink = std::function<void(const std::string& caption, const std::string& text)>;
void setErrorBoxSink(ErrorBoxSink sink);
} // namespace mv
