// Command ids of morvelan's menus, toolbar and accelerators. The frame, the tree and every
// subsystem that serves a command name them from here.
#pragma once

// Framework commands.
constexpr int ID_FILE_NEW = 57600;
constexpr int ID_FILE_OPEN = 57601;
constexpr int ID_FILE_SAVE = 57603;
constexpr int ID_FILE_SAVE_AS = 57604;
constexpr int ID_FILE_PRINT_SETUP = 57606;
constexpr int ID_FILE_PRINT = 57607;
constexpr int ID_FILE_MRU_FILE1 = 57616;
constexpr int ID_APP_ABOUT = 57664;
constexpr int ID_APP_EXIT = 57665;
constexpr int ID_NEXT_PANE = 57680;
constexpr int ID_PREV_PANE = 57681;

// The program's own commands.
constexpr int ID_INSERT_CONTROLLER = 32771; // insert control module dialog
constexpr int ID_ADD_MODULES = 32772;       // add modules dialog
constexpr int ID_DELETE_MODULE = 32773;
constexpr int ID_PROPERTIES = 32774;        // tree context menu only
constexpr int ID_MENU_CANCEL = 32775;       // tree context menu only, no handler
constexpr int ID_DOWNLOAD = 32776;
constexpr int ID_UPLOAD = 32777;
constexpr int ID_DEBUG = 32778;
constexpr int ID_PORT = 32779;
constexpr int ID_FIRMWARE_INFO = 32780;
constexpr int ID_LANGUAGE = 32781;
constexpr int ID_SHOW_MODULES = 32783;
constexpr int ID_INSERT_K2270 = 32784;
constexpr int ID_PRINT = 32787;
constexpr int ID_INSERT_EMPTY = 32788;
constexpr int ID_INSERT_K2271 = 32793;
constexpr int ID_AUTO_ONLINE = 32794;
constexpr int ID_OUTPUT_STEP = 32795;
constexpr int ID_MODULE_CHECK = 32796;
constexpr int ID_FILE_IMPORT = 32797;
constexpr int ID_SAVED_CONFIGURATION = 32798;
constexpr int ID_FILE_EXPORT_EMF = 32799;
constexpr int ID_HISTORY = 32800;
constexpr int ID_HELP_DOCUMENT = 32802;
