// What the upload reads from a controller, without windows: the IDs of a saved configuration
// in either of its two layouts, and the filler modules that stand behind certain boards.
#pragma once

#include <cstdint>
#include <string>
#include <vector>

namespace morvelan {

// Upload modes: the modules read live, or the configuration the controller saved.
constexpr int kUploadLive = 0;
constexpr int kUploadSaved = 1;

// Type name of a module the catalogue does not know.
inline constexpr const char* kUnknownTypeName = "Unknown";

// The module IDs of a saved configuration. `payloadLength` is the reply's payload length (its
// 2-byte head included); `bytes` what followed the head. The count is the signed word at byte
// 2; the IDs start at byte 4, every 2 bytes when payloadLength is 6 + 2 * count, else every 6
// bytes. A count reaching past the received bytes is cut to them; a negative count lists none.
std::vector<std::uint16_t> SavedConfigurationIds(const std::uint8_t* bytes, int payloadLength);

// The filler type names appended behind a known module of an ID in a mode.
std::vector<std::string> FillerNames(std::uint16_t id, int mode);

} // namespace morvelan
