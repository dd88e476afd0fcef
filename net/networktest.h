#ifndef NETWORKTEST_H
#define NETWORKTEST_H

#include <QLatin1String>
#include <QString>
#include <QtGlobal>

class EventPump;
class LogSink;
class Sleeper;
class SocketControl;
class SocketPair;
class TestHost;
struct NetworkState;
struct RuntimeError;

// The network mode's test: connects the socket pair to the typed address, follows `SockUt`
// through a small state machine for at most 21 quarter-second passes while `SockInn`'s
// handlers decode what the printer sends, and logs the verdict.
//
// Window events run only where the test lets them: at the start of each pass, between the two
// steps after the loop and after the "Ferdig=" line. Socket events and clicks run nested there
// and change the shared variables under the test, which sees it at its next step.
class NetworkTest
{
public:
    static constexpr qint16 intMaxLoops = 20;
    static constexpr qint32 passPauseMs = 250;
    // The longest a test waits: a pause after each pass of the loop, which may run one pass
    // past intMaxLoops, and two pauses after it.
    static constexpr qint32 longestWaitMs = (intMaxLoops + 1 + 2) * passPauseMs;

    static constexpr QLatin1String stateKlikk{"KLIKK"};
    static constexpr QLatin1String statePrint{"PRINT"};
    static constexpr QLatin1String statePrinting{"PRINTING"};
    static constexpr QLatin1String stateFerdig{"FERDIG"};
    static constexpr QLatin1String stateHeltFerdig{"HELTFERDIG"};
    static constexpr QLatin1String stateError{"ERROR"};

    NetworkTest(TestHost &host, SocketControl &sockInn, SocketControl &sockUt,
                SocketPair &socketPair, EventPump &eventPump, Sleeper &sleeper, LogSink &log,
                NetworkState &state);

    // Tests the printer at the address, as read from the field when the test starts.
    void TestNetworkPrinter(const QString &address);
    // One step of the state machine.
    void AdvanceTestState();

    // The verdict line the last test logged ("Printer er online, ...", "Finner ikke skriver ..."
    // or the printer's error); empty while a test runs and where it logged none.
    const QString &verdict() const { return m_verdict; }

private:
    // Runs one step under the test's error trap: an error is logged and the test goes on
    // with the next step.
    template <typename Step> void trapped(Step &&step);
    void logTrappedError(const RuntimeError &error);
    bool loopMayEnd() const;
    void logVerdict(const QString &line);

    TestHost &m_host;
    SocketControl &m_sockInn;
    SocketControl &m_sockUt;
    SocketPair &m_socketPair;
    EventPump &m_eventPump;
    Sleeper &m_sleeper;
    LogSink &m_log;
    NetworkState &m_state;
    QString m_verdict;
};

#endif // NETWORKTEST_H
