// The module online dialog against the simulated station, with online mode polling for real
// (ticks of a fake clock): the grid following the station's inputs, clicks reaching its
// outputs, mask mode, scrolling, the output refusal, and the hand-over of the link to a
// stand-in service library through both entry points.
#include "tests/morvelan/online/online_fixture.h"

#include "catalogue/module_description.h"
#include "morvelan/core/channel_module.h"
#include "morvelan/core/controller_module.h"
#include "morvelan/core/param_number.h"
#include "morvelan/online/controller_online_dlg.h"
#include "morvelan/online/online_modul_dlg.h"
#include "morvelan/online/online_pictures.h"
#include "morvelan/online/online_session.h"
#include "morvelan/online/online_set_dlg.h"
#include "morvelan/online/service_library.h"
#include "platform/clock.h"
#include "portwire/include/Portwire.h"
#include "tests/test_paths.h"
#include "xui/bitmaps.h"
#include "xui/color_sel_edit.h"

#include <QLineEdit>
#include <QScrollBar>
#include <QTest>
#include <QTimer>

#include <dlfcn.h>

#include <filesystem>

extern "C" struct StandInControlBlock {
    int mode;
    std::uint32_t ip;
    int port;
    int calls;
    int lastEntry;
    int lastArgument;
    void (*during)(void*);
    void* context;
};

namespace onlinetest {
namespace {

using morvelan::COnlineModulData;
using morvelan::COnlineModulDlg;
using Strings = std::vector<std::string>;

// The frame as online mode sees it: the selection and the poll timer.
class MiniFrame : public morvelan::IOnlineFrame {
public:
    CModuleTile* SelectedTile() override { return selected; }
    void InvalidateView(bool) override {}
    void EnableTree(bool) override {}
    void DisableMainMenus() override {}
    void EnableMainMenus() override {}
    void StartPollTimer(int ms) override { timerMs = ms; }
    void KillPollTimer() override { timerMs = 0; }
    bool FrameInFront() override { return true; }
    void StopAutoStep() override {}
    void MaximiseAndRedraw() override {}
    int Upload() override { return 0; }
    void LayoutList() override {}
    void ResetDisplayFlags() override {}

    CModuleTile* selected = nullptr;
    int timerMs = 0;
};

// Both dialogs' host, over the real online session.
class SessionHost : public morvelan::IOnlineModulHost, public morvelan::IControllerOnlineHost {
public:
    SessionHost(CMorvelanAppBase& a, morvelan::COnlineSession& s, CMorvelanDoc& d)
        : app(a), session(s), doc(d) {}
    void PauseOnline() override {
        ++pauses;
        session.PausePolling();
    }
    void ResumeOnline() override {
        ++resumes;
        session.ResumePolling();
    }
    std::uint32_t Link() override { return app.m_Link; }
    void AdoptLink(std::uint32_t link) override { app.AdoptLink(link); }
    std::string ProgramDir() override { return dir; }
    void SystemMessage(const std::string& caption, const std::string& text) override {
        boxes.push_back(caption + "|" + text);
    }
    void ShowDocumentation(const std::string& type) override { documents.push_back(type); }
    CStation* CurrentStation() override { return doc.Station(0); }
    void SetOnlineGrid(morvelan::IOnlineGrid* grid) override { session.SetOnlineGrid(grid); }
    void ClearOnlineGrid() override { session.ClearOnlineGrid(); }
    bool MemoryButton() override { return false; }
    int WriteTimeout() override { return 500; }
    bool GatherParameters(std::vector<std::uint8_t>&) override { return false; }
    bool UnknownModule() override { return false; }
    void RepaintView() override {}
    void RunInfoList(CControllerModule&) override {}
    void RunMemory() override {}

    CMorvelanAppBase& app;
    morvelan::COnlineSession& session;
    CMorvelanDoc& doc;
    std::string dir;
    Strings boxes, documents;
    int pauses = 0, resumes = 0;
};

TEST(OnlineModulValues, LcdTextAndMaskTexts) {
    EXPECT_EQ(morvelan::FormatLcdValue(12345, 3, 5), "   12.345");
    EXPECT_EQ(morvelan::FormatLcdValue(-5, 1, 6), "    -0.5");
    EXPECT_EQ(morvelan::FormatLcdValue(4095, 0, 5), " 4095");
    CModulChannel ch;
    ch.dataType = kTypeUInt32;
    ch.scale = 0.01f;
    ch.value.SetLong(0xFFFFFFFFu);
    EXPECT_EQ(morvelan::LcdValueText(ch), "  42949672.95");
    ch.dataType = kTypeInt16;
    ch.scale = 0.000305185f; // not a power of ten: the raw value
    ch.value.SetWord(0xFFFE);
    EXPECT_EQ(morvelan::LcdValueText(ch), "    -2");
    EXPECT_EQ(morvelan::ParseMaskText("FFFFFFFF"), -1);
    EXPECT_EQ(morvelan::ParseMaskText("      FF"), 255);
    EXPECT_EQ(morvelan::ParseMaskText("123456789"), 0x12345678);
    EXPECT_EQ(morvelan::ParseMaskText(""), 0);
    // Every character has a glyph; unknown ones are blank.
    EXPECT_EQ(morvelan::LcdGlyph('8').width, morvelan::kLcdGlyphWidth);
    EXPECT_EQ(morvelan::LcdGlyph('x').pixels, morvelan::LcdGlyph(' ').pixels);
}

class ModulDlgTest : public OnlineFixture {
protected:
    void SetUp() override {
        OnlineFixture::SetUp();
        morvelan::RegisterOnlineModulData();
        frame.selected = doc.Station(0)->Tile(2);
        docHooks.selected = frame.selected;
        host.dir = install.dir();
    }
    bool Tick() {
        clock.advance(frame.timerMs > 0 ? frame.timerMs : 10);
        return session.OnTimer(1);
    }
    CChannelModule& Board(int tile) {
        return dynamic_cast<CChannelModule&>(doc.Station(0)->Tile(tile)->Module());
    }
    const CModuleDescription* Description(int tile) {
        return doc.Station(0)->Tile(tile)->Description();
    }
    // Where a tile's bytes start in the station's input and output images.
    int Offset(int tile) {
        int at = 0;
        for (int j = 1; j < tile; ++j) {
            if (auto* b = dynamic_cast<CChannelModule*>(&doc.Station(0)->Tile(j)->Module()))
                at += b->GetDataSize();
        }
        return at;
    }
    int OutputWrites() const {
        int n = 0;
        for (const Bytes& f : station.frameLog())
            n += f.size() > 4 && f[2] == 0x20 && f[4] == 30 ? 1 : 0;
        return n;
    }
    // Shows a dialog as DoModal would (polling paused before it).
    void Show(COnlineModulDlg& dlg) {
        host.PauseOnline();
        dlg.ShowModeless();
        QCoreApplication::processEvents();
        QCoreApplication::processEvents();
    }
    static mv::COLORREF BoxColour(const COnlineModulData& grid, int row, int bit) {
        return xbase_test::pixel(grid.Surface(), 120 + 18 * bit + 8, 35 * row + 10 + 8);
    }
    static mv::COLORREF PictureColour(int id) {
        return xbase_test::pixel(xui::bitmapResource(id), 8, 8);
    }
    void Click(QWidget* w, int x, int y) {
        QTest::mouseClick(w, Qt::LeftButton, {}, QPoint(x, y));
        QCoreApplication::processEvents();
    }

    MiniFrame frame;
    mv::FakeClock clock;
    morvelan::COnlineSession session{frame, app, doc, clock};
    SessionHost host{app, session, doc};
};

TEST_F(ModulDlgTest, GridFollowsPollsAndClicksSetOutputs) {
    session.OnDebug();
    ASSERT_EQ(app.m_Online, 1);
    CChannelModule& board = Board(2);
    ASSERT_EQ(board.ChannelCount(), 2);
    COnlineModulDlg dlg(host, board, Description(2), 1);
    Show(dlg);
    COnlineModulData* grid = dlg.grid();
    ASSERT_NE(grid, nullptr);
    // The first paint resumed polling and registered the grid.
    EXPECT_EQ(host.resumes, 1);
    EXPECT_TRUE(session.IsPollingEnabled());
    EXPECT_EQ(session.OnlineGrid(), grid->RedrawInterface());
    EXPECT_EQ(dlg.MaskMode(), 0) << "every mask is -1";
    EXPECT_TRUE(dlg.item(morvelan::kCtlMask)->isVisibleTo(&dlg));
    EXPECT_FALSE(dlg.item(morvelan::kCtlMaskUpdate)->isVisibleTo(&dlg));
    EXPECT_FALSE(dlg.item(morvelan::kCtlModulAdvanced)->isVisibleTo(&dlg));
    EXPECT_EQ(dlg.windowTitle().toStdString(), mv::LanguageText(210));

    // Real polls: the boxes follow the station's inputs; an unchanged value is not drawn.
    const int at = Offset(2);
    const mv::COLORREF on = PictureColour(morvelan::kBitmapBitSet);
    const mv::COLORREF off = PictureColour(morvelan::kBitmapBitClear);
    station.setInputs(static_cast<std::size_t>(at), {0x05, 0x80});
    EXPECT_FALSE(Tick());
    EXPECT_EQ(BoxColour(*grid, 0, 0), on);
    EXPECT_EQ(BoxColour(*grid, 0, 1), off);
    EXPECT_EQ(BoxColour(*grid, 0, 2), on);
    EXPECT_EQ(BoxColour(*grid, 1, 7), on);
    const int drawn = grid->CellsDrawn();
    EXPECT_FALSE(Tick());
    EXPECT_EQ(grid->CellsDrawn(), drawn);
    station.setInputs(static_cast<std::size_t>(at), {0x04});
    EXPECT_FALSE(Tick());
    EXPECT_EQ(grid->CellsDrawn(), drawn + 1);
    EXPECT_EQ(BoxColour(*grid, 0, 0), off);

    // A click on bit 3 of channel 0 toggles it and the station receives the outputs.
    station.clearFrameLog();
    Click(grid, 120 + 18 * 3 + 4, 10 + 4);
    EXPECT_EQ(board.Channel(0).value.Data()[0], 0x0C);
    ASSERT_EQ(OutputWrites(), 1);
    EXPECT_EQ(station.outputs().at(static_cast<std::size_t>(at)), 0x0C);
    EXPECT_EQ(BoxColour(*grid, 0, 3), on);
    // A double click toggles once: its second press is no press.
    QTest::mouseClick(grid, Qt::LeftButton, {}, QPoint(120 + 18 * 4 + 4, 10 + 4));
    QTest::mouseDClick(grid, Qt::LeftButton, {}, QPoint(120 + 18 * 4 + 4, 10 + 4));
    QCoreApplication::processEvents();
    EXPECT_EQ(board.Channel(0).value.Data()[0], 0x1C);
    EXPECT_EQ(OutputWrites(), 2);
    // Between two boxes, and below the last channel: no hit, nothing sent.
    Click(grid, 120 + 16 + 1, 10 + 4);
    Click(grid, 150, 35 * 2 + 12);
    EXPECT_EQ(OutputWrites(), 2);
    // A channel of another mode answers only in its own row: the next channel's box still
    // toggles, and a click in its own row sends the outputs unchanged.
    board.Channel(0).mode = morvelan::kGridModeDisplay;
    grid->Refresh();
    Click(grid, 120 + 4, 35 + 10 + 4);
    EXPECT_EQ(board.Channel(1).value.Data()[0], 0x81);
    Click(grid, 20, 20);
    EXPECT_EQ(OutputWrites(), 4);
    EXPECT_EQ(station.outputs().at(static_cast<std::size_t>(at) + 1), 0x81);
    board.Channel(0).mode = morvelan::kGridModeBits;

    // The scroll limit: line down stops at the channel count.
    for (int i = 0; i < 5; ++i)
        grid->OnVScroll(morvelan::kScrollLineDown);
    EXPECT_EQ(grid->FirstRow(), 2);
    EXPECT_EQ(grid->ScrollBar()->value(), 2);
    grid->ScrollBar()->triggerAction(QAbstractSlider::SliderSingleStepSub);
    EXPECT_EQ(grid->FirstRow(), 1);
    grid->ScrollBar()->triggerAction(QAbstractSlider::SliderPageStepAdd);
    EXPECT_EQ(grid->FirstRow(), 1) << "other codes change nothing";
    for (int i = 0; i < 5; ++i)
        grid->OnVScroll(morvelan::kScrollLineUp);
    EXPECT_EQ(grid->FirstRow(), 0);

    // The output refusal: more than one frame carries, nothing sent.
    shown.clear();
    board.Channel(1).dataType = 250;
    Click(grid, 120 + 4, 10 + 4);
    EXPECT_EQ(OutputWrites(), 4);
    ASSERT_EQ(shown.size(), 1u);
    EXPECT_EQ(shown[0].line1, mv::LanguageText(5004) + " : " + " Datasize error");
    EXPECT_EQ(shown[0].bitmapId, 150);
    board.Channel(1).dataType = kTypeUInt8;

    dlg.OnCommandForTest(morvelan::kCtlModulInfo);
    EXPECT_EQ(host.documents, Strings{Description(2)->m_Description});
    dlg.OnCommandForTest(mv::IDOK);
}

TEST_F(ModulDlgTest, ValueClickWalksThroughTheSetWindow) {
    session.OnDebug();
    ASSERT_EQ(app.m_Online, 1);
    CChannelModule& board = Board(3);
    ASSERT_EQ(board.Channel(1).mode, morvelan::kGridModeValue);
    COnlineModulDlg dlg(host, board, Description(3), 2);
    Show(dlg);
    station.clearFrameLog();
    Strings failures;
    bool ran = false;
    QTimer::singleShot(0, &dlg, [&] {
        ran = true;
        auto* set = qobject_cast<morvelan::COnlineSetDlg*>(QApplication::activeModalWidget());
        if (!set)
            return failures.push_back("no set window");
        if (set->ClickedRow() != 1)
            failures.push_back("clicked row");
        morvelan::COnlineModulSetData* w = set->setWindow();
        if (!w || w->EditCount() != board.ChannelCount())
            return failures.push_back("edits"), set->EndDialog(1);
        // TAB on the last edit comes back to the first.
        set->activateWindow();
        if (!QTest::qWaitForWindowActive(set))
            failures.push_back("set window active");
        for (int i = 0; i < w->EditCount(); ++i)
            QTest::keyClick(w->Edit(w->FocusIndex()), Qt::Key_Tab);
        if (w->FocusIndex() != 0)
            failures.push_back("TAB wrap " + std::to_string(w->FocusIndex()));
        w->Edit(1)->setText("1Fh");
        set->EndDialog(1);
    });
    Click(dlg.grid(), 150, 35 + 20);
    EXPECT_TRUE(ran);
    EXPECT_EQ(failures, Strings{});
    EXPECT_EQ(board.Channel(1).value.GetAsInt(kTypeInt16), 31);
    ASSERT_EQ(OutputWrites(), 1);
    const auto out = station.outputs();
    const std::size_t at = static_cast<std::size_t>(Offset(3)) + 2;
    ASSERT_GT(out.size(), at + 1);
    EXPECT_EQ(out[at], 31);
    EXPECT_EQ(out[at + 1], 0);
    EXPECT_EQ(morvelan::LcdValueText(board.Channel(1)), "    31");
}

TEST_F(ModulDlgTest, MaskModeOpensMovesUpdatesAndWritesBack) {
    CChannelModule& board = Board(1);
    ASSERT_NE(board.GetChannelMask(0), -1);
    {
        COnlineModulDlg dlg(host, board, Description(1), 0);
        Show(dlg);
        ASSERT_EQ(dlg.MaskMode(), 1) << "a channel has a mask";
        COnlineModulData* grid = dlg.grid();
        EXPECT_TRUE(dlg.item(morvelan::kCtlMaskUpdate)->isVisibleTo(&dlg));
        ASSERT_NE(grid->MaskEdit(1), nullptr);
        EXPECT_EQ(grid->MaskEdit(0)->text().toStdString(),
                  mv::FormatC("%8X", static_cast<unsigned>(board.GetChannelMask(0))));
        EXPECT_EQ(grid->MaskEdit(0)->maxLength(), 8);
        const int width = dlg.width();
        const int gridWidth = grid->width();
        const int okX = dlg.item(mv::IDOK)->x();
        const int dialogX = dlg.x();

        // Off: back by 200, the edits gone, Update hidden.
        dlg.OnCommandForTest(morvelan::kCtlMask);
        EXPECT_EQ(dlg.MaskMode(), 0);
        EXPECT_EQ(dlg.width(), width - 200);
        EXPECT_EQ(grid->width(), gridWidth - 200);
        EXPECT_EQ(dlg.item(mv::IDOK)->x(), okX - 200);
        EXPECT_EQ(dlg.x(), dialogX + 100);
        EXPECT_EQ(grid->MaskEdit(0), nullptr);
        EXPECT_FALSE(dlg.item(morvelan::kCtlMaskUpdate)->isVisibleTo(&dlg));
        dlg.OnCommandForTest(morvelan::kCtlMask);
        EXPECT_EQ(dlg.width(), width);
        EXPECT_EQ(dlg.item(morvelan::kCtlModulInfo)->x(), okX);

        // Update reads the edits as unsigned 32-bit hex.
        grid->MaskEdit(0)->setText("FFFFFFFF");
        grid->MaskEdit(1)->setText("1234");
        dlg.OnCommandForTest(morvelan::kCtlMaskUpdate);
        EXPECT_EQ(board.GetChannelMask(0), -1);
        EXPECT_EQ(board.GetChannelMask(1), 0x1234);
        // Typed characters pass the hex filter only.
        grid->MaskEdit(1)->clear();
        grid->MaskEdit(1)->setFocus();
        QTest::keyClicks(grid->MaskEdit(1), "aZ9");
        EXPECT_EQ(grid->MaskEdit(1)->text().toStdString(), "a9");
        dlg.OnCommandForTest(mv::IDOK);
    }
    // Closing writes the edits back.
    EXPECT_EQ(board.GetChannelMask(1), 0xA9);
    EXPECT_EQ(session.OnlineGrid(), nullptr);

    // A description without Mask has no Maske button, whatever the channels hold.
    CModuleDescription plain = *Description(1);
    plain.m_Mask = 0;
    COnlineModulDlg dlg(host, board, &plain, 0);
    Show(dlg);
    EXPECT_FALSE(dlg.item(morvelan::kCtlMask)->isVisibleTo(&dlg));
    EXPECT_EQ(dlg.MaskMode(), 0);
}

class HandOverTest : public ModulDlgTest {
protected:
    void SetUp() override {
        ModulDlgTest::SetUp();
        std::filesystem::copy_file(STANDIN_PANEL, install.dir() + "/StandIn.so");
        so_ = ::dlopen((install.dir() + "/StandIn.so").c_str(), RTLD_NOW | RTLD_LOCAL);
        ASSERT_NE(so_, nullptr) << ::dlerror();
        using Control = StandInControlBlock* (*)();
        block = reinterpret_cast<Control>(::dlsym(so_, "StandInControl"))();
        ASSERT_NE(block, nullptr);
        *block = StandInControlBlock{};
        block->ip = 0x7F000001u;
        block->port = server.port();
        block->context = this;
        block->during = [](void* c) {
            auto* t = static_cast<HandOverTest*>(c);
            t->station.clearFrameLog();
            t->Tick();
            t->framesDuringCall += static_cast<int>(t->Transcript().size());
        };
    }
    void TearDown() override {
        if (so_)
            ::dlclose(so_);
        ModulDlgTest::TearDown();
    }

    void* so_ = nullptr;
    StandInControlBlock* block = nullptr;
    int framesDuringCall = 0;
};

TEST_F(HandOverTest, StartDllKeepsTheHandleAndPollingNoticesAClosedLink) {
    session.OnDebug();
    ASSERT_EQ(app.m_Online, 1);
    CModuleDescription description = *Description(2);
    description.m_Dll = "StandIn";
    COnlineModulDlg dlg(host, Board(2), &description, 1);
    Show(dlg);
    EXPECT_TRUE(dlg.item(morvelan::kCtlModulAdvanced)->isVisibleTo(&dlg));
    const std::uint32_t link = app.m_Link;

    // The panel keeps the link: polling goes on with it.
    const int pauses = host.pauses;
    dlg.OnCommandForTest(morvelan::kCtlModulAdvanced);
    EXPECT_EQ(block->calls, 1);
    EXPECT_EQ(block->lastEntry, 1);
    EXPECT_EQ(static_cast<std::uint32_t>(block->lastArgument), link);
    EXPECT_EQ(framesDuringCall, 0) << "no poll while the panel runs";
    EXPECT_EQ(host.pauses, pauses + 1);
    EXPECT_TRUE(session.IsPollingEnabled());
    station.clearFrameLog();
    EXPECT_FALSE(Tick());
    EXPECT_EQ(Transcript(), Strings{"R20"});

    // The panel closes the link: the next poll ends online mode.
    block->mode = 2;
    dlg.OnCommandForTest(morvelan::kCtlModulAdvanced);
    EXPECT_EQ(app.m_Link, link) << "the program keeps its handle";
    shown.clear();
    EXPECT_TRUE(Tick());
    ASSERT_EQ(shown.size(), 1u);
    EXPECT_EQ(shown[0].line1, mv::LanguageText(5004) + " : " + " Handle error ");
    EXPECT_EQ(app.m_Online, 0);
    EXPECT_TRUE(host.boxes.empty());

    // A missing library and a name with a path: the box, nothing called, nothing paused.
    const int calls = block->calls;
    const int paused = host.pauses;
    for (const char* name : {"NoSuchPanel", "sub/StandIn", "../StandIn"}) {
        description.m_Dll = name;
        dlg.OnCommandForTest(morvelan::kCtlModulAdvanced);
    }
    ASSERT_EQ(host.boxes.size(), 3u);
    for (const std::string& box : host.boxes)
        EXPECT_EQ(box.rfind("COnlineModulDlg|Error : ", 0), 0u) << box;
    EXPECT_EQ(block->calls, calls);
    EXPECT_EQ(host.pauses, paused);
}

TEST_F(HandOverTest, StartDll2HandsBackANewLinkOrNone) {
    session.OnDebug();
    ASSERT_EQ(app.m_Online, 1);
    auto* controller = dynamic_cast<CControllerModule*>(&doc.Station(0)->Tile(0)->Module());
    ASSERT_NE(controller, nullptr);
    CModuleDescription description;
    description.m_Dll = "StandIn";
    morvelan::CControllerOnlineDlg dlg(host, *controller, &description);
    dlg.ShowModeless();
    QCoreApplication::processEvents();

    // A new link: adopted, polling goes on over it, the old one is gone.
    const std::uint32_t old = app.m_Link;
    block->mode = 1;
    dlg.OnCommandForTest(morvelan::kCtlAdvanced);
    EXPECT_EQ(block->lastEntry, 2);
    EXPECT_EQ(static_cast<std::uint32_t>(block->lastArgument), old);
    EXPECT_EQ(framesDuringCall, 0);
    EXPECT_NE(app.m_Link, 0u);
    EXPECT_NE(app.m_Link, old);
    EXPECT_TRUE(OpenConnections(1));
    station.clearFrameLog();
    EXPECT_FALSE(Tick());
    EXPECT_EQ(Transcript(), Strings{"R20"});

    // None handed back: online mode ends at the next poll.
    block->mode = 2;
    dlg.OnCommandForTest(morvelan::kCtlAdvanced);
    EXPECT_EQ(app.m_Link, 0u);
    shown.clear();
    EXPECT_TRUE(Tick());
    ASSERT_EQ(shown.size(), 1u);
    EXPECT_EQ(shown[0].line1, mv::LanguageText(5004) + " : " + " Handle error ");
    EXPECT_EQ(app.m_Online, 0);
}

TEST(ServiceLibrary, TheRealPanelHasBothEntryPoints) {
    const std::string dir = mvtest::ProgramDir();
    if (!std::filesystem::exists(dir + "/X740Panel.so"))
        GTEST_SKIP() << "no X740Panel.so in " << dir;
    int found = 0;
    for (const char* symbol : {"StartDLL", "StartDLL2"}) {
        EXPECT_EQ(morvelan::CallServiceLibrary(dir, "X740Panel", symbol, [&](void*) { ++found; }),
                  "");
    }
    EXPECT_EQ(found, 2);
}

} // namespace
} // namespace onlinetest
