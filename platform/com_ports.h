// Names of the serial devices behind the COM numbers.
#pragma once

#include <string>

namespace mv {

// "COM<n>".
std::string comPortName(int comNumber);

// The device that COM n stands for: the device named by the environment variable
// PORTWIRE_COM<n> when set, else the per-user port map (when it names one), else
// /dev/ttyS<n-1>. Empty for COM numbers below 1.
std::string comPortDevice(int comNumber);

// Per-user map of COM numbers to devices. Consulted after the environment; gives an empty
// string while no map names the port.
std::string userComPortDevice(int comNumber);

} // namespace mv
