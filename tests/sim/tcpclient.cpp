#include "tcpclient.h"

TcpClient::TcpClient(QObject *parent)
    : QObject(parent)
{
    connect(&m_socket, &QTcpSocket::readyRead, this, [this] {
        received += m_socket.readAll();
        ++arrivals;
    });
    connect(&m_socket, &QTcpSocket::disconnected, this, [this] { closedByPeer = true; });
    connect(&m_socket, &QTcpSocket::errorOccurred, this,
            [this](QAbstractSocket::SocketError error) { lastError = error; });
}

void TcpClient::connectTo(const QString &address, quint16 port)
{
    m_socket.connectToHost(address, port);
}

void TcpClient::send(const QByteArray &bytes)
{
    m_socket.write(bytes);
    m_socket.flush();
}
