#include "morvelan/core/station.h"

#include "morvelan/core/app_profile.h"

#include <algorithm>

namespace {

void PutU16(std::uint8_t* at, int value) {
    at[0] = static_cast<std::uint8_t>(value & 0xFF);
    at[1] = static_cast<std::uint8_t>((value >> 8) & 0xFF);
}

} // namespace

CStation::~CStation() = default;

CModuleTile* CStation::Tile(int index) const {
    if (index < 0 || index >= TileCount())
        return nullptr;
    return m_Tiles[static_cast<std::size_t>(index)].get();
}

CModuleTile* CStation::Append(std::unique_ptr<CModuleTile> tile) {
    m_Tiles.push_back(std::move(tile));
    return m_Tiles.back().get();
}

CModuleTile* CStation::Insert(int index, std::unique_ptr<CModuleTile> tile) {
    index = std::clamp(index, 0, TileCount());
    CModuleTile* raw = tile.get();
    m_Tiles.insert(m_Tiles.begin() + index, std::move(tile));
    return raw;
}

std::unique_ptr<CModuleTile> CStation::Take(int index) {
    if (index < 0 || index >= TileCount())
        return nullptr;
    std::unique_ptr<CModuleTile> tile = std::move(m_Tiles[static_cast<std::size_t>(index)]);
    m_Tiles.erase(m_Tiles.begin() + index);
    return tile;
}

int CStation::IndexOf(const CModuleTile* tile) const {
    for (std::size_t i = 0; i < m_Tiles.size(); ++i) {
        if (m_Tiles[i].get() == tile)
            return static_cast<int>(i);
    }
    return -1;
}

int CStation::Write(int number, const std::string& projectFile) const {
    const std::string section = "M" + std::to_string(number);
    int all = 1;
    all &= WriteProfileText(section, "Name", m_Name, projectFile);
    all &= WriteProfileText(section, "Comment", m_Comment, projectFile);
    all &= WriteProfileNumber(section, "Prints", TileCount(), projectFile);
    for (int j = 0; j < TileCount(); ++j)
        all &= m_Tiles[static_cast<std::size_t>(j)]->SaveLabels(number, j, projectFile);
    return all;
}

int CStation::GatherParameters(std::uint8_t* buffer, int size) const {
    int total = 0;
    for (const auto& tile : m_Tiles) {
        const int room = std::max(0, size - total);
        int count = 0;
        tile->Module().PutParameterBlock(buffer + std::min(total, size), room, count);
        total += std::max(0, count);
    }
    return std::min(total, size);
}

int CStation::BuildModuleTable(std::uint8_t* buffer, int size, int& length) const {
    length = 0;
    if (TileCount() < 2)
        return 1;
    if (size < kModuleTableHead)
        return 0;
    length = kModuleTableHead;
    int count = 0;
    int offset = 0;
    int complete = 1;
    for (std::size_t i = 1; i < m_Tiles.size(); ++i) {
        std::uint16_t id = 0;
        std::uint16_t dataSize = 0;
        m_Tiles[i]->GetInfo(id, dataSize);
        if (id == 0)
            continue;
        if (length + kModuleTableEntry > size) {
            complete = 0;
            break;
        }
        std::uint8_t* entry = buffer + length;
        PutU16(entry, id);
        PutU16(entry + 2, dataSize);
        PutU16(entry + 4, offset);
        offset += dataSize;
        length += kModuleTableEntry;
        ++count;
    }
    PutU16(buffer, offset);
    PutU16(buffer + 2, count);
    return complete;
}

void CStation::DistributeInputs(const std::uint8_t* bytes, int size) {
    int pos = 0;
    for (auto& tile : m_Tiles) {
        const int room = std::max(0, size - pos);
        int count = 0;
        tile->Module().TakeInputs(bytes + std::min(pos, size), room, count);
        pos += std::max(0, count);
    }
}
