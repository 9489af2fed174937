// The names Windows keeps for its devices (CON, PRN, AUX, NUL, COM1 to COM9,
// LPT1 to LPT9), which name the device in every folder, in any case and with
// any extension: "aux.scene" opens the serial port, and a write to it reports
// success and stores nothing.
#pragma once

#include <string>

namespace sim {

// The device a path's last name means on Windows ("AUX" for "out/Aux.scene"),
// or "" for a name that is a file's.
std::string windowsDeviceName(const std::string& path);

}  // namespace sim
