#ifndef CHECKOPTIONS_H
#define CHECKOPTIONS_H

#include "serialsweephost.h"

#include <QString>
#include <QStringList>

// What the command line asks for, read and checked before any test starts.
struct CheckOptions
{
    enum class Action { Run, Help, Version, Error };
    enum class Mode { Network, Serial };

    static constexpr int defaultTimeoutSeconds = 10;

    Action action = Action::Error;
    Mode mode = Mode::Network;
    QString address;
    // The window's start values.
    SerialSweepFields fields{QStringLiteral("1"), QStringLiteral("16"), QStringLiteral("19200"),
                             QStringLiteral("350")};
    bool raw = false;
    bool plugin = false;
    int timeoutSeconds = defaultTimeoutSeconds;

    QString helpText;
    QString error;
};

// Reads the arguments (the program's name first). Values are checked as far as the window
// would have accepted them: a port or pause field must begin with a number that fits 16 bits
// (blanks anywhere ignored, corrections applied later by the sweep), a speed is digits only,
// an address is not empty.
CheckOptions parseCheckOptions(const QStringList &arguments);

#endif // CHECKOPTIONS_H
