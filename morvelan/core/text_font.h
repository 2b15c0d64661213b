// The fonts the boards draw and print with, given by face and character height.
#pragma once

#include "platform/canvas.h"

// A font whose characters (without internal leading) are `height` units tall.
inline mv::FontDesc TextFont(const char* face, int height, int weight = mv::FW_NORMAL,
                             int escapement = 0) {
    mv::FontDesc f;
    f.face = face;
    f.height = -height;
    f.weight = weight;
    f.escapement = escapement;
    return f;
}
