#include "comportsetting.h"

#include <QDir>

namespace {
// Separated as PATH is: by ':', on Windows by ';' (its paths hold ':').
constexpr const char *comPortsVariable = "SOLVARN_COM_PORTS";
} // namespace

ComPortNumbering commandLineComPortNumbering()
{
    const QString listed = qEnvironmentVariable(comPortsVariable);
    if (listed.isEmpty())
        return systemComPortNumbering();
    // The paths are given in COM order and do not change during the check: nothing to list.
    const QStringList paths = listed.split(QDir::listSeparator(), Qt::SkipEmptyParts);
    return {{}, [paths](qint16 number) { return comPortByDevicePath(paths, number); }};
}
