#ifndef CHECKSUMMARY_H
#define CHECKSUMMARY_H

#include "checkstatus.h"
#include "thresholdrange.h"

#include <QString>
#include <QStringList>

#include <optional>

// What a monitoring system reads: the line "STATUS - text | perfdata", then the details, one a
// line (the plugin's long output).
struct CheckSummary
{
    CheckStatus status = CheckStatus::Unknown;
    QString text;
    // label=value[UOM];warn;crit;min;max, one entry each: measurements only.
    QStringList perfData;
    QStringList details;

    QString line() const;
    // The details, each made one line as the summary is.
    QStringList detailLines() const;
};

// The warning and critical thresholds on the labels left.
struct LabelThresholds
{
    std::optional<ThresholdRange> warning;
    std::optional<ThresholdRange> critical;
};

// The elapsed time as performance data, in seconds, with the timeout as its maximum, as
// check_tcp writes it; every number with three decimals: "time=1.262s;;;0.000;10.000".
QString elapsedPerfData(qint64 elapsedMs, int timeoutSeconds);

// The summary with the elapsed time as its first performance data.
CheckSummary timedSummary(CheckSummary summary, qint64 elapsedMs, int timeoutSeconds);

// The labels left as performance data with the thresholds (normalised), and the status they
// call for: a status no worse than WARNING becomes WARNING or CRITICAL where the labels cross
// a threshold, and the text says which; UNKNOWN where a threshold is set but the printer sent
// no count, for then it cannot be checked. labels is the count as decimal digits, empty where
// the printer sent none.
void applyLabelThresholds(CheckSummary &summary, const QString &labels,
                          const LabelThresholds &thresholds);

#endif // CHECKSUMMARY_H
