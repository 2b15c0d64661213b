// CFtpDlg: the two-pane file manager of the panel. Left the local directory (a member of the
// dialog, never the process's current directory) with the volume combo, right the controller's
// directory over a CFtpSession; buttons copy the selected file across, delete a remote file
// and list the remote directory again. Local paths are the file system's bytes, remote
// names Windows-1252 texts.
#pragma once

#include "panel/ftp/ftp_session.h"
#include "panel/ftpdlg/file_lists.h"
#include "panel/ftpdlg/ftp_small_dlgs.h"
#include "xui/xdialog.h"

#include <memory>
#include <string>

namespace ftpdlg {

class CFtpDlg : public xui::CXDialog {
    Q_OBJECT

public:
    static constexpr int kConnectAttempts = 2;
    static constexpr int kConnectDelaySeconds = 5;
    static constexpr int kCloseWaitMs = 1000;

    explicit CFtpDlg(QWidget* parent = nullptr);
    ~CFtpDlg() override;

    // What the panel hands over before it runs the dialog.
    void SetHost(std::string host) { host_ = std::move(host); }
    void SetUser(std::string user) { user_ = std::move(user); }
    void SetPassword(std::string password) { password_ = std::move(password); }
    void SetFirmwareMajor(int major) { firmwareMajor_ = major; }
    void SetLogList(ftp::LogSink* log) { log_ = log; }

    // The server's port (21 unless tests serve elsewhere), the clock of the waits, the
    // deadline of the sockets, and who answers the questions (null: the dialogs).
    void SetPort(int port) { port_ = port; }
    void SetClock(mv::Clock* clock);
    void SetTimeout(int ms) { session_.Client().SetTimeout(ms); }
    void SetPrompts(FtpPrompts* prompts);

    const std::string& LocalDirectory() const { return localDir_; }
    const std::string& RemoteDirectory() const { return remoteDir_; }
    int FirmwareMajor() const { return firmwareMajor_; }
    ftp::CFtpSession& Session() { return session_; }
    CLocalFileList* LocalList() const;
    CRemoteFileList* RemoteList() const;
    CIconComboBox* DriveCombo() const;

protected:
    bool OnInitDialog() override;
    void OnPaint(mv::Canvas& dc) override;
    void OnCommand(int id, int code) override;
    void OnOK() override;

private:
    void FillLocalList();
    void OnLocalDoubleClick();
    void OnDriveChange();
    void OnReload();
    void OnRemoteDoubleClick();
    void OnUpload();
    void OnDownload();
    void OnDelete();
    // The selected row of the remote list; null without a selection.
    const RemoteRow* SelectedRemoteRow() const;
    void ShowDirectory(int id, const QString& text);

    std::string host_;
    std::string user_;
    std::string password_;
    int firmwareMajor_ = 0;
    ftp::LogSink* log_ = nullptr;
    int port_ = ftp::CFtpClient::kDefaultPort;
    mv::Clock* clock_;
    std::string localDir_;
    std::string remoteDir_ = "/";
    std::string previousRemoteDir_ = "/";
    FtpPrompts ownPrompts_;
    FtpPrompts* prompts_;
    StatusWindow status_;
    ftp::CFtpSession session_;
};

// Registers the templates and control classes of the FTP dialogs (done by the dialog itself).
void RegisterFtpDialogClasses();

} // namespace ftpdlg
