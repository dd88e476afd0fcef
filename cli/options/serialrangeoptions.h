#ifndef SERIALRANGEOPTIONS_H
#define SERIALRANGEOPTIONS_H

#include <QCommandLineOption>

// The serial options that the check and the search share, with one wording and one set of
// defaults (the window's start values) for both --help texts.
struct SerialRangeOptions
{
    QCommandLineOption from{QStringLiteral("from"),
                            QStringLiteral("serial: first COM port (default 1)."),
                            QStringLiteral("N")};
    QCommandLineOption to{QStringLiteral("to"),
                          QStringLiteral("serial: last COM port (default 16)."),
                          QStringLiteral("N")};
    QCommandLineOption pause{
        QStringLiteral("pause"),
        QStringLiteral("serial: pause before the reply is read, 10 to 2000 (default 350)."),
        QStringLiteral("MS")};
};

#endif // SERIALRANGEOPTIONS_H
