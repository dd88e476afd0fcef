#ifndef SLEEPER_H
#define SLEEPER_H

#include <QtGlobal>

// Suspends the calling thread. Implementations must not let window events run meanwhile:
// both tests rely on nothing happening under them while they pause.
class Sleeper
{
public:
    virtual ~Sleeper() = default;
    virtual void sleepMs(qint32 milliseconds) = 0;
};

#endif // SLEEPER_H
