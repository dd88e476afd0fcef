#include "networkprinter.h"

#include "socketcontrol.h"

NetworkPrinter::NetworkPrinter(TestHost &host, const NetworkPlatform &platform, LogSink &log,
                               QObject *parent)
    : QObject(parent)
    , m_receiver(*platform.sockInn, *platform.messageBox, m_state)
    , m_socketPair(*platform.sockInn, *platform.sockUt, *platform.messageBox, log, m_state,
                   m_receiver)
    , m_test(host, *platform.sockInn, *platform.sockUt, m_socketPair, *platform.eventPump,
             *platform.sleeper, log, m_state)
{
    // Only `SockInn`'s events are handled; a failure of `SockUt` shows in its State alone.
    connect(platform.sockInn, &SocketControl::Error, this,
            [this](qint16 number, const QString &description) {
                m_socketPair.SockInn_Error(number, description);
            });
    connect(platform.sockInn, &SocketControl::DataArrival, this,
            [this](qint32 bytesTotal) { m_receiver.SockInn_DataArrival(bytesTotal); });
}

void NetworkPrinter::TestNetworkPrinter(const QString &address)
{
    m_test.TestNetworkPrinter(address);
}

void NetworkPrinter::cmdOpenTCP_Click(const QString &address)
{
    m_socketPair.cmdOpenTCP_Click(address);
}

void NetworkPrinter::cmdCloseTCP_Click()
{
    m_socketPair.cmdCloseTCP_Click();
}
