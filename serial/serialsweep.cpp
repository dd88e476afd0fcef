#include "serialsweep.h"

#include "commcontrol.h"
#include "datetimetext.h"
#include "fieldnumber.h"
#include "logsink.h"
#include "pausems.h"
#include "runtimeerror.h"
#include "serialrules.h"
#include "statustext.h"

#include <exception>
#include <limits>
#include <new>

namespace {

constexpr qint16 lastPortNumber = std::numeric_limits<qint16>::max();
constexpr char16_t enquiryCode = 5;

// Numbers for failures that do not come from the serial control.
constexpr qint32 outOfMemory = 7;
constexpr qint32 internalError = 51;

// The control's errors that the log names; every other number is logged with its description.
const char *knownErrorLine(qint32 number)
{
    switch (number) {
    case CommControl::comPortInvalid:
        return "  comPortInvalid.";
    case CommControl::comPortNotOpen:
        return "  comPortNotOpen.";
    case CommControl::comNoOpen:
        return "  comNoOpen.";
    case CommControl::comPortAlreadyOpen:
        return "  comPortAlreadyOpen.";
    default:
        return nullptr;
    }
}

// The port counter steps like any 16-bit number: past the last one it overflows.
qint16 nextPort(qint16 port)
{
    if (port == lastPortNumber)
        throw overflowError();
    return static_cast<qint16>(port + 1);
}

// A printer pads its frame with blanks; each piece read loses those at its ends.
QString withoutEdgeBlanks(const QString &piece)
{
    qsizetype first = 0;
    qsizetype end = piece.size();
    while (first < end && piece.at(first) == QLatin1Char(' '))
        ++first;
    while (end > first && piece.at(end - 1) == QLatin1Char(' '))
        --end;
    return piece.mid(first, end - first);
}

// The decimal code of each character, each followed by one blank.
QString byteList(const QString &data)
{
    constexpr qsizetype longestEntry = 4; // "255 "
    QString list;
    list.reserve(data.size() * longestEntry);
    for (const QChar c : data) {
        list += QString::number(c.unicode());
        list += QLatin1Char(' ');
    }
    return list;
}

} // namespace

SerialSweep::SerialSweep(SerialSweepHost &host, CommControl &comPort, Sleeper &sleeper,
                         LogSink &log)
    : m_host(host)
    , m_comPort(comPort)
    , m_sleeper(sleeper)
    , m_log(log)
{
}

template <typename Step> SerialSweep::Outcome SerialSweep::attempt(Step &&step)
{
    try {
        step();
        return Outcome::Done;
    } catch (const RuntimeError &error) {
        return report(error);
    } catch (const std::bad_alloc &) {
        return report(RuntimeError{outOfMemory, QStringLiteral("Out of memory")});
    } catch (const std::exception &) {
        return report(RuntimeError{internalError, QStringLiteral("Internal error")});
    }
}

SerialSweep::Outcome SerialSweep::report(const RuntimeError &error)
{
    const char *known = knownErrorLine(error.number);
    // Why a port was left: the first error met there, unless a named one followed that says
    // more (a port in use, after a settings text it refused); not the port found closed, which
    // only follows from an earlier error.
    if (m_portError == 0 || (known && error.number != CommControl::comPortNotOpen))
        m_portError = error.number;
    try {
        if (known) {
            m_log.AddLogLine(QLatin1String(known));
        } else {
            m_log.AddLogLine(QStringLiteral("  Annen Feil: ") + QString::number(error.number) +
                             QLatin1Char('-') + error.description + QStringLiteral("\r\n"));
        }
    } catch (const std::exception &) {
        // A log that cannot take a line leaves nothing to report with; the sweep goes on.
    }
    return known ? Outcome::KnownError : Outcome::OtherError;
}

void SerialSweep::TestSerialPrinter(const SerialSweepFields &fields)
{
    attempt([&] { m_log.AddLogLine(QStringLiteral("START Serieport ") + currentDateTimeText()); });
    attempt([&] { m_host.setTestRunning(true); });

    qint16 intComFra = 0;
    qint16 intComTil = 0;
    qint16 intPause = 0;
    QString strHastighet;
    SerialSweepPlan plan;
    attempt([&] { intComFra = readFieldNumber(fields.comFra); });
    attempt([&] { intComTil = readFieldNumber(fields.comTil); });
    attempt([&] { strHastighet = fields.hastighet; });
    attempt([&] { intPause = readFieldNumber(fields.pause); });
    attempt([&] {
        if (intPause < SerialRules::shortestPause) {
            intPause = SerialRules::shortestPause;
            plan.pauseCorrected = true;
            m_host.setPauseText(QString::number(SerialRules::shortestPause));
        }
    });
    attempt([&] {
        if (intPause > SerialRules::longestPause) {
            intPause = SerialRules::longestPause;
            plan.pauseCorrected = true;
            m_host.setPauseText(QString::number(SerialRules::longestPause));
        }
    });
    attempt([&] {
        if (!SerialRules::isPortRange(intComFra, intComTil)) {
            intComFra = SerialRules::correctedPort;
            intComTil = SerialRules::correctedPort;
            plan.portsCorrected = true;
            m_host.setComFraText(QString::number(SerialRules::correctedPort));
            m_host.setComTilText(QString::number(SerialRules::correctedPort));
            m_log.AddLogLine(SerialRules::portsCorrectedText());
        }
    });
    attempt([&] {
        m_log.AddLogLine(QString::number(intComFra) + QStringLiteral("  ") +
                         QString::number(intComTil));
    });
    plan.comFra = intComFra;
    plan.comTil = intComTil;
    plan.hastighet = strHastighet;
    plan.pause = intPause;
    attempt([&] { m_host.sweepStarts(plan); });

    attempt([&] { m_comPort.refreshPortList(); });
    closePortLeftOpen();

    const qint16 intLast = intComTil;
    qint16 intPort = intComFra;
    while (intPort <= intLast) {
        tryPort(intPort, strHastighet, intPause);
        attempt([&] { m_host.portDone(); });
        if (attempt([&] { intPort = nextPort(intPort); }) != Outcome::Done)
            break;
    }

    attempt([&] { m_log.AddLogLine(QStringLiteral("SLUTT Serieport ") + currentDateTimeText()); });
    attempt([&] { m_log.AddLogLine(QString()); });
    attempt([&] { m_host.setTestRunning(false); });
}

void SerialSweep::closePortLeftOpen()
{
    // A failing look counts as an open port; a known error here has no port to skip, so the
    // sweep goes on with its first port.
    bool open = true;
    if (attempt([&] { open = m_comPort.PortOpen(); }) == Outcome::KnownError)
        return;
    if (open)
        attempt([&] { m_comPort.setPortOpen(false); });
}

void SerialSweep::tryPort(qint16 intPort, const QString &strHastighet, qint16 intPause)
{
    m_portError = 0;
    m_portReplied = false;
    askPort(intPort, strHastighet, intPause);
    if (!m_portReplied)
        attempt([&] { m_host.portFailed(intPort, m_portError); });
}

void SerialSweep::askPort(qint16 intPort, const QString &strHastighet, qint16 intPause)
{
    // A known error leaves the port where it failed; an other error only skips its own step.
    const auto failed = [](Outcome outcome) { return outcome == Outcome::KnownError; };

    if (failed(attempt([&] {
            m_log.AddLogLine(QStringLiteral("Prøver com") + QString::number(intPort) +
                             QStringLiteral(" ( ") + strHastighet + QStringLiteral(" )"));
        })) ||
        failed(attempt([&] { m_comPort.setSettings(strHastighet + QStringLiteral(",n,8,1")); })) ||
        failed(attempt([&] { m_comPort.setCommPort(intPort); })) ||
        failed(attempt([&] { m_comPort.setPortOpen(true); })))
        return;

    // A failing read counts as a match: the enquiry goes out.
    bool sameNumber = true;
    if (failed(attempt([&] { sameNumber = m_comPort.CommPort() == intPort; })))
        return;
    if (sameNumber) {
        if (failed(attempt([&] { m_comPort.setOutput(QString(QChar(enquiryCode))); })) ||
            failed(attempt([&] { pausems(m_sleeper, intPause); })))
            return;
    } else if (failed(attempt([&] {
                   m_log.AddLogLine(QStringLiteral("  Port <> status. ComControlName.CommPort = ") +
                                    QString::number(m_comPort.CommPort()));
               }))) {
        return;
    }

    QString strData;
    if (failed(collectReply(strData)))
        return;
    m_portReplied = true;
    attempt([&] { m_host.replyReceived(intPort, strData); });

    if (failed(attempt([&] {
            m_log.AddLogLine(QStringLiteral("  Data fra printer =  -->") + strData +
                             QStringLiteral("<--"));
        })) ||
        failed(attempt([&] {
            m_host.statusLineFollows(intPort);
            m_log.AddLogLine(QStringLiteral("  ") + GetStatustext(strData));
        })) ||
        failed(attempt([&] {
            if (!strData.isEmpty())
                m_log.AddLogLine(QStringLiteral("     bytes: -->") + byteList(strData) +
                                 QStringLiteral("<--"));
        })))
        return;
    attempt([&] { m_comPort.setPortOpen(false); });
}

SerialSweep::Outcome SerialSweep::collectReply(QString &strData)
{
    int taken = 0;
    int idlePasses = 0;
    for (;;) {
        // A failing count counts as characters waiting: one read follows.
        bool waiting = true;
        Outcome outcome = attempt([&] { waiting = m_comPort.InBufferCount() > 0; });
        if (outcome == Outcome::KnownError)
            return outcome;
        if (!waiting)
            return Outcome::Done;

        bool tookSome = false;
        outcome = attempt([&] {
            QString piece = m_comPort.Input();
            piece.truncate(replyLimit - taken);
            taken += static_cast<int>(piece.size());
            tookSome = !piece.isEmpty();
            strData += withoutEdgeBlanks(piece);
        });
        if (outcome == Outcome::KnownError)
            return outcome;
        if (taken >= replyLimit)
            return Outcome::Done;
        idlePasses = tookSome ? 0 : idlePasses + 1;
        if (idlePasses >= idlePassLimit)
            return Outcome::Done;
    }
}
