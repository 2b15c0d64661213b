#include "panel/ftpdlg/file_lists.h"

#include "panel/ftpdlg/ftp_dlg_ids.h"
#include "platform/sys_colors.h"
#include "platform/win_styles.h"
#include "xui/colorref.h"
#include "xui/command.h"
#include "xui/qt_text.h"
#include "xui/window_class.h"

#include <QDir>
#include <QFile>
#include <QFileIconProvider>
#include <QFileInfo>
#include <QFontInfo>
#include <QFontMetrics>
#include <QPainter>
#include <QStandardItemModel>
#include <QStorageInfo>
#include <QStyledItemDelegate>

#include <algorithm>
#include <ctime>
#include <sys/stat.h>

namespace ftpdlg {

namespace {

constexpr int kDirectoryRole = Qt::UserRole;
constexpr int kColumnsRole = Qt::UserRole + 1;
constexpr int kTextRole = Qt::UserRole + 2;
constexpr int kPathRole = Qt::UserRole + 3;
constexpr int kShownColumnsRole = Qt::UserRole + 4;
constexpr int kListItemHeight = 18;
// How far a figure that does not fit its column is made smaller before it is cut.
constexpr int kShrinkFloorPercent = 60;
constexpr int kMinShrunkPixels = 6;

QColor Sys(int index) { return xui::toQColor(mv::GetSysColor(index)); }

QAbstractFileIconProvider*& InjectedIcons() {
    static QAbstractFileIconProvider* provider = nullptr;
    return provider;
}

const QAbstractFileIconProvider& Icons() {
    static QFileIconProvider provider;
    return InjectedIcons() != nullptr ? *InjectedIcons() : provider;
}

// Background, focus rectangle and text colour of an item in the system colours.
void PaintItemBack(QPainter* p, const QStyleOptionViewItem& option) {
    const bool selected = (option.state & QStyle::State_Selected) != 0;
    p->fillRect(option.rect, Sys(selected ? mv::COLOR_HIGHLIGHT : mv::COLOR_WINDOW));
    if ((option.state & QStyle::State_HasFocus) != 0) {
        QPen pen(Sys(mv::COLOR_WINDOWTEXT), 1, Qt::DotLine);
        p->setPen(pen);
        p->drawRect(option.rect.adjusted(0, 0, -1, -1));
    }
    p->setPen(Sys(selected ? mv::COLOR_HIGHLIGHTTEXT : mv::COLOR_WINDOWTEXT));
}

// Draws one text column into its box. A figure (any column but the first) is drawn smaller,
// down to a floor, where it does not fit; what still does not fit is cut with an ellipsis.
// Nothing is drawn past the box.
void DrawColumn(QPainter* p, const QRect& box, const QString& text, bool shrink) {
    if (box.width() <= 0)
        return;
    const QFont normal = p->font();
    QFont font = normal;
    if (shrink && QFontMetrics(font, p->device()).horizontalAdvance(text) > box.width()) {
        const int full = QFontInfo(font).pixelSize();
        const int floor = std::max(kMinShrunkPixels, full * kShrinkFloorPercent / 100);
        for (int px = full - 1; px >= floor; --px) {
            font.setPixelSize(px);
            if (QFontMetrics(font, p->device()).horizontalAdvance(text) <= box.width())
                break;
        }
        p->setFont(font);
    }
    const QString shown =
        QFontMetrics(font, p->device()).elidedText(text, Qt::ElideRight, box.width());
    p->drawText(box, Qt::AlignLeft | Qt::AlignVCenter | Qt::TextSingleLine, shown);
    p->setFont(normal);
}

// The 16 x 16 icon of a file name or volume path from the platform's icons; null when none.
QImage PlatformIcon(const QString& path) {
    const QIcon icon = Icons().icon(QFileInfo(path));
    return icon.isNull() ? QImage() : icon.pixmap(16, 16).toImage();
}

// Draws an item as an icon at the left and its text columns. Items of the volume combo take
// their icon from their path and show their text; list items keep their columns.
class IconItemDelegate final : public QStyledItemDelegate {
public:
    IconItemDelegate(QObject* parent, int height, bool volumes)
        : QStyledItemDelegate(parent), height_(height), volumes_(volumes) {}

    void paint(QPainter* p, const QStyleOptionViewItem& option,
               const QModelIndex& index) const override {
        p->save();
        PaintItemBack(p, option);
        const QRect r = option.rect;
        QImage icon;
        QVariantList columns;
        if (volumes_) {
            icon = PlatformIcon(index.data(kPathRole).toString());
            columns << kNameX << index.data(Qt::DisplayRole).toString();
        } else {
            // A file's icon follows the extension of its name column (a remote item's text is
            // its whole row).
            columns = index.data(kShownColumnsRole).toList();
            if (!index.data(kDirectoryRole).toBool() && columns.size() > 1)
                icon = PlatformIcon(columns[1].toString());
        }
        if (icon.isNull())
            icon = volumes_ || index.data(kDirectoryRole).toBool() ? DirectoryBitmap() : FileBitmap();
        p->drawImage(r.left() + kIconX, r.top() + (r.height() - 16) / 2, icon);
        // Each column ends a gap before the next one starts, the last a gap before the item's
        // end (the visible width of the list).
        for (int i = 0; i + 1 < columns.size(); i += 2) {
            const int x = columns[i].toInt();
            const int end = i + 3 < columns.size() ? columns[i + 2].toInt() : r.width();
            DrawColumn(p, QRect(r.left() + x, r.top(), end - kColumnGap - x, r.height()),
                       columns[i + 1].toString(), i > 0);
        }
        p->restore();
    }

    QSize sizeHint(const QStyleOptionViewItem&, const QModelIndex&) const override {
        return QSize(0, height_);
    }

private:
    int height_;
    bool volumes_;
};

struct DirectoryEntry {
    std::string name;
    bool directory = false;
    std::uint64_t size = 0;
    std::time_t modified = 0;
};

bool CaseBlindLess(const std::string& a, const std::string& b) {
    return std::lexicographical_compare(
        a.begin(), a.end(), b.begin(), b.end(), [](char x, char y) {
            return std::tolower(static_cast<unsigned char>(x)) <
                   std::tolower(static_cast<unsigned char>(y));
        });
}

} // namespace

void SetFileIconProvider(QAbstractFileIconProvider* provider) { InjectedIcons() = provider; }

QString LocalText(const std::string& bytes) {
    return QFile::decodeName(QByteArray::fromStdString(bytes));
}

std::string LocalBytes(const QString& text) { return QFile::encodeName(text).toStdString(); }

QImage DirectoryBitmap() {
    static const QImage image = [] {
        QImage img(16, 16, QImage::Format_ARGB32);
        img.fill(Qt::transparent);
        QPainter p(&img);
        p.setPen(QColor(128, 96, 0));
        p.setBrush(QColor(255, 214, 90));
        p.drawRect(1, 2, 6, 2);   // tab
        p.drawRect(1, 4, 14, 10); // body
        return img;
    }();
    return image;
}

QImage FileBitmap() {
    static const QImage image = [] {
        QImage img(15, 14, QImage::Format_ARGB32);
        img.fill(Qt::transparent);
        QPainter p(&img);
        p.setPen(QColor(64, 64, 64));
        p.setBrush(Qt::white);
        p.drawRect(2, 0, 10, 13);
        p.drawLine(4, 4, 10, 4);
        p.drawLine(4, 7, 10, 7);
        p.drawLine(4, 10, 8, 10);
        return img;
    }();
    return image;
}

FileListBase::FileListBase(QWidget* parent, bool localNames)
    : QListWidget(parent), localNames_(localNames) {
    setItemDelegate(new IconItemDelegate(this, kListItemHeight, false));
    setUniformItemSizes(true);
    setSelectionMode(QAbstractItemView::SingleSelection);
}

void FileListBase::AddItem(const std::string& text, bool directory,
                           std::vector<ItemColumn> columns) {
    auto* item = new QListWidgetItem(Shown(text));
    item->setData(kTextRole, QByteArray::fromStdString(text));
    item->setData(kDirectoryRole, directory);
    QVariantList packed;
    QVariantList shown;
    for (const ItemColumn& c : columns) {
        packed << c.x << QByteArray::fromStdString(c.text);
        shown << c.x << Shown(c.text);
    }
    item->setData(kColumnsRole, packed);
    item->setData(kShownColumnsRole, shown);
    addItem(item);
}

QString FileListBase::Shown(const std::string& bytes) const {
    return localNames_ ? LocalText(bytes) : xui::fromCp1252(bytes);
}

std::string FileListBase::ItemText(int row) const {
    const QListWidgetItem* i = item(row);
    return i ? i->data(kTextRole).toByteArray().toStdString() : std::string();
}

bool FileListBase::IsDirectory(int row) const {
    const QListWidgetItem* i = item(row);
    return i && i->data(kDirectoryRole).toBool();
}

std::vector<ItemColumn> FileListBase::Columns(int row) const {
    std::vector<ItemColumn> out;
    const QListWidgetItem* i = item(row);
    if (!i)
        return out;
    const QVariantList columns = i->data(kColumnsRole).toList();
    for (int c = 0; c + 1 < columns.size(); c += 2)
        out.push_back({columns[c].toInt(), columns[c + 1].toByteArray().toStdString()});
    return out;
}

bool FileListBase::Contains(const std::string& text) const {
    for (int r = 0; r < count(); ++r) {
        if (ItemText(r) == text)
            return true;
    }
    return false;
}

bool CLocalFileList::Fill(const std::string& directory) {
    const QDir dir(LocalText(directory));
    if (!dir.exists() || !dir.isReadable())
        return false;
    const QFileInfoList infos =
        dir.entryInfoList(QDir::AllEntries | QDir::Hidden | QDir::System | QDir::NoDotAndDotDot);
    std::vector<DirectoryEntry> dirs;
    std::vector<DirectoryEntry> files;
    for (const QFileInfo& info : infos) {
        DirectoryEntry e;
        e.name = LocalBytes(info.fileName());
        e.directory = info.isDir();
        if (!e.directory) {
            struct stat st{};
            if (::stat(LocalBytes(info.absoluteFilePath()).c_str(), &st) == 0) {
                e.size = static_cast<std::uint64_t>(st.st_size);
                e.modified = st.st_mtime;
            }
        }
        (e.directory ? dirs : files).push_back(std::move(e));
    }
    if (directory != "/")
        dirs.push_back({"..", true, 0, 0});
    auto byName = [](const DirectoryEntry& a, const DirectoryEntry& b) {
        return CaseBlindLess(a.name, b.name);
    };
    std::sort(dirs.begin(), dirs.end(), byName);
    std::sort(files.begin(), files.end(), byName);
    clear();
    for (const DirectoryEntry& d : dirs) {
        const std::string text = "[" + d.name + "]";
        AddItem(text, true, {{kNameX, text}});
    }
    const std::time_t now = std::time(nullptr);
    for (const DirectoryEntry& f : files) {
        const LocalColumns c = MakeLocalColumns(f.size, f.modified, now);
        AddItem(f.name, false,
                {{kNameX, f.name},
                 {kLocalSizeX, c.size},
                 {kLocalMonthX, c.month},
                 {kLocalDayX, c.day},
                 {kLocalTimeX, c.timeOrYear}});
    }
    return true;
}

void CRemoteFileList::Fill(const std::vector<RemoteRow>& rows) {
    clear();
    rows_.clear();
    for (int pass = 0; pass < 2; ++pass) {
        for (const RemoteRow& row : rows) {
            if (InFirstPass(row) != (pass == 0))
                continue;
            rows_.push_back(row);
            if (row.directory)
                AddItem(row.Text(), true, {{kNameX, DisplayName(row)}});
            else
                AddItem(row.Text(), false,
                        {{kNameX, row.name}, {kRemoteSizeX, std::to_string(row.size)}});
        }
    }
}

const RemoteRow* CRemoteFileList::Row(int item) const {
    return item >= 0 && item < static_cast<int>(rows_.size()) && item < count()
               ? &rows_[static_cast<std::size_t>(item)]
               : nullptr;
}

CIconComboBox::CIconComboBox(QWidget* parent) : QComboBox(parent) {
    setItemDelegate(new IconItemDelegate(this, kItemHeight, true));
}

void CIconComboBox::FillVolumes() {
    const QSignalBlocker block(this);
    clear();
    AddVolume("/");
    AddVolume(LocalBytes(QDir::homePath()));
    for (const QStorageInfo& volume : QStorageInfo::mountedVolumes()) {
        if (volume.isValid() && volume.isReady())
            AddVolume(LocalBytes(volume.rootPath()));
    }
}

void CIconComboBox::AddVolume(const std::string& path) {
    for (int i = 0; i < count(); ++i) {
        if (PathAt(i) == path)
            return;
    }
    const QSignalBlocker block(this);
    const QString text = LocalText(path);
    addItem(text);
    setItemData(count() - 1, text, kPathRole);
}

std::string CIconComboBox::PathAt(int index) const {
    return LocalBytes(itemData(index, kPathRole).toString());
}

void CIconComboBox::SelectFor(const std::string& directory) {
    int best = -1;
    std::size_t bestLength = 0;
    for (int i = 0; i < count(); ++i) {
        std::string path = PathAt(i);
        const bool inside =
            directory == path ||
            (directory.rfind(path, 0) == 0 &&
             (path.back() == '/' || (directory.size() > path.size() && directory[path.size()] == '/')));
        if (inside && path.size() >= bestLength) {
            best = i;
            bestLength = path.size();
        }
    }
    const QSignalBlocker block(this);
    setCurrentIndex(best);
}

void RegisterFileListClasses() {
    auto list = [](auto* widget) {
        QObject::connect(widget, &QListWidget::currentRowChanged, widget,
                         [widget] { xui::postCommand(widget, mv::LBN_SELCHANGE); });
        QObject::connect(widget, &QListWidget::itemDoubleClicked, widget,
                         [widget] { xui::postCommand(widget, mv::LBN_DBLCLK); });
        return static_cast<QWidget*>(widget);
    };
    xui::registerWindowClass(kLocalListClass, [list](QWidget* parent, const xui::WindowCreateInfo&) {
        return list(new CLocalFileList(parent));
    });
    xui::registerWindowClass(kRemoteListClass, [list](QWidget* parent, const xui::WindowCreateInfo&) {
        return list(new CRemoteFileList(parent));
    });
    xui::registerWindowClass(kIconComboClass, [](QWidget* parent, const xui::WindowCreateInfo&) {
        auto* combo = new CIconComboBox(parent);
        QObject::connect(combo, &QComboBox::currentIndexChanged, combo,
                         [combo] { xui::postCommand(combo, mv::CBN_SELCHANGE); });
        return static_cast<QWidget*>(combo);
    });
}

} // namespace ftpdlg
