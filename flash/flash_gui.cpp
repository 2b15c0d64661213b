#include "flash/flash_gui.h"

#include <QApplication>

#include <cstdlib>
#include <cstring>
#include <memory>
#include <xcb/xcb.h>

namespace flash {

namespace {

HistoryDialogFn g_HistoryDialog = nullptr;
CheckDialogFn g_CheckDialog = nullptr;
// The one QApplication, made by the first window and ended by the WindowSession.
std::unique_ptr<QApplication> g_Application;

bool IsSet(const char* name) {
    const char* value = std::getenv(name);
    return value && *value;
}

bool PlatformIs(const char* platform, const char* name) {
    return std::strncmp(platform, name, std::strlen(name)) == 0;
}

// Whether the X display named by DISPLAY takes a connection (Qt's X platform aborts the
// program when it does not).
bool XDisplayAnswers() {
    xcb_connection_t* connection = xcb_connect(nullptr, nullptr);
    const bool answers = xcb_connection_has_error(connection) == 0;
    xcb_disconnect(connection);
    return answers;
}

void EnsureApplication(int& argc, char** argv) {
    if (!QApplication::instance()) {
        g_Application = std::make_unique<QApplication>(argc, argv);
    }
}

} // namespace

bool HasDisplay() {
    const char* platform = std::getenv("QT_QPA_PLATFORM");
    if (platform && (PlatformIs(platform, "offscreen") || PlatformIs(platform, "minimal"))) {
        return false;
    }
    if (IsSet("DISPLAY") && (!platform || !*platform || PlatformIs(platform, "xcb"))) {
        return XDisplayAnswers();
    }
    return IsSet("DISPLAY") || IsSet("WAYLAND_DISPLAY");
}

void SetHistoryDialog(HistoryDialogFn dialog) {
    g_HistoryDialog = dialog;
}

void SetCheckDialog(CheckDialogFn dialog) {
    g_CheckDialog = dialog;
}

bool ShowHistoryWindow(int& argc, char** argv, const HistoryContent& content) {
    if (!g_HistoryDialog || !HasDisplay()) {
        return false;
    }
    EnsureApplication(argc, argv);
    g_HistoryDialog(content);
    return true;
}

bool ShowCheckWindow(int& argc, char** argv, CX740FlashApp& app) {
    if (!g_CheckDialog || !HasDisplay()) {
        return false;
    }
    EnsureApplication(argc, argv);
    g_CheckDialog(app);
    return true;
}

WindowSession::~WindowSession() {
    g_Application.reset();
}

} // namespace flash
