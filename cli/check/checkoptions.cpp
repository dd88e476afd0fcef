#include "checkoptions.h"

#include "optionreader.h"
#include "serialrangeoptions.h"
#include "serialrules.h"

#include <QHostAddress>
#include <QRegularExpression>

#include <algorithm>
#include <limits>
#include <utility>

namespace {

// Per port of a sweep, beside its pause: opening it and sending the enquiry.
constexpr qint64 perPortAllowanceMs = 500;
constexpr qint64 sweepMarginSeconds = 5;
constexpr qint64 msPerSecond = 1000;
constexpr qint64 longestSpeed = std::numeric_limits<qint32>::max();
// The longest host name a name lookup takes.
constexpr qsizetype longestHostName = 253;

QString speedError(const QString &text)
{
    static const QRegularExpression digits(QStringLiteral("^[0-9]+$"));
    bool fits = false;
    const qint64 speed = text.toLongLong(&fits);
    if (digits.match(text).hasMatch() && fits && speed >= 1 && speed <= longestSpeed)
        return QString();
    return QStringLiteral("--speed needs a whole number from 1 to %1, not \"%2\"")
        .arg(longestSpeed)
        .arg(text);
}

// The search that comes before a check, with help of its own.
QString findHelp()
{
    return QStringLiteral("\nFinding a printer (its address, COM port and speed):\n"
                          "  solvarn-sjekk find --help\n");
}

// Help for the environment, after the options.
QString environmentHelp()
{
    return QStringLiteral(
        "\nEnvironment:\n"
        "  SOLVARN_COM_PORTS         serial: device paths, separated by colons\n"
        "                            (semicolons on Windows), that stand for COM1,\n"
        "                            COM2, ... in the order given, instead of the\n"
        "                            system's serial ports (for instance\n"
        "                            printer-sim's pseudo-terminal).\n");
}

// Every option of the check, in the order of its help.
struct CheckOptionSet
{
    QCommandLineOption help{
        QStringList{QStringLiteral("h"), QStringLiteral("help")},
        QStringLiteral("Show this help and end (exit status 3, as plugins do).")};
    QCommandLineOption version{
        QStringList{QStringLiteral("V"), QStringLiteral("version")},
        QStringLiteral("Show the version and end (exit status 3, as plugins do).")};
    QCommandLineOption hostname{
        QStringList{QStringLiteral("H"), QStringLiteral("hostname")},
        QStringLiteral("network: the printer's address, instead of after \"network\"."),
        QStringLiteral("ADDRESS")};
    SerialRangeOptions serialRange;
    QCommandLineOption speed{
        QStringLiteral("speed"),
        QStringLiteral("serial: speed in baud (default %1).").arg(SerialRules::startSpeed),
        QStringLiteral("N")};
    QCommandLineOption warning{
        QStringList{QStringLiteral("w"), QStringLiteral("warning")},
        QStringLiteral("WARNING when the labels left are outside RANGE (plugin range syntax: "
                       "\"10:\" warns below 10, \"@0:5\" from 0 to 5; empty: none); UNKNOWN "
                       "where the printer sends no count."),
        QStringLiteral("RANGE")};
    QCommandLineOption critical{
        QStringList{QStringLiteral("c"), QStringLiteral("critical")},
        QStringLiteral("CRITICAL when the labels left are outside RANGE (as --warning)."),
        QStringLiteral("RANGE")};
    QCommandLineOption raw{
        QStringLiteral("raw"),
        QStringLiteral("Write the log exactly as the window copies it (CR LF); the summary "
                       "line goes to standard error.")};
    QCommandLineOption plugin{
        QStringLiteral("plugin"),
        QStringLiteral("Write the summary line first, then the details (per port, failures), "
                       "for Nagios, Icinga 2, Naemon, Checkmk; nothing on standard error.")};
    QCommandLineOption verbose{
        QStringList{QStringLiteral("v"), QStringLiteral("verbose")},
        QStringLiteral("With --plugin, after the details: once, one line with what was "
                       "checked; twice, also the whole log; three times, also the bytes "
                       "received.")};
    QCommandLineOption timeout{
        QStringList{QStringLiteral("t"), QStringLiteral("timeout")},
        QStringLiteral("End the check after SECONDS, 1 to %1 (default: network %2; serial "
                       "the sweep's ports times their pause and 0.5 s, plus 5 s, at least %2). "
                       "What was found by then decides, a status the printer sent included "
                       "(-t 1 still reads a ready printer); with nothing found, CRITICAL, or "
                       "STATE for SECONDS:STATE (0 to 3, OK, WARNING, CRITICAL, UNKNOWN).")
            .arg(CheckOptions::longestTimeoutSeconds)
            .arg(CheckOptions::defaultTimeoutSeconds),
        QStringLiteral("SECONDS")};

    QList<QCommandLineOption> all() const
    {
        return {help,   version,           hostname, serialRange.from, serialRange.to,
                speed,  serialRange.pause, warning,  critical,         raw,
                plugin, verbose,           timeout};
    }
};

QString checkDescription()
{
    return QStringLiteral(
        "Checks whether a SATO label printer answers, over the network or on serial\n"
        "ports, and writes the same log as the window \"Solvarn printersjekk\".\n"
        "Exit status: 0 OK, 1 WARNING, 2 CRITICAL, 3 UNKNOWN (as monitoring plugins).");
}

// network ADDRESS, -H ADDRESS, or serial, with no option of the other.
QString readCheckedPrinter(const OptionReader &reader, const CheckOptionSet &set,
                           CheckOptions &options)
{
    QStringList positional = reader.positionalArguments();
    if (positional.isEmpty() && reader.isSet(set.hostname))
        positional << QStringLiteral("network");
    if (positional.isEmpty())
        return QStringLiteral("say what to check: network ADDRESS or serial");
    const QString command = positional.first();
    if (command == QLatin1String("serial")) {
        options.mode = CheckOptions::Mode::Serial;
        if (positional.size() > 1)
            return QStringLiteral("unexpected argument: ") + positional.at(1);
        if (reader.isSet(set.hostname))
            return QStringLiteral("--hostname is for network only");
        return QString();
    }
    if (command != QLatin1String("network"))
        return QStringLiteral("unknown check \"%1\": network ADDRESS or serial").arg(command);
    options.mode = CheckOptions::Mode::Network;
    if (reader.isSet(set.hostname)) {
        if (positional.size() > 1)
            return QStringLiteral("give the address once: after network or with -H");
        positional << reader.value(set.hostname);
    }
    if (positional.size() < 2 || positional.at(1).trimmed().isEmpty())
        return QStringLiteral("network needs the printer's address");
    if (positional.size() > 2)
        return QStringLiteral("unexpected argument: ") + positional.at(2);
    options.address = positional.at(1);
    if (!isPossibleAddress(options.address))
        return QStringLiteral("\"%1\" is neither an IP address nor a host name")
            .arg(options.address);
    if (const QCommandLineOption *serialOnly = reader.firstSet(
            {&set.serialRange.from, &set.serialRange.to, &set.speed, &set.serialRange.pause}))
        return QStringLiteral("--%1 is for serial only").arg(serialOnly->names().first());
    return QString();
}

// The sweep's fields, read as the window reads them; the speed as the serial control takes it.
QString readSerialFields(const OptionReader &reader, const CheckOptionSet &set,
                         CheckOptions &options)
{
    if (reader.given(set.speed))
        options.fields.hastighet = reader.value(set.speed);
    const QString error = set.serialRange.read(reader, options.fields);
    return error.isEmpty() ? speedError(options.fields.hastighet) : error;
}

QString readThresholds(const OptionReader &reader, const CheckOptionSet &set, CheckOptions &options)
{
    for (const auto &[option, range] :
         {std::pair{&set.warning, &options.warning}, std::pair{&set.critical, &options.critical}}) {
        if (!reader.given(*option))
            continue;
        QString why;
        *range = ThresholdRange::parse(reader.value(*option), &why);
        if (!*range)
            return QStringLiteral("--%1 needs a range such as 10, 10:, ~:10, 10:20 or "
                                  "@10:20, not \"%2\"%3")
                .arg(option->names().last(), reader.value(*option),
                     why.isEmpty() ? QString() : QStringLiteral(": ") + why);
    }
    return QString();
}

// SECONDS, SECONDS:STATE or :STATE (the default seconds), as the plugins' -t reads it.
QString readTimeout(const OptionReader &reader, const CheckOptionSet &set, CheckOptions &options)
{
    if (options.mode == CheckOptions::Mode::Serial)
        options.timeoutSeconds = serialDefaultTimeoutSeconds(options.fields);
    if (!reader.given(set.timeout))
        return QString();
    const QString value = reader.value(set.timeout);
    const qsizetype colon = value.indexOf(QLatin1Char(':'));
    const QString secondsText = value.left(colon).trimmed();
    if (!secondsText.isEmpty()) {
        bool ok = false;
        const int seconds = secondsText.toInt(&ok);
        if (!ok || seconds < 1 || seconds > CheckOptions::longestTimeoutSeconds)
            return QStringLiteral("--timeout needs whole seconds from 1 to %1, not \"%2\"")
                .arg(CheckOptions::longestTimeoutSeconds)
                .arg(secondsText);
        options.timeoutSeconds = seconds;
    }
    if (colon < 0)
        return QString();
    const QString stateText = value.mid(colon + 1).trimmed();
    const std::optional<CheckStatus> state = readCheckStatus(stateText);
    if (!state)
        return QStringLiteral("--timeout needs a state after the colon: 0 to 3, OK, WARNING, "
                              "CRITICAL or UNKNOWN, not \"%1\"")
            .arg(stateText);
    options.timeoutStatus = *state;
    return QString();
}

QString readOutputForm(const OptionReader &reader, const CheckOptionSet &set, CheckOptions &options)
{
    options.raw = reader.isSet(set.raw);
    options.plugin = reader.isSet(set.plugin);
    options.verbosity = std::min(reader.count(set.verbose), CheckOptions::mostVerbose);
    if (options.raw && options.plugin)
        return QStringLiteral("--raw and --plugin exclude each other");
    return QString();
}

} // namespace

bool isPossibleAddress(const QString &address)
{
    if (QHostAddress().setAddress(address))
        return true;
    // Labels of letters, digits and hyphens (not at either end), each up to 63 long.
    static const QRegularExpression hostName(
        QStringLiteral("^[A-Za-z0-9](?:[A-Za-z0-9-]{0,61}[A-Za-z0-9])?"
                       "(?:\\.[A-Za-z0-9](?:[A-Za-z0-9-]{0,61}[A-Za-z0-9])?)*\\.?$"));
    // Digits and dots alone are an IPv4 address or nothing ("999.1.2.3").
    static const QRegularExpression numeric(QStringLiteral("^[0-9.]+$"));
    return address.size() <= longestHostName && hostName.match(address).hasMatch() &&
           !numeric.match(address).hasMatch();
}

int serialDefaultTimeoutSeconds(const SerialSweepFields &fields)
{
    // The fields have been checked: each reads as a 16-bit number.
    const SerialRange range = correctedSerialRange(fields);
    const qint64 sweepMs = (qint64(range.to) - range.from + 1) * (range.pause + perPortAllowanceMs);
    const qint64 seconds = (sweepMs + msPerSecond - 1) / msPerSecond + sweepMarginSeconds;
    return int(std::clamp(seconds, qint64(CheckOptions::defaultTimeoutSeconds),
                          qint64(CheckOptions::longestTimeoutSeconds)));
}

CheckOptions parseCheckOptions(const QStringList &arguments)
{
    CheckOptions options;
    const CheckOptionSet set;
    OptionReader reader(checkDescription(), set.all());
    reader.addPositionalArgument(
        QStringLiteral("check"),
        QStringLiteral("network ADDRESS: test the printer at ADDRESS (ports 1025 and 1024).\n"
                       "serial: send the status enquiry on each COM port of the range."),
        QStringLiteral("network ADDRESS | -H ADDRESS | serial"));
    options.usageLine =
        QStringLiteral("Usage: solvarn-sjekk [options] network ADDRESS | -H ADDRESS | serial");
    options.helpText = reader.helpText(options.usageLine) + environmentHelp() + findHelp();
    // Read before anything can fail: a usage error under --plugin keeps standard error empty.
    options.plugin = arguments.contains(QStringLiteral("--plugin"));
    if (!reader.read(arguments, options, set.help, &set.version))
        return options;
    options.conclude(firstError({
        [&] { return readCheckedPrinter(reader, set, options); },
        [&] { return readSerialFields(reader, set, options); },
        [&] { return readThresholds(reader, set, options); },
        [&] { return readTimeout(reader, set, options); },
        [&] { return readOutputForm(reader, set, options); },
    }));
    return options;
}
