#include "fakeprinterserver.h"

#include <QElapsedTimer>
#include <QPointer>
#include <QTcpServer>
#include <QTcpSocket>
#include <QTimer>

#include <memory>

#include <sys/socket.h>

namespace {
constexpr qint64 floodChunk = 64 * 1024;
}

// Lives in the server's thread; everything it owns is made and destroyed there.
class FakePrinterWorker : public QObject
{
public:
    FakePrinterWorker(const QHostAddress &address, FakePrinterServer &server)
        : m_address(address)
        , m_server(server)
    {
        const QByteArray unit =
            server.m_script.floodUnit.isEmpty() ? QByteArray(1, 'x') : server.m_script.floodUnit;
        while (m_floodChunk.size() < floodChunk)
            m_floodChunk += unit;
    }

    QString listen()
    {
        const FakePrinterScript &script = m_server.m_script;
        if (script.listenInn) {
            m_inn = new QTcpServer(this);
            if (!m_inn->listen(m_address, FakePrinterServer::innPort))
                return m_inn->errorString();
            connect(m_inn, &QTcpServer::newConnection, this, [this] { acceptInn(); });
        }
        if (script.listenUt) {
            m_ut = new QTcpServer(this);
            if (!m_ut->listen(m_address, FakePrinterServer::utPort))
                return m_ut->errorString();
            connect(m_ut, &QTcpServer::newConnection, this, [this] { acceptUt(); });
        }
        return {};
    }

    void sendOnInn(const QByteArray &data)
    {
        for (const QPointer<QTcpSocket> &socket : std::as_const(m_innSockets)) {
            if (socket && socket->state() == QAbstractSocket::ConnectedState) {
                socket->write(data);
                socket->flush();
            }
        }
    }

    void dropConnections()
    {
        for (const QPointer<QTcpSocket> &socket : std::as_const(m_sockets)) {
            if (socket && socket->state() == QAbstractSocket::ConnectedState)
                drop(socket);
        }
    }

private:
    void drop(QTcpSocket *socket)
    {
        if (m_server.m_script.dropWithReset) {
            // No lingering: the system answers the close with a reset instead of a FIN.
            const linger abortive{1, 0};
            ::setsockopt(static_cast<int>(socket->socketDescriptor()), SOL_SOCKET, SO_LINGER,
                         &abortive, sizeof abortive);
            socket->abort();
        } else {
            socket->disconnectFromHost();
        }
        ++m_server.m_dropped;
    }

    void acceptInn()
    {
        while (QTcpSocket *socket = m_inn->nextPendingConnection()) {
            m_innSockets.append(socket);
            m_sockets.append(socket);
            ++m_server.m_innConnections;
            countReceived(socket);
            const FakePrinterScript &script = m_server.m_script;
            if (script.flood) {
                connect(socket, &QTcpSocket::bytesWritten, this, [this, socket](qint64 written) {
                    m_server.m_floodBytesSent += written;
                    flood(socket);
                });
                flood(socket);
                ++m_server.m_innReplies;
                continue;
            }
            if (!script.trickle.isEmpty()) {
                trickle(socket);
                ++m_server.m_innReplies;
                continue;
            }
            for (const QByteArray &piece : script.innPieces) {
                socket->write(piece);
                socket->flush();
            }
            ++m_server.m_innReplies;
            if (script.dropOnAccept)
                drop(socket);
        }
    }

    void acceptUt()
    {
        while (QTcpSocket *socket = m_ut->nextPendingConnection()) {
            m_sockets.append(socket);
            ++m_server.m_utConnections;
            countReceived(socket);
            if (m_server.m_script.dropOnAccept)
                drop(socket);
        }
    }

    // Nothing is read by the printer as such; what arrives is only counted.
    void countReceived(QTcpSocket *socket)
    {
        connect(socket, &QTcpSocket::readyRead, this,
                [this, socket] { m_server.m_bytesReceived += socket->readAll().size(); });
    }

    void trickle(QTcpSocket *socket)
    {
        auto *timer = new QTimer(socket);
        timer->setInterval(m_server.m_script.trickleMs);
        const QByteArray bytes = m_server.m_script.trickle;
        auto sent = std::make_shared<qsizetype>(0);
        const auto sendOne = [socket, bytes, sent] {
            if (socket->state() != QAbstractSocket::ConnectedState)
                return;
            socket->write(bytes.mid(*sent % bytes.size(), 1));
            socket->flush();
            ++*sent;
        };
        connect(timer, &QTimer::timeout, socket, sendOne);
        sendOne();
        timer->start();
    }

    void flood(QTcpSocket *socket)
    {
        if (socket->state() != QAbstractSocket::ConnectedState ||
            m_server.m_floodBytesSent.load() >= m_server.m_script.floodLimit)
            return;
        // Keeps a little in hand, so the printer's own memory stays small as well.
        if (socket->bytesToWrite() < floodChunk)
            socket->write(m_floodChunk);
    }

    QHostAddress m_address;
    FakePrinterServer &m_server;
    QTcpServer *m_inn = nullptr;
    QTcpServer *m_ut = nullptr;
    QList<QPointer<QTcpSocket>> m_innSockets;
    QList<QPointer<QTcpSocket>> m_sockets; // on both ports
    QByteArray m_floodChunk;
};

FakePrinterServer::FakePrinterServer(const QHostAddress &address, const FakePrinterScript &script)
    : m_script(script)
{
    m_worker = new FakePrinterWorker(address, *this);
    m_worker->moveToThread(&m_thread);
    QObject::connect(&m_thread, &QThread::finished, m_worker, &QObject::deleteLater);
    m_thread.start();
    QMetaObject::invokeMethod(
        m_worker, [this] { m_listenError = m_worker->listen(); }, Qt::BlockingQueuedConnection);
}

FakePrinterServer::~FakePrinterServer()
{
    m_thread.quit();
    m_thread.wait();
}

void FakePrinterServer::sendOnInn(const QByteArray &data)
{
    QMetaObject::invokeMethod(
        m_worker, [this, data] { m_worker->sendOnInn(data); }, Qt::BlockingQueuedConnection);
}

void FakePrinterServer::dropConnections()
{
    QMetaObject::invokeMethod(
        m_worker, [this] { m_worker->dropConnections(); }, Qt::BlockingQueuedConnection);
}

bool FakePrinterServer::waitForDropped(int count, int timeoutMs) const
{
    QElapsedTimer clock;
    clock.start();
    while (m_dropped.load() < count) {
        if (clock.elapsed() > timeoutMs)
            return false;
        QThread::msleep(1);
    }
    return true;
}

bool FakePrinterServer::waitFor(int connections, int replies, int timeoutMs) const
{
    QElapsedTimer clock;
    clock.start();
    const auto reached = [&] {
        return (!m_script.listenInn || m_innConnections.load() >= connections) &&
               (!m_script.listenUt || m_utConnections.load() >= connections) &&
               m_innReplies.load() >= replies;
    };
    while (!reached()) {
        if (clock.elapsed() > timeoutMs)
            return false;
        QThread::msleep(1);
    }
    return true;
}
