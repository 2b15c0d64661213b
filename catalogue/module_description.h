// Module description files (*.kvn in the folder Modul of the program directory) and the
// catalogue of all of them, read once at start-up. A library of its own: the main program and
// the service panel each link it (the panel its own copy).
#pragma once

#include <cstdint>
#include <functional>
#include <memory>
#include <string>
#include <vector>

namespace mv {
class Clock;
}

// The folder and language that description files are read with: the program directory (no
// trailing separator needed) and the language name of the settings (the section that holds the
// display names). Set by the application before the scan.
struct ModuleDescriptionContext {
    std::string programDir = ".";
    std::string language = "English";
};
const ModuleDescriptionContext& moduleDescriptionContext();
void setModuleDescriptionContext(ModuleDescriptionContext context);

// Value of the FILEINFO key Device that a description file must carry (exact bytes).
inline constexpr const char* kModuleDevice = "Morvelan";
// Buffer size for the texts of a description file.
inline constexpr std::uint32_t kDescriptionTextSize = 200;

// The record of one description file.
class CModuleDescription {
public:
    std::string m_FileName;        // *.kvn name without folder
    std::int16_t m_ProtocolId = 0; // FILEINFO Protocol_ID
    std::string m_Device;          // FILEINFO Device
    std::string m_Doku;            // documentation folder under Modul/pdf
    std::string m_Description;     // type name: the key of FindByName
    std::string m_DisplayName;     // text of Name in the current language
    std::string m_Bitmap;          // picture file in bmp/
    std::string m_Print;           // print reference
    std::string m_Dll;             // service library base name
    std::uint16_t m_Id = 0;        // module ID a controller reports
    std::int16_t m_Kind = 0;       // Typ 1..8
    std::int16_t m_ChannelCount = 0;
    std::uint8_t m_Mask = 0;

    // Full path of the description file: program directory, "Modul", file name.
    std::string FilePath() const;
    static std::string FilePath(const std::string& programDir, const std::string& fileName);

    // Reads the file named by m_FileName with the current context. 1 when Device matched;
    // 0 otherwise, all other fields keeping their initial values.
    int Read();
    int Read(const std::string& programDir, const std::string& language);

    // Writes Filename = the file name into section "M<station>P<position>" of a project file
    // (defined with the project file writer in morvelan/core).
    int WriteParameterFileName(int station, int position, const std::string& projectFile) const;
};

// Progress of the scan: called with each file name before the next one is read.
using ModuleScanProgress = std::function<void(const std::string& fileName)>;

// The catalogue, owned by the application; never changed after the scan.
class CModuleDescriptionList {
public:
    int GetSize() const { return static_cast<int>(m_Entries.size()); }
    CModuleDescription* GetAt(int index) const;
    CModuleDescription* operator[](int index) const { return GetAt(index); }

    // Index of the first accepted description whose type name equals name (ignoring case),
    // or -1. Descriptions whose Device did not match are never returned.
    int FindByName(const std::string& name) const;
    // Index of the first accepted description with that module ID, or -1.
    int FindById(std::uint16_t id) const;
    // Sorts by file name (byte order).
    void Sort();

    // Appends a description (owned from now on) and counts its kind.
    void Add(std::unique_ptr<CModuleDescription> description);
    // Deletes every description.
    void RemoveAll();

    // Controllers and picture-only heads (kinds 1 and 5), and boards (kind 2).
    int m_ControllerCount = 0;
    int m_BoardCount = 0;

    // Reads every "*.kvn" of programDir/Modul (extension without regard to case) with the given
    // language, calling progress with each file name, then sorts and waits 250 ms on the clock.
    // A missing folder leaves the catalogue empty. Returns the number of files read.
    int Scan(const std::string& programDir, const std::string& language,
             const ModuleScanProgress& progress, mv::Clock& clock);

    // Pause after the scan so that the last file name can be seen.
    static constexpr int kScanEndPauseMs = 250;

private:
    std::vector<std::unique_ptr<CModuleDescription>> m_Entries;
};
