// The coloured edit: its own background and text colour, a light yellow while it has the
// focus, a flat frame in the background colour, and an optional filter of typed characters.
#pragma once

#include "platform/gdi_types.h"

#include <QLineEdit>

#include <string>
#include <string_view>

namespace xui {

class CColorSelEdit : public QLineEdit {
    Q_OBJECT

public:
    static constexpr mv::COLORREF kDefaultBkColor = 0xFFFFFF;
    static constexpr mv::COLORREF kDefaultTextColor = 0x000000;
    static constexpr mv::COLORREF kFocusColor = 0xC0FFFF;
    static constexpr char kBackspace = 8;

    // The character sets the dialogs use.
    static constexpr const char* kDecimalChars = "1234567890";
    static constexpr const char* kHexChars = "1234567890abcdefABCDEF";
    static constexpr const char* kHexSuffixChars = "1234567890abcdefABCDEFhH";

    explicit CColorSelEdit(QWidget* parent = nullptr);

    void SetBkColor(mv::COLORREF color);
    void SetTextColor(mv::COLORREF color);
    // Turns the filter on: from now on only these characters (and backspace) are accepted.
    void SetAllowedChars(std::string_view allowed);

    mv::COLORREF bkColor() const { return bkColor_; }
    mv::COLORREF textColor() const { return textColor_; }
    bool filterOn() const { return filterOn_; }
    // The characters typed while no filter was set.
    const QString& typedChars() const { return typed_; }
    // True when a typed character passes the filter.
    bool accepts(QChar c) const;

protected:
    void keyPressEvent(QKeyEvent* event) override;
    void focusInEvent(QFocusEvent* event) override;
    void focusOutEvent(QFocusEvent* event) override;
    void paintEvent(QPaintEvent* event) override;

private:
    void applyColors();

    QString typed_;
    mv::COLORREF bkColor_ = kDefaultBkColor;
    mv::COLORREF savedBkColor_ = kDefaultBkColor;
    mv::COLORREF textColor_ = kDefaultTextColor;
    bool filterOn_ = false;
    std::string allowed_;
};

} // namespace xui
