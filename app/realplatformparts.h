#ifndef REALPLATFORMPARTS_H
#define REALPLATFORMPARTS_H

#include "form1platform.h"

#include <memory>

class QWidget;

// The real platform parts of the window: the system's clipboard, message box, event pump,
// pause, serial port and sockets, made for whatever the window's caller did not hand in and
// owned here. The way to end the program is the window's own.
class RealPlatformParts
{
public:
    // Fills in the parts left empty in platform; message boxes belong to window.
    RealPlatformParts(Form1Platform &platform, QWidget *window);
    ~RealPlatformParts();

    RealPlatformParts(const RealPlatformParts &) = delete;
    RealPlatformParts &operator=(const RealPlatformParts &) = delete;

private:
    std::unique_ptr<Clipboard> m_clipboard;
    std::unique_ptr<ModalMessageBox> m_messageBox;
    std::unique_ptr<EventPump> m_eventPump;
    std::unique_ptr<Sleeper> m_sleeper;
    std::unique_ptr<CommControl> m_comPort;
    std::unique_ptr<SocketControl> m_sockInn;
    std::unique_ptr<SocketControl> m_sockUt;
};

#endif // REALPLATFORMPARTS_H
