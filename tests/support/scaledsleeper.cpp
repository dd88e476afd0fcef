#include "scaledsleeper.h"

#include <QThread>

ScaledSleeper::ScaledSleeper(int divisor)
{
    setDivisor(divisor);
}

void ScaledSleeper::setDivisor(int divisor)
{
    m_divisor = divisor > 0 ? divisor : 1;
}

void ScaledSleeper::sleepMs(qint32 milliseconds)
{
    pauses.append(milliseconds);
    if (onSleep)
        onSleep(static_cast<int>(pauses.size()));
    if (milliseconds > 0)
        QThread::msleep(static_cast<unsigned long>(milliseconds / m_divisor));
}
