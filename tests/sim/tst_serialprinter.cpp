#include "exitcodes.h"
#include "ptyclient.h"
#include "serialprinter.h"
#include "simrig.h"

#include <QElapsedTimer>
#include <QFile>
#include <QFileInfo>
#include <QSignalSpy>
#include <QTemporaryDir>
#include <QtTest>

namespace {
const QByteArray healthy("\x02  A000500\x03");

SimOptions serialOptions(QStringList arguments)
{
    arguments.prepend(QStringLiteral("--serial"));
    return parseSimOptions(arguments);
}

class Rig : public SimRig<SerialPrinter>
{
public:
    using SimRig::SimRig;
    int open() { return printer->open(&error); }

    // How most of these tests begin: the printer opened, the client's end of its line opened
    // (and set to the line given, "9600 8N1", if any) and one ENQ sent. Returns the step that
    // failed, empty when none did.
    QString openAndAsk(PtyClient &client, const QString &line = {})
    {
        if (open() != SimExit::Ok)
            return QStringLiteral("printer not opened: ") + error;
        if (!client.open(printer->devicePath()))
            return QStringLiteral("line not opened");
        if (!line.isEmpty() && !client.setLine(line))
            return QStringLiteral("line not set to ") + line;
        asked.start();
        if (!client.write("\x05"))
            return QStringLiteral("ENQ not written");
        return {};
    }

    // Started as the ENQ is sent.
    QElapsedTimer asked;
};
} // namespace

class TestSerialPrinter : public QObject
{
    Q_OBJECT

private slots:
    void answerToOneEnq_data();
    void answerToOneEnq();
    void ignoresOtherBytes();
    void answersEveryEnq();
    void lateAnswerIsLateEveryTime();
    void unreadAnswerIsGoneWithThePort();
    void piecesDueAfterCloseAreLost();
    void logsTheFarEnd();
    void dropLine();
    void flood();
    void link();
    void linkReplacesADanglingLink();
    void linkLeavesAnExistingFileAlone_data();
    void linkLeavesAnExistingFileAlone();
};

void TestSerialPrinter::ignoresOtherBytes()
{
    Rig rig(serialOptions({}));
    QCOMPARE(rig.open(), SimExit::Ok);
    PtyClient client;
    QVERIFY(client.open(rig.printer->devicePath()));
    QVERIFY(client.write("hello\r\n\x1bZ"));
    QTRY_VERIFY(rig.logged(QStringLiteral("serial: 9 byte(s) ignored: hello<CR><LF><ESC>Z")));
    QTest::qWait(50);
    QVERIFY(client.received().isEmpty());
    QVERIFY(client.write("x\x05y"));
    QTRY_COMPARE(client.received(), healthy);
    // Unlike on the network, print bytes do not count down the labels.
    QCOMPARE(rig.state.labels(), 500);
}

void TestSerialPrinter::answersEveryEnq()
{
    Rig rig(serialOptions({}));
    PtyClient client;
    QCOMPARE(rig.openAndAsk(client), QString());
    QTRY_COMPARE(client.received(), healthy);
    // Two at once, read only after both are answered: neither answer is lost.
    QVERIFY(client.write("\x05\x05"));
    QTRY_VERIFY(rig.lines.filter(QStringLiteral("sent")).size() == 3);
    QTRY_COMPARE(client.received(), healthy.repeated(3));
}

void TestSerialPrinter::answerToOneEnq_data()
{
    QTest::addColumn<QStringList>("arguments");
    QTest::addColumn<QByteArray>("bytes"); // all that arrives; empty: nothing, ever
    QTest::addColumn<int>("minMs");
    // The line as the client sets it ("9600 8N1"); empty: raw, as opened.
    QTest::addColumn<QString>("line");
    QTest::addColumn<QString>("logged"); // a line of the simulator's log, if any

    QTest::newRow("status, labels and job ID")
        << QStringList{"--status", "b", "--labels", "120", "--id", "07"}
        << QByteArray("\x02"
                      "07b000120\x03")
        << 0 << QString() << "serial: sent <STX>07b000120<ETX> (11 bytes)";
    QTest::newRow("length before STX")
        << QStringList{"--prefix", "\\x00\\x00\\x00\\x0b"} << QByteArray("\0\0\0\x0b", 4) + healthy
        << 0 << QString() << QString();
    QTest::newRow("CR LF after ETX") << QStringList{"--suffix", "\\r\\n"} << healthy + "\r\n"
                                     << 0 << QString() << QString();
    QTest::newRow("two frames at once")
        << QStringList{"--double"} << healthy + healthy << 0 << QString() << QString();
    QTest::newRow("in pieces") << QStringList{"--split", "4", "--split-pause", "40"} << healthy
                               << 120 << QString() << QString();
    QTest::newRow("late") << QStringList{"--delay", "250"} << healthy << 250 << QString()
                          << QString();
    QTest::newRow("no reply") << QStringList{"--no-reply"} << QByteArray() << 0 << QString()
                              << "serial: ENQ";
    // --speed answers only its speed at 8 data bits, no parity, 1 stop bit. (Linux keeps no
    // parity and no character size on a pseudo-terminal: it makes every line 8 bits, no parity,
    // so only the stop bits and the speed can be told here.)
    const QByteArray noise("\xf8\x80\x00\xfe", 4);
    QTest::newRow("--speed: its speed at 8N1, the status")
        << QStringList{"--speed", "9600"} << healthy << 0 << "9600 8N1" << QString();
    QTest::newRow("--speed: its speed at 8N2, noise")
        << QStringList{"--speed", "9600"} << noise << 0 << "9600 8N2" << QString();
    QTest::newRow("--speed: another speed, noise")
        << QStringList{"--speed", "9600"} << noise << 0 << "19200 8N1" << QString();
}

void TestSerialPrinter::answerToOneEnq()
{
    QFETCH(QStringList, arguments);
    QFETCH(QByteArray, bytes);
    QFETCH(int, minMs);
    QFETCH(QString, line);
    QFETCH(QString, logged);

    Rig rig(serialOptions(arguments));
    PtyClient client;
    QCOMPARE(rig.openAndAsk(client, line), QString());
    QTRY_COMPARE(client.received(), bytes);
    QVERIFY2(rig.asked.elapsed() >= minMs, qPrintable(QString::number(rig.asked.elapsed())));
    if (!logged.isEmpty())
        QTRY_VERIFY2(rig.logged(logged), qPrintable(rig.lines.join(QLatin1Char('\n'))));
    if (bytes.isEmpty()) {
        QTest::qWait(150);
        QVERIFY(client.received().isEmpty());
    }
}

void TestSerialPrinter::lateAnswerIsLateEveryTime()
{
    constexpr int delayMs = 200;
    Rig rig(serialOptions({"--delay", QString::number(delayMs)}));
    // A sweep that gives up before the answer: it asks, and closes the port.
    PtyClient client;
    QCOMPARE(rig.openAndAsk(client), QString());
    QTRY_VERIFY(rig.logged(QStringLiteral("serial: ENQ")));
    client.close();
    QTRY_VERIFY(rig.logged(QStringLiteral("serial: answer lost: nobody has the port open")));

    // The next try must see its own answer late, not the old one at once.
    QVERIFY(client.open(rig.printer->devicePath()));
    QElapsedTimer clock;
    clock.start();
    QVERIFY(client.write("\x05"));
    QTRY_COMPARE(client.received(), healthy);
    QVERIFY2(clock.elapsed() >= delayMs, qPrintable(QString::number(clock.elapsed())));
}

void TestSerialPrinter::unreadAnswerIsGoneWithThePort()
{
    Rig rig(serialOptions({}));
    PtyClient client;
    QCOMPARE(rig.openAndAsk(client), QString());
    QTRY_VERIFY(rig.logged(QStringLiteral("serial: sent")));
    client.close();
    QTRY_VERIFY(rig.logged(QStringLiteral("serial: port closed at the far end")));

    QVERIFY(client.open(rig.printer->devicePath()));
    QTest::qWait(100);
    QVERIFY(client.received().isEmpty());
}

void TestSerialPrinter::piecesDueAfterCloseAreLost()
{
    Rig rig(serialOptions({"--split", "2", "--split-pause", "150"}));
    PtyClient client;
    QCOMPARE(rig.openAndAsk(client), QString());
    QTRY_COMPARE(client.received(), healthy.left(6));
    client.close();
    QTRY_VERIFY(rig.logged(QStringLiteral("serial: answer lost")));

    QVERIFY(client.open(rig.printer->devicePath()));
    QTest::qWait(50);
    QVERIFY(client.received().isEmpty());
    // The next answer is whole again.
    QVERIFY(client.write("\x05"));
    QTRY_COMPARE(client.received(), healthy);
}

void TestSerialPrinter::logsTheFarEnd()
{
    Rig rig(serialOptions({}));
    {
        PtyClient client;
        QCOMPARE(rig.openAndAsk(client), QString());
        QTRY_COMPARE(client.received(), healthy);
    }
    QTRY_COMPARE(rig.lines.size(), 4);
    const QStringList expected = {
        QStringLiteral(" serial: port opened at the far end"),
        QStringLiteral(" serial: ENQ"),
        QStringLiteral(" serial: sent <STX>  A000500<ETX> (11 bytes)"),
        QStringLiteral(" serial: port closed at the far end"),
    };
    for (int i = 0; i < expected.size(); ++i)
        QVERIFY2(rig.lines.at(i).endsWith(expected.at(i)), qPrintable(rig.lines.at(i)));
}

void TestSerialPrinter::dropLine()
{
    QTemporaryDir dir;
    QVERIFY(dir.isValid());
    const QString link = dir.filePath(QStringLiteral("printer0"));
    Rig rig(serialOptions({"--drop-line", "--split-pause", "100", "--link", link}));
    QSignalSpy closed(rig.printer.get(), &SerialPrinter::lineClosed);
    QVERIFY(closed.isValid());
    PtyClient client;
    QCOMPARE(rig.openAndAsk(client), QString());
    QTRY_COMPARE(client.received(), healthy.left(6));
    QTRY_VERIFY(client.hungUp());
    QCOMPARE(closed.count(), 1);
    QCOMPARE(closed.at(0).at(0).toInt(), SimExit::Ok);
    QCOMPARE(client.received(), healthy.left(6));
    QVERIFY(rig.logged(QStringLiteral("line dropped")));
    QVERIFY(!QFileInfo(link).isSymLink());
}

void TestSerialPrinter::flood()
{
    Rig rig(serialOptions({"--flood"}));
    PtyClient client;
    QCOMPARE(rig.openAndAsk(client), QString());
    constexpr qsizetype enough = 128 * 1024;
    QTRY_VERIFY(client.received().size() > enough);
    const QByteArray received = client.received();
    const qsizetype whole = received.size() / healthy.size() * healthy.size();
    QCOMPARE(received.left(whole), healthy.repeated(whole / healthy.size()));
}

void TestSerialPrinter::link()
{
    QTemporaryDir dir;
    QVERIFY(dir.isValid());
    const QString link = dir.filePath(QStringLiteral("printer0"));
    {
        Rig rig(serialOptions({"--link", link}));
        QCOMPARE(rig.open(), SimExit::Ok);
        QVERIFY(QFileInfo(link).isSymLink());
        QCOMPARE(QFileInfo(link).symLinkTarget(), rig.printer->devicePath());
        PtyClient client;
        QVERIFY(client.open(link));
        QVERIFY(client.write("\x05"));
        QTRY_COMPARE(client.received(), healthy);
    }
    QVERIFY(!QFileInfo(link).isSymLink());
    QVERIFY(!QFileInfo::exists(link));
}

void TestSerialPrinter::linkReplacesADanglingLink()
{
    QTemporaryDir dir;
    QVERIFY(dir.isValid());
    const QString link = dir.filePath(QStringLiteral("printer0"));
    QVERIFY(QFile::link(dir.filePath(QStringLiteral("gone")), link));
    Rig rig(serialOptions({"--link", link}));
    QCOMPARE(rig.open(), SimExit::Ok);
    QCOMPARE(QFileInfo(link).symLinkTarget(), rig.printer->devicePath());
}

void TestSerialPrinter::linkLeavesAnExistingFileAlone_data()
{
    QTest::addColumn<bool>("asLink");
    QTest::newRow("file") << false;
    QTest::newRow("link to a file") << true;
}

void TestSerialPrinter::linkLeavesAnExistingFileAlone()
{
    QFETCH(bool, asLink);

    QTemporaryDir dir;
    QVERIFY(dir.isValid());
    const QString file = dir.filePath(QStringLiteral("precious"));
    {
        QFile precious(file);
        QVERIFY(precious.open(QIODevice::WriteOnly));
        precious.write("keep me");
    }
    const QString link = asLink ? dir.filePath(QStringLiteral("printer0")) : file;
    if (asLink)
        QVERIFY(QFile::link(file, link));

    Rig rig(serialOptions({"--link", link}));
    QCOMPARE(rig.open(), SimExit::PtyFailure);
    QVERIFY2(rig.error.contains(link), qPrintable(rig.error));
    rig.printer.reset();
    QFile precious(file);
    QVERIFY(precious.open(QIODevice::ReadOnly));
    QCOMPARE(precious.readAll(), QByteArray("keep me"));
    QCOMPARE(QFileInfo(link).isSymLink(), asLink);
}

QTEST_GUILESS_MAIN(TestSerialPrinter)
#include "tst_serialprinter.moc"
