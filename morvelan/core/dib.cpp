#include "morvelan/core/dib.h"

#include "platform/regular_file.h"
#include "platform/win_path.h"

#include <cstdio>

namespace mv {
namespace {
DibMessageSink& dibSink() {
    static DibMessageSink sink;
    return sink;
}
} // namespace
void setDibMessageSink(DibMessageSink sink) { dibSink() = std::move(sink); }
} // namespace mv

namespace {

// Largest bitmap file read.
constexpr std::uint64_t kMaxDibFile = std::uint64_t{256} << 20;

void Report(const char* text, const std::string& file) {
    if (mv::dibSink())
        mv::dibSink()(text, file);
    else
        std::fprintf(stderr, "%s: %s\n", text, file.c_str());
}

void PutU16(std::vector<std::uint8_t>& out, std::uint32_t v) {
    out.push_back(static_cast<std::uint8_t>(v & 0xFF));
    out.push_back(static_cast<std::uint8_t>((v >> 8) & 0xFF));
}

void PutU32(std::vector<std::uint8_t>& out, std::uint32_t v) {
    PutU16(out, v & 0xFFFF);
    PutU16(out, v >> 16);
}

} // namespace

int CDib::Attach(std::vector<std::uint8_t> dib, std::size_t pixelOffset, const std::string& file,
                 const char* failure) {
    Empty();
    mv::DibLayout layout;
    if (!mv::ParseDib(dib.data(), dib.size(), pixelOffset, layout)) {
        Report(failure, file);
        return 0;
    }
    m_Dib = std::move(dib);
    m_Layout = layout;
    m_Pixels = mv::DecodeDib(m_Dib.data(), m_Layout);
    return 1;
}

namespace {

enum class FileCheck { Ok, Empty, NotBmp, BadOffset };

// Reads a BMP file whole and splits off its file header: `bytes` keeps the DIB, `pixelOffset`
// the place of the pixels in it.
FileCheck ReadBmpBytes(const std::string& path, std::vector<std::uint8_t>& bytes,
                       std::size_t& pixelOffset) {
    if (!mv::readRegularFile(mv::resolvePath(path), kMaxDibFile, bytes) || bytes.empty())
        return FileCheck::Empty;
    if (bytes.size() < 2 || bytes[0] != 'B' || bytes[1] != 'M')
        return FileCheck::NotBmp;
    if (bytes.size() < mv::kBmpFileHeaderSize)
        return FileCheck::BadOffset;
    const std::uint32_t offBits = static_cast<std::uint32_t>(bytes[10]) |
                                  (static_cast<std::uint32_t>(bytes[11]) << 8) |
                                  (static_cast<std::uint32_t>(bytes[12]) << 16) |
                                  (static_cast<std::uint32_t>(bytes[13]) << 24);
    if (offBits < mv::kBmpFileHeaderSize)
        return FileCheck::BadOffset;
    bytes.erase(bytes.begin(), bytes.begin() + mv::kBmpFileHeaderSize);
    pixelOffset = offBits - mv::kBmpFileHeaderSize;
    return FileCheck::Ok;
}

} // namespace

int CDib::ReadBitmapFile(const std::string& path, int /*share*/) {
    Empty();
    std::vector<std::uint8_t> bytes;
    std::size_t pixelOffset = 0;
    switch (ReadBmpBytes(path, bytes, pixelOffset)) {
    case FileCheck::Empty:
        Report(kDibEmptyFile, path);
        return 0;
    case FileCheck::NotBmp:
        Report(kDibInvalidFile, path);
        return 0;
    case FileCheck::BadOffset:
        Report(kDibAttachFailed, path);
        return 0;
    case FileCheck::Ok:
        break;
    }
    const int ok = Attach(std::move(bytes), pixelOffset, path, kDibAttachFailed);
    if (ok)
        m_HeaderAlloc = kBorrowed;
    return ok;
}

int CDib::AttachMemory(const std::uint8_t* dib, std::size_t size, int owns) {
    std::vector<std::uint8_t> copy;
    if (dib && size > 0)
        copy.assign(dib, dib + size);
    const int ok = Attach(std::move(copy), 0, {}, kDibAttachFailed);
    if (ok)
        m_HeaderAlloc = owns;
    return ok;
}

int CDib::Read(const std::string& path) {
    Empty();
    std::vector<std::uint8_t> bytes;
    std::size_t pixelOffset = 0;
    if (ReadBmpBytes(path, bytes, pixelOffset) != FileCheck::Ok) {
        Report(kDibReadError, path);
        return 0;
    }
    const int ok = Attach(std::move(bytes), pixelOffset, path, kDibReadError);
    if (ok)
        m_HeaderAlloc = kNew;
    return ok;
}

// Other header sizes become a 40-byte header with RGBQUAD colour entries.
void CDib::AppendInfoHeader(std::vector<std::uint8_t>& out) const {
    const std::uint32_t colors = m_Layout.colorCount;
    const bool bitfields = m_Layout.compression == mv::kBiBitfields;
    // Bit field masks stand between the header and the pixels.
    const std::uint32_t masks = bitfields ? 12 : 0;
    PutU32(out, 54 + 4 * colors + masks);
    PutU32(out, mv::kBmpInfoHeaderSize);
    PutU32(out, static_cast<std::uint32_t>(m_Layout.width));
    PutU32(out, static_cast<std::uint32_t>(m_Layout.height));
    PutU16(out, 1);
    PutU16(out, m_Layout.bitCount);
    PutU32(out, bitfields ? mv::kBiBitfields : mv::kBiRgb);
    PutU32(out, static_cast<std::uint32_t>(m_Layout.imageSize));
    PutU32(out, 0);
    PutU32(out, 0);
    PutU32(out, colors);
    PutU32(out, 0);
    if (bitfields) {
        for (std::uint32_t mask : m_Layout.masks)
            PutU32(out, mask);
    }
    for (std::uint32_t i = 0; i < colors; ++i) {
        const std::uint8_t* e = m_Dib.data() + m_Layout.colorOffset +
                                static_cast<std::size_t>(i) * m_Layout.colorEntrySize;
        out.push_back(e[0]);
        out.push_back(e[1]);
        out.push_back(e[2]);
        out.push_back(0);
    }
}

int CDib::Write(const std::string& path) const {
    if (m_Dib.empty()) {
        Report(kDibWriteError, path);
        return 0;
    }
    const std::uint32_t colors = m_Layout.colorCount;
    std::vector<std::uint8_t> out;
    out.reserve(54 + 4 * colors + 12 + m_Layout.imageSize);
    out.push_back('B');
    out.push_back('M');
    PutU32(out, 0); // bfSize
    PutU32(out, 0); // reserved words
    if (m_Layout.headerSize == mv::kBmpInfoHeaderSize) {
        // The 40-byte header, any bit field masks and the colour table as they stand.
        const std::size_t head = m_Layout.colorOffset + std::size_t{4} * colors;
        PutU32(out, static_cast<std::uint32_t>(mv::kBmpFileHeaderSize + head));
        out.insert(out.end(), m_Dib.begin(), m_Dib.begin() + static_cast<std::ptrdiff_t>(head));
    } else {
        AppendInfoHeader(out);
    }
    out.insert(out.end(), m_Dib.begin() + static_cast<std::ptrdiff_t>(m_Layout.pixelOffset),
               m_Dib.begin() + static_cast<std::ptrdiff_t>(m_Layout.pixelOffset + m_Layout.imageSize));
    std::FILE* f = std::fopen(path.c_str(), "wb");
    bool ok = f && std::fwrite(out.data(), 1, out.size(), f) == out.size();
    if (f && std::fclose(f) != 0)
        ok = false;
    if (!ok) {
        Report(kDibWriteError, path);
        return 0;
    }
    return 1;
}

int CDib::Serialize(const std::string& path, bool storing) {
    return storing ? Write(path) : Read(path);
}

mv::SIZE CDib::GetDimensions() const {
    if (m_Dib.empty())
        return mv::SIZE{0, 0};
    return mv::SIZE{m_Layout.width, m_Layout.height};
}

int CDib::UsePalette(mv::Canvas& /*dc*/, int /*background*/) const {
    return m_Dib.empty() ? 0 : static_cast<int>(m_Layout.colorCount);
}

int CDib::SetSystemPalette(mv::Canvas& /*dc*/) const {
    return !m_Dib.empty() && m_Layout.colorCount == 0 ? 1 : 0;
}

int CDib::Draw(mv::Canvas& dc, int x, int y, int width, int height) const {
    if (m_Dib.empty())
        return 0;
    dc.stretchImage(mv::RECT{x, y, x + width, y + height}, m_Pixels);
    return 1;
}

void CDib::Empty() {
    m_Dib.clear();
    m_Dib.shrink_to_fit();
    m_Layout = mv::DibLayout{};
    m_Pixels = mv::PixelImage{};
    m_HeaderAlloc = kBorrowed;
}
