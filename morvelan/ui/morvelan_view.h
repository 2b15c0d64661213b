// CMorvelanView: the main view in the right pane. A scroll area whose viewport holds the tile
// windows and six buttons: scrolling moves them with the picture. It shows the selected tile's
// station as a rack or a list, or the project page when nothing is selected; it steps the
// station's outputs through prepared step files and exports the rack as an EMF file. The
// background is 0xDEBF97.
#pragma once

#include "platform/canvas.h"

#include <QAbstractScrollArea>
#include <QTimer>

#include <map>
#include <optional>
#include <string>

class CMainFrame;
class CModuleTile;
class CStation;

namespace xui {
class CXButton;
}

constexpr mv::COLORREF kViewBackground = 0xDEBF97;

// The view's buttons.
constexpr int IDC_VIEW_RACK = 10005;
constexpr int IDC_VIEW_LIST = 10006;
constexpr int IDC_VIEW_HEX = 10007;
constexpr int IDC_VIEW_SCALED = 10008;
constexpr int IDC_VIEW_STEP = 10009;
constexpr int IDC_VIEW_AUTOSTEP = 10010;
constexpr int kViewButtonCount = 6;
constexpr int kViewButtonWidth = 100;
constexpr int kViewButtonHeight = 30;
// Timer of the automatic output steps.
constexpr int kStepTimerId = 10;
// Bitmap resources of the project page.
constexpr int IDB_PROJECT_PAGE = 1038;
constexpr int IDB_PROJECT_LOGO = 133;
// What one output frame carries.
constexpr int kMaxOutputBytes = 253;

class CMorvelanView : public QAbstractScrollArea {
    Q_OBJECT

public:
    CMorvelanView(CMainFrame& frame, QWidget* parent);
    ~CMorvelanView() override;

    // Rack layout of every station: layout mode 1, every tile placed at the rack pitch behind
    // its station's head, then all tiles hidden and unhighlighted (drawing shows the selected
    // station's).
    void LayoutRack();
    // List layout of every station: layout mode 2, one row per tile, scroll size by the
    // longest station; all tiles hidden.
    void LayoutList();
    // Brings the view's widgets up to date with what it is to show, then repaints.
    void Invalidate();
    // The state the next paint shows: scroll size, buttons, tiles shown or hidden, list rows
    // and labels. Qt allows no widget changes inside a paint, so this runs before it.
    void PrepareDraw();
    // Draws the view's own picture (the tiles are child windows and draw themselves). Logical
    // coordinates: the caller has moved the origin by the scroll position.
    void OnDraw(mv::Canvas& dc);

    // A click of one of the six buttons (or the command sent as by it).
    void OnCommand(int id);
    // One output step of the selected tile's station.
    void StepOutputs();
    void ToggleAutoStep();
    void StopAutoStep();
    // The step timer's tick: steps while stepping is enabled.
    void OnTimer(int id);
    void ResetDisplayFlags();
    void PauseStepping() { m_SteppingEnabled = 0; }
    void ResumeStepping() { m_SteppingEnabled = 1; }
    int IsPollingEnabled() const { return m_SteppingEnabled; }
    // Forgets what the live drawing has on screen, so the next one draws everything.
    void ClearLiveCaches();
    // Writes the rack picture of the selected tile's station (else the first station) as an
    // EMF file; false with the reason when it could not be written.
    bool ExportEmf(const std::string& path, std::string* error = nullptr);
    // The export command: a file chosen with the save dialog, then ExportEmf; a failure is
    // shown with the file and its cause.
    void OnExportEmf();

    int DisplayScaled() const { return m_Scaled; }
    int DisplayHex() const { return m_Hex; }
    int AutoStepRunning() const { return m_AutoStepRunning; }
    xui::CXButton* Button(int id) const;
    QTimer& StepTimer() { return stepTimer_; }

    // The initial update for each document: scroll position at the origin, scroll sizes
    // 100 x 100.
    void OnInitialUpdate();
    void SetScrollSizes(int width, int height);
    QSize ScrollSize() const { return scrollSize_; }
    int HorizontalScroll() const;
    int VerticalScroll() const;
    // The widget the tile windows live in.
    QWidget* TileParent() const;

    int m_SteppingEnabled = 1;
    int m_AutoStepRunning = 0;
    int m_Scaled = 1;
    int m_Hex = 0;

protected:
    bool viewportEvent(QEvent* event) override;
    void paintEvent(QPaintEvent* event) override;
    void resizeEvent(QResizeEvent* event) override;
    void scrollContentsBy(int dx, int dy) override;

private:
    void UpdateScrollBars();
    void CreateButtons();
    void ShowButtons(bool rack, bool list, bool hex, bool scaled, bool step, bool autoStep);
    void PrepareRack(CStation& station);
    void PrepareList(CStation& station);
    void DrawProjectPage(mv::Canvas& dc);
    void DrawRack(mv::Canvas& dc, CStation& station);
    void DrawList(mv::Canvas& dc, CStation& station);
    void DrawStationTitle(mv::Canvas& dc, CStation& station);
    CStation* ShownStation() const;
    // A picture below the program folder, read once; null when it cannot be read.
    const mv::PixelImage* Picture(const std::string& relative);

    CMainFrame& frame_;
    QSize scrollSize_{100, 100};
    xui::CXButton* buttons_[kViewButtonCount] = {};
    QTimer stepTimer_;
    std::map<std::string, std::optional<mv::PixelImage>> pictures_;
};

// A board's picture in the exported rack: its connector file at (x, 84) and its description
// turned to run upwards at (y, 450). Heads draw nothing.
void DrawTilePicture(const CModuleTile& tile, mv::Canvas& dc, int x, int y,
                     const std::string& programDir);

// The step file of a module below the program folder: "Modul/fertigung/<description>.out".
std::string StepFilePath(const std::string& programDir, const std::string& description);
