#include "systemsocketcontrol.h"

#include "tcpsocketcontrol.h"

std::unique_ptr<SocketControl> createSystemSocketControl(QObject *parent)
{
    return std::make_unique<TcpSocketControl>(parent);
}
