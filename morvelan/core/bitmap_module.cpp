#include "morvelan/core/bitmap_module.h"

#include "morvelan/core/app_hooks.h"
#include "morvelan/core/bmp_header.h"
#include "catalogue/module_description.h"
#include "morvelan/core/text_font.h"
#include "platform/canvas.h"
#include "platform/ini_file.h"
#include "platform/regular_file.h"
#include "platform/win_path.h"


namespace {

constexpr mv::COLORREF kBandGrey = mv::RGB(220, 220, 220);
constexpr mv::COLORREF kWhite = mv::RGB(255, 255, 255);
constexpr int kBandWidth = 1700;
constexpr int kBandHeight = 90;
constexpr int kListRoom = 120;

} // namespace

CBitmapModule::CBitmapModule() {
    width = kBitmapWidth;
}

void CBitmapModule::LoadDescription(const std::string& path) {
    const std::string name = mv::iniReadString(path, "MORVELAN", "Bitmap", "", 200);
    if (name.empty()) {
        return;
    }
    // The pictures lie in the folder bmp of the program folder.
    const std::string picture =
        mv::joinPath(mv::joinPath(moduleDescriptionContext().programDir, "bmp"), name);
    BmpHeader header;
    if (ReadBmpHeader(picture, header)) {
        width = header.width - 1;
    }
}

int CBitmapModule::PrintLabel(mv::Canvas& dc, int /*unused*/, int& y,
                              const CModuleDescription& description, const LabelContext& label) {
    const std::string file =
        mv::resolvePath(mv::joinPath(mv::joinPath(moduleDescriptionContext().programDir, "modul"),
                                     description.m_Description + ".etk"));
    if (mv::canReadRegularFile(file)) {
        mv::appHooks().DrawLabelFile(dc, y, file, label.tile);
    }
    return 1;
}

void CBitmapModule::PrintListLine(mv::Canvas& dc, int x, int& y, int pageLimit,
                                  const CModuleDescription& description) {
    mv::IAppHooks& hooks = mv::appHooks();
    dc.saveState();
    dc.selectFont(TextFont("Arial", 35));
    dc.setTextAlign(mv::TA_LEFT | mv::TA_TOP);
    hooks.NextPrintPage(dc, y, kListRoom, pageLimit);
    y -= 30;
    if (hooks.PageWanted()) {
        // y grows upwards: the band hangs down from y.
        dc.fillRect(mv::RECT{x, y, x + kBandWidth, y - kBandHeight}, kBandGrey);
        dc.setBkColor(kBandGrey);
        dc.textOut(x + 10, y - 5, description.m_Description);
        dc.textOut(x + 250, y - 5, description.m_DisplayName);
    }
    y -= kListRoom;
    dc.restoreState();
    dc.setBkColor(kWhite);
}
