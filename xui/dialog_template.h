// Dialog templates as C++ tables in dialog units. Each deliverable keeps its templates in one
// table file and registers them, so dialogs are made by template id.
#pragma once

#include "platform/win_styles.h"

#include <cstdint>
#include <utility>
#include <vector>

namespace xui {

// Dialog units convert with the fixed base units 6 x 13 (the 8-point dialog font at 96 dpi):
// x pixels = dlu * 6 / 4, y pixels = dlu * 13 / 8, rounded to the nearest pixel.
constexpr int kBaseUnitX = 6;
constexpr int kBaseUnitY = 13;

constexpr int dluToPixelsX(int dlu) {
    const int n = dlu * kBaseUnitX;
    return n >= 0 ? (n + 2) / 4 : -((-n + 2) / 4);
}
constexpr int dluToPixelsY(int dlu) {
    const int n = dlu * kBaseUnitY;
    return n >= 0 ? (n + 4) / 8 : -((-n + 4) / 8);
}

// One control of a template. Texts are Windows-1252 bytes.
struct DialogItem {
    const char* className = "Static"; // "Static", "Button", "Edit", "ComboBox", "ListBox",
                                      // "msctls_progress32", or an own class ("XBUTTON", ...)
    int id = 0;
    const char* text = "";
    int x = 0;
    int y = 0;
    int cx = 0;
    int cy = 0;
    std::uint32_t style = 0; // WS_VISIBLE, WS_TABSTOP, WS_GROUP, WS_DISABLED and class bits
};

struct DialogTemplate {
    int id = 0;
    const char* caption = "";
    const char* fontFace = "MS Sans Serif";
    int fontPoints = 8;
    int x = 0;
    int y = 0;
    int cx = 0; // client size in dialog units
    int cy = 0;
    std::uint32_t style = 0;
    std::vector<DialogItem> items;
};

// A modal dialog with caption and system menu in the template's font.
constexpr std::uint32_t kModalDialogStyle =
    mv::WS_POPUP | mv::WS_CAPTION | mv::WS_SYSMENU | mv::DS_MODALFRAME | mv::DS_SETFONT;

// The template of most dialogs: modal, in the classic 8-point "MS Sans Serif", placed by its
// owner, with a client area of cx x cy dialog units.
inline DialogTemplate modalDialogTemplate(int id, const char* caption, int cx, int cy,
                                          std::vector<DialogItem> items) {
    return DialogTemplate{id, caption, "MS Sans Serif", 8, 0, 0, cx, cy, kModalDialogStyle,
                          std::move(items)};
}

// Registers a deliverable's templates (the table must outlive every dialog; a later entry
// with the same id replaces an earlier one).
void registerDialogTemplates(const std::vector<const DialogTemplate*>& templates);

// The template of an id; null when none is registered.
const DialogTemplate* findDialogTemplate(int id);

} // namespace xui
