// Replies of the control connection: lines gathered from received bytes, and the reply
// assembler that tells when a (possibly multi-line) reply is complete. No socket here.
#pragma once

#include <cstddef>
#include <deque>
#include <string>
#include <string_view>

namespace ftp {

// The reply buffer: a line keeps at most kReplyBufferSize - 1 bytes (the rest up to its LF is
// read and dropped).
constexpr std::size_t kReplyBufferSize = 1024;

// The reply code of a line: the value of its first three characters when they are digits, else 0.
int ReplyCode(std::string_view line);

// The text of a line as it is logged: up to the first CR, LF or NUL.
std::string_view LoggedText(std::string_view line);

// Splits received bytes into lines that end at LF (the LF is kept when it fits).
class LineReader {
public:
    void Feed(const char* data, std::size_t size);
    // Takes the oldest complete line; false when no line is complete yet.
    bool NextLine(std::string& line);
    void Clear();

private:
    std::string current_;
    std::deque<std::string> complete_;
};

// Tells when the lines of one reply are complete. A first line without a code ends the reply
// with code 0; "nnn-" opens a multi-line reply that ends only at a line of the same code whose
// fourth character is not '-'; lines in between may carry any text.
class ReplyAssembler {
public:
    void Reset();
    // Takes the next line; true when the reply is complete.
    bool AddLine(std::string_view line);
    int Code() const { return code_; }

private:
    int code_ = 0;
    int openCode_ = 0; // code of the open multi-line reply; 0 when none is open
};

} // namespace ftp
