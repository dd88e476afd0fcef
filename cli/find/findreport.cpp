#include "findreport.h"

#include "onrequestenquiry.h"

#include <QStringList>

namespace {

QString printers(qsizetype number)
{
    return FindReport::counted(number, QStringLiteral("skriver"), QStringLiteral("skrivere"));
}

QString addresses(qsizetype number)
{
    return FindReport::counted(number, QStringLiteral("adresse"), QStringLiteral("adresser"));
}

QString ports(qsizetype number)
{
    return FindReport::counted(number, QStringLiteral("port"), QStringLiteral("porter"));
}

QString place(const FoundPlace &found)
{
    if (found.speed == 0)
        return found.where;
    return found.where + QStringLiteral(" (%1)").arg(found.speed);
}

QString secondsText(qint64 ms)
{
    return QString::number(double(ms) / 1000, 'f', 2) + QStringLiteral(" s");
}

QString csvField(QString text, QChar separator)
{
    const bool special = text.contains(separator) || text.contains(QLatin1Char('"')) ||
                         text.contains(QLatin1Char('\r')) || text.contains(QLatin1Char('\n'));
    if (!special)
        return text;
    return QLatin1Char('"') + text.replace(QLatin1Char('"'), QStringLiteral("\"\"")) +
           QLatin1Char('"');
}

QString csvLine(const FoundPlace &found, const QString &kind, const QString &text, QChar separator)
{
    const QStringList fields{found.where,
                             found.speed == 0 ? QString() : QString::number(found.speed),
                             kind,
                             found.letter,
                             text,
                             found.labels,
                             QString::number(found.elapsedMs)};
    QStringList quoted;
    for (const QString &field : fields)
        quoted << csvField(field, separator);
    return quoted.join(separator) + QLatin1Char('\n');
}

} // namespace

QString FindReport::terminal(const FindResults &results, bool serial)
{
    QString text;
    if (!results.printers.isEmpty())
        text += QStringLiteral("Skrivere som svarte:\n");
    for (const FoundPlace &found : results.printers) {
        text += QStringLiteral("  ") + place(found) + QStringLiteral("  status ") + found.letter +
                QStringLiteral(": ") + found.text;
        if (!found.labels.isEmpty())
            text += QStringLiteral(", ") + found.labels + QStringLiteral(" etiketter igjen");
        text += QStringLiteral(" (") + secondsText(found.elapsedMs) + QStringLiteral(")\n");
        if (found.onRequest)
            text += QStringLiteral("    ") + OnRequestEnquiry::note() + QLatin1Char('\n');
    }
    if (!results.others.isEmpty())
        text += QStringLiteral("Annet som svarte, uten status:\n");
    for (const FoundPlace &found : results.others)
        text += QStringLiteral("  ") + place(found) + QStringLiteral("  ") + found.seen + '\n';
    if (!results.candidates.isEmpty())
        text += QStringLiteral("Stille, men med port 1025 og 1024 åpne (prøv en lengre "
                               "--timeout):\n");
    for (const FoundPlace &found : results.candidates)
        text += QStringLiteral("  ") + place(found) + QStringLiteral("  ") + found.seen + '\n';
    if (!results.unusable.isEmpty())
        text += QStringLiteral("Porter som ikke kunne prøves:\n");
    for (const FoundPlace &found : results.unusable)
        text += QStringLiteral("  ") + found.seen + QLatin1Char('\n');
    if (serial) {
        text += QStringLiteral("%1, %2 forsøk: %3, %4 annet, %5 uten svar")
                    .arg(ports(results.printers.size() + results.others.size() + results.silent +
                               results.unusable.size()))
                    .arg(results.tried)
                    .arg(printers(results.printers.size()))
                    .arg(results.others.size())
                    .arg(ports(results.silent));
        if (!results.unusable.isEmpty())
            text += QStringLiteral(", %1 kunne ikke prøves").arg(results.unusable.size());
        text += QLatin1Char('\n');
    } else {
        text +=
            QStringLiteral("%1 prøvd: %2, %3 annet, %4 uten svar%5, %6 avvist\n")
                .arg(addresses(results.tried))
                .arg(printers(results.printers.size()))
                .arg(results.others.size())
                .arg(results.silent)
                .arg(results.silentOpen == 0 ? QString()
                                             : QStringLiteral(" (%1 med port 1025 og 1024 åpne)")
                                                   .arg(results.silentOpen))
                .arg(results.refused);
        if (results.unreachable > 0)
            text.insert(text.size() - 1, QStringLiteral(", %1 kan ikke nås (%2)")
                                             .arg(results.unreachable)
                                             .arg(results.unreachableReason));
    }
    if (results.interruptedBy != 0)
        text += interrupted(results, serial) + QLatin1Char('\n');
    return text;
}

QString FindReport::csv(const FindResults &results, QChar separator)
{
    QString text = QStringList{QStringLiteral("sted"),  QStringLiteral("hastighet"),
                               QStringLiteral("funn"),  QStringLiteral("status"),
                               QStringLiteral("tekst"), QStringLiteral("etiketter"),
                               QStringLiteral("tid_ms")}
                       .join(separator) +
                   QLatin1Char('\n');
    for (const FoundPlace &found : results.printers)
        text += csvLine(found, QStringLiteral("skriver"), found.text, separator);
    for (const FoundPlace &found : results.others)
        text += csvLine(found, QStringLiteral("annet"), found.seen, separator);
    for (const FoundPlace &found : results.candidates)
        text += csvLine(found, QStringLiteral("stille"), found.seen, separator);
    for (const FoundPlace &found : results.unusable)
        text += csvLine(found, QStringLiteral("ikke prøvd"), found.seen, separator);
    return text;
}

QString FindReport::icinga2(const FindResults &results)
{
    QString text = QStringLiteral("/* Etikettskrivere funnet av solvarn-sjekk find: %1 */\n")
                       .arg(results.printers.size());
    for (const FoundPlace &found : results.printers) {
        QString name = found.where;
        name.replace(QLatin1Char('.'), QLatin1Char('-'));
        text += QStringLiteral("object Host \"etikettskriver-%1\" {\n"
                               "  address = \"%2\"\n"
                               "  check_command = \"hostalive\"\n"
                               "  vars.solvarn_printer = \"network\"\n"
                               "}\n")
                    .arg(name, found.where);
    }
    return text;
}

QString FindReport::interrupted(const FindResults &results, bool serial)
{
    return QStringLiteral("Avbrutt (signal %1) etter %2 av %3")
        .arg(results.interruptedBy)
        .arg(results.tried)
        .arg(serial ? QStringLiteral("%1 forsøk").arg(results.total) : addresses(results.total));
}

QString FindReport::progress(const FindResults &results, int total, bool serial)
{
    return QStringLiteral("%1 av %2 prøvd, %3 funnet")
        .arg(results.tried)
        .arg(serial ? QStringLiteral("%1 forsøk").arg(total) : addresses(total))
        .arg(printers(results.printers.size()));
}

QString FindReport::counted(qsizetype number, const QString &one, const QString &many)
{
    return QString::number(number) + QLatin1Char(' ') + (number == 1 ? one : many);
}
