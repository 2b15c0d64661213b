#include "xui/color_sel_edit.h"

#include "platform/cp1252.h"
#include "xui/colorref.h"
#include "xui/window_class.h"

#include <QFocusEvent>
#include <QKeyEvent>
#include <QPainter>
#include <QTimer>

namespace xui {

CColorSelEdit::CColorSelEdit(QWidget* parent) : QLineEdit(parent) {
    setWindowClassName(this, "Edit");
    setFrame(false);
    setTextMargins(3, 0, 3, 0);
    applyColors();
}

void CColorSelEdit::applyColors() {
    QPalette pal = palette();
    for (QPalette::ColorGroup group : {QPalette::Active, QPalette::Inactive}) {
        pal.setColor(group, QPalette::Base, toQColor(bkColor_));
        pal.setColor(group, QPalette::Window, toQColor(bkColor_));
        pal.setColor(group, QPalette::Text, toQColor(textColor_));
    }
    setPalette(pal);
}

void CColorSelEdit::SetBkColor(mv::COLORREF color) {
    bkColor_ = color;
    applyColors();
    repaint();
}

void CColorSelEdit::SetTextColor(mv::COLORREF color) {
    textColor_ = color;
    applyColors();
    repaint();
}

void CColorSelEdit::SetAllowedChars(std::string_view allowed) {
    filterOn_ = true;
    allowed_.assign(allowed);
}

bool CColorSelEdit::accepts(QChar c) const {
    if (!filterOn_ || c.unicode() == static_cast<char16_t>(kBackspace)) {
        return true;
    }
    if (allowed_.empty()) {
        return false;
    }
    const int byte = mv::unicodeToCp1252(c.unicode());
    return byte >= 0 && allowed_.find(static_cast<char>(byte)) != std::string::npos;
}

void CColorSelEdit::keyPressEvent(QKeyEvent* event) {
    // Only typed characters are filtered: the keys the dialog handles (Tab, Enter, Escape),
    // editing keys (Delete, Backspace, arrows, Home, End) and shortcuts (Ctrl+A, C, V, X, Z)
    // type none and pass on. Delete arrives with U+007F, a shortcut with a control character.
    switch (event->key()) {
    case Qt::Key_Tab:
    case Qt::Key_Backtab:
    case Qt::Key_Return:
    case Qt::Key_Enter:
    case Qt::Key_Escape:
        QLineEdit::keyPressEvent(event);
        return;
    default:
        break;
    }
    QString typed;
    if (!(event->modifiers() & (Qt::ControlModifier | Qt::MetaModifier))) {
        for (QChar c : event->text()) {
            if (c.isPrint())
                typed += c;
        }
    }
    for (QChar c : typed) {
        if (!accepts(c)) {
            event->accept();
            return;
        }
    }
    if (!filterOn_) {
        typed_ += typed;
    }
    QLineEdit::keyPressEvent(event);
}

void CColorSelEdit::focusInEvent(QFocusEvent* event) {
    QLineEdit::focusInEvent(event);
    savedBkColor_ = bkColor_;
    bkColor_ = kFocusColor;
    applyColors();
    // The whole text is selected once the click that brought the focus is done.
    selectAll();
    QTimer::singleShot(0, this, [this] {
        if (hasFocus()) {
            selectAll();
        }
    });
    repaint();
}

void CColorSelEdit::focusOutEvent(QFocusEvent* event) {
    QLineEdit::focusOutEvent(event);
    bkColor_ = savedBkColor_;
    applyColors();
    repaint();
}

void CColorSelEdit::paintEvent(QPaintEvent* event) {
    QLineEdit::paintEvent(event);
    QPainter p(this);
    p.setPen(toQColor(bkColor_));
    p.setBrush(Qt::NoBrush);
    // Three nested one-pixel frames in the background colour along the edge.
    for (int i = 0; i < 3; ++i) {
        const QRect r = rect().adjusted(i, i, -i, -i);
        if (r.width() <= 0 || r.height() <= 0) {
            break;
        }
        p.drawRect(r.adjusted(0, 0, -1, -1));
    }
}

} // namespace xui
