// morvelan's release notes, as the History dialog lists them: one block per release, oldest
// first, a heading line with the release and its date, indented notes, empty lines between.
#pragma once

#include <string>
#include <vector>

namespace morvelan {

constexpr int IDD_HISTORY = 190;

const std::vector<std::string>& HistoryTable();

} // namespace morvelan
