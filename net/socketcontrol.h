#ifndef SOCKETCONTROL_H
#define SOCKETCONTROL_H

#include "runtimeerror.h"

#include <QByteArray>
#include <QObject>
#include <QString>

// A TCP client connection as the network test uses it (the window's `SockInn` and `SockUt`).
// Members throw RuntimeError synchronously; the two events reach the program only when window
// events are let through (never inside Connect, never during a sleep).
class SocketControl : public QObject
{
    Q_OBJECT

public:
    enum StateValue : qint16 {
        sckClosed = 0,
        sckOpen = 1,
        sckListening = 2,
        sckConnectionPending = 3,
        sckResolvingHost = 4,
        sckHostResolved = 5,
        sckConnecting = 6,
        sckConnected = 7,
        sckClosing = 8,
        sckError = 9,
    };

    // Error numbers in the socket control's usual numbering.
    static constexpr qint32 sckBadState = 40006;
    static constexpr qint32 sckInvalidOp = 40020;
    // Failures of this computer, not of the host: no descriptor or buffer left, no local port.
    static constexpr qint32 sckAddressNotAvailable = 10049;
    static constexpr qint32 sckNoBufferSpace = 10055;
    static constexpr qint32 sckConnectAborted = 10053;
    static constexpr qint32 sckConnectionReset = 10054;
    static constexpr qint32 sckTimedout = 10060;
    static constexpr qint32 sckConnectionRefused = 10061;
    static constexpr qint32 sckHostUnreachable = 10065;
    static constexpr qint32 sckHostNotFound = 11001;

    using QObject::QObject;

    virtual void setRemoteHost(const QString &host) = 0;
    virtual void setRemotePort(qint32 port) = 0;
    // Starts connecting in the background; the outcome shows in State and in the events.
    virtual void Connect() = 0;
    // Afterwards State reads 0 and no event queued before the call is delivered.
    virtual void Close() = 0;
    virtual qint16 State() const = 0;
    // Fills data with everything received and waiting, one character per byte.
    virtual void GetData(QString &data) = 0;
    // Sends bytes on a connected socket. The window's test never sends; only the command
    // line's enquiry does, so a control that cannot send refuses.
    virtual void SendData(const QByteArray &data)
    {
        Q_UNUSED(data)
        throw RuntimeError{sckInvalidOp, QStringLiteral("Invalid operation at current state")};
    }

signals:
    void Error(qint16 number, const QString &description);
    void DataArrival(qint32 bytesTotal);
};

#endif // SOCKETCONTROL_H
