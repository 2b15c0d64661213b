// The History dialog of both programs: the release notes in a list box in a fixed-pitch font,
// with plain OK and Cancel buttons. A plain dialog, not the coloured dialog base.
#pragma once

#include "xui/dialog_builder.h"
#include "xui/dialog_template.h"

#include <QDialog>

#include <string>
#include <vector>

class QListWidget;

namespace xui {

constexpr int kHistoryList = 1122;
// The release-note table's slots: at most this many characters a line.
constexpr std::size_t kHistoryLineMax = 254;

// The History template's layout (459 x 215 dialog units) under an id and caption.
DialogTemplate historyDlgTemplate(int id, const char* caption);

class CHistoryDlg : public QDialog {
    Q_OBJECT

public:
    // Built from the registered template `templateId`; `lines` are Windows-1252 bytes.
    CHistoryDlg(int templateId, std::vector<std::string> lines, QWidget* parent = nullptr);

    // Fills the list and runs the dialog modally: 1 for OK, 2 for Cancel or a close.
    int DoModal();
    // Fills the list once (what DoModal does first).
    void OnInitDialog();

    QListWidget* list() const;
    QWidget* item(int id) const;

private:
    std::vector<std::string> lines_;
    BuiltDialog built_;
    bool initialised_ = false;
};

} // namespace xui
