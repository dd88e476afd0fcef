#ifndef STATUSRECEIVER_H
#define STATUSRECEIVER_H

#include "statusdecoder.h"

#include <QtGlobal>

class ModalMessageBox;
class SocketControl;
struct NetworkState;

// The data-arrival handler of `SockInn`: takes what has come, decodes the printer's status
// reply and leaves the result in strStatus and bStatusReceived for the running test. It
// writes nothing to the log.
class StatusReceiver
{
public:
    StatusReceiver(SocketControl &sockInn, ModalMessageBox &messageBox, NetworkState &state);

    void SockInn_DataArrival(qint32 bytesTotal);
    // The connection is gone: a reply begun on it will never be completed.
    void forgetPartialReply();

    const StatusDecoder &decoder() const { return m_decoder; }

private:
    SocketControl &m_sockInn;
    ModalMessageBox &m_messageBox;
    NetworkState &m_state;
    StatusDecoder m_decoder;
};

#endif // STATUSRECEIVER_H
