#include "thresholdrange.h"

#include <QRegularExpression>

namespace {

std::optional<double> number(const QString &text)
{
    static const QRegularExpression decimal(
        QStringLiteral("^[+-]?(?:[0-9]+(?:\\.[0-9]*)?|\\.[0-9]+)$"));
    if (!decimal.match(text).hasMatch())
        return std::nullopt;
    return text.toDouble();
}

} // namespace

std::optional<ThresholdRange> ThresholdRange::parse(const QString &text)
{
    ThresholdRange range;
    range.m_text = text;
    QString rest = text;
    if (rest.startsWith(QLatin1Char('@'))) {
        range.m_alertInside = true;
        rest.remove(0, 1);
    }
    const qsizetype colon = rest.indexOf(QLatin1Char(':'));
    if (colon < 0) {
        // "N" alone is 0 to N.
        range.m_start = 0.0;
        range.m_end = number(rest);
        if (!range.m_end)
            return std::nullopt;
    } else {
        const QString start = rest.left(colon);
        const QString end = rest.mid(colon + 1);
        if (start != QLatin1String("~")) {
            range.m_start = number(start);
            if (!range.m_start)
                return std::nullopt;
        }
        if (!end.isEmpty()) {
            range.m_end = number(end);
            if (!range.m_end)
                return std::nullopt;
        }
    }
    if (range.m_start && range.m_end && *range.m_start > *range.m_end)
        return std::nullopt;
    return range;
}

bool ThresholdRange::alerts(double value) const
{
    const bool inside = (!m_start || value >= *m_start) && (!m_end || value <= *m_end);
    return m_alertInside ? inside : !inside;
}
