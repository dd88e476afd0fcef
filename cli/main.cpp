#include "checkprogram.h"

#include <QCoreApplication>

#include <cstdio>
#include <cstdlib>

#ifdef Q_OS_UNIX
#include <csignal>
#endif

int main(int argc, char *argv[])
{
#ifdef Q_OS_UNIX
    // A reader that goes away early (`| head -1`) must not end the check without its status.
    std::signal(SIGPIPE, SIG_IGN);
#endif
    QCoreApplication app(argc, argv);
    QCoreApplication::setApplicationName(QStringLiteral("solvarn-sjekk"));
    QCoreApplication::setApplicationVersion(QStringLiteral(SOLVARN_VERSION));
    const int status = runCheckProgram(QCoreApplication::arguments(), stdout, stderr);
    // Ends at once: a monitoring engine waits for the process, not for the summary, and an
    // ordinary exit would wait for whatever Qt still runs in the background (a name lookup
    // that hangs holds it for as long as the resolver tries).
    std::fflush(stdout);
    std::fflush(stderr);
    std::_Exit(status);
}
