// Import of the older binary archives: byte fixtures built here for the accepted versions, a
// refused version, and damaged files that must end with a message, never a crash.
#include "fixtures/doc_test_util.h"

#include "morvelan/core/channel_module.h"
#include "morvelan/core/import_v152_archive.h"

#include <gtest/gtest.h>

#include <sys/stat.h>

namespace {

// Builds archive bytes field by field.
class ArchiveBuilder {
public:
    ArchiveBuilder& U16(std::uint16_t v) {
        bytes.push_back(static_cast<char>(v & 0xFF));
        bytes.push_back(static_cast<char>(v >> 8));
        return *this;
    }
    ArchiveBuilder& U32(std::uint32_t v) {
        for (int i = 0; i < 4; ++i)
            bytes.push_back(static_cast<char>((v >> (8 * i)) & 0xFF));
        return *this;
    }
    ArchiveBuilder& Str(const std::string& s) {
        if (s.size() < 255) {
            bytes.push_back(static_cast<char>(s.size()));
        } else if (s.size() < 0xFFFF) {
            bytes.push_back(static_cast<char>(0xFF));
            U16(static_cast<std::uint16_t>(s.size()));
        } else {
            bytes.push_back(static_cast<char>(0xFF));
            U16(0xFFFF);
            U32(static_cast<std::uint32_t>(s.size()));
        }
        bytes += s;
        return *this;
    }
    ArchiveBuilder& Header(std::uint32_t version, std::uint32_t stations,
                           const std::string& comment = "comment") {
        return U32(version).Str("date").Str("company").Str("author").Str("name").Str(comment).U32(
            stations);
    }
    ArchiveBuilder& Station(std::uint32_t tiles) { return U32(tiles).U32(0).U32(0); }
    ArchiveBuilder& Tile(const std::string& a, const std::string& b, const std::string& file,
                         std::uint16_t channels) {
        return Str(a).Str(b).Str(file).U16(0).Str("x").Str("y").Str("z").U16(0).U16(channels).U16(
            0);
    }
    // A controller channel with `params` parameter blocks.
    ArchiveBuilder& ControllerChannel(std::uint16_t params) {
        Str("ch").U16(0).U16(0).U16(params);
        for (int i = 0; i < params; ++i)
            Str("p").U16(1).U16(2);
        return *this;
    }
    // A board channel with the given parameter values (one choice block each).
    ArchiveBuilder& BoardChannel(const std::vector<std::uint32_t>& values) {
        Str("ch").U16(static_cast<std::uint16_t>(values.size())).U16(0).U16(0).U32(0).U32(0);
        for (std::uint32_t v : values)
            Str("param").U16(0).U16(0).U16(0).U16(1).U32(0).U32(0).U32(v).Str("choice").U32(1);
        return *this;
    }

    std::string bytes;
};

class ImportV152Test : public ::testing::Test {
protected:
    std::string Write(const ArchiveBuilder& b, const std::string& name = "old.prj") {
        const std::string path = install_.dir() + "/" + name;
        doctest::WriteAll(path, b.bytes);
        return path;
    }
    CChannelModule& Board(int station, int tile) {
        return static_cast<CChannelModule&>(doc_.Station(station)->Tile(tile)->Module());
    }
    // A station: CTRL with one channel of 2 parameters, DIG with its 2 channels, FLAG.
    static ArchiveBuilder Typical(std::uint32_t version) {
        ArchiveBuilder b;
        b.Header(version, 2, "the comment");
        b.Station(3);
        b.Tile("Station A", "first station", "CTRL.kvn", 1).ControllerChannel(2);
        // DIG: channel 1 lists its one parameter, channel 2 lists none.
        b.Tile("", "", "dig.kvn", 2).BoardChannel({2}).BoardChannel({});
        b.Tile("", "", "FLAG.kvn", 0);
        b.Station(1);
        b.Tile("Station B", "", "PIC.kvn", 0);
        return b;
    }

    doctest::Install install_;
    doctest::Hooks hooks_{install_};
    mvtest::RecordingHooks app_;
    CMorvelanDoc doc_;
};

TEST_F(ImportV152Test, AcceptedVersionsImportAlike) {
    for (std::uint32_t version : {150u, 151u, 152u}) {
        SCOPED_TRACE(version);
        app_.messages.clear();
        ASSERT_EQ(doc_.ImportV152(Write(Typical(version))), 1);
        EXPECT_TRUE(app_.messages.empty());
        EXPECT_EQ(doc_.m_Date, "date");
        EXPECT_EQ(doc_.m_Company, "company");
        EXPECT_EQ(doc_.m_Author, "author");
        EXPECT_EQ(doc_.m_Name, "name");
        EXPECT_EQ(doc_.m_Comment, "the comment");
        ASSERT_EQ(doc_.StationCount(), 2);
        EXPECT_EQ(doc_.Station(0)->m_Name, "Station A");
        EXPECT_EQ(doc_.Station(0)->m_Comment, "first station");
        ASSERT_EQ(doc_.Station(0)->TileCount(), 3);
        EXPECT_EQ(Board(0, 1).Channel(0).params[0].value, 2);
        EXPECT_EQ(doc_.Station(1)->m_Name, "Station B");
        EXPECT_EQ(doc_.Station(1)->Tile(0)->Description()->m_Description, "PIC");
    }
}

TEST_F(ImportV152Test, TilesArePlacedAsTheProjectReaderDoes) {
    hooks_.scroll = 4;
    ASSERT_EQ(doc_.ImportV152(Write(Typical(152))), 1);
    const CStation& s = *doc_.Station(0);
    EXPECT_EQ(s.Tile(0)->x, 20);
    EXPECT_TRUE(s.Tile(0)->visible);
    EXPECT_EQ(s.Tile(1)->x, 20 + 82 - 4);
    EXPECT_EQ(s.Tile(2)->x, 20 + 82 + 41 - 4);
    EXPECT_FALSE(s.Tile(2)->visible);
    EXPECT_EQ(s.Tile(2)->m_Slot, 1);
    EXPECT_EQ(hooks_.treeStations, (std::vector<int>{0, 1}));
}

TEST_F(ImportV152Test, FewerParametersKeepDefaultsAndExtraOnesAreDropped) {
    ArchiveBuilder b;
    b.Header(150, 1).Station(2);
    b.Tile("S", "", "CTRL.kvn", 0);
    // Three channels with extra parameters, where the description has two channels of one
    // and no parameter.
    b.Tile("", "", "DIG.kvn", 3).BoardChannel({}).BoardChannel({5, 6}).BoardChannel({7});
    ASSERT_EQ(doc_.ImportV152(Write(b)), 1);
    EXPECT_EQ(Board(0, 1).Channel(0).params[0].value, 1);  // the description's default
    EXPECT_TRUE(Board(0, 1).Channel(1).params.empty());
    EXPECT_TRUE(app_.messages.empty());
}

TEST_F(ImportV152Test, VersionOutsideTheRangeLeavesAnEmptyProject) {
    doc_.AddModuleToGroup(install_.MakeTile("CTRL"));
    for (std::uint32_t version : {149u, 153u}) {
        app_.messages.clear();
        EXPECT_EQ(doc_.ImportV152(Write(Typical(version))), 1);
        EXPECT_EQ(doc_.StationCount(), 0);
        ASSERT_EQ(app_.messages.size(), 1u);
        EXPECT_EQ(app_.messages[0].caption, "Error");
    }
}

TEST_F(ImportV152Test, LongStringsUseTheWiderLengths) {
    const std::string name300(300, 'n');
    const std::string comment70k(70000, 'c');
    ArchiveBuilder b;
    b.Header(151, 1, comment70k).Station(1);
    b.Tile(name300, std::string(255, 'b'), "CTRL.kvn", 0);
    ASSERT_EQ(doc_.ImportV152(Write(b)), 1);
    EXPECT_EQ(doc_.m_Comment, comment70k);
    EXPECT_EQ(doc_.Station(0)->m_Name, name300);
    EXPECT_EQ(doc_.Station(0)->m_Comment, std::string(255, 'b'));
}

TEST_F(ImportV152Test, LineBreaksInOneLineTextsBecomeBlanksSoTheProjectSaves) {
    ArchiveBuilder b;
    b.U32(152).Str("1.2.\r\n99").Str("Works\rNorth").Str("A.\nB.").Str("Line\r\n\r\n7");
    b.Str("first\r\nsecond").U32(1).Station(2);
    b.Tile("Rack\n1", "left\r\nside", "CTRL.kvn", 0).Tile("", "", "DIG.kvn", 2);
    b.BoardChannel({2}).BoardChannel({});
    const std::string saved = install_.dir() + "/saved.mvl";
    doctest::WriteAll(saved, "[MAIN]\nINFO=kept\n");
    ASSERT_EQ(doc_.ImportV152(Write(b)), 1);
    ASSERT_EQ(doc_.OnSaveDocument(saved), 1);

    CMorvelanDoc reopened;
    ASSERT_EQ(reopened.OnOpenDocument(saved), 1);
    EXPECT_EQ(reopened.m_Date, "1.2. 99");
    EXPECT_EQ(reopened.m_Company, "Works North");
    EXPECT_EQ(reopened.m_Author, "A. B.");
    EXPECT_EQ(reopened.m_Name, "Line  7");
    // The comment may hold line breaks and keeps them.
    EXPECT_EQ(reopened.m_Comment, "first\r\nsecond");
    ASSERT_EQ(reopened.StationCount(), 1);
    EXPECT_EQ(reopened.Station(0)->m_Name, "Rack 1");
    EXPECT_EQ(reopened.Station(0)->m_Comment, "left side");
    ASSERT_EQ(reopened.Station(0)->TileCount(), 2);
    EXPECT_EQ(static_cast<CChannelModule&>(reopened.Station(0)->Tile(1)->Module())
                  .Channel(0)
                  .params[0]
                  .value,
              2);
    EXPECT_TRUE(app_.messages.empty());
}

TEST_F(ImportV152Test, ShortFileStopsWithAMessage) {
    const std::string whole = Typical(152).bytes;
    for (std::size_t cut : {std::size_t{2}, std::size_t{10}, whole.size() / 2, whole.size() - 1}) {
        SCOPED_TRACE(cut);
        app_.messages.clear();
        ArchiveBuilder b;
        b.bytes = whole.substr(0, cut);
        EXPECT_EQ(doc_.ImportV152(Write(b)), 0);
        ASSERT_EQ(app_.messages.size(), 1u);
        EXPECT_EQ(app_.messages[0].line1, "Damaged project archive");
        EXPECT_NE(app_.messages[0].line2.find("runs past the end"), std::string::npos);
    }
}

TEST_F(ImportV152Test, DamagedCountsAreCaughtBeforeAnyWork) {
    ArchiveBuilder stations;
    stations.Header(152, 0xFFFFFFFFu);
    EXPECT_EQ(doc_.ImportV152(Write(stations)), 0);
    EXPECT_NE(app_.messages.back().line2.find("station count"), std::string::npos);

    ArchiveBuilder tiles;
    tiles.Header(152, 1).Station(100000);
    EXPECT_EQ(doc_.ImportV152(Write(tiles)), 0);
    EXPECT_NE(app_.messages.back().line2.find("tile count"), std::string::npos);

    ArchiveBuilder text;
    text.U32(152).Str("date");
    text.bytes += "\xff\xff\xff\xff\xff\xff\x7f";  // a 32-bit length of 2 GB
    EXPECT_EQ(doc_.ImportV152(Write(text)), 0);

    ArchiveBuilder channels;
    channels.Header(152, 1).Station(2).Tile("S", "", "CTRL.kvn", 0).Tile("", "", "DIG.kvn",
                                                                         65535);
    channels.BoardChannel({1});
    EXPECT_EQ(doc_.ImportV152(Write(channels)), 0);
    EXPECT_EQ(app_.messages.size(), 4u);
}

TEST_F(ImportV152Test, UnknownTypeStopsAndSetsTheFlag) {
    ArchiveBuilder b;
    b.Header(152, 1).Station(2).Tile("S", "", "CTRL.kvn", 0).Tile("", "", "GONE.kvn", 0);
    EXPECT_EQ(doc_.ImportV152(Write(b)), 0);
    EXPECT_TRUE(hooks_.UnknownModule());
    EXPECT_EQ(doc_.Station(0)->TileCount(), 1);
    // A good import clears it again.
    EXPECT_EQ(doc_.ImportV152(Write(Typical(150))), 1);
    EXPECT_FALSE(hooks_.UnknownModule());
}

TEST_F(ImportV152Test, EmptyDescriptionNameSkipsTheTile) {
    ArchiveBuilder b;
    b.Header(152, 1).Station(3).Tile("S", "", "CTRL.kvn", 0).Tile("", "", "..", 0).Tile(
        "", "", "FLAG.kvn", 0);
    ASSERT_EQ(doc_.ImportV152(Write(b)), 1);
    EXPECT_EQ(doc_.Station(0)->TileCount(), 2);
}

TEST_F(ImportV152Test, StationTextsComeFromPositionZeroEvenWithoutATile) {
    ArchiveBuilder b;
    b.Header(152, 1).Station(2).Tile("Line 7", "spare rack", "..", 0).Tile("later", "x", "DIG.kvn",
                                                                         0);
    ASSERT_EQ(doc_.ImportV152(Write(b)), 1);
    ASSERT_EQ(doc_.StationCount(), 1);
    EXPECT_EQ(doc_.Station(0)->m_Name, "Line 7");
    EXPECT_EQ(doc_.Station(0)->m_Comment, "spare rack");
    EXPECT_EQ(doc_.Station(0)->TileCount(), 1);
}

TEST_F(ImportV152Test, BoardOfAnotherProtocolIsReadAndDropped) {
    ArchiveBuilder b;
    b.Header(152, 1).Station(3).Tile("S", "", "CTRL.kvn", 0);
    b.Tile("", "", "OTHER.kvn", 1).BoardChannel({9, 9});
    b.Tile("", "", "DIG.kvn", 1).BoardChannel({3});
    ASSERT_EQ(doc_.ImportV152(Write(b)), 1);
    EXPECT_TRUE(doc_.Station(0)->Tile(1)->IsInert());
    EXPECT_EQ(Board(0, 2).Channel(0).params[0].value, 3);
}

TEST_F(ImportV152Test, MissingFileCannotBeOpened) {
    EXPECT_EQ(doc_.ImportV152(install_.dir() + "/none.prj"), 0);
    ASSERT_EQ(app_.messages.size(), 1u);
    EXPECT_EQ(app_.messages[0].line1, "Failed to open document.");
    // Neither a device nor a pipe is read (a pipe would hold the import up for ever).
    const std::string pipe = install_.dir() + "/pipe.prj";
    ASSERT_EQ(::mkfifo(pipe.c_str(), 0600), 0);
    for (const std::string& odd : {std::string("/dev/zero"), pipe, install_.dir()}) {
        app_.messages.clear();
        EXPECT_EQ(doc_.ImportV152(odd), 0) << odd;
        ASSERT_EQ(app_.messages.size(), 1u) << odd;
        EXPECT_EQ(app_.messages[0].line2, odd);
    }
}

TEST(ArchiveReaderCursor, EveryReadIsCheckedAgainstTheBytesLeft) {
    CArchiveReader ar({0x34, 0x12, 0x03, 'a', 'b'});
    std::uint16_t v = 0;
    std::string s;
    EXPECT_TRUE(ar.ReadU16(v));
    EXPECT_EQ(v, 0x1234);
    EXPECT_FALSE(ar.ReadString(s));  // three announced, two left
    EXPECT_FALSE(ar.Ok());
    std::uint8_t b = 0;
    EXPECT_FALSE(ar.ReadU8(b));  // a failure stays
    EXPECT_NE(ar.Error().find("at byte 3"), std::string::npos);
}

} // namespace
