// Windows-1252, the byte encoding of every text in files and in the model. Conversion happens
// only at the edge (widgets, file names, the console).
#pragma once

#include <string>
#include <string_view>

namespace mv {

// The Unicode code point of one byte. The five bytes the code page leaves unassigned
// (0x81, 0x8D, 0x8F, 0x90, 0x9D) map to the control characters of the same number, so every
// byte survives a round trip.
char32_t cp1252ToUnicode(unsigned char byte);

// The byte of a code point; -1 when the code page has no such character.
int unicodeToCp1252(char32_t cp);

// Windows-1252 bytes to UTF-8.
std::string cp1252ToUtf8(std::string_view bytes);

// UTF-8 to Windows-1252 bytes. Characters the code page lacks and malformed sequences become
// the replacement byte.
std::string utf8ToCp1252(std::string_view utf8, char replacement = '?');

} // namespace mv
