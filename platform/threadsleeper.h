#ifndef THREADSLEEPER_H
#define THREADSLEEPER_H

#include "sleeper.h"

// The real pause: a plain sleep of the calling thread, no event processing.
class ThreadSleeper : public Sleeper
{
public:
    void sleepMs(qint32 milliseconds) override;
};

#endif // THREADSLEEPER_H
