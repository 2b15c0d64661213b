// The main frame as the program starts it: with the sample project, its title, tree, status
// bar, menus and toolbar in both languages; the update rules on real actions; inserting and
// deleting boards and stations with the saved file read back; an import or open that stops,
// after which Save asks for a name; help, firmware information and the language change.
#include "tests/morvelan/ui/frame_fixture.h"

#include "morvelan/core/dib.h"
#include "morvelan/core/flag_module.h"
#include "morvelan/core/module_description.h"
#include "morvelan/ui/color_status_bar.h"
#include "morvelan/ui/main_toolbar.h"
#include "morvelan/online/module_check_dlg.h"
#include "platform/clock.h"
#include "platform/ini_file.h"
#include "xui/info_list_box.h"
#include "platform/sys_colors.h"
#include "platform/version_block.h"
#include "xui/colorref.h"
#include "xui/qt_text.h"

#include <QMenu>
#include <QMenuBar>
#include <QTest>
#include <QTimer>

#include <fstream>
#include <sstream>

namespace frametest {
namespace {

std::string text(const QString& s) { return xui::toCp1252(s); }

std::string readAll(const std::string& path) {
    std::ostringstream bytes;
    bytes << std::ifstream(path, std::ios::binary).rdbuf();
    return bytes.str();
}

// Fields of the older binary archive: little-endian numbers and counted strings.
std::string u32(std::uint32_t v) {
    std::string s;
    for (int i = 0; i < 4; ++i)
        s.push_back(static_cast<char>((v >> (8 * i)) & 0xFF));
    return s;
}
std::string u16(std::uint16_t v) { return u32(v).substr(0, 2); }
std::string str(const std::string& s) { return static_cast<char>(s.size()) + s; }

TEST_F(FrameTest, StartsWithTheSampleProjectInEnglish) {
    ASSERT_EQ(startWithDemo(), 1);
    EXPECT_TRUE(messages_.empty()) << (messages_.empty() ? "" : messages_[0].line1);
    EXPECT_EQ(frame().windowTitle(), "demo.mvl - morvelan");
    // Hidden fillers (kind 7) never show in the tree.
    const std::vector<std::string> expected = {
        "demo.mvl", "  X740", "    D2110", "    D2210", "    A3104", "    @K2271", "    P4010",
        "    C643", "    @K2270", "    F8020", "    K614", "    @D615", "  H100", "    K618",
        "    A3204", "    @D619"};
    EXPECT_EQ(treeLines(), expected);
    EXPECT_EQ(tree().SelectedTile(), nullptr);

    // Status bar: the program's version block and the serial port.
    const std::string program = mv::programFolder() + "/morvelan";
    const std::string version = mv::readVersionValue(program, "FileVersion");
    ASSERT_FALSE(version.empty());
    CColorStatusBar& bar = *frame().ColorStatusBar();
    EXPECT_EQ(bar.PaneText(0), "  Morvelan Toolkit     V" + version + "   " +
                                   mv::readVersionValue(program, "LegalCopyright"));
    EXPECT_EQ(bar.PaneText(1), "   COM1:");
    app_->m_Com = 5;
    app_->m_IpAddress = 0xC0A80001;
    app_->m_TcpPort = 32000;
    EXPECT_EQ(bar.PaneText(1), " TCP/IP: 192.168.0.1:32000");
    for (int pane : {0, 1}) {
        EXPECT_EQ(bar.TextColour(pane), mv::GetSysColor(mv::COLOR_MENUTEXT));
        EXPECT_EQ(bar.BackColour(pane), mv::GetSysColor(mv::COLOR_MENU));
    }
    EXPECT_EQ(bar.PaneStyle(0), SBPS_STRETCH);
    bar.resize(800, 22);
    const QImage shot = bar.grab().toImage();
    const mv::RECT p1 = bar.PaneRect(1);
    EXPECT_EQ(xui::colorrefFromRgb(shot.pixel(p1.right - 4, p1.bottom - 4)),
              mv::GetSysColor(mv::COLOR_MENU));
    EXPECT_EQ(xui::colorrefFromRgb(shot.pixel(p1.left, p1.top + 5)),
              mv::GetSysColor(mv::COLOR_BTNSHADOW));
    EXPECT_EQ(xui::colorrefFromRgb(shot.pixel(p1.left + 5, p1.bottom - 1)),
              mv::GetSysColor(mv::COLOR_BTNHIGHLIGHT));
    int dark = 0;
    for (int x = p1.left; x < p1.right; ++x)
        for (int y = p1.top; y < p1.bottom; ++y)
            dark += qGray(shot.pixel(x, y)) < 80 ? 1 : 0;
    EXPECT_GT(dark, 20) << "the port text is drawn";

    // Menus in English, the tool tips too; History is kept (HISTORY=1).
    const char* titles[] = {"&File", "&Edit", "&Online", "E&xtras", "&?"};
    for (int i = 0; i < kMainPopups; ++i)
        EXPECT_EQ(text(frame().Popup(i)->title()), titles[i]);
    EXPECT_EQ(text(frame().Action(ID_FILE_NEW)->text()), "&New\tCtrl+N");
    EXPECT_EQ(text(frame().Action(ID_DELETE_MODULE)->text()), "Delete module");
    EXPECT_EQ(text(frame().Action(ID_FILE_EXPORT_EMF)->text()), "&Export as EMF");
    EXPECT_EQ(text(frame().Action(ID_INSERT_K2270)->toolTip()), "Insert K2270");
    EXPECT_TRUE(frame().Popup(4)->actions().contains(frame().Action(ID_HISTORY)));
    // T=0: 16 buttons ending with a separator.
    const std::vector<int>& buttons = frame().ToolBar()->Buttons();
    ASSERT_EQ(buttons.size(), 16u);
    EXPECT_EQ(buttons.back(), 0);
    EXPECT_EQ(buttons[4], ID_INSERT_CONTROLLER);
    EXPECT_EQ(frame().ToolBar()->iconSize(), QSize(21, 16));
}

TEST_F(FrameTest, GermanMenusAndTheLongToolbarWithoutHistory) {
    std::ofstream(user_, std::ios::binary)
        << "[SOFTWARE\\Kelvane\\Morvelan]\r\nSprache=sz:\"Deutsch\"\r\n";
    setIni("T", "1");
    setIni("HISTORY", "0");
    ASSERT_EQ(start(), 1);
    EXPECT_EQ(frame().windowTitle(), "- - morvelan") << "a new project";
    EXPECT_EQ(treeLines(), std::vector<std::string>{"-"});
    EXPECT_EQ(text(frame().Popup(0)->title()), "&Datei");
    EXPECT_EQ(text(frame().Action(ID_FILE_OPEN)->text()), "\xD6&ffnen...\tStrg+O");
    EXPECT_EQ(text(frame().Action(ID_APP_ABOUT)->text()), "Inf&o \xFC" "ber morvelan...");
    EXPECT_EQ(frame().Action(ID_HISTORY), nullptr);
    const std::vector<int>& buttons = frame().ToolBar()->Buttons();
    ASSERT_EQ(buttons.size(), 19u);
    EXPECT_EQ((std::vector<int>(buttons.end() - 3, buttons.end())),
              (std::vector<int>{ID_AUTO_ONLINE, ID_OUTPUT_STEP, ID_MODULE_CHECK}));
}

TEST_F(FrameTest, UpdateRulesFollowTheFlagsAndTheSelection) {
    ASSERT_EQ(startWithDemo(), 1);
    auto enabled = [&](int id) {
        frame().UpdateCommandStates();
        return frame().Action(id)->isEnabled();
    };
    // No selection: the controller insertion is the only insert (its dialog is not there yet,
    // so it stays unavailable), delete and download are off.
    EXPECT_TRUE(enabled(ID_FILE_NEW));
    EXPECT_FALSE(enabled(ID_DELETE_MODULE));
    EXPECT_FALSE(enabled(ID_INSERT_K2270));
    EXPECT_TRUE(frame().IsCommandEnabled(ID_HELP_DOCUMENT));
    select(&tile(0, 2));
    EXPECT_TRUE(enabled(ID_DELETE_MODULE));
    EXPECT_TRUE(enabled(ID_INSERT_K2271));
    EXPECT_FALSE(frame().IsCommandEnabled(ID_ADD_MODULES)) << "a board is selected";
    // A command whose dialog is missing stays off.
    const auto installed = dialogSeams().firmwareDialog;
    dialogSeams().firmwareDialog = {};
    EXPECT_FALSE(enabled(ID_FIRMWARE_INFO));
    dialogSeams().firmwareDialog = [](const std::string&, const std::string&,
                                      const std::string&) { return 1; };
    EXPECT_TRUE(enabled(ID_FIRMWARE_INFO));
    dialogSeams().firmwareDialog = installed;

    // Online: New, Open, Save, Upload, Port and Saved Configuration are off, and all popups but
    // Online are grayed.
    dialogSeams().uploadDialog = [](int) { return 1; };
    dialogSeams().portDialog = [](int&) { return 1; };
    EXPECT_TRUE(enabled(ID_UPLOAD));
    app_->m_Online = 1;
    frame().DisableMainMenus();
    for (int id : {ID_FILE_NEW, ID_FILE_OPEN, ID_FILE_SAVE, ID_UPLOAD, ID_PORT,
                   ID_SAVED_CONFIGURATION, ID_INSERT_K2270, ID_DELETE_MODULE})
        EXPECT_FALSE(enabled(id)) << id;
    EXPECT_FALSE(frame().OnCommand(ID_DELETE_MODULE));
    EXPECT_EQ(station(0).TileCount(), 12) << "a disabled command does not run";
    for (int i = 0; i < kMainPopups; ++i)
        EXPECT_EQ(frame().Popup(i)->menuAction()->isEnabled(), i == 2) << i;
    app_->m_Online = 0;
    frame().EnableMainMenus();
    for (int i = 0; i < kMainPopups; ++i)
        EXPECT_TRUE(frame().Popup(i)->menuAction()->isEnabled());
    EXPECT_TRUE(enabled(ID_FILE_OPEN));
}

TEST_F(FrameTest, InsertsSpecialBoardsAndDeletesBoardsAndStations) {
    ASSERT_EQ(startWithDemo(), 1);
    const int boards = station(0).TileCount();
    // Behind the controller: position 1, slot 0.
    select(&tile(0, 0));
    ASSERT_TRUE(frame().OnCommand(ID_INSERT_K2270));
    CModuleTile* k2270 = tile(0, 1).Description() ? &tile(0, 1) : nullptr;
    ASSERT_NE(k2270, nullptr);
    EXPECT_EQ(k2270->Description()->m_Description, "@K2270");
    EXPECT_EQ(k2270->m_Slot, 0);
    EXPECT_EQ(tile(0, 2).m_Slot, 1) << "the boards behind move on";
    EXPECT_EQ(tree().SelectedTile(), k2270);
    EXPECT_EQ(station(0).TileCount(), boards + 1);
    EXPECT_EQ(k2270->x, 20 + 82 - frame().View()->HorizontalScroll());

    // Behind the board now at index 3 (D2210): a K2271 with its option set at index 4.
    select(&tile(0, 3));
    ASSERT_TRUE(frame().OnCommand(ID_INSERT_K2271));
    CModuleTile& k2271 = tile(0, 4);
    EXPECT_EQ(k2271.Description()->m_Description, "@K2271");
    EXPECT_EQ(dynamic_cast<CFlagModule&>(k2271.Module()).m_Option, 1);
    EXPECT_EQ(k2271.m_Slot, 3);
    EXPECT_EQ(tree().SelectedTile(), &k2271);
    EXPECT_EQ(tile(0, 3).m_Highlight, 0);

    // The empty slot behind a board; it never shows in the tree.
    select(&tile(0, 5));
    frame().InsertEmptyModul(6);
    EXPECT_EQ(tile(0, 6).Description()->m_Description, "@PEmpty");
    EXPECT_EQ(station(0).TileCount(), boards + 3);
    EXPECT_EQ(tree().FindItem(&tile(0, 6)), nullptr);

    // Delete a board: the one behind it is selected.
    select(&tile(0, 2));
    CModuleTile* behind = &tile(0, 3);
    ASSERT_TRUE(frame().OnCommand(ID_DELETE_MODULE));
    EXPECT_EQ(station(0).TileCount(), boards + 2);
    EXPECT_EQ(tree().SelectedTile(), behind);
    EXPECT_EQ(behind->m_Slot, 1);

    // Delete a station: nothing stays selected, the tree shows the rest.
    select(&tile(1, 0));
    ASSERT_TRUE(frame().OnCommand(ID_DELETE_MODULE));
    EXPECT_EQ(doc().StationCount(), 1);
    EXPECT_EQ(tree().SelectedTile(), nullptr);
    EXPECT_EQ(tree().topLevelItem(0)->childCount(), 1);

    // Saved and read back: the K2271 keeps its option.
    const std::string saved = root_ + "/saved.mvl";
    app_->m_ChooseSaveFile = [&](const std::string&, const std::string&) { return saved; };
    ASSERT_TRUE(frame().OnCommand(ID_FILE_SAVE_AS));
    EXPECT_EQ(frame().windowTitle(), "saved.mvl - morvelan");
    EXPECT_EQ(mv::iniReadString(saved, "M0P3", "K2271", "", 16), "TRUE");
    ASSERT_TRUE(frame().OpenDocumentFile(saved));
    EXPECT_EQ(station(0).TileCount(), boards + 2);
    EXPECT_EQ(dynamic_cast<CFlagModule&>(tile(0, 3).Module()).m_Option, 1);
    EXPECT_TRUE(messages_.empty());
}

TEST_F(FrameTest, MissingSpecialBoardDescriptionChangesNothing) {
    fs::remove(prog_ + "/Modul/@K2271.kvn");
    ASSERT_EQ(startWithDemo(), 0) << "the sample project names the K2271";
    messages_.clear();
    ASSERT_TRUE(frame().NewDocument());
    ASSERT_TRUE(frame().OpenDocumentFile(prog_ + "/samples/demo.mvl") == false);
    // Build a small station of our own and try the K2271 behind its controller.
    frame().NewDocument();
    messages_.clear();
    auto head = std::make_unique<CModuleTile>();
    head->Create(app_->m_Catalogue.GetAt(app_->m_Catalogue.FindByName("X740")), prog_);
    doc().AddModuleToGroup(std::move(head));
    frame().RefreshProject(&tile(0, 0));
    ASSERT_TRUE(frame().OnCommand(ID_INSERT_K2271));
    EXPECT_EQ(station(0).TileCount(), 1);
    ASSERT_EQ(messages_.size(), 1u);
    EXPECT_NE(messages_[0].line1.find("@K2271"), std::string::npos);
    ASSERT_TRUE(frame().OnCommand(ID_INSERT_K2270));
    EXPECT_EQ(station(0).TileCount(), 2) << "the K2270 is there";
}

TEST_F(FrameTest, ImportOrOpenThatStopsLeavesTheProjectUntitledAndSaveAsksForAName) {
    ASSERT_EQ(startWithDemo(), 1);
    frame().show();
    QApplication::setActiveWindow(&frame());
    const std::string demo = prog_ + "/samples/demo.mvl";
    const std::string original = readAll(demo);
    std::string chosen;
    app_->m_ChooseOpenFile = [&](const std::string&) { return chosen; };
    int asked = 0;
    app_->m_ChooseSaveFile = [&](const std::string&, const std::string&) {
        ++asked;
        return std::string(); // cancelled
    };
    auto ctrl = [&](Qt::Key key) {
        QTest::keyClick(&frame(), key, Qt::ControlModifier);
        QApplication::processEvents();
    };
    auto write = [&](const std::string& name, const std::string& bytes) {
        std::ofstream(root_ + "/" + name, std::ios::binary) << bytes;
        return root_ + "/" + name;
    };
    // Version 152 with a controller station; the archive that counts two ends after the first.
    auto archive = [](std::uint32_t stations) {
        const std::string station = u32(1) + u32(0) + u32(0);
        return u32(152) + str("d") + str("c") + str("a") + str("n") + str("k") + u32(stations) +
               station + str("A") + str("B") + str("X740.kvn") + u16(0) + str("") + str("") +
               str("") + u16(0) + u16(0) + u16(0) + (stations > 1 ? station : "");
    };
    const std::string good = write("good.prj", archive(1));
    const struct {
        std::string file;
        bool import;
        int stations;
        int asks; // a project with an unknown type refuses every save instead
    } cases[] = {
        {write("refused.prj", u32(149)), true, 0, 1},
        {write("short.prj", archive(2)), true, 2, 1}, // the second station stays empty
        {root_ + "/missing.prj", true, 0, 1},
        {write("unknown.mvl", "[MAIN]\r\nModule=2\r\n[M0]\r\nPrints=1\r\n[M0P0]\r\n"
                              "Filename=X740.kvn\r\n[M1]\r\nPrints=1\r\n[M1P0]\r\n"
                              "Filename=GONE.kvn\r\n"),
         false, 2, 0},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.file);
        chosen = demo;
        ctrl(Qt::Key_O);
        ASSERT_EQ(text(frame().windowTitle()), "demo.mvl - morvelan");
        messages_.clear();
        chosen = c.file;
        if (c.import)
            frame().Action(ID_FILE_IMPORT)->trigger();
        else
            ctrl(Qt::Key_O);
        EXPECT_EQ(messages_.size(), 1u) << "the failure is told";
        EXPECT_EQ(doc().StationCount(), c.stations);
        EXPECT_EQ(text(frame().windowTitle()), "- - morvelan");
        const int before = asked;
        ctrl(Qt::Key_S);
        EXPECT_EQ(asked, before + c.asks);
        EXPECT_EQ(readAll(demo), original);
    }
    // A good import after the stopped open clears the unknown type; the name stays forgotten.
    chosen = good;
    frame().Action(ID_FILE_IMPORT)->trigger();
    ASSERT_EQ(doc().StationCount(), 1);
    ctrl(Qt::Key_S);
    EXPECT_EQ(asked, 4);
    EXPECT_EQ(readAll(demo), original);
}

TEST_F(FrameTest, HelpOpensTheNewestDocumentOrNamesTheLastOneTried) {
    ASSERT_EQ(startWithDemo(), 1);
    const std::string folder = prog_ + "/Help/English/";
    fs::remove(folder + "0001.pdf");
    std::ofstream(folder + "0003.pdf") << "%PDF";
    std::ofstream(folder + "0010.pdf") << "%PDF";
    ASSERT_TRUE(frame().OnCommand(ID_HELP_DOCUMENT));
    ASSERT_EQ(opened_.size(), 1u);
    EXPECT_EQ(opened_[0], folder + "0010.pdf");
    fs::remove_all(prog_ + "/Help");
    ASSERT_TRUE(frame().OnCommand(ID_HELP_DOCUMENT));
    EXPECT_EQ(opened_.size(), 1u);
    ASSERT_EQ(messages_.size(), 1u);
    EXPECT_EQ(messages_[0].line1, prog_ + "/Help/English/0000.pdf");
    EXPECT_EQ(messages_[0].line2, "No documentation found");
    EXPECT_EQ(messages_[0].caption, "ERROR");
    EXPECT_EQ(messages_[0].bitmapId, 150);
    EXPECT_EQ(messages_[0].captionColor, 255u);
}

TEST_F(FrameTest, FirmwareInfoCrossesTheFirstTwoTextsAndResumesPolling) {
    ASSERT_EQ(startWithDemo(), 1);
    std::vector<std::string> fields;
    int pollingSeen = -1;
    dialogSeams().firmwareDialog = [&](const std::string& a, const std::string& b,
                                       const std::string& c) {
        fields = {a, b, c};
        pollingSeen = frame().IsPollingEnabled();
        return 1;
    };
    // Without a selection nothing shows.
    frame().ShowFirmwareInfo();
    EXPECT_TRUE(fields.empty());
    EXPECT_EQ(frame().IsPollingEnabled(), 1);
    select(&tile(0, 5));
    ASSERT_TRUE(frame().OnCommand(ID_FIRMWARE_INFO));
    EXPECT_EQ(fields, (std::vector<std::string>{"2024-02-01", "X740-Core", "2.2.0"}));
    EXPECT_EQ(pollingSeen, 0);
    EXPECT_EQ(frame().IsPollingEnabled(), 1);
}

TEST_F(FrameTest, ModuleCheckListsTheSelectedStationFromTheCheckList) {
    ASSERT_EQ(startWithDemo(), 1);
    std::ofstream(prog_ + "/Modul/fertigung/version.dat") << "[VERSION]\nX740=1;2;3\nD2110=A7\n";
    mv::iniClearCache();
    EXPECT_FALSE(frame().IsCommandEnabled(ID_MODULE_CHECK));
    select(&tile(0, 2));
    EXPECT_TRUE(frame().IsCommandEnabled(ID_MODULE_CHECK));
    mv::FakeClock clock;
    mv::setProcessClock(&clock);
    std::vector<std::string> lines;
    QTimer::singleShot(0, [&] {
        auto* dlg = qobject_cast<morvelan::CModuleCheckDlg*>(QApplication::activeModalWidget());
        if (!dlg)
            return;
        dlg->OnTimer();
        for (int i = 0; i < dlg->list()->count(); ++i)
            lines.push_back(text(dlg->list()->item(i)->text()));
        dlg->EndDialog(1);
    });
    ASSERT_TRUE(frame().OnCommand(ID_MODULE_CHECK));
    mv::setProcessClock(nullptr);
    ASSERT_GE(lines.size(), 5u);
    EXPECT_EQ((std::vector<std::string>(lines.begin(), lines.begin() + 5)),
              (std::vector<std::string>{" 0: X740    CPU OK", " 0: X740    Power OK",
                                        " 0: X740    Fieldbus OK", " 1: D2110     FPGA OK",
                                        " 1: D2110    No HW Info"}));
    EXPECT_EQ(lines[5], " 2: D2210    No Info");
    EXPECT_EQ(clock.slept(), 50);
    EXPECT_EQ(tile(0, 1).m_Sliders[0].size(), 5u);
    EXPECT_EQ(tile(0, 1).m_Sliders[0], tile(0, 0).m_Sliders[0]);
}

TEST_F(FrameTest, CommandLineProjectOpensAfterTheCatalogueAndLoadLastSelectsTheFirstTile) {
    // A project on the command line that cannot be opened ends the program.
    std::ofstream(root_ + "/junk.mvl") << "no project here\n";
    EXPECT_EQ(start({root_ + "/junk.mvl"}), 0);
    app_->ExitInstance();
    app_ = std::make_unique<CMorvelanApp>();
    app_->m_CurrentDirectory = [this] { return root_; };
    app_->m_SystemMessage = [](const std::string&, const std::string&) {};
    fs::copy_file(prog_ + "/samples/demo.mvl", prog_ + "/Config.mvl");
    setIni("LOADLAST", "1");
    ASSERT_EQ(start(), 1);
    EXPECT_EQ(doc().StationCount(), 2) << "every type is known once the catalogue is read";
    EXPECT_EQ(tree().SelectedTile(), &tile(0, 0));
    EXPECT_TRUE(tile(0, 0).visible);
    EXPECT_FALSE(tile(1, 0).visible);
}

TEST_F(FrameTest, BitmapFailuresShowOnceAfterThePaint) {
    ASSERT_EQ(startWithDemo(), 1);
    // A bitmap that fails while a page is drawn is reported after it, once per file.
    const std::string bad = root_ + "/bad.bmp";
    std::ofstream(bad) << "not a bitmap";
    for (int paint = 0; paint < 3; ++paint) {
        CDib dib;
        EXPECT_EQ(dib.ReadBitmapFile(bad), 0);
    }
    EXPECT_TRUE(systemMessages_.empty()) << "nothing while drawing";
    QApplication::processEvents();
    EXPECT_EQ(systemMessages_, std::vector<std::string>{std::string("morvelan|") + kDibInvalidFile});
}

} // namespace
} // namespace frametest
