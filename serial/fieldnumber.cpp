#include "fieldnumber.h"

#include "asciidigit.h"

#include <limits>

namespace {

bool isSkipped(QChar c)
{
    return c == QLatin1Char(' ') || c == QLatin1Char('\t') || c == QLatin1Char('\n');
}

// A number as typed: its sign, the digits before the point (leading zeros dropped) and those
// after it. Kept as digits so that rounding sees exactly what was typed.
struct TypedNumber
{
    bool negative = false;
    bool hasDigits = false;
    QString whole;
    QString fraction;
};

TypedNumber scan(const QString &text)
{
    TypedNumber number;
    bool signSeen = false;
    bool pointSeen = false;
    for (const QChar c : text) {
        if (isSkipped(c))
            continue;
        if (!signSeen && !number.hasDigits && !pointSeen &&
            (c == QLatin1Char('-') || c == QLatin1Char('+'))) {
            signSeen = true;
            number.negative = c == QLatin1Char('-');
        } else if (isAsciiDigit(c)) {
            number.hasDigits = true;
            if (pointSeen)
                number.fraction.append(c);
            else if (!number.whole.isEmpty() || c != QLatin1Char('0'))
                number.whole.append(c);
        } else if (c == QLatin1Char('.') && !pointSeen) {
            pointSeen = true;
        } else {
            break;
        }
    }
    return number;
}

// Whether the fraction rounds the whole part away from zero: above one half always, exactly
// one half only towards an even result.
bool roundsUp(const QString &fraction, qint64 whole)
{
    if (fraction.isEmpty() || fraction.at(0) < QLatin1Char('5'))
        return false;
    if (fraction.at(0) > QLatin1Char('5'))
        return true;
    for (qsizetype i = 1; i < fraction.size(); ++i) {
        if (fraction.at(i) != QLatin1Char('0'))
            return true;
    }
    return whole % 2 != 0;
}

} // namespace

RuntimeError overflowError()
{
    return RuntimeError{RuntimeErrors::Overflow, QStringLiteral("Overflow")};
}

qint16 readFieldNumber(const QString &text)
{
    const TypedNumber number = scan(text);

    // Six digits are beyond any 16-bit value whatever the fraction; the check also keeps the
    // arithmetic below far from its own limits.
    constexpr qsizetype mostDigits = 5;
    if (number.whole.size() > mostDigits)
        throw overflowError();

    qint64 magnitude = number.whole.isEmpty() ? 0 : number.whole.toLongLong();
    if (roundsUp(number.fraction, magnitude))
        ++magnitude;
    const qint64 value = number.negative ? -magnitude : magnitude;
    if (value < std::numeric_limits<qint16>::min() || value > std::numeric_limits<qint16>::max())
        throw overflowError();
    return static_cast<qint16>(value);
}

bool beginsWithFieldNumber(const QString &text)
{
    return scan(text).hasDigits;
}
