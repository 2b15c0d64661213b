// The panel's dialog templates (one table for the whole plug-in) and their ids.
#pragma once

#include "platform/win_styles.h"

#include <cstdint>

namespace x740panel {

// Style of the labels a dialog paints itself: hidden placeholders that keep text and place.
inline constexpr std::uint32_t kPaintedLabel = mv::WS_CHILD;

inline constexpr int kAdvancedDlgTemplate = 15002;
inline constexpr int kIpDataDlgTemplate = 15001;
inline constexpr int kETypeDlgTemplate = 15041;
inline constexpr int kSsiIndexDlgTemplate = 15027;
inline constexpr int kCamBlockDlgTemplate = 15028;

// Panel dialog.
inline constexpr int kClearButtonId = 15032;

// IP data dialog.
inline constexpr int kSerialEditId = 15011;
inline constexpr int kIpAddressId = 15003;
inline constexpr int kSubnetMaskId = 15004;
inline constexpr int kGatewayId = 15005;
inline constexpr int kSerialLabelId = 15007;
inline constexpr int kIpAddressLabelId = 15008;
inline constexpr int kSubnetMaskLabelId = 15009;
inline constexpr int kGatewayLabelId = 15010;
inline constexpr int kUseDhcpId = 15012;

// Identification dialog.
inline constexpr int kIdentCodeEditId = 6000;
inline constexpr int kComponentIdEditId = 6001;
inline constexpr int kTypeIdEditId = 6002;
inline constexpr int kComponentIdLabelId = 5000;
inline constexpr int kTypeIdLabelId = 5001;
inline constexpr int kIdentCodeLabelId = 5002;
inline constexpr int kReadIdentCodeId = 40057;
inline constexpr int kWriteIdentCodeId = 40058;
inline constexpr int kDeleteIdentCodeId = 40059;
inline constexpr int kDeleteIdentFileId = 40060;
inline constexpr int kStoreIdentFileId = 40062;

// Prompts.
inline constexpr int kPromptTextId = 15100;
inline constexpr int kPromptLabel1Id = 15101;
inline constexpr int kPromptLabel2Id = 15102;
inline constexpr int kPromptEdit1Id = 15028;
inline constexpr int kPromptEdit2Id = 15029;

// Registers every template of the panel (in the panel's own dialog layer).
void RegisterPanelTemplates();

} // namespace x740panel
