#include "xui/window_class.h"

#include "xui/ascii_case.h"
#include "xui/controls.h"

#include <QAbstractButton>
#include <QComboBox>
#include <QGroupBox>
#include <QLabel>
#include <QLineEdit>
#include <QPlainTextEdit>
#include <QTextEdit>
#include <QVariant>

#include <map>

namespace xui {
namespace {

constexpr const char* kClassProperty = "mvWindowClass";

struct RegisteredClass {
    std::string name; // as registered: what the class name of its windows reads
    WindowFactory factory;
};

std::map<std::string, RegisteredClass>& registry() {
    static std::map<std::string, RegisteredClass> classes;
    return classes;
}

// The layer's own controls ("XBUTTON", "XGRID", "SysIPAddress32", ...) join the registry
// before its first use, so no program, plug-in or test has to remember to register them; a
// registration made afterwards under the same name still replaces them. UI thread only.
void ensureOwnClasses() {
    static bool done = false;
    if (!done) {
        done = true; // set first: the registrations below come back through here
        RegisterControlClasses();
    }
}

} // namespace

bool registerWindowClass(std::string_view className, WindowFactory factory) {
    ensureOwnClasses();
    if (className.empty() || !factory) {
        return false;
    }
    registry()[asciiUpper(className)] = RegisteredClass{std::string(className), std::move(factory)};
    return true;
}

bool isWindowClassRegistered(std::string_view className) {
    ensureOwnClasses();
    return registry().count(asciiUpper(className)) != 0;
}

QWidget* createWindow(QWidget* parent, const WindowCreateInfo& info) {
    ensureOwnClasses();
    auto it = registry().find(asciiUpper(info.className));
    if (it == registry().end()) {
        return nullptr;
    }
    QWidget* w = it->second.factory(parent, info);
    // The class name reads as the class was registered, whatever the template's spelling; a
    // control that names its own class (an edit made as "CColorSelEdit" is an "Edit") keeps it.
    if (w != nullptr && windowClassName(w).empty()) {
        setWindowClassName(w, it->second.name);
    }
    return w;
}

std::string windowClassName(const QWidget* widget) {
    if (widget == nullptr) {
        return {};
    }
    return widget->property(kClassProperty).toString().toStdString();
}

void setWindowClassName(QWidget* widget, std::string_view className) {
    if (widget != nullptr) {
        widget->setProperty(
            kClassProperty,
            QString::fromLatin1(className.data(), static_cast<int>(className.size())));
    }
}

QString windowText(const QWidget* widget) {
    if (widget == nullptr) {
        return {};
    }
    if (auto* l = qobject_cast<const QLabel*>(widget)) {
        return l->text();
    }
    if (auto* b = qobject_cast<const QAbstractButton*>(widget)) {
        return b->text();
    }
    if (auto* e = qobject_cast<const QLineEdit*>(widget)) {
        return e->text();
    }
    if (auto* p = qobject_cast<const QPlainTextEdit*>(widget)) {
        return p->toPlainText();
    }
    if (auto* t = qobject_cast<const QTextEdit*>(widget)) {
        return t->toPlainText();
    }
    if (auto* c = qobject_cast<const QComboBox*>(widget)) {
        return c->currentText();
    }
    if (auto* g = qobject_cast<const QGroupBox*>(widget)) {
        return g->title();
    }
    return widget->windowTitle();
}

void setWindowText(QWidget* widget, const QString& text) {
    if (widget == nullptr) {
        return;
    }
    if (auto* l = qobject_cast<QLabel*>(widget)) {
        l->setText(text);
    } else if (auto* b = qobject_cast<QAbstractButton*>(widget)) {
        b->setText(text);
    } else if (auto* e = qobject_cast<QLineEdit*>(widget)) {
        e->setText(text);
    } else if (auto* p = qobject_cast<QPlainTextEdit*>(widget)) {
        p->setPlainText(text);
    } else if (auto* t = qobject_cast<QTextEdit*>(widget)) {
        t->setPlainText(text);
    } else if (auto* c = qobject_cast<QComboBox*>(widget)) {
        if (c->isEditable()) {
            c->setEditText(text);
        } else {
            int i = c->findText(text);
            if (i >= 0) {
                c->setCurrentIndex(i);
            }
        }
    } else if (auto* g = qobject_cast<QGroupBox*>(widget)) {
        g->setTitle(text);
    } else {
        widget->setWindowTitle(text);
        widget->update();
    }
}

} // namespace xui
