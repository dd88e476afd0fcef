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
};
} // namespace

class TestSerialPrinter : public QObject
{
    Q_OBJECT

private slots:
    void answersEnq();
    void ignoresOtherBytes();
    void answersEveryEnq();
    void misbehaviour_data();
    void misbehaviour();
    void noReply();
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

void TestSerialPrinter::answersEnq()
{
    Rig rig(serialOptions({"--status", "b", "--labels", "120", "--id", "07"}));
    QCOMPARE(rig.open(), SimExit::Ok);
    QVERIFY(QFileInfo::exists(rig.printer->devicePath()));
    PtyClient client;
    QVERIFY(client.open(rig.printer->devicePath()));
    QVERIFY(client.write("\x05"));
    QTRY_COMPARE(client.received(), QByteArray("\x02"
                                               "07b000120\x03"));
    QVERIFY(rig.logged(QStringLiteral("serial: sent <STX>07b000120<ETX> (11 bytes)")));
}

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
    QCOMPARE(rig.open(), SimExit::Ok);
    PtyClient client;
    QVERIFY(client.open(rig.printer->devicePath()));
    QVERIFY(client.write("\x05"));
    QTRY_COMPARE(client.received(), healthy);
    // Two at once, read only after both are answered: neither answer is lost.
    QVERIFY(client.write("\x05\x05"));
    QTRY_VERIFY(rig.lines.filter(QStringLiteral("sent")).size() == 3);
    QTRY_COMPARE(client.received(), healthy.repeated(3));
}

void TestSerialPrinter::misbehaviour_data()
{
    QTest::addColumn<QStringList>("arguments");
    QTest::addColumn<QByteArray>("bytes");
    QTest::addColumn<int>("minMs");
    // The line as the client sets it ("9600 8N1"); empty: raw, as opened.
    QTest::addColumn<QString>("line");

    QTest::newRow("length before STX") << QStringList{"--prefix", "\\x00\\x00\\x00\\x0b"}
                                       << QByteArray("\0\0\0\x0b", 4) + healthy << 0 << QString();
    QTest::newRow("CR LF after ETX") << QStringList{"--suffix", "\\r\\n"} << healthy + "\r\n"
                                     << 0 << QString();
    QTest::newRow("two frames at once")
        << QStringList{"--double"} << healthy + healthy << 0 << QString();
    QTest::newRow("in pieces") << QStringList{"--split", "4", "--split-pause", "40"} << healthy
                               << 120 << QString();
    QTest::newRow("late") << QStringList{"--delay", "250"} << healthy << 250 << QString();
    // --speed answers only its speed at 8 data bits, no parity, 1 stop bit. (Linux keeps no
    // parity and no character size on a pseudo-terminal: it makes every line 8 bits, no parity,
    // so only the stop bits and the speed can be told here.)
    const QByteArray noise("\xf8\x80\x00\xfe", 4);
    QTest::newRow("--speed: its speed at 8N1, the status")
        << QStringList{"--speed", "9600"} << healthy << 0 << "9600 8N1";
    QTest::newRow("--speed: its speed at 8N2, noise")
        << QStringList{"--speed", "9600"} << noise << 0 << "9600 8N2";
    QTest::newRow("--speed: another speed, noise")
        << QStringList{"--speed", "9600"} << noise << 0 << "19200 8N1";
}

void TestSerialPrinter::misbehaviour()
{
    QFETCH(QStringList, arguments);
    QFETCH(QByteArray, bytes);
    QFETCH(int, minMs);
    QFETCH(QString, line);

    Rig rig(serialOptions(arguments));
    QCOMPARE(rig.open(), SimExit::Ok);
    PtyClient client;
    QVERIFY(client.open(rig.printer->devicePath()));
    if (!line.isEmpty())
        QVERIFY(client.setLine(line));
    QElapsedTimer clock;
    clock.start();
    QVERIFY(client.write("\x05"));
    QTRY_COMPARE(client.received(), bytes);
    QVERIFY2(clock.elapsed() >= minMs, qPrintable(QString::number(clock.elapsed())));
}

void TestSerialPrinter::noReply()
{
    Rig rig(serialOptions({"--no-reply"}));
    QCOMPARE(rig.open(), SimExit::Ok);
    PtyClient client;
    QVERIFY(client.open(rig.printer->devicePath()));
    QVERIFY(client.write("\x05"));
    QTRY_VERIFY(rig.logged(QStringLiteral("serial: ENQ")));
    QTest::qWait(150);
    QVERIFY(client.received().isEmpty());
}

void TestSerialPrinter::lateAnswerIsLateEveryTime()
{
    constexpr int delayMs = 200;
    Rig rig(serialOptions({"--delay", QString::number(delayMs)}));
    QCOMPARE(rig.open(), SimExit::Ok);
    const QString device = rig.printer->devicePath();

    // A sweep that gives up before the answer: it asks, and closes the port.
    PtyClient client;
    QVERIFY(client.open(device));
    QVERIFY(client.write("\x05"));
    QTRY_VERIFY(rig.logged(QStringLiteral("serial: ENQ")));
    client.close();
    QTRY_VERIFY(rig.logged(QStringLiteral("serial: answer lost: nobody has the port open")));

    // The next try must see its own answer late, not the old one at once.
    QVERIFY(client.open(device));
    QElapsedTimer clock;
    clock.start();
    QVERIFY(client.write("\x05"));
    QTRY_COMPARE(client.received(), healthy);
    QVERIFY2(clock.elapsed() >= delayMs, qPrintable(QString::number(clock.elapsed())));
}

void TestSerialPrinter::unreadAnswerIsGoneWithThePort()
{
    Rig rig(serialOptions({}));
    QCOMPARE(rig.open(), SimExit::Ok);
    PtyClient client;
    QVERIFY(client.open(rig.printer->devicePath()));
    QVERIFY(client.write("\x05"));
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
    QCOMPARE(rig.open(), SimExit::Ok);
    PtyClient client;
    QVERIFY(client.open(rig.printer->devicePath()));
    QVERIFY(client.write("\x05"));
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
    QCOMPARE(rig.open(), SimExit::Ok);
    {
        PtyClient client;
        QVERIFY(client.open(rig.printer->devicePath()));
        QVERIFY(client.write("\x05"));
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
    QCOMPARE(rig.open(), SimExit::Ok);
    QSignalSpy closed(rig.printer.get(), &SerialPrinter::lineClosed);
    QVERIFY(closed.isValid());
    PtyClient client;
    QVERIFY(client.open(rig.printer->devicePath()));
    QVERIFY(client.write("\x05"));
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
    QCOMPARE(rig.open(), SimExit::Ok);
    PtyClient client;
    QVERIFY(client.open(rig.printer->devicePath()));
    QVERIFY(client.write("\x05"));
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
