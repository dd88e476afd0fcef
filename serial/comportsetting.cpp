#include "comportsetting.h"

#include <QDir>

namespace {
// COM n is the n-th of these device paths, in the order given, instead of the system's n-th
// serial port, so that a simulator's pseudo-terminal can stand for a printer's port. Separated
// as PATH is: by ':', on Windows by ';' (its paths hold ':').
constexpr const char *comPortsVariable = "SOLVARN_COM_PORTS";
} // namespace

ComPortNumbering configuredComPortNumbering()
{
    const QString listed = qEnvironmentVariable(comPortsVariable);
    if (listed.isEmpty())
        return systemComPortNumbering();
    // The paths are given in COM order and do not change during the check: nothing to list.
    return givenComPortNumbering(listed.split(QDir::listSeparator(), Qt::SkipEmptyParts));
}
