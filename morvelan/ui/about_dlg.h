// The About box: the version texts of the program, the operating system and the version of
// every other deliverable in the program folder.
#pragma once

#include "morvelan/core/language.h"
#include "xui/xdialog.h"

#include <array>
#include <string>
#include <utility>
#include <vector>

namespace morvelan {

constexpr int IDD_ABOUTBOX = 100;
constexpr int IDC_ABOUT_NAMES = 1040;
constexpr int IDC_ABOUT_VALUES = 1041;
constexpr int IDC_ABOUT_ICON = 1138;
constexpr int kTextAboutCaption = 100;
constexpr int kTextAboutOk = 101;
constexpr std::size_t kVersionBufferSize = 8192;

// The program's version table: the five names in their order, each with its value.
using VersionTable = std::array<std::pair<std::string, std::string>, 5>;

// Reads the five texts of a file's version block (sub-block "\StringFileInfo\040704B0\<name>",
// at most `bufferSize` bytes of block); a text that cannot be read is empty.
void ReadVersionInfo(const std::string& file, std::size_t bufferSize, VersionTable& table);

// A deliverable listed by the About box: its label and its file in the program folder.
struct AboutDeliverable {
    const char* label;
    const char* file;
};
const std::vector<AboutDeliverable>& AboutDeliverables();
// The program's own file in the program folder.
constexpr const char* kProgramFile = "morvelan";

// The rows of the About box, names and values, for a program folder.
std::vector<std::pair<std::string, std::string>> AboutRows(const std::string& folder,
                                                           const std::string& osName);

xui::DialogTemplate aboutDlgTemplate();

class CAboutDlg : public xui::CXDialog {
    Q_OBJECT

public:
    CAboutDlg(const std::string& folder, const std::string& osName,
              const mv::CLanguage& language, QWidget* parent = nullptr);

protected:
    bool OnInitDialog() override;

private:
    std::string folder_;
    std::string osName_;
    const mv::CLanguage& language_;
};

} // namespace morvelan
