#include "droppedconnection.h"

#include "socketcontrol.h"

#include <winsock2.h>

std::optional<RuntimeError> droppedConnectionFailure(qintptr descriptor)
{
    // Winsock tells a reset itself: a peek fails with WSAECONNRESET, where a clean close peeks
    // as no bytes and a connect still under way as not connected.
    char byte = 0;
    if (::recv(static_cast<SOCKET>(descriptor), &byte, 1, MSG_PEEK) != SOCKET_ERROR)
        return std::nullopt;
    const int error = ::WSAGetLastError();
    if (error == WSAECONNRESET || error == WSAECONNABORTED)
        return RuntimeError{SocketControl::sckConnectionReset, qt_error_string(WSAECONNRESET)};
    if (error == WSAETIMEDOUT)
        return RuntimeError{SocketControl::sckTimedout, qt_error_string(WSAETIMEDOUT)};
    return std::nullopt;
}

QByteArray takeUnreadBytes(qintptr descriptor, qint64 limit)
{
    // Windows drops what had arrived before the reset, so nothing is left to take.
    Q_UNUSED(descriptor)
    Q_UNUSED(limit)
    return QByteArray();
}
