// Stations: the byte layouts strung together for the controller and the document's operations
// that add, insert, remove and delete tiles and stations.
#include "fixtures/doc_test_util.h"

#include "morvelan/core/channel_module.h"
#include "morvelan/core/connection.h"

#include <gtest/gtest.h>

namespace {

using Bytes = std::vector<std::uint8_t>;

class StationLayoutTest : public ::testing::Test {
protected:
    // CTRL, DIG, PARAM, WORD, NOID, DIG.
    void BuildMixed() {
        for (const char* name : {"CTRL", "DIG", "PARAM", "WORD", "NOID", "DIG"})
            Add(name);
    }
    void Add(const std::string& name) {
        doc_.AddModuleToGroup(install_.MakeTile(name));
        hooks_.selected = doc_.Station(doc_.StationCount() - 1)->Tile(0);
    }
    Bytes Value(int tile, int channel) {
        auto& m = static_cast<CChannelModule&>(doc_.Station(0)->Tile(tile)->Module());
        const CModulChannel& ch = m.Channel(channel);
        Bytes out(static_cast<std::size_t>(ch.Size()));
        ch.value.CopyTo(out.data(), out.size());
        return out;
    }

    doctest::Install install_;
    doctest::Hooks hooks_{install_};
    mvtest::RecordingHooks app_;
    CMorvelanDoc doc_;
};

TEST_F(StationLayoutTest, ParameterBufferStringsTheBlocksInTileOrder) {
    BuildMixed();
    Bytes buffer(kParameterBufferBytes, 0xEE);
    int total = -1;
    EXPECT_EQ(doc_.GatherGroupData(0, buffer.data(), kParameterBufferBytes, total), 9);
    EXPECT_EQ(total, 9);
    // DIG: parameter 1 in bits 1-2 plus bit 0 of every channel; WORD: 4 bytes; NOID: 1 byte.
    const Bytes expected{0x03, 0x01, 0x01, 0x00, 0x00, 0x00, 0x01, 0x03, 0x01, 0xEE};
    EXPECT_EQ(Bytes(buffer.begin(), buffer.begin() + 10), expected);
}

TEST_F(StationLayoutTest, ModuleTableLeavesOutTheHeadAndIdZero) {
    BuildMixed();
    Bytes buffer(64, 0xEE);
    int length = -1;
    EXPECT_EQ(doc_.BuildModuleTable(0, buffer.data(), 64, length), 1);
    EXPECT_EQ(length, 4 + 6 * 4);
    const Bytes expected{0x08, 0x00, 0x04, 0x00,                 // total 8, 4 entries
                         0x10, 0x21, 0x02, 0x00, 0x00, 0x00,     // DIG 8464, 2 bytes at 0
                         0xAA, 0x0F, 0x00, 0x00, 0x02, 0x00,     // PARAM 4010, 0 bytes at 2
                         0x04, 0x31, 0x04, 0x00, 0x02, 0x00,     // WORD 12548, 4 bytes at 2
                         0x10, 0x21, 0x02, 0x00, 0x06, 0x00,     // DIG, 2 bytes at 6
                         0xEE};
    EXPECT_EQ(Bytes(buffer.begin(), buffer.begin() + 29), expected);
}

TEST_F(StationLayoutTest, HeadOnlyStationGivesNoTableAndNoBytes) {
    Add("CTRL");
    Bytes buffer(16, 0xEE);
    int length = -1;
    int total = -1;
    EXPECT_EQ(doc_.BuildModuleTable(0, buffer.data(), 16, length), 1);
    EXPECT_EQ(length, 0);
    EXPECT_EQ(buffer, Bytes(16, 0xEE));
    EXPECT_EQ(doc_.GatherGroupData(0, buffer.data(), 16, total), 0);
    EXPECT_EQ(total, 0);
}

TEST_F(StationLayoutTest, TableThatDoesNotFitKeepsOnlyWholeEntries) {
    BuildMixed();
    Bytes buffer(16, 0xEE);
    int length = -1;
    EXPECT_EQ(doc_.BuildModuleTable(0, buffer.data(), 16, length), 0);
    EXPECT_EQ(length, 16);
    EXPECT_EQ(buffer[2], 2);  // two entries fitted
    EXPECT_EQ(buffer[0], 2);  // their sizes: 2 + 0
}

TEST_F(StationLayoutTest, InputsAreSharedOutPastBoardsWithoutBytes) {
    BuildMixed();
    Bytes image(kInputImageBytes);
    for (std::size_t i = 0; i < image.size(); ++i)
        image[i] = static_cast<std::uint8_t>(0x10 + i);
    doc_.DistributeInputs(0, image.data());
    EXPECT_EQ(Value(1, 0), Bytes{0x10});
    EXPECT_EQ(Value(1, 1), Bytes{0x11});
    EXPECT_EQ(Value(3, 0), (Bytes{0x12, 0x13, 0x14, 0x15}));
    EXPECT_EQ(Value(4, 0), Bytes{0x16});  // ID 0 still takes its byte
    EXPECT_EQ(Value(5, 0), Bytes{0x17});
    EXPECT_EQ(Value(5, 1), Bytes{0x18});
}

TEST_F(StationLayoutTest, ModulesPastTheImageKeepTheirValues) {
    Add("CTRL");
    for (int i = 0; i < 65; ++i)
        Add("WORD");  // 65 x 4 bytes: the last board lies past the 256-byte image
    auto& last = static_cast<CChannelModule&>(doc_.Station(0)->Tile(65)->Module());
    const std::uint8_t before[4] = {1, 2, 3, 4};
    last.Channel(0).value.CopyFrom(before, 4);

    Bytes image(kInputImageBytes, 0x5A);
    doc_.DistributeInputs(0, image.data());
    EXPECT_EQ(Value(64, 0), (Bytes{0x5A, 0x5A, 0x5A, 0x5A}));
    EXPECT_EQ(Value(65, 0), (Bytes{1, 2, 3, 4}));

    // The parameter buffer of one frame ends after 255 bytes, whatever the modules want.
    Bytes frame(kParameterBufferBytes, 0);
    int total = 0;
    EXPECT_EQ(doc_.GatherGroupData(0, frame.data(), kParameterBufferBytes, total), 255);
}

TEST_F(StationLayoutTest, BadStationIndexGivesNothing) {
    BuildMixed();
    Bytes buffer(16, 0xEE);
    int total = -1;
    int length = -1;
    EXPECT_EQ(doc_.GatherGroupData(3, buffer.data(), 16, total), 0);
    EXPECT_EQ(doc_.BuildModuleTable(-1, buffer.data(), 16, length), 0);
    EXPECT_EQ(total, 0);
    EXPECT_EQ(length, 0);
    doc_.DistributeInputs(7, buffer.data());
    EXPECT_EQ(buffer, Bytes(16, 0xEE));
}

class StationOperationTest : public StationLayoutTest {};

TEST_F(StationOperationTest, HeadsStartStationsAndBoardsJoinTheSelectedOnesStation) {
    Add("CTRL");
    Add("PIC");
    ASSERT_EQ(doc_.StationCount(), 2);
    EXPECT_EQ(doc_.Station(1)->Tile(0)->m_Station, 1);

    hooks_.selected = doc_.Station(0)->Tile(0);
    doc_.AddModuleToGroup(install_.MakeTile("DIG"));
    EXPECT_EQ(doc_.Station(0)->TileCount(), 2);
    // A board selected instead of a head: the new board joins that board's station.
    hooks_.selected = doc_.Station(0)->Tile(1);
    doc_.AddModuleToGroup(install_.MakeTile("WORD"));
    EXPECT_EQ(doc_.Station(0)->TileCount(), 3);
    EXPECT_EQ(doc_.Station(0)->Tile(2)->m_Station, 0);
    // Nothing selected: the last station.
    hooks_.selected = nullptr;
    doc_.AddModuleToGroup(install_.MakeTile("FLAG"));
    EXPECT_EQ(doc_.Station(1)->TileCount(), 2);
    EXPECT_EQ(doc_.Station(1)->Tile(1)->m_Station, 1);
}

TEST_F(StationOperationTest, InsertShiftsTheBoardsBehind) {
    hooks_.scroll = 3;
    Add("CTRL");
    Add("DIG");
    Add("WORD");
    auto tile = install_.MakeTile("FLAG");
    CModuleTile* inserted = doc_.InsertModuleAt(tile, 1);
    ASSERT_NE(inserted, nullptr);
    EXPECT_EQ(tile, nullptr);
    const CStation& s = *doc_.Station(0);
    ASSERT_EQ(s.TileCount(), 4);
    EXPECT_EQ(s.Tile(1), inserted);
    EXPECT_EQ(inserted->m_Slot, 1);
    EXPECT_EQ(s.Tile(2)->m_Slot, 1);  // DIG was 0
    EXPECT_EQ(s.Tile(3)->m_Slot, 2);
    EXPECT_EQ(s.Tile(3)->x, 3 * 41 + 82 - 21 - 3);
    EXPECT_FALSE(s.Tile(3)->visible);

    auto head = install_.MakeTile("CTRL");
    EXPECT_EQ(doc_.InsertModuleAt(head, 1), nullptr);
    EXPECT_NE(head, nullptr);
    auto late = install_.MakeTile("DIG");
    EXPECT_EQ(doc_.InsertModuleAt(late, 9), nullptr);
    EXPECT_EQ(s.TileCount(), 4);
}

TEST_F(StationOperationTest, RemoveGivesTheNextTileOrTheOneBefore) {
    Add("CTRL");
    Add("DIG");
    Add("WORD");
    Add("FLAG");
    std::unique_ptr<CModuleTile> removed;
    CStation& s = *doc_.Station(0);
    CModuleTile* word = s.Tile(2);
    CModuleTile* flag = s.Tile(3);
    EXPECT_EQ(doc_.RemoveModuleAt(0, 1, &removed), word);
    EXPECT_EQ(removed->Description()->m_Description, "DIG");
    EXPECT_EQ(word->m_Slot, 0);
    EXPECT_EQ(flag->x, 2 * 41 + 82 - 21);
    EXPECT_EQ(doc_.RemoveModuleAt(0, 2), word);  // the last one: the tile before it
    EXPECT_EQ(s.TileCount(), 2);
    EXPECT_EQ(doc_.RemoveModuleAt(0, 5), nullptr);
}

TEST_F(StationOperationTest, DeletingAStationRenumbersTheLaterOnes) {
    Add("CTRL");
    Add("DIG");
    Add("CTRL");
    Add("WORD");
    Add("PIC");
    doc_.DeleteGroup(0);
    ASSERT_EQ(doc_.StationCount(), 2);
    EXPECT_EQ(doc_.Station(0)->Tile(0)->m_Station, 0);
    EXPECT_EQ(doc_.Station(0)->Tile(1)->m_Station, 0);
    EXPECT_EQ(doc_.Station(1)->Tile(0)->m_Station, 1);
    doc_.HideAllModules();
    EXPECT_FALSE(doc_.Station(0)->Tile(0)->visible);
    doc_.DeleteContents();
    EXPECT_EQ(doc_.StationCount(), 0);
}

} // namespace
