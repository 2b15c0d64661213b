// The I/O board described channel by channel: the only kind that owns bytes in the controller's
// parameter block, input image and output image.
#pragma once

#include "morvelan/core/description_problems.h"
#include "morvelan/core/module.h"
#include "morvelan/core/param_record.h"
#include "morvelan/core/param_value.h"

#include <cstdint>
#include <string>
#include <vector>

// Channel display modes on the tile.
constexpr int kChannelModeLamps = 1; // eight bit lamps
constexpr int kChannelModeBar = 3;   // value bar

// Marker stored in a channel's shown value so that the next live drawing draws it again.
constexpr std::uint32_t kShownValueMarker = 0x23213521u;

// What one description is read for at most, far beyond any real board: channels, parameters
// of one channel, choices of one parameter and choices of the whole description. A count
// beyond is cut and told as one problem.
constexpr int kMaxChannels = 256;
constexpr int kMaxChannelParams = 64;
constexpr int kMaxParamChoices = 256;
constexpr int kMaxDescriptionChoices = 65536;

// One channel of a board.
struct CModulChannel {
    std::string name;
    std::int16_t paramCount = 0;
    std::int16_t mode = 0;
    std::uint16_t dataType = 0;
    std::vector<CModulParam> params;
    float offset = 0.0f;
    float scale = 0.0f;
    CParamValue value; // current value; its first bytes are the channel's process-image bytes
    CParamValue shown; // value last drawn in the list view
    std::string unit;
    std::int32_t mask = 0;

    // Bytes of the channel in the parameter block, the inputs and the outputs.
    int Size() const { return CParamValue::GetSize(dataType); }
};

// Reads at most `limit` lines of a pin list file (line ends removed); a missing file gives none.
std::vector<std::string> ReadPinList(const std::string& path, int limit);
// The pin list of a description: program directory, "Modul", the description file's name up to
// its first "." and ".pin".
std::string PinListPath(const CModuleDescription& description);
// Prints a board's label in the label strip (type name, the tile's three label lines, the pin
// list) when the page is wanted, then moves y down by one label; result 1.
int PrintBoardLabel(mv::Canvas& dc, int& y, const CModuleDescription& description,
                    const LabelContext& label);

class CChannelModule : public CModule {
public:
    CChannelModule();
    ~CChannelModule() override;

    std::uint16_t GetDataSize() const override;
    std::int8_t GetVersion() const override;
    int Configure(CModuleTile* tile) override;
    void LoadDescription(const std::string& path) override;
    void SaveToProject(int station, int position, const std::string& projectFile) override;
    void LoadFromProject(int station, int position, const std::string& projectFile) override;
    void TakeParameterBlock(int unused, const std::uint8_t* bytes, int room, int& count) override;
    void PutParameterBlock(std::uint8_t* buffer, int room, int& count) override;
    int DrawLiveState(mv::Canvas& dc, int position) override;
    void TakeInputs(const std::uint8_t* bytes, int room, int& count) override;
    int OpenOnline(const CModuleDescription* description, int station, int position,
                   int tileValue) override;
    void PutOutputs(std::uint8_t* buffer, int room, int& count) override;
    int PrintLabel(mv::Canvas& dc, int unused, int& y, const CModuleDescription& description,
                   const LabelContext& label) override;
    void PrintListLine(mv::Canvas& dc, int x, int& y, int pageLimit,
                       const CModuleDescription& description) override;
    int GetExtraListRows() const override;
    void DrawStatic(mv::Canvas& dc) override;
    void DrawLiveValues(mv::Canvas& dc) override;
    void NextOutputStep(const std::string& stepFile) override;
    bool Serialize(int station, int position, int channelCount, IModuleArchive& archive) override;
    std::int32_t GetChannelMask(int channel) const override;
    void SetChannelMask(int channel, std::int32_t mask) override;

    int ChannelCount() const { return static_cast<int>(m_Channels.size()); }
    CModulChannel& Channel(int index) { return m_Channels.at(static_cast<std::size_t>(index)); }
    const CModulChannel& Channel(int index) const {
        return m_Channels.at(static_cast<std::size_t>(index));
    }
    int Step() const { return m_Step; }
    // The text of the live value of channel `index` in the list view, by the display flags.
    std::string LiveValueText(int index) const;
    // Problems found in the description when it was loaded.
    const std::vector<std::string>& Warnings() const { return m_Problems.Lines(); }

private:
    void Warn(std::string text);
    void ReadParams(const std::string& path, int channel, CModulChannel& record,
                    int& choicesLeft);
    void ReadChoices(const std::string& path, int channel, int param, CModulParam& record,
                     int& choicesLeft);

    std::vector<CModulChannel> m_Channels;
    std::uint8_t m_Version = 255;
    int m_Step = 0;
    std::string m_ShownState; // text of the first channel last drawn on the tile
    mv::CDescriptionProblems m_Problems;
};
