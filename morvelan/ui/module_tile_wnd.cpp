#include "morvelan/ui/module_tile_wnd.h"

#include "morvelan/core/flag_module.h"
#include "morvelan/core/module_description.h"
#include "morvelan/core/param_number.h"
#include "morvelan/core/station.h"
#include "morvelan/ui/frame_seams.h"
#include "morvelan/ui/left_view.h"
#include "morvelan/ui/main_frame.h"
#include "morvelan/ui/morvelan_app.h"
#include "platform/bmp_reader.h"
#include "platform/win_path.h"
#include "xui/qt_canvas.h"

#include <QMouseEvent>
#include <QPainter>

#include <map>
#include <utility>
#include <optional>

namespace {

// Module IDs with their own connector pictures.
constexpr std::uint16_t kIdsStecker3[] = {7, 14, 15};
constexpr std::uint16_t kIdStecker4 = 643;

// Each connector file is read once; a file that cannot be read stays missing.
const mv::PixelImage* Connector(const std::string& path) {
    static std::map<std::string, std::optional<mv::PixelImage>> cache;
    auto it = cache.find(path);
    if (it == cache.end()) {
        mv::PixelImage image;
        std::optional<mv::PixelImage> entry;
        if (mv::ReadBmpFile(path, image))
            entry = std::move(image);
        it = cache.emplace(path, std::move(entry)).first;
    }
    return it->second ? &*it->second : nullptr;
}

class TileWindowHandle final : public mv::ITileWindow {
public:
    TileWindowHandle(CModuleTile& tile, CMainFrame& frame, QWidget* parent)
        : tile_(tile), tree_(frame.Tree()), window_(new CModuleTileWnd(tile, frame, parent)) {}
    ~TileWindowHandle() override {
        if (tree_)
            tree_->ForgetTile(&tile_);
        delete window_.data();
    }
    void Placed() override {
        if (window_)
            window_->Placed();
    }
    void Invalidate(int erase) override {
        if (window_)
            window_->Invalidate(erase);
    }

private:
    CModuleTile& tile_;
    QPointer<CLeftView> tree_;
    QPointer<CModuleTileWnd> window_;
};

} // namespace

std::unique_ptr<mv::ITileWindow> MakeTileWindow(CModuleTile& tile, CMainFrame& frame,
                                                QWidget* parent) {
    return std::make_unique<TileWindowHandle>(tile, frame, parent);
}

std::string ConnectorFile(const CModuleTile& tile) {
    const CModule& module = tile.Module();
    switch (tile.m_Kind) {
    case kKindFlag: {
        const auto* flag = dynamic_cast<const CFlagModule*>(&module);
        return flag && flag->m_Option == 1 ? "bmp/leer.bmp" : "bmp/stecker2.bmp";
    }
    case kKindParam:
    case kKindFlag2:
        return "bmp/leer.bmp";
    case kKindFlagAlt:
        return "bmp/unknown.bmp";
    case kKindFlag3:
        return "bmp/stecker3.bmp";
    default:
        break;
    }
    const std::uint16_t id = tile.Description() ? tile.Description()->m_Id : 0;
    for (std::uint16_t special : kIdsStecker3) {
        if (id == special)
            return "bmp/stecker3.bmp";
    }
    return id == kIdStecker4 ? "bmp/stecker4.bmp" : "bmp/stecker.bmp";
}

CModuleTileWnd::CModuleTileWnd(CModuleTile& tile, CMainFrame& frame, QWidget* parent)
    : QWidget(parent), tile_(tile), frame_(frame) {
    setObjectName(QStringLiteral("tile"));
    setAttribute(Qt::WA_NoSystemBackground);
    hide();
}

void CModuleTileWnd::Placed() {
    setGeometry(tile_.x, tile_.y, std::max(0, tile_.cx), std::max(0, tile_.cy));
    setVisible(tile_.visible);
}

void CModuleTileWnd::Invalidate(int erase) {
    if (erase == 1 && !image_.isNull())
        image_.fill(Qt::transparent);
    // A shown live tile draws what changed into its image at once; the window repaints only
    // when something was drawn.
    if (erase != 1 && tile_.m_Online == 1 && isVisible() && !image_.isNull()) {
        ClearOnNewLook();
        int drawn = 0;
        {
            QPainter into(&image_);
            xui::QtCanvas dc(into);
            Paint(dc);
            drawn = dc.drawCalls();
        }
        if (drawn == 0)
            return;
        drawnAhead_ = true;
    } else {
        drawnAhead_ = false;
    }
    update();
}

void CModuleTileWnd::Paint(mv::Canvas& dc) {
    if (tile_.m_DisplayMode == kTileRack)
        PaintRack(dc);
    else if (tile_.m_Kind != kKindFlag2)
        PaintList(dc);
}

void CModuleTileWnd::PaintRack(mv::Canvas& dc) {
    tile_.m_OnlinePaintMark = 0;
    if (tile_.m_Online == 1) {
        tile_.Module().DrawLiveState(dc, tile_.m_Slot);
        return;
    }
    if (tile_.IsController())
        return;
    const std::string path = mv::joinPath(frame_.App().m_ProgramDir, ConnectorFile(tile_));
    const mv::PixelImage* picture = Connector(path);
    if (!picture)
        return;
    const int left = tile_.m_Slot % 2 == 0 ? kConnectorLeftEven : kConnectorLeftOdd;
    dc.drawImage(left, kConnectorTop, *picture);
    if (tile_.m_Highlight == 0)
        return;
    mv::RECT r{left + 1, kConnectorTop + 1, left + picture->width - 1,
               kConnectorTop + picture->height - 1};
    dc.saveState();
    dc.selectBrush(mv::BrushDesc::null());
    dc.selectPen(mv::PenDesc{mv::PS_SOLID, 2, kHighlightRed});
    for (int i = 0; i < kHighlightRedFrames; ++i) {
        dc.rectangle(r);
        r.left += 1;
        r.right -= 1;
    }
    dc.selectPen(mv::PenDesc{mv::PS_SOLID, 2, kHighlightMerge});
    dc.setROP2(mv::R2_MERGEPEN);
    for (int i = 0; i < kHighlightMergeFrames; ++i) {
        dc.rectangle(r);
        r.left += 1;
        r.right -= 1;
    }
    dc.setROP2(mv::R2_COPYPEN);
    dc.restoreState();
}

void CModuleTileWnd::PaintList(mv::Canvas& dc) {
    CModule& module = tile_.Module();
    const bool controller = tile_.IsController() != 0;
    const std::string text = tile_.Description() ? tile_.Description()->m_Description : "";
    if (tile_.m_OnlinePaintMark == 0) {
        dc.selectPen(mv::PenDesc{mv::PS_SOLID, 1, 0});
        mv::COLORREF fill = kListWhite;
        if (tile_.m_Highlight)
            fill = kListHighlight;
        else if (controller)
            fill = kListGreen;
        else
            fill = tile_.m_ListRow % 2 == 0 ? kListWhite : kListGreen;
        dc.selectBrush(mv::BrushDesc::solid(fill));
        dc.rectangle(mv::RECT{0, 0, width(), height()});
        dc.moveTo(kListDivider, 0);
        dc.lineTo(kListDivider, height());
        dc.setBkMode(mv::TRANSPARENT);
        dc.selectFont(mv::FontDesc{"Arial", -12, mv::FW_NORMAL, 0, false, false});
        dc.setTextAlign(mv::TA_LEFT | mv::TA_TOP);
        if (controller) {
            dc.textOut(30, 2, mv::FormatC("    %s", text.c_str()));
        } else {
            if (tile_.m_ListNumber != 0) {
                dc.setTextColor(0xFF0000);
                dc.textOut(5, 2, mv::FormatC("(%2d)", tile_.m_ListNumber));
                dc.setTextColor(0);
            }
            dc.setTextAlign(mv::TA_RIGHT | mv::TA_TOP);
            dc.textOut(58, 2, mv::FormatC("%s:", tile_.m_ListLabel.c_str()));
            dc.setTextAlign(mv::TA_LEFT | mv::TA_TOP);
            dc.textOut(60, 2, text);
        }
        const int version = module.GetVersion();
        if (version >= 0)
            dc.textOut(118, 2, mv::FormatC("V.%02d", version));
        module.DrawStatic(dc);
    }
    if (tile_.m_Online == 1) {
        dc.setBkColor(controller ? kListGreen : (tile_.m_Slot % 2 == 0 ? kListWhite : kListGreen));
        tile_.m_OnlinePaintMark = 10;
        module.DrawLiveValues(dc);
    } else {
        tile_.m_OnlinePaintMark = 0;
    }
}

CModuleTileWnd::Look CModuleTileWnd::CurrentLook() const {
    Look look;
    look.mode = tile_.m_DisplayMode;
    look.slot = tile_.m_Slot;
    look.highlight = tile_.m_Highlight;
    look.size = size();
    if (tile_.m_DisplayMode == kTileRack) {
        look.connector = ConnectorFile(tile_);
    } else {
        look.row = tile_.m_ListRow;
        look.number = tile_.m_ListNumber;
        look.label = tile_.m_ListLabel;
    }
    return look;
}

bool CModuleTileWnd::ClearOnNewLook() {
    Look look = CurrentLook();
    if (look == painted_ && image_.size() == size())
        return false;
    painted_ = std::move(look);
    // A moved slot or another picture is painted from a clean image, as an erase would.
    if (image_.size() != size())
        image_ = QImage(size(), QImage::Format_ARGB32_Premultiplied);
    image_.fill(Qt::transparent);
    tile_.m_OnlinePaintMark = 0;
    if (tile_.m_Online == 1)
        tile_.Module().drawState = kDrawStateReset;
    return true;
}

void CModuleTileWnd::paintEvent(QPaintEvent* /*event*/) {
    const bool cleared = ClearOnNewLook();
    const bool ahead = std::exchange(drawnAhead_, false);
    // What the tick drew ahead is in the image already, unless a new look cleared it.
    if (!image_.isNull() && (cleared || !ahead)) {
        QPainter into(&image_);
        xui::QtCanvas dc(into);
        Paint(dc);
    }
    QPainter painter(this);
    xui::drawImageRows(painter, QPoint(0, 0), image_);
}

void CModuleTileWnd::mousePressEvent(QMouseEvent* event) {
    if (event->button() == Qt::LeftButton && frame_.App().m_Online != 1)
        frame_.Tree()->SelectModul(&tile_);
    QWidget::mousePressEvent(event);
}

void CModuleTileWnd::mouseDoubleClickEvent(QMouseEvent* event) {
    if (event->button() == Qt::LeftButton) {
        const QPoint p = event->position().toPoint();
        OnDoubleClick(p.x(), p.y());
    }
    QWidget::mouseDoubleClickEvent(event);
}

void CModuleTileWnd::OnDoubleClick(int /*x*/, int y) {
    CModule& module = tile_.Module();
    DialogSeams& seams = dialogSeams();
    if (tile_.m_Online == 1) {
        module.OpenOnline(tile_.Description(), tile_.m_Station, tile_.m_Slot,
                          tile_.m_OnlineParam);
        return;
    }
    if (frame_.App().m_LayoutMode != 1) {
        module.Configure(&tile_);
        return;
    }
    if (y < kSliderZoneEnd) {
        auto& dialog = tile_.IsController() ? seams.controllerSliderLabelDialog
                                            : seams.sliderLabelDialog;
        if (dialog)
            dialog(tile_);
        return;
    }
    if (y < kLabelZoneStart) {
        module.Configure(&tile_);
        return;
    }
    // One label covers a pair of slots: an odd slot edits its even partner's label.
    CModuleTile* target = &tile_;
    if (tile_.m_Slot % 2 != 0) {
        const CStation* station = frame_.Doc().Station(tile_.m_Station);
        const int index = station ? station->IndexOf(&tile_) : -1;
        CModuleTile* partner = index >= 2 ? station->Tile(index - 1) : nullptr;
        if (partner)
            target = partner;
    }
    if (seams.labelDialog)
        seams.labelDialog(*target);
}
