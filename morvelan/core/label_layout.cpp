// The label layout language (*.etk) and the label frame.
#include "morvelan/core/label_printer.h"
#include "morvelan/core/module_tile.h"
#include "morvelan/core/text_font.h"
#include "platform/ini_file.h"
#include "platform/regular_file.h"
#include "platform/win_path.h"

#include <algorithm>
#include <cerrno>
#include <cstdlib>

namespace mv {
namespace {

// Coordinates beyond this are cut to it, so no sum of them overflows.
constexpr long kCoordinateLimit = 100000;
// A drawing line is read into this many bytes (the zero included).
constexpr std::uint32_t kLayoutLineBuffer = 255;
constexpr int kLayoutPen = 3;
constexpr int kBoxPen = 5;

// A leading decimal number as the classic conversion reads it; anything else is 0.
int Number(const std::vector<std::string>& fields, std::size_t index) {
    if (index >= fields.size())
        return 0;
    errno = 0;
    const long v = std::strtol(fields[index].c_str(), nullptr, 10);
    return static_cast<int>(std::clamp(v, -kCoordinateLimit, kCoordinateLimit));
}

std::string Field(const std::vector<std::string>& fields, std::size_t index) {
    return index < fields.size() ? fields[index] : std::string();
}

int Capped(int value) { return std::clamp(value, 0, kLayoutLimit); }

} // namespace

std::vector<std::string> SplitLayoutLine(const std::string& line) {
    std::vector<std::string> fields;
    std::size_t pos = 0;
    for (;;) {
        const std::size_t comma = line.find(',', pos);
        fields.push_back(line.substr(pos, comma == std::string::npos ? std::string::npos
                                                                     : comma - pos));
        if (comma == std::string::npos)
            break;
        pos = comma + 1;
    }
    return fields;
}

void CLabelPrinter::DrawLayoutLine(Canvas& dc, const std::string& line, int y0) {
    const std::vector<std::string> f = SplitLayoutLine(line);
    if (f.empty() || f[0].empty())
        return;
    const int x = 20;
    switch (f[0][0]) {
    case 'C': {
        const int cx = Number(f, 1), cy = Number(f, 2), r = Number(f, 3);
        dc.ellipse(RECT{cx - r + x, y0 - cy + r, cx + r + x, y0 - cy - r});
        break;
    }
    case 'L':
        dc.moveTo(Number(f, 1) + x, y0 - Number(f, 2));
        dc.lineTo(Number(f, 3) + x, y0 - Number(f, 4));
        break;
    case 'R': {
        const BrushDesc old = dc.selectBrush(BrushDesc::null());
        dc.rectangle(RECT{Number(f, 1) + x, y0 - Number(f, 2), Number(f, 3) + x,
                          y0 - Number(f, 4)});
        dc.selectBrush(old);
        break;
    }
    case 'T': {
        const std::string align = Field(f, 1);
        if (!align.empty() && (align[0] == 'L' || align[0] == 'M' || align[0] == 'R')) {
            const unsigned horizontal =
                align[0] == 'L' ? TA_LEFT : (align[0] == 'M' ? TA_CENTER : TA_RIGHT);
            const unsigned previous = dc.setTextAlign(TA_LEFT | TA_TOP);
            dc.setTextAlign((previous & TA_VERTMASK) | horizontal);
        }
        const std::string weight = Field(f, 6);
        FontDesc font;
        font.face = Field(f, 7);
        font.height = -Number(f, 5);
        font.weight = !weight.empty() && weight[0] == 'N' ? FW_NORMAL : FW_BOLD;
        font.escapement = Number(f, 4) * 10;
        dc.selectFont(font);
        dc.textOut(Number(f, 2) + x, y0 - Number(f, 3), Field(f, 8));
        break;
    }
    default:
        break;
    }
}

bool CLabelPrinter::DrawLabelFile(Canvas& dc, int& y, const std::string& path,
                                  CModuleTile* tile) {
    const std::string file = resolvePath(path);
    if (!canReadRegularFile(file))
        return false;
    BitmapRef slider;
    slider.file = resolvePath(joinPath(joinPath(context_.programDir, "bmp"), "schieber.bmp"));
    const bool haveSlider = canReadRegularFile(slider.file);

    const int count = Capped(iniReadInt(file, "MAIN", "C", 0));
    for (int k = 1; k <= count && !failed_; ++k) {
        StartPendingPage();
        const std::string element = "E" + std::to_string(k);
        // Height, lines and picture are read on every page, drawn or not, so a skipped element
        // still moves the cursor by its own height.
        const int height = Capped(iniReadInt(file, element, "E", 0));
        const int lines = Capped(iniReadInt(file, element, "L", 0));
        const int picture = iniReadInt(file, element, "B", 0);
        if (Drawn()) {
            dc.saveState();
            dc.setBkMode(TRANSPARENT);
            dc.setTextColor(0);
            dc.selectPen(PenDesc{PS_SOLID, kLayoutPen, 0});
            if (picture == 1 && haveSlider)
                dc.stretchBitmap(RECT{250, y, 250 + 350, y - 230}, slider);
            const std::string textSection = element + "T";
            for (int i = 1; i <= lines; ++i) {
                const std::string line =
                    iniReadString(file, textSection, "L" + std::to_string(i), "",
                                  kLayoutLineBuffer);
                DrawLayoutLine(dc, line, y);
            }
            dc.restoreState();
            DrawLabelFrame(dc, 20, y, boxes_, 1, tile);
        }
        y -= height * kLabelStep;
        if (state_.printableHeight < std::abs(y) + kPageReserve) {
            y = 0;
            EndPageNow();
            state_.newPage = 1;
        }
    }
    return true;
}

void CLabelPrinter::DrawLabelFrame(Canvas& dc, int x, int y, int boxes, int mode,
                                   const CModuleTile* tile) {
    dc.saveState();
    dc.setBkMode(TRANSPARENT);
    dc.setTextColor(0);
    dc.selectBrush(BrushDesc::null());
    if (boxes == 1) {
        dc.selectPen(PenDesc{PS_SOLID, kBoxPen, 0});
        dc.rectangle(RECT{x, y, x + 120, y - 185});
        dc.rectangle(RECT{x + 140, y, x + 210, y - 230});
        dc.rectangle(RECT{x + 230, y, x + 580, y - 230});
        dc.rectangle(RECT{x + 600, y, x + 850, y - 230});
    }
    dc.selectPen(PenDesc{PS_SOLID, kLayoutPen, 0});
    // Rotated texts end near the label's top and run down into the first box.
    dc.setTextAlign(TA_RIGHT | TA_TOP);
    // A line of blanks is an empty line: the project file keeps an empty line as one blank.
    const auto written = [tile](std::size_t i) {
        return tile && tile->m_Lines[i].find_first_not_of(' ') != std::string::npos;
    };
    const bool has1 = written(0);
    const bool has2 = written(1);
    const bool has3 = written(2);
    const bool anyText = has1 || has2 || has3;
    if (has3) {
        dc.selectFont(TextFont("Arial", 42, 800, 900));
        dc.textOut(x + 80, y - 15, tile->m_Lines[2]);
    } else if (anyText) {
        dc.selectFont(TextFont("Arial", 24, 800, 900));
        if (has1)
            dc.textOut(x + 100, y - 15, tile->m_Lines[0]);
        if (has2)
            dc.textOut(x + 50, y - 15, tile->m_Lines[1]);
    }
    if (mode == 0) {
        if (!anyText) {
            dc.moveTo(x + 10, y - 92);
            dc.lineTo(x + 110, y - 92);
        }
        dc.selectFont(TextFont("Arial", 18, 800, 900));
        const int at = y - 115;
        const int spans[3][2] = {{150, 200}, {240, 570}, {610, 840}};
        for (const auto& s : spans) {
            dc.moveTo(x + s[0], at);
            dc.lineTo(x + s[1], at);
        }
    }
    dc.restoreState();
}

} // namespace mv
