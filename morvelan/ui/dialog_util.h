// Small helpers the dialogs of morvelan share: language texts on controls, the list style of
// their grids, and edit texts as Windows-1252 bytes.
#pragma once

#include "platform/gdi_types.h"
#include "xui/xdialog.h"

#include <string>

namespace xui {
class XGridCtrl;
}

namespace morvelan {

// Colours of the dialogs' grids and painted labels.
constexpr mv::COLORREF kHeadingColor = 0xFBCCA3;
constexpr mv::COLORREF kCatalogueRowColor = 0xFF0000;
constexpr mv::COLORREF kLabelFrame = 0xFFFFFF;
constexpr mv::COLORREF kSliderEditColor = 0xDCDCDC;
// Painter alignments.
constexpr int kAlignLeft = 0;
constexpr int kAlignCentre = 6;

// Sets a control's text (or the dialog's title for id 0) to a language text.
void SetLanguageText(xui::CXDialog& dialog, int id, int textNumber);
// The text of a control as Windows-1252 bytes, and back. A multi-line edit gives its line breaks
// as CR LF; a one-line edit gives a line break (pasted into it) as a blank.
std::string ItemText(const xui::CXDialog& dialog, int id);
void SetItemText(xui::CXDialog& dialog, int id, const std::string& text);

// A control (radio button, check box, group, static) that paints no background of its own,
// stands on `background` (what the style shades its parts from) and draws its text in `text`,
// grey while disabled, whatever the desktop's palette says.
void SetTransparentControl(QWidget* control, mv::COLORREF text, mv::COLORREF background);

// The list style of the dialogs' grids: no fixed column, whole-row selection, left-aligned
// texts, heading colour 0xFBCCA3 with black text, and the row text colour.
void SetListStyle(xui::XGridCtrl& grid, mv::COLORREF rowColor);
// The selected row of a grid (-1 when none).
int SelectedRow(const xui::XGridCtrl& grid);
std::string CellText(const xui::XGridCtrl& grid, int row, int column);

// The first `limit` bytes of a text.
std::string CutText(const std::string& text, std::size_t limit);

} // namespace morvelan
