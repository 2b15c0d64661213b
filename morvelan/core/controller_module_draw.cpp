// Drawing and printing of the controller module: the fieldbus indicator and text, the project
// list entry and the controller label.
#include "morvelan/core/app_hooks.h"
#include "morvelan/core/controller_module.h"
#include "catalogue/module_description.h"
#include "morvelan/core/text_font.h"
#include "platform/canvas.h"
#include "platform/regular_file.h"
#include "platform/win_path.h"


namespace {

constexpr mv::COLORREF kBandGrey = mv::RGB(220, 220, 220);
constexpr mv::COLORREF kRed = mv::RGB(255, 0, 0);

} // namespace

int CControllerModule::DrawLiveState(mv::Canvas& dc, int /*position*/) {
    if (drawState == kDrawStateReset) {
        m_FieldbusShown = 255;
        drawState = kDrawStateDrawn;
    }
    const int state = ReadFieldbusState(mv::appHooks().LinkHandle());
    if (state < 0 || state == m_FieldbusShown) {
        return 0;
    }
    m_FieldbusShown = static_cast<std::int16_t>(state);
    if (state == 1) {
        mv::BitmapRef indicator;
        indicator.resourceId = kFieldbusBitmap;
        dc.drawBitmap(10, 87, indicator);
    }
    return 1;
}

void CControllerModule::DrawStatic(mv::Canvas& dc) {
    dc.saveState();
    dc.selectFont(TextFont("Courier New", 12));
    dc.selectPen(mv::PenDesc{});
    dc.moveTo(350, 0);
    dc.lineTo(350, 20);
    mv::IAppHooks& hooks = mv::appHooks();
    if (hooks.IsOnline()) {
        const int state = ReadFieldbusState(hooks.LinkHandle());
        dc.setTextAlign(mv::TA_LEFT | mv::TA_TOP);
        if (state == 1) {
            dc.setTextColor(kRed);
            dc.textOut(355, 0, " Fieldbus OFF");
        } else if (state == 0) {
            dc.textOut(355, 0, std::string(14, ' '));
        }
    }
    dc.restoreState();
}

void CControllerModule::PrintListLine(mv::Canvas& dc, int x, int& y, int pageLimit,
                                      const CModuleDescription& description) {
    mv::IAppHooks& hooks = mv::appHooks();
    dc.saveState();
    dc.selectFont(TextFont("Arial", 35));
    dc.setTextAlign(mv::TA_LEFT | mv::TA_TOP);
    hooks.NextPrintPage(dc, y, 120, pageLimit);
    if (hooks.PageWanted()) {
        dc.fillRect(mv::RECT{x, y, x + 1700, y - 90}, kBandGrey);
        dc.setBkMode(mv::TRANSPARENT);
        dc.textOut(x + 10, y - 5, description.m_Description);
        dc.textOut(x + 250, y - 5, description.m_DisplayName);
        dc.textOut(x + 1000, y - 5, "Software: " + m_FV + " " + m_FD);
    }
    y -= 120;
    dc.restoreState();
}

int CControllerModule::PrintLabel(mv::Canvas& dc, int /*unused*/, int& y,
                                  const CModuleDescription& description,
                                  const LabelContext& label) {
    mv::IAppHooks& hooks = mv::appHooks();
    const std::string& dir = moduleDescriptionContext().programDir;
    const std::string layout =
        mv::joinPath(mv::joinPath(dir, "modul"), description.m_Description + ".etk");
    const int x = 20;
    const int escapement = label.direction == 1 ? 900 : -900;
    const bool wanted = hooks.PageWanted();
    dc.saveState();
    dc.setBkMode(mv::TRANSPARENT);
    dc.setTextColor(0);
    if (mv::canReadRegularFile(mv::resolvePath(layout))) {
        if (wanted) {
            // The six slider label lines at their places on the label.
            struct Place {
                int dx, dy;
                unsigned align;
            };
            static const Place places[6] = {
                {630, 50, mv::TA_RIGHT},  {845, 50, mv::TA_CENTER},  {630, 110, mv::TA_LEFT},
                {845, 125, mv::TA_RIGHT}, {630, 170, mv::TA_CENTER}, {845, 170, mv::TA_LEFT},
            };
            dc.selectFont(TextFont("Arial", 19, mv::FW_BOLD));
            for (std::size_t i = 0; i < 6; ++i) {
                dc.setTextAlign(places[i].align | mv::TA_BASELINE);
                dc.textOut(x + places[i].dx, y - places[i].dy, label.sliders[i]);
            }
        }
        dc.restoreState();
        hooks.DrawLabelFile(dc, y, layout, label.tile);
        return 1;
    }
    if (wanted) {
        mv::BitmapRef slider;
        slider.file = mv::joinPath(mv::joinPath(dir, "bmp"), "schieber.bmp");
        dc.stretchBitmap(mv::RECT{x + 230, y, x + 580, y - 230}, slider);
        dc.selectFont(TextFont("Arial", 19, mv::FW_BOLD));
        dc.setTextAlign(mv::TA_LEFT | mv::TA_BASELINE);
        dc.textOut(x + 600, y - 40, description.m_Description);
        dc.textOut(x + 600, y - 80, "Software");
        dc.selectFont(TextFont("Courier New", 18, mv::FW_BOLD));
        dc.textOut(x + 600, y - 110, "FW " + m_FW);
        dc.textOut(x + 600, y - 135, "FD " + m_FD);
        dc.textOut(x + 600, y - 160, "FV " + m_FV);
        dc.selectFont(TextFont("Arial", 19, mv::FW_BOLD, escapement));
        dc.textOut(x + 180, label.direction == 1 ? y - 225 : y - 5, description.m_DisplayName);
    }
    dc.restoreState();
    y -= 250;
    return 1;
}
