#include "morvelan/core/app_hooks.h"

namespace mv {

namespace {
IAppHooks& DefaultHooks() {
    static IAppHooks hooks;
    return hooks;
}
IAppHooks* g_hooks = nullptr;
} // namespace

std::string IAppHooks::LanguageText(int number) {
    (void)number;
    return "???";
}

IAppHooks& appHooks() {
    return g_hooks ? *g_hooks : DefaultHooks();
}

void setAppHooks(IAppHooks* hooks) {
    g_hooks = hooks;
}

std::string LanguageText(int number) {
    return appHooks().LanguageText(number);
}

AppMessage ErrorMessage(const std::string& line1, const std::string& line2) {
    AppMessage message;
    message.line1 = line1;
    message.line2 = line2;
    message.caption = LanguageText(5000);
    return message;
}

} // namespace mv
