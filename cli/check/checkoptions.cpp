#include "checkoptions.h"

#include "fieldnumber.h"
#include "runtimeerror.h"
#include "serialrangeoptions.h"
#include "serialsweep.h"

#include <QCommandLineParser>
#include <QHostAddress>
#include <QRegularExpression>

#include <algorithm>
#include <limits>

namespace {

// Per port of a sweep, beside its pause: opening it and sending the enquiry.
constexpr qint64 perPortAllowanceMs = 500;
constexpr qint64 sweepMarginSeconds = 5;
constexpr qint64 msPerSecond = 1000;
constexpr qint64 longestSpeed = std::numeric_limits<qint32>::max();
// The longest host name a name lookup takes.
constexpr qsizetype longestHostName = 253;

QString checkFieldNumber(const QString &option, const QString &text)
{
    // A field text the window reads as a number rather than as 0 for want of one.
    if (!beginsWithFieldNumber(text))
        return QStringLiteral("--%1 needs a number, not \"%2\"").arg(option, text);
    try {
        readFieldNumber(text);
    } catch (const RuntimeError &) {
        return QStringLiteral("--%1 is out of range (-32768 to 32767): \"%2\"").arg(option, text);
    }
    return QString();
}

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

// Help for the environment, after the options.
// The search that comes before a check, with help of its own.
QString findHelp()
{
    return QStringLiteral("\nFinding a printer (its address, COM port and speed):\n"
                          "  solvarn-sjekk find --help\n");
}

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
    // The fields have been checked: each reads as a 16-bit number. The sweep's corrections:
    qint64 from = readFieldNumber(fields.comFra);
    qint64 to = readFieldNumber(fields.comTil);
    if (from > to || from == 0 || to == 0)
        from = to = 1;
    const qint64 pause = std::clamp(readFieldNumber(fields.pause), SerialSweep::shortestPause,
                                    SerialSweep::longestPause);
    const qint64 sweepMs = (to - from + 1) * (pause + perPortAllowanceMs);
    const qint64 seconds = (sweepMs + msPerSecond - 1) / msPerSecond + sweepMarginSeconds;
    return int(std::clamp(seconds, qint64(CheckOptions::defaultTimeoutSeconds),
                          qint64(CheckOptions::longestTimeoutSeconds)));
}

CheckOptions parseCheckOptions(const QStringList &arguments)
{
    CheckOptions options;
    QCommandLineParser parser;
    parser.setApplicationDescription(QStringLiteral(
        "Checks whether a SATO label printer answers, over the network or on serial\n"
        "ports, and writes the same log as the window \"Solvarn printersjekk\".\n"
        "Exit status: 0 OK, 1 WARNING, 2 CRITICAL, 3 UNKNOWN (as monitoring plugins)."));
    const QCommandLineOption help(
        QStringList{QStringLiteral("h"), QStringLiteral("help")},
        QStringLiteral("Show this help and end (exit status 3, as plugins do)."));
    const QCommandLineOption version(
        QStringList{QStringLiteral("V"), QStringLiteral("version")},
        QStringLiteral("Show the version and end (exit status 3, as plugins do)."));
    const QCommandLineOption hostname(
        QStringList{QStringLiteral("H"), QStringLiteral("hostname")},
        QStringLiteral("network: the printer's address, instead of after \"network\"."),
        QStringLiteral("ADDRESS"));
    const SerialRangeOptions serialRange;
    const QCommandLineOption &from = serialRange.from;
    const QCommandLineOption &to = serialRange.to;
    const QCommandLineOption speed(QStringLiteral("speed"),
                                   QStringLiteral("serial: speed in baud (default 19200)."),
                                   QStringLiteral("N"));
    const QCommandLineOption &pause = serialRange.pause;
    const QCommandLineOption warning(
        QStringList{QStringLiteral("w"), QStringLiteral("warning")},
        QStringLiteral("WARNING when the labels left are outside RANGE (plugin range syntax: "
                       "\"10:\" warns below 10, \"@0:5\" from 0 to 5; empty: none); UNKNOWN "
                       "where the printer sends no count."),
        QStringLiteral("RANGE"));
    const QCommandLineOption critical(
        QStringList{QStringLiteral("c"), QStringLiteral("critical")},
        QStringLiteral("CRITICAL when the labels left are outside RANGE (as --warning)."),
        QStringLiteral("RANGE"));
    const QCommandLineOption raw(
        QStringLiteral("raw"),
        QStringLiteral("Write the log exactly as the window copies it (CR LF); the summary "
                       "line goes to standard error."));
    const QCommandLineOption plugin(
        QStringLiteral("plugin"),
        QStringLiteral("Write the summary line first, then the details (per port, failures), "
                       "for Nagios, Icinga 2, Naemon, Checkmk; nothing on standard error."));
    const QCommandLineOption verbose(
        QStringList{QStringLiteral("v"), QStringLiteral("verbose")},
        QStringLiteral("With --plugin, after the details: once, one line with what was "
                       "checked; twice, also the whole log; three times, also the bytes "
                       "received."));
    const QCommandLineOption timeout(
        QStringList{QStringLiteral("t"), QStringLiteral("timeout")},
        QStringLiteral("End the check after SECONDS, 1 to 86400 (default: network 10; serial "
                       "the sweep's ports times their pause and 0.5 s, plus 5 s, at least 10). "
                       "What was found by then decides, a status the printer sent included "
                       "(-t 1 still reads a ready printer); with nothing found, CRITICAL, or "
                       "STATE for SECONDS:STATE (0 to 3, OK, WARNING, CRITICAL, UNKNOWN)."),
        QStringLiteral("SECONDS"));
    parser.addOptions({help, version, hostname, from, to, speed, pause, warning, critical, raw,
                       plugin, verbose, timeout});
    parser.addPositionalArgument(
        QStringLiteral("check"),
        QStringLiteral("network ADDRESS: test the printer at ADDRESS (ports 1025 and 1024).\n"
                       "serial: send the status enquiry on each COM port of the range."),
        QStringLiteral("network ADDRESS | -H ADDRESS | serial"));
    // The usage line with the program's name, not the path it was started by.
    options.usageLine =
        QStringLiteral("Usage: solvarn-sjekk [options] network ADDRESS | -H ADDRESS | serial");
    QString helpText = parser.helpText();
    helpText.replace(0, helpText.indexOf(QLatin1Char('\n')), options.usageLine);
    options.helpText = helpText + environmentHelp() + findHelp();
    // Read before anything can fail: a usage error under --plugin keeps standard error empty.
    options.plugin = arguments.contains(QStringLiteral("--plugin"));

    const auto fail = [&](const QString &error) {
        options.action = CheckOptions::Action::Error;
        options.error = error;
        return options;
    };

    // An empty value is the option left out: a monitoring engine's unset macro.
    const auto given = [&parser](const QCommandLineOption &option) {
        return parser.isSet(option) && !parser.value(option).trimmed().isEmpty();
    };

    if (!parser.parse(arguments))
        return fail(parser.errorText());
    if (parser.isSet(help)) {
        options.action = CheckOptions::Action::Help;
        return options;
    }
    if (parser.isSet(version)) {
        options.action = CheckOptions::Action::Version;
        return options;
    }

    QStringList positional = parser.positionalArguments();
    if (positional.isEmpty() && parser.isSet(hostname))
        positional << QStringLiteral("network");
    if (positional.isEmpty())
        return fail(QStringLiteral("say what to check: network ADDRESS or serial"));
    const QString command = positional.first();
    if (command == QLatin1String("network")) {
        options.mode = CheckOptions::Mode::Network;
        if (parser.isSet(hostname)) {
            if (positional.size() > 1)
                return fail(QStringLiteral("give the address once: after network or with -H"));
            positional << parser.value(hostname);
        }
        if (positional.size() < 2 || positional.at(1).trimmed().isEmpty())
            return fail(QStringLiteral("network needs the printer's address"));
        if (positional.size() > 2)
            return fail(QStringLiteral("unexpected argument: ") + positional.at(2));
        options.address = positional.at(1);
        if (!isPossibleAddress(options.address))
            return fail(QStringLiteral("\"%1\" is neither an IP address nor a host name")
                            .arg(options.address));
        for (const QCommandLineOption *serialOnly : {&from, &to, &speed, &pause}) {
            if (parser.isSet(*serialOnly))
                return fail(
                    QStringLiteral("--%1 is for serial only").arg(serialOnly->names().first()));
        }
    } else if (command == QLatin1String("serial")) {
        options.mode = CheckOptions::Mode::Serial;
        if (positional.size() > 1)
            return fail(QStringLiteral("unexpected argument: ") + positional.at(1));
        if (parser.isSet(hostname))
            return fail(QStringLiteral("--hostname is for network only"));
    } else {
        return fail(QStringLiteral("unknown check \"%1\": network ADDRESS or serial").arg(command));
    }

    if (given(from))
        options.fields.comFra = parser.value(from);
    if (given(to))
        options.fields.comTil = parser.value(to);
    if (given(pause))
        options.fields.pause = parser.value(pause);
    if (given(speed))
        options.fields.hastighet = parser.value(speed);
    for (const auto &[name, text] : {std::pair{QStringLiteral("from"), options.fields.comFra},
                                     std::pair{QStringLiteral("to"), options.fields.comTil},
                                     std::pair{QStringLiteral("pause"), options.fields.pause}}) {
        const QString error = checkFieldNumber(name, text);
        if (!error.isEmpty())
            return fail(error);
    }
    const QString badSpeed = speedError(options.fields.hastighet);
    if (!badSpeed.isEmpty())
        return fail(badSpeed);

    for (const auto &[option, range] :
         {std::pair{&warning, &options.warning}, std::pair{&critical, &options.critical}}) {
        if (!given(*option))
            continue;
        QString why;
        *range = ThresholdRange::parse(parser.value(*option), &why);
        if (!*range)
            return fail(QStringLiteral("--%1 needs a range such as 10, 10:, ~:10, 10:20 or "
                                       "@10:20, not \"%2\"%3")
                            .arg(option->names().last(), parser.value(*option),
                                 why.isEmpty() ? QString() : QStringLiteral(": ") + why));
    }

    if (options.mode == CheckOptions::Mode::Serial)
        options.timeoutSeconds = serialDefaultTimeoutSeconds(options.fields);
    if (given(timeout)) {
        // SECONDS, SECONDS:STATE or :STATE (the default seconds), as the plugins' -t reads it.
        const QString value = parser.value(timeout);
        const qsizetype colon = value.indexOf(QLatin1Char(':'));
        const QString secondsText = value.left(colon).trimmed();
        if (!secondsText.isEmpty()) {
            bool ok = false;
            const int seconds = secondsText.toInt(&ok);
            if (!ok || seconds < 1 || seconds > CheckOptions::longestTimeoutSeconds)
                return fail(QStringLiteral("--timeout needs whole seconds from 1 to %1, not \"%2\"")
                                .arg(CheckOptions::longestTimeoutSeconds)
                                .arg(secondsText));
            options.timeoutSeconds = seconds;
        }
        if (colon >= 0) {
            const QString stateText = value.mid(colon + 1).trimmed();
            const std::optional<CheckStatus> state = readCheckStatus(stateText);
            if (!state)
                return fail(QStringLiteral("--timeout needs a state after the colon: 0 to 3, OK, "
                                           "WARNING, CRITICAL or UNKNOWN, not \"%1\"")
                                .arg(stateText));
            options.timeoutStatus = *state;
        }
    }
    options.raw = parser.isSet(raw);
    options.plugin = parser.isSet(plugin);
    options.verbosity =
        int(std::min<qsizetype>(parser.optionNames().count(QStringLiteral("v")) +
                                    parser.optionNames().count(QStringLiteral("verbose")),
                                CheckOptions::mostVerbose));
    if (options.raw && options.plugin)
        return fail(QStringLiteral("--raw and --plugin exclude each other"));
    options.action = CheckOptions::Action::Run;
    return options;
}
