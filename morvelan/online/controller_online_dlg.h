// CControllerOnlineDlg: the online dialog of a controller. It shows the controller's master
// parameters block by block as the device reports them, switches the fieldbus, saves the
// station's parameters into the controller, clears its parameter memory, and hands the link to
// the controller's service library for its own panel.
#pragma once

#include "morvelan/online/online_dialog_host.h"
#include "xui/xdialog.h"

#include <cstdint>
#include <string>
#include <vector>

class CControllerModule;
class CModuleDescription;

namespace xui {
class COwnerButton;
class XGridCtrl;
} // namespace xui

namespace morvelan {

constexpr int kControllerOnlineTemplate = 170;
constexpr int kCtlTitle = 1009;
constexpr int kCtlGrid = 1011;
constexpr int kCtlTabStrip = 1046;
constexpr int kCtlSave = 1019;
constexpr int kCtlFieldbusOn = 1021;
constexpr int kCtlClear = 1023;
constexpr int kCtlFieldbusOff = 1025;
constexpr int kCtlAdvanced = 1028;
constexpr int kCtlErrorInfo = 1143;
constexpr int kCtlMemory = 1027;
constexpr int kCtlScrollRight = 1110; // ">"
constexpr int kCtlScrollLeft = 1111;  // "<"
constexpr int kCtlFirstTab = 10000;

constexpr int kTextControllerCaption = 210;
constexpr int kTextFieldbusOn = 242;
constexpr int kTextFieldbusOff = 243;
constexpr int kTextSaveParameters = 244;
constexpr int kTextClearParameters = 245;
constexpr int kTextErrorInfo = 61;
constexpr int kTextGridName = 192;
constexpr int kTextGridValue = 193;
constexpr int kTextOk = 10000;
constexpr int kTextValueNotRead = 10014;

// Largest parameter image the controller takes in one write.
constexpr int kMaxParameterImage = 253;

const xui::DialogTemplate& controllerOnlineTemplate();

// What the dialog asks of the program beside the common online needs.
class IControllerOnlineHost : public IOnlineDialogHost {
public:
    virtual bool MemoryButton() = 0; // MEM
    virtual int WriteTimeout() = 0;  // WRITETIMEOUT
    // The parameter image of the selected tile's station; false when there is none.
    virtual bool GatherParameters(std::vector<std::uint8_t>& image) = 0;
    // The project holds a module the catalogue does not know.
    virtual bool UnknownModule() = 0;
    virtual void RepaintView() = 0;
    // The info list dialog with the controller's error table; the memory dialog.
    virtual void RunInfoList(CControllerModule& module) = 0;
    virtual void RunMemory() = 0;
};

class CControllerOnlineDlg : public xui::CXDialog {
    Q_OBJECT

public:
    CControllerOnlineDlg(IControllerOnlineHost& host, CControllerModule& module,
                         const CModuleDescription* description, QWidget* parent = nullptr);
    ~CControllerOnlineDlg() override;

    int m_Station = 0;

    // Runs the dialog; the tab buttons are gone afterwards.
    int RunModal();

    xui::XGridCtrl* grid() const;
    int TabCount() const { return static_cast<int>(tabs_.size()); }
    xui::COwnerButton* Tab(int i) const { return tabs_.at(static_cast<std::size_t>(i)).button; }
    int ScrollPosition() const { return scroll_; }
    int CurrentBlock() const { return block_; }
    // A value as the grid shows it (tests).
    std::string Cell(int column, int row) const;

    void ShowMasterParameters();
    // Runs a command as a control would send it.
    void OnCommandForTest(int id) { OnCommand(id, 0); }

protected:
    bool OnInitDialog() override;
    void OnPaint(mv::Canvas& dc) override;
    void OnCommand(int id, int code) override;
    void OnOK() override;

private:
    struct TabEntry {
        xui::COwnerButton* button = nullptr;
        int block = 0;
    };
    void CreateBlockTabs();
    void DeleteTabs();
    void ShowTabs();
    void OnFieldbus(bool on);
    void OnSaveParameters();
    void OnClearParameters();
    void OnControllerLibrary();
    void CommError();

    IControllerOnlineHost& host_;
    CControllerModule& module_;
    const CModuleDescription* description_;
    int firstPaint_ = 0;
    int scroll_ = 0;
    int block_ = 0;
    std::vector<TabEntry> tabs_;
};

// Formats one master-parameter value from a reply of `length` bytes.
std::string FormatMasterValue(const std::uint8_t* reply, int length, int offset, int type,
                              bool hex);

} // namespace morvelan
