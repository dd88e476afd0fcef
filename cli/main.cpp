#include "runningmarker.h"
#include "solvarnsjekk.h"

#include <QCoreApplication>

#include <cstdio>
#include <cstdlib>

#ifdef Q_OS_UNIX
#include <csignal>
#endif
#ifdef Q_OS_WIN
#include <fcntl.h>
#include <io.h>
#include <windows.h>
#endif

int main(int argc, char *argv[])
{
    const RunningMarker running;
#ifdef Q_OS_UNIX
    // A reader that goes away early (`| head -1`) must not end the check without its status.
    std::signal(SIGPIPE, SIG_IGN);
#endif
#ifdef Q_OS_WIN
    // The same bytes as on other systems in files and pipes: --raw's CR LF must not become
    // CR CR LF. A console gets the text itself (writeWhole); its UTF-8 code page is for what
    // others write on it, Qt's own warnings. It gets its own code page back at the end.
    _setmode(_fileno(stdout), _O_BINARY);
    _setmode(_fileno(stderr), _O_BINARY);
    const UINT consoleCodePage = GetConsoleOutputCP();
    SetConsoleOutputCP(CP_UTF8);
#endif
    QCoreApplication app(argc, argv);
    QCoreApplication::setApplicationName(QStringLiteral("solvarn-sjekk"));
    QCoreApplication::setApplicationVersion(QStringLiteral(SOLVARN_VERSION));
    const int status = runSolvarnSjekk(QCoreApplication::arguments(), stdout, stderr);
#ifdef Q_OS_WIN
    if (consoleCodePage != 0)
        SetConsoleOutputCP(consoleCodePage);
#endif
    // Ends at once: a monitoring engine waits for the process, not for the summary, and an
    // ordinary exit would wait for whatever Qt still runs in the background (a name lookup
    // that hangs holds it for as long as the resolver tries).
    std::fflush(stdout);
    std::fflush(stderr);
    std::_Exit(status);
}
