// The module check against check list fixtures: its lines, the slider label lines it writes,
// OK enabled only after the list is complete and the closing wait, a fixed date.
#include "morvelan/online/module_check_dlg.h"

#include "tests/morvelan/core/module_test_util.h"
#include "tests/xui/xbase_test_support.h"

#include "catalogue/module_description.h"
#include "morvelan/core/module_tile.h"
#include "platform/clock.h"
#include "xui/info_list_box.h"

#include <QTimer>
#include <gtest/gtest.h>

#include <memory>

namespace {

using morvelan::CModuleCheckDlg;

// A clock that notes what the dialog shows when it waits.
class WatchingClock final : public mv::Clock {
public:
    mv::MonoMs now() const override { return 0; }
    void sleep(int ms) override {
        waits.push_back(ms);
        if (dlg) {
            linesAtWait = dlg->list()->count();
            okAtWait = dlg->item(1)->isEnabled();
        }
    }
    CModuleCheckDlg* dlg = nullptr;
    std::vector<int> waits;
    int linesAtWait = -1;
    bool okAtWait = true;
};

std::tm FixedDate() {
    std::tm d{};
    d.tm_year = 126; // 2026-12-09, a Wednesday, day 342 of the year
    d.tm_mon = 11;
    d.tm_mday = 9;
    d.tm_wday = 3;
    d.tm_yday = 342;
    return d;
}

struct Station {
    explicit Station(const std::string& dir) : dir_(dir) {}
    CModuleTile* Add(const char* type, int kind = 2) {
        auto d = std::make_unique<CModuleDescription>();
        d->m_Description = type ? type : "";
        d->m_Kind = kind;
        auto t = std::make_unique<CModuleTile>();
        t->Create(type ? d.get() : nullptr, dir_);
        descriptions.push_back(std::move(d));
        tiles.push_back(std::move(t));
        return tiles.back().get();
    }
    std::vector<CModuleTile*> List() const {
        std::vector<CModuleTile*> out;
        for (const auto& t : tiles)
            out.push_back(t.get());
        return out;
    }
    std::string dir_;
    std::vector<std::unique_ptr<CModuleDescription>> descriptions;
    std::vector<std::unique_ptr<CModuleTile>> tiles;
};

std::vector<std::string> Lines(CModuleCheckDlg& dlg) {
    std::vector<std::string> out;
    for (int i = 0; i < dlg.list()->count(); ++i)
        out.push_back(dlg.list()->item(i)->text().toStdString());
    return out;
}

TEST(ModuleCheckDlg, LinesSliderLinesAndOkAfterTheFirstTick) {
    xbase_test::app();
    mvtest::TempInstall install;
    install.write("Modul/fertigung/VERSION.dat", "[Version]\n"
                                                  "X740=C1;P2;F3\n"
                                                  "A3204=A1\n"
                                                  "D2210=F2;H3\n"
                                                  "LONG=ABCDEFGHIJKLMNOP;X\n"
                                                  "EMPTY=;H\n");
    Station station(install.dir());
    CModuleTile* head = station.Add("X740", 1);
    CModuleTile* a = station.Add("A3204");
    CModuleTile* d = station.Add("D2210");
    CModuleTile* k = station.Add("K614");
    CModuleTile* none = station.Add(nullptr);
    CModuleTile* longState = station.Add("LONG");
    CModuleTile* empty = station.Add("EMPTY");
    head->m_Sliders[1] = "kept";
    a->m_Sliders[1] = " "; // an empty label as saved
    d->m_Sliders[1] = "mine";
    k->m_Sliders[1] = "old";

    CModuleCheckDlg dlg(install.dir(), station.List());
    WatchingClock clock;
    clock.dlg = &dlg;
    dlg.SetClock(&clock);
    dlg.SetDateSource(FixedDate);
    dlg.ShowModeless();
    EXPECT_EQ(dlg.windowTitle().toStdString(), "Etikett");
    ASSERT_NE(dlg.list(), nullptr);
    EXPECT_FALSE(dlg.item(1)->isEnabled());
    ASSERT_NE(dlg.checkTimer(), nullptr);
    EXPECT_TRUE(dlg.checkTimer()->isActive());
    EXPECT_EQ(dlg.checkTimer()->interval(), 250);
    EXPECT_EQ(dlg.list()->count(), 0);

    dlg.OnTimer();
    const std::vector<std::string> want = {
        " 0: X740    CPU OK",      " 0: X740    Power OK",   " 0: X740    Fieldbus OK",
        " 1: A3204     FPGA OK",   " 1: A3204    No HW Info", " 2: D2210     FPGA OK",
        " 2: D2210    HW OK",      " 3: K614    No Info",     " 4: Unknown    No Info",
        " 5: LONG     FPGA OK",    " 5: LONG    HW OK",       " 6: EMPTY    No FPGA Info",
        " 6: EMPTY    HW OK"};
    EXPECT_EQ(Lines(dlg), want);
    EXPECT_FALSE(dlg.checkTimer()->isActive());
    EXPECT_EQ(clock.waits, std::vector<int>{50});
    EXPECT_EQ(clock.linesAtWait, static_cast<int>(want.size()));
    EXPECT_FALSE(clock.okAtWait);
    EXPECT_TRUE(dlg.item(1)->isEnabled());

    for (CModuleTile* t : station.List())
        EXPECT_EQ(t->m_Sliders[0], "26503");
    EXPECT_EQ(head->m_Sliders[1], "kept");
    EXPECT_EQ(a->m_Sliders[1], "A1");
    EXPECT_EQ(d->m_Sliders[1], "mine");
    EXPECT_EQ(k->m_Sliders[1], "old");
    EXPECT_EQ(none->m_Sliders[1], " "); // untouched
    EXPECT_EQ(longState->m_Sliders[1], "ABCDEFGHIJK");
    EXPECT_EQ(empty->m_Sliders[1], " ");

    // Later ticks do nothing.
    dlg.OnTimer();
    EXPECT_EQ(Lines(dlg).size(), want.size());
    dlg.EndDialog(1);
}

TEST(ModuleCheckDlg, NoInformationAndNoStation) {
    xbase_test::app();
    mvtest::TempInstall install;
    Station station(install.dir());
    CModuleTile* head = station.Add("X740", 1);
    CModuleTile* board = station.Add("A3204");
    head->m_Sliders[1] = "03";
    board->m_Sliders[1] = "07";
    // No check list at all: every module has no information.
    EXPECT_EQ(morvelan::RunModuleCheck(morvelan::VersionFilePath(install.dir()), station.List(),
                                       "26011"),
              (std::vector<std::string>{" 0: X740    No Info", " 1: A3204    No Info"}));
    EXPECT_EQ(head->m_Sliders[1], "");
    EXPECT_EQ(board->m_Sliders[1], "07");
    EXPECT_EQ(board->m_Sliders[0], "26011");

    mv::FakeClock clock;
    CModuleCheckDlg dlg(install.dir(), {});
    dlg.SetClock(&clock);
    dlg.ShowModeless();
    dlg.OnTimer();
    EXPECT_EQ(dlg.list()->count(), 0);
    EXPECT_TRUE(dlg.item(1)->isEnabled());
    EXPECT_EQ(clock.slept(), 50);
    dlg.EndDialog(1);

    std::tm first{};
    first.tm_year = 105; // 2005-01-01, a Saturday: week 0
    first.tm_wday = 6;
    EXPECT_EQ(morvelan::CheckDateText(first), "05016");
}

} // namespace
