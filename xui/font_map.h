// Fonts: the program's faces mapped to the fonts every machine has, and the font
// description (face, height, weight) that each control carries for the painters.
#pragma once

#include "platform/canvas.h"

#include <QFont>
#include <QWidget>

#include <string_view>

namespace xui {

// "MS Sans Serif", "MS Shell Dlg" and "Arial" -> "Liberation Sans", "Courier New" ->
// "Liberation Mono"; any other face -> "Liberation Sans".
QString mapFontFace(std::string_view face);

// A QFont of the description, its em height given in device pixels; small texts are hinted.
QFont makeQFont(const mv::FontDesc& desc, int emPixels);

// The em height in pixels of a description on a 96-dpi screen (0 = 8 points = 11 pixels;
// a positive cell height is turned into the em height of the mapped face). "MS Sans Serif"
// never goes below its smallest size, 8 points.
int screenEmPixels(const mv::FontDesc& desc);

// A QFont for screen use (96 dpi).
QFont screenFont(const mv::FontDesc& desc);

// The description of the font a dialog template names: face and point size at 96 dpi.
mv::FontDesc fontFromPoints(std::string_view face, int points, int weight = mv::FW_NORMAL);

// The font of a control as a description (what the painters select): the description given
// with setControlFont, else one made from the widget's QFont.
mv::FontDesc controlFont(const QWidget* widget);
void setControlFont(QWidget* widget, const mv::FontDesc& desc);

} // namespace xui
