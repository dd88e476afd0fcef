#ifndef NETWORKFINDER_H
#define NETWORKFINDER_H

#include "findresult.h"

#include <QList>

#include <chrono>
#include <functional>

// Tries a list of addresses with the network check's exchange, many at once: never more than
// parallel connections open (two for each address), each address with its own timeout.
// Needs a QCoreApplication; runs its own event loop until the last address is done.
class NetworkFinder
{
public:
    // How often the open connections are looked at.
    static constexpr std::chrono::milliseconds pollInterval{10};

    using Progress = std::function<void(const FindResults &, int total)>;

    NetworkFinder(QList<quint32> addresses, int parallel, std::chrono::milliseconds timeout);

    // progress is called now and then while the search runs, and once at its end.
    FindResults run(const Progress &progress);

private:
    QList<quint32> m_addresses;
    int m_parallel = 2;
    std::chrono::milliseconds m_timeout;
};

#endif // NETWORKFINDER_H
