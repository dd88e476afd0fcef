// The serial status text for any reply. Input: one byte that picks how the rest becomes text
// (one character per byte as a port delivers it, or raw UTF-16 code units, lone surrogates
// included), then the reply.
//
// Property: the text is the table's text for the first character above the blank, the
// no-answer text when there is none, or the unknown-letter text with that character and the
// whole reply; never anything else.

#include "fuzzcheck.h"
#include "fuzzinput.h"
#include "statustext.h"

#include <QHash>

namespace {

const QHash<QString, QString> &table()
{
    static const QHash<QString, QString> texts = {
        {"0", "Off Line - Sjekk printer"},
        {"1", "Off Line - Fargebånd nesten tomt"},
        {"2", "Off Line - Buffer nesten fullt"},
        {"3", "Off Line - Fargebånd nesten tomt og buffer er nesten fullt"},
        {"A", "- Skriver OK -"},
        {"B", "Farge bånd nesten tomt"},
        {"C", "Buffer nesten fullt"},
        {"D", "Fargebånd nesten tomt og buffer nesten fullt"},
        {"G", "Skriver ut etikett - Skriver OK -"},
        {"H", "Fargebånd nesten tomt"},
        {"I", "Buffer nesten fullt"},
        {"J", "Fargebånd nesten tomt og buffer nesten fullt"},
        {"M", "Etikett klar - Skriver OK -"},
        {"N", "Fargebånd nesten tomt"},
        {"O", "Buffer nesten fullt"},
        {"P", "Fargebånd nesten tomt og buffer nesten fullt"},
        {"S", "On-line, compilinge print job - Skriver OK -"},
        {"T", "On-line, compilinge print job - Fargebånd nesten tomt -"},
        {"U", "On-line, compilinge print job - Buffer nesten fullt -"},
        {"V", "On-line, compilinge print job - Fargebånd nesten tomt og buffer nesten fullt -"},
        {"a", "Off-line, error condition - Mottaksbuffer fullt -"},
        {"b", "Off-line, error condition - Skrivehodet åpent -"},
        {"c", "Off-line, error condition - Tomt for etiketter -"},
        {"d", "Off-line, error condition - Tomt for fargebånd -"},
        {"e", "Off-line, error condition - Etikettfeil -"},
        {"f", "Off-line, error condition - Feil på sensor -"},
        {"g", "Off-line, error condition - Feil på skrivehodet -"},
        {"h", "Off-line, error condition - Deksel åpent -"},
        {"i", "Off-line, error condition - Feil på minnekort -"},
        {"j", "Off-line, error condition - Feil på kutter -"},
        {"k", "Off-line, error condition - Annen feil (Could be framing error) -"},
    };
    return texts;
}

QString expectedText(const QString &reply)
{
    qsizetype at = 0;
    while (at < reply.size() && reply.at(at).unicode() <= u' ')
        ++at;
    if (at == reply.size())
        return QStringLiteral("- Skriveren svarer ikke -");
    // A character beyond 16 bits is one letter of two code units.
    const bool pair = reply.at(at).isHighSurrogate() && at + 1 < reply.size() &&
                      reply.at(at + 1).isLowSurrogate();
    const QString letter = reply.mid(at, pair ? 2 : 1);
    const auto known = table().constFind(letter);
    if (known != table().constEnd())
        return known.value();
    return QStringLiteral("- UKJENT KODE : ") + letter + QStringLiteral("  KODE INN= ") + reply;
}

} // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t *data, size_t size)
{
    FuzzInput input(data, size);
    const bool utf16 = input.byte() % 2 != 0;
    const QByteArray bytes = input.rest();
    const QString reply =
        utf16 ? QString(reinterpret_cast<const QChar *>(bytes.constData()), bytes.size() / 2)
              : QString::fromLatin1(bytes);

    const QString status = GetStatustext(reply);
    fuzzCheck(status == expectedText(reply), "the table's text, no answer or unknown letter", [&] {
        return QString(QStringLiteral("reply: ") + escaped(reply) + QStringLiteral("\ngot: ") +
                       escaped(status));
    });
    return 0;
}
