// The seven data-file procedures: controller to file and file to controller.
#include "panel/core/data_files.h"

#include "panel/core/telegrams.h"
#include "panel/core/text_parsers.h"
#include "platform/ini_file.h"
#include "services/include/X740_Cam.h"
#include "services/include/X740_Core.h"

#include <array>
#include <cstring>
#include <vector>

namespace x740panel {

namespace {

constexpr const char* kSsiKeys[] = {
    "Drehrichtung",          "Inkremente",          "UserInkremente", "ModulIndex",
    "ModulOffset",           "PresetModulIndex",    "PresetModulByteOffset",
    "PresetModulBitOffset",  "ValueMask",           "OptionFlags",    "MaxDiffValue",
    "MaxDiffCounterValue",   "Totzeit",             "Offset"};

// Holds the panel's controls disabled for a procedure and enables them on every way out.
class ControlsOff {
public:
    explicit ControlsOff(DataFileHost& host) : host_(host) { host_.EnableControls(false); }
    ~ControlsOff() { host_.EnableControls(true); }
    ControlsOff(const ControlsOff&) = delete;
    ControlsOff& operator=(const ControlsOff&) = delete;

private:
    DataFileHost& host_;
};

class WaitCursor {
public:
    explicit WaitCursor(DataFileHost& host) : host_(host) { host_.SetWaitCursor(true); }
    ~WaitCursor() { Restore(); }
    WaitCursor(const WaitCursor&) = delete;
    WaitCursor& operator=(const WaitCursor&) = delete;
    // Gives the normal cursor back now (before the last lines are logged).
    void Restore() {
        if (on_) {
            on_ = false;
            host_.SetWaitCursor(false);
        }
    }

private:
    DataFileHost& host_;
    bool on_ = true;
};

std::string Dec(int v) { return Format("%d", v); }

int FieldValue(const std::vector<std::string>& fields, std::size_t i) {
    int v = 0;
    if (i < fields.size() && ParseDecimal(fields[i], v) == 0) {
        v = 0;
    }
    return v;
}

std::string ReadLine(const std::string& file, const char* section, const std::string& key) {
    return mv::iniReadString(file, section, key);
}

void Write(const std::string& file, const std::string& section, const std::string& key,
           const std::string& value) {
    mv::iniWriteString(file, section, key, value);
}

} // namespace

bool DataFiles::Run(int id) {
    switch (id) {
    case kCmdSsiFromModule:
        OnReadSsiToFile();
        return true;
    case kCmdSsiToModule:
        OnWriteSsiFromFile();
        return true;
    case kCmdSsiOffsetWrite:
        OnWriteSsiOffset();
        return true;
    case kCmdNswFromModule:
        OnReadNswToFile();
        return true;
    case kCmdNswToModule:
        OnWriteNswFromFile();
        return true;
    case kCmdFilterFromModule:
        OnReadFilterToFile();
        return true;
    case kCmdFilterToModule:
        OnWriteFilterFromFile();
        return true;
    default:
        return false;
    }
}

void DataFiles::Progress(const std::string& text) {
    progress_ = text;
    host_.ShowTransientLine(text);
}

// Writes what a read gathered to its file. A file that cannot be written is an error line and a
// message, never a "Ready": the user would trust a file that holds nothing.
bool DataFiles::SaveRead(mv::IniBatch& batch, const std::string& file, const char* caption) {
    if (batch.commit())
        return true;
    const std::string text = "Error writing file " + file;
    Log("E\t" + text);
    host_.ShowMessage(caption, text, false);
    return false;
}

void DataFiles::BeginRead(const std::string& file) {
    if (!mv::iniClearFile(file)) {
        mv::iniRemoveFile(file); // unreadable as it stands: it goes, as the read begins anew
    }
}

bool DataFiles::FailRead(const std::string& file, const char* caption, const std::string& what,
                         const char* reason) {
    if (reason == nullptr) {
        return false; // the controller has no such entry: the normal end of a list
    }
    mv::iniDiscardChanges(file);
    const std::string text = "Error reading " + what + ": " + reason;
    Log("E\t" + text);
    host_.ShowMessage(caption, text, false);
    return true;
}

void DataFiles::LogRecord(const std::string& text, int type, const std::string& file,
                          const std::string& name) {
    auto record = std::make_unique<LogItemRecord>();
    record->type = type;
    record->file = file;
    record->name = name;
    host_.AddLogLine(text, std::move(record));
}

void DataFiles::DrainQueue() { host_.Pump(); }

// The commands: a file chooser, then the procedure. The controls stay disabled from before the
// chooser opens until the procedure has ended, however it ends.

void DataFiles::OnReadSsiToFile() {
    ControlsOff off(host_);
    std::string file;
    if (host_.ChooseFile(true, kCamDataFilter, file)) {
        ReadSsiToFile(file);
    }
}

void DataFiles::OnWriteSsiFromFile() {
    ControlsOff off(host_);
    std::string file;
    if (host_.ChooseFile(false, kSsiDataFilter, file)) {
        WriteSsiFromFile(file);
    }
}

void DataFiles::OnReadNswToFile() {
    ControlsOff off(host_);
    std::string file;
    if (host_.ChooseFile(true, kCamDataFilter, file)) {
        ReadNswToFile(file);
    }
}

void DataFiles::OnWriteNswFromFile() {
    ControlsOff off(host_);
    std::string file;
    if (host_.ChooseFile(false, kNswDataFilter, file)) {
        WriteNswFromFile(file);
    }
}

void DataFiles::OnReadFilterToFile() {
    ControlsOff off(host_);
    std::string file;
    if (host_.ChooseFile(true, kFilterFilter, file)) {
        ReadFilterToFile(file);
    }
}

void DataFiles::OnWriteFilterFromFile() {
    ControlsOff off(host_);
    std::string file;
    if (host_.ChooseFile(false, kFilterFilter, file)) {
        WriteFilterFromFile(file);
    }
}

void DataFiles::OnWriteSsiOffset() {
    ControlsOff off(host_);
    int index = 0;
    int offset = 0;
    if (host_.AskSsiOffset(index, offset)) {
        WriteSsiOffset(index, offset);
    }
}

void DataFiles::ReadSsiToFile(const std::string& file) {
    mv::IniBatch batch;
    BeginRead(file);
    DrainQueue();
    Log("Reading Systeminformation");
    commands_.WriteSystemSections(file);
    Log("Reading SSI-Configuration");
    for (int n = 0; n <= kLastSsiIndex; ++n) {
        SsiSetupValues v{};
        const std::string section = Format("SSI_%d", n);
        if (!ReadSsiSetupRaw(app_, n, v)) {
            if (FailRead(file, "SSI", section, app_.LinkFailure())) {
                return;
            }
            break;
        }
        Log(section);
        for (int k = 0; k < kSsiValueCount; ++k) {
            Write(file, section, kSsiKeys[k], Dec(v[static_cast<std::size_t>(k)]));
        }
        std::int32_t offset = 0;
        if (!ReadSsiOffsetRaw(app_, n, offset)) {
            if (FailRead(file, "SSI", section + " Offset", app_.LinkFailure())) {
                return;
            }
            break;
        }
        Write(file, section, "Offset", Dec(offset));
        DrainQueue();
    }
    if (!SaveRead(batch, file, "SSI"))
        return;
    Log("Ready");
}

void DataFiles::WriteSsiFromFile(const std::string& file) {
    DrainQueue();
    if (!CheckSsiFile(file)) {
        return;
    }
    Log("Sending SSI-Configuration");
    for (int n = 0; n <= kLastSsiIndex; ++n) {
        const std::string section = Format("SSI_%d", n);
        char probe[200] = {};
        if (mv::GetPrivateProfileSectionA(section.c_str(), probe, sizeof probe, file.c_str()) ==
            0) {
            break;
        }
        Log(section);
        SsiSetupValues v{};
        for (int k = 0; k < kSsiValueCount; ++k) {
            v[static_cast<std::size_t>(k)] = mv::iniReadInt(file, section, kSsiKeys[k], 0);
        }
        const int offset = mv::iniReadInt(file, section, "Offset", 0);
        if (!WriteSsiSetupRaw(app_, n, v)) {
            Log("E\tERROR");
            host_.ShowMessage("SSI", "Error sending SSI configuration", false);
            return;
        }
        if (!WriteSsiOffsetRaw(app_, n, offset)) {
            Log("E\tERROR");
            host_.ShowMessage("SSI", "Error sending SSI offset", false);
            return;
        }
        DrainQueue();
    }
    Log("Ready");
    host_.ShowMessage("SSI", "Download OK", true);
}

void DataFiles::WriteSsiOffset(int index, int offset) {
    if (index < 0 || index > kLastSsiIndex) {
        // The request carries the interface in one byte: any other number would reach another.
        Log(std::string("E\t") + kSsiIndexRange);
        host_.ShowMessage("SSI", kSsiIndexRange, false);
        return;
    }
    if (WriteSsiOffsetRaw(app_, index, offset)) {
        Log("OK");
        host_.ShowMessage("SSI", "Download OK", true);
    } else {
        Log("E\tERROR");
        host_.ShowMessage("SSI", "Error sending SSI offset", false);
    }
}

void DataFiles::ReadNswToFile(const std::string& file) {
    mv::IniBatch batch;
    BeginRead(file);
    DrainQueue();
    commands_.WriteSystemSections(file);
    int ssiIndex = 0;
    int maxSpeed = 0;
    if (ReadNswSetupRaw(app_, ssiIndex, maxSpeed)) {
        Write(file, kNswSection, "SSI_Index", Dec(ssiIndex));
        Write(file, kNswSection, "SSI_MaxSpeed", Dec(maxSpeed));
    } else if (FailRead(file, "NSW", "NSW setup", app_.LinkFailure())) {
        return;
    }
    Log(Format("Reading Block %d", 0));
    for (int k = 0; k <= kLastBlockIndex; ++k) {
        Progress(Format("Reading Block %d", k));
        int module = 0;
        int offset = 0;
        if (!ReadBlockConfigRaw(app_, k, module, offset)) {
            if (FailRead(file, "NSW", Format("Block %d", k), app_.LinkFailure())) {
                return;
            }
            break;
        }
        Write(file, kNswSection, Format("BlockConfig_%d", k), Format("%d,%d,%d", k, module, offset));
        DrainQueue();
    }
    Log(Format("Reading NSW-Configuration Bit %d", 0));
    for (int j = 0, b = 0, i = 0; b <= kLastBlockIndex; ++j) {
        Progress(Format("Reading NSW-Configuration Bit %d", j));
        int track = 0;
        if (!ReadBitConfigRaw(app_, b, i, track)) {
            if (FailRead(file, "NSW", Format("Bit %d", j), app_.LinkFailure())) {
                return;
            }
            break;
        }
        Write(file, kNswSection, Format("BitConfig_%d", j), Format("%d,%d,%d", b, i, track));
        if (++i > 7) {
            i = 0;
            ++b;
        }
        DrainQueue();
    }
    Log(Format("Reading NSW-Configuration CAM %d", 0));
    for (int c = 0; c <= kLastCamIndex; ++c) {
        Progress(Format("Reading NSW-Konfiguration CAM %d", c));
        int track = 0, startAngle = 0, startDead = 0, endAngle = 0, endDead = 0, type = 0;
        int trigger = 0, delay = 0;
        char name[kCamNameLength + 8] = {};
        if (A_X740_Cam_ReadNSWProgMultiturn(app_.m_Handle, c, &track, name, &startAngle,
                                            &startDead, &endAngle, &endDead, &type, &trigger,
                                            &delay) != 1) {
            if (FailRead(file, "NSW", Format("CAM %d", c),
                         ServiceLinkFailure(A_X740_Cam_GetLastError()))) {
                return;
            }
            break;
        }
        name[kCamNameLength] = '\0';
        Write(file, kNswSection, Format("Nocken_%d", c),
              Format("%d,%s,%d,%d,%d,%d,%d,%d,%d", track, name, startAngle, startDead, endAngle,
                     endDead, type, trigger, delay));
        DrainQueue();
    }
    if (!SaveRead(batch, file, "NSW"))
        return;
    Log("Ready");
}

void DataFiles::WriteNswFromFile(const std::string& file) {
    if (!CheckNswFile(file)) {
        return;
    }
    Log("Sending NSW-Configuration");
    const LinkHandle h = app_.m_Handle;
    const int ssiIndex = mv::iniReadInt(file, kNswSection, "SSI_Index", 0);
    const int maxSpeed = mv::iniReadInt(file, kNswSection, "SSI_MaxSpeed", 0);
    A_X740_Cam_SetImmediateUpdate(h, 0);
    if (!WriteNswSetupRaw(app_, ssiIndex, maxSpeed)) {
        A_X740_Cam_SetImmediateUpdate(h, 1);
        Log("E\tError Sending NSW-Configuration");
        return;
    }
    std::vector<std::string> f;
    Log(Format("Sending NSW block %d", 0));
    for (int k = 0; k <= kLastBlockIndex; ++k) {
        const std::string line = ReadLine(file, kNswSection, Format("BlockConfig_%d", k));
        if (line.empty()) {
            break;
        }
        Progress(Format("Sending NSW block %d", k));
        SplitCommaList(line, f);
        if (!WriteBlockConfigRaw(app_, FieldValue(f, 0), FieldValue(f, 1), FieldValue(f, 2))) {
            A_X740_Cam_SetImmediateUpdate(h, 1);
            Log("E\tError sending NSW block");
            return;
        }
        DrainQueue();
    }
    Log(Format("Sending NSW-Konfiguration Bit %d", 0));
    for (int j = 0;; ++j) {
        const std::string line = ReadLine(file, kNswSection, Format("BitConfig_%d", j));
        if (line.empty()) {
            break;
        }
        Progress(Format("Sending NSW-Konfiguration Bit %d", j));
        SplitCommaList(line, f);
        if (!WriteBitConfigRaw(app_, FieldValue(f, 0), FieldValue(f, 1), FieldValue(f, 2))) {
            A_X740_Cam_SetImmediateUpdate(h, 1);
            Log(Format("E\tError sending NSW-Konfiguration Bit %d", j));
            return;
        }
        DrainQueue();
    }
    Log(Format("Sending NSW-Configuration CAM %d", 0));
    for (int c = 0; c <= kLastCamIndex; ++c) {
        const std::string line = ReadLine(file, kNswSection, Format("Nocken_%d", c));
        if (line.empty()) {
            break;
        }
        Progress(Format("Sending NSW-Configuration CAM %d", c));
        const int count = SplitCommaList(line, f);
        const bool multiturn = count == 9;
        const std::string name = f.size() > 1 ? f[1] : std::string();
        if (A_X740_Cam_WriteNSWProgMultiturn(
                h, c, FieldValue(f, 0), name.c_str(), FieldValue(f, 2), FieldValue(f, 3),
                FieldValue(f, 4), FieldValue(f, 5), FieldValue(f, 6),
                multiturn ? FieldValue(f, 7) : 0, multiturn ? FieldValue(f, 8) : 0) != 1) {
            A_X740_Cam_SetImmediateUpdate(h, 1);
            Log(Format("E\tError sending NSW-Configuration %d", c));
            return;
        }
        DrainQueue();
    }
    if (A_X740_Cam_SetImmediateUpdate(h, 1) != 1) {
        A_X740_Cam_SetImmediateUpdate(h, 1);
        Log("E\tError saving NSW-Configuration");
        return;
    }
    Log("Ready");
    host_.ShowMessage("NSW", "Download OK", true);
}

void DataFiles::ReadFilterToFile(const std::string& file) {
    mv::IniBatch batch;
    BeginRead(file);
    DrainQueue();
    Log("Lese Systeminformation");
    commands_.WriteSystemSections(file);
    Log(Format("Lese Konfiguration %d", 0));
    for (int i = 0; i <= kLastFilterIndex; ++i) {
        Progress(Format("Lese Konfiguration %d", i));
        int p = 0, q = 0, r = 0;
        if (A_X740_ReadDFMWItem(app_.m_Handle, i, &p, &q, &r) != 1) {
            if (FailRead(file, "Filter", Format("item %d", i),
                         ServiceLinkFailure(A_X740_GetLastError()))) {
                return;
            }
            break;
        }
        Write(file, kFilterSection, Format("DFMWConfig_%d", i), Format("%d,%d,%d", r, p, q));
        DrainQueue();
    }
    host_.ReplaceLogLine(progress_);
    if (!SaveRead(batch, file, "Filter"))
        return;
    Log("OK");
}

void DataFiles::WriteFilterFromFile(const std::string& file) {
    DrainQueue();
    if (!CheckFilterFile(file)) {
        return;
    }
    WaitCursor cursor(host_);
    Log(Format("Sende Konfiguration %d", 0));
    std::vector<std::string> f;
    for (int i = 0; i <= kLastFilterIndex; ++i) {
        const std::string line = ReadLine(file, kFilterSection, Format("DFMWConfig_%d", i));
        if (line.empty()) {
            break;
        }
        Progress(Format("Sende Konfiguration %d", i));
        SplitCommaList(line, f);
        if (A_X740_WriteDFMWItem(app_.m_Handle, i, FieldValue(f, 1), FieldValue(f, 2),
                                 FieldValue(f, 0)) != 1) {
            cursor.Restore();
            Log("E\tFehler beim Senden der Konfiguration");
            return;
        }
        DrainQueue();
    }
    host_.ReplaceLogLine(progress_);
    Log("OK");
    cursor.Restore();
}

} // namespace x740panel
