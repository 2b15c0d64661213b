#include "morvelan/core/module_factory.h"

#include "morvelan/core/channel_module.h"
#include "morvelan/core/controller_module.h"

#include <array>

namespace {

std::unique_ptr<CModule> MakeController() {
    return std::make_unique<CControllerModule>();
}

std::unique_ptr<CModule> MakeChannel() {
    return std::make_unique<CChannelModule>();
}

std::array<ModuleCreator, 9>& Creators() {
    static std::array<ModuleCreator, 9> creators = {nullptr, &MakeController, &MakeChannel};
    return creators;
}

} // namespace

void SetModuleCreator(int kind, ModuleCreator creator) {
    if (kind >= 1 && kind <= 8) {
        Creators()[static_cast<std::size_t>(kind)] = creator;
    }
}

std::unique_ptr<CModule> CreateModule(int protocolId, int kind, int* tileKind) {
    if (tileKind) {
        *tileKind = (kind == kKindController || kind == kKindBitmap) ? 1 : kind;
    }
    if (protocolId != 1 || kind < 1 || kind > 8) {
        return nullptr;
    }
    const ModuleCreator creator = Creators()[static_cast<std::size_t>(kind)];
    return creator ? creator() : nullptr;
}
