#ifndef SERIALRULES_H
#define SERIALRULES_H

#include <QStringList>
#include <QtGlobal>

// The serial fields' start values, the pause's range, the rule for a port range and the speed
// list: the window starts with these and the sweep corrects its fields by them; the command
// line's check and find take them over unchanged, so that none of them can drift.
namespace SerialRules {

// The window's start values, which are also the command line's defaults.
inline constexpr qint16 startComFra = 1;
inline constexpr qint16 startComTil = 16;
inline constexpr qint32 startSpeed = 19200;
inline constexpr qint16 startPause = 350;

// The pause field's range; a pause outside it is corrected to its nearer end.
inline constexpr qint16 shortestPause = 10;
inline constexpr qint16 longestPause = 2000;

// A range with a port 0 at either end, or its ends reversed, is taken for a typing error and
// corrected to this one port. Negative numbers pass: the control says what they name.
inline constexpr qint16 correctedPort = 1;
constexpr bool isPortRange(qint16 from, qint16 to)
{
    return from <= to && from != 0 && to != 0;
}
// What the sweep logs when it corrects a range, and find says.
inline QString portsCorrectedText()
{
    return QStringLiteral("Ugyldige verdier oppgitt. Setter comport til %1").arg(correctedPort);
}

// The speeds the serial mode offers, in the window's order: 56000 rather than 57600, and
// neither 4800 nor 115200, as the supplier's printers were set up.
inline const QStringList speeds = {
    QStringLiteral("110"),    QStringLiteral("300"),   QStringLiteral("600"),
    QStringLiteral("1200"),   QStringLiteral("2400"),  QStringLiteral("9600"),
    QStringLiteral("14400"),  QStringLiteral("19200"), QStringLiteral("28800"),
    QStringLiteral("38400"),  QStringLiteral("56000"), QStringLiteral("128000"),
    QStringLiteral("256000"),
};

} // namespace SerialRules

#endif // SERIALRULES_H
