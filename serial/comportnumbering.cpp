#include "comportnumbering.h"

#include <QDeadlineTimer>
#include <QSerialPortInfo>

#include <algorithm>
#include <memory>

namespace {

bool isDigit(QChar c)
{
    return c >= QLatin1Char('0') && c <= QLatin1Char('9');
}

// The run of digits or of other characters that starts at position.
QStringView runAt(const QString &text, qsizetype position)
{
    const bool digits = isDigit(text.at(position));
    qsizetype end = position;
    while (end < text.size() && isDigit(text.at(end)) == digits)
        ++end;
    return QStringView(text).mid(position, end - position);
}

// Compares two runs of digits by value, ignoring leading zeros; -1, 0 or 1.
int compareNumbers(QStringView left, QStringView right)
{
    while (left.size() > 1 && left.front() == QLatin1Char('0'))
        left = left.mid(1);
    while (right.size() > 1 && right.front() == QLatin1Char('0'))
        right = right.mid(1);
    if (left.size() != right.size())
        return left.size() < right.size() ? -1 : 1;
    return left.compare(right);
}

#ifndef Q_OS_WIN
// The ports the system lists, in numbering order, kept for listingLifetimeMs.
class ListedPorts
{
public:
    QString portFor(qint16 number)
    {
        if (m_expiry.hasExpired()) {
            m_paths.clear();
            const QList<QSerialPortInfo> ports = QSerialPortInfo::availablePorts();
            for (const QSerialPortInfo &port : ports)
                m_paths.append(port.systemLocation());
            m_expiry.setRemainingTime(listingLifetimeMs);
        }
        return comPortByDevicePath(m_paths, number);
    }

private:
    QStringList m_paths;
    QDeadlineTimer m_expiry{0};
};
#endif

} // namespace

bool devicePathLess(const QString &left, const QString &right)
{
    qsizetype i = 0;
    qsizetype j = 0;
    while (i < left.size() && j < right.size()) {
        const QStringView a = runAt(left, i);
        const QStringView b = runAt(right, j);
        const bool numbers = isDigit(a.front()) && isDigit(b.front());
        const int order = numbers ? compareNumbers(a, b) : a.compare(b);
        if (order != 0)
            return order < 0;
        i += a.size();
        j += b.size();
    }
    if (i < left.size() || j < right.size())
        return j < right.size();
    // Equal but for leading zeros: any fixed order will do.
    return left < right;
}

QString comPortByDevicePath(QStringList devicePaths, qint16 number)
{
    if (number < 1 || number > devicePaths.size())
        return {};
    std::sort(devicePaths.begin(), devicePaths.end(), devicePathLess);
    return devicePaths.at(number - 1);
}

ComPortResolver systemComPortResolver()
{
#ifdef Q_OS_WIN
    return [](qint16 number) {
        return number < 1 ? QString() : QStringLiteral("COM") + QString::number(number);
    };
#else
    auto listed = std::make_shared<ListedPorts>();
    return [listed](qint16 number) { return listed->portFor(number); };
#endif
}
