// The dialogs that build a station from the module catalogue: insert a control module (a new
// station, template 139), add I/O boards to the current station (140), and change the name and
// comment of a station (172).
#pragma once

#include "morvelan/ui/module_dialog_seams.h"
#include "xui/xdialog.h"

class CModuleDescriptionList;
class CModuleTile;
class CStation;

namespace xui {
class XGridCtrl;
}

namespace morvelan {

// At most this many boards are chosen at a time (the chosen list's rows below its heading).
constexpr int kChosenRows = 100;

class CInsertControlModuleDlg : public xui::CXDialog {
    Q_OBJECT

public:
    CInsertControlModuleDlg(const CModuleDescriptionList& catalogue, IModuleWorkspace& workspace,
                            QWidget* parent = nullptr);

    xui::XGridCtrl* grid() const;
    // The tile made by OK (null before).
    CModuleTile* newTile() const { return m_NewTile; }

    int m_Chosen = -1;

protected:
    bool OnInitDialog() override;
    void OnPaint(mv::Canvas& dc) override;
    void OnOK() override;

private:
    const CModuleDescriptionList& m_Catalogue;
    IModuleWorkspace& m_Workspace;
    CModuleTile* m_NewTile = nullptr;
};

class CAddModulesDlg : public xui::CXDialog {
    Q_OBJECT

public:
    CAddModulesDlg(const CModuleDescriptionList& catalogue, IModuleWorkspace& workspace,
                   QWidget* parent = nullptr);

    xui::XGridCtrl* source() const;
    xui::XGridCtrl* chosen() const;
    int chosenCount() const { return m_Count; }

protected:
    bool OnInitDialog() override;
    void OnPaint(mv::Canvas& dc) override;
    void OnCommand(int id, int code) override;
    void OnOK() override;
    void OnCancel() override;

private:
    void OnAdd();
    void OnDelete();

    const CModuleDescriptionList& m_Catalogue;
    IModuleWorkspace& m_Workspace;
    int m_Count = 0;
};

class CChangeModuleDlg : public xui::CXDialog {
    Q_OBJECT

public:
    explicit CChangeModuleDlg(CStation& station, QWidget* parent = nullptr);

    xui::XGridCtrl* grid() const;

protected:
    bool OnInitDialog() override;
    void OnPaint(mv::Canvas& dc) override;
    void OnOK() override;

private:
    CStation& m_Station;
};

// The station of the tile selected in the workspace's tree, with its index (null and -1 when
// none is selected or the tile belongs to no station).
CStation* CurrentStation(IModuleWorkspace& workspace, int* index = nullptr);

} // namespace morvelan
