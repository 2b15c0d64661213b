#include "morvelan/core/controller_module.h"

#include "morvelan/core/app_hooks.h"
#include "morvelan/core/app_profile.h"
#include "morvelan/core/connection.h"
#include "morvelan/core/param_number.h"
#include "platform/ini_file.h"
#include "portwire/include/Portwire.h"

#include <algorithm>
#include <cstring>

namespace {

// Replies of the module protocol never exceed this many bytes.
constexpr std::size_t kReplyBuffer = 256;
// The module information record as the firmware texts are taken from it.
constexpr std::size_t kModulInfoBytes = 252;
// Texts of a master parameter longer than this are read up to their zero byte.
constexpr int kWholeTextFrom = 98;

// A marker no description value holds, to tell a missing key from an empty one.
constexpr const char* kAbsent = "\x01<absent>\x01";

std::int16_t ReadInt16(const std::string& path, const std::string& section, const char* key,
                       int def = 0) {
    return static_cast<std::int16_t>(mv::iniReadInt(path, section, key, def));
}

// The text at `from` up to a zero byte or `end`, whichever comes first.
std::string TextAt(const std::uint8_t* from, const std::uint8_t* end) {
    const auto* zero = static_cast<const std::uint8_t*>(
        std::memchr(from, 0, static_cast<std::size_t>(end - from)));
    return std::string(reinterpret_cast<const char*>(from),
                       reinterpret_cast<const char*>(zero ? zero : end));
}

} // namespace

CControllerModule::CControllerModule() {
    width = kControllerWidth;
    mv::IAppHooks& hooks = mv::appHooks();
    if (hooks.IsOnline()) {
        ReadFirmwareTexts(hooks.LinkHandle());
    }
}

CControllerModule::~CControllerModule() = default;

void CControllerModule::Warn(std::string text) {
    m_Problems.Add(std::move(text));
}

int CControllerModule::Configure(CModuleTile* tile) {
    return mv::appHooks().ConfigureController(tile, this);
}

bool CControllerModule::ReadFirmwareTexts(std::uint32_t link) {
    std::uint8_t info[kReplyBuffer];
    std::memset(info, 0xFF, sizeof info);
    if (A_ReadModulInfo(link, info) != 1) {
        mv::appHooks().ShowMessage(mv::ErrorMessage(mv::LanguageText(5004) + " : " +
                                                    GetPortwireErrorText(A_GetLastError())));
        return false;
    }
    // Three consecutive zero-terminated texts, none running past the record.
    std::size_t at = 0;
    std::string* texts[] = {&m_FW, &m_FD, &m_FV};
    for (std::string* text : texts) {
        *text = at < kModulInfoBytes ? TextAt(info + at, info + kModulInfoBytes) : std::string();
        at += text->size() + 1;
    }
    return true;
}

void CControllerModule::LoadDescription(const std::string& path) {
    // Every key below is read from the same file: check it against the disk once.
    mv::IniReadScope readScope;
    m_Channels.clear();
    m_Errors.clear();
    m_Problems.Clear();
    int n = mv::iniReadInt(path, "MORVELAN", "Channel", 0);
    if (n < 0 || n > kMaxControllerChannels) {
        Warn(mv::FormatC("channel count %d outside 0..%d", n, kMaxControllerChannels));
        n = std::clamp(n, 0, kMaxControllerChannels);
    }
    m_Channels.resize(static_cast<std::size_t>(n));
    for (int k = 1; k <= n; ++k) {
        const std::string section = mv::FormatC("K%d", k);
        CControllerChannel& ch = m_Channels[static_cast<std::size_t>(k - 1)];
        ch.name = DescriptionText(path, mv::iniReadInt(path, section, "Name", 0), "", 100);
        ch.paramCount = ReadInt16(path, section, "Parameter");
        ch.length = ReadInt16(path, section, "Length");
        ch.code = ReadInt16(path, section, "Nr");
        ch.write = ReadInt16(path, section, "Write");
        int count = ch.paramCount;
        if (count < 0 || count > kMaxControllerParams) {
            Warn(mv::FormatC("channel %d declares %d parameters", k, count));
            count = std::clamp(count, 0, kMaxControllerParams);
            ch.paramCount = static_cast<std::int16_t>(count);
        }
        // Every declared record is read; a parameter without its section gets the defaults of
        // its keys.
        for (int m = 1; m <= count; ++m) {
            const std::string ps = mv::FormatC("K%dP%d", k, m);
            CControllerParam& p = ch.params.emplace_back();
            p.name = DescriptionText(path, mv::iniReadInt(path, ps, "Name", 0), "NIX", 100);
            p.offset = ReadInt16(path, ps, "Offset");
            p.length = ReadInt16(path, ps, "Length");
            p.mode = ReadInt16(path, ps, "Mode");
            const std::string lo = mv::iniReadString(path, ps, "Min", kAbsent, 200);
            const std::string hi = mv::iniReadString(path, ps, "Max", kAbsent, 200);
            if (lo == kAbsent || hi == kAbsent) {
                p.minimum = 0;
                p.maximum = 0;
            } else {
                p.minimum = static_cast<std::int32_t>(mv::ParseLongC(lo));
                p.maximum = static_cast<std::int32_t>(mv::ParseLongC(hi));
            }
        }
    }

    m_FieldbusChannel = ReadInt16(path, "Fieldbus", "Kanal", -1);
    m_FieldbusOffset = ReadInt16(path, "Fieldbus", "Offset", -1);
    m_FieldbusBit = ReadInt16(path, "Fieldbus", "Bit", -1);
    const std::string fieldbusSection = mv::FormatC("K%d", m_FieldbusChannel);
    m_FieldbusParams = ReadInt16(path, fieldbusSection, "Parameter");
    m_FieldbusLength = ReadInt16(path, fieldbusSection, "Length");
    m_FieldbusCode = ReadInt16(path, fieldbusSection, "Nr");
    m_FieldbusShown = 0;
    if (m_FieldbusChannel != -1 && !HasFieldbus()) {
        Warn(mv::FormatC("fieldbus offset %d or bit %d cannot be used; no fieldbus state is "
                         "read",
                         m_FieldbusOffset, m_FieldbusBit));
    }

    mv::IAppHooks& hooks = mv::appHooks();
    if (hooks.IsOnline()) {
        ReadMasterParameters(hooks.LinkHandle());
    }

    int errors = mv::iniReadInt(path, "Error", "Count", 0);
    errors = std::clamp(errors, 0, kMaxErrorEntries);
    for (int i = 0; i < errors; ++i) {
        const std::string entry = mv::iniReadString(path, "Error", mv::FormatC("E%d", i), "0", 10);
        if (entry == "0") {
            continue;
        }
        const std::size_t comma = entry.find(',');
        CErrorText record;
        record.code = static_cast<std::int32_t>(mv::ParseLongC(entry.substr(0, comma)));
        const int number = comma == std::string::npos
                               ? 0
                               : static_cast<int>(mv::ParseLongC(entry.substr(comma + 1)));
        record.text = DescriptionText(path, number, "", kMaxErrorText);
        m_Errors.push_back(std::move(record));
    }
    m_Problems.Report(path);
}

bool CControllerModule::HasFieldbus() const {
    return m_FieldbusChannel != -1 && m_FieldbusOffset >= 0 && m_FieldbusBit >= 0 &&
           m_FieldbusBit <= 7;
}

std::string CControllerModule::ErrorText(std::int32_t code) const {
    for (const auto& e : m_Errors) {
        if (e.code == code) {
            return e.text;
        }
    }
    return std::string();
}

void CControllerModule::ReadMasterParameters(std::uint32_t link) {
    for (CControllerChannel& ch : m_Channels) {
        std::uint8_t reply[kReplyBuffer] = {};
        std::uint16_t length = 0;
        if (A_ReadMasterParameter(link, ch.code, reply, ch.length, &length) != 1) {
            length = 0;
        }
        const int end = std::min<int>(length, static_cast<int>(sizeof reply));
        for (CControllerParam& p : ch.params) {
            const int at = p.offset;
            if (at < 0 || at >= end) {
                if (!p.IsInteger()) {
                    p.value.SetText(mv::LanguageText(kTextNotRead));
                }
                continue;
            }
            if (p.IsInteger()) {
                if (at + p.length > end) {
                    continue; // the reply does not hold the whole number
                }
                std::uint32_t v = 0;
                for (int i = 0; i < p.length; ++i) {
                    v |= static_cast<std::uint32_t>(reply[at + i]) << (8 * i);
                }
                if (p.length == 2) {
                    v = static_cast<std::uint32_t>(static_cast<std::int32_t>(
                        static_cast<std::int16_t>(static_cast<std::uint16_t>(v))));
                }
                p.value.SetLong(v);
            } else {
                // A text of `length` bytes, or up to its zero byte when longer than 98; never
                // past the reply.
                int stop = end;
                if (p.length <= kWholeTextFrom) {
                    stop = std::min(end, at + std::max<int>(p.length, 0));
                }
                p.value.SetText(TextAt(reply + at, reply + stop));
            }
        }
    }
}

int CControllerModule::WriteMasterParameters(std::uint32_t link) {
    for (const CControllerChannel& ch : m_Channels) {
        if (ch.write != 1) {
            continue;
        }
        std::vector<std::uint8_t> data;
        for (const CControllerParam& p : ch.params) {
            if (!p.IsInteger()) {
                continue;
            }
            for (int i = 0; i < p.length; ++i) {
                data.push_back(p.value.Data()[i]);
            }
        }
        if (A_WriteMasterParameter(link, ch.code, static_cast<int>(data.size()), data.data()) !=
            1) {
            return 0;
        }
    }
    return 1;
}

void CControllerModule::SaveToProject(int station, int /*position*/, const std::string& file) {
    mv::IniBatch batch;
    const std::string head = mv::FormatC("M%dC", station);
    WriteProfileText(head, "FW", m_FW, file);
    WriteProfileText(head, "FD", m_FD, file);
    WriteProfileText(head, "FV", m_FV, file);
    for (std::size_t k = 0; k < m_Channels.size(); ++k) {
        const CControllerChannel& ch = m_Channels[k];
        if (ch.write != 1 || ch.params.empty()) {
            continue;
        }
        const std::string section =
            mv::FormatC("M%dCK%dKNR%d", station, static_cast<int>(k), ch.code);
        for (std::size_t i = 0; i < ch.params.size(); ++i) {
            WriteProfileText(section, mv::FormatC("P%d", static_cast<int>(i)),
                             mv::FormatC("%d", ch.params[i].value.GetAsInt(kTypeInt32)), file);
        }
    }
    if (!batch.commit()) {
        ShowLastError("SAVE " + head); // the first section written
    }
}

void CControllerModule::LoadFromProject(int station, int /*position*/, const std::string& file) {
    const std::string head = mv::FormatC("M%dC", station);
    m_FW = mv::iniReadString(file, head, "FW", "", kMaxFirmwareText + 1);
    m_FD = mv::iniReadString(file, head, "FD", "", kMaxFirmwareText + 1);
    m_FV = mv::iniReadString(file, head, "FV", "", kMaxFirmwareText + 1);
    for (std::size_t k = 0; k < m_Channels.size(); ++k) {
        CControllerChannel& ch = m_Channels[k];
        if (ch.write != 1 || ch.params.empty()) {
            continue;
        }
        const std::string section =
            mv::FormatC("M%dCK%dKNR%d", station, static_cast<int>(k), ch.code);
        for (std::size_t i = 0; i < ch.params.size(); ++i) {
            const std::string text =
                mv::iniReadString(file, section, mv::FormatC("P%d", static_cast<int>(i)), "", 200);
            if (!text.empty()) {
                ch.params[i].value.SetLong(static_cast<std::uint32_t>(mv::ParseLongC(text)));
            }
        }
    }
}

int CControllerModule::ReadFieldbusState(std::uint32_t link) {
    if (!HasFieldbus()) {
        return -1;
    }
    std::uint8_t reply[kReplyBuffer] = {};
    std::uint16_t length = 0;
    if (A_ReadMasterParameter(link, m_FieldbusCode, reply, m_FieldbusLength, &length) != 1) {
        return -1;
    }
    if (m_FieldbusOffset >= std::min<int>(length, static_cast<int>(sizeof reply))) {
        return -1;
    }
    return (reply[m_FieldbusOffset] >> m_FieldbusBit) & 1;
}

int CControllerModule::OpenOnline(const CModuleDescription* description, int station,
                                  int /*position*/, int /*tileValue*/) {
    mv::IAppHooks& hooks = mv::appHooks();
    hooks.ClearLiveCaches();
    return hooks.OpenOnlineController(description, station, this);
}

void CControllerModule::GetFirmwareTexts(std::string& fw, std::string& fd, std::string& fv) {
    fw = m_FW;
    fd = m_FD;
    fv = m_FV;
}

bool CControllerModule::Serialize(int /*station*/, int /*position*/, int channelCount,
                                  IModuleArchive& archive) {
    std::string text;
    std::uint16_t u16 = 0;
    for (int i = 0; i < channelCount; ++i) {
        std::uint16_t params = 0;
        if (!archive.ReadString(text) || !archive.ReadU16(u16) || !archive.ReadU16(u16) ||
            !archive.ReadU16(params)) {
            return false;
        }
        for (int j = 0; j < params; ++j) {
            if (!archive.ReadString(text) || !archive.ReadU16(u16) || !archive.ReadU16(u16)) {
                return false;
            }
        }
    }
    m_FW.clear();
    m_FD.clear();
    m_FV.clear();
    return true;
}
