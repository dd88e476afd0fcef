#ifndef SERIALRANGEOPTIONS_H
#define SERIALRANGEOPTIONS_H

#include "serialsweephost.h"

#include <QCommandLineOption>
#include <QString>

class OptionReader;

// The serial options that the check and the search share, with one wording and one set of
// defaults (the window's start values) for both --help texts, read and corrected by one rule:
// the window's. A value must read as the window's field reads a number (blanks anywhere
// ignored) and fit its 16 bits, or it is refused, as the window stops at it with an overflow;
// what reads is corrected as the sweep corrects its fields (SerialRules): a pause into its range
// and a range with a port 0 or reversed ends to one port.
struct SerialRangeOptions
{
    QCommandLineOption from;
    QCommandLineOption to;
    QCommandLineOption pause;

    SerialRangeOptions();

    // Takes the values given over the fields' texts, and checks each; the first error, or empty.
    QString read(const OptionReader &reader, SerialSweepFields &fields) const;
};

// The window's start values as its fields read them.
SerialSweepFields startSerialFields();

// The range and pause that a sweep of checked fields tries, as it corrects them.
struct SerialRange
{
    qint16 from = 0;
    qint16 to = 0;
    qint16 pause = 0;
    // The range was corrected to one port.
    bool portsCorrected = false;
};
SerialRange correctedSerialRange(const SerialSweepFields &fields);

// Why a field's text is not one the window reads as a number that fits, or empty.
QString fieldNumberError(const QString &option, const QString &text);

#endif // SERIALRANGEOPTIONS_H
