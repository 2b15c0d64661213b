#include "module_test_util.h"

#include "morvelan/core/channel_module.h"
#include "morvelan/core/controller_module.h"
#include "morvelan/core/module_factory.h"
#include "morvelan/core/app_profile.h"
#include "morvelan/core/param_number.h"
#include "platform/recording_canvas.h"
#include "tests/test_paths.h"

#include <gtest/gtest.h>

#include <algorithm>

namespace {

const char* const kBoard = R"([FILEINFO]
Protocol_ID=1
Device=Morvelan
[MORVELAN]
Description=TB-IO
Name=100
ID=77
Typ=2
Channel=4
[K1]
Name=101
Skale=1
Offset=0
Unit=V
Mode=1
Datatype=2
Parameter=2
[K1P1]
Name=110
Bit=3
BitCount=2
Default=3
Max=3
[K1P2]
Name=111
Bit=5
BitCount=3
Select=2
Default=1
[K1P2S1]
Text=120
Value=1
[K1P2S2]
Text=121
Value=2
[K2]
Name=102
Skale=0.5
Offset=10
Unit=mA
Mode=3
Datatype=3
Mask=5
[K3]
Name=103
Skale=1
Offset=0
Datatype=4
Parameter=1
[K3P1]
Name=112
Bit=30
BitCount=8
[K4]
Name=104
Offset=0
Datatype=2
[English]
100=Test board
101=Input A
102=Current
103=Counter
110=Range
[Default]
101=Default A
111=Filter
104=Lost
120=slow
121=fast
)";

class ChannelModuleTest : public ::testing::Test {
protected:
    void SetUp() override {
        path_ = install_.write("Modul/TB-IO.kvn", kBoard);
        module_.LoadDescription(path_);
        description_.m_FileName = "TB-IO.kvn";
        description_.m_Description = "TB-IO";
        description_.m_DisplayName = "Test board";
    }

    mvtest::TempInstall install_;
    mvtest::RecordingHooks hooks_;
    std::string path_;
    CChannelModule module_;
    CModuleDescription description_;
};

TEST_F(ChannelModuleTest, TableEndsAtTheFirstChannelWithoutScale) {
    ASSERT_EQ(module_.ChannelCount(), 4);
    EXPECT_EQ(module_.Channel(0).name, "Input A");
    EXPECT_EQ(module_.Channel(0).unit, "V");
    EXPECT_EQ(module_.Channel(0).mask, -1);
    EXPECT_EQ(module_.Channel(1).mask, 5);
    EXPECT_FLOAT_EQ(module_.Channel(1).scale, 0.5f);
    EXPECT_FLOAT_EQ(module_.Channel(1).offset, 10.0f);
    // The fourth channel has no scale: it keeps the name read before, stays zero otherwise and
    // takes no bytes.
    const CModulChannel& cut = module_.Channel(3);
    EXPECT_EQ(cut.name, "Lost");
    EXPECT_EQ(cut.dataType, 0);
    EXPECT_TRUE(cut.params.empty());
    EXPECT_EQ(module_.GetDataSize(), 1 + 2 + 4);
    EXPECT_EQ(module_.GetExtraListRows(), 3);
    EXPECT_EQ(module_.width, 41);
}

TEST_F(ChannelModuleTest, ParametersAndChoicesComeFromTheDescription) {
    const auto& params = module_.Channel(0).params;
    ASSERT_EQ(params.size(), 2u);
    EXPECT_EQ(params[0].name, "Range");
    EXPECT_EQ(params[0].value, 3);
    EXPECT_FLOAT_EQ(params[0].maximum, 3.0f);
    EXPECT_EQ(params[1].name, "Filter");
    ASSERT_EQ(params[1].choices.size(), 2u);
    EXPECT_EQ(params[1].choices[1].name, "fast");
    EXPECT_EQ(params[1].GetValueText(), "slow");
    // A parameter without a text of its own is named "NIX".
    EXPECT_EQ(module_.Channel(2).params[0].name, "NIX");
}

TEST_F(ChannelModuleTest, DeclaredRecordsAfterAGapAreReadWithTheirDefaults) {
    // Two parameters declared, only the second described; two choices, only the second.
    const std::string path = install_.write(
        "Modul/GAP.kvn", "[MORVELAN]\nChannel=1\n[K1]\nSkale=1\nOffset=0\nDatatype=2\n"
                         "Parameter=2\n[K1P2]\nBit=3\nBitCount=2\nDefault=3\nSelect=2\n"
                         "[K1P2S2]\nValue=3\n");
    hooks_.messages.clear();
    CChannelModule board;
    board.LoadDescription(path);
    ASSERT_EQ(board.Channel(0).params.size(), 2u);
    EXPECT_EQ(board.Channel(0).params[0].name, "NIX");
    const CModulParam& p = board.Channel(0).params[1];
    ASSERT_EQ(p.choices.size(), 2u);
    EXPECT_EQ(p.choices[0].name, "NIX");
    EXPECT_EQ(p.choices[0].value, 0);
    EXPECT_EQ(p.choices[1].value, 3);
    std::uint8_t block[2] = {};
    int count = 0;
    board.PutParameterBlock(block, sizeof block, count);
    EXPECT_EQ(block[0], 0x19);
    board.SaveToProject(0, 1, install_.dir() + "/gap.mvl");
    EXPECT_EQ(mv::iniReadString(install_.dir() + "/gap.mvl", "M0P1K0", "P1"), "3");
    EXPECT_TRUE(board.Warnings().empty());
    EXPECT_TRUE(hooks_.messages.empty());
}

TEST_F(ChannelModuleTest, HostileCountsAreCutAndToldInOneMessage) {
    // Under 60 KB that declares 1024 channels of 1024 parameters of 1024 choices each.
    std::string text = "[MORVELAN]\r\nChannel=1024\r\n";
    for (int k = 1; k <= 1024; ++k) {
        text += mv::FormatC("[K%d]\r\nSkale=1\r\nOffset=0\r\nDatatype=1\r\nParameter=1024\r\n", k);
        if (k <= 2)
            text += mv::FormatC("[K%dP1]\r\nSelect=1024\r\n[K%dP1S1]\r\nValue=7\r\n", k, k);
    }
    ASSERT_LT(text.size(), 60000u);
    const std::string path = install_.write("Modul/HOSTILE.kvn", text);
    hooks_.messages.clear();
    CChannelModule board;
    board.LoadDescription(path);
    ASSERT_EQ(board.ChannelCount(), kMaxChannels);
    std::size_t params = 0;
    for (int k = 0; k < board.ChannelCount(); ++k)
        params += board.Channel(k).params.size();
    EXPECT_EQ(params, std::size_t{kMaxChannels} * kMaxChannelParams);
    ASSERT_EQ(board.Channel(1).params[0].choices.size(), std::size_t{kMaxParamChoices});
    EXPECT_EQ(board.Channel(1).params[0].choices[0].value, 7);
    // Each cut is one problem: the channel count, every channel's parameters, two choice lists.
    ASSERT_EQ(board.Warnings().size(), 1u + kMaxChannels + 2u);
    EXPECT_EQ(board.Warnings()[0], "channel count 1024 outside 0..256");
    EXPECT_EQ(board.Warnings()[2], "parameter K1P1 declares 1024 choices, 256 are read");
    ASSERT_EQ(hooks_.messages.size(), 1u);
    EXPECT_EQ(hooks_.messages[0].line1, path);
    EXPECT_EQ(hooks_.messages[0].caption, "Error");
    const std::string& list = hooks_.messages[0].line2;
    EXPECT_EQ(list.substr(0, list.find('\n')), "channel count 1024 outside 0..256");
    EXPECT_EQ(std::count(list.begin(), list.end(), '\n'), 10);
    EXPECT_EQ(list.substr(list.rfind('\n') + 1), "... and 249 more");
}

TEST_F(ChannelModuleTest, ChoicesOfTheWholeDescriptionAreCapped) {
    // 260 parameters of 256 choices each: the 256 first fill what one description may hold.
    std::string text = "[MORVELAN]\nChannel=5\n";
    for (int k = 1; k <= 5; ++k) {
        text += mv::FormatC("[K%d]\nSkale=1\nOffset=0\nDatatype=4\nParameter=52\n", k);
        for (int m = 1; m <= 52; ++m)
            text += mv::FormatC("[K%dP%d]\nSelect=256\n", k, m);
    }
    CChannelModule board;
    board.LoadDescription(install_.write("Modul/MANY.kvn", text));
    std::size_t choices = 0;
    for (int k = 0; k < board.ChannelCount(); ++k)
        for (const CModulParam& p : board.Channel(k).params)
            choices += p.choices.size();
    EXPECT_EQ(choices, std::size_t{kMaxDescriptionChoices});
    EXPECT_EQ(board.Warnings(), (std::vector<std::string>{
                                    "more than 65536 choices in the description; those from "
                                    "parameter K5P49 on are not read"}));
}

TEST_F(ChannelModuleTest, ParameterPastItsChannelIsClippedWithAWarning) {
    EXPECT_EQ(module_.Channel(2).params[0].bitCount, 2);
    ASSERT_FALSE(module_.Warnings().empty());
    EXPECT_NE(module_.Warnings().front().find("K3P1"), std::string::npos);
    ASSERT_EQ(hooks_.messages.size(), 1u);
    EXPECT_EQ(hooks_.messages[0].line1, path_);
}

TEST_F(ChannelModuleTest, ParameterBlockPacksBitsAndForcesBitZero) {
    std::uint8_t block[16];
    std::fill(std::begin(block), std::end(block), 0xEE);
    int count = -1;
    module_.PutParameterBlock(block, sizeof block, count);
    EXPECT_EQ(count, 7);
    // Channel 1: value 3 at bits 3..4, value 1 at bits 5..7, bit 0 forced.
    EXPECT_EQ(block[0], 0x18 | 0x20 | 0x01);
    // Channels without parameters still carry bit 0 in their first byte.
    EXPECT_EQ(block[1], 0x01);
    EXPECT_EQ(block[2], 0x00);
    EXPECT_EQ(block[3], 0x01);
    EXPECT_EQ(block[6], 0x00);
    EXPECT_EQ(block[7], 0xEE);
}

TEST_F(ChannelModuleTest, ParameterBlockNeverWritesPastTheRoomLeft) {
    std::uint8_t block[8];
    std::fill(std::begin(block), std::end(block), 0xEE);
    int count = 0;
    module_.PutParameterBlock(block, 2, count);
    EXPECT_EQ(count, 7);
    EXPECT_EQ(block[1], 0x01);
    EXPECT_EQ(block[2], 0xEE);
}

TEST_F(ChannelModuleTest, TakingABlockBackReadsVersionAndValues) {
    EXPECT_EQ(module_.GetVersion(), -1);
    const std::uint8_t block[] = {0x25 | 0x18 | 0x40, 0x00, 0x00, 0x00, 0x00, 0x00, 0x80};
    int count = 0;
    module_.TakeParameterBlock(0, block, sizeof block, count);
    EXPECT_EQ(count, 7);
    EXPECT_EQ(module_.GetVersion(), (0x25 | 0x18 | 0x40) & 0x0F);
    EXPECT_EQ(module_.Channel(0).params[0].value, 3);
    EXPECT_EQ(module_.Channel(0).params[1].value, 0x7D >> 5);
    EXPECT_EQ(module_.Channel(2).params[0].value, 2);

    const std::uint8_t versioned[] = {0x25};
    module_.TakeParameterBlock(0, versioned, 1, count);
    EXPECT_EQ(module_.GetVersion(), 5);
    // Bytes the reply does not hold read as zero.
    EXPECT_EQ(module_.Channel(2).params[0].value, 0);
}

TEST_F(ChannelModuleTest, InputsAndOutputsSitAtTheirBytePositions) {
    const std::uint8_t inputs[] = {0xAA, 0x34, 0x12, 0x78, 0x56, 0x34, 0x12, 0x99};
    int count = 0;
    module_.TakeInputs(inputs, sizeof inputs, count);
    EXPECT_EQ(count, 7);
    EXPECT_EQ(module_.Channel(0).value.GetAsInt(2), 0xAA);
    EXPECT_EQ(module_.Channel(1).value.GetAsInt(3), 0x1234);
    EXPECT_EQ(module_.Channel(2).value.GetAsInt(4), 0x12345678);

    module_.Channel(1).value.SetWord(0xBEEF);
    std::uint8_t out[9];
    std::fill(std::begin(out), std::end(out), 0);
    module_.PutOutputs(out, sizeof out, count);
    EXPECT_EQ(count, 7);
    const std::uint8_t expected[] = {0xAA, 0xEF, 0xBE, 0x78, 0x56, 0x34, 0x12, 0x00, 0x00};
    EXPECT_TRUE(std::equal(std::begin(out), std::end(out), std::begin(expected)));

    // A short buffer: only what fits is read or written.
    std::uint8_t small[2] = {0x11, 0x22};
    module_.TakeInputs(small, 2, count);
    EXPECT_EQ(count, 7);
    EXPECT_EQ(module_.Channel(1).value.Data()[0], 0x22);
    EXPECT_EQ(module_.Channel(2).value.GetAsInt(4), 0x12345678);
}

TEST_F(ChannelModuleTest, ProjectKeysRoundTrip) {
    const std::string project = install_.dir() + "/p.mvl";
    module_.SetChannelMask(1, 9);
    module_.Channel(0).params[0].value = 2;
    module_.SaveToProject(0, 1, project);
    EXPECT_EQ(mv::iniReadString(project, "M0P1K1", "M1"), "9");
    EXPECT_EQ(mv::iniReadString(project, "M0P1K0", "P0"), "2");
    EXPECT_EQ(mv::iniReadString(project, "M0P1K0", "M0"), "-1");

    // A save that fails names its first section, not the file.
    std::vector<std::string> errors;
    mv::setErrorBoxSink([&](const std::string&, const std::string& text) {
        errors.push_back(text);
    });
    module_.SaveToProject(3, 4, install_.dir() + "/no/such/folder/p.mvl");
    mv::setErrorBoxSink({});
    ASSERT_EQ(errors.size(), 1u);
    EXPECT_EQ(errors[0].rfind("SAVE M3P4K0 FAILURE: ", 0), 0u) << errors[0];

    CChannelModule again;
    again.LoadDescription(path_);
    again.LoadFromProject(0, 1, project);
    EXPECT_EQ(again.GetChannelMask(1), 9);
    EXPECT_EQ(again.Channel(0).params[0].value, 2);
    EXPECT_EQ(again.Channel(0).params[1].value, 1);
    // Missing keys take the defaults.
    again.LoadFromProject(3, 3, project);
    EXPECT_EQ(again.GetChannelMask(0), -1);
    EXPECT_EQ(again.Channel(0).params[0].value, 0);
    EXPECT_EQ(again.GetChannelMask(17), -1);
}

TEST_F(ChannelModuleTest, OutputStepsWalkThroughTheStepFileAndWrap) {
    const std::string steps = install_.write("Modul/fertigung/TB-IO.out",
                                             "[OUT]\nSteps=3\n[K1]\n0=1\n1=2\n2=300\n[K2]\n1=-1\n");
    std::vector<int> seen;
    for (int i = 0; i < 4; ++i) {
        module_.NextOutputStep(steps);
        seen.push_back(module_.Channel(0).value.GetAsInt(2));
        if (i == 1) {
            EXPECT_EQ(module_.Channel(1).value.GetAsInt(3), 0xFFFF);
        }
    }
    EXPECT_EQ(seen, (std::vector<int>{1, 2, 300 & 0xFF, 1}));
    EXPECT_EQ(module_.Step(), 1);

    // A file without steps changes nothing.
    module_.NextOutputStep(install_.dir() + "/Modul/fertigung/none.out");
    EXPECT_EQ(module_.Step(), 1);
}

TEST_F(ChannelModuleTest, StepFilesSetBooleans) {
    const std::string path = install_.write(
        "Modul/B.kvn", "[MORVELAN]\nChannel=1\n[K1]\nSkale=1\nOffset=0\nDatatype=1\n");
    CChannelModule board;
    board.LoadDescription(path);
    const std::string steps =
        install_.write("Modul/fertigung/B.out", "[OUT]\nSteps=2\n[K1]\n0=1\n1=0\n");
    board.NextOutputStep(steps);
    EXPECT_EQ(board.Channel(0).value.ToText(1), "TRUE");
    board.NextOutputStep(steps);
    EXPECT_EQ(board.Channel(0).value.ToText(1), "FALSE");
}

TEST_F(ChannelModuleTest, UnknownDataTypeKeepsItsSizeButCopiesOnlyWhatFits) {
    const std::string path = install_.write(
        "Modul/U.kvn", "[MORVELAN]\nChannel=1\n[K1]\nSkale=1\nOffset=0\nDatatype=200\n");
    CChannelModule board;
    board.LoadDescription(path);
    EXPECT_EQ(board.GetDataSize(), 200);
    EXPECT_FALSE(board.Warnings().empty());
    std::vector<std::uint8_t> image(256, 0x5A);
    int count = 0;
    board.TakeInputs(image.data(), static_cast<int>(image.size()), count);
    EXPECT_EQ(count, 200);
    std::vector<std::uint8_t> out(256, 0);
    board.PutOutputs(out.data(), static_cast<int>(out.size()), count);
    EXPECT_EQ(count, 200);
    EXPECT_EQ(out[103], 0x5A);
    EXPECT_EQ(out[104], 0x00);
}

TEST_F(ChannelModuleTest, ChannelsWithoutBytesTakeNothingAndSetNoBit) {
    const std::string path = install_.write(
        "Modul/F.kvn",
        "[MORVELAN]\nChannel=2\n[K1]\nSkale=1\nOffset=0\nDatatype=9\nParameter=1\n"
        "[K1P1]\nBit=0\nBitCount=4\nDefault=5\n[K2]\nSkale=1\nOffset=0\nDatatype=10\n");
    CChannelModule board;
    board.LoadDescription(path);
    EXPECT_EQ(board.GetDataSize(), 0);
    std::uint8_t block[4] = {0xEE, 0xEE, 0xEE, 0xEE};
    int count = -1;
    board.PutParameterBlock(block, sizeof block, count);
    EXPECT_EQ(count, 0);
    EXPECT_EQ(block[0], 0xEE);
    board.TakeInputs(block, sizeof block, count);
    EXPECT_EQ(count, 0);
    board.PutOutputs(block, sizeof block, count);
    EXPECT_EQ(count, 0);
    EXPECT_EQ(block[0], 0xEE);
}

TEST_F(ChannelModuleTest, ListViewRedrawsOnlyChangedChannels) {
    mv::RecordingCanvas dc;
    module_.DrawStatic(dc);
    const auto names = dc.texts();
    ASSERT_EQ(names.size(), 4u);
    EXPECT_EQ(names[0], "Input A");
    EXPECT_EQ(dc.callsOf(mv::DrawOp::TextOut)[1].from, (mv::POINT{155, 21}));

    dc.clear();
    module_.DrawLiveValues(dc);
    EXPECT_EQ(dc.callsOf(mv::DrawOp::TextOut).size(), 4u);

    dc.clear();
    module_.DrawLiveValues(dc);
    EXPECT_TRUE(dc.calls().empty());

    module_.Channel(1).value.SetWord(0x1234);
    module_.DrawLiveValues(dc);
    const auto drawn = dc.callsOf(mv::DrawOp::TextOut);
    ASSERT_EQ(drawn.size(), 1u);
    EXPECT_EQ(drawn[0].from, (mv::POINT{375, 21}));
    EXPECT_EQ(drawn[0].text, "  2340.000 mA");
    EXPECT_EQ(drawn[0].state.font.face, "Courier New");
}

TEST_F(ChannelModuleTest, ListViewIgnoresBytesBeyondTheChannel) {
    mv::RecordingCanvas dc;
    module_.DrawStatic(dc);
    module_.DrawLiveValues(dc);
    // A byte past the one-byte first channel changes, its own byte does not: nothing to draw.
    module_.Channel(0).value.Data()[1] = 0x5A;
    dc.clear();
    module_.DrawLiveValues(dc);
    EXPECT_TRUE(dc.callsOf(mv::DrawOp::TextOut).empty());
    EXPECT_EQ(module_.Channel(0).value.Data()[1], 0);
    // Its own byte changes: drawn once.
    module_.Channel(0).value.SetByte(0x03);
    module_.DrawLiveValues(dc);
    const auto drawn = dc.callsOf(mv::DrawOp::TextOut);
    ASSERT_EQ(drawn.size(), 1u);
    EXPECT_EQ(drawn[0].text, "  11000000");
    EXPECT_EQ(drawn[0].from, (mv::POINT{375, 1}));
}

TEST_F(ChannelModuleTest, LiveValueTextsInScaledHexAndDecimalForm) {
    module_.Channel(0).value.SetByte(0x05);
    module_.Channel(1).value.SetWord(0xFFFE);
    module_.Channel(2).value.SetLong(0xFFFFFFFFu);
    EXPECT_EQ(module_.LiveValueText(0), "  10100000");
    EXPECT_EQ(module_.LiveValueText(2), "");
    hooks_.scaled = false;
    hooks_.hex = true;
    EXPECT_EQ(module_.LiveValueText(0), "         5h");
    EXPECT_EQ(module_.LiveValueText(1), "      FFFEh");
    EXPECT_EQ(module_.LiveValueText(2), "  FFFFFFFFh");
    EXPECT_EQ(module_.LiveValueText(3), "         0h");
    hooks_.hex = false;
    EXPECT_EQ(module_.LiveValueText(1), "     65534");
    EXPECT_EQ(module_.LiveValueText(2), "        -1");
}

TEST_F(ChannelModuleTest, ScaledValueOfAWholeScaleUsesTheValueText) {
    const std::string path = install_.write(
        "Modul/S.kvn",
        "[MORVELAN]\nChannel=1\n[K1]\nSkale=2\nOffset=1.5\nUnit=bar\nMode=3\nDatatype=9\n");
    CChannelModule board;
    board.LoadDescription(path);
    board.Channel(0).value.FromText("2.25", 9);
    EXPECT_EQ(board.LiveValueText(0), "     6.000 bar");
}

TEST_F(ChannelModuleTest, TileLampsDrawnOnceAndAgainOnChange) {
    mv::RecordingCanvas dc;
    module_.drawState = kDrawStateReset;
    module_.Channel(0).value.SetByte(0x81);
    module_.DrawLiveState(dc, 2);
    EXPECT_EQ(module_.drawState, kDrawStateDrawn);
    const auto numbers = dc.callsOf(mv::DrawOp::TextOut);
    ASSERT_EQ(numbers.size(), 8u);
    EXPECT_EQ(numbers[7].text, " 7");
    EXPECT_EQ(numbers[7].from, (mv::POINT{9, 90 + 18 * 7}));
    EXPECT_EQ(numbers[0].state.textColor, mv::RGB(127, 0, 0));
    const auto lamps = dc.callsOf(mv::DrawOp::Bitmap);
    ASSERT_EQ(lamps.size(), 8u);
    EXPECT_EQ(lamps[0].bitmap.resourceId, 164);
    EXPECT_EQ(lamps[1].bitmap.resourceId, 165);
    EXPECT_EQ(lamps[7].bitmap.resourceId, 164);
    EXPECT_EQ(lamps[0].from, (mv::POINT{23, 90}));

    dc.clear();
    module_.DrawLiveState(dc, 2);
    EXPECT_TRUE(dc.calls().empty());
    module_.Channel(0).value.SetByte(0x02);
    module_.DrawLiveState(dc, 3);
    const auto odd = dc.callsOf(mv::DrawOp::Bitmap);
    ASSERT_EQ(odd.size(), 8u);
    EXPECT_EQ(odd[1].bitmap.resourceId, 164);
    EXPECT_EQ(odd[1].from, (mv::POINT{3, 108}));
}

TEST_F(ChannelModuleTest, ListLinePrintsChannelsAndParameterValues) {
    mv::RecordingCanvas dc;
    int y = -100;
    module_.PrintListLine(dc, 5, y, 2700, description_);
    const auto texts = dc.texts();
    ASSERT_GE(texts.size(), 4u);
    EXPECT_EQ(texts[0], "TB-IO");
    EXPECT_EQ(texts[1], "Test board");
    EXPECT_EQ(texts[2], "Input A");
    EXPECT_EQ(texts[3], "Range: 3");
    EXPECT_EQ(texts[4], "Filter: slow");
    // 45 for the module, 35 per channel (4) and per parameter (3).
    EXPECT_EQ(y, -100 - 45 - 4 * 35 - 3 * 35);
}

TEST_F(ChannelModuleTest, LabelPrintsAtMostFourteenPinLines) {
    std::string pins;
    for (int i = 1; i <= 16; ++i) {
        pins += "pin " + std::to_string(i) + "\n";
    }
    install_.write("Modul/TB-IO.pin", pins);
    mv::RecordingCanvas dc;
    LabelContext label;
    label.lines = {"L1", "L2", "L3"};
    int y = -200;
    EXPECT_EQ(module_.PrintLabel(dc, 0, y, description_, label), 1);
    EXPECT_EQ(y, -325);
    const auto texts = dc.texts();
    EXPECT_NE(std::find(texts.begin(), texts.end(), "TB-IO"), texts.end());
    EXPECT_NE(std::find(texts.begin(), texts.end(), "L3"), texts.end());
    EXPECT_NE(std::find(texts.begin(), texts.end(), " 1: pin 1"), texts.end());
    EXPECT_NE(std::find(texts.begin(), texts.end(), "14: pin 14"), texts.end());
    EXPECT_EQ(std::find(texts.begin(), texts.end(), "15: pin 15"), texts.end());

    // Without a pin list the label still prints.
    std::filesystem::remove(install_.dir() + "/Modul/TB-IO.pin");
    dc.clear();
    module_.PrintLabel(dc, 0, y, description_, label);
    EXPECT_EQ(dc.texts().size(), 4u);
}

TEST(ModuleFactory, MakesTheClassOfTheKindForProtocolOne) {
    int tileKind = 0;
    auto board = CreateModule(1, 2, &tileKind);
    ASSERT_TRUE(board);
    EXPECT_EQ(tileKind, 2);
    EXPECT_EQ(board->width, 41);
    EXPECT_NE(dynamic_cast<CChannelModule*>(board.get()), nullptr);

    auto head = CreateModule(1, 1, &tileKind);
    ASSERT_TRUE(head);
    EXPECT_EQ(tileKind, 1);
    EXPECT_EQ(head->width, 82);

    EXPECT_FALSE(CreateModule(0, 2, &tileKind));
    EXPECT_FALSE(CreateModule(1, 9, &tileKind));
    CreateModule(1, 5, &tileKind);
    EXPECT_EQ(tileKind, 1);

    struct Flag : CModule {
        Flag() { width = 41; }
    };
    SetModuleCreator(3, []() -> std::unique_ptr<CModule> { return std::make_unique<Flag>(); });
    auto flag = CreateModule(1, 3, &tileKind);
    ASSERT_TRUE(flag);
    EXPECT_EQ(tileKind, 3);
    // Kinds without bytes answer with the shared defaults.
    std::uint8_t buffer[4] = {7, 7, 7, 7};
    int count = -1;
    flag->PutParameterBlock(buffer, 4, count);
    EXPECT_EQ(count, 0);
    flag->TakeInputs(buffer, 4, count);
    EXPECT_EQ(count, 0);
    EXPECT_EQ(buffer[0], 7);
    EXPECT_EQ(flag->GetChannelMask(0), -1);
    EXPECT_EQ(flag->GetVersion(), -1);
    SetModuleCreator(3, nullptr);
    EXPECT_FALSE(CreateModule(1, 3));
}

} // namespace

namespace {

class SampleCatalogueTest : public ::testing::Test {
protected:
    void SetUp() override {
        data_ = mvtest::SampleDataDir();
        if (data_.empty() || !std::filesystem::exists(data_ + "/Modul/A3204.kvn")) {
            GTEST_SKIP() << "sample installation not found";
        }
        ModuleDescriptionContext context;
        context.programDir = data_;
        setModuleDescriptionContext(context);
    }
    void TearDown() override { setModuleDescriptionContext(ModuleDescriptionContext{}); }

    // The descriptions of the catalogue's channel boards, with the paths they were read from.
    std::vector<std::pair<std::string, CModuleDescription>> ChannelBoards() const {
        std::vector<std::pair<std::string, CModuleDescription>> boards;
        for (const auto& entry : std::filesystem::directory_iterator(data_ + "/Modul")) {
            if (entry.path().extension() != ".kvn") {
                continue;
            }
            CModuleDescription description;
            description.m_FileName = entry.path().filename().string();
            description.Read(data_, "English");
            if (description.m_Kind == kKindChannel) {
                boards.emplace_back(entry.path().string(), description);
            }
        }
        return boards;
    }

    mvtest::RecordingHooks hooks_;
    std::string data_;
};

TEST_F(SampleCatalogueTest, AnalogueOutputBoardStepsThroughItsStepFile) {
    CModuleDescription description;
    description.m_FileName = "A3204.kvn";
    ASSERT_EQ(description.Read(data_, "English"), 1);
    CChannelModule board;
    board.LoadDescription(description.FilePath());
    ASSERT_EQ(board.ChannelCount(), 4);
    EXPECT_EQ(board.Channel(0).name, "Channel 1");
    EXPECT_EQ(board.GetDataSize(), 8);
    EXPECT_TRUE(board.Warnings().empty());

    // Parameter block: the default 1 at bits 1..2 and bit 0 in each channel's first byte.
    std::uint8_t block[8] = {};
    int count = 0;
    board.PutParameterBlock(block, sizeof block, count);
    EXPECT_EQ(count, 8);
    EXPECT_EQ(block[0], 0x03);
    EXPECT_EQ(block[2] & 0x01, 0x01);

    const std::string steps = data_ + "/Modul/fertigung/" + description.m_Description + ".out";
    const int n = mv::iniReadInt(steps, "OUT", "Steps", 0);
    ASSERT_GT(n, 1);
    board.NextOutputStep(steps);
    board.NextOutputStep(steps);
    std::uint8_t out[8] = {};
    board.PutOutputs(out, sizeof out, count);
    const int second = mv::iniReadInt(steps, "K1", "1", 0);
    EXPECT_EQ(out[0] | (out[1] << 8), second & 0xFFFF);
    for (int i = 2; i < n; ++i) {
        board.NextOutputStep(steps);
    }
    EXPECT_EQ(board.Step(), 0);
}

TEST_F(SampleCatalogueTest, EveryBoardLoadsWithinItsChannels) {
    for (const auto& [path, description] : ChannelBoards()) {
        CChannelModule board;
        board.LoadDescription(path);
        EXPECT_EQ(board.ChannelCount(), description.m_ChannelCount) << description.m_FileName;
        EXPECT_TRUE(board.Warnings().empty()) << description.m_FileName;
        std::vector<std::uint8_t> image(256, 0);
        int count = 0;
        board.TakeInputs(image.data(), 256, count);
        EXPECT_EQ(count, board.GetDataSize()) << description.m_FileName;
    }
}

TEST_F(SampleCatalogueTest, EveryStepFileBelongsToABoardOfTheCatalogue) {
    // The view finds a board's step file by the board's type name.
    std::vector<std::string> boards;
    for (const auto& board : ChannelBoards()) {
        boards.push_back(board.second.m_Description);
    }
    int files = 0;
    for (const auto& entry : std::filesystem::directory_iterator(data_ + "/Modul/fertigung")) {
        if (entry.path().extension() != ".out") {
            continue;
        }
        ++files;
        const std::string name = entry.path().stem().string();
        EXPECT_NE(std::find(boards.begin(), boards.end(), name), boards.end()) << name;
        EXPECT_GT(mv::iniReadInt(entry.path().string(), "OUT", "Steps", 0), 0) << name;
    }
    EXPECT_GT(files, 0);
}

TEST_F(SampleCatalogueTest, EveryControllerAndBoardMakesItsModule) {
    int made = 0;
    for (const auto& entry : std::filesystem::directory_iterator(data_ + "/Modul")) {
        if (entry.path().extension() != ".kvn") {
            continue;
        }
        CModuleDescription description;
        description.m_FileName = entry.path().filename().string();
        ASSERT_EQ(description.Read(data_, "English"), 1) << description.m_FileName;
        if (description.m_Kind != kKindController && description.m_Kind != kKindChannel) {
            continue;
        }
        auto module = CreateModule(description.m_ProtocolId, description.m_Kind);
        ASSERT_TRUE(module) << description.m_FileName;
        module->LoadDescription(entry.path().string());
        if (auto* head = dynamic_cast<CControllerModule*>(module.get())) {
            EXPECT_TRUE(head->Warnings().empty()) << description.m_FileName;
            EXPECT_EQ(head->ChannelCount(), description.m_ChannelCount) << description.m_FileName;
        }
        ++made;
    }
    EXPECT_GE(made, 2);
}

} // namespace
