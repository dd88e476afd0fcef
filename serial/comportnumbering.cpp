#include "comportnumbering.h"

#include "asciidigit.h"

#include <algorithm>
#include <memory>
#include <utility>

namespace {

// The run of digits or of other characters that starts at position.
QStringView runAt(const QString &text, qsizetype position)
{
    const bool digits = isAsciiDigit(text.at(position));
    qsizetype end = position;
    while (end < text.size() && isAsciiDigit(text.at(end)) == digits)
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

// The ports a lister gives, in numbering order, held from one listing to the next.
class ListedPorts
{
public:
    explicit ListedPorts(ComPortLister lister)
        : m_lister(std::move(lister))
    {
    }

    void takeListing()
    {
        m_paths = m_lister();
        m_listed = true;
    }

    QString portFor(qint16 number)
    {
        if (!m_listed)
            takeListing();
        return comPortByDevicePath(m_paths, number);
    }

private:
    ComPortLister m_lister;
    QStringList m_paths;
    bool m_listed = false;
};

} // namespace

bool devicePathLess(const QString &left, const QString &right)
{
    qsizetype i = 0;
    qsizetype j = 0;
    while (i < left.size() && j < right.size()) {
        const QStringView a = runAt(left, i);
        const QStringView b = runAt(right, j);
        const bool numbers = isAsciiDigit(a.front()) && isAsciiDigit(b.front());
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

ComPortNumbering listedComPortNumbering(ComPortLister lister)
{
    auto listed = std::make_shared<ListedPorts>(std::move(lister));
    return {[listed] { listed->takeListing(); },
            [listed](qint16 number) { return listed->portFor(number); }};
}

ComPortNumbering givenComPortNumbering(const QStringList &devices)
{
    return {{}, [devices](qint16 number) {
                return number < 1 || number > devices.size() ? QString() : devices.at(number - 1);
            }};
}
