// COLORREF values (0x00BBGGRR) at the Qt edge: 0x0000FF is red, 0xFF0000 is blue.
#pragma once

#include "platform/gdi_types.h"

#include <QColor>

namespace xui {

inline QColor toQColor(mv::COLORREF c) {
    return QColor(mv::GetRValue(c), mv::GetGValue(c), mv::GetBValue(c));
}

inline mv::COLORREF toColorref(const QColor& c) { return mv::RGB(c.red(), c.green(), c.blue()); }

// The COLORREF of a pixel value of a QImage (QRgb is 0xAARRGGBB).
inline mv::COLORREF colorrefFromRgb(unsigned int argb) {
    return mv::RGB(static_cast<int>((argb >> 16) & 0xFF), static_cast<int>((argb >> 8) & 0xFF),
                   static_cast<int>(argb & 0xFF));
}

} // namespace xui
