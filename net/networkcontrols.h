#ifndef NETWORKCONTROLS_H
#define NETWORKCONTROLS_H

class EventPump;
class ModalMessageBox;
class Sleeper;
class SocketControl;

// What the network side uses of the platform; the front-end owns all of it.
struct NetworkPlatform
{
    SocketControl *sockInn = nullptr; // printer port 1025, status in
    SocketControl *sockUt = nullptr;  // printer port 1024
    ModalMessageBox *messageBox = nullptr;
    EventPump *eventPump = nullptr;
    Sleeper *sleeper = nullptr;
};

#endif // NETWORKCONTROLS_H
