#include "comportnumbering.h"

ComPortNumbering systemComPortNumbering()
{
    return {{}, [](qint16 number) {
                return number < 1 ? QString() : QStringLiteral("COM") + QString::number(number);
            }};
}
