#include "fakeprinterserver.h"
#include "runtimeerror.h"
#include "tcpsocketcontrol.h"

#include <QSignalSpy>
#include <QTcpServer>
#include <QTcpSocket>
#include <QTest>
#include <QThread>

#include <arpa/inet.h>
#include <netinet/in.h>
#include <poll.h>
#include <sys/socket.h>
#include <unistd.h>

#include <cerrno>
#include <cstring>
#include <functional>
#include <limits>
#include <memory>
#include <vector>

using namespace std::chrono_literals;

namespace {

// Each test on its own loopback address, 127.0.4.101 to 127.0.4.109.
QString loopback(int host)
{
    return QStringLiteral("127.0.4.%1").arg(host);
}

// A port on which nothing listens: a connect there is refused.
constexpr qint32 closedPort = 1025;

// A listener whose queue of connections waiting to be accepted is full, so the system drops
// further connection requests and a connect stays pending until it gives up.
class FullListener
{
public:
    explicit FullListener(const QString &address)
    {
        sockaddr_in where{};
        where.sin_family = AF_INET;
        inet_pton(AF_INET, address.toLatin1().constData(), &where.sin_addr);
        m_listener = ::socket(AF_INET, SOCK_STREAM, 0);
        if (::bind(m_listener, reinterpret_cast<sockaddr *>(&where), sizeof where) != 0 ||
            ::listen(m_listener, 0) != 0)
            return;
        socklen_t length = sizeof where;
        ::getsockname(m_listener, reinterpret_cast<sockaddr *>(&where), &length);
        m_port = ntohs(where.sin_port);
        // Connects until one stays pending: from then on the queue is full.
        for (int i = 0; i < 16; ++i) {
            const int filler = ::socket(AF_INET, SOCK_STREAM | SOCK_NONBLOCK, 0);
            m_fillers.push_back(filler);
            ::connect(filler, reinterpret_cast<sockaddr *>(&where), sizeof where);
            pollfd writable{filler, POLLOUT, 0};
            if (::poll(&writable, 1, 200) == 0) {
                m_full = true;
                return;
            }
        }
    }
    ~FullListener()
    {
        for (const int filler : m_fillers)
            ::close(filler);
        ::close(m_listener);
    }
    FullListener(const FullListener &) = delete;
    FullListener &operator=(const FullListener &) = delete;

    bool isFull() const { return m_full; }
    qint32 port() const { return m_port; }

private:
    int m_listener = -1;
    qint32 m_port = 0;
    bool m_full = false;
    std::vector<int> m_fillers;
};

struct Spies
{
    explicit Spies(TcpSocketControl &control)
        : error(&control, &SocketControl::Error)
        , data(&control, &SocketControl::DataArrival)
    {
    }
    QSignalSpy error;
    QSignalSpy data;
};

// The printer's end of the connection, once the server has it.
QTcpSocket *accepted(QTcpServer &server)
{
    if (!server.hasPendingConnections())
        server.waitForNewConnection(5000);
    return server.nextPendingConnection();
}

void connectTo(TcpSocketControl &control, const QString &host, qint32 port)
{
    control.setRemoteHost(host);
    control.setRemotePort(port);
    control.Connect();
}

// The error that operation throws, or number 0 when it throws none.
RuntimeError thrownBy(const std::function<void()> &operation)
{
    try {
        operation();
    } catch (const RuntimeError &error) {
        return error;
    }
    return {};
}

} // namespace

class TestTcpSocketControl : public QObject
{
    Q_OBJECT

private slots:
    void connectsAndTakesData();
    void peerCloses();
    void peerResets_data();
    void peerResets();
    void refusedConnection();
    void unresolvableHost();
    void connectTimesOut();
    void invalidOperation_data();
    void invalidOperation();
    void getDataWhenClosed();
    void staleEventsAreDropped_data();
    void staleEventsAreDropped();
    void receivedDataStaysBounded();
    void remotePortRange_data();
    void remotePortRange();
    void qtFailures_data();
    void qtFailures();
    void getDataLeavesNothingBehind_data();
    void getDataLeavesNothingBehind();
};

void TestTcpSocketControl::connectsAndTakesData()
{
    QTcpServer server;
    QVERIFY(server.listen(QHostAddress(loopback(101)), 0));
    TcpSocketControl control;
    Spies spies(control);
    QCOMPARE(control.State(), SocketControl::sckClosed);

    connectTo(control, loopback(101), server.serverPort());
    // An address needs no lookup: connecting at once, and nothing said inside Connect.
    QCOMPARE(control.State(), SocketControl::sckConnecting);
    QTRY_COMPARE(control.State(), SocketControl::sckConnected);
    std::unique_ptr<QTcpSocket> printer(accepted(server));
    QVERIFY(printer);

    QByteArray everyByte;
    for (int code = 0; code < 256; ++code)
        everyByte.append(static_cast<char>(code));
    printer->write(everyByte);
    printer->flush();

    // Nothing arrives while the thread sleeps; it comes where events are let through.
    QThread::msleep(50);
    QCOMPARE(spies.data.count(), 0);
    QString received;
    while (received.size() < 256) {
        QTRY_VERIFY(spies.data.count() > 0);
        QVERIFY(spies.data.takeFirst().at(0).toInt() > 0);
        QString more;
        control.GetData(more);
        received += more;
    }
    QCOMPARE(received.size(), 256);
    for (int code = 0; code < 256; ++code)
        QCOMPARE(received.at(code).unicode(), code);

    control.Close();
    QCOMPARE(control.State(), SocketControl::sckClosed);
    QCOMPARE(spies.error.count(), 0);
}

void TestTcpSocketControl::peerCloses()
{
    QTcpServer server;
    QVERIFY(server.listen(QHostAddress(loopback(102)), 0));
    TcpSocketControl control;
    Spies spies(control);
    connectTo(control, loopback(102), server.serverPort());
    {
        std::unique_ptr<QTcpSocket> printer(accepted(server));
        QVERIFY(printer);
        printer->write("last words");
        printer->flush();
    }

    QTRY_COMPARE(control.State(), SocketControl::sckClosing);
    // What the peer sent before it went can still be taken; no error is reported.
    QString received;
    control.GetData(received);
    QCOMPARE(received, QStringLiteral("last words"));
    QTest::qWait(20);
    QCOMPARE(control.State(), SocketControl::sckClosing);
    QCOMPARE(spies.error.count(), 0);

    control.Close();
    QCOMPARE(control.State(), SocketControl::sckClosed);
}

void TestTcpSocketControl::peerResets_data()
{
    QTest::addColumn<QString>("address"); // 127.0.8.x
    QTest::addColumn<bool>("onAccept");
    // Written by the printer before it resets; what the program can still take.
    QTest::addColumn<QByteArray>("lastWords");

    // Reset while the program sleeps in its pause, before the control has seen it connect.
    QTest::newRow("on accept") << QStringLiteral("127.0.8.11") << true << QByteArray();
    QTest::newRow("once connected, after a reply")
        << QStringLiteral("127.0.8.13") << false << QByteArray("\x02  A000123\x03");
    QTest::newRow("on accept, after a reply")
        << QStringLiteral("127.0.8.14") << true << QByteArray("\x02  A000123\x03");
}

void TestTcpSocketControl::peerResets()
{
    QFETCH(QString, address);
    QFETCH(bool, onAccept);
    QFETCH(QByteArray, lastWords);

    FakePrinterScript script;
    script.listenUt = false;
    script.dropOnAccept = onAccept;
    if (!lastWords.isEmpty())
        script.innPieces = {lastWords};
    FakePrinterServer printer(QHostAddress(address), script);
    QVERIFY2(printer.listenError().isEmpty(), qPrintable(printer.listenError()));
    TcpSocketControl control;
    Spies spies(control);
    connectTo(control, address, FakePrinterServer::innPort);

    if (onAccept) {
        QVERIFY(printer.waitForDropped(1));
    } else {
        QTRY_COMPARE(control.State(), SocketControl::sckConnected);
        QVERIFY(printer.waitFor(1, 1));
        printer.dropConnections();
    }
    QCOMPARE(spies.error.count(), 0);

    QTRY_COMPARE(spies.error.count(), 1);
    QCOMPARE(spies.error.at(0).at(0).value<qint16>(), qint16(10054));
    QCOMPARE(spies.error.at(0).at(1).toString(), QString::fromLocal8Bit(std::strerror(ECONNRESET)));
    QString received;
    control.GetData(received);
    QCOMPARE(received, QString::fromLatin1(lastWords));
    QCOMPARE(spies.data.count(), lastWords.isEmpty() ? 0 : 1);
    // In error until closed, and never connected again behind the program's back.
    QTest::qWait(50);
    QCOMPARE(control.State(), SocketControl::sckError);
    QCOMPARE(spies.error.count(), 1);
    QCOMPARE(printer.innConnections(), 1);

    control.Close();
    QCOMPARE(control.State(), SocketControl::sckClosed);
}

void TestTcpSocketControl::refusedConnection()
{
    TcpSocketControl control;
    Spies spies(control);
    connectTo(control, loopback(103), closedPort);
    QCOMPARE(spies.error.count(), 0);

    QTRY_COMPARE(spies.error.count(), 1);
    QCOMPARE(spies.error.at(0).at(0).value<qint16>(), qint16(10061));
    QCOMPARE(spies.error.at(0).at(1).toString(), QStringLiteral("Connection refused"));
    // Qt's socket is unconnected again by now; the control stays in error until closed.
    QTest::qWait(20);
    QCOMPARE(control.State(), SocketControl::sckError);
    QCOMPARE(spies.error.count(), 1);

    control.Close();
    QCOMPARE(control.State(), SocketControl::sckClosed);
    // Closed, it can connect again.
    control.Connect();
    QTRY_COMPARE(spies.error.count(), 2);
    QCOMPARE(control.State(), SocketControl::sckError);
}

void TestTcpSocketControl::unresolvableHost()
{
    // Not refused at once: it fails in the background like any other connect.
    TcpSocketControl control;
    Spies spies(control);
    connectTo(control, QString(), 1025);
    QCOMPARE(control.State(), SocketControl::sckResolvingHost);
    QCOMPARE(spies.error.count(), 0);

    QTRY_COMPARE(spies.error.count(), 1);
    QCOMPARE(spies.error.at(0).at(0).value<qint16>(), qint16(11001));
    QCOMPARE(spies.error.at(0).at(1).toString(), QStringLiteral("Host not found"));
    QCOMPARE(control.State(), SocketControl::sckError);
}

void TestTcpSocketControl::connectTimesOut()
{
    FullListener listener(loopback(104));
    if (!listener.isFull())
        QSKIP("The system accepts every connection request; no connect stays pending.");

    TcpSocketControl control;
    control.setConnectTimeout(200ms);
    Spies spies(control);
    connectTo(control, loopback(104), listener.port());
    QTest::qWait(50);
    QCOMPARE(control.State(), SocketControl::sckConnecting);
    QCOMPARE(spies.error.count(), 0);

    QTRY_COMPARE(spies.error.count(), 1);
    QCOMPARE(spies.error.at(0).at(0).value<qint16>(), qint16(10060));
    QCOMPARE(spies.error.at(0).at(1).toString(), QStringLiteral("Connection timed out"));
    QCOMPARE(control.State(), SocketControl::sckError);
}

void TestTcpSocketControl::invalidOperation_data()
{
    QTest::addColumn<QString>("situation");
    QTest::addColumn<qint16>("state");

    QTest::newRow("connecting") << QStringLiteral("pending")
                                << qint16(SocketControl::sckConnecting);
    QTest::newRow("connected") << QStringLiteral("listening")
                               << qint16(SocketControl::sckConnected);
    QTest::newRow("error") << QStringLiteral("refused") << qint16(SocketControl::sckError);
}

void TestTcpSocketControl::invalidOperation()
{
    QFETCH(QString, situation);
    QFETCH(qint16, state);

    const QString address = loopback(105);
    QTcpServer server;
    std::unique_ptr<FullListener> full;
    qint32 port = closedPort;
    if (situation == QLatin1String("listening")) {
        QVERIFY(server.listen(QHostAddress(address), 0));
        port = server.serverPort();
    } else if (situation == QLatin1String("pending")) {
        full = std::make_unique<FullListener>(address);
        if (!full->isFull())
            QSKIP("The system accepts every connection request; no connect stays pending.");
        port = full->port();
    }

    TcpSocketControl control;
    Spies spies(control);
    connectTo(control, address, port);
    QTRY_COMPARE(control.State(), state);

    const QList<std::function<void()>> operations = {
        [&] { control.setRemoteHost(address); },
        [&] { control.setRemotePort(port); },
        [&] { control.Connect(); },
    };
    for (const auto &operation : operations) {
        const RuntimeError error = thrownBy(operation);
        QCOMPARE(error.number, 40020);
        QCOMPARE(error.description, QStringLiteral("Invalid operation at current state"));
        QCOMPARE(control.State(), state);
    }
    // Refused at once; nothing comes as an event.
    QTest::qWait(20);
    QCOMPARE(spies.error.count(), state == SocketControl::sckError ? 1 : 0);
}

void TestTcpSocketControl::getDataWhenClosed()
{
    TcpSocketControl control;
    QString data = QStringLiteral("untouched");
    const RuntimeError error = thrownBy([&] { control.GetData(data); });
    QCOMPARE(error.number, 40006);
    QCOMPARE(data, QStringLiteral("untouched"));
    // Closing a closed socket is no error.
    QCOMPARE(thrownBy([&] { control.Close(); }).number, 0);
}

void TestTcpSocketControl::staleEventsAreDropped_data()
{
    QTest::addColumn<bool>("data");
    QTest::newRow("error") << false;
    QTest::newRow("data") << true;
}

void TestTcpSocketControl::staleEventsAreDropped()
{
    QFETCH(bool, data);

    const QString address = loopback(106);
    QTcpServer server;
    QVERIFY(server.listen(QHostAddress(address), 0));
    TcpSocketControl control;
    Spies spies(control);
    std::unique_ptr<QTcpSocket> printer;

    // The program closes the socket just after the control has queued its event (as a click
    // handled in the same round of events would), before the event's turn comes.
    auto *inner = control.findChild<QTcpSocket *>();
    QVERIFY(inner);
    bool closedInBetween = false;
    const auto closeNow = [&] {
        if (!closedInBetween) {
            closedInBetween = true;
            control.Close();
        }
    };
    if (data) {
        connect(inner, &QIODevice::readyRead, this, closeNow);
        connectTo(control, address, server.serverPort());
        printer.reset(accepted(server));
        QVERIFY(printer);
        printer->write("\x02  A000123\x03");
        printer->flush();
    } else {
        connect(inner, &QAbstractSocket::errorOccurred, this, closeNow);
        connectTo(control, address, closedPort);
    }

    QTRY_VERIFY(closedInBetween);
    QTest::qWait(50);
    QCOMPARE(spies.error.count(), 0);
    QCOMPARE(spies.data.count(), 0);
    QCOMPARE(control.State(), SocketControl::sckClosed);
}

void TestTcpSocketControl::receivedDataStaysBounded()
{
    const QString address = loopback(107);
    QTcpServer server;
    QVERIFY(server.listen(QHostAddress(address), 0));
    TcpSocketControl control;
    Spies spies(control);
    connectTo(control, address, server.serverPort());
    std::unique_ptr<QTcpSocket> printer(accepted(server));
    QVERIFY(printer);

    // The printer floods; the program takes nothing for a while.
    const QByteArray chunk(64 * 1024, 'x');
    qint64 offered = 0;
    QElapsedTimer clock;
    clock.start();
    while (clock.elapsed() < 300) {
        if (printer->bytesToWrite() < chunk.size()) {
            printer->write(chunk);
            offered += chunk.size();
        }
        QCoreApplication::processEvents();
    }
    // Qt may hold 16 KiB that the program has not taken.
    QVERIFY(offered > 4 * 16384);

    // One event stands for all of it, and what is held is bounded.
    QCOMPARE(spies.data.count(), 1);
    QString held;
    control.GetData(held);
    QVERIFY(!held.isEmpty());
    QVERIFY2(held.size() <= 16384, qPrintable(QString::number(held.size())));

    // Taking it lets the socket read again.
    QTRY_VERIFY(spies.data.count() >= 2);
    QString more;
    control.GetData(more);
    QVERIFY(!more.isEmpty());
}

void TestTcpSocketControl::remotePortRange_data()
{
    QTest::addColumn<qint32>("port");
    QTest::addColumn<bool>("accepted");

    QTest::newRow("0") << 0 << true;
    QTest::newRow("1025") << 1025 << true;
    QTest::newRow("65535") << 65535 << true;
    QTest::newRow("-1") << -1 << false;
    QTest::newRow("65536") << 65536 << false;
    QTest::newRow("lowest 32-bit number") << std::numeric_limits<qint32>::min() << false;
    QTest::newRow("highest 32-bit number") << std::numeric_limits<qint32>::max() << false;
}

void TestTcpSocketControl::remotePortRange()
{
    QFETCH(qint32, port);
    QFETCH(bool, accepted);

    TcpSocketControl control;
    const RuntimeError error = thrownBy([&] { control.setRemotePort(port); });
    QCOMPARE(error.number, accepted ? 0 : 380);
    QCOMPARE(error.description, accepted ? QString() : QStringLiteral("Invalid property value"));
    QCOMPARE(control.State(), SocketControl::sckClosed);
    if (accepted)
        return;

    // A refused port leaves the one set before it: the connect goes there.
    const QString address = loopback(108);
    QTcpServer server;
    QVERIFY(server.listen(QHostAddress(address), 0));
    control.setRemoteHost(address);
    control.setRemotePort(server.serverPort());
    QCOMPARE(thrownBy([&] { control.setRemotePort(port); }).number, 380);
    control.Connect();
    QTRY_COMPARE(control.State(), SocketControl::sckConnected);
}

void TestTcpSocketControl::qtFailures_data()
{
    QTest::addColumn<QAbstractSocket::SocketError>("error");
    QTest::addColumn<qint16>("stateBefore");
    QTest::addColumn<QString>("qtText");
    QTest::addColumn<qint32>("number");

    using E = QAbstractSocket;
    const qint16 resolving = 4;
    const qint16 resolved = 5;
    const qint16 connecting = 6;
    const qint16 connected = 7;
    // Qt's network failure is an unreachable host while connecting, a broken connection after.
    QTest::newRow("unreachable network while connecting")
        << E::NetworkError << connecting << QStringLiteral("Network unreachable") << 10065;
    QTest::newRow("unreachable network while resolving")
        << E::NetworkError << resolving << QStringLiteral("Network unreachable") << 10065;
    QTest::newRow("unreachable host, address resolved")
        << E::NetworkError << resolved << QStringLiteral("Host unreachable") << 10065;
    QTest::newRow("aborted connection")
        << E::NetworkError << connected << QStringLiteral("Network error") << 10053;
    QTest::newRow("refused") << E::ConnectionRefusedError << connecting
                             << QStringLiteral("Connection refused") << 10061;
    QTest::newRow("reset") << E::RemoteHostClosedError << connecting
                           << QStringLiteral("The remote host closed the connection") << 10054;
    QTest::newRow("host not found")
        << E::HostNotFoundError << resolving << QStringLiteral("Host not found") << 11001;
    QTest::newRow("time-out") << E::SocketTimeoutError << connecting
                              << QStringLiteral("Socket operation timed out") << 10060;
    QTest::newRow("access denied")
        << E::SocketAccessError << connecting << QStringLiteral("Permission denied") << 10013;
    QTest::newRow("out of resources")
        << E::SocketResourceError << resolving << QStringLiteral("Out of resources") << 10055;
    QTest::newRow("unsupported operation")
        << E::UnsupportedSocketOperationError << connecting
        << QStringLiteral("Protocol type not supported") << 10047;
    QTest::newRow("address in use")
        << E::AddressInUseError << connecting << QStringLiteral("Address already in use") << 10048;
    QTest::newRow("address not available")
        << E::SocketAddressNotAvailableError << connecting
        << QStringLiteral("The address is not available") << 10049;
    QTest::newRow("any other failure")
        << E::UnknownSocketError << connected << QStringLiteral("Unknown error") << 10053;
    QTest::newRow("any other failure, empty text")
        << E::ProxyConnectionRefusedError << connecting << QString() << 10053;
}

void TestTcpSocketControl::qtFailures()
{
    QFETCH(QAbstractSocket::SocketError, error);
    QFETCH(qint16, stateBefore);
    QFETCH(QString, qtText);
    QFETCH(qint32, number);

    const RuntimeError failure = TcpSocketControl::qtFailure(error, stateBefore, qtText);
    QCOMPARE(failure.number, number);
    QCOMPARE(failure.description, qtText);
}

void TestTcpSocketControl::getDataLeavesNothingBehind_data()
{
    QTest::addColumn<bool>("reset");
    QTest::newRow("open connection") << false;
    // What the system still held of the dropped connection is the control's to hand over.
    QTest::newRow("connection reset after a reply") << true;
}

void TestTcpSocketControl::getDataLeavesNothingBehind()
{
    QFETCH(bool, reset);

    const QByteArray first("\x02  A000123\x03");
    TcpSocketControl control;
    Spies spies(control);
    QString data;
    if (reset) {
        const QString address = QStringLiteral("127.0.8.15");
        FakePrinterScript script;
        script.listenUt = false;
        script.dropOnAccept = true;
        script.innPieces = {first};
        FakePrinterServer printer(QHostAddress(address), script);
        QVERIFY2(printer.listenError().isEmpty(), qPrintable(printer.listenError()));
        connectTo(control, address, FakePrinterServer::innPort);
        QVERIFY(printer.waitForDropped(1));
        QTRY_COMPARE(spies.error.count(), 1);
        control.GetData(data);
        QCOMPARE(data, QString::fromLatin1(first));
        control.GetData(data);
        QCOMPARE(data, QString());
        QCOMPARE(control.State(), SocketControl::sckError);
        return;
    }

    const QString address = loopback(109);
    QTcpServer server;
    QVERIFY(server.listen(QHostAddress(address), 0));
    connectTo(control, address, server.serverPort());
    std::unique_ptr<QTcpSocket> printer(accepted(server));
    QVERIFY(printer);
    printer->write(first);
    printer->flush();
    QTRY_COMPARE(spies.data.count(), 1);
    control.GetData(data);
    QCOMPARE(data, QString::fromLatin1(first));
    // Taken once, it is gone; what comes next is handed over alone.
    control.GetData(data);
    QCOMPARE(data, QString());
    printer->write("second");
    printer->flush();
    QTRY_COMPARE(spies.data.count(), 2);
    control.GetData(data);
    QCOMPARE(data, QStringLiteral("second"));
}

QTEST_MAIN(TestTcpSocketControl)

#include "tst_tcpsocketcontrol.moc"
