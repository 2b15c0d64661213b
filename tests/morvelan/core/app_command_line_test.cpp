// The command line of morvelan: mask file, controller address and the document to open.
#include "morvelan/core/app_command_line.h"

#include <gtest/gtest.h>

#include <vector>

namespace {

CAppCommandLineInfo parse(std::vector<const char*> args) {
    args.insert(args.begin(), "morvelan");
    CAppCommandLineInfo info;
    info.Parse(static_cast<int>(args.size()), args.data());
    return info;
}

TEST(AppCommandLine, DocumentAndNothingElse) {
    const auto none = parse({});
    EXPECT_EQ(none.m_nShellCommand, CAppCommandLineInfo::FileNew);
    const auto doc = parse({"/home/user/projects/line 4.mvl"});
    EXPECT_EQ(doc.m_nShellCommand, CAppCommandLineInfo::FileOpen);
    EXPECT_EQ(doc.m_strFileName, "/home/user/projects/line 4.mvl") << "'/' is no flag";
}

TEST(AppCommandLine, MaskAndAddressFromFlagsAndPlainParameters) {
    const auto flags = parse({"-MSK=/tmp/a.msk", "-IP=192.168.1.100"});
    EXPECT_EQ(flags.m_MaskFile, "/tmp/a.msk");
    ASSERT_TRUE(flags.m_IpAddress);
    EXPECT_EQ(*flags.m_IpAddress, 0xC0A80164u) << "first octet most significant";
    EXPECT_EQ(flags.m_nShellCommand, CAppCommandLineInfo::FileNew);

    const auto plain = parse({"MSK=b.msk", "IP=10.0.0.2"});
    EXPECT_EQ(plain.m_MaskFile, "b.msk");
    EXPECT_EQ(plain.m_IpAddress, 0x0A000002u);
    EXPECT_EQ(plain.m_nShellCommand, CAppCommandLineInfo::FileNew)
        << "MSK= and IP= are used up, not opened as documents";
}

TEST(AppCommandLine, NamesThatOnlyBeginWithTheLettersStillOpen) {
    const auto ipc = parse({"IPC_line.mvl"});
    EXPECT_EQ(ipc.m_nShellCommand, CAppCommandLineInfo::FileOpen);
    EXPECT_EQ(ipc.m_strFileName, "IPC_line.mvl");
    EXPECT_FALSE(ipc.m_IpAddress);
    const auto msk = parse({"MSKplant.mvl"});
    EXPECT_EQ(msk.m_strFileName, "MSKplant.mvl");
    EXPECT_EQ(msk.m_MaskFile, "");
    // A flag "MSKFILE=x" still names the mask, as every parameter is looked at.
    EXPECT_EQ(parse({"-MSKFILE=x.msk"}).m_MaskFile, "x.msk");
}

TEST(AppCommandLine, BadAddressesAreReportedAndIgnored) {
    const auto bad = parse({"IP=300.1.1.1", "IP=", "-IP=abc"});
    EXPECT_FALSE(bad.m_IpAddress);
    ASSERT_EQ(bad.m_Problems.size(), 2u);
    EXPECT_EQ(bad.m_Problems[1], "IP=abc: not an IPv4 address, the stored one is kept");
    EXPECT_EQ(bad.m_nShellCommand, CAppCommandLineInfo::FileNew);
    EXPECT_EQ(ParseDottedAddress("0.0.0.0"), 0u);
    EXPECT_FALSE(ParseDottedAddress("1.2.3.4.5"));
    EXPECT_FALSE(ParseDottedAddress(""));
    // A good address after a bad one is taken.
    EXPECT_EQ(parse({"IP=x", "IP=10.0.0.9"}).m_IpAddress, 0x0A000009u);
}

TEST(AppCommandLine, AddressesAreReadAsTheClassicReaderReadsThem) {
    EXPECT_EQ(ParseDottedAddress("10.1"), 0x0A000001u);
    EXPECT_EQ(ParseDottedAddress("127.1"), 0x7F000001u);
    EXPECT_EQ(ParseDottedAddress("1.2.3"), 0x01020003u);
    EXPECT_EQ(ParseDottedAddress("0x7f.1"), 0x7F000001u);
    EXPECT_EQ(ParseDottedAddress("255.255.255.255"), 0xFFFFFFFFu);
    EXPECT_EQ(parse({"IP=127.1"}).m_IpAddress, 0x7F000001u);
}

TEST(AppCommandLine, TheFirstPlainParameterIsTheDocument) {
    const auto two = parse({"first.mvl", "-x", "second.mvl", "IP=10.1"});
    EXPECT_EQ(two.m_nShellCommand, CAppCommandLineInfo::FileOpen);
    EXPECT_EQ(two.m_strFileName, "first.mvl");
    EXPECT_EQ(two.m_IpAddress, 0x0A000001u);
}

} // namespace
