#include "addressrange.h"

#include <QRegularExpression>
#include <QSet>

#include <optional>

namespace {

constexpr int addressBits = 32;
// A /31 and a /32 have no network or broadcast address to leave out.
constexpr int longestPrefixWithBroadcast = 30;

std::optional<quint32> readAddress(const QString &text)
{
    static const QRegularExpression dotted(
        QStringLiteral("^([0-9]{1,3})\\.([0-9]{1,3})\\.([0-9]{1,3})\\.([0-9]{1,3})$"));
    const QRegularExpressionMatch match = dotted.match(text);
    if (!match.hasMatch())
        return std::nullopt;
    quint32 address = 0;
    for (int part = 1; part <= 4; ++part) {
        const uint value = match.captured(part).toUInt();
        if (value > 255)
            return std::nullopt;
        address = (address << 8) | value;
    }
    return address;
}

struct Span
{
    quint64 first = 0;
    quint64 last = 0;
};

constexpr quint64 unspecifiedAddress = 0;
constexpr quint64 firstMulticast = 0xe0000000; // 224.0.0.0
constexpr quint64 lastMulticast = 0xefffffff;  // 239.255.255.255
constexpr quint64 limitedBroadcast = 0xffffffff;

// Addresses no printer can have: a connection to them is no question to one host.
QString unusableAddress(const Span &span)
{
    if (span.first <= unspecifiedAddress)
        return QStringLiteral("0.0.0.0 is the unspecified address, no host's");
    if (span.first <= lastMulticast && span.last >= firstMulticast)
        return QStringLiteral("224.0.0.0 to 239.255.255.255 are multicast addresses, no host's");
    if (span.last >= limitedBroadcast)
        return QStringLiteral("255.255.255.255 is the broadcast address, no host's");
    return QString();
}

std::optional<Span> readItem(const QString &item, QString &error)
{
    // 010 is 10 to some tools and 8 (octal) to others: neither is guessed.
    static const QRegularExpression leadingZero(QStringLiteral("(?:^|[.\\-/])0[0-9]"));
    if (leadingZero.match(item).hasMatch()) {
        error = QStringLiteral("a number with a leading zero is ambiguous (10 to some tools, "
                               "octal to others): \"%1\"")
                    .arg(item);
        return std::nullopt;
    }
    if (item.contains(QLatin1Char(':'))) {
        error = QStringLiteral("IPv6 is not supported, only IPv4 addresses: \"%1\"").arg(item);
        return std::nullopt;
    }
    const qsizetype slash = item.indexOf(QLatin1Char('/'));
    if (slash >= 0) {
        const std::optional<quint32> base = readAddress(item.left(slash));
        static const QRegularExpression digits(QStringLiteral("^[0-9]{1,2}$"));
        const QString prefixText = item.mid(slash + 1);
        const int prefix = prefixText.toInt();
        if (!base || !digits.match(prefixText).hasMatch() || prefix > addressBits) {
            error = QStringLiteral("not an IPv4 range in CIDR form (such as 10.1.2.0/24): \"%1\"")
                        .arg(item);
            return std::nullopt;
        }
        const quint64 size = quint64(1) << (addressBits - prefix);
        const quint64 network = *base & ~(size - 1);
        Span span{network, network + size - 1};
        if (prefix <= longestPrefixWithBroadcast) {
            ++span.first;
            --span.last;
        }
        return span;
    }
    const qsizetype dash = item.indexOf(QLatin1Char('-'));
    if (dash >= 0) {
        const std::optional<quint32> first = readAddress(item.left(dash));
        QString lastText = item.mid(dash + 1);
        static const QRegularExpression lastPart(QStringLiteral("^[0-9]{1,3}$"));
        if (first && lastPart.match(lastText).hasMatch()) {
            // Only the last part written: the rest as in the first address.
            lastText =
                addressText(*first).section(QLatin1Char('.'), 0, 2) + QLatin1Char('.') + lastText;
        }
        const std::optional<quint32> last = readAddress(lastText);
        if (!first || !last || *last < *first) {
            error = QStringLiteral("not an IPv4 range from a lower to a higher address (such as "
                                   "10.1.2.10-10.1.2.60): \"%1\"")
                        .arg(item);
            return std::nullopt;
        }
        return Span{*first, *last};
    }
    const std::optional<quint32> single = readAddress(item);
    if (!single) {
        error = QStringLiteral("not an IPv4 address: \"%1\"").arg(item);
        return std::nullopt;
    }
    return Span{*single, *single};
}

} // namespace

QString addressText(quint32 address)
{
    return QStringLiteral("%1.%2.%3.%4")
        .arg(address >> 24)
        .arg((address >> 16) & 0xff)
        .arg((address >> 8) & 0xff)
        .arg(address & 0xff);
}

AddressList parseAddressList(const QStringList &items, qsizetype limit)
{
    AddressList result;
    QSet<quint32> seen;
    QStringList parts;
    // Commas and blanks separate, also within one argument ("10.1.2.3 10.1.2.4").
    static const QRegularExpression separators(QStringLiteral("[,\\s]+"));
    for (const QString &item : items)
        parts += item.split(separators, Qt::SkipEmptyParts);
    if (parts.isEmpty()) {
        result.error = QStringLiteral("find needs the addresses to try (such as 10.1.2.0/24)");
        return result;
    }
    for (const QString &part : parts) {
        const std::optional<Span> span = readItem(part.trimmed(), result.error);
        const QString unusable = span ? unusableAddress(*span) : QString();
        if (!unusable.isEmpty())
            result.error = unusable + QStringLiteral(": \"%1\"").arg(part.trimmed());
        if (!span || !unusable.isEmpty()) {
            result.addresses.clear();
            return result;
        }
        for (quint64 address = span->first; address <= span->last; ++address) {
            if (seen.contains(quint32(address)))
                continue;
            seen.insert(quint32(address));
            result.addresses << quint32(address);
            if (result.addresses.size() > limit)
                return result;
        }
    }
    return result;
}
