// Window and control style bits written in dialog templates, and the dialog result ids
// (the platform's values).
#pragma once

#include <cstdint>

namespace mv {

// Dialog results and the control ids of the OK and Cancel buttons.
constexpr int IDOK = 1;
constexpr int IDCANCEL = 2;

// Window styles.
constexpr std::uint32_t WS_POPUP = 0x80000000u;
constexpr std::uint32_t WS_CHILD = 0x40000000u;
constexpr std::uint32_t WS_VISIBLE = 0x10000000u;
constexpr std::uint32_t WS_DISABLED = 0x08000000u;
constexpr std::uint32_t WS_CAPTION = 0x00C00000u;
constexpr std::uint32_t WS_BORDER = 0x00800000u;
constexpr std::uint32_t WS_VSCROLL = 0x00200000u;
constexpr std::uint32_t WS_HSCROLL = 0x00100000u;
constexpr std::uint32_t WS_SYSMENU = 0x00080000u;
constexpr std::uint32_t WS_GROUP = 0x00020000u;
constexpr std::uint32_t WS_TABSTOP = 0x00010000u;

// Dialog styles.
constexpr std::uint32_t DS_MODALFRAME = 0x80u;
constexpr std::uint32_t DS_SETFONT = 0x40u;

// Static control styles.
constexpr std::uint32_t SS_LEFT = 0x0u;
constexpr std::uint32_t SS_CENTER = 0x1u;
constexpr std::uint32_t SS_RIGHT = 0x2u;
constexpr std::uint32_t SS_ICON = 0x3u;
constexpr std::uint32_t SS_BITMAP = 0xEu;
constexpr std::uint32_t SS_ETCHEDHORZ = 0x10u;
constexpr std::uint32_t SS_TYPEMASK = 0x1Fu;

// Button styles.
constexpr std::uint32_t BS_PUSHBUTTON = 0x0u;
constexpr std::uint32_t BS_DEFPUSHBUTTON = 0x1u;
constexpr std::uint32_t BS_CHECKBOX = 0x2u;
constexpr std::uint32_t BS_AUTOCHECKBOX = 0x3u;
constexpr std::uint32_t BS_RADIOBUTTON = 0x4u;
constexpr std::uint32_t BS_GROUPBOX = 0x7u;
constexpr std::uint32_t BS_AUTORADIOBUTTON = 0x9u;
constexpr std::uint32_t BS_OWNERDRAW = 0xBu;
constexpr std::uint32_t BS_TYPEMASK = 0xFu;

// Edit styles.
constexpr std::uint32_t ES_LEFT = 0x0u;
constexpr std::uint32_t ES_CENTER = 0x1u;
constexpr std::uint32_t ES_RIGHT = 0x2u;
constexpr std::uint32_t ES_MULTILINE = 0x4u;
constexpr std::uint32_t ES_AUTOHSCROLL = 0x80u;
constexpr std::uint32_t ES_READONLY = 0x800u;
constexpr std::uint32_t ES_NUMBER = 0x2000u;

// Combo box styles.
constexpr std::uint32_t CBS_DROPDOWN = 0x2u;
constexpr std::uint32_t CBS_DROPDOWNLIST = 0x3u;
constexpr std::uint32_t CBS_SORT = 0x100u;

// List box styles.
constexpr std::uint32_t LBS_NOTIFY = 0x1u;
constexpr std::uint32_t LBS_SORT = 0x2u;
constexpr std::uint32_t LBS_OWNERDRAWFIXED = 0x10u;
constexpr std::uint32_t LBS_HASSTRINGS = 0x40u;

// Notification codes a standard control sends with its command.
constexpr int BN_CLICKED = 0;
constexpr int CBN_SELCHANGE = 1;
constexpr int LBN_SELCHANGE = 1;
constexpr int LBN_DBLCLK = 2;
constexpr int EN_SETFOCUS = 0x100;
constexpr int EN_KILLFOCUS = 0x200;
constexpr int EN_CHANGE = 0x300;

} // namespace mv
