#ifndef TESTWINDOW_H
#define TESTWINDOW_H

#include "fakeplatform.h"
#include "form1platform.h"

#include <memory>

class Form1;

// The window as a test builds it. The seams a test hands in are the test's and the others are
// the real ones, except two that no test may leave real: a message box is recorded instead of
// shown (a modal box would wait for a click nobody makes) and the program's end is counted
// instead of carried out (it would end the test's own process).
class TestWindow
{
public:
    // The seams to hand in, each named as it is set:
    //     TestWindow window(TestWindow::Seams().comPort(comPort).sleeper(sleeper));
    class Seams
    {
    public:
        Seams &clipboard(Clipboard &clipboard);
        Seams &eventPump(EventPump &eventPump);
        Seams &sleeper(Sleeper &sleeper);
        Seams &comPort(CommControl &comPort);
        Seams &sockets(SocketControl &sockInn, SocketControl &sockUt);

        const Form1Platform &platform() const { return m_platform; }

    private:
        Form1Platform m_platform;
    };

    explicit TestWindow(const Seams &seams = Seams());
    ~TestWindow();
    TestWindow(const TestWindow &) = delete;
    TestWindow &operator=(const TestWindow &) = delete;

    Form1 &form() const { return *m_form; }
    Form1 *operator->() const { return m_form.get(); }
    // How often the window ended the program.
    int endCalls() const { return m_endCalls; }

    // The boxes the window showed.
    RecordingMessageBox messageBox;

private:
    int m_endCalls = 0;
    // Last, so that the window goes before what it was handed.
    std::unique_ptr<Form1> m_form;
};

#endif // TESTWINDOW_H
