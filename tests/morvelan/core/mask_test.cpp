// The mask file with its module ID check, and the comparison of a station with the modules a
// simulated controller reports.
#include "fixtures/doc_test_util.h"

#include "morvelan/core/channel_module.h"
#include "morvelan/core/app_profile.h"
#include "morvelan/core/connection.h"
#include "tests/sim/station.h"
#include "tests/sim/tcp_station_server.h"

#include <gtest/gtest.h>

namespace {

using doctest::ReadAll;
using doctest::WriteAll;

class MaskFileTest : public ::testing::Test {
protected:
    void Build(CMorvelanDoc& doc) {
        for (const char* name : {"CTRL", "DIG", "FLAG", "WORD"}) {
            doc.AddModuleToGroup(install_.MakeTile(name));
            hooks_.selected = doc.Station(0)->Tile(0);
        }
    }
    CChannelModule& Dig(CMorvelanDoc& doc) {
        return static_cast<CChannelModule&>(doc.Station(0)->Tile(1)->Module());
    }

    doctest::Install install_;
    doctest::Hooks hooks_{install_};
    mvtest::RecordingHooks app_;
};

TEST_F(MaskFileTest, MasksGoOutAndComeBack) {
    CMorvelanDoc doc;
    Build(doc);
    Dig(doc).SetChannelMask(0, 255);
    Dig(doc).SetChannelMask(1, 15);
    ASSERT_EQ(doc.SaveMaskFile(), 1);
    const std::string text = ReadAll(install_.dir() + "/mask.msk");
    EXPECT_EQ(text.rfind("[M0P0]\r\nID=1856\r\nMask0=-1\r\n[M0P1]\r\nID=8464\r\nMask0=255\r\n"
                         "Mask1=15\r\n[M0P2]\r\nID=0\r\n[M0P3]\r\nID=12548\r\nMask0=-1\r\n",
                         0),
              0u);

    CMorvelanDoc other;
    Build(other);
    ASSERT_EQ(other.LoadDefaultMaskFile(), 1);
    EXPECT_EQ(Dig(other).GetChannelMask(0), 255);
    EXPECT_EQ(Dig(other).GetChannelMask(1), 15);
}

TEST_F(MaskFileTest, MaskOfAnotherModuleClearsEveryMask) {
    WriteAll(install_.dir() + "/m.msk", "[M0P1]\r\nID=12548\r\nMask0=3\r\nMask1=4\r\n");
    CMorvelanDoc doc;
    Build(doc);
    Dig(doc).SetChannelMask(0, 9);
    Dig(doc).SetChannelMask(1, 9);
    ASSERT_EQ(doc.LoadMaskFile("m.msk"), 1);
    EXPECT_EQ(Dig(doc).GetChannelMask(0), -1);
    EXPECT_EQ(Dig(doc).GetChannelMask(1), -1);
}

TEST_F(MaskFileTest, MissingMaskKeysGiveMinusOne) {
    WriteAll(install_.dir() + "/m.msk", "[M0P1]\r\nID=8464\r\nMask1=4\r\n");
    CMorvelanDoc doc;
    Build(doc);
    Dig(doc).SetChannelMask(0, 9);
    ASSERT_EQ(doc.LoadMaskFile("m.msk"), 1);
    EXPECT_EQ(Dig(doc).GetChannelMask(0), -1);
    EXPECT_EQ(Dig(doc).GetChannelMask(1), 4);
}

TEST_F(MaskFileTest, CommandLineNameAndAbsolutePaths) {
    CMorvelanDoc doc;
    Build(doc);
    EXPECT_EQ(doc.MaskPath("x.msk"), install_.dir() + "/x.msk");
    EXPECT_EQ(doc.MaskPath("/elsewhere/x.msk"), "/elsewhere/x.msk");
    const std::string absolute = install_.dir() + "/abs.msk";
    hooks_.maskName = absolute;
    Dig(doc).SetChannelMask(0, 77);
    ASSERT_EQ(doc.SaveMaskFile(), 1);
    EXPECT_NE(ReadAll(absolute).find("Mask0=77"), std::string::npos);
    EXPECT_FALSE(std::filesystem::exists(install_.dir() + "/mask.msk"));
    CMorvelanDoc other;
    Build(other);
    ASSERT_EQ(other.LoadDefaultMaskFile(), 1);
    EXPECT_EQ(Dig(other).GetChannelMask(0), 77);
}

TEST_F(MaskFileTest, AFailedSaveNamesItsFirstSectionAndOddFilesAreRefused) {
    std::vector<std::string> errors;
    mv::setErrorBoxSink([&](const std::string&, const std::string& text) {
        errors.push_back(text);
    });
    // Station 0 has no tiles: the first section written is the head of station 1.
    WriteAll(install_.dir() + "/p.mvl", "[MAIN]\r\nModule=2\r\n[M0]\r\nPrints=0\r\n"
                                        "[M1]\r\nPrints=1\r\n[M1P0]\r\nFilename=CTRL.kvn\r\n");
    CMorvelanDoc doc;
    ASSERT_EQ(doc.OnOpenDocument(install_.dir() + "/p.mvl"), 1);
    hooks_.maskName = "no/such/folder/m.msk";
    EXPECT_EQ(doc.SaveMaskFile(), 0);
    mv::setErrorBoxSink({});
    ASSERT_EQ(errors.size(), 1u);
    EXPECT_EQ(errors[0].rfind("SAVE M1P0 FAILURE: ", 0), 0u) << errors[0];

    // A device or a folder is no mask file: refused with its path, the masks stay.
    Build(doc);
    for (const std::string& odd : {std::string("/dev/zero"), install_.dir()}) {
        app_.messages.clear();
        EXPECT_EQ(doc.LoadMaskFile(odd), 0);
        ASSERT_EQ(app_.messages.size(), 1u);
        EXPECT_EQ(app_.messages[0].line1, "Cannot open the mask file");
        EXPECT_EQ(app_.messages[0].line2, odd + ": not a regular file");
    }
}

TEST_F(MaskFileTest, SampleMaskFileMatchesTheSampleProject) {
    doctest::SampleInstall sample;
    doctest::Hooks hooks(sample);
    CMorvelanDoc doc;
    ASSERT_EQ(doc.OnOpenDocument(doctest::SourceDir() + "/data/samples/demo.mvl"), 1);
    CChannelModule& dig = static_cast<CChannelModule&>(doc.Station(0)->Tile(1)->Module());
    dig.SetChannelMask(0, 1);
    ASSERT_EQ(doc.LoadMaskFile(doctest::SourceDir() + "/data/samples/demo.msk"), 1);
    EXPECT_EQ(dig.GetChannelMask(0), 255);
    EXPECT_EQ(dig.GetChannelMask(1), 15);
}

class ControllerCheckTest : public ::testing::Test {
protected:
    void SetUp() override {
        station_.setControllerId(1856);
        station_.setModuleIds({8464, 12548});
        ASSERT_TRUE(server_.start(0));
        connection_.m_Com = kComTcpIp;
        connection_.m_IpAddress = 0x7F000001u;
        connection_.m_TcpPort = server_.port();
        hooks_.connection = &connection_;
        // CTRL, DIG, NOID (left out of the comparison), WORD
        for (const char* name : {"CTRL", "DIG", "NOID", "WORD"}) {
            doc_.AddModuleToGroup(install_.MakeTile(name));
            hooks_.selected = doc_.Station(0)->Tile(0);
        }
    }
    void TearDown() override {
        connection_.CloseConnection();
        server_.stop();
    }

    doctest::Install install_;
    doctest::Hooks hooks_{install_};
    mvtest::RecordingHooks app_;
    x740sim::Station station_;
    x740sim::TcpStationServer server_{station_};
    CControllerConnection connection_;
    CMorvelanDoc doc_;
};

TEST_F(ControllerCheckTest, SameModulesGiveOne) {
    EXPECT_EQ(doc_.CheckAgainstController(0), 1);
    EXPECT_TRUE(app_.messages.empty());
}

TEST_F(ControllerCheckTest, ModulesInAnotherOrderGiveZero) {
    station_.setModuleIds({12548, 8464});
    EXPECT_EQ(doc_.CheckAgainstController(0), 0);
}

TEST_F(ControllerCheckTest, OtherModuleCountGivesZeroAndClosesTheLink) {
    station_.setModuleIds({8464});
    EXPECT_EQ(doc_.CheckAgainstController(0), 0);
    EXPECT_EQ(connection_.m_Link, 0u);
    // The next check opens a new link and sees the station as it is now.
    station_.setModuleIds({8464, 12548});
    EXPECT_EQ(doc_.CheckAgainstController(0), 1);
}

TEST_F(ControllerCheckTest, CheckAfterAFailedInputCycleReconnects) {
    ASSERT_EQ(doc_.CheckAgainstController(0), 1);
    station_.injectFault(x740sim::Fault::drop());
    EXPECT_EQ(connection_.ReadOnlineInputs(0), 0);
    EXPECT_EQ(connection_.m_Link, 0u);
    EXPECT_EQ(doc_.CheckAgainstController(0), 1);
    EXPECT_NE(connection_.m_Link, 0u);
    EXPECT_TRUE(app_.messages.empty());
}

TEST_F(ControllerCheckTest, OtherControllerGivesZero) {
    station_.setControllerId(1824);
    EXPECT_EQ(doc_.CheckAgainstController(0), 0);
}

TEST_F(ControllerCheckTest, ControllerIdZeroIsReportedAndCompared) {
    station_.setControllerId(0);
    EXPECT_EQ(doc_.CheckAgainstController(0), 0);
    ASSERT_EQ(app_.messages.size(), 1u);
    EXPECT_EQ(app_.messages[0].line1.rfind("Error : ", 0), 0u);
}

TEST_F(ControllerCheckTest, NoControllerGivesMinusOne) {
    server_.stop();
    EXPECT_EQ(doc_.CheckAgainstController(0), -1);
    hooks_.connection = nullptr;
    EXPECT_EQ(doc_.CheckAgainstController(0), -1);
}

} // namespace
