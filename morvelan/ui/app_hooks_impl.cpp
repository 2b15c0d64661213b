#include "morvelan/ui/app_hooks_impl.h"

#include "morvelan/ui/dialog_hooks.h"
#include "morvelan/ui/main_frame.h"
#include "morvelan/ui/online_dialogs.h"
#include "morvelan/ui/morvelan_app.h"
#include "morvelan/ui/morvelan_view.h"
#include "xui/message_dlg.h"
#include "xui/modal_cursor.h"


std::string CAppHooks::LanguageText(int number) {
    return app_.m_Language.GetText(number);
}

bool CAppHooks::IsOnline() {
    return app_.m_Online == 1;
}

bool CAppHooks::DisplayScaled() {
    const CMorvelanView* view = app_.m_pFrame ? app_.m_pFrame->View() : nullptr;
    return view ? view->DisplayScaled() != 0 : true;
}

bool CAppHooks::DisplayHex() {
    const CMorvelanView* view = app_.m_pFrame ? app_.m_pFrame->View() : nullptr;
    return view ? view->DisplayHex() != 0 : false;
}

void CAppHooks::ClearLiveCaches() {
    if (CMorvelanView* view = app_.m_pFrame ? app_.m_pFrame->View() : nullptr)
        view->ClearLiveCaches();
}

std::uint32_t CAppHooks::LinkHandle() {
    return app_.m_Link;
}

int CAppHooks::UploadFlag() {
    return app_.m_pFrame ? app_.m_pFrame->m_UploadFlag : 0;
}

int CAppHooks::ConfigureModule(CModuleTile* tile, CModule* module) {
    return morvelan::RunConfigureModule(tile, module, app_.m_pMainWnd);
}

int CAppHooks::ConfigureController(CModuleTile* tile, CControllerModule* module) {
    return morvelan::RunConfigureController(tile, module, app_.m_pMainWnd);
}

int CAppHooks::EditAddressParam(CModulParam& param) {
    return morvelan::RunEditAddressParam(param, app_.m_pMainWnd);
}

int CAppHooks::EditChoiceParam(CModulParam& param) {
    return morvelan::RunEditChoiceParam(param, app_.m_pMainWnd);
}

int CAppHooks::EditRadioParam(CModulParam& param) {
    return morvelan::RunEditRadioParam(param, app_.m_pMainWnd);
}

int CAppHooks::EditRangeParam(CModulParam& param) {
    return morvelan::RunEditRangeParam(param, app_.m_pMainWnd);
}

bool CAppHooks::AskAddress(std::uint32_t& ip, int& port) {
    return morvelan::RunAskAddress(ip, port, app_.m_pMainWnd);
}

int CAppHooks::OpenOnlineModule(const CModuleDescription* description, int station,
                                int /*position*/, int tileValue, CChannelModule* module) {
    return morvelan::RunModuleOnline(app_, description, station, tileValue, module);
}

int CAppHooks::OpenOnlineController(const CModuleDescription* description, int station,
                                    CControllerModule* module) {
    return morvelan::RunControllerOnline(app_, description, station, module);
}

void CAppHooks::ShowMessage(const mv::AppMessage& m) {
    xui::MessageRequest r;
    r.line1 = m.line1;
    r.line2 = m.line2;
    r.caption = m.caption;
    r.bitmapId = m.bitmap;
    r.captionColor = m.captionColour;
    xui::ShowMessage(r);
}

void CAppHooks::SetWaitCursor(bool on) {
    if (on) {
        ++waitDepth_;
        xui::BeginWaitCursor();
    } else if (waitDepth_ > 0) {
        --waitDepth_;
        xui::EndWaitCursor();
    }
}

void CAppHooks::DistributeInputs(int station, const std::uint8_t* bytes) {
    if (app_.m_pFrame)
        app_.m_pFrame->Doc().DistributeInputs(station, bytes);
}

void CAppHooks::SetStationOffline(int station) {
    if (!app_.m_pFrame)
        return;
    const CStation* s = app_.m_pFrame->Doc().Station(station);
    for (int j = 0; s && j < s->TileCount(); ++j)
        s->Tile(j)->SetOnline(0);
}
