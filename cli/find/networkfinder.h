#ifndef NETWORKFINDER_H
#define NETWORKFINDER_H

#include "findresult.h"

#include <QList>

#include <chrono>
#include <functional>

// Tries a list of addresses with the network check's exchange, many at once: never more than
// parallel connections open (two for each address), each address with its own timeout. An
// address whose connection this computer could not make (no descriptor left) is tried again
// once another has finished, with fewer at once from then on; if none can be made at all, the
// search ends with the reason in the results' failure.
// Needs a QCoreApplication; runs its own event loop until the last address is done.
class NetworkFinder
{
public:
    // How often the open connections are looked at.
    static constexpr std::chrono::milliseconds pollInterval{10};
    // Port 1025 and port 1024.
    static constexpr int connectionsPerAddress = 2;

    using Progress = std::function<void(const FindResults &, int total)>;

    NetworkFinder(QList<quint32> addresses, int parallel, std::chrono::milliseconds timeout);

    // Tries of an address in a row that this computer failed with nothing else running,
    // before the search is given up.
    static constexpr int localFailuresInARow = 50;

    // Asked at each look; once it returns a signal's number the search stops, the open
    // connections are closed and the results so far returned.
    void setStopWhen(std::function<int()> stopWhen);
    // progress is called now and then while the search runs, and once at its end.
    FindResults run(const Progress &progress);

private:
    QList<quint32> m_addresses;
    int m_parallel = 2;
    std::chrono::milliseconds m_timeout;
    std::function<int()> m_stopWhen;
};

#endif // NETWORKFINDER_H
