#include "morvelan/core/channel_module.h"

#include "morvelan/core/app_hooks.h"
#include "morvelan/core/app_profile.h"
#include "morvelan/core/bit_string.h"
#include "morvelan/core/param_number.h"
#include "platform/ini_file.h"

#include <algorithm>

namespace {

// The text a missing required key reads as.
constexpr const char* kMissing = "NIX";
constexpr std::uint32_t kTextBuffer = 200;

std::string ReadText(const std::string& path, const std::string& section, const char* key,
                     const char* def) {
    return mv::iniReadString(path, section, key, def, kTextBuffer);
}

std::int16_t ReadInt16(const std::string& path, const std::string& section, const char* key) {
    return static_cast<std::int16_t>(mv::iniReadInt(path, section, key, 0));
}

// Little-endian bytes of a parameter value.
void ValueBytes(std::int32_t value, std::uint8_t out[4]) {
    const auto v = static_cast<std::uint32_t>(value);
    for (int i = 0; i < 4; ++i) {
        out[i] = static_cast<std::uint8_t>(v >> (8 * i));
    }
}

// Bytes the caller's buffer still holds at offset `pos` (never negative).
int RoomAt(int room, int pos) {
    return std::max(0, room - pos);
}

} // namespace

CChannelModule::CChannelModule() {
    width = kBoardWidth;
}

CChannelModule::~CChannelModule() = default;

void CChannelModule::Warn(std::string text) {
    m_Problems.Add(std::move(text));
}

std::uint16_t CChannelModule::GetDataSize() const {
    int total = 0;
    for (const auto& ch : m_Channels) {
        total += ch.Size();
    }
    return static_cast<std::uint16_t>(total);
}

std::int8_t CChannelModule::GetVersion() const {
    return static_cast<std::int8_t>(m_Version);
}

int CChannelModule::Configure(CModuleTile* tile) {
    return mv::appHooks().ConfigureModule(tile, this);
}

void CChannelModule::LoadDescription(const std::string& path) {
    // Every key below is read from the same file: check it against the disk once.
    mv::IniReadScope readScope;
    m_Channels.clear();
    m_Problems.Clear();
    int n = mv::iniReadInt(path, "MORVELAN", "Channel", 0);
    if (n < 0 || n > kMaxChannels) {
        Warn(mv::FormatC("channel count %d outside 0..%d", n, kMaxChannels));
        n = std::clamp(n, 0, kMaxChannels);
    }
    m_Channels.resize(static_cast<std::size_t>(n));

    int choicesLeft = kMaxDescriptionChoices;
    for (int k = 1; k <= n; ++k) {
        const std::string section = mv::FormatC("K%d", k);
        CModulChannel& ch = m_Channels[static_cast<std::size_t>(k - 1)];
        ch.name =
            DescriptionText(path, mv::iniReadInt(path, section, "Name", 0), "", kMaxParamName);
        // The channel table ends at the first channel without scale or offset: that channel
        // keeps its name, it and every later one keep zero values otherwise.
        const std::string scale = ReadText(path, section, "Skale", kMissing);
        const std::string offset =
            scale == kMissing || scale.empty() ? "" : ReadText(path, section, "Offset", kMissing);
        if (offset == kMissing || offset.empty()) {
            break;
        }
        ch.scale = static_cast<float>(mv::ParseDoubleC(scale));
        ch.offset = static_cast<float>(mv::ParseDoubleC(offset));
        const std::string mask = ReadText(path, section, "Mask", kMissing);
        ch.mask = (mask == kMissing || mask.empty())
                      ? -1
                      : static_cast<std::int32_t>(mv::ParseLongC(mask));
        ch.unit = ReadText(path, section, "Unit", "").substr(0, kMaxParamName);
        ch.mode = ReadInt16(path, section, "Mode");
        ch.dataType = static_cast<std::uint16_t>(mv::iniReadInt(path, section, "Datatype", 0));
        ch.paramCount = ReadInt16(path, section, "Parameter");
        if (ch.dataType < kTypeBool || ch.dataType > kTypeText) {
            Warn(mv::FormatC("channel %d has the unknown data type %d (%d bytes, at most %d of "
                             "them are copied)",
                             k, ch.dataType, ch.Size(),
                             static_cast<int>(CParamValue::kStorageBytes)));
        }
        if (ch.paramCount >= 1) {
            ReadParams(path, k, ch, choicesLeft);
        }
    }
    m_Problems.Report(path);
}

void CChannelModule::ReadParams(const std::string& path, int k, CModulChannel& ch,
                                int& choicesLeft) {
    int count = ch.paramCount;
    if (count > kMaxChannelParams) {
        Warn(mv::FormatC("channel %d declares %d parameters, %d are read", k, count,
                         kMaxChannelParams));
        count = kMaxChannelParams;
        ch.paramCount = static_cast<std::int16_t>(count);
    }
    const long channelBits = 8L * ch.Size();
    ch.params.clear();
    // Every declared record is read; a parameter or choice without its section gets the
    // defaults of its keys.
    for (int m = 1; m <= count; ++m) {
        const std::string section = mv::FormatC("K%dP%d", k, m);
        CModulParam& p = ch.params.emplace_back();
        p.name = DescriptionText(path, mv::iniReadInt(path, section, "Name", 0), kMissing,
                                 kMaxParamName);
        p.kind = ReadInt16(path, section, "IP");
        p.type = ReadInt16(path, section, "Type");
        p.bit = ReadInt16(path, section, "Bit");
        p.bitCount = ReadInt16(path, section, "BitCount");
        p.choiceCount = ReadInt16(path, section, "Select");
        p.minimum = static_cast<float>(mv::ParseDoubleC(ReadText(path, section, "Min", "0")));
        p.maximum = static_cast<float>(mv::ParseDoubleC(ReadText(path, section, "Max", "0")));
        p.value = mv::iniReadInt(path, section, "Default", 0);

        // Keep every parameter inside its channel's share and inside 32 bits.
        int bits = p.bitCount;
        if (bits > 32) {
            Warn(mv::FormatC("parameter K%dP%d has %d bits, 32 are used", k, m, bits));
            bits = 32;
        }
        if (p.bit < 0 || bits < 0) {
            Warn(mv::FormatC("parameter K%dP%d has a negative bit position or count", k, m));
            bits = 0;
        } else if (p.bit + bits > channelBits) {
            const int fit = static_cast<int>(std::max(0L, channelBits - p.bit));
            Warn(mv::FormatC("parameter K%dP%d (bit %d, %d bits) runs past its channel of %ld "
                             "bits; %d bits are used",
                             k, m, p.bit, bits, channelBits, fit));
            bits = fit;
        }
        p.bitCount = static_cast<std::int16_t>(bits);
        ReadChoices(path, k, m, p, choicesLeft);
    }
}

void CChannelModule::ReadChoices(const std::string& path, int k, int m, CModulParam& p,
                                 int& choicesLeft) {
    int choices = std::max<int>(p.choiceCount, 0);
    if (choices > kMaxParamChoices) {
        Warn(mv::FormatC("parameter K%dP%d declares %d choices, %d are read", k, m, choices,
                         kMaxParamChoices));
        choices = kMaxParamChoices;
    }
    if (choices > choicesLeft) {
        // Told once, at the parameter where the description's budget runs out; the later
        // parameters get no choices.
        if (choicesLeft >= 0) {
            Warn(mv::FormatC("more than %d choices in the description; those from parameter "
                             "K%dP%d on are not read",
                             kMaxDescriptionChoices, k, m));
        }
        choices = std::max(choicesLeft, 0);
        choicesLeft = -1;
    } else {
        choicesLeft -= choices;
    }
    p.choiceCount = static_cast<std::int16_t>(choices);
    for (int s = 1; s <= choices; ++s) {
        const std::string section = mv::FormatC("K%dP%dS%d", k, m, s);
        CParamChoice& choice = p.choices.emplace_back();
        choice.name = DescriptionText(path, mv::iniReadInt(path, section, "Text", 0), kMissing,
                                      kMaxParamName);
        choice.value = mv::iniReadInt(path, section, "Value", 0);
    }
}

void CChannelModule::SaveToProject(int station, int position, const std::string& file) {
    mv::IniBatch batch;
    // A failed save of the whole file is reported for the first section written.
    const std::string first = mv::FormatC("M%dP%dK0", station, position);
    for (std::size_t k = 0; k < m_Channels.size(); ++k) {
        const CModulChannel& ch = m_Channels[k];
        const std::string section =
            mv::FormatC("M%dP%dK%d", station, position, static_cast<int>(k));
        WriteProfileText(section, mv::FormatC("M%d", static_cast<int>(k)),
                         mv::FormatC("%ld", static_cast<long>(ch.mask)), file);
        for (std::size_t i = 0; i < ch.params.size(); ++i) {
            WriteProfileText(section, mv::FormatC("P%d", static_cast<int>(i)),
                             mv::FormatC("%ld", static_cast<long>(ch.params[i].value)), file);
        }
    }
    if (!batch.commit()) {
        ShowLastError("SAVE " + first);
    }
}

void CChannelModule::LoadFromProject(int station, int position, const std::string& file) {
    for (std::size_t k = 0; k < m_Channels.size(); ++k) {
        CModulChannel& ch = m_Channels[k];
        const std::string section =
            mv::FormatC("M%dP%dK%d", station, position, static_cast<int>(k));
        ch.mask = mv::iniReadInt(file, section, mv::FormatC("M%d", static_cast<int>(k)), -1);
        for (std::size_t i = 0; i < ch.params.size(); ++i) {
            ch.params[i].value =
                mv::iniReadInt(file, section, mv::FormatC("P%d", static_cast<int>(i)), 0);
        }
    }
}

void CChannelModule::PutParameterBlock(std::uint8_t* buffer, int room, int& count) {
    int pos = 0;
    CBitString bits;
    for (const CModulChannel& ch : m_Channels) {
        const int size = ch.Size();
        if (size > 0) {
            bits.SetSize(size * 8);
            for (const CModulParam& p : ch.params) {
                std::uint8_t value[4];
                ValueBytes(p.value, value);
                bits.SetBits(p.bit, p.bitCount, value);
            }
            const int fit = std::min(size, RoomAt(room, pos));
            for (int j = 0; j < fit; ++j) {
                buffer[pos + j] = bits.GetByte(j);
            }
            // The first byte of every channel's share carries bit 0 set.
            if (fit > 0) {
                buffer[pos] = static_cast<std::uint8_t>(buffer[pos] | 1u);
            }
        }
        pos += size;
    }
    count = pos;
}

void CChannelModule::TakeParameterBlock(int /*unused*/, const std::uint8_t* bytes, int room,
                                        int& count) {
    if (room > 0) {
        m_Version = static_cast<std::uint8_t>(bytes[0] & 0x0F);
    }
    int pos = 0;
    CBitString bits;
    std::vector<std::uint8_t> share;
    for (CModulChannel& ch : m_Channels) {
        const int size = ch.Size();
        if (size > 0) {
            // Bytes the reply does not hold read as 0.
            share.assign(static_cast<std::size_t>(size), 0);
            const int fit = std::min(size, RoomAt(room, pos));
            if (fit > 0) {
                std::copy(bytes + pos, bytes + pos + fit, share.begin());
            }
            bits.SetSize(size * 8);
            bits.SetBits(0, size * 8, share.data());
            for (CModulParam& p : ch.params) {
                p.value = static_cast<std::int32_t>(bits.GetBits(p.bit, p.bitCount));
            }
        }
        pos += size;
    }
    count = pos;
}

void CChannelModule::TakeInputs(const std::uint8_t* bytes, int room, int& count) {
    int pos = 0;
    for (CModulChannel& ch : m_Channels) {
        const int size = ch.Size();
        const int fit = std::min(size, RoomAt(room, pos));
        if (fit > 0) {
            ch.value.CopyFrom(bytes + pos, static_cast<std::size_t>(fit));
        }
        pos += size;
    }
    count = pos;
}

void CChannelModule::PutOutputs(std::uint8_t* buffer, int room, int& count) {
    int pos = 0;
    for (const CModulChannel& ch : m_Channels) {
        const int size = ch.Size();
        const int fit = std::min(size, RoomAt(room, pos));
        if (fit > 0) {
            ch.value.CopyTo(buffer + pos, static_cast<std::size_t>(fit));
        }
        pos += size;
    }
    count = pos;
}

int CChannelModule::OpenOnline(const CModuleDescription* description, int station, int position,
                               int tileValue) {
    mv::IAppHooks& hooks = mv::appHooks();
    hooks.ClearLiveCaches();
    return hooks.OpenOnlineModule(description, station, position, tileValue, this);
}

int CChannelModule::GetExtraListRows() const {
    return ChannelCount() - 1;
}

void CChannelModule::NextOutputStep(const std::string& stepFile) {
    const int steps = mv::iniReadInt(stepFile, "OUT", "Steps", 0);
    if (steps <= 0) {
        return;
    }
    const std::string key = mv::FormatC("%d", m_Step);
    for (std::size_t k = 0; k < m_Channels.size(); ++k) {
        CModulChannel& ch = m_Channels[k];
        const int v = mv::iniReadInt(stepFile, mv::FormatC("K%d", static_cast<int>(k + 1)), key, 0);
        ch.value.FromText(mv::FormatC("%d", v), ch.dataType);
    }
    if (++m_Step >= steps) {
        m_Step = 0;
    }
}

bool CChannelModule::Serialize(int /*station*/, int /*position*/, int channelCount,
                               IModuleArchive& archive) {
    std::string text;
    std::uint16_t u16 = 0;
    std::uint32_t u32 = 0;
    for (int i = 0; i < channelCount; ++i) {
        std::uint16_t params = 0;
        if (!archive.ReadString(text) || !archive.ReadU16(params) || !archive.ReadU16(u16) ||
            !archive.ReadU16(u16) || !archive.ReadU32(u32) || !archive.ReadU32(u32)) {
            return false;
        }
        for (int j = 0; j < params; ++j) {
            std::uint16_t choices = 0;
            std::uint32_t value = 0;
            if (!archive.ReadString(text) || !archive.ReadU16(u16) || !archive.ReadU16(u16) ||
                !archive.ReadU16(u16) || !archive.ReadU16(choices) || !archive.ReadU32(u32) ||
                !archive.ReadU32(u32) || !archive.ReadU32(value)) {
                return false;
            }
            for (int c = 0; c < choices; ++c) {
                if (!archive.ReadString(text) || !archive.ReadU32(u32)) {
                    return false;
                }
            }
            // Values beyond the description's channels and parameters are dropped.
            if (i < ChannelCount()) {
                auto& list = m_Channels[static_cast<std::size_t>(i)].params;
                if (j < static_cast<int>(list.size())) {
                    list[static_cast<std::size_t>(j)].value = static_cast<std::int32_t>(value);
                }
            }
        }
    }
    return true;
}

std::int32_t CChannelModule::GetChannelMask(int channel) const {
    if (channel < 0 || channel >= ChannelCount()) {
        return -1;
    }
    return m_Channels[static_cast<std::size_t>(channel)].mask;
}

void CChannelModule::SetChannelMask(int channel, std::int32_t mask) {
    if (channel >= 0 && channel < ChannelCount()) {
        m_Channels[static_cast<std::size_t>(channel)].mask = mask;
    }
}
