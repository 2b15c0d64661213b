// The abstract module: what every board of a station (the controller included) answers, whatever
// its kind. A module tile owns one module object and reaches the board only through these
// operations.
#pragma once

#include <array>
#include <cstdint>
#include <string>

class CModuleDescription;
class CModuleTile;

namespace mv {
class Canvas;
}

// Module kinds of the description files (Typ).
enum ModuleKind : int {
    kKindController = 1,
    kKindChannel = 2,
    kKindFlag = 3,
    kKindParam = 4,
    kKindBitmap = 5,
    kKindFlagAlt = 6,
    kKindFlag2 = 7,
    kKindFlag3 = 8,
};

// Tile widths in pixels.
constexpr int kControllerWidth = 82;
constexpr int kBoardWidth = 41;
constexpr int kBitmapWidth = 656;

// The draw state the tile sets to make the next live drawing start with the static parts, and
// the state the module sets once it drew them.
constexpr int kDrawStateReset = 0;
constexpr int kDrawStateDrawn = 10;

// The project file section of the tile at a position of a station: "M<station>P<position>".
std::string TileSection(int station, int position);

// What a tile hands to a module's label printing besides the canvas and the y cursor.
struct LabelContext {
    int pageLimit = 0; // printable height of the page (0.1 mm)
    int direction = 1; // print direction: 1 turns rotated texts by 90, else by -90 degrees
    CModuleTile* tile = nullptr;
    std::array<std::string, 3> lines;   // the tile's label lines ETKL1 .. ETKL3
    std::array<std::string, 6> sliders; // the tile's slider label lines SCHIEBERL1 .. 6
};

// Reading side of the older binary project archive, as module data needs it. Each read gives
// false once the archive is exhausted or broken; the importer then stops.
class IModuleArchive {
public:
    virtual ~IModuleArchive() = default;
    virtual bool ReadString(std::string& text) = 0;
    virtual bool ReadU16(std::uint16_t& value) = 0;
    virtual bool ReadU32(std::uint32_t& value) = 0;
};

class CModule {
public:
    CModule() = default;
    virtual ~CModule();
    CModule(const CModule&) = delete;
    CModule& operator=(const CModule&) = delete;

    // Byte count of the module's share of the process image.
    virtual std::uint16_t GetDataSize() const;
    // Version from the module's parameter block; negative = none.
    virtual std::int8_t GetVersion() const;
    // The module's parameter dialog for the tile.
    virtual int Configure(CModuleTile* tile);
    // Reads the module's own sections of its description file (full path).
    virtual void LoadDescription(const std::string& path);
    virtual void SaveToProject(int station, int position, const std::string& projectFile);
    virtual void LoadFromProject(int station, int position, const std::string& projectFile);

    // The byte operations work on the caller's buffer with `room` bytes left at the running
    // position; they never read or write past it. `count` receives the module's byte count (the
    // running position of the caller advances by it, whatever was clipped).
    virtual void TakeParameterBlock(int unused, const std::uint8_t* bytes, int room, int& count);
    virtual void PutParameterBlock(std::uint8_t* buffer, int room, int& count);
    virtual int DrawLiveState(mv::Canvas& dc, int position);
    virtual void TakeInputs(const std::uint8_t* bytes, int room, int& count);
    virtual int OpenOnline(const CModuleDescription* description, int station, int position,
                           int tileValue);
    virtual void PutOutputs(std::uint8_t* buffer, int room, int& count);

    // Printing (0.1 mm, y up): the board's label, and its line in the project list.
    virtual int PrintLabel(mv::Canvas& dc, int unused, int& y,
                           const CModuleDescription& description, const LabelContext& label);
    virtual void GetFirmwareTexts(std::string& fw, std::string& fd, std::string& fv);
    virtual void PrintListLine(mv::Canvas& dc, int x, int& y, int pageLimit,
                               const CModuleDescription& description);
    // Rows below the first in the list view.
    virtual int GetExtraListRows() const;
    virtual void DrawStatic(mv::Canvas& dc);
    virtual void DrawLiveValues(mv::Canvas& dc);
    // Loads the next output step from a step file.
    virtual void NextOutputStep(const std::string& stepFile);
    // Module data of the older binary project format; false when the archive ran out.
    virtual bool Serialize(int station, int position, int channelCount, IModuleArchive& archive);
    virtual std::int32_t GetChannelMask(int channel) const;
    virtual void SetChannelMask(int channel, std::int32_t mask);

    int drawState = kDrawStateReset;
    int width = 0;
};

// Reads a text number of a description file: key "N" in the language's section, then in
// section "Default", else `missing`. At most `limit` characters are kept.
std::string DescriptionText(const std::string& path, int number, const std::string& missing,
                            std::size_t limit);
