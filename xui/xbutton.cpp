#include "xui/xbutton.h"

#include "platform/sys_colors.h"
#include "xui/qt_canvas.h"
#include "xui/qt_text.h"

#include <QPainter>

#include <algorithm>
#include <cmath>
#include <cstdlib>

namespace xui {

void DrawButtonGradient(mv::Canvas& canvas, const mv::RECT& rect, int startY, mv::COLORREF top,
                        mv::COLORREF bottom) {
    const int height = rect.bottom;
    if (height <= 0 || rect.right <= rect.left) {
        return;
    }
    const double stepR = std::abs(mv::GetRValue(bottom) - mv::GetRValue(top)) / double(height);
    const double stepG = std::abs(mv::GetGValue(bottom) - mv::GetGValue(top)) / double(height);
    const double stepB = std::abs(mv::GetBValue(bottom) - mv::GetBValue(top)) / double(height);
    double r = mv::GetRValue(top);
    double g = mv::GetGValue(top);
    double b = mv::GetBValue(top);
    for (int y = startY; y < rect.bottom; ++y) {
        const auto channel = [](double v) { return std::clamp(static_cast<int>(v), 0, 255); };
        canvas.selectPen(mv::PenDesc{mv::PS_SOLID, 1, mv::RGB(channel(r), channel(g), channel(b))});
        canvas.moveTo(rect.left, y);
        canvas.lineTo(rect.right, y);
        r = std::max(0.0, r - stepR);
        g = std::max(0.0, g - stepG);
        b = std::max(0.0, b - stepB);
    }
}

std::string buttonText(const QWidget* button) {
    return toCp1252(button->windowTitle());
}

void DrawNormalButtonFace(mv::Canvas& canvas, int width, int height, bool focused,
                          mv::COLORREF top, mv::COLORREF bottom, const mv::FontDesc& font,
                          const std::string& text, bool enabled) {
    canvas.saveState();
    mv::RECT r{0, 0, width, height};
    canvas.frameRect(r, CXButton::kFrameColor);
    r = mv::InflateRect(r, -1, -1);
    DrawButtonGradient(canvas, r, focused ? r.top : 0, top, bottom);
    if (focused) {
        r = mv::InflateRect(r, -2, -2);
        canvas.drawFocusRect(r);
    }
    canvas.selectFont(font);
    canvas.setTextColor(enabled ? CXButton::kTextColor : CXButton::kDisabledTextColor);
    canvas.setBkMode(mv::TRANSPARENT);
    canvas.setTextAlign(mv::TA_CENTER | mv::TA_BOTTOM);
    const mv::SIZE extent = canvas.textExtent(text);
    canvas.textOut((r.left + r.right) / 2, (r.top + r.bottom) / 2 + extent.cy / 2 - 1, text);
    canvas.restoreState();
}

void DrawPressedButtonCaption(mv::Canvas& canvas, const mv::RECT& rect, const mv::FontDesc& font,
                              const std::string& text, mv::COLORREF fill) {
    canvas.selectFont(font);
    canvas.setTextColor(CXButton::kTextColor);
    canvas.setBkColor(fill);
    canvas.setBkMode(mv::OPAQUE);
    canvas.setTextAlign(mv::TA_CENTER | mv::TA_BOTTOM);
    const mv::SIZE extent = canvas.textExtent(text);
    canvas.textOut((rect.left + rect.right) / 2, (rect.top + rect.bottom) / 2 + extent.cy / 2,
                   text);
}

CXButton::CXButton(QWidget* parent, const QString& text) : GradientButton(parent) {
    setWindowClassName(this, "XBUTTON");
    setWindowTitle(text);
}

void CXButton::setText(const QString& text) {
    setWindowTitle(text);
    update();
}

void CXButton::SetColors(mv::COLORREF top, mv::COLORREF bottom) {
    top_ = top;
    bottom_ = bottom;
}

void CXButton::SetToggle() {
    toggle_ = 1;
}

void CXButton::ResetCheck() {
    if (toggle_ != 0) {
        latched_ = 0;
    }
    repaintNormal();
}

void CXButton::ClearHover() {
    normalFace_ = 0;
    repaintNormal();
}

void CXButton::RefreshFace() {
    if (normalFace_ == 0) {
        repaintNormal();
        normalFace_ = 1;
    }
}

void CXButton::Click() {
    leftDown();
}

void CXButton::leftDown() {
    pressed_ = 1;
    if (toggle_ != 0 && latched_ != 0) {
        setFocus(Qt::MouseFocusReason);
        latched_ = 0;
    } else if (toggle_ != 0) {
        setFocus(Qt::MouseFocusReason);
        showPressedFace();
        latched_ = 1;
    } else {
        setFocus(Qt::MouseFocusReason);
        showPressedFace();
    }
}

void CXButton::paintEvent(QPaintEvent*) {
    QPainter painter(this);
    QtCanvas canvas(painter);
    if (pressedFace_) {
        paintPressedFace(canvas, hasFocus());
        return;
    }
    paintNormalFace(canvas, hasFocus());
    normalFace_ = 1;
}

void CXButton::paintNormalFace(mv::Canvas& canvas, bool focused) {
    if (width() <= 0 || height() <= 0) {
        return;
    }
    if (toggle_ != 0 && latched_ != 0) {
        paintPressedFace(canvas, focused);
        return;
    }
    DrawNormalButtonFace(canvas, width(), height(), focused, top_, bottom_, font_, buttonText(this),
                         isEnabled());
}

void CXButton::paintPressedFace(mv::Canvas& canvas, bool /*focused*/) {
    if (width() <= 0 || height() <= 0) {
        return;
    }
    normalFace_ = 0;
    canvas.saveState();
    const mv::RECT r{0, 0, width(), height()};
    canvas.fillRect(r, kPressedFill);
    DrawPressedButtonCaption(canvas, r, font_, buttonText(this), kPressedFill);
    canvas.frameRect(r, mv::GetSysColor(mv::COLOR_BTNSHADOW));
    canvas.drawFocusRect(mv::InflateRect(r, -2, -2));
    canvas.restoreState();
}

bool RegisterXButtonClass() {
    return registerWindowClass("XBUTTON", [](QWidget* parent, const WindowCreateInfo& info) {
        return static_cast<QWidget*>(new CXButton(parent, info.text));
    });
}

} // namespace xui
