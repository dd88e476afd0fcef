#include "networkprinter.h"

#include "socketcontrol.h"

NetworkPrinter::NetworkPrinter(const NetworkControls &controls, const NetworkPlatform &platform,
                               LogSink &log, QObject *parent)
    : QObject(parent)
    , m_receiver(*platform.sockInn, *platform.messageBox, m_state)
    , m_socketPair(*platform.sockInn, *platform.sockUt, *controls.txtIP, *platform.messageBox, log,
                   m_state, m_receiver)
    , m_test(controls, *platform.sockInn, *platform.sockUt, m_socketPair, *platform.eventPump,
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

void NetworkPrinter::TestNetworkPrinter()
{
    m_test.TestNetworkPrinter();
}

void NetworkPrinter::cmdOpenTCP_Click()
{
    m_socketPair.cmdOpenTCP_Click();
}

void NetworkPrinter::cmdCloseTCP_Click()
{
    m_socketPair.cmdCloseTCP_Click();
}
