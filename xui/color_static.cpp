#include "xui/color_static.h"

#include "platform/sys_colors.h"
#include "xui/colorref.h"
#include "xui/window_class.h"

namespace xui {

CColorStatic::CColorStatic(QWidget* parent, const QString& text)
    : QLabel(text, parent), bkColor_(mv::GetSysColor(mv::COLOR_MENU)),
      textColor_(mv::GetSysColor(mv::COLOR_WINDOWTEXT)) {
    setWindowClassName(this, "Static");
    setAutoFillBackground(true);
    applyColors();
}

void CColorStatic::applyColors() {
    QPalette pal = palette();
    for (QPalette::ColorGroup group : {QPalette::Active, QPalette::Inactive, QPalette::Disabled}) {
        pal.setColor(group, QPalette::Window, toQColor(bkColor_));
        pal.setColor(group, QPalette::WindowText, toQColor(textColor_));
    }
    setPalette(pal);
}

void CColorStatic::SetBkColor(mv::COLORREF color) {
    bkColor_ = color;
    applyColors();
    repaint();
}

void CColorStatic::SetTextColor(mv::COLORREF color) {
    textColor_ = color;
    applyColors();
    repaint();
}

} // namespace xui
