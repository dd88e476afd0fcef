#include "threadsleeper.h"

#include <QThread>

void ThreadSleeper::sleepMs(qint32 milliseconds)
{
    if (milliseconds > 0)
        QThread::msleep(static_cast<unsigned long>(milliseconds));
}
