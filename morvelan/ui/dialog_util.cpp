#include "morvelan/ui/dialog_util.h"

#include "morvelan/core/app_hooks.h"
#include "morvelan/core/one_line_text.h"
#include "platform/sys_colors.h"
#include "xui/colorref.h"
#include "xui/multiline_text.h"
#include "xui/qt_text.h"
#include "xui/window_class.h"
#include "xui/xgrid_ctrl.h"

#include <QLineEdit>
#include <QPlainTextEdit>

namespace morvelan {

void SetLanguageText(xui::CXDialog& dialog, int id, int textNumber) {
    const QString text = xui::fromCp1252(mv::LanguageText(textNumber));
    if (id == 0)
        dialog.setWindowTitle(text);
    else if (QWidget* w = dialog.item(id))
        xui::setWindowText(w, text);
}

std::string ItemText(const xui::CXDialog& dialog, int id) {
    QWidget* w = dialog.item(id);
    if (!w)
        return {};
    if (qobject_cast<QPlainTextEdit*>(w))
        return xui::multiLineText(w);
    // A pasted line break never reaches the document through a one-line field.
    if (qobject_cast<QLineEdit*>(w))
        return mv::OneLineText(xui::toCp1252(xui::windowText(w)));
    return xui::toCp1252(xui::windowText(w));
}

void SetItemText(xui::CXDialog& dialog, int id, const std::string& text) {
    QWidget* w = dialog.item(id);
    if (!w)
        return;
    if (qobject_cast<QPlainTextEdit*>(w))
        xui::setMultiLineText(w, text);
    else
        xui::setWindowText(w, xui::fromCp1252(text));
}

void SetTransparentControl(QWidget* control, mv::COLORREF text, mv::COLORREF background) {
    if (!control)
        return;
    const QColor normal = xui::toQColor(text);
    const QColor grey = xui::toQColor(mv::GetSysColor(mv::COLOR_GRAYTEXT));
    QPalette pal = control->palette();
    pal.setColor(QPalette::Window, xui::toQColor(background));
    pal.setColor(QPalette::Button, xui::toQColor(background));
    for (QPalette::ColorRole role : {QPalette::WindowText, QPalette::ButtonText, QPalette::Text}) {
        pal.setColor(QPalette::Active, role, normal);
        pal.setColor(QPalette::Inactive, role, normal);
        pal.setColor(QPalette::Disabled, role, grey);
    }
    control->setPalette(pal);
    control->setAutoFillBackground(false);
}

void SetListStyle(xui::XGridCtrl& grid, mv::COLORREF rowColor) {
    grid.SetNoFixedColumn();
    grid.SetSelectionMode(xui::XGridCtrl::kSelectRow);
    grid.SetCellAlignment(xui::XGridCtrl::kAlignLeft);
    grid.SetHeaderColor(kHeadingColor);
    grid.SetHeaderTextColor(0);
    grid.SetAllRowColors(rowColor);
}

int SelectedRow(const xui::XGridCtrl& grid) {
    int row = -1;
    int column = -1;
    grid.GetSelection(row, column);
    return row;
}

std::string CellText(const xui::XGridCtrl& grid, int row, int column) {
    std::string text;
    grid.GetCellText(row, column, text);
    return text;
}

std::string CutText(const std::string& text, std::size_t limit) {
    return text.size() > limit ? text.substr(0, limit) : text;
}

} // namespace morvelan
