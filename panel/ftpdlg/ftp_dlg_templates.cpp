#include "panel/ftpdlg/ftp_dlg_templates.h"

#include "panel/ftpdlg/ftp_dlg_ids.h"

namespace ftpdlg {

namespace {

using namespace mv;
constexpr std::uint32_t kDialogStyle =
    WS_POPUP | WS_CAPTION | WS_SYSMENU | DS_MODALFRAME | DS_SETFONT;
constexpr std::uint32_t kButton = WS_CHILD | WS_VISIBLE | WS_TABSTOP;
// Painted by the dialog: hidden placeholders that keep text and place.
constexpr std::uint32_t kPainted = WS_CHILD;
constexpr std::uint32_t kList =
    WS_CHILD | WS_VISIBLE | WS_TABSTOP | WS_VSCROLL | LBS_NOTIFY | LBS_OWNERDRAWFIXED | LBS_HASSTRINGS;

} // namespace

const xui::DialogTemplate& FtpDlgTemplate() {
    static const xui::DialogTemplate t{
        kFtpDlgTemplate, "FTP", "MS Sans Serif", 8, 0, 0, 517, 300, kDialogStyle,
        {
            {"Static", kLocalDirStatic, "", 7, 7, 233, 12, kPainted},
            {kIconComboClass, kDriveCombo, "", 7, 19, 233, 91,
             WS_CHILD | WS_VISIBLE | WS_TABSTOP | WS_VSCROLL | CBS_DROPDOWNLIST},
            {kLocalListClass, kLocalList, "", 7, 33, 233, 247, kList},
            {"Static", kRemoteDirStatic, "", 309, 7, 201, 12, kPainted},
            {"ComboBox", kHostCombo, "", 309, 19, 201, 91,
             WS_CHILD | WS_VISIBLE | WS_TABSTOP | WS_VSCROLL | CBS_DROPDOWNLIST | CBS_SORT},
            {kRemoteListClass, kRemoteList, "", 309, 33, 201, 247, kList},
            {"Static", kBottomStatic, "", 7, 283, 503, 12, kPainted},
            {"XBUTTON", kUploadButton, "-->", 246, 70, 57, 14, kButton},
            {"XBUTTON", kDownloadButton, "<--", 246, 92, 57, 14, kButton},
            {"XBUTTON", kDeleteButton, "FTP Delete", 246, 140, 57, 14, kButton},
            {"XBUTTON", kReloadButton, "FTP Reload", 246, 162, 57, 14, kButton},
            {"XBUTTON", IDOK, "OK", 246, 266, 57, 14, kButton},
        },
    };
    return t;
}

const xui::DialogTemplate& StatusDlgTemplate() {
    static const xui::DialogTemplate t{
        kStatusDlgTemplate, "Status", "MS Sans Serif", 8, 0, 0, 220, 44, kDialogStyle,
        {
            {"Static", kStatusLine1, "", 7, 7, 206, 12, WS_CHILD | WS_VISIBLE},
            {"Static", kStatusLine2, "", 7, 24, 206, 12, WS_CHILD | WS_VISIBLE},
        },
    };
    return t;
}

const xui::DialogTemplate& OverwriteDlgTemplate() {
    static const xui::DialogTemplate t{
        kOverwriteDlgTemplate, "ftp", "MS Sans Serif", 8, 0, 0, 194, 70, kDialogStyle,
        {
            {"Static", -1, "File already exists:", 7, 7, 180, 10, WS_CHILD | WS_VISIBLE},
            {"Static", kOverwriteName, "", 7, 20, 180, 10, WS_CHILD | WS_VISIBLE},
            {"Static", -1, "Overwrite ?", 7, 33, 180, 10, WS_CHILD | WS_VISIBLE},
            {"XBUTTON", IDOK, "Overwrite", 30, 49, 60, 14, kButton},
            {"XBUTTON", IDCANCEL, "Cancel", 104, 49, 60, 14, kButton},
        },
    };
    return t;
}

const xui::DialogTemplate& MessageDlgTemplate() {
    static const xui::DialogTemplate t{
        kMessageDlgTemplate, "Message", "MS Sans Serif", 8, 0, 0, 194, 55, kDialogStyle,
        {
            {"Static", kMessageText, "", 7, 7, 180, 20, kPainted},
            {"XBUTTON", IDOK, "OK", 67, 34, 60, 14, kButton},
        },
    };
    return t;
}

} // namespace ftpdlg
