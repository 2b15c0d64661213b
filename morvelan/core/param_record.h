// A channel parameter and its named choices, as a channel module's description lists them.
#pragma once

#include <cstdint>
#include <string>
#include <vector>

// Longest name kept for parameters, choices and channels.
constexpr std::size_t kMaxParamName = 100;

// One named choice of a parameter.
struct CParamChoice {
    std::string name;
    std::int32_t value = 0;
};

// One parameter of a channel: its bits in the channel's share of the parameter block, its
// limits and its value.
struct CModulParam {
    std::int16_t kind = 0; // 1: the value is an IPv4 address
    std::string name;      // "NIX" when the description has no text
    std::int16_t type = 0; // 1: edited with the radio dialog
    std::int16_t bitCount = 0;
    std::int16_t bit = 0;
    std::int16_t choiceCount = 0;
    float minimum = 0.0f;
    float maximum = 0.0f;
    std::int32_t value = 0;
    std::vector<CParamChoice> choices;

    // The value as shown: dotted address for kind 1, the name of the last matching choice when
    // the parameter has choices (empty when none matches), else the number.
    std::string GetValueText() const;
    // Opens the dialog that edits this parameter (address, choice, radio or range dialog).
    int EditValue();
};
