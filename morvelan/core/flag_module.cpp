#include "morvelan/core/flag_module.h"

#include "morvelan/core/app_hooks.h"
#include "morvelan/core/app_profile.h"
#include "morvelan/core/channel_module.h"
#include "catalogue/module_description.h"
#include "morvelan/core/param_number.h"
#include "morvelan/core/text_font.h"
#include "platform/canvas.h"
#include "platform/ini_file.h"

namespace {

// Height a board takes in the project list.
constexpr int kListLineStep = 45;

} // namespace

void DrawListSeparator(mv::Canvas& dc) {
    dc.moveTo(350, 0);
    dc.lineTo(350, 20);
}

void PrintBoardListLine(mv::Canvas& dc, int x, int& y, int pageLimit,
                        const CModuleDescription& description) {
    mv::IAppHooks& hooks = mv::appHooks();
    dc.saveState();
    dc.selectFont(TextFont("Arial", 35));
    dc.setTextAlign(mv::TA_LEFT | mv::TA_TOP);
    hooks.NextPrintPage(dc, y, kListLineStep, pageLimit);
    if (hooks.PageWanted()) {
        dc.textOut(x + 250, y, description.m_Description);
        dc.textOut(x + 500, y, description.m_DisplayName);
    }
    y -= kListLineStep;
    dc.restoreState();
}

CFlagModule::CFlagModule() {
    width = kBoardWidth;
}

int CFlagModule::Configure(CModuleTile* tile) {
    return mv::appHooks().ConfigureModule(tile, nullptr);
}

void CFlagModule::SaveToProject(int station, int position, const std::string& projectFile) {
    WriteProfileText(TileSection(station, position), kFlagOptionKey,
                     m_Option == 1 ? kFlagTrue : kFlagFalse, projectFile);
}

void CFlagModule::LoadFromProject(int station, int position, const std::string& projectFile) {
    const std::string text = mv::iniReadString(projectFile, TileSection(station, position),
                                               kFlagOptionKey, kFlagFalse, 10);
    if (text == kFlagTrue) {
        m_Option = 1;
    }
}

int CFlagModule::PrintLabel(mv::Canvas& dc, int /*unused*/, int& y,
                            const CModuleDescription& description, const LabelContext& label) {
    return PrintBoardLabel(dc, y, description, label);
}

void CFlagModule::PrintListLine(mv::Canvas& dc, int x, int& y, int pageLimit,
                                const CModuleDescription& description) {
    PrintBoardListLine(dc, x, y, pageLimit, description);
}

void CFlagModule::DrawStatic(mv::Canvas& dc) {
    DrawListSeparator(dc);
}

int CFlagModule2::Configure(CModuleTile* /*tile*/) {
    return 0;
}
