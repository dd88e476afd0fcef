// solvarn-sjekk find against printer-sim on loopback, as the support desk meets it: a /24 with
// three printers, three hosts that accept and never answer and the rest refused (127.0.26.0/24,
// which no other test uses); a /22 with 500 silent hosts and one printer under a limit of 1024
// open files (127.0.28.0/22); and the serial search over four pseudo-terminals at every speed of
// the list with the default pause. Prints the figures beside the bounds they are held to.

#include "findoptions.h"
#include "serialrules.h"
#include "simprocess.h"

#include <QElapsedTimer>
#include <QHostAddress>
#include <QProcess>
#include <QProcessEnvironment>
#include <QTcpServer>
#include <QTest>

#include <memory>
#include <vector>

#include <sys/resource.h>

namespace {

const QString program = QStringLiteral(SOLVARN_SJEKK_PATH);

struct FindRun
{
    int exitCode = -1;
    QString out;
    QString err;
    qint64 elapsedMs = 0;
};

// wrapper: a shell command run before the program (such as a ulimit).
FindRun runFind(const QStringList &arguments, const QString &comPorts = QString(),
                const QString &wrapper = QString())
{
    QProcessEnvironment environment = QProcessEnvironment::systemEnvironment();
    if (!comPorts.isEmpty())
        environment.insert(QStringLiteral("SOLVARN_COM_PORTS"), comPorts);
    QProcess process;
    process.setProcessEnvironment(environment);
    QElapsedTimer clock;
    clock.start();
    if (wrapper.isEmpty()) {
        process.start(program, QStringList{QStringLiteral("find")} + arguments);
    } else {
        process.start(QStringLiteral("sh"),
                      QStringList{QStringLiteral("-c"),
                                  wrapper + QStringLiteral("; exec \"$0\" \"$@\""), program,
                                  QStringLiteral("find")} +
                          arguments);
    }
    FindRun run;
    if (!process.waitForFinished(60000))
        return run;
    run.elapsedMs = clock.elapsed();
    run.exitCode = process.exitCode();
    run.out = QString::fromUtf8(process.readAllStandardOutput());
    run.err = QString::fromUtf8(process.readAllStandardError());
    return run;
}

} // namespace

class BenchFind : public QObject
{
    Q_OBJECT

private slots:
    void network();
    void descriptorLimit();
    void serial_data();
    void serial();

private:
    std::vector<std::unique_ptr<SimProcess>> m_sims;

    bool start(const QString &line, QString *device = nullptr)
    {
        m_sims.push_back(std::make_unique<SimProcess>());
        m_sims.back()->start(line.split(QLatin1Char(' ')));
        if (!m_sims.back()->waitUntilReady())
            return false;
        if (device) {
            QElapsedTimer waited;
            waited.start();
            while (!m_sims.back()->out().contains(QLatin1Char('\n')) && waited.elapsed() < 5000)
                QTest::qWait(20);
            *device = m_sims.back()->out().section(QLatin1Char('\n'), 0, 0).trimmed();
        }
        return true;
    }
};

void BenchFind::network()
{
    m_sims.clear();
    for (const char *line : {"-a 127.0.26.17 -s A -l 500", "-a 127.0.26.101 -s b -l 20",
                             "-a 127.0.26.230 -s B -l 42", "-a 127.0.26.50 --no-reply",
                             "-a 127.0.26.150 --no-reply", "-a 127.0.26.200 --no-reply"}) {
        QVERIFY2(start(QLatin1String(line)), qPrintable(m_sims.back()->err()));
    }
    const FindRun run = runFind({QStringLiteral("127.0.26.0/24"), QStringLiteral("--csv")});
    QCOMPARE(run.exitCode, 0);
    QStringList printers;
    for (const QString &line : run.out.split(QLatin1Char('\n'))) {
        if (line.section(QLatin1Char(','), 2, 2) == QLatin1String("skriver"))
            printers << line.section(QLatin1Char(','), 0, 0);
    }
    QCOMPARE(printers, (QStringList{QStringLiteral("127.0.26.17"), QStringLiteral("127.0.26.101"),
                                    QStringLiteral("127.0.26.230")}));
    const qint64 boundMs = FindOptions::defaultTimeout.count() + 1000;
    qInfo("254 addresses, --parallel %d (default): all 3 printers found and the whole /24 done in "
          "%lld ms; bound: per-address timeout %lld ms + 1 s = %lld ms",
          FindOptions::defaultParallel, run.elapsedMs, qint64(FindOptions::defaultTimeout.count()),
          boundMs);
    qInfo("%s", qPrintable(run.out.trimmed()));
    QTest::setBenchmarkResult(double(run.elapsedMs), QTest::WalltimeMilliseconds);
    m_sims.clear();
}

void BenchFind::descriptorLimit()
{
    // Silent hosts: listeners that are never accepted from, so that the system completes each
    // connection and nothing is ever said. Two for each host: more files than the usual limit.
    constexpr int silentHosts = 500;
    constexpr quint32 firstSilent = 0x7f001c01; // 127.0.28.1
    rlimit limit{};
    getrlimit(RLIMIT_NOFILE, &limit);
    limit.rlim_cur = limit.rlim_max;
    setrlimit(RLIMIT_NOFILE, &limit);
    std::vector<std::unique_ptr<QTcpServer>> silent;
    for (int host = 0; host < silentHosts; ++host) {
        for (const quint16 port : {quint16(1025), quint16(1024)}) {
            silent.push_back(std::make_unique<QTcpServer>());
            silent.back()->setMaxPendingConnections(1);
            QVERIFY2(silent.back()->listen(QHostAddress(firstSilent + quint32(host)), port),
                     qPrintable(silent.back()->errorString()));
            silent.back()->pauseAccepting();
        }
    }
    m_sims.clear();
    QVERIFY2(start(QStringLiteral("-a 127.0.30.77 -s A")), qPrintable(m_sims.back()->err()));
    const FindRun run = runFind(
        {QStringLiteral("127.0.28.0/22"), QStringLiteral("--parallel"), QStringLiteral("1024")},
        QString(), QStringLiteral("ulimit -n 1024"));
    QCOMPARE(run.exitCode, 0);
    QVERIFY2(run.out.contains(QStringLiteral("  127.0.30.77  status A: OK: Printer OK")),
             qPrintable(run.out));
    QVERIFY2(run.out.endsWith(QStringLiteral(
                 "1022 adresser prøvd: 1 skriver, 0 annet, 500 uten svar (500 med port 1025 og "
                 "1024 åpne), 521 avvist\n")),
             qPrintable(run.out.right(200)));
    const qint64 boundMs = 3 * FindOptions::defaultTimeout.count();
    qInfo("1022 addresses, 500 silent, ulimit -n 1024, --parallel 1024: the printer found, the "
          "counts exact, in %lld ms; bound: 3 x timeout = %lld ms; %s",
          run.elapsedMs, boundMs, qPrintable(run.err.section(QLatin1Char('\n'), 0, 0)));
    QVERIFY2(run.elapsedMs <= boundMs, qPrintable(QString::number(run.elapsedMs)));
    QTest::setBenchmarkResult(double(run.elapsedMs), QTest::WalltimeMilliseconds);
    m_sims.clear();
}

void BenchFind::serial_data()
{
    QTest::addColumn<bool>("printer");
    QTest::newRow("4 ports, none answers") << false;
    QTest::newRow("4 ports, printer at 9600 on com4") << true;
}

void BenchFind::serial()
{
    QFETCH(bool, printer);
    m_sims.clear();
    QStringList devices;
    for (int port = 1; port <= 4; ++port) {
        const bool answers = printer && port == 4;
        QString device;
        QVERIFY2(start(answers ? QStringLiteral("--serial --speed 9600 -s A")
                               : QStringLiteral("--serial --no-reply"),
                       &device),
                 qPrintable(m_sims.back()->err()));
        devices << device;
    }
    const FindRun run =
        runFind({QStringLiteral("--serial"), QStringLiteral("--to"), QStringLiteral("4")},
                devices.join(QLatin1Char(':')));
    QCOMPARE(run.exitCode, printer ? 0 : 1);
    const qint64 speeds = FindOptions::serialSpeeds.size();
    const qint64 boundMs = 4 * speeds * SerialRules::startPause;
    // A printer that answered at its second speed leaves the rest of that port's speeds out.
    const qint64 expectedMs = printer ? (3 * speeds + 2) * SerialRules::startPause : boundMs;
    qInfo("%lld ms; ports x speeds x pause = 4 x %lld x %d = %lld ms; attempts made x pause = %lld "
          "ms, %.1f%% above it",
          run.elapsedMs, speeds, SerialRules::startPause, boundMs, expectedMs,
          100.0 * double(run.elapsedMs - expectedMs) / double(expectedMs));
    if (printer) {
        QVERIFY2(run.out.contains(QStringLiteral("com4 (9600)  status A")), qPrintable(run.out));
        // Two enquiries reached the printer: noise at 19200, its status at 9600, no more.
        QTRY_COMPARE(m_sims.back()->err().count(QStringLiteral("serial: ENQ")), 2);
    }
    QTest::setBenchmarkResult(double(run.elapsedMs), QTest::WalltimeMilliseconds);
    m_sims.clear();
}

QTEST_MAIN(BenchFind)
#include "bench_find.moc"
