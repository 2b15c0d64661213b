// The boards without bytes: the one-option kinds, the parameter board and the picture head.
#include "fixtures/doc_test_util.h"

#include "morvelan/core/bitmap_module.h"
#include "morvelan/core/bmp_header.h"
#include "morvelan/core/flag_module.h"
#include "morvelan/core/param_module.h"
#include "platform/recording_canvas.h"

#include <gtest/gtest.h>

namespace {

class ConfigureHooks : public mvtest::RecordingHooks {
public:
    int ConfigureModule(CModuleTile* tile, CModule* module) override {
        tiles.push_back(tile);
        modules.push_back(module);
        return 1;
    }
    std::vector<CModuleTile*> tiles;
    std::vector<CModule*> modules;
};

class BoardKindsTest : public ::testing::Test {
protected:
    doctest::Install install_;
    ConfigureHooks app_;
};

TEST_F(BoardKindsTest, FactoryMakesTheClassOfEachKind) {
    EXPECT_NE(dynamic_cast<CFlagModule*>(&install_.MakeTile("FLAG")->Module()), nullptr);
    EXPECT_NE(dynamic_cast<CFlagModule*>(&install_.MakeTile("FLAG6")->Module()), nullptr);
    EXPECT_NE(dynamic_cast<CFlagModule2*>(&install_.MakeTile("FLAG7")->Module()), nullptr);
    EXPECT_NE(dynamic_cast<CFlagModule3*>(&install_.MakeTile("FLAG8")->Module()), nullptr);
    EXPECT_NE(dynamic_cast<CParamModule*>(&install_.MakeTile("PARAM")->Module()), nullptr);
    EXPECT_NE(dynamic_cast<CBitmapModule*>(&install_.MakeTile("PIC")->Module()), nullptr);
    EXPECT_EQ(install_.MakeTile("FLAG6")->m_Kind, 6);
    EXPECT_EQ(install_.MakeTile("PIC")->m_Kind, 1);
    EXPECT_EQ(install_.MakeTile("PIC")->IsController(), 1);
}

TEST_F(BoardKindsTest, ConfigureOpensTheParameterDialogExceptForKindSeven) {
    for (const char* name : {"FLAG", "FLAG6", "FLAG8", "PARAM"}) {
        auto tile = install_.MakeTile(name);
        EXPECT_EQ(tile->Module().Configure(tile.get()), 1) << name;
        EXPECT_EQ(app_.tiles.back(), tile.get());
        EXPECT_EQ(app_.modules.back(), nullptr);
    }
    const std::size_t shown = app_.tiles.size();
    auto seven = install_.MakeTile("FLAG7");
    EXPECT_EQ(seven->Module().Configure(seven.get()), 0);
    auto picture = install_.MakeTile("PIC");
    EXPECT_EQ(picture->Module().Configure(picture.get()), 0);
    EXPECT_EQ(app_.tiles.size(), shown);
}

TEST_F(BoardKindsTest, OptionIsStoredAsTrueOrFalse) {
    const std::string file = install_.dir() + "/p.mvl";
    CFlagModule flag;
    flag.m_Option = 1;
    flag.SaveToProject(1, 2, file);
    EXPECT_EQ(mv::iniReadString(file, "M1P2", "K2271"), "TRUE");
    CFlagModule3 other;
    other.SaveToProject(1, 3, file);
    EXPECT_EQ(mv::iniReadString(file, "M1P3", "K2271"), "FALSE");

    CFlagModule2 read;
    read.LoadFromProject(1, 2, file);
    EXPECT_EQ(read.m_Option, 1);
    // Anything but exactly TRUE leaves the option as it was.
    mv::iniWriteString(file, "M1P2", "K2271", "true");
    CFlagModule lower;
    lower.LoadFromProject(1, 2, file);
    EXPECT_EQ(lower.m_Option, 0);
    lower.m_Option = 1;
    lower.LoadFromProject(1, 3, file);
    EXPECT_EQ(lower.m_Option, 1);
}

TEST_F(BoardKindsTest, NoBytesAndNoMasks) {
    for (const char* name : {"FLAG", "FLAG7", "FLAG8", "PARAM", "PIC"}) {
        auto tile = install_.MakeTile(name);
        std::uint8_t buffer[8] = {};
        int count = 5;
        tile->Module().PutParameterBlock(buffer, 8, count);
        EXPECT_EQ(count, 0);
        tile->Module().TakeInputs(buffer, 8, count);
        EXPECT_EQ(count, 0);
        EXPECT_EQ(tile->Module().GetChannelMask(0), -1);
        EXPECT_EQ(tile->Module().GetVersion(), -1);
        EXPECT_EQ(tile->Module().GetDataSize(), 0);
    }
}

TEST_F(BoardKindsTest, ListViewDrawsTheSeparatorLine) {
    mv::RecordingCanvas canvas;
    install_.MakeTile("PARAM")->Module().DrawStatic(canvas);
    install_.MakeTile("FLAG")->Module().DrawStatic(canvas);
    install_.MakeTile("PIC")->Module().DrawStatic(canvas);
    const auto& calls = canvas.calls();
    ASSERT_EQ(calls.size(), 2u);
    EXPECT_EQ(calls[0].from.x, 350);
    EXPECT_EQ(calls[0].from.y, 0);
    EXPECT_EQ(calls[0].to.y, 20);
}

TEST_F(BoardKindsTest, LabelsPrintThePinListOrLeaveAnEmptyPlace) {
    install_.write("Modul/FLAG.pin", "24V\nGND\n");
    auto flag = install_.MakeTile("FLAG");
    flag->m_Lines = {"L1", "L2", "L3"};
    mv::RecordingCanvas canvas;
    int y = 1000;
    EXPECT_EQ(flag->Module().PrintLabel(canvas, 0, y, *flag->Description(), flag->Labels()), 1);
    EXPECT_EQ(y, 875);
    std::vector<std::string> texts;
    for (const auto& c : canvas.calls())
        texts.push_back(c.text);
    EXPECT_EQ(texts, (std::vector<std::string>{"FLAG", "L1", "L2", "L3", " 1: 24V", " 2: GND"}));

    auto param = install_.MakeTile("PARAM");
    mv::RecordingCanvas empty;
    y = 1000;
    EXPECT_EQ(param->Module().PrintLabel(empty, 0, y, *param->Description(), param->Labels()), 1);
    EXPECT_EQ(y, 875);
    EXPECT_TRUE(empty.calls().empty());
}

TEST_F(BoardKindsTest, ListLinesOfBoardsAndOfThePictureHead) {
    auto flag = install_.MakeTile("FLAG8");
    mv::RecordingCanvas canvas;
    int y = 2000;
    flag->Module().PrintListLine(canvas, 100, y, 0, *flag->Description());
    EXPECT_EQ(y, 1955);
    ASSERT_EQ(canvas.calls().size(), 2u);
    EXPECT_EQ(canvas.calls()[0].from.x, 350);

    auto picture = install_.MakeTile("PIC");
    mv::RecordingCanvas band;
    y = 2000;
    picture->Module().PrintListLine(band, 100, y, 0, *picture->Description());
    EXPECT_EQ(y, 2000 - 30 - 120);
    ASSERT_GE(band.calls().size(), 3u);
    EXPECT_EQ(band.calls()[0].op, mv::DrawOp::FillRect);
    EXPECT_EQ(band.calls()[0].color, mv::RGB(220, 220, 220));
    EXPECT_EQ(band.calls()[0].rect.right - band.calls()[0].rect.left, 1700);
    EXPECT_EQ(band.calls()[1].from.x, 110);
    EXPECT_EQ(band.calls()[1].from.y, 1965);
}

class PictureHeadTest : public BoardKindsTest {};

TEST_F(PictureHeadTest, WidthComesFromThePicture) {
    EXPECT_EQ(install_.MakeTile("PIC")->Module().width, 299);
    // A missing picture keeps 656.
    std::filesystem::remove(install_.dir() + "/bmp/pic.bmp");
    mv::iniClearCache();
    EXPECT_EQ(install_.MakeTile("PIC")->Module().width, 656);
    // So does a file that is no bitmap.
    doctest::WriteAll(install_.dir() + "/bmp/pic.bmp", "GIF89a and more bytes than a header");
    EXPECT_EQ(install_.MakeTile("PIC")->Module().width, 656);
}

TEST_F(PictureHeadTest, LabelFileIsPrintedOnlyWhenItExists) {
    struct LabelHooks : ConfigureHooks {
        bool DrawLabelFile(mv::Canvas&, int&, const std::string& path, CModuleTile* tile) override {
            paths.push_back(path);
            tiles.push_back(tile);
            return true;
        }
        std::vector<std::string> paths;
    } hooks;
    auto picture = install_.MakeTile("PIC");
    mv::RecordingCanvas canvas;
    int y = 500;
    EXPECT_EQ(picture->Module().PrintLabel(canvas, 0, y, *picture->Description(),
                                           picture->Labels()),
              1);
    EXPECT_TRUE(hooks.paths.empty());
    install_.write("Modul/PIC.etk", "label\n");
    EXPECT_EQ(picture->Module().PrintLabel(canvas, 0, y, *picture->Description(),
                                           picture->Labels()),
              1);
    ASSERT_EQ(hooks.paths.size(), 1u);
    EXPECT_EQ(hooks.paths[0], install_.dir() + "/Modul/PIC.etk");
    EXPECT_EQ(hooks.tiles.back(), picture.get());
    EXPECT_EQ(y, 500);
}

TEST(BmpHeaderReader, SizesFromBothHeaderForms) {
    const std::string info = doctest::Install::Bmp(300, -20);
    BmpHeader h;
    ASSERT_TRUE(ParseBmpHeader(reinterpret_cast<const std::uint8_t*>(info.data()), info.size(), h));
    EXPECT_EQ(h.width, 300);
    EXPECT_EQ(h.height, -20);
    EXPECT_EQ(h.bitCount, 24);

    std::string core = info.substr(0, 26);
    core[14] = 12;
    core[18] = 64;  // 16-bit width
    core[19] = 1;
    core[20] = 5;   // 16-bit height
    core[21] = 0;
    core[22] = 1;   // planes
    core[23] = 0;
    core[24] = 8;   // bits
    core[25] = 0;
    ASSERT_TRUE(ParseBmpHeader(reinterpret_cast<const std::uint8_t*>(core.data()), core.size(), h));
    EXPECT_EQ(h.width, 320);
    EXPECT_EQ(h.height, 5);
}

TEST(BmpHeaderReader, RefusesWhatIsNoBitmap) {
    BmpHeader h;
    std::string error;
    const std::string good = doctest::Install::Bmp(10, 10);
    auto parse = [&](const std::string& bytes) {
        return ParseBmpHeader(reinterpret_cast<const std::uint8_t*>(bytes.data()), bytes.size(), h,
                              &error);
    };
    EXPECT_FALSE(parse(""));
    EXPECT_FALSE(parse(good.substr(0, 30)));
    EXPECT_EQ(error, "bitmap header cut short");
    std::string noBm = good;
    noBm[0] = 'X';
    EXPECT_FALSE(parse(noBm));
    std::string zeroWidth = doctest::Install::Bmp(0, 10);
    EXPECT_FALSE(parse(zeroWidth));
    std::string oddBits = good;
    oddBits[28] = 7;
    EXPECT_FALSE(parse(oddBits));
    std::string hugeHeader = good;
    hugeHeader[15] = 1;  // 296-byte header
    EXPECT_FALSE(parse(hugeHeader));
    EXPECT_FALSE(ReadBmpHeader("/no/such/file.bmp", h, &error));
}

} // namespace
