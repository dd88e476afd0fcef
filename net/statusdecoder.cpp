#include "statusdecoder.h"

#include <QHash>

namespace {

constexpr QChar carriageReturn{0x0D};

// What a letter means on the network: whether the printer can print, and the message after
// "OK: " or "FEIL: ".
struct Meaning
{
    bool fault = true;
    QString message;
};

const QHash<char16_t, Meaning> &meanings()
{
    static const QHash<char16_t, Meaning> table = {
        {u'0', {true, QStringLiteral("Skriveren er Off line")}},
        {u'1', {true, QStringLiteral("Off line - Fargebånd nesten tomt")}},
        {u'2', {true, QStringLiteral("Off line - Skriverminne nesten fullt")}},
        {u'3',
         {true,
          QStringLiteral("Off line - Fargebånd nesten tomt og skriverminne er nesten fullt")}},
        {u'A', {false, QStringLiteral("Printer OK")}},
        {u'B', {false, QStringLiteral("Fargebåndet er nesten tomt")}},
        {u'C', {false, QStringLiteral("Skriverminnet er nesten fullt")}},
        {u'D', {false, QStringLiteral("Fargebånd nesten tomt og skriverminne nesten fullt")}},
        {u'G', {false, QStringLiteral("Skriver etikett")}},
        {u'H', {false, QStringLiteral("Skriver etikett, men fargebåndet er nesten tomt")}},
        {u'I', {false, QStringLiteral("Skriver etikett, men skriverminne er nesten fullt")}},
        {u'J', {false, QStringLiteral("Fargebånd nesten tomt og skriverminne nesten fullt")}},
        {u'M', {false, QStringLiteral("Etikett klar")}},
        {u'N', {false, QStringLiteral("Etikett klar, fargebåndet er nesten tomt")}},
        {u'O', {false, QStringLiteral("Etikett klar, skriverminne er nesten fullt")}},
        {u'P', {false, QStringLiteral("Fargebånd nesten tomt og skriverminne nesten fullt")}},
        {u'S', {false, QStringLiteral("On line, compiling print job - Skriver OK")}},
        {u'T', {false, QStringLiteral("On line, compiling print job - Fargebånd nesten tomt")}},
        {u'U', {false, QStringLiteral("On line, compiling print job - Skriverminne nesten fullt")}},
        {u'V',
         {false, QStringLiteral("On line, compiling print job - Fargebånd nesten tomt og "
                                "skriverminne nesten fullt")}},
        {u'a', {true, QStringLiteral("Off line, Skriverfeil - Printerminne fullt")}},
        {u'b', {true, QStringLiteral("Off line, Skriverfeil - Skrivehodet åpent")}},
        {u'c', {true, QStringLiteral("Off line, Skriverfeil - Tomt for etiketter")}},
        {u'd', {true, QStringLiteral("Off line, Skriverfeil - Tomt for fargebånd")}},
        {u'e', {true, QStringLiteral("Off line, Skriverfeil - Etikettfeil")}},
        {u'f', {true, QStringLiteral("Off line, Skriverfeil - Feil på sensor")}},
        {u'g', {true, QStringLiteral("Off line, Skriverfeil - Feil på skrivehodet")}},
        {u'h', {true, QStringLiteral("Off line, Skriverfeil - Deksel åpent")}},
        {u'i', {true, QStringLiteral("Off line, Skriverfeil - Feil på minnekort")}},
        {u'j', {true, QStringLiteral("Off line, Skriverfeil - Feil på kutter")}},
        {u'k',
         {true, QStringLiteral("Off line, Skriverfeil - Annen feil (Could be framing error)")}},
    };
    return table;
}

} // namespace

std::optional<PrinterStatus> StatusDecoder::read(const QString &received)
{
    const QString text = fromLastStart(m_kept + received);
    const qsizetype lastEtx = text.lastIndexOf(etx);
    if (lastEtx < 0) {
        // Merely incomplete: wait for the rest.
        keep(text);
        return std::nullopt;
    }
    // After the last ETX only a next reply is worth waiting for, and that begins with its STX;
    // anything before it is the tail of a broken reply.
    const qsizetype nextStart = text.indexOf(stx, lastEtx + 1);
    keep(nextStart < 0 ? QString() : text.mid(nextStart));

    const QString body = replyBody(text);
    const QString field = fieldOfBody(body);
    if (field.isEmpty())
        return std::nullopt;
    return fieldStatus(field, body);
}

bool StatusDecoder::decode(const QString &received, QString &statusText)
{
    const std::optional<PrinterStatus> status = read(received);
    if (!status)
        return false;
    statusText = StatusDecoder::statusText(*status);
    return true;
}

PrinterStatus StatusDecoder::fieldStatus(const QString &field, const QString &body)
{
    PrinterStatus status;
    status.raw = body;
    status.field = field;
    status.letter = field.left(1);
    const auto meaning = meanings().constFind(field.at(0).unicode());
    status.known = meaning != meanings().constEnd();
    // A letter off the table is an error the printers do not name.
    status.fault = status.known ? meaning->fault : true;
    status.message = status.known ? meaning->message : QStringLiteral("Uregistrert feil");
    status.labels = labelsLeftAt(field, 1);
    return status;
}

QString StatusDecoder::messageText(const PrinterStatus &status)
{
    return (status.fault ? QStringLiteral("FEIL: ") : QStringLiteral("OK: ")) + status.message;
}

QString StatusDecoder::statusText(const PrinterStatus &status)
{
    return messageText(status) + carriageReturn + status.field;
}

QString StatusDecoder::statusMessage(QChar letter)
{
    return messageText(fieldStatus(QString(letter), QString()));
}

QString StatusDecoder::fromLastStart(const QString &text)
{
    // Only a second STX before the frame's end restarts it. Text before a single STX stays: it
    // decides how far the body runs, as it does for a reply that came in one piece.
    const qsizetype firstEtx = text.indexOf(etx);
    const qsizetype firstStx = text.indexOf(stx);
    if (firstStx < 0 || (firstEtx >= 0 && firstEtx < firstStx))
        return text;
    const qsizetype lastStx =
        firstEtx < 0 ? text.lastIndexOf(stx) : text.lastIndexOf(stx, firstEtx);
    return lastStx == firstStx ? text : text.mid(lastStx);
}

void StatusDecoder::clear()
{
    m_kept.clear();
}

void StatusDecoder::keep(const QString &text)
{
    if (text.size() <= keptLimit) {
        m_kept = text;
        return;
    }
    // Too long for a reply. What decodes is the start of the last frame; the rest of it holds
    // neither STX nor ETX, so cutting it off changes nothing but the memory it takes.
    const qsizetype lastStx = text.lastIndexOf(stx);
    m_kept = lastStx < 0 ? QString() : text.mid(lastStx, keptLimit);
}

QString StatusDecoder::replyBody(const QString &text)
{
    // Positions count from 1, and 0 stands for "not there".
    const qsizetype s = text.indexOf(stx) + 1;
    const qsizetype e = text.indexOf(etx) + 1;
    if (e == 0)
        return {};
    // The body's length is counted from the start of the text, not from the STX: the body
    // takes in the first ETX, and with text before the STX also what follows it.
    return text.mid(s, e - 1);
}

QString StatusDecoder::statusField(const QString &text)
{
    return fieldOfBody(replyBody(text));
}

QString StatusDecoder::fieldOfBody(const QString &body)
{
    if (body.size() < statusFieldStart)
        return {};
    return body.mid(statusFieldStart - 1, statusFieldLength);
}
