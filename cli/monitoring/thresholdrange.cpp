#include "thresholdrange.h"

#include <QLocale>
#include <QRegularExpression>

#include <cmath>

namespace {

enum class NumberOutcome { Number, NotANumber, Unreadable };

// A decimal number as the plugins' C library reads it (sign, point, exponent), blanks around
// it ignored; "nan", "inf" and hexadecimal are not thresholds. Unreadable: a number that a
// double does not hold at full precision (beyond its range, or so small that it would read
// back as 0 or lose digits), which a monitoring engine would read as another number or drop.
NumberOutcome readNumber(const QString &text, double &value)
{
    static const QRegularExpression decimal(
        QStringLiteral("^[+-]?(?:[0-9]+(?:\\.[0-9]*)?|\\.[0-9]+)(?:[eE][+-]?[0-9]+)?$"));
    const QString number = text.trimmed();
    if (!decimal.match(number).hasMatch())
        return NumberOutcome::NotANumber;
    bool ok = false;
    value = number.toDouble(&ok);
    if (!ok || !std::isfinite(value))
        return NumberOutcome::Unreadable;
    if (value == 0.0) {
        // Digits that are not all zero read as 0 only where they are too small for a double.
        static const QRegularExpression nonZeroDigit(QStringLiteral("^[^eE]*[1-9]"));
        value = 0.0; // no "-0" in what is written back
        return nonZeroDigit.match(number).hasMatch() ? NumberOutcome::Unreadable
                                                     : NumberOutcome::Number;
    }
    return std::fpclassify(value) == FP_NORMAL ? NumberOutcome::Number : NumberOutcome::Unreadable;
}

QString decimalText(double value)
{
    return QString::number(value, 'f', QLocale::FloatingPointShortest);
}

} // namespace

std::optional<ThresholdRange> ThresholdRange::parse(const QString &text, QString *error)
{
    const auto refuse = [error](const QString &why) -> std::optional<ThresholdRange> {
        if (error)
            *error = why;
        return std::nullopt;
    };
    const auto unreadable = [&refuse](const QString &number) {
        return refuse(QStringLiteral("%1 is beyond the numbers a double holds as written")
                          .arg(number.trimmed()));
    };

    ThresholdRange range;
    QString rest = text.trimmed();
    if (rest.startsWith(QLatin1Char('@'))) {
        range.m_alertInside = true;
        rest.remove(0, 1);
    }
    const qsizetype colon = rest.indexOf(QLatin1Char(':'));
    const QString start = colon < 0 ? QString() : rest.left(colon).trimmed();
    const QString end = colon < 0 ? rest.trimmed() : rest.mid(colon + 1).trimmed();
    // A range says at least one bound; "~" stands for no lower end, and only there.
    if (start.isEmpty() && end.isEmpty())
        return refuse(QString());
    if (colon >= 0 && start != QLatin1String("~")) {
        double value = 0.0;
        if (!start.isEmpty()) {
            const NumberOutcome outcome = readNumber(start, value);
            if (outcome == NumberOutcome::NotANumber)
                return refuse(QString());
            if (outcome == NumberOutcome::Unreadable)
                return unreadable(start);
        }
        range.m_start = value;
    } else if (colon < 0) {
        // "N" alone is 0 to N.
        range.m_start = 0.0;
    }
    if (!end.isEmpty() || colon < 0) {
        double value = 0.0;
        const NumberOutcome outcome = readNumber(end, value);
        if (outcome == NumberOutcome::NotANumber)
            return refuse(QString());
        if (outcome == NumberOutcome::Unreadable)
            return unreadable(end);
        range.m_end = value;
    }
    if (range.m_start && range.m_end && *range.m_start > *range.m_end)
        return refuse(QStringLiteral("its start lies past its end"));
    return range;
}

bool ThresholdRange::alerts(double value) const
{
    const bool inside = (!m_start || value >= *m_start) && (!m_end || value <= *m_end);
    return m_alertInside ? inside : !inside;
}

QString ThresholdRange::text() const
{
    QString result = m_alertInside ? QStringLiteral("@") : QString();
    if (!m_start)
        result += QStringLiteral("~:");
    else if (*m_start != 0.0 || !m_end)
        result += decimalText(*m_start) + QLatin1Char(':');
    if (m_end)
        result += decimalText(*m_end);
    return result;
}
