#include "portfailure.h"

#include <QFileInfo>

bool PortFailure::denied(const QString &device)
{
    if (device.isEmpty())
        return false;
    const QFileInfo info(device);
    return info.exists() && !(info.isReadable() && info.isWritable());
}
