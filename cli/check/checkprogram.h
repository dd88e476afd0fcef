#ifndef CHECKPROGRAM_H
#define CHECKPROGRAM_H

#include "consoleoutput.h"

#include <QStringList>

#include <cstdio>

// The command-line check: reads the arguments, runs the network test or the serial sweep with
// the real sockets and ports, writes the log and the summary, and returns the exit status.
// When the time runs out, the watchdog writes the summary and ends the program through
// endProgram; where that returns (a test), the check runs on, writes nothing more, and returns
// that summary's status. Needs a QCoreApplication.
int runCheckProgram(const QStringList &arguments, std::FILE *out, std::FILE *err,
                    const ProgramEnd &endProgram = endProcessAtOnce);

#endif // CHECKPROGRAM_H
