// The program's bitmaps: found by resource id (the symbol bitmaps are drawn here; others are
// registered by the code that owns them) or read from a file, with one colour replaced.
#pragma once

#include "platform/canvas.h"

#include <QImage>

namespace xui {

// Symbol bitmaps of the message dialog (32 x 32, magenta background).
constexpr int kBitmapError = 150;
constexpr int kBitmapInformation = 159;
constexpr int kBitmapQuestion = 188;
constexpr int kBitmapPanelError = 15037;
constexpr int kBitmapPanelSuccess = 15018;
constexpr mv::COLORREF kBitmapTransparent = 0xFF00FF;

// Registers (or replaces) the image of a resource id.
void registerBitmapResource(int id, const QImage& image);

// The image of a resource id; a null image when the id is unknown.
QImage bitmapResource(int id);

// The image with every pixel of colour `from` turned into `to`.
QImage replaceColor(const QImage& image, mv::COLORREF from, mv::COLORREF to);

// Loads a bitmap by resource id, else from its file (path resolved without regard to case);
// one colour replaced when asked. A null image when neither is found or readable.
QImage loadBitmap(const mv::BitmapRef& ref);

} // namespace xui
