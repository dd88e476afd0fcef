#ifndef SOCKETPAIR_H
#define SOCKETPAIR_H

#include <QString>
#include <QtGlobal>

class LogSink;
class ModalMessageBox;
class SocketControl;
class StatusReceiver;
struct NetworkState;
struct RuntimeError;

// The two connections to the printer: `SockInn` to its port 1025, where the status replies
// come in, and `SockUt` to its port 1024. Opens and closes them for the test and by hand, and
// turns an error of `SockInn` into log lines and the status text the test watches.
class SocketPair
{
public:
    static constexpr qint32 innPort = 1025;
    static constexpr qint32 utPort = 1024;

    SocketPair(SocketControl &sockInn, SocketControl &sockUt, ModalMessageBox &messageBox,
               LogSink &log, NetworkState &state, StatusReceiver &receiver);

    void SettIPData(QString strIP);
    void CloseSockets();
    // strIP: the text of the address field when the button is clicked.
    void cmdOpenTCP_Click(const QString &strIP);
    void cmdCloseTCP_Click();
    void SockInn_Error(qint16 Number, const QString &Description);

private:
    void showProgramError(const QString &routine, const RuntimeError &error);
    void closeSockInn();

    SocketControl &m_sockInn;
    SocketControl &m_sockUt;
    ModalMessageBox &m_messageBox;
    LogSink &m_log;
    NetworkState &m_state;
    StatusReceiver &m_receiver;
};

#endif // SOCKETPAIR_H
