#include "xui/color_combo_box.h"

#include "platform/sys_colors.h"
#include "xui/colorref.h"
#include "xui/window_class.h"

#include <QAbstractItemView>
#include <QPainter>

namespace xui {

CColorComboBox::CColorComboBox(QWidget* parent)
    : QComboBox(parent), highlight_(mv::GetSysColor(mv::COLOR_BTNHIGHLIGHT)),
      shadow_(mv::GetSysColor(mv::COLOR_BTNSHADOW)), face_(mv::GetSysColor(mv::COLOR_BTNFACE)),
      buttonWidth_(mv::GetSystemMetrics(mv::SM_CXHTHUMB)) {
    setWindowClassName(this, "ComboBox");
    setFrame(false);
    // Field and list: black text on white.
    QPalette pal = palette();
    for (QPalette::ColorGroup group : {QPalette::Active, QPalette::Inactive}) {
        pal.setColor(group, QPalette::Base, toQColor(0xFFFFFF));
        pal.setColor(group, QPalette::Text, toQColor(0x000000));
        pal.setColor(group, QPalette::Button, toQColor(0xFFFFFF));
        pal.setColor(group, QPalette::ButtonText, toQColor(0x000000));
    }
    setPalette(pal);
    view()->setPalette(pal);
}

QRect CColorComboBox::buttonRect() const {
    const QRect inner = rect().adjusted(2, 2, -2, -2);
    return QRect(inner.right() + 1 - buttonWidth_, inner.top(), buttonWidth_, inner.height());
}

void CColorComboBox::paintEvent(QPaintEvent* event) {
    QComboBox::paintEvent(event);
    QPainter p(this);
    p.setBrush(Qt::NoBrush);
    const auto frame = [&p](const QRect& r, mv::COLORREF color) {
        if (r.width() > 0 && r.height() > 0) {
            p.setPen(toQColor(color));
            p.drawRect(r.adjusted(0, 0, -1, -1));
        }
    };
    frame(rect(), kOuterFrame);
    frame(rect().adjusted(1, 1, -1, -1), kInnerFrame);
    const QRect button = buttonRect();
    frame(button, face_);
    frame(button.adjusted(1, 1, -1, -1), highlight_);
}

} // namespace xui
