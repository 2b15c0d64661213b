// The record editors and the offset prompt, offscreen against real widgets.
#include "panel/core/data_files.h"
#include "panel/ui/etype_dlg.h"
#include "panel/ui/ip_data_dlg.h"
#include "panel/ui/panel_session.h"
#include "panel/ui/panel_templates.h"
#include "panel/ui/prompts.h"
#include "panel/ui/record_dlgs.h"
#include "platform/ini_file.h"
#include "xui/color_sel_edit.h"
#include "xui/command.h"
#include "xui/message_dlg.h"
#include "xui/qt_text.h"
#include "xui/window_class.h"

#include <QApplication>
#include <QLineEdit>
#include <QPainter>
#include <QTest>

#include <gtest/gtest.h>

#include <cstdlib>
#include <fstream>

namespace x740panel {
namespace {

QApplication& App() {
    static int argc = 1;
    static char name[] = "panel_record_dlgs_test";
    static char* argv[] = {name, nullptr};
    static QApplication* a = new QApplication(argc, argv);
    return *a;
}

// Posts the button's command to the dialog and lets it arrive.
void Press(QWidget& dlg, int id) {
    xui::postCommandTo(&dlg, id);
    for (int i = 0; i < 5; ++i) {
        QCoreApplication::processEvents();
    }
}

class RecordDlgs : public ::testing::Test {
protected:
    void SetUp() override {
        App();
        RegisterPanelClasses();
        char pattern[] = "/tmp/x740records_XXXXXX";
        dir = ::mkdtemp(pattern);
        file = dir + "/cam.ini";
        std::ofstream(file, std::ios::binary)
            << "[NSW128]\r\nSSI_Index=1\r\nBlockConfig_0=3,x,7\r\n"
               "Nocken_0=5,Cam A,100,0,200,0,16,1,20\r\nNocken_1=1,B,1,2,3,4,0\r\n"
               "[SSI_0]\r\nDrehrichtung=1\r\nInkremente=4096\r\n";
        mv::iniClearCache();
    }
    void TearDown() override {
        xui::setMessagePresenter({});
        (void)std::system(("rm -rf '" + dir + "'").c_str());
        mv::iniClearCache();
    }
    LogItemRecord Record(int type, const std::string& name) { return {type, file, name}; }
    static std::string Label(CRecordDlg& dlg, int i) {
        return xui::toCp1252(xui::windowText(dlg.item(kRecordLabelFirstId + i)));
    }
    static std::vector<std::string> Fields(CRecordDlg& dlg, int n) {
        std::vector<std::string> f;
        for (int i = 0; i < n; ++i) {
            f.push_back(dlg.FieldText(i));
        }
        return f;
    }
    std::string dir;
    std::string file;
};

TEST_F(RecordDlgs, EditorsShowTheRecordAndSaveTheTextsAsTyped) {
    CCamData2Dlg block(Record(kLogItemBlockConfig, "BlockConfig_0"));
    block.ShowModeless();
    EXPECT_EQ(Fields(block, 3), (std::vector<std::string>{"3", "-1", "7"}));
    EXPECT_EQ(Label(block, 1), " Modulindex");
    auto* edit = block.itemAs<xui::CColorSelEdit>(kRecordEditFirstId + 1);
    ASSERT_NE(edit, nullptr);
    EXPECT_TRUE(edit->accepts('-'));
    EXPECT_FALSE(edit->accepts('a'));
    block.SetFieldText(1, "2");
    Press(block, 1);
    EXPECT_EQ(mv::iniReadString(file, "NSW128", "BlockConfig_0"), "3,2,7");
    // Only the first 255 characters of a value are split.
    mv::iniWriteString(file, "NSW128", "BlockConfig_1", "4,9,2," + std::string(300, 'x'));
    CCamData2Dlg longLine(Record(kLogItemBlockConfig, "BlockConfig_1"));
    longLine.ShowModeless();
    EXPECT_EQ(Fields(longLine, 3), (std::vector<std::string>{"4", "9", "2"}));
    Press(longLine, 2);

    CCamData2Dlg bit(Record(kLogItemBitConfig, "BitConfig_9"));
    bit.ShowModeless();
    EXPECT_EQ(Label(bit, 0), " Blockindex");
    EXPECT_EQ(Label(bit, 1), " Bitoffset");
    EXPECT_EQ(Label(bit, 2), " Bahnindex");
    EXPECT_EQ(Fields(bit, 3), (std::vector<std::string>{"-1", "-1", "-1"}));
    Press(bit, 2); // Cancel
    EXPECT_EQ(mv::iniReadString(file, "NSW128", "BitConfig_9"), "");

    // A nine-field cam keeps its trigger mode and delay; a seven-field one stays seven.
    CCamData3Dlg cam(Record(kLogItemCam, "Nocken_0"));
    cam.ShowModeless();
    EXPECT_EQ(Fields(cam, 7),
              (std::vector<std::string>{"Cam A", "5", "100", "0", "200", "0", "16"}));
    cam.SetFieldText(2, "150");
    Press(cam, 1);
    EXPECT_EQ(mv::iniReadString(file, "NSW128", "Nocken_0"), "5,Cam A,150,0,200,0,16,1,20");
    CCamData3Dlg seven(Record(kLogItemCam, "Nocken_1"));
    seven.ShowModeless();
    Press(seven, 1);
    EXPECT_EQ(mv::iniReadString(file, "NSW128", "Nocken_1"), "1,B,1,2,3,4,0");

    CSSIDataDlg ssi(Record(kLogItemSsiSection, "SSI_0"));
    ssi.ShowModeless();
    EXPECT_EQ(Label(ssi, 9), "OptionFlagse");
    EXPECT_EQ(ssi.FieldText(1), "4096");
    EXPECT_EQ(ssi.FieldText(2), "-1");
    EXPECT_EQ(ssi.FieldText(6), "-2");
    Press(ssi, 1);
    EXPECT_EQ(mv::iniReadString(file, "SSI_0", "PresetModulByteOffset"), "-2");
    EXPECT_EQ(mv::iniReadString(file, "SSI_0", "Offset"), "-1");

    CCamData1Dlg setup(Record(kLogItemNswSetup, ""));
    setup.ShowModeless();
    EXPECT_EQ(Fields(setup, 2), (std::vector<std::string>{"1", "-1"}));
    setup.SetFieldText(0, "0");
    setup.SetFieldText(1, "-3000");
    Press(setup, 1);
    EXPECT_EQ(mv::iniReadString(file, "NSW128", "SSI_Index"), "0");
    EXPECT_EQ(mv::iniReadString(file, "NSW128", "SSI_MaxSpeed"), "-3000");
    EXPECT_EQ(mv::iniReadString(file, "NSW128", "BlockConfig_0"), "3,2,7");
}

TEST_F(RecordDlgs, OffsetPromptTakesWholeNumbersOnly) {
    std::vector<std::string> messages;
    xui::setMessagePresenter([&](const xui::MessageRequest& r) {
        messages.push_back(r.line1);
        return mv::IDOK;
    });
    CSSIOffsetDlg dlg;
    dlg.ShowModeless();
    auto* index = dlg.itemAs<QLineEdit>(15028);
    auto* offset = dlg.itemAs<QLineEdit>(15029);
    ASSERT_NE(index, nullptr);
    EXPECT_EQ(index->text(), "0");
    EXPECT_EQ(offset->text(), "0");
    index->setText("1");
    offset->setText("12a");
    Press(dlg, 1);
    EXPECT_EQ(messages.size(), 1u);
    EXPECT_TRUE(dlg.isVisible());
    offset->setText("-300");
    // The request carries the interface in one byte.
    for (const char* bad : {"256", "-1"}) {
        index->setText(bad);
        Press(dlg, 1);
        EXPECT_TRUE(dlg.isVisible()) << bad;
    }
    EXPECT_EQ(messages.size(), 3u);
    EXPECT_EQ(messages.back(), "SSI-Index must be between 0 and 255");
    index->setText("255");
    Press(dlg, 1);
    EXPECT_FALSE(dlg.isVisible());
    EXPECT_EQ(dlg.m_Index, 255);
    EXPECT_EQ(dlg.m_Offset, -300);
}

// Dark pixels of an image inside a rectangle.
int Ink(const QImage& image, const QRect& r) {
    int n = 0;
    for (int y = r.top(); y <= r.bottom(); ++y) {
        for (int x = r.left(); x <= r.right(); ++x) {
            n += qGray(image.pixel(x, y)) < 96;
        }
    }
    return n;
}

// Each label of the editors, the prompts and the IP data and identification dialogs is drawn
// once in its box: about the ink of one rendering of its text, not two copies a few pixels apart.
TEST_F(RecordDlgs, LabelsAreDrawnOnce) {
    CSSIDataDlg ssi(Record(kLogItemSsiSection, "SSI_0"));
    CCamData1Dlg setup(Record(kLogItemNswSetup, ""));
    CCamData2Dlg block(Record(kLogItemBlockConfig, "BlockConfig_0"));
    CCamData3Dlg cam(Record(kLogItemCam, "Nocken_0"));
    CSSIOffsetDlg offset;
    CSSIIndexDlg index;
    CCamBlockDlg camBlock;
    camBlock.m_BitOffset = "0";
    CIPDataDlg ip;
    CETypeDlg ident;
    const std::vector<int> prompt = {kPromptTextId, kPromptLabel1Id, kPromptLabel2Id};
    const std::vector<std::pair<xui::CXDialog*, std::vector<int>>> dialogs = {
        {&ssi, {5000, 5001, 5009, 5013}}, {&setup, {5000, 5001}}, {&block, {5000, 5002}},
        {&cam, {5000, 5006}}, {&offset, prompt}, {&index, {kPromptTextId, kPromptLabel1Id}},
        {&camBlock, prompt},
        {&ip, {kSerialLabelId, kIpAddressLabelId, kSubnetMaskLabelId, kGatewayLabelId}},
        {&ident, {kComponentIdLabelId, kTypeIdLabelId, kIdentCodeLabelId}}};
    for (const auto& [dlg, labels] : dialogs) {
        dlg->ShowModeless();
        const QImage shot = dlg->grab().toImage();
        for (int id : labels) {
            const QWidget* label = dlg->item(id);
            ASSERT_NE(label, nullptr) << dlg->windowTitle().toStdString() << " " << id;
            const QRect box = label->geometry().adjusted(1, 1, -1, -1);
            QImage one(label->size(), QImage::Format_RGB32);
            one.fill(QColor(151, 191, 222));
            {
                QPainter p(&one);
                p.setFont(label->font());
                p.setPen(Qt::black);
                p.drawText(one.rect().adjusted(2, 0, 0, 0), Qt::AlignLeft | Qt::AlignVCenter,
                           xui::windowText(label));
            }
            const int expected = Ink(one, one.rect().adjusted(1, 1, -1, -1));
            const int seen = Ink(shot, box);
            EXPECT_GT(expected, 0);
            EXPECT_LT(seen, expected * 3 / 2)
                << dlg->windowTitle().toStdString() << " " << xui::toCp1252(xui::windowText(label));
            EXPECT_GT(seen, expected / 2) << xui::toCp1252(xui::windowText(label));
        }
        dlg->close();
    }
}

} // namespace
} // namespace x740panel
