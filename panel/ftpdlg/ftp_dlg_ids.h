// Template and control ids of the FTP dialog and its small dialogs.
#pragma once

namespace ftpdlg {

constexpr int kFtpDlgTemplate = 15021;
constexpr int kStatusDlgTemplate = 15025;
constexpr int kOverwriteDlgTemplate = 15026;
constexpr int kMessageDlgTemplate = 15036;

constexpr int kBitmapDirectory = 15022;
constexpr int kBitmapFile = 15023;

// Dialog 15021.
constexpr int kDriveCombo = 15071;
constexpr int kLocalDirStatic = 15072;
constexpr int kLocalList = 15073;
constexpr int kRemoteList = 15074;
constexpr int kRemoteDirStatic = 15075;
constexpr int kHostCombo = 15076;
constexpr int kUploadButton = 15077;
constexpr int kBottomStatic = 15078;
constexpr int kDeleteButton = 15080;
constexpr int kDownloadButton = 15081;
constexpr int kReloadButton = 15082;

// Dialog 15025: the two status lines.
constexpr int kStatusLine1 = 15074;
constexpr int kStatusLine2 = 15075;
// Dialog 15026: the file name.
constexpr int kOverwriteName = 15084;
// Dialog 15036: the text.
constexpr int kMessageText = 5000;

// The per-user value that keeps the local directory between runs.
inline constexpr const char* kSettingsKey = "SOFTWARE\\Kelvane\\Morvelan";
inline constexpr const char* kLocalDirValue = "FTP";
inline constexpr const char* kHostPreset = "X740 FTP";

// Window classes of the owner-drawn controls.
inline constexpr const char* kLocalListClass = "CLocalFileList";
inline constexpr const char* kRemoteListClass = "CRemoteFileList";
inline constexpr const char* kIconComboClass = "CIconComboBox";

} // namespace ftpdlg
