#include "xui/ip_address_ctrl.h"

#include "platform/sys_colors.h"
#include "xui/colorref.h"
#include "xui/window_class.h"

#include <QKeyEvent>
#include <QLineEdit>
#include <QPainter>
#include <QRegularExpression>
#include <QRegularExpressionValidator>

#include <algorithm>

namespace xui {
namespace {

constexpr int kBorder = 2;    // frame width around the fields
constexpr int kMaxDigits = 3; // digits in one field

// A line edit keeps a fixed margin of this many pixels on each side of its text; the fields
// give it back through negative text margins, so their whole width holds digits (the one
// frame is the control's own).
constexpr int kLineEditMargin = 2;

} // namespace

CIpAddressCtrl::CIpAddressCtrl(QWidget* parent) : QWidget(parent) {
    setWindowClassName(this, "SysIPAddress32");
    setAttribute(Qt::WA_OpaquePaintEvent);
    auto* validator =
        new QRegularExpressionValidator(QRegularExpression(QStringLiteral("[0-9]{0,3}")), this);
    for (int i = 0; i < kFieldCount; ++i) {
        auto* edit = new QLineEdit(this);
        edit->setFrame(false);
        edit->setTextMargins(-kLineEditMargin, 0, -kLineEditMargin, 0);
        edit->setAlignment(Qt::AlignCenter);
        edit->setValidator(validator);
        edit->setMaxLength(kMaxDigits);
        edit->setContextMenuPolicy(Qt::NoContextMenu);
        // The control is one stop of the dialog's tab order; inside it the keys move around.
        edit->setFocusPolicy(Qt::ClickFocus);
        QPalette pal = edit->palette();
        pal.setColor(QPalette::Base, toQColor(mv::GetSysColor(mv::COLOR_WINDOW)));
        pal.setColor(QPalette::Text, toQColor(mv::GetSysColor(mv::COLOR_WINDOWTEXT)));
        pal.setColor(QPalette::Disabled, QPalette::Base,
                     toQColor(mv::GetSysColor(mv::COLOR_BTNFACE)));
        pal.setColor(QPalette::Disabled, QPalette::Text,
                     toQColor(mv::GetSysColor(mv::COLOR_GRAYTEXT)));
        edit->setPalette(pal);
        edit->installEventFilter(this);
        connect(edit, &QLineEdit::textEdited, this, [this, i] { onFieldEdited(i); });
        fields_[static_cast<std::size_t>(i)] = edit;
    }
    setFocusPolicy(Qt::StrongFocus);
    setFocusProxy(fields_[0]);
    layoutFields();
}

QLineEdit* CIpAddressCtrl::fieldEdit(int field) const {
    if (field < 0 || field >= kFieldCount) {
        return nullptr;
    }
    return fields_[static_cast<std::size_t>(field)];
}

int CIpAddressCtrl::fieldValue(int field) const {
    const QLineEdit* edit = fieldEdit(field);
    if (edit == nullptr) {
        return -1;
    }
    const QString text = edit->text();
    if (text.isEmpty()) {
        return -1;
    }
    int value = 0;
    for (QChar c : text) {
        if (c < QLatin1Char('0') || c > QLatin1Char('9')) {
            continue;
        }
        value = value * 10 + (c.unicode() - '0');
        if (value > kFieldMax) {
            return kFieldMax;
        }
    }
    return value;
}

void CIpAddressCtrl::SetAddress(std::uint32_t address) {
    SetAddress(static_cast<std::uint8_t>(address >> 24), static_cast<std::uint8_t>(address >> 16),
               static_cast<std::uint8_t>(address >> 8), static_cast<std::uint8_t>(address));
}

void CIpAddressCtrl::SetAddress(std::uint8_t f0, std::uint8_t f1, std::uint8_t f2,
                                std::uint8_t f3) {
    const std::array<std::uint8_t, kFieldCount> values{f0, f1, f2, f3};
    for (int i = 0; i < kFieldCount; ++i) {
        fields_[static_cast<std::size_t>(i)]->setText(
            QString::number(values[static_cast<std::size_t>(i)]));
    }
}

int CIpAddressCtrl::GetAddress(std::uint32_t& address) const {
    address = 0;
    int filled = 0;
    for (int i = 0; i < kFieldCount; ++i) {
        const int v = fieldValue(i);
        address <<= 8;
        if (v >= 0) {
            address |= static_cast<std::uint32_t>(v);
            ++filled;
        }
    }
    return filled;
}

int CIpAddressCtrl::GetAddress(std::uint8_t& f0, std::uint8_t& f1, std::uint8_t& f2,
                               std::uint8_t& f3) const {
    std::uint32_t address = 0;
    const int filled = GetAddress(address);
    f0 = static_cast<std::uint8_t>(address >> 24);
    f1 = static_cast<std::uint8_t>(address >> 16);
    f2 = static_cast<std::uint8_t>(address >> 8);
    f3 = static_cast<std::uint8_t>(address);
    return filled;
}

void CIpAddressCtrl::ClearAddress() {
    for (QLineEdit* edit : fields_) {
        edit->clear();
    }
}

bool CIpAddressCtrl::IsBlank() const {
    for (int i = 0; i < kFieldCount; ++i) {
        if (fieldValue(i) >= 0) {
            return false;
        }
    }
    return true;
}

void CIpAddressCtrl::SetFieldFocus(int field) {
    if (field < 0 || field >= kFieldCount) {
        return;
    }
    moveToField(field, true, false);
}

int CIpAddressCtrl::fieldIndex(const QObject* object) const {
    for (int i = 0; i < kFieldCount; ++i) {
        if (fields_[static_cast<std::size_t>(i)] == object) {
            return i;
        }
    }
    return -1;
}

void CIpAddressCtrl::moveToField(int field, bool selectAll, bool caretAtEnd) {
    QLineEdit* edit = fieldEdit(field);
    if (edit == nullptr) {
        return;
    }
    edit->setFocus(Qt::OtherFocusReason);
    if (selectAll) {
        edit->selectAll();
    } else if (caretAtEnd) {
        edit->setCursorPosition(static_cast<int>(edit->text().size()));
    } else {
        edit->setCursorPosition(0);
    }
}

void CIpAddressCtrl::onFieldEdited(int field) {
    QLineEdit* edit = fieldEdit(field);
    if (edit->text().toInt() > kFieldMax) {
        edit->setText(QString::number(kFieldMax));
    }
    if (edit->text().size() >= kMaxDigits && edit->cursorPosition() >= kMaxDigits &&
        field + 1 < kFieldCount) {
        moveToField(field + 1, true, false);
    }
}

bool CIpAddressCtrl::eventFilter(QObject* watched, QEvent* event) {
    const int field = fieldIndex(watched);
    if (field < 0 || event->type() != QEvent::KeyPress) {
        return QWidget::eventFilter(watched, event);
    }
    auto* key = static_cast<QKeyEvent*>(event);
    QLineEdit* edit = fields_[static_cast<std::size_t>(field)];
    const bool noSelection = !edit->hasSelectedText();
    const int caret = edit->cursorPosition();
    const int length = static_cast<int>(edit->text().size());

    switch (key->key()) {
    case Qt::Key_Period:
        if (field + 1 < kFieldCount) {
            moveToField(field + 1, true, false);
        }
        return true;
    case Qt::Key_Backspace:
        if (noSelection && caret == 0 && field > 0) {
            moveToField(field - 1, false, true);
            return true;
        }
        return false;
    case Qt::Key_Left:
        if (noSelection && caret == 0 && field > 0 && key->modifiers() == Qt::NoModifier) {
            moveToField(field - 1, false, true);
            return true;
        }
        return false;
    case Qt::Key_Right:
        if (noSelection && caret == length && field + 1 < kFieldCount &&
            key->modifiers() == Qt::NoModifier) {
            moveToField(field + 1, false, false);
            return true;
        }
        return false;
    default:
        break;
    }
    // Printable characters other than digits never reach the field.
    const QString text = key->text();
    if (!text.isEmpty() && text.at(0).isPrint() && !(key->modifiers() & Qt::ControlModifier)) {
        for (QChar c : text) {
            if (c < QLatin1Char('0') || c > QLatin1Char('9')) {
                return true;
            }
        }
    }
    return false;
}

void CIpAddressCtrl::layoutFields() {
    const int dotWidth = fontMetrics().horizontalAdvance(QLatin1Char('.'));
    const int inner = width() - 2 * kBorder;
    const int fieldWidth = std::max(0, (inner - (kFieldCount - 1) * dotWidth) / kFieldCount);
    const int fieldHeight = std::max(0, height() - 2 * kBorder);
    int x = kBorder;
    for (QLineEdit* edit : fields_) {
        edit->setGeometry(x, kBorder, fieldWidth, fieldHeight);
        x += fieldWidth + dotWidth;
    }
}

void CIpAddressCtrl::resizeEvent(QResizeEvent* event) {
    QWidget::resizeEvent(event);
    layoutFields();
}

void CIpAddressCtrl::changeEvent(QEvent* event) {
    QWidget::changeEvent(event);
    if (event->type() == QEvent::FontChange) {
        layoutFields();
    }
}

void CIpAddressCtrl::paintEvent(QPaintEvent*) {
    QPainter p(this);
    const bool enabled = isEnabled();
    const QColor fill = toQColor(mv::GetSysColor(enabled ? mv::COLOR_WINDOW : mv::COLOR_BTNFACE));
    p.fillRect(rect(), fill);
    // A sunken edge: shadow above and left, highlight below and right.
    p.setPen(toQColor(mv::GetSysColor(mv::COLOR_BTNSHADOW)));
    p.drawLine(0, 0, width() - 1, 0);
    p.drawLine(0, 0, 0, height() - 1);
    p.setPen(toQColor(mv::GetSysColor(mv::COLOR_BTNHIGHLIGHT)));
    p.drawLine(0, height() - 1, width() - 1, height() - 1);
    p.drawLine(width() - 1, 0, width() - 1, height() - 1);
    // The dots between the fields.
    p.setPen(toQColor(mv::GetSysColor(enabled ? mv::COLOR_WINDOWTEXT : mv::COLOR_GRAYTEXT)));
    p.setFont(font());
    for (int i = 0; i + 1 < kFieldCount; ++i) {
        const QRect a = fields_[static_cast<std::size_t>(i)]->geometry();
        const QRect b = fields_[static_cast<std::size_t>(i + 1)]->geometry();
        const QRect gap(a.right() + 1, a.top(), b.left() - a.right() - 1, a.height());
        p.drawText(gap, Qt::AlignCenter, QStringLiteral("."));
    }
}

bool RegisterIpAddressClass() {
    return registerWindowClass("SysIPAddress32", [](QWidget* parent, const WindowCreateInfo&) {
        return static_cast<QWidget*>(new CIpAddressCtrl(parent));
    });
}

} // namespace xui
