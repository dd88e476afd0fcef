#ifndef SYSTEMCOMMCONTROL_H
#define SYSTEMCOMMCONTROL_H

#include "commcontrol.h"
#include "comportnumbering.h"

#include <memory>

// The serial control over the system's real serial ports: Qt's serial port, or on Windows the
// system's own communications API (systemcommcontrol_unix.cpp, systemcommcontrol_win.cpp, chosen
// by the build). The numbering turns COM numbers into devices.
std::unique_ptr<CommControl>
createSystemCommControl(ComPortNumbering numbering = systemComPortNumbering());

#endif // SYSTEMCOMMCONTROL_H
