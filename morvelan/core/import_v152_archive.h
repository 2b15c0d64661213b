// A bounds-checked reader of the older binary project archives: little-endian integers and
// counted strings (a length byte below 255; else 255 and a 16-bit length; a 16-bit 65535 is
// followed by a 32-bit length). Every length is checked against the bytes left; the first
// overrun sets the failure, which every later read keeps.
#pragma once

#include "morvelan/core/module.h"

#include <cstddef>
#include <cstdint>
#include <string>
#include <vector>

class CArchiveReader final : public IModuleArchive {
public:
    explicit CArchiveReader(std::vector<std::uint8_t> bytes);

    bool ReadU8(std::uint8_t& value);
    bool ReadU16(std::uint16_t& value) override;
    bool ReadU32(std::uint32_t& value) override;
    bool ReadString(std::string& text) override;

    // Bytes not yet read.
    std::size_t Remaining() const { return m_Bytes.size() - m_Pos; }
    // False once a read ran past the end.
    bool Ok() const { return !m_Failed; }
    // What went wrong first, with the offset where it happened.
    const std::string& Error() const { return m_Error; }
    // Marks the archive as damaged (for checks made by the caller, such as counts that cannot
    // fit into the bytes left).
    void Fail(const std::string& what);

private:
    bool Take(std::size_t count, const char* what);

    std::vector<std::uint8_t> m_Bytes;
    std::size_t m_Pos = 0;
    bool m_Failed = false;
    std::string m_Error;
};
