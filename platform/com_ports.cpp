#include "platform/com_ports.h"

#include "platform/settings_store.h"

#include <cstdlib>

namespace mv {

std::string comPortName(int comNumber) { return "COM" + std::to_string(comNumber); }

std::string userComPortDevice(int comNumber) { return storedComPortDevice(comNumber); }

std::string comPortDevice(int comNumber) {
    if (comNumber < 1)
        return {};
    const std::string var = "PORTWIRE_COM" + std::to_string(comNumber);
    if (const char* env = std::getenv(var.c_str()); env && *env)
        return env;
    if (std::string user = userComPortDevice(comNumber); !user.empty())
        return user;
    return "/dev/ttyS" + std::to_string(comNumber - 1);
}

} // namespace mv
