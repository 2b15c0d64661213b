// The "Status" window of A_Open2.
#include "portwire/status/status_dlg.h"

#include <QApplication>
#include <QListWidget>
#include <thread>

#include <gtest/gtest.h>

#include "fake_transport.h"
#include "portwire/include/Portwire.h"

namespace {

using pwtest::Rig;

TEST(PortwireStatusWindow, NotMadeWithoutAQApplication) {
    ASSERT_EQ(QCoreApplication::instance(), nullptr);
    EXPECT_EQ(portwire::MakeStatusWindow(), nullptr);
}

TEST(PortwireStatusWindow, ShowsEveryLineInItsList) {
    int argc = 1;
    char name[] = "status";
    char* argv[] = {name, nullptr};
    QApplication qapp(argc, argv);
    auto sink = portwire::MakeStatusWindow();
    ASSERT_NE(sink, nullptr);
    auto* dlg = dynamic_cast<portwire::CStatusDlg*>(sink.get());
    ASSERT_NE(dlg, nullptr);
    EXPECT_EQ(dlg->windowTitle(), "Status");
    EXPECT_TRUE(dlg->isVisible());
    EXPECT_EQ(dlg->size(), QSize(198, 254));
    EXPECT_EQ(dlg->palette().color(QPalette::Window), QColor(0x60, 0x90, 0xCF));
    sink->AddLine("Open");
    sink->AddLine("COM1");
    ASSERT_EQ(dlg->List()->count(), 2);
    EXPECT_EQ(dlg->List()->item(1)->text(), "COM1");
    EXPECT_EQ(dlg->List()->geometry(), QRect(11, 11, 177, 231));
    sink.reset();

    // Placed from the owner's size: x = owner width / 2 + own width / 2,
    // y = owner height / 2 - own height / 2.
    QWidget owner;
    owner.resize(800, 600);
    owner.show();
    QApplication::setActiveWindow(&owner);
    ASSERT_EQ(QApplication::activeWindow(), &owner);
    auto placed = portwire::MakeStatusWindow();
    auto* w = dynamic_cast<portwire::CStatusDlg*>(placed.get());
    ASSERT_NE(w, nullptr);
    EXPECT_EQ(w->pos(), QPoint(400 + 99, 300 - 127));
    placed.reset();

    // Another thread gets no window (widgets belong to the application's thread).
    bool madeElsewhere = true;
    std::thread other([&] { madeElsewhere = portwire::MakeStatusWindow() != nullptr; });
    other.join();
    EXPECT_FALSE(madeElsewhere);
}

} // namespace
