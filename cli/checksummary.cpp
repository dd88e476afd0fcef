#include "checksummary.h"

namespace {

// The text comes partly from the printer and the system: it must stay one line, and a bar
// would start the performance data.
QString oneLine(const QString &text)
{
    QString result;
    result.reserve(text.size());
    for (const QChar c : text) {
        if (c == QLatin1Char('|'))
            result += QLatin1Char('/');
        else if (c.unicode() < 0x20 || c.unicode() == 0x7f)
            result += QLatin1Char(' ');
        else
            result += c;
    }
    return result.simplified();
}

} // namespace

QString CheckSummary::line() const
{
    QString result = checkStatusWord(status) + QStringLiteral(" - ") + oneLine(text);
    if (!perfData.isEmpty())
        result += QStringLiteral(" | ") + perfData.join(QLatin1Char(' '));
    return result;
}

QString elapsedPerfData(qint64 elapsedMs)
{
    return QStringLiteral("time=%1s;;;0").arg(double(elapsedMs) / 1000.0, 0, 'f', 3);
}
