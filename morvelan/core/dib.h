// CDib: a device-independent bitmap as label printing and the preview draw it. The file is read
// whole into memory (never mapped) and every header field is checked against the bytes present
// by the platform's BMP reader. Failures are reported through a message sink with the fixed
// German texts and give the result 0.
#pragma once

#include "platform/bmp_reader.h"
#include "platform/canvas.h"

#include <cstdint>
#include <functional>
#include <string>
#include <vector>

// The messages of CDib.
inline constexpr const char* kDibEmptyFile = "Leere Bitmap-Datei";
inline constexpr const char* kDibInvalidFile = "Ung\xFC" "ltige Bitmap-Datei";
inline constexpr const char* kDibAttachFailed = "Fehler in AttachMemory";
inline constexpr const char* kDibReadError = "Lesefehler";
inline constexpr const char* kDibWriteError = "Fehler beim Schreiben";

namespace mv {
// Where CDib's messages go: the text and the file it is about (empty for memory). The program
// installs its message box; by default the text goes to standard error.
using DibMessageSink = std::function<void(const std::string& text, const std::string& file)>;
void setDibMessageSink(DibMessageSink sink);
} // namespace mv

class CDib {
public:
    // How the header memory was obtained.
    enum Alloc { kBorrowed = 0, kNew = 1, kGlobal = 2 };

    CDib() = default;

    // Reads a BMP file ("BM", then a packed DIB). The share flag is accepted for the callers'
    // sake; the file is read whole either way. 1 on success.
    int ReadBitmapFile(const std::string& path, int share = 1);
    // Attaches a packed DIB (bitmap header, colour table, pixels). The bytes are copied; `owns`
    // is kept as how the memory was obtained. 1 on success, else "Fehler in AttachMemory".
    int AttachMemory(const std::uint8_t* dib, std::size_t size, int owns = kNew);
    // Reads and writes a BMP file. Write stores bfSize 0 and no reserved words; a 40-byte
    // header and its colour table are written as they were read.
    int Read(const std::string& path);
    int Write(const std::string& path) const;
    // Reads when loading, writes when storing.
    int Serialize(const std::string& path, bool storing);

    // (biWidth, biHeight) as stored, or (0, 0) when empty.
    mv::SIZE GetDimensions() const;
    // The entries a palette of the colour table would realise; 0 without colour table.
    int UsePalette(mv::Canvas& dc, int background = 0) const;
    // 1 when a halftone palette would be made (the image has no colour table).
    int SetSystemPalette(mv::Canvas& dc) const;
    // Stretches the whole image to the rectangle, unsmoothed. 0 when empty.
    int Draw(mv::Canvas& dc, int x, int y, int width, int height) const;
    void Empty();

    bool IsEmpty() const { return m_Dib.empty(); }
    const mv::DibLayout& Layout() const { return m_Layout; }
    // The decoded pixels (empty image when empty).
    const mv::PixelImage& Pixels() const { return m_Pixels; }
    int ColorEntries() const { return static_cast<int>(m_Layout.colorCount); }
    std::uint64_t ImageSize() const { return m_Layout.imageSize; }
    int HeaderAlloc() const { return m_HeaderAlloc; }

private:
    void AppendInfoHeader(std::vector<std::uint8_t>& out) const;
    int Attach(std::vector<std::uint8_t> dib, std::size_t pixelOffset, const std::string& file,
               const char* failure);

    std::vector<std::uint8_t> m_Dib; // header, colour table, pixels
    mv::DibLayout m_Layout;
    mv::PixelImage m_Pixels;
    int m_HeaderAlloc = kBorrowed;
};
