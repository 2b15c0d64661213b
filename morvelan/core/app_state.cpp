#include "morvelan/core/app_state.h"

#include "platform/clock.h"
#include "platform/ini_file.h"
#include "platform/os_name.h"
#include "platform/settings_store.h"
#include "platform/win_path.h"

#include <cstdio>
#include <sys/stat.h>

namespace {

std::vector<std::uint8_t> paperBytes(const std::array<std::int32_t, 3>& values) {
    std::vector<std::uint8_t> bytes;
    for (std::int32_t v : values)
        for (int i = 0; i < 4; ++i)
            bytes.push_back(static_cast<std::uint8_t>((static_cast<std::uint32_t>(v) >> (8 * i)) & 0xFF));
    return bytes;
}

} // namespace

CMorvelanAppBase::CMorvelanAppBase() {
    m_Com = kDefaultCom;
    m_IpAddress = kDefaultIp;
    m_TcpPort = kDefaultPort;
}

int CMorvelanAppBase::ReadRegistrySettings() {
    const auto machine = mv::SettingsKey::open(mv::SettingsRoot::Machine, kRegistryKey);
    if (!machine)
        return 0;
    const auto install = machine->readText("Install");
    if (!install || install->empty())
        return 0;
    m_ProgramDir = install->substr(0, 255);

    // The language table comes from the machine-wide program folder; a per-user Install read
    // afterwards replaces the folder for everything that follows.
    m_Language.SetProgramDirectory(m_ProgramDir);
    if (const auto user = mv::SettingsKey::open(mv::SettingsRoot::User, kRegistryKey)) {
        // A value that is missing keeps the new-key default.
        m_Com = static_cast<int>(user->readDword("COM").value_or(kDefaultCom));
        const std::string language =
            user->readText("Sprache").value_or(mv::CLanguage::kFallbackLanguage);
        if (m_Language.Load(language) != 1)
            return 0;
        if (const auto paper = user->readBinary("Papersize"); paper && paper->size() >= 12) {
            for (std::size_t i = 0; i < 3; ++i) {
                std::uint32_t v = 0;
                for (int b = 3; b >= 0; --b)
                    v = (v << 8) | (*paper)[4 * i + static_cast<std::size_t>(b)];
                m_PaperSize[i] = static_cast<std::int32_t>(v);
            }
        }
        m_IpAddress = user->readDword("TcpIp").value_or(kDefaultIp);
        m_TcpPort = static_cast<int>(user->readDword("Port").value_or(kDefaultPort));
        if (const auto mode = user->readDword("Printmode"))
            m_PrintMode = static_cast<int>(*mode);
        if (const auto own = user->readText("Install"); own && !own->empty()) {
            m_ProgramDir = own->substr(0, 255);
            m_Language.SetProgramDirectory(m_ProgramDir);
        }
        return 1;
    }
    mv::SettingsKey::open(mv::SettingsRoot::User, kRegistryKey, true);
    m_Com = kDefaultCom;
    m_PaperSize = kDefaultPaperSize;
    m_IpAddress = kDefaultIp;
    m_TcpPort = kDefaultPort;
    m_PrintMode = kDefaultPrintMode;
    return m_Language.Load(mv::CLanguage::kFallbackLanguage) == 1 ? 1 : 0;
}

bool CMorvelanAppBase::WriteRegistrySettings() {
    const auto user = mv::SettingsKey::open(mv::SettingsRoot::User, kRegistryKey, true);
    if (!user)
        return false;
    mv::IniBatch batch;
    bool ok = user->writeDword("COM", static_cast<std::uint32_t>(m_Com));
    ok = user->writeText("Sprache", m_Language.LanguageName()) && ok;
    ok = user->writeBinary("Papersize", paperBytes(m_PaperSize)) && ok;
    ok = user->writeDword("TcpIp", m_IpAddress) && ok;
    ok = user->writeDword("Port", static_cast<std::uint32_t>(m_TcpPort)) && ok;
    ok = user->writeDword("Printmode", static_cast<std::uint32_t>(m_PrintMode)) && ok;
    return batch.commit() && ok;
}

void CMorvelanAppBase::ReadIniSettings() {
    const std::string f = ProgramFile(kSettingsFileName);
    const char* file = f.c_str();
    m_Ini.toolbarOption = mv::GetPrivateProfileIntA("SETUP", "T", 0, file);
    m_Ini.memory = mv::GetPrivateProfileIntA("Setup", "MEM", 0, file);
    m_Ini.stepTimer = mv::GetPrivateProfileIntA("Setup", "TIMER", 500, file);
    m_Ini.onlineTimer = mv::GetPrivateProfileIntA("Setup", "ONLINETIMER", 10, file);
    m_Ini.maximised = mv::GetPrivateProfileIntA("Setup", "MAX", 0, file);
    m_Ini.serInfo = mv::GetPrivateProfileIntA("Setup", "SERINFO", 1, file);
    char doku[10];
    mv::GetPrivateProfileStringA("Setup", "Doku", "PDF", doku, sizeof doku, file);
    m_Ini.doku = doku;
    m_Ini.clearArp = mv::GetPrivateProfileIntA("Setup", "CLEAR_ARP", 0, file);
    m_Ini.history = mv::GetPrivateProfileIntA("Setup", "HISTORY", 0, file);
    m_Ini.logo = mv::GetPrivateProfileIntA("Setup", "LOGO", 1, file);
    m_Ini.loadLast = mv::GetPrivateProfileIntA("Setup", "LOADLAST", 0, file);
    m_Ini.writeTimeout = mv::GetPrivateProfileIntA("Setup", "WRITETIMEOUT", 5000, file);
    m_SerInfo = m_Ini.serInfo;
    m_ClearArp = m_Ini.clearArp;
}

const std::string& CMorvelanAppBase::GetOSName() {
    m_OsName = mv::operatingSystemName();
    return m_OsName;
}

std::string CMorvelanAppBase::ProgramFile(const std::string& name) const {
    return mv::iniResolvePath(mv::joinPath(m_ProgramDir, name));
}

std::string CMorvelanAppBase::FindModuleDocumentation(const std::string& typeName) const {
    const int index = m_Catalogue.FindByName(typeName);
    if (typeName.empty() || index < 0)
        return {};
    const std::string base = ProgramFile("Modul/pdf") + "/" + m_Catalogue[index]->m_Doku;
    for (int n = 20; n >= 0; --n) {
        char number[16];
        std::snprintf(number, sizeof number, "%04d.pdf", n);
        const std::string path = mv::iniResolvePath(base + number);
        struct stat st {};
        if (::stat(path.c_str(), &st) == 0 && S_ISREG(st.st_mode))
            return path;
    }
    return {};
}

int CMorvelanAppBase::ScanCatalogue(const ModuleScanProgress& progress) {
    setModuleDescriptionContext({m_ProgramDir, m_Language.LanguageName()});
    return m_Catalogue.Scan(m_ProgramDir, m_Language.LanguageName(), progress, mv::processClock());
}

void CMorvelanAppBase::CountIdle() {
    if (m_IdleCounter > 0)
        --m_IdleCounter;
}
