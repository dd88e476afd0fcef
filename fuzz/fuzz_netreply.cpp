// The printer's replies on port 1025, fed to the status decoder in pieces as TCP hands them
// over. Input: a whole frame's job ID, letter and six digits (9 bytes), a repeat count for
// the junk, piece lengths, then the junk.
//
// Properties:
// - the kept text never passes its bound, whatever arrives;
// - junk without ETX before a whole frame (any amount, beyond the bound too), cut anywhere,
//   decodes to nothing until the frame's ETX, and then to that frame's status alone;
// - after a piece with an ETX, what is kept is nothing or begins with an STX;
// - after any stream that leaves no ETX in the kept text, a whole frame that arrives in one
//   piece decodes to its own status.

#include "fuzzcheck.h"
#include "fuzzinput.h"
#include "statusdecoder.h"

namespace {

constexpr char stx = '\x02';
constexpr char etx = '\x03';
constexpr int maxRepeat = 16;
constexpr int maxPieces = 32;
constexpr int maxPieceLength = 6000;

QString text(const QByteArray &bytes)
{
    // One character per byte, as the socket control hands the data over.
    return QString::fromLatin1(bytes);
}

QByteArray withoutFraming(QByteArray bytes)
{
    return bytes.replace(stx, 'x').replace(etx, 'x');
}

QString described(const QList<QByteArray> &pieces)
{
    QString lines;
    for (const QByteArray &piece : pieces)
        lines += QStringLiteral("piece of %1: %2\n").arg(piece.size()).arg(escaped(piece.left(80)));
    return lines;
}

void checkBound(const StatusDecoder &decoder, const QList<QByteArray> &pieces)
{
    fuzzCheck(decoder.keptText().size() <= StatusDecoder::keptLimit, "kept text within its bound",
              [&] { return QString(described(pieces)); });
}

// The status text of a whole frame, by the reply format: the message for the letter, a CR and
// the seven characters from the letter on.
QString expectedStatus(const QByteArray &frame)
{
    const QString field = text(frame.mid(3, 7));
    return StatusDecoder::statusMessage(field.at(0)) + QLatin1Char('\r') + field;
}

void junkThenFrame(const QByteArray &junk, const QByteArray &frame, const QList<int> &lengths)
{
    const QList<QByteArray> pieces = cutInto(junk + frame, lengths);
    StatusDecoder decoder;
    QString status;
    for (qsizetype i = 0; i < pieces.size(); ++i) {
        QString decoded;
        const bool found = decoder.decode(text(pieces.at(i)), decoded);
        checkBound(decoder, pieces);
        const bool last = i == pieces.size() - 1;
        fuzzCheck(found == last, last ? "the frame's ETX decodes" : "junk decodes to nothing",
                  [&] { return QString(described(pieces) + decoded); });
        if (found)
            status = decoded;
    }
    fuzzCheck(status == expectedStatus(frame), "junk before a whole frame leaves its status", [&] {
        return QString(described(pieces) + QStringLiteral("decoded: ") + escaped(status) +
                       QStringLiteral("\nexpected: ") + escaped(expectedStatus(frame)));
    });
}

void anyStreamThenFrame(const QByteArray &stream, const QByteArray &frame,
                        const QList<int> &lengths)
{
    const QList<QByteArray> pieces = cutInto(stream, lengths);
    StatusDecoder decoder;
    for (const QByteArray &piece : pieces) {
        QString decoded;
        decoder.decode(text(piece), decoded);
        checkBound(decoder, pieces);
        if (piece.contains(etx)) {
            const QString &kept = decoder.keptText();
            fuzzCheck(kept.isEmpty() || kept.at(0) == QLatin1Char(stx),
                      "after an ETX only text from an STX on is kept", [&] {
                          return QString(described(pieces) + QStringLiteral("kept: ") +
                                         escaped(kept));
                      });
        }
    }
    // A whole frame already waiting in the kept text would come first.
    if (decoder.keptText().contains(QLatin1Char(etx)))
        return;
    const QString keptBefore = decoder.keptText();
    QString decoded;
    fuzzCheck(decoder.decode(text(frame), decoded), "a whole frame decodes", [&] {
        return QString(described(pieces) + QStringLiteral("kept: ") + escaped(keptBefore));
    });
    fuzzCheck(decoded == expectedStatus(frame), "what was kept leaves a whole frame's status", [&] {
        return QString(described(pieces) + QStringLiteral("kept: ") + escaped(keptBefore) +
                       QStringLiteral("\ndecoded: ") + escaped(decoded));
    });
}

} // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t *data, size_t size)
{
    FuzzInput input(data, size);
    const QByteArray frame = stx + withoutFraming(input.bytes(9).leftJustified(9, ' ')) + etx;
    const int repeat = 1 + input.byte() % maxRepeat;
    const QList<int> lengths = input.lengths(maxPieces, maxPieceLength);
    const QByteArray raw = input.rest().repeated(repeat);

    QByteArray junk = raw;
    junk.replace(etx, QByteArray());
    junkThenFrame(junk, frame, lengths);
    anyStreamThenFrame(raw, frame, lengths);
    return 0;
}
