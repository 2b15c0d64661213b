#include "morvelan/core/frame_update_rules.h"

#include "morvelan/core/command_ids.h"

bool FrameCommandEnabled(int id, const FrameUpdateState& s) {
    const bool online = s.online == 1;
    const bool selected = s.selection != TileSelection::None;
    switch (id) {
    case ID_FILE_NEW:
    case ID_FILE_OPEN:
    case ID_FILE_SAVE:
    case ID_UPLOAD:
    case ID_PORT:
    case ID_SAVED_CONFIGURATION:
        return !online;
    case ID_FIRMWARE_INFO:
    case ID_MODULE_CHECK:
        return selected;
    case ID_SHOW_MODULES:
        return true;
    case ID_AUTO_ONLINE:
    case ID_OUTPUT_STEP:
        return s.debug != 1;
    case ID_DOWNLOAD:
    case ID_INSERT_K2270:
    case ID_DELETE_MODULE:
    case ID_INSERT_EMPTY:
    case ID_INSERT_K2271:
        return !online && selected;
    case ID_INSERT_CONTROLLER:
        return !online && !selected;
    case ID_ADD_MODULES:
        return !online && s.selection == TileSelection::Controller;
    case ID_DEBUG:
        return s.autoOnline != 1 && selected && s.stationCount > 0;
    default:
        return true;
    }
}

bool TreeMenuItemEnabled(int id, TileSelection selection) {
    switch (id) {
    case ID_PROPERTIES:
    case ID_MENU_CANCEL:
        return true;
    case ID_INSERT_CONTROLLER:
        return selection == TileSelection::None;
    case ID_ADD_MODULES:
        return selection == TileSelection::Controller;
    case ID_DELETE_MODULE:
    case ID_INSERT_K2270:
    case ID_INSERT_K2271:
    case ID_INSERT_EMPTY:
        return selection != TileSelection::None;
    default:
        return false;
    }
}
