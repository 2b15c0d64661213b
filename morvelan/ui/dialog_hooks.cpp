#include "morvelan/ui/dialog_hooks.h"

#include "morvelan/core/controller_module.h"
#include "morvelan/core/param_groups.h"
#include "morvelan/ui/controller_dlg.h"
#include "morvelan/ui/ip_dlgs.h"
#include "morvelan/ui/modul_param_dlg.h"
#include "morvelan/ui/value_dlgs.h"

#include <QApplication>

namespace morvelan {
namespace {

// A dialog opened from another dialog (a value dialog from the parameter grid) stands over it.
QWidget* Over(QWidget* parent) {
    QWidget* modal = QApplication::activeModalWidget();
    return modal ? modal : parent;
}

} // namespace

int RunConfigureModule(CModuleTile* tile, CModule* module, QWidget* parent) {
    CModulParamDlg dlg(tile, ParamGroupsOf(module), Over(parent));
    return dlg.DoModal();
}

int RunConfigureController(CModuleTile* tile, CControllerModule* module, QWidget* parent) {
    if (!module)
        return 0;
    CControllerDlg dlg(tile, *module, Over(parent));
    return dlg.DoModal();
}

int RunEditAddressParam(CModulParam& param, QWidget* parent) {
    CIpDlg dlg(param, Over(parent));
    return dlg.DoModal();
}

int RunEditChoiceParam(CModulParam& param, QWidget* parent) {
    CChoiceDlg dlg(param, Over(parent));
    return dlg.DoModal();
}

int RunEditRadioParam(CModulParam& param, QWidget* parent) {
    CFlagValueDlg dlg(param, Over(parent));
    return dlg.DoModal();
}

int RunEditRangeParam(CModulParam& param, QWidget* parent) {
    CRangeDlg dlg(param, Over(parent));
    return dlg.DoModal();
}

bool RunAskAddress(std::uint32_t& ip, int& port, QWidget* parent) {
    std::uint32_t newIp = ip;
    int newPort = port;
    CIpPortDlg dlg(newIp, newPort, Over(parent));
    if (dlg.DoModal() != mv::IDOK)
        return false;
    ip = newIp;
    port = newPort;
    return true;
}

} // namespace morvelan
