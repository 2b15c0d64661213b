// A bounds-checked little-endian cursor over bytes read from an archive. An overrun sets a
// failure flag (and yields zeros) that the caller checks once after reading a record.
#pragma once

#include <cstddef>
#include <cstdint>
#include <string>
#include <vector>

namespace mv::zip {

class ByteReader {
public:
    ByteReader(const std::uint8_t* data, std::size_t size) : m_data(data), m_size(size) {}

    bool ok() const { return m_ok; }
    std::size_t offset() const { return m_pos; }
    std::size_t left() const { return m_size - m_pos; }

    std::uint16_t u16() {
        if (!take(2))
            return 0;
        const std::uint8_t* p = m_data + m_pos - 2;
        return static_cast<std::uint16_t>(p[0] | (p[1] << 8));
    }
    std::uint32_t u32() {
        if (!take(4))
            return 0;
        const std::uint8_t* p = m_data + m_pos - 4;
        return static_cast<std::uint32_t>(p[0]) | (static_cast<std::uint32_t>(p[1]) << 8) |
               (static_cast<std::uint32_t>(p[2]) << 16) | (static_cast<std::uint32_t>(p[3]) << 24);
    }
    std::string text(std::size_t n) {
        if (!take(n))
            return {};
        return std::string(reinterpret_cast<const char*>(m_data + m_pos - n), n);
    }
    std::vector<std::uint8_t> bytes(std::size_t n) {
        if (!take(n))
            return {};
        return std::vector<std::uint8_t>(m_data + m_pos - n, m_data + m_pos);
    }
    void skip(std::size_t n) { take(n); }

private:
    bool take(std::size_t n) {
        if (!m_ok || n > m_size - m_pos) {
            m_ok = false;
            return false;
        }
        m_pos += n;
        return true;
    }

    const std::uint8_t* m_data;
    std::size_t m_size;
    std::size_t m_pos = 0;
    bool m_ok = true;
};

} // namespace mv::zip
