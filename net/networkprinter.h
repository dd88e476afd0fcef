#ifndef NETWORKPRINTER_H
#define NETWORKPRINTER_H

#include "networkcontrols.h"
#include "networkstate.h"
#include "networktest.h"
#include "socketpair.h"
#include "statusreceiver.h"

#include <QObject>

class LogSink;
class TestHost;

// The network printer test with its socket pair, as the window holds it: the shared variables,
// the handlers of `SockInn`'s two events, the two socket buttons and the test itself.
class NetworkPrinter : public QObject
{
    Q_OBJECT

public:
    NetworkPrinter(TestHost &host, const NetworkPlatform &platform, LogSink &log,
                   QObject *parent = nullptr);

    void TestNetworkPrinter(const QString &address);
    void cmdOpenTCP_Click(const QString &address);
    void cmdCloseTCP_Click();

    const NetworkState &state() const { return m_state; }
    const QString &verdict() const { return m_test.verdict(); }

private:
    NetworkState m_state;
    StatusReceiver m_receiver;
    SocketPair m_socketPair;
    NetworkTest m_test;
};

#endif // NETWORKPRINTER_H
