#include "morvelan/ui/printer_list.h"

#include "platform/settings_store.h"
#include "xui/qt_text.h"

#include <QPrinterInfo>

namespace morvelan {
namespace {

const char* const kErrorText = "Error";

std::string At(const std::vector<std::string>& list, int index) {
    if (index < 0 || index >= static_cast<int>(list.size()))
        return kErrorText;
    return list[static_cast<std::size_t>(index)];
}

class SystemPrinterSource final : public IPrinterSource {
public:
    std::vector<PrinterInfo> Enumerate() override {
        std::vector<PrinterInfo> out;
        for (const QPrinterInfo& info : QPrinterInfo::availablePrinters()) {
            PrinterInfo p;
            p.name = xui::toCp1252(info.printerName());
            p.share = xui::toCp1252(info.description());
            p.location = xui::toCp1252(info.location());
            p.port = p.name;
            out.push_back(p);
        }
        return out;
    }
    std::string DefaultName() override {
        const QPrinterInfo info = QPrinterInfo::defaultPrinter();
        return info.isNull() ? std::string() : xui::toCp1252(info.printerName());
    }
    bool Exists(const std::string& name) override {
        return !QPrinterInfo::printerInfo(xui::fromCp1252(name)).isNull();
    }
};

} // namespace

std::unique_ptr<IPrinterSource> MakeSystemPrinterSource() {
    return std::make_unique<SystemPrinterSource>();
}

void CPrinterList::Enumerate(IPrinterSource& source) {
    m_Names.clear();
    m_Shares.clear();
    m_Locations.clear();
    m_Ports.clear();
    for (const PrinterInfo& p : source.Enumerate()) {
        m_Names.push_back(p.name);
        m_Shares.push_back(p.share);
        m_Locations.push_back(p.location);
        m_Ports.push_back(p.port);
    }
    m_Names.push_back(kPdfPrinterName);
    m_Shares.push_back(kPdfPrinterName);
    m_Locations.push_back("");
    m_Ports.push_back("");
}

std::string CPrinterList::GetName(int index) const { return At(m_Names, index); }

std::string CPrinterList::GetPort(int index) const { return At(m_Ports, index); }

bool CPrinterList::IsPdf(int index) const { return index == GetCount() - 1 && index >= 0; }

bool CPrinterSettings::Init(const CPrinterList& list, int index, IPrinterSource& source) {
    if (!Take(list, index, source))
        return false;
    Save();
    return true;
}

bool CPrinterSettings::Take(const CPrinterList& list, int index, IPrinterSource& source) {
    if (index < 0 || index >= list.GetCount())
        return false;
    const bool pdf = list.IsPdf(index);
    if (!pdf && !source.Exists(list.GetName(index)))
        return false;
    Become(list.GetName(index), pdf ? kSpoolerPdf : kSpoolerCups, list.GetPort(index));
    return true;
}

bool CPrinterSettings::InitByName(const std::string& name, IPrinterSource& source) {
    if (name.empty() || !source.Exists(name))
        return false;
    Become(name, kSpoolerCups, name);
    return true;
}

void CPrinterSettings::Become(const std::string& name, const std::string& spooler,
                              const std::string& port) {
    // The orientation belongs to the printer: kept while it stays the current one, taken from
    // the store when the store holds this printer, else the printer starts upright.
    if (name != m_DeviceName) {
        m_Orientation = kPortrait;
        const auto key = mv::SettingsKey::open(mv::SettingsRoot::User, kPrinterConfigKey);
        if (key && key->readText("PrinterName") == name &&
            key->readDword("Landscape") == static_cast<std::uint32_t>(kLandscape))
            m_Orientation = kLandscape;
    }
    m_DeviceName = name;
    m_Spooler = spooler;
    m_Port = port;
}

mv::SIZE CPrinterSettings::OrientedPage(mv::SIZE paper) const {
    return m_Orientation == kLandscape ? mv::SIZE{paper.cy, paper.cx} : paper;
}

bool CPrinterSettings::Save() const {
    if (!HasPrinter())
        return false;
    const auto key = mv::SettingsKey::open(mv::SettingsRoot::User, kPrinterConfigKey, true);
    if (!key)
        return false;
    return key->writeText("PrinterName", m_DeviceName) && key->writeText("Spooler", m_Spooler) &&
           key->writeText("Port", m_Port) &&
           key->writeDword("Landscape", static_cast<std::uint32_t>(m_Orientation));
}

} // namespace morvelan
