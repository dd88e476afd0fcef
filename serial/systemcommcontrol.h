#ifndef SYSTEMCOMMCONTROL_H
#define SYSTEMCOMMCONTROL_H

#include "commcontrol.h"

#include <memory>

// The serial control over the system's real serial ports.
std::unique_ptr<CommControl> createSystemCommControl();

#endif // SYSTEMCOMMCONTROL_H
