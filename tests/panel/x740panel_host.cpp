// x740panel_host: loads the X740Panel plug-in as the main program does and drives its panel
// by script, for end-to-end tests against the simulated station.
//
//   x740panel_host --lib PATH (--tcp A.B.C.D:PORT | --com N | --handle N) [--export 1|2]
//                  [--times N] [--isolation] [--no-app] [--do STEP]...
//
// Steps, run in order while the panel is open (controls are found by their "mvControlId"):
//   cmd:ID         triggers the panel's menu or toolbar command ID
//   set:ID=TEXT    sets the text of control ID in the dialog open over the panel
//   click:ID       clicks control ID in the dialog open over the panel (or in the panel)
//   wait:TEXT      waits until a log line contains TEXT ("wait:=TEXT": a line equal to TEXT)
//   file:PATH      chooses PATH in the file dialog open over the panel
//   msg:TEXT       waits for a message over the panel with a line TEXT, prints "MSG TEXT" and
//                  closes it with its button 1
//   sleep:MS       waits MS milliseconds
//   close          closes the panel with its OK button
// Prints every log line (Windows-1252 bytes) as "LOG <line>" when the panel closes, then "HANDLE <n>" (StartDLL2:
// the handle handed back). --times runs load, call, unload that many times. --isolation checks
// that the host's own dialog-layer registrations and the application's state survive a run.
// --no-app runs without a QApplication of the host's (the plug-in makes one for the call; the
// script starts when it does) and prints "APP GONE" when none is left after the call.
#include "portwire/include/Portwire.h"
#include "xui/dialog_template.h"
#include "xui/message_dlg.h"
#include "xui/qt_text.h"
#include "xui/window_class.h"

#include <QAbstractButton>
#include <QAction>
#include <QApplication>
#include <QDialog>
#include <QFileDialog>
#include <QFileInfo>
#include <QLineEdit>
#include <QListWidget>
#include <QPlainTextEdit>
#include <QStyle>
#include <QTest>
#include <QTimer>

#include <arpa/inet.h>
#include <dlfcn.h>

#include <cstdio>
#include <memory>
#include <cstdlib>
#include <string>
#include <vector>

namespace {

constexpr const char* kIdProperty = "mvControlId";
constexpr int kLogListId = 15013;
constexpr int kStepTimeoutMs = 30000;

int ControlId(const QObject* o) { return o->property(kIdProperty).toInt(); }

QDialog* FindPanel() {
    for (QWidget* w : QApplication::topLevelWidgets()) {
        auto* dlg = qobject_cast<QDialog*>(w);
        if (dlg != nullptr && dlg->isVisible()) {
            for (QWidget* child : dlg->findChildren<QWidget*>()) {
                if (ControlId(child) == kLogListId) {
                    return dlg;
                }
            }
        }
    }
    return nullptr;
}

// The modal dialog open over the panel, if any.
QWidget* FindOver(QDialog* panel) {
    QWidget* modal = QApplication::activeModalWidget();
    return modal != nullptr && modal != panel ? modal : nullptr;
}

QWidget* FindControl(QWidget* window, int id) {
    if (window == nullptr) {
        return nullptr;
    }
    for (QWidget* child : window->findChildren<QWidget*>()) {
        if (ControlId(child) == id && !child->isHidden()) {
            return child;
        }
    }
    return nullptr;
}

std::vector<std::string> LogLines(QDialog* panel) {
    std::vector<std::string> lines;
    if (panel == nullptr) {
        return lines;
    }
    for (auto* list : panel->findChildren<QListWidget*>()) {
        if (ControlId(list) == kLogListId) {
            for (int i = 0; i < list->count(); ++i) {
                lines.push_back(xui::toCp1252(list->item(i)->text()));
            }
        }
    }
    return lines;
}

// The last log seen by any script (kept when the script goes with the plug-in's application).
std::vector<std::string> g_lastLog;

class Script : public QObject {
public:
    explicit Script(std::vector<std::string> steps, QObject* parent = nullptr)
        : QObject(parent), steps_(std::move(steps)) {
        timer_.setInterval(20);
        connect(&timer_, &QTimer::timeout, this, [this] { Tick(); });
        timer_.start();
        started_.start();
    }
    const std::vector<std::string>& log() const { return log_; }
    bool complete() const { return next_ >= steps_.size(); }
    std::string failure;

private:
    void Tick() {
        QDialog* panel = FindPanel();
        if (panel == nullptr) {
            return;
        }
        log_ = LogLines(panel);
        g_lastLog = log_;
        while (next_ < steps_.size()) {
            if (!Run(panel, steps_[next_])) {
                if (started_.elapsed() > kStepTimeoutMs) {
                    failure = "step timed out: " + steps_[next_];
                    next_ = steps_.size();
                    panel->close();
                }
                return;
            }
            ++next_;
            started_.restart();
            if (next_ < steps_.size()) {
                return; // one step per tick, so the panel sees its events in between
            }
        }
    }

    // True when the step is done.
    bool Run(QDialog* panel, const std::string& step) {
        const std::size_t colon = step.find(':');
        const std::string verb = step.substr(0, colon);
        const std::string arg = colon == std::string::npos ? "" : step.substr(colon + 1);
        if (verb == "cmd") {
            const int id = std::atoi(arg.c_str());
            for (QAction* action : panel->findChildren<QAction*>()) {
                if (ControlId(action) == id && action->isEnabled()) {
                    action->trigger();
                    return true;
                }
            }
            return false;
        }
        if (verb == "set") {
            const std::size_t eq = arg.find('=');
            QWidget* control = FindControl(FindOver(panel), std::atoi(arg.substr(0, eq).c_str()));
            const QString text = QString::fromStdString(arg.substr(eq + 1));
            if (auto* edit = qobject_cast<QLineEdit*>(control)) {
                edit->setText(text);
                return true;
            }
            if (auto* edit = qobject_cast<QPlainTextEdit*>(control)) {
                edit->setPlainText(text);
                return true;
            }
            return false;
        }
        if (verb == "click") {
            QWidget* over = FindOver(panel);
            QWidget* control = FindControl(over != nullptr ? over : panel, std::atoi(arg.c_str()));
            if (control == nullptr || !control->isEnabled()) {
                return false;
            }
            if (auto* button = qobject_cast<QAbstractButton*>(control)) {
                button->click();
            } else {
                QTest::mouseClick(control, Qt::LeftButton);
            }
            return true;
        }
        if (verb == "wait") {
            const bool exact = !arg.empty() && arg[0] == '=';
            for (const std::string& line : log_) {
                if (exact ? line == arg.substr(1) : line.find(arg) != std::string::npos) {
                    return true;
                }
            }
            return false;
        }
        if (verb == "file") {
            auto* chooser = qobject_cast<QFileDialog*>(FindOver(panel));
            if (chooser == nullptr) {
                return false;
            }
            // Typed as a user would: selectFile leaves a focused name field as it is.
            const QFileInfo info(QString::fromLocal8Bit(arg.c_str()));
            chooser->setDirectory(info.absolutePath());
            auto* name = chooser->findChild<QLineEdit*>(QStringLiteral("fileNameEdit"));
            if (name == nullptr) {
                return false;
            }
            name->setText(info.fileName());
            static_cast<QDialog*>(chooser)->accept(); // QFileDialog::accept, which checks the name
            return true;
        }
        if (verb == "msg") {
            QWidget* over = FindOver(panel);
            if (over == nullptr || qobject_cast<QFileDialog*>(over) != nullptr) {
                return false;
            }
            for (QWidget* child : over->findChildren<QWidget*>()) {
                if (ControlId(child) != 0 && xui::toCp1252(xui::windowText(child)) == arg) {
                    QWidget* ok = FindControl(over, 1);
                    if (ok == nullptr) {
                        return false;
                    }
                    std::printf("MSG %s\n", arg.c_str());
                    QTest::mouseClick(ok, Qt::LeftButton);
                    return true;
                }
            }
            return false;
        }
        if (verb == "sleep") {
            return started_.elapsed() >= std::atoi(arg.c_str());
        }
        if (verb == "close") {
            QWidget* ok = FindControl(panel, 1);
            if (ok != nullptr && ok->isEnabled() && FindOver(panel) == nullptr) {
                QTest::mouseClick(ok, Qt::LeftButton);
                return true;
            }
            return false;
        }
        failure = "unknown step: " + step;
        return true;
    }

    std::vector<std::string> steps_;
    std::size_t next_ = 0;
    std::vector<std::string> log_;
    QTimer timer_;
    QElapsedTimer started_;
};

const xui::DialogTemplate kHostTemplate{15002, "Host template"};

void RegisterHostItems() {
    xui::registerWindowClass("HOSTCLASS", [](QWidget* parent, const xui::WindowCreateInfo&) {
        return new QWidget(parent);
    });
    xui::registerDialogTemplates({&kHostTemplate});
    xui::setMessageDlgConfig(xui::mainProgramMessageConfig());
}

bool HostItemsIntact() {
    const xui::DialogTemplate* t = xui::findDialogTemplate(15002);
    return xui::isWindowClassRegistered("HOSTCLASS") && !xui::isWindowClassRegistered("CMListBox") &&
           t == &kHostTemplate && xui::messageDlgConfig().tmpl != nullptr &&
           xui::messageDlgConfig().tmpl->id == 148;
}

std::vector<std::string> g_steps;

// Starts the script when the plug-in makes its application (no application of the host's).
void StartScriptWithApplication() { new Script(g_steps, QCoreApplication::instance()); }

int Usage(const char* why) {
    std::fprintf(stderr, "x740panel_host: %s\n", why);
    return 2;
}

} // namespace

int main(int argc, char** argv) {
    std::string lib, tcp;
    int com = 0, exportNo = 2, times = 1;
    long handleArg = -1;
    bool isolation = false;
    bool noApp = false;
    std::vector<std::string> steps;
    for (int i = 1; i < argc; ++i) {
        const std::string a = argv[i];
        const char* v = i + 1 < argc ? argv[i + 1] : nullptr;
        if (v == nullptr && a != "--isolation" && a != "--no-app") {
            return Usage(("missing value of " + a).c_str());
        }
        if (a == "--lib") lib = v, ++i;
        else if (a == "--tcp") tcp = v, ++i;
        else if (a == "--com") com = std::atoi(v), ++i;
        else if (a == "--handle") handleArg = std::atol(v), ++i;
        else if (a == "--export") exportNo = std::atoi(v), ++i;
        else if (a == "--times") times = std::atoi(v), ++i;
        else if (a == "--do") steps.emplace_back(v), ++i;
        else if (a == "--isolation") isolation = true;
        else if (a == "--no-app") noApp = true;
        else return Usage(("unknown option " + a).c_str());
    }
    if (lib.empty()) {
        return Usage("--lib is required");
    }

    std::unique_ptr<QApplication> app;
    if (!noApp) {
        app = std::make_unique<QApplication>(argc, argv);
    } else {
        g_steps = steps;
        qAddPreRoutine(StartScriptWithApplication);
    }
    RegisterHostItems();

    LinkHandle handle = 0;
    if (!tcp.empty()) {
        const std::size_t colon = tcp.find(':');
        in_addr address{};
        if (colon == std::string::npos ||
            ::inet_pton(AF_INET, tcp.substr(0, colon).c_str(), &address) != 1) {
            return Usage("--tcp needs A.B.C.D:PORT");
        }
        handle = A_OpenNet(ntohl(address.s_addr), std::atoi(tcp.c_str() + colon + 1));
    } else if (com > 0) {
        handle = A_Open(com);
    } else if (handleArg >= 0) {
        handle = static_cast<LinkHandle>(handleArg);
    }
    std::printf("OPENED %u\n", handle);

    const QString styleBefore = app ? QApplication::style()->name() : QString();
    const QPalette paletteBefore = app ? QApplication::palette() : QPalette();
    const auto widgetsBefore = app ? QApplication::topLevelWidgets().size() : 0;
    int failures = 0;
    for (int run = 0; run < times; ++run) {
        void* so = ::dlopen(lib.c_str(), RTLD_NOW | RTLD_LOCAL | RTLD_NODELETE);
        if (so == nullptr) {
            std::printf("LOADFAILED %s\n", ::dlerror());
            return 1;
        }
        using StartDll = void (*)(int);
        using StartDll2 = void (*)(int*);
        auto start1 = reinterpret_cast<StartDll>(::dlsym(so, "StartDLL"));
        auto start2 = reinterpret_cast<StartDll2>(::dlsym(so, "StartDLL2"));
        if (start1 == nullptr || start2 == nullptr) {
            std::printf("NOEXPORTS\n");
            return 1;
        }
        std::unique_ptr<Script> script;
        if (app) {
            script = std::make_unique<Script>(steps);
        }
        g_lastLog.clear();
        int h = static_cast<int>(handle);
        if (exportNo == 1) {
            start1(h);
        } else {
            start2(&h);
            handle = static_cast<LinkHandle>(h);
        }
        for (const std::string& line : g_lastLog) {
            std::printf("LOG %s\n", line.c_str());
        }
        if (script && (!script->complete() || !script->failure.empty())) {
            std::printf("SCRIPT %s\n", script->failure.empty() ? "incomplete" : script->failure.c_str());
            ++failures;
        }
        if (!app) {
            std::printf("APP %s\n", QCoreApplication::instance() == nullptr ? "GONE" : "LEFT");
        }
        std::printf("HANDLE %d\n", h);
        ::dlclose(so);
    }
    if (isolation && app) {
        const bool state = QApplication::overrideCursor() == nullptr &&
                           QApplication::style()->name() == styleBefore &&
                           QApplication::palette() == paletteBefore &&
                           QApplication::topLevelWidgets().size() == widgetsBefore;
        std::printf("ISOLATION %s\n", HostItemsIntact() ? "OK" : "BROKEN");
        std::printf("STATE %s\n", state ? "OK" : "CHANGED");
    }
    std::fflush(stdout);
    A_Close(handle);
    return failures == 0 ? 0 : 1;
}
