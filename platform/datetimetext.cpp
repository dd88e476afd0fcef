#include "datetimetext.h"

QString timeOfDayFormat(const QLocale &locale)
{
    const QString format = locale.timeFormat(QLocale::LongFormat);
    QString result;
    bool quoted = false;
    for (const QChar c : format) {
        if (c == QLatin1Char('\''))
            quoted = !quoted;
        if (!quoted && c == QLatin1Char('t'))
            continue;
        result.append(c);
    }
    // A zone field usually stands apart ("HH:mm:ss t", "t HH:mm:ss"): drop what held it.
    result = result.trimmed();
    while (result.contains(QLatin1String("  ")))
        result.replace(QLatin1String("  "), QLatin1String(" "));
    if (!result.contains(QLatin1Char('s')))
        result = QStringLiteral("HH:mm:ss");
    return result;
}

QString dateTimeText(const QDateTime &when, const QLocale &locale)
{
    return locale.toString(when.date(), QLocale::ShortFormat) + QLatin1Char(' ') +
           locale.toString(when.time(), timeOfDayFormat(locale));
}

QString currentDateTimeText()
{
    return dateTimeText(QDateTime::currentDateTime(), QLocale::system());
}
