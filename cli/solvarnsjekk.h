#ifndef SOLVARNSJEKK_H
#define SOLVARNSJEKK_H

#include "consoleoutput.h"

#include <QStringList>

#include <cstdio>

// solvarn-sjekk's subcommands: `find` searches for printers, anything else is the check of one
// printer (network or serial). Returns the exit status. Needs a QCoreApplication.
int runSolvarnSjekk(const QStringList &arguments, std::FILE *out, std::FILE *err,
                    const ProgramEnd &endProgram = endProcessAtOnce);

#endif // SOLVARNSJEKK_H
