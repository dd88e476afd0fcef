#include "signednumbertext.h"

QString signedNumberText(qint32 number)
{
    if (number < 0)
        return QString::number(number);
    return QLatin1Char(' ') + QString::number(number);
}
