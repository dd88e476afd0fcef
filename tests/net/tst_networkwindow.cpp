#include "fakeplatform.h"
#include "fakeprinterserver.h"
#include "form1.h"
#include "scaledsleeper.h"
#include "tcpsocketcontrol.h"
#include "testwindow.h"

#include <QFile>
#include <QLineEdit>
#include <QPushButton>
#include <QRegularExpression>
#include <QTest>

#include <cerrno>
#include <cstring>
#include <memory>

using Pieces = QList<QByteArray>;
Q_DECLARE_METATYPE(FakePrinterScript)

namespace {

// Each test has its own printer address, 127.0.4.1 to 127.0.4.26 and 127.0.11.1 to
// 127.0.11.24, with the real ports 1025 and 1024; nothing here leaves the machine.
QString loopback(int host)
{
    return QStringLiteral("127.0.4.%1").arg(host);
}

QString hostileLoopback(int host)
{
    return QStringLiteral("127.0.11.%1").arg(host);
}

// The memory the test process holds now, in KiB; 0 where the system does not tell.
qint64 residentKiB()
{
    QFile status(QStringLiteral("/proc/self/status"));
    if (!status.open(QIODevice::ReadOnly))
        return 0;
    static const QRegularExpression resident(QStringLiteral("VmRSS:\\s+(\\d+) kB"));
    return resident.match(QString::fromLatin1(status.readAll())).captured(1).toLongLong();
}

QByteArray reply(char letter)
{
    return QByteArray("\x02  ") + letter + QByteArray("000123\x03");
}

QString withoutTimes(QString log)
{
    static const QRegularExpression stamp(QStringLiteral("(START|SLUTT) Nettverk [^\r\n]+"));
    return log.replace(stamp, QStringLiteral("\\1 Nettverk <time>"));
}

QString stars(int count)
{
    return QString(count, QLatin1Char('*'));
}

const QString opening = QStringLiteral("START Nettverk <time>\r\n"
                                       "Forsøker å nå skriveren, dette kan ta flere sekunder:\r\n");

QString closing(const QString &ip)
{
    return QStringLiteral("Lukker porter mot IP=") + ip +
           QStringLiteral("\r\nSLUTT Nettverk <time>\r\n\r\n");
}

QString notFound(const QString &ip)
{
    return QStringLiteral("Finner ikke skriver på IP-adresse ") + ip +
           QStringLiteral("\r\n Sjekk at den er koplet til.\r\n");
}

// The pass lines of a printer that connects and never reports.
QString silentPrinter(const QString &ip)
{
    return QStringLiteral("**Printer er tilkoplet!\r\n") + stars(19) +
           QStringLiteral("\r\nFerdig=True loops=21\r\n") + notFound(ip);
}

const QString online = QStringLiteral("**Printer er tilkoplet!\r\n"
                                      "*Printer er online, og klar til utskrift\r\n"
                                      "\r\n"
                                      "Ferdig=True loops=3\r\n");

const QString refusedInn =
    QStringLiteral("TCP/IP FEIL (SockInn). Kode=10061\r\nConnection refused\r\n");

QString resetInn()
{
    return QStringLiteral("TCP/IP FEIL (SockInn). Kode=10054\r\n") +
           QString::fromLocal8Bit(std::strerror(ECONNRESET)) + QStringLiteral("\r\n");
}

// The real window in network mode with the real sockets; only the message box, the program's
// end and the length of the pauses are the test's.
class Window
{
public:
    explicit Window(int sleepDivisor = 10)
        : sleeper(sleepDivisor)
    {
        button("cmdTCP")->click();
    }

    QPushButton *button(const char *name) const
    {
        return form->findChild<QPushButton *>(QLatin1String(name));
    }

    void setAddress(const QString &ip) const
    {
        form->findChild<QLineEdit *>(QStringLiteral("txtIP"))->setText(ip);
    }

    // Runs the whole test, as a click on "Test skriver" does.
    void runTest(const QString &ip) const
    {
        setAddress(ip);
        button("cmdTest")->click();
    }

    // A click the window takes the next time it lets events run.
    void clickLater(const char *name) const
    {
        QPushButton *target = button(name);
        QMetaObject::invokeMethod(
            target, [target] { target->click(); }, Qt::QueuedConnection);
    }

    QString log() const { return withoutTimes(form->logText()); }

    ScaledSleeper sleeper;
    TcpSocketControl sockInn;
    TcpSocketControl sockUt;
    TestWindow form{TestWindow::Seams().sleeper(sleeper).sockets(sockInn, sockUt)};
};

} // namespace

class TestNetworkWindow : public QObject
{
    Q_OBJECT

private slots:
    void printer_data();
    void printer();
    void printerDrops_data();
    void printerDrops();
    void openedByHand();
    void closedByHand_data();
    void closedByHand();
    void emptyAddress();
    void manualButtons();
    void hostilePeer_data();
    void hostilePeer();
    void secondRunStartsAfresh();
};

void TestNetworkWindow::printer_data()
{
    QTest::addColumn<int>("host");
    QTest::addColumn<bool>("listenInn");
    QTest::addColumn<bool>("listenUt");
    QTest::addColumn<Pieces>("atConnect");
    // Sent after the third pass, once "PRINTING" is reached.
    QTest::addColumn<Pieces>("afterPrinting");
    QTest::addColumn<int>("sleepDivisor");
    // The log between the opening lines and the closing ones.
    QTest::addColumn<QString>("passes");

    QTest::newRow("OK reply") << 1 << true << true << Pieces{reply('A')} << Pieces{} << 10
                              << online;
    QTest::newRow("OK reply, real pauses")
        << 2 << true << true << Pieces{reply('A')} << Pieces{} << 1 << online;
    QTest::newRow("FEIL reply") << 3 << true << true << Pieces{reply('b')} << Pieces{} << 10
                                << QStringLiteral("**\r\nFerdig=True loops=2\r\n"
                                                  "FEIL: Off line, Skriverfeil - Skrivehodet "
                                                  "åpent\rb000123\r\n");
    QTest::newRow("reply after PRINTING")
        << 4 << true << true << Pieces{} << Pieces{reply('A')} << 10
        << QStringLiteral("**Printer er tilkoplet!\r\n**\r\nFerdig=True loops=4\r\n");
    // Decoded piece by piece the second half would read as "Off line".
    QTest::newRow("reply in two pieces")
        << 5 << true << true << Pieces{QByteArray("\x02  A00")} << Pieces{QByteArray("0123\x03")}
        << 10 << QStringLiteral("**Printer er tilkoplet!\r\n**\r\nFerdig=True loops=4\r\n");
    QTest::newRow("two replies in one piece")
        << 6 << true << true << Pieces{reply('A') + reply('b')} << Pieces{} << 10 << online;
    QTest::newRow("connects, sends nothing")
        << 7 << true << true << Pieces{} << Pieces{} << 10 << silentPrinter(loopback(7));
    QTest::newRow("1024 refused, 1025 silent")
        << 8 << true << false << Pieces{} << Pieces{} << 10
        << stars(21) + QStringLiteral("\r\nFerdig=True loops=21\r\ninit!\r\n");
    QTest::newRow("1025 refused") << 9 << false << true << Pieces{} << Pieces{} << 10
                                  << QStringLiteral("*") + refusedInn + stars(20) +
                                         QStringLiteral("\r\nFerdig=True loops=21\r\n") +
                                         refusedInn;
    QTest::newRow("nothing listening")
        << 10 << false << false << Pieces{} << Pieces{} << 10
        << QStringLiteral("*") + refusedInn + stars(20) +
               QStringLiteral("\r\nFerdig=True loops=21\r\n") + refusedInn;
}

void TestNetworkWindow::printer()
{
    QFETCH(int, host);
    QFETCH(bool, listenInn);
    QFETCH(bool, listenUt);
    QFETCH(Pieces, atConnect);
    QFETCH(Pieces, afterPrinting);
    QFETCH(int, sleepDivisor);
    QFETCH(QString, passes);

    const QString ip = loopback(host);
    FakePrinterScript script;
    script.listenInn = listenInn;
    script.listenUt = listenUt;
    script.innPieces = atConnect;
    FakePrinterServer printer(QHostAddress(ip), script);
    QVERIFY2(printer.listenError().isEmpty(), qPrintable(printer.listenError()));

    Window window(sleepDivisor);
    bool printerKeptUp = true;
    window.sleeper.onSleep = [&](int pause) {
        // The printer has answered the connects before the test looks again.
        if (pause == 1)
            printerKeptUp = printer.waitFor(1, listenInn ? 1 : 0);
        if (pause == 3) {
            for (const QByteArray &piece : afterPrinting)
                printer.sendOnInn(piece);
        }
    };
    window.runTest(ip);

    QVERIFY(printerKeptUp);
    QCOMPARE(window.log(), opening + passes + closing(ip));
    QVERIFY(window.form.messageBox.messages.isEmpty());
    QVERIFY(window.button("cmdTest")->isEnabled());
    QCOMPARE(window.sockInn.State(), SocketControl::sckClosed);
    QCOMPARE(window.sockUt.State(), SocketControl::sckClosed);
    // One connect per port: the test never connects twice.
    QTRY_COMPARE(printer.innConnections(), listenInn ? 1 : 0);
    QTRY_COMPARE(printer.utConnections(), listenUt ? 1 : 0);
}

void TestNetworkWindow::printerDrops_data()
{
    QTest::addColumn<QString>("ip"); // 127.0.8.x
    QTest::addColumn<bool>("onAccept");
    QTest::addColumn<bool>("reset");
    QTest::addColumn<QString>("passes");

    // Both ports are dropped; only `SockInn`'s error reaches the log.
    QTest::newRow("reset on accept")
        << QStringLiteral("127.0.8.1") << true << true
        << QStringLiteral("*") + resetInn() + stars(20) +
               QStringLiteral("\r\nFerdig=True loops=21\r\n") + resetInn();
    QTest::newRow("reset after PRINTING")
        << QStringLiteral("127.0.8.2") << false << true
        << QStringLiteral("**Printer er tilkoplet!\r\n*") + resetInn() + stars(18) +
               QStringLiteral("\r\nFerdig=True loops=21\r\n") + resetInn();
    // A clean close is no error: the sockets only read 8.
    QTest::newRow("clean close on accept")
        << QStringLiteral("127.0.8.3") << true << false
        << stars(21) + QStringLiteral("\r\nFerdig=True loops=21\r\n") +
               notFound(QStringLiteral("127.0.8.3"));
    QTest::newRow("clean close after PRINTING") << QStringLiteral("127.0.8.4") << false << false
                                                << silentPrinter(QStringLiteral("127.0.8.4"));
}

void TestNetworkWindow::printerDrops()
{
    QFETCH(QString, ip);
    QFETCH(bool, onAccept);
    QFETCH(bool, reset);
    QFETCH(QString, passes);

    FakePrinterScript script;
    script.dropOnAccept = onAccept;
    script.dropWithReset = reset;
    FakePrinterServer printer(QHostAddress(ip), script);
    QVERIFY2(printer.listenError().isEmpty(), qPrintable(printer.listenError()));

    Window window;
    bool printerKeptUp = true;
    window.sleeper.onSleep = [&](int pause) {
        // Dropped while the test sleeps, before it looks at the sockets again.
        if (pause == 1 && onAccept)
            printerKeptUp = printer.waitForDropped(2);
        if (pause == 1 && !onAccept)
            printerKeptUp = printer.waitFor(1, 1);
        if (pause == 3 && !onAccept) {
            printer.dropConnections();
            printerKeptUp = printerKeptUp && printer.waitForDropped(2);
        }
    };
    window.runTest(ip);

    QVERIFY(printerKeptUp);
    QCOMPARE(window.log(), opening + passes + closing(ip));
    QVERIFY(window.form.messageBox.messages.isEmpty());
    QVERIFY(window.button("cmdTest")->isEnabled());
    // One connect is one attempt, also when the printer drops it at once.
    QTest::qWait(50);
    QCOMPARE(printer.innConnections(), 1);
    QCOMPARE(printer.utConnections(), 1);
}

void TestNetworkWindow::openedByHand()
{
    const QString ip = loopback(20);
    FakePrinterScript script;
    script.innPieces = {reply('A')};
    FakePrinterServer printer(QHostAddress(ip), script);
    QVERIFY2(printer.listenError().isEmpty(), qPrintable(printer.listenError()));

    Window window;
    window.setAddress(ip);
    window.button("cmdOpenTCP")->click();
    QTRY_COMPARE(window.sockUt.State(), SocketControl::sckConnected);
    QTRY_COMPARE(window.sockInn.State(), SocketControl::sckConnected);
    QVERIFY(printer.waitFor(1, 1));

    // The printer reports again while the test runs, as it does every second or so.
    window.sleeper.onSleep = [&](int pause) {
        if (pause == 1)
            printer.sendOnInn(reply('A'));
    };
    window.runTest(ip);

    QCOMPARE(window.log(), QStringLiteral("Åpner porter manuelt\r\n") + opening +
                               QStringLiteral("*Printer er tilkoplet!\r\n"
                                              "*Printer er online, og klar til utskrift\r\n"
                                              "\r\n"
                                              "Ferdig=True loops=2\r\n") +
                               closing(ip));
    QTRY_COMPARE(printer.innConnections(), 1);
    QTRY_COMPARE(printer.utConnections(), 1);
    QVERIFY(window.form.messageBox.messages.isEmpty());
}

void TestNetworkWindow::closedByHand_data()
{
    QTest::addColumn<int>("host");
    QTest::addColumn<int>("clickAfterPause");
    QTest::addColumn<Pieces>("atConnect");
    QTest::addColumn<int>("connections");
    QTest::addColumn<QString>("passes");

    // While connecting, the next step finds the sockets closed and connects them again.
    QTest::newRow("while connecting")
        << 21 << 1 << Pieces{reply('A')} << 2
        << QStringLiteral("*Lukker porter manuelt\r\n"
                          "**Printer er tilkoplet!\r\n"
                          "*Printer er online, og klar til utskrift\r\n"
                          "\r\n"
                          "Ferdig=True loops=4\r\n");
    // Later the test goes on without them.
    QTest::newRow("after PRINTING")
        << 22 << 3 << Pieces{} << 1
        << QStringLiteral("**Printer er tilkoplet!\r\n*Lukker porter manuelt\r\n") + stars(18) +
               QStringLiteral("\r\nFerdig=True loops=21\r\n") + notFound(loopback(22));
}

void TestNetworkWindow::closedByHand()
{
    QFETCH(int, host);
    QFETCH(int, clickAfterPause);
    QFETCH(Pieces, atConnect);
    QFETCH(int, connections);
    QFETCH(QString, passes);

    const QString ip = loopback(host);
    FakePrinterScript script;
    script.innPieces = atConnect;
    FakePrinterServer printer(QHostAddress(ip), script);
    QVERIFY2(printer.listenError().isEmpty(), qPrintable(printer.listenError()));

    Window window;
    bool printerKeptUp = true;
    QList<qint16> statesAfterClick;
    window.sleeper.onSleep = [&](int pause) {
        if (pause == clickAfterPause) {
            printerKeptUp = printerKeptUp && printer.waitFor(1, 1);
            window.clickLater("cmdCloseTCP");
        }
        if (pause == clickAfterPause + 1) {
            statesAfterClick = {window.sockInn.State(), window.sockUt.State()};
            printerKeptUp = printerKeptUp && printer.waitFor(connections, connections);
        }
    };
    window.runTest(ip);

    QVERIFY(printerKeptUp);
    QCOMPARE(window.log(), opening + passes + closing(ip));
    QTRY_COMPARE(printer.innConnections(), connections);
    QTRY_COMPARE(printer.utConnections(), connections);
    if (connections == 1)
        QCOMPARE(statesAfterClick, (QList<qint16>{0, 0}));
    QVERIFY(window.form.messageBox.messages.isEmpty());
}

void TestNetworkWindow::emptyAddress()
{
    // No address is refused at once: the lookup fails in the background and `SockInn` reports.
    Window window;
    window.runTest(QString());

    const QString notFoundError =
        QStringLiteral("TCP/IP FEIL (SockInn). Kode=11001\r\nHost not found\r\n");
    const QString log = window.log();
    QVERIFY2(log.startsWith(opening + QStringLiteral("*")), qPrintable(log));
    QCOMPARE(log.count(notFoundError), 2);
    QVERIFY2(log.endsWith(stars(1) + QStringLiteral("\r\nFerdig=True loops=21\r\n") +
                          notFoundError + closing(QString())),
             qPrintable(log));
    QVERIFY(window.form.messageBox.messages.isEmpty());
}

void TestNetworkWindow::manualButtons()
{
    const QString ip = loopback(23);
    FakePrinterServer printer(QHostAddress(ip), FakePrinterScript{});
    QVERIFY2(printer.listenError().isEmpty(), qPrintable(printer.listenError()));

    Window window;
    window.setAddress(ip);
    window.button("cmdOpenTCP")->click();
    QTRY_COMPARE(window.sockInn.State(), SocketControl::sckConnected);
    QTRY_COMPARE(window.sockUt.State(), SocketControl::sckConnected);
    QVERIFY(window.form.messageBox.messages.isEmpty());

    // Clicked again on open sockets: each of the six operations is refused.
    window.button("cmdOpenTCP")->click();
    QCOMPARE(window.form.messageBox.messages,
             QStringList(6, QStringLiteral("Programfeil (SettIPData): Invalid operation at "
                                           "current state 40020")));
    QCOMPARE(window.sockInn.State(), SocketControl::sckConnected);

    window.button("cmdCloseTCP")->click();
    QCOMPARE(window.sockInn.State(), SocketControl::sckClosed);
    QCOMPARE(window.sockUt.State(), SocketControl::sckClosed);
    QCOMPARE(window.log(), QStringLiteral("Åpner porter manuelt\r\n"
                                          "Åpner porter manuelt\r\n"
                                          "Lukker porter manuelt\r\n"));
    QTRY_COMPARE(printer.innConnections(), 1);
}

void TestNetworkWindow::hostilePeer_data()
{
    QTest::addColumn<QString>("ip");
    QTest::addColumn<FakePrinterScript>("script");
    QTest::addColumn<int>("sleepDivisor");
    QTest::addColumn<int>("loops");
    QTest::addColumn<QString>("passes");

    // A flood offers 100 MB; the window takes what its bounded read buffer holds at each point
    // where it lets events run, so the printer gets only the system's buffers' worth away.
    constexpr qint64 hundredMegabytes = 100 * 1024 * 1024;
    const QByteArray frame = reply('A');
    FakePrinterScript junk;
    junk.flood = true;
    QTest::newRow("flood of junk")
        << loopback(24) << junk << 10 << 21 << silentPrinter(loopback(24));
    FakePrinterScript frames;
    frames.flood = true;
    frames.floodLimit = hundredMegabytes;
    frames.floodUnit = frame;
    QTest::newRow("100 MB of frames") << hostileLoopback(1) << frames << 10 << 3 << online;
    FakePrinterScript framesAndJunk = frames;
    framesAndJunk.floodUnit = frame + QByteArray(500, 'x') + "\r\n";
    QTest::newRow("100 MB of frames and junk")
        << hostileLoopback(2) << framesAndJunk << 10 << 3 << online;
    FakePrinterScript junk100 = junk;
    junk100.floodLimit = hundredMegabytes;
    junk100.floodUnit = QByteArray("\x02junk without an end");
    QTest::newRow("100 MB of junk after an STX")
        << hostileLoopback(3) << junk100 << 10 << 21 << silentPrinter(hostileLoopback(3));
    // Real pauses, so that a byte comes every 100 ms of the test's own time.
    FakePrinterScript trickle;
    trickle.trickle = "x";
    trickle.trickleMs = 100;
    QTest::newRow("a byte every 100 ms")
        << hostileLoopback(4) << trickle << 1 << 21 << silentPrinter(hostileLoopback(4));
    QTest::newRow("accepts, never reads or writes")
        << hostileLoopback(5) << FakePrinterScript{} << 10 << 21
        << silentPrinter(hostileLoopback(5));
}

void TestNetworkWindow::hostilePeer()
{
    QFETCH(QString, ip);
    QFETCH(FakePrinterScript, script);
    QFETCH(int, sleepDivisor);
    QFETCH(int, loops);
    QFETCH(QString, passes);

    FakePrinterServer printer(QHostAddress(ip), script);
    QVERIFY2(printer.listenError().isEmpty(), qPrintable(printer.listenError()));

    Window window(sleepDivisor);
    bool printerKeptUp = true;
    window.sleeper.onSleep = [&](int pause) {
        if (pause == 1)
            printerKeptUp = printer.waitFor(1, 1);
    };
    const qint64 residentBefore = residentKiB();
    window.runTest(ip);
    const qint64 residentGrowth = residentKiB() - residentBefore;

    QVERIFY(printerKeptUp);
    QCOMPARE(window.log(), opening + passes + closing(ip));
    QCOMPARE(window.sleeper.pauses, QList<qint32>(loops + 2, 250));
    QVERIFY(window.form.messageBox.messages.isEmpty());
    QVERIFY(window.button("cmdTest")->isEnabled());
    QCOMPARE(window.sockInn.State(), SocketControl::sckClosed);
    QCOMPARE(window.sockUt.State(), SocketControl::sckClosed);
    // The program sends nothing on either socket, whatever comes.
    QCOMPARE(printer.bytesReceived(), 0);
    // The window read at its own pace: the printer could only hand over what fits into the
    // system's buffers and the window's bounded ones, far from what it wanted to send.
    if (script.flood) {
        qInfo("%s: the printer got %lld bytes away, the process grew by %lld KiB",
              QTest::currentDataTag(), printer.floodBytesSent(), residentGrowth);
        QVERIFY(printer.floodBytesSent() < script.floodLimit / 4);
    }
    constexpr qint64 boundKiB = 64 * 1024;
    QVERIFY2(residentGrowth < boundKiB, qPrintable(QString::number(residentGrowth)));
}

void TestNetworkWindow::secondRunStartsAfresh()
{
    const QString answering = loopback(25);
    const QString silent = loopback(26);
    FakePrinterScript okScript;
    okScript.innPieces = {reply('A')};
    FakePrinterServer answeringPrinter(QHostAddress(answering), okScript);
    FakePrinterServer quietPrinter(QHostAddress(silent), FakePrinterScript{});
    QVERIFY2(answeringPrinter.listenError().isEmpty(), qPrintable(answeringPrinter.listenError()));
    QVERIFY2(quietPrinter.listenError().isEmpty(), qPrintable(quietPrinter.listenError()));

    Window window;
    bool printerKeptUp = true;
    FakePrinterServer *printer = &answeringPrinter;
    window.sleeper.onSleep = [&](int pause) {
        if (pause == 1)
            printerKeptUp = printerKeptUp && printer->waitFor(1, 1);
    };
    window.runTest(answering);
    QCOMPARE(window.log(), opening + online + closing(answering));

    // The same window, its status from the first run still in mind, tries a printer that
    // connects and never reports, with shorter pauses: a silent printer only has to connect.
    window.button("cmdBlankut")->click();
    window.sleeper.pauses.clear();
    window.sleeper.setDivisor(250);
    printer = &quietPrinter;
    window.runTest(silent);

    QVERIFY(printerKeptUp);
    QCOMPARE(window.log(), opening + silentPrinter(silent) + closing(silent));
    QVERIFY(window.form.messageBox.messages.isEmpty());
}

QTEST_MAIN(TestNetworkWindow)

#include "tst_networkwindow.moc"
