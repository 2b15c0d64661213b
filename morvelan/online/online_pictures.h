// The pictures of the live value grid, drawn by the program itself: the bit boxes (164 set,
// 165 clear), the mask symbol (168) and the strip of LCD digit glyphs.
#pragma once

#include "platform/canvas.h"

#include <string_view>

namespace morvelan {

constexpr int kBitmapBitSet = 164;
constexpr int kBitmapBitClear = 165;
constexpr int kBitmapMask = 168;
constexpr int kBitBoxSize = 16;

// Registers the three bitmaps with the program's bitmaps unless an image is there already.
void RegisterOnlinePictures();

// One glyph of the LCD strip: 15 x 31 pixels.
constexpr int kLcdGlyphWidth = 15;
constexpr int kLcdGlyphHeight = 31;
// The characters the strip holds, in its order; any other character shows as a blank.
constexpr std::string_view kLcdCharacters = "0123456789-. ";

// The glyph of a character.
const mv::PixelImage& LcdGlyph(char c);

// Draws a text as LCD digits, each glyph stretched into its share of the rectangle.
void DrawLcdText(mv::Canvas& dc, const mv::RECT& r, std::string_view text);

} // namespace morvelan
