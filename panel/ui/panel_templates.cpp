#include "panel/ui/panel_templates.h"

#include "panel/ui/record_dlgs.h"

#include "platform/win_styles.h"
#include "xui/dialog_template.h"

namespace x740panel {
namespace {

using namespace mv;

constexpr std::uint32_t kChild = WS_CHILD | WS_VISIBLE;
constexpr std::uint32_t kTab = kChild | WS_TABSTOP;
constexpr std::uint32_t kDialog = WS_POPUP | WS_CAPTION | WS_SYSMENU | DS_MODALFRAME | DS_SETFONT;

const xui::DialogTemplate kAdvanced{
    kAdvancedDlgTemplate, "X740 Advanced", "MS Sans Serif", 8, 0, 0, 330, 200, kDialog,
    {
        {"CMListBox", 15013, "", 7, 7, 316, 166, kTab | WS_VSCROLL | WS_BORDER},
        {"XBUTTON", 15032, "Clear", 7, 179, 60, 14, kTab},
        {"XBUTTON", 1, "OK", 263, 179, 60, 14, kTab},
    }};

const xui::DialogTemplate kIpData{
    kIpDataDlgTemplate, "IP Data", "MS Sans Serif", 8, 0, 0, 200, 118, kDialog,
    {
        {"Static", 15007, " Serialnumber", 7, 7, 80, 12, kPaintedLabel},
        {"Edit", 15011, "", 92, 7, 100, 12, kTab | WS_BORDER | WS_DISABLED | ES_AUTOHSCROLL},
        {"Static", 15008, " IP: Adresse", 7, 23, 80, 12, kPaintedLabel},
        {"SysIPAddress32", 15003, "", 92, 23, 100, 12, kTab},
        {"Static", 15009, " IP: Subnet Mask", 7, 39, 80, 12, kPaintedLabel},
        {"SysIPAddress32", 15004, "", 92, 39, 100, 12, kTab},
        {"Static", 15010, " IP: Gateway", 7, 55, 80, 12, kPaintedLabel},
        {"SysIPAddress32", 15005, "", 92, 55, 100, 12, kTab},
        {"Button", 15012, "Use DHCP", 92, 73, 100, 10, kTab | BS_AUTOCHECKBOX},
        {"XBUTTON", 1, "Send", 7, 96, 60, 14, kTab},
        {"XBUTTON", 2, "Cancel", 132, 96, 60, 14, kTab},
    }};

const xui::DialogTemplate kEType{
    kETypeDlgTemplate, "Identification", "MS Sans Serif", 8, 0, 0, 260, 190, kDialog,
    {
        {"Static", 5000, " ComponentID", 7, 7, 60, 12, kPaintedLabel},
        {"Edit", 6001, "", 70, 7, 60, 12, kTab | WS_BORDER | ES_AUTOHSCROLL},
        {"Static", 5001, " TypeID", 7, 23, 60, 12, kPaintedLabel},
        {"Edit", 6002, "", 70, 23, 60, 12, kTab | WS_BORDER | ES_AUTOHSCROLL},
        {"Static", 5002, " IdentCode", 7, 39, 60, 12, kPaintedLabel},
        {"Edit", 6000, "", 7, 54, 180, 128, kTab | WS_BORDER | WS_VSCROLL | ES_MULTILINE},
        {"XBUTTON", 40057, "Read IdentCode", 193, 54, 60, 14, kTab},
        {"XBUTTON", 40058, "Write IdentCode", 193, 72, 60, 14, kTab},
        {"XBUTTON", 40059, "Delete IdentCode", 193, 90, 60, 14, kTab},
        {"XBUTTON", 40060, "Delete Ident File", 193, 108, 60, 14, kTab},
        {"XBUTTON", 40062, "Store Ident File", 193, 126, 60, 14, kTab},
        {"XBUTTON", 1, "OK", 193, 168, 60, 14, kTab},
    }};

const xui::DialogTemplate kSsiIndex{
    kSsiIndexDlgTemplate, "SSI Interface", "MS Sans Serif", 8, 0, 0, 200, 70, kDialog,
    {
        {"Static", kPromptTextId, "Please enter number (index) of SSI-Interface", 7, 7, 186, 12,
         kPaintedLabel},
        {"Static", kPromptLabel1Id, " SSI-Index :", 7, 25, 80, 12, kPaintedLabel},
        {"Edit", kPromptEdit1Id, "", 92, 25, 60, 12, kTab | WS_BORDER | ES_AUTOHSCROLL},
        {"XBUTTON", 1, "OK", 7, 48, 60, 14, kTab},
        {"XBUTTON", 2, "Cancel", 133, 48, 60, 14, kTab},
    }};

const xui::DialogTemplate kCamBlock{
    kCamBlockDlgTemplate, "CAM Blocknumber", "MS Sans Serif", 8, 0, 0, 200, 86, kDialog,
    {
        {"Static", kPromptTextId, "Please enter number (Index) of Block", 7, 7, 186, 12,
         kPaintedLabel},
        {"Static", kPromptLabel1Id, " Block Number :", 7, 25, 80, 12, kPaintedLabel},
        {"Edit", kPromptEdit1Id, "", 92, 25, 60, 12, kTab | WS_BORDER | ES_AUTOHSCROLL},
        {"Static", kPromptLabel2Id, " Bit Offset :", 7, 41, 80, 12, kPaintedLabel},
        {"Edit", kPromptEdit2Id, "", 92, 41, 60, 12, WS_CHILD | WS_TABSTOP | WS_BORDER},
        {"XBUTTON", 1, "OK", 7, 64, 60, 14, kTab},
        {"XBUTTON", 2, "Cancel", 133, 64, 60, 14, kTab},
    }};

} // namespace

void RegisterPanelTemplates() {
    xui::registerDialogTemplates({&kAdvanced, &kIpData, &kEType, &kSsiIndex, &kCamBlock});
    RegisterRecordTemplates();
}

} // namespace x740panel
