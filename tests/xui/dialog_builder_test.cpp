// Templates become widgets: dialog units, own classes by name, hidden placeholders, tab order
// and radio groups.
#include "xbase_test_support.h"

#include "xui/dialog_builder.h"
#include "xui/font_map.h"

#include <QCheckBox>
#include <QComboBox>
#include <QLabel>
#include <QRadioButton>

#include <gtest/gtest.h>

#include <memory>

namespace {

using namespace mv;

const xui::DialogTemplate kSample{
    900,
    "Probe \xE4",
    "MS Sans Serif",
    8,
    0,
    0,
    200,
    100,
    WS_POPUP | WS_CAPTION,
    {
        {"Static", 10, "Hidden label", 7, 8, 96, 8, WS_CHILD | SS_CENTER},
        {"Edit", 11, "42", 7, 20, 50, 12, WS_CHILD | WS_VISIBLE | WS_TABSTOP},
        {"Button", 12, "A", 7, 40, 40, 10,
         WS_CHILD | WS_VISIBLE | WS_TABSTOP | WS_GROUP | BS_AUTORADIOBUTTON},
        {"Button", 13, "B", 7, 52, 40, 10, WS_CHILD | WS_VISIBLE | BS_AUTORADIOBUTTON},
        {"Button", 14, "C", 60, 40, 40, 10,
         WS_CHILD | WS_VISIBLE | WS_TABSTOP | WS_GROUP | BS_AUTORADIOBUTTON},
        {"TESTCLASS", 15, "own", 100, 8, 40, 14, WS_CHILD | WS_VISIBLE | WS_TABSTOP},
        {"NoSuchClass", 16, "kept", 100, 30, 40, 14, WS_CHILD | WS_VISIBLE | WS_DISABLED},
        {"ComboBox", 17, "", 100, 50, 60, 40,
         WS_CHILD | WS_VISIBLE | WS_TABSTOP | CBS_DROPDOWNLIST},
    },
};

class Builder : public ::testing::Test {
protected:
    void SetUp() override {
        xbase_test::app();
        xui::registerWindowClass("TestClass", [this](QWidget* parent,
                                                     const xui::WindowCreateInfo& info) {
            lastInfo = info;
            auto* w = new QWidget(parent);
            w->setWindowTitle(info.text);
            return w;
        });
        holder = std::make_unique<QWidget>();
        built = xui::buildDialog(holder.get(), kSample);
    }
    std::unique_ptr<QWidget> holder;
    xui::BuiltDialog built;
    xui::WindowCreateInfo lastInfo;
};

TEST(DialogUnits, ConvertWithTheFixedBaseUnits) {
    EXPECT_EQ(xui::dluToPixelsX(4), 6);
    EXPECT_EQ(xui::dluToPixelsY(8), 13);
    EXPECT_EQ(xui::dluToPixelsX(145), 218); // 217.5 rounds up
    EXPECT_EQ(xui::dluToPixelsY(55), 89);   // 89.375
    EXPECT_EQ(xui::dluToPixelsY(36), 59);   // 58.5
}

TEST_F(Builder, ItemsKeepTemplateGeometryInPixels) {
    ASSERT_EQ(built.order.size(), kSample.items.size());
    EXPECT_EQ(built.items.at(11)->geometry(), QRect(11, 33, 75, 20));
    EXPECT_EQ(xui::controlId(built.items.at(11)), 11);
    EXPECT_EQ(xui::windowText(built.items.at(11)), "42");
    EXPECT_EQ(holder->windowTitle(), QString::fromUtf8("Probe \xC3\xA4"));
}

TEST_F(Builder, HiddenItemsAreReadablePlaceholders) {
    QWidget* hidden = built.items.at(10);
    EXPECT_TRUE(hidden->isHidden());
    EXPECT_EQ(xui::windowText(hidden), "Hidden label");
    EXPECT_EQ(hidden->geometry(), QRect(11, 13, 144, 13));
    EXPECT_EQ(xui::controlFont(hidden).face, "MS Sans Serif");
    EXPECT_EQ(xui::controlFont(hidden).height, -11);
    EXPECT_EQ(qobject_cast<QLabel*>(hidden)->alignment() & Qt::AlignHorizontal_Mask,
              Qt::AlignHCenter);
}

TEST_F(Builder, ComboBoxTakesItsClosedHeightAndDropsItsListInTheRest) {
    auto* combo = qobject_cast<QComboBox*>(built.items.at(17));
    ASSERT_NE(combo, nullptr);
    // The template's 40 units (65 pixels) include the dropped list.
    const QRect g = combo->geometry();
    EXPECT_EQ(g.topLeft(), QPoint(150, 81));
    EXPECT_EQ(g.width(), 90);
    EXPECT_GE(g.height(), combo->fontMetrics().height());
    EXPECT_LT(g.height(), 30);
    const int line = combo->fontMetrics().height() + 2;
    EXPECT_EQ(combo->maxVisibleItems(), (65 - g.height()) / line);
    // Moved later with the same kind of rectangle, it keeps its closed height.
    xui::placeComboBox(combo, QRect(0, 0, 60, 200));
    EXPECT_EQ(combo->height(), g.height());
    EXPECT_EQ(combo->maxVisibleItems(), (200 - g.height()) / line);
    xui::placeComboBox(combo, QRect(0, 0, 60, 10));
    EXPECT_EQ(combo->height(), 10);
    EXPECT_EQ(combo->maxVisibleItems(), 1);
}

TEST_F(Builder, OwnClassesAreFoundByNameWithoutRegardToCase) {
    EXPECT_EQ(lastInfo.id, 15);
    EXPECT_EQ(lastInfo.text, "own");
    // The class name reads as registered, not as the template spells it.
    EXPECT_EQ(xui::windowClassName(built.items.at(15)), "TestClass");
    EXPECT_EQ(xui::windowText(built.items.at(15)), "own");
}

TEST_F(Builder, UnknownClassBecomesAPlaceholder) {
    QWidget* w = built.items.at(16);
    ASSERT_NE(w, nullptr);
    EXPECT_FALSE(w->isEnabled());
    EXPECT_EQ(xui::windowText(w), "kept");
    EXPECT_EQ(xui::windowClassName(w), "NoSuchClass");
}

TEST_F(Builder, RadioGroupsStartAtGroupItems) {
    auto* a = qobject_cast<QRadioButton*>(built.items.at(12));
    auto* b = qobject_cast<QRadioButton*>(built.items.at(13));
    auto* c = qobject_cast<QRadioButton*>(built.items.at(14));
    ASSERT_TRUE(a && b && c);
    a->setChecked(true);
    c->setChecked(true);
    EXPECT_TRUE(a->isChecked()); // C is in a group of its own
    b->setChecked(true);
    EXPECT_FALSE(a->isChecked());
    EXPECT_TRUE(c->isChecked());
}

TEST_F(Builder, TabOrderFollowsTheTable) {
    QWidget* edit = built.items.at(11);
    EXPECT_EQ(edit->nextInFocusChain(), built.items.at(12));
    EXPECT_EQ(built.items.at(12)->nextInFocusChain(), built.items.at(13));
    EXPECT_TRUE(built.items.at(12)->focusPolicy() & Qt::TabFocus);
    EXPECT_FALSE(built.items.at(13)->focusPolicy() & Qt::TabFocus);
}

TEST_F(Builder, ControlsPostCommandsToTheDialog) {
    struct Sink : QWidget {
        bool event(QEvent* e) override {
            if (e->type() == xui::CommandEvent::eventType()) {
                auto* c = static_cast<xui::CommandEvent*>(e);
                ids.push_back(c->id() * 1000 + c->code());
                return true;
            }
            return QWidget::event(e);
        }
        std::vector<int> ids;
    } sink;
    xui::BuiltDialog b = xui::buildDialog(&sink, kSample);
    qobject_cast<QRadioButton*>(b.items.at(13))->click();
    auto* combo = qobject_cast<QComboBox*>(b.items.at(17));
    combo->addItem("x");
    QCoreApplication::sendPostedEvents();
    EXPECT_EQ(sink.ids, (std::vector<int>{13 * 1000 + BN_CLICKED, 17 * 1000 + CBN_SELCHANGE}));
}

TEST(TemplateRegistry, FindsRegisteredTemplatesById) {
    xui::registerDialogTemplates({&kSample});
    EXPECT_EQ(xui::findDialogTemplate(900), &kSample);
    EXPECT_EQ(xui::findDialogTemplate(901), nullptr);
    EXPECT_FALSE(xui::registerWindowClass("", [](QWidget*, const xui::WindowCreateInfo&) {
        return static_cast<QWidget*>(nullptr);
    }));
    EXPECT_FALSE(xui::isWindowClassRegistered("NOPE"));
}

} // namespace
