// CModuleUploadDlg: reads which modules the connected controller holds, live (mode 0) or from
// the configuration it saved (mode 1), lists them, and builds them into a station of a new or
// of the current project together with the module parameters the controller holds.
#pragma once

#include "morvelan/online/upload_listing.h"
#include "xui/xdialog.h"

#include <cstdint>
#include <string>
#include <vector>

class CMorvelanDoc;
class CModuleTile;

namespace xui {
class XGridCtrl;
}

namespace morvelan {

// Template and controls.
constexpr int kUploadDlgTemplate = 160;
constexpr int kUploadNameEdit = 1001;
constexpr int kUploadCommentEdit = 1002;
constexpr int kUploadGrid = 1003;
constexpr int kUploadNameLabel = 1004;
constexpr int kUploadCommentLabel = 1005;
constexpr int kUploadNewProject = 1017;
constexpr int kUploadAdd = 1033;

// Language texts of the dialog.
constexpr int kTextUploadCaption = 130;
constexpr int kTextUploadName = 131;
constexpr int kTextUploadType = 132;
constexpr int kTextUploadComment = 133;
constexpr int kTextUploadNewProject = 134;
constexpr int kTextUploadAdd = 135;

// Grid layout and the module list.
constexpr int kUploadGridRows = 200;
constexpr int kUploadListMax = 512;
// Bytes of the parameter buffer and the value it is filled with before the read.
constexpr int kUploadParamBytes = 255;
constexpr std::uint8_t kUploadParamFill = 0x05;

const xui::DialogTemplate& uploadDlgTemplate();

// What the dialog asks of the program: the project, the framework's New command, the project
// tree, the main view and the link the frame opened.
class IUploadHost {
public:
    virtual ~IUploadHost() = default;
    virtual CMorvelanDoc& Document() = 0;
    virtual void NewDocument() = 0;
    virtual void FillTree() = 0;
    virtual void SelectModul(CModuleTile* tile) = 0;
    virtual void RedrawView() = 0;
    virtual int ScrollX() = 0;
    virtual int ScrollY() = 0;
    virtual std::uint32_t Link() = 0;
    // The automatic online sequence is running: the dialog completes itself.
    virtual bool AutoOnline() = 0;
};

class CModuleUploadDlg : public xui::CXDialog {
    Q_OBJECT

public:
    CModuleUploadDlg(IUploadHost& host, QWidget* parent = nullptr);

    int m_Mode = kUploadLive;

    xui::XGridCtrl* grid() const;
    const std::vector<std::string>& moduleList() const { return moduleList_; }
    // An unknown module was listed.
    bool listedUnknown() const { return listedUnknown_; }

protected:
    bool OnInitDialog() override;
    void OnPaint(mv::Canvas& dc) override;
    void OnCommand(int id, int code) override;

private:
    void ReadModules();
    void ReadSavedConfiguration();
    // Lists one module: false when its ID is unknown (after the message).
    bool ListModule(std::uint16_t id, int row);
    void AddListName(const std::string& name);
    // Builds the station; false when nothing was built (parameter read failed).
    bool BuildProject();
    void SetTexts();

    IUploadHost& host_;
    std::vector<std::string> moduleList_;
    int nextRow_ = 2;
    bool listedUnknown_ = false;
};

} // namespace morvelan
