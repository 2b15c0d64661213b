// The dialogs the module model opens through the application's hooks: the parameter dialog of
// a board, the controller dialog, the four value dialogs of a parameter, and the address and
// port of a TCP/IP connection. Each runs modally over `parent` (over the dialog in front when one
// is open) and returns the dialog's result.
#pragma once

#include <cstdint>

class QWidget;
class CModule;
class CModuleTile;
class CControllerModule;
struct CModulParam;

namespace morvelan {

int RunConfigureModule(CModuleTile* tile, CModule* module, QWidget* parent);
int RunConfigureController(CModuleTile* tile, CControllerModule* module, QWidget* parent);
int RunEditAddressParam(CModulParam& param, QWidget* parent);
int RunEditChoiceParam(CModulParam& param, QWidget* parent);
int RunEditRadioParam(CModulParam& param, QWidget* parent);
int RunEditRangeParam(CModulParam& param, QWidget* parent);
// False on Cancel (the values are then unchanged).
bool RunAskAddress(std::uint32_t& ip, int& port, QWidget* parent);

} // namespace morvelan
