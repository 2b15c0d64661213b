#include "morvelan/ui/about_dlg.h"

#include "morvelan/ui/program_icon.h"
#include "platform/version_block.h"
#include "platform/win_path.h"
#include "xui/qt_text.h"
#include "xui/window_class.h"

#include <QApplication>
#include <QLabel>
#include <QListWidget>

namespace morvelan {

namespace {

using namespace mv;

constexpr std::uint32_t kList = WS_CHILD | WS_VISIBLE | WS_TABSTOP | WS_VSCROLL;
constexpr const char* kVersionNames[5] = {"ProductName", "FileVersion", "CompanyName",
                                          "LegalCopyright", "ProductVersion"};

std::optional<VersionBlock> ReadBlock(const std::string& file, std::size_t bufferSize) {
    std::optional<VersionBlock> block = VersionBlock::fromFile(file);
    if (!block) {
        return std::nullopt;
    }
    std::size_t size = block->language().size() + 1;
    for (const auto& [name, value] : block->values()) {
        size += name.size() + value.size() + 2;
    }
    if (size > bufferSize) {
        return std::nullopt;
    }
    return block;
}

} // namespace

void ReadVersionInfo(const std::string& file, std::size_t bufferSize, VersionTable& table) {
    const std::optional<VersionBlock> block = ReadBlock(file, bufferSize);
    const std::string prefix = std::string("\\StringFileInfo\\") + kVersionLanguageBlock + "\\";
    for (std::size_t i = 0; i < table.size(); ++i) {
        table[i].first = kVersionNames[i];
        table[i].second.clear();
        if (block) {
            table[i].second = block->query(prefix + kVersionNames[i]).value_or("");
        }
    }
}

const std::vector<AboutDeliverable>& AboutDeliverables() {
    static const std::vector<AboutDeliverable> list{
        {"PORTWIRE.DLL", "libPortwire.so"},   {"X740_CORE.DLL", "libX740_Core.so"},
        {"X740PANEL.DLL", "X740Panel.so"},    {"X740_CAM.DLL", "libX740_Cam.so"},
        {"X740FLASH.EXE", "X740Flash"},
    };
    return list;
}

std::vector<std::pair<std::string, std::string>> AboutRows(const std::string& folder,
                                                           const std::string& osName) {
    std::vector<std::pair<std::string, std::string>> rows;
    VersionTable table;
    ReadVersionInfo(joinPath(folder, kProgramFile), kVersionBufferSize, table);
    rows.assign(table.begin(), table.end());
    rows.emplace_back("OS", osName);
    for (const AboutDeliverable& d : AboutDeliverables()) {
        ReadVersionInfo(joinPath(folder, d.file), kVersionBufferSize, table);
        rows.emplace_back(d.label, table[1].second);
    }
    return rows;
}

xui::DialogTemplate aboutDlgTemplate() {
    return xui::modalDialogTemplate(
        IDD_ABOUTBOX, "Info \xFC" "ber morvelan", 250, 180,
        {
            {"Static", IDC_ABOUT_ICON, "", 7, 7, 20, 20, WS_CHILD | WS_VISIBLE | SS_ICON},
            {"ListBox", IDC_ABOUT_NAMES, "", 34, 7, 80, 145, kList},
            {"ListBox", IDC_ABOUT_VALUES, "", 116, 7, 127, 145, kList},
            {"XBUTTON", IDOK, "OK", 186, 159, 57, 14, WS_CHILD | WS_VISIBLE | WS_TABSTOP},
        });
}

CAboutDlg::CAboutDlg(const std::string& folder, const std::string& osName,
                     const mv::CLanguage& language, QWidget* parent)
    : xui::CXDialog(IDD_ABOUTBOX, parent), folder_(folder), osName_(osName),
      language_(language) {}

bool CAboutDlg::OnInitDialog() {
    xui::CXDialog::OnInitDialog();
    auto* names = itemAs<QListWidget>(IDC_ABOUT_NAMES);
    auto* values = itemAs<QListWidget>(IDC_ABOUT_VALUES);
    for (const auto& [name, value] : AboutRows(folder_, osName_)) {
        if (names) {
            names->addItem(xui::fromCp1252(name));
        }
        if (values) {
            values->addItem(xui::fromCp1252(value));
        }
    }
    // The icon static takes the size of the icon it shows.
    if (auto* icon = itemAs<QLabel>(IDC_ABOUT_ICON)) {
        const QPixmap picture = QApplication::windowIcon().pixmap(kProgramIconShownSize);
        icon->setPixmap(picture);
        if (!picture.isNull()) {
            icon->resize(picture.size());
        }
    }
    xui::setWindowText(item(IDOK), xui::fromCp1252(language_.GetText(kTextAboutOk)));
    setWindowTitle(xui::fromCp1252(language_.GetText(kTextAboutCaption)));
    return true;
}

} // namespace morvelan
