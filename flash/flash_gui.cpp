#include "flash/flash_gui.h"

#include <QApplication>

#include <cstdlib>
#include <cstring>
#include <memory>

namespace flash {

namespace {

HistoryDialogFn g_HistoryDialog = nullptr;
CheckDialogFn g_CheckDialog = nullptr;

bool IsSet(const char* name) {
    const char* value = std::getenv(name);
    return value && *value;
}

// The one QApplication, made on first use.
void EnsureApplication(int& argc, char** argv) {
    static std::unique_ptr<QApplication> application;
    if (!QApplication::instance()) {
        application = std::make_unique<QApplication>(argc, argv);
    }
}

} // namespace

bool HasDisplay() {
    const char* platform = std::getenv("QT_QPA_PLATFORM");
    if (platform && (std::strncmp(platform, "offscreen", 9) == 0 ||
                     std::strncmp(platform, "minimal", 7) == 0)) {
        return false;
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

} // namespace flash
