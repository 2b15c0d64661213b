// Entering one number within limits: how the value dialog reads what was typed, the limits of a
// channel parameter or of a controller parameter, and how a controller parameter shows its
// value. Numbers are kept in 64 bits, so nothing typed ever wraps around.
#pragma once

#include "morvelan/core/param_record.h"

#include <cstdint>
#include <string>

struct CControllerParam;

// Characters the value entry accepts; a trailing h or H marks a hexadecimal number.
inline constexpr const char* kValueEntryChars = "1234567890abcdefABCDEFhH";

// The typed text as a number: with a trailing 'h' or 'H' the rest is read as hexadecimal
// (leading blanks, then hex digits up to the first other character), otherwise as atol reads a
// decimal number ("1F" is 1). An empty text is 0. Saturates at the limits of 64 bits.
std::int64_t ParseValueEntry(const std::string& text);

struct ValueLimits {
    std::int64_t minimum = 0;
    std::int64_t maximum = 0;
};

// The limits of a channel parameter: its float limits as integers, saturated into 32 bits.
ValueLimits ParamLimits(const CModulParam& param);

// The limits of a controller parameter: its own minimum and maximum, or when the two are equal
// the range of its size (1 byte 0..255, 2 bytes 0..65535, 4 bytes 0..4294967295).
ValueLimits ControllerParamLimits(const CControllerParam& param);

// True when a controller parameter is shown in hexadecimal (its Mode is 1).
bool IsHexParam(const CControllerParam& param);

// A controller parameter's integer value by its length (1 and 2 bytes unsigned, 4 bytes
// signed); 0 for a text parameter.
std::int64_t ControllerParamValue(const CControllerParam& param);

// Stores a number into a controller parameter by its length (its low bytes).
void SetControllerParamValue(CControllerParam& param, std::int64_t value);

// A number of the value dialog: "%Xh" in hexadecimal (of the value's low 32 bits), else
// decimal.
std::string ValueEntryText(std::int64_t value, bool hex);

// The text of a controller parameter in the controller dialog's grid: by length 1, 2, 4
// "%02XH", "%04XH", "%08XH" when hexadecimal, else "%d"; a text parameter shows its text.
std::string ControllerParamText(const CControllerParam& param);
