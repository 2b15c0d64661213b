// The main window as a user drives it: scroll bars, clicks on the tree and the tiles, the
// toolbar and the tree's menu, the language command, files dropped on the frame.
#include "tests/morvelan/ui/frame_fixture.h"

#include "morvelan/core/module_description.h"
#include "morvelan/ui/language_dlg.h"
#include "morvelan/ui/module_tile_wnd.h"
#include "xui/qt_text.h"
#include "xui/xbutton.h"

#include <QComboBox>
#include <QDialog>
#include <QMenu>
#include <QMenuBar>
#include <QMimeData>
#include <QScrollBar>
#include <QTest>
#include <QTimer>

namespace frametest {
namespace {

class MainWindowTest : public FrameTest {
protected:
    CMorvelanView& view() { return *frame().View(); }
    void click(QWidget* w, QPoint at = {}, Qt::MouseButton button = Qt::LeftButton) {
        QTest::mouseClick(w, button, {}, at.isNull() ? w->rect().center() : at);
        QApplication::processEvents();
    }
    void clickTree(CModuleTile* tile, Qt::MouseButton button = Qt::LeftButton) {
        tree().expandAll();
        click(tree().viewport(), tree().visualItemRect(tree().FindItem(tile)).center(), button);
    }
    void scrollTo(int x, int y) {
        view().horizontalScrollBar()->setValue(x);
        view().verticalScrollBar()->setValue(y);
    }
    // Every tile of station 0 stands where its layout put it minus the scroll, model and window
    // alike, and shows what a fresh paint of it shows; so does the view.
    void expectPlacedAndClean() {
        const QImage shown = view().viewport()->grab().toImage();
        const bool list = app_->m_LayoutMode == 2;
        const QPoint scroll(view().HorizontalScroll(), view().VerticalScroll());
        const int w = tile(0, 0).Module().width;
        int y = 150;
        for (int j = 0; j < station(0).TileCount(); ++j) {
            CModuleTile& t = tile(0, j);
            if (list && t.m_Kind == 7)
                continue;
            const int height = 20 * t.Module().GetExtraListRows() + 20;
            QRect want = list ? QRect(20, y, 580, height)
                              : QRect(j == 0 ? 20 : (j - 1) * t.cx + w + 20, 150, t.cx, 300);
            want.translate(-scroll);
            y += height;
            CModuleTileWnd& window = *windowOf(t);
            EXPECT_EQ(QRect(t.x, t.y, t.cx, t.cy), want) << "tile " << j;
            EXPECT_EQ(window.geometry(), want) << "tile " << j;
            EXPECT_TRUE(window.isVisible()) << "tile " << j;
            const QImage kept = window.grab().toImage();
            window.Invalidate(1);
            EXPECT_EQ(window.grab().toImage(), kept) << "tile " << j;
        }
        EXPECT_EQ(view().viewport()->grab().toImage(), shown);
    }
};

TEST_F(MainWindowTest, ScrolledRackAndListKeepTilesWithTheViewThroughStationsInsertsDeletesAndOpens) {
    ASSERT_EQ(startWithDemo(), 1);
    frame().resize(800, 500);
    frame().show();
    clickTree(&tile(0, 1));
    ASSERT_EQ(tree().SelectedTile(), &tile(0, 1));
    expectPlacedAndClean();
    scrollTo(100, 40);
    ASSERT_EQ(view().VerticalScroll(), 40);
    clickTree(&tile(1, 0));
    clickTree(&tile(0, 0));
    expectPlacedAndClean();
    // The list, scrolled after its rows were placed, then another station and back.
    click(view().Button(IDC_VIEW_LIST));
    scrollTo(30, 60);
    clickTree(&tile(1, 1));
    clickTree(&tile(0, 2));
    expectPlacedAndClean();

    // The rack scrolled again: the tree's menu puts an empty slot behind slot 0, which moves
    // every later board to the other parity. The empty slot has no item: a board is chosen.
    click(view().Button(IDC_VIEW_RACK));
    scrollTo(100, 40);
    clickTree(&tile(0, 1));
    const int boards = station(0).TileCount();
    QTimer::singleShot(0, [] {
        auto* menu = qobject_cast<QMenu*>(QApplication::activePopupWidget());
        menu->setActiveAction(menu->findChild<QAction*>("treeCommand32788"));
        QTest::keyClick(menu, Qt::Key_Return);
    });
    clickTree(&tile(0, 1), Qt::RightButton);
    ASSERT_EQ(station(0).TileCount(), boards + 1);
    EXPECT_EQ(tile(0, 2).Description()->m_Description, "@PEmpty");
    clickTree(&tile(0, 1));
    expectPlacedAndClean();
    // The toolbar's delete and K2270 buttons.
    clickTree(&tile(0, 3));
    click(frame().findChild<QWidget*>("button32773"));
    ASSERT_EQ(station(0).TileCount(), boards);
    expectPlacedAndClean();
    click(frame().findChild<QWidget*>("button32784"));
    ASSERT_EQ(station(0).TileCount(), boards + 1);
    EXPECT_EQ(view().HorizontalScroll(), 100);
    expectPlacedAndClean();

    // The project opened again from the File menu's recent files while scrolled.
    QMenu* file = frame().Popup(0);
    click(frame().menuBar(), frame().menuBar()->actionGeometry(file->menuAction()).center());
    auto* recent = file->findChild<QAction*>("recent0");
    ASSERT_TRUE(recent);
    click(file, file->actionGeometry(recent).center());
    clickTree(&tile(0, 0));
    expectPlacedAndClean();
}

TEST_F(MainWindowTest, LanguageCommandTurnsMenusAndToolTipsAndBack) {
    ASSERT_EQ(startWithDemo(), 1);
    auto tip = [&](int id) { return xui::toCp1252(frame().Action(id)->toolTip()); };
    EXPECT_EQ(tip(ID_FILE_OPEN), "Open...");
    auto choose = [&](int index) {
        QTimer::singleShot(0, [index] {
            auto* dlg = qobject_cast<morvelan::CLanguageDlg*>(QApplication::activeModalWidget());
            dlg->combo()->setCurrentIndex(index);
            QTest::mouseClick(dlg->item(mv::IDOK), Qt::LeftButton);
        });
        frame().Action(ID_LANGUAGE)->trigger();
    };
    choose(1);
    EXPECT_EQ(xui::toCp1252(frame().Action(ID_FILE_NEW)->text()), "&Neu\tStrg+N");
    EXPECT_EQ(tip(ID_FILE_NEW), "Neu");
    EXPECT_EQ(tip(ID_FILE_OPEN), "\xD6" "ffnen...");
    choose(0);
    EXPECT_EQ(xui::toCp1252(frame().Popup(0)->title()), "&File");
    EXPECT_EQ(tip(ID_FILE_NEW), "New");
    EXPECT_EQ(tip(ID_DELETE_MODULE), "Delete module");
}

TEST_F(MainWindowTest, EmptyStartShowsThePageAloneAndDropsFollowTheRulesOfOpenAsCopies) {
    ASSERT_EQ(start(), 1);
    frame().show();
    for (int id = IDC_VIEW_RACK; id <= IDC_VIEW_AUTOSTEP; ++id)
        EXPECT_TRUE(view().Button(id)->isHidden()) << id;
    const std::string demo = prog_ + "/samples/demo.mvl";
    QMimeData mime;
    mime.setUrls({QUrl::fromLocalFile(QString::fromStdString(demo))});
    // What the drag source is told: the action taken, none when refused. A source that is told
    // Move deletes its file.
    auto drop = [&](Qt::DropActions offered = Qt::CopyAction, Qt::KeyboardModifiers keys = {}) {
        QDragEnterEvent enter(QPoint(400, 300), offered, &mime, Qt::LeftButton, keys);
        QApplication::sendEvent(&frame(), &enter);
        QDropEvent dropped(QPointF(400, 300), offered, &mime, Qt::LeftButton, keys);
        QApplication::sendEvent(&frame(), &dropped);
        auto taken = [](const QDropEvent& e) {
            return e.isAccepted() ? e.dropAction() : Qt::IgnoreAction;
        };
        EXPECT_EQ(taken(enter), taken(dropped));
        return taken(dropped);
    };
    app_->m_Online = 1;
    EXPECT_EQ(drop(), Qt::IgnoreAction);
    app_->m_Online = 0;
    Qt::DropAction duringModal = Qt::CopyAction;
    QDialog modal(&frame());
    QTimer::singleShot(0, [&] {
        duringModal = drop();
        modal.reject();
    });
    modal.exec();
    EXPECT_EQ(duringModal, Qt::IgnoreAction);
    EXPECT_EQ(drop(Qt::MoveAction), Qt::IgnoreAction) << "a source that cannot copy";
    EXPECT_EQ(doc().StationCount(), 0) << "refused while online and while a dialog is open";
    // Shift proposes a move; the file is opened and stays where it is.
    const Qt::DropActions both = Qt::CopyAction | Qt::MoveAction;
    const QDropEvent proposal(QPointF(), both, &mime, Qt::LeftButton, Qt::ShiftModifier);
    ASSERT_EQ(proposal.proposedAction(), Qt::MoveAction);
    EXPECT_EQ(drop(both, Qt::ShiftModifier), Qt::CopyAction);
    EXPECT_EQ(doc().StationCount(), 2);
    EXPECT_TRUE(std::filesystem::exists(demo));
}

} // namespace
} // namespace frametest
