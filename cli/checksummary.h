#ifndef CHECKSUMMARY_H
#define CHECKSUMMARY_H

#include "checkstatus.h"

#include <QString>
#include <QStringList>

// The one line a monitoring system reads: "STATUS - text | perfdata".
struct CheckSummary
{
    CheckStatus status = CheckStatus::Unknown;
    QString text;
    // label=value[UOM];warn;crit;min;max, one entry each.
    QStringList perfData;

    QString line() const;
};

// The elapsed time as performance data, in seconds.
QString elapsedPerfData(qint64 elapsedMs);

#endif // CHECKSUMMARY_H
