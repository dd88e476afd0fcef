#include "serialsettings.h"

#include <QStringList>

#include <limits>

namespace {

std::optional<qint32> parseSpeed(const QString &text)
{
    // Ten digits reach past the largest speed a port takes; more would only overflow.
    constexpr qsizetype mostDigits = 10;
    if (text.isEmpty() || text.size() > mostDigits)
        return std::nullopt;
    qint64 speed = 0;
    for (const QChar c : text) {
        if (c < QLatin1Char('0') || c > QLatin1Char('9'))
            return std::nullopt;
        speed = speed * 10 + (c.unicode() - u'0');
    }
    if (speed < 1 || speed > std::numeric_limits<qint32>::max())
        return std::nullopt;
    return static_cast<qint32>(speed);
}

std::optional<SerialLine::Parity> parseParity(const QString &text)
{
    if (text.size() != 1)
        return std::nullopt;
    switch (text.at(0).toLower().unicode()) {
    case u'n':
        return SerialLine::NoParity;
    case u'e':
        return SerialLine::EvenParity;
    case u'o':
        return SerialLine::OddParity;
    case u'm':
        return SerialLine::MarkParity;
    case u's':
        return SerialLine::SpaceParity;
    default:
        return std::nullopt;
    }
}

std::optional<SerialLine::DataBits> parseDataBits(const QString &text)
{
    if (text == QLatin1String("5"))
        return SerialLine::Data5;
    if (text == QLatin1String("6"))
        return SerialLine::Data6;
    if (text == QLatin1String("7"))
        return SerialLine::Data7;
    if (text == QLatin1String("8"))
        return SerialLine::Data8;
    return std::nullopt;
}

std::optional<SerialLine::StopBits> parseStopBits(const QString &text)
{
    if (text == QLatin1String("1"))
        return SerialLine::OneStop;
    if (text == QLatin1String("1.5"))
        return SerialLine::OneAndHalfStop;
    if (text == QLatin1String("2"))
        return SerialLine::TwoStop;
    return std::nullopt;
}

} // namespace

std::optional<SerialSettings> parseSerialSettings(const QString &text)
{
    const QStringList parts = text.split(QLatin1Char(','));
    if (parts.size() != 4)
        return std::nullopt;
    const auto speed = parseSpeed(parts.at(0));
    const auto parity = parseParity(parts.at(1));
    const auto dataBits = parseDataBits(parts.at(2));
    const auto stopBits = parseStopBits(parts.at(3));
    if (!speed || !parity || !dataBits || !stopBits)
        return std::nullopt;
    return SerialSettings{*speed, *parity, *dataBits, *stopBits};
}
