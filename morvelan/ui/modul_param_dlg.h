// The module parameter dialog (template 142): a board's parameter groups in a grid, each value
// changed through its value dialog, and the values saved to and loaded from a parameter data
// file (*.pdt).
#pragma once

#include "morvelan/core/param_groups.h"
#include "xui/xdialog.h"

#include <vector>

class CModuleTile;

namespace xui {
class XGridCtrl;
}

namespace morvelan {

// The file dialogs' filter and default extension of parameter data files.
inline constexpr const char* kParamDataFilter = "Data Files (*.pdt)|*.pdt|All Files (*.*)|*.*|";
inline constexpr const char* kParamDataExtension = "pdt";
inline constexpr const char* kErrorCreatingFile = "Error createing file";
inline constexpr const char* kErrorReadingFile = "Error reading file";

class CModulParamDlg : public xui::CXDialog {
    Q_OBJECT

public:
    // The tile gives the labels and the description; the groups are the module's (none for
    // the flag and parameter boards).
    CModulParamDlg(CModuleTile* tile, std::vector<ParamGroup> groups, QWidget* parent = nullptr);

    xui::XGridCtrl* grid() const;
    int totalParams() const { return m_Total; }

protected:
    bool OnInitDialog() override;
    void OnPaint(mv::Canvas& dc) override;
    void OnCommand(int id, int code) override;

private:
    void Fill();
    void UpdateLabels();
    void OnChange();
    void OnInfo();
    void OnSave();
    void OnLoad();
    std::string DescriptionFile() const;

    CModuleTile* m_Tile;
    std::vector<ParamGroup> m_Groups;
    int m_Total = 0;
};

} // namespace morvelan
