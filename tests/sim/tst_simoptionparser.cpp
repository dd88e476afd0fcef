#include "bytetext.h"
#include "exitcodes.h"
#include "simoptionparser.h"
#include "statusletters.h"

#include <QtTest>

namespace {
ParseOutcome parse(const QStringList &arguments)
{
    return SimOptionParser::parse(QStringList{QStringLiteral("printer-sim")} + arguments);
}

QString hex(const QByteArray &bytes)
{
    return QString::fromLatin1(bytes.toHex());
}

QString flag(bool on)
{
    return on ? QStringLiteral("on") : QStringLiteral("off");
}

// One field of the options as text, so that rows of a table can name what they set.
QString field(const SimOptions &options, const QString &name)
{
    const ReplyShape &reply = options.reply;
    if (name == QLatin1String("status"))
        return QString(QChar(static_cast<uchar>(options.status)));
    if (name == QLatin1String("labels"))
        return QString::number(options.labels);
    if (name == QLatin1String("id"))
        return QString::fromLatin1(options.id);
    if (name == QLatin1String("address"))
        return options.address.toString();
    if (name == QLatin1String("timing"))
        return options.timing == ReplyTiming::Cycle ? QStringLiteral("cycle")
                                                    : QStringLiteral("enq");
    if (name == QLatin1String("interval"))
        return QString::number(options.intervalMs);
    if (name == QLatin1String("closeOnConnect"))
        return flag(options.closeOnConnect);
    if (name == QLatin1String("refuse1024"))
        return flag(options.refuseDataPort);
    if (name == QLatin1String("refuse1025"))
        return flag(options.refuseStatusPort);
    if (name == QLatin1String("serial"))
        return flag(options.serial);
    if (name == QLatin1String("link"))
        return options.linkPath;
    if (name == QLatin1String("silent"))
        return flag(reply.silent);
    if (name == QLatin1String("delay"))
        return QString::number(reply.delayMs);
    if (name == QLatin1String("pieces"))
        return QStringLiteral("%1 x %2 ms").arg(reply.pieces).arg(reply.pieceGapMs);
    if (name == QLatin1String("prefix"))
        return hex(reply.prefix);
    if (name == QLatin1String("suffix"))
        return hex(reply.suffix);
    if (name == QLatin1String("twice"))
        return flag(reply.twice);
    if (name == QLatin1String("flood"))
        return QStringLiteral("%1 %2").arg(flag(reply.flood), hex(reply.floodUnit));
    if (name == QLatin1String("dropLine"))
        return QStringLiteral("%1, %2 pieces").arg(flag(reply.dropLine)).arg(reply.pieces);
    return QStringLiteral("(no field %1)").arg(name);
}
} // namespace

class TestSimOptionParser : public QObject
{
    Q_OBJECT

private slots:
    void defaults();
    void options_data();
    void options();
    void usageErrors_data();
    void usageErrors();
    void refusedAddresses_data();
    void refusedAddresses();
    void help_data();
    void help();
    void helpDocumentsEveryOptionLetterAndExitCode();
    void version();
    void escapes_data();
    void escapes();
    void badEscapes_data();
    void badEscapes();
    void visible_data();
    void visible();
};

void TestSimOptionParser::defaults()
{
    const ParseOutcome outcome = parse({});
    QVERIFY(outcome.run);
    QCOMPARE(outcome.exitCode, SimExit::Ok);
    QVERIFY(outcome.error.isEmpty());
    const SimOptions &options = outcome.options;
    QCOMPARE(field(options, QStringLiteral("status")), QStringLiteral("A"));
    QCOMPARE(field(options, QStringLiteral("labels")), QStringLiteral("500"));
    QCOMPARE(field(options, QStringLiteral("id")), QStringLiteral("  "));
    QCOMPARE(field(options, QStringLiteral("address")), QStringLiteral("127.0.0.1"));
    QCOMPARE(field(options, QStringLiteral("timing")), QStringLiteral("cycle"));
    QCOMPARE(field(options, QStringLiteral("interval")), QStringLiteral("500"));
    QCOMPARE(field(options, QStringLiteral("serial")), QStringLiteral("off"));
    QCOMPARE(field(options, QStringLiteral("pieces")), QStringLiteral("1 x 50 ms"));
    QCOMPARE(field(options, QStringLiteral("silent")), QStringLiteral("off"));
    QCOMPARE(field(options, QStringLiteral("flood")), QStringLiteral("off "));
}

void TestSimOptionParser::options_data()
{
    QTest::addColumn<QStringList>("arguments");
    QTest::addColumn<QString>("field");
    QTest::addColumn<QString>("expected");

    const auto row = [](const char *name, const QStringList &arguments, const char *field,
                        const QString &expected) {
        QTest::newRow(name) << arguments << QString::fromLatin1(field) << expected;
    };
    row("status error letter", {"--status", "b"}, "status", "b");
    row("status short option", {"-s", "c"}, "status", "c");
    row("status with =", {"--status=D"}, "status", "D");
    row("status the check does not know", {"--status", "X"}, "status", "X");
    row("status digit beyond the table", {"--status", "9"}, "status", "9");
    row("status beyond ASCII", {"--status", QStringLiteral("å")}, "status", QStringLiteral("å"));
    row("labels", {"--labels", "120"}, "labels", "120");
    row("labels none", {"-l", "0"}, "labels", "0");
    row("labels most", {"--labels", "999999"}, "labels", "999999");
    row("labels last one wins", {"--labels", "1", "--labels", "2"}, "labels", "2");
    row("job id", {"--id", "12"}, "id", "12");
    row("another loopback address", {"--address", "127.0.0.2"}, "address", "127.0.0.2");
    row("top of loopback", {"-a", "127.255.255.254"}, "address", "127.255.255.254");
    row("loopback written as IPv6", {"--address", "::ffff:127.0.0.9"}, "address", "127.0.0.9");
    row("outside loopback when allowed",
        {"--address", "192.168.1.10", "--allow-non-loopback", "192.168.1.10"}, "address",
        "192.168.1.10");
    row("timing enq", {"--timing", "enq"}, "timing", "enq");
    row("timing cycle", {"-t", "cycle"}, "timing", "cycle");
    row("interval", {"--interval", "100"}, "interval", "100");
    row("close on connect", {"--close-on-connect"}, "closeOnConnect", "on");
    row("refuse 1024", {"--refuse-1024"}, "refuse1024", "on");
    row("refuse 1025", {"--refuse-1025"}, "refuse1025", "on");
    row("serial", {"--serial"}, "serial", "on");
    row("serial link", {"--serial", "--link", "/tmp/printer0"}, "link", "/tmp/printer0");
    row("drop line splits in two", {"--serial", "--drop-line"}, "dropLine", "on, 2 pieces");
    row("drop line after a chosen piece", {"--serial", "--drop-line", "--split", "4"}, "dropLine",
        "on, 4 pieces");
    row("no reply", {"--no-reply"}, "silent", "on");
    row("delay", {"--delay", "300"}, "delay", "300");
    row("split", {"--split", "3"}, "pieces", "3 x 50 ms");
    row("split with pause", {"--split", "2", "--split-pause", "20"}, "pieces", "2 x 20 ms");
    row("length before STX", {"--prefix", "\\x00\\x00\\x00\\x0b"}, "prefix", "0000000b");
    row("CR LF after ETX", {"--suffix", "\\r\\n"}, "suffix", "0d0a");
    row("double", {"--double"}, "twice", "on");
    row("flood of frames", {"--flood"}, "flood", "on ");
    row("flood of bytes", {"--flood-bytes", "x\\x02"}, "flood", "on 7802");
}

void TestSimOptionParser::options()
{
    QFETCH(QStringList, arguments);
    QFETCH(QString, field);
    QFETCH(QString, expected);

    const ParseOutcome outcome = parse(arguments);
    QVERIFY2(outcome.run, qPrintable(outcome.error));
    QCOMPARE(outcome.exitCode, SimExit::Ok);
    QCOMPARE(::field(outcome.options, field), expected);
}

void TestSimOptionParser::usageErrors_data()
{
    QTest::addColumn<QStringList>("arguments");
    QTest::addColumn<QString>("mentions");

    const auto row = [](const char *name, const QStringList &arguments, const char *mentions) {
        QTest::newRow(name) << arguments << QString::fromLatin1(mentions);
    };
    row("unknown option", {"--bogus"}, "bogus");
    row("stray argument", {"extra"}, "extra");
    row("missing value", {"--status"}, "status");
    row("empty status", {"--status="}, "--status");
    row("two-letter status", {"--status", "AB"}, "--status");
    row("status beyond one byte", {"--status", QStringLiteral("€")}, "--status");
    row("negative labels", {"--labels", "-1"}, "--labels");
    row("too many labels", {"--labels", "1000000"}, "--labels");
    row("labels not a number", {"--labels", "12x"}, "--labels");
    row("short id", {"--id", "1"}, "--id");
    row("long id", {"--id", "123"}, "--id");
    row("unknown timing", {"--timing", "fast"}, "--timing");
    row("interval too short", {"--interval", "5"}, "--interval");
    row("interval too long", {"--interval", "70000"}, "--interval");
    row("negative delay", {"--delay", "-1"}, "--delay");
    row("split in one", {"--split", "1"}, "--split");
    row("split pause without split", {"--split-pause", "20"}, "--split-pause");
    row("short hex escape", {"--prefix", "\\x4"}, "--prefix");
    row("unknown escape", {"--suffix", "\\q"}, "--suffix");
    row("lone backslash", {"--prefix", "ab\\"}, "--prefix");
    row("empty flood bytes", {"--flood-bytes", ""}, "--flood-bytes");
    row("link without serial", {"--link", "/tmp/printer0"}, "--link");
    row("drop line without serial", {"--drop-line"}, "--drop-line");
    row("empty link", {"--serial", "--link", ""}, "--link");
    row("serial with address", {"--serial", "--address", "127.0.0.2"}, "--address");
    row("serial with timing", {"--serial", "--timing", "enq"}, "--timing");
    row("serial closing on connect", {"--serial", "--close-on-connect"}, "--close-on-connect");
    row("serial refusing a port", {"--serial", "--refuse-1025"}, "--refuse-1025");
    row("host name for address", {"--address", "localhost"}, "--address");
    row("malformed address", {"--address", "300.1.1.1"}, "--address");
    row("allowance for another address",
        {"--address", "10.0.0.1", "--allow-non-loopback", "10.0.0.2"}, "10.0.0.2");
}

void TestSimOptionParser::usageErrors()
{
    QFETCH(QStringList, arguments);
    QFETCH(QString, mentions);

    const ParseOutcome outcome = parse(arguments);
    QVERIFY(!outcome.run);
    QCOMPARE(outcome.exitCode, SimExit::UsageError);
    QVERIFY2(outcome.error.contains(mentions), qPrintable(outcome.error));
    QVERIFY(outcome.output.isEmpty());
}

void TestSimOptionParser::refusedAddresses_data()
{
    QTest::addColumn<QString>("address");

    // Parsed only: nothing here listens on or connects to these addresses.
    for (const char *address : {"10.0.0.1", "192.168.1.10", "0.0.0.0", "128.0.0.1",
                                "126.255.255.255", "::1", "::", "fe80::1"})
        QTest::newRow(address) << QString::fromLatin1(address);
}

void TestSimOptionParser::refusedAddresses()
{
    QFETCH(QString, address);

    const ParseOutcome outcome = parse({QStringLiteral("--address"), address});
    QVERIFY(!outcome.run);
    QCOMPARE(outcome.exitCode, SimExit::AddressRefused);
    QVERIFY2(outcome.error.contains(QStringLiteral("--allow-non-loopback")),
             qPrintable(outcome.error));
}

void TestSimOptionParser::help_data()
{
    QTest::addColumn<QStringList>("arguments");
    QTest::newRow("long") << QStringList{QStringLiteral("--help")};
    QTest::newRow("short") << QStringList{QStringLiteral("-h")};
    QTest::newRow("after other options")
        << QStringList{QStringLiteral("--status"), QStringLiteral("b"), QStringLiteral("--help")};
}

void TestSimOptionParser::help()
{
    QFETCH(QStringList, arguments);

    const ParseOutcome outcome = parse(arguments);
    QVERIFY(!outcome.run);
    QCOMPARE(outcome.exitCode, SimExit::Ok);
    QVERIFY(outcome.error.isEmpty());
    QCOMPARE(outcome.output, SimOptionParser::helpText());
    QVERIFY(outcome.output.startsWith(QStringLiteral("Usage: printer-sim [OPTION]...\n")));
}

void TestSimOptionParser::helpDocumentsEveryOptionLetterAndExitCode()
{
    const QString help = SimOptionParser::helpText();
    const QStringList options = {"--status",
                                 "--labels",
                                 "--id",
                                 "--address",
                                 "--allow-non-loopback",
                                 "--timing",
                                 "--interval",
                                 "--close-on-connect",
                                 "--refuse-1024",
                                 "--refuse-1025",
                                 "--serial",
                                 "--link",
                                 "--drop-line",
                                 "--no-reply",
                                 "--delay",
                                 "--split",
                                 "--split-pause",
                                 "--prefix",
                                 "--suffix",
                                 "--double",
                                 "--flood",
                                 "--flood-bytes",
                                 "--help",
                                 "--version"};
    for (const QString &option : options) {
        QVERIFY2(help.contains(option), qPrintable(option));
        // Every option the help names is one the parser takes.
        if (option != QLatin1String("--help") && option != QLatin1String("--version"))
            QVERIFY2(!parse({option}).error.contains(QStringLiteral("Unknown option")),
                     qPrintable(option));
    }
    for (const QString &line : StatusLetters::helpLines())
        QVERIFY2(help.contains(line), qPrintable(line));
    QVERIFY(help.contains(QStringLiteral("  %1  stopped").arg(SimExit::Ok)));
    QVERIFY(help.contains(QStringLiteral("  %1  usage error").arg(SimExit::UsageError)));
    QVERIFY(help.contains(QStringLiteral("  %1  address refused").arg(SimExit::AddressRefused)));
    QVERIFY(help.contains(QStringLiteral("  %1  cannot listen").arg(SimExit::CannotListen)));
    QVERIFY(
        help.contains(QStringLiteral("  %1  pseudo-terminal failure").arg(SimExit::PtyFailure)));
}

void TestSimOptionParser::version()
{
    const ParseOutcome outcome = parse({QStringLiteral("--version")});
    QVERIFY(!outcome.run);
    QCOMPARE(outcome.exitCode, SimExit::Ok);
    QVERIFY(outcome.output.startsWith(QStringLiteral("printer-sim ")));
    QVERIFY(outcome.output.endsWith(QLatin1Char('\n')));
}

void TestSimOptionParser::escapes_data()
{
    QTest::addColumn<QString>("text");
    QTest::addColumn<QByteArray>("bytes");

    QTest::newRow("plain") << QStringLiteral("abc") << QByteArray("abc");
    QTest::newRow("empty") << QString() << QByteArray();
    QTest::newRow("hex") << QStringLiteral("\\x02") << QByteArray("\x02");
    QTest::newRow("upper-case hex") << QStringLiteral("\\x1B\\xFF") << QByteArray("\x1b\xff");
    QTest::newRow("zero byte inside") << QStringLiteral("a\\x00b") << QByteArray("a\0b", 3);
    QTest::newRow("named") << QStringLiteral("\\e\\r\\n\\t") << QByteArray("\x1b\r\n\t");
    QTest::newRow("backslash") << QStringLiteral("\\\\x41") << QByteArray("\\x41");
    QTest::newRow("beyond ASCII as UTF-8") << QStringLiteral("å") << QByteArray("\xc3\xa5");
}

void TestSimOptionParser::escapes()
{
    QFETCH(QString, text);
    QFETCH(QByteArray, bytes);

    QByteArray decoded("untouched");
    QString error;
    QVERIFY2(ByteText::decode(text, &decoded, &error), qPrintable(error));
    QCOMPARE(decoded, bytes);
}

void TestSimOptionParser::badEscapes_data()
{
    QTest::addColumn<QString>("text");
    QTest::newRow("x alone") << QStringLiteral("\\x");
    QTest::newRow("one digit") << QStringLiteral("\\x4");
    QTest::newRow("not hex") << QStringLiteral("\\xG0");
    QTest::newRow("lone backslash") << QStringLiteral("\\");
    QTest::newRow("unknown letter") << QStringLiteral("\\q");
}

void TestSimOptionParser::badEscapes()
{
    QFETCH(QString, text);

    QByteArray decoded("untouched");
    QString error;
    QVERIFY(!ByteText::decode(text, &decoded, &error));
    QVERIFY(!error.isEmpty());
    QCOMPARE(decoded, QByteArray("untouched"));
}

void TestSimOptionParser::visible_data()
{
    QTest::addColumn<QByteArray>("bytes");
    QTest::addColumn<int>("maxBytes");
    QTest::addColumn<QString>("text");

    QTest::newRow("frame") << QByteArray("\x02  A000500\x03") << 64
                           << QStringLiteral("<STX>  A000500<ETX>");
    QTest::newRow("named controls")
        << QByteArray("\x05\x1b\r\n") << 64 << QStringLiteral("<ENQ><ESC><CR><LF>");
    QTest::newRow("other bytes in hex")
        << QByteArray("\x00\x7f\xe5", 3) << 64 << QStringLiteral("<00><7F><E5>");
    QTest::newRow("cut") << QByteArray(70, 'x') << 64
                         << QString(64, QLatin1Char('x')) + QStringLiteral("...");
    QTest::newRow("exactly the most") << QByteArray(4, 'y') << 4 << QStringLiteral("yyyy");
}

void TestSimOptionParser::visible()
{
    QFETCH(QByteArray, bytes);
    QFETCH(int, maxBytes);
    QFETCH(QString, text);

    QCOMPARE(ByteText::visible(bytes, maxBytes), text);
}

QTEST_GUILESS_MAIN(TestSimOptionParser)
#include "tst_simoptionparser.moc"
