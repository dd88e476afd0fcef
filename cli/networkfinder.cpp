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
constexpr int connectionsPerAddress = 2;
constexpr std::chrono::milliseconds progressInterval{200};
} // namespace

NetworkFinder::NetworkFinder(QList<quint32> addresses, int parallel,
                             std::chrono::milliseconds timeout)
    : m_addresses(std::move(addresses))
    , m_parallel(parallel)
    , m_timeout(timeout)
{
}

FindResults NetworkFinder::run(const Progress &progress)
{
    FindResults results;
    const int total = int(m_addresses.size());
    const int inFlight = std::max(1, m_parallel / connectionsPerAddress);
    std::vector<std::unique_ptr<AddressProbe>> running;
    int next = 0;
    QEventLoop loop;
    QTimer ticker;
    QElapsedTimer sinceProgress;
    sinceProgress.start();

    const auto tick = [&] {
        // Finished probes go first, so that their connections are closed before new ones open.
        for (auto probe = running.begin(); probe != running.end();) {
            const AddressProbe::Outcome outcome = (*probe)->poll(m_timeout);
            if (outcome == AddressProbe::Outcome::Pending) {
                ++probe;
                continue;
            }
            ++results.tried;
            switch (outcome) {
            case AddressProbe::Outcome::Printer:
                results.printers << (*probe)->found();
                break;
            case AddressProbe::Outcome::Other:
                results.others << (*probe)->found();
                break;
            case AddressProbe::Outcome::SilentOpen:
                ++results.silent;
                ++results.silentOpen;
                break;
            case AddressProbe::Outcome::Refused:
                ++results.refused;
                break;
            default:
                ++results.silent;
                break;
            }
            probe = running.erase(probe);
        }
        while (next < total && int(running.size()) < inFlight) {
            running.push_back(std::make_unique<AddressProbe>(
                m_addresses.at(next++), createSystemSocketControl(), createSystemSocketControl()));
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

    // In the order of the addresses, whatever order they answered in.
    const auto byAddress = [](const FoundPlace &left, const FoundPlace &right) {
        return QHostAddress(left.where).toIPv4Address() < QHostAddress(right.where).toIPv4Address();
    };
    std::sort(results.printers.begin(), results.printers.end(), byAddress);
    std::sort(results.others.begin(), results.others.end(), byAddress);
    if (progress)
        progress(results, total);
    return results;
}
