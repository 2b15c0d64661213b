// Which commands of the main frame are available: one function of the application's flags,
// the tree's selection and the project's station count. The frame applies it whenever a menu
// opens or the state changes; a command without a handler is unavailable whatever it says.
#pragma once

// What the tree has selected.
enum class TileSelection { None, Controller, Board };

struct FrameUpdateState {
    int online = 0;     // the online flag
    int autoOnline = 0; // the automatic online sequence runs
    int debug = 0;      // the frame's debug flag
    TileSelection selection = TileSelection::None;
    int stationCount = 0;
};

// The rule of a command of the main menu and toolbar: true when it may run.
bool FrameCommandEnabled(int id, const FrameUpdateState& state);

// The tree's context menu has its own states: with a selected tile the insert and delete
// items, the add-modules item only for a controller; without one only the insert control
// module item. Properties and Cancel are always available.
bool TreeMenuItemEnabled(int id, TileSelection selection);
