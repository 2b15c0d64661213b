// The part of morvelan's application object that needs no window: settings from the machine
// and per-user stores and from morvelan.ini, the language table, the module catalogue, the
// operating-system name and the search for a module's documentation. CMorvelanApp (the
// program) derives from it.
#pragma once

#include "morvelan/core/connection.h"
#include "morvelan/core/language.h"
#include "catalogue/module_description.h"

#include <array>
#include <cstdint>
#include <string>

// Key of the settings stores.
inline constexpr const char* kRegistryKey = "SOFTWARE\\Kelvane\\Morvelan";
// The fixed message of a start-up that cannot read its settings.
inline constexpr const char* kStartFailText = "Programm can not be started";
inline constexpr const char* kStartFailCaption = "Error Reading Registry";
// The document template's seven fields: title, document name, new-document name, filter name,
// filter extension, file type id, file type name.
inline constexpr const char* kDocTemplateString =
    "morvelan\n\nMorvelan\nMorvelan(*.mvl)\n.mvl\nMorvelan.Document\nMorvelan Document";
inline constexpr const char* kProjectFilter = "Morvelan Files (*.mvl)|*.mvl|All Files (*.*)|*.*|";
inline constexpr const char* kPictureFilter = "Meta Files (*.emf)|*.emf|";
inline constexpr const char* kSettingsFileName = "morvelan.ini";
inline constexpr const char* kLastProjectName = "Config.mvl";
inline constexpr const char* kNoDocumentation = "No documentation found";

// Keys of morvelan.ini, read once at start.
struct IniSettings {
    int toolbarOption = 0;   // [SETUP] T
    int memory = 0;          // MEM
    int stepTimer = 500;     // TIMER
    int onlineTimer = 10;    // ONLINETIMER
    int maximised = 0;       // MAX
    int serInfo = 1;         // SERINFO
    std::string doku = "PDF"; // Doku (up to 9 characters)
    int clearArp = 0;        // CLEAR_ARP
    int history = 0;         // HISTORY
    int logo = 1;            // LOGO
    int loadLast = 0;        // LOADLAST
    int writeTimeout = 5000; // WRITETIMEOUT

    bool pictureDocumentation() const { return doku == "JPG"; }
};

class CMorvelanAppBase : public CControllerConnection {
public:
    // Per-user values when the per-user key is new.
    static constexpr int kDefaultCom = 1;
    static constexpr std::uint32_t kDefaultIp = 0;
    static constexpr int kDefaultPort = 32000;
    static constexpr std::array<std::int32_t, 3> kDefaultPaperSize = {3, 0, 0};
    static constexpr int kDefaultPrintMode = 1;

    CMorvelanAppBase();

    // Reads the stores and loads the language: 1, or 0 when the machine-wide Install is
    // missing or no language table loads.
    int ReadRegistrySettings();
    // Writes COM, Sprache, Papersize, TcpIp, Port and Printmode into the per-user store.
    bool WriteRegistrySettings();
    // Reads morvelan.ini of the program directory.
    void ReadIniSettings();
    // "Linux 6.1" and the like.
    const std::string& GetOSName();
    // Path of a file in the program directory.
    std::string ProgramFile(const std::string& name) const;
    // The newest documentation file of a module type ("<Doku>0020.pdf" down to
    // "<Doku>0000.pdf" in Modul/pdf); empty when there is none.
    std::string FindModuleDocumentation(const std::string& typeName) const;
    // Scans the module catalogue with the current language (progress per file).
    int ScanCatalogue(const ModuleScanProgress& progress);
    // The idle handler's share: lowers the idle counter.
    void CountIdle();

    std::string m_ProgramDir;
    std::array<std::int32_t, 3> m_PaperSize = {0, 0, 0};
    int m_PrintMode = 0;
    std::string m_MaskFile;
    int m_IdleCounter = 0;
    int m_UnknownModule = 0;
    int m_Online = 0;     // 1 while the current station is online
    int m_AutoOnline = 0; // 1 from the start of an automatic online sequence until it ends
    IniSettings m_Ini;
    mv::CLanguage m_Language;
    CModuleDescriptionList m_Catalogue;
};
