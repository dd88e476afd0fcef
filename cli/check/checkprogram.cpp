#include "checkprogram.h"

#include "checkoptions.h"
#include "checkpointsleeper.h"
#include "checksummary.h"
#include "comportsetting.h"
#include "consoleoutput.h"
#include "consolewrite.h"
#include "findingsofar.h"
#include "networkprinter.h"
#include "networkverdict.h"
#include "onrequestenquiry.h"
#include "qteventpump.h"
#include "serialcheckhost.h"
#include "serialrangeoptions.h"
#include "serialsweep.h"
#include "socketcontrol.h"
#include "stderrmessagebox.h"
#include "systemcommcontrol.h"
#include "systemsocketcontrol.h"
#include "testhost.h"
#include "threadsleeper.h"
#include "watchdog.h"
#include "watchedcommcontrol.h"
#include "watchedsocketcontrol.h"

#include <QCoreApplication>
#include <QElapsedTimer>

#include <atomic>
#include <chrono>
#include <exception>

namespace {

constexpr int unknownExit = static_cast<int>(CheckStatus::Unknown);
constexpr std::chrono::seconds oneSecond{1};

class QuietTestHost : public TestHost
{
public:
    void setTestRunning(bool running) override { Q_UNUSED(running) }
};

// In plugin mode, Qt's own warnings join the long output instead of standard error, which a
// monitoring engine would put in front of the summary. Restores the previous handler.
class QuietQtMessages
{
public:
    explicit QuietQtMessages(ConsoleOutput *output)
    {
        if (!output)
            return;
        s_output = output;
        // Qt may log from its own threads (a name lookup's) while the handler goes.
        m_previous = qInstallMessageHandler(
            [](QtMsgType, const QMessageLogContext &, const QString &message) {
                if (ConsoleOutput *output = s_output.load())
                    output->writeError(message);
            });
        m_installed = true;
    }
    ~QuietQtMessages()
    {
        if (m_installed) {
            qInstallMessageHandler(m_previous);
            s_output = nullptr;
        }
    }
    QuietQtMessages(const QuietQtMessages &) = delete;
    QuietQtMessages &operator=(const QuietQtMessages &) = delete;

private:
    static inline std::atomic<ConsoleOutput *> s_output{nullptr};
    QtMessageHandler m_previous = nullptr;
    bool m_installed = false;
};

LabelThresholds thresholds(const CheckOptions &options)
{
    return {options.warning, options.critical};
}

// For the plugin's long output at -v: what was checked, with which limits; a serial range and
// pause as the sweep corrects them, since that is what is checked, not what was typed.
QString checkedLine(const CheckOptions &options)
{
    const SerialRange swept = correctedSerialRange(options.fields);
    QString line =
        options.mode == CheckOptions::Mode::Network
            ? QStringLiteral("kontroll: nettverk %1, port 1025 og 1024").arg(options.address)
            : QStringLiteral("kontroll: serie com %1 til %2, %3 baud, pause %4 ms")
                  .arg(QString::number(swept.from), QString::number(swept.to),
                       options.fields.hastighet, QString::number(swept.pause));
    line += QStringLiteral(", --timeout %1 s").arg(options.timeoutSeconds);
    if (options.warning)
        line += QStringLiteral(", --warning ") + options.warning->text();
    if (options.critical)
        line += QStringLiteral(", --critical ") + options.critical->text();
    return line;
}

// Everything one check holds lives in here and goes with it: a second check starts afresh.
CheckSummary runNetwork(const CheckOptions &options, ConsoleOutput &output, FindingSoFar &found,
                        const QElapsedTimer &clock)
{
    ThreadSleeper threadSleeper;
    CheckpointSleeper sleeper(threadSleeper);
    QtEventPump eventPump;
    StderrMessageBox messageBox(output);
    const std::unique_ptr<SocketControl> systemInn = createSystemSocketControl();
    const std::unique_ptr<SocketControl> systemUt = createSystemSocketControl();
    SocketHistory history;
    WatchedSocketControl sockInn(*systemInn, history);
    WatchedSocketControl sockUt(*systemUt, history);
    const auto received = [&output, &clock](qint32 port, const QString &data) {
        output.received(QStringLiteral("port %1").arg(port), data, clock.elapsed());
    };
    sockInn.setReceivedHandler(received);
    sockUt.setReceivedHandler(received);
    NetworkPlatform platform;
    platform.sockInn = &sockInn;
    platform.sockUt = &sockUt;
    platform.messageBox = &messageBox;
    platform.eventPump = &eventPump;
    platform.sleeper = &sleeper;
    QuietTestHost host;
    NetworkPrinter printer(host, platform, output);
    OnRequestEnquiry enquiry(*systemInn, *systemUt, history);
    sleeper.setCheckpoint([&] {
        enquiry.offer(printer.state().intLoops);
        found.offer(networkFindingSoFar(printer.state(), history, thresholds(options)));
    });
    printer.TestNetworkPrinter(options.address);
    CheckSummary summary = networkSummary(printer.state(), history, thresholds(options));
    if (enquiry.answered())
        summary.details << OnRequestEnquiry::note();
    return summary;
}

CheckSummary runSerial(const CheckOptions &options, ConsoleOutput &output, FindingSoFar &found,
                       const QElapsedTimer &clock)
{
    ThreadSleeper sleeper;
    const ComPortNumbering numbering = configuredComPortNumbering();
    const std::unique_ptr<CommControl> systemPort = createSystemCommControl(numbering);
    SerialCheckHost host;
    WatchedCommControl comPort(
        *systemPort, numbering.resolve,
        [&host](qint16 port, const QString &device) { host.portDenied(port, device); });
    comPort.setOpenFailedHandler([&host, &numbering](qint16 port, qint32 number) {
        host.openFailed(port, number, numbering.resolve ? numbering.resolve(port) : QString());
    });
    comPort.setReceivedHandler([&output, &clock](qint16 port, const QString &data) {
        output.received(QStringLiteral("com%1").arg(port), data, clock.elapsed());
    });
    host.setPortDoneHandler(
        [&] { found.offer(host.findingSoFar(options.fields, thresholds(options))); });
    SerialSweep sweep(host, comPort, sleeper, output);
    sweep.TestSerialPrinter(options.fields);
    return host.summary(options.fields, thresholds(options));
}

// The summary when the time runs out before anything definite was found: the status that -t
// gives (CRITICAL by default, as the plugins' network checks have a timeout), saying so.
CheckSummary timeoutSummary(const CheckOptions &options)
{
    const QString text =
        options.mode == CheckOptions::Mode::Network
            ? options.address + QStringLiteral(": tidsavbrudd, ingen status fra skriveren")
            : QStringLiteral("tidsavbrudd, ingen serieport svarte");
    return CheckSummary{options.timeoutStatus, text + cutShortNote(options.timeoutSeconds), {}, {}};
}

ConsoleOutput::Mode outputMode(const CheckOptions &options)
{
    if (options.plugin)
        return ConsoleOutput::Mode::Plugin;
    return options.raw ? ConsoleOutput::Mode::Raw : ConsoleOutput::Mode::Terminal;
}

void writeLine(std::FILE *file, const QString &line)
{
    writeWhole(file, line + QLatin1Char('\n'));
}

} // namespace

int runCheckProgram(const QStringList &arguments, std::FILE *out, std::FILE *err,
                    const ProgramEnd &endProgram)
{
    QElapsedTimer clock;
    clock.start();
    const CheckOptions options = parseCheckOptions(arguments);
    // Help and version end with UNKNOWN, as plugins do: no check was made.
    switch (options.action) {
    case CheckOptions::Action::Help:
        writeLine(out, options.helpText.trimmed());
        return unknownExit;
    case CheckOptions::Action::Version:
        writeLine(out, QCoreApplication::applicationName() + QLatin1Char(' ') +
                           QCoreApplication::applicationVersion());
        return unknownExit;
    case CheckOptions::Action::Error:
        if (!options.plugin) {
            writeLine(err, QCoreApplication::applicationName() + QStringLiteral(": ") +
                               options.error + QStringLiteral(" (see --help)"));
        }
        writeLine(out, CheckSummary{CheckStatus::Unknown, options.error, {}, {}}.line());
        writeLine(out, options.usageLine);
        return unknownExit;
    case CheckOptions::Action::Run:
        break;
    }

    ConsoleOutput output(outputMode(options), options.verbosity, out, err, endProgram);
    output.setCheckedLine(checkedLine(options));
    const QuietQtMessages quiet(options.plugin ? &output : nullptr);
    // What was found before the time ran out is the outcome; the timeout's status only where
    // nothing was.
    FindingSoFar found;
    const Watchdog watchdog(options.timeoutSeconds * oneSecond, [&] {
        const std::optional<CheckSummary> cutShort = found.cutShort(options.timeoutSeconds);
        const CheckSummary summary = cutShort ? *cutShort : timeoutSummary(options);
        output.abortWithSummary(timedSummary(summary, clock.elapsed(), options.timeoutSeconds));
    });

    CheckSummary summary;
    try {
        summary = options.mode == CheckOptions::Mode::Network
                      ? runNetwork(options, output, found, clock)
                      : runSerial(options, output, found, clock);
    } catch (const std::exception &failure) {
        summary = CheckSummary{CheckStatus::Unknown,
                               QStringLiteral("internal failure: ") +
                                   QString::fromLocal8Bit(failure.what()),
                               {},
                               {}};
    }
    output.writeSummary(timedSummary(summary, clock.elapsed(), options.timeoutSeconds));
    return output.exitStatus();
}
