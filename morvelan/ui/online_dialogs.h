// The online dialogs of the modules, run by the application for the module model: polling and
// output stepping paused before, resumed by the dialog's first paint.
#pragma once

#include <functional>

class CMorvelanApp;
class CModuleDescription;
class CControllerModule;

namespace morvelan {

int RunControllerOnline(CMorvelanApp& app, const CModuleDescription* description, int station,
                        CControllerModule* module);

// The info list dialog with a controller's error table, and the memory dialog; empty until the
// dialogs that own them install them.
std::function<void(CControllerModule& module)>& infoListSeam();
std::function<void()>& memorySeam();

} // namespace morvelan
