#include "platform/settings_store.h"

#include "platform/ini_file.h"

#include <cerrno>
#include <cstdio>
#include <cstdlib>
#include <sys/stat.h>
#include <unistd.h>

namespace mv {

namespace {

constexpr std::string_view kDwordPrefix = "dword:";
constexpr std::string_view kTextPrefix = "sz:";
constexpr std::string_view kBinaryPrefix = "hex:";
constexpr std::uint32_t kValueBufferSize = 65536;

bool validName(std::string_view name) {
    return name.find_first_of("=\r\n") == std::string_view::npos &&
           name.find_first_not_of(" \t") != std::string_view::npos && name.front() != ';' &&
           name.front() != '[';
}

std::string escapeText(std::string_view text) {
    std::string out;
    out.reserve(text.size() + 2);
    for (char c : text) {
        if (c == '\\')
            out += "\\\\";
        else if (c == '\r')
            out += "\\r";
        else if (c == '\n')
            out += "\\n";
        else
            out += c;
    }
    return out;
}

std::optional<std::string> unescapeText(std::string_view text) {
    std::string out;
    out.reserve(text.size());
    for (std::size_t i = 0; i < text.size(); ++i) {
        if (text[i] != '\\') {
            out += text[i];
            continue;
        }
        if (++i >= text.size())
            return std::nullopt;
        switch (text[i]) {
        case '\\': out += '\\'; break;
        case 'r': out += '\r'; break;
        case 'n': out += '\n'; break;
        default: return std::nullopt;
        }
    }
    return out;
}

int hexDigit(char c) {
    if (c >= '0' && c <= '9')
        return c - '0';
    if (c >= 'a' && c <= 'f')
        return c - 'a' + 10;
    if (c >= 'A' && c <= 'F')
        return c - 'A' + 10;
    return -1;
}

// Creates the folders above a file (mkdir -p of its parent).
bool makeParentFolders(const std::string& file) {
    for (std::size_t pos = 1; (pos = file.find('/', pos)) != std::string::npos; ++pos) {
        const std::string dir = file.substr(0, pos);
        if (::mkdir(dir.c_str(), 0755) != 0 && errno != EEXIST)
            return false;
    }
    return true;
}

} // namespace

std::string programFolder() {
    char buf[4096];
    const ssize_t n = ::readlink("/proc/self/exe", buf, sizeof buf - 1);
    if (n <= 0)
        return ".";
    std::string exe(buf, static_cast<std::size_t>(n));
    const std::size_t slash = exe.rfind('/');
    return slash == std::string::npos ? std::string(".") : exe.substr(0, slash == 0 ? 1 : slash);
}

std::string settingsStorePath(SettingsRoot root) {
    if (root == SettingsRoot::Machine) {
        if (const char* env = std::getenv(kMachineStoreEnv); env && *env)
            return env;
        return programFolder() + "/" + kMachineStoreName;
    }
    if (const char* env = std::getenv(kUserStoreEnv); env && *env)
        return env;
    std::string base;
    if (const char* xdg = std::getenv("XDG_CONFIG_HOME"); xdg && *xdg == '/')
        base = xdg;
    else if (const char* home = std::getenv("HOME"); home && *home)
        base = std::string(home) + "/.config";
    else
        base = "/tmp";
    return base + "/Kelvane/Morvelan.reg";
}

std::optional<SettingsKey> SettingsKey::open(SettingsRoot root, std::string_view path,
                                             bool create) {
    SettingsKey key(settingsStorePath(root), std::string(path));
    if (iniHasSection(key.file_, key.path_))
        return key;
    if (!create)
        return std::nullopt;
    if (root == SettingsRoot::User && !makeParentFolders(key.file_))
        return std::nullopt;
    if (!iniCreateSection(key.file_, key.path_))
        return std::nullopt;
    return key;
}

SettingsKey::SettingsKey(std::string file, std::string path)
    : file_(std::move(file)), path_(std::move(path)) {}

std::optional<std::string> SettingsKey::readRaw(std::string_view name) const {
    if (!validName(name))
        return std::nullopt;
    // A value that is missing reads as the default, which a stored value can never be.
    constexpr std::string_view missing = "\x01";
    std::string value = iniReadString(file_, path_, name, missing, kValueBufferSize);
    if (value == missing)
        return std::nullopt;
    return value;
}

std::optional<std::uint32_t> SettingsKey::readDword(std::string_view name) const {
    const auto raw = readRaw(name);
    if (!raw || raw->compare(0, kDwordPrefix.size(), kDwordPrefix) != 0)
        return std::nullopt;
    const std::string_view digits = std::string_view(*raw).substr(kDwordPrefix.size());
    if (digits.empty() || digits.size() > 8)
        return std::nullopt;
    std::uint32_t v = 0;
    for (char c : digits) {
        const int d = hexDigit(c);
        if (d < 0)
            return std::nullopt;
        v = v * 16u + static_cast<std::uint32_t>(d);
    }
    return v;
}

std::optional<std::string> SettingsKey::readText(std::string_view name) const {
    const auto raw = readRaw(name);
    if (!raw || raw->compare(0, kTextPrefix.size(), kTextPrefix) != 0)
        return std::nullopt;
    std::string_view quoted = std::string_view(*raw).substr(kTextPrefix.size());
    if (quoted.size() < 2 || quoted.front() != '"' || quoted.back() != '"')
        return std::nullopt;
    return unescapeText(quoted.substr(1, quoted.size() - 2));
}

std::optional<std::vector<std::uint8_t>> SettingsKey::readBinary(std::string_view name) const {
    const auto raw = readRaw(name);
    if (!raw || raw->compare(0, kBinaryPrefix.size(), kBinaryPrefix) != 0)
        return std::nullopt;
    const std::string_view hex = std::string_view(*raw).substr(kBinaryPrefix.size());
    std::vector<std::uint8_t> bytes;
    std::size_t i = 0;
    while (i < hex.size()) {
        if (i + 2 > hex.size())
            return std::nullopt;
        const int hi = hexDigit(hex[i]);
        const int lo = hexDigit(hex[i + 1]);
        if (hi < 0 || lo < 0)
            return std::nullopt;
        bytes.push_back(static_cast<std::uint8_t>(hi * 16 + lo));
        i += 2;
        if (i < hex.size()) {
            if (hex[i] != ',')
                return std::nullopt;
            ++i;
            if (i == hex.size())
                return std::nullopt;
        }
    }
    return bytes;
}

std::vector<std::string> SettingsKey::valueNames() const { return iniKeyNames(file_, path_); }

bool SettingsKey::writeRaw(std::string_view name, const std::string& raw) const {
    if (!validName(name)) {
        errno = EINVAL;
        return false;
    }
    if (file_.rfind('/') != std::string::npos && !makeParentFolders(file_))
        return false;
    return iniWriteString(file_, path_, name, raw);
}

bool SettingsKey::writeDword(std::string_view name, std::uint32_t value) const {
    char buf[16];
    std::snprintf(buf, sizeof buf, "%08x", value);
    return writeRaw(name, std::string(kDwordPrefix) + buf);
}

bool SettingsKey::writeText(std::string_view name, std::string_view text) const {
    return writeRaw(name, std::string(kTextPrefix) + "\"" + escapeText(text) + "\"");
}

bool SettingsKey::writeBinary(std::string_view name, const std::vector<std::uint8_t>& bytes) const {
    std::string raw(kBinaryPrefix);
    char buf[4];
    for (std::size_t i = 0; i < bytes.size(); ++i) {
        std::snprintf(buf, sizeof buf, i == 0 ? "%02x" : ",%02x", bytes[i]);
        raw += buf;
    }
    return writeRaw(name, raw);
}

bool SettingsKey::deleteValue(std::string_view name) const {
    if (!validName(name)) {
        errno = EINVAL;
        return false;
    }
    return iniDeleteKey(file_, path_, name);
}

std::vector<std::string> loadRecentFiles() {
    std::vector<std::string> files;
    const auto key = SettingsKey::open(SettingsRoot::User, kRecentFileKey);
    if (!key)
        return files;
    for (int i = 1; i <= kRecentFileCount; ++i) {
        const auto text = key->readText("File" + std::to_string(i));
        if (text && !text->empty())
            files.push_back(*text);
    }
    return files;
}

bool saveRecentFiles(const std::vector<std::string>& files) {
    const auto key = SettingsKey::open(SettingsRoot::User, kRecentFileKey, true);
    if (!key)
        return false;
    bool ok = true;
    IniBatch batch;
    for (int i = 1; i <= kRecentFileCount; ++i) {
        const std::string name = "File" + std::to_string(i);
        const std::size_t at = static_cast<std::size_t>(i - 1);
        ok = (at < files.size() ? key->writeText(name, files[at]) : key->deleteValue(name)) && ok;
    }
    return batch.commit() && ok;
}

void addRecentFile(std::vector<std::string>& files, const std::string& file) {
    for (auto it = files.begin(); it != files.end();)
        it = (*it == file) ? files.erase(it) : std::next(it);
    files.insert(files.begin(), file);
    if (files.size() > static_cast<std::size_t>(kRecentFileCount))
        files.resize(kRecentFileCount);
}

std::string storedComPortDevice(int comNumber) {
    if (comNumber < 1)
        return {};
    const auto key = SettingsKey::open(SettingsRoot::User, kComPortMapKey);
    if (!key)
        return {};
    return key->readText("COM" + std::to_string(comNumber)).value_or(std::string());
}

} // namespace mv
