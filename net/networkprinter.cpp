#include "networkprinter.h"

NetworkPrinter::NetworkPrinter(const NetworkControls &controls, const NetworkPlatform &platform,
                               LogSink &log, QObject *parent)
    : QObject(parent)
    , m_controls(controls)
    , m_platform(platform)
    , m_log(log)
{
}

void NetworkPrinter::TestNetworkPrinter()
{
    // Built by the network test work.
}

void NetworkPrinter::cmdOpenTCP_Click()
{
}

void NetworkPrinter::cmdCloseTCP_Click()
{
}
