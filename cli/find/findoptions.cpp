#include "findoptions.h"

#include "addressrange.h"
#include "csvoptions.h"
#include "serialrangeoptions.h"
#include "speedlist.h"

#include <QCommandLineParser>
#include <QRegularExpression>

#include <limits>
#include <optional>

namespace {

constexpr int shortestPauseMs = 10;
constexpr int longestPauseMs = 2000;
constexpr int lastComPort = 255;

std::optional<int> wholeNumber(const QString &text, int lowest, int highest)
{
    static const QRegularExpression digits(QStringLiteral("^[0-9]{1,9}$"));
    if (!digits.match(text).hasMatch())
        return std::nullopt;
    const int value = text.toInt();
    if (value < lowest || value > highest)
        return std::nullopt;
    return value;
}

// Seconds, with up to three decimals (0.5, 2, 1.25).
std::optional<std::chrono::milliseconds> readSeconds(const QString &text)
{
    static const QRegularExpression decimal(QStringLiteral("^[0-9]{1,5}(?:\\.[0-9]{1,3})?$"));
    if (!decimal.match(text).hasMatch())
        return std::nullopt;
    const std::chrono::milliseconds value{qRound64(text.toDouble() * 1000)};
    if (value.count() < 100 || value > FindOptions::longestTimeout)
        return std::nullopt;
    return value;
}

QList<qint32> mostCommonFirst()
{
    QList<qint32> speeds{19200, 9600, 38400, 2400};
    for (const QString &speed : serialSpeedList) {
        if (!speeds.contains(speed.toInt()))
            speeds << speed.toInt();
    }
    return speeds;
}

} // namespace

const QList<qint32> FindOptions::serialSpeeds = mostCommonFirst();

FindOptions parseFindOptions(const QStringList &arguments)
{
    FindOptions options;
    QCommandLineParser parser;
    parser.setApplicationDescription(QStringLiteral(
        "Finds label printers: tries every address of a network range with the network\n"
        "check's exchange (ports 1025 and 1024, the status reply), or every serial port\n"
        "of a range at each speed of the window's list with the status enquiry, and\n"
        "lists where a printer answered.\n"
        "Exit status: 0 a printer answered, 1 no printer found, 3 usage error."));
    parser.addPositionalArgument(
        QStringLiteral("ADDRESSES"),
        QStringLiteral("IPv4 addresses: 10.1.2.0/24 (without its network and broadcast "
                       "address), 10.1.2.10-10.1.2.60, 10.1.2.10-60, or a list of these "
                       "separated by commas or blanks."));
    const QCommandLineOption help(QStringList{QStringLiteral("h"), QStringLiteral("help")},
                                  QStringLiteral("Show this help and end."));
    const QCommandLineOption parallel(
        QStringLiteral("parallel"),
        QStringLiteral("network: connections held at once, two per address (default %1).")
            .arg(FindOptions::defaultParallel),
        QStringLiteral("N"));
    const QCommandLineOption timeout(
        QStringList{QStringLiteral("t"), QStringLiteral("timeout")},
        QStringLiteral("network: seconds each address has to answer, 0.1 to 60 (default 2)."),
        QStringLiteral("SECONDS"));
    const QCommandLineOption all(
        QStringLiteral("all"), QStringLiteral("network: try a range of more than %1 addresses too.")
                                   .arg(FindOptions::largestUnconfirmedRange));
    const QCommandLineOption csv(QStringLiteral("csv"),
                                 QStringLiteral("List as CSV: a header line, then one line for "
                                                "each address or port that answered."));
    const QCommandLineOption icinga2(
        QStringLiteral("icinga2"),
        QStringLiteral("network: list the printers as Icinga 2 host objects for "
                       "docs/monitoring.md's commands and services."));
    const QCommandLineOption output(
        QStringLiteral("output"),
        QStringLiteral("Write the list to FILE instead of standard output: through a temporary "
                       "file, and only when a printer was found, so that a search while the "
                       "printers are off leaves the last list as it was."),
        QStringLiteral("FILE"));
    const QCommandLineOption serial(
        QStringLiteral("serial"),
        QStringLiteral("Search serial ports instead, at each speed of the window's list."));
    const SerialRangeOptions serialRange;
    const QCommandLineOption &from = serialRange.from;
    const QCommandLineOption &to = serialRange.to;
    const QCommandLineOption &pause = serialRange.pause;
    const CsvOptions csvStyle;
    parser.addOptions({help, parallel, timeout, all, csv, csvStyle.separator,
                       csvStyle.byteOrderMark, icinga2, output, serial, from, to, pause});
    // The usage line with the command's word and both forms.
    QString helpText = parser.helpText();
    helpText.replace(0, helpText.indexOf(QLatin1Char('\n')),
                     QStringLiteral("Usage: solvarn-sjekk find [options] ADDRESSES\n"
                                    "       solvarn-sjekk find --serial [options]"));
    options.helpText = helpText;

    const auto fail = [&options](const QString &error) {
        options.action = FindOptions::Action::Error;
        options.error = error;
        return options;
    };
    // A minus before an address would read as a cluster of one-letter options.
    static const QRegularExpression negativeAddress(QStringLiteral("^-[0-9]"));
    for (const QString &argument : arguments.mid(2)) {
        if (negativeAddress.match(argument).hasMatch())
            return fail(QStringLiteral("\"%1\" is no option and no address: an address starts "
                                       "with a digit")
                            .arg(argument));
    }
    if (!parser.parse(arguments.mid(0, 1) + arguments.mid(2)))
        return fail(parser.errorText());
    if (parser.isSet(help)) {
        options.action = FindOptions::Action::Help;
        return options;
    }
    if (parser.isSet(csv) && parser.isSet(icinga2))
        return fail(QStringLiteral("--csv and --icinga2 cannot be given together"));
    options.format = parser.isSet(csv)       ? FindOptions::Format::Csv
                     : parser.isSet(icinga2) ? FindOptions::Format::Icinga2
                                             : FindOptions::Format::Terminal;
    const QString csvError = csvStyle.read(parser, parser.isSet(csv), options.csv);
    if (!csvError.isEmpty())
        return fail(csvError);
    if (parser.isSet(output)) {
        options.outputFile = parser.value(output);
        if (options.outputFile.isEmpty() || options.outputFile == QLatin1String("-"))
            return fail(QStringLiteral("--output needs a file name"));
    }

    if (parser.isSet(serial)) {
        options.mode = FindOptions::Mode::Serial;
        for (const QCommandLineOption &network : {parallel, timeout, all, icinga2}) {
            if (parser.isSet(network))
                return fail(QStringLiteral("--%1 is for the network search, not --serial")
                                .arg(network.names().constLast()));
        }
        if (!parser.positionalArguments().isEmpty())
            return fail(QStringLiteral("find --serial takes no addresses"));
        const auto number = [&](const QCommandLineOption &option, int lowest, int highest,
                                int &value) {
            if (!parser.isSet(option))
                return true;
            const std::optional<int> read = wholeNumber(parser.value(option), lowest, highest);
            value = read.value_or(value);
            return read.has_value();
        };
        if (!number(from, 1, lastComPort, options.comFrom) ||
            !number(to, 1, lastComPort, options.comTo) || options.comFrom > options.comTo)
            return fail(QStringLiteral("--from and --to need COM ports from 1 to %1, the first "
                                       "not past the last")
                            .arg(lastComPort));
        if (!number(pause, shortestPauseMs, longestPauseMs, options.pauseMs))
            return fail(QStringLiteral("--pause needs a whole number from %1 to %2")
                            .arg(shortestPauseMs)
                            .arg(longestPauseMs));
        options.action = FindOptions::Action::Run;
        return options;
    }

    for (const QCommandLineOption &serialOnly : {from, to, pause}) {
        if (parser.isSet(serialOnly))
            return fail(QStringLiteral("--%1 is for the serial search (find --serial)")
                            .arg(serialOnly.names().constLast()));
    }
    if (parser.isSet(parallel)) {
        const std::optional<int> value =
            wholeNumber(parser.value(parallel), 2, FindOptions::largestParallel);
        if (!value)
            return fail(QStringLiteral("--parallel needs a whole number from 2 to %1 (two "
                                       "connections for each address), not \"%2\"")
                            .arg(FindOptions::largestParallel)
                            .arg(parser.value(parallel)));
        options.parallel = *value;
    }
    if (parser.isSet(timeout)) {
        const std::optional<std::chrono::milliseconds> value = readSeconds(parser.value(timeout));
        if (!value)
            return fail(QStringLiteral("--timeout needs seconds from 0.1 to 60, not \"%1\"")
                            .arg(parser.value(timeout)));
        options.timeout = *value;
    }
    const qsizetype limit = parser.isSet(all) ? FindOptions::largestConfirmedRange
                                              : FindOptions::largestUnconfirmedRange;
    // Read as far as even --all allows, so that a range too large for it says so at once.
    const AddressList list =
        parseAddressList(parser.positionalArguments(), FindOptions::largestConfirmedRange);
    if (!list.error.isEmpty())
        return fail(list.error);
    if (list.addresses.size() > FindOptions::largestConfirmedRange)
        return fail(QStringLiteral("more than %1 addresses: too many to try, even with --all")
                        .arg(FindOptions::largestConfirmedRange));
    if (list.addresses.size() > limit)
        return fail(QStringLiteral("more than %1 addresses: give --all to try them all")
                        .arg(FindOptions::largestUnconfirmedRange));
    options.addresses = list.addresses;
    options.action = FindOptions::Action::Run;
    return options;
}
