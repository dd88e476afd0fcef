#include "serialrangeoptions.h"

#include "fieldnumber.h"
#include "optionreader.h"
#include "runtimeerror.h"
#include "serialrules.h"

#include <algorithm>
#include <limits>
#include <utility>

SerialRangeOptions::SerialRangeOptions()
    : from(QStringLiteral("from"),
           QStringLiteral("serial: first COM port (default %1).").arg(SerialRules::startComFra),
           QStringLiteral("N"))
    , to(QStringLiteral("to"),
         QStringLiteral("serial: last COM port (default %1).").arg(SerialRules::startComTil),
         QStringLiteral("N"))
    , pause(QStringLiteral("pause"),
            QStringLiteral("serial: pause before the reply is read, %1 to %2 (default %3).")
                .arg(SerialRules::shortestPause)
                .arg(SerialRules::longestPause)
                .arg(SerialRules::startPause),
            QStringLiteral("MS"))
{
}

QString SerialRangeOptions::read(const OptionReader &reader, SerialSweepFields &fields) const
{
    for (const auto &[option, text] :
         {std::pair{&from, &fields.comFra}, std::pair{&to, &fields.comTil},
          std::pair{&pause, &fields.pause}}) {
        if (reader.given(*option))
            *text = reader.value(*option);
    }
    for (const auto &[option, text] :
         {std::pair{&from, fields.comFra}, std::pair{&to, fields.comTil},
          std::pair{&pause, fields.pause}}) {
        const QString error = fieldNumberError(option->names().constFirst(), text);
        if (!error.isEmpty())
            return error;
    }
    return QString();
}

SerialSweepFields startSerialFields()
{
    return {QString::number(SerialRules::startComFra), QString::number(SerialRules::startComTil),
            QString::number(SerialRules::startSpeed), QString::number(SerialRules::startPause)};
}

SerialRange correctedSerialRange(const SerialSweepFields &fields)
{
    SerialRange range;
    range.from = readFieldNumber(fields.comFra);
    range.to = readFieldNumber(fields.comTil);
    range.pause = std::clamp(readFieldNumber(fields.pause), SerialRules::shortestPause,
                             SerialRules::longestPause);
    if (!SerialRules::isPortRange(range.from, range.to)) {
        range.from = range.to = SerialRules::correctedPort;
        range.portsCorrected = true;
    }
    return range;
}

QString fieldNumberError(const QString &option, const QString &text)
{
    // A field text the window reads as a number rather than as 0 for want of one.
    if (!beginsWithFieldNumber(text))
        return QStringLiteral("--%1 needs a number, not \"%2\"").arg(option, text);
    try {
        readFieldNumber(text);
    } catch (const RuntimeError &) {
        return QStringLiteral("--%1 is out of range (%2 to %3): \"%4\"")
            .arg(option)
            .arg(std::numeric_limits<qint16>::min())
            .arg(std::numeric_limits<qint16>::max())
            .arg(text);
    }
    return QString();
}
