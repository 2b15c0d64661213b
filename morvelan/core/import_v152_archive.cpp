#include "morvelan/core/import_v152_archive.h"

#include "morvelan/core/param_number.h"

CArchiveReader::CArchiveReader(std::vector<std::uint8_t> bytes) : m_Bytes(std::move(bytes)) {}

void CArchiveReader::Fail(const std::string& what) {
    if (!m_Failed) {
        m_Failed = true;
        m_Error = mv::FormatC("%s at byte %zu", what.c_str(), m_Pos);
    }
}

bool CArchiveReader::Take(std::size_t count, const char* what) {
    if (m_Failed)
        return false;
    if (count > Remaining()) {
        Fail(mv::FormatC("%s of %zu bytes runs past the end (%zu left)", what, count, Remaining()));
        return false;
    }
    return true;
}

bool CArchiveReader::ReadU8(std::uint8_t& value) {
    if (!Take(1, "byte"))
        return false;
    value = m_Bytes[m_Pos++];
    return true;
}

bool CArchiveReader::ReadU16(std::uint16_t& value) {
    if (!Take(2, "16-bit value"))
        return false;
    value = static_cast<std::uint16_t>(m_Bytes[m_Pos] | (m_Bytes[m_Pos + 1] << 8));
    m_Pos += 2;
    return true;
}

bool CArchiveReader::ReadU32(std::uint32_t& value) {
    if (!Take(4, "32-bit value"))
        return false;
    value = 0;
    for (int i = 3; i >= 0; --i)
        value = (value << 8) | m_Bytes[m_Pos + static_cast<std::size_t>(i)];
    m_Pos += 4;
    return true;
}

bool CArchiveReader::ReadString(std::string& text) {
    std::uint8_t shortLength = 0;
    if (!ReadU8(shortLength))
        return false;
    std::size_t length = shortLength;
    if (shortLength == 0xFF) {
        std::uint16_t mid = 0;
        if (!ReadU16(mid))
            return false;
        length = mid;
        if (mid == 0xFFFF) {
            std::uint32_t wide = 0;
            if (!ReadU32(wide))
                return false;
            length = wide;
        }
    }
    if (!Take(length, "string"))
        return false;
    text.assign(reinterpret_cast<const char*>(m_Bytes.data() + m_Pos), length);
    m_Pos += length;
    return true;
}
