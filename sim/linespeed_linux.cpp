#include "linespeed.h"

// The kernel's own termios2, which the C library's <termios.h> would clash with: this file
// includes nothing of the C library's terminal headers.
#include <asm/ioctls.h>
#include <asm/termbits.h>

extern "C" int ioctl(int fd, unsigned long request, ...) noexcept;

std::optional<qint32> lineSpeedOf(int fd)
{
    termios2 settings{};
    if (ioctl(fd, TCGETS2, &settings) != 0 || settings.c_ospeed == 0)
        return std::nullopt;
    return qint32(settings.c_ospeed);
}
