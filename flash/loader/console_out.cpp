#include "flash/loader/console_out.h"

#include <cstdarg>
#include <cstdio>
#include <unistd.h>

namespace flash {

namespace {

// ANSI select-graphic-rendition sequence of an attribute.
const char* SequenceOf(int attribute) {
    switch (attribute) {
    case kAttrGreen:
        return "\x1b[92m";
    case kAttrRed:
        return "\x1b[91m";
    case kAttrYellow:
        return "\x1b[93m";
    case kAttrWhite:
        return "\x1b[97m";
    default:
        return "\x1b[0m";
    }
}

} // namespace

CConsoleOut::CConsoleOut() : m_Terminal(::isatty(STDOUT_FILENO) == 1) {}

void CConsoleOut::CaptureTo(std::string* sink, bool terminal) {
    m_Sink = sink;
    m_Terminal = sink ? terminal : ::isatty(STDOUT_FILENO) == 1;
    m_Column = 0;
    m_Attribute = kAttrNormal;
}

void CConsoleOut::Emit(std::string_view bytes) {
    if (m_Sink) {
        m_Sink->append(bytes);
        return;
    }
    std::fwrite(bytes.data(), 1, bytes.size(), stdout);
    std::fflush(stdout);
}

void CConsoleOut::Print(std::string_view text) {
    for (const char c : text) {
        if (c == '\n' || c == '\r') {
            m_Column = 0;
        } else {
            ++m_Column;
        }
    }
    Emit(text);
}

void CConsoleOut::SetColumn(int x) {
    if (x < 0) {
        x = 0;
    }
    if (m_Terminal) {
        char move[32];
        std::snprintf(move, sizeof move, "\x1b[%dG", x + 1);
        Emit(move);
        m_Column = x;
        return;
    }
    // Plain output cannot go back: a row already past the column takes the mark at once.
    if (m_Column < x) {
        Print(std::string(static_cast<std::size_t>(x - m_Column), ' '));
    }
}

void CConsoleOut::SetAttribute(int attribute) {
    if (m_Terminal && attribute != m_Attribute) {
        Emit(SequenceOf(attribute));
    }
    m_Attribute = attribute;
}

void CConsoleOut::PrintColored(std::string_view text, int attribute) {
    const int previous = m_Attribute;
    SetAttribute(attribute);
    Print(text);
    SetAttribute(previous);
}

void CConsoleOut::PrintOk() {
    SetColumn(kResultColumn);
    PrintColored(" -> OK\n", kAttrGreen);
}

void CConsoleOut::PrintError() {
    SetColumn(kResultColumn);
    PrintColored(" -> Error\n", kAttrRed);
}

void CConsoleOut::PrintErrorLine(std::string_view text) {
    PrintColored("\nError : ", kAttrRed);
    Print(text);
    Print("\n");
}

CConsoleOut& ConsoleOut() {
    static CConsoleOut console;
    return console;
}

void ConsolePrintf(const char* format, ...) {
    char buffer[kConsoleBufferSize];
    va_list args;
    va_start(args, format);
    const int n = std::vsnprintf(buffer, sizeof buffer, format, args);
    va_end(args);
    if (n < 0) {
        return;
    }
    ConsoleOut().Print(buffer);
}

} // namespace flash
