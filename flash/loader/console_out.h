// The loader's console: text on standard output with the result column, colours and the
// printf-style writer. On a terminal the colours are ANSI sequences and the cursor is placed at
// the column; otherwise the text is plain and the column is reached with blanks.
#pragma once

#include <string>
#include <string_view>

namespace flash {

// Console attributes (the classic colour numbers).
inline constexpr int kAttrNormal = 7;
inline constexpr int kAttrGreen = 10;  // bright green
inline constexpr int kAttrRed = 12;    // bright red
inline constexpr int kAttrYellow = 14; // bright yellow
inline constexpr int kAttrWhite = 15;  // bright white

// Column of the " -> OK" and " -> Error" marks.
inline constexpr int kResultColumn = 55;
// Room of one formatted console text, its terminator included.
inline constexpr int kConsoleBufferSize = 1024;

class CConsoleOut {
public:
    CConsoleOut();

    // Sends the output into a text instead of standard output; terminal chooses whether the
    // ANSI sequences are written. A null sink goes back to standard output.
    void CaptureTo(std::string* sink, bool terminal);
    bool IsTerminal() const { return m_Terminal; }
    int Column() const { return m_Column; }

    // Text as it stands, in the current attribute.
    void Print(std::string_view text);
    // Moves to column x of the current row.
    void SetColumn(int x);
    // " -> OK\n" in green / " -> Error\n" in red, at the result column.
    void PrintOk();
    void PrintError();
    // Text in an attribute; the attribute in force before is restored after it.
    void PrintColored(std::string_view text, int attribute);
    // "\nError : " in red, then the text and "\n".
    void PrintErrorLine(std::string_view text);
    // The usage text.
    void PrintUsage();

private:
    void Emit(std::string_view bytes);
    void SetAttribute(int attribute);

    std::string* m_Sink = nullptr;
    bool m_Terminal = false;
    int m_Column = 0;
    int m_Attribute = kAttrNormal;
};

// The one console of the program.
CConsoleOut& ConsoleOut();

// Formats into a buffer of kConsoleBufferSize bytes (longer texts are cut), writes the text to
// the console and flushes. Callers pass texts of users and peers as arguments, never as the
// format.
void ConsolePrintf(const char* format, ...) __attribute__((format(printf, 1, 2)));

} // namespace flash
