// The three small text parsers the panel's dialogs and data files share.
#pragma once

#include <cstdint>
#include <string>
#include <string_view>
#include <vector>

namespace x740panel {

// Fields a comma list keeps (the callers' room).
inline constexpr int kMaxCommaFields = 20;
// A comma list of this many characters or more is not split.
inline constexpr std::size_t kMaxCommaListText = 256;

// Trims blanks at both ends; digits only, with a "-" allowed in the first position. A lone
// "-" is 0. Fails (0) for an empty text, any other character, or a value outside 32 bits.
int ParseDecimal(std::string_view text, int& value);

// Splits at every ",", fields taken unchanged. Returns the number of fields (one more than
// the commas); fields receives at most kMaxCommaFields of them. A text of 256 characters or
// more gives 0 fields.
int SplitCommaList(std::string_view text, std::vector<std::string>& fields);

// Dotted a.b.c.d: value = a<<24 | b<<16 | c<<8 | d. Fails unless there are exactly four parts,
// each a decimal number 0..255.
int ParseIpAddress(std::string_view text, std::uint32_t& value);

} // namespace x740panel
