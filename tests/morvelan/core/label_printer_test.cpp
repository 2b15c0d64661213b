// The label layout language on a recording canvas: element heights, the drawing lines and
// their geometry, short and hostile lines, page breaks and the preview's skipping; the label
// frame; and the job frame's page handling against a page sink that records what it was asked.
#include "module_test_util.h"

#include "morvelan/core/label_printer.h"
#include "morvelan/core/module_tile.h"
#include "morvelan/core/morvelan_doc.h"
#include "platform/clock.h"
#include "platform/recording_canvas.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <chrono>

namespace {

using mv::DrawOp;

// Hooks whose printing calls reach the running job, with the page text.
class PrintHooks : public mv::PrintingAppHooks {
public:
    PrintHooks() { mv::setAppHooks(this); }
    ~PrintHooks() override { mv::setAppHooks(nullptr); }
    std::string LanguageText(int number) override {
        return number == mv::kTextPage ? "Page" : "T" + std::to_string(number);
    }
};

// A sink that logs its calls and fails a chosen one.
class LogSink : public mv::PageSink {
public:
    bool StartDocument(const std::string& name) override { return step("doc:" + name); }
    bool EndDocument() override { return step("enddoc"); }
    bool StartPage() override { return step("page"); }
    bool EndPage() override { return step("endpage"); }
    void AbortDocument() override { log.push_back("abort"); }
    std::string LastError() const override { return "printer jammed"; }
    bool step(const std::string& what) {
        log.push_back(what);
        return what != failOn;
    }
    std::vector<std::string> log;
    std::string failOn;
};

class LabelLayoutTest : public ::testing::Test {
protected:
    void SetUp() override {
        std::filesystem::create_directories(install_.dir() + "/bmp");
        install_.write("bmp/schieber.bmp", "BM");
        context_.programDir = install_.dir();
        context_.shortDate = [] { return std::string("08.12.26"); };
    }
    std::string Layout(const std::string& text) { return install_.write("Modul/L.etk", text); }

    mvtest::TempInstall install_;
    PrintHooks hooks_;
    mv::RecordingCanvas dc_;
    LogSink sink_;
    mv::PrintState state_;
    mv::PrintContext context_;
};

TEST_F(LabelLayoutTest, ElementsDrawTheirLinesAndMoveByTheirHeight) {
    const std::string file = Layout("[MAIN]\nC=2\n[E1]\nE=2\nL=7\nB=1\n[E1T]\n"
                                    "L1=T,M,100,50,90,35,N,Arial,IN\n"
                                    "L2=C,820,200,12\n"
                                    "L3=L,210,0,210,230\n"
                                    "L4=R,0,0,850,230\n"
                                    "L5=L,5\n"
                                    "L6=Xanything,1,2\n"
                                    "L7=T,Q,10,20,0,40,B,Courier New,OUT,more\n"
                                    "[E2]\nE=1\n");
    mv::CLabelPrinter p(dc_, sink_, state_, context_);
    int y = -100;
    ASSERT_TRUE(p.DrawLabelFile(dc_, y, file, nullptr));
    EXPECT_EQ(y, -100 - 250 - 125);

    const auto texts = dc_.callsOf(DrawOp::TextOut);
    ASSERT_EQ(texts.size(), 2u);
    EXPECT_EQ(texts[0].text, "IN");
    EXPECT_EQ(texts[0].from, (mv::POINT{120, -150}));
    EXPECT_EQ(texts[0].state.textAlign & mv::TA_HORZMASK, mv::TA_CENTER);
    EXPECT_EQ(texts[0].state.font.escapement, 900);
    EXPECT_EQ(texts[0].state.font.height, -35);
    EXPECT_EQ(texts[0].state.font.weight, 400);
    EXPECT_EQ(texts[0].state.font.face, "Arial");
    // Another letter keeps the alignment; the text ends at the next ",".
    EXPECT_EQ(texts[1].text, "OUT");
    EXPECT_EQ(texts[1].from, (mv::POINT{30, -120}));
    EXPECT_EQ(texts[1].state.textAlign & mv::TA_HORZMASK, mv::TA_CENTER);
    EXPECT_EQ(texts[1].state.font.weight, 700);
    EXPECT_EQ(texts[1].state.font.face, "Courier New");

    const auto circles = dc_.callsOf(DrawOp::Ellipse);
    ASSERT_EQ(circles.size(), 1u);
    EXPECT_EQ(circles[0].rect, (mv::RECT{828, -288, 852, -312}));
    const auto lines = dc_.callsOf(DrawOp::Line);
    ASSERT_GE(lines.size(), 2u);
    EXPECT_EQ(lines[0].from, (mv::POINT{230, -100}));
    EXPECT_EQ(lines[0].to, (mv::POINT{230, -330}));
    EXPECT_EQ(lines[0].state.pen.width, 3);
    // A short line reads its missing fields as 0.
    EXPECT_EQ(lines[1].from, (mv::POINT{25, -100}));
    EXPECT_EQ(lines[1].to, (mv::POINT{20, -100}));
    const auto rects = dc_.callsOf(DrawOp::Rectangle);
    ASSERT_EQ(rects.size(), 1u); // no boxes: only the R line
    EXPECT_EQ(rects[0].rect, (mv::RECT{20, -100, 870, -330}));
    EXPECT_TRUE(rects[0].state.brush.hollow);
    const auto slider = dc_.callsOf(DrawOp::StretchBitmap);
    ASSERT_EQ(slider.size(), 1u);
    EXPECT_EQ(slider[0].rect, (mv::RECT{250, -100, 600, -330}));
    EXPECT_NE(slider[0].bitmap.file.find("bmp/schieber.bmp"), std::string::npos);
}

TEST_F(LabelLayoutTest, MissingFilesAndHostileCounts) {
    mv::CLabelPrinter p(dc_, sink_, state_, context_);
    int y = -40;
    EXPECT_FALSE(p.DrawLabelFile(dc_, y, install_.dir() + "/Modul/none.etk", nullptr));
    EXPECT_EQ(y, -40);
    EXPECT_TRUE(dc_.calls().empty());

    std::filesystem::remove(install_.dir() + "/bmp/schieber.bmp");
    const std::string file =
        Layout("[MAIN]\nC=2000000000\n[E1]\nE=-7\nL=99999999\nB=1\n[E1T]\n"
               "L1=C,99999999999,-99999999999,2147483647\n");
    state_.printableHeight = 1 << 30;
    const auto start = std::chrono::steady_clock::now();
    y = 0;
    ASSERT_TRUE(p.DrawLabelFile(dc_, y, file, nullptr));
    EXPECT_LT(std::chrono::steady_clock::now() - start, std::chrono::seconds(5));
    // Element 1 moves nothing (a negative height reads as 0); the 998 others have no height.
    EXPECT_EQ(y, 0);
    EXPECT_TRUE(dc_.callsOf(DrawOp::StretchBitmap).empty());
    const auto circles = dc_.callsOf(DrawOp::Ellipse);
    ASSERT_EQ(circles.size(), 1u);
    // Every number is cut to 100000 (x and r) or -100000 (y).
    EXPECT_EQ(circles[0].rect, (mv::RECT{20, 200000, 200020, 0}));
}

TEST_F(LabelLayoutTest, PageBreakAndPreviewSkipping) {
    const std::string file = Layout("[MAIN]\nC=3\n"
                                    "[E1]\nE=2\nL=1\n[E1T]\nL1=T,L,0,0,0,20,N,Arial,ONE\n"
                                    "[E2]\nE=2\nL=1\n[E2T]\nL1=T,L,0,0,0,20,N,Arial,TWO\n"
                                    "[E3]\nE=2\nL=1\n[E3T]\nL1=T,L,0,0,0,20,N,Arial,THREE\n");
    state_.printableHeight = 600;
    {
        // Printing: the second element's foot comes closer than 25 mm to the page end.
        mv::CLabelPrinter p(dc_, sink_, state_, context_);
        state_.pageCounter = 1;
        int y = 0;
        p.DrawLabelFile(dc_, y, file, nullptr);
        EXPECT_EQ(y, -250);
        EXPECT_EQ(state_.pageCounter, 2);
        // (No page was open outside a job, so only the new one is begun.)
        EXPECT_EQ(sink_.log, (std::vector<std::string>{"page"}));
        EXPECT_EQ(dc_.texts(), (std::vector<std::string>{"ONE", "TWO", "THREE"}));
        EXPECT_EQ(dc_.callsOf(DrawOp::TextOut)[2].from.y, 0);
    }
    for (int wanted = 1; wanted <= 2; ++wanted) {
        dc_.clear();
        mv::PreviewSink preview;
        mv::CLabelPrinter p(dc_, preview, state_, context_);
        state_ = mv::PrintState{0, 0, 1, wanted, 1, 600};
        int y = 0;
        p.DrawLabelFile(dc_, y, file, nullptr);
        EXPECT_EQ(y, -250);
        EXPECT_EQ(state_.pageCounter, 2);
        EXPECT_EQ(dc_.texts(), wanted == 1 ? (std::vector<std::string>{"ONE", "TWO"})
                                           : (std::vector<std::string>{"THREE"}));
    }
}

TEST_F(LabelLayoutTest, LabelFrameBoxesTextsAndWriteInLines) {
    mv::CLabelPrinter p(dc_, sink_, state_, context_);
    CModuleTile tile;
    tile.m_Lines = {"", "", ""};
    p.DrawLabelFrame(dc_, 20, -100, 1, 0, &tile);
    const auto rects = dc_.callsOf(DrawOp::Rectangle);
    ASSERT_EQ(rects.size(), 4u);
    EXPECT_EQ(rects[0].rect, (mv::RECT{20, -100, 140, -285}));
    EXPECT_EQ(rects[3].rect, (mv::RECT{620, -100, 870, -330}));
    EXPECT_EQ(rects[0].state.pen.width, 5);
    // No texts: the short line, then three write-in lines at y - 115.
    auto lines = dc_.callsOf(DrawOp::Line);
    ASSERT_EQ(lines.size(), 4u);
    EXPECT_EQ(lines[0].from, (mv::POINT{30, -192}));
    EXPECT_EQ(lines[1].from, (mv::POINT{170, -215}));
    EXPECT_EQ(lines[3].to, (mv::POINT{860, -215}));
    EXPECT_EQ(lines[3].state.pen.width, 3);
    EXPECT_TRUE(dc_.texts().empty());

    dc_.clear();
    tile.m_Lines = {"first", "second", ""};
    p.DrawLabelFrame(dc_, 20, -100, 0, 1, &tile);
    EXPECT_TRUE(dc_.callsOf(DrawOp::Rectangle).empty());
    EXPECT_TRUE(dc_.callsOf(DrawOp::Line).empty());
    auto texts = dc_.callsOf(DrawOp::TextOut);
    ASSERT_EQ(texts.size(), 2u);
    EXPECT_EQ(texts[0].from, (mv::POINT{120, -115}));
    EXPECT_EQ(texts[1].from, (mv::POINT{70, -115}));
    EXPECT_EQ(texts[0].state.font, (mv::FontDesc{"Arial", -24, 800, 900}));

    dc_.clear();
    tile.m_Lines[2] = "third";
    p.DrawLabelFrame(dc_, 20, -100, 0, 1, &tile);
    texts = dc_.callsOf(DrawOp::TextOut);
    ASSERT_EQ(texts.size(), 1u);
    EXPECT_EQ(texts[0].text, "third");
    EXPECT_EQ(texts[0].from, (mv::POINT{100, -115}));
    EXPECT_EQ(texts[0].state.font.height, -42);
}

TEST_F(LabelLayoutTest, HeaderFooterAndNextPrintPage) {
    mv::CLabelPrinter p(dc_, sink_, state_, context_);
    state_.pageCounter = 3;
    p.DrawPageFooter(dc_, 2770);
    const auto texts = dc_.callsOf(DrawOp::TextOut);
    ASSERT_EQ(texts.size(), 3u);
    EXPECT_EQ(texts[0].text, mv::kProductNotice);
    EXPECT_EQ(texts[0].from, (mv::POINT{5, -5}));
    EXPECT_EQ(texts[1].text, "08.12.26");
    EXPECT_EQ(texts[1].state.textAlign & mv::TA_HORZMASK, mv::TA_RIGHT);
    EXPECT_EQ(texts[2].text, "Page 3");
    EXPECT_EQ(texts[2].from, (mv::POINT{1700, -2770}));
    EXPECT_EQ(texts[2].state.font, (mv::FontDesc{"Arial", -24, 400, 0}));
    const auto lines = dc_.callsOf(DrawOp::Line);
    ASSERT_EQ(lines.size(), 2u);
    EXPECT_EQ(lines[1].from, (mv::POINT{5, -2740}));

    dc_.clear();
    int y = -2700;
    p.NextPrintPage(dc_, y, 45, 2770); // -2700 - 45 + 2770 = 25: a new page
    EXPECT_EQ(y, -35);
    EXPECT_EQ(state_.pageCounter, 4);
    EXPECT_EQ(dc_.texts().back(), "Page 4");
    y = -2600;
    p.NextPrintPage(dc_, y, 45, 2770);
    EXPECT_EQ(y, -2600);
}

// The texts drawn, without the blank ones (empty label lines are stored as one blank).
std::vector<std::string> Words(const mv::RecordingCanvas& dc) {
    std::vector<std::string> out;
    for (const auto& t : dc.texts())
        if (t.find_first_not_of(' ') != std::string::npos)
            out.push_back(t);
    return out;
}

// Jobs over a station of a controller with a label file and three flag boards.
class LabelJobTest : public LabelLayoutTest {
protected:
    void SetUp() override {
        LabelLayoutTest::SetUp();
        install_.write("Modul/CT.kvn", "[FILEINFO]\nProtocol_ID=1\nDevice=Morvelan\n"
                                       "[MORVELAN]\nDescription=CT\nID=1\nTyp=1\n");
        install_.write("Modul/FL.kvn", "[FILEINFO]\nProtocol_ID=1\nDevice=Morvelan\n"
                                       "[MORVELAN]\nDescription=FL\nID=0\nTyp=3\n");
        install_.write("Modul/CT.etk", "[MAIN]\nC=1\n[E1]\nE=2\nL=1\n[E1T]\n"
                                       "L1=T,L,0,0,0,20,N,Arial,HEAD\n");
        mv::FakeClock clock;
        catalogue_.Scan(install_.dir(), "English", {}, clock);
        doc_.AppendStation();
        Add("CT");
        for (int i = 0; i < 3; ++i)
            Add("FL");
        context_.doc = &doc_;
    }
    void Add(const std::string& name) {
        auto tile = std::make_unique<CModuleTile>();
        tile->Create(catalogue_.GetAt(catalogue_.FindByName(name)), install_.dir());
        tile->m_Lines[0] = name + std::to_string(doc_.Station(0)->TileCount());
        doc_.Station(0)->Append(std::move(tile));
    }
    CModuleDescriptionList catalogue_;
    CMorvelanDoc doc_;
};

TEST_F(LabelJobTest, JobsFrameTheirDocumentAndPages) {
    state_.printableHeight = 600;
    mv::CLabelPrinter p(dc_, sink_, state_, context_);
    // The module labels without a selected tile make no document.
    auto r = p.PrintModuleLabels(0, 1, 0, 1);
    EXPECT_TRUE(r.ok);
    EXPECT_TRUE(sink_.log.empty());

    // Head 250, pair 250 (then 750 > 600 ends the page), board 3 on page 2 with its frame.
    r = p.PrintProjectLabels(0, 1, 0, 1);
    EXPECT_TRUE(r.ok);
    EXPECT_EQ(sink_.log, (std::vector<std::string>{"doc:Morvelan Toolkit", "page", "endpage",
                                                   "page", "endpage", "enddoc"}));
    EXPECT_EQ(state_.pageCounter, 2);
    // Every frame writes its tile's line 1: the head's own, a pair's first board's.
    EXPECT_EQ(Words(dc_), (std::vector<std::string>{"HEAD", "CT0", "FL1", "FL", "FL1", "FL",
                                                    "FL2", "FL3", "FL", "FL3"}));
    // Four boxes each: the head's label file and the two pairs.
    EXPECT_EQ(dc_.callsOf(DrawOp::Rectangle).size(), 12u);
    EXPECT_EQ(mv::PreviewProjectLabels(state_, context_, 1), 2);
    // The second copy starts on an even step (-125 moves to -250) and needs a third page.
    EXPECT_EQ(mv::PreviewProjectLabels(state_, context_, 2), 3);

    // A failing page end drops the document and names the reason.
    sink_.log.clear();
    sink_.failOn = "endpage";
    r = p.PrintProjectLabels(0, 1, 0, 1);
    EXPECT_FALSE(r.ok);
    EXPECT_EQ(r.error, "printer jammed");
    EXPECT_EQ(sink_.log.back(), "abort");
    EXPECT_EQ(std::count(sink_.log.begin(), sink_.log.end(), "enddoc"), 0);

    // The selected board at an odd slot prints its pair: frame of the first, both labels.
    sink_.log.clear();
    sink_.failOn.clear();
    dc_.clear();
    context_.selected = doc_.Station(0)->Tile(2);
    mv::CLabelPrinter q(dc_, sink_, state_, context_);
    r = q.PrintModuleLabels(0, 1, 0, 1);
    EXPECT_TRUE(r.ok);
    EXPECT_EQ(Words(dc_), (std::vector<std::string>{"FL1", "FL", "FL1", "FL", "FL2"}));
    EXPECT_EQ(sink_.log.size(), 4u);
    EXPECT_EQ(state_.y, -250);
    // The last board has no partner: its half label is left empty.
    context_.selected = doc_.Station(0)->Tile(3);
    mv::CLabelPrinter q3(dc_, sink_, state_, context_);
    q3.PrintModuleLabels(0, 1, 0, 1);
    EXPECT_EQ(state_.y, -250);

    // The selected tile's station in preview, page 2 only.
    dc_.clear();
    mv::PreviewSink preview;
    mv::CLabelPrinter v(dc_, preview, state_, context_);
    r = v.PrintControllerLabels(2, 1, 1, 1);
    EXPECT_TRUE(r.ok);
    EXPECT_EQ(state_.pageCounter, 2);
    EXPECT_EQ(Words(dc_), (std::vector<std::string>{"FL3", "FL", "FL3"}));
}

} // namespace
