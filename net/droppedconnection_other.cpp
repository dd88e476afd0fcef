#include "droppedconnection.h"

// Systems without a way to ask here: a reset is left to Qt, which reports it as a clean close.

std::optional<RuntimeError> droppedConnectionFailure(qintptr descriptor)
{
    Q_UNUSED(descriptor)
    return std::nullopt;
}

QByteArray takeUnreadBytes(qintptr descriptor, qint64 limit)
{
    Q_UNUSED(descriptor)
    Q_UNUSED(limit)
    return QByteArray();
}
