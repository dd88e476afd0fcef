#include "serialfinder.h"

#include "commcontrol.h"
#include "logsink.h"
#include "portfailure.h"
#include "replycodes.h"
#include "runtimeerror.h"
#include "serialcheckhost.h"
#include "serialrules.h"
#include "serialsweep.h"
#include "serialsweephost.h"
#include "statustext.h"

#include <QElapsedTimer>

namespace {

// The sweep's log is not wanted here: what each port answered comes through the host.
class NoLog : public LogSink
{
public:
    void AppendLog(const QString &text) override { Q_UNUSED(text) }
};

class ReplyHost : public SerialSweepHost
{
public:
    void setTestRunning(bool running) override { Q_UNUSED(running) }
    void setComFraText(const QString &text) override { Q_UNUSED(text) }
    void setComTilText(const QString &text) override { Q_UNUSED(text) }
    void setPauseText(const QString &text) override { Q_UNUSED(text) }
    void replyReceived(qint16 port, const QString &reply) override
    {
        Q_UNUSED(port)
        m_reply = reply;
        m_answered = true;
    }
    void portDone() override {}
    void portFailed(qint16 port, qint32 errorNumber) override
    {
        Q_UNUSED(port)
        m_failure = errorNumber;
    }

    bool answered() const { return m_answered; }
    const QString &reply() const { return m_reply; }
    // The control's number for the port's first error, 0 when it was asked.
    qint32 failure() const { return m_failure; }

private:
    QString m_reply;
    bool m_answered = false;
    qint32 m_failure = 0;
};

} // namespace

SerialFinder::SerialFinder(CommControl &comPort, Sleeper &sleeper, int from, int to,
                           QList<qint32> speeds, int pauseMs)
    : m_comPort(comPort)
    , m_sleeper(sleeper)
    , m_from(from)
    , m_to(to)
    , m_speeds(std::move(speeds))
    , m_pauseMs(pauseMs)
{
}

void SerialFinder::portDenied(qint16 port, const QString &device)
{
    m_denied = true;
    m_unusable = SerialCheckHost::deniedText(port, device);
}

void SerialFinder::openFailed(qint16 port, qint32 number, const QString &device)
{
    if (m_denied)
        return;
    // A port that is missing or held is so at every speed; a speed it cannot do is not.
    const PortFailure::Reason reason = PortFailure::reasonOf(number, false);
    if (reason == PortFailure::Reason::InUse || reason == PortFailure::Reason::NoSuchPort)
        m_unusable = PortFailure::told(port, device, reason);
}

void SerialFinder::setStopWhen(std::function<int()> stopWhen)
{
    m_stopWhen = std::move(stopWhen);
}

QString SerialFinder::numberFailure(qint16 port)
{
    try {
        m_comPort.setCommPort(port);
    } catch (const RuntimeError &error) {
        return PortFailure::told(port, QString(), PortFailure::reasonOf(error.number, false));
    }
    return PortFailure::told(port, QString(), PortFailure::Reason::Other);
}

SerialFinder::Attempt SerialFinder::ask(int port, qint32 speed)
{
    ReplyHost host;
    m_unusable.clear();
    m_denied = false;
    NoLog log;
    SerialSweep sweep(host, m_comPort, m_sleeper, log);
    QElapsedTimer clock;
    clock.start();
    // A port 0 alone would be taken for a typing error and corrected to com1: within a range
    // the sweep tries it, and the control says it is none, as it does here.
    if (SerialRules::isPortRange(port, port))
        sweep.TestSerialPrinter({QString::number(port), QString::number(port),
                                 QString::number(speed), QString::number(m_pauseMs)});
    else
        m_unusable = numberFailure(port);
    // A number no port has (com-1) fails before any device is named.
    if (m_unusable.isEmpty() &&
        PortFailure::reasonOf(host.failure(), false) == PortFailure::Reason::NoSuchPort)
        m_unusable = PortFailure::told(port, QString(), PortFailure::Reason::NoSuchPort);
    return Attempt{m_unusable, host.answered(), host.reply(), clock.elapsed()};
}

FindResults SerialFinder::run(const Progress &progress)
{
    FindResults results;
    const int total = (m_to - m_from + 1) * int(m_speeds.size());
    results.total = total;
    const auto stopped = [&] {
        if (m_stopWhen && results.interruptedBy == 0)
            results.interruptedBy = m_stopWhen();
        return results.interruptedBy != 0;
    };
    const auto place = [](int port) {
        FoundPlace found;
        found.where = QStringLiteral("com%1").arg(port);
        return found;
    };
    for (int port = m_from; port <= m_to && !stopped(); ++port) {
        QStringList garbled;
        bool found = false;
        bool unusablePort = false;
        for (const qint32 speed : m_speeds) {
            // A port left half-tried is not counted as silent.
            if (stopped())
                return results;
            const Attempt attempt = ask(port, speed);
            ++results.tried;
            if (!attempt.unusable.isEmpty()) {
                // The same at every speed: the port is named once, with why.
                FoundPlace unusable = place(port);
                unusable.seen = attempt.unusable;
                results.unusable << unusable;
                unusablePort = true;
                if (progress)
                    progress(results, total);
                break;
            }
            // Any letter, known or not, as over the network: a well-formed frame is a printer's.
            const PrinterStatus status = readSerialStatus(attempt.reply);
            if (attempt.answered && status.framed) {
                FoundPlace printer = place(port);
                printer.speed = speed;
                printer.elapsedMs = attempt.elapsedMs;
                printer.letter = status.letter;
                // The frame's control characters have no place in a list.
                printer.text = serialLetterText(status);
                printer.labels = status.labels;
                results.printers << printer;
                found = true;
            } else if (!attempt.reply.isEmpty()) {
                garbled << QStringLiteral("%1: %2").arg(speed).arg(replyCodes(attempt.reply));
            }
            if (progress)
                progress(results, total);
            if (found)
                break;
        }
        if (unusablePort)
            continue;
        if (!found && !garbled.isEmpty()) {
            FoundPlace other = place(port);
            other.seen = QStringLiteral("ingen status; mottatt (tegnkoder) ved ") +
                         garbled.join(QStringLiteral("; "));
            results.others << other;
        } else if (!found) {
            ++results.silent;
        }
    }
    return results;
}
