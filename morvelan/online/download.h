// The Download command: writes the current station's configuration and parameters into its
// controller. When the controller holds the station's modules only the parameters (module
// parameters, then the master parameters) are written; when they differ the user is asked
// and the module table and the module parameters are written.
#pragma once

class CMorvelanAppBase;
class CMorvelanDoc;
class CModuleTile;

namespace morvelan {

// Bytes one request frame carries: a longer module table or parameter image is refused.
constexpr int kFrameDataBytes = 253;
// Portwire's code for data that does not fit a frame.
constexpr int kDataSizeError = 0x0500;

// Downloads the station of the selected tile (nothing without one).
void RunDownload(CMorvelanAppBase& app, CMorvelanDoc& doc, CModuleTile* selected);

} // namespace morvelan
