#include "statusdecoder.h"

namespace {
constexpr QChar carriageReturn{0x0D};
}

bool StatusDecoder::decode(const QString &received, QString &statusText)
{
    const QString text = fromLastStart(m_kept + received);
    const qsizetype lastEtx = text.lastIndexOf(etx);
    if (lastEtx < 0) {
        // Merely incomplete: wait for the rest.
        keep(text);
        return false;
    }
    // After the last ETX only a next reply is worth waiting for, and that begins with its STX;
    // anything before it is the tail of a broken reply.
    const qsizetype nextStart = text.indexOf(stx, lastEtx + 1);
    keep(nextStart < 0 ? QString() : text.mid(nextStart));

    const QString field = statusField(text);
    if (field.isEmpty())
        return false;
    statusText = statusMessage(field.at(0)) + carriageReturn + field;
    return true;
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

QString StatusDecoder::statusField(const QString &text)
{
    // Positions count from 1, and 0 stands for "not there".
    const qsizetype s = text.indexOf(stx) + 1;
    const qsizetype e = text.indexOf(etx) + 1;
    if (e == 0)
        return {};
    // The body's length is counted from the start of the text, not from the STX: the body
    // takes in the first ETX, and with text before the STX also what follows it.
    const QString body = text.mid(s, e - 1);
    if (body.size() < statusFieldStart)
        return {};
    return body.mid(statusFieldStart - 1, statusFieldLength);
}

QString StatusDecoder::statusMessage(QChar letter)
{
    switch (letter.unicode()) {
    case u'0':
        return QStringLiteral("FEIL: Skriveren er Off line");
    case u'1':
        return QStringLiteral("FEIL: Off line - Fargebånd nesten tomt");
    case u'2':
        return QStringLiteral("FEIL: Off line - Skriverminne nesten fullt");
    case u'3':
        return QStringLiteral(
            "FEIL: Off line - Fargebånd nesten tomt og skriverminne er nesten fullt");
    case u'A':
        return QStringLiteral("OK: Printer OK");
    case u'B':
        return QStringLiteral("OK: Fargebåndet er nesten tomt");
    case u'C':
        return QStringLiteral("OK: Skriverminnet er nesten fullt");
    case u'D':
    case u'J':
    case u'P':
        return QStringLiteral("OK: Fargebånd nesten tomt og skriverminne nesten fullt");
    case u'G':
        return QStringLiteral("OK: Skriver etikett");
    case u'H':
        return QStringLiteral("OK: Skriver etikett, men fargebåndet er nesten tomt");
    case u'I':
        return QStringLiteral("OK: Skriver etikett, men skriverminne er nesten fullt");
    case u'M':
        return QStringLiteral("OK: Etikett klar");
    case u'N':
        return QStringLiteral("OK: Etikett klar, fargebåndet er nesten tomt");
    case u'O':
        return QStringLiteral("OK: Etikett klar, skriverminne er nesten fullt");
    case u'S':
        return QStringLiteral("OK: On line, compiling print job - Skriver OK");
    case u'T':
        return QStringLiteral("OK: On line, compiling print job - Fargebånd nesten tomt");
    case u'U':
        return QStringLiteral("OK: On line, compiling print job - Skriverminne nesten fullt");
    case u'V':
        return QStringLiteral("OK: On line, compiling print job - Fargebånd nesten tomt og "
                              "skriverminne nesten fullt");
    case u'a':
        return QStringLiteral("FEIL: Off line, Skriverfeil - Printerminne fullt");
    case u'b':
        return QStringLiteral("FEIL: Off line, Skriverfeil - Skrivehodet åpent");
    case u'c':
        return QStringLiteral("FEIL: Off line, Skriverfeil - Tomt for etiketter");
    case u'd':
        return QStringLiteral("FEIL: Off line, Skriverfeil - Tomt for fargebånd");
    case u'e':
        return QStringLiteral("FEIL: Off line, Skriverfeil - Etikettfeil");
    case u'f':
        return QStringLiteral("FEIL: Off line, Skriverfeil - Feil på sensor");
    case u'g':
        return QStringLiteral("FEIL: Off line, Skriverfeil - Feil på skrivehodet");
    case u'h':
        return QStringLiteral("FEIL: Off line, Skriverfeil - Deksel åpent");
    case u'i':
        return QStringLiteral("FEIL: Off line, Skriverfeil - Feil på minnekort");
    case u'j':
        return QStringLiteral("FEIL: Off line, Skriverfeil - Feil på kutter");
    case u'k':
        return QStringLiteral("FEIL: Off line, Skriverfeil - Annen feil (Could be framing error)");
    default:
        return QStringLiteral("FEIL: Uregistrert feil");
    }
}
