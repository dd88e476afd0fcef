// The network test's own cost beside its pauses: the whole test through the window against a
// printer on loopback, with full-length pauses. Qt Test runs each row once more to warm up. The
// pauses are the floor (5 x 250 ms for a printer that answers at once, 23 x 250 ms for one that
// never does); what the test spends beyond what it actually slept is its overhead, reported as the
// benchmark's result.

#include "fakeplatform.h"
#include "fakeprinterserver.h"
#include "form1.h"
#include "sleeper.h"
#include "tcpsocketcontrol.h"
#include "testwindow.h"

#include <QElapsedTimer>
#include <QLineEdit>
#include <QPushButton>
#include <QTest>
#include <QThread>

#include <algorithm>
#include <memory>

namespace {

// Sleeps the full time and measures what it slept.
class TimingSleeper : public Sleeper
{
public:
    void sleepMs(qint32 milliseconds) override
    {
        QElapsedTimer clock;
        clock.start();
        if (milliseconds > 0)
            QThread::msleep(static_cast<unsigned long>(milliseconds));
        requestedNs += qint64(milliseconds) * 1000000;
        sleptNs += clock.nsecsElapsed();
    }

    qint64 requestedNs = 0;
    qint64 sleptNs = 0;
};

struct Run
{
    qint64 elapsedNs = 0;
    qint64 requestedNs = 0;
    qint64 sleptNs = 0;
    int loops = 0;
};

Run runOnce(const QString &ip)
{
    TimingSleeper sleeper;
    TcpSocketControl sockInn;
    TcpSocketControl sockUt;
    TestWindow test(TestWindow::Seams().sleeper(sleeper).sockets(sockInn, sockUt));
    Form1 &window = test.form();
    window.findChild<QPushButton *>(QStringLiteral("cmdTCP"))->click();
    window.findChild<QLineEdit *>(QStringLiteral("txtIP"))->setText(ip);

    QElapsedTimer clock;
    clock.start();
    window.findChild<QPushButton *>(QStringLiteral("cmdTest"))->click();
    Run run;
    run.elapsedNs = clock.nsecsElapsed();
    run.requestedNs = sleeper.requestedNs;
    run.sleptNs = sleeper.sleptNs;
    const QString log = window.logText();
    const qsizetype at = log.indexOf(QLatin1String("loops="));
    run.loops = at < 0 ? -1 : log.mid(at + 6).section(QLatin1Char('\r'), 0, 0).toInt();
    return run;
}

double ms(qint64 ns)
{
    return double(ns) / 1e6;
}

} // namespace

class BenchNetworkTest : public QObject
{
    Q_OBJECT

private slots:
    void wholeTest_data();
    void wholeTest();
};

void BenchNetworkTest::wholeTest_data()
{
    QTest::addColumn<int>("host");
    QTest::addColumn<int>("printer"); // 0 answers at once, 1 silent, 2 floods
    QTest::addColumn<int>("runs");

    QTest::newRow("printer answers at once") << 150 << 0 << 5;
    QTest::newRow("printer never answers") << 151 << 1 << 1;
    QTest::newRow("printer floods port 1025") << 152 << 2 << 1;
}

void BenchNetworkTest::wholeTest()
{
    QFETCH(int, host);
    QFETCH(int, printer);
    QFETCH(int, runs);

    // 127.0.4.150 and up, with the real ports.
    const QString ip = QStringLiteral("127.0.4.%1").arg(host);
    FakePrinterScript script;
    script.innPieces = {QByteArray("\x02  A000123\x03")};
    if (printer == 1)
        script.innPieces.clear();
    script.flood = printer == 2;
    FakePrinterServer server(QHostAddress(ip), script);
    QVERIFY2(server.listenError().isEmpty(), qPrintable(server.listenError()));

    QList<qint64> overheads;
    Run last;
    for (int i = 0; i < runs; ++i) {
        last = runOnce(ip);
        overheads.append(last.elapsedNs - last.sleptNs);
        qInfo("run %d: loops=%d, elapsed %.3f ms, pauses %.0f ms, slept %.3f ms, "
              "overhead %.3f ms",
              i + 1, last.loops, ms(last.elapsedNs), ms(last.requestedNs), ms(last.sleptNs),
              ms(last.elapsedNs - last.sleptNs));
    }
    std::sort(overheads.begin(), overheads.end());
    const qint64 median = overheads.at(overheads.size() / 2);
    qInfo("median overhead beside the %.0f ms of pauses: %.3f ms (worst %.3f ms); "
          "elapsed beyond the pauses asked for: %.3f ms",
          ms(last.requestedNs), ms(median), ms(overheads.last()),
          ms(last.elapsedNs - last.requestedNs));
    QTest::setBenchmarkResult(ms(median), QTest::WalltimeMilliseconds);
}

QTEST_MAIN(BenchNetworkTest)

#include "bench_networktest.moc"
