#include "platform/emf_canvas.h"

#include "platform/bmp_reader.h"
#include "platform/cp1252.h"
#include "platform/ini_file.h"
#include "platform/regular_file.h"

#include <cerrno>
#include <cstring>
#include <fcntl.h>
#include <iterator>
#include <unistd.h>

namespace mv {
namespace {

constexpr std::size_t kMaxBitmapFile = std::size_t{64} << 20;
constexpr std::uint32_t kGraphicsCompatible = 1;
constexpr std::uint32_t kDibRgbColors = 0;

void put32(std::vector<std::uint8_t>& out, std::uint32_t v) {
    for (int i = 0; i < 4; ++i)
        out.push_back(static_cast<std::uint8_t>(v >> (8 * i)));
}
void puti(std::vector<std::uint8_t>& out, int v) {
    put32(out, static_cast<std::uint32_t>(v));
}
void putf(std::vector<std::uint8_t>& out, float f) {
    std::uint32_t v = 0;
    std::memcpy(&v, &f, sizeof v);
    put32(out, v);
}
void set32(std::vector<std::uint8_t>& out, std::size_t at, std::uint32_t v) {
    for (int i = 0; i < 4; ++i)
        out[at + static_cast<std::size_t>(i)] = static_cast<std::uint8_t>(v >> (8 * i));
}
void pad4(std::vector<std::uint8_t>& out) {
    while (out.size() % 4 != 0)
        out.push_back(0);
}
// Inclusive bounds as the file keeps them.
void putBounds(std::vector<std::uint8_t>& out, const RECT& r) {
    puti(out, r.left);
    puti(out, r.top);
    puti(out, r.right);
    puti(out, r.bottom);
}
int toHundredthMm(int pixels) {
    return static_cast<int>(static_cast<long long>(pixels) * 2540 / kEmfDpi);
}

} // namespace

EmfCanvas::EmfCanvas() {
    font_.face = "Arial";
}

void EmfCanvas::Append(std::vector<std::uint8_t> record) {
    pad4(record);
    set32(record, 4, static_cast<std::uint32_t>(record.size()));
    records_.insert(records_.end(), record.begin(), record.end());
    ++recordCount_;
}

void EmfCanvas::Record(std::uint32_t type, const std::vector<std::uint32_t>& words) {
    std::vector<std::uint8_t> r;
    put32(r, type);
    put32(r, 0);
    for (std::uint32_t w : words)
        put32(r, w);
    Append(std::move(r));
}

void EmfCanvas::Extend(const RECT& r) {
    // r is exclusive of its right and bottom edge; the bounds include them.
    if (r.right <= r.left || r.bottom <= r.top)
        return;
    const RECT inclusive{r.left, r.top, r.right - 1, r.bottom - 1};
    if (!drawn_) {
        bounds_ = inclusive;
        drawn_ = true;
        return;
    }
    bounds_.left = std::min(bounds_.left, inclusive.left);
    bounds_.top = std::min(bounds_.top, inclusive.top);
    bounds_.right = std::max(bounds_.right, inclusive.right);
    bounds_.bottom = std::max(bounds_.bottom, inclusive.bottom);
}

FontDesc EmfCanvas::selectFont(const FontDesc& font) {
    FontDesc old = font_;
    if (!(font == font_))
        fontDirty_ = true;
    font_ = font;
    return old;
}
PenDesc EmfCanvas::selectPen(const PenDesc& pen) {
    (void)pen;
    return PenDesc{};
}
BrushDesc EmfCanvas::selectBrush(const BrushDesc& brush) {
    (void)brush;
    return BrushDesc{};
}
COLORREF EmfCanvas::setTextColor(COLORREF color) {
    const COLORREF old = textColor_;
    textColor_ = color;
    return old;
}
COLORREF EmfCanvas::setBkColor(COLORREF color) {
    (void)color;
    return 0xFFFFFF;
}
int EmfCanvas::setBkMode(int mode) {
    const int old = bkMode_;
    bkMode_ = mode;
    return old;
}
unsigned EmfCanvas::setTextAlign(unsigned align) {
    const unsigned old = textAlign_;
    textAlign_ = align;
    return old;
}
int EmfCanvas::setMapMode(int mode) {
    (void)mode;
    return MM_TEXT;
}
void EmfCanvas::setViewportOrg(POINT org) {
    (void)org;
}
void EmfCanvas::saveState() {
    savedFonts_.push_back(font_);
}
void EmfCanvas::restoreState() {
    if (savedFonts_.empty())
        return;
    selectFont(savedFonts_.back());
    savedFonts_.pop_back();
}

void EmfCanvas::moveTo(int, int) {}
void EmfCanvas::lineTo(int, int) {}
void EmfCanvas::rectangle(const RECT&) {}
void EmfCanvas::ellipse(const RECT&) {}
void EmfCanvas::polygon(const std::vector<POINT>&) {}
void EmfCanvas::fillRect(const RECT&, COLORREF) {}
void EmfCanvas::frameRect(const RECT&, COLORREF) {}
void EmfCanvas::setPixel(int, int, COLORREF) {}
void EmfCanvas::drawFocusRect(const RECT&) {}

SIZE EmfCanvas::textExtent(std::string_view text) {
    const int em = font_.height < 0 ? -font_.height : (font_.height * 4) / 5;
    return SIZE{static_cast<int>(text.size()) * std::max(1, em / 2), em};
}

TextMetrics EmfCanvas::textMetrics() {
    const int em = font_.height < 0 ? -font_.height : (font_.height * 4) / 5;
    return TextMetrics{em, em * 4 / 5, em - em * 4 / 5, std::max(1, em / 2)};
}

void EmfCanvas::FlushState() {
    if (fontDirty_) {
        // Two handles take turns: the new font is selected, then the old one deleted.
        const std::uint32_t made = fontHandle_ == 1 ? 2 : 1;
        std::vector<std::uint8_t> r;
        put32(r, EMR_EXTCREATEFONTINDIRECTW);
        put32(r, 0);
        put32(r, made);
        puti(r, font_.height);
        puti(r, 0);
        puti(r, font_.escapement);
        puti(r, font_.escapement);
        puti(r, font_.weight);
        r.push_back(font_.italic ? 1 : 0);
        r.push_back(font_.underline ? 1 : 0);
        r.push_back(0); // strike-out
        r.push_back(0); // ANSI character set
        r.push_back(0); // output precision
        r.push_back(0); // clip precision
        r.push_back(kAntialiasedQuality);
        r.push_back(0); // pitch and family
        std::size_t chars = 0;
        for (unsigned char c : font_.face) {
            if (chars == 31)
                break;
            const char32_t u = cp1252ToUnicode(c);
            r.push_back(static_cast<std::uint8_t>(u & 0xFF));
            r.push_back(static_cast<std::uint8_t>((u >> 8) & 0xFF));
            ++chars;
        }
        for (; chars < 32; ++chars) {
            r.push_back(0);
            r.push_back(0);
        }
        Append(std::move(r));
        Record(EMR_SELECTOBJECT, {made});
        if (fontHandle_ != 0)
            Record(EMR_DELETEOBJECT, {fontHandle_});
        fontHandle_ = made;
        fontDirty_ = false;
    }
    if (written_[0] != textColor_) {
        Record(EMR_SETTEXTCOLOR, {textColor_});
        written_[0] = textColor_;
    }
    if (written_[1] != static_cast<COLORREF>(bkMode_)) {
        Record(EMR_SETBKMODE, {static_cast<std::uint32_t>(bkMode_)});
        written_[1] = static_cast<COLORREF>(bkMode_);
    }
    if (written_[2] != textAlign_) {
        Record(EMR_SETTEXTALIGN, {textAlign_});
        written_[2] = textAlign_;
    }
}

void EmfCanvas::textOut(int x, int y, std::string_view text) {
    FlushState();
    const SIZE extent = textExtent(text);
    // Bounds of the text box, turned by the escapement (quarter turns only).
    RECT box{x, y, x + extent.cx, y + extent.cy};
    if (font_.escapement == 900)
        box = RECT{x, y - extent.cx, x + extent.cy, y};
    else if (font_.escapement == 2700)
        box = RECT{x - extent.cy, y, x, y + extent.cx};
    if ((textAlign_ & TA_HORZMASK) == TA_RIGHT && font_.escapement == 900)
        box = RECT{x, y, x + extent.cy, y + extent.cx};
    else if ((textAlign_ & TA_HORZMASK) == TA_RIGHT && font_.escapement == 0)
        box = RECT{x - extent.cx, y, x, y + extent.cy};
    Extend(box);
    const std::uint32_t n = static_cast<std::uint32_t>(text.size());
    std::vector<std::uint8_t> r;
    put32(r, EMR_EXTTEXTOUTW);
    put32(r, 0);
    putBounds(r, RECT{box.left, box.top, box.right - 1, box.bottom - 1});
    put32(r, kGraphicsCompatible);
    putf(r, 1.0f);
    putf(r, 1.0f);
    puti(r, x);
    puti(r, y);
    put32(r, n);
    const std::uint32_t offString = 76;
    const std::uint32_t stringBytes = (2 * n + 3) & ~3u;
    put32(r, offString);
    put32(r, 0);                   // options
    putBounds(r, RECT{0, 0, -1, -1}); // no clipping rectangle
    put32(r, offString + stringBytes);
    for (unsigned char c : text) {
        const char32_t u = cp1252ToUnicode(c);
        r.push_back(static_cast<std::uint8_t>(u & 0xFF));
        r.push_back(static_cast<std::uint8_t>((u >> 8) & 0xFF));
    }
    pad4(r);
    const int advance = std::max(1, textMetrics().averageCharWidth);
    for (std::uint32_t i = 0; i < n; ++i)
        puti(r, advance);
    Append(std::move(r));
}

void EmfCanvas::drawText(std::string_view text, const RECT& r, unsigned flags) {
    (void)flags;
    const unsigned old = setTextAlign(TA_LEFT | TA_TOP);
    textOut(r.left, r.top, text);
    setTextAlign(old);
}

void EmfCanvas::StretchDib(const RECT& dest, const std::uint8_t* bmi, std::size_t bmiSize,
                           const std::uint8_t* bits, std::size_t bitsSize, int width, int height) {
    Extend(dest);
    std::vector<std::uint8_t> r;
    put32(r, EMR_STRETCHDIBITS);
    put32(r, 0);
    putBounds(r, RECT{dest.left, dest.top, dest.right - 1, dest.bottom - 1});
    puti(r, dest.left);
    puti(r, dest.top);
    puti(r, 0);
    puti(r, 0);
    puti(r, width);
    puti(r, height);
    const std::uint32_t offBmi = 80;
    const std::uint32_t bmiPadded = static_cast<std::uint32_t>((bmiSize + 3) & ~std::size_t{3});
    put32(r, offBmi);
    put32(r, static_cast<std::uint32_t>(bmiSize));
    put32(r, offBmi + bmiPadded);
    put32(r, static_cast<std::uint32_t>(bitsSize));
    put32(r, kDibRgbColors);
    put32(r, kSrcCopy);
    puti(r, dest.right - dest.left);
    puti(r, dest.bottom - dest.top);
    r.insert(r.end(), bmi, bmi + bmiSize);
    pad4(r);
    r.insert(r.end(), bits, bits + bitsSize);
    Append(std::move(r));
}

void EmfCanvas::drawBitmap(int x, int y, const BitmapRef& bitmap) {
    if (bitmap.resourceId != 0 || bitmap.file.empty())
        return;
    std::vector<std::uint8_t> bytes;
    std::string why;
    if (!readRegularFile(bitmap.file, kMaxBitmapFile, bytes, &why)) {
        lastError_ = bitmap.file + ": " + why;
        return;
    }
    DibLayout layout;
    if (!ParseBmpFile(bytes.data(), bytes.size(), layout, &why)) {
        lastError_ = bitmap.file + ": " + why;
        return;
    }
    const std::uint8_t* dib = bytes.data() + kBmpFileHeaderSize;
    const std::size_t bmiSize = layout.colorOffset + layout.colorCount * layout.colorEntrySize;
    StretchDib(RECT{x, y, x + layout.width, y + layout.rows()}, dib, bmiSize,
               dib + layout.pixelOffset, static_cast<std::size_t>(layout.imageSize),
               layout.width, layout.rows());
}

void EmfCanvas::stretchBitmap(const RECT& r, const BitmapRef& bitmap) {
    drawBitmap(r.left, r.top, bitmap);
}

void EmfCanvas::drawImage(int x, int y, const PixelImage& image) {
    stretchImage(RECT{x, y, x + image.width, y + image.height}, image);
}

void EmfCanvas::stretchImage(const RECT& r, const PixelImage& image) {
    if (image.width <= 0 || image.height <= 0)
        return;
    // A 32-bit top-down DIB.
    std::vector<std::uint8_t> bmi;
    put32(bmi, kBmpInfoHeaderSize);
    puti(bmi, image.width);
    puti(bmi, -image.height);
    put32(bmi, 1 | (32u << 16));
    put32(bmi, kBiRgb);
    put32(bmi, static_cast<std::uint32_t>(image.pixels.size() * 4));
    for (int i = 0; i < 4; ++i)
        put32(bmi, 0);
    std::vector<std::uint8_t> bits;
    bits.reserve(image.pixels.size() * 4);
    for (COLORREF c : image.pixels) {
        bits.push_back(static_cast<std::uint8_t>((c >> 16) & 0xFF));
        bits.push_back(static_cast<std::uint8_t>((c >> 8) & 0xFF));
        bits.push_back(static_cast<std::uint8_t>(c & 0xFF));
        bits.push_back(0);
    }
    StretchDib(r, bmi.data(), bmi.size(), bits.data(), bits.size(), image.width, image.height);
}

std::vector<std::uint8_t> EmfCanvas::Finish() const {
    std::vector<std::uint8_t> out;
    put32(out, EMR_HEADER);
    put32(out, kEmfHeaderSize);
    putBounds(out, bounds_);
    const RECT frame = drawn_ ? RECT{toHundredthMm(bounds_.left), toHundredthMm(bounds_.top),
                                     toHundredthMm(bounds_.right + 1) - 1,
                                     toHundredthMm(bounds_.bottom + 1) - 1}
                              : RECT{0, 0, -1, -1};
    putBounds(out, frame);
    put32(out, kEmfSignature);
    put32(out, 0x10000);
    const std::size_t eofSize = 20;
    put32(out, static_cast<std::uint32_t>(kEmfHeaderSize + records_.size() + eofSize));
    put32(out, recordCount_ + 2);
    out.push_back(fontHandle_ == 0 ? 1 : 3); // handles: index 0 is reserved
    out.push_back(0);
    out.push_back(0); // reserved
    out.push_back(0);
    put32(out, 0); // description
    put32(out, 0);
    put32(out, 0); // palette entries
    puti(out, kEmfDeviceWidth);
    puti(out, kEmfDeviceHeight);
    puti(out, kEmfDeviceWidth * 254 / (kEmfDpi * 10));
    puti(out, kEmfDeviceHeight * 254 / (kEmfDpi * 10));
    put32(out, 0); // pixel format
    put32(out, 0);
    put32(out, 0); // no OpenGL
    puti(out, kEmfDeviceWidth * 25400 / kEmfDpi);
    puti(out, kEmfDeviceHeight * 25400 / kEmfDpi);
    out.insert(out.end(), records_.begin(), records_.end());
    put32(out, EMR_EOF);
    put32(out, eofSize);
    put32(out, 0);
    put32(out, 16);
    put32(out, eofSize);
    return out;
}

bool WriteFileReplacing(const std::string& path, const std::vector<std::uint8_t>& bytes,
                        std::string* error) {
    std::string tmp;
    auto fail = [&](int code) {
        if (error)
            *error = std::strerror(code);
        return false;
    };
    // The temporary carries the mode of the file it replaces.
    const int fd = iniCreateTemporary(path, tmp);
    if (fd < 0)
        return fail(errno);
    std::size_t done = 0;
    int code = 0;
    while (done < bytes.size()) {
        const ssize_t n = ::write(fd, bytes.data() + done, bytes.size() - done);
        if (n < 0 && errno == EINTR)
            continue;
        if (n <= 0) {
            code = n < 0 ? errno : EIO;
            break;
        }
        done += static_cast<std::size_t>(n);
    }
    if (code == 0 && ::fsync(fd) != 0)
        code = errno;
    if (::close(fd) != 0 && code == 0)
        code = errno;
    if (code == 0 && ::rename(tmp.c_str(), path.c_str()) != 0)
        code = errno;
    if (code != 0) {
        ::unlink(tmp.c_str());
        return fail(code);
    }
    return true;
}

} // namespace mv
