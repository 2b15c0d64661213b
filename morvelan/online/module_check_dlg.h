// CModuleCheckDlg: the production state of every module of the current station, as the check
// list file Modul/fertigung/Version.dat records it for the module's type. The check runs at the
// first tick of the dialog's timer; it also writes the check date (and the first state field of
// a board) into the tiles' slider label lines.
#pragma once

#include "xui/xdialog.h"

#include <ctime>
#include <functional>
#include <string>
#include <vector>

class CModuleTile;
class QTimer;

namespace mv {
class Clock;
}

namespace xui {
class CInfoListBox;
}

namespace morvelan {

constexpr int kModuleCheckTemplate = 187;
constexpr int kCheckList = 1122;
constexpr int kCheckTimerMs = 250;
constexpr int kCheckEndWaitMs = 50;
// Characters of a slider label line (one more holds the end of the text).
constexpr int kSliderLineChars = 11;

const xui::DialogTemplate& moduleCheckTemplate();

// The check list file below a program folder, its folders found without regard to case.
std::string VersionFilePath(const std::string& programDir);

// The date text of a check: two-digit year, week of the year (Sunday first) plus one as two
// digits, and the weekday digit (0 Sunday).
std::string CheckDateText(const std::tm& date);

// Runs the check over the tiles of a station: returns the list lines and writes the tiles'
// slider label lines.
std::vector<std::string> RunModuleCheck(const std::string& versionFile,
                                        const std::vector<CModuleTile*>& tiles,
                                        const std::string& dateText);

class CModuleCheckDlg : public xui::CXDialog {
    Q_OBJECT

public:
    // `tiles`: the current station's tiles in order (none when no tile is selected).
    CModuleCheckDlg(std::string programDir, std::vector<CModuleTile*> tiles,
                    QWidget* parent = nullptr);

    // The local date of the check and the clock of its closing wait (tests inject both).
    void SetDateSource(std::function<std::tm()> source) { dateSource_ = std::move(source); }
    void SetClock(mv::Clock* clock) { clock_ = clock; }

    xui::CInfoListBox* list() const;
    QTimer* checkTimer() const { return timer_; }
    // One tick of timer 1 (what the timer does when it fires).
    void OnTimer();

protected:
    bool OnInitDialog() override;

private:
    std::string programDir_;
    std::vector<CModuleTile*> tiles_;
    std::function<std::tm()> dateSource_;
    mv::Clock* clock_ = nullptr;
    QTimer* timer_ = nullptr;
};

} // namespace morvelan
