// Drawing and printing of the channel module: live state on the tile, names and live values in
// the list view, the project list entry and the board label.
#include "morvelan/core/app_hooks.h"
#include "morvelan/core/channel_module.h"
#include "morvelan/core/flag_module.h"
#include "catalogue/module_description.h"
#include "morvelan/core/param_number.h"
#include "morvelan/core/text_font.h"
#include "platform/canvas.h"
#include "platform/win_path.h"

#include <algorithm>
#include <cmath>
#include <fstream>

namespace {

constexpr mv::COLORREF kDarkRed = mv::RGB(127, 0, 0);
constexpr mv::COLORREF kBarGrey = mv::RGB(192, 192, 192);
constexpr mv::COLORREF kShadow = mv::RGB(128, 128, 128);
constexpr mv::COLORREF kLight = mv::RGB(255, 255, 255);

// Bitmap resources of the lamps: bit set, bit clear.
constexpr int kLampOn = 164;
constexpr int kLampOff = 165;

// Most pin-list lines printed on one label, and their pitch.
constexpr int kPinLines = 14;
constexpr int kPinPitch = 17;

// The value bar's left edge on the tile.
int BarX(bool even) {
    return even ? 15 : 7;
}

} // namespace

int CChannelModule::DrawLiveState(mv::Canvas& dc, int position) {
    if (m_Channels.empty()) {
        return 0;
    }
    const CModulChannel& ch = m_Channels.front();
    const bool even = position % 2 == 0;
    dc.saveState();
    if (drawState == kDrawStateReset) {
        drawState = kDrawStateDrawn;
        m_ShownState.clear();
        if (ch.mode == kChannelModeLamps) {
            dc.selectFont(TextFont("Arial", 10));
            dc.setTextColor(kDarkRed);
            dc.setBkMode(mv::TRANSPARENT);
            dc.setTextAlign(mv::TA_LEFT | mv::TA_TOP);
            for (int i = 0; i < 8; ++i) {
                dc.textOut(even ? 9 : 20, 90 + 18 * i, mv::FormatC("%2d", i));
            }
        } else if (ch.mode == kChannelModeBar) {
            const int x = BarX(even);
            dc.fillRect(mv::RECT{x, 90, x + 20, 90 + 144}, kBarGrey);
            // Sunken three-dimensional frame.
            dc.selectPen(mv::PenDesc{mv::PS_SOLID, 1, kShadow});
            dc.moveTo(x, 90 + 143);
            dc.lineTo(x, 90);
            dc.lineTo(x + 19, 90);
            dc.selectPen(mv::PenDesc{mv::PS_SOLID, 1, kLight});
            dc.lineTo(x + 19, 90 + 143);
            dc.lineTo(x - 1, 90 + 143);
        }
    }
    const std::string text = ch.value.ToText(ch.dataType);
    if (text != m_ShownState) {
        m_ShownState = text;
        if (ch.mode == kChannelModeLamps) {
            const std::int32_t v = ch.value.GetAsInt(ch.dataType);
            for (int i = 0; i < 8; ++i) {
                mv::BitmapRef lamp;
                lamp.resourceId = ((v >> i) & 1) ? kLampOn : kLampOff;
                dc.drawBitmap(even ? 23 : 3, 90 + 18 * i, lamp);
            }
        } else if (ch.mode == kChannelModeBar) {
            const int x = BarX(even);
            dc.fillRect(mv::RECT{x + 2, 92, x + 18, 232}, kBarGrey);
            dc.selectFont(TextFont("Arial", 14, mv::FW_NORMAL, 900));
            dc.setTextColor(kDarkRed);
            dc.setBkMode(mv::TRANSPARENT);
            dc.setTextAlign(mv::TA_CENTER | mv::TA_TOP);
            dc.textOut(x + 1, 162, text);
        }
    }
    dc.restoreState();
    return 0;
}

void CChannelModule::DrawStatic(mv::Canvas& dc) {
    m_Step = 0;
    dc.saveState();
    dc.selectFont(TextFont("Arial", 12));
    dc.selectPen(mv::PenDesc{});
    dc.setTextAlign(mv::TA_LEFT | mv::TA_TOP);
    const int n = ChannelCount();
    for (int k = 0; k < n; ++k) {
        CModulChannel& ch = m_Channels[static_cast<std::size_t>(k)];
        dc.textOut(155, 20 * k + 1, ch.name);
        dc.moveTo(150, 20 * k + 20);
        dc.lineTo(600, 20 * k + 20);
        ch.shown.SetLong(kShownValueMarker);
    }
    dc.moveTo(350, 0);
    dc.lineTo(350, 20 * n + 20);
    dc.restoreState();
}

std::string CChannelModule::LiveValueText(int index) const {
    const CModulChannel& ch = m_Channels.at(static_cast<std::size_t>(index));
    const std::int32_t v = ch.value.GetAsInt(ch.dataType);
    mv::IAppHooks& hooks = mv::appHooks();
    if (hooks.DisplayScaled()) {
        if (ch.mode == kChannelModeLamps) {
            std::string text = "  ";
            for (int i = 0; i < 8; ++i) {
                text += ((v >> i) & 1) ? '1' : '0';
            }
            return text;
        }
        if (ch.mode == kChannelModeBar) {
            const double scale = ch.scale;
            const double number =
                (std::floor(scale) == scale) ? mv::ParseDoubleC(ch.value.ToText(ch.dataType)) : v;
            const double result = number * scale + ch.offset;
            return mv::FormatC(scale == 1.0 ? "%10.0f " : "%10.3f ", result) + ch.unit;
        }
        return std::string();
    }
    if (hooks.DisplayHex()) {
        const int size = ch.Size();
        std::uint32_t mask = 0xFFFFFFFFu;
        if (size <= 0) {
            mask = 0;
        } else if (size < 4) {
            mask = (1u << (8 * size)) - 1;
        }
        return mv::FormatC("%10Xh", static_cast<std::uint32_t>(v) & mask);
    }
    return mv::FormatC("%10ld", static_cast<long>(v));
}

void CChannelModule::DrawLiveValues(mv::Canvas& dc) {
    dc.saveState();
    dc.selectFont(TextFont("Courier New", 12));
    dc.setTextAlign(mv::TA_LEFT | mv::TA_TOP);
    for (int k = 0; k < ChannelCount(); ++k) {
        CModulChannel& ch = m_Channels[static_cast<std::size_t>(k)];
        // Integer channels keep their value as the 32-bit integer it reads as, so that stray
        // bytes beyond the channel's own do not count as a change. Floats, texts and 64-bit
        // values have no integer reading and stay as they are.
        if (ch.dataType >= kTypeBool && ch.dataType <= kTypeInt32) {
            ch.value.SetLong(static_cast<std::uint32_t>(ch.value.GetAsInt(ch.dataType)));
        }
        if (ch.value == ch.shown) {
            continue;
        }
        ch.shown = ch.value;
        dc.textOut(375, 1 + 20 * k, LiveValueText(k));
    }
    dc.restoreState();
}

void CChannelModule::PrintListLine(mv::Canvas& dc, int x, int& y, int pageLimit,
                                   const CModuleDescription& description) {
    PrintBoardListLine(dc, x, y, pageLimit, description);
    // The channels and their parameters follow only when some channel has parameters.
    const bool anyParams = std::any_of(m_Channels.begin(), m_Channels.end(),
                                       [](const CModulChannel& ch) { return !ch.params.empty(); });
    if (!anyParams) {
        return;
    }
    mv::IAppHooks& hooks = mv::appHooks();
    dc.saveState();
    dc.selectFont(TextFont("Arial", 35));
    dc.setTextAlign(mv::TA_LEFT | mv::TA_TOP);
    for (const auto& ch : m_Channels) {
        hooks.NextPrintPage(dc, y, 35, pageLimit);
        if (hooks.PageWanted()) {
            dc.textOut(x + 700, y, ch.name);
        }
        y -= 35;
        for (const auto& p : ch.params) {
            hooks.NextPrintPage(dc, y, 35, pageLimit);
            if (hooks.PageWanted()) {
                dc.textOut(x + 900, y, p.name + ": " + p.GetValueText());
            }
            y -= 35;
        }
    }
    dc.restoreState();
}

std::vector<std::string> ReadPinList(const std::string& path, int limit) {
    std::vector<std::string> lines;
    std::ifstream in(mv::resolvePath(path), std::ios::binary);
    std::string line;
    while (static_cast<int>(lines.size()) < limit && std::getline(in, line)) {
        while (!line.empty() && (line.back() == '\r' || line.back() == '\n')) {
            line.pop_back();
        }
        lines.push_back(line);
    }
    return lines;
}

std::string PinListPath(const CModuleDescription& description) {
    const std::string& file = description.m_FileName;
    return mv::joinPath(mv::joinPath(moduleDescriptionContext().programDir, "Modul"),
                        file.substr(0, file.find('.')) + ".pin");
}

int PrintBoardLabel(mv::Canvas& dc, int& y, const CModuleDescription& description,
                    const LabelContext& label) {
    if (mv::appHooks().PageWanted()) {
        const int escapement = label.direction == 1 ? 900 : -900;
        // Rotated texts run upwards from the label's foot, or downwards from its head.
        const int foot = label.direction == 1 ? y - 120 : y - 5;
        const int x0 = 20;
        dc.saveState();
        dc.setBkMode(mv::TRANSPARENT);
        dc.setTextColor(0);
        dc.setTextAlign(mv::TA_LEFT | mv::TA_BASELINE);
        dc.selectFont(TextFont("Arial", 24, mv::FW_BOLD));
        dc.textOut(x0 + 610, y - 30, description.m_Description);
        dc.selectFont(TextFont("Arial", 18, mv::FW_BOLD, escapement));
        for (int i = 0; i < 3; ++i) {
            dc.textOut(x0 + 40 + 30 * i, foot, label.lines[static_cast<std::size_t>(i)]);
        }
        dc.selectFont(TextFont("Courier New", 18, mv::FW_BOLD, escapement));
        const auto pins = ReadPinList(PinListPath(description), kPinLines);
        for (std::size_t i = 0; i < pins.size(); ++i) {
            dc.textOut(x0 + 240 + kPinPitch * static_cast<int>(i), foot,
                       mv::FormatC("%2d: ", static_cast<int>(i) + 1) + pins[i]);
        }
        dc.restoreState();
    }
    y -= 125;
    return 1;
}

int CChannelModule::PrintLabel(mv::Canvas& dc, int /*unused*/, int& y,
                               const CModuleDescription& description, const LabelContext& label) {
    return PrintBoardLabel(dc, y, description, label);
}
