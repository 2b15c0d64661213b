// The offline parameter dialog of a controller (template 179): the master parameters of the
// channels the controller is written with, each changed through the value dialog.
#pragma once

#include "xui/xdialog.h"

class CControllerModule;
class CModuleTile;

namespace xui {
class XGridCtrl;
}

namespace morvelan {

class CControllerDlg : public xui::CXDialog {
    Q_OBJECT

public:
    CControllerDlg(CModuleTile* tile, CControllerModule& module, QWidget* parent = nullptr);

    xui::XGridCtrl* grid() const;

protected:
    bool OnInitDialog() override;
    void OnPaint(mv::Canvas& dc) override;
    void OnCommand(int id, int code) override;

private:
    void Fill();
    void OnChange();

    CModuleTile* m_Tile;
    CControllerModule& m_Module;
};

} // namespace morvelan
