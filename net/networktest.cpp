#include "networktest.h"

#include "datetimetext.h"
#include "eventpump.h"
#include "logsink.h"
#include "networkstate.h"
#include "pausems.h"
#include "runtimeerror.h"
#include "socketcontrol.h"
#include "socketpair.h"
#include "testhost.h"

NetworkTest::NetworkTest(TestHost &host, SocketControl &sockInn, SocketControl &sockUt,
                         SocketPair &socketPair, EventPump &eventPump, Sleeper &sleeper,
                         LogSink &log, NetworkState &state)
    : m_host(host)
    , m_sockInn(sockInn)
    , m_sockUt(sockUt)
    , m_socketPair(socketPair)
    , m_eventPump(eventPump)
    , m_sleeper(sleeper)
    , m_log(log)
    , m_state(state)
{
}

template <typename Step> void NetworkTest::trapped(Step &&step)
{
    try {
        step();
    } catch (const RuntimeError &error) {
        logTrappedError(error);
    }
}

void NetworkTest::logTrappedError(const RuntimeError &error)
{
    if (error.number == RuntimeErrors::ComPortInvalid) {
        m_log.AddLogLine(QStringLiteral("  comPortInvalid."));
        return;
    }
    m_log.AddLogLine(QStringLiteral(" TCP/IP feil: ") + QString::number(error.number) +
                     QLatin1Char('-') + error.description + QStringLiteral("\r\n"));
}

bool NetworkTest::loopMayEnd() const
{
    const QString &state = m_state.strTestState;
    return m_state.bStatusReceived && (state == statePrinting || state == stateFerdig ||
                                       state == stateError || state == stateHeltFerdig);
}

void NetworkTest::logVerdict(const QString &line)
{
    m_log.AddLogLine(line);
    m_verdict = line;
}

void NetworkTest::TestNetworkPrinter(const QString &address)
{
    const auto letEventsRun = [this] { trapped([this] { m_eventPump.processEvents(); }); };
    const auto advance = [this] { trapped([this] { AdvanceTestState(); }); };
    const auto pause = [this] { trapped([this] { pausems(m_sleeper, passPauseMs); }); };

    m_host.setTestRunning(true);
    m_verdict.clear();
    m_log.AddLogLine(QStringLiteral("START Nettverk ") + currentDateTimeText());
    m_state.strPrinterIP = address;
    m_state.strStatus.clear();
    m_state.strConnectIP = m_state.strPrinterIP;
    m_state.strTestState = stateKlikk;
    m_state.bStatusReceived = false;
    m_state.strStatus = QStringLiteral("init!");
    m_state.status.reset();
    bool bFerdig = false;
    qint16 intLoops = 0;
    m_state.intLoops = intLoops;
    m_log.AddLogLine(QStringLiteral("Forsøker å nå skriveren, dette kan ta flere sekunder:"));

    while (!bFerdig) {
        letEventsRun();
        advance();
        pause();
        m_log.AppendLog(QStringLiteral("*"));
        ++intLoops;
        m_state.intLoops = intLoops;
        if (intLoops > intMaxLoops)
            bFerdig = true;
        if (loopMayEnd())
            bFerdig = true;
    }

    if (m_state.strTestState == statePrinting)
        logVerdict(QStringLiteral("Printer er online, og klar til utskrift"));
    pause();
    advance();
    letEventsRun();
    pause();
    advance();
    m_log.AddLogLine(QString());
    m_log.AddLogLine(QStringLiteral("Ferdig=") +
                     (bFerdig ? QStringLiteral("True") : QStringLiteral("False")) +
                     QStringLiteral(" loops=") + QString::number(intLoops));
    letEventsRun();
    if (m_state.strTestState != stateError && intLoops > intMaxLoops) {
        logVerdict(QStringLiteral("Finner ikke skriver på IP-adresse ") + m_state.strPrinterIP +
                   QStringLiteral("\r\n Sjekk at den er koplet til."));
    }
    if (m_state.strTestState == stateError)
        logVerdict(m_state.strStatus);
    m_log.AddLogLine(QStringLiteral("Lukker porter mot IP=") + m_state.strPrinterIP);
    trapped([this] { m_socketPair.CloseSockets(); });
    m_log.AddLogLine(QStringLiteral("SLUTT Nettverk ") + currentDateTimeText());
    m_log.AddLogLine(QString());
    m_host.setTestRunning(false);
}

void NetworkTest::AdvanceTestState()
{
    QString &testState = m_state.strTestState;
    if (m_state.strStatus.contains(QLatin1String("FEIL"))) {
        testState = stateError;
        return;
    }

    if (testState == stateKlikk) {
        // Both are read, whatever the first says.
        const bool utClosed = m_sockUt.State() == SocketControl::sckClosed;
        const bool innClosed = m_sockInn.State() == SocketControl::sckClosed;
        if (utClosed || innClosed) {
            m_socketPair.SettIPData(m_state.strConnectIP);
            return;
        }
        // From here on only `SockUt` counts, read afresh for each comparison.
        if (m_sockUt.State() == SocketControl::sckConnecting)
            return;
        if (m_sockUt.State() == SocketControl::sckConnected) {
            testState = statePrint;
            return;
        }
        if (m_sockUt.State() == SocketControl::sckError)
            testState = stateError;
    } else if (testState == statePrint) {
        if (m_sockUt.State() == SocketControl::sckConnected) {
            testState = statePrinting;
            m_log.AddLogLine(QStringLiteral("Printer er tilkoplet!"));
        }
    } else if (testState == statePrinting) {
        testState = stateFerdig;
    } else if (testState == stateFerdig) {
        testState = stateHeltFerdig;
    }
}
