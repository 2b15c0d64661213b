// The panel's procedures that close and reopen the link: Reset, the hand-over to the FTP
// client, and the reconnect machine's timer adapter. Also the two dialogs of the System menu.
#include "panel/ui/advanced_dlg.h"

#include "panel/core/config_records.h"
#include "panel/ui/etype_dlg.h"
#include "panel/ui/ip_data_dlg.h"
#include "panel/ui/panel_clock.h"
#include "services/include/X740_Core.h"
#include "xui/modal_cursor.h"

#include <QApplication>

#include <cstdlib>

namespace x740panel {

void CAdvancedDlg::OnIpConfig() {
    CIPDataDlg dlg(this);
    const int result = dlg.DoModal();
    if (result == kIpDataWritten) {
        AddLogLine("Write Modulkonfiguration -> OK");
    } else if (result == kIpDataFailed) {
        AddLogLine("E\tTransmit Error");
    }
}

void CAdvancedDlg::OnIdentification() {
    CETypeDlg dlg(this);
    dlg.DoModal();
}

void CAdvancedDlg::OnReset() {
    port_ = A_GetPort(app_.m_Handle);
    if (A_X740_ResetModul(app_.m_Handle) != 1) {
        AddLogLine("Reset -> FAILURE");
        return;
    }
    AddLogLine("Reset -> OK");
    EnableControls(false);
    PanelClock().sleep(kResetSettleMs);
    A_Close(app_.m_Handle);
    app_.m_Handle = 0;
    StartReconnect();
}

void CAdvancedDlg::OnFtpClient() {
    EnableControls(false);
    port_ = A_GetPort(app_.m_Handle);
    if (IsComPort(port_)) {
        AddLogLine("E\tFTP only possible using network connection");
        EnableControls(true);
        return;
    }
    FtpHandover handover;
    SystemConfigRecord system;
    if (system.Read(app_.m_Handle)) {
        handover.user = system.ftpUser;
        handover.password = system.ftpPassword;
    } else {
        handover.user = kFallbackFtpUser;
        handover.password = kFallbackFtpPassword;
    }
    ModuleInfoTexts info;
    if (ReadModuleInfoTexts(app_.m_Handle, info) && !info.version.empty()) {
        handover.firmwareMajor = std::atoi(info.version.substr(0, 1).c_str());
    }
    AddLogLine(A_X740_StartFTPServer(app_.m_Handle) == 1 ? "Start FTPServer -> OK"
                                                          : "Start FTPServer -> ERROR");

    // The controller needs a while to start its FTP server: count the seconds down while
    // the window stays responsive.
    AddLogLine(Format("Wait %d Seconds", app_.m_FtpTimeout));
    mv::Clock& clock = PanelClock();
    mv::MonoMs last = clock.now();
    for (int count = app_.m_FtpTimeout; count >= 0;) {
        WaitInEventLoop(static_cast<int>(last + 1001 - clock.now()));
        if (clock.now() - last > 1000) {
            ReplaceLogLine(Format("Wait %2d Seconds", count));
            --count;
            last = clock.now();
        }
    }
    AddLogLine("OK");

    handover.log = log_;
    handover.host = Format("%u.%u.%u.%u", port_ >> 24, (port_ >> 16) & 0xFF, (port_ >> 8) & 0xFF,
                           port_ & 0xFF);
    A_Close(app_.m_Handle);
    RunFtpDialog(handover);

    SetWaitCursor(true);
    log_->repaint();
    AddLogLine("Reset ");
    log_->repaint();
    const LinkHandle closed = app_.m_Handle;
    if (A_X740_ResetModul(closed) == 1) {
        A_Close(closed);
    } else {
        A_Close(closed);
        const LinkHandle h = A_OpenNet_NoReadID(port_, kServicePort);
        A_X740_ResetModul(h);
        A_Close(h);
    }
    app_.m_Handle = 0;
    StartReconnect();
}

void CAdvancedDlg::StartReconnect() {
    reconnect_.state = kReconnectStart;
    SyncWaitCursor();
}

void CAdvancedDlg::OnTimer() {
    if (reconnect_.state == kReconnectIdle) {
        return;
    }
    bool ok = false;
    switch (ReconnectIoFor(reconnect_.state)) {
    case ReconnectIo::Probe:
        ok = probe_.has_value() && probe_->Probe(1) == 0;
        break;
    case ReconnectIo::OpenNet:
        app_.m_Handle = A_OpenNet(port_, kServicePort);
        ok = app_.m_Handle != 0;
        break;
    case ReconnectIo::OpenCom:
        app_.m_Handle = A_Open(static_cast<int>(port_));
        ok = app_.m_Handle != 0;
        break;
    case ReconnectIo::CheckHandle:
        ok = app_.m_Handle != 0;
        break;
    case ReconnectIo::None:
        break;
    }
    const ReconnectStep step = ReconnectTick(reconnect_, app_.m_ReconnectTimeout, port_, ok);
    reconnect_ = step.next;
    for (const ReconnectAction& action : step.actions) {
        switch (action.kind) {
        case ReconnectAction::AddLog:
            AddLogLine(action.text);
            break;
        case ReconnectAction::ReplaceLastLine:
            ReplaceLogLine(action.text);
            break;
        case ReconnectAction::CreateProbe:
            probe_.emplace(port_);
            break;
        case ReconnectAction::DiscardProbe:
            probe_.reset();
            break;
        case ReconnectAction::Wait:
            PanelClock().sleep(action.ms);
            break;
        case ReconnectAction::SetComTimeout: {
            int previous = 0;
            A_SetComTimout(app_.m_Handle, app_.m_WriteTimeout, &previous);
            break;
        }
        case ReconnectAction::EnableControls:
            EnableControls(true);
            break;
        }
    }
    SyncWaitCursor();
}

void CAdvancedDlg::SyncWaitCursor() { SetWaitCursor(reconnect_.state != kReconnectIdle); }

void CAdvancedDlg::SetWaitCursor(bool on) {
    if (on == waitCursor_) {
        return;
    }
    waitCursor_ = on;
    if (on) {
        xui::BeginWaitCursor();
    } else {
        xui::EndWaitCursor();
    }
}

} // namespace x740panel
