#ifndef PAUSEMS_H
#define PAUSEMS_H

#include <QtGlobal>

class Sleeper;

// Sleeps waitms milliseconds and lets no window events run meanwhile.
void pausems(Sleeper &sleeper, qint32 waitms);

#endif // PAUSEMS_H
