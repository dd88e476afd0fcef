#include "pausems.h"

#include "sleeper.h"

void pausems(Sleeper &sleeper, qint32 waitms)
{
    sleeper.sleepMs(waitms);
}
