#include "networkverdict.h"

#include "networkstate.h"
#include "networktest.h"
#include "watchedsocketcontrol.h"

namespace {

// The printer's status, while the test's status text is still the decoded reply's: a socket
// error written over it leaves none.
std::optional<PrinterStatus> decodedStatus(const NetworkState &state)
{
    if (!state.bStatusReceived)
        return std::nullopt;
    return state.status;
}

// The test ends on a status only once `SockUt` has connected: in these states.
bool statusCounts(const NetworkState &state)
{
    const QString &testState = state.strTestState;
    return testState == NetworkTest::statePrinting || testState == NetworkTest::stateFerdig ||
           testState == NetworkTest::stateHeltFerdig || testState == NetworkTest::stateError;
}

QString failureText(const SocketHistory::Failure &failure)
{
    return QStringLiteral("port %1: %2 (%3)")
        .arg(failure.port)
        .arg(failure.description)
        .arg(failure.number);
}

// A port the printer accepted and closed again before it said anything.
std::optional<qint32> hungUpPort(const SocketHistory &sockets)
{
    for (auto port = sockets.ports.cbegin(); port != sockets.ports.cend(); ++port) {
        if (port.value().closedByPeer && !port.value().received)
            return port.key();
    }
    return std::nullopt;
}

// The summary, with the decoded status taken into account where statusDecides says so.
CheckSummary summaryOf(const NetworkState &state, const SocketHistory &sockets,
                       const LabelThresholds &thresholds, bool statusDecides)
{
    CheckSummary result;
    const QString &address = state.strPrinterIP;
    const std::optional<PrinterStatus> decoded = decodedStatus(state);
    for (const SocketHistory::Failure &failure : sockets.failures)
        result.details << failureText(failure);

    QString printer;
    if (decoded && statusDecides) {
        result.status = statusOfLetter(decoded->letter);
        printer = decoded->message + QStringLiteral(" (status ") + decoded->letter;
        if (!decoded->labels.isEmpty())
            printer += QStringLiteral(", ") + decoded->labels + QStringLiteral(" etiketter igjen");
        printer += QLatin1Char(')');
    }

    if (!sockets.failures.isEmpty()) {
        result.status = CheckStatus::Critical;
        result.text = address + QStringLiteral(": ") + failureText(sockets.failures.first());
        if (!printer.isEmpty())
            result.text += QStringLiteral("; ") + printer;
    } else if (const std::optional<qint32> port = hungUpPort(sockets); port && printer.isEmpty()) {
        result.status = CheckStatus::Critical;
        result.text = address + QStringLiteral(": port %1 ble lukket av skriveren med en gang, "
                                               "uten svar (i bruk av et annet program?)")
                                    .arg(*port);
    } else if (!printer.isEmpty()) {
        result.text = address + QStringLiteral(": ") + printer;
    } else if (state.intLoops > NetworkTest::intMaxLoops) {
        result.status = CheckStatus::Critical;
        result.text = QStringLiteral("Finner ikke skriver på IP-adresse ") + address;
    } else {
        result.status = CheckStatus::Critical;
        result.text = address + QStringLiteral(": skriveren svarte ikke med status");
    }
    // Labels only from a status that counts.
    applyLabelThresholds(result, printer.isEmpty() ? QString() : decoded->labels, thresholds);
    return result;
}

} // namespace

CheckSummary networkSummary(const NetworkState &state, const SocketHistory &sockets,
                            const LabelThresholds &thresholds)
{
    return summaryOf(state, sockets, thresholds, statusCounts(state));
}

std::optional<CheckSummary> networkFindingSoFar(const NetworkState &state,
                                                const SocketHistory &sockets,
                                                const LabelThresholds &thresholds)
{
    // A status the printer sent is a finding whatever the test's state: should the time run
    // out before the test would end on it, the printer still answered.
    const bool received = decodedStatus(state).has_value();
    if (sockets.failures.isEmpty() && !hungUpPort(sockets) && !received)
        return std::nullopt;
    return summaryOf(state, sockets, thresholds, received);
}
