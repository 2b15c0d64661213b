// Where the panel's data-file commands, the record editors and the FTP dialog join the panel.
#include "panel/ui/advanced_dlg.h"

#include "panel/core/data_files.h"
#include "panel/ftp/ftp_events.h"
#include "panel/ftpdlg/ftp_dlg.h"
#include "panel/ui/mlist_box.h"
#include "panel/ui/panel_clock.h"
#include "panel/ui/record_dlgs.h"
#include "xui/bitmaps.h"
#include "xui/message_dlg.h"

#include <QFileDialog>

namespace x740panel {

namespace {

// The panel's log list as the log of the FTP code: each line is appended, made the current
// line and shown at once.
class LogListSink final : public ftp::LogSink {
public:
    explicit LogListSink(CMListBox* list) : list_(list) {}
    void AddLine(std::string_view line) override {
        if (list_ == nullptr)
            return;
        list_->AddLine(std::string(line), nullptr);
        list_->repaint();
    }

private:
    CMListBox* list_;
};

// The FTP dialog over the hand-over's login, its lines in the panel's log list.
void RunPanelFtpDialog(CAdvancedDlg& panel, const FtpHandover& handover) {
    LogListSink log(handover.log);
    ftpdlg::CFtpDlg dlg(&panel);
    dlg.SetFirmwareMajor(handover.firmwareMajor);
    dlg.SetLogList(&log);
    dlg.SetHost(handover.host);
    dlg.SetPassword(handover.password);
    dlg.SetUser(handover.user);
    dlg.SetClock(&PanelClock());
    dlg.DoModal();
}

FtpDialogRunner& Runner() {
    static FtpDialogRunner runner = RunPanelFtpDialog;
    return runner;
}

// "Cam Data Files (*.ini)|*.ini|" as a file dialog filter: the texts before each pattern.
QString DialogFilter(const std::string& filter) {
    QStringList names;
    std::size_t start = 0;
    for (int part = 0;; ++part) {
        const std::size_t bar = filter.find('|', start);
        if (bar == std::string::npos) {
            break;
        }
        if (part % 2 == 0) {
            names << QString::fromLatin1(filter.substr(start, bar - start));
        }
        start = bar + 1;
    }
    return names.join(QStringLiteral(";;"));
}

bool ChooseWithDialog(QWidget* parent, bool save, const std::string& filter, std::string& path) {
    QFileDialog dlg(parent);
    dlg.setOption(QFileDialog::DontUseNativeDialog, true);
    dlg.setAcceptMode(save ? QFileDialog::AcceptSave : QFileDialog::AcceptOpen);
    dlg.setFileMode(save ? QFileDialog::AnyFile : QFileDialog::ExistingFile);
    dlg.setDefaultSuffix(QString::fromLatin1(kDefaultDataExtension));
    dlg.setNameFilter(DialogFilter(filter));
    if (dlg.exec() != QDialog::Accepted || dlg.selectedFiles().isEmpty()) {
        return false;
    }
    path = dlg.selectedFiles().front().toLocal8Bit().toStdString();
    return true;
}

DataFileChooser& Chooser() {
    static DataFileChooser chooser = ChooseWithDialog;
    return chooser;
}

// The panel as the data-file procedures see it.
class PanelDataFileHost final : public DataFileHost {
public:
    explicit PanelDataFileHost(CAdvancedDlg& panel) : panel_(panel) {}
    void AddLogLine(const std::string& text, std::unique_ptr<LogItemRecord> record) override {
        panel_.AddLogLine(text, std::move(record));
    }
    void ReplaceLogLine(const std::string& text) override { panel_.ReplaceLogLine(text); }
    void ShowTransientLine(const std::string& text) override {
        if (panel_.LogList() != nullptr) {
            panel_.LogList()->ShowTransientLine(text);
        }
    }
    void Pump() override {
        while (panel_.PumpMessage()) {
        }
    }
    void EnableControls(bool on) override { panel_.EnableControls(on); }
    void SetWaitCursor(bool on) override { panel_.SetWaitCursorHeld(on); }
    void ShowMessage(const std::string& caption, const std::string& text,
                     bool success) override {
        xui::MessageRequest request;
        request.line1 = text;
        request.caption = caption;
        request.bitmapId = success ? xui::kBitmapPanelSuccess : xui::kBitmapPanelError;
        request.captionColor = kDataFileMessageColor;
        xui::ShowMessage(request);
    }
    bool ChooseFile(bool save, const std::string& filter, std::string& path) override {
        return Chooser() && Chooser()(&panel_, save, filter, path);
    }
    bool AskSsiOffset(int& index, int& offset) override {
        CSSIOffsetDlg dlg(&panel_);
        if (dlg.DoModal() != mv::IDOK) {
            return false;
        }
        index = dlg.m_Index;
        offset = dlg.m_Offset;
        return true;
    }
    bool NswWarnings() const override { return panel_.NswWarnings() == 1; }

private:
    static constexpr mv::COLORREF kDataFileMessageColor = 0xCF9060;
    CAdvancedDlg& panel_;
};

} // namespace

void SetFtpDialogRunner(FtpDialogRunner runner) { Runner() = std::move(runner); }
void SetDataFileChooser(DataFileChooser chooser) { Chooser() = std::move(chooser); }

void CAdvancedDlg::OnDataFileCommand(int id) {
    PanelDataFileHost host(*this);
    DataFiles files(app_, host, commands_);
    files.Run(id);
}

void CAdvancedDlg::OpenRecordEditor(const LogItemRecord& record) {
    OpenRecordEditorFor(record);
}

void CAdvancedDlg::RunFtpDialog(const FtpHandover& handover) {
    if (Runner()) {
        Runner()(*this, handover);
    }
}

} // namespace x740panel
