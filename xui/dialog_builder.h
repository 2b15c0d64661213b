// The one builder that turns a dialog template into widgets: own classes are found by class
// name (window_class.h), standard classes become Qt widgets, hidden items stay as hidden
// placeholders whose text, font and geometry code reads, and tab order and radio groups
// follow the table.
#pragma once

#include "xui/dialog_template.h"

#include <QPoint>
#include <QWidget>

#include <map>

class QButtonGroup;
class QComboBox;

namespace xui {

struct BuiltDialog {
    std::map<int, QWidget*> items; // by control id (the first item of an id wins)
    std::vector<QWidget*> order;   // every item in template order
};

// Makes the template's items as children of `dialog`, placed at `clientOrigin` plus their
// template position. Sets the dialog's title, font and client size (fixed). An item of an
// unknown class becomes an empty placeholder widget, so the rest of the dialog still works.
BuiltDialog buildDialog(QWidget* dialog, const DialogTemplate& tmpl,
                        QPoint clientOrigin = QPoint(0, 0));

// Places a drop-down combo box whose rectangle, as templates give it, includes its dropped
// list: the closed box takes the height its font needs (never more than the rectangle), the
// list drops down to at most the rest of the rectangle.
void placeComboBox(QComboBox* combo, const QRect& withList);

} // namespace xui
