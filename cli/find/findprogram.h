#ifndef FINDPROGRAM_H
#define FINDPROGRAM_H

#include <QStringList>

#include <cstdio>

// `solvarn-sjekk find`: searches a network range or serial ports for printers and lists them.
// Returns the exit status: 0 a printer answered, 1 none did, 3 a usage error.
// Needs a QCoreApplication.
int runFindProgram(const QStringList &arguments, std::FILE *out, std::FILE *err);

#endif // FINDPROGRAM_H
