#include "catalogue/module_description.h"

#include "platform/clock.h"
#include "platform/ini_file.h"
#include "platform/win_path.h"

#include <algorithm>
#include <cstring>
#include <dirent.h>
#include <strings.h>
#include <sys/stat.h>

namespace {

ModuleDescriptionContext& context() {
    static ModuleDescriptionContext ctx;
    return ctx;
}

std::string readText(const char* section, const char* key, const std::string& file) {
    char buf[kDescriptionTextSize];
    const std::uint32_t n =
        mv::GetPrivateProfileStringA(section, key, "", buf, sizeof buf, file.c_str());
    return std::string(buf, n);
}

int readInt(const char* section, const char* key, const std::string& file) {
    return mv::GetPrivateProfileIntA(section, key, 0, file.c_str());
}

bool hasKvnExtension(const char* name) {
    const std::size_t len = std::strlen(name);
    return len > 4 && ::strcasecmp(name + len - 4, ".kvn") == 0;
}

bool isAccepted(const CModuleDescription& d) { return d.m_Device == kModuleDevice; }

std::string upperCase(std::string s) {
    for (char& c : s)
        if (c >= 'a' && c <= 'z')
            c = static_cast<char>(c - 'a' + 'A');
    return s;
}

} // namespace

const ModuleDescriptionContext& moduleDescriptionContext() { return context(); }

void setModuleDescriptionContext(ModuleDescriptionContext ctx) { context() = std::move(ctx); }

std::string CModuleDescription::FilePath(const std::string& programDir,
                                         const std::string& fileName) {
    return mv::iniResolvePath(mv::joinPath(mv::joinPath(programDir, "Modul"), fileName));
}

std::string CModuleDescription::FilePath() const {
    return FilePath(context().programDir, m_FileName);
}

int CModuleDescription::Read() { return Read(context().programDir, context().language); }

int CModuleDescription::Read(const std::string& programDir, const std::string& language) {
    // The INI layer finds the file without regard to case itself.
    const std::string path = mv::joinPath(mv::joinPath(programDir, "Modul"), m_FileName);
    (void)readText("FILEINFO", "Filename", path);
    m_ProtocolId = static_cast<std::int16_t>(readInt("FILEINFO", "Protocol_ID", path));
    m_Device = readText("FILEINFO", "Device", path);
    if (m_Device != kModuleDevice)
        return 0;
    m_Description = readText("MORVELAN", "Description", path);
    m_Doku = readText("MORVELAN", "Doku", path);
    m_Print = readText("MORVELAN", "Print", path);
    const int nameNumber = readInt("MORVELAN", "Name", path);
    m_DisplayName = readText(language.c_str(), std::to_string(nameNumber).c_str(), path);
    m_Id = static_cast<std::uint16_t>(readInt("MORVELAN", "ID", path));
    m_Kind = static_cast<std::int16_t>(readInt("MORVELAN", "Typ", path));
    m_ChannelCount = static_cast<std::int16_t>(readInt("MORVELAN", "Channel", path));
    m_Mask = static_cast<std::uint8_t>(readInt("MORVELAN", "Mask", path));
    m_Bitmap = readText("MORVELAN", "Bitmap", path);
    m_Dll = readText("MORVELAN", "DLL", path);
    return 1;
}

CModuleDescription* CModuleDescriptionList::GetAt(int index) const {
    if (index < 0 || index >= GetSize())
        return nullptr;
    return m_Entries[static_cast<std::size_t>(index)].get();
}

int CModuleDescriptionList::FindByName(const std::string& name) const {
    const std::string wanted = upperCase(name);
    for (std::size_t i = 0; i < m_Entries.size(); ++i) {
        const CModuleDescription& d = *m_Entries[i];
        if (isAccepted(d) && upperCase(d.m_Description) == wanted)
            return static_cast<int>(i);
    }
    return -1;
}

int CModuleDescriptionList::FindById(std::uint16_t id) const {
    for (std::size_t i = 0; i < m_Entries.size(); ++i) {
        const CModuleDescription& d = *m_Entries[i];
        if (isAccepted(d) && d.m_Id == id)
            return static_cast<int>(i);
    }
    return -1;
}

void CModuleDescriptionList::Sort() {
    std::stable_sort(m_Entries.begin(), m_Entries.end(), [](const auto& a, const auto& b) {
        return std::strcmp(a->m_FileName.c_str(), b->m_FileName.c_str()) < 0;
    });
}

void CModuleDescriptionList::Add(std::unique_ptr<CModuleDescription> description) {
    if (!description)
        return;
    if (description->m_Kind == 1 || description->m_Kind == 5)
        ++m_ControllerCount;
    else if (description->m_Kind == 2)
        ++m_BoardCount;
    m_Entries.push_back(std::move(description));
}

void CModuleDescriptionList::RemoveAll() {
    m_Entries.clear();
    m_ControllerCount = 0;
    m_BoardCount = 0;
}

int CModuleDescriptionList::Scan(const std::string& programDir, const std::string& language,
                                 const ModuleScanProgress& progress, mv::Clock& clock) {
    const std::string folder = mv::iniResolvePath(mv::joinPath(programDir, "Modul"));
    std::vector<std::string> names;
    if (DIR* dir = ::opendir(folder.c_str())) {
        while (const dirent* e = ::readdir(dir)) {
            if (!hasKvnExtension(e->d_name))
                continue;
            if (e->d_type != DT_REG && e->d_type != DT_UNKNOWN && e->d_type != DT_LNK)
                continue;
            names.emplace_back(e->d_name);
        }
        ::closedir(dir);
    }
    for (const std::string& name : names) {
        auto description = std::make_unique<CModuleDescription>();
        description->m_FileName = name;
        description->Read(programDir, language); // a file that is not accepted stays listed
        Add(std::move(description));
        if (progress)
            progress(name);
    }
    Sort();
    clock.sleep(kScanEndPauseMs);
    return static_cast<int>(names.size());
}
