// CDib against hostile files (each with its message), the seeds of the BMP fuzz target read
// pixel for pixel as Qt reads them, the write and read round trip, and drawing.
#include "tests/test_paths.h"

#include "morvelan/core/dib.h"
#include "platform/recording_canvas.h"
#include "xui/colorref.h"

#include <QImage>

#include <gtest/gtest.h>

#include <cstring>
#include <filesystem>
#include <fstream>
#include <iterator>
#include <string>
#include <vector>

namespace {

namespace fs = std::filesystem;

std::string Seeds() { return mvtest::SourceDir() + "/tests/fuzz/bmp/seeds"; }

std::string ReadAll(const std::string& path) {
    std::ifstream in(path, std::ios::binary);
    return std::string(std::istreambuf_iterator<char>(in), std::istreambuf_iterator<char>());
}

void Put32(std::string& bytes, std::size_t at, std::uint32_t v) {
    for (int i = 0; i < 4; ++i)
        bytes[at + static_cast<std::size_t>(i)] = static_cast<char>((v >> (8 * i)) & 0xFF);
}

void Put16(std::string& bytes, std::size_t at, std::uint16_t v) {
    bytes[at] = static_cast<char>(v & 0xFF);
    bytes[at + 1] = static_cast<char>(v >> 8);
}

class DibTest : public ::testing::Test {
protected:
    void SetUp() override {
        char name[] = "/tmp/mv-dib-XXXXXX";
        dir_ = ::mkdtemp(name);
        mv::setDibMessageSink([this](const std::string& text, const std::string& file) {
            messages_.push_back(text);
            files_.push_back(file);
        });
    }
    void TearDown() override {
        mv::setDibMessageSink(nullptr);
        fs::remove_all(dir_);
    }
    std::string write(const std::string& name, const std::string& bytes) {
        const std::string path = dir_ + "/" + name;
        std::ofstream(path, std::ios::binary) << bytes;
        return path;
    }
    std::string dir_;
    std::vector<std::string> messages_;
    std::vector<std::string> files_;
};

TEST_F(DibTest, HostileFilesGiveTheirMessagesAndNoImage) {
    const std::string good = ReadAll(Seeds() + "/byte.bmp");
    ASSERT_FALSE(good.empty());
    struct Case {
        const char* name;
        std::string bytes;
        const char* message;
    };
    std::vector<Case> cases;
    cases.push_back({"empty", "", kDibEmptyFile});
    cases.push_back({"no BM", "XM" + good.substr(2), kDibInvalidFile});
    cases.push_back({"one byte", "B", kDibInvalidFile});
    auto patched = [&](auto patch) {
        std::string b = good;
        patch(b);
        return b;
    };
    cases.push_back({"file header only", good.substr(0, 14), kDibAttachFailed});
    cases.push_back({"header size 7", patched([](std::string& b) { Put32(b, 14, 7); }),
                     kDibAttachFailed});
    cases.push_back({"header size 4096", patched([](std::string& b) { Put32(b, 14, 4096); }),
                     kDibAttachFailed});
    cases.push_back({"width 0", patched([](std::string& b) { Put32(b, 18, 0); }), kDibAttachFailed});
    cases.push_back({"negative width", patched([](std::string& b) { Put32(b, 18, 0xFFFFFFFD); }),
                     kDibAttachFailed});
    cases.push_back({"height 0", patched([](std::string& b) { Put32(b, 22, 0); }),
                     kDibAttachFailed});
    cases.push_back({"huge area", patched([](std::string& b) {
                         Put32(b, 18, 32767);
                         Put32(b, 22, 32767);
                         Put16(b, 28, 32);
                     }),
                     kDibAttachFailed});
    cases.push_back({"bit count 7", patched([](std::string& b) { Put16(b, 28, 7); }),
                     kDibAttachFailed});
    cases.push_back({"colour count 1000", patched([](std::string& b) { Put32(b, 46, 1000); }),
                     kDibAttachFailed});
    cases.push_back({"run-length compression", patched([](std::string& b) { Put32(b, 30, 1); }),
                     kDibAttachFailed});
    cases.push_back({"pixels beyond the file",
                     patched([](std::string& b) { Put32(b, 10, 5000); }), kDibAttachFailed});
    cases.push_back({"pixels in the file header",
                     patched([](std::string& b) { Put32(b, 10, 3); }), kDibAttachFailed});
    cases.push_back({"pixels on the headers", patched([](std::string& b) { Put32(b, 10, 54); }),
                     kDibAttachFailed});
    cases.push_back({"cut short", good.substr(0, good.size() - 1), kDibAttachFailed});
    std::string zeroMask = ReadAll(Seeds() + "/bitfields565.bmp");
    Put32(zeroMask, 58, 0);
    cases.push_back({"empty bit field mask", zeroMask, kDibAttachFailed});

    for (const Case& c : cases) {
        messages_.clear();
        const std::string path = write("hostile.bmp", c.bytes);
        CDib dib;
        EXPECT_EQ(dib.ReadBitmapFile(path), 0) << c.name;
        ASSERT_EQ(messages_.size(), 1u) << c.name;
        EXPECT_EQ(messages_[0], c.message) << c.name;
        EXPECT_EQ(files_.back(), path);
        EXPECT_TRUE(dib.IsEmpty()) << c.name;
        EXPECT_EQ(dib.GetDimensions(), (mv::SIZE{0, 0}));
        // Reading through the archive path reports a read error for the same bytes.
        messages_.clear();
        EXPECT_EQ(dib.Read(path), 0) << c.name;
        ASSERT_EQ(messages_.size(), 1u) << c.name;
        EXPECT_EQ(messages_[0], kDibReadError) << c.name;
    }
    messages_.clear();
    CDib missing;
    EXPECT_EQ(missing.ReadBitmapFile(dir_ + "/none.bmp"), 0);
    EXPECT_EQ(missing.ReadBitmapFile(dir_), 0) << "a folder";
    EXPECT_EQ(messages_, (std::vector<std::string>{kDibEmptyFile, kDibEmptyFile}));
    EXPECT_EQ(missing.AttachMemory(nullptr, 0), 0);
    EXPECT_EQ(messages_.back(), kDibAttachFailed);
}

TEST_F(DibTest, PixelsAsQtReadsThem) {
    int compared = 0;
    for (const auto& entry : fs::directory_iterator(Seeds())) {
        const std::string path = entry.path().string();
        const QImage qt(QString::fromStdString(path), "BMP");
        CDib dib;
        messages_.clear();
        const int ok = dib.ReadBitmapFile(path);
        if (qt.isNull()) {
            EXPECT_EQ(ok, 0) << path;
            continue;
        }
        ASSERT_EQ(ok, 1) << path << ": " << (messages_.empty() ? "" : messages_[0]);
        const mv::PixelImage& px = dib.Pixels();
        ASSERT_EQ(px.width, qt.width()) << path;
        ASSERT_EQ(px.height, qt.height()) << path;
        for (int y = 0; y < px.height; ++y)
            for (int x = 0; x < px.width; ++x)
                EXPECT_EQ(px.at(x, y), xui::colorrefFromRgb(qt.pixel(x, y)))
                    << path << " at " << x << "," << y;
        ++compared;
    }
    EXPECT_GE(compared, 6);
    // The program's connector picture too.
    CDib connector;
    ASSERT_EQ(connector.ReadBitmapFile(mvtest::SampleDataDir() + "/bmp/stecker.bmp"), 1);
    EXPECT_EQ(connector.GetDimensions(), (mv::SIZE{30, 150}));
}

TEST_F(DibTest, WriteReadRoundTripDrawAndPalette) {
    for (const char* seed : {"nibble_topdown.bmp", "rgb24.bmp", "bitfields565.bmp", "core.bmp"}) {
        CDib dib;
        ASSERT_EQ(dib.Read(Seeds() + "/" + seed), 1) << seed;
        const std::string out = dir_ + "/out.bmp";
        ASSERT_EQ(dib.Write(out), 1) << seed;
        const std::string bytes = ReadAll(out);
        ASSERT_GE(bytes.size(), 54u);
        EXPECT_EQ(bytes.substr(0, 2), "BM");
        EXPECT_EQ(std::memcmp(bytes.data() + 2, "\0\0\0\0\0\0\0\0", 8), 0) << "size and reserved 0";
        const std::uint32_t offBits = static_cast<unsigned char>(bytes[10]) |
                                      (static_cast<unsigned char>(bytes[11]) << 8);
        const std::uint32_t masks = std::string(seed) == "bitfields565.bmp" ? 12 : 0;
        EXPECT_EQ(offBits, 54u + 4u * static_cast<std::uint32_t>(dib.ColorEntries()) + masks);
        // A 40-byte header comes back as it was read: resolution, used and important colours.
        if (std::string(seed) != "core.bmp") {
            EXPECT_EQ(bytes.substr(10), ReadAll(Seeds() + "/" + seed).substr(10)) << seed;
        }
        CDib back;
        ASSERT_EQ(back.Read(out), 1) << seed;
        EXPECT_EQ(back.GetDimensions(), dib.GetDimensions()) << seed;
        EXPECT_EQ(back.Pixels().pixels, dib.Pixels().pixels) << seed;
    }
    CDib nibble;
    ASSERT_EQ(nibble.ReadBitmapFile(Seeds() + "/nibble_topdown.bmp"), 1);
    EXPECT_EQ(nibble.GetDimensions(), (mv::SIZE{5, -2})) << "as stored";
    mv::RecordingCanvas dc;
    EXPECT_EQ(nibble.UsePalette(dc), 16);
    EXPECT_EQ(nibble.SetSystemPalette(dc), 0);
    ASSERT_EQ(nibble.Draw(dc, 10, 20, 50, 40), 1);
    ASSERT_EQ(dc.calls().size(), 1u);
    EXPECT_EQ(dc.calls()[0].op, mv::DrawOp::StretchImage);
    EXPECT_EQ(dc.calls()[0].rect, (mv::RECT{10, 20, 60, 60}));
    CDib rgb;
    ASSERT_EQ(rgb.ReadBitmapFile(Seeds() + "/rgb24.bmp"), 1);
    EXPECT_EQ(rgb.UsePalette(dc), 0);
    EXPECT_EQ(rgb.SetSystemPalette(dc), 1);
    rgb.Empty();
    EXPECT_EQ(rgb.Draw(dc, 0, 0, 1, 1), 0);
    // A write that cannot be made reports and gives 0.
    messages_.clear();
    EXPECT_EQ(nibble.Write(dir_ + "/missing/out.bmp"), 0);
    EXPECT_EQ(messages_, std::vector<std::string>{kDibWriteError});
}

} // namespace
