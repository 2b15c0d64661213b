// The main view's picture: the project page, the rack of a station and the list's title and
// header band. Only drawing happens here; PrepareDraw has set the widgets beforehand.
#include "catalogue/module_description.h"
#include "morvelan/core/app_hooks.h"
#include "morvelan/core/param_number.h"
#include "morvelan/core/station.h"
#include "morvelan/ui/main_frame.h"
#include "morvelan/ui/morvelan_app.h"
#include "morvelan/ui/morvelan_view.h"
#include "xui/bitmaps.h"

#include <QImage>

namespace {

constexpr int kLayoutList = 2;

// Language texts.
constexpr int kTextStation = 111;
constexpr int kTextProject = 220;
constexpr int kTextModule = 10012;
constexpr int kTextGroup = 191;
constexpr int kTextValue = 193;

// Fonts of the rack and the list.
const mv::FontDesc kFontA{"Arial", -24, 800, 0, false, false};
const mv::FontDesc kFontB{"Arial", -12, mv::FW_NORMAL, 0, false, false};
const mv::FontDesc kFontC{"Arial", -16, mv::FW_BOLD, 900, false, false};
const mv::FontDesc kFontD{"Arial", -16, mv::FW_BOLD, 0, false, false};
const mv::FontDesc kFontHeader{"Arial", -12, 800, 0, false, false};

constexpr mv::COLORREF kBlack = 0x000000;
constexpr mv::COLORREF kLvdsColor = 0xFF0000;
constexpr int kNameBaseline = 500;
constexpr int kNameOffset = 117;
constexpr int kFunctionWidth = 82;

// Header band of the list.
constexpr mv::RECT kHeaderBand{20, 130, 600, 150};
constexpr int kHeaderDivider1 = 170;
constexpr int kHeaderDivider2 = 370;

std::string DescriptionText(const CModuleTile& tile) {
    return tile.Description() ? tile.Description()->m_Description : std::string();
}

// The first `count` pieces of a text cut at "\r\n".
std::vector<std::string> CommentPieces(const std::string& text, std::size_t count) {
    std::vector<std::string> pieces;
    std::size_t start = 0;
    while (pieces.size() < count && start <= text.size()) {
        const std::size_t end = text.find("\r\n", start);
        if (end == std::string::npos) {
            pieces.push_back(text.substr(start));
            break;
        }
        pieces.push_back(text.substr(start, end - start));
        start = end + 2;
    }
    return pieces;
}

} // namespace

void CMorvelanView::OnDraw(mv::Canvas& dc) {
    CStation* station = ShownStation();
    if (!station) {
        DrawProjectPage(dc);
        return;
    }
    if (frame_.App().m_LayoutMode == kLayoutList)
        DrawList(dc, *station);
    else
        DrawRack(dc, *station);
}

void CMorvelanView::DrawProjectPage(mv::Canvas& dc) {
    const CMorvelanDoc& doc = frame_.Doc();
    const QImage page = xui::bitmapResource(IDB_PROJECT_PAGE);
    const QImage logo = xui::bitmapResource(IDB_PROJECT_LOGO);
    const int centre = viewport()->width() / 2;
    if (frame_.App().m_Ini.logo == 1) {
        if (!page.isNull())
            dc.drawBitmap(centre - page.width() / 2, 0, mv::BitmapRef{IDB_PROJECT_PAGE});
        if (!logo.isNull())
            dc.drawBitmap(centre - logo.width() / 2, page.height() + 50,
                          mv::BitmapRef{IDB_PROJECT_LOGO});
    }
    dc.setBkMode(mv::TRANSPARENT);
    dc.setTextColor(kBlack);
    dc.setTextAlign(mv::TA_LEFT | mv::TA_TOP);
    dc.selectFont(kFontD);
    const int x = centre - page.width() / 2 + 80;
    dc.textOut(x, 50, mv::LanguageText(kTextProject) + " :");
    dc.textOut(x + 220, 50, doc.m_Name);
    dc.textOut(x + 220, 80, doc.m_Author);
    dc.textOut(x + 220, 110, doc.m_Company);
    dc.selectFont(kFontB);
    // The comment's first three lines, clipped to the page picture where it is drawn.
    const int right = centre - page.width() / 2 + page.width();
    const std::vector<std::string> pieces = CommentPieces(doc.m_Comment, 3);
    for (std::size_t i = 0; i < pieces.size(); ++i) {
        const int y = 140 + 20 * static_cast<int>(i);
        if (x + 220 >= right || y >= page.height())
            continue;
        dc.drawText(pieces[i], mv::RECT{x + 220, y, right, page.height()},
                    mv::DT_LEFT | mv::DT_TOP | mv::DT_SINGLELINE);
    }
}

void CMorvelanView::DrawStationTitle(mv::Canvas& dc, CStation& station) {
    dc.setBkMode(mv::TRANSPARENT);
    dc.setTextColor(kBlack);
    dc.setTextAlign(mv::TA_LEFT | mv::TA_TOP);
    dc.selectFont(kFontA);
    dc.textOut(20, 60, mv::LanguageText(kTextStation) + " :");
    dc.textOut(120, 60, station.m_Name);
    dc.selectFont(kFontB);
    dc.textOut(120, 90, station.m_Comment);
}

void CMorvelanView::DrawRack(mv::Canvas& dc, CStation& station) {
    const int n = station.TileCount();
    if (n == 0) {
        DrawStationTitle(dc, station);
        return;
    }
    CModuleTile& head = *station.Tile(0);
    const int w = head.Module().width;
    if (head.Description()) {
        if (const mv::PixelImage* picture = Picture("bmp/" + head.Description()->m_Bitmap))
            dc.drawImage(20, 150, *picture);
    }
    dc.setBkMode(mv::TRANSPARENT);
    dc.setTextColor(kBlack);
    dc.selectFont(kFontC);
    dc.setTextAlign(mv::TA_RIGHT | mv::TA_TOP);
    dc.textOut(40, kNameBaseline, DescriptionText(head));
    DrawStationTitle(dc, station);

    const mv::PixelImage* function = Picture("bmp/function.bmp");
    int pictures = 0;
    int module = 0;
    int lvds = 0;
    for (int i = 1; i < n; ++i) {
        CModuleTile& tile = *station.Tile(i);
        const int x = w + 20 + 131 + kRackPitch * (i - 1);
        if (i % 2 == 1) {
            if (function)
                dc.drawImage(w + 20 + kFunctionWidth * pictures, 150, *function);
            ++pictures;
        }
        if (tile.m_Kind == kKindParam || tile.m_Kind == kKindFlag2)
            continue;
        dc.setTextColor(kBlack);
        dc.selectFont(kFontC);
        dc.setTextAlign(mv::TA_RIGHT | mv::TA_TOP);
        if (tile.m_Kind == kKindFlag3) {
            dc.textOut(x - kNameOffset, kNameBaseline,
                       mv::FormatC("%3d.1: %s", module - 1, DescriptionText(tile).c_str()));
            ++lvds;
            dc.saveState();
            dc.selectPen(mv::PenDesc{mv::PS_SOLID, 2, kLvdsColor});
            dc.moveTo(x - kNameOffset, 120);
            dc.lineTo(x + 6, 120);
            dc.moveTo(x, 117);
            dc.lineTo(x + 6, 120);
            dc.lineTo(x, 122);
            dc.lineTo(x, 117);
            dc.restoreState();
            dc.setTextColor(kLvdsColor);
            dc.selectFont(kFontD);
            dc.setTextAlign(mv::TA_LEFT | mv::TA_TOP);
            dc.textOut(x - kNameOffset, 100, mv::FormatC("| LVDS %d", lvds));
        } else {
            dc.textOut(x - kNameOffset, kNameBaseline,
                       mv::FormatC("%3d: %s", module, DescriptionText(tile).c_str()));
            ++module;
        }
    }
}

void CMorvelanView::DrawList(mv::Canvas& dc, CStation& station) {
    DrawStationTitle(dc, station);
    const mv::RECT& band = kHeaderBand;
    dc.frameRect(band, kBlack);
    const int height = band.bottom - band.top - 2;
    for (int row = 0; row < height; ++row) {
        const int level = std::max(0, 255 - row * 63 / std::max(1, height));
        const mv::COLORREF colour = mv::RGB(level, level, level);
        dc.fillRect(mv::RECT{band.left + 1, band.top + 1 + row, band.right - 1,
                             band.top + 2 + row},
                    colour);
    }
    dc.selectPen(mv::PenDesc{mv::PS_SOLID, 1, kBlack});
    for (int x : {kHeaderDivider1, kHeaderDivider2}) {
        dc.moveTo(x, band.top);
        dc.lineTo(x, band.bottom);
    }
    dc.setBkMode(mv::TRANSPARENT);
    dc.setTextColor(kBlack);
    dc.setTextAlign(mv::TA_LEFT | mv::TA_TOP);
    dc.selectFont(kFontHeader);
    dc.textOut(30, 133, mv::LanguageText(kTextModule));
    dc.textOut(175, 133, mv::LanguageText(kTextGroup));
    dc.textOut(375, 133, mv::LanguageText(kTextValue));
}
