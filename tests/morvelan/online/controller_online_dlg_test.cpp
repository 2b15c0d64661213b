// The controller's online dialog against the simulated station: the master parameter blocks as
// the station reports them, the tabs, the buttons' actions and their failures.
#include "tests/morvelan/online/online_fixture.h"

#include "catalogue/module_description.h"
#include "morvelan/core/controller_module.h"
#include "morvelan/core/param_number.h"
#include "morvelan/online/controller_online_dlg.h"
#include "morvelan/online/memory_dlg.h"

#include <QAction>
#include <fstream>
#include <iterator>
#include <QClipboard>
#include <QGuiApplication>
#include <QLineEdit>
#include <QListWidget>
#include <QMenu>
#include <QMimeData>
#include <QScrollBar>
#include <QTest>
#include "portwire/include/Portwire.h"
#include "xui/owner_button.h"
#include "xui/window_class.h"
#include "xui/xgrid_ctrl.h"

namespace {

using namespace onlinetest;
using morvelan::CControllerOnlineDlg;
using morvelan::FormatMasterValue;

class TestHost : public morvelan::IControllerOnlineHost {
public:
    explicit TestHost(CMorvelanAppBase& a) : app(a) {}
    void PauseOnline() override { ++pauses; }
    void ResumeOnline() override { ++resumes; }
    std::uint32_t Link() override { return app.m_Link; }
    void AdoptLink(std::uint32_t link) override { app.AdoptLink(link); }
    std::string ProgramDir() override { return dir; }
    bool MemoryButton() override { return memory; }
    int WriteTimeout() override { return 500; }
    bool GatherParameters(std::vector<std::uint8_t>& image) override {
        image = params;
        return true;
    }
    bool UnknownModule() override { return unknown; }
    void RepaintView() override { ++repaints; }
    void SystemMessage(const std::string& caption, const std::string& text) override {
        boxes.push_back(caption + "|" + text);
    }
    void RunInfoList(CControllerModule&) override { ++infoLists; }
    void RunMemory() override {}

    CMorvelanAppBase& app;
    std::string dir = "/nonexistent";
    bool memory = false;
    bool unknown = false;
    std::vector<std::uint8_t> params{1, 2, 3};
    std::vector<std::string> boxes;
    int pauses = 0, resumes = 0, repaints = 0, infoLists = 0;
};

TEST(MasterValueFormat, TypesHexAndShortReplies) {
    const std::uint8_t r[] = {0xFE, 0x34, 0x12, 0xFF, 0xFF, 'a', 'b', 0, 'c'};
    EXPECT_EQ(FormatMasterValue(r, 9, 0, 1, false), "254");
    EXPECT_EQ(FormatMasterValue(r, 9, 0, 1, true), "FEH");
    EXPECT_EQ(FormatMasterValue(r, 9, 1, 2, true), "1234H");
    EXPECT_EQ(FormatMasterValue(r, 9, 1, 2, false), "4660");
    EXPECT_EQ(FormatMasterValue(r, 9, 1, 4, false), "-60876");
    EXPECT_EQ(FormatMasterValue(r, 9, 1, 4, true), "FFFF1234H");
    EXPECT_EQ(FormatMasterValue(r, 9, 5, 3, false), "ab");
    EXPECT_EQ(FormatMasterValue(r, 9, 8, 99, false), "c");
    EXPECT_EQ(FormatMasterValue(r, 9, 8, 5, false), "c");
    EXPECT_EQ(FormatMasterValue(r, 9, 0, 0, false), "");
    // Beyond the reply, partly beyond it, or before it: not read.
    const std::string notRead = mv::LanguageText(10014);
    EXPECT_EQ(FormatMasterValue(r, 9, 9, 1, false), notRead);
    EXPECT_EQ(FormatMasterValue(r, 9, 7, 4, false), notRead);
    EXPECT_EQ(FormatMasterValue(r, 9, 8, 2, false), notRead);
    EXPECT_EQ(FormatMasterValue(r, 9, -1, 1, false), notRead);
}

class ControllerOnlineTest : public OnlineFixture {};

TEST_F(ControllerOnlineTest, BlocksTabsButtonsAndFailures) {
    ASSERT_EQ(app.OpenConnectionPlain(0), 1);
    CModuleTile* head = doc.Station(0)->Tile(0);
    auto* controller = dynamic_cast<CControllerModule*>(&head->Module());
    ASSERT_NE(controller, nullptr);
    ASSERT_GT(controller->ChannelCount(), 0);
    for (int i = 0; i < controller->ChannelCount(); ++i) {
        Bytes value(64);
        for (std::size_t b = 0; b < value.size(); ++b)
            value[b] = static_cast<std::uint8_t>('A' + (b + i) % 26);
        station.setMasterParameter(static_cast<std::uint8_t>(controller->Channel(i).code), value);
    }

    TestHost host(app);
    CModuleDescription description;
    description.m_DisplayName = "Head 740";
    CControllerOnlineDlg dlg(host, *controller, &description);
    dlg.ShowModeless();
    QCoreApplication::processEvents();
    EXPECT_EQ(xui::windowText(dlg.item(morvelan::kCtlTitle)).toStdString(), "Head 740");
    EXPECT_FALSE(dlg.item(morvelan::kCtlMemory)->isVisibleTo(&dlg));
    EXPECT_FALSE(dlg.item(morvelan::kCtlAdvanced)->isVisibleTo(&dlg));
    EXPECT_EQ(dlg.TabCount(), controller->ChannelCount());
    EXPECT_TRUE(dlg.Tab(0)->isLatched());
    // The rows go on white from the last column to the scroll bar.
    const QImage grid = dlg.grid()->grab().toImage();
    for (int x = dlg.grid()->columnOffset(2) + 120; x < dlg.grid()->scrollBar()->x(); ++x)
        EXPECT_EQ(grid.pixel(x, 50) & 0xFFFFFFu, 0xFFFFFFu) << x;

    // Every block shows what the station holds.
    for (int i = 0; i < controller->ChannelCount(); ++i) {
        dlg.OnCommandForTest(morvelan::kCtlFirstTab + i);
        const CControllerChannel& ch = controller->Channel(i);
        // The reply starts with the request's two bytes.
        Bytes reply{static_cast<std::uint8_t>(ch.code), 0};
        const Bytes value = station.masterParameter(static_cast<std::uint8_t>(ch.code));
        reply.insert(reply.end(), value.begin(), value.end());
        for (std::size_t k = 0; k < ch.params.size(); ++k) {
            const CControllerParam& p = ch.params[k];
            EXPECT_EQ(dlg.Cell(0, static_cast<int>(k) + 1), mv::FormatC("%5d:", int(k) + 1));
            EXPECT_EQ(dlg.Cell(1, static_cast<int>(k) + 1), p.name);
            EXPECT_EQ(dlg.Cell(2, static_cast<int>(k) + 1),
                      FormatMasterValue(reply.data(), int(reply.size()), p.offset, p.length,
                                        p.mode == 1));
        }
    }

    // Scrolling stops three tabs before the end.
    for (int i = 0; i < 10; ++i)
        dlg.OnCommandForTest(morvelan::kCtlScrollRight);
    EXPECT_EQ(dlg.ScrollPosition(), std::max(0, dlg.TabCount() - 3));
    for (int i = 0; i < 10; ++i)
        dlg.OnCommandForTest(morvelan::kCtlScrollLeft);
    EXPECT_EQ(dlg.ScrollPosition(), 0);

    // Fieldbus on and off reach the station.
    dlg.OnCommandForTest(morvelan::kCtlFieldbusOn);
    EXPECT_TRUE(station.fieldbusRunning());
    dlg.OnCommandForTest(morvelan::kCtlFieldbusOff);
    EXPECT_FALSE(station.fieldbusRunning());

    // Save and clear: done messages; the parameter bytes arrive.
    shown.clear();
    dlg.OnCommandForTest(morvelan::kCtlSave);
    dlg.OnCommandForTest(morvelan::kCtlClear);
    EXPECT_EQ(station.flashClears(), 1);
    ASSERT_EQ(shown.size(), 2u);
    EXPECT_EQ(shown[0].line1, mv::LanguageText(10013));
    EXPECT_EQ(shown[0].bitmapId, 159);

    // Refusals: unknown module, oversized image.
    shown.clear();
    host.unknown = true;
    dlg.OnCommandForTest(morvelan::kCtlSave);
    host.unknown = false;
    host.params.assign(254, 0);
    dlg.OnCommandForTest(morvelan::kCtlSave);
    ASSERT_EQ(shown.size(), 2u);
    EXPECT_EQ(shown[0].line1, "Unknown modul in project");
    EXPECT_NE(shown[1].line1.find(" Datasize error"), std::string::npos);

    // A failed block read: the platform box, polling paused around it.
    station.injectFault(x740sim::Fault::badChecksum(), 1);
    const int pauses = host.pauses;
    dlg.OnCommandForTest(morvelan::kCtlFirstTab);
    EXPECT_EQ(host.pauses, pauses + 1);
    ASSERT_EQ(host.boxes.size(), 1u);
    EXPECT_NE(host.boxes[0].find(" Checksum error"), std::string::npos);

    // A missing service library and a name with a path.
    description.m_Dll = "NoSuchPanel";
    dlg.OnCommandForTest(morvelan::kCtlAdvanced);
    description.m_Dll = "../x";
    dlg.OnCommandForTest(morvelan::kCtlAdvanced);
    ASSERT_EQ(host.boxes.size(), 3u);
    EXPECT_EQ(host.boxes[1].rfind("CControllerOnlineDlg|Error : ", 0), 0u);
    EXPECT_EQ(host.boxes[2].rfind("CControllerOnlineDlg|Error : ", 0), 0u);

    dlg.OnCommandForTest(morvelan::kCtlErrorInfo);
    EXPECT_EQ(host.infoLists, 1);
    dlg.OnCommandForTest(mv::IDOK);
    EXPECT_EQ(controller->FieldbusShownState(), 255);
    EXPECT_EQ(host.repaints, 1);
}

// Five blocks: real clicks at the centres of ">" and "<" reach every strip position and back;
// the buttons beside the strip take their own clicks at each of them.
TEST_F(ControllerOnlineTest, FiveBlocksScrollByClicksAndTheButtonsBesideTheStripStayOnTop) {
    ASSERT_EQ(app.OpenConnectionPlain(0), 1);
    auto* controller = dynamic_cast<CControllerModule*>(&doc.Station(0)->Tile(0)->Module());
    ASSERT_NE(controller, nullptr);
    std::ifstream in(install.dir() + "/Modul/X740.kvn", std::ios::binary);
    std::string text((std::istreambuf_iterator<char>(in)), std::istreambuf_iterator<char>());
    const std::size_t count = text.find("Channel=2");
    ASSERT_NE(count, std::string::npos);
    text[count + 8] = '5';
    for (int k = 3; k <= 5; ++k)
        text += "\r\n[K" + std::to_string(k) + "]\r\nName=20\r\nParameter=0\r\nNr=61\r\n";
    const std::string path = install.dir() + "/Modul/X740five.kvn";
    std::ofstream(path, std::ios::binary) << text;
    controller->LoadDescription(path);
    ASSERT_EQ(controller->ChannelCount(), 5);

    TestHost host(app);
    CControllerOnlineDlg dlg(host, *controller, nullptr);
    dlg.ShowModeless();
    QCoreApplication::processEvents();
    // The control a click at the centre of a control lands on.
    const auto hitAt = [&](QWidget* control) {
        const QPoint at = control->mapTo(&dlg, control->rect().center());
        QWidget* hit = dlg.childAt(at);
        while (hit && hit->parentWidget() != &dlg)
            hit = hit->parentWidget();
        return std::make_pair(hit, hit ? hit->mapFrom(&dlg, at) : QPoint());
    };
    const auto click = [&](int id) {
        const auto [hit, at] = hitAt(dlg.item(id));
        ASSERT_NE(hit, nullptr);
        QTest::mouseClick(hit, Qt::LeftButton, {}, at);
        QCoreApplication::processEvents();
    };
    const auto shownTabs = [&] {
        std::vector<int> v;
        for (int i = 0; i < dlg.TabCount(); ++i) {
            if (dlg.Tab(i)->isVisibleTo(&dlg))
                v.push_back(i);
        }
        return v;
    };
    const auto buttonsOnTop = [&] {
        for (int id : {morvelan::kCtlScrollLeft, morvelan::kCtlScrollRight, morvelan::kCtlSave}) {
            if (hitAt(dlg.item(id)).first != dlg.item(id))
                return false;
        }
        return true;
    };
    using Tabs = std::vector<int>;
    EXPECT_EQ(shownTabs(), (Tabs{0, 1, 2}));
    EXPECT_TRUE(buttonsOnTop());
    const std::pair<int, Tabs> right[] = {{1, {1, 2, 3}}, {2, {2, 3, 4}}, {2, {2, 3, 4}}};
    for (const auto& [position, tabs] : right) {
        click(morvelan::kCtlScrollRight);
        EXPECT_EQ(dlg.ScrollPosition(), position);
        EXPECT_EQ(shownTabs(), tabs);
        EXPECT_TRUE(buttonsOnTop()) << "at position " << position;
    }
    // A shown tab takes its click.
    QTest::mouseClick(dlg.Tab(4), Qt::LeftButton, {}, dlg.Tab(4)->rect().center());
    QCoreApplication::processEvents();
    EXPECT_EQ(dlg.CurrentBlock(), 4);
    const std::pair<int, Tabs> left[] = {{1, {1, 2, 3}}, {0, {0, 1, 2}}, {0, {0, 1, 2}}};
    for (const auto& [position, tabs] : left) {
        click(morvelan::kCtlScrollLeft);
        EXPECT_EQ(dlg.ScrollPosition(), position);
        EXPECT_EQ(shownTabs(), tabs);
        EXPECT_TRUE(buttonsOnTop()) << "at position " << position;
    }
    EXPECT_EQ(dlg.CurrentBlock(), 4) << "no click went to a tab";
    click(morvelan::kCtlSave);
    ASSERT_EQ(shown.size(), 1u);
    EXPECT_EQ(shown[0].line1, mv::LanguageText(10013));
}

} // namespace

namespace {

class MemoryDlgTest : public onlinetest::OnlineFixture {};

TEST_F(MemoryDlgTest, DumpLinesEscapeReadsAndAFailedReadEmptiesTheList) {
    std::uint8_t bytes[80];
    for (int i = 0; i < 80; ++i)
        bytes[i] = static_cast<std::uint8_t>('0' + i % 40);
    bytes[3] = 0;
    const auto lines = morvelan::MemoryLines(0x1000, bytes);
    ASSERT_EQ(lines.size(), 10u);
    EXPECT_EQ(lines[0], "00001000   30 31 32 00 34 35 36 37  0124567");
    EXPECT_EQ(lines[9].substr(0, 10), "00001048  ");

    ASSERT_EQ(app.OpenConnectionPlain(0), 1);
    morvelan::CMemoryDlg dlg([](void* a) { return static_cast<CMorvelanAppBase*>(a)->m_Link; },
                             &app);
    dlg.ShowModeless();
    auto* start = dlg.itemAs<QLineEdit>(morvelan::kMemStartEdit);
    ASSERT_NE(start, nullptr);
    // The station's memory as the window shows it: the reply's 2-byte head, then the bytes.
    std::vector<std::uint8_t> memory;
    for (int i = 0; i < 90; ++i)
        memory.push_back(static_cast<std::uint8_t>('A' + i % 26));
    memory[5] = 0;
    station.writeMemory(0x1000, memory);
    start->setText("1000");
    dlg.list()->addItem("stale");
    dlg.OnCommandForTest(mv::IDCANCEL);
    ASSERT_EQ(dlg.list()->count(), 10);
    EXPECT_EQ(dlg.list()->item(0)->text().toStdString(),
              "00001000   0e 00 41 42 43 44 45 00  \x0e"
              "ABCDE");
    EXPECT_EQ(dlg.list()->item(1)->text().toStdString(),
              "00001008   47 48 49 4a 4b 4c 4d 4e  GHIJKLMN");
    EXPECT_EQ(dlg.list()->item(9)->text().toStdString(),
              "00001048   53 54 55 56 57 58 59 5a  STUVWXYZ");
    EXPECT_TRUE(shown.empty());
    const auto request = LastData(0x40, 14);
    EXPECT_EQ(request, (Bytes{14, 0, 80, 0, 0x00, 0x10, 0x00, 0x00}));

    // A checksum fault is read again; a device error fails at once.
    station.injectFault(x740sim::Fault::badChecksum(), 1);
    dlg.OnCommandForTest(mv::IDCANCEL);
    EXPECT_EQ(dlg.list()->count(), 10);
    EXPECT_TRUE(shown.empty());
    start->setText("fff0");
    dlg.list()->addItem("stale");
    shown.clear();
    dlg.OnCommandForTest(mv::IDCANCEL); // Escape reads and keeps the dialog open
    EXPECT_TRUE(dlg.isVisible());
    EXPECT_EQ(dlg.list()->count(), 0);
    ASSERT_EQ(shown.size(), 1u);
    EXPECT_EQ(shown[0].line1.rfind(mv::LanguageText(5004) + " : ", 0), 0u);
    EXPECT_EQ(shown[0].bitmapId, 150);
}

} // namespace

namespace {

class MemoryPasteTest : public onlinetest::OnlineFixture {};

// Text that bypasses the key filter, pasted from the edit's menu or dropped on it, is read up to
// its first character that is not a hex digit; the edit takes no more digits than an address has.
TEST_F(MemoryPasteTest, PastedAndDroppedTextIsReadUpToItsFirstNonHexDigit) {
    ASSERT_EQ(app.OpenConnectionPlain(0), 1);
    morvelan::CMemoryDlg dlg([](void* a) { return static_cast<CMorvelanAppBase*>(a)->m_Link; },
                             &app);
    dlg.ShowModeless();
    auto* start = dlg.itemAs<QLineEdit>(morvelan::kMemStartEdit);
    QWidget* read = dlg.item(mv::IDCANCEL);
    ASSERT_TRUE(start && read);
    const auto pasteAndRead = [&](const QString& text) {
        start->clear();
        QGuiApplication::clipboard()->setText(text);
        std::unique_ptr<QMenu> menu(start->createStandardContextMenu());
        QAction* paste = nullptr;
        for (QAction* a : menu->actions()) {
            if (a->text().startsWith(QStringLiteral("&Paste")))
                paste = a;
        }
        ASSERT_NE(paste, nullptr);
        paste->trigger();
        QTest::mouseClick(read, Qt::LeftButton, {}, read->rect().center());
        QCoreApplication::processEvents();
    };
    // The request: code, 0, count, 0, then the address in four bytes, low byte first.
    const auto address = [&] {
        const Bytes d = LastData(0x40, 14);
        return d.size() >= 8 ? Bytes(d.begin() + 4, d.begin() + 8) : Bytes{};
    };
    pasteAndRead("zz");
    EXPECT_EQ(start->text(), "zz");
    EXPECT_EQ(address(), (Bytes{0, 0, 0, 0}));
    EXPECT_EQ(dlg.list()->count(), 10);
    pasteAndRead("1f0zz9");
    EXPECT_EQ(address(), (Bytes{0xF0, 0x01, 0, 0}));
    pasteAndRead("000012345");
    EXPECT_EQ(start->text(), "00001234");
    EXPECT_EQ(address(), (Bytes{0x34, 0x12, 0, 0}));

    // Dropped text.
    start->clear();
    QMimeData mime;
    mime.setText(QStringLiteral("-8x"));
    const QPoint at = start->rect().center();
    QDragEnterEvent enter(at, Qt::CopyAction, &mime, Qt::LeftButton, {});
    QCoreApplication::sendEvent(start, &enter);
    QDropEvent drop(QPointF(at), Qt::CopyAction, &mime, Qt::LeftButton, {});
    QCoreApplication::sendEvent(start, &drop);
    EXPECT_EQ(start->text(), "-8x");
    QTest::mouseClick(read, Qt::LeftButton, {}, read->rect().center());
    QCoreApplication::processEvents();
    EXPECT_EQ(address(), (Bytes{0, 0, 0, 0}));
    EXPECT_TRUE(shown.empty());
}

} // namespace
