// The serial settings text "speed,parity,data bits,stop bits". Input: one byte that picks
// how the rest becomes text (UTF-8 or one character per byte), then the text.
//
// Properties: a text is taken exactly when it has the form (1 to 10 digits making 1 up to
// the largest 32-bit speed, a parity letter n, e, o, m or s in either case, 5 to 8 data bits,
// stop bits 1, 1.5 or 2, nothing else); what is taken is what the text says; and the text
// written back from the settings reads as the same settings.

#include "fuzzcheck.h"
#include "fuzzinput.h"
#include "serialsettings.h"

#include <QRegularExpression>
#include <QSerialPort>

#include <limits>

namespace {

const QRegularExpression &form()
{
    static const QRegularExpression pattern(
        QStringLiteral("\\A([0-9]{1,10}),([nNeEoOmMsS]),([5-8]),(1|1\\.5|2)\\z"));
    return pattern;
}

QString written(const SerialSettings &settings)
{
    static const QHash<int, QString> parities = {{QSerialPort::NoParity, "n"},
                                                 {QSerialPort::EvenParity, "e"},
                                                 {QSerialPort::OddParity, "o"},
                                                 {QSerialPort::MarkParity, "m"},
                                                 {QSerialPort::SpaceParity, "s"}};
    static const QHash<int, QString> stops = {{QSerialPort::OneStop, "1"},
                                              {QSerialPort::OneAndHalfStop, "1.5"},
                                              {QSerialPort::TwoStop, "2"}};
    return QStringLiteral("%1,%2,%3,%4")
        .arg(settings.baudRate)
        .arg(parities.value(settings.parity, QStringLiteral("?")))
        .arg(int(settings.dataBits))
        .arg(stops.value(settings.stopBits, QStringLiteral("?")));
}

} // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t *data, size_t size)
{
    FuzzInput input(data, size);
    const QString text = input.typedText();

    const std::optional<SerialSettings> settings = parseSerialSettings(text);
    const QRegularExpressionMatch match = form().match(text);
    const qint64 speed = match.hasMatch() ? match.captured(1).toLongLong() : 0;
    const bool wellFormed =
        match.hasMatch() && speed >= 1 && speed <= std::numeric_limits<qint32>::max();
    fuzzCheck(settings.has_value() == wellFormed, "taken exactly when well formed",
              [&] { return QString(escaped(text)); });
    if (!settings)
        return 0;

    // Leading zeros of the speed are the only thing the written form does not keep.
    const QString asTyped = QString::number(speed) + text.mid(match.capturedEnd(1));
    const QString back = written(*settings);
    fuzzCheck(back.compare(asTyped, Qt::CaseInsensitive) == 0, "taken as the text says",
              [&] { return QString(escaped(text) + QStringLiteral(" read as ") + back); });
    const std::optional<SerialSettings> again = parseSerialSettings(back);
    fuzzCheck(again && again->baudRate == settings->baudRate && again->parity == settings->parity &&
                  again->dataBits == settings->dataBits && again->stopBits == settings->stopBits,
              "the settings written back read the same", [&] { return QString(back); });
    return 0;
}
