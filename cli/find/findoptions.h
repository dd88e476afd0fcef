#ifndef FINDOPTIONS_H
#define FINDOPTIONS_H

#include "csvstyle.h"
#include "optionreader.h"
#include "serialrules.h"

#include <QList>
#include <QString>
#include <QStringList>

#include <chrono>

// What `solvarn-sjekk find` is asked to do, read and checked before anything is sent.
struct FindOptions : CommandLineOptions
{
    enum class Mode { Network, Serial };
    enum class Format { Terminal, Csv, Icinga2 };

    // Addresses tried without --all: a /22; more needs to be meant.
    static constexpr qsizetype largestUnconfirmedRange = 1024;
    // A /16 at most, even when meant.
    static constexpr qsizetype largestConfirmedRange = 65536;
    // Connections held at once; each address takes two.
    static constexpr int defaultParallel = 128;
    static constexpr int largestParallel = 1024;
    static constexpr std::chrono::milliseconds shortestTimeout{100};
    static constexpr std::chrono::milliseconds defaultTimeout{2000};
    static constexpr std::chrono::milliseconds longestTimeout{60000};
    // The window's speed list, the speeds met most often first (the window's own hint names
    // 19200 and 9600), the rest in the window's order.
    static const QList<qint32> serialSpeeds;

    Mode mode = Mode::Network;
    Format format = Format::Terminal;
    CsvStyle csv = CsvStyle::system();
    QList<quint32> addresses;
    // Empty: standard output. Otherwise replaced only when a printer was found.
    QString outputFile;
    int parallel = defaultParallel;
    std::chrono::milliseconds timeout = defaultTimeout;
    // The window's start values until given, corrected as the sweep corrects its fields.
    int comFrom = SerialRules::startComFra;
    int comTo = SerialRules::startComTil;
    int pauseMs = SerialRules::startPause;
    // The range given was corrected to one port.
    bool portsCorrected = false;
};

// Reads the arguments (the program's name first, "find" second).
FindOptions parseFindOptions(const QStringList &arguments);

#endif // FINDOPTIONS_H
