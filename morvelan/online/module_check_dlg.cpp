#include "morvelan/online/module_check_dlg.h"

#include "catalogue/module_description.h"
#include "morvelan/core/module_tile.h"
#include "morvelan/core/param_number.h"
#include "platform/clock.h"
#include "platform/ini_file.h"
#include "platform/win_path.h"
#include "xui/info_list_box.h"

#include <QTimer>

#include <array>

namespace morvelan {

namespace {

constexpr const char* kCheckSection = "VERSION";
constexpr const char* kNoInformation = "-";
constexpr const char* kUnknownType = "Unknown";
// A value holds at most this many characters.
constexpr std::uint32_t kValueChars = 20;

// The fields of a value split at ";"; an empty field counts as missing.
std::array<std::string, 3> Fields(const std::string& value) {
    std::array<std::string, 3> out;
    std::size_t start = 0;
    for (std::string& field : out) {
        if (start > value.size())
            break;
        const std::size_t end = value.find(';', start);
        field = value.substr(start, end == std::string::npos ? std::string::npos : end - start);
        start = end == std::string::npos ? value.size() + 1 : end + 1;
    }
    return out;
}

// A slider label line that is empty or holds only the blank an empty label is saved as.
bool EmptyLine(const std::string& line) {
    return line.empty() || line == " ";
}

std::string Line(int index, const std::string& name, const char* state) {
    return mv::FormatC("%2d: %s", index, name.c_str()) + state;
}

} // namespace

const xui::DialogTemplate& moduleCheckTemplate() {
    using namespace mv;
    static const xui::DialogTemplate t = xui::modalDialogTemplate(
        kModuleCheckTemplate, "Etikett", 238, 135,
        {
            {"CInfoListBox", kCheckList, "", 7, 7, 139, 121,
             WS_CHILD | WS_VISIBLE | WS_TABSTOP | WS_BORDER | WS_VSCROLL},
            {"XBUTTON", IDOK, "OK", 156, 7, 75, 17,
             WS_CHILD | WS_VISIBLE | WS_TABSTOP | WS_DISABLED},
        });
    return t;
}

std::string VersionFilePath(const std::string& programDir) {
    return mv::resolvePath(mv::joinPath(programDir, "Modul/fertigung/Version.dat"));
}

std::string CheckDateText(const std::tm& date) {
    char year[8] = {};
    char week[8] = {};
    char day[8] = {};
    std::strftime(year, sizeof year, "%y", &date);
    std::strftime(week, sizeof week, "%U", &date);
    std::strftime(day, sizeof day, "%w", &date);
    return std::string(year) + mv::FormatC("%02d", static_cast<int>(mv::ParseLongC(week)) + 1) +
           day;
}

std::vector<std::string> RunModuleCheck(const std::string& versionFile,
                                        const std::vector<CModuleTile*>& tiles,
                                        const std::string& dateText) {
    std::vector<std::string> lines;
    for (std::size_t t = 0; t < tiles.size(); ++t) {
        CModuleTile* tile = tiles[t];
        if (!tile)
            continue;
        const int i = static_cast<int>(t);
        const CModuleDescription* d = tile->Description();
        const std::string name = d && !d->m_Description.empty() ? d->m_Description : kUnknownType;
        const std::string value =
            mv::iniReadString(versionFile, kCheckSection, name, kNoInformation, kValueChars + 1);
        const bool none = value == kNoInformation;
        const std::array<std::string, 3> f = Fields(value);
        const bool controller = tile->IsController() == 1;
        if (none) {
            lines.push_back(Line(i, name, "    No Info"));
        } else if (controller) {
            lines.push_back(Line(i, name, f[0].empty() ? "    No CPU Info" : "    CPU OK"));
            lines.push_back(Line(i, name, f[1].empty() ? "    No Power Info" : "    Power OK"));
            lines.push_back(
                Line(i, name, f[2].empty() ? "    No Fieldbus Info" : "    Fieldbus OK"));
        } else {
            lines.push_back(Line(i, name, f[0].empty() ? "    No FPGA Info" : "     FPGA OK"));
            lines.push_back(Line(i, name, f[1].empty() ? "    No HW Info" : "    HW OK"));
        }
        tile->m_Sliders[0] = dateText.substr(0, kSliderLineChars);
        if (!controller && !none && !f[0].empty() && EmptyLine(tile->m_Sliders[1]))
            tile->m_Sliders[1] = f[0].substr(0, kSliderLineChars);
        if (controller && none)
            tile->m_Sliders[1].clear();
    }
    return lines;
}

CModuleCheckDlg::CModuleCheckDlg(std::string programDir, std::vector<CModuleTile*> tiles,
                                 QWidget* parent)
    : xui::CXDialog(moduleCheckTemplate(), parent), programDir_(std::move(programDir)),
      tiles_(std::move(tiles)) {}

xui::CInfoListBox* CModuleCheckDlg::list() const {
    return itemAs<xui::CInfoListBox>(kCheckList);
}

bool CModuleCheckDlg::OnInitDialog() {
    xui::CXDialog::OnInitDialog();
    timer_ = new QTimer(this);
    timer_->setInterval(kCheckTimerMs);
    connect(timer_, &QTimer::timeout, this, &CModuleCheckDlg::OnTimer);
    timer_->start();
    return true;
}

void CModuleCheckDlg::OnTimer() {
    if (timer_) {
        if (!timer_->isActive())
            return; // one tick does the whole check
        timer_->stop();
    }
    std::tm date{};
    if (dateSource_) {
        date = dateSource_();
    } else {
        const std::time_t now = std::time(nullptr);
        localtime_r(&now, &date);
    }
    const std::vector<std::string> lines =
        RunModuleCheck(VersionFilePath(programDir_), tiles_, CheckDateText(date));
    if (xui::CInfoListBox* l = list()) {
        for (const std::string& line : lines)
            l->AddLine(line);
    }
    (clock_ ? *clock_ : mv::processClock()).sleep(kCheckEndWaitMs);
    if (QWidget* ok = item(mv::IDOK))
        ok->setEnabled(true);
    repaint();
}

} // namespace morvelan
