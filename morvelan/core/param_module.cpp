#include "morvelan/core/param_module.h"

#include "morvelan/core/app_hooks.h"
#include "morvelan/core/flag_module.h"

CParamModule::CParamModule() {
    width = kBoardWidth;
}

int CParamModule::Configure(CModuleTile* tile) {
    return mv::appHooks().ConfigureModule(tile, nullptr);
}

int CParamModule::PrintLabel(mv::Canvas& /*dc*/, int /*unused*/, int& y,
                             const CModuleDescription& /*description*/,
                             const LabelContext& /*label*/) {
    y -= 125;
    return 1;
}

void CParamModule::PrintListLine(mv::Canvas& dc, int x, int& y, int pageLimit,
                                 const CModuleDescription& description) {
    PrintBoardListLine(dc, x, y, pageLimit, description);
}

void CParamModule::DrawStatic(mv::Canvas& dc) {
    DrawListSeparator(dc);
}
