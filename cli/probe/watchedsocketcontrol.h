#ifndef WATCHEDSOCKETCONTROL_H
#define WATCHEDSOCKETCONTROL_H

#include "socketcontrol.h"

#include <QList>
#include <QMap>

#include <functional>

// What the two sockets of a check went through, for the summary: the window's test follows only
// `SockUt`'s state and `SockInn`'s events, so a refused port 1024 or a printer that hung up at
// once would not show in its verdict.
struct SocketHistory
{
    struct Failure
    {
        qint32 port = 0;
        qint32 number = 0;
        QString description;
    };
    struct Port
    {
        bool connected = false;
        bool closedByPeer = false;
        bool received = false;
    };

    // In the order they were reported.
    QList<Failure> failures;
    QMap<qint32, Port> ports;
};

// A socket control that hands everything to the real one and notes in a history what it saw:
// the errors it reported, the states the test read, whether data came.
class WatchedSocketControl : public SocketControl
{
    Q_OBJECT

public:
    using ReceivedHandler = std::function<void(qint32 port, const QString &data)>;

    WatchedSocketControl(SocketControl &inner, SocketHistory &history, QObject *parent = nullptr);

    // Told of every piece of data the test takes.
    void setReceivedHandler(ReceivedHandler handler);

    void setRemoteHost(const QString &host) override;
    void setRemotePort(qint32 port) override;
    void Connect() override;
    void Close() override;
    qint16 State() const override;
    void GetData(QString &data) override;
    void SendData(const QByteArray &data) override;

private:
    SocketControl &m_inner;
    SocketHistory &m_history;
    qint32 m_port = 0;
    ReceivedHandler m_onReceived;
};

#endif // WATCHEDSOCKETCONTROL_H
