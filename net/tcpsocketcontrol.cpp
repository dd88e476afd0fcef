#include "tcpsocketcontrol.h"

#include "droppedconnection.h"
#include "runtimeerror.h"

#include <QChildEvent>
#include <QNetworkProxy>
#include <QSocketNotifier>
#include <QTcpSocket>

#include <limits>
#include <optional>

namespace {

// Further numbers of the same family, for the rarer failures Qt can report.
constexpr qint32 wsaAccessDenied = 10013;
constexpr qint32 wsaAddressFamilyNotSupported = 10047;
constexpr qint32 wsaAddressInUse = 10048;

constexpr qint32 highestPort = 65535;

QString invalidOperationText()
{
    return QStringLiteral("Invalid operation at current state");
}

bool isConnecting(qint16 state)
{
    return state == SocketControl::sckResolvingHost || state == SocketControl::sckHostResolved ||
           state == SocketControl::sckConnecting;
}

// Qt's error in the control's numbering. Qt's classes are coarse: a network failure while
// connecting means the host could not be reached, once connected that the connection broke.
qint32 errorNumber(QAbstractSocket::SocketError error, qint16 stateBefore)
{
    switch (error) {
    case QAbstractSocket::ConnectionRefusedError:
        return SocketControl::sckConnectionRefused;
    case QAbstractSocket::HostNotFoundError:
        return SocketControl::sckHostNotFound;
    case QAbstractSocket::SocketTimeoutError:
        return SocketControl::sckTimedout;
    case QAbstractSocket::RemoteHostClosedError:
        return SocketControl::sckConnectionReset;
    case QAbstractSocket::NetworkError:
        return isConnecting(stateBefore) ? SocketControl::sckHostUnreachable
                                         : SocketControl::sckConnectAborted;
    case QAbstractSocket::SocketAccessError:
        return wsaAccessDenied;
    case QAbstractSocket::SocketResourceError:
        return SocketControl::sckNoBufferSpace;
    case QAbstractSocket::UnsupportedSocketOperationError:
        return wsaAddressFamilyNotSupported;
    case QAbstractSocket::AddressInUseError:
        return wsaAddressInUse;
    case QAbstractSocket::SocketAddressNotAvailableError:
        return SocketControl::sckAddressNotAvailable;
    default:
        return SocketControl::sckConnectAborted;
    }
}

} // namespace

TcpSocketControl::TcpSocketControl(QObject *parent)
    : SocketControl(parent)
    , m_socket(new QTcpSocket(this))
{
    // A printer is reached directly; no proxy setting of the environment applies.
    m_socket->setProxy(QNetworkProxy::NoProxy);
    m_socket->setReadBufferSize(readBufferLimit);
    m_connectTimer.setSingleShot(true);
    m_connectTimer.setInterval(defaultConnectTimeout);

    connect(m_socket, &QAbstractSocket::stateChanged, this, &TcpSocketControl::onQtStateChanged);
    connect(m_socket, &QAbstractSocket::errorOccurred, this, &TcpSocketControl::onQtError);
    connect(m_socket, &QIODevice::readyRead, this, &TcpSocketControl::onReadyRead);
    connect(&m_connectTimer, &QTimer::timeout, this, &TcpSocketControl::onConnectTimeout);
    m_socket->installEventFilter(this);
}

TcpSocketControl::~TcpSocketControl()
{
    // Whatever the socket says while it goes must not reach a half-destroyed control.
    m_socket->disconnect(this);
    m_socket->abort();
}

void TcpSocketControl::refuseUnlessClosed() const
{
    if (m_state != sckClosed)
        throw RuntimeError{sckInvalidOp, invalidOperationText()};
}

void TcpSocketControl::setRemoteHost(const QString &host)
{
    refuseUnlessClosed();
    m_remoteHost = host;
}

void TcpSocketControl::setRemotePort(qint32 port)
{
    refuseUnlessClosed();
    if (port < 0 || port > highestPort)
        throw invalidPropertyValueError();
    m_remotePort = port;
}

void TcpSocketControl::Connect()
{
    refuseUnlessClosed();
    ++m_generation;
    m_dataEventQueued = false;
    m_leftOver.clear();
    // Every host goes through Qt's lookup, so an address that cannot be resolved (an empty
    // one included) fails later, like any other connect, and not here.
    m_state = sckResolvingHost;
    m_connectTimer.start();
    m_socket->connectToHost(m_remoteHost, static_cast<quint16>(m_remotePort));
}

void TcpSocketControl::Close()
{
    // Closed first, so that what the socket reports while it goes is not taken for news.
    m_state = sckClosed;
    ++m_generation;
    m_dataEventQueued = false;
    m_leftOver.clear();
    m_connectTimer.stop();
    m_socket->abort();
}

qint16 TcpSocketControl::State() const
{
    return m_state;
}

void TcpSocketControl::GetData(QString &data)
{
    if (m_state == sckClosed) {
        throw RuntimeError{
            sckBadState,
            QStringLiteral(
                "Wrong protocol or connection state for the requested transaction or request")};
    }
    data = QString::fromLatin1(m_leftOver + m_socket->readAll());
    m_leftOver.clear();
}

void TcpSocketControl::SendData(const QByteArray &data)
{
    if (m_state != sckConnected) {
        throw RuntimeError{
            sckBadState,
            QStringLiteral(
                "Wrong protocol or connection state for the requested transaction or request")};
    }
    m_socket->write(data);
}

void TcpSocketControl::setConnectTimeout(std::chrono::milliseconds timeout)
{
    m_connectTimer.setInterval(timeout);
}

void TcpSocketControl::onQtStateChanged(QAbstractSocket::SocketState state)
{
    // Closed, failed and peer-closed stay as they are until the program closes the socket.
    if (m_state == sckClosed || m_state == sckError || m_state == sckClosing)
        return;
    switch (state) {
    case QAbstractSocket::HostLookupState:
        m_state = sckResolvingHost;
        break;
    case QAbstractSocket::ConnectingState:
        m_state = sckConnecting;
        break;
    case QAbstractSocket::ConnectedState:
        m_connectTimer.stop();
        m_state = sckConnected;
        break;
    case QAbstractSocket::UnconnectedState:
    case QAbstractSocket::ClosingState:
        if (m_state == sckConnected)
            m_state = sckClosing;
        break;
    default:
        break;
    }
}

void TcpSocketControl::onQtError(QAbstractSocket::SocketError error)
{
    if (m_state == sckClosed || m_state == sckError || m_state == sckClosing)
        return;
    // A peer that closes is no error: what it sent can still be taken.
    if (error == QAbstractSocket::RemoteHostClosedError && m_state == sckConnected) {
        m_state = sckClosing;
        return;
    }
    const RuntimeError failure = qtFailure(error, m_state, m_socket->errorString());
    fail(failure.number, failure.description);
}

RuntimeError TcpSocketControl::qtFailure(QAbstractSocket::SocketError error, qint16 stateBefore,
                                         const QString &qtText)
{
    return RuntimeError{errorNumber(error, stateBefore), qtText};
}

bool TcpSocketControl::eventFilter(QObject *watched, QEvent *event)
{
    if (event->type() == QEvent::ChildAdded) {
        // Qt's socket engine is made as a child of the socket, its notifiers as the engine's.
        static_cast<QChildEvent *>(event)->child()->installEventFilter(this);
        return false;
    }
    // Looked at before Qt acts on the socket: Qt would take a reset for a clean close, or,
    // while connecting, quietly connect the same socket again.
    if (event->type() != QEvent::SockAct)
        return false;
    // The notifier knows the descriptor also while connecting, when the socket does not say.
    const auto *notifier = qobject_cast<QSocketNotifier *>(watched);
    return notifier && takeDroppedConnection(notifier->socket());
}

bool TcpSocketControl::takeDroppedConnection(qintptr descriptor)
{
    if (m_state != sckConnecting && m_state != sckConnected)
        return false;
    const std::optional<RuntimeError> failure = droppedConnectionFailure(descriptor);
    if (!failure)
        return false;

    // What the printer sent before it went is the program's to take, as after a clean close.
    // Qt's part has had its event already, or has one queued; the system's part is news.
    m_leftOver += m_socket->readAll();
    const QByteArray unread = takeUnreadBytes(descriptor, readBufferLimit);
    m_leftOver += unread;
    if (!unread.isEmpty())
        queueDataEvent();
    fail(failure->number, failure->description);
    m_socket->abort();
    return true;
}

void TcpSocketControl::onConnectTimeout()
{
    if (!isConnecting(m_state))
        return;
    fail(sckTimedout, QStringLiteral("Connection timed out"));
    m_socket->abort();
}

void TcpSocketControl::fail(qint32 number, const QString &description)
{
    m_state = sckError;
    m_connectTimer.stop();
    const quint64 generation = m_generation;
    QMetaObject::invokeMethod(
        this,
        [this, generation, number, description] { deliverError(generation, number, description); },
        Qt::QueuedConnection);
}

void TcpSocketControl::onReadyRead()
{
    if (m_state != sckClosed)
        queueDataEvent();
}

void TcpSocketControl::queueDataEvent()
{
    if (m_dataEventQueued)
        return;
    // One event stands for everything that has come until it is delivered.
    m_dataEventQueued = true;
    const quint64 generation = m_generation;
    QMetaObject::invokeMethod(
        this, [this, generation] { deliverData(generation); }, Qt::QueuedConnection);
}

void TcpSocketControl::deliverData(quint64 generation)
{
    if (generation != m_generation)
        return;
    m_dataEventQueued = false;
    const qint64 waiting = m_leftOver.size() + m_socket->bytesAvailable();
    // The program has already taken everything with an earlier event.
    if (waiting <= 0)
        return;
    emit DataArrival(
        static_cast<qint32>(qMin<qint64>(waiting, std::numeric_limits<qint32>::max())));
}

void TcpSocketControl::deliverError(quint64 generation, qint32 number, const QString &description)
{
    if (generation != m_generation)
        return;
    // The event carries a 16-bit number; larger numbers arrive as they wrap.
    emit Error(static_cast<qint16>(number), description);
}
