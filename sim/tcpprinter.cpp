#include "tcpprinter.h"

#include "bytetext.h"
#include "eventlog.h"
#include "exitcodes.h"
#include "printerstate.h"
#include "replysender.h"

#include <QTcpSocket>

namespace {
QString peerText(const QTcpSocket *socket)
{
    return QStringLiteral("%1:%2").arg(socket->peerAddress().toString()).arg(socket->peerPort());
}

void closeAtOnce(QTcpSocket *socket)
{
    socket->close();
    socket->deleteLater();
}
} // namespace

TcpPrinter::TcpPrinter(SimOptions options, PrinterState *state, EventLog *log, QObject *parent)
    : QObject(parent)
    , m_options(std::move(options))
    , m_state(state)
    , m_log(log)
{
    m_cycleTimer.setInterval(m_options.intervalMs);
    connect(&m_cycleTimer, &QTimer::timeout, this, &TcpPrinter::sendStatus);
    connect(&m_statusServer, &QTcpServer::newConnection, this, &TcpPrinter::acceptStatus);
    connect(&m_dataServer, &QTcpServer::newConnection, this, &TcpPrinter::acceptData);
}

TcpPrinter::~TcpPrinter()
{
    // Closed here, while the members their handlers use still exist.
    m_cycleTimer.stop();
    for (QTcpSocket *socket : {m_statusSocket.data(), m_dataSocket.data()}) {
        if (socket) {
            socket->disconnect(this);
            socket->abort();
            delete socket;
        }
    }
    m_statusServer.close();
    m_dataServer.close();
}

int TcpPrinter::listen(QString *error)
{
    const auto listenOn = [&](QTcpServer &server, quint16 port) {
        if (server.listen(m_options.address, port))
            return true;
        *error = QStringLiteral("cannot listen on %1 port %2: %3")
                     .arg(m_options.address.toString())
                     .arg(port)
                     .arg(server.errorString());
        return false;
    };
    if (!m_options.refuseStatusPort && !listenOn(m_statusServer, SimOptions::statusPort))
        return SimExit::CannotListen;
    if (!m_options.refuseDataPort && !listenOn(m_dataServer, SimOptions::dataPort)) {
        m_statusServer.close();
        return SimExit::CannotListen;
    }
    return SimExit::Ok;
}

QTcpSocket *TcpPrinter::acceptOne(QTcpServer &server, const QPointer<QTcpSocket> &current)
{
    const quint16 port = server.serverPort();
    QTcpSocket *accepted = nullptr;
    while (QTcpSocket *socket = server.nextPendingConnection()) {
        if (m_options.closeOnConnect) {
            log(port, QStringLiteral("connection from %1 closed at once (--close-on-connect)")
                          .arg(peerText(socket)));
            closeAtOnce(socket);
        } else if ((current && current->state() == QAbstractSocket::ConnectedState) || accepted) {
            log(port, QStringLiteral("second connection from %1 closed at once: one "
                                     "connection at a time")
                          .arg(peerText(socket)));
            closeAtOnce(socket);
        } else {
            log(port, QStringLiteral("connection from %1").arg(peerText(socket)));
            socket->setSocketOption(QAbstractSocket::LowDelayOption, 1);
            accepted = socket;
        }
    }
    if (accepted) {
        const QString peer = peerText(accepted);
        connect(accepted, &QTcpSocket::disconnected, this, [this, accepted, port, peer] {
            log(port, QStringLiteral("connection from %1 closed").arg(peer));
            accepted->deleteLater();
        });
    }
    return accepted;
}

void TcpPrinter::acceptStatus()
{
    QTcpSocket *socket = acceptOne(m_statusServer, m_statusSocket);
    if (!socket)
        return;
    m_statusSocket = socket;
    // The printer reads nothing on its status port.
    connect(socket, &QTcpSocket::readyRead, socket, [socket] { socket->readAll(); });
    connect(socket, &QTcpSocket::disconnected, this, [this] { m_cycleTimer.stop(); });
    const auto write = [socket](const QByteArray &bytes) {
        // A late piece or a flood tick may come after the peer left.
        if (socket->state() != QAbstractSocket::ConnectedState)
            return;
        socket->write(bytes);
        // Out now, so that the pieces of a split answer leave as pieces.
        socket->flush();
    };
    const auto backlog = [socket] { return socket->bytesToWrite(); };
    m_sender = new ReplySender(
        m_options.reply, [this] { return m_state->frame(); }, write, backlog, m_log,
        QString::number(SimOptions::statusPort), socket);
    if (m_options.timing == ReplyTiming::Cycle) {
        sendStatus();
        m_cycleTimer.start();
    }
}

void TcpPrinter::acceptData()
{
    QTcpSocket *socket = acceptOne(m_dataServer, m_dataSocket);
    if (!socket)
        return;
    m_dataSocket = socket;
    // A job cut off with its connection prints nothing.
    m_printData = PrintDataCounter();
    connect(socket, &QTcpSocket::readyRead, this, &TcpPrinter::readData);
}

void TcpPrinter::readData()
{
    if (!m_dataSocket)
        return;
    const QByteArray bytes = m_dataSocket->readAll();
    // In order, so that an ENQ after a job reports the labels that job printed.
    qsizetype runStart = 0;
    for (qsizetype i = 0; i < bytes.size(); ++i) {
        if (bytes.at(i) != StatusFrame::enq)
            continue;
        takePrintData(bytes.mid(runStart, i - runStart));
        runStart = i + 1;
        enquiry();
    }
    takePrintData(bytes.mid(runStart));
}

void TcpPrinter::takePrintData(const QByteArray &bytes)
{
    if (bytes.isEmpty())
        return;
    log(SimOptions::dataPort,
        QStringLiteral("print data, %1 bytes: %2").arg(bytes.size()).arg(ByteText::visible(bytes)));
    const int printed = m_printData.take(bytes);
    if (printed <= 0)
        return;
    const bool ranOut = m_state->print(printed);
    log(SimOptions::dataPort,
        QStringLiteral("printed %1 label(s), %2 left").arg(printed).arg(m_state->labels()));
    if (ranOut)
        log(SimOptions::dataPort, QStringLiteral("out of labels: status now %1")
                                      .arg(QLatin1Char(PrinterState::outOfLabels)));
}

void TcpPrinter::enquiry()
{
    if (m_options.timing != ReplyTiming::Enq) {
        log(SimOptions::dataPort, QStringLiteral("ENQ ignored: the timing is cycle"));
        return;
    }
    if (!m_sender) {
        log(SimOptions::dataPort,
            QStringLiteral("ENQ, but nothing is connected to port %1: no frame sent")
                .arg(SimOptions::statusPort));
        return;
    }
    log(SimOptions::dataPort, QStringLiteral("ENQ"));
    sendStatus();
}

void TcpPrinter::sendStatus()
{
    // The socket lingers until its deletion after the peer closed it; it takes no more.
    if (m_sender && m_statusSocket && m_statusSocket->state() == QAbstractSocket::ConnectedState)
        m_sender->answer();
}

void TcpPrinter::log(quint16 port, const QString &what)
{
    m_log->write(QString::number(port), what);
}
