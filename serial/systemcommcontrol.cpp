#include "systemcommcontrol.h"

#include "serialportcontrol.h"

std::unique_ptr<CommControl> createSystemCommControl()
{
    return std::make_unique<SerialPortControl>(systemComPortNumbering());
}
