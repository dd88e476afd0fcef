#ifndef FORM1PLATFORM_H
#define FORM1PLATFORM_H

#include "comportnumbering.h"

#include <functional>

class Clipboard;
class CommControl;
class EventPump;
class ModalMessageBox;
class Sleeper;
class SocketControl;

// What the window uses of the platform. Anything left empty is the real thing, owned by the
// window (realplatformparts.h); tests hand in fakes, which the window does not own.
struct Form1Platform
{
    Clipboard *clipboard = nullptr;
    ModalMessageBox *messageBox = nullptr;
    EventPump *eventPump = nullptr;
    Sleeper *sleeper = nullptr;
    CommControl *comPort = nullptr;
    // The device behind a COM number of comPort, where the window can tell; empty otherwise.
    ComPortResolver comPortDevice;
    SocketControl *sockInn = nullptr;
    SocketControl *sockUt = nullptr;
    // Ends the program at once, whatever runs; by default closes the ports and quits.
    std::function<void()> endProgram;
};

#endif // FORM1PLATFORM_H
