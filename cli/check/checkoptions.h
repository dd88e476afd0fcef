#ifndef CHECKOPTIONS_H
#define CHECKOPTIONS_H

#include "checkstatus.h"
#include "optionreader.h"
#include "serialrangeoptions.h"
#include "serialsweephost.h"
#include "thresholdrange.h"

#include <QString>
#include <QStringList>

#include <optional>

// What the command line asks for, read and checked before any test starts.
struct CheckOptions : CommandLineOptions
{
    enum class Mode { Network, Serial };

    static constexpr int defaultTimeoutSeconds = 10;
    static constexpr int longestTimeoutSeconds = 24 * 60 * 60;
    // The plugins' highest level of -v; more count as this one.
    static constexpr int mostVerbose = 3;

    Mode mode = Mode::Network;
    QString address;
    // The window's start values until given.
    SerialSweepFields fields = startSerialFields();
    bool raw = false;
    bool plugin = false;
    // -v given once, twice, three times: 1 what was checked, 2 the log, 3 the bytes received.
    int verbosity = 0;
    // Given, or the default: 10 s for the network, what the sweep needs for serial.
    int timeoutSeconds = defaultTimeoutSeconds;
    // The status of a timeout before anything definite was found ("-t 5:UNKNOWN").
    CheckStatus timeoutStatus = CheckStatus::Critical;
    // On the labels left.
    std::optional<ThresholdRange> warning;
    std::optional<ThresholdRange> critical;

    // The help's first line, written after the summary of a usage error.
    QString usageLine;
};

// Reads the arguments (the program's name first). An option with an empty value counts as not
// given, as a monitoring engine passes an unset macro (-w '' is no threshold). Values are checked
// as far as the window would have accepted them: a port or pause field must begin with a number
// that fits 16 bits (blanks anywhere ignored, corrections applied later by the sweep), a speed is
// digits that fit 31 bits; an address must be one that a name lookup could resolve (an IP address
// or a host name), as check_tcp asks.
CheckOptions parseCheckOptions(const QStringList &arguments);

// What a sweep over the fields' range takes when every port answers, with room to spare: each
// port its pause (as the sweep corrects it) and half a second for opening and the enquiry, and
// five seconds more; never less than the network's default.
int serialDefaultTimeoutSeconds(const SerialSweepFields &fields);

// An IP address, or a host name of letters, digits and hyphens between dots.
bool isPossibleAddress(const QString &address);

#endif // CHECKOPTIONS_H
