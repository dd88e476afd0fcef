// solvarn-sjekk's network check against printer-sim answering at once: the whole run beside its
// sleeping floor (the same as the window's: 3 passes and 2 steps after the loop, 250 ms each),
// its start-up to the first line of output, and Debian's check_tcp against the same simulator
// as what a user would otherwise reach for. Each row reports the median of its runs.

#include "networktest.h"
#include "simprocess.h"

#include <QElapsedTimer>
#include <QFileInfo>
#include <QProcess>
#include <QTest>

#include <algorithm>

namespace {

const QString program = QStringLiteral(SOLVARN_SJEKK_PATH);
const QString checkTcp = QStringLiteral("/usr/lib/nagios/plugins/check_tcp");
const QString address = QStringLiteral("127.0.9.30");
constexpr int runs = 5;
constexpr int floorMs = 5 * NetworkTest::passPauseMs;

enum class Measure { WholeCheck, FirstOutput };

// Milliseconds from start to the end, or to the first output; -1 when the run failed.
double timeRun(const QString &command, const QStringList &arguments, Measure measure,
               int expectedExit)
{
    QProcess process;
    QElapsedTimer clock;
    clock.start();
    process.start(command, arguments);
    double result = -1;
    if (measure == Measure::FirstOutput) {
        if (!process.waitForReadyRead(10000))
            return -1;
        result = double(clock.nsecsElapsed()) / 1e6;
    }
    if (!process.waitForFinished(20000) || process.exitCode() != expectedExit)
        return -1;
    if (measure == Measure::WholeCheck)
        result = double(clock.nsecsElapsed()) / 1e6;
    return result;
}

} // namespace

class BenchSolvarnSjekk : public QObject
{
    Q_OBJECT

private slots:
    void initTestCase();
    void check_data();
    void check();

private:
    SimProcess m_sim;
};

void BenchSolvarnSjekk::initTestCase()
{
    m_sim.start({QStringLiteral("--address"), address});
    QVERIFY2(m_sim.waitUntilReady(), qPrintable(m_sim.err()));
}

void BenchSolvarnSjekk::check_data()
{
    QTest::addColumn<QString>("command");
    QTest::addColumn<QStringList>("arguments");
    QTest::addColumn<int>("measure");
    QTest::newRow("solvarn-sjekk network, whole check")
        << program << QStringList{QStringLiteral("network"), address, QStringLiteral("--plugin")}
        << int(Measure::WholeCheck);
    QTest::newRow("solvarn-sjekk network, start-up to first output")
        << program << QStringList{QStringLiteral("network"), address} << int(Measure::FirstOutput);
    QTest::newRow("check_tcp on port 1025")
        << checkTcp
        << QStringList{QStringLiteral("-H"), address, QStringLiteral("-p"), QStringLiteral("1025")}
        << int(Measure::WholeCheck);
}

void BenchSolvarnSjekk::check()
{
    QFETCH(QString, command);
    QFETCH(QStringList, arguments);
    QFETCH(int, measure);
    if (!QFileInfo(command).isExecutable())
        QSKIP("check_tcp is not installed (Debian package monitoring-plugins-basic)");

    QList<double> times;
    for (int i = 0; i < runs; ++i) {
        const double ms = timeRun(command, arguments, Measure(measure), 0);
        QVERIFY2(ms >= 0, "the check did not end with OK");
        times.append(ms);
    }
    std::sort(times.begin(), times.end());
    const double median = times.at(runs / 2);
    if (command == program && Measure(measure) == Measure::WholeCheck) {
        qInfo("median %.1f ms beside a sleeping floor of %d ms: %.1f ms of its own", median,
              floorMs, median - floorMs);
    } else {
        qInfo("median %.1f ms (fastest %.1f, slowest %.1f)", median, times.first(), times.last());
    }
    QTest::setBenchmarkResult(median, QTest::WalltimeMilliseconds);
}

QTEST_MAIN(BenchSolvarnSjekk)
#include "bench_solvarnsjekk.moc"
