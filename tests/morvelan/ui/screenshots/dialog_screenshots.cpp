// Writes PNG pictures of morvelan's module, parameter, value, project, label, port, address and
// module online dialogs, filled from the sample installation and its demo project, into the folder given on
// the command line:  morvelan_dialog_screenshots <folder> [language]
#include "morvelan/core/app_hooks.h"
#include "morvelan/core/channel_module.h"
#include "morvelan/core/controller_module.h"
#include "morvelan/core/language.h"
#include "morvelan/core/module_description.h"
#include "morvelan/core/module_tile.h"
#include "morvelan/core/morvelan_doc.h"
#include "morvelan/core/morvelan_doc_hooks.h"
#include "morvelan/core/param_groups.h"
#include "morvelan/core/station.h"
#include "morvelan/online/online_modul_dlg.h"
#include "morvelan/ui/controller_dlg.h"
#include "morvelan/ui/ip_dlgs.h"
#include "morvelan/ui/label_dlgs.h"
#include "morvelan/ui/modul_list_dlg.h"
#include "morvelan/ui/modul_param_dlg.h"
#include "morvelan/ui/module_insert_dlgs.h"
#include "morvelan/ui/port_select_dlg.h"
#include "morvelan/ui/project_dlg.h"
#include "morvelan/ui/value_dlgs.h"
#include "platform/clock.h"
#include "xui/controls.h"
#include "xui/xgrid_ctrl.h"

#include <QApplication>
#include <QDir>

#include <cstdio>
#include <memory>
#include <string>

namespace {

const std::string kData = MV_SAMPLE_DATA;

class Hooks : public mv::IAppHooks {
public:
    std::string LanguageText(int number) override { return language.GetText(number); }
    mv::CLanguage language;
};

class DocHooks : public mv::IDocHooks {
public:
    std::string ProgramDir() override { return kData; }
    const CModuleDescriptionList* Catalogue() override { return catalogue; }
    CModuleTile* SelectedTile() override { return selected; }
    const CModuleDescriptionList* catalogue = nullptr;
    CModuleTile* selected = nullptr;
};

class Workspace : public morvelan::IModuleWorkspace {
public:
    explicit Workspace(CMorvelanDoc& doc) : doc_(doc) {}
    CMorvelanDoc* Document() override { return &doc_; }

private:
    CMorvelanDoc& doc_;
};

// The module online dialog offline: no link, no frame.
class OnlineHost : public morvelan::IOnlineModulHost {
public:
    void PauseOnline() override {}
    void ResumeOnline() override {}
    std::uint32_t Link() override { return 0; }
    void AdoptLink(std::uint32_t) override {}
    std::string ProgramDir() override { return kData; }
    void SystemMessage(const std::string&, const std::string&) override {}
    void ShowDocumentation(const std::string&) override {}
    CStation* CurrentStation() override { return nullptr; }
    void SetOnlineGrid(morvelan::IOnlineGrid*) override {}
    void ClearOnlineGrid() override {}
};

bool g_ok = true;

void Save(const QString& folder, const char* name, xui::CXDialog& dialog) {
    dialog.ShowModeless();
    QCoreApplication::processEvents();
    const QString path = QDir(folder).filePath(QString::fromLatin1(name) + ".png");
    if (!dialog.grab().toImage().save(path, "PNG")) {
        std::fprintf(stderr, "morvelan_dialog_screenshots: cannot write %s\n",
                     path.toLocal8Bit().constData());
        g_ok = false;
        return;
    }
    std::printf("%s\n", path.toLocal8Bit().constData());
    dialog.hide();
}

} // namespace

int main(int argc, char** argv) {
    if (argc < 2 || argv[1][0] == '-') {
        std::fprintf(stderr, "usage: morvelan_dialog_screenshots <folder> [language]\n");
        return 2;
    }
    QApplication app(argc, argv);
    const QString folder = QString::fromLocal8Bit(argv[1]);
    if (!QDir().mkpath(folder)) {
        std::fprintf(stderr, "morvelan_dialog_screenshots: cannot make %s\n", argv[1]);
        return 1;
    }
    const std::string languageName = argc > 2 ? argv[2] : "English";
    Hooks hooks;
    hooks.language.SetProgramDirectory(kData);
    hooks.language.Load(languageName);
    mv::setAppHooks(&hooks);
    setModuleDescriptionContext({kData, hooks.language.LanguageName()});
    xui::RegisterControlClasses();
    morvelan::RegisterOnlineModulData();

    CModuleDescriptionList catalogue;
    mv::FakeClock clock;
    catalogue.Scan(kData, hooks.language.LanguageName(), {}, clock);
    DocHooks docHooks;
    docHooks.catalogue = &catalogue;
    mv::setDocHooks(&docHooks);

    CMorvelanDoc doc;
    if (doc.OnOpenDocument(kData + "/samples/demo.mvl") != 1 || doc.StationCount() == 0 ||
        doc.Station(0)->TileCount() < 4) {
        std::fprintf(stderr, "morvelan_dialog_screenshots: the demo project cannot be read\n");
        return 1;
    }
    CStation& station = *doc.Station(0);
    CModuleTile& head = *station.Tile(0);
    CModuleTile& board = *station.Tile(3);
    docHooks.selected = &head;
    Workspace workspace(doc);
    {
        morvelan::CInsertControlModuleDlg d(catalogue, workspace);
        Save(folder, "139_insert_control_module", d);
    }
    {
        morvelan::CAddModulesDlg d(catalogue, workspace);
        Save(folder, "140_add_modules", d);
    }
    {
        morvelan::CModulParamDlg d(&board, ParamGroupsOf(&board.Module()));
        Save(folder, "142_module_parameters", d);
    }
    CModulParam& choice = *ParamGroupsOf(&board.Module())[0].params[0];
    CModulParam& range = *ParamGroupsOf(&board.Module())[0].params[1];
    {
        morvelan::CChoiceDlg d(choice);
        Save(folder, "144_choice", d);
    }
    {
        CModulParam flag = choice;
        flag.value = 1;
        morvelan::CFlagValueDlg d(flag);
        Save(folder, "146_on_off", d);
    }
    {
        morvelan::CRangeDlg d(range);
        Save(folder, "147_range", d);
    }
    {
        morvelan::CProjectDlg d(doc);
        Save(folder, "157_project", d);
    }
    {
        int choice5 = 2;
        morvelan::CPortSelectDlg d(choice5);
        Save(folder, "163_port", d);
    }
    {
        morvelan::CChangeModuleDlg d(station);
        Save(folder, "172_change_module", d);
    }
    {
        morvelan::CModulListDlg d(catalogue, false);
        Save(folder, "173_module_list", d);
    }
    {
        auto& controller = dynamic_cast<CControllerModule&>(head.Module());
        morvelan::CControllerDlg d(&head, controller);
        Save(folder, "179_controller", d);
    }
    {
        CModulParam address;
        address.kind = 1;
        address.name = "Station address";
        address.value = static_cast<std::int32_t>(0xC0A80001u);
        morvelan::CIpDlg d(address);
        Save(folder, "180_ip_address", d);
    }
    {
        std::uint32_t ip = 0x7F000001u;
        int port = 32000;
        morvelan::CIpPortDlg d(ip, port);
        Save(folder, "181_ip_port", d);
    }
    {
        morvelan::CLabelDlg d(board);
        Save(folder, "185_label", d);
    }
    {
        morvelan::CSliderLabelDlg d(board);
        Save(folder, "186_slider_label", d);
    }
    {
        morvelan::CControllerSliderLabelDlg d(head);
        Save(folder, "192_controller_slider_label", d);
    }
    {
        // Live values as a poll would leave them: bits, LCD digits, and masks being edited.
        OnlineHost online;
        auto& bits = dynamic_cast<CChannelModule&>(station.Tile(2)->Module());
        bits.Channel(0).value.SetByte(0x5A);
        bits.Channel(1).value.SetByte(0x81);
        morvelan::COnlineModulDlg d(online, bits, station.Tile(2)->Description(), 1);
        Save(folder, "169_online_module_bits", d);
        auto& analog = dynamic_cast<CChannelModule&>(board.Module());
        for (int i = 0; i < analog.ChannelCount(); ++i)
            analog.Channel(i).value.SetWord(static_cast<std::uint16_t>(1234 * (i + 1)));
        morvelan::COnlineModulDlg a(online, analog, board.Description(), 2);
        Save(folder, "169_online_module_values", a);
        auto& masked = dynamic_cast<CChannelModule&>(station.Tile(1)->Module());
        morvelan::COnlineModulDlg m(online, masked, station.Tile(1)->Description(), 0);
        Save(folder, "169_online_module_masks", m);
    }
    mv::setDocHooks(nullptr);
    mv::setAppHooks(nullptr);
    return g_ok ? 0 : 1;
}
