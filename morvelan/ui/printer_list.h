// The printers: the print queues of the system in its order, then always the entry "PDF file"
// (a print into a file the user names). CPrinterList holds them as four lists (names, share
// names, locations, ports); CPrinterSettings is the application's current printer, kept in the
// per-user store under "PrinterConfig" whenever it changes.
#pragma once

#include "platform/gdi_types.h"

#include <memory>
#include <string>
#include <vector>

namespace morvelan {

inline constexpr const char* kPdfPrinterName = "PDF file";
inline constexpr const char* kSpoolerCups = "cups";
inline constexpr const char* kSpoolerPdf = "pdf";
inline constexpr const char* kPrinterConfigKey =
    "Software\\Local AppWizard-Generated Applications\\morvelan\\PrinterConfig";
// Orientation values of the store.
constexpr int kPortrait = 1;
constexpr int kLandscape = 2;

// One print queue as the system reports it.
struct PrinterInfo {
    std::string name;     // the queue's name (Windows-1252)
    std::string share;    // its description
    std::string location;
    std::string port;     // the queue name the spooler takes
};

// Where the printers come from; tests answer in place of the system.
class IPrinterSource {
public:
    virtual ~IPrinterSource() = default;
    // The queues in the system's order.
    virtual std::vector<PrinterInfo> Enumerate() = 0;
    // The default queue's name; empty when there is none.
    virtual std::string DefaultName() = 0;
    // True when the queue can take a job now.
    virtual bool Exists(const std::string& name) = 0;
};

// The queues Qt finds through CUPS.
std::unique_ptr<IPrinterSource> MakeSystemPrinterSource();

class CPrinterList {
public:
    // Reads the queues and appends the "PDF file" entry.
    void Enumerate(IPrinterSource& source);

    int GetCount() const { return static_cast<int>(m_Names.size()); }
    // The name and port of an index, or "Error" beyond the list.
    std::string GetName(int index) const;
    std::string GetPort(int index) const;
    // True for the "PDF file" entry.
    bool IsPdf(int index) const;

    std::vector<std::string> m_Names;
    std::vector<std::string> m_Shares;
    std::vector<std::string> m_Locations;
    std::vector<std::string> m_Ports;
};

// The current printer.
class CPrinterSettings {
public:
    bool HasPrinter() const { return !m_DeviceName.empty(); }
    bool IsPdf() const { return m_Spooler == kSpoolerPdf; }

    // Makes printer `index` of the list the current one when the source can use it (the PDF
    // entry always), then keeps it in the store. False (the old one stays) when it cannot.
    // Another printer than the current one comes with its own orientation: the stored one
    // when the store holds that printer, else portrait.
    bool Init(const CPrinterList& list, int index, IPrinterSource& source);
    // The same without writing the store (the start-up choice).
    bool Take(const CPrinterList& list, int index, IPrinterSource& source);
    // The queue of a name (the start-up default); false when the source does not know it.
    bool InitByName(const std::string& name, IPrinterSource& source);
    // A job's page on this printer: the paper's size (0.1 mm), turned when it prints landscape.
    mv::SIZE OrientedPage(mv::SIZE paper) const;
    // Writes PrinterName, Spooler, Port and Landscape; false when there is no printer or the
    // store cannot be written.
    bool Save() const;

    std::string m_DeviceName;
    std::string m_Spooler;
    std::string m_Port;
    int m_Orientation = kPortrait;

private:
    void Become(const std::string& name, const std::string& spooler, const std::string& port);
};

} // namespace morvelan
