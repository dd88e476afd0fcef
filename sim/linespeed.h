#ifndef LINESPEED_H
#define LINESPEED_H

#include <QtGlobal>

#include <optional>

// The speed in baud a program has set on a terminal, whatever it is: Linux keeps any speed set
// through termios2 (as Qt sets 14400, 28800, 56000, 128000 and 256000), which the classic
// speed codes cannot name. Nothing where the system cannot tell; the caller then reads the
// classic codes.
std::optional<qint32> lineSpeedOf(int fd);

#endif // LINESPEED_H
