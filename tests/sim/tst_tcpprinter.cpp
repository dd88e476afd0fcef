#include "exitcodes.h"
#include "simrig.h"
#include "tcpclient.h"
#include "tcpprinter.h"

#include <QElapsedTimer>
#include <QTcpServer>
#include <QtTest>

// Every test here owns addresses 127.0.0.51 to 127.0.0.59 with the real ports 1024 and 1025.
namespace {
const QByteArray healthy("\x02  A000500\x03");
constexpr quint16 statusPort = 1025;
constexpr quint16 dataPort = 1024;
// Long enough that only the frame sent on connect can arrive within a test.
const QString noRepeat = QStringLiteral("60000");

SimOptions optionsFor(const QString &address, QStringList arguments)
{
    arguments << QStringLiteral("--address") << address;
    return parseSimOptions(arguments);
}

class Rig : public SimRig<TcpPrinter>
{
public:
    using SimRig::SimRig;
    int listen() { return printer->listen(&error); }
};

bool canListen(const QString &address, quint16 port)
{
    QTcpServer server;
    return server.listen(QHostAddress(address), port);
}
} // namespace

class TestTcpPrinter : public QObject
{
    Q_OBJECT

private slots:
    void cycleSendsOnConnect();
    void cycleRepeatsWhileConnected();
    void cycleIgnoresEnquiries();
    void enqTimingAnswersEachEnq();
    void enqWithoutStatusConnection();
    void printDataCountsDownLabels_data();
    void printDataCountsDownLabels();
    void oneConnectionPerPort_data();
    void oneConnectionPerPort();
    void closeOnConnect_data();
    void closeOnConnect();
    void refusedPort_data();
    void refusedPort();
    void misbehaviour_data();
    void misbehaviour();
    void noReply();
    void flood_data();
    void flood();
    void portTaken_data();
    void portTaken();
    void logsConnectionsAndFrames();
    void stoppingFreesThePorts();
};

void TestTcpPrinter::cycleSendsOnConnect()
{
    const QString address = QStringLiteral("127.0.0.51");
    Rig rig(optionsFor(address, {"--interval", noRepeat}));
    QCOMPARE(rig.listen(), SimExit::Ok);
    TcpClient client;
    client.connectTo(address, statusPort);
    QTRY_COMPARE(client.received, healthy);
}

void TestTcpPrinter::cycleRepeatsWhileConnected()
{
    const QString address = QStringLiteral("127.0.0.51");
    Rig rig(optionsFor(address, {"--interval", "30", "--status", "b", "--labels", "120"}));
    QCOMPARE(rig.listen(), SimExit::Ok);
    TcpClient client;
    client.connectTo(address, statusPort);
    const QByteArray frame("\x02  b000120\x03");
    QTRY_VERIFY(client.received.size() >= 4 * frame.size());
    const QByteArray received = client.received;
    QCOMPARE(received, frame.repeated(received.size() / frame.size()));
}

void TestTcpPrinter::cycleIgnoresEnquiries()
{
    const QString address = QStringLiteral("127.0.0.52");
    Rig rig(optionsFor(address, {"--interval", noRepeat}));
    QCOMPARE(rig.listen(), SimExit::Ok);
    TcpClient status;
    TcpClient data;
    status.connectTo(address, statusPort);
    data.connectTo(address, dataPort);
    QTRY_COMPARE(status.received, healthy);
    QTRY_VERIFY(data.isConnected());
    data.send("\x05");
    QTRY_VERIFY(rig.logged(QStringLiteral("ENQ ignored")));
    QTest::qWait(50);
    QCOMPARE(status.received, healthy);
}

void TestTcpPrinter::enqTimingAnswersEachEnq()
{
    const QString address = QStringLiteral("127.0.0.52");
    Rig rig(optionsFor(address, {"--timing", "enq"}));
    QCOMPARE(rig.listen(), SimExit::Ok);
    TcpClient status;
    TcpClient data;
    status.connectTo(address, statusPort);
    data.connectTo(address, dataPort);
    QTRY_VERIFY(status.isConnected() && data.isConnected());
    QTest::qWait(150);
    QVERIFY(status.received.isEmpty());

    data.send("\x05");
    QTRY_COMPARE(status.received, healthy);
    data.send("\x05\x05");
    QTRY_COMPARE(status.received, healthy.repeated(3));
    QVERIFY(data.received.isEmpty());
}

void TestTcpPrinter::enqWithoutStatusConnection()
{
    const QString address = QStringLiteral("127.0.0.52");
    Rig rig(optionsFor(address, {"--timing", "enq"}));
    QCOMPARE(rig.listen(), SimExit::Ok);
    TcpClient data;
    data.connectTo(address, dataPort);
    QTRY_VERIFY(data.isConnected());
    data.send("\x05");
    QTRY_VERIFY(rig.logged(QStringLiteral("nothing is connected to port 1025")));

    // A status connection made afterwards gets nothing for the earlier ENQ.
    TcpClient status;
    status.connectTo(address, statusPort);
    QTRY_VERIFY(status.isConnected());
    QTest::qWait(100);
    QVERIFY(status.received.isEmpty());
}

void TestTcpPrinter::printDataCountsDownLabels_data()
{
    QTest::addColumn<QString>("labels");
    QTest::addColumn<QByteArray>("printData");
    QTest::addColumn<QByteArray>("frame");

    QTest::newRow("one job") << "500"
                             << QByteArray("\x1b"
                                           "A\x1bH0100hello\x1bZ")
                             << QByteArray("\x02  A000499\x03");
    QTest::newRow("three labels") << "500"
                                  << QByteArray("\x1b"
                                                "A\x1bQ3\x1bZ")
                                  << QByteArray("\x02  A000497\x03");
    QTest::newRow("text is no job") << "500" << QByteArray("hello\r\n") << healthy;
    QTest::newRow("last labels") << "2"
                                 << QByteArray("\x1b"
                                               "A\x1bQ2\x1bZ")
                                 << QByteArray("\x02  c000000\x03");
    QTest::newRow("thousands of full jobs at once")
        << "999999" << QByteArray("\x1bQ999999\x1bZ").repeated(2200)
        << QByteArray("\x02  c000000\x03");
}

void TestTcpPrinter::printDataCountsDownLabels()
{
    QFETCH(QString, labels);
    QFETCH(QByteArray, printData);
    QFETCH(QByteArray, frame);

    const QString address = QStringLiteral("127.0.0.53");
    Rig rig(optionsFor(address, {"--timing", "enq", "--labels", labels}));
    QCOMPARE(rig.listen(), SimExit::Ok);
    TcpClient status;
    TcpClient data;
    status.connectTo(address, statusPort);
    data.connectTo(address, dataPort);
    QTRY_VERIFY(status.isConnected() && data.isConnected());
    // The ENQ in the same write: the frame must count the job that came before it.
    data.send(printData + "\x05");
    QTRY_COMPARE(status.received, frame);
}

void TestTcpPrinter::oneConnectionPerPort_data()
{
    QTest::addColumn<quint16>("port");
    QTest::newRow("status port") << statusPort;
    QTest::newRow("data port") << dataPort;
}

void TestTcpPrinter::oneConnectionPerPort()
{
    QFETCH(quint16, port);

    const QString address = QStringLiteral("127.0.0.54");
    Rig rig(optionsFor(address, {"--interval", "50"}));
    QCOMPARE(rig.listen(), SimExit::Ok);
    TcpClient first;
    first.connectTo(address, port);
    QTRY_VERIFY(rig.logged(QStringLiteral("%1: connection from").arg(port)));

    TcpClient second;
    second.connectTo(address, port);
    QTRY_VERIFY(second.closedByPeer);
    QVERIFY(second.received.isEmpty());
    QVERIFY(rig.logged(QStringLiteral("%1: second connection from").arg(port)));
    QVERIFY(first.isConnected());
    QVERIFY(!first.closedByPeer);
    if (port == statusPort) {
        const qsizetype before = first.received.size();
        QTRY_VERIFY(first.received.size() > before);
    }

    // Once the first goes, the port takes a new one.
    const QString firstPeer = QStringLiteral("%1:%2")
                                  .arg(first.socket().localAddress().toString())
                                  .arg(first.socket().localPort());
    first.socket().disconnectFromHost();
    QTRY_VERIFY(
        rig.logged(QStringLiteral("%1: connection from %2 closed").arg(port).arg(firstPeer)));
    TcpClient third;
    third.connectTo(address, port);
    QTRY_VERIFY(third.isConnected());
    QTest::qWait(100);
    QVERIFY(!third.closedByPeer);
}

void TestTcpPrinter::closeOnConnect_data()
{
    oneConnectionPerPort_data();
}

void TestTcpPrinter::closeOnConnect()
{
    QFETCH(quint16, port);

    const QString address = QStringLiteral("127.0.0.55");
    Rig rig(optionsFor(address, {"--close-on-connect"}));
    QCOMPARE(rig.listen(), SimExit::Ok);
    TcpClient client;
    client.connectTo(address, port);
    QTRY_VERIFY(client.closedByPeer);
    QVERIFY(client.received.isEmpty());
    QVERIFY(rig.logged(QStringLiteral("closed at once (--close-on-connect)")));
}

void TestTcpPrinter::refusedPort_data()
{
    QTest::addColumn<QString>("option");
    QTest::addColumn<quint16>("refused");
    QTest::addColumn<quint16>("open");
    QTest::newRow("1024") << "--refuse-1024" << dataPort << statusPort;
    QTest::newRow("1025") << "--refuse-1025" << statusPort << dataPort;
}

void TestTcpPrinter::refusedPort()
{
    QFETCH(QString, option);
    QFETCH(quint16, refused);
    QFETCH(quint16, open);

    const QString address = QStringLiteral("127.0.0.56");
    Rig rig(optionsFor(address, {option}));
    QCOMPARE(rig.listen(), SimExit::Ok);
    TcpClient turnedAway;
    turnedAway.connectTo(address, refused);
    QTRY_COMPARE(turnedAway.lastError, QAbstractSocket::ConnectionRefusedError);
    TcpClient welcome;
    welcome.connectTo(address, open);
    QTRY_VERIFY(welcome.isConnected());
}

void TestTcpPrinter::misbehaviour_data()
{
    QTest::addColumn<QStringList>("arguments");
    QTest::addColumn<QByteArray>("bytes");
    QTest::addColumn<int>("minArrivals");
    QTest::addColumn<int>("minMs");

    QTest::newRow("length before STX") << QStringList{"--prefix", "\\x00\\x00\\x00\\x0b"}
                                       << QByteArray("\0\0\0\x0b", 4) + healthy << 1 << 0;
    QTest::newRow("CR LF after ETX") << QStringList{"--suffix", "\\r\\n"} << healthy + "\r\n"
                                     << 1 << 0;
    QTest::newRow("two frames at once") << QStringList{"--double"} << healthy + healthy << 1 << 0;
    QTest::newRow("in pieces") << QStringList{"--split", "3", "--split-pause", "80"} << healthy << 2
                               << 160;
    QTest::newRow("late") << QStringList{"--delay", "300"} << healthy << 1 << 300;
    QTest::newRow("all of it") << QStringList{"--prefix", "<", "--suffix", ">", "--double",
                                              "--split",  "2", "--delay",  "50"}
                               << "<" + healthy + "><" + healthy + ">" << 2 << 100;
}

void TestTcpPrinter::misbehaviour()
{
    QFETCH(QStringList, arguments);
    QFETCH(QByteArray, bytes);
    QFETCH(int, minArrivals);
    QFETCH(int, minMs);

    const QString address = QStringLiteral("127.0.0.57");
    Rig rig(optionsFor(address, arguments << "--interval" << noRepeat));
    QCOMPARE(rig.listen(), SimExit::Ok);
    TcpClient client;
    QElapsedTimer clock;
    clock.start();
    client.connectTo(address, statusPort);
    QTRY_COMPARE(client.received, bytes);
    QVERIFY2(client.arrivals >= minArrivals, qPrintable(QString::number(client.arrivals)));
    QVERIFY2(clock.elapsed() >= minMs, qPrintable(QString::number(clock.elapsed())));
}

void TestTcpPrinter::noReply()
{
    const QString address = QStringLiteral("127.0.0.57");
    Rig rig(optionsFor(address, {"--no-reply", "--interval", "20"}));
    QCOMPARE(rig.listen(), SimExit::Ok);
    TcpClient client;
    client.connectTo(address, statusPort);
    QTRY_VERIFY(client.isConnected());
    QTest::qWait(200);
    QVERIFY(client.received.isEmpty());
    QVERIFY(client.isConnected());
}

void TestTcpPrinter::flood_data()
{
    QTest::addColumn<QStringList>("arguments");
    QTest::addColumn<QByteArray>("unit");
    QTest::newRow("frames") << QStringList{"--flood"} << healthy;
    QTest::newRow("bytes") << QStringList{"--flood-bytes", "x"} << QByteArray("x");
}

void TestTcpPrinter::flood()
{
    QFETCH(QStringList, arguments);
    QFETCH(QByteArray, unit);

    const QString address = QStringLiteral("127.0.0.58");
    Rig rig(optionsFor(address, arguments));
    QCOMPARE(rig.listen(), SimExit::Ok);
    TcpClient client;
    client.connectTo(address, statusPort);
    constexpr qsizetype enough = 256 * 1024;
    QTRY_VERIFY(client.received.size() > enough);
    const qsizetype whole = client.received.size() / unit.size() * unit.size();
    QCOMPARE(client.received.left(whole), unit.repeated(whole / unit.size()));
    QVERIFY(rig.logged(QStringLiteral("1025: flooding")));
}

void TestTcpPrinter::portTaken_data()
{
    QTest::addColumn<quint16>("taken");
    QTest::newRow("status port") << statusPort;
    QTest::newRow("data port") << dataPort;
}

void TestTcpPrinter::portTaken()
{
    QFETCH(quint16, taken);

    const QString address = QStringLiteral("127.0.0.59");
    QTcpServer holder;
    QVERIFY(holder.listen(QHostAddress(address), taken));
    {
        Rig rig(optionsFor(address, {}));
        QCOMPARE(rig.listen(), SimExit::CannotListen);
        QVERIFY2(rig.error.contains(QString::number(taken)), qPrintable(rig.error));
    }
    holder.close();
    // Nothing of the failed start holds on to either port.
    QVERIFY(canListen(address, statusPort));
    QVERIFY(canListen(address, dataPort));
}

void TestTcpPrinter::logsConnectionsAndFrames()
{
    const QString address = QStringLiteral("127.0.0.53");
    Rig rig(optionsFor(address, {"--interval", noRepeat}));
    QCOMPARE(rig.listen(), SimExit::Ok);
    TcpClient client;
    client.connectTo(address, statusPort);
    QTRY_COMPARE(client.received, healthy);
    const QString peer = QStringLiteral("%1:%2")
                             .arg(client.socket().localAddress().toString())
                             .arg(client.socket().localPort());
    client.socket().disconnectFromHost();
    QTRY_VERIFY(rig.logged(QStringLiteral("closed")));
    const QStringList expected = {
        QStringLiteral(" 1025: connection from %1").arg(peer),
        QStringLiteral(" 1025: sent <STX>  A000500<ETX> (11 bytes)"),
        QStringLiteral(" 1025: connection from %1 closed").arg(peer),
    };
    QCOMPARE(rig.lines.size(), expected.size());
    for (int i = 0; i < expected.size(); ++i)
        QVERIFY2(rig.lines.at(i).endsWith(expected.at(i)), qPrintable(rig.lines.at(i)));
}

void TestTcpPrinter::stoppingFreesThePorts()
{
    const QString address = QStringLiteral("127.0.0.54");
    Rig rig(optionsFor(address, {"--flood"}));
    QCOMPARE(rig.listen(), SimExit::Ok);
    TcpClient status;
    TcpClient data;
    status.connectTo(address, statusPort);
    data.connectTo(address, dataPort);
    QTRY_VERIFY(!status.received.isEmpty() && data.isConnected());

    rig.printer.reset();
    QTRY_VERIFY(status.closedByPeer && data.closedByPeer);
    QVERIFY(canListen(address, statusPort));
    QVERIFY(canListen(address, dataPort));
}

QTEST_GUILESS_MAIN(TestTcpPrinter)
#include "tst_tcpprinter.moc"
