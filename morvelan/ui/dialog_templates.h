// The templates of morvelan's module, parameter, value, project, label, port and IP dialogs
// (dialog units), and the ids of their controls.
#pragma once

#include "xui/dialog_template.h"

namespace morvelan {

// Template ids.
constexpr int IDD_INSERT_CONTROL_MODULE = 139;
constexpr int IDD_ADD_MODULES = 140;
constexpr int IDD_MODUL_PARAM = 142;
constexpr int IDD_CHOICE = 144;
constexpr int IDD_FLAG_VALUE = 146;
constexpr int IDD_RANGE = 147;
constexpr int IDD_PROJECT = 157;
constexpr int IDD_PORT_SELECT = 163;
constexpr int IDD_CHANGE_MODULE = 172;
constexpr int IDD_MODUL_LIST = 173;
constexpr int IDD_CONTROLLER = 179;
constexpr int IDD_IP = 180;
constexpr int IDD_IP_PORT = 181;
constexpr int IDD_LABEL = 185;
constexpr int IDD_SLIDER_LABEL = 186;
constexpr int IDD_CONTROLLER_SLIDER_LABEL = 192;

// Control ids.
constexpr int IDC_NAME_EDIT = 1001;
constexpr int IDC_COMMENT_EDIT = 1002;
constexpr int IDC_SOURCE_GRID = 1003;
constexpr int IDC_LABEL_1004 = 1004;
constexpr int IDC_LABEL_1005 = 1005;
constexpr int IDC_DEST_GRID = 1006;
constexpr int IDC_ADD = 1007;
constexpr int IDC_DELETE = 1008;
constexpr int IDC_LABEL_1009 = 1009;
constexpr int IDC_LABEL_1010 = 1010;
constexpr int IDC_GRID = 1011;
constexpr int IDC_LABEL_1012 = 1012;
constexpr int IDC_CHANGE = 1013;
constexpr int IDC_CHOICE_COMBO = 1014;
constexpr int IDC_INFO = 1015;     // button Info of 142 and 179
constexpr int IDC_RADIO_ON = 1015; // radio of 146
constexpr int IDC_RADIO_OFF = 1016;
constexpr int IDC_MIN_CAPTION = 1018; // "Min :"
constexpr int IDC_MIN_VALUE = 1020;
constexpr int IDC_MAX_CAPTION = 1022; // "Max :"
constexpr int IDC_MAX_VALUE = 1024;
constexpr int IDC_VALUE_EDIT = 1026;
constexpr int IDC_SAVE_FILE = 1029;
constexpr int IDC_LOAD_FILE = 1030;
constexpr int IDC_AUTHOR_EDIT = 1031;
constexpr int IDC_COMPANY_EDIT = 1032;
constexpr int IDC_LABEL_1034 = 1034;
constexpr int IDC_LABEL_1035 = 1035;
constexpr int IDC_PROJECT_NAME_EDIT = 1036;
constexpr int IDC_PROJECT_COMMENT_EDIT = 1037;
constexpr int IDC_COM1 = 1042;
constexpr int IDC_COM2 = 1043;
constexpr int IDC_COM3 = 1044;
constexpr int IDC_COM4 = 1045;
constexpr int IDC_GROUP_1046 = 1046;
constexpr int IDC_NET = 1047;
constexpr int IDC_LABEL_1055 = 1055;
constexpr int IDC_COUNT_LABEL = 1056;
constexpr int IDC_LINE1_EDIT = 1073;
constexpr int IDC_LINE2_EDIT = 1074;
constexpr int IDC_LINE3_EDIT = 1075;
constexpr int IDC_LINE4_EDIT = 1076;
constexpr int IDC_LINE5_EDIT = 1078;
constexpr int IDC_IP_ADDRESS = 1102;
constexpr int IDC_IP_LABEL = 1106;
constexpr int IDC_PORT_LABEL = 1107;
constexpr int IDC_PORT_EDIT = 1108;
constexpr int IDC_IP_PORT_ADDRESS = 1109;
constexpr int IDC_L1_LABEL = 1115;
constexpr int IDC_L2_LABEL = 1116;
constexpr int IDC_L3_LABEL = 1117;
// The device names beside the COM radios of the port dialog.
constexpr int IDC_COM1_DEVICE = 1202;
constexpr int IDC_COM2_DEVICE = 1203;
constexpr int IDC_COM3_DEVICE = 1204;
constexpr int IDC_COM4_DEVICE = 1205;

// Registers every template of this table with the dialog builder (idempotent).
void RegisterModuleDialogTemplates();
const xui::DialogTemplate& moduleDialogTemplate(int id);

} // namespace morvelan
