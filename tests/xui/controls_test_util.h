// Shared pieces of the control tests: one QApplication for the test program, a widget that
// records the commands its children post, and pixel access in COLORREF values.
#pragma once

#include "platform/gdi_types.h"
#include "xui/colorref.h"
#include "xui/command.h"

#include <QApplication>
#include <QImage>
#include <QWidget>

#include <vector>

namespace xctl_test {

inline QApplication& app() {
    static int argc = 1;
    static char name[] = "xui_controls_test";
    static char* argv[] = {name, nullptr};
    static QApplication* instance = new QApplication(argc, argv);
    return *instance;
}

struct Command {
    int id;
    int code;
    QWidget* source;
};

// A parent that keeps every command it receives.
class CommandSink : public QWidget {
public:
    CommandSink() { resize(400, 300); }
    std::vector<Command> commands;

protected:
    bool event(QEvent* e) override {
        if (e->type() == xui::CommandEvent::eventType()) {
            auto* c = static_cast<xui::CommandEvent*>(e);
            commands.push_back(Command{c->id(), c->code(), c->source()});
            return true;
        }
        return QWidget::event(e);
    }
};

// Delivers posted events (commands, posted clicks).
inline void flush() {
    for (int i = 0; i < 3; ++i) {
        QCoreApplication::sendPostedEvents();
    }
}

inline QImage render(QWidget* w) {
    return w->grab().toImage().convertToFormat(QImage::Format_RGB32);
}

inline mv::COLORREF pixel(const QImage& img, int x, int y) {
    return xui::colorrefFromRgb(img.pixel(x, y));
}

inline int grey(mv::COLORREF c) {
    return mv::GetRValue(c);
}

} // namespace xctl_test
