#include "statustext.h"

#include <QHash>

#include <utility>

namespace {

// Characters up to and including the blank carry no status: the frame's STX and ETX, line ends
// and padding all sit among them.
constexpr char16_t highestSkipped = 32;
constexpr QChar frameStart{0x02};
constexpr QChar frameEnd{0x03};

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

// Where the status letter stands in a reply (the first character above the blank), and how
// many UTF-16 units it takes: two for a character beyond the 16-bit range, kept whole.
std::pair<qsizetype, qsizetype> letterAt(const QString &reply)
{
    for (qsizetype i = 0; i < reply.size(); ++i) {
        const QChar c = reply.at(i);
        if (c.unicode() <= highestSkipped)
            continue;
        if (c.isHighSurrogate() && i + 1 < reply.size() && reply.at(i + 1).isLowSurrogate())
            return {i, 2};
        return {i, 1};
    }
    return {-1, 0};
}

// Whether the letter at `at` stands in the reply's first frame: its first STX before the
// letter, and the first ETX after that STX after the letter.
bool inFrame(const QString &reply, qsizetype at)
{
    const qsizetype start = reply.indexOf(frameStart);
    if (start < 0 || start > at)
        return false;
    return reply.indexOf(frameEnd, start + 1) > at;
}

// The one text for a status; `quoted` stands after "KODE INN=" where the letter is unknown.
QString statusText(const PrinterStatus &status, const QString &quoted)
{
    if (!status.hasLetter())
        return QStringLiteral("- Skriveren svarer ikke -");
    if (status.known)
        return status.message;
    return QStringLiteral("- UKJENT KODE : ") + status.letter + QStringLiteral("  KODE INN= ") +
           quoted;
}

} // namespace

PrinterStatus readSerialStatus(const QString &reply)
{
    PrinterStatus status;
    status.raw = reply;
    const auto [at, length] = letterAt(reply);
    if (at < 0)
        return status;
    status.letter = reply.mid(at, length);
    const auto known = statusTexts().constFind(status.letter);
    status.known = known != statusTexts().constEnd();
    if (status.known)
        status.message = known.value();
    status.labels = labelsLeftAt(reply, at + length);
    status.framed = inFrame(reply, at);
    return status;
}

QString serialStatusText(const PrinterStatus &status)
{
    return statusText(status, status.raw);
}

QString serialLetterText(const PrinterStatus &status)
{
    return statusText(status, status.letter);
}

QString GetStatustext(QString strDataIn)
{
    return serialStatusText(readSerialStatus(strDataIn));
}
