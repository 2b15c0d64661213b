// COnlineSetDlg: the window in which the user types new values for the channels of one module
// while online. Its own window class "ONLINEMODULSETDATA" (COnlineModulSetData) holds one edit
// per channel, filled with the channels' current values; when the dialog ends, however it ends,
// every edit is read back into its channel's value. A trailing "h" or "H" marks a hex entry.
#pragma once

#include "xui/xdialog.h"

#include <QWidget>

#include <string>
#include <vector>

class CChannelModule;
class CModuleDescription;
class QLineEdit;
class QScrollBar;

namespace morvelan {

constexpr int kOnlineSetTemplate = 167;
constexpr int kSetWindow = 1047;
constexpr int kSetNumberLabel = 1012;
constexpr int kSetNameLabel = 1009;
constexpr int kSetFirstEdit = 1000;
constexpr int kSetMaxRows = 255;
constexpr int kSetRowHeight = 30;
constexpr int kTextModuleNumber = 10004;
inline constexpr const char* kOnlineModulSetDataClass = "ONLINEMODULSETDATA";

const xui::DialogTemplate& onlineSetTemplate();

// Registers the window class "ONLINEMODULSETDATA" (done once at program start).
bool RegisterOnlineModulSetDataClass();

// The text an edit stores into its channel: "<hex>h" becomes the decimal text and "l" ("%ul";
// hex past 32 bits saturates at FFFFFFFF), any other text stays as it is.
std::string SetEditText(const std::string& typed);

class COnlineModulSetData : public QWidget {
    Q_OBJECT

public:
    explicit COnlineModulSetData(QWidget* parent = nullptr);
    ~COnlineModulSetData() override;

    void SetModule(CChannelModule* module) { module_ = module; }
    // Builds one edit per channel (at most 255) beside the dialog's name label.
    void CreateValueEdits();
    // Reads every edit back into its channel's value (once).
    void ParseBack();

    QScrollBar* scrollBar() const { return scroll_; }
    int EditCount() const { return static_cast<int>(edits_.size()); }
    QLineEdit* Edit(int i) const { return edits_.at(static_cast<std::size_t>(i)); }
    int FirstVisibleRow() const { return firstRow_; }
    int FocusIndex() const { return focus_; }
    // The do-nothing timer started by the first paint (0 before).
    int TimerId() const { return timerId_; }

    // A scroll bar action: line up or line down; every other action changes nothing.
    void OnVScroll(int action);

protected:
    bool eventFilter(QObject* watched, QEvent* event) override;
    void focusInEvent(QFocusEvent* event) override;
    void paintEvent(QPaintEvent* event) override;
    void resizeEvent(QResizeEvent* event) override;
    void timerEvent(QTimerEvent* event) override;

private:
    void PlaceEdits();

    QScrollBar* scroll_ = nullptr;
    CChannelModule* module_ = nullptr;
    std::vector<QLineEdit*> edits_;
    int editLeft_ = 0;
    int firstRow_ = 0;
    int focus_ = 0;
    int painted_ = 0;
    int timerId_ = 0;
    bool parsed_ = false;
};

class COnlineSetDlg : public xui::CXDialog {
    Q_OBJECT

public:
    // `moduleNumber` below 0 leaves the number label empty; `row` is the clicked channel row.
    COnlineSetDlg(const CModuleDescription* description, int moduleNumber, int row,
                  CChannelModule* module, QWidget* parent = nullptr);

    COnlineModulSetData* setWindow() const;
    int ClickedRow() const { return row_; }

    // Ends the dialog; the edits are read back into the module first.
    void done(int result) override;

protected:
    bool OnInitDialog() override;
    void OnPaint(mv::Canvas& dc) override;

private:
    const CModuleDescription* description_;
    int moduleNumber_;
    int row_;
    CChannelModule* module_;
};

} // namespace morvelan
