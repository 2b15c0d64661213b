#include "xui/dialog_builder.h"

#include "xui/ascii_case.h"
#include "xui/colorref.h"
#include "xui/command.h"
#include "xui/font_map.h"
#include "xui/qt_text.h"
#include "xui/window_class.h"
#include "platform/sys_colors.h"

#include <QButtonGroup>
#include <QCheckBox>
#include <QComboBox>
#include <QGroupBox>
#include <QLabel>
#include <QLineEdit>
#include <QListWidget>
#include <QPlainTextEdit>
#include <QProgressBar>
#include <QPushButton>
#include <QRadioButton>

#include <algorithm>
#include <map>
#include <string>

namespace xui {
namespace {

std::map<int, const DialogTemplate*>& templates() {
    static std::map<int, const DialogTemplate*> t;
    return t;
}

bool isClass(const char* name, const char* want) {
    return sameNoCase(name == nullptr ? "" : name, want);
}

Qt::Alignment staticAlignment(std::uint32_t style) {
    switch (style & mv::SS_TYPEMASK) {
    case mv::SS_CENTER:
        return Qt::AlignHCenter | Qt::AlignTop;
    case mv::SS_RIGHT:
        return Qt::AlignRight | Qt::AlignTop;
    default:
        return Qt::AlignLeft | Qt::AlignTop;
    }
}

// The standard classes of the platform as Qt widgets; each posts the commands the dialogs use.
QWidget* makeStandard(QWidget* parent, const DialogItem& item, const QString& text) {
    const std::uint32_t style = item.style;
    if (isClass(item.className, "Static")) {
        auto* l = new QLabel(parent);
        const std::uint32_t type = style & mv::SS_TYPEMASK;
        if (type == mv::SS_ETCHEDHORZ) {
            // A shadow line with a highlight line below it, in the system's colours.
            l->setFrameStyle(QFrame::HLine | QFrame::Sunken);
            QPalette pal = l->palette();
            for (QPalette::ColorGroup g : {QPalette::Active, QPalette::Inactive, QPalette::Disabled}) {
                pal.setColor(g, QPalette::Dark, toQColor(mv::GetSysColor(mv::COLOR_BTNSHADOW)));
                pal.setColor(g, QPalette::Light, toQColor(mv::GetSysColor(mv::COLOR_BTNHIGHLIGHT)));
            }
            l->setPalette(pal);
            return l;
        }
        if (type != mv::SS_ICON && type != mv::SS_BITMAP) {
            l->setText(text);
        }
        l->setAlignment(staticAlignment(style));
        l->setWordWrap(true);
        l->setTextFormat(Qt::PlainText);
        return l;
    }
    if (isClass(item.className, "Button")) {
        const std::uint32_t type = style & mv::BS_TYPEMASK;
        if (type == mv::BS_GROUPBOX) {
            return new QGroupBox(text, parent);
        }
        QAbstractButton* b = nullptr;
        if (type == mv::BS_RADIOBUTTON || type == mv::BS_AUTORADIOBUTTON) {
            b = new QRadioButton(text, parent);
            b->setAutoExclusive(false);
        } else if (type == mv::BS_CHECKBOX || type == mv::BS_AUTOCHECKBOX) {
            b = new QCheckBox(text, parent);
        } else {
            auto* push = new QPushButton(text, parent);
            push->setAutoDefault(false);
            b = push;
        }
        QObject::connect(b, &QAbstractButton::clicked, b,
                         [b] { postCommand(b, mv::BN_CLICKED); });
        return b;
    }
    if (isClass(item.className, "Edit")) {
        if ((style & mv::ES_MULTILINE) != 0) {
            auto* e = new QPlainTextEdit(text, parent);
            e->setReadOnly((style & mv::ES_READONLY) != 0);
            QObject::connect(e, &QPlainTextEdit::textChanged, e,
                             [e] { postCommand(e, mv::EN_CHANGE); });
            return e;
        }
        auto* e = new QLineEdit(text, parent);
        e->setReadOnly((style & mv::ES_READONLY) != 0);
        e->setFrame(true);
        if ((style & 0x3u) == mv::ES_CENTER) {
            e->setAlignment(Qt::AlignHCenter);
        } else if ((style & 0x3u) == mv::ES_RIGHT) {
            e->setAlignment(Qt::AlignRight);
        }
        QObject::connect(e, &QLineEdit::textChanged, e, [e] { postCommand(e, mv::EN_CHANGE); });
        return e;
    }
    if (isClass(item.className, "ComboBox")) {
        auto* c = new QComboBox(parent);
        c->setEditable((style & 0x3u) == mv::CBS_DROPDOWN);
        QObject::connect(c, &QComboBox::currentIndexChanged, c,
                         [c] { postCommand(c, mv::CBN_SELCHANGE); });
        return c;
    }
    if (isClass(item.className, "ListBox")) {
        auto* l = new QListWidget(parent);
        QObject::connect(l, &QListWidget::currentRowChanged, l,
                         [l] { postCommand(l, mv::LBN_SELCHANGE); });
        QObject::connect(l, &QListWidget::itemDoubleClicked, l,
                         [l] { postCommand(l, mv::LBN_DBLCLK); });
        return l;
    }
    if (isClass(item.className, "msctls_progress32")) {
        auto* p = new QProgressBar(parent);
        p->setTextVisible(false);
        p->setRange(0, 100);
        p->setValue(0);
        return p;
    }
    // Unknown class: an empty placeholder that still carries text, id and geometry.
    auto* w = new QWidget(parent);
    w->setWindowTitle(text);
    return w;
}

// The height of one line of a combo box's dropped list.
int listLineHeight(const QComboBox* combo) {
    return std::max(1, combo->fontMetrics().height() + 2);
}

bool wantsFocus(const QWidget* w, const DialogItem& item) {
    if ((item.style & mv::WS_TABSTOP) != 0) {
        return true;
    }
    return qobject_cast<const QLineEdit*>(w) != nullptr ||
           qobject_cast<const QPlainTextEdit*>(w) != nullptr ||
           qobject_cast<const QComboBox*>(w) != nullptr ||
           qobject_cast<const QListWidget*>(w) != nullptr;
}

} // namespace

void registerDialogTemplates(const std::vector<const DialogTemplate*>& list) {
    for (const DialogTemplate* t : list) {
        if (t != nullptr) {
            templates()[t->id] = t;
        }
    }
}

void placeComboBox(QComboBox* combo, const QRect& withList) {
    if (combo == nullptr) {
        return;
    }
    const int closed = std::min(withList.height(), combo->sizeHint().height());
    combo->setGeometry(withList.x(), withList.y(), withList.width(), closed);
    combo->setMaxVisibleItems(std::max(1, (withList.height() - closed) / listLineHeight(combo)));
}

const DialogTemplate* findDialogTemplate(int id) {
    auto it = templates().find(id);
    return it == templates().end() ? nullptr : it->second;
}

BuiltDialog buildDialog(QWidget* dialog, const DialogTemplate& tmpl, QPoint origin) {
    BuiltDialog built;
    if (dialog == nullptr) {
        return built;
    }
    const mv::FontDesc font = fontFromPoints(tmpl.fontFace == nullptr ? "MS Sans Serif"
                                                                      : tmpl.fontFace,
                                             tmpl.fontPoints > 0 ? tmpl.fontPoints : 8);
    setControlFont(dialog, font);
    dialog->setWindowTitle(fromCp1252(tmpl.caption == nullptr ? "" : tmpl.caption));

    QWidget* lastTab = nullptr;
    QButtonGroup* radioGroup = nullptr;
    for (const DialogItem& item : tmpl.items) {
        WindowCreateInfo info;
        info.className = item.className == nullptr ? "" : item.className;
        info.id = item.id;
        info.text = fromCp1252(item.text == nullptr ? "" : item.text);
        info.style = item.style;
        info.geometry = QRect(origin.x() + dluToPixelsX(item.x), origin.y() + dluToPixelsY(item.y),
                              dluToPixelsX(item.cx), dluToPixelsY(item.cy));

        QWidget* w = createWindow(dialog, info);
        if (w == nullptr) {
            w = makeStandard(dialog, item, info.text);
            setWindowClassName(w, info.className);
        }
        if (w->parentWidget() != dialog) {
            w->setParent(dialog);
        }
        setControlId(w, item.id);
        setControlFont(w, font);
        if (auto* combo = qobject_cast<QComboBox*>(w)) {
            placeComboBox(combo, info.geometry);
        } else {
            w->setGeometry(info.geometry);
        }
        w->setEnabled((item.style & mv::WS_DISABLED) == 0);
        w->setVisible((item.style & mv::WS_VISIBLE) != 0);

        // Radio buttons that follow each other form one group until an item starts a new one.
        auto* radio = qobject_cast<QRadioButton*>(w);
        if ((item.style & mv::WS_GROUP) != 0 || radio == nullptr) {
            radioGroup = nullptr;
        }
        if (radio != nullptr) {
            if (radioGroup == nullptr) {
                radioGroup = new QButtonGroup(dialog);
                radioGroup->setExclusive(true);
            }
            radioGroup->addButton(radio);
        }

        // Every item joins the focus chain in table order; only tab stops take Tab.
        if (lastTab != nullptr) {
            QWidget::setTabOrder(lastTab, w);
        }
        lastTab = w;
        if (wantsFocus(w, item)) {
            if (w->focusPolicy() == Qt::NoFocus) {
                w->setFocusPolicy(Qt::StrongFocus);
            }
        } else {
            w->setFocusPolicy((qobject_cast<QAbstractButton*>(w) != nullptr) ? Qt::ClickFocus
                                                                            : Qt::NoFocus);
        }
        built.items.emplace(item.id, w);
        built.order.push_back(w);
    }
    return built;
}

} // namespace xui
