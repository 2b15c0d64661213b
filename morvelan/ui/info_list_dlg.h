// The information list of a controller: one line per entry, its number and its text. Opened
// by the online dialogs with polling and output stepping paused; every paint resumes both.
#pragma once

#include "xui/xdialog.h"

#include <functional>
#include <string>
#include <utility>
#include <vector>

class QListWidget;
class CMainFrame;

namespace morvelan {

constexpr int IDD_INFO_LIST = 194;
constexpr int IDC_INFO_LIST = 1122;
// Tab stops of the list, in dialog units.
constexpr int kInfoListTabStop = 32;

xui::DialogTemplate infoListDlgTemplate();

class CInfoListDlg : public xui::CXDialog {
    Q_OBJECT

public:
    using Entry = std::pair<int, std::string>;

    // With a frame, every paint resumes its polling.
    explicit CInfoListDlg(CMainFrame* frame = nullptr, QWidget* parent = nullptr);

    // The entries, set before DoModal (texts in Windows-1252 bytes).
    std::vector<Entry> m_Entries;
    // What every paint does: resume the frame's polling and the view's output stepping (the
    // frame's polling is set up by the constructor; the stepping is added by its owner).
    std::function<void()> m_ResumeOnPaint;

    QListWidget* list() const;
    // "%5d\t%s" of an entry.
    static std::string FormatEntry(const Entry& entry);

protected:
    bool OnInitDialog() override;
    void OnPaint(mv::Canvas& dc) override;
};

} // namespace morvelan
