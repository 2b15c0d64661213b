// The frame's update rules, row by row, and the tree menu's own states.
#include "morvelan/core/command_ids.h"
#include "morvelan/core/frame_update_rules.h"

#include <gtest/gtest.h>

namespace {

struct Row {
    int id;
    // Enabled offline with none, a controller, a board selected; then online with a board;
    // then with the debug flag; then auto-online with a board.
    bool none, controller, board, online, debug, autoOnline;
};

TEST(FrameUpdateRules, EveryRowOfTheTable) {
    const Row rows[] = {
        {ID_FILE_NEW, 1, 1, 1, 0, 1, 1},
        {ID_FILE_OPEN, 1, 1, 1, 0, 1, 1},
        {ID_FILE_SAVE, 1, 1, 1, 0, 1, 1},
        {ID_UPLOAD, 1, 1, 1, 0, 1, 1},
        {ID_PORT, 1, 1, 1, 0, 1, 1},
        {ID_SAVED_CONFIGURATION, 1, 1, 1, 0, 1, 1},
        {ID_FIRMWARE_INFO, 0, 1, 1, 1, 1, 1},
        {ID_MODULE_CHECK, 0, 1, 1, 1, 1, 1},
        {ID_SHOW_MODULES, 1, 1, 1, 1, 1, 1},
        {ID_AUTO_ONLINE, 1, 1, 1, 1, 0, 1},
        {ID_OUTPUT_STEP, 1, 1, 1, 1, 0, 1},
        {ID_DOWNLOAD, 0, 1, 1, 0, 1, 1},
        {ID_INSERT_K2270, 0, 1, 1, 0, 1, 1},
        {ID_DELETE_MODULE, 0, 1, 1, 0, 1, 1},
        {ID_INSERT_EMPTY, 0, 1, 1, 0, 1, 1},
        {ID_INSERT_K2271, 0, 1, 1, 0, 1, 1},
        {ID_INSERT_CONTROLLER, 1, 0, 0, 0, 0, 0},
        {ID_ADD_MODULES, 0, 1, 0, 0, 0, 0},
        {ID_DEBUG, 0, 1, 1, 1, 1, 0},
        {ID_PRINT, 1, 1, 1, 1, 1, 1},
        {ID_HELP_DOCUMENT, 1, 1, 1, 1, 1, 1},
    };
    for (const Row& r : rows) {
        FrameUpdateState s;
        s.stationCount = 1;
        EXPECT_EQ(FrameCommandEnabled(r.id, s), r.none) << r.id;
        s.selection = TileSelection::Controller;
        EXPECT_EQ(FrameCommandEnabled(r.id, s), r.controller) << r.id;
        s.selection = TileSelection::Board;
        EXPECT_EQ(FrameCommandEnabled(r.id, s), r.board) << r.id;
        s.online = 1;
        EXPECT_EQ(FrameCommandEnabled(r.id, s), r.online) << r.id;
        s.online = 0;
        s.debug = 1;
        EXPECT_EQ(FrameCommandEnabled(r.id, s), r.debug) << r.id;
        s.debug = 0;
        s.autoOnline = 1;
        EXPECT_EQ(FrameCommandEnabled(r.id, s), r.autoOnline) << r.id;
    }
    // Debug needs a station.
    FrameUpdateState empty;
    empty.selection = TileSelection::Board;
    EXPECT_FALSE(FrameCommandEnabled(ID_DEBUG, empty));
}

TEST(FrameUpdateRules, TreeMenuStates) {
    const int ids[] = {ID_INSERT_CONTROLLER, ID_ADD_MODULES, ID_INSERT_K2270, ID_INSERT_EMPTY,
                       ID_DELETE_MODULE, ID_PROPERTIES, ID_MENU_CANCEL};
    const bool none[] = {1, 0, 0, 0, 0, 1, 1};
    const bool head[] = {0, 1, 1, 1, 1, 1, 1};
    const bool board[] = {0, 0, 1, 1, 1, 1, 1};
    for (std::size_t i = 0; i < std::size(ids); ++i) {
        EXPECT_EQ(TreeMenuItemEnabled(ids[i], TileSelection::None), none[i]) << ids[i];
        EXPECT_EQ(TreeMenuItemEnabled(ids[i], TileSelection::Controller), head[i]) << ids[i];
        EXPECT_EQ(TreeMenuItemEnabled(ids[i], TileSelection::Board), board[i]) << ids[i];
    }
}

} // namespace
