#include "morvelan/ui/dialog_templates.h"

#include <map>

namespace morvelan {
namespace {

using namespace mv;
using xui::DialogItem;
using xui::DialogTemplate;
using xui::modalDialogTemplate;

constexpr std::uint32_t kButton = WS_CHILD | WS_VISIBLE | WS_TABSTOP;
constexpr std::uint32_t kLabel = WS_CHILD | SS_LEFT;
constexpr std::uint32_t kEdit = WS_CHILD | WS_VISIBLE | WS_TABSTOP | ES_AUTOHSCROLL;
constexpr std::uint32_t kGrid = WS_CHILD | WS_VISIBLE | WS_TABSTOP;
constexpr std::uint32_t kRadio = WS_CHILD | WS_VISIBLE | WS_TABSTOP | BS_AUTORADIOBUTTON;

const std::vector<DialogTemplate>& table() {
    static const std::vector<DialogTemplate> t{
        modalDialogTemplate(IDD_INSERT_CONTROL_MODULE, "Control-Modul einf\xFCgen", 314, 215,
                            {
                                {"XGRID", IDC_SOURCE_GRID, "", 7, 7, 300, 141, kGrid},
                                {"Static", IDC_LABEL_1004, "Name", 7, 154, 77, 12, kLabel},
                                {"CColorSelEdit", IDC_NAME_EDIT, "", 94, 154, 213, 12, kEdit},
                                {"Static", IDC_LABEL_1005, "Kommentar", 7, 170, 77, 12, kLabel},
                                {"CColorSelEdit", IDC_COMMENT_EDIT, "", 93, 170, 214, 12, kEdit},
                                {"XBUTTON", IDOK, "OK", 145, 192, 75, 17, kButton},
                                {"XBUTTON", IDCANCEL, "Abbrechen", 232, 192, 75, 17, kButton},
                            }),
        modalDialogTemplate(IDD_ADD_MODULES, "Funktions-Module einf\xFCgen", 437, 185,
                            {
                                {"Static", IDC_LABEL_1009, "Source", 4, 7, 243, 12, kLabel},
                                {"XGRID", IDC_SOURCE_GRID, "", 4, 19, 243, 141, kGrid},
                                {"XBUTTON", IDC_ADD, "Add", 257, 42, 64, 14, kButton},
                                {"XBUTTON", IDC_DELETE, "Delete", 257, 60, 64, 14, kButton},
                                {"Static", IDC_LABEL_1010, "Dest", 331, 7, 97, 12, kLabel},
                                {"XGRID", IDC_DEST_GRID, "", 331, 19, 97, 141, kGrid},
                                {"XBUTTON", IDOK, "OK", 260, 167, 64, 14, kButton},
                                {"XBUTTON", IDCANCEL, "Abbrechen", 364, 167, 64, 14, kButton},
                            }),
        modalDialogTemplate(IDD_MODUL_PARAM, "Modul-Parameter", 397, 156,
                            {
                                {"Static", IDC_LABEL_1012, "", 7, 7, 76, 15, kLabel},
                                {"Static", IDC_LABEL_1009, "", 84, 7, 229, 15, kLabel},
                                {"XGRID", IDC_GRID, "", 7, 26, 305, 123, kGrid},
                                {"XBUTTON", IDC_CHANGE, "\xC4ndern", 320, 25, 64, 17, kButton},
                                {"XBUTTON", IDC_INFO, "Info", 320, 44, 64, 17, kButton},
                                {"XBUTTON", IDC_LOAD_FILE, "Laden", 320, 91, 64, 17, kButton},
                                {"XBUTTON", IDC_SAVE_FILE, "Speichern", 320, 111, 64, 17, kButton},
                                {"XBUTTON", IDOK, "OK", 320, 131, 64, 17, kButton},
                            }),
        modalDialogTemplate(
            IDD_CHOICE, "Wert", 204, 70,
            {
                {"Static", IDC_LABEL_1004, "", 7, 7, 190, 12, kLabel},
                {"CColorComboBox", IDC_CHOICE_COMBO, "", 7, 26, 190, 68,
                 WS_CHILD | WS_VISIBLE | WS_TABSTOP | WS_VSCROLL | CBS_DROPDOWNLIST},
                {"XBUTTON", IDOK, "OK", 7, 49, 64, 14, kButton},
                {"XBUTTON", IDCANCEL, "Abbrechen", 133, 49, 64, 14, kButton},
            }),
        modalDialogTemplate(IDD_FLAG_VALUE, "Wert", 204, 71,
                            {
                                {"Static", IDC_LABEL_1004, "", 7, 7, 190, 12, kLabel},
                                {"Button", IDC_RADIO_ON, "Ein", 22, 26, 70, 10, kRadio | WS_GROUP},
                                {"Button", IDC_RADIO_OFF, "Aus", 105, 25, 70, 10, kRadio},
                                {"XBUTTON", IDOK, "OK", 7, 50, 64, 14, kButton | WS_GROUP},
                                {"XBUTTON", IDCANCEL, "Abbrechen", 133, 50, 64, 14, kButton},
                            }),
        modalDialogTemplate(
            IDD_RANGE, "Wert", 204, 71,
            {
                {"Static", IDC_LABEL_1004, "", 7, 7, 190, 12, kLabel},
                {"CColorStatic", IDC_MIN_CAPTION, "Min :", 18, 21, 30, 10, WS_CHILD | WS_VISIBLE},
                {"CColorStatic", IDC_MIN_VALUE, "", 51, 21, 48, 10, WS_CHILD | WS_VISIBLE},
                {"CColorStatic", IDC_MAX_CAPTION, "Max :", 18, 34, 30, 10, WS_CHILD | WS_VISIBLE},
                {"CColorStatic", IDC_MAX_VALUE, "", 51, 34, 48, 10, WS_CHILD | WS_VISIBLE},
                {"CColorSelEdit", IDC_VALUE_EDIT, "", 103, 25, 67, 12, kEdit},
                {"XBUTTON", IDOK, "OK", 7, 50, 64, 14, kButton},
                {"XBUTTON", IDCANCEL, "Abbrechen", 133, 50, 64, 14, kButton},
            }),
        modalDialogTemplate(IDD_PROJECT, "Projekt", 330, 124,
                            {
                                {"Static", IDC_LABEL_1004, "Projektname", 7, 7, 70, 12, kLabel},
                                {"CColorSelEdit", IDC_PROJECT_NAME_EDIT, "", 80, 7, 243, 12, kEdit},
                                {"Static", IDC_LABEL_1034, "Autor", 7, 24, 70, 12, kLabel},
                                {"CColorSelEdit", IDC_AUTHOR_EDIT, "", 80, 24, 243, 12, kEdit},
                                {"Static", IDC_LABEL_1035, "Firma", 7, 41, 70, 12, kLabel},
                                {"CColorSelEdit", IDC_COMPANY_EDIT, "", 80, 41, 243, 12, kEdit},
                                {"Static", IDC_LABEL_1005, "Kommentar", 7, 58, 70, 12, kLabel},
                                {"Edit", IDC_PROJECT_COMMENT_EDIT, "", 80, 58, 243, 35,
                                 WS_CHILD | WS_VISIBLE | WS_TABSTOP | WS_VSCROLL | ES_MULTILINE},
                                {"XBUTTON", IDOK, "OK", 80, 102, 64, 14, kButton},
                                {"XBUTTON", IDCANCEL, "Abbrechen", 259, 102, 64, 14, kButton},
                            }),
        modalDialogTemplate(
            IDD_PORT_SELECT, "Online-Schnittstelle", 176, 120,
            {
                {"Button", IDC_GROUP_1046, "Port ", 7, 7, 162, 86,
                 WS_CHILD | WS_VISIBLE | BS_GROUPBOX},
                {"Button", IDC_COM1, "COM1", 15, 19, 40, 10, kRadio | WS_GROUP},
                {"Button", IDC_COM2, "COM2", 15, 33, 40, 10, kRadio},
                {"Button", IDC_COM3, "COM3", 15, 47, 40, 10, kRadio},
                {"Button", IDC_COM4, "COM4", 15, 61, 40, 10, kRadio},
                {"Button", IDC_NET, "NET", 15, 75, 40, 10, kRadio},
                {"Static", IDC_COM1_DEVICE, "", 58, 20, 106, 10, WS_CHILD | WS_VISIBLE},
                {"Static", IDC_COM2_DEVICE, "", 58, 34, 106, 10, WS_CHILD | WS_VISIBLE},
                {"Static", IDC_COM3_DEVICE, "", 58, 48, 106, 10, WS_CHILD | WS_VISIBLE},
                {"Static", IDC_COM4_DEVICE, "", 58, 62, 106, 10, WS_CHILD | WS_VISIBLE},
                {"XBUTTON", IDOK, "OK", 56, 99, 64, 14, kButton | WS_GROUP},
            }),
        modalDialogTemplate(IDD_CHANGE_MODULE, "Modul \xE4ndern", 273, 149,
                            {
                                {"XGRID", IDC_SOURCE_GRID, "", 7, 7, 259, 77, kGrid},
                                {"Static", IDC_LABEL_1004, "Name", 7, 88, 77, 12, kLabel},
                                {"CColorSelEdit", IDC_NAME_EDIT, "", 94, 88, 172, 12, kEdit},
                                {"Static", IDC_LABEL_1005, "Kommentar", 7, 104, 77, 12, kLabel},
                                {"CColorSelEdit", IDC_COMMENT_EDIT, "", 94, 104, 172, 12, kEdit},
                                {"XBUTTON", IDOK, "OK", 101, 125, 75, 17, kButton},
                                {"XBUTTON", IDCANCEL, "Abbrechen", 191, 125, 75, 17, kButton},
                            }),
        modalDialogTemplate(IDD_MODUL_LIST, "Module", 504, 151,
                            {
                                {"XGRID", IDC_GRID, "", 7, 7, 399, 137, kGrid},
                                {"XBUTTON", IDOK, "OK", 422, 7, 75, 17, kButton},
                                {"XBUTTON", IDCANCEL, "Info", 422, 28, 75, 17, kButton},
                                {"Button", IDC_GROUP_1046, "Module", 419, 79, 78, 61,
                                 WS_CHILD | WS_VISIBLE | BS_GROUPBOX},
                                {"Static", IDC_LABEL_1055, "Anzahl", 425, 102, 66, 10, kLabel},
                                {"Static", IDC_COUNT_LABEL, "", 425, 113, 66, 10, kLabel},
                            }),
        modalDialogTemplate(IDD_CONTROLLER, "Steuerung", 397, 156,
                            {
                                {"Static", IDC_LABEL_1012, "", 7, 7, 76, 15, kLabel},
                                {"Static", IDC_LABEL_1009, "", 84, 7, 229, 15, kLabel},
                                {"XGRID", IDC_GRID, "", 7, 26, 305, 123, kGrid},
                                {"XBUTTON", IDC_CHANGE, "\xC4ndern", 320, 25, 64, 17, kButton},
                                {"XBUTTON", IDC_INFO, "Info", 320, 44, 64, 17, kButton},
                                {"XBUTTON", IDOK, "OK", 320, 131, 64, 17, kButton},
                            }),
        modalDialogTemplate(IDD_IP, "IP-Adresse", 204, 70,
                            {
                                {"Static", IDC_LABEL_1004, "", 7, 7, 190, 12, kLabel},
                                {"SysIPAddress32", IDC_IP_ADDRESS, "", 52, 26, 100, 13,
                                 WS_CHILD | WS_VISIBLE | WS_TABSTOP},
                                {"XBUTTON", IDOK, "OK", 7, 49, 64, 14, kButton},
                                {"XBUTTON", IDCANCEL, "Abbrechen", 133, 49, 64, 14, kButton},
                            }),
        modalDialogTemplate(IDD_IP_PORT, "TCP/IP", 180, 68,
                            {
                                {"Static", IDC_IP_LABEL, "IP-Adresse", 7, 7, 100, 12, kLabel},
                                {"Static", IDC_PORT_LABEL, "Port", 115, 7, 58, 12, kLabel},
                                {"SysIPAddress32", IDC_IP_PORT_ADDRESS, "", 7, 24, 100, 13,
                                 WS_CHILD | WS_VISIBLE | WS_TABSTOP},
                                {"CColorSelEdit", IDC_PORT_EDIT, "", 115, 24, 58, 13, kEdit},
                                {"XBUTTON", IDOK, "OK", 7, 47, 64, 14, kButton},
                                {"XBUTTON", IDCANCEL, "Abbrechen", 109, 47, 64, 14, kButton},
                            }),
        modalDialogTemplate(IDD_LABEL, "Beschriftung", 280, 114,
                            {
                                {"Static", IDC_L1_LABEL, "L1 :", 7, 7, 24, 18, kLabel},
                                {"CColorSelEdit", IDC_LINE1_EDIT, "", 35, 7, 238, 18, kEdit},
                                {"Static", IDC_L2_LABEL, "L2 :", 7, 29, 24, 18, kLabel},
                                {"CColorSelEdit", IDC_LINE2_EDIT, "", 35, 29, 238, 18, kEdit},
                                {"Static", IDC_L3_LABEL, "L3 :", 7, 51, 24, 32, kLabel},
                                {"CColorSelEdit", IDC_LINE3_EDIT, "", 35, 51, 238, 32, kEdit},
                                {"XBUTTON", IDOK, "OK", 209, 92, 64, 14, kButton},
                            }),
        modalDialogTemplate(IDD_SLIDER_LABEL, "Schieber-Beschriftung", 200, 192,
                            {
                                {"CColorSelEdit", IDC_LINE1_EDIT, "", 112, 30, 80, 12, kEdit},
                                {"CColorSelEdit", IDC_LINE2_EDIT, "", 112, 80, 80, 12, kEdit},
                                {"CColorSelEdit", IDC_LINE3_EDIT, "", 112, 130, 80, 12, kEdit},
                                {"XBUTTON", IDOK, "OK", 112, 153, 80, 14, kButton},
                                {"XBUTTON", IDCANCEL, "Abbrechen", 112, 171, 80, 14, kButton},
                            }),
        modalDialogTemplate(IDD_CONTROLLER_SLIDER_LABEL, "Schieber-Beschriftung", 280, 192,
                            {
                                {"CColorSelEdit", IDC_LINE1_EDIT, "", 192, 20, 80, 12, kEdit},
                                {"CColorSelEdit", IDC_LINE2_EDIT, "", 192, 45, 80, 12, kEdit},
                                {"CColorSelEdit", IDC_LINE3_EDIT, "", 192, 70, 80, 12, kEdit},
                                {"CColorSelEdit", IDC_LINE4_EDIT, "", 192, 95, 80, 12, kEdit},
                                {"CColorSelEdit", IDC_LINE5_EDIT, "", 192, 120, 80, 12, kEdit},
                                {"XBUTTON", IDOK, "OK", 192, 153, 80, 14, kButton},
                                {"XBUTTON", IDCANCEL, "Abbrechen", 192, 171, 80, 14, kButton},
                            }),
    };
    return t;
}

} // namespace

void RegisterModuleDialogTemplates() {
    std::vector<const DialogTemplate*> list;
    for (const DialogTemplate& t : table())
        list.push_back(&t);
    xui::registerDialogTemplates(list);
}

const xui::DialogTemplate& moduleDialogTemplate(int id) {
    static const DialogTemplate empty{};
    for (const DialogTemplate& t : table()) {
        if (t.id == id)
            return t;
    }
    return empty;
}

} // namespace morvelan
