// A project of ten boards of one damaged type, opened with the Open command: one message that
// names the description file, lists its first problems one per row and counts the rest; the
// next open tells it once again.
#include "tests/morvelan/ui/frame_fixture.h"

#include "morvelan/core/param_number.h"
#include "xui/message_dlg.h"

#include <QAction>

namespace {

using frametest::FrameTest;

TEST_F(FrameTest, DamagedDescriptionIsToldOncePerOpen) {
    // 1024 channels, each of an unknown data type and with more parameters than are read.
    std::string kvn = "[FILEINFO]\r\nProtocol_ID=1\r\nDevice=Morvelan\r\n[MORVELAN]\r\n"
                      "Description=BAD\r\nID=4660\r\nTyp=2\r\nChannel=1024\r\n";
    for (int k = 1; k <= 1024; ++k)
        kvn += mv::FormatC("[K%d]\r\nSkale=1\r\nOffset=0\r\nDatatype=0\r\nParameter=1024\r\n", k);
    std::ofstream(prog_ + "/Modul/BAD.kvn", std::ios::binary) << kvn;
    std::string mvl = "[MAIN]\r\nModule=1\r\n[M0]\r\nPrints=11\r\n[M0P0]\r\nFilename=X740.kvn\r\n";
    for (int p = 1; p <= 10; ++p)
        mvl += mv::FormatC("[M0P%d]\r\nFilename=BAD.kvn\r\n", p);
    const std::string project = root_ + "/ten.mvl";
    std::ofstream(project, std::ios::binary) << mvl;
    ASSERT_EQ(start(), 1);
    app_->m_ChooseOpenFile = [&](const std::string&) { return project; };

    for (int open = 0; open < 2; ++open) {
        messages_.clear();
        frame().Action(ID_FILE_OPEN)->trigger();
        EXPECT_EQ(station(0).TileCount(), 11);
        ASSERT_EQ(messages_.size(), 1u) << "open " << open;
        EXPECT_EQ(messages_[0].line1, prog_ + "/Modul/BAD.kvn");
    }
    // The channel count cut, then two problems for each channel read: 513 in all.
    const xui::MessageRequest shown = messages_[0];
    const std::string& list = shown.line2;
    EXPECT_EQ(list.substr(0, list.find('\n')), "channel count 1024 outside 0..256");
    EXPECT_EQ(std::count(list.begin(), list.end(), '\n'), 10);
    EXPECT_EQ(list.substr(list.rfind('\n') + 1), "... and 503 more");

    // The program's message dialog gives each row a line of its own, and OK stays below them.
    xui::CMessageDlg one(shown.line1, "one row", shown.caption, shown.bitmapId, 0, nullptr,
                         shown.captionColor);
    xui::CMessageDlg rows(shown.line1, list, shown.caption, shown.bitmapId, 0, nullptr,
                          shown.captionColor);
    one.ShowModeless();
    rows.ShowModeless();
    const int rowHeight = one.line2Static()->height();
    EXPECT_EQ(rows.height() - one.height(), 10 * rowHeight);
    EXPECT_EQ(rows.line2Static()->height(), 11 * rowHeight);
    EXPECT_GT(rows.item(mv::IDOK)->y(), rows.line2Static()->geometry().bottom());
    EXPECT_GT(rows.width(), one.width());
}

} // namespace
