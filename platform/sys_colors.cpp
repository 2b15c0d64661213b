#include "platform/sys_colors.h"

#include <array>

namespace mv {
namespace {

struct MetricEntry {
    int index;
    int value;
};

// One light scheme for the whole program (0x00BBGGRR).
constexpr std::array<COLORREF, 25> kColors = {
    0xC8C8C8, // COLOR_SCROLLBAR
    0x000000, // COLOR_BACKGROUND
    0xD1B499, // COLOR_ACTIVECAPTION
    0xDBCDBF, // COLOR_INACTIVECAPTION
    0xF0F0F0, // COLOR_MENU
    0xFFFFFF, // COLOR_WINDOW
    0x646464, // COLOR_WINDOWFRAME
    0x000000, // COLOR_MENUTEXT
    0x000000, // COLOR_WINDOWTEXT
    0x000000, // COLOR_CAPTIONTEXT
    0xB4B4B4, // COLOR_ACTIVEBORDER
    0xFCF7F4, // COLOR_INACTIVEBORDER
    0xABABAB, // COLOR_APPWORKSPACE
    0xFF9933, // COLOR_HIGHLIGHT
    0xFFFFFF, // COLOR_HIGHLIGHTTEXT
    0xF0F0F0, // COLOR_BTNFACE
    0xA0A0A0, // COLOR_BTNSHADOW
    0x6D6D6D, // COLOR_GRAYTEXT
    0x000000, // COLOR_BTNTEXT
    0x544E43, // COLOR_INACTIVECAPTIONTEXT
    0xFFFFFF, // COLOR_BTNHIGHLIGHT
    0x696969, // COLOR_3DDKSHADOW
    0xE3E3E3, // COLOR_3DLIGHT
    0x000000, // COLOR_INFOTEXT
    0xE1FFFF, // COLOR_INFOBK
};

constexpr std::array<MetricEntry, 20> kMetrics = {{
    {SM_CXSCREEN, 1920},
    {SM_CYSCREEN, 1080},
    {SM_CXVSCROLL, 17},
    {SM_CYHSCROLL, 17},
    {SM_CYCAPTION, 22},
    {SM_CXBORDER, 1},
    {SM_CYBORDER, 1},
    {SM_CXDLGFRAME, 3},
    {SM_CYDLGFRAME, 3},
    {SM_CYVTHUMB, 17},
    {SM_CXHTHUMB, 17},
    {SM_CXICON, 32},
    {SM_CYICON, 32},
    {SM_CYMENU, 20},
    {SM_CYVSCROLL, 17},
    {SM_CXHSCROLL, 17},
    {SM_CXFRAME, 4},
    {SM_CYFRAME, 4},
    {SM_CXEDGE, 2},
    {SM_CYEDGE, 2},
}};

} // namespace

COLORREF GetSysColor(int index) {
    if (index < 0 || index >= static_cast<int>(kColors.size())) {
        return 0;
    }
    return kColors[static_cast<std::size_t>(index)];
}

int GetSystemMetrics(int index) {
    for (const MetricEntry& m : kMetrics) {
        if (m.index == index) {
            return m.value;
        }
    }
    return 0;
}

} // namespace mv
