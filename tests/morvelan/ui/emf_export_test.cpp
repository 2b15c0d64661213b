// The rack exported as EMF, read back by a small parser of its own: header, records in their
// order and alignment, the bitmaps with the files' own DIB bytes, the texts with their fonts and
// reference points, EOF last. The system's EMF converter draws the texts; a path below a
// regular file is refused with a message and leaves no file.
#include "frame_fixture.h"

#include "morvelan/core/command_ids.h"
#include "morvelan/core/station.h"
#include "catalogue/module_description.h"

#include <cstring>
#include <fstream>
#include <iterator>

namespace {

using Bytes = std::vector<std::uint8_t>;

Bytes readAll(const std::string& path) {
    std::ifstream in(path, std::ios::binary);
    return Bytes(std::istreambuf_iterator<char>(in), {});
}

std::uint32_t u32(const Bytes& b, std::size_t at) {
    if (at + 4 > b.size())
        throw std::out_of_range("record runs past the file");
    return static_cast<std::uint32_t>(b[at]) | static_cast<std::uint32_t>(b[at + 1]) << 8 |
           static_cast<std::uint32_t>(b[at + 2]) << 16 | static_cast<std::uint32_t>(b[at + 3]) << 24;
}
std::int32_t i32(const Bytes& b, std::size_t at) {
    return static_cast<std::int32_t>(u32(b, at));
}

struct Record {
    std::uint32_t type = 0;
    std::size_t at = 0;
    std::size_t size = 0;
};

struct Text {
    std::string text;
    int x = 0, y = 0;
    int height = 0, escapement = 0, weight = 0, quality = 0;
    std::string face;
    std::uint32_t align = 0;
};

struct Picture {
    int x = 0, y = 0, cx = 0, cy = 0;
    Bytes bmi, bits;
};

struct Parsed {
    std::vector<Record> records;
    std::vector<Text> texts;
    std::vector<Picture> pictures;
};

std::string utf16(const Bytes& b, std::size_t at, std::size_t chars) {
    std::string out;
    for (std::size_t i = 0; i < chars; ++i) {
        const unsigned c = b[at + 2 * i] | (b[at + 2 * i + 1] << 8);
        if (c == 0)
            break;
        out.push_back(static_cast<char>(c < 256 ? c : '?'));
    }
    return out;
}

Parsed parse(const Bytes& b) {
    Parsed p;
    std::size_t at = 0;
    int height = 0, escapement = 0, weight = 0, quality = 0;
    std::string face;
    std::uint32_t align = 0;
    while (at < b.size()) {
        Record r{u32(b, at), at, u32(b, at + 4)};
        if (r.size < 8 || r.size % 4 != 0 || at + r.size > b.size())
            throw std::runtime_error("bad record size");
        p.records.push_back(r);
        if (r.type == 82) {
            height = i32(b, at + 12);
            escapement = i32(b, at + 20);
            weight = i32(b, at + 28);
            quality = b[at + 12 + 26];
            face = utf16(b, at + 12 + 28, 32);
        } else if (r.type == 22) {
            align = u32(b, at + 8);
        } else if (r.type == 84) {
            Text t;
            t.x = i32(b, at + 36);
            t.y = i32(b, at + 40);
            const std::uint32_t n = u32(b, at + 44);
            t.text = utf16(b, at + u32(b, at + 48), n);
            t.height = height;
            t.escapement = escapement;
            t.weight = weight;
            t.quality = quality;
            t.face = face;
            t.align = align;
            p.texts.push_back(t);
        } else if (r.type == 81) {
            Picture pic;
            pic.x = i32(b, at + 24);
            pic.y = i32(b, at + 28);
            pic.cx = i32(b, at + 72);
            pic.cy = i32(b, at + 76);
            const std::size_t offBmi = u32(b, at + 48), cbBmi = u32(b, at + 52);
            const std::size_t offBits = u32(b, at + 56), cbBits = u32(b, at + 60);
            if (offBmi + cbBmi > r.size || offBits + cbBits > r.size)
                throw std::runtime_error("bitmap outside its record");
            pic.bmi.assign(b.begin() + static_cast<long>(at + offBmi),
                           b.begin() + static_cast<long>(at + offBmi + cbBmi));
            pic.bits.assign(b.begin() + static_cast<long>(at + offBits),
                            b.begin() + static_cast<long>(at + offBits + cbBits));
            p.pictures.push_back(pic);
        }
        at += r.size;
    }
    return p;
}

// The DIB of a 24-bit BMP file as the file holds it: header and pixels.
std::pair<Bytes, Bytes> dibOf(const std::string& path) {
    const Bytes file = readAll(path);
    const std::size_t offBits = u32(file, 10);
    return {Bytes(file.begin() + 14, file.begin() + static_cast<long>(offBits)),
            Bytes(file.begin() + static_cast<long>(offBits), file.end())};
}

class EmfExportTest : public frametest::FrameTest {};

TEST_F(EmfExportTest, RackOfTheSelectedStationAsEmf) {
    ASSERT_EQ(startWithDemo(), 1);
    select(&tile(0, 1));
    const std::string path = root_ + "/rack.emf";
    app_->m_ChooseSaveFile = [&](const std::string& filter, const std::string&) {
        EXPECT_EQ(filter, "Meta Files (*.emf)|*.emf|");
        return root_ + "/rack";
    };
    ASSERT_TRUE(frame().OnCommand(ID_FILE_EXPORT_EMF));
    EXPECT_TRUE(messages_.empty());
    const Bytes b = readAll(path);
    ASSERT_GT(b.size(), 108u);
    const Parsed p = parse(b);
    // Header: signature, version, sizes, record count; EOF last.
    ASSERT_GE(p.records.size(), 2u);
    EXPECT_EQ(p.records.front().type, 1u);
    EXPECT_EQ(u32(b, 40), 0x464D4520u);
    EXPECT_EQ(u32(b, 44), 0x10000u);
    EXPECT_EQ(u32(b, 48), b.size());
    EXPECT_EQ(u32(b, 52), p.records.size());
    EXPECT_EQ(p.records.back().type, 14u);
    EXPECT_EQ(p.records.back().at + p.records.back().size, b.size());

    // Pictures: the head at (0, 0), then per pair of boards function.bmp and two connectors.
    const CStation& s = station(0);
    const int w = tile(0, 0).Module().width;
    ASSERT_GE(p.pictures.size(), 3u);
    EXPECT_EQ(p.pictures[0].x, 0);
    EXPECT_EQ(p.pictures[0].y, 0);
    const auto head = dibOf(prog_ + "/bmp/" + tile(0, 0).Description()->m_Bitmap);
    EXPECT_EQ(p.pictures[0].bmi, head.first);
    EXPECT_EQ(p.pictures[0].bits, head.second);
    const auto function = dibOf(prog_ + "/bmp/function.bmp");
    EXPECT_EQ(p.pictures[1].x, w);
    EXPECT_EQ(p.pictures[1].bits, function.second);
    EXPECT_EQ(p.pictures[1].cx, 82);
    EXPECT_EQ(p.pictures[2].x, w + 10);
    EXPECT_EQ(p.pictures[2].y, 84);
    EXPECT_EQ(p.pictures[2].bits, dibOf(prog_ + "/bmp/stecker.bmp").second);
    EXPECT_EQ(p.pictures[3].x, w + 40);
    // Board 3 opens the second pair.
    EXPECT_EQ(p.pictures[4].x, w + 82);

    // Texts: the head's at (30, 450), each board's at the cursor + 15 / + 50.
    ASSERT_EQ(p.texts.size(), static_cast<std::size_t>(s.TileCount()));
    EXPECT_EQ(p.texts[0].text, tile(0, 0).Description()->m_Description);
    EXPECT_EQ(p.texts[0].x, 30);
    EXPECT_EQ(p.texts[0].y, 450);
    EXPECT_EQ(p.texts[1].text, "D2110");
    EXPECT_EQ(p.texts[1].x, w + 15);
    EXPECT_EQ(p.texts[2].x, w + 50);
    EXPECT_EQ(p.texts[3].x, w + 82 + 15);
    for (const Text& t : p.texts) {
        EXPECT_EQ(t.face, "Arial");
        EXPECT_EQ(t.height, -18);
        EXPECT_EQ(t.escapement, 900);
        EXPECT_EQ(t.weight, 400);
        EXPECT_EQ(t.quality, 4);
        EXPECT_EQ(t.align, 0u);
    }

    // The system's converter draws the texts.
    const std::string svg = root_ + "/rack.svg";
    const std::string command = "emf2svg-conv -i '" + path + "' -o '" + svg + "' 2>/dev/null";
    ASSERT_EQ(std::system(command.c_str()), 0);
    const Bytes out = readAll(svg);
    const std::string text(out.begin(), out.end());
    EXPECT_NE(text.find("D2110"), std::string::npos);
    EXPECT_NE(text.find("@D615"), std::string::npos);

    // A station without tiles: header and EOF only.
    tree().setCurrentItem(tree().topLevelItem(0));
    CStation* empty = doc().AppendStation();
    (void)empty;
    while (doc().StationCount() > 1)
        doc().DeleteGroup(0);
    std::string error;
    ASSERT_TRUE(frame().View()->ExportEmf(root_ + "/empty.emf", &error)) << error;
    const Parsed none = parse(readAll(root_ + "/empty.emf"));
    ASSERT_EQ(none.records.size(), 2u);
    EXPECT_EQ(none.records[1].type, 14u);

    // A path below a regular file: a message with the file and the cause, no file, the old
    // file untouched.
    app_->m_ChooseSaveFile = [&](const std::string&, const std::string&) {
        return path + "/inner.emf";
    };
    ASSERT_TRUE(frame().OnCommand(ID_FILE_EXPORT_EMF));
    ASSERT_EQ(messages_.size(), 1u);
    EXPECT_EQ(messages_[0].line1, path + "/inner.emf");
    EXPECT_EQ(messages_[0].line2, std::strerror(ENOTDIR));
    EXPECT_EQ(readAll(path), b);
}

} // namespace
