#ifndef SYSTEMSOCKETCONTROL_H
#define SYSTEMSOCKETCONTROL_H

#include "socketcontrol.h"

#include <memory>

// A socket control over a real TCP socket.
std::unique_ptr<SocketControl> createSystemSocketControl(QObject *parent = nullptr);

#endif // SYSTEMSOCKETCONTROL_H
