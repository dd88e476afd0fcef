#include "runningmarker.h"
#include "solvarnsjekk.h"
#include "standardstreams.h"

#include <QCoreApplication>

#include <cstdio>
#include <cstdlib>

int main(int argc, char *argv[])
{
    const RunningMarker running(RunningMarker::Program::Check);
    StandardStreams streams;
    QCoreApplication app(argc, argv);
    QCoreApplication::setApplicationName(QStringLiteral("solvarn-sjekk"));
    QCoreApplication::setApplicationVersion(QStringLiteral(SOLVARN_VERSION));
    const int status = runSolvarnSjekk(QCoreApplication::arguments(), stdout, stderr);
    streams.restore();
    // Ends at once: a monitoring engine waits for the process, not for the summary, and an
    // ordinary exit would wait for whatever Qt still runs in the background (a name lookup
    // that hangs holds it for as long as the resolver tries).
    std::fflush(stdout);
    std::fflush(stderr);
    std::_Exit(status);
}
