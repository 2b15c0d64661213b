// The head of a station: master parameters grouped in controller channels (each read and
// written with its own function code), the fieldbus indicator, the controller's error texts and
// its three firmware texts. It owns no bytes in the process image.
#pragma once

#include "morvelan/core/description_problems.h"
#include "morvelan/core/module.h"
#include "morvelan/core/param_value.h"

#include <cstdint>
#include <string>
#include <vector>

// Longest error text and firmware text kept.
constexpr std::size_t kMaxErrorText = 199;
constexpr std::size_t kMaxFirmwareText = 19;
// Most controller channels, parameters per channel and error entries read from a description,
// far beyond any real controller; a count beyond is cut and told as one problem.
constexpr int kMaxControllerChannels = 256;
constexpr int kMaxControllerParams = 64;
constexpr int kMaxErrorEntries = 1024;
// Bitmap resource of the fieldbus indicator.
constexpr int kFieldbusBitmap = 166;
// Language text of a text parameter the controller's reply does not hold.
constexpr int kTextNotRead = 10014;

// One master parameter: its place in the channel's data and its value.
struct CControllerParam {
    std::string name;
    std::int16_t offset = 0; // byte position in the channel's data
    std::int16_t length = 0; // 1, 2, 4: integer of that many bytes; other: text of that length
    std::int16_t mode = 0;
    CParamValue value;
    std::int32_t minimum = 0;
    std::int32_t maximum = 0;

    bool IsInteger() const { return length == 1 || length == 2 || length == 4; }
};

// One controller channel: a group of master parameters read and written with one code.
struct CControllerChannel {
    std::string name;
    std::int16_t paramCount = 0;
    std::int16_t length = 0;
    std::int16_t code = 0;
    std::int16_t write = 0; // 1: written to the controller and stored in the project
    std::vector<CControllerParam> params;
};

struct CErrorText {
    std::int32_t code = 0;
    std::string text;
};

class CControllerModule : public CModule {
public:
    // Reads the firmware texts from the controller at once when the application is online.
    CControllerModule();
    ~CControllerModule() override;

    int Configure(CModuleTile* tile) override;
    void LoadDescription(const std::string& path) override;
    void SaveToProject(int station, int position, const std::string& projectFile) override;
    void LoadFromProject(int station, int position, const std::string& projectFile) override;
    int DrawLiveState(mv::Canvas& dc, int position) override;
    int OpenOnline(const CModuleDescription* description, int station, int position,
                   int tileValue) override;
    int PrintLabel(mv::Canvas& dc, int unused, int& y, const CModuleDescription& description,
                   const LabelContext& label) override;
    void GetFirmwareTexts(std::string& fw, std::string& fd, std::string& fv) override;
    void PrintListLine(mv::Canvas& dc, int x, int& y, int pageLimit,
                       const CModuleDescription& description) override;
    void DrawStatic(mv::Canvas& dc) override;
    bool Serialize(int station, int position, int channelCount, IModuleArchive& archive) override;

    // Sends every channel with write flag 1 to the controller; 0 at the first failure.
    int WriteMasterParameters(std::uint32_t link);
    // Reads every channel's master parameters from the controller.
    void ReadMasterParameters(std::uint32_t link);
    // Reads FW, FD and FV from the controller's module information; false (with a message) on
    // failure, the texts unchanged.
    bool ReadFirmwareTexts(std::uint32_t link);

    // The fieldbus state from the controller: 1 set, 0 clear, -1 when it cannot be read (no
    // usable fieldbus description, a failed read, or a reply too short).
    int ReadFieldbusState(std::uint32_t link);
    // True when the description names a fieldbus channel with a byte offset and a bit 0..7.
    bool HasFieldbus() const;

    int ChannelCount() const { return static_cast<int>(m_Channels.size()); }
    CControllerChannel& Channel(int index) {
        return m_Channels.at(static_cast<std::size_t>(index));
    }
    const std::vector<CErrorText>& ErrorTexts() const { return m_Errors; }
    // The text of an error code, empty when the description has none.
    std::string ErrorText(std::int32_t code) const;
    int FieldbusShownState() const { return m_FieldbusShown; }
    // 255: the next live drawing draws the indicator whatever it showed before.
    void SetFieldbusShownState(int state) { m_FieldbusShown = static_cast<std::int16_t>(state); }
    // Problems found in the description when it was loaded.
    const std::vector<std::string>& Warnings() const { return m_Problems.Lines(); }

    std::string m_FW = "XXX";
    std::string m_FD = "XXX";
    std::string m_FV = "XXX";

private:
    void Warn(std::string text);

    std::int16_t m_FieldbusChannel = -1;
    std::int16_t m_FieldbusOffset = -1;
    std::int16_t m_FieldbusBit = -1;
    std::int16_t m_FieldbusParams = 0;
    std::int16_t m_FieldbusLength = 0;
    std::int16_t m_FieldbusCode = 0;
    std::int16_t m_FieldbusShown = 0;
    std::vector<CControllerChannel> m_Channels;
    std::vector<CErrorText> m_Errors;
    mv::CDescriptionProblems m_Problems;
};
