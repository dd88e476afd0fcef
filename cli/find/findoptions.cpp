#include "findoptions.h"

#include "addressrange.h"
#include "csvoptions.h"
#include "serialrangeoptions.h"

#include <QRegularExpression>

#include <optional>

namespace {

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

// A duration as the options write seconds: 0.1, 2, 60.
QString secondsText(std::chrono::milliseconds duration)
{
    return QString::number(double(duration.count()) / 1000);
}

// "0.1 to 60": the seconds --timeout takes.
QString timeoutRangeText()
{
    return secondsText(FindOptions::shortestTimeout) + QStringLiteral(" to ") +
           secondsText(FindOptions::longestTimeout);
}

// Seconds, with up to three decimals (0.5, 2, 1.25).
std::optional<std::chrono::milliseconds> readSeconds(const QString &text)
{
    static const QRegularExpression decimal(QStringLiteral("^[0-9]{1,5}(?:\\.[0-9]{1,3})?$"));
    if (!decimal.match(text).hasMatch())
        return std::nullopt;
    const std::chrono::milliseconds value{qRound64(text.toDouble() * 1000)};
    if (value < FindOptions::shortestTimeout || value > FindOptions::longestTimeout)
        return std::nullopt;
    return value;
}

QList<qint32> mostCommonFirst()
{
    QList<qint32> speeds{SerialRules::startSpeed, 9600, 38400, 2400};
    for (const QString &speed : SerialRules::speeds) {
        if (!speeds.contains(speed.toInt()))
            speeds << speed.toInt();
    }
    return speeds;
}

// Every option of the search, in the order of its help.
struct FindOptionSet
{
    QCommandLineOption help{QStringList{QStringLiteral("h"), QStringLiteral("help")},
                            QStringLiteral("Show this help and end.")};
    QCommandLineOption parallel{
        QStringLiteral("parallel"),
        QStringLiteral("network: connections held at once, two per address (default %1).")
            .arg(FindOptions::defaultParallel),
        QStringLiteral("N")};
    QCommandLineOption timeout{
        QStringList{QStringLiteral("t"), QStringLiteral("timeout")},
        QStringLiteral("network: seconds each address has to answer, %1 (default %2).")
            .arg(timeoutRangeText(), secondsText(FindOptions::defaultTimeout)),
        QStringLiteral("SECONDS")};
    QCommandLineOption all{QStringLiteral("all"),
                           QStringLiteral("network: try a range of more than %1 addresses too.")
                               .arg(FindOptions::largestUnconfirmedRange)};
    QCommandLineOption csv{QStringLiteral("csv"),
                           QStringLiteral("List as CSV: a header line, then one line for "
                                          "each address or port that answered.")};
    QCommandLineOption icinga2{
        QStringLiteral("icinga2"),
        QStringLiteral("network: list the printers as Icinga 2 host objects for "
                       "docs/monitoring.md's commands and services.")};
    QCommandLineOption output{
        QStringLiteral("output"),
        QStringLiteral("Write the list to FILE instead of standard output: through a temporary "
                       "file, and only when a printer was found, so that a search while the "
                       "printers are off leaves the last list as it was."),
        QStringLiteral("FILE")};
    QCommandLineOption serial{
        QStringLiteral("serial"),
        QStringLiteral("Search serial ports instead, at each speed of the window's list.")};
    SerialRangeOptions serialRange;
    CsvOptions csvStyle;

    QList<QCommandLineOption> list() const
    {
        return {help,
                parallel,
                timeout,
                all,
                csv,
                csvStyle.separator,
                csvStyle.byteOrderMark,
                icinga2,
                output,
                serial,
                serialRange.from,
                serialRange.to,
                serialRange.pause};
    }
};

QString findDescription()
{
    return QStringLiteral(
        "Finds label printers: tries every address of a network range with the network\n"
        "check's exchange (ports 1025 and 1024, the status reply), or every serial port\n"
        "of a range at each speed of the window's list with the status enquiry, and\n"
        "lists where a printer answered.\n"
        "Exit status: 0 a printer answered, 1 no printer found, 3 usage error.");
}

// A minus before an address would read as a cluster of one-letter options. An option's own
// value is no address: --from -1 names a port as the check and the window take it.
QString negativeAddressError(const QStringList &arguments, const QList<QCommandLineOption> &options)
{
    QStringList valued;
    for (const QCommandLineOption &option : options) {
        if (option.valueName().isEmpty())
            continue;
        for (const QString &name : option.names())
            valued << (name.size() == 1 ? QStringLiteral("-") : QStringLiteral("--")) + name;
    }
    static const QRegularExpression negativeAddress(QStringLiteral("^-[0-9]"));
    for (qsizetype i = 0; i < arguments.size(); ++i) {
        if (valued.contains(arguments.at(i))) {
            ++i;
            continue;
        }
        if (negativeAddress.match(arguments.at(i)).hasMatch())
            return QStringLiteral("\"%1\" is no option and no address: an address starts "
                                  "with a digit")
                .arg(arguments.at(i));
    }
    return QString();
}

QString readListForm(const OptionReader &reader, const FindOptionSet &set, FindOptions &options)
{
    if (reader.isSet(set.csv) && reader.isSet(set.icinga2))
        return QStringLiteral("--csv and --icinga2 cannot be given together");
    options.format = reader.isSet(set.csv)       ? FindOptions::Format::Csv
                     : reader.isSet(set.icinga2) ? FindOptions::Format::Icinga2
                                                 : FindOptions::Format::Terminal;
    const QString csvError = set.csvStyle.read(reader, reader.isSet(set.csv), options.csv);
    if (!csvError.isEmpty())
        return csvError;
    if (reader.isSet(set.output)) {
        options.outputFile = reader.value(set.output);
        if (options.outputFile.isEmpty() || options.outputFile == QLatin1String("-"))
            return QStringLiteral("--output needs a file name");
    }
    return QString();
}

// The range and pause read and corrected by the check's and the window's rule.
QString readSerialSearch(const OptionReader &reader, const FindOptionSet &set, FindOptions &options)
{
    options.mode = FindOptions::Mode::Serial;
    if (const QCommandLineOption *network =
            reader.firstSet({&set.parallel, &set.timeout, &set.all, &set.icinga2}))
        return QStringLiteral("--%1 is for the network search, not --serial")
            .arg(network->names().constLast());
    if (!reader.positionalArguments().isEmpty())
        return QStringLiteral("find --serial takes no addresses");
    SerialSweepFields fields = startSerialFields();
    const QString error = set.serialRange.read(reader, fields);
    if (!error.isEmpty())
        return error;
    const SerialRange range = correctedSerialRange(fields);
    options.comFrom = range.from;
    options.comTo = range.to;
    options.pauseMs = range.pause;
    options.portsCorrected = range.portsCorrected;
    return QString();
}

QString readNetworkSearch(const OptionReader &reader, const FindOptionSet &set,
                          FindOptions &options)
{
    if (const QCommandLineOption *serialOnly =
            reader.firstSet({&set.serialRange.from, &set.serialRange.to, &set.serialRange.pause}))
        return QStringLiteral("--%1 is for the serial search (find --serial)")
            .arg(serialOnly->names().constLast());
    if (reader.isSet(set.parallel)) {
        const QString text = reader.value(set.parallel);
        const std::optional<int> value = wholeNumber(text, 2, FindOptions::largestParallel);
        if (!value)
            return QStringLiteral("--parallel needs a whole number from 2 to %1 (two "
                                  "connections for each address), not \"%2\"")
                .arg(FindOptions::largestParallel)
                .arg(text);
        options.parallel = *value;
    }
    if (reader.isSet(set.timeout)) {
        const std::optional<std::chrono::milliseconds> value =
            readSeconds(reader.value(set.timeout));
        if (!value)
            return QStringLiteral("--timeout needs seconds from %1, not \"%2\"")
                .arg(timeoutRangeText(), reader.value(set.timeout));
        options.timeout = *value;
    }
    const qsizetype limit = reader.isSet(set.all) ? FindOptions::largestConfirmedRange
                                                  : FindOptions::largestUnconfirmedRange;
    // Read as far as even --all allows, so that a range too large for it says so at once.
    const AddressList list =
        parseAddressList(reader.positionalArguments(), FindOptions::largestConfirmedRange);
    if (!list.error.isEmpty())
        return list.error;
    if (list.addresses.size() > FindOptions::largestConfirmedRange)
        return QStringLiteral("more than %1 addresses: too many to try, even with --all")
            .arg(FindOptions::largestConfirmedRange);
    if (list.addresses.size() > limit)
        return QStringLiteral("more than %1 addresses: give --all to try them all")
            .arg(FindOptions::largestUnconfirmedRange);
    options.addresses = list.addresses;
    return QString();
}

} // namespace

const QList<qint32> FindOptions::serialSpeeds = mostCommonFirst();

FindOptions parseFindOptions(const QStringList &arguments)
{
    FindOptions options;
    const FindOptionSet set;
    OptionReader reader(findDescription(), set.list());
    reader.addPositionalArgument(
        QStringLiteral("ADDRESSES"),
        QStringLiteral("IPv4 addresses: 10.1.2.0/24 (without its network and broadcast "
                       "address), 10.1.2.10-10.1.2.60, 10.1.2.10-60, or a list of these "
                       "separated by commas or blanks."));
    // The usage line with the command's word and both forms.
    options.helpText =
        reader.helpText(QStringLiteral("Usage: solvarn-sjekk find [options] ADDRESSES\n"
                                       "       solvarn-sjekk find --serial [options]"));
    const QString negative = negativeAddressError(arguments.mid(2), set.list());
    if (!negative.isEmpty()) {
        options.conclude(negative);
        return options;
    }
    // The command's word left out: what follows it is read as the check's options are.
    if (!reader.read(arguments.mid(0, 1) + arguments.mid(2), options, set.help))
        return options;
    options.conclude(firstError({
        [&] { return readListForm(reader, set, options); },
        [&] {
            return reader.isSet(set.serial) ? readSerialSearch(reader, set, options)
                                            : readNetworkSearch(reader, set, options);
        },
    }));
    return options;
}
