// The owner-drawn controls of the FTP dialog: the local and the remote file list (an icon and
// text columns per item, in the system colours) and the drive combo with volume icons.
#pragma once

#include "panel/ftpdlg/file_columns.h"

#include <QComboBox>
#include <QImage>
#include <QListWidget>

#include <string>
#include <vector>

class QAbstractFileIconProvider;

namespace ftpdlg {

// Where the lists take the icons of file names and volumes (tests); null restores the
// platform's icons.
void SetFileIconProvider(QAbstractFileIconProvider* provider);

// Local names and paths are the file system's bytes (remote names are Windows-1252 texts):
// converted at the widget edge with these.
QString LocalText(const std::string& bytes);
std::string LocalBytes(const QString& text);

// The directory bitmap (16 x 16) and the bitmap of a file without an icon (15 x 14).
QImage DirectoryBitmap();
QImage FileBitmap();

// One text of an item at its x offset.
struct ItemColumn {
    int x = 0;
    std::string text; // Windows-1252
};

// A list box whose items are drawn as an icon and text columns. Texts of a list of local
// names are file system bytes, those of a remote list Windows-1252.
class FileListBase : public QListWidget {
    Q_OBJECT

public:
    FileListBase(QWidget* parent, bool localNames);

    // Adds an item: its text (what the dialog's commands read), whether it is a directory, and
    // the columns drawn.
    void AddItem(const std::string& text, bool directory, std::vector<ItemColumn> columns);
    // The text of an item; empty when out of range.
    std::string ItemText(int row) const;
    bool IsDirectory(int row) const;
    std::vector<ItemColumn> Columns(int row) const;
    // True when an item's text equals the text.
    bool Contains(const std::string& text) const;

private:
    QString Shown(const std::string& bytes) const;

    bool localNames_;
};

// Local directories ("[name]", "[..]") and files with size and time.
class CLocalFileList : public FileListBase {
    Q_OBJECT

public:
    explicit CLocalFileList(QWidget* parent = nullptr) : FileListBase(parent, true) {}
    // Empties the list and fills it from a directory: first the directories, then the files,
    // each sorted without regard to case; "[..]" except at "/". False when it cannot be read.
    bool Fill(const std::string& directory);
};

// Rows of CFtpSession::ListDirectory. An item's text is its row's text; the commands take
// the row itself, its fields apart.
class CRemoteFileList : public FileListBase {
    Q_OBJECT

public:
    explicit CRemoteFileList(QWidget* parent = nullptr) : FileListBase(parent, false) {}
    // Empties the list and adds the rows in the reload's two passes.
    void Fill(const std::vector<RemoteRow>& rows);
    // The row of an item; null when out of range.
    const RemoteRow* Row(int item) const;

private:
    std::vector<RemoteRow> rows_; // in item order
};

// The drive combo: "/", the home folder and the mounted volumes, each with its icon.
class CIconComboBox : public QComboBox {
    Q_OBJECT

public:
    static constexpr int kItemHeight = 17;
    explicit CIconComboBox(QWidget* parent = nullptr);
    void FillVolumes();
    // Adds one entry (once per path).
    void AddVolume(const std::string& path);
    // Selects the entry of the volume that holds a directory (longest matching path).
    void SelectFor(const std::string& directory);
    std::string PathAt(int index) const;
};

// Registers the three classes with the dialog builder.
void RegisterFileListClasses();

} // namespace ftpdlg
