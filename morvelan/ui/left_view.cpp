#include "morvelan/ui/left_view.h"

#include "morvelan/core/app_hooks.h"
#include "morvelan/core/command_ids.h"
#include "morvelan/core/module_description.h"
#include "morvelan/ui/frame_seams.h"
#include "morvelan/ui/main_frame.h"
#include "morvelan/ui/morvelan_view.h"
#include "xui/bitmaps.h"
#include "xui/colorref.h"
#include "xui/qt_text.h"

#include <QHeaderView>
#include <QMenu>
#include <QMouseEvent>

#include <vector>

namespace {

// Tiles of this kind (hidden fillers) never show in the tree.
constexpr int kHiddenKind = 7;

// Menu 132 as the resource holds it (Windows-1252 texts): the items that are grayed there
// keep their texts.
struct TreeMenuItem {
    int id;
    const char* text;
};
constexpr TreeMenuItem kTreeMenu[] = {
    {ID_INSERT_CONTROLLER, "Control-Modul einf\xFCgen"},
    {ID_ADD_MODULES, "Funktions-Modul einf\xFCgen"},
    {ID_INSERT_K2270, "@K2270 einf\xFCgen"},
    {ID_INSERT_EMPTY, "Leer-Modul einf\xFCgen"},
    {ID_DELETE_MODULE, "Modul l\xF6schen"},
    {0, nullptr},
    {ID_PROPERTIES, "Eigenschaften"},
    {0, nullptr},
    {ID_MENU_CANCEL, "Abbrechen"},
};

QIcon TreeImage(int index) {
    const QImage strip = xui::bitmapResource(IDB_TREE);
    if (strip.isNull())
        return QIcon();
    QImage image = strip.copy(index * 16, 0, 16, std::min(16, strip.height()))
                       .convertToFormat(QImage::Format_ARGB32);
    const QRgb mask = xui::toQColor(kTreeMask).rgb() & 0xFFFFFF;
    for (int y = 0; y < image.height(); ++y) {
        auto* line = reinterpret_cast<QRgb*>(image.scanLine(y));
        for (int x = 0; x < image.width(); ++x)
            if ((line[x] & 0xFFFFFF) == mask)
                line[x] = 0;
    }
    return QIcon(QPixmap::fromImage(image));
}

} // namespace

CLeftView::CLeftView(CMainFrame& frame, QWidget* parent) : QTreeWidget(parent), frame_(frame) {
    setObjectName(QStringLiteral("CLeftView"));
    setHeaderHidden(true);
    setColumnCount(1);
    setRootIsDecorated(true);
    setIndentation(kTreeIndent + 16);
    setIconSize(QSize(16, 16));
    setSelectionMode(QAbstractItemView::SingleSelection);
    connect(this, &QTreeWidget::currentItemChanged, this,
            [this](QTreeWidgetItem* current, QTreeWidgetItem*) { OnSelectionChanged(current); });
    // Items go with a reset (clear) or one branch at a time: the map never keeps a gone item.
    connect(model(), &QAbstractItemModel::modelAboutToBeReset, this, [this] { items_.clear(); });
    connect(model(), &QAbstractItemModel::rowsAboutToBeRemoved, this,
            &CLeftView::OnRowsAboutToBeRemoved);
}

CLeftView::~CLeftView() {
    // The items go after this part of the tree, with the model: they need no map any more.
    model()->disconnect(this);
}

void CLeftView::OnRowsAboutToBeRemoved(const QModelIndex& parent, int first, int last) {
    std::vector<QTreeWidgetItem*> pending;
    for (int row = first; row <= last; ++row)
        pending.push_back(itemFromIndex(model()->index(row, 0, parent)));
    while (!pending.empty()) {
        QTreeWidgetItem* item = pending.back();
        pending.pop_back();
        if (!item)
            continue;
        const auto it = items_.find(TileOf(item));
        if (it != items_.end() && it->second == item)
            items_.erase(it);
        for (int i = 0; i < item->childCount(); ++i)
            pending.push_back(item->child(i));
    }
}

CModuleTile* CLeftView::TileOf(const QTreeWidgetItem* item) {
    if (!item)
        return nullptr;
    return static_cast<CModuleTile*>(item->data(0, Qt::UserRole).value<void*>());
}

void CLeftView::Clear() {
    const bool blocked = blockSignals(true);
    selected_ = nullptr;
    clear();
    blockSignals(blocked);
}

void CLeftView::FillTree() {
    CMorvelanDoc& doc = frame_.Doc();
    filling_ = true;
    const bool blocked = blockSignals(true);
    selected_ = nullptr;
    std::string title = doc.m_Title;
    if (title == kUntitled) {
        title = "-";
        doc.m_Title = title;
    }
    clear();
    const QIcon head = TreeImage(kTreeImageHead);
    const QIcon board = TreeImage(kTreeImageBoard);
    auto* root = new QTreeWidgetItem(this, QStringList(xui::fromCp1252(title)));
    root->setIcon(0, head);
    root->setData(0, Qt::UserRole, QVariant::fromValue<void*>(nullptr));
    for (int s = 0; s < doc.StationCount(); ++s) {
        const CStation* station = doc.Station(s);
        QTreeWidgetItem* parent = nullptr;
        for (int j = 0; j < station->TileCount(); ++j) {
            CModuleTile* tile = station->Tile(j);
            if (tile->m_Kind == kHiddenKind)
                continue;
            const std::string text = tile->Description() ? tile->Description()->m_Description
                                                          : std::string();
            QTreeWidgetItem* item = nullptr;
            // A station whose first tile is no head still gets a branch of its own.
            if (tile->IsController() || !parent) {
                item = new QTreeWidgetItem(root, QStringList(xui::fromCp1252(text)));
                item->setIcon(0, tile->IsController() ? head : board);
                parent = item;
            } else {
                item = new QTreeWidgetItem(parent, QStringList(xui::fromCp1252(text)));
                item->setIcon(0, board);
            }
            item->setData(0, Qt::UserRole, QVariant::fromValue<void*>(tile));
            items_.emplace(tile, item);
        }
    }
    root->setExpanded(true);
    setCurrentItem(nullptr);
    blockSignals(blocked);
    filling_ = false;
    frame_.UpdateTitle();
}

QTreeWidgetItem* CLeftView::FindItem(const CModuleTile* tile) const {
    const auto it = items_.find(tile);
    return it == items_.end() ? nullptr : it->second;
}

void CLeftView::SelectModul(CModuleTile* tile) {
    if (QTreeWidgetItem* item = FindItem(tile))
        setCurrentItem(item);
}

void CLeftView::ForgetTile(const CModuleTile* tile) {
    if (!tile)
        return;
    const bool blocked = blockSignals(true);
    if (selected_ == tile)
        selected_ = nullptr;
    const auto it = items_.find(tile);
    if (it != items_.end()) {
        QTreeWidgetItem* item = it->second;
        items_.erase(it);
        item->setData(0, Qt::UserRole, QVariant::fromValue<void*>(nullptr));
    }
    blockSignals(blocked);
}

void CLeftView::OnSelectionChanged(QTreeWidgetItem* current) {
    CMorvelanDoc& doc = frame_.Doc();
    if (filling_ || doc.StationCount() < 1)
        return;
    CMorvelanView* view = frame_.View();
    // The old tile is the one remembered, never a pointer kept by an item.
    CModuleTile* old = selected_;
    const int oldStation = old ? old->m_Station : -1;
    if (old && old->m_Highlight) {
        old->m_Highlight = 0;
        old->Refresh(1);
    }
    CModuleTile* tile = TileOf(current);
    if (tile) {
        selected_ = tile;
        if (tile->m_Station != oldStation) {
            doc.HideAllModules();
            tile->m_Highlight = 1;
            tile->Refresh(1);
            view->Invalidate();
        } else if (tile->IsController()) {
            doc.HideAllModules();
            view->Invalidate();
        } else {
            tile->m_Highlight = 1;
            tile->Refresh(1);
        }
    } else {
        selected_ = nullptr;
        view->Invalidate();
    }
    frame_.UpdateCommandStates();
}

void CLeftView::mousePressEvent(QMouseEvent* event) {
    if (event->button() == Qt::RightButton) {
        if (QTreeWidgetItem* item = itemAt(event->position().toPoint()))
            setCurrentItem(item);
        event->accept();
        return;
    }
    QTreeWidget::mousePressEvent(event);
}

void CLeftView::mouseReleaseEvent(QMouseEvent* event) {
    if (event->button() == Qt::RightButton) {
        QMenu* menu = BuildContextMenu();
        const QPoint global = event->globalPosition().toPoint();
        QAction* chosen = menu->exec(global);
        if (chosen && chosen->data().isValid())
            OnMenuCommand(chosen->data().toInt());
        event->accept();
        return;
    }
    QTreeWidget::mouseReleaseEvent(event);
}

QMenu* CLeftView::BuildContextMenu() {
    if (!menu_) {
        menu_ = new QMenu(this);
        menu_->setObjectName(QStringLiteral("menu%1").arg(IDR_TREE_MENU));
    }
    menu_->clear();
    const TileSelection selection = !selected_ ? TileSelection::None
                                    : selected_->IsController() ? TileSelection::Controller
                                                                : TileSelection::Board;
    for (const TreeMenuItem& item : kTreeMenu) {
        if (item.id == 0) {
            menu_->addSeparator();
            continue;
        }
        std::string text = item.text;
        if (item.id == ID_INSERT_CONTROLLER)
            text = mv::LanguageText(27);
        else if (item.id == ID_PROPERTIES)
            text = mv::LanguageText(6);
        else if (item.id == ID_MENU_CANCEL)
            text = mv::LanguageText(10001);
        QAction* action = menu_->addAction(xui::fromCp1252(text));
        action->setObjectName(QStringLiteral("treeCommand%1").arg(item.id));
        action->setData(item.id);
        action->setEnabled(TreeMenuItemEnabled(item.id, selection));
    }
    return menu_;
}

void CLeftView::OnMenuCommand(int id) {
    switch (id) {
    case ID_PROPERTIES:
        OnProperties();
        break;
    case ID_INSERT_CONTROLLER:
    case ID_ADD_MODULES:
    case ID_INSERT_K2270:
    case ID_INSERT_EMPTY:
    case ID_DELETE_MODULE:
        // The same actions as the frame's commands.
        frame_.Commands().Run(id);
        break;
    default:
        break;
    }
}

void CLeftView::OnProperties() {
    DialogSeams& seams = dialogSeams();
    if (!selected_) {
        if (seams.projectDialog)
            seams.projectDialog();
        frame_.View()->Invalidate();
    } else if (selected_->IsController()) {
        if (seams.changeModuleDialog)
            seams.changeModuleDialog(selected_->m_Station);
        frame_.View()->Invalidate();
    }
}
