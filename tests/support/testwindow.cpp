#include "testwindow.h"

#include "form1.h"

TestWindow::Seams &TestWindow::Seams::clipboard(Clipboard &clipboard)
{
    m_platform.clipboard = &clipboard;
    return *this;
}

TestWindow::Seams &TestWindow::Seams::eventPump(EventPump &eventPump)
{
    m_platform.eventPump = &eventPump;
    return *this;
}

TestWindow::Seams &TestWindow::Seams::sleeper(Sleeper &sleeper)
{
    m_platform.sleeper = &sleeper;
    return *this;
}

TestWindow::Seams &TestWindow::Seams::comPort(CommControl &comPort)
{
    m_platform.comPort = &comPort;
    return *this;
}

TestWindow::Seams &TestWindow::Seams::sockets(SocketControl &sockInn, SocketControl &sockUt)
{
    m_platform.sockInn = &sockInn;
    m_platform.sockUt = &sockUt;
    return *this;
}

TestWindow::TestWindow(const Seams &seams)
{
    Form1Platform platform = seams.platform();
    platform.messageBox = &messageBox;
    platform.endProgram = [this] { ++m_endCalls; };
    m_form = std::make_unique<Form1>(platform);
}

TestWindow::~TestWindow() = default;
