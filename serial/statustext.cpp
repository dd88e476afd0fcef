#include "statustext.h"

#include <QHash>

namespace {

// Characters up to and including the blank carry no status: the frame's STX and ETX, line ends
// and padding all sit among them.
constexpr char16_t highestSkipped = 32;

const QHash<QString, QString> &statusTexts()
{
    static const QHash<QString, QString> texts = {
        {QStringLiteral("0"), QStringLiteral("Off Line - Sjekk printer")},
        {QStringLiteral("1"), QStringLiteral("Off Line - Fargebånd nesten tomt")},
        {QStringLiteral("2"), QStringLiteral("Off Line - Buffer nesten fullt")},
        {QStringLiteral("3"),
         QStringLiteral("Off Line - Fargebånd nesten tomt og buffer er nesten fullt")},
        {QStringLiteral("A"), QStringLiteral("- Skriver OK -")},
        {QStringLiteral("B"), QStringLiteral("Farge bånd nesten tomt")},
        {QStringLiteral("C"), QStringLiteral("Buffer nesten fullt")},
        {QStringLiteral("D"), QStringLiteral("Fargebånd nesten tomt og buffer nesten fullt")},
        // The printer is busy with a label or a job but has nothing to report: it is fine.
        {QStringLiteral("G"), QStringLiteral("Skriver ut etikett - Skriver OK -")},
        {QStringLiteral("H"), QStringLiteral("Fargebånd nesten tomt")},
        {QStringLiteral("I"), QStringLiteral("Buffer nesten fullt")},
        {QStringLiteral("J"), QStringLiteral("Fargebånd nesten tomt og buffer nesten fullt")},
        {QStringLiteral("M"), QStringLiteral("Etikett klar - Skriver OK -")},
        {QStringLiteral("N"), QStringLiteral("Fargebånd nesten tomt")},
        {QStringLiteral("O"), QStringLiteral("Buffer nesten fullt")},
        {QStringLiteral("P"), QStringLiteral("Fargebånd nesten tomt og buffer nesten fullt")},
        {QStringLiteral("S"), QStringLiteral("On-line, compilinge print job - Skriver OK -")},
        {QStringLiteral("T"),
         QStringLiteral("On-line, compilinge print job - Fargebånd nesten tomt -")},
        {QStringLiteral("U"),
         QStringLiteral("On-line, compilinge print job - Buffer nesten fullt -")},
        {QStringLiteral("V"),
         QStringLiteral("On-line, compilinge print job - Fargebånd nesten tomt "
                        "og buffer nesten fullt -")},
        {QStringLiteral("a"), QStringLiteral("Off-line, error condition - Mottaksbuffer fullt -")},
        {QStringLiteral("b"), QStringLiteral("Off-line, error condition - Skrivehodet åpent -")},
        {QStringLiteral("c"), QStringLiteral("Off-line, error condition - Tomt for etiketter -")},
        {QStringLiteral("d"), QStringLiteral("Off-line, error condition - Tomt for fargebånd -")},
        {QStringLiteral("e"), QStringLiteral("Off-line, error condition - Etikettfeil -")},
        {QStringLiteral("f"), QStringLiteral("Off-line, error condition - Feil på sensor -")},
        {QStringLiteral("g"), QStringLiteral("Off-line, error condition - Feil på skrivehodet -")},
        {QStringLiteral("h"), QStringLiteral("Off-line, error condition - Deksel åpent -")},
        {QStringLiteral("i"), QStringLiteral("Off-line, error condition - Feil på minnekort -")},
        {QStringLiteral("j"), QStringLiteral("Off-line, error condition - Feil på kutter -")},
        {QStringLiteral("k"),
         QStringLiteral("Off-line, error condition - Annen feil (Could be framing error) -")},
    };
    return texts;
}

} // namespace

QString StatusLetter(const QString &text)
{
    for (qsizetype i = 0; i < text.size(); ++i) {
        const QChar c = text.at(i);
        if (c.unicode() <= highestSkipped)
            continue;
        if (c.isHighSurrogate() && i + 1 < text.size() && text.at(i + 1).isLowSurrogate())
            return text.mid(i, 2);
        return QString(c);
    }
    return {};
}

QString GetStatustext(QString strDataIn)
{
    const QString letter = StatusLetter(strDataIn);
    if (letter.isEmpty())
        return QStringLiteral("- Skriveren svarer ikke -");

    const auto known = statusTexts().constFind(letter);
    if (known != statusTexts().constEnd())
        return known.value();
    return QStringLiteral("- UKJENT KODE : ") + letter + QStringLiteral("  KODE INN= ") + strDataIn;
}

bool hasKnownStatus(const QString &strDataIn)
{
    return statusTexts().contains(StatusLetter(strDataIn));
}
