#include "morvelan/ui/online_dialogs.h"

#include "morvelan/core/morvelan_doc.h"
#include "morvelan/core/morvelan_doc_hooks.h"
#include "morvelan/online/controller_online_dlg.h"
#include "morvelan/online/memory_dlg.h"
#include "morvelan/online/online_modul_dlg.h"
#include "morvelan/ui/info_list_dlg.h"
#include "morvelan/ui/main_frame.h"
#include "morvelan/core/controller_module.h"
#include "morvelan/ui/morvelan_app.h"
#include "morvelan/ui/morvelan_view.h"
#include "morvelan/core/channel_module.h"
#include "morvelan/core/module_tile.h"

namespace morvelan {

namespace {

constexpr int kGatherRoom = 4096;

// What every online dialog asks of the frame: pause and resume, the link, the program folder.
template <class Interface>
class FrameHost : public Interface {
public:
    explicit FrameHost(CMorvelanApp& app) : app_(app) {}

    void PauseOnline() override {
        if (CMainFrame* f = app_.m_pFrame) {
            f->PausePolling();
            if (f->View())
                f->View()->PauseStepping();
        }
    }
    void ResumeOnline() override {
        if (CMainFrame* f = app_.m_pFrame) {
            f->ResumePolling();
            if (f->View())
                f->View()->ResumeStepping();
        }
    }
    std::uint32_t Link() override { return app_.m_Link; }
    void AdoptLink(std::uint32_t link) override { app_.AdoptLink(link); }
    std::string ProgramDir() override { return app_.m_ProgramDir; }
    void SystemMessage(const std::string& caption, const std::string& text) override {
        if (app_.m_SystemMessage)
            app_.m_SystemMessage(caption, text);
    }

protected:
    CMorvelanApp& app_;
};

class FrameControllerHost : public FrameHost<IControllerOnlineHost> {
public:
    using FrameHost::FrameHost;

    bool MemoryButton() override { return app_.m_Ini.memory == 1; }
    int WriteTimeout() override { return app_.m_Ini.writeTimeout; }
    bool GatherParameters(std::vector<std::uint8_t>& image) override {
        CMainFrame* f = app_.m_pFrame;
        CModuleTile* tile = f ? f->SelectedTile() : nullptr;
        if (!tile)
            return false;
        image.assign(kGatherRoom, 0);
        int total = 0;
        f->Doc().GatherGroupData(tile->m_Station, image.data(), kGatherRoom, total);
        image.resize(static_cast<std::size_t>(std::clamp(total, 0, kGatherRoom)));
        return true;
    }
    bool UnknownModule() override { return mv::docHooks().UnknownModule(); }
    void RepaintView() override {
        if (app_.m_pFrame && app_.m_pFrame->View())
            app_.m_pFrame->View()->viewport()->update();
    }
    void RunInfoList(CControllerModule& module) override {
        CInfoListDlg dlg(app_.m_pFrame, app_.m_pMainWnd);
        for (const CErrorText& e : module.ErrorTexts())
            dlg.m_Entries.emplace_back(e.code, e.text);
        CMainFrame* frame = app_.m_pFrame;
        dlg.m_ResumeOnPaint = [frame] {
            if (frame)
                frame->ResumePolling();
            if (frame && frame->View())
                frame->View()->ResumeStepping();
        };
        dlg.DoModal();
    }
    void RunMemory() override {
        CMemoryDlg dlg([](void* a) { return static_cast<CMorvelanApp*>(a)->m_Link; }, &app_,
                       app_.m_pMainWnd);
        dlg.DoModal();
    }

};

class FrameModuleHost : public FrameHost<IOnlineModulHost> {
public:
    using FrameHost::FrameHost;

    void ShowDocumentation(const std::string& typeName) override {
        app_.ShowModuleDocumentation(typeName);
    }
    CStation* CurrentStation() override {
        CMainFrame* f = app_.m_pFrame;
        CModuleTile* tile = f ? f->SelectedTile() : nullptr;
        return tile ? f->Doc().Station(tile->m_Station) : nullptr;
    }
    void SetOnlineGrid(IOnlineGrid* grid) override {
        if (app_.m_pFrame)
            app_.m_pFrame->SetOnlineGrid(grid);
    }
    void ClearOnlineGrid() override {
        if (app_.m_pFrame)
            app_.m_pFrame->ClearOnlineGrid();
    }
};

} // namespace

int RunControllerOnline(CMorvelanApp& app, const CModuleDescription* description, int station,
                        CControllerModule* module) {
    if (!module)
        return 0;
    FrameControllerHost host(app);
    host.PauseOnline();
    CControllerOnlineDlg dlg(host, *module, description, app.m_pMainWnd);
    dlg.m_Station = station;
    return dlg.RunModal();
}

int RunModuleOnline(CMorvelanApp& app, const CModuleDescription* description, int station,
                    int moduleNumber, CChannelModule* module) {
    if (!module)
        return 0;
    FrameModuleHost host(app);
    host.PauseOnline();
    COnlineModulDlg dlg(host, *module, description, moduleNumber, app.m_pMainWnd);
    dlg.m_Station = station;
    return dlg.DoModal();
}

} // namespace morvelan
