#include "eventlog.h"
#include "exitcodes.h"
#include "signalwatcher.h"
#include "simoptionparser.h"
#include "simulator.h"

#include <QCoreApplication>

#include <cstdio>

namespace {
void print(std::FILE *stream, const QString &text)
{
    std::fputs(text.toLocal8Bit().constData(), stream);
    std::fflush(stream);
}
} // namespace

int main(int argc, char *argv[])
{
    QCoreApplication app(argc, argv);
    QCoreApplication::setApplicationName(QStringLiteral("printer-sim"));

    const ParseOutcome outcome = SimOptionParser::parse(QCoreApplication::arguments());
    if (!outcome.output.isEmpty())
        print(stdout, outcome.output);
    if (!outcome.error.isEmpty()) {
        print(stderr, QStringLiteral("printer-sim: %1\n").arg(outcome.error));
        if (outcome.exitCode == SimExit::UsageError)
            print(stderr, QStringLiteral("Try 'printer-sim --help' for more information.\n"));
    }
    if (!outcome.run)
        return outcome.exitCode;

    // Watching before anything opens, so that a stop asked for during start-up still
    // closes what was opened.
    SignalWatcher signalWatcher;
    EventLog log;
    int exitCode = SimExit::Ok;
    {
        Simulator simulator(outcome.options, &log);
        QString error;
        const int started = simulator.start(&error);
        if (started != SimExit::Ok) {
            print(stderr, QStringLiteral("printer-sim: %1\n").arg(error));
            return started;
        }
        if (!simulator.devicePath().isEmpty())
            print(stdout, simulator.devicePath() + QLatin1Char('\n'));

        QObject::connect(&signalWatcher, &SignalWatcher::stopRequested, &app,
                         [&log](int signalNumber) {
                             log.write(QStringLiteral("printer-sim"),
                                       QStringLiteral("signal %1: stopping").arg(signalNumber));
                             QCoreApplication::exit(SimExit::Ok);
                         });
        QObject::connect(&simulator, &Simulator::finished, &app, &QCoreApplication::exit,
                         Qt::QueuedConnection);
        exitCode = QCoreApplication::exec();
    }
    log.write(QStringLiteral("printer-sim"), QStringLiteral("stopped"));
    return exitCode;
}
