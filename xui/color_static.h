// The coloured static text: its own background and text colour.
#pragma once

#include "platform/gdi_types.h"

#include <QLabel>

namespace xui {

class CColorStatic : public QLabel {
    Q_OBJECT

public:
    explicit CColorStatic(QWidget* parent = nullptr, const QString& text = QString());

    void SetBkColor(mv::COLORREF color);
    void SetTextColor(mv::COLORREF color);

    mv::COLORREF bkColor() const { return bkColor_; }
    mv::COLORREF textColor() const { return textColor_; }

private:
    void applyColors();

    mv::COLORREF bkColor_;
    mv::COLORREF textColor_;
};

} // namespace xui
