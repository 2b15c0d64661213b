// The main window as a user drives it: scroll bars, clicks on the tree and the tiles, the
// toolbar and the tree's menu, the language command, files dropped on the frame.
#include "tests/morvelan/ui/frame_fixture.h"

#include "morvelan/core/module_description.h"
#include "morvelan/ui/language_dlg.h"
#include "morvelan/ui/module_tile_wnd.h"
#include "xui/colorref.h"
#include "xui/qt_text.h"
#include "xui/xbutton.h"

#include <QComboBox>
#include <QDialog>
#include <QMenu>
#include <QMimeData>
#include <QPushButton>
#include <QScrollBar>
#include <QTest>
#include <QTimer>

namespace frametest {
namespace {

class MainWindowTest : public FrameTest {
protected:
    CMorvelanView& view() { return *frame().View(); }
    QWidget* toolButton(int id) {
        return frame().findChild<QWidget*>(QStringLiteral("button%1").arg(id));
    }
    void click(QWidget* w, QPoint at = {}, Qt::MouseButton button = Qt::LeftButton) {
        ASSERT_NE(w, nullptr);
        QTest::mouseClick(w, button, {}, at.isNull() ? w->rect().center() : at);
        QApplication::processEvents();
    }
    // A click on the tree item of a tile.
    void clickTree(CModuleTile* tile, Qt::MouseButton button = Qt::LeftButton) {
        tree().expandAll();
        QTreeWidgetItem* item = tree().FindItem(tile);
        ASSERT_NE(item, nullptr);
        click(tree().viewport(), tree().visualItemRect(item).center(), button);
    }
    void scrollTo(int x, int y) {
        view().horizontalScrollBar()->setValue(x);
        view().verticalScrollBar()->setValue(y);
        QApplication::processEvents();
    }
    // Every shown tile of station s stands where its layout put it, minus the scroll: the
    // model and the window alike.
    void expectPlaced(int s) {
        const int hs = view().HorizontalScroll();
        const int vs = view().VerticalScroll();
        const bool list = app_->m_LayoutMode == 2;
        const int w = tile(s, 0).Module().width;
        int y = 150;
        for (int j = 0; j < station(s).TileCount(); ++j) {
            CModuleTile& t = tile(s, j);
            if (list && t.m_Kind == 7)
                continue;
            const int wj = t.Module().width;
            const int height = 20 * t.Module().GetExtraListRows() + 20;
            const QRect want = list ? QRect(20 - hs, y - vs, 580, height)
                                    : QRect((j == 0 ? 20 : (j - 1) * wj + w + 20) - hs, 150 - vs,
                                            wj, 300);
            y += height;
            EXPECT_EQ(QRect(t.x, t.y, t.cx, t.cy), want) << "tile " << j;
            EXPECT_EQ(windowOf(t)->geometry(), want) << "tile " << j;
            EXPECT_TRUE(windowOf(t)->isVisible()) << "tile " << j;
        }
    }
    // What the view and each tile show equals a fresh paint of the same state.
    void expectCleanPaint(int s) {
        const QImage kept = view().viewport()->grab().toImage();
        for (int j = 0; j < station(s).TileCount(); ++j) {
            CModuleTileWnd& window = *windowOf(tile(s, j));
            const QImage before = window.grab().toImage();
            window.Invalidate(1);
            EXPECT_EQ(window.grab().toImage(), before) << "tile " << j;
        }
        EXPECT_EQ(view().viewport()->grab().toImage(), kept);
    }
};

TEST_F(MainWindowTest, ScrolledRackAndListKeepTilesWithTheViewThroughStationsInsertsAndDeletes) {
    ASSERT_EQ(startWithDemo(), 1);
    frame().resize(800, 500);
    frame().show();
    QApplication::processEvents();
    clickTree(&tile(0, 1));
    ASSERT_EQ(tree().SelectedTile(), &tile(0, 1));
    expectCleanPaint(0);
    scrollTo(100, 40);
    ASSERT_EQ(view().HorizontalScroll(), 100);
    ASSERT_EQ(view().VerticalScroll(), 40);
    expectPlaced(0);
    clickTree(&tile(1, 0));
    clickTree(&tile(0, 0));
    expectPlaced(0);
    expectCleanPaint(0);

    // The list, scrolled after its rows were placed, then another station and back.
    click(view().Button(IDC_VIEW_LIST));
    ASSERT_EQ(app_->m_LayoutMode, 2);
    scrollTo(30, 60);
    clickTree(&tile(1, 1));
    clickTree(&tile(0, 2));
    expectPlaced(0);
    expectCleanPaint(0);

    // Back to the rack, scrolled: the tree's menu inserts an empty slot behind slot 0, which
    // moves every later board to the other parity.
    click(view().Button(IDC_VIEW_RACK));
    scrollTo(100, 40);
    clickTree(&tile(0, 1));
    expectCleanPaint(0);
    const int boards = station(0).TileCount();
    std::vector<std::string> offered;
    QTimer::singleShot(0, [&] {
        auto* menu = qobject_cast<QMenu*>(QApplication::activePopupWidget());
        ASSERT_NE(menu, nullptr);
        for (QAction* a : menu->actions())
            if (a->isEnabled() && !a->isSeparator())
                offered.push_back(xui::toCp1252(a->text()));
        menu->setActiveAction(menu->findChild<QAction*>("treeCommand32788"));
        QTest::keyClick(menu, Qt::Key_Return);
    });
    clickTree(&tile(0, 1), Qt::RightButton);
    EXPECT_EQ(offered, (std::vector<std::string>{"@K2270 einf\xFCgen", "Leer-Modul einf\xFCgen",
                                                 "Modul l\xF6schen", "Properties", "Cancel"}));
    ASSERT_EQ(station(0).TileCount(), boards + 1);
    EXPECT_EQ(tile(0, 2).Description()->m_Description, "@PEmpty");
    EXPECT_EQ(view().HorizontalScroll(), 100);
    // The empty slot has no tree item: the page shows until a board is chosen again.
    clickTree(&tile(0, 1));
    expectPlaced(0);
    expectCleanPaint(0);

    // The toolbar's delete takes a board out: the later ones move back.
    clickTree(&tile(0, 3));
    click(toolButton(ID_DELETE_MODULE));
    ASSERT_EQ(station(0).TileCount(), boards);
    expectPlaced(0);
    expectCleanPaint(0);
    // And its K2270 button puts one behind the selected board.
    click(toolButton(ID_INSERT_K2270));
    ASSERT_EQ(station(0).TileCount(), boards + 1);
    expectPlaced(0);
    expectCleanPaint(0);
}

TEST_F(MainWindowTest, ClicksOnTilesSelectAndDoubleClicksOpenTheirZones) {
    ASSERT_EQ(startWithDemo(), 1);
    frame().resize(1200, 700);
    frame().show();
    clickTree(&tile(0, 0));
    std::vector<std::string> calls;
    auto name = [](CModuleTile& t) { return t.Description()->m_Description; };
    dialogSeams().sliderLabelDialog = [&](CModuleTile& t) {
        calls.push_back("slider " + name(t));
        return 1;
    };
    dialogSeams().labelDialog = [&](CModuleTile& t) {
        calls.push_back("label " + name(t));
        return 1;
    };
    CModuleTileWnd* slot3 = windowOf(tile(0, 4));
    click(slot3, QPoint(10, 100));
    EXPECT_EQ(tree().SelectedTile(), &tile(0, 4));
    EXPECT_EQ(tile(0, 4).m_Highlight, 1);
    QTest::mouseDClick(slot3, Qt::LeftButton, {}, QPoint(10, 10));
    QTest::mouseDClick(slot3, Qt::LeftButton, {}, QPoint(10, 280));
    // The middle zone configures the module: its dialog opens and is closed here.
    int dialogs = 0;
    QTimer::singleShot(0, [&] {
        if (QWidget* modal = QApplication::activeModalWidget()) {
            ++dialogs;
            modal->close();
        }
    });
    QTest::mouseDClick(windowOf(tile(0, 3)), Qt::LeftButton, {}, QPoint(10, 100));
    EXPECT_EQ(dialogs, 1);
    EXPECT_EQ(calls, (std::vector<std::string>{"slider @K2271", "label A3104"}));
}

TEST_F(MainWindowTest, LanguageCommandTurnsMenusAndToolTipsAndBack) {
    ASSERT_EQ(startWithDemo(), 1);
    frame().show();
    auto tip = [&](int id) { return xui::toCp1252(frame().Action(id)->toolTip()); };
    EXPECT_EQ(tip(ID_FILE_NEW), "New");
    EXPECT_EQ(tip(ID_FILE_OPEN), "Open...");
    auto choose = [&](int index) {
        QTimer::singleShot(0, [&, index] {
            auto* dlg = qobject_cast<morvelan::CLanguageDlg*>(QApplication::activeModalWidget());
            ASSERT_NE(dlg, nullptr);
            dlg->combo()->setCurrentIndex(index);
            QTest::mouseClick(dlg->item(mv::IDOK), Qt::LeftButton);
        });
        frame().Action(ID_LANGUAGE)->trigger();
    };
    choose(1);
    EXPECT_EQ(xui::toCp1252(frame().Popup(0)->title()), "&Datei");
    EXPECT_EQ(xui::toCp1252(frame().Action(ID_FILE_NEW)->text()), "&Neu\tStrg+N");
    EXPECT_EQ(tip(ID_FILE_NEW), "Neu");
    EXPECT_EQ(tip(ID_FILE_OPEN), "\xD6" "ffnen...");
    EXPECT_EQ(tip(ID_INSERT_K2270), "K2270 einf\xFCgen");
    choose(0);
    EXPECT_EQ(xui::toCp1252(frame().Popup(0)->title()), "&File");
    EXPECT_EQ(tip(ID_FILE_NEW), "New");
    EXPECT_EQ(tip(ID_DELETE_MODULE), "Delete module");
    EXPECT_EQ(messages_.size(), 2u) << "each change asks for a restart";
}

TEST_F(MainWindowTest, EmptyStartShowsThePageAloneAndDropsFollowTheRulesOfOpen) {
    ASSERT_EQ(start(), 1);
    frame().resize(1000, 700);
    frame().show();
    QApplication::processEvents();
    for (int id = IDC_VIEW_RACK; id <= IDC_VIEW_AUTOSTEP; ++id)
        EXPECT_TRUE(view().Button(id)->isHidden()) << id;
    const QImage page = view().viewport()->grab().toImage();
    EXPECT_EQ(xui::colorrefFromRgb(page.pixel(5, 15)), kViewBackground) << "no button on it";

    QMimeData mime;
    mime.setUrls({QUrl::fromLocalFile(QString::fromStdString(prog_ + "/samples/demo.mvl"))});
    auto drop = [&] {
        QDragEnterEvent enter(QPoint(400, 300), Qt::CopyAction, &mime, Qt::LeftButton, {});
        QApplication::sendEvent(&frame(), &enter);
        QDropEvent dropped(QPointF(400, 300), Qt::CopyAction, &mime, Qt::LeftButton, {});
        QApplication::sendEvent(&frame(), &dropped);
        QApplication::processEvents();
        return enter.isAccepted();
    };
    app_->m_Online = 1;
    EXPECT_FALSE(drop());
    EXPECT_EQ(doc().StationCount(), 0) << "refused while online";
    app_->m_Online = 0;
    // Refused while a modal dialog is open.
    bool acceptedDuringModal = true;
    QDialog modal(&frame());
    QTimer::singleShot(0, [&] {
        acceptedDuringModal = drop();
        modal.reject();
    });
    modal.exec();
    EXPECT_FALSE(acceptedDuringModal);
    EXPECT_EQ(doc().StationCount(), 0);
    EXPECT_TRUE(drop());
    EXPECT_EQ(doc().StationCount(), 2);
    EXPECT_EQ(frame().windowTitle(), "demo.mvl - morvelan");
}

} // namespace
} // namespace frametest
