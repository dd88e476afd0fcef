#include "systemcommcontrol.h"

#include "wincommcontrol.h"

#include <utility>

std::unique_ptr<CommControl> createSystemCommControl(ComPortNumbering numbering)
{
    return std::make_unique<WinCommControl>(std::move(numbering));
}
