#ifndef SIMOPTIONPARSER_H
#define SIMOPTIONPARSER_H

#include "exitcodes.h"
#include "simoptions.h"

#include <QString>
#include <QStringList>

// What the command line asks for: options to run with, or text to show and an exit status.
struct ParseOutcome
{
    SimOptions options;
    bool run = true; // false: write output or error and exit with exitCode
    int exitCode = SimExit::Ok;
    QString output; // for standard output: help or version
    QString error;  // for standard error, without the program name
};

// Reads printer-sim's GNU-style command line (the program name first) and checks it as a
// whole: values in range, options that fit the chosen side, and an address in
// 127.0.0.0/8 unless --allow-non-loopback names the same address.
class SimOptionParser
{
public:
    static ParseOutcome parse(const QStringList &arguments);
    static QString helpText();
    static QString versionText();
};

#endif // SIMOPTIONPARSER_H
