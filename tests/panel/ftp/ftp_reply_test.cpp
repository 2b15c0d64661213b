#include "panel/ftp/ftp_dir_entry.h"
#include "panel/ftp/ftp_path.h"
#include "panel/ftp/ftp_reply.h"

#include <gtest/gtest.h>

using namespace ftp;

namespace {

// Feeds bytes in pieces of `chunk` and assembles one reply; the lines are returned.
std::vector<std::string> Assemble(const std::string& bytes, std::size_t chunk, int* code,
                                  bool* complete) {
    LineReader reader;
    ReplyAssembler assembler;
    std::vector<std::string> lines;
    *complete = false;
    for (std::size_t i = 0; i < bytes.size() && !*complete; i += chunk) {
        reader.Feed(bytes.data() + i, std::min(chunk, bytes.size() - i));
        std::string line;
        while (!*complete && reader.NextLine(line)) {
            lines.emplace_back(LoggedText(line));
            *complete = assembler.AddLine(line);
        }
    }
    *code = assembler.Code();
    return lines;
}

} // namespace

TEST(FtpReply, AssemblesSingleAndMultiLineRepliesFromAnySplit) {
    for (std::size_t chunk : {1u, 3u, 1000u}) {
        int code = 0;
        bool complete = false;
        auto lines = Assemble("220-a\r\n220-b\r\n220 c\r\n", chunk, &code, &complete);
        EXPECT_TRUE(complete);
        EXPECT_EQ(code, 220);
        EXPECT_EQ(lines, (std::vector<std::string>{"220-a", "220-b", "220 c"}));

        // Lines without a code, and lines of another code, continue the reply.
        lines = Assemble("230-Welcome\r\n plain text\r\n200 other\r\n\r\n230 done\r\n", chunk,
                         &code, &complete);
        EXPECT_TRUE(complete);
        EXPECT_EQ(code, 230);
        EXPECT_EQ(lines.size(), 5u);

        // A first line without a code ends the reply with 0.
        lines = Assemble("hello\r\n220 later\r\n", chunk, &code, &complete);
        EXPECT_TRUE(complete);
        EXPECT_EQ(code, 0);
        EXPECT_EQ(lines, std::vector<std::string>{"hello"});

        // Unfinished multi-line reply: not complete.
        Assemble("220-a\r\n220-b\r\n", chunk, &code, &complete);
        EXPECT_FALSE(complete);
    }
}

TEST(FtpReply, OverLongLinesAreCutAndNulEndsTheLoggedText) {
    LineReader reader;
    const std::string longLine = "200 " + std::string(3000, 'x') + "\r\n";
    reader.Feed(longLine.data(), longLine.size());
    const std::string withNul("220 ab\0cd\r\n", 11);
    reader.Feed(withNul.data(), withNul.size());
    std::string line;
    ASSERT_TRUE(reader.NextLine(line));
    EXPECT_EQ(line.size(), kReplyBufferSize - 1);
    EXPECT_EQ(ReplyCode(line), 200);
    ASSERT_TRUE(reader.NextLine(line));
    EXPECT_EQ(line.size(), 11u);
    EXPECT_EQ(LoggedText(line), "220 ab");
    EXPECT_FALSE(reader.NextLine(line));

    EXPECT_EQ(ReplyCode("22"), 0);
    EXPECT_EQ(ReplyCode("2x0 no"), 0);
    EXPECT_EQ(ReplyCode("550"), 550);
}

TEST(FtpList, ParsesLinesWithRunsOfBlanksAndCutsLongFields) {
    FtpDirEntry e;
    ASSERT_TRUE(ParseListLine("drwxr-xr-x 2 root root 0 Jan 1 12:00 my dir", e));
    EXPECT_TRUE(e.IsDirectory());
    EXPECT_EQ(e.attributes, kAttrDirectory);
    EXPECT_EQ(e.name, "my dir");
    EXPECT_EQ(e.owner, "root");
    EXPECT_EQ(e.size, 0u);

    ASSERT_TRUE(ParseListLine("-rw-r--r--   1 owner    group     1500 Mar  7  2021 a   b.txt", e));
    EXPECT_EQ(e.attributes, kAttrFile);
    EXPECT_EQ(e.size, 1500u);
    EXPECT_EQ(e.month, "Mar");
    EXPECT_EQ(e.day, "7");
    EXPECT_EQ(e.timeOrYear, "2021");
    EXPECT_EQ(e.name, "a b.txt");

    EXPECT_FALSE(ParseListLine("total 12", e));
    EXPECT_FALSE(ParseListLine("-rw-r--r-- 1 o g 5 Jan 1 12:00", e));

    const std::string longToken(500, 'm');
    ASSERT_TRUE(ParseListLine("-rw 1 " + longToken + " g 5 " + longToken + " 1 12:00 " +
                                  longToken + " " + longToken,
                              e));
    EXPECT_EQ(e.owner.size(), kOwnerFieldSize - 1);
    EXPECT_EQ(e.month.size(), kDateFieldSize - 1);
    EXPECT_EQ(e.name.size(), kNameFieldSize - 1);

    // The listing stream: lines cut to the line buffer, CR LF runs, split reads.
    ListParser parser;
    const std::string stream = "drwx 1 u g 0 Jan 1 2020 dir\r\n\r\n-rw 1 u g 7 Feb 2 10:00 " +
                               std::string(400, 'n') + "\r\n-rw 1 u g 9 Feb 2 10:00 last\n";
    for (char c : stream)
        parser.Feed(&c, 1);
    ASSERT_EQ(parser.Entries().size(), 3u);
    EXPECT_EQ(parser.Entries()[0].name, "dir");
    EXPECT_LT(parser.Entries()[1].name.size(), kListLineSize);
    EXPECT_EQ(parser.Entries()[2].name, "last");
    EXPECT_EQ(parser.Entries()[2].size, 9u);
}

TEST(FtpPath, TrailingSeparatorAndPlainNames) {
    auto ensure = [](std::string p, char sep) {
        EnsureTrailingSeparator(p, sep);
        return p;
    };
    EXPECT_EQ(ensure("/data\\", '/'), "/data/");
    EXPECT_EQ(ensure("/data", '/'), "/data/");
    EXPECT_EQ(ensure("/data/", '/'), "/data/");
    EXPECT_EQ(ensure("", '/'), "/");
    EXPECT_EQ(ensure("C:\\x/", '\\'), "C:\\x\\");

    EXPECT_EQ(BaseName("/a/b/c.txt"), "c.txt");
    EXPECT_EQ(BaseName("c.txt"), "c.txt");
    EXPECT_TRUE(IsPlainFileName("c.txt"));
    EXPECT_FALSE(IsPlainFileName("../c.txt"));
    EXPECT_FALSE(IsPlainFileName("a\\b"));
    EXPECT_FALSE(IsPlainFileName(".."));
    EXPECT_FALSE(IsPlainFileName(""));
}
