// The language table and the picture readers given a folder, a named pipe or an oversized file
// in place of their file: each says why at once, never waits on the pipe and never allocates
// the size of the file.
#include "morvelan/core/bmp_header.h"
#include "morvelan/core/dib.h"
#include "morvelan/core/language.h"
#include "platform/bmp_reader.h"
#include "platform/emf_canvas.h"
#include "platform/regular_file.h"
#include "tests/morvelan/ui/frame_fixture.h"
#include "xui/bitmaps.h"

#include <gtest/gtest.h>

#include <filesystem>
#include <fstream>
#include <string>
#include <sys/stat.h>
#include <vector>

namespace {

namespace fs = std::filesystem;

struct OddKind {
    const char* name;
    std::string languageReason;
    std::string pictureReason;
};

// Makes `path` a folder, a named pipe or a sparse file beyond every reader's limit.
void MakeOdd(const std::string& kind, const std::string& path) {
    if (kind == "folder") {
        fs::create_directory(path);
    } else if (kind == "pipe") {
        ASSERT_EQ(::mkfifo(path.c_str(), 0600), 0);
    } else {
        std::ofstream(path, std::ios::binary) << "BM";
        fs::resize_file(path, (std::uint64_t{256} << 20) + 1);
    }
}

TEST(OddFiles, LanguageTableAndPictureReadersRefuseFoldersPipesAndHugeFiles) {
    frametest::qapp();
    char name[] = "/tmp/mv-odd-XXXXXX";
    const std::string root = ::mkdtemp(name);
    std::vector<std::string> dibMessages;
    mv::setDibMessageSink([&](const std::string& text, const std::string&) {
        dibMessages.push_back(text);
    });
    const std::vector<OddKind> kinds = {
        {"folder", "not a regular file", "not a regular file"},
        {"pipe", "not a regular file", "not a regular file"},
        {"huge", "larger than 16 MiB", "larger than 64 MiB"},
    };
    for (const OddKind& kind : kinds) {
        SCOPED_TRACE(kind.name);
        const std::string dir = root + "/" + kind.name;
        fs::create_directory(dir);
        MakeOdd(kind.name, dir + "/Sprache.txt");
        const std::string picture = dir + "/picture.bmp";
        MakeOdd(kind.name, picture);

        mv::CLanguage language(dir);
        EXPECT_EQ(language.Load("English"), 0);
        EXPECT_EQ(language.LoadProblem(), kind.languageReason);
        EXPECT_TRUE(language.LanguageNames().empty());

        mv::PixelImage image;
        std::string error;
        EXPECT_FALSE(mv::ReadBmpFile(picture, image, &error));
        EXPECT_EQ(error, "cannot read the bitmap file: " + kind.pictureReason);

        // The headers alone are read from a file of any size; the zeros after "BM" are no
        // header.
        BmpHeader header;
        error.clear();
        EXPECT_FALSE(ReadBmpHeader(picture, header, &error));
        if (std::string(kind.name) != "huge")
            EXPECT_EQ(error, "cannot read the bitmap file: not a regular file");
        else
            EXPECT_NE(error.find("header"), std::string::npos) << error;

        dibMessages.clear();
        CDib dib;
        EXPECT_EQ(dib.ReadBitmapFile(picture), 0);
        EXPECT_EQ(dib.Read(picture), 0);
        EXPECT_EQ(dibMessages, (std::vector<std::string>{kDibEmptyFile, kDibReadError}));

        std::string why;
        EXPECT_TRUE(xui::readPictureFile(picture, &why).isNull());
        EXPECT_EQ(why, kind.pictureReason);
        mv::BitmapRef ref;
        ref.file = picture;
        EXPECT_TRUE(xui::loadBitmap(ref).isNull());

        mv::EmfCanvas emf;
        emf.drawBitmap(0, 0, ref);
        EXPECT_EQ(emf.lastError(), picture + ": " + kind.pictureReason);

        // A probe looks at no size.
        EXPECT_EQ(mv::canReadRegularFile(picture), std::string(kind.name) == "huge");
    }
    // A file within the limit is read whole, one past it is not; a start is read from any.
    const std::string small = root + "/small.txt";
    std::ofstream(small, std::ios::binary) << std::string(100, 'x');
    std::string text;
    EXPECT_TRUE(mv::readRegularFile(small, 100, text));
    EXPECT_EQ(text, std::string(100, 'x'));
    std::string why;
    EXPECT_FALSE(mv::readRegularFile(small, 99, text, &why));
    EXPECT_EQ(why, "larger than 99 bytes");
    std::vector<std::uint8_t> start;
    EXPECT_TRUE(mv::readRegularFileStart(root + "/huge/picture.bmp", 4, start));
    EXPECT_EQ(start, (std::vector<std::uint8_t>{'B', 'M', 0, 0}));
    EXPECT_EQ(mv::fileUnreadableReason(root + "/none", 1), "No such file or directory");
    mv::setDibMessageSink(nullptr);
    fs::remove_all(root);
}

} // namespace
