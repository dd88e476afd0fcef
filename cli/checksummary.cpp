#include "checksummary.h"

#include "controlcharacters.h"

#include <QRegularExpression>

namespace {

constexpr qsizetype labelDigits = 6;

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

QString elapsedPerfData(qint64 elapsedMs)
{
    return QStringLiteral("time=%1s;;;0").arg(double(elapsedMs) / 1000.0, 0, 'f', 3);
}

void applyLabelThresholds(CheckSummary &summary, const QString &labels,
                          const LabelThresholds &thresholds)
{
    if (labels.isEmpty())
        return;
    summary.perfData << QStringLiteral("labels=%1;%2;%3;0")
                            .arg(labels,
                                 thresholds.warning ? thresholds.warning->text() : QString(),
                                 thresholds.critical ? thresholds.critical->text() : QString());
    // An error or an unknown outcome stays what it is.
    if (summary.status != CheckStatus::Ok && summary.status != CheckStatus::Warning)
        return;
    const double value = labels.toDouble();
    if (thresholds.critical && thresholds.critical->alerts(value)) {
        summary.status = CheckStatus::Critical;
        summary.text +=
            QStringLiteral(", etiketter utenfor --critical ") + thresholds.critical->text();
    } else if (thresholds.warning && thresholds.warning->alerts(value)) {
        summary.status = CheckStatus::Warning;
        summary.text +=
            QStringLiteral(", etiketter utenfor --warning ") + thresholds.warning->text();
    }
}

QString labelsAfterLetter(const QString &reply, qsizetype letterIndex)
{
    const QString digits = reply.mid(letterIndex + 1, labelDigits);
    static const QRegularExpression sixDigits(QStringLiteral("^[0-9]{6}$"));
    if (!sixDigits.match(digits).hasMatch())
        return QString();
    return QString::number(digits.toInt());
}
