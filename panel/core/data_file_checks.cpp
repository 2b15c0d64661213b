// The checkers that run before a data file is sent: every finding is a log line, and the line
// that names a place in the file carries the record that opens its editor.
#include "panel/core/data_files.h"

#include "panel/core/text_parsers.h"
#include "platform/ini_file.h"

#include <algorithm>
#include <vector>

namespace x740panel {

namespace {

struct SsiKeyRule {
    const char* key;
    const char* def;
};

constexpr SsiKeyRule kSsiRules[] = {
    {"Drehrichtung", "-1"},          {"Inkremente", "-1"},
    {"UserInkremente", "-1"},        {"ModulIndex", "-1"},
    {"ModulOffset", "-1"},           {"PresetModulIndex", "-2"},
    {"PresetModulByteOffset", "-2"}, {"PresetModulBitOffset", "-2"},
    {"ValueMask", "-1"},             {"OptionFlags", "-1"},
    {"MaxDiffValue", "-1"},          {"MaxDiffCounterValue", "-1"},
    {"Totzeit", "-1"},               {"Offset", "-1"}};

// Largest values of the fields the wire carries in one byte or in 16 bits.
constexpr int kByteMax = 255;
constexpr int kWordMax = 65535;
// The delay travels as one signed byte: "at most 127" and no lower than -128.
constexpr int kDelayMin = -128;
constexpr const char* kTimeRange = "E\tTime must be between 0 and 65535";

// Whether the SSI key's value is refused (increments: the Inkremente value read before).
// Drehrichtung and OptionFlags travel in one byte each.
bool SsiValueFails(int index, int v, int increments) {
    switch (index) {
    case 0:
        return v < 0 || v > 1;
    case 9:
        return v < 0 || v > kByteMax;
    case 3:
    case 4:
        return v == -1 && increments != 0;
    case 5:
    case 7:
        return v == -2;
    case 6:
        return v == -2 || v > 255;
    default:
        return v == -1;
    }
}

// A value read whole: a line longer than any the checker takes is never cut into one it would.
std::string ReadWhole(const std::string& file, const char* section, const std::string& key) {
    return mv::iniReadString(file, section, key);
}

bool Field(const std::vector<std::string>& f, std::size_t i, int& v) {
    return i < f.size() && ParseDecimal(f[i], v) != 0;
}

bool Contains(const std::vector<int>& list, int v) {
    return std::find(list.begin(), list.end(), v) != list.end();
}

} // namespace

bool DataFiles::CheckSsiFile(const std::string& file) {
    Log("Checking File " + file);
    for (int n = 0;; ++n) {
        const std::string section = Format("SSI_%d", n);
        char probe[200] = {};
        if (mv::GetPrivateProfileSectionA(section.c_str(), probe, sizeof probe, file.c_str()) ==
            0) {
            if (n > 0) {
                return true;
            }
            Log("E\tNo SSI-information found");
            return false;
        }
        if (n > kLastSsiIndex) {
            // The wire carries the interface in one byte: SSI_256 would reach SSI_0.
            LogRecord(Format("E\tError in Section %s -> %s", section.c_str(), section.c_str()),
                      kLogItemSsiSection, file, section);
            return false;
        }
        int increments = 0;
        for (int k = 0; k < static_cast<int>(std::size(kSsiRules)); ++k) {
            const SsiKeyRule& rule = kSsiRules[k];
            const std::string text = mv::iniReadString(file, section, rule.key, rule.def);
            int v = 0;
            const bool parsed = ParseDecimal(text, v) != 0;
            if (k == 1 && parsed) {
                increments = v;
            }
            if (parsed && !SsiValueFails(k, v, increments)) {
                continue;
            }
            const std::string line =
                Format("E\tError in Section %s -> %s", section.c_str(), rule.key);
            if (k == 3) {
                Log(line);
                LogRecord("E\tMissing IO-Configuration", kLogItemSsiSection, file, section);
            } else {
                LogRecord(line, kLogItemSsiSection, file, section);
            }
            return false;
        }
    }
}

bool DataFiles::CheckNswFile(const std::string& file) {
    Log("Checking File " + file);
    const int ssiIndex = mv::iniReadInt(file, kNswSection, "SSI_Index", -1);
    if (ssiIndex < 0 || ssiIndex > 1) {
        Log("E\tError in Section NSW128");
        LogRecord("E\tSSI_Index must be 0 or 1", kLogItemNswSetup, file, "");
        return false;
    }
    const int maxSpeed = mv::iniReadInt(file, kNswSection, "SSI_MaxSpeed", -1);
    if (maxSpeed < 0 || maxSpeed > kWordMax) {
        Log("E\tError in Section NSW128");
        LogRecord(maxSpeed == -1 ? "E\twrong definition of SSI_MaxSpeed"
                                 : "E\tSSI_MaxSpeed must be between 0 and 65535",
                  kLogItemNswSetup, file, "");
        return false;
    }
    std::vector<std::string> f;
    std::vector<int> blocks;
    Log("Checking BlockConfig_XXX");
    for (int k = 0;; ++k) {
        const std::string key = Format("BlockConfig_%d", k);
        const std::string line = ReadWhole(file, kNswSection, key);
        if (line.empty()) {
            if (k == 0) {
                Log("E\tNo Block Configuration found");
                return false;
            }
            break;
        }
        const char* error = nullptr;
        int block = 0, module = 0, offset = 0;
        if (SplitCommaList(line, f) != 3) {
            error = "E\tMissing Data";
        } else if (!Field(f, 0, block) || block != k || block > kLastBlockIndex) {
            error = "E\tWrong Blockindex";
        } else if (!Field(f, 1, module) || module < 0 || module > 255) {
            error = "E\tModulindex must be between 0 and 255";
        } else if (!Field(f, 2, offset) || offset < 0) {
            error = "E\tByteoffset must be positiv";
        } else if (offset > kByteMax) {
            error = "E\tByteoffset must be between 0 and 255";
        }
        if (error != nullptr) {
            Log(Format("E\tError in Block Configuration -> %s", key.c_str()));
            LogRecord(error, kLogItemBlockConfig, file, key);
            return false;
        }
        blocks.push_back(block);
    }
    std::vector<int> tracks;
    const bool warn = host_.NswWarnings();
    Log("Checking BitConfig_XXX");
    for (int j = 0;; ++j) {
        const std::string key = Format("BitConfig_%d", j);
        const std::string line = ReadWhole(file, kNswSection, key);
        if (line.empty()) {
            if (j == 0) {
                Log("E\tNo Bit Configuration found");
                return false;
            }
            break;
        }
        const char* error = nullptr;
        int block = 0, bit = 0, track = 0;
        if (SplitCommaList(line, f) != 3) {
            error = "E\tMissing Data";
        } else if (!Field(f, 0, block) || block < 0 || block > kLastBlockIndex) {
            error = "E\tWrong Blockindex";
        } else {
            if (warn && !Contains(blocks, block)) {
                Log(Format("W\tBit Configuration -> %s", key.c_str()));
                LogRecord(Format("W\tBlock %d does not exist", block), kLogItemBitConfig, file,
                          key);
            }
            if (!Field(f, 1, bit) || bit < 0 || bit > 7) {
                error = "E\tBitoffset must be between 0 and 7";
            } else if (!Field(f, 2, track) || track < 0) {
                error = "E\tBahnindex must be positiv";
            } else if (track > kByteMax) {
                error = "E\tBahnindex must be between 0 and 255";
            }
        }
        if (error != nullptr) {
            Log(Format("E\tError in Bit Configuration -> %s", key.c_str()));
            LogRecord(error, kLogItemBitConfig, file, key);
            return false;
        }
        tracks.push_back(track);
    }
    Log("Checking Nocken_XXX");
    for (int c = 0;; ++c) {
        const std::string key = Format("Nocken_%d", c);
        const std::string line = ReadWhole(file, kNswSection, key);
        if (line.empty()) {
            if (c == 0) {
                Log("E\tNo cam configuration found");
                return false;
            }
            return true;
        }
        const char* error = nullptr;
        const int count = SplitCommaList(line, f);
        int v = 0;
        if (c > kLastCamIndex) {
            error = "E\tWrong index"; // the wire carries the cam number in 16 bits
        } else if (count != 7 && count != 9) {
            error = "E\tMissing Data";
        } else if (!Field(f, 0, v) || v < 0) {
            error = "E\tWrong index";
        } else if (v > kByteMax) {
            error = "E\tNockenbahn must be between 0 and 255";
        } else {
            if (warn && !Contains(tracks, v)) {
                Log(Format("W\tcam configuration -> %s", key.c_str()));
                LogRecord(Format("W\tTrack %d does not exist", v), kLogItemCam, file, key);
            }
            if (!Field(f, 2, v) || v < 0 || v > 3599) {
                error = "E\tAngle must be between 0 and 3599";
            } else if (!Field(f, 3, v) || v < 0) {
                error = "E\tTime must be positiv";
            } else if (v > kWordMax) {
                error = kTimeRange;
            } else if (!Field(f, 4, v) || v < 0 || v > 3599) {
                error = "E\tAngle must be between 0 and 3599";
            } else if (!Field(f, 5, v) || v < 0) {
                error = "E\tTime must be positiv";
            } else if (v > kWordMax) {
                error = kTimeRange;
            } else if (!Field(f, 6, v) || (v != 0 && (v < 16 || v > 19))) {
                error = "E\tWrong type";
            } else if (count == 9 && (!Field(f, 7, v) || v < 0 || v > 3)) {
                error = "E\tMultiturn Trigger Mode";
            } else if (count == 9 && (!Field(f, 8, v) || v > 127 || v < kDelayMin)) {
                error = "E\tMultiturn Delay";
            }
        }
        if (error != nullptr) {
            Log(Format("E\tError in cam configuration -> %s", key.c_str()));
            LogRecord(error, kLogItemCam, file, key);
            return false;
        }
    }
}

// The filter file: DFMWConfig_0 present, every line "r,p,q" in decimal with r 0..65535 and
// p, q 0..255, and no item past the last the wire can name. Nothing is sent otherwise.
bool DataFiles::CheckFilterFile(const std::string& file) {
    std::vector<std::string> f;
    for (int i = 0;; ++i) {
        const std::string key = Format("DFMWConfig_%d", i);
        const std::string line = ReadWhole(file, kFilterSection, key);
        if (line.empty() && i > 0) {
            return true;
        }
        const char* error = nullptr;
        int r = 0, p = 0, q = 0;
        if (i > kLastFilterIndex) {
            error = "E\tWrong index";
        } else if (SplitCommaList(line, f) != 3) {
            error = "E\tMissing Data";
        } else if (!Field(f, 0, r) || r < 0 || r > 65535 || !Field(f, 1, p) || p < 0 ||
                   p > 255 || !Field(f, 2, q) || q < 0 || q > 255) {
            error = "E\tWrong value";
        }
        if (error != nullptr) {
            Log(Format("E\tError in Filter Configuration -> %s", key.c_str()));
            Log(error);
            return false;
        }
    }
}

} // namespace x740panel
