#include "checkprogram.h"

#include <QCoreApplication>

#include <cstdio>

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
    return runCheckProgram(QCoreApplication::arguments(), stdout, stderr);
}
