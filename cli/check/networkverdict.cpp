#include "networkverdict.h"

#include "networkstate.h"
#include "networktest.h"
#include "watchedsocketcontrol.h"

namespace {

const QString okPrefix = QStringLiteral("OK: ");
const QString errorPrefix = QStringLiteral("FEIL: ");

struct DecodedStatus
{
    bool valid = false;
    QString message;
    QChar letter;
    QString labels;
};

// A decoded reply reads: the message, one CR and the status field (letter, then the labels
// left); a socket error text also holds a CR, but begins otherwise.
DecodedStatus decodedStatus(const NetworkState &state)
{
    DecodedStatus result;
    const QString &status = state.strStatus;
    const qsizetype cr = status.indexOf(QLatin1Char('\r'));
    if (!state.bStatusReceived || cr < 0 || cr + 1 >= status.size())
        return result;
    QString message = status.left(cr);
    if (message.startsWith(okPrefix))
        message.remove(0, okPrefix.size());
    else if (message.startsWith(errorPrefix))
        message.remove(0, errorPrefix.size());
    else
        return result;
    result.valid = true;
    result.message = message;
    result.letter = status.at(cr + 1);
    result.labels = labelsAfterLetter(status, cr + 1);
    return result;
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
    const DecodedStatus decoded = decodedStatus(state);
    for (const SocketHistory::Failure &failure : sockets.failures)
        result.details << failureText(failure);

    QString printer;
    if (decoded.valid && statusDecides) {
        result.status = statusOfLetter(decoded.letter);
        printer = decoded.message + QStringLiteral(" (status ") + decoded.letter;
        if (!decoded.labels.isEmpty())
            printer += QStringLiteral(", ") + decoded.labels + QStringLiteral(" etiketter igjen");
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
    applyLabelThresholds(result, printer.isEmpty() ? QString() : decoded.labels, thresholds);
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
    const bool received = decodedStatus(state).valid;
    if (sockets.failures.isEmpty() && !hungUpPort(sockets) && !received)
        return std::nullopt;
    return summaryOf(state, sockets, thresholds, received);
}
