#include "simoptionparser.h"

#include "bytetext.h"
#include "statusletters.h"

#include <QCommandLineOption>
#include <QCommandLineParser>

#include <optional>

#ifndef SOLVARN_SIM_VERSION
#define SOLVARN_SIM_VERSION "1.0"
#endif

namespace {

constexpr int maxDelayMs = 600000;
constexpr int minIntervalMs = 10;
constexpr int maxIntervalMs = 60000;
constexpr int maxPieces = 1000;
constexpr int maxPieceGapMs = 60000;
// The fastest rate a serial line is set to.
constexpr int maxLineSpeed = 4000000;
constexpr int loopbackPrefixLength = 8;

const QString programName = QStringLiteral("printer-sim");

QString helpBody()
{
    return QStringLiteral(R"(Usage: printer-sim [OPTION]...
Play a SATO label printer on this machine, for support, training and tests.
By default it listens on a loopback address, sends its status on port 1025
and takes print data and enquiries (ENQ, code 5) on port 1024, one
connection per port at a time (a second one is closed at once); with
--serial it answers on a pseudo-terminal instead. Its status answer is an 11-byte frame: STX, a
two-character job ID, the status letter, the labels left as six digits, ETX.
It logs each connection and each frame on standard error and runs until
Ctrl+C or SIGTERM.

What the printer is:
  -s, --status CHAR         status letter, any single character (default A;
                            the letters the printer check knows are below)
  -l, --labels N            labels left, 0 to 999999 (default 500)
      --id XX               two-character job ID (default two blanks)

Network (the default):
  -a, --address ADDR        listen on ADDR in 127.0.0.0/8 (default 127.0.0.1)
      --allow-non-loopback ADDR
                            allow an --address outside 127.0.0.0/8; it must
                            name the same address, to show it is meant
  -t, --timing MODE         cycle: a frame on 1025 on connect and then every
                            --interval ms (default); enq: a frame on 1025
                            for each ENQ that arrives on 1024
      --interval MS         period of the cycle timing, 10 to 60000
                            (default 500)
      --close-on-connect    accept each connection and close it at once
      --refuse-1024         do not listen on port 1024 (connects refused)
      --refuse-1025         do not listen on port 1025 (connects refused)

Serial:
      --serial              answer each ENQ on a new pseudo-terminal instead of
                            the network; prints its device path on standard
                            output; bytes other than ENQ are ignored, and an
                            answer due while no program has the device open
                            is lost, as on a real line
      --link PATH           also make PATH a symbolic link to the device
                            (removed on exit; a dangling link is replaced)
      --drop-line           close the pseudo-terminal in the middle of the
                            first answer, when its second piece is due (see
                            --split), and stop
      --speed N             answer only when the program has set the line to
                            N baud, 8 data bits, no parity, 1 stop bit; at
                            other settings answer with a few bytes of noise,
                            as a real line at the wrong speed gives (default:
                            answer at any setting)

Misbehaviours (either side):
      --no-reply            never answer
      --delay MS            answer MS milliseconds late
      --split N             send each answer in N pieces...
      --split-pause MS      ...with MS milliseconds between them (default 50)
      --prefix BYTES        send BYTES before the STX
      --suffix BYTES        send BYTES after the ETX
      --double              send two frames at once
      --flood               answer with the frame repeated without end
      --flood-bytes BYTES   answer with BYTES repeated without end

  -h, --help                show this help and exit
      --version             show the version and exit

BYTES is text in which \xHH stands for the byte HH, \e for ESC, \r, \n and
\t for CR, LF and TAB, and \\ for a backslash: --prefix '\x00\x00\x00\x0b'.

Print data on port 1024: a job ends with ESC Z and prints the quantity set
by ESC Q and up to six digits in the job (one label without ESC Q); the
labels left count down, and a printer that prints its last label turns to
status c (out of labels). ENQ is never print data.

Status letters the printer check knows (any other is sent as readily):
)");
}

QString exitStatusBody()
{
    return QStringLiteral(R"(
Exit status:
  0  stopped by Ctrl+C or SIGTERM, or after --drop-line
  1  usage error
  2  address refused: outside 127.0.0.0/8 without --allow-non-loopback
  3  cannot listen: port taken or address not available
  4  pseudo-terminal failure, or --link could not be made

Examples:
  printer-sim --status a --labels 120 --timing enq --address 127.0.0.2
  printer-sim --status b
  printer-sim --serial --link /tmp/printer0
)");
}

ParseOutcome failure(int exitCode, const QString &error)
{
    ParseOutcome outcome;
    outcome.run = false;
    outcome.exitCode = exitCode;
    outcome.error = error;
    return outcome;
}

QHostAddress asIPv4WherePossible(const QHostAddress &address)
{
    bool isV4 = false;
    const quint32 v4 = address.toIPv4Address(&isV4);
    return isV4 ? QHostAddress(v4) : address;
}

bool isLoopback(const QHostAddress &address)
{
    return address.protocol() == QAbstractSocket::IPv4Protocol &&
           address.isInSubnet(QHostAddress(QStringLiteral("127.0.0.0")), loopbackPrefixLength);
}

// Reads the command line option by option; the first fault ends it with its message.
class Reader
{
public:
    explicit Reader(const QCommandLineParser &parser)
        : m_parser(parser)
    {
    }

    std::optional<int> number(const QString &name, int low, int high)
    {
        bool ok = false;
        const QString text = m_parser.value(name);
        const int value = text.toInt(&ok);
        if (ok && value >= low && value <= high)
            return value;
        fail(QStringLiteral("--%1 takes a whole number from %2 to %3, not '%4'")
                 .arg(name)
                 .arg(low)
                 .arg(high)
                 .arg(text));
        return std::nullopt;
    }

    // Characters that each fit one byte (Latin-1), as many as the frame has room for.
    std::optional<QByteArray> latin1(const QString &name, qsizetype length)
    {
        const QString text = m_parser.value(name);
        bool fits = text.size() == length;
        for (const QChar c : text)
            fits = fits && c.unicode() > 0 && c.unicode() <= 0xff;
        if (fits)
            return text.toLatin1();
        fail(QStringLiteral("--%1 takes exactly %2 character(s) of one byte each, not '%3'")
                 .arg(name)
                 .arg(length)
                 .arg(text));
        return std::nullopt;
    }

    std::optional<QByteArray> bytes(const QString &name)
    {
        QByteArray value;
        QString why;
        if (ByteText::decode(m_parser.value(name), &value, &why))
            return value;
        fail(QStringLiteral("--%1: %2").arg(name, why));
        return std::nullopt;
    }

    std::optional<QHostAddress> address(const QString &name)
    {
        QHostAddress value;
        const QString text = m_parser.value(name);
        if (value.setAddress(text))
            return asIPv4WherePossible(value);
        fail(
            QStringLiteral("--%1 takes an IP address such as 127.0.0.2, not '%2'").arg(name, text));
        return std::nullopt;
    }

    void fail(const QString &error)
    {
        if (m_error.isEmpty())
            m_error = error;
    }

    const QString &error() const { return m_error; }

private:
    const QCommandLineParser &m_parser;
    QString m_error;
};

const QStringList networkOnly = {
    QStringLiteral("address"),          QStringLiteral("allow-non-loopback"),
    QStringLiteral("timing"),           QStringLiteral("interval"),
    QStringLiteral("close-on-connect"), QStringLiteral("refuse-1024"),
    QStringLiteral("refuse-1025"),
};
const QStringList serialOnly = {QStringLiteral("link"), QStringLiteral("drop-line"),
                                QStringLiteral("speed")};

QList<QCommandLineOption> optionList()
{
    const auto valued = [](const QStringList &names, const QString &valueName) {
        return QCommandLineOption(names, QString(), valueName);
    };
    const auto flag = [](const QString &name) { return QCommandLineOption(name); };
    return {
        valued({QStringLiteral("s"), QStringLiteral("status")}, QStringLiteral("CHAR")),
        valued({QStringLiteral("l"), QStringLiteral("labels")}, QStringLiteral("N")),
        valued({QStringLiteral("id")}, QStringLiteral("XX")),
        valued({QStringLiteral("a"), QStringLiteral("address")}, QStringLiteral("ADDR")),
        valued({QStringLiteral("allow-non-loopback")}, QStringLiteral("ADDR")),
        valued({QStringLiteral("t"), QStringLiteral("timing")}, QStringLiteral("MODE")),
        valued({QStringLiteral("interval")}, QStringLiteral("MS")),
        flag(QStringLiteral("close-on-connect")),
        flag(QStringLiteral("refuse-1024")),
        flag(QStringLiteral("refuse-1025")),
        flag(QStringLiteral("serial")),
        valued({QStringLiteral("link")}, QStringLiteral("PATH")),
        flag(QStringLiteral("drop-line")),
        valued({QStringLiteral("speed")}, QStringLiteral("N")),
        flag(QStringLiteral("no-reply")),
        valued({QStringLiteral("delay")}, QStringLiteral("MS")),
        valued({QStringLiteral("split")}, QStringLiteral("N")),
        valued({QStringLiteral("split-pause")}, QStringLiteral("MS")),
        valued({QStringLiteral("prefix")}, QStringLiteral("BYTES")),
        valued({QStringLiteral("suffix")}, QStringLiteral("BYTES")),
        flag(QStringLiteral("double")),
        flag(QStringLiteral("flood")),
        valued({QStringLiteral("flood-bytes")}, QStringLiteral("BYTES")),
        QCommandLineOption(QStringList{QStringLiteral("h"), QStringLiteral("help")}),
        flag(QStringLiteral("version")),
    };
}

void readPrinter(const QCommandLineParser &parser, Reader &reader, SimOptions &options)
{
    if (parser.isSet(QStringLiteral("status"))) {
        if (const auto letter = reader.latin1(QStringLiteral("status"), 1))
            options.status = letter->at(0);
    }
    if (parser.isSet(QStringLiteral("labels"))) {
        if (const auto labels = reader.number(QStringLiteral("labels"), 0, StatusFrame::maxLabels))
            options.labels = *labels;
    }
    if (parser.isSet(QStringLiteral("id"))) {
        if (const auto id = reader.latin1(QStringLiteral("id"), 2))
            options.id = *id;
    }
}

void readNetwork(const QCommandLineParser &parser, Reader &reader, SimOptions &options)
{
    if (parser.isSet(QStringLiteral("address"))) {
        if (const auto address = reader.address(QStringLiteral("address")))
            options.address = *address;
    }
    if (parser.isSet(QStringLiteral("timing"))) {
        const QString timing = parser.value(QStringLiteral("timing"));
        if (timing == QLatin1String("cycle"))
            options.timing = ReplyTiming::Cycle;
        else if (timing == QLatin1String("enq"))
            options.timing = ReplyTiming::Enq;
        else
            reader.fail(QStringLiteral("--timing takes cycle or enq, not '%1'").arg(timing));
    }
    if (parser.isSet(QStringLiteral("interval"))) {
        if (const auto interval =
                reader.number(QStringLiteral("interval"), minIntervalMs, maxIntervalMs))
            options.intervalMs = *interval;
    }
    options.closeOnConnect = parser.isSet(QStringLiteral("close-on-connect"));
    options.refuseDataPort = parser.isSet(QStringLiteral("refuse-1024"));
    options.refuseStatusPort = parser.isSet(QStringLiteral("refuse-1025"));
}

void readSerial(const QCommandLineParser &parser, Reader &reader, SimOptions &options)
{
    options.serial = parser.isSet(QStringLiteral("serial"));
    if (parser.isSet(QStringLiteral("link"))) {
        options.linkPath = parser.value(QStringLiteral("link"));
        if (options.linkPath.isEmpty())
            reader.fail(QStringLiteral("--link takes a path"));
    }
    options.reply.dropLine = parser.isSet(QStringLiteral("drop-line"));
    if (parser.isSet(QStringLiteral("speed"))) {
        if (const auto speed = reader.number(QStringLiteral("speed"), 1, maxLineSpeed))
            options.lineSpeed = *speed;
    }
}

void readMisbehaviour(const QCommandLineParser &parser, Reader &reader, ReplyShape &reply)
{
    reply.silent = parser.isSet(QStringLiteral("no-reply"));
    if (parser.isSet(QStringLiteral("delay"))) {
        if (const auto delay = reader.number(QStringLiteral("delay"), 0, maxDelayMs))
            reply.delayMs = *delay;
    }
    if (parser.isSet(QStringLiteral("split"))) {
        if (const auto pieces = reader.number(QStringLiteral("split"), 2, maxPieces))
            reply.pieces = *pieces;
    } else if (reply.dropLine) {
        // The line drops when the second piece is due, so there must be one.
        reply.pieces = 2;
    }
    if (parser.isSet(QStringLiteral("split-pause"))) {
        if (const auto gap = reader.number(QStringLiteral("split-pause"), 0, maxPieceGapMs))
            reply.pieceGapMs = *gap;
    }
    if (parser.isSet(QStringLiteral("prefix"))) {
        if (const auto prefix = reader.bytes(QStringLiteral("prefix")))
            reply.prefix = *prefix;
    }
    if (parser.isSet(QStringLiteral("suffix"))) {
        if (const auto suffix = reader.bytes(QStringLiteral("suffix")))
            reply.suffix = *suffix;
    }
    reply.twice = parser.isSet(QStringLiteral("double"));
    reply.flood = parser.isSet(QStringLiteral("flood"));
    if (parser.isSet(QStringLiteral("flood-bytes"))) {
        reply.flood = true;
        if (const auto unit = reader.bytes(QStringLiteral("flood-bytes")))
            reply.floodUnit = *unit;
        if (reply.floodUnit.isEmpty())
            reader.fail(QStringLiteral("--flood-bytes takes at least one byte"));
    }
}

// Options that belong to the other side are mistakes, not something to ignore quietly.
void checkSide(const QCommandLineParser &parser, Reader &reader, bool serial)
{
    const QStringList &wrongSide = serial ? networkOnly : serialOnly;
    for (const QString &name : wrongSide) {
        if (parser.isSet(name))
            reader.fail(serial
                            ? QStringLiteral("--%1 is for the network side, not --serial").arg(name)
                            : QStringLiteral("--%1 needs --serial").arg(name));
    }
    if (parser.isSet(QStringLiteral("split-pause")) && !parser.isSet(QStringLiteral("split")) &&
        !parser.isSet(QStringLiteral("drop-line")))
        reader.fail(QStringLiteral("--split-pause needs --split"));
}

} // namespace

ParseOutcome SimOptionParser::parse(const QStringList &arguments)
{
    QCommandLineParser parser;
    parser.setSingleDashWordOptionMode(QCommandLineParser::ParseAsCompactedShortOptions);
    parser.addOptions(optionList());
    if (!parser.parse(arguments))
        return failure(SimExit::UsageError, parser.errorText());
    if (parser.isSet(QStringLiteral("help"))) {
        ParseOutcome outcome;
        outcome.run = false;
        outcome.output = helpText();
        return outcome;
    }
    if (parser.isSet(QStringLiteral("version"))) {
        ParseOutcome outcome;
        outcome.run = false;
        outcome.output = versionText();
        return outcome;
    }
    if (!parser.positionalArguments().isEmpty())
        return failure(SimExit::UsageError, QStringLiteral("unexpected argument '%1'")
                                                .arg(parser.positionalArguments().constFirst()));

    ParseOutcome outcome;
    SimOptions &options = outcome.options;
    Reader reader(parser);
    readPrinter(parser, reader, options);
    readSerial(parser, reader, options);
    readNetwork(parser, reader, options);
    readMisbehaviour(parser, reader, options.reply);
    checkSide(parser, reader, options.serial);
    std::optional<QHostAddress> allowed;
    if (parser.isSet(QStringLiteral("allow-non-loopback")))
        allowed = reader.address(QStringLiteral("allow-non-loopback"));
    if (!reader.error().isEmpty())
        return failure(SimExit::UsageError, reader.error());

    if (allowed && *allowed != options.address)
        return failure(SimExit::UsageError,
                       QStringLiteral("--allow-non-loopback names %1, but the address is %2")
                           .arg(allowed->toString(), options.address.toString()));
    if (!options.serial && !isLoopback(options.address) && !allowed)
        return failure(SimExit::AddressRefused,
                       QStringLiteral("refusing to listen on %1: it is outside 127.0.0.0/8, so "
                                      "other machines could reach the simulator; name it with "
                                      "--allow-non-loopback %1 if that is meant")
                           .arg(options.address.toString()));
    return outcome;
}

QString SimOptionParser::helpText()
{
    return helpBody() + StatusLetters::helpLines().join(QLatin1Char('\n')) + QLatin1Char('\n') +
           exitStatusBody();
}

QString SimOptionParser::versionText()
{
    return QStringLiteral("%1 %2\n").arg(programName, QStringLiteral(SOLVARN_SIM_VERSION));
}
