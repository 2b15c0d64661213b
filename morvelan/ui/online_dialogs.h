// The online dialogs of the modules, run by the application for the module model: polling and
// output stepping paused before, resumed by the dialog's first paint.
#pragma once

#include <functional>

class CMorvelanApp;
class CModuleDescription;
class CControllerModule;
class CChannelModule;

namespace morvelan {

int RunControllerOnline(CMorvelanApp& app, const CModuleDescription* description, int station,
                        CControllerModule* module);
int RunModuleOnline(CMorvelanApp& app, const CModuleDescription* description, int station,
                    int moduleNumber, CChannelModule* module);

} // namespace morvelan
