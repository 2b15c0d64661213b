// The small dialogs of the FTP dialog: the overwrite question, the modeless transfer status
// and the one-line message.
#pragma once

#include "panel/ftp/ftp_events.h"
#include "xui/xdialog.h"

#include <memory>
#include <string>

namespace ftpdlg {

class COverwriteDlg : public xui::CXDialog {
    Q_OBJECT

public:
    COverwriteDlg(std::string name, QWidget* parent);

protected:
    bool OnInitDialog() override;

private:
    std::string name_;
};

class CFtpStatusDlg : public xui::CXDialog {
    Q_OBJECT

public:
    explicit CFtpStatusDlg(QWidget* parent);
    void SetLine1(const std::string& text);
    void SetLine2(const std::string& text);

private:
    void SetLine(int id, const std::string& text);
};

class CFtpMessageDlg : public xui::CXDialog {
    Q_OBJECT

public:
    CFtpMessageDlg(std::string text, QWidget* parent);

protected:
    bool OnInitDialog() override;
    void OnPaint(mv::Canvas& dc) override;

private:
    std::string text_;
};

// The questions and messages of the FTP dialog. The default asks with the dialogs above;
// tests answer instead.
class FtpPrompts : public ftp::OverwritePrompt {
public:
    explicit FtpPrompts(QWidget* parent = nullptr) : parent_(parent) {}
    void SetParent(QWidget* parent) { parent_ = parent; }
    // True for "Overwrite".
    bool ConfirmOverwrite(std::string_view name) override;
    virtual void ShowMessage(std::string_view text);

protected:
    QWidget* parent_;
};

// The transfer status of the client shown in a CFtpStatusDlg.
class StatusWindow final : public ftp::TransferStatus {
public:
    explicit StatusWindow(QWidget* parent) : parent_(parent) {}
    ~StatusWindow() override;
    void Create() override;
    void Show() override;
    void SetLine1(std::string_view text) override;
    void SetLine2(std::string_view text) override;
    void Destroy() override;
    CFtpStatusDlg* Window() const { return window_.get(); }

private:
    QWidget* parent_;
    std::unique_ptr<CFtpStatusDlg> window_;
};

} // namespace ftpdlg
