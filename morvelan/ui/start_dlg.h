// The start dialogs: a picture and one line of text that shows which module description file
// is being read. They scan the catalogue once they have been painted, then close themselves.
// CStartDlg (template 138, large picture 196) also writes the program's version on the
// picture; CStart2Dlg (template 197, small picture 198) does not.
#pragma once

#include "catalogue/module_description.h"
#include "xui/xdialog.h"

#include <QTimer>

#include <functional>
#include <string>

constexpr int IDD_START = 138;
constexpr int IDD_START2 = 197;
constexpr int IDB_START = 196;
constexpr int IDB_START2 = 198;
constexpr int IDC_START_TEXT = 1000;
constexpr int IDC_START_PICTURE = 1001;
// Timer 1 of the start dialogs.
constexpr int kStartTimerMs = 10;
// Ticks after which the scan runs even when the dialog was never painted (no display).
constexpr int kStartTicksWithoutPaint = 50;
constexpr const char* kReadingFileText = "Reading File : ";

// The scan a start dialog runs: reads the catalogue, calling progress with each file name.
using StartScan = std::function<int(const ModuleScanProgress& progress)>;

// The two templates (registered with the dialog builder by RegisterStartTemplates).
const xui::DialogTemplate& startDlgTemplate();
const xui::DialogTemplate& start2DlgTemplate();
void RegisterStartTemplates();

class CStartBaseDlg : public xui::CXDialog {

public:
    CStartBaseDlg(const xui::DialogTemplate& tmpl, int pictureId, StartScan scan,
                  QWidget* parent);

    bool painted() const { return m_Painted; }
    // The text control's current text (Windows-1252).
    std::string statusText() const;

protected:
    bool OnInitDialog() override;
    void OnPaint(mv::Canvas& dc) override;
    // Drawn over the picture at the first tick after the first paint.
    virtual void DrawOverPicture(mv::Canvas& /*dc*/) {}
    virtual void OnFirstTick() {}

private:
    void OnTimer();

    int m_PictureId;
    StartScan m_Scan;
    QTimer m_Timer;
    bool m_Painted = false;
    bool m_Done = false;
    int m_Ticks = 0;
};

class CStartDlg : public CStartBaseDlg {

public:
    CStartDlg(std::string version, StartScan scan, QWidget* parent = nullptr);
    // "Version " followed by the program's version.
    std::string versionText() const { return "Version " + m_Version; }
    bool versionShown() const { return m_ShowVersion; }

protected:
    void DrawOverPicture(mv::Canvas& dc) override;
    void OnFirstTick() override;

private:
    std::string m_Version;
    bool m_ShowVersion = false;
};

class CStart2Dlg : public CStartBaseDlg {

public:
    explicit CStart2Dlg(StartScan scan, QWidget* parent = nullptr);
};
