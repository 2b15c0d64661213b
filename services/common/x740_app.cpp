#include "services/common/x740_app.h"

#include <algorithm>
#include <cstring>

namespace x740 {

namespace {

int FrameLength(const std::array<std::uint8_t, kFrameSize>& frame) {
    return frame[3] + kHeaderSize + 1;
}

} // namespace

void CX740App::Begin(std::uint8_t direction, std::uint8_t code, int dataLength) {
    frame_.fill(0);
    frame_[2] = direction;
    frame_[3] = static_cast<std::uint8_t>(std::clamp(dataLength, 0, kMaxDataLength));
    frame_[4] = code;
}

bool CX740App::InData(int offset, int width) const {
    return offset >= 0 && width >= 0 && kHeaderSize + offset + width <= kFrameSize - 1;
}

void CX740App::PutUInt(int offset, int width, std::uint32_t value) {
    if (InData(offset, width)) {
        for (int i = 0; i < width; ++i) {
            frame_[kHeaderSize + offset + i] = static_cast<std::uint8_t>(value >> (8 * i));
        }
    }
}

void CX740App::PutBytes(int offset, const std::uint8_t* src, int count) {
    if (src != nullptr && count > 0 && InData(offset, count)) {
        std::memcpy(frame_.data() + kHeaderSize + offset, src, static_cast<std::size_t>(count));
    }
}

void CX740App::PutText(int offset, int width, const char* text) {
    if (text == nullptr || width < 1 || !InData(offset, width)) {
        return;
    }
    const std::size_t len = ::strnlen(text, static_cast<std::size_t>(width - 1));
    std::memcpy(frame_.data() + kHeaderSize + offset, text, len);
    // The rest of the field, its last byte included, stays 0 from Begin().
}

std::uint32_t CX740App::GetUInt(int offset, int width) const {
    if (!InData(offset, width)) {
        return 0;
    }
    std::uint32_t value = 0;
    for (int i = width - 1; i >= 0; --i) {
        value = (value << 8) | frame_[kHeaderSize + offset + i];
    }
    return value;
}

void CX740App::GetBytes(int offset, std::uint8_t* dest, int count) const {
    if (dest == nullptr || count <= 0) {
        return;
    }
    for (int i = 0; i < count; ++i) {
        dest[i] = static_cast<std::uint8_t>(GetU8(offset + i));
    }
}

void CX740App::GetText(int offset, int width, char* dest) const {
    if (dest == nullptr || width < 1) {
        return;
    }
    int i = 0;
    for (; i < width - 1; ++i) {
        const auto c = static_cast<char>(GetU8(offset + i));
        if (c == '\0') {
            break;
        }
        dest[i] = c;
    }
    dest[i] = '\0';
}

int CX740App::ReplyBytesFrom(int offset) const {
    return std::max(0, ReplyLength() - offset);
}

void CX740App::Fail(std::uint32_t error) {
    callError_ = error;
    lastError_ = error;
}

bool CX740App::Transact(LinkHandle link) {
    callError_ = kErrorNone;
    // The request is kept apart: a failed or partial read leaves bytes in the frame, and every
    // resend must carry the request as it was built.
    request_ = frame_;
    const int requestLength = FrameLength(request_);
    int attempts = kAttempts;
    bool send = true;
    int emptyHeaders = 0;
    // Whether the last header read failed. A TCP link closes its socket then, so the resends
    // fail as writes; the attempts ending there still mean that no reply came.
    bool noReply = false;

    for (;;) {
        if (send) {
            frame_ = request_;
            A_CreateChecksum(link, frame_.data(), requestLength);
            if (A_Write(link, frame_.data(), requestLength) == 0) {
                if (--attempts == 0) {
                    Fail(noReply ? kErrorHeader : kErrorWrite);
                    return false;
                }
                continue;
            }
            send = false;
            noReply = false;
        }

        if (A_Read(link, frame_.data(), kHeaderSize) == 0) {
            if (--attempts == 0) {
                Fail(kErrorHeader);
                return false;
            }
            send = true;
            noReply = true;
            continue;
        }
        if (frame_[3] == 0) {
            // A length-0 header is dropped without using an attempt, up to a limit.
            if (++emptyHeaders > kMaxEmptyHeaders) {
                Fail(kErrorHeader);
                return false;
            }
            continue;
        }

        const int bodyLength = frame_[3] + 1;
        while (A_Read(link, frame_.data() + kHeaderSize, bodyLength) == 0) {
            if (--attempts == 0) {
                Fail(kErrorBody);
                return false;
            }
        }
        break;
    }

    // Nothing behind the reply's data is part of the answer (its checksum is not checked).
    std::fill(frame_.begin() + kHeaderSize + frame_[3], frame_.end(), std::uint8_t{0});

    if (frame_[2] == kDirDeviceError) {
        Fail(kErrorDevice + frame_[kHeaderSize]);
        return false;
    }
    return true;
}

bool CX740App::SendOnly(LinkHandle link) {
    const int length = FrameLength(frame_);
    A_CreateChecksum(link, frame_.data(), length);
    for (int attempt = 0; attempt < kAttempts; ++attempt) {
        if (A_Write(link, frame_.data(), length) != 0) {
            return true;
        }
    }
    return false;
}

} // namespace x740
