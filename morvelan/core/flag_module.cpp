#include "morvelan/core/flag_module.h"

#include "morvelan/core/app_hooks.h"
#include "morvelan/core/app_profile.h"
#include "morvelan/core/channel_module.h"
#include "morvelan/core/module_description.h"
#include "morvelan/core/param_number.h"
#include "platform/canvas.h"
#include "platform/ini_file.h"

namespace {

// Pin-list lines on one label and their pitch (0.1 mm).
constexpr int kPinLines = 14;
constexpr int kPinPitch = 17;
// Height a board takes on the label strip and in the project list.
constexpr int kLabelStep = 125;
constexpr int kListLineStep = 45;

mv::FontDesc Font(const char* face, int height, int weight = mv::FW_NORMAL, int escapement = 0) {
    mv::FontDesc f;
    f.face = face;
    f.height = -height;
    f.weight = weight;
    f.escapement = escapement;
    return f;
}

std::string Section(int station, int position) {
    return mv::FormatC("M%dP%d", station, position);
}

} // namespace

void DrawListSeparator(mv::Canvas& dc) {
    dc.moveTo(350, 0);
    dc.lineTo(350, 20);
}

void PrintBoardListLine(mv::Canvas& dc, int x, int& y, int pageLimit,
                        const CModuleDescription& description) {
    mv::IAppHooks& hooks = mv::appHooks();
    dc.saveState();
    dc.selectFont(Font("Arial", 35));
    dc.setTextAlign(mv::TA_LEFT | mv::TA_TOP);
    hooks.NextPrintPage(dc, y, kListLineStep, pageLimit);
    if (hooks.PageWanted()) {
        dc.textOut(x + 250, y, description.m_Description);
        dc.textOut(x + 500, y, description.m_DisplayName);
    }
    y -= kListLineStep;
    dc.restoreState();
}

CFlagModule::CFlagModule() {
    width = kBoardWidth;
}

int CFlagModule::Configure(CModuleTile* tile) {
    return mv::appHooks().ConfigureModule(tile, nullptr);
}

void CFlagModule::SaveToProject(int station, int position, const std::string& projectFile) {
    WriteProfileText(Section(station, position), kFlagOptionKey,
                     m_Option == 1 ? kFlagTrue : kFlagFalse, projectFile);
}

void CFlagModule::LoadFromProject(int station, int position, const std::string& projectFile) {
    const std::string text =
        mv::iniReadString(projectFile, Section(station, position), kFlagOptionKey, kFlagFalse, 10);
    if (text == kFlagTrue) {
        m_Option = 1;
    }
}

int CFlagModule::PrintLabel(mv::Canvas& dc, int /*unused*/, int& y,
                            const CModuleDescription& description, const LabelContext& label) {
    if (mv::appHooks().PageWanted()) {
        const int escapement = label.direction == 1 ? 900 : -900;
        // Rotated texts run upwards from the label's foot, or downwards from its head.
        const int foot = label.direction == 1 ? y - 120 : y - 5;
        const int x0 = 20;
        dc.saveState();
        dc.setBkMode(mv::TRANSPARENT);
        dc.setTextColor(0);
        dc.setTextAlign(mv::TA_LEFT | mv::TA_BASELINE);
        dc.selectFont(Font("Arial", 24, mv::FW_BOLD));
        dc.textOut(x0 + 610, y - 30, description.m_Description);
        dc.selectFont(Font("Arial", 18, mv::FW_BOLD, escapement));
        for (int i = 0; i < 3; ++i) {
            dc.textOut(x0 + 40 + 30 * i, foot, label.lines[static_cast<std::size_t>(i)]);
        }
        dc.selectFont(Font("Courier New", 18, mv::FW_BOLD, escapement));
        const auto pins = ReadPinList(PinListPath(description), kPinLines);
        for (std::size_t i = 0; i < pins.size(); ++i) {
            dc.textOut(x0 + 240 + kPinPitch * static_cast<int>(i), foot,
                       mv::FormatC("%2d: ", static_cast<int>(i) + 1) + pins[i]);
        }
        dc.restoreState();
    }
    y -= kLabelStep;
    return 1;
}

void CFlagModule::PrintListLine(mv::Canvas& dc, int x, int& y, int pageLimit,
                                const CModuleDescription& description) {
    PrintBoardListLine(dc, x, y, pageLimit, description);
}

void CFlagModule::DrawStatic(mv::Canvas& dc) {
    DrawListSeparator(dc);
}

int CFlagModule2::Configure(CModuleTile* /*tile*/) {
    return 0;
}
