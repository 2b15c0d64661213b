#include "morvelan/ui/morvelan_view.h"

#include "portwire/include/Portwire.h"
#include "catalogue/module_description.h"
#include "morvelan/core/app_hooks.h"
#include "morvelan/core/param_number.h"
#include "morvelan/core/station.h"
#include "morvelan/ui/main_frame.h"
#include "morvelan/ui/morvelan_app.h"
#include "platform/bmp_reader.h"
#include "platform/win_path.h"
#include "xui/colorref.h"
#include "xui/command.h"
#include "xui/message_dlg.h"
#include "xui/qt_canvas.h"
#include "xui/qt_text.h"
#include "xui/xbutton.h"

#include <QPainter>
#include <QScrollBar>

#include <array>

namespace {

constexpr int kLayoutRack = 1;
constexpr int kLayoutList = 2;
constexpr int kListTop = 150;
constexpr int kListLeft = 20;
constexpr int kListRight = 600;
constexpr int kListRowHeight = 20;

// Language texts of the rack and list buttons.
constexpr int kTextRackButton = 10015;
constexpr int kTextListButton = 10016;

struct ButtonSpec {
    int id;
    int textNo; // 0: the fixed text
    const char* text;
    bool toggle;
};
constexpr std::array<ButtonSpec, kViewButtonCount> kButtons = {{
    {IDC_VIEW_RACK, kTextRackButton, "", false},
    {IDC_VIEW_LIST, kTextListButton, "", false},
    {IDC_VIEW_HEX, 0, "HEX", true},
    {IDC_VIEW_SCALED, 0, "Skaliert", true},
    {IDC_VIEW_STEP, 0, "Step", false},
    {IDC_VIEW_AUTOSTEP, 0, "AutoStep", true},
}};

} // namespace

std::string StepFilePath(const std::string& programDir, const std::string& description) {
    return mv::joinPath(programDir, "Modul/fertigung/" + description + ".out");
}

CMorvelanView::CMorvelanView(CMainFrame& frame, QWidget* parent)
    : QAbstractScrollArea(parent), frame_(frame) {
    setObjectName(QStringLiteral("CMorvelanView"));
    viewport()->setObjectName(QStringLiteral("rack"));
    viewport()->setAutoFillBackground(false);
    stepTimer_.setTimerType(Qt::CoarseTimer);
    connect(&stepTimer_, &QTimer::timeout, this, [this] { OnTimer(kStepTimerId); });
    CreateButtons();
    UpdateScrollBars();
    frame_.Commands().Register(ID_OUTPUT_STEP, [this] { StepOutputs(); });
    frame_.Commands().Register(ID_FILE_EXPORT_EMF, [this] { OnExportEmf(); });
    // A message dialog holds the stepping while it is open.
    xui::MessageDlgConfig config = xui::messageDlgConfig();
    config.hooks.push_back(xui::MessagePauseHook{
        [this] {
            const bool was = m_SteppingEnabled != 0;
            PauseStepping();
            return was;
        },
        [this] { ResumeStepping(); }});
    xui::setMessageDlgConfig(config);
}

CMorvelanView::~CMorvelanView() {
    // The hooks that reach this view go with it.
    xui::MessageDlgConfig config = xui::messageDlgConfig();
    config.hooks = xui::mainProgramMessageConfig().hooks;
    xui::setMessageDlgConfig(config);
}

void CMorvelanView::CreateButtons() {
    for (int i = 0; i < kViewButtonCount; ++i) {
        const ButtonSpec& wanted = kButtons[static_cast<std::size_t>(i)];
        const std::string text = wanted.textNo ? mv::appHooks().LanguageText(wanted.textNo)
                                             : std::string(wanted.text);
        auto* button = new xui::CXButton(viewport(), xui::fromCp1252(text));
        xui::setControlId(button, wanted.id);
        if (wanted.toggle)
            button->SetToggle();
        button->setGeometry(i * kViewButtonWidth, 0, kViewButtonWidth, kViewButtonHeight);
        // Hidden until PrepareDraw says what the view shows, the first paint included.
        button->hide();
        buttons_[i] = button;
    }
}

xui::CXButton* CMorvelanView::Button(int id) const {
    const int index = id - IDC_VIEW_RACK;
    return index >= 0 && index < kViewButtonCount ? buttons_[index] : nullptr;
}

QWidget* CMorvelanView::TileParent() const {
    return viewport();
}

int CMorvelanView::HorizontalScroll() const {
    return horizontalScrollBar()->value();
}

int CMorvelanView::VerticalScroll() const {
    return verticalScrollBar()->value();
}

void CMorvelanView::OnInitialUpdate() {
    horizontalScrollBar()->setValue(0);
    verticalScrollBar()->setValue(0);
    SetScrollSizes(100, 100);
}

void CMorvelanView::SetScrollSizes(int width, int height) {
    if (scrollSize_ == QSize(width, height))
        return;
    scrollSize_ = QSize(width, height);
    UpdateScrollBars();
}

void CMorvelanView::UpdateScrollBars() {
    const QSize area = viewport()->size();
    horizontalScrollBar()->setRange(0, std::max(0, scrollSize_.width() - area.width()));
    horizontalScrollBar()->setPageStep(std::max(1, area.width()));
    verticalScrollBar()->setRange(0, std::max(0, scrollSize_.height() - area.height()));
    verticalScrollBar()->setPageStep(std::max(1, area.height()));
}

void CMorvelanView::resizeEvent(QResizeEvent* event) {
    QAbstractScrollArea::resizeEvent(event);
    UpdateScrollBars();
}

void CMorvelanView::scrollContentsBy(int dx, int dy) {
    // The tiles and buttons move with the picture, as child windows of a scrolled window do,
    // hidden ones too: a tile's place follows its window, so showing it again never moves it.
    CMorvelanDoc& doc = frame_.Doc();
    for (int s = 0; s < doc.StationCount(); ++s) {
        CStation* station = doc.Station(s);
        for (int j = 0; j < station->TileCount(); ++j) {
            CModuleTile* tile = station->Tile(j);
            tile->x += dx;
            tile->y += dy;
        }
    }
    // A horizontal scroll redraws everything.
    viewport()->scroll(dx, dy);
    viewport()->update();
}

bool CMorvelanView::viewportEvent(QEvent* event) {
    if (event->type() == xui::CommandEvent::eventType()) {
        OnCommand(static_cast<xui::CommandEvent*>(event)->id());
        return true;
    }
    return QAbstractScrollArea::viewportEvent(event);
}

void CMorvelanView::OnCommand(int id) {
    CMorvelanApp& app = frame_.App();
    switch (id) {
    case IDC_VIEW_RACK:
        if (app.m_LayoutMode != kLayoutRack) {
            LayoutRack();
            Invalidate();
        }
        break;
    case IDC_VIEW_LIST:
        if (app.m_LayoutMode != kLayoutList) {
            LayoutList();
            Invalidate();
        }
        break;
    case IDC_VIEW_HEX:
        m_Scaled = 0;
        m_Hex = m_Hex ? 0 : 1;
        Button(IDC_VIEW_SCALED)->ResetCheck();
        ClearLiveCaches();
        Invalidate();
        break;
    case IDC_VIEW_SCALED:
        m_Scaled = Button(IDC_VIEW_SCALED)->GetCheck();
        m_Hex = 0;
        Button(IDC_VIEW_HEX)->ResetCheck();
        ClearLiveCaches();
        Invalidate();
        break;
    case IDC_VIEW_STEP:
        StepOutputs();
        break;
    case IDC_VIEW_AUTOSTEP:
        ToggleAutoStep();
        break;
    default:
        break;
    }
}

void CMorvelanView::LayoutRack() {
    CMorvelanDoc& doc = frame_.Doc();
    frame_.App().m_LayoutMode = kLayoutRack;
    const int hs = HorizontalScroll();
    const int vs = VerticalScroll();
    for (int s = 0; s < doc.StationCount(); ++s) {
        CStation* station = doc.Station(s);
        if (station->TileCount() == 0)
            continue;
        CModuleTile* head = station->Tile(0);
        const int w = head->Module().width;
        head->m_DisplayMode = kTileRack;
        head->MoveTo(kRackLeft - hs, kRackTop - vs, w, kRackHeight, head->visible);
        for (int j = 1; j < station->TileCount(); ++j) {
            CModuleTile* tile = station->Tile(j);
            const int wj = tile->Module().width;
            tile->m_DisplayMode = kTileRack;
            tile->MoveTo((j - 1) * wj + w + kRackLeft - hs, kRackTop - vs, wj, kRackHeight,
                         tile->visible);
        }
    }
    doc.HideAllModules();
    for (int s = 0; s < doc.StationCount(); ++s) {
        CStation* station = doc.Station(s);
        for (int j = 0; j < station->TileCount(); ++j)
            station->Tile(j)->m_Highlight = 0;
    }
}

void CMorvelanView::LayoutList() {
    CMorvelanDoc& doc = frame_.Doc();
    frame_.App().m_LayoutMode = kLayoutList;
    const int hs = HorizontalScroll();
    const int vs = VerticalScroll();
    int longest = 0;
    for (int s = 0; s < doc.StationCount(); ++s) {
        CStation* station = doc.Station(s);
        int y = kListTop;
        for (int j = 0; j < station->TileCount(); ++j) {
            CModuleTile* tile = station->Tile(j);
            if (tile->m_Kind == kKindFlag2)
                continue;
            const int height = kListRowHeight * tile->Module().GetExtraListRows() + kListRowHeight;
            // Placed like the rack: minus the scroll position.
            tile->MoveTo(kListLeft - hs, y - vs, kListRight - kListLeft, height, tile->visible);
            y += height;
            tile->m_DisplayMode = kTileList;
            tile->m_OnlinePaintMark = 0;
        }
        longest = std::max(longest, y);
    }
    SetScrollSizes(800, longest + 150);
    doc.HideAllModules();
}

void CMorvelanView::ClearLiveCaches() {
    CMorvelanDoc& doc = frame_.Doc();
    for (int s = 0; s < doc.StationCount(); ++s) {
        CStation* station = doc.Station(s);
        for (int j = 0; j < station->TileCount(); ++j) {
            CModuleTile* tile = station->Tile(j);
            tile->m_OnlinePaintMark = 0;
            tile->Module().drawState = kDrawStateReset;
            tile->Refresh(1);
        }
    }
}

void CMorvelanView::ResetDisplayFlags() {
    m_Scaled = 1;
    m_Hex = 0;
    Button(IDC_VIEW_HEX)->update();
    Button(IDC_VIEW_SCALED)->ResetCheck();
}

void CMorvelanView::ToggleAutoStep() {
    if (m_AutoStepRunning) {
        m_AutoStepRunning = 0;
        stepTimer_.stop();
    } else {
        m_AutoStepRunning = 1;
        stepTimer_.start(std::max(1, frame_.App().m_Ini.stepTimer));
    }
}

void CMorvelanView::StopAutoStep() {
    if (!m_AutoStepRunning)
        return;
    Button(IDC_VIEW_AUTOSTEP)->ResetCheck();
    m_AutoStepRunning = 0;
    stepTimer_.stop();
}

void CMorvelanView::OnTimer(int id) {
    if (id == kStepTimerId && m_SteppingEnabled == 1)
        StepOutputs();
}

void CMorvelanView::StepOutputs() {
    CModuleTile* selected = frame_.SelectedTile();
    if (!selected)
        return;
    CStation* station = frame_.Doc().Station(selected->m_Station);
    if (!station)
        return;
    const std::string& dir = frame_.App().m_ProgramDir;
    for (int j = 0; j < station->TileCount(); ++j) {
        CModuleTile* tile = station->Tile(j);
        if (tile->Description())
            tile->Module().NextOutputStep(StepFilePath(dir, tile->Description()->m_Description));
    }
    std::array<std::uint8_t, kMaxOutputBytes> image{};
    int length = 0;
    for (int j = 1; j < station->TileCount(); ++j) {
        const int room = std::max(0, kMaxOutputBytes - length);
        int count = 0;
        std::uint8_t* at = image.data() + std::min(length, kMaxOutputBytes);
        station->Tile(j)->Module().PutOutputs(at, room, count);
        length += std::max(0, count);
    }
    if (length > kMaxOutputBytes) {
        // The frame's length byte cannot say this many: send nothing rather than a wrong image.
        StopAutoStep();
        xui::MessageRequest message;
        message.line1 = "The station's outputs exceed what one frame carries";
        message.line2 = mv::FormatC("%d of at most %d bytes", length, kMaxOutputBytes);
        message.caption = mv::appHooks().LanguageText(5000);
        message.bitmapId = 150;
        message.captionColor = xui::kCaptionRed;
        xui::ShowMessage(message);
        return;
    }
    A_SetOutputs(frame_.App().m_Link, length, image.data());
}

CStation* CMorvelanView::ShownStation() const {
    CMorvelanDoc& doc = frame_.Doc();
    CModuleTile* selected = frame_.SelectedTile();
    if (!selected || doc.StationCount() == 0)
        return nullptr;
    return doc.Station(selected->m_Station);
}

void CMorvelanView::ShowButtons(bool rack, bool list, bool hex, bool scaled, bool step,
                                bool autoStep) {
    const bool shown[kViewButtonCount] = {rack, list, hex, scaled, step, autoStep};
    for (int i = 0; i < kViewButtonCount; ++i)
        buttons_[i]->setVisible(shown[i]);
}

void CMorvelanView::PrepareDraw() {
    CMorvelanDoc& doc = frame_.Doc();
    CStation* shown = ShownStation();
    for (int s = 0; s < doc.StationCount(); ++s) {
        CStation* station = doc.Station(s);
        if (station == shown)
            continue;
        for (int j = 0; j < station->TileCount(); ++j)
            station->Tile(j)->Show(false);
    }
    if (!shown) {
        ShowButtons(false, false, false, false, false, false);
        SetScrollSizes(800, 600);
        return;
    }
    if (frame_.App().m_LayoutMode == kLayoutList)
        PrepareList(*shown);
    else
        PrepareRack(*shown);
}

void CMorvelanView::PrepareRack(CStation& station) {
    ShowButtons(true, true, false, false, false, false);
    const int n = station.TileCount();
    const int w = n > 0 ? station.Tile(0)->Module().width : 0;
    SetScrollSizes(n * kRackPitch + w + 20 + 200, 600);
    for (int j = 0; j < n; ++j) {
        CModuleTile* tile = station.Tile(j);
        tile->Show(true);
        tile->Refresh(0);
    }
}

void CMorvelanView::PrepareList(CStation& station) {
    const CMorvelanApp& app = frame_.App();
    const bool online = app.m_Online == 1;
    const bool steps = online && app.m_Ini.toolbarOption == 1;
    // The layout buttons stay, so the layout can always be switched back.
    ShowButtons(true, true, online, online, steps, steps);
    int module = -1;
    int lvds = 0;
    int row = 0;
    for (int j = 0; j < station.TileCount(); ++j) {
        CModuleTile* tile = station.Tile(j);
        tile->m_OnlinePaintMark = 0;
        if (tile->m_Kind == kKindFlag2) {
            tile->Show(false);
            continue;
        }
        tile->m_ListRow = ++row;
        if (tile->m_Kind == kKindFlag3) {
            ++lvds;
            tile->m_ListLabel = mv::FormatC("%d.1", module - 1);
            tile->m_ListNumber = lvds;
        } else {
            tile->m_ListLabel = mv::FormatC("%d", module);
            tile->m_ListNumber = lvds;
            ++module;
        }
        tile->Show(true);
        tile->Refresh(0);
    }
}

void CMorvelanView::Invalidate() {
    PrepareDraw();
    viewport()->update();
}

const mv::PixelImage* CMorvelanView::Picture(const std::string& relative) {
    const std::string path = mv::joinPath(frame_.App().m_ProgramDir, relative);
    auto it = pictures_.find(path);
    if (it == pictures_.end()) {
        mv::PixelImage image;
        std::optional<mv::PixelImage> entry;
        if (mv::ReadBmpFile(path, image))
            entry = std::move(image);
        it = pictures_.emplace(path, std::move(entry)).first;
    }
    return it->second ? &*it->second : nullptr;
}

void CMorvelanView::paintEvent(QPaintEvent* /*event*/) {
    QPainter painter(viewport());
    painter.fillRect(viewport()->rect(), xui::toQColor(kViewBackground));
    xui::QtCanvas dc(painter);
    dc.setViewportOrg(mv::POINT{-HorizontalScroll(), -VerticalScroll()});
    OnDraw(dc);
}
