// CLeftView: the project tree in the left pane. A root item with the project's title, one
// branch per station (its head) with the station's boards below. It keeps the selected tile,
// which most commands act on, decides what the rack view shows, and offers context menu 132.
#pragma once

#include "morvelan/core/frame_update_rules.h"

#include <QTreeWidget>

#include <unordered_map>

class CMainFrame;
class CModuleTile;
class QMenu;

// Tree images: the root and heads, the boards.
constexpr int kTreeImageHead = 0;
constexpr int kTreeImageBoard = 1;
constexpr int kTreeIndent = 4;
constexpr unsigned kTreeMask = 0xFF00FF;

class CLeftView : public QTreeWidget {
    Q_OBJECT

public:
    CLeftView(CMainFrame& frame, QWidget* parent);
    ~CLeftView() override;

    // Rebuilds all items from the document; the selection is cleared.
    void FillTree();
    // Deletes every item and forgets the selection, without selection notifications.
    void Clear();
    // Selects the item of a tile; nothing when none shows it.
    void SelectModul(CModuleTile* tile);
    CModuleTile* SelectedTile() const { return selected_; }
    // Forgets a tile that is being destroyed: no item and no selection refers to it afterwards.
    void ForgetTile(const CModuleTile* tile);
    // The item that shows a tile, or null.
    QTreeWidgetItem* FindItem(const CModuleTile* tile) const;
    static CModuleTile* TileOf(const QTreeWidgetItem* item);

    // The context menu for the current selection (built, not shown).
    QMenu* BuildContextMenu();
    // Runs a command of the context menu.
    void OnMenuCommand(int id);
    // Properties (32774).
    void OnProperties();

protected:
    void mousePressEvent(QMouseEvent* event) override;
    void mouseReleaseEvent(QMouseEvent* event) override;

private:
    void OnSelectionChanged(QTreeWidgetItem* current);
    // Drops the items of the rows about to go (with their children) from the item map.
    void OnRowsAboutToBeRemoved(const QModelIndex& parent, int first, int last);

    CMainFrame& frame_;
    CModuleTile* selected_ = nullptr;
    bool filling_ = false;
    QMenu* menu_ = nullptr;
    // The item of each tile the tree shows, kept with the items: a project's close forgets
    // every tile, one by one.
    std::unordered_map<const CModuleTile*, QTreeWidgetItem*> items_;
};
