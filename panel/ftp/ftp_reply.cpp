#include "panel/ftp/ftp_reply.h"

namespace ftp {

int ReplyCode(std::string_view line) {
    if (line.size() < 3)
        return 0;
    int code = 0;
    for (std::size_t i = 0; i < 3; ++i) {
        const char c = line[i];
        if (c < '0' || c > '9')
            return 0;
        code = code * 10 + (c - '0');
    }
    return code;
}

std::string_view LoggedText(std::string_view line) {
    const std::size_t end = line.find_first_of(std::string_view("\r\n\0", 3));
    return end == std::string_view::npos ? line : line.substr(0, end);
}

void LineReader::Feed(const char* data, std::size_t size) {
    for (std::size_t i = 0; i < size; ++i) {
        const char c = data[i];
        if (current_.size() < kReplyBufferSize - 1)
            current_.push_back(c);
        if (c == '\n') {
            complete_.push_back(std::move(current_));
            current_.clear();
        }
    }
}

bool LineReader::NextLine(std::string& line) {
    if (complete_.empty())
        return false;
    line = std::move(complete_.front());
    complete_.pop_front();
    return true;
}

void LineReader::Clear() {
    current_.clear();
    complete_.clear();
}

void ReplyAssembler::Reset() {
    code_ = 0;
    openCode_ = 0;
}

bool ReplyAssembler::AddLine(std::string_view line) {
    const int code = ReplyCode(line);
    const bool hyphen = line.size() > 3 && line[3] == '-';
    if (openCode_ == 0) {
        code_ = code;
        if (code == 0)
            return true;
        if (hyphen) {
            openCode_ = code;
            return false;
        }
        return true;
    }
    if (code == openCode_ && !hyphen) {
        code_ = code;
        openCode_ = 0;
        return true;
    }
    return false;
}

} // namespace ftp
