#ifndef TCPSOCKETCONTROL_H
#define TCPSOCKETCONTROL_H

#include "runtimeerror.h"
#include "socketcontrol.h"

#include <QAbstractSocket>
#include <QTimer>

#include <chrono>

class QTcpSocket;

// The socket control over a QTcpSocket.
//
// The state is kept here rather than read from Qt: Qt's socket falls back to unconnected after
// an error, while the program must go on seeing 9 until it closes the socket itself, and a peer
// that has closed reads 8.
//
// Qt reports a peer's reset as a clean close, and a reset that comes while it has yet to see
// the connection made makes it connect the same socket again, over and over. So the control
// looks at the connection before each of Qt's socket notifications is handled (asking the
// system, droppedconnection.h), and takes a reset itself: error 10054, and the socket is given
// up. One Connect is one attempt.
//
// Qt emits its signals wherever it likes, inside connectToHost() as well. The program's
// handlers must only run where window events are let through, so both events are posted and
// delivered from the event queue; an event queued before Close (or before the next Connect)
// is dropped when its turn comes.
class TcpSocketControl : public SocketControl
{
    Q_OBJECT

public:
    // A connect that has neither succeeded nor failed by then fails with sckTimedout.
    static constexpr std::chrono::milliseconds defaultConnectTimeout{20000};
    // What Qt may hold of received data that the program has not taken yet. Beyond it the
    // socket stops reading and the peer is held back by TCP itself.
    static constexpr qint64 readBufferLimit = 16 * 1024;

    explicit TcpSocketControl(QObject *parent = nullptr);
    ~TcpSocketControl() override;

    void setRemoteHost(const QString &host) override;
    void setRemotePort(qint32 port) override;
    void Connect() override;
    void Close() override;
    qint16 State() const override;
    void GetData(QString &data) override;
    void SendData(const QByteArray &data) override;

    void setConnectTimeout(std::chrono::milliseconds timeout);

    // What the program hears of a failure Qt reports, in the state the control was in: the
    // number in the control's numbering and Qt's own text.
    static RuntimeError qtFailure(QAbstractSocket::SocketError error, qint16 stateBefore,
                                  const QString &qtText);

protected:
    bool eventFilter(QObject *watched, QEvent *event) override;

private:
    void refuseUnlessClosed() const;
    bool takeDroppedConnection(qintptr descriptor);
    void queueDataEvent();
    void onQtStateChanged(QAbstractSocket::SocketState state);
    void onQtError(QAbstractSocket::SocketError error);
    void onReadyRead();
    void onConnectTimeout();
    void fail(qint32 number, const QString &description);
    void deliverData(quint64 generation);
    void deliverError(quint64 generation, qint32 number, const QString &description);

    QTcpSocket *m_socket = nullptr;
    QTimer m_connectTimer;
    QString m_remoteHost;
    qint32 m_remotePort = 0;
    qint16 m_state = sckClosed;
    // Counts connections begun and closed: a queued event of an earlier one is stale.
    quint64 m_generation = 0;
    bool m_dataEventQueued = false;
    // What a dropped connection had received that the program has not taken yet.
    QByteArray m_leftOver;
};

#endif // TCPSOCKETCONTROL_H
