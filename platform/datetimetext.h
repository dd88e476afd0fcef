#ifndef DATETIMETEXT_H
#define DATETIMETEXT_H

#include <QDateTime>
#include <QLocale>
#include <QString>

// The date and time of the START and SLUTT lines: the locale's short date, one blank, and the
// locale's time of day with seconds (its long time format without the time zone).
QString dateTimeText(const QDateTime &when, const QLocale &locale);
QString currentDateTimeText();

// The locale's long time format with every time-zone field taken out.
QString timeOfDayFormat(const QLocale &locale);

#endif // DATETIMETEXT_H
