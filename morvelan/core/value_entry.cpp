#include "morvelan/core/value_entry.h"

#include "morvelan/core/controller_module.h"
#include "morvelan/core/param_number.h"

#include <cmath>
#include <cstring>
#include <limits>

namespace {

constexpr std::int64_t kInt32Min = std::numeric_limits<std::int32_t>::min();
constexpr std::int64_t kInt32Max = std::numeric_limits<std::int32_t>::max();

std::int64_t SaturateFloat32(float f) {
    if (std::isnan(f))
        return 0;
    if (f <= static_cast<float>(kInt32Min))
        return kInt32Min;
    if (f >= static_cast<float>(kInt32Max))
        return kInt32Max;
    return static_cast<std::int64_t>(f);
}

} // namespace

std::int64_t ParseValueEntry(const std::string& text) {
    if (text.empty())
        return 0;
    const char last = text.back();
    if (last != 'h' && last != 'H')
        return mv::ParseLongC(text);
    std::size_t i = 0;
    while (i + 1 < text.size() && (text[i] == ' ' || text[i] == '\t'))
        ++i;
    std::uint64_t v = 0;
    constexpr std::uint64_t kMax =
        static_cast<std::uint64_t>(std::numeric_limits<std::int64_t>::max());
    for (; i + 1 < text.size(); ++i) {
        const int d = mv::HexDigit(text[i]);
        if (d < 0)
            break;
        v = v > (kMax >> 4) ? kMax : std::min(kMax, (v << 4) | static_cast<std::uint64_t>(d));
    }
    return static_cast<std::int64_t>(v);
}

ValueLimits ParamLimits(const CModulParam& param) {
    return {SaturateFloat32(param.minimum), SaturateFloat32(param.maximum)};
}

ValueLimits ControllerParamLimits(const CControllerParam& param) {
    if (param.minimum != param.maximum)
        return {param.minimum, param.maximum};
    switch (param.length) {
    case 1:
        return {0, 0xFF};
    case 2:
        return {0, 0xFFFF};
    case 4:
        return {0, 0xFFFFFFFFll};
    default:
        return {param.minimum, param.maximum};
    }
}

bool IsHexParam(const CControllerParam& param) {
    return param.mode == 1;
}

std::int64_t ControllerParamValue(const CControllerParam& param) {
    const std::uint8_t* b = param.value.Data();
    switch (param.length) {
    case 1:
        return b[0];
    case 2:
        return static_cast<std::uint16_t>(b[0] | (b[1] << 8));
    case 4: {
        std::int32_t v = 0;
        std::memcpy(&v, b, sizeof v);
        return v;
    }
    default:
        return 0;
    }
}

void SetControllerParamValue(CControllerParam& param, std::int64_t value) {
    switch (param.length) {
    case 1:
        param.value.SetByte(static_cast<std::uint8_t>(value));
        break;
    case 2:
        param.value.SetWord(static_cast<std::uint16_t>(value));
        break;
    case 4:
        param.value.SetLong(static_cast<std::uint32_t>(value));
        break;
    default:
        break;
    }
}

std::string ValueEntryText(std::int64_t value, bool hex) {
    if (hex)
        return mv::FormatC("%Xh", static_cast<unsigned>(static_cast<std::uint32_t>(value)));
    return mv::FormatC("%lld", static_cast<long long>(value));
}

std::string ControllerParamText(const CControllerParam& param) {
    const std::int64_t v = ControllerParamValue(param);
    const bool hex = IsHexParam(param);
    switch (param.length) {
    case 1:
        return hex ? mv::FormatC("%02XH", static_cast<unsigned>(v))
                   : mv::FormatC("%d", static_cast<int>(v));
    case 2:
        return hex ? mv::FormatC("%04XH", static_cast<unsigned>(v))
                   : mv::FormatC("%d", static_cast<int>(v));
    case 4:
        return hex ? mv::FormatC("%08XH", static_cast<unsigned>(static_cast<std::uint32_t>(v)))
                   : mv::FormatC("%d", static_cast<int>(v));
    default: {
        const char* t = reinterpret_cast<const char*>(param.value.Data());
        return std::string(t, strnlen(t, CParamValue::kStorageBytes));
    }
    }
}
