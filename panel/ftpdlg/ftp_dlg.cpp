#include "panel/ftpdlg/ftp_dlg.h"

#include "panel/ftp/ftp_path.h"
#include "panel/ftpdlg/ftp_dlg_ids.h"
#include "panel/ftpdlg/ftp_dlg_templates.h"
#include "platform/settings_store.h"
#include "xui/command.h"
#include "xui/qt_text.h"
#include "xui/window_class.h"

#include <QComboBox>
#include <QDir>
#include <QFileInfo>

namespace ftpdlg {

namespace {

constexpr mv::COLORREF kWhite = 0xFFFFFF;
constexpr int kLeftAligned = 0;

bool CanOpenDirectory(const std::string& path) {
    const QFileInfo info(LocalText(path));
    return info.isDir() && info.isReadable() && info.isExecutable();
}

// The folder name of a local list entry ("[name]"); empty for a file.
std::string FolderOfEntry(const std::string& text) {
    if (text.size() < 2 || text.front() != '[' || text.back() != ']')
        return {};
    return text.substr(1, text.size() - 2);
}

std::string StoredLocalDirectory() {
    if (auto key = mv::SettingsKey::open(mv::SettingsRoot::User, kSettingsKey)) {
        if (auto text = key->readText(kLocalDirValue); text && !text->empty())
            return text->substr(0, 255);
    }
    return {};
}

} // namespace

void RegisterFtpDialogClasses() {
    static const bool done = [] {
        RegisterFileListClasses();
        return true;
    }();
    (void)done;
}

CFtpDlg::CFtpDlg(QWidget* parent)
    : xui::CXDialog((RegisterFtpDialogClasses(), FtpDlgTemplate()), parent),
      clock_(&mv::processClock()), ownPrompts_(this), prompts_(&ownPrompts_), status_(this) {
    session_.Client().SetStatus(&status_);
    session_.SetPrompt(prompts_);
}

CFtpDlg::~CFtpDlg() = default;

void CFtpDlg::SetClock(mv::Clock* clock) {
    clock_ = clock ? clock : &mv::processClock();
    session_.Client().SetClock(clock_);
}

void CFtpDlg::SetPrompts(FtpPrompts* prompts) {
    prompts_ = prompts ? prompts : &ownPrompts_;
    session_.SetPrompt(prompts_);
}

CLocalFileList* CFtpDlg::LocalList() const { return itemAs<CLocalFileList>(kLocalList); }
CRemoteFileList* CFtpDlg::RemoteList() const { return itemAs<CRemoteFileList>(kRemoteList); }
CIconComboBox* CFtpDlg::DriveCombo() const { return itemAs<CIconComboBox>(kDriveCombo); }

bool CFtpDlg::OnInitDialog() {
    xui::CXDialog::OnInitDialog();
    localDir_ = StoredLocalDirectory();
    if (localDir_.empty() || !CanOpenDirectory(localDir_))
        localDir_ = LocalBytes(QDir::currentPath());
    if (CIconComboBox* drives = DriveCombo()) {
        drives->FillVolumes();
        drives->SelectFor(localDir_);
    }
    remoteDir_ = "/";
    previousRemoteDir_ = "/";
    session_.Connect(host_, user_, password_, nullptr, log_, port_, kConnectAttempts,
                     kConnectDelaySeconds);
    if (!session_.IsConnected()) {
        if (log_)
            log_->AddLine("E\tERROR");
        xui::postCommandTo(this, mv::IDCANCEL);
        return true;
    }
    OnReload();
    FillLocalList();
    if (auto* host = itemAs<QComboBox>(kHostCombo)) {
        host->addItem(xui::fromCp1252(kHostPreset));
        host->setCurrentIndex(0);
    }
    return true;
}

void CFtpDlg::OnPaint(mv::Canvas& dc) {
    for (int id : {kLocalDirStatic, kRemoteDirStatic, kBottomStatic})
        PaintStaticLabel(dc, item(id), kLeftAligned, xui::kLabelBoxFill, kWhite, kWhite);
}

void CFtpDlg::OnCommand(int id, int code) {
    switch (id) {
    case kUploadButton:
        OnUpload();
        return;
    case kDownloadButton:
        OnDownload();
        return;
    case kDeleteButton:
        OnDelete();
        return;
    case kReloadButton:
        OnReload();
        return;
    case kLocalList:
        if (code == mv::LBN_DBLCLK)
            OnLocalDoubleClick();
        return;
    case kRemoteList:
        if (code == mv::LBN_DBLCLK)
            OnRemoteDoubleClick();
        return;
    case kDriveCombo:
        if (code == mv::CBN_SELCHANGE)
            OnDriveChange();
        return;
    default:
        xui::CXDialog::OnCommand(id, code);
    }
}

void CFtpDlg::OnOK() {
    if (auto key = mv::SettingsKey::open(mv::SettingsRoot::User, kSettingsKey, true))
        key->writeText(kLocalDirValue, localDir_);
    session_.Quit();
    clock_->sleep(kCloseWaitMs);
    EndDialog(mv::IDOK);
}

void CFtpDlg::ShowDirectory(int id, const QString& text) {
    if (QWidget* w = item(id)) {
        xui::setWindowText(w, text);
        update();
    }
}

void CFtpDlg::FillLocalList() {
    ShowDirectory(kLocalDirStatic, LocalText(localDir_));
    if (CLocalFileList* list = LocalList()) {
        if (!list->Fill(localDir_))
            list->clear();
    }
}

void CFtpDlg::OnLocalDoubleClick() {
    CLocalFileList* list = LocalList();
    if (!list || list->currentRow() < 0)
        return;
    const std::string name = FolderOfEntry(list->ItemText(list->currentRow()));
    if (name.empty())
        return;
    const std::string next = name == ".." ? LocalParent(localDir_) : LocalChild(localDir_, name);
    if (CanOpenDirectory(next))
        localDir_ = next;
    FillLocalList();
}

void CFtpDlg::OnDriveChange() {
    CIconComboBox* drives = DriveCombo();
    if (!drives || drives->currentIndex() < 0)
        return;
    const std::string next = drives->PathAt(drives->currentIndex());
    if (CanOpenDirectory(next))
        localDir_ = next;
    else
        drives->SelectFor(localDir_);
    FillLocalList();
}

void CFtpDlg::OnReload() {
    std::vector<RemoteRow> rows;
    bool listed = session_.ListDirectory(remoteDir_, true, rows, false);
    if (!listed) {
        remoteDir_ = previousRemoteDir_;
        rows.clear();
        listed = session_.ListDirectory(remoteDir_, true, rows, false);
    }
    if (listed) {
        if (CRemoteFileList* list = RemoteList())
            list->Fill(rows);
    }
    ShowDirectory(kRemoteDirStatic, xui::fromCp1252(remoteDir_));
}

void CFtpDlg::OnRemoteDoubleClick() {
    const RemoteRow* row = SelectedRemoteRow();
    if (!row || !row->directory)
        return;
    const std::string name = DisplayName(*row);
    previousRemoteDir_ = remoteDir_;
    if (name == "..") {
        remoteDir_ = RemoteParent(remoteDir_);
    } else {
        remoteDir_ += name;
        ftp::EnsureTrailingSeparator(remoteDir_, '/');
    }
    OnReload();
}

const RemoteRow* CFtpDlg::SelectedRemoteRow() const {
    const CRemoteFileList* list = RemoteList();
    return list ? list->Row(list->currentRow()) : nullptr;
}

void CFtpDlg::OnUpload() {
    CLocalFileList* list = LocalList();
    if (!list || list->currentRow() < 0)
        return;
    const int row = list->currentRow();
    const std::string name = list->ItemText(row);
    bool sent = false;
    if (list->IsDirectory(row)) {
        // A folder is not sent: the client takes regular files only and logs the refused
        // open; no question about a remote name of the same text.
        sent = session_.Client().PutFile(LocalChild(localDir_, FolderOfEntry(name)),
                                         remoteDir_ + name);
    } else {
        sent = session_.PutFileConfirm(LocalChild(localDir_, name), remoteDir_ + name);
    }
    OnReload();
    prompts_->ShowMessage(sent ? "Download OK" : "File not transmitted");
}

void CFtpDlg::OnDownload() {
    const RemoteRow* selected = SelectedRemoteRow();
    if (!selected || selected->directory)
        return;
    const RemoteRow row = *selected;
    if (!ftp::IsPlainFileName(row.name)) {
        prompts_->ShowMessage("File not transmitted");
        return;
    }
    if (LocalList() && LocalList()->Contains(row.name) && !prompts_->ConfirmOverwrite(row.name))
        return;
    if (!session_.GetFile(RemotePath(row), LocalChild(localDir_, row.name)))
        prompts_->ShowMessage("File not transmitted");
    FillLocalList();
}

void CFtpDlg::OnDelete() {
    const RemoteRow* row = SelectedRemoteRow();
    if (!row || row->directory)
        return;
    session_.DeleteFile(RemotePath(*row));
    OnReload();
}

} // namespace ftpdlg
