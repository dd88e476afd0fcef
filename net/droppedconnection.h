#ifndef DROPPEDCONNECTION_H
#define DROPPEDCONNECTION_H

#include "runtimeerror.h"

#include <QByteArray>
#include <QtGlobal>

#include <optional>

// Where the socket control asks the system itself about its connection, because Qt takes a
// peer's reset for a clean close. One file for each system, chosen in CMake: the kernel's TCP
// state on Linux, a peek on Windows (whose Winsock reports the reset itself), nothing elsewhere.

// The failure with which the system has closed a connection that had been made: the peer
// accepted it and then reset it (sckConnectionReset) or, rarely, it timed out (sckTimedout),
// with the system's own text. Nothing for a connection still open, one the peer closed cleanly
// (that stays half-open until the program closes it), or a connect that never got through
// (refused or unreachable: Qt reports those itself).
std::optional<RuntimeError> droppedConnectionFailure(qintptr descriptor);

// What the system still holds of a dropped connection's received bytes, up to limit.
QByteArray takeUnreadBytes(qintptr descriptor, qint64 limit);

#endif // DROPPEDCONNECTION_H
