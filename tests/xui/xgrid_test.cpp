#include "xui/xgrid_ctrl.h"

#include "controls_test_util.h"
#include "platform/recording_canvas.h"
#include "xui/window_class.h"

#include <QApplication>
#include <QContextMenuEvent>
#include <QMenu>
#include <QMouseEvent>
#include <QTimer>
#include <QScrollBar>
#include <QStyle>
#include <QStyleOptionSlider>
#include <QtTest/QTest>

#include <gtest/gtest.h>

#include <memory>

using xctl_test::CommandSink;
using xctl_test::pixel;
using xui::XGridCtrl;

namespace {

class Paints : public QObject {
public:
    int count = 0;
    bool eventFilter(QObject*, QEvent* e) override {
        if (e->type() == QEvent::Paint) {
            ++count;
        }
        return false;
    }
};

class GridTest : public ::testing::Test {
protected:
    void SetUp() override {
        xctl_test::app();
        parent = std::make_unique<CommandSink>();
        grid = new XGridCtrl(parent.get());
        xui::setControlId(grid, 1011);
        grid->setGeometry(10, 10, 300, 105); // 5 whole rows of 20
        parent->show();
    }

    // 30 rows, 3 columns, texts "r<row>c<col>".
    void fill(int rows = 30) {
        grid->SetColumnCount(3);
        grid->SetRowCount(rows);
        for (int r = 0; r < rows; ++r) {
            for (int c = 0; c < 3; ++c) {
                grid->SetCellText(c, r, "r" + std::to_string(r) + "c" + std::to_string(c));
            }
        }
    }

    std::string text(int row, int column) {
        std::string t;
        grid->GetCellText(row, column, t);
        return t;
    }

    std::unique_ptr<CommandSink> parent;
    XGridCtrl* grid = nullptr;
};

TEST_F(GridTest, CreationDefaultsAndWholeRows) {
    EXPECT_EQ(grid->columnCount(), 5);
    EXPECT_EQ(grid->rowCount(), 5);
    EXPECT_EQ(grid->fixedRowCount(), 1);
    EXPECT_EQ(grid->fixedColumnCount(), 1);
    EXPECT_EQ(grid->height(), 100);
    EXPECT_EQ(grid->visibleRowCount(), 5);
    EXPECT_EQ(grid->columnOffset(3), 150);
    int row = 0;
    int col = 0;
    grid->GetSelection(row, col);
    EXPECT_EQ(row, -1);
    EXPECT_EQ(col, -1);
    // The scroll bar sits at the right edge, one pixel in.
    EXPECT_EQ(grid->GetClientWidth(), 17);
    EXPECT_EQ(grid->scrollBar()->geometry(), QRect(300 - 1 - 17, 1, 17, 98));
}

TEST_F(GridTest, CellsTextsFlagsAndData) {
    grid->SetColumnCount(3);
    grid->SetRowCount(4);
    int token = 7;
    grid->SetCellText(2, 1, "value");
    grid->SetCellData(2, 1, &token);
    grid->SetCellFlag(0, 1, 1);
    EXPECT_EQ(text(1, 2), "value");
    EXPECT_EQ(grid->GetCellData(1, 2), &token);
    EXPECT_EQ(grid->cellFlag(1, 0), 1);
    // Indexes outside the grid are ignored.
    grid->SetCellText(3, 1, "x");
    grid->SetCellText(0, 4, "x");
    grid->SetCellText(-1, 0, "x");
    grid->SetCellData(5, 5, &token);
    EXPECT_EQ(text(4, 0), "");
    EXPECT_EQ(grid->GetCellData(9, 9), nullptr);
    grid->SetColumnWidth(7, 10);
    grid->SetRowColor(99, 0xFF);
    grid->DeleteRow(17);

    grid->SetColumnWidth(1, 80);
    EXPECT_EQ(grid->columnOffset(2), 130);

    grid->Clear();
    EXPECT_EQ(text(1, 2), "");
    EXPECT_EQ(grid->GetCellData(1, 2), nullptr);
    EXPECT_EQ(grid->rowCount(), 4);
}

TEST_F(GridTest, RowCountResetsColoursAndSelection) {
    fill(6);
    grid->SetAllRowColors(0xFF0000);
    EXPECT_EQ(grid->rowTextColor(3), 0xFF0000u);
    EXPECT_EQ(grid->rowTextColor(0), 0u); // the heading row keeps its colour
    QTest::mouseClick(grid, Qt::LeftButton, {}, QPoint(60, 50));
    grid->SetRowCount(8);
    int row = 0;
    int col = 0;
    grid->GetSelection(row, col);
    EXPECT_EQ(row, -1);
    EXPECT_EQ(text(2, 1), "");
    EXPECT_EQ(grid->rowTextColor(3), 0xFF0000u); // the new default row colour
}

TEST_F(GridTest, DeleteRowMovesTextsUpAndClearsFlagsAndData) {
    fill(5);
    int token = 1;
    grid->SetCellData(1, 3, &token);
    grid->SetCellFlag(0, 2, 1);
    grid->SetRowColor(4, 0x00FF00);
    grid->DeleteRow(2);
    EXPECT_EQ(text(2, 1), "r3c1");
    EXPECT_EQ(text(3, 0), "r4c0");
    EXPECT_EQ(text(4, 2), "");
    EXPECT_EQ(text(1, 1), "r1c1");
    EXPECT_EQ(grid->GetCellData(3, 1), nullptr);
    EXPECT_EQ(grid->cellFlag(2, 0), 0);
    EXPECT_EQ(grid->rowCount(), 5);
    EXPECT_EQ(grid->rowTextColor(4), 0x00FF00u);
}

TEST_F(GridTest, LineDownStopsOneBeforeTheLimitThumbReachesIt) {
    fill(30);
    EXPECT_EQ(grid->scrollLimit(), 25);
    EXPECT_EQ(grid->scrollBar()->maximum(), 25);
    for (int i = 0; i < 40; ++i) {
        grid->OnVScroll(XGridCtrl::ScrollRequest::LineDown);
    }
    EXPECT_EQ(grid->firstVisibleRow(), 24);
    EXPECT_EQ(grid->scrollBar()->value(), 25);
    grid->OnVScroll(XGridCtrl::ScrollRequest::ThumbPosition, 25);
    EXPECT_EQ(grid->firstVisibleRow(), 25);
    grid->OnVScroll(XGridCtrl::ScrollRequest::ThumbTrack, 3);
    EXPECT_EQ(grid->firstVisibleRow(), 25);
    grid->OnVScroll(XGridCtrl::ScrollRequest::LineUp);
    EXPECT_EQ(grid->firstVisibleRow(), 24);
    EXPECT_EQ(grid->scrollBar()->value(), 24);
}

TEST_F(GridTest, PagesOfTenRows) {
    fill(30);
    grid->OnVScroll(XGridCtrl::ScrollRequest::PageDown);
    EXPECT_EQ(grid->firstVisibleRow(), 10);
    grid->OnVScroll(XGridCtrl::ScrollRequest::PageDown);
    EXPECT_EQ(grid->firstVisibleRow(), 20);
    grid->OnVScroll(XGridCtrl::ScrollRequest::PageDown);
    EXPECT_EQ(grid->firstVisibleRow(), 24);
    EXPECT_EQ(grid->scrollBar()->value(), 25);
    grid->OnVScroll(XGridCtrl::ScrollRequest::PageUp);
    EXPECT_EQ(grid->firstVisibleRow(), 14);
    grid->OnVScroll(XGridCtrl::ScrollRequest::PageUp);
    grid->OnVScroll(XGridCtrl::ScrollRequest::PageUp);
    EXPECT_EQ(grid->firstVisibleRow(), 0);
    EXPECT_EQ(grid->scrollBar()->value(), 0);
    grid->OnVScroll(XGridCtrl::ScrollRequest::LineUp);
    EXPECT_EQ(grid->firstVisibleRow(), 0);
}

TEST_F(GridTest, FewerRowsThanFitNeverScroll) {
    fill(3);
    EXPECT_EQ(grid->scrollLimit(), 0);
    for (auto req : {XGridCtrl::ScrollRequest::PageDown, XGridCtrl::ScrollRequest::LineDown,
                     XGridCtrl::ScrollRequest::PageUp}) {
        grid->OnVScroll(req);
        EXPECT_EQ(grid->firstVisibleRow(), 0);
    }
    grid->OnVScroll(XGridCtrl::ScrollRequest::ThumbPosition, 12);
    EXPECT_EQ(grid->firstVisibleRow(), 0);
    // Painting only reads the rows that exist.
    const QImage img = xctl_test::render(grid);
    EXPECT_EQ(pixel(img, 120, 90), XGridCtrl::kBackColor);
}

TEST_F(GridTest, ScrollBarActionsDriveTheRows) {
    fill(30);
    grid->scrollBar()->triggerAction(QAbstractSlider::SliderSingleStepAdd);
    EXPECT_EQ(grid->firstVisibleRow(), 1);
    grid->scrollBar()->triggerAction(QAbstractSlider::SliderPageStepAdd);
    EXPECT_EQ(grid->firstVisibleRow(), 11);
    EXPECT_EQ(grid->scrollBar()->value(), 11);
    grid->scrollBar()->triggerAction(QAbstractSlider::SliderSingleStepSub);
    EXPECT_EQ(grid->firstVisibleRow(), 10);
}

TEST_F(GridTest, RowsFollowTheBarsValueSetDirectlyOrFromItsMenu) {
    fill(60);
    QScrollBar* bar = grid->scrollBar();
    bar->setValue(50);
    EXPECT_EQ(grid->firstVisibleRow(), 50);
    EXPECT_EQ(text(50, 1), "r50c1");
    // The bar's context menu: "Scroll here" at the top end moves both; "Bottom", a request of
    // its own, is one the grid leaves as it is, bar and rows alike.
    for (const QString& item : {QStringLiteral("Scroll here"), QStringLiteral("Bottom")}) {
        QTimer::singleShot(0, [&] {
            auto* menu = qobject_cast<QMenu*>(QApplication::activePopupWidget());
            ASSERT_NE(menu, nullptr);
            for (QAction* action : menu->actions())
                if (action->text() == item)
                    QTest::mouseClick(menu, Qt::LeftButton, {},
                                      menu->actionGeometry(action).center());
        });
        const QPoint at(bar->width() / 2, 1);
        QContextMenuEvent event(QContextMenuEvent::Mouse, at, bar->mapToGlobal(at));
        QCoreApplication::sendEvent(bar, &event);
        EXPECT_EQ(bar->value(), 0) << item.toStdString();
        EXPECT_EQ(grid->firstVisibleRow(), 0) << item.toStdString();
    }
}

TEST_F(GridTest, DraggedThumbMovesTheRowsOnlyWhenReleased) {
    fill(30);
    QScrollBar* bar = grid->scrollBar();
    QStyleOptionSlider opt;
    opt.initFrom(bar);
    opt.orientation = Qt::Vertical;
    opt.minimum = bar->minimum();
    opt.maximum = bar->maximum();
    opt.sliderPosition = bar->sliderPosition();
    opt.sliderValue = bar->value();
    opt.pageStep = bar->pageStep();
    opt.singleStep = bar->singleStep();
    opt.subControls = QStyle::SC_All;
    const QRect handle =
        bar->style()->subControlRect(QStyle::CC_ScrollBar, &opt, QStyle::SC_ScrollBarSlider, bar);
    ASSERT_TRUE(handle.isValid());
    const QPoint from = handle.center();
    const QPoint to(from.x(), bar->height() - 1);
    QTest::mousePress(bar, Qt::LeftButton, Qt::NoModifier, from);
    QMouseEvent move(QEvent::MouseMove, QPointF(to), bar->mapToGlobal(QPointF(to)), Qt::NoButton,
                     Qt::LeftButton, Qt::NoModifier);
    QCoreApplication::sendEvent(bar, &move);
    EXPECT_EQ(grid->firstVisibleRow(), 0); // tracking changes nothing
    QTest::mouseRelease(bar, Qt::LeftButton, Qt::NoModifier, to);
    EXPECT_EQ(grid->firstVisibleRow(), grid->scrollLimit());
    EXPECT_EQ(bar->value(), grid->scrollLimit());
    std::string shown;
    grid->GetCellText(grid->firstVisibleRow() + grid->visibleRowCount() - 1, 1, shown);
    EXPECT_EQ(shown, "r29c1");
}

TEST_F(GridTest, ClickSelectsTheRowUnderThePointer) {
    fill(30);
    grid->SetSelectionMode(0);
    grid->OnVScroll(XGridCtrl::ScrollRequest::PageDown); // first visible row 10
    QTest::mouseClick(grid, Qt::LeftButton, {}, QPoint(60, 45));
    int row = 0;
    int col = 0;
    grid->GetSelection(row, col);
    EXPECT_EQ(row, 12); // screen row 2
    EXPECT_EQ(col, 1);
    // On a boundary the lower band and the right column win.
    QTest::mouseClick(grid, Qt::LeftButton, {}, QPoint(49, 40));
    grid->GetSelection(row, col);
    EXPECT_EQ(row, 12);
    EXPECT_EQ(col, 1);
    // The heading band counts from the first visible row too.
    QTest::mouseClick(grid, Qt::LeftButton, {}, QPoint(60, 5));
    grid->GetSelection(row, col);
    EXPECT_EQ(row, 10);
    EXPECT_EQ(col, 1);
}

TEST_F(GridTest, ClickBelowTheRowsSelectsNothing) {
    fill(3);
    QTest::mouseClick(grid, Qt::LeftButton, {}, QPoint(60, 30));
    QTest::mouseClick(grid, Qt::LeftButton, {}, QPoint(60, 70));
    int row = 0;
    int col = 0;
    grid->GetSelection(row, col);
    EXPECT_EQ(row, -1);
}

TEST_F(GridTest, DoubleClickPostsOneCommandAfterSelecting) {
    fill(10);
    QTest::mouseClick(grid, Qt::LeftButton, {}, QPoint(60, 30));
    QTest::mouseDClick(grid, Qt::LeftButton, {}, QPoint(60, 30));
    xctl_test::flush();
    ASSERT_EQ(parent->commands.size(), 1u);
    EXPECT_EQ(parent->commands[0].id, 1011);
    EXPECT_EQ(parent->commands[0].code, 0);
    EXPECT_EQ(parent->commands[0].source, grid);
    int row = 0;
    int col = 0;
    grid->GetSelection(row, col);
    EXPECT_EQ(row, 1);
}

TEST_F(GridTest, SetCellTextRepaintsOnlyAChange) {
    fill(10);
    QCoreApplication::processEvents();
    Paints paints;
    grid->installEventFilter(&paints);
    grid->SetCellText(1, 2, "r2c1");
    EXPECT_EQ(paints.count, 0);
    grid->SetCellText(1, 2, "new");
    EXPECT_EQ(paints.count, 1);
    // A row scrolled out of sight is stored but not painted.
    grid->SetCellText(1, 9, "hidden");
    EXPECT_EQ(paints.count, 1);
    grid->removeEventFilter(&paints);
}

TEST_F(GridTest, PixelsOfHeadingsCellsSelectionAndMergedCells) {
    fill(10);
    grid->SetSelectionMode(1);
    grid->SetCellFlag(1, 2, 1);
    QTest::mouseClick(grid, Qt::LeftButton, {}, QPoint(60, 30)); // row 1
    const QImage img = xctl_test::render(grid);
    // Heading row gradient: white at the top, 63/22 darker per line.
    EXPECT_NEAR(xctl_test::grey(pixel(img, 70, 1)), 252, 1);
    EXPECT_NEAR(xctl_test::grey(pixel(img, 70, 10)), 226, 1);
    // The heading cells' last column stays dark between them.
    EXPECT_EQ(pixel(img, 99, 10), XGridCtrl::kBackColor);
    // Grid lines and white data cells.
    EXPECT_EQ(pixel(img, 49, 70), 0xC0C0C0u);
    EXPECT_EQ(pixel(img, 130, 60), 0xC0C0C0u);
    EXPECT_EQ(pixel(img, 130, 70), 0xFFFFFFu);
    // Selected row 1 (screen row 1) in yellow, both data columns.
    EXPECT_EQ(pixel(img, 52, 23), XGridCtrl::kSelectionColor);
    EXPECT_EQ(pixel(img, 145, 37), XGridCtrl::kSelectionColor);
    // Row 2 column 1 carries flag 1: its fill covers its left and lower grid line, not the
    // upper one nor the right one (the next cell's).
    EXPECT_EQ(pixel(img, 70, 60), 0xFFFFFFu);
    EXPECT_EQ(pixel(img, 49, 50), 0xFFFFFFu);
    EXPECT_EQ(pixel(img, 70, 40), 0xC0C0C0u);
    EXPECT_EQ(pixel(img, 99, 50), 0xC0C0C0u);
    // Right of the last column the heading band and the white rows go on to the scroll bar;
    // the outer frame.
    EXPECT_NEAR(xctl_test::grey(pixel(img, 200, 10)), 226, 1);
    EXPECT_EQ(pixel(img, 200, 50), 0xFFFFFFu);
    EXPECT_EQ(pixel(img, grid->scrollBar()->x() - 1, 70), 0xFFFFFFu);
    EXPECT_EQ(pixel(img, 0, 50), XGridCtrl::kFrameColor);
    EXPECT_EQ(pixel(img, 200, 99), XGridCtrl::kFrameColor);
}

TEST_F(GridTest, MergedCellCoversItsLeftAndLowerLine) {
    fill(10);
    const QImage before = xctl_test::render(grid);
    EXPECT_EQ(pixel(before, 70, 60), 0xC0C0C0u);
    EXPECT_EQ(pixel(before, 49, 50), 0xC0C0C0u);
    grid->SetCellFlag(1, 2, 1);
    const QImage after = xctl_test::render(grid);
    EXPECT_EQ(pixel(after, 70, 60), 0xFFFFFFu);
    EXPECT_EQ(pixel(after, 49, 50), 0xFFFFFFu);
}

TEST_F(GridTest, TextsArePlacedByAlignment) {
    fill(6);
    grid->SetColumnWidth(1, 100);
    mv::RecordingCanvas canvas;
    grid->SetCellAlignment(1);
    grid->paintCell(canvas, 1, 2, "left", 0);
    grid->SetCellAlignment(2);
    grid->paintCell(canvas, 1, 2, "right", 0);
    grid->SetCellAlignment(0);
    grid->paintCell(canvas, 1, 2, "centre", 0);
    grid->paintCell(canvas, 1, 0, "head", 0);
    grid->paintCell(canvas, 1, 3, "", 0);
    std::vector<mv::DrawCall> texts;
    for (const auto& c : canvas.calls()) {
        if (c.op == mv::DrawOp::TextOut) {
            texts.push_back(c);
        }
    }
    ASSERT_EQ(texts.size(), 5u);
    // Cell rectangle of column 1 (offset 50, width 100) at screen row 2: 51..149 x 42..59.
    EXPECT_EQ(texts[0].from.x, 53);
    EXPECT_EQ(texts[0].state.textAlign, mv::TA_LEFT | mv::TA_BOTTOM);
    EXPECT_EQ(texts[1].from.x, 147);
    EXPECT_EQ(texts[1].state.textAlign, mv::TA_RIGHT | mv::TA_BOTTOM);
    EXPECT_EQ(texts[2].from.x, 100);
    EXPECT_EQ(texts[2].state.textAlign, mv::TA_CENTER | mv::TA_BOTTOM);
    EXPECT_EQ(texts[0].state.textColor, grid->rowTextColor(2));
    // Headings are centred and transparent.
    EXPECT_EQ(texts[3].state.textAlign, mv::TA_CENTER | mv::TA_BOTTOM);
    EXPECT_EQ(texts[3].state.bkMode, mv::TRANSPARENT);
    // An empty text is drawn as one blank.
    EXPECT_EQ(texts[4].text, " ");
}

TEST_F(GridTest, RegisteredByClassName) {
    ASSERT_TRUE(xui::RegisterXGridClass());
    xui::WindowCreateInfo info;
    info.className = "XGRID";
    info.id = 1011;
    info.geometry = QRect(0, 0, 200, 90);
    QWidget* w = xui::createWindow(parent.get(), info);
    ASSERT_NE(w, nullptr);
    EXPECT_NE(qobject_cast<XGridCtrl*>(w), nullptr);
    EXPECT_EQ(xui::windowClassName(w), "XGRID");
}

} // namespace
