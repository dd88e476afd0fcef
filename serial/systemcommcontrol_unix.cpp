#include "systemcommcontrol.h"

#include "serialportcontrol.h"

#include <utility>

std::unique_ptr<CommControl> createSystemCommControl(ComPortNumbering numbering)
{
    return std::make_unique<SerialPortControl>(std::move(numbering));
}
