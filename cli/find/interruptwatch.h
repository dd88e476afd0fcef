#ifndef INTERRUPTWATCH_H
#define INTERRUPTWATCH_H

#include <csignal>

// While it lives, SIGINT (Ctrl+C) and SIGTERM only note that the program is asked to end, so
// that a long search can stop at its next step and still write what it found. A SIGINT that
// was ignored when the program started (a background job of a shell) stays ignored.
class InterruptWatch
{
public:
    InterruptWatch();
    ~InterruptWatch();
    InterruptWatch(const InterruptWatch &) = delete;
    InterruptWatch &operator=(const InterruptWatch &) = delete;

    // The signal that came, or 0.
    static int caught();
    // The exit status of a program ended by it: 128 + its number.
    static int exitStatus(int signal);

private:
    using Handler = void (*)(int);
    Handler m_oldInterrupt = SIG_DFL;
    Handler m_oldTerminate = SIG_DFL;
};

#endif // INTERRUPTWATCH_H
