#ifndef SPEEDLIST_H
#define SPEEDLIST_H

#include <QStringList>

// The speeds the serial mode offers, in the window's order: 56000 rather than 57600, and
// neither 4800 nor 115200, as the supplier's printers were set up.
inline const QStringList serialSpeedList = {
    QStringLiteral("110"),    QStringLiteral("300"),   QStringLiteral("600"),
    QStringLiteral("1200"),   QStringLiteral("2400"),  QStringLiteral("9600"),
    QStringLiteral("14400"),  QStringLiteral("19200"), QStringLiteral("28800"),
    QStringLiteral("38400"),  QStringLiteral("56000"), QStringLiteral("128000"),
    QStringLiteral("256000"),
};

#endif // SPEEDLIST_H
