#ifndef TCPCLIENT_H
#define TCPCLIENT_H

#include <QByteArray>
#include <QObject>
#include <QTcpSocket>

// A client of the simulated network printer that keeps all it receives, counts the separate
// arrivals (readyRead) and remembers whether the far end closed the connection.
class TcpClient : public QObject
{
    Q_OBJECT

public:
    explicit TcpClient(QObject *parent = nullptr);

    void connectTo(const QString &address, quint16 port);
    bool isConnected() const { return m_socket.state() == QAbstractSocket::ConnectedState; }
    void send(const QByteArray &bytes);

    QTcpSocket &socket() { return m_socket; }
    QByteArray received;
    int arrivals = 0;
    bool closedByPeer = false;
    QAbstractSocket::SocketError lastError = QAbstractSocket::UnknownSocketError;

private:
    QTcpSocket m_socket;
};

#endif // TCPCLIENT_H
