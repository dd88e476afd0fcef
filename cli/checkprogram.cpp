#include "checkprogram.h"

#include "checkoptions.h"
#include "checksummary.h"
#include "comportnumbering.h"
#include "consoleoutput.h"
#include "networkprinter.h"
#include "networkverdict.h"
#include "qteventpump.h"
#include "serialcheckhost.h"
#include "serialsweep.h"
#include "socketcontrol.h"
#include "stderrmessagebox.h"
#include "systemcommcontrol.h"
#include "systemsocketcontrol.h"
#include "testhost.h"
#include "threadsleeper.h"
#include "watchdog.h"

#include <QCoreApplication>
#include <QDir>
#include <QElapsedTimer>

#include <chrono>
#include <exception>

namespace {

constexpr int unknownExit = static_cast<int>(CheckStatus::Unknown);
constexpr std::chrono::seconds oneSecond{1};
// COM n is the n-th of these device paths instead of the system's n-th serial port, so that a
// simulator's pseudo-terminal can stand for a printer's port. Separated as PATH is: by ':', on
// Windows by ';' (its paths hold ':').
constexpr const char *comPortsVariable = "SOLVARN_COM_PORTS";

class QuietTestHost : public TestHost
{
public:
    void setTestRunning(bool running) override { Q_UNUSED(running) }
};

ComPortNumbering comPortNumbering()
{
    const QString listed = qEnvironmentVariable(comPortsVariable);
    if (listed.isEmpty())
        return systemComPortNumbering();
    // The paths are given in COM order and do not change during the check: nothing to list.
    const QStringList paths = listed.split(QDir::listSeparator(), Qt::SkipEmptyParts);
    return {{}, [paths](qint16 number) { return comPortByDevicePath(paths, number); }};
}

CheckSummary runNetwork(const CheckOptions &options, ConsoleOutput &output,
                        const QElapsedTimer &clock)
{
    ThreadSleeper sleeper;
    QtEventPump eventPump;
    StderrMessageBox messageBox(output);
    const std::unique_ptr<SocketControl> sockInn = createSystemSocketControl();
    const std::unique_ptr<SocketControl> sockUt = createSystemSocketControl();
    NetworkPlatform platform;
    platform.sockInn = sockInn.get();
    platform.sockUt = sockUt.get();
    platform.messageBox = &messageBox;
    platform.eventPump = &eventPump;
    platform.sleeper = &sleeper;
    QuietTestHost host;
    NetworkPrinter printer(host, platform, output);
    printer.TestNetworkPrinter(options.address);
    return networkSummary(printer.state(), clock.elapsed());
}

CheckSummary runSerial(const CheckOptions &options, ConsoleOutput &output,
                       const QElapsedTimer &clock)
{
    ThreadSleeper sleeper;
    const std::unique_ptr<CommControl> comPort = createSystemCommControl(comPortNumbering());
    SerialCheckHost host;
    SerialSweep sweep(host, *comPort, sleeper, output);
    sweep.TestSerialPrinter(options.fields);
    return host.summary(options.fields, clock.elapsed());
}

ConsoleOutput::Mode outputMode(const CheckOptions &options)
{
    if (options.plugin)
        return ConsoleOutput::Mode::SummaryOnly;
    return options.raw ? ConsoleOutput::Mode::Raw : ConsoleOutput::Mode::Terminal;
}

void writeLine(std::FILE *file, const QString &line)
{
    const QByteArray bytes = (line + QLatin1Char('\n')).toUtf8();
    std::fwrite(bytes.constData(), 1, size_t(bytes.size()), file);
    std::fflush(file);
}

} // namespace

int runCheckProgram(const QStringList &arguments, std::FILE *out, std::FILE *err)
{
    QElapsedTimer clock;
    clock.start();
    const CheckOptions options = parseCheckOptions(arguments);
    switch (options.action) {
    case CheckOptions::Action::Help:
        writeLine(out, options.helpText.trimmed());
        return 0;
    case CheckOptions::Action::Version:
        writeLine(out, QCoreApplication::applicationName() + QLatin1Char(' ') +
                           QCoreApplication::applicationVersion());
        return 0;
    case CheckOptions::Action::Error:
        writeLine(err, QCoreApplication::applicationName() + QStringLiteral(": ") + options.error +
                           QStringLiteral(" (see --help)"));
        writeLine(out, CheckSummary{CheckStatus::Unknown, options.error, {}}.line());
        return unknownExit;
    case CheckOptions::Action::Run:
        break;
    }

    ConsoleOutput output(outputMode(options), out, err);
    const Watchdog watchdog(options.timeoutSeconds * oneSecond, [&] {
        const CheckSummary summary{
            CheckStatus::Unknown,
            QStringLiteral("ingen svar innen %1 s (--timeout), kontrollen ble avbrutt")
                .arg(options.timeoutSeconds),
            {elapsedPerfData(clock.elapsed())}};
        output.abortWithSummary(summary.line(), unknownExit);
    });

    CheckSummary summary;
    try {
        summary = options.mode == CheckOptions::Mode::Network ? runNetwork(options, output, clock)
                                                              : runSerial(options, output, clock);
    } catch (const std::exception &failure) {
        summary = CheckSummary{CheckStatus::Unknown,
                               QStringLiteral("internal failure: ") +
                                   QString::fromLocal8Bit(failure.what()),
                               {elapsedPerfData(clock.elapsed())}};
    }
    output.writeSummary(summary.line());
    return static_cast<int>(summary.status);
}
