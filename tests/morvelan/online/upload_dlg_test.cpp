// The upload dialog against the simulated station: both modes with their fillers, unknown
// module and controller IDs, an unreadable controller, both saved layouts and hostile counts,
// the 0x05 fill of the parameter buffer, the self-completion of the automatic sequence, and a
// built station that is saved and read back unchanged.
#include "online_fixture.h"

#include "morvelan/core/morvelan_doc_hooks.h"
#include "morvelan/online/upload_dlg.h"
#include "xui/xgrid_ctrl.h"

#include <QCoreApplication>
#include <QLineEdit>
#include <QScrollBar>

#include <filesystem>

namespace onlinetest {
namespace {

using morvelan::CModuleUploadDlg;
using Strings = std::vector<std::string>;

class UploadHost : public morvelan::IUploadHost {
public:
    explicit UploadHost(CMorvelanDoc& doc) : doc_(doc) {}
    CMorvelanDoc& Document() override { return doc_; }
    void NewDocument() override {
        ++newDocuments;
        doc_.OnNewDocument();
    }
    void FillTree() override { ++treeFills; }
    void SelectModul(CModuleTile* tile) override { selected = tile; }
    void RedrawView() override {}
    int ScrollX() override { return 5; }
    int ScrollY() override { return 0; }
    std::uint32_t Link() override { return link; }
    bool AutoOnline() override { return autoOnline; }

    std::uint32_t link = 0;
    bool autoOnline = false;
    int newDocuments = 0;
    int treeFills = 0;
    CModuleTile* selected = nullptr;

private:
    CMorvelanDoc& doc_;
};

class UploadTest : public OnlineFixture {
protected:
    void SetUp() override {
        OnlineFixture::SetUp();
        Bytes params;
        for (int i = 1; i <= 200; ++i)
            params.push_back(static_cast<std::uint8_t>(i));
        station.setModuleParameters(params);
        station.setSavedModuleParameters(params);
    }
    // Connects as the frame does before it opens the dialog.
    void Connect() {
        ASSERT_EQ(app.OpenConnectionPlain(0), 1);
        host.link = app.m_Link;
    }
    // Opens the dialog without a modal loop; `command` is then clicked (0: none).
    int Run(CModuleUploadDlg& dlg, int command) {
        dlg.ShowModeless();
        QCoreApplication::sendPostedEvents();
        if (command != 0 && dlg.isVisible()) {
            xui::postCommandTo(&dlg, command);
            QCoreApplication::sendPostedEvents();
        }
        return dlg.isVisible() ? -1 : dlg.result();
    }
    Strings Column(CModuleUploadDlg& dlg, int column, int rows) {
        Strings out;
        for (int r = 1; r <= rows; ++r) {
            std::string text;
            dlg.grid()->GetCellText(r, column, text);
            out.push_back(text);
        }
        return out;
    }
    Strings TileTypes(int stationIndex) {
        Strings out;
        const CStation* s = doc.Station(stationIndex);
        for (int j = 0; s && j < s->TileCount(); ++j) {
            const CModuleDescription* d = s->Tile(j)->Description();
            out.push_back(d ? d->m_Description : "-");
        }
        return out;
    }
    Bytes Image(int stationIndex) {
        Bytes image(4096);
        int total = 0;
        doc.GatherGroupData(stationIndex, image.data(), 4096, total);
        image.resize(static_cast<std::size_t>(total));
        return image;
    }

    UploadHost host{doc};
};

TEST_F(UploadTest, LiveModulesWithFillersBuildANewProject) {
    x740sim::applyPreset(station, "fillers");
    Connect();
    CModuleUploadDlg dlg(host);
    ASSERT_EQ(Run(dlg, 0), -1);
    EXPECT_EQ(dlg.windowTitle().toStdString(), "Upload");
    EXPECT_EQ(Column(dlg, 0, 6), (Strings{"X740", "K614", "K618", "C643", "D2110", ""}));
    std::string heading;
    dlg.grid()->GetCellText(0, 0, heading);
    EXPECT_EQ(heading, "Type");
    // The rows go on white from the last column to the scroll bar.
    const QImage grid = dlg.grid()->grab().toImage();
    for (int x = dlg.grid()->columnOffset(1) + 250; x < dlg.grid()->scrollBar()->x(); ++x)
        EXPECT_EQ(grid.pixel(x, 50) & 0xFFFFFFu, 0xFFFFFFu) << x;
    EXPECT_EQ(dlg.moduleList(), (Strings{"K614", "@Zero", "@D615", "@Zero", "K618", "@Zero",
                                         "@D619", "@Zero", "C643", "@Zero", "D2110"}));
    dlg.findChild<QLineEdit*>()->setText(QString::fromUtf8("Line\r\n\xC3\xA4")); // as pasted
    station.clearFrameLog();
    EXPECT_EQ(Run(dlg, morvelan::kUploadNewProject), 1);
    EXPECT_EQ(host.newDocuments, 1);
    EXPECT_EQ(Transcript(), (Strings{"R13"}));
    ASSERT_EQ(doc.StationCount(), 1);
    EXPECT_EQ(doc.Station(0)->m_Name, "Line \xE4"); // the break became a blank
    EXPECT_EQ(TileTypes(0), (Strings{"X740", "K614", "@Zero", "@D615", "@Zero", "K618", "@Zero",
                                     "@D619", "@Zero", "C643", "@Zero", "D2110"}));
    const CStation& built = *doc.Station(0);
    int running = 0;
    for (int j = 0; j < built.TileCount(); ++j) {
        const CModuleTile& t = *built.Tile(j);
        EXPECT_EQ(t.m_Slot, j == 0 ? 0 : j - 1) << j;
        EXPECT_EQ(t.x, j == 0 ? 15 : 20 + 82 + 41 * (j - 1) - 5) << j;
        if (t.m_Kind == 2 || t.m_Kind == 6) {
            EXPECT_EQ(t.m_OnlineParam, running++) << j;
        }
    }
    EXPECT_EQ(host.selected, built.Tile(built.TileCount() - 1));
    EXPECT_FALSE(docHooks.UnknownModule());
}

TEST_F(UploadTest, UnusedParameterBytesKeepTheFillValue) {
    // The controller sends fewer parameter bytes than the boards take: the station built is
    // the one built from those bytes followed by 0x05 up to the end of the buffer.
    x740sim::applyPreset(station, "fillers");
    Connect();
    Bytes full(253, 0x05);
    full[0] = 0x11;
    full[1] = 0x22;
    for (const Bytes& params : {Bytes{0x11, 0x22}, full}) {
        station.setModuleParameters(params);
        CModuleUploadDlg dlg(host);
        EXPECT_EQ(Run(dlg, morvelan::kUploadAdd), 1);
    }
    ASSERT_EQ(doc.StationCount(), 4);
    EXPECT_EQ(Image(2), Image(3));
    EXPECT_NE(Image(2), Image(0));
}

TEST_F(UploadTest, UnknownModuleIsListedAndStopsTheBuildBehindIt) {
    x740sim::applyPreset(station, "unknown");
    Connect();
    CModuleUploadDlg dlg(host);
    Run(dlg, 0);
    EXPECT_EQ(Column(dlg, 0, 4), (Strings{"X740", "D2110", "Unknown", "D2210"}));
    EXPECT_EQ(Column(dlg, 1, 4)[2], " ???  ");
    ASSERT_EQ(shown.size(), 1u);
    EXPECT_EQ(shown[0].line1, "Unknown module");
    EXPECT_EQ(shown[0].line2, "ID = 7777");
    EXPECT_EQ(shown[0].captionColor, 255u);
    shown.clear();
    // The project keeps its own flag until the listing's finding is applied by a build.
    EXPECT_FALSE(docHooks.UnknownModule());
    EXPECT_EQ(Run(dlg, morvelan::kUploadNewProject), 1);
    ASSERT_EQ(shown.size(), 1u);
    EXPECT_EQ(shown[0].line1, "Unknown: Data could not be created");
    EXPECT_EQ(shown[0].line2, "                    Wrong or missing KVN-FILE ??                 ");
    EXPECT_EQ(shown[0].caption, "ERROR");
    EXPECT_EQ(TileTypes(0), (Strings{"X740", "D2110", "-"}));
    EXPECT_EQ(doc.Station(0)->Tile(2)->m_Slot, 1);
    EXPECT_TRUE(docHooks.UnknownModule());
}

TEST_F(UploadTest, ControllerProblemsLeaveNothingToBuild) {
    // Unreadable: the message with the code, an empty list, the build buttons off.
    Connect();
    station.injectFaultFor(12, 0x40, x740sim::Fault::deviceError(0x07));
    {
        CModuleUploadDlg dlg(host);
        EXPECT_EQ(Run(dlg, morvelan::kUploadNewProject), -1);
        EXPECT_EQ(Lines(), (Strings{"Error : 7"}));
        EXPECT_EQ(Column(dlg, 0, 1), (Strings{""}));
        EXPECT_FALSE(dlg.item(morvelan::kUploadAdd)->isEnabled());
        EXPECT_EQ(host.newDocuments, 0);
    }
    // Unknown, and a known ID whose description is no head: the dialog cancels itself.
    for (std::uint16_t id : {std::uint16_t{0x4321}, std::uint16_t{0x2110}}) {
        shown.clear();
        station.setControllerId(id);
        CModuleUploadDlg dlg(host);
        EXPECT_EQ(Run(dlg, 0), 2);
        ASSERT_EQ(shown.size(), 1u);
        EXPECT_EQ(shown[0].line1, "Unknown module");
        EXPECT_EQ(shown[0].line2, id == 0x4321 ? "ID = 4321" : "ID = 2110");
    }
    EXPECT_EQ(doc.StationCount(), 2);
}

TEST_F(UploadTest, SavedConfigurationInBothLayoutsAndHostileCounts) {
    struct Case {
        Bytes configuration;
        Strings list;
    };
    const std::vector<Case> cases{
        {x740sim::configurationEntries({0x2110, 0x000E, 0x0283}),
         {"D2110", "K614", "@Zero", "@D615", "@Zero", "C643"}},
        {x740sim::configurationList({0x3104, 0x000F}),
         {"A3104", "K618", "@Zero", "@D619", "@Zero"}},
        // A count far beyond the bytes received: cut to them.
        {Bytes{0, 0, 0x40, 0x00, 0x10, 0x21, 0, 0, 0, 0, 0x10, 0x22, 0, 0}, {"D2110", "D2210"}},
        // A negative count lists nothing.
        {Bytes{0, 0, 0xFF, 0xFF, 0x10, 0x21}, {}},
        // An unknown ID ends the listing without setting the flag.
        {x740sim::configurationEntries({0x2210, 0x7777, 0x2110}), {"D2210"}},
    };
    Connect();
    for (const Case& c : cases) {
        station.setModuleConfiguration(c.configuration);
        CModuleUploadDlg dlg(host);
        dlg.m_Mode = morvelan::kUploadSaved;
        Run(dlg, 0);
        EXPECT_EQ(dlg.moduleList(), c.list);
    }
    EXPECT_EQ(shown.size(), 1u);
    EXPECT_FALSE(docHooks.UnknownModule());
    // The saved parameters are read for the build.
    station.setModuleConfiguration(x740sim::configurationList({0x2110}));
    station.clearFrameLog();
    CModuleUploadDlg dlg(host);
    dlg.m_Mode = morvelan::kUploadSaved;
    EXPECT_EQ(Run(dlg, morvelan::kUploadAdd), 1);
    EXPECT_EQ(Transcript(), (Strings{"R12", "R44", "R41"}));
    EXPECT_EQ(TileTypes(2), (Strings{"X740", "D2110"}));
    // A failed read of the configuration lists nothing.
    station.injectFaultFor(44, 0x40, x740sim::Fault::badChecksum());
    CModuleUploadDlg failed(host);
    failed.m_Mode = morvelan::kUploadSaved;
    Run(failed, 0);
    EXPECT_TRUE(failed.moduleList().empty());
}

TEST_F(UploadTest, FailedParameterReadBuildsNothingAndKeepsTheFlag) {
    x740sim::applyPreset(station, "unknown");
    Connect();
    docHooks.SetUnknownModule(false);
    CModuleUploadDlg dlg(host);
    Run(dlg, 0);
    shown.clear();
    station.injectFaultFor(13, 0x40, x740sim::Fault::deviceError(0x06));
    EXPECT_EQ(Run(dlg, morvelan::kUploadAdd), 1);
    EXPECT_EQ(Lines(), (Strings{"Communication error : Code 6"}));
    EXPECT_EQ(doc.StationCount(), 2);
    EXPECT_FALSE(docHooks.UnknownModule());
    // Cancel leaves the flag as it was, whatever was listed.
    docHooks.SetUnknownModule(true);
    CModuleUploadDlg again(host);
    EXPECT_EQ(Run(again, 2), 2);
    EXPECT_TRUE(docHooks.UnknownModule());
}

TEST_F(UploadTest, AutoOnlineCompletesAsAClickAndTheStationSurvivesSaving) {
    Connect();
    host.autoOnline = true;
    CModuleUploadDlg dlg(host);
    EXPECT_EQ(dlg.DoModal(), 1);
    EXPECT_EQ(host.newDocuments, 1);
    ASSERT_EQ(doc.StationCount(), 1);
    EXPECT_EQ(TileTypes(0), (Strings{"X740", "D2110", "D2210", "A3104", "P4010", "C643", "@Zero",
                                     "K614", "@Zero", "@D615", "@Zero"}));
    const Bytes image = Image(0);

    const std::string path = install.dir() + "/uploaded.mvl";
    ASSERT_EQ(doc.OnSaveDocument(path), 1);
    CMorvelanDoc reopened;
    ASSERT_EQ(reopened.OnOpenDocument(path), 1);
    ASSERT_EQ(reopened.StationCount(), 1);
    const CStation& a = *doc.Station(0);
    const CStation& b = *reopened.Station(0);
    ASSERT_EQ(a.TileCount(), b.TileCount());
    for (int j = 0; j < a.TileCount(); ++j) {
        EXPECT_EQ(a.Tile(j)->Description(), b.Tile(j)->Description()) << j;
        EXPECT_EQ(a.Tile(j)->m_Slot, b.Tile(j)->m_Slot) << j;
        EXPECT_EQ(a.Tile(j)->m_OnlineParam, b.Tile(j)->m_OnlineParam) << j;
        EXPECT_EQ(a.Tile(j)->m_Sliders, b.Tile(j)->m_Sliders) << j;
    }
    Bytes again(4096);
    int total = 0;
    reopened.GatherGroupData(0, again.data(), 4096, total);
    again.resize(static_cast<std::size_t>(total));
    EXPECT_EQ(again, image);
}

} // namespace
} // namespace onlinetest
