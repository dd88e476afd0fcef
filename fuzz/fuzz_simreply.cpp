// printer-sim's reply builder: the status frame, the misbehaviours wrapped around it, the
// pieces it goes out in, and the bytes typed on its command line. Input: job ID length and
// bytes, letter, labels (4 bytes), pieces (2 bytes), flags, prefix and suffix lengths, then
// bytes for the prefix, the suffix and the rest.
//
// Properties: a frame always has its eleven bytes with STX, the ID cut or padded to two, the
// letter and the labels held within 0..999999 as six digits, and ETX; the answer is prefix,
// frame and suffix (twice when asked); its pieces join to the answer, are as many as asked
// but no more than bytes, and differ in length by at most one, the longer first; bytes
// written as \xHH escapes decode to themselves, and a malformed text says why.

#include "bytetext.h"
#include "fuzzcheck.h"
#include "fuzzinput.h"
#include "replyshape.h"
#include "statusframe.h"

#include <QtGlobal>

namespace {

void checkFrame(const QByteArray &id, char letter, qint32 labels)
{
    const QByteArray frame = StatusFrame::build(id, letter, labels);
    const int held = qBound(0, labels, StatusFrame::maxLabels);
    const QByteArray expected = StatusFrame::stx + id.left(2).leftJustified(2, ' ') + letter +
                                QByteArray::number(held).rightJustified(6, '0') + StatusFrame::etx;
    fuzzCheck(frame.size() == StatusFrame::size && frame == expected, "a whole frame", [&] {
        return QString(escaped(frame) + QStringLiteral(" for labels %1").arg(labels));
    });
}

void checkPieces(const ReplyShape &shape, const QByteArray &answer)
{
    const QList<QByteArray> pieces = shape.cut(answer);
    fuzzCheck(pieces.join() == answer, "the pieces join to the answer");
    const qsizetype count = answer.isEmpty() ? 0 : qMin(qsizetype(shape.pieces), answer.size());
    fuzzCheck(pieces.size() == count, "as many pieces as asked, no more than bytes", [&] {
        return QString(QStringLiteral("%1 pieces of %2 bytes, %3 asked")
                           .arg(pieces.size())
                           .arg(answer.size())
                           .arg(shape.pieces));
    });
    for (qsizetype i = 1; i < pieces.size(); ++i) {
        const qsizetype before = pieces.at(i - 1).size();
        const qsizetype now = pieces.at(i).size();
        fuzzCheck(now >= 1 && (before == now || before == now + 1),
                  "nearly equal pieces, the longer first");
    }
}

void checkByteText(const QByteArray &bytes, const QByteArray &rawText)
{
    QString typed;
    for (const char byte : bytes)
        typed +=
            QStringLiteral("\\x%1").arg(static_cast<unsigned char>(byte), 2, 16, QLatin1Char('0'));
    QByteArray decoded;
    QString error;
    fuzzCheck(ByteText::decode(typed, &decoded, &error) && decoded == bytes,
              "escaped bytes decode to themselves", [&] { return QString(typed); });

    const QString text = QString::fromUtf8(rawText);
    QByteArray anyDecoded;
    QString anyError;
    if (!ByteText::decode(text, &anyDecoded, &anyError))
        fuzzCheck(!anyError.isEmpty(), "a malformed text says why",
                  [&] { return QString(escaped(text)); });

    // A log line is bounded whatever it shows.
    const QString line = ByteText::visible(rawText);
    fuzzCheck(line.size() <= 64 * 5 + 3, "a bounded log line",
              [&] { return QString(line.left(400)); });
}

} // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t *data, size_t size)
{
    FuzzInput input(data, size);
    const QByteArray id = input.bytes(input.byte() % 5);
    const char letter = static_cast<char>(input.byte());
    const auto labels = static_cast<qint32>(static_cast<quint32>(input.word()) |
                                            static_cast<quint32>(input.word()) << 16);
    ReplyShape shape;
    shape.pieces = 1 + input.word() % 1000;
    shape.twice = input.byte() % 2 != 0;
    const int prefixLength = input.byte() % 32;
    const int suffixLength = input.byte() % 32;
    shape.prefix = input.bytes(prefixLength);
    shape.suffix = input.bytes(suffixLength);
    const QByteArray rest = input.rest();

    checkFrame(id, letter, labels);
    const QByteArray frame = StatusFrame::build(id, letter, labels);
    const QByteArray once = shape.prefix + frame + shape.suffix;
    const QByteArray answer = shape.wrap(frame);
    fuzzCheck(answer == (shape.twice ? once + once : once), "prefix, frame, suffix",
              [&] { return QString(escaped(answer)); });
    checkPieces(shape, answer);
    checkPieces(shape, rest);
    checkByteText(rest, rest);
    return 0;
}
