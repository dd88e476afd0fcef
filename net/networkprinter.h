#ifndef NETWORKPRINTER_H
#define NETWORKPRINTER_H

#include "networkcontrols.h"
#include "networkstate.h"
#include "networktest.h"
#include "socketpair.h"
#include "statusreceiver.h"

#include <QObject>

class LogSink;

// The network printer test with its socket pair, as the window holds it: the shared variables,
// the handlers of `SockInn`'s two events, the two socket buttons and the test itself.
class NetworkPrinter : public QObject
{
    Q_OBJECT

public:
    NetworkPrinter(const NetworkControls &controls, const NetworkPlatform &platform, LogSink &log,
                   QObject *parent = nullptr);

    void TestNetworkPrinter();
    void cmdOpenTCP_Click();
    void cmdCloseTCP_Click();

    const NetworkState &state() const { return m_state; }
    const StatusReceiver &statusReceiver() const { return m_receiver; }

private:
    NetworkState m_state;
    StatusReceiver m_receiver;
    SocketPair m_socketPair;
    NetworkTest m_test;
};

#endif // NETWORKPRINTER_H
