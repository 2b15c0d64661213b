#include "morvelan/core/module.h"

#include "morvelan/core/app_hooks.h"
#include "catalogue/module_description.h"
#include "morvelan/core/param_number.h"
#include "platform/ini_file.h"

CModule::~CModule() = default;

std::uint16_t CModule::GetDataSize() const {
    return 0;
}

std::int8_t CModule::GetVersion() const {
    return -1;
}

std::string TileSection(int station, int position) {
    return mv::FormatC("M%dP%d", station, position);
}

int CModule::Configure(CModuleTile* /*tile*/) {
    return 0;
}

void CModule::LoadDescription(const std::string& /*path*/) {}

void CModule::SaveToProject(int /*station*/, int /*position*/, const std::string& /*file*/) {}

void CModule::LoadFromProject(int /*station*/, int /*position*/, const std::string& /*file*/) {}

void CModule::TakeParameterBlock(int /*unused*/, const std::uint8_t* /*bytes*/, int /*room*/,
                                 int& count) {
    count = 0;
}

void CModule::PutParameterBlock(std::uint8_t* /*buffer*/, int /*room*/, int& count) {
    count = 0;
}

int CModule::DrawLiveState(mv::Canvas& /*dc*/, int /*position*/) {
    return 0;
}

void CModule::TakeInputs(const std::uint8_t* /*bytes*/, int /*room*/, int& count) {
    count = 0;
}

int CModule::OpenOnline(const CModuleDescription* /*description*/, int /*station*/,
                        int /*position*/, int /*tileValue*/) {
    return 0;
}

void CModule::PutOutputs(std::uint8_t* /*buffer*/, int /*room*/, int& count) {
    count = 0;
}

int CModule::PrintLabel(mv::Canvas& /*dc*/, int /*unused*/, int& /*y*/,
                        const CModuleDescription& /*description*/, const LabelContext& /*label*/) {
    return 0;
}

void CModule::GetFirmwareTexts(std::string& /*fw*/, std::string& /*fd*/, std::string& /*fv*/) {}

void CModule::PrintListLine(mv::Canvas& /*dc*/, int /*x*/, int& /*y*/, int /*pageLimit*/,
                            const CModuleDescription& /*description*/) {}

int CModule::GetExtraListRows() const {
    return 0;
}

void CModule::DrawStatic(mv::Canvas& /*dc*/) {}

void CModule::DrawLiveValues(mv::Canvas& /*dc*/) {}

void CModule::NextOutputStep(const std::string& /*stepFile*/) {}

bool CModule::Serialize(int /*station*/, int /*position*/, int /*channelCount*/,
                        IModuleArchive& /*archive*/) {
    return true;
}

std::int32_t CModule::GetChannelMask(int /*channel*/) const {
    return -1;
}

void CModule::SetChannelMask(int /*channel*/, std::int32_t /*mask*/) {}

std::string DescriptionText(const std::string& path, int number, const std::string& missing,
                            std::size_t limit) {
    const std::string key = mv::FormatC("%d", number);
    // A marker no description text holds tells a missing key from an empty one.
    static const char kAbsent[] = "\x01<absent>\x01";
    std::string text =
        mv::iniReadString(path, moduleDescriptionContext().language, key, kAbsent, 200);
    if (text == kAbsent) {
        text = mv::iniReadString(path, "Default", key, kAbsent, 200);
    }
    if (text == kAbsent) {
        text = missing;
    }
    if (text.size() > limit) {
        text.resize(limit);
    }
    return text;
}
