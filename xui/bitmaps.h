// The program's bitmaps: found by resource id (the symbol bitmaps are drawn here; others are
// registered by the code that owns them) or read from a file, with one colour replaced.
#pragma once

#include "platform/canvas.h"

#include <QImage>

#include <cstdint>
#include <string>

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

// The largest picture file read.
constexpr std::uint64_t kMaxPictureFileBytes = std::uint64_t{64} << 20;

// Reads a picture file (BMP, JPEG, ...) when it is a regular file within kMaxPictureFileBytes;
// a null image otherwise, with the reason in `why` when the file could not be read. The path is
// taken as it stands.
QImage readPictureFile(const std::string& path, std::string* why = nullptr);

// Loads a bitmap by resource id, else from its file (path resolved without regard to case);
// one colour replaced when asked. A null image when neither is found or readable.
QImage loadBitmap(const mv::BitmapRef& ref);

} // namespace xui
