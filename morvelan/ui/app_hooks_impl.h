// What the module model asks of the running program (IAppHooks), answered by the application
// object and its main frame.
#pragma once

#include "morvelan/core/label_printer.h"

class CMorvelanApp;

class CAppHooks : public mv::PrintingAppHooks {
public:
    explicit CAppHooks(CMorvelanApp& app) : app_(app) {}

    std::string LanguageText(int number) override;
    bool IsOnline() override;
    bool DisplayScaled() override;
    bool DisplayHex() override;
    void ClearLiveCaches() override;
    std::uint32_t LinkHandle() override;
    int UploadFlag() override;
    int ConfigureModule(CModuleTile* tile, CModule* module) override;
    int ConfigureController(CModuleTile* tile, CControllerModule* module) override;
    int EditAddressParam(CModulParam& param) override;
    int EditChoiceParam(CModulParam& param) override;
    int EditRadioParam(CModulParam& param) override;
    int EditRangeParam(CModulParam& param) override;
    bool AskAddress(std::uint32_t& ip, int& port) override;
    int OpenOnlineModule(const CModuleDescription* description, int station, int position,
                         int tileValue, CChannelModule* module) override;
    int OpenOnlineController(const CModuleDescription* description, int station,
                             CControllerModule* module) override;
    void ShowMessage(const mv::AppMessage& message) override;
    void SetWaitCursor(bool on) override;
    void DistributeInputs(int station, const std::uint8_t* bytes) override;
    void SetStationOffline(int station) override;

private:
    CMorvelanApp& app_;
    int waitDepth_ = 0;
};
