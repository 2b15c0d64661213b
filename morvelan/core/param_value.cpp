#include "morvelan/core/param_value.h"

#include "morvelan/core/app_hooks.h"
#include "morvelan/core/param_number.h"

#include <algorithm>
#include <cstring>

int CParamValue::GetSize(int type) {
    switch (type) {
    case kTypeBool:
    case kTypeUInt8:
    case kTypeInt8:
        return 1;
    case kTypeUInt16:
    case kTypeInt16:
        return 2;
    case kTypeUInt32:
    case kTypeInt32:
        return 4;
    case kTypeInt64:
        return 8;
    case kTypeFloat:
    case kTypeText:
        return 0;
    default:
        return type;
    }
}

bool CParamValue::IsSignedType(int type) {
    return type >= kTypeInt8 && type <= kTypeText;
}

void CParamValue::GetLimits(int type, float& minimum, float& maximum) {
    switch (type) {
    case kTypeBool:
        minimum = 0.0f;
        maximum = 1.0f;
        break;
    case kTypeUInt8:
        minimum = 0.0f;
        maximum = 255.0f;
        break;
    case kTypeUInt16:
        minimum = 0.0f;
        maximum = 65535.0f;
        break;
    case kTypeUInt32:
        minimum = 0.0f;
        maximum = 4294967296.0f;
        break;
    case kTypeInt8:
        minimum = -127.0f;
        maximum = 127.0f;
        break;
    case kTypeInt16:
        minimum = -32767.0f;
        maximum = 32767.0f;
        break;
    case kTypeInt32:
        minimum = -2147483648.0f;
        maximum = 2147483648.0f;
        break;
    case kTypeInt64:
    case kTypeText:
        minimum = 0.0f;
        maximum = 0.0f;
        break;
    case kTypeFloat:
        minimum = 1.17549435e-38f;
        maximum = 3.40282347e+38f;
        break;
    default:
        break;
    }
}

std::uint32_t CParamValue::Read32() const {
    return static_cast<std::uint32_t>(bytes_[0]) | (static_cast<std::uint32_t>(bytes_[1]) << 8) |
           (static_cast<std::uint32_t>(bytes_[2]) << 16) |
           (static_cast<std::uint32_t>(bytes_[3]) << 24);
}

std::int32_t CParamValue::GetAsInt(int type) const {
    const std::uint16_t word =
        static_cast<std::uint16_t>(bytes_[0] | (static_cast<unsigned>(bytes_[1]) << 8));
    switch (type) {
    case kTypeBool:
        return bytes_[0] == 1 ? 1 : 0;
    case kTypeUInt8:
        return bytes_[0];
    case kTypeUInt16:
        return word;
    case kTypeUInt32:
    case kTypeInt32:
        return static_cast<std::int32_t>(Read32());
    case kTypeInt8:
        return static_cast<std::int8_t>(bytes_[0]);
    case kTypeInt16:
        return static_cast<std::int16_t>(word);
    case kTypeInt64:
    case kTypeFloat:
    case kTypeText:
        return 0;
    default:
        return type;
    }
}

std::string CParamValue::ToText(int type) const {
    switch (type) {
    case kTypeBool:
        return mv::LanguageText(bytes_[0] == 1 ? kTextTrue : kTextFalse);
    case kTypeUInt8:
    case kTypeUInt16:
    case kTypeInt8:
    case kTypeInt16:
    case kTypeInt32:
        return mv::FormatC("%d", GetAsInt(type));
    case kTypeUInt32:
        return mv::FormatC("%u", Read32());
    case kTypeFloat: {
        float f;
        std::memcpy(&f, bytes_.data(), sizeof f);
        return mv::FormatC("%f", static_cast<double>(f));
    }
    case kTypeText: {
        const auto* begin = reinterpret_cast<const char*>(bytes_.data());
        const auto* end = static_cast<const char*>(std::memchr(begin, 0, bytes_.size()));
        return std::string(begin, end ? end : begin + bytes_.size());
    }
    default:
        return std::string();
    }
}

void CParamValue::FromText(const std::string& text, int type) {
    switch (type) {
    case kTypeBool:
        // The text written for true, or any non-zero number, reads back as true.
        SetByte(text == mv::LanguageText(kTextTrue) || mv::ParseLongC(text) != 0 ? 1 : 0);
        break;
    case kTypeUInt8:
    case kTypeInt8:
        SetByte(static_cast<std::uint8_t>(mv::ParseLongC(text)));
        break;
    case kTypeUInt16:
    case kTypeInt16:
        SetWord(static_cast<std::uint16_t>(mv::ParseLongC(text)));
        break;
    case kTypeUInt32:
    case kTypeInt32:
        SetLong(static_cast<std::uint32_t>(mv::ParseLongC(text)));
        break;
    case kTypeFloat: {
        const float f = static_cast<float>(mv::ParseDoubleC(text));
        std::memcpy(bytes_.data(), &f, sizeof f);
        break;
    }
    default:
        break;
    }
}

void CParamValue::SetByte(std::uint8_t value) {
    bytes_[0] = value;
}

void CParamValue::SetWord(std::uint16_t value) {
    bytes_[0] = static_cast<std::uint8_t>(value);
    bytes_[1] = static_cast<std::uint8_t>(value >> 8);
}

void CParamValue::SetLong(std::uint32_t value) {
    for (int i = 0; i < 4; ++i) {
        bytes_[static_cast<std::size_t>(i)] = static_cast<std::uint8_t>(value >> (8 * i));
    }
}

void CParamValue::SetText(const std::string& text) {
    const std::size_t n = std::min(text.size(), kMaxText);
    std::memcpy(bytes_.data(), text.data(), n);
    bytes_[n] = 0;
}

std::size_t CParamValue::CopyFrom(const std::uint8_t* src, std::size_t n) {
    n = std::min(n, bytes_.size());
    if (n > 0) {
        std::memcpy(bytes_.data(), src, n);
    }
    return n;
}

std::size_t CParamValue::CopyTo(std::uint8_t* dest, std::size_t n) const {
    n = std::min(n, bytes_.size());
    if (n > 0) {
        std::memcpy(dest, bytes_.data(), n);
    }
    return n;
}
