// The picture-only head: a board shown by its picture, as wide as the picture.
#pragma once

#include "morvelan/core/module.h"

#include <string>

class CBitmapModule : public CModule {
public:
    CBitmapModule();

    // Width from the picture named by MORVELAN/Bitmap in the program folder's bmp folder; a
    // picture that cannot be read keeps the width 656.
    void LoadDescription(const std::string& path) override;
    // The head's label file (program folder, "modul", type name, ".etk") when it exists.
    int PrintLabel(mv::Canvas& dc, int unused, int& y, const CModuleDescription& description,
                   const LabelContext& label) override;
    void PrintListLine(mv::Canvas& dc, int x, int& y, int pageLimit,
                       const CModuleDescription& description) override;
};
