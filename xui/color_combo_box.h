// The flat combo box: black text on white in its field and list, framed by a light grey and
// a white line, with a flat frame around the drop-down button.
#pragma once

#include "platform/gdi_types.h"

#include <QComboBox>

namespace xui {

class CColorComboBox : public QComboBox {
    Q_OBJECT

public:
    static constexpr mv::COLORREF kOuterFrame = 0xC0C0C0;
    static constexpr mv::COLORREF kInnerFrame = 0xFFFFFF;

    explicit CColorComboBox(QWidget* parent = nullptr);

    // The rectangle of the drop-down button area inside the two frame lines.
    QRect buttonRect() const;
    int buttonWidth() const { return buttonWidth_; }

protected:
    void paintEvent(QPaintEvent* event) override;

private:
    mv::COLORREF highlight_;
    mv::COLORREF shadow_;
    mv::COLORREF face_;
    int buttonWidth_;
};

} // namespace xui
