// The parameter board: its settings live only in the parameter dialog's files, so it stores
// nothing in the project and takes no bytes.
#pragma once

#include "morvelan/core/module.h"

class CParamModule : public CModule {
public:
    CParamModule();

    int Configure(CModuleTile* tile) override;
    // Leaves an empty place on the label strip.
    int PrintLabel(mv::Canvas& dc, int unused, int& y, const CModuleDescription& description,
                   const LabelContext& label) override;
    void PrintListLine(mv::Canvas& dc, int x, int& y, int pageLimit,
                       const CModuleDescription& description) override;
    void DrawStatic(mv::Canvas& dc) override;
};
