#include "droppedconnection.h"

#include "socketcontrol.h"

#include <linux/tcp.h> // the kernel's tcp_info, which has tcpi_bytes_acked
#include <netinet/in.h>
#include <sys/socket.h>

#include <cerrno>
#include <cstddef>

std::optional<RuntimeError> droppedConnectionFailure(qintptr descriptor)
{
    constexpr quint8 kernelTcpClose = 7; // TCP_CLOSE
    const int fd = static_cast<int>(descriptor);
    tcp_info info{};
    socklen_t length = sizeof info;
    if (::getsockopt(fd, IPPROTO_TCP, TCP_INFO, &info, &length) != 0 ||
        info.tcpi_state != kernelTcpClose)
        return std::nullopt;
    // The SYN counts as one byte once the peer has acknowledged it: the connection was made.
    constexpr std::size_t bytesAckedEnd =
        offsetof(tcp_info, tcpi_bytes_acked) + sizeof info.tcpi_bytes_acked;
    if (length < bytesAckedEnd || info.tcpi_bytes_acked == 0)
        return std::nullopt;
    // Read (and so cleared) before the received bytes are taken, which it would otherwise stop.
    int error = 0;
    socklen_t errorLength = sizeof error;
    ::getsockopt(fd, SOL_SOCKET, SO_ERROR, &error, &errorLength);
    if (error == ETIMEDOUT)
        return RuntimeError{SocketControl::sckTimedout, qt_error_string(ETIMEDOUT)};
    return RuntimeError{SocketControl::sckConnectionReset, qt_error_string(ECONNRESET)};
}

QByteArray takeUnreadBytes(qintptr descriptor, qint64 limit)
{
    QByteArray data;
    char buffer[4096];
    while (data.size() < limit) {
        const auto wanted =
            static_cast<std::size_t>(qMin<qint64>(sizeof buffer, limit - data.size()));
        const ssize_t got = ::recv(static_cast<int>(descriptor), buffer, wanted, MSG_DONTWAIT);
        if (got <= 0)
            break;
        data.append(buffer, got);
    }
    return data;
}
