// Settings stores in place of the registry: typed values (32-bit numbers, texts, bytes) under
// key paths such as "SOFTWARE\Kelvane\Morvelan", kept in INI-format text files.
//
// - The machine store is "machine.reg" in the program folder (the installation writes it);
//   MORVELAN_MACHINE_REG names another file.
// - The per-user store is $XDG_CONFIG_HOME/Kelvane/Morvelan.reg ($HOME/.config when the
//   variable is unset); MORVELAN_USER_REG names another file.
//
// Key paths and value names are matched without regard to case. In the file a key is a section
// and a value is a line "name=dword:0000001e", "name=sz:"text"" or "name=hex:01,02,ff".
#pragma once

#include <cstdint>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

namespace mv {

enum class SettingsRoot { Machine, User };

inline constexpr const char* kMachineStoreEnv = "MORVELAN_MACHINE_REG";
inline constexpr const char* kUserStoreEnv = "MORVELAN_USER_REG";
inline constexpr const char* kMachineStoreName = "machine.reg";

// Folder of the running program (where the deliverables and the data lie).
std::string programFolder();

// The file behind a store (environment first).
std::string settingsStorePath(SettingsRoot root);

class SettingsKey {
public:
    // Opens a key; nullopt when it does not exist (or create is set and it cannot be made).
    static std::optional<SettingsKey> open(SettingsRoot root, std::string_view path,
                                           bool create = false);
    // A key of an explicit store file (tests, tools).
    SettingsKey(std::string file, std::string path);

    const std::string& file() const { return file_; }
    const std::string& path() const { return path_; }

    std::optional<std::uint32_t> readDword(std::string_view name) const;
    std::optional<std::string> readText(std::string_view name) const;
    std::optional<std::vector<std::uint8_t>> readBinary(std::string_view name) const;
    std::vector<std::string> valueNames() const;

    // Writes create the store file (and the per-user folder); false with errno on failure.
    bool writeDword(std::string_view name, std::uint32_t value) const;
    bool writeText(std::string_view name, std::string_view text) const;
    bool writeBinary(std::string_view name, const std::vector<std::uint8_t>& bytes) const;
    bool deleteValue(std::string_view name) const;

private:
    bool writeRaw(std::string_view name, const std::string& raw) const;
    std::optional<std::string> readRaw(std::string_view name) const;

    std::string file_;
    std::string path_;
};

// The framework's recent-file list (per-user store), most recent first.
inline constexpr const char* kRecentFileKey =
    "Software\\Local AppWizard-Generated Applications\\morvelan\\Recent File List";
inline constexpr int kRecentFileCount = 4;
std::vector<std::string> loadRecentFiles();
bool saveRecentFiles(const std::vector<std::string>& files);
// Puts a file at the head of the list (once), keeping at most kRecentFileCount entries.
void addRecentFile(std::vector<std::string>& files, const std::string& file);

// Per-user map of COM numbers to serial devices: value "COM<n>" of this key.
inline constexpr const char* kComPortMapKey = "SOFTWARE\\Kelvane\\Portwire\\Ports";
// The device the per-user store names for COM n; empty when it names none.
std::string storedComPortDevice(int comNumber);

} // namespace mv
