// The dialogs and online actions the frame, the tree and the tile windows hand work to. Each
// stays empty until the subsystem that owns it installs it (frame_command_modules.cpp); the
// command that needs an empty one is unavailable, and a click that needs one does nothing.
#pragma once

#include <cstdint>
#include <functional>
#include <string>

class CModuleTile;
class CMainFrame;

struct DialogSeams {
    // Tree properties: the project dialog (IDD 157) and the change-module dialog (IDD 172) for
    // a station.
    std::function<int()> projectDialog;
    std::function<int(int station)> changeModuleDialog;
    // Tile double clicks: the label dialog (IDD 185), the slider label dialog (IDD 186) and the
    // controller slider label dialog (IDD 192), each for a tile.
    std::function<int(CModuleTile& tile)> labelDialog;
    std::function<int(CModuleTile& tile)> sliderLabelDialog;
    std::function<int(CModuleTile& tile)> controllerSliderLabelDialog;
    // Port (32779): the port dialog with the port choice (1..4 COM, 5 TCP/IP), changed in place.
    std::function<int(int& choice)> portDialog;
    // Show modules (32783): the module list dialog.
    std::function<int()> moduleListDialog;
    // Upload (mode 0) and Saved Configuration (mode 1): the upload dialog, run with the link
    // open.
    std::function<int(int mode)> uploadDialog;
    // Firmware Info (32780): the dialog with its three fields in their order.
    std::function<int(const std::string& field1, const std::string& field2,
                      const std::string& field3)>
        firmwareDialog;
    // Module check (32796): the module check list dialog for the selected tile's station.
    std::function<int()> moduleCheckDialog;
    // The online switch of the debug command (32778), run after the flag was toggled.
    std::function<void(CMainFrame& frame)> onlineSwitch;
};

// The program's one set.
DialogSeams& dialogSeams();
