// Own window classes ("XBUTTON", "XGRID", ...) found by class name when a dialog template is
// built, and the few window-level properties every control shares: class name, window text,
// and the face repair of buttons.
#pragma once

#include <QRect>
#include <QString>
#include <QWidget>

#include <cstdint>
#include <functional>
#include <string>
#include <string_view>

namespace xui {

// What a factory learns about the control to make. The builder sets geometry, control id,
// class name, font, visibility and enabled state itself after the factory returns.
struct WindowCreateInfo {
    std::string className; // as written in the template
    int id = 0;
    QString text;            // the item's text, already converted from Windows-1252
    std::uint32_t style = 0; // window and control style bits (platform/win_styles.h)
    QRect geometry;          // in pixels, dialog client coordinates
};

using WindowFactory = std::function<QWidget*(QWidget* parent, const WindowCreateInfo& info)>;

// The layer's own controls ("XBUTTON", "XGRID", "SysIPAddress32" and the coloured controls)
// are registered by the registry itself before its first use; nobody needs to call anything.

// Registers (or replaces) the factory of a class name. Names compare without regard to case.
// Returns false for an empty name or an empty factory.
bool registerWindowClass(std::string_view className, WindowFactory factory);

// True when the class name has a factory.
bool isWindowClassRegistered(std::string_view className);

// Makes a widget of a registered class; null when the name is unknown or the factory fails.
QWidget* createWindow(QWidget* parent, const WindowCreateInfo& info);

// The class name a widget was made under ("XBUTTON", "Static", ...); empty when unknown. For
// a registered class it is the name as registered, or the one the control set for itself.
// Own controls made outside a template call setWindowClassName in their constructor.
std::string windowClassName(const QWidget* widget);
void setWindowClassName(QWidget* widget, std::string_view className);

// The window text of any control: the text of labels, buttons and edits, the current text
// of a combo box, the title of a group box, otherwise the widget's windowTitle (which own
// controls use to hold their text).
QString windowText(const QWidget* widget);
void setWindowText(QWidget* widget, const QString& text);

// A control whose pressed face can stay on screen when the mouse leaves it with the button
// held down. The dialog's repair walk calls RefreshFace on controls of class "XBUTTON".
class RepairableFace {
public:
    virtual ~RepairableFace() = default;
    // True while the normal face is shown.
    virtual bool NormalFaceShown() const = 0;
    // If the normal face is not shown: repaint (with erase) and mark it shown.
    virtual void RefreshFace() = 0;
};

} // namespace xui
