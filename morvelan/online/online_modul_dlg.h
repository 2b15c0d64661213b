// COnlineModulDlg: the online dialog of a channel module. Its channels as live rows in the grid
// (control 1048), outputs sent whenever the grid reports a click, a mask mode in which a hex
// mask per channel is edited, the module's documentation, and the hand-over of the link to the
// module's service library.
#pragma once

#include "morvelan/online/online_dialog_host.h"
#include "morvelan/online/online_modul_data.h"
#include "xui/xdialog.h"

#include <cstdint>
#include <string>
#include <vector>

class CChannelModule;
class CModuleDescription;
class CStation;

namespace morvelan {

constexpr int kOnlineModulTemplate = 169;
constexpr int kCtlModulGrid = 1048;
constexpr int kCtlModulNumber = 1012;
constexpr int kCtlModulName = 1009;
constexpr int kCtlModulInfo = 1015;
constexpr int kCtlMask = 1141;
constexpr int kCtlMaskUpdate = 1142;
constexpr int kCtlModulAdvanced = 1028;

constexpr int kTextModulCaption = 210;
constexpr int kTextModulInfo = 161;
constexpr int kTextModulOk = 10000;
constexpr int kTextModulNumber = 10004;

// How far mask mode moves the dialog left and widens it.
constexpr int kMaskShiftLeft = 100;
constexpr int kMaskWiden = 200;

// Most output bytes one frame carries.
constexpr int kMaxOutputImage = 253;

const xui::DialogTemplate& onlineModulTemplate();

// What the dialog asks of the program beside the common online needs.
class IOnlineModulHost : public IOnlineDialogHost, public IOnlineGridRegistry {
public:
    // The documentation of a module type.
    virtual void ShowDocumentation(const std::string& typeName) = 0;
    // The station whose outputs are sent: the station of the tile selected in the tree.
    virtual CStation* CurrentStation() = 0;
};

// The output image of a station: every tile but the head writes its output bytes in turn,
// each given the room left. Returns the total count the modules reported (may exceed the
// image, whose size is kept at 256 bytes).
int GatherStationOutputs(const CStation& station, std::vector<std::uint8_t>& image);

class COnlineModulDlg : public xui::CXDialog {
    Q_OBJECT

public:
    COnlineModulDlg(IOnlineModulHost& host, CChannelModule& module,
                    const CModuleDescription* description, int moduleNumber,
                    QWidget* parent = nullptr);
    ~COnlineModulDlg() override;

    int m_Station = 0;

    COnlineModulData* grid() const;
    int MaskMode() const { return maskMode_; }
    // Sends the station's outputs (what a click in the grid does).
    void SendOutputs();
    // Runs a command as a control would send it.
    void OnCommandForTest(int id) { OnCommand(id, 0); }

protected:
    bool OnInitDialog() override;
    void OnPaint(mv::Canvas& dc) override;
    void OnCommand(int id, int code) override;

private:
    void OnMask();
    void OnUpdate();
    void OnAdvanced();

    IOnlineModulHost& host_;
    CChannelModule& module_;
    const CModuleDescription* description_;
    int moduleNumber_ = 0;
    int maskMode_ = 0;
    int firstPaint_ = 0;
};

} // namespace morvelan
