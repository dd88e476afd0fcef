#include "watchedsocketcontrol.h"

#include <utility>

WatchedSocketControl::WatchedSocketControl(SocketControl &inner, SocketHistory &history,
                                           QObject *parent)
    : SocketControl(parent)
    , m_inner(inner)
    , m_history(history)
{
    connect(&m_inner, &SocketControl::Error, this,
            [this](qint16 number, const QString &description) {
                m_history.failures.append({m_port, number, description});
                emit Error(number, description);
            });
    connect(&m_inner, &SocketControl::DataArrival, this, &SocketControl::DataArrival);
}

void WatchedSocketControl::setReceivedHandler(ReceivedHandler handler)
{
    m_onReceived = std::move(handler);
}

void WatchedSocketControl::setRemoteHost(const QString &host)
{
    m_inner.setRemoteHost(host);
}

void WatchedSocketControl::setRemotePort(qint32 port)
{
    m_inner.setRemotePort(port);
    m_port = port;
}

void WatchedSocketControl::Connect()
{
    m_inner.Connect();
}

void WatchedSocketControl::Close()
{
    m_inner.Close();
}

qint16 WatchedSocketControl::State() const
{
    const qint16 state = m_inner.State();
    SocketHistory::Port &port = m_history.ports[m_port];
    if (state == sckConnected || state == sckClosing)
        port.connected = true;
    // Only the peer closes a connection that the program has not closed: the control reads 0
    // after the program's own Close.
    if (state == sckClosing)
        port.closedByPeer = true;
    return state;
}

void WatchedSocketControl::GetData(QString &data)
{
    m_inner.GetData(data);
    if (data.isEmpty())
        return;
    m_history.ports[m_port].received = true;
    if (m_onReceived)
        m_onReceived(m_port, data);
}

void WatchedSocketControl::SendData(const QByteArray &data)
{
    m_inner.SendData(data);
}
