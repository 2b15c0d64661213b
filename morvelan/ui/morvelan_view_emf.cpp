// The rack picture as an EMF file: the head's bitmap and description, then per pair of boards
// the function strip and each board's connector with its rotated name.
#include "catalogue/module_description.h"
#include "morvelan/core/app_hooks.h"
#include "morvelan/core/app_state.h"
#include "morvelan/core/flag_module.h"
#include "morvelan/core/station.h"
#include "morvelan/ui/main_frame.h"
#include "morvelan/ui/morvelan_app.h"
#include "morvelan/ui/morvelan_view.h"
#include "platform/bmp_reader.h"
#include "platform/emf_canvas.h"
#include "platform/win_path.h"
#include "xui/message_dlg.h"

namespace {

// The text of the export: Arial 18 px, turned to run upwards, anchored at (y, 450).
const mv::FontDesc kPictureFont{"Arial", -18, mv::FW_NORMAL, 900, false, false};
constexpr int kPictureTextY = 450;
constexpr int kConnectorTop = 84;

void DrawRotatedText(mv::Canvas& dc, int x, const std::string& text) {
    dc.selectFont(kPictureFont);
    dc.setTextColor(0x000000);
    dc.setBkMode(mv::TRANSPARENT);
    dc.setTextAlign(mv::TA_LEFT | mv::TA_TOP);
    dc.textOut(x, kPictureTextY, text);
}

} // namespace

void DrawTilePicture(const CModuleTile& tile, mv::Canvas& dc, int x, int y,
                     const std::string& programDir) {
    if (tile.IsController())
        return;
    std::string file = "bmp/stecker.bmp";
    switch (tile.m_Kind) {
    case kKindFlag: {
        const auto* flag = dynamic_cast<const CFlagModule*>(&tile.Module());
        file = flag && flag->m_Option == 1 ? "bmp/leer.bmp" : "bmp/stecker2.bmp";
        break;
    }
    case kKindParam:
        file = "bmp/leer.bmp";
        break;
    case kKindFlagAlt:
        file = "bmp/unknown.bmp";
        break;
    default:
        break;
    }
    dc.drawBitmap(x, kConnectorTop, mv::BitmapRef{0, mv::joinPath(programDir, file)});
    DrawRotatedText(dc, y, tile.Description() ? tile.Description()->m_Description : "");
}

bool CMorvelanView::ExportEmf(const std::string& path, std::string* error) {
    CMorvelanDoc& doc = frame_.Doc();
    const std::string& dir = frame_.App().m_ProgramDir;
    CModuleTile* selected = frame_.SelectedTile();
    CStation* station = selected ? doc.Station(selected->m_Station) : nullptr;
    if (!station && doc.StationCount() > 0)
        station = doc.Station(0);
    mv::EmfCanvas dc;
    if (station && station->TileCount() > 0) {
        const CModuleTile& head = *station->Tile(0);
        int cursor = head.Module().width;
        if (head.Description())
            dc.drawBitmap(0, 0, mv::BitmapRef{0, mv::joinPath(dir, "bmp/" +
                                                               head.Description()->m_Bitmap)});
        DrawRotatedText(dc, 30, head.Description() ? head.Description()->m_Description : "");
        const std::string function = mv::joinPath(dir, "bmp/function.bmp");
        mv::PixelImage strip;
        const int stripWidth = mv::ReadBmpFile(function, strip) ? strip.width : 0;
        for (int i = 1; i < station->TileCount(); ++i) {
            const CModuleTile& tile = *station->Tile(i);
            if (i % 2 == 1) {
                dc.drawBitmap(cursor, 0, mv::BitmapRef{0, function});
                DrawTilePicture(tile, dc, cursor + 10, cursor + 15, dir);
            } else {
                DrawTilePicture(tile, dc, cursor + 40, cursor + 50, dir);
                cursor += stripWidth;
            }
        }
    }
    return mv::WriteFileReplacing(path, dc.Finish(), error);
}

void CMorvelanView::OnExportEmf() {
    CMorvelanApp& app = frame_.App();
    if (!app.m_ChooseSaveFile)
        return;
    std::string path = app.m_ChooseSaveFile(kPictureFilter, "");
    if (path.empty())
        return;
    const std::size_t slash = path.find_last_of('/');
    if (path.find('.', slash == std::string::npos ? 0 : slash) == std::string::npos)
        path += ".emf";
    std::string why;
    if (ExportEmf(path, &why))
        return;
    xui::MessageRequest message;
    message.line1 = path;
    message.line2 = why;
    message.caption = mv::appHooks().LanguageText(5000);
    message.bitmapId = 150;
    message.captionColor = xui::kCaptionRed;
    xui::ShowMessage(message);
}
