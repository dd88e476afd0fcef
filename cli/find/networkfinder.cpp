#include "networkfinder.h"

#include "addressprobe.h"
#include "systemsocketcontrol.h"

#include <QElapsedTimer>
#include <QEventLoop>
#include <QHostAddress>
#include <QTimer>

#include <algorithm>
#include <memory>
#include <vector>

namespace {
constexpr std::chrono::milliseconds progressInterval{200};

// Counts an address whose probe has come to an end other than this computer's own failure.
void countFinished(FindResults &results, const AddressProbe &probe, AddressProbe::Outcome outcome)
{
    ++results.tried;
    switch (outcome) {
    case AddressProbe::Outcome::Printer:
        results.printers << probe.found();
        break;
    case AddressProbe::Outcome::Other:
        results.others << probe.found();
        break;
    case AddressProbe::Outcome::SilentOpen:
        ++results.silent;
        ++results.silentOpen;
        results.candidates << probe.found();
        break;
    case AddressProbe::Outcome::Refused:
        ++results.refused;
        break;
    case AddressProbe::Outcome::Unreachable:
        ++results.unreachable;
        if (results.unreachableReason.isEmpty())
            results.unreachableReason = probe.reason();
        break;
    default:
        ++results.silent;
        break;
    }
}

// In the order of the addresses, whatever order they answered in.
void sortByAddress(FindResults &results)
{
    const auto byAddress = [](const FoundPlace &left, const FoundPlace &right) {
        return QHostAddress(left.where).toIPv4Address() < QHostAddress(right.where).toIPv4Address();
    };
    std::sort(results.printers.begin(), results.printers.end(), byAddress);
    std::sort(results.others.begin(), results.others.end(), byAddress);
    std::sort(results.candidates.begin(), results.candidates.end(), byAddress);
}

} // namespace

NetworkFinder::NetworkFinder(QList<quint32> addresses, int parallel,
                             std::chrono::milliseconds timeout)
    : m_addresses(std::move(addresses))
    , m_parallel(parallel)
    , m_timeout(timeout)
{
}

void NetworkFinder::setStopWhen(std::function<int()> stopWhen)
{
    m_stopWhen = std::move(stopWhen);
}

FindResults NetworkFinder::run(const Progress &progress)
{
    FindResults results;
    const int total = int(m_addresses.size());
    results.total = total;
    int inFlight = std::max(1, m_parallel / connectionsPerAddress);
    std::vector<std::unique_ptr<AddressProbe>> running;
    // Addresses whose connections this computer could not make, first in line.
    QList<quint32> again;
    int localFailures = 0;
    int next = 0;
    QEventLoop loop;
    QTimer ticker;
    QElapsedTimer sinceProgress;
    sinceProgress.start();

    const auto stop = [&] {
        running.clear();
        again.clear();
        next = total;
    };
    const auto tick = [&] {
        if (m_stopWhen) {
            results.interruptedBy = m_stopWhen();
            if (results.interruptedBy != 0)
                stop();
        }
        // Finished probes go first, so that their connections are closed before new ones open.
        for (auto probe = running.begin(); probe != running.end();) {
            const AddressProbe::Outcome outcome = (*probe)->poll(m_timeout);
            if (outcome == AddressProbe::Outcome::Pending) {
                ++probe;
                continue;
            }
            if (outcome == AddressProbe::Outcome::LocalFailure) {
                again << (*probe)->address();
                const QString reason = (*probe)->reason();
                probe = running.erase(probe);
                // As many at once as the computer held when it ran out.
                inFlight = std::max(1, int(running.size()));
                localFailures = running.empty() ? localFailures + 1 : 0;
                if (localFailures >= localFailuresInARow) {
                    results.failure = reason;
                    stop();
                    break;
                }
                continue;
            }
            localFailures = 0;
            countFinished(results, **probe, outcome);
            probe = running.erase(probe);
        }
        while ((!again.isEmpty() || next < total) && int(running.size()) < inFlight) {
            const quint32 address = again.isEmpty() ? m_addresses.at(next++) : again.takeFirst();
            running.push_back(std::make_unique<AddressProbe>(address, createSystemSocketControl(),
                                                             createSystemSocketControl()));
            running.back()->start();
        }
        if (progress && sinceProgress.elapsed() >= progressInterval.count()) {
            progress(results, total);
            sinceProgress.restart();
        }
        if (running.empty())
            loop.quit();
    };
    QObject::connect(&ticker, &QTimer::timeout, &loop, tick);
    ticker.start(pollInterval);
    tick();
    if (!running.empty())
        loop.exec();
    ticker.stop();

    sortByAddress(results);
    if (progress)
        progress(results, total);
    return results;
}
