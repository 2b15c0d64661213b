// A station: one head (controller or picture-only head) with the boards plugged to its right,
// and the byte layouts its modules are strung together in for the controller.
#pragma once

#include "morvelan/core/module_tile.h"

#include <cstdint>
#include <memory>
#include <string>
#include <vector>

// Bytes of one parameter frame: the parameter buffer of a station never grows beyond them.
constexpr int kParameterBufferBytes = 255;
// Bytes of the module table head and of one entry.
constexpr int kModuleTableHead = 4;
constexpr int kModuleTableEntry = 6;

class CStation {
public:
    CStation() = default;
    virtual ~CStation();
    CStation(const CStation&) = delete;
    CStation& operator=(const CStation&) = delete;

    int TileCount() const { return static_cast<int>(m_Tiles.size()); }
    // The tile at an index, or null when out of range.
    CModuleTile* Tile(int index) const;
    // Appends a tile (owned from now on) and returns it.
    CModuleTile* Append(std::unique_ptr<CModuleTile> tile);
    // Inserts a tile at an index (clamped to 0 .. count).
    CModuleTile* Insert(int index, std::unique_ptr<CModuleTile> tile);
    // Takes the tile at an index out of the station (null when out of range).
    std::unique_ptr<CModuleTile> Take(int index);
    // Index of a tile, or -1.
    int IndexOf(const CModuleTile* tile) const;

    // Writes section "M<number>" and then every tile's section into a project file. A value
    // that cannot be written is reported and the writing goes on; 0 when there was one.
    int Write(int number, const std::string& projectFile) const;

    // The parameter buffer: every module's parameter block in tile order, the head first.
    // Modules whose place lies beyond `size` get no room. Returns the bytes used (at most size).
    int GatherParameters(std::uint8_t* buffer, int size) const;
    // The module table of the boards (the head and boards of ID 0 left out): 16-bit total, count,
    // then per entry ID, size and offset, little-endian. A station with fewer than 2 tiles
    // writes nothing and gives length 0. Entries that do not fit into `size` are left out; the
    // result is 1 when every entry fitted, else 0.
    int BuildModuleTable(std::uint8_t* buffer, int size, int& length) const;
    // Shares an input image out among the modules in tile order; modules past its end keep their
    // values.
    void DistributeInputs(const std::uint8_t* bytes, int size);

    std::string m_Name;
    std::string m_Comment;

private:
    std::vector<std::unique_ptr<CModuleTile>> m_Tiles;
};
