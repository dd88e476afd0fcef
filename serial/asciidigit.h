#ifndef ASCIIDIGIT_H
#define ASCIIDIGIT_H

#include <QChar>

// 0 to 9 only: a field or a device path reads no other script's digits as a number.
inline bool isAsciiDigit(QChar c)
{
    return c >= QLatin1Char('0') && c <= QLatin1Char('9');
}

#endif // ASCIIDIGIT_H
