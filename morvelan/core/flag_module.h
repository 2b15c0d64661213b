// Boards that store one true/false option in the project and take no bytes in the controller's
// buffers. The three classes behave alike; they are separate so the factory can tell the kinds
// 3 and 6, 7 and 8 apart.
#pragma once

#include "morvelan/core/module.h"

#include <cstdint>

// Key of the option in the tile's project section, and its two texts.
inline constexpr const char* kFlagOptionKey = "K2271";
inline constexpr const char* kFlagTrue = "TRUE";
inline constexpr const char* kFlagFalse = "FALSE";

class CFlagModule : public CModule {
public:
    CFlagModule();

    int Configure(CModuleTile* tile) override;
    void SaveToProject(int station, int position, const std::string& projectFile) override;
    void LoadFromProject(int station, int position, const std::string& projectFile) override;
    int PrintLabel(mv::Canvas& dc, int unused, int& y, const CModuleDescription& description,
                   const LabelContext& label) override;
    void PrintListLine(mv::Canvas& dc, int x, int& y, int pageLimit,
                       const CModuleDescription& description) override;
    void DrawStatic(mv::Canvas& dc) override;

    // 1 = set; anything else = not set.
    std::int32_t m_Option = 0;
};

// Kind 7: no dialog on Configure.
class CFlagModule2 : public CFlagModule {
public:
    int Configure(CModuleTile* tile) override;
};

// Kind 8.
class CFlagModule3 : public CFlagModule {};

// The list view's separator line of the boards without live values.
void DrawListSeparator(mv::Canvas& dc);
// The one line of a board in the project list (Arial 35, room for 45).
void PrintBoardListLine(mv::Canvas& dc, int x, int& y, int pageLimit,
                        const CModuleDescription& description);
