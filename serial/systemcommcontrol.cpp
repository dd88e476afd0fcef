#include "systemcommcontrol.h"

#include <utility>

#ifdef Q_OS_WIN
#include "wincommcontrol.h"
using SystemCommControl = WinCommControl;
#else
#include "serialportcontrol.h"
using SystemCommControl = SerialPortControl;
#endif

std::unique_ptr<CommControl> createSystemCommControl(ComPortNumbering numbering)
{
    return std::make_unique<SystemCommControl>(std::move(numbering));
}
