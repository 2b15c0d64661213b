// X740Flash: sets the IP data of an X740 controller and loads its firmware, from the command
// line, through the controller's serial boot loader, its service requests and its FTP server.
#include "flash/check_dlg.h"
#include "flash/flash_dialogs.h"
#include "flash/flash_gui.h"
#include "flash/loader/flash_app.h"

int main(int argc, char** argv) {
    static int guiArgc = 1;
    // Declared first, so Qt ends after the run's objects and before the exit handlers.
    const flash::WindowSession windows;
    flash::RegisterCheckDialog();
    flash::CX740FlashApp app;
    flash::SetHistoryDialog(&flash::RunHistoryDialog);
    app.m_ShowHistory = [argv](const flash::HistoryContent& content) {
        return flash::ShowHistoryWindow(guiArgc, argv, content);
    };
    app.m_ShowCheck = [argv](flash::CX740FlashApp& self) {
        return flash::ShowCheckWindow(guiArgc, argv, self);
    };
    return app.Main(argc, argv);
}
