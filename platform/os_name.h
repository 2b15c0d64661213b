// The name of the operating system as the programs show and test it.
#pragma once

#include <string>

namespace mv {

// The kernel's name and its major.minor release from uname ("Linux 6.1"); "Unknown" when
// uname fails.
std::string operatingSystemName();

} // namespace mv
