#include "networkverdict.h"

#include "networkstate.h"
#include "networktest.h"

#include <QRegularExpression>

namespace {

const QString okPrefix = QStringLiteral("OK: ");
const QString errorPrefix = QStringLiteral("FEIL: ");
constexpr qsizetype labelDigits = 6;

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
    const QString labels = status.mid(cr + 2, labelDigits);
    static const QRegularExpression digits(QStringLiteral("^[0-9]{6}$"));
    if (digits.match(labels).hasMatch())
        result.labels = QString::number(labels.toInt());
    return result;
}

} // namespace

CheckSummary networkSummary(const NetworkState &state, qint64 elapsedMs)
{
    CheckSummary result;
    result.perfData << elapsedPerfData(elapsedMs);
    const QString &address = state.strPrinterIP;
    const bool error = state.strTestState == NetworkTest::stateError;
    const bool notFound = !error && state.intLoops > NetworkTest::intMaxLoops;
    const DecodedStatus decoded = decodedStatus(state);

    if (notFound) {
        result.status = CheckStatus::Critical;
        result.text = QStringLiteral("Finner ikke skriver på IP-adresse ") + address;
        return result;
    }
    if (decoded.valid) {
        result.status = statusOfLetter(decoded.letter);
        if (error)
            result.status = CheckStatus::Critical;
        QString detail = QStringLiteral("status ") + decoded.letter;
        if (!decoded.labels.isEmpty()) {
            detail += QStringLiteral(", ") + decoded.labels + QStringLiteral(" etiketter igjen");
            result.perfData << QStringLiteral("labels=%1;;;0").arg(decoded.labels);
        }
        result.text = address + QStringLiteral(": ") + decoded.message + QStringLiteral(" (") +
                      detail + QLatin1Char(')');
        return result;
    }
    result.status = CheckStatus::Critical;
    if (error && state.strStatus.contains(QLatin1String("FEIL")))
        result.text = address + QStringLiteral(": ") + state.strStatus;
    else
        result.text = address + QStringLiteral(": skriveren svarte ikke med status");
    return result;
}
