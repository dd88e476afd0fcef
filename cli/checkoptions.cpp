#include "checkoptions.h"

#include "fieldnumber.h"
#include "runtimeerror.h"

#include <QCommandLineParser>
#include <QRegularExpression>

namespace {

constexpr int longestTimeoutSeconds = 24 * 60 * 60;

// A field text the window reads as a number rather than as 0 for want of one.
bool beginsWithNumber(const QString &text)
{
    QString packed = text;
    packed.remove(QRegularExpression(QStringLiteral("[ \\t\\n]")));
    static const QRegularExpression number(QStringLiteral("^[+-]?([0-9]|\\.[0-9])"));
    return number.match(packed).hasMatch();
}

QString checkFieldNumber(const QString &option, const QString &text)
{
    if (!beginsWithNumber(text))
        return QStringLiteral("--%1 needs a number, not \"%2\"").arg(option, text);
    try {
        readFieldNumber(text);
    } catch (const RuntimeError &) {
        return QStringLiteral("--%1 is out of range (-32768 to 32767): \"%2\"").arg(option, text);
    }
    return QString();
}

} // namespace

CheckOptions parseCheckOptions(const QStringList &arguments)
{
    CheckOptions options;
    QCommandLineParser parser;
    parser.setApplicationDescription(QStringLiteral(
        "Checks whether a SATO label printer answers, over the network or on serial ports,\n"
        "and writes the same log as the window \"Solvarn printersjekk\".\n"
        "Exit status: 0 OK, 1 WARNING, 2 CRITICAL, 3 UNKNOWN (monitoring plugin convention)."));
    const QCommandLineOption help(QStringList{QStringLiteral("h"), QStringLiteral("help")},
                                  QStringLiteral("Show this help and end."));
    const QCommandLineOption version(QStringLiteral("version"),
                                     QStringLiteral("Show the version and end."));
    const QCommandLineOption from(QStringLiteral("from"),
                                  QStringLiteral("serial: first COM port (default 1)."),
                                  QStringLiteral("N"));
    const QCommandLineOption to(QStringLiteral("to"),
                                QStringLiteral("serial: last COM port (default 16)."),
                                QStringLiteral("N"));
    const QCommandLineOption speed(QStringLiteral("speed"),
                                   QStringLiteral("serial: speed in baud (default 19200)."),
                                   QStringLiteral("N"));
    const QCommandLineOption pause(
        QStringLiteral("pause"),
        QStringLiteral("serial: pause before the reply is read, 10 to 2000 (default 350)."),
        QStringLiteral("MS"));
    const QCommandLineOption raw(
        QStringLiteral("raw"),
        QStringLiteral("Write the log exactly as the window copies it (CR LF); the summary "
                       "line goes to standard error."));
    const QCommandLineOption plugin(
        QStringLiteral("plugin"),
        QStringLiteral("Write only the summary line, for Nagios, Icinga 2, Naemon, Checkmk."));
    const QCommandLineOption timeout(
        QStringLiteral("timeout"),
        QStringLiteral("End the check with UNKNOWN after this many seconds (default 10)."),
        QStringLiteral("SECONDS"));
    parser.addOptions({help, version, from, to, speed, pause, raw, plugin, timeout});
    parser.addPositionalArgument(
        QStringLiteral("check"),
        QStringLiteral("network ADDRESS: test the printer at ADDRESS (ports 1025 and 1024).\n"
                       "serial: send the status enquiry on each COM port of the range."),
        QStringLiteral("network ADDRESS | serial"));
    options.helpText = parser.helpText();

    const auto fail = [&](const QString &error) {
        options.action = CheckOptions::Action::Error;
        options.error = error;
        return options;
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

    const QStringList positional = parser.positionalArguments();
    if (positional.isEmpty())
        return fail(QStringLiteral("say what to check: network ADDRESS or serial"));
    const QString command = positional.first();
    if (command == QLatin1String("network")) {
        options.mode = CheckOptions::Mode::Network;
        if (positional.size() < 2 || positional.at(1).trimmed().isEmpty())
            return fail(QStringLiteral("network needs the printer's address"));
        if (positional.size() > 2)
            return fail(QStringLiteral("unexpected argument: ") + positional.at(2));
        options.address = positional.at(1);
        for (const QCommandLineOption *serialOnly : {&from, &to, &speed, &pause}) {
            if (parser.isSet(*serialOnly))
                return fail(
                    QStringLiteral("--%1 is for serial only").arg(serialOnly->names().first()));
        }
    } else if (command == QLatin1String("serial")) {
        options.mode = CheckOptions::Mode::Serial;
        if (positional.size() > 1)
            return fail(QStringLiteral("unexpected argument: ") + positional.at(1));
    } else {
        return fail(QStringLiteral("unknown check \"%1\": network ADDRESS or serial").arg(command));
    }

    if (parser.isSet(from))
        options.fields.comFra = parser.value(from);
    if (parser.isSet(to))
        options.fields.comTil = parser.value(to);
    if (parser.isSet(pause))
        options.fields.pause = parser.value(pause);
    if (parser.isSet(speed))
        options.fields.hastighet = parser.value(speed);
    for (const auto &[name, text] : {std::pair{QStringLiteral("from"), options.fields.comFra},
                                     std::pair{QStringLiteral("to"), options.fields.comTil},
                                     std::pair{QStringLiteral("pause"), options.fields.pause}}) {
        const QString error = checkFieldNumber(name, text);
        if (!error.isEmpty())
            return fail(error);
    }
    static const QRegularExpression digits(QStringLiteral("^[0-9]+$"));
    if (!digits.match(options.fields.hastighet).hasMatch())
        return fail(
            QStringLiteral("--speed needs a number, not \"%1\"").arg(options.fields.hastighet));

    if (parser.isSet(timeout)) {
        bool ok = false;
        const int seconds = parser.value(timeout).trimmed().toInt(&ok);
        if (!ok || seconds < 1 || seconds > longestTimeoutSeconds)
            return fail(QStringLiteral("--timeout needs whole seconds from 1 to %1, not \"%2\"")
                            .arg(longestTimeoutSeconds)
                            .arg(parser.value(timeout)));
        options.timeoutSeconds = seconds;
    }
    options.raw = parser.isSet(raw);
    options.plugin = parser.isSet(plugin);
    if (options.raw && options.plugin)
        return fail(QStringLiteral("--raw and --plugin exclude each other"));
    options.action = CheckOptions::Action::Run;
    return options;
}
