#include "printerstatus.h"

namespace {
// The printers count their labels left in six digits, 000000 to 999999.
constexpr qsizetype labelDigits = 6;
} // namespace

QString labelsLeftAt(const QString &text, qsizetype from)
{
    if (from < 0 || from + labelDigits > text.size())
        return QString();
    const QString digits = text.mid(from, labelDigits);
    for (const QChar c : digits) {
        if (c < QLatin1Char('0') || c > QLatin1Char('9'))
            return QString();
    }
    return QString::number(digits.toInt());
}
