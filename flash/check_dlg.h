// The Check window: the check of a running controller in a small modal dialog. Its list box
// draws each "label\tvalue" line itself: the label at the left, the value right-aligned.
#pragma once

#include "flash/loader/check_run.h"
#include "platform/canvas.h"
#include "xui/dialog_builder.h"

#include <QDialog>
#include <QListWidget>

#include <string>
#include <string_view>

class QLabel;

namespace flash {

class CX740FlashApp;

class CCheckListBox : public QListWidget {
    Q_OBJECT

public:
    static constexpr int kItemHeight = 14;
    static constexpr int kLabelX = 5;
    static constexpr int kValueX = 150;
    static constexpr int kTextY = 1;

    explicit CCheckListBox(QWidget* parent = nullptr);
    // One item: the fill, the label, the value and the focus rectangle.
    static void DrawItem(mv::Canvas& canvas, const mv::RECT& rect, std::string_view line,
                         bool selected, bool focused);
};

class CCheckDlg : public QDialog, public ICheckSink {
    Q_OBJECT

public:
    static constexpr int kTemplateId = 101;
    static constexpr int kListId = 1000;
    static constexpr int kStatusId = 1001;
    static constexpr int kCheckTimer = 1;
    static constexpr int kCheckDelayMs = 1000;

    CCheckDlg(CX740FlashApp& app, QWidget* parent = nullptr);

    // The permanent address of the controller to check.
    std::string m_Address;

    void AddLine(const std::string& text) override;
    void SetStatus(const std::string& text) override;

    CCheckListBox* List() const { return m_List; }
    QLabel* Status() const { return m_Status; }
    // The control of an id (1000 the list, 1001 the status, 1 OK); null when there is none.
    QWidget* Item(int id) const;

protected:
    void showEvent(QShowEvent* event) override;
    void timerEvent(QTimerEvent* event) override;

private:
    CX740FlashApp& m_App;
    xui::BuiltDialog m_Built;
    CCheckListBox* m_List = nullptr;
    QLabel* m_Status = nullptr;
    int m_TimerId = 0;
    bool m_Started = false;
};

// Registers the Check window with the program's windows.
void RegisterCheckDialog();

} // namespace flash
