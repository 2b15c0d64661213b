// The "Status" window that shows the progress of a baud search opened with A_Open2.
#pragma once

#include <memory>

#include <QDialog>

#include "portwire/core/status_sink.h"

class QListWidget;

namespace portwire {

inline constexpr int kStatusDialogId = 3000;
inline constexpr int kStatusListId = 3000;

class CStatusDlg : public QDialog, public IStatusSink {
    Q_OBJECT
public:
    CStatusDlg();
    ~CStatusDlg() override;

    // Shows the window and returns once it is on the screen (or after a bounded wait).
    void ShowNow();
    // Appends the line and puts it on the screen at once, while the caller's work goes on
    // blocking the thread.
    void AddLine(const char* line) override;
    QListWidget* List() const { return list_; }

private:
    void PlaceAtOwner();
    QListWidget* list_;
};

// A shown "Status" window when the process has a QApplication and this is its thread, else
// null.
std::unique_ptr<IStatusSink> MakeStatusWindow();

} // namespace portwire
