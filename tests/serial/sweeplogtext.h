#ifndef SWEEPLOGTEXT_H
#define SWEEPLOGTEXT_H

#include <QString>

// The lines a serial sweep is expected to log, CR LF included, for comparing whole logs.
namespace SweepLogText {

inline QString line(const QString &text)
{
    return text + QStringLiteral("\r\n");
}

inline QString rangeLine(int from, int to)
{
    return line(QString::number(from) + QStringLiteral("  ") + QString::number(to));
}

inline QString portLine(int port, const QString &speed)
{
    return line(QStringLiteral("Prøver com") + QString::number(port) + QStringLiteral(" ( ") +
                speed + QStringLiteral(" )"));
}

inline QString knownError(const char *name)
{
    return line(QStringLiteral("  ") + QLatin1String(name) + QLatin1Char('.'));
}

// An other-error line carries a line end of its own: an empty line follows it.
inline QString otherError(int number, const QString &description)
{
    return line(QStringLiteral("  Annen Feil: ") + QString::number(number) + QLatin1Char('-') +
                description + QStringLiteral("\r\n"));
}

// The reply and status lines, and the bytes line for a reply that is not empty.
inline QString replyLines(const QString &data, const QString &status)
{
    QString lines =
        line(QStringLiteral("  Data fra printer =  -->") + data + QStringLiteral("<--")) +
        line(QStringLiteral("  ") + status);
    if (!data.isEmpty()) {
        QString codes;
        for (const QChar c : data)
            codes += QString::number(c.unicode()) + QLatin1Char(' ');
        lines += line(QStringLiteral("     bytes: -->") + codes + QStringLiteral("<--"));
    }
    return lines;
}

inline QString silentLines()
{
    return replyLines(QString(), QStringLiteral("- Skriveren svarer ikke -"));
}

} // namespace SweepLogText

#endif // SWEEPLOGTEXT_H
