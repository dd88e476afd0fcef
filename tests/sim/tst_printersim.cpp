#include "ptyclient.h"
#include "simprocess.h"
#include "tcpclient.h"

#include <QFileInfo>
#include <QTcpServer>
#include <QTemporaryDir>
#include <QtTest>

#include <csignal>

// The built printer-sim as a process. Its network runs use 127.0.0.60 to 127.0.0.70 only.
namespace {
const QByteArray healthy("\x02  A000500\x03");

bool canListen(const QString &address, quint16 port)
{
    QTcpServer server;
    return server.listen(QHostAddress(address), port);
}
} // namespace

class TestPrinterSim : public QObject
{
    Q_OBJECT

private slots:
    void initTestCase();
    void help_data();
    void help();
    void exitCodes_data();
    void exitCodes();
    void portTaken_data();
    void portTaken();
    void stopsCleanlyOnSignal_data();
    void stopsCleanlyOnSignal();
    void serialLine();
    void dropLineEndsTheRun();
};

void TestPrinterSim::initTestCase()
{
    QVERIFY2(QFileInfo(SimProcess::program()).isExecutable(), qPrintable(SimProcess::program()));
}

void TestPrinterSim::help_data()
{
    QTest::addColumn<QString>("option");
    QTest::newRow("long") << "--help";
    QTest::newRow("short") << "-h";
}

void TestPrinterSim::help()
{
    QFETCH(QString, option);

    SimProcess sim;
    sim.start({option});
    QCOMPARE(sim.waitForExit(), 0);
    QVERIFY(sim.out().startsWith(QStringLiteral("Usage: printer-sim [OPTION]...\n")));
    QVERIFY(sim.out().contains(QStringLiteral("\nExit status:\n")));
    QVERIFY(sim.err().isEmpty());
}

void TestPrinterSim::exitCodes_data()
{
    QTest::addColumn<QStringList>("arguments");
    QTest::addColumn<int>("exitCode");
    QTest::addColumn<QString>("says");

    QTest::newRow("unknown option") << QStringList{"--bogus"} << 1
                                    << "printer-sim: Unknown option 'bogus'.\n"
                                       "Try 'printer-sim --help' for more information.\n";
    QTest::newRow("bad value") << QStringList{"--labels", "lots"} << 1 << "--labels";
    // Refused before anything is opened: nothing listens on or connects to this address.
    QTest::newRow("address outside loopback")
        << QStringList{"--address", "10.1.2.3"} << 2 << "refusing to listen on 10.1.2.3";
    QTest::newRow("link cannot be made")
        << QStringList{"--serial", "--link", "/nonexistent-printer-sim-dir/printer0"} << 4
        << "cannot make the link";
}

void TestPrinterSim::exitCodes()
{
    QFETCH(QStringList, arguments);
    QFETCH(int, exitCode);
    QFETCH(QString, says);

    SimProcess sim;
    sim.start(arguments);
    QCOMPARE(sim.waitForExit(), exitCode);
    QVERIFY2(sim.err().contains(says), qPrintable(sim.err()));
    QVERIFY(sim.out().isEmpty());
}

void TestPrinterSim::portTaken_data()
{
    QTest::addColumn<QString>("address");
    QTest::addColumn<quint16>("port");
    QTest::newRow("1025") << "127.0.0.60" << quint16(1025);
    QTest::newRow("1024") << "127.0.0.61" << quint16(1024);
}

void TestPrinterSim::portTaken()
{
    QFETCH(QString, address);
    QFETCH(quint16, port);

    QTcpServer holder;
    QVERIFY(holder.listen(QHostAddress(address), port));
    SimProcess sim;
    sim.start({QStringLiteral("--address"), address});
    QCOMPARE(sim.waitForExit(), 3);
    QVERIFY2(
        sim.err().contains(QStringLiteral("cannot listen on %1 port %2").arg(address).arg(port)),
        qPrintable(sim.err()));
}

void TestPrinterSim::stopsCleanlyOnSignal_data()
{
    QTest::addColumn<int>("signalNumber");
    QTest::addColumn<QString>("address");
    QTest::newRow("SIGTERM") << int(SIGTERM) << "127.0.0.62";
    QTest::newRow("SIGINT") << int(SIGINT) << "127.0.0.63";
    QTest::newRow("SIGHUP") << int(SIGHUP) << "127.0.0.64";
}

void TestPrinterSim::stopsCleanlyOnSignal()
{
    QFETCH(int, signalNumber);
    QFETCH(QString, address);

    SimProcess sim;
    sim.start({QStringLiteral("--address"), address, QStringLiteral("--interval"),
               QStringLiteral("60000")});
    QVERIFY2(sim.waitUntilReady(), qPrintable(sim.err()));
    TcpClient status;
    TcpClient data;
    status.connectTo(address, 1025);
    data.connectTo(address, 1024);
    QTRY_COMPARE(status.received, healthy);
    QTRY_VERIFY(data.isConnected());
    QTRY_VERIFY(sim.err().contains(QStringLiteral(" 1024: connection from ")));

    sim.sendSignal(signalNumber);
    QCOMPARE(sim.waitForExit(), 0);
    QTRY_VERIFY(status.closedByPeer && data.closedByPeer);
    QVERIFY(canListen(address, 1025));
    QVERIFY(canListen(address, 1024));

    // One line per event on standard error; nothing on standard output.
    const QStringList lines = sim.err().split(QLatin1Char('\n'), Qt::SkipEmptyParts);
    QCOMPARE(lines.filter(QStringLiteral(" 1025: connection from ")).size(), 1);
    QCOMPARE(lines.filter(QStringLiteral(" 1025: sent <STX>  A000500<ETX> (11 bytes)")).size(), 1);
    QCOMPARE(lines.filter(QStringLiteral("signal %1: stopping").arg(signalNumber)).size(), 1);
    QVERIFY(lines.last().endsWith(QStringLiteral("printer-sim: stopped")));
    QVERIFY(sim.out().isEmpty());
}

void TestPrinterSim::serialLine()
{
    QTemporaryDir dir;
    QVERIFY(dir.isValid());
    const QString link = dir.filePath(QStringLiteral("printer0"));
    SimProcess sim;
    sim.start({QStringLiteral("--serial"), QStringLiteral("--link"), link,
               QStringLiteral("--status"), QStringLiteral("b"), QStringLiteral("--labels"),
               QStringLiteral("120")});
    QVERIFY2(sim.waitUntilReady(), qPrintable(sim.err()));
    QTRY_VERIFY(sim.out().endsWith(QLatin1Char('\n')));
    const QString device = sim.out().trimmed();
    QVERIFY2(device.startsWith(QStringLiteral("/dev/")), qPrintable(device));
    QCOMPARE(QFileInfo(link).symLinkTarget(), device);

    PtyClient client;
    QVERIFY(client.open(link));
    QVERIFY(client.write("\x05"));
    QTRY_COMPARE(client.received(), QByteArray("\x02  b000120\x03"));
    // The simulator logs on its own stream, which may lag behind its reply.
    QTRY_VERIFY(sim.err().contains(QStringLiteral(" serial: port opened at the far end\n")));

    sim.sendSignal(SIGTERM);
    QCOMPARE(sim.waitForExit(), 0);
    QVERIFY(!QFileInfo(link).isSymLink());
    QTRY_VERIFY(client.hungUp());
}

void TestPrinterSim::dropLineEndsTheRun()
{
    SimProcess sim;
    sim.start({QStringLiteral("--serial"), QStringLiteral("--drop-line")});
    QVERIFY2(sim.waitUntilReady(), qPrintable(sim.err()));
    QTRY_VERIFY(sim.out().endsWith(QLatin1Char('\n')));
    PtyClient client;
    QVERIFY(client.open(sim.out().trimmed()));
    QVERIFY(client.write("\x05"));
    QCOMPARE(sim.waitForExit(), 0);
    QVERIFY(sim.err().contains(QStringLiteral("line dropped")));
    QTRY_VERIFY(client.hungUp());
}

QTEST_GUILESS_MAIN(TestPrinterSim)
#include "tst_printersim.moc"
