// The dialog base: background, painters, commands and Escape, and the face repair walk.
#include "xbase_test_support.h"

#include "platform/recording_canvas.h"
#include "xui/xdialog.h"

#include <QKeyEvent>
#include <QMouseEvent>
#include <QTest>
#include <QTimer>

#include <gtest/gtest.h>

namespace {

using namespace mv;
using xbase_test::findColour;
using xbase_test::pixel;

const xui::DialogTemplate kBoxes{
    901,
    "Boxes",
    "MS Sans Serif",
    8,
    0,
    0,
    160,
    80,
    WS_POPUP | WS_CAPTION,
    {
        {"Static", 20, "Label text", 8, 8, 80, 12, WS_CHILD | SS_LEFT},
        {"XBUTTON", 1, "OK", 8, 50, 50, 14, WS_CHILD | WS_VISIBLE | WS_TABSTOP},
        {"XBUTTON", 2, "Cancel", 70, 50, 50, 14, WS_CHILD | WS_VISIBLE | WS_TABSTOP},
        {"XBUTTON", 3, "Other", 100, 8, 50, 14, WS_CHILD | WS_VISIBLE | WS_TABSTOP},
    },
};

const xui::DialogTemplate kEmpty{902, "Empty", "MS Sans Serif", 8, 0, 0, 60, 40, 0, {}};

class Dialogs : public ::testing::Test {
protected:
    void SetUp() override {
        xbase_test::app();
        xbase_test::registerStandInButton();
    }
};

// A dialog that records its painting and its commands.
class Probe : public xui::CXDialog {
public:
    explicit Probe(const xui::DialogTemplate& t = kBoxes) : xui::CXDialog(t) {}
    std::vector<int> commands;
    bool readsOnCancel = false;
    std::function<void(mv::Canvas&)> painter;

protected:
    void OnPaint(mv::Canvas& dc) override {
        if (painter) {
            painter(dc);
        }
    }
    void OnCommand(int id, int code) override {
        commands.push_back(id);
        if (id == IDCANCEL && readsOnCancel) {
            return; // a dialog that reads on 2 instead of closing
        }
        xui::CXDialog::OnCommand(id, code);
    }
};

TEST_F(Dialogs, BackgroundIsTheDialogColour) {
    Probe d;
    const QImage img = d.grab().toImage();
    EXPECT_EQ(pixel(img, 2, 2), 0xCF9060u);
    d.SetBackColor(0x123456);
    EXPECT_EQ(pixel(d.grab().toImage(), 2, 2), 0x123456u);
}

TEST_F(Dialogs, PainterYFormulaAndAlignments) {
    Probe d;
    QWidget* label = d.item(20);
    const mv::RECT r = d.controlRect(label);
    ASSERT_EQ(r, (mv::RECT{12, 13, 132, 33}));
    const int y = r.top + (r.bottom - r.top) / 2 - 11 / 2 - 2; // font height 11
    struct Case {
        int alignment;
        bool text;
        int x;
    };
    for (Case c : {Case{0, true, r.left + 2}, Case{2, true, r.right - 2},
                   Case{6, true, r.left + (r.right - r.left) / 2}, Case{1, false, 0}}) {
        mv::RecordingCanvas rec;
        d.PaintStaticBox(rec, label, c.alignment, 0xDEBF97, 0x000000, 0xFFFFFF);
        const auto fills = rec.callsOf(DrawOp::FillRect);
        ASSERT_EQ(fills.size(), 1u);
        EXPECT_EQ(fills[0].rect, r);
        EXPECT_EQ(fills[0].color, 0xDEBF97u);
        EXPECT_EQ(rec.callsOf(DrawOp::FrameRect).at(0).color, 0xFFFFFFu);
        const auto texts = rec.callsOf(DrawOp::TextOut);
        ASSERT_EQ(texts.size(), c.text ? 1u : 0u) << c.alignment;
        if (c.text) {
            EXPECT_EQ(texts[0].from, (mv::POINT{c.x, y})) << c.alignment;
            EXPECT_EQ(texts[0].text, "Label text");
            EXPECT_EQ(texts[0].state.textAlign, static_cast<unsigned>(c.alignment));
            EXPECT_EQ(texts[0].state.bkMode, TRANSPARENT);
            EXPECT_EQ(texts[0].state.font.height, -11);
        }
    }
    mv::RecordingCanvas rec;
    d.PaintStaticLabel(rec, label, 0, 0xDEBF97, 0, 0xFFFFFF);
    EXPECT_TRUE(rec.callsOf(DrawOp::FrameRect).empty());
    EXPECT_EQ(rec.callsOf(DrawOp::TextOut).size(), 1u);
}

TEST_F(Dialogs, PaintedBoxPixels) {
    Probe d;
    d.painter = [&](mv::Canvas& dc) {
        d.PaintStaticBox(dc, d.item(20), 6, 0xDEBF97, 0x000000, 0xFFFFFF);
    };
    const QImage img = d.grab().toImage();
    EXPECT_EQ(findColour(img, 0xFFFFFF, QRect(0, 0, 145, 45)), QRect(12, 13, 120, 20));
    EXPECT_EQ(pixel(img, 13, 14), 0xDEBF97u);
    EXPECT_EQ(pixel(img, 131, 32), 0xFFFFFFu);
    EXPECT_EQ(pixel(img, 132, 33), 0xCF9060u); // edges exclusive
    // The centred text sits around the middle of the box.
    QRect ink;
    for (int y = 14; y < 32; ++y) {
        for (int x = 13; x < 131; ++x) {
            const mv::COLORREF c = pixel(img, x, y);
            if (c != 0xDEBF97u) {
                ink = ink.united(QRect(x, y, 1, 1));
            }
        }
    }
    ASSERT_FALSE(ink.isNull());
    EXPECT_NEAR(ink.center().x(), 72, 4);
}

TEST_F(Dialogs, PaintBoxOutsideAPaintStaysOnTheSurface) {
    Probe d;
    d.PaintBox(5, 5, 25, 15, 0x00FF00, 0x0000FF);
    const QImage img = d.grab().toImage();
    EXPECT_EQ(findColour(img, 0x0000FF), QRect(5, 5, 20, 10));
    EXPECT_EQ(findColour(img, 0x00FF00), QRect(6, 6, 18, 8));
}

TEST_F(Dialogs, OkAndCancelEndTheDialog) {
    for (int id : {IDOK, IDCANCEL}) {
        Probe d;
        QTimer::singleShot(0, &d, [&] { qobject_cast<QPushButton*>(d.item(id))->click(); });
        EXPECT_EQ(d.DoModal(), id);
    }
}

TEST_F(Dialogs, EscapeSendsCancel) {
    Probe d;
    QTimer::singleShot(0, &d, [&] { QTest::keyClick(&d, Qt::Key_Escape); });
    EXPECT_EQ(d.DoModal(), IDCANCEL);
    EXPECT_EQ(d.commands, std::vector<int>{IDCANCEL});
}

TEST_F(Dialogs, ADialogMayReadOnCancelWithoutClosing) {
    Probe d;
    d.readsOnCancel = true;
    QTimer::singleShot(0, &d, [&] {
        QTest::keyClick(&d, Qt::Key_Escape);
        QTimer::singleShot(0, &d, [&] {
            EXPECT_TRUE(d.isVisible());
            qobject_cast<QPushButton*>(d.item(3))->click();
            QTimer::singleShot(0, &d, [&] { d.EndDialog(7); });
        });
    });
    EXPECT_EQ(d.DoModal(), 7);
    EXPECT_EQ(d.commands, (std::vector<int>{IDCANCEL, 3}));
}

TEST_F(Dialogs, RepairWalkRefreshesPressedFaces) {
    Probe d;
    d.ShowModeless();
    auto* ok = dynamic_cast<xbase_test::StandInButton*>(d.item(1));
    auto* other = dynamic_cast<xbase_test::StandInButton*>(d.item(3));
    ASSERT_TRUE(ok && other);
    other->normal = false;
    // A move over the bare surface starts the walk; a move over a child does not.
    QMouseEvent move(QEvent::MouseMove, QPointF(3, 3), QPointF(3, 3), Qt::NoButton,
                     Qt::NoButton, Qt::NoModifier);
    QCoreApplication::sendEvent(&d, &move);
    EXPECT_EQ(other->refreshes, 1);
    EXPECT_EQ(ok->refreshes, 0); // its face was normal
    EXPECT_TRUE(other->NormalFaceShown());
    // The walk visits the hidden label (the first child) and the three buttons once each.
    EXPECT_EQ(d.RepairButtonFaces(), 4);
}

TEST_F(Dialogs, RepairWalkWithoutChildrenDoesNothing) {
    Probe d(kEmpty);
    EXPECT_EQ(d.RepairButtonFaces(), 0);
}

TEST_F(Dialogs, UnknownTemplateIdGivesAnEmptyDialog) {
    xui::CXDialog d(123456);
    EXPECT_EQ(d.item(1), nullptr);
    EXPECT_TRUE(d.built().order.empty());
}

} // namespace
