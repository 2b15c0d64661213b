// The panel's data files: the SSI file (encoder interfaces), the NSW data file (cam-switch
// setup, blocks, bit assignments and cams) and the filter file (digital filter items), the
// procedures that move them between the controller and the disk, and the checkers that run
// before a file is sent. No window here: the procedures reach the panel through DataFileHost.
#pragma once

#include "panel/core/panel_app.h"
#include "panel/core/panel_commands.h"
#include "panel/core/panel_log.h"

#include <string>

namespace mv {
class IniBatch;
}

namespace x740panel {

// File chooser filters ("text|pattern|").
inline constexpr const char* kCamDataFilter = "Cam Data Files (*.ini)|*.ini|";
inline constexpr const char* kSsiDataFilter = "SSI Data Files (*.ini)|*.ini|";
inline constexpr const char* kNswDataFilter = "NSW Data Files (*.ini)|*.ini|";
inline constexpr const char* kFilterFilter = "Filter Files (*.ini)|*.ini|";
inline constexpr const char* kDefaultDataExtension = "ini";

inline constexpr const char* kNswSection = "NSW128";
inline constexpr const char* kFilterSection = "DigFilter";
// Highest entries the wire can name: SSI interfaces, blocks (8 bits), cams and filter items
// (16 bits).
inline constexpr int kLastSsiIndex = 255;
inline constexpr int kLastBlockIndex = 255;
inline constexpr int kLastCamIndex = 65535;
inline constexpr int kLastFilterIndex = 65535;
// Why an offset write for an interface the wire cannot name is refused.
inline constexpr const char* kSsiIndexRange = "SSI-Index must be between 0 and 255";
// Cam names as stored.
inline constexpr std::size_t kCamNameLength = 16;

// What the procedures need from the panel.
class DataFileHost : public PanelLog {
public:
    // Shows a progress text in the log's transient line.
    virtual void ShowTransientLine(const std::string& text) = 0;
    // Handles the waiting events (the log repaints).
    virtual void Pump() = 0;
    virtual void EnableControls(bool on) = 0;
    virtual void SetWaitCursor(bool on) = 0;
    // A result message (caption, one line) with the success or the error symbol.
    virtual void ShowMessage(const std::string& caption, const std::string& text,
                             bool success) = 0;
    // File chooser: save (overwrite prompt) or open, filter as above, default extension "ini".
    // False when cancelled.
    virtual bool ChooseFile(bool save, const std::string& filter, std::string& path) = 0;
    // SSI index and offset for one encoder offset write; false when cancelled.
    virtual bool AskSsiOffset(int& index, int& offset) = 0;
    // Whether bit and cam lines naming undefined blocks and tracks are reported.
    virtual bool NswWarnings() const = 0;
};

class DataFiles {
public:
    DataFiles(CX740PanelApp& app, DataFileHost& host, PanelCommands& commands)
        : app_(app), host_(host), commands_(commands) {}

    // Runs one of the seven data-file commands; false for any other id.
    bool Run(int id);

    void OnReadSsiToFile();
    void OnWriteSsiFromFile();
    void OnWriteSsiOffset();
    void OnReadNswToFile();
    void OnWriteNswFromFile();
    void OnReadFilterToFile();
    void OnWriteFilterFromFile();

    // The procedures behind the file choosers (tests call these with a path).
    void ReadSsiToFile(const std::string& file);
    void WriteSsiFromFile(const std::string& file);
    void ReadNswToFile(const std::string& file);
    void WriteNswFromFile(const std::string& file);
    void ReadFilterToFile(const std::string& file);
    void WriteFilterFromFile(const std::string& file);
    void WriteSsiOffset(int index, int offset);

    // Log their findings; true when the file may be sent.
    bool CheckSsiFile(const std::string& file);
    bool CheckNswFile(const std::string& file);
    bool CheckFilterFile(const std::string& file);

private:
    void Progress(const std::string& text);
    void Log(const std::string& text) { host_.AddLogLine(text); }
    void LogRecord(const std::string& text, int type, const std::string& file,
                   const std::string& name);
    void DrainQueue();
    bool SaveRead(mv::IniBatch& batch, const std::string& file, const char* caption);
    // A read begins with an empty file that replaces the old one only when the read is saved.
    void BeginRead(const std::string& file);
    // After a failed request of a read: with a link failure (reason not null) the read ends
    // with its error line and message and the old file stays as it was (true); a refusal by
    // the controller ends the list as usual (false).
    bool FailRead(const std::string& file, const char* caption, const std::string& what,
                  const char* reason);

    CX740PanelApp& app_;
    DataFileHost& host_;
    PanelCommands& commands_;
    std::string progress_;
};

} // namespace x740panel
