#ifndef SCALEDSLEEPER_H
#define SCALEDSLEEPER_H

#include "sleeper.h"

#include <QList>

#include <functional>

// Records every pause at its full length, then really sleeps a fraction of it, so that a test
// against real sockets keeps the order of things in time without taking the full time. The
// hook runs first, with the pause's index counted from 1; it must not let window events run.
class ScaledSleeper : public Sleeper
{
public:
    explicit ScaledSleeper(int divisor);

    void sleepMs(qint32 milliseconds) override;
    // From the next pause on.
    void setDivisor(int divisor);

    QList<qint32> pauses;
    std::function<void(int pauseIndex)> onSleep;

private:
    int m_divisor = 1;
};

#endif // SCALEDSLEEPER_H
