#ifndef CHECKPROGRAM_H
#define CHECKPROGRAM_H

#include <QStringList>

#include <cstdio>

// The command-line check: reads the arguments, runs the network test or the serial sweep with
// the real sockets and ports, writes the log and the summary, and returns the exit status.
// Needs a QCoreApplication.
int runCheckProgram(const QStringList &arguments, std::FILE *out, std::FILE *err);

#endif // CHECKPROGRAM_H
