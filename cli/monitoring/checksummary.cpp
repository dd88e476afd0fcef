#include "checksummary.h"

#include "controlcharacters.h"

namespace {

// The text comes partly from the printer and the system: it must stay one line, no control
// character may reach whoever shows it, and a bar would start the performance data.
QString summaryText(const QString &text)
{
    QString result;
    result.reserve(text.size());
    for (const QChar c : text) {
        const char16_t code = c.unicode();
        if (c == QLatin1Char('|'))
            result += QLatin1Char('/');
        else if (ControlCharacters::isControl(code))
            result += QLatin1Char(' ');
        else
            result += c;
    }
    return result.simplified();
}

} // namespace

QString CheckSummary::line() const
{
    QString result = checkStatusWord(status) + QStringLiteral(" - ") + summaryText(text);
    if (!perfData.isEmpty())
        result += QStringLiteral(" | ") + perfData.join(QLatin1Char(' '));
    return result;
}

QStringList CheckSummary::detailLines() const
{
    QStringList lines;
    for (const QString &detail : details)
        lines << summaryText(detail);
    return lines;
}

QString elapsedPerfData(qint64 elapsedMs, int timeoutSeconds)
{
    return QStringLiteral("time=%1s;;;0.000;%2")
        .arg(double(elapsedMs) / 1000.0, 0, 'f', 3)
        .arg(double(timeoutSeconds), 0, 'f', 3);
}

CheckSummary timedSummary(CheckSummary summary, qint64 elapsedMs, int timeoutSeconds)
{
    summary.perfData.prepend(elapsedPerfData(elapsedMs, timeoutSeconds));
    return summary;
}

void applyLabelThresholds(CheckSummary &summary, const QString &labels,
                          const LabelThresholds &thresholds)
{
    const auto rangeText = [](const std::optional<ThresholdRange> &range) {
        return range ? range->text() : QString();
    };
    // An error or an unknown outcome stays what it is.
    const bool thresholdsDecide =
        summary.status == CheckStatus::Ok || summary.status == CheckStatus::Warning;
    if (labels.isEmpty()) {
        if (!thresholdsDecide || (!thresholds.warning && !thresholds.critical))
            return;
        QStringList unchecked;
        if (thresholds.warning)
            unchecked << QStringLiteral("--warning ") + rangeText(thresholds.warning);
        if (thresholds.critical)
            unchecked << QStringLiteral("--critical ") + rangeText(thresholds.critical);
        summary.status = CheckStatus::Unknown;
        summary.text += QStringLiteral(", svaret har ikke antall etiketter igjen (seks sifre), "
                                       "så %1 kan ikke sjekkes")
                            .arg(unchecked.join(QStringLiteral(" og ")));
        return;
    }
    summary.perfData << QStringLiteral("labels=%1;%2;%3;0")
                            .arg(labels, rangeText(thresholds.warning),
                                 rangeText(thresholds.critical));
    if (!thresholdsDecide)
        return;
    // Said so that it holds for both kinds of range: an "@" range alerts inside.
    const auto crossed = [&summary](const QString &option, const ThresholdRange &range) {
        summary.text +=
            QStringLiteral(", etiketter %1 %2 %3")
                .arg(range.alertsInside() ? QStringLiteral("innenfor") : QStringLiteral("utenfor"),
                     option, range.text());
    };
    const double value = labels.toDouble();
    if (thresholds.critical && thresholds.critical->alerts(value)) {
        summary.status = CheckStatus::Critical;
        crossed(QStringLiteral("--critical"), *thresholds.critical);
    } else if (thresholds.warning && thresholds.warning->alerts(value)) {
        summary.status = CheckStatus::Warning;
        crossed(QStringLiteral("--warning"), *thresholds.warning);
    }
}
