// Helpers of the Qt layer tests: the application object, a plain stand-in for the XBUTTON
// class (so dialog tests do not depend on the real button's painting), and pixel reads.
#pragma once

#include "platform/win_styles.h"
#include "xui/colorref.h"
#include "xui/command.h"
#include "xui/window_class.h"

#include <QApplication>
#include <QImage>
#include <QPushButton>
#include <QWidget>

namespace xbase_test {

inline QApplication& app() {
    static int argc = 1;
    static char name[] = "xbase_test";
    static char* argv[] = {name, nullptr};
    static QApplication* a = new QApplication(argc, argv);
    return *a;
}

// A push button that posts its command on click and reports its face state.
class StandInButton : public QPushButton, public xui::RepairableFace {
public:
    explicit StandInButton(QWidget* parent) : QPushButton(parent) {
        connect(this, &QPushButton::clicked, this, [this] { xui::postCommand(this); });
    }
    bool NormalFaceShown() const override { return normal; }
    void RefreshFace() override {
        ++refreshes;
        normal = true;
    }
    bool normal = true;
    int refreshes = 0;
};

inline void registerStandInButton() {
    xui::registerWindowClass("XBUTTON", [](QWidget* parent, const xui::WindowCreateInfo& info) {
        auto* b = new StandInButton(parent);
        b->setText(info.text);
        return static_cast<QWidget*>(b);
    });
}

inline mv::COLORREF pixel(const QImage& img, int x, int y) {
    return xui::colorrefFromRgb(img.pixel(x, y));
}

// The bounding box of the pixels of one colour inside a region; empty when none.
inline QRect findColour(const QImage& img, mv::COLORREF c, QRect region = QRect()) {
    if (region.isNull()) {
        region = img.rect();
    }
    QRect box;
    for (int y = region.top(); y <= region.bottom(); ++y) {
        for (int x = region.left(); x <= region.right(); ++x) {
            if (pixel(img, x, y) == c) {
                box = box.united(QRect(x, y, 1, 1));
            }
        }
    }
    return box;
}

// The bounding box of the pixels that differ from a background colour inside a region.
inline QRect findInk(const QImage& img, mv::COLORREF background, QRect region = QRect()) {
    if (region.isNull()) {
        region = img.rect();
    }
    QRect box;
    for (int y = region.top(); y <= region.bottom(); ++y) {
        for (int x = region.left(); x <= region.right(); ++x) {
            if (pixel(img, x, y) != background) {
                box = box.united(QRect(x, y, 1, 1));
            }
        }
    }
    return box;
}

} // namespace xbase_test
