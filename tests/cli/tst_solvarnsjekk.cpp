// solvarn-sjekk as a script or a monitoring system runs it: the built program against
// printer-sim (network and pseudo-terminal), a fake printer and bad arguments, on addresses
// 127.0.9.10 to 127.0.9.49 (find: 127.0.25.0/24), with no display in its environment.

#include "checkoptions.h"
#include "checkprogram.h"
#include "checkstatus.h"
#include "checksummary.h"
#include "fakeplatform.h"
#include "fakeprinterserver.h"
#include "findoptions.h"
#include "form1.h"
#include "networkstate.h"
#include "networkverdict.h"
#include "pipetext.h"
#include "serialcheckhost.h"
#include "serialportcontrol.h"
#include "serialrangeoptions.h"
#include "simprocess.h"
#include "statusdecoder.h"
#include "testwindow.h"
#include "thresholdrange.h"
#include "watchedsocketcontrol.h"

#include <QDeadlineTimer>
#include <QElapsedTimer>
#include <QFile>
#include <QLineEdit>
#include <QProcess>
#include <QPushButton>
#include <QRegularExpression>
#include <QStandardPaths>
#include <QStringDecoder>
#include <QTemporaryDir>
#include <QTest>
#include <QUdpSocket>

#include <atomic>
#include <cstdio>
#include <memory>
#include <tuple>
#include <vector>

#include <fcntl.h>
#include <sys/ioctl.h>
#include <unistd.h>

namespace {

// The program under test: the build's own, or the command that SOLVARN_SJEKK_COMMAND names
// instead, such as tools/windows/wine-sjekk.sh, which runs the Windows build under Wine, so
// that both builds meet the same table.
const QString program = qEnvironmentVariableIsEmpty("SOLVARN_SJEKK_COMMAND")
                            ? QStringLiteral(SOLVARN_SJEKK_PATH)
                            : qEnvironmentVariable("SOLVARN_SJEKK_COMMAND");

struct CheckRun
{
    int exitCode = -1;
    QString out;
    QString err;
    qint64 elapsedMs = 0;
    // In-process: the watchdog ended the check (the program end it would have called).
    bool endedByWatchdog = false;

    // What the run gave, for a failure's message: an exit status alone does not tell a hang, a
    // crash and a wrong verdict apart.
    QString told() const
    {
        return QStringLiteral(
                   "exit status %1 after %2 ms\nstandard output:\n%3\nstandard error:\n%4")
            .arg(exitCode)
            .arg(elapsedMs)
            .arg(out, err);
    }
};

// The exit status, and when it is not the one expected everything the run gave.
#define COMPARE_EXIT(run, expected)                                                                \
    QVERIFY2(                                                                                      \
        (run).exitCode == (expected),                                                              \
        qPrintable(QStringLiteral("expected exit status %1, got ").arg(expected) + (run).told()))

// wrapper: a command that runs the check in a changed setting (its last argument is followed
// by the program and the arguments).
CheckRun runCheck(const QStringList &arguments, const QString &comPorts = QString(),
                  const QStringList &wrapper = {}, const QString &checkProgram = program)
{
    QProcessEnvironment environment = QProcessEnvironment::systemEnvironment();
    for (const char *display : {"DISPLAY", "WAYLAND_DISPLAY", "QT_QPA_PLATFORM"})
        environment.remove(QLatin1String(display));
    if (!comPorts.isEmpty())
        environment.insert(QStringLiteral("SOLVARN_COM_PORTS"), comPorts);
    QProcess process;
    process.setProcessEnvironment(environment);
    QElapsedTimer clock;
    clock.start();
    if (wrapper.isEmpty())
        process.start(checkProgram, arguments);
    else
        process.start(wrapper.first(), wrapper.mid(1) + QStringList{checkProgram} + arguments);
    CheckRun run;
    const bool finished = process.waitForFinished(40000);
    const bool crashed = finished && process.exitStatus() != QProcess::NormalExit;
    if (!finished) {
        process.kill();
        process.waitForFinished();
    }
    run.elapsedMs = clock.elapsed();
    // A byte order mark at the start is part of what was written, and kept (fromUtf8 drops it).
    QStringDecoder utf8(QStringDecoder::Utf8, QStringDecoder::Flag::ConvertInitialBom);
    run.out = utf8(process.readAllStandardOutput());
    run.err = QString::fromUtf8(process.readAllStandardError());
    if (!finished || crashed) {
        // Never a verdict: the exit status stays -1, and the output says what happened.
        run.err += finished ? QStringLiteral("\n[the program crashed]\n")
                            : QStringLiteral("\n[the program did not end within 40 s]\n");
        return run;
    }
    run.exitCode = process.exitCode();
    return run;
}

// The check in one process of the test, as a second check would run after a first one. Its
// watchdog must not end the test's process (the failures before it would go unseen): the run
// notes it instead.
CheckRun runCheckHere(const QStringList &arguments)
{
    std::FILE *out = std::tmpfile();
    std::FILE *err = std::tmpfile();
    CheckRun run;
    if (!out || !err)
        return run;
    std::atomic<bool> ended{false};
    run.exitCode = runCheckProgram(QStringList{program} + arguments, out, err,
                                   [&ended](int) { ended = true; });
    run.endedByWatchdog = ended;
    const auto readAll = [](std::FILE *file) {
        QFile read;
        std::rewind(file);
        read.open(file, QIODevice::ReadOnly);
        return QString::fromUtf8(read.readAll());
    };
    run.out = readAll(out);
    run.err = readAll(err);
    std::fclose(out);
    std::fclose(err);
    return run;
}

// A name server that hears every question and never answers, on 127.0.9.53, and the check
// made to ask it alone: a mount namespace of its own with a private resolv.conf.
struct SilentNameServer
{
    QUdpSocket socket;
    QTemporaryDir dir;
    QString skipReason;
    QStringList wrapper;

    SilentNameServer()
    {
        const QString unshare = QStandardPaths::findExecutable(QStringLiteral("unshare"));
        if (unshare.isEmpty()) {
            skipReason = QStringLiteral("unshare (util-linux) is missing");
            return;
        }
        if (!socket.bind(QHostAddress(QStringLiteral("127.0.9.53")), 53)) {
            skipReason = QStringLiteral("port 53 of 127.0.9.53 cannot be bound (needs root): ") +
                         socket.errorString();
            return;
        }
        QFile resolv(dir.filePath(QStringLiteral("resolv.conf")));
        if (!resolv.open(QIODevice::WriteOnly) ||
            resolv.write("nameserver 127.0.9.53\noptions timeout:8 attempts:3\n") < 0) {
            skipReason = QStringLiteral("no private resolv.conf");
            return;
        }
        resolv.close();
        wrapper = QStringList{unshare,
                              QStringLiteral("-rm"),
                              QStringLiteral("sh"),
                              QStringLiteral("-c"),
                              QStringLiteral("mount --bind \"$0\" /etc/resolv.conf && exec \"$@\""),
                              resolv.fileName()};
    }
};

// The check as a user who may not open the simulator's pseudo-terminal: root runs it as nobody
// (a copy of the program where nobody may run it), anybody else takes the rights away.
struct NotAllowed
{
    QTemporaryDir dir;
    QString skipReason;
    QStringList wrapper;
    QString checkProgram = program;

    explicit NotAllowed(const QString &device)
    {
        if (::geteuid() != 0) {
            if (!QFile::setPermissions(device, QFileDevice::Permissions()))
                skipReason = QStringLiteral("the pseudo-terminal's rights cannot be taken away");
            return;
        }
        const QString setpriv = QStandardPaths::findExecutable(QStringLiteral("setpriv"));
        if (setpriv.isEmpty()) {
            skipReason = QStringLiteral("setpriv (util-linux) is missing");
            return;
        }
        checkProgram = dir.filePath(QStringLiteral("solvarn-sjekk"));
        const auto everyoneRuns = QFileDevice::ReadOwner | QFileDevice::WriteOwner |
                                  QFileDevice::ExeOwner | QFileDevice::ReadOther |
                                  QFileDevice::ExeOther;
        if (!QFile::copy(program, checkProgram) ||
            !QFile::setPermissions(checkProgram, everyoneRuns) ||
            !QFile::setPermissions(dir.path(), everyoneRuns)) {
            skipReason = QStringLiteral("no copy of the program for nobody");
            return;
        }
        wrapper = QStringList{setpriv, QStringLiteral("--reuid=nobody"),
                              QStringLiteral("--regid=nogroup"), QStringLiteral("--clear-groups")};
    }
};

// Another program's hold on a serial port: its device opened and made exclusive (TIOCEXCL), so
// that a further open fails with EBUSY. Root opens it all the same (CAP_SYS_ADMIN): root runs
// the check without that capability.
struct HeldPort
{
    int descriptor = -1;
    QString skipReason;
    QStringList wrapper;

    explicit HeldPort(const QString &device)
    {
        descriptor = ::open(QFile::encodeName(device).constData(), O_RDWR | O_NOCTTY | O_CLOEXEC);
        if (descriptor < 0 || ::ioctl(descriptor, TIOCEXCL) != 0) {
            skipReason = QStringLiteral("the pseudo-terminal cannot be held exclusively");
            return;
        }
        if (::geteuid() != 0)
            return;
        const QString setpriv = QStandardPaths::findExecutable(QStringLiteral("setpriv"));
        if (setpriv.isEmpty())
            skipReason = QStringLiteral("setpriv (util-linux) is missing");
        else
            wrapper = QStringList{setpriv, QStringLiteral("--bounding-set=-sys_admin")};
    }
    ~HeldPort()
    {
        if (descriptor >= 0)
            ::close(descriptor);
    }
    HeldPort(const HeldPort &) = delete;
    HeldPort &operator=(const HeldPort &) = delete;
};

// The monitoring-plugin line: STATUS - text, then optionally " | " and label=value[UOM]
// entries with up to four ;-separated thresholds and limits.
const QRegularExpression pluginLine(QStringLiteral(
    "^(OK|WARNING|CRITICAL|UNKNOWN) - [^|\\n]+"
    "(?: \\| (?:[^ =']+|'[^']+')=-?[0-9.]+(?:s|ms|us|%|B|KB|MB|TB|c)?(?:;[-0-9.:~@]*){0,4}"
    "(?: (?:[^ =']+|'[^']+')=-?[0-9.]+(?:s|ms|us|%|B|KB|MB|TB|c)?(?:;[-0-9.:~@]*){0,4})*)?$"));

QString statusWord(int exitCode)
{
    static const QStringList words = {QStringLiteral("OK"), QStringLiteral("WARNING"),
                                      QStringLiteral("CRITICAL"), QStringLiteral("UNKNOWN")};
    return exitCode >= 0 && exitCode < words.size() ? words.at(exitCode) : QString();
}

// The START and SLUTT lines' date and time differ between two runs.
QString masked(QString log)
{
    static const QRegularExpression stamp(
        QStringLiteral("^((?:START|SLUTT) (?:Nettverk|Serieport) )[^\\r]*"),
        QRegularExpression::MultilineOption);
    return log.replace(stamp, QStringLiteral("\\1<time>"));
}

// Starts printer-sim; for a serial one, returns its device path in device.
bool startSim(SimProcess &sim, const QStringList &arguments, QString *device = nullptr)
{
    sim.start(arguments);
    if (!sim.waitUntilReady())
        return false;
    if (device) {
        QDeadlineTimer deadline(5000);
        while (!sim.out().contains(QLatin1Char('\n')) && !deadline.hasExpired())
            QTest::qWait(20);
        *device = sim.out().section(QLatin1Char('\n'), 0, 0).trimmed();
        return device->startsWith(QLatin1Char('/'));
    }
    return true;
}

} // namespace

class TestSolvarnSjekk : public QObject
{
    Q_OBJECT

private slots:
    void check_data();
    void check();
    void rawIsTheWindowsCopiedLog_data();
    void rawIsTheWindowsCopiedLog();
    void printerHangsUp_data();
    void printerHangsUp();
    void linksNoGui();
    void informationOptions_data();
    void informationOptions();
    void readerGoneEarly_data();
    void readerGoneEarly();
    void statusOfLetter_data();
    void statusOfLetter();
    void summaryLine_data();
    void summaryLine();
    void optionLimits_data();
    void optionLimits();
    void serialDefaultTimeout_data();
    void serialDefaultTimeout();
    void serialRangeRule_data();
    void serialRangeRule();
    void thresholdRange_data();
    void thresholdRange();
    void serialVerdict_data();
    void serialVerdict();
    void networkVerdict_data();
    void networkVerdict();
    void secondCheckStartsAfresh();
    void find_data();
    void find();
    void pipeLineEnds_data();
    void pipeLineEnds();
};

void TestSolvarnSjekk::check_data()
{
    QTest::addColumn<QStringList>("simArguments"); // empty: no simulator
    QTest::addColumn<QByteArray>("fakeReply");     // a fake printer's reply on 1025 instead
    QTest::addColumn<QString>("rig");              // the setting the check runs in, see check()
    QTest::addColumn<QStringList>("arguments");
    QTest::addColumn<int>("exitCode");
    QTest::addColumn<QString>("summary");   // a pattern for the summary line
    QTest::addColumn<QString>("shown");     // a text the output must show
    QTest::addColumn<int>("withinSeconds"); // 0: no bound on when the process ends

    const auto args = [](const QString &line) { return line.split(QLatin1Char(' ')); };
    const QStringList none;
    const QString plain;

    QTest::newRow("network ready")
        << args("-a 127.0.9.10 -s A -l 500") << QByteArray() << plain << args("network 127.0.9.10")
        << 0
        << "^OK - 127\\.0\\.9\\.10: Printer OK \\(status A, 500 etiketter igjen\\) \\| "
           "time=[0-9.]+s;;;0\\.000;10\\.000 labels=500;;;0$"
        << "*Printer er online, og klar til utskrift\n"
        << 0;
    QTest::newRow("network ready, plugin line alone")
        << args("-a 127.0.9.11 -s M -l 7") << QByteArray() << plain
        << args("network 127.0.9.11 --plugin") << 0
        << "^OK - 127\\.0\\.9\\.11: Etikett klar \\(status M, 7 etiketter igjen\\) \\| "
           "time=[0-9.]+s;;;0\\.000;10\\.000 labels=7;;;0$"
        << QString() << 0;
    QTest::newRow("network ribbon nearly out")
        << args("-a 127.0.9.12 -s B -l 42") << QByteArray() << plain << args("network 127.0.9.12")
        << 1
        << "^WARNING - 127\\.0\\.9\\.12: Fargebåndet er nesten tomt \\(status B, 42 etiketter "
           "igjen\\)"
        << QString() << 0;
    QTest::newRow("network print head open, status CR shown as a blank")
        << args("-a 127.0.9.13 -s b") << QByteArray() << plain << args("network 127.0.9.13") << 2
        << "^CRITICAL - 127\\.0\\.9\\.13: Off line, Skriverfeil - Skrivehodet åpent \\(status b"
        << "FEIL: Off line, Skriverfeil - Skrivehodet åpent b000500\n"
        << 0;
    QTest::newRow("network off line with memory nearly full")
        << args("-a 127.0.9.14 -s 2") << QByteArray() << plain
        << args("network 127.0.9.14 --plugin") << 2
        << "^CRITICAL - 127\\.0\\.9\\.14: Off line - Skriverminne nesten fullt" << QString() << 0;
    QTest::newRow("network refused")
        << none << QByteArray() << plain << args("network 127.0.9.15") << 2
        << "^CRITICAL - 127\\.0\\.9\\.15: port 1025: Connection refused \\(10061\\) \\|"
        << "TCP/IP FEIL (SockInn). Kode=10061\n"
        << 0;
    QTest::newRow("network escape sequence from the printer is shown, not obeyed")
        << none << QByteArray("\x02  b\x1b[2J\x07\x03") << plain << args("network 127.0.9.16") << 2
        << "^CRITICAL - 127\\.0\\.9\\.16: Off line, Skriverfeil - Skrivehodet åpent \\(status b\\)"
        << "Skrivehodet åpent b^[[2J^G^C\n"
        << 0;
    QTest::newRow("network connects but never reports")
        << args("-a 127.0.9.18 --no-reply") << QByteArray() << plain << args("network 127.0.9.18")
        << 2 << "^CRITICAL - Finner ikke skriver på IP-adresse 127\\.0\\.9\\.18 \\|"
        << "Finner ikke skriver på IP-adresse 127.0.9.18\n Sjekk at den er koplet til.\n"
        << 0;
    QTest::newRow("network printer that reports on request only: asked once with ENQ")
        << args("-a 127.0.9.19 --timing enq -s A -l 33") << QByteArray() << plain
        << args("network 127.0.9.19 --plugin") << 0
        << "^OK - 127\\.0\\.9\\.19: Printer OK \\(status A, 33 etiketter igjen\\) \\| "
           "time=[0-9.]+s;;;0\\.000;10\\.000 labels=33;;;0$"
        << "\nsvarer bare når den blir spurt (ENQ på port 1024); vinduets nettverkstest spør "
           "aldri og finner den ikke\n"
        << 0;
    // A timeout with nothing found is CRITICAL, as the plugins' network checks have it;
    // SECONDS:STATE picks another status.
    QTest::newRow("timeout while the printer never reports")
        << args("-a 127.0.9.17 --no-reply") << QByteArray() << plain
        << args("network 127.0.9.17 --timeout 3") << 2
        << "^CRITICAL - 127\\.0\\.9\\.17: tidsavbrudd, ingen status fra skriveren; kontrollen "
           "ble avbrutt etter 3 s \\(--timeout\\) \\| time=[0-9.]+s;;;0\\.000;3\\.000$"
        << "Forsøker å nå skriveren" << 5;
    QTest::newRow("timeout state UNKNOWN by name")
        << args("-a 127.0.9.34 --no-reply") << QByteArray() << plain
        << args("-H 127.0.9.34 -t 3:UNKNOWN --plugin") << 3
        << "^UNKNOWN - 127\\.0\\.9\\.34: tidsavbrudd, ingen status fra skriveren; kontrollen "
           "ble avbrutt etter 3 s \\(--timeout\\) \\| time=[0-9.]+s;;;0\\.000;3\\.000$"
        << QString() << 5;
    QTest::newRow("timeout state WARNING by number")
        << args("-a 127.0.9.35 --no-reply") << QByteArray() << plain
        << args("-H 127.0.9.35 -t 3:1 --plugin") << 1
        << "^WARNING - 127\\.0\\.9\\.35: tidsavbrudd, ingen status fra skriveren; kontrollen "
           "ble avbrutt etter 3 s \\(--timeout\\) \\|"
        << QString() << 5;
    // The status comes after a quarter of a second; the test would end on it at 1.25 s.
    QTest::newRow("-t 1 against a ready printer: its status, cut short")
        << args("-a 127.0.9.48 -s A -l 500") << QByteArray() << plain
        << args("-H 127.0.9.48 -t 1 --plugin") << 0
        << "^OK - 127\\.0\\.9\\.48: Printer OK \\(status A, 500 etiketter igjen\\); kontrollen "
           "ble avbrutt etter 1 s \\(--timeout\\) \\| time=[0-9.]+s;;;0\\.000;1\\.000 "
           "labels=500;;;0$"
        << QString() << 3;

    // What failed first is named first; the printer's status after it.
    QTest::newRow("network port 1024 refused, status on 1025")
        << args("-a 127.0.9.21 -s A -l 500 --refuse-1024") << QByteArray() << plain
        << args("network 127.0.9.21 --plugin") << 2
        << "^CRITICAL - 127\\.0\\.9\\.21: port 1024: Connection refused \\(10061\\); Printer OK "
           "\\(status A, 500 etiketter igjen\\) \\|"
        << "\nport 1024: Connection refused (10061)\n"
        << 0;
    QTest::newRow("network printer in use: accepts and hangs up at once")
        << args("-a 127.0.9.22 -s A --close-on-connect") << QByteArray() << plain
        << args("-H 127.0.9.22 --plugin") << 2
        << "^CRITICAL - 127\\.0\\.9\\.22: port 1024 ble lukket av skriveren med en gang, uten "
           "svar \\(i bruk av et annet program\\?\\) \\| time=[0-9.]+s;;;0\\.000;10\\.000$"
        << QString() << 0;
    // The process ends with its summary, not when the resolver gives up (24 s here).
    QTest::newRow("name server never answers: ends with the summary")
        << none << QByteArray() << "silent name server"
        << args("network skriver.solvarn.test --plugin") << 2
        << "^CRITICAL - .*skriver\\.solvarn\\.test" << QString() << 15;
    QTest::newRow("name server never answers: ends within --timeout")
        << none << QByteArray() << "silent name server"
        << args("network skriver.solvarn.test --plugin -t 2") << 2
        << "^CRITICAL - skriver\\.solvarn\\.test: tidsavbrudd, ingen status fra skriveren; "
           "kontrollen ble avbrutt etter 2 s \\(--timeout\\) \\|"
        << QString() << 5;
    QTest::newRow("-H, -t, -w, -c, -vv: labels below --warning, the log at -vv")
        << args("-a 127.0.9.23 -s A -l 8") << QByteArray() << plain
        << args("-H 127.0.9.23 -t 9 -w 10: -c @0:5 -vv --plugin") << 1
        << "^WARNING - 127\\.0\\.9\\.23: Printer OK \\(status A, 8 etiketter igjen\\), etiketter "
           "utenfor --warning 10: \\| time=[0-9.]+s;;;0\\.000;9\\.000 labels=8;10:;@5;0$"
        << "\nSTART Nettverk " << 0;
    QTest::newRow("labels inside the --critical range")
        << args("-a 127.0.9.24 -s B -l 3") << QByteArray() << plain
        << args("network 127.0.9.24 --warning 10: --critical @0:5 --plugin") << 2
        << "^CRITICAL - 127\\.0\\.9\\.24: Fargebåndet er nesten tomt \\(status B, 3 etiketter "
           "igjen\\), etiketter innenfor --critical @5 \\|"
        << QString() << 0;
    // An empty value (two blanks in the line) is what an engine passes for an unset range.
    QTest::newRow("-w '' is no threshold, -c still one")
        << args("-a 127.0.9.36 -s A -l 8") << QByteArray() << plain
        << args("-H 127.0.9.36 -w  -c 10: --plugin") << 2
        << "^CRITICAL - 127\\.0\\.9\\.36: Printer OK \\(status A, 8 etiketter igjen\\), "
           "etiketter utenfor --critical 10: \\| time=[0-9.]+s;;;0\\.000;10\\.000 labels=8;;10:;0$"
        << QString() << 0;
    QTest::newRow("-c '' is no threshold, -w still one")
        << args("-a 127.0.9.39 -s A -l 50") << QByteArray() << plain
        << args("-H 127.0.9.39 -w 100: -c  --plugin") << 1
        << "^WARNING - 127\\.0\\.9\\.39: Printer OK \\(status A, 50 etiketter igjen\\), "
           "etiketter utenfor --warning 100: \\| time=[0-9.]+s;;;0\\.000;10\\.000 "
           "labels=50;100:;;0$"
        << QString() << 0;
    // "0:" has a start of 0 and no end: it stays "0:", it is not "" nor dropped.
    QTest::newRow("range 0: kept in the summary and the performance data")
        << args("-a 127.0.9.47 -s A -l 5") << QByteArray() << plain
        << args("-H 127.0.9.47 -w 0: -v --plugin") << 0
        << "^OK - 127\\.0\\.9\\.47: Printer OK \\(status A, 5 etiketter igjen\\) \\| "
           "time=[0-9.]+s;;;0\\.000;10\\.000 labels=5;0:;;0$"
        << ", --timeout 10 s, --warning 0:\n"
        << 0;
    QTest::newRow("-v: one line with what was checked")
        << args("-a 127.0.9.42 -s A -l 500") << QByteArray() << plain
        << args("-H 127.0.9.42 -v -w +100: --plugin") << 0
        << "^OK - 127\\.0\\.9\\.42: Printer OK \\(status A, 500 etiketter igjen\\) \\| "
           "time=[0-9.]+s;;;0\\.000;10\\.000 labels=500;100:;;0$"
        << "\nkontroll: nettverk 127.0.9.42, port 1025 og 1024, --timeout 10 s, --warning 100:\n"
        << 0;
    QTest::newRow("-v serial: the range and pause as corrected")
        << none << QByteArray() << plain << args("serial --from 0 --to 5 --pause 5 -v --plugin")
        << 2 << "^CRITICAL - ingen serieport svarte \\(com 1 til 1, 19200\\) \\|"
        << "\nkontroll: serie com 1 til 1, 19200 baud, pause 10 ms, --timeout 10 s\n"
        << 0;
    QTest::newRow("-vvv: the bytes received")
        << args("-a 127.0.9.43 -s A -l 500") << QByteArray() << plain
        << args("-H 127.0.9.43 -vvv --plugin") << 0 << "^OK - 127\\.0\\.9\\.43: Printer OK"
        << " s port 1025 mottok 11 byte: 02 20 20 41 30 30 30 35 30 30 03\n"
        << 0;
    QTest::newRow("no label count, thresholds set: UNKNOWN, saying why")
        << none << QByteArray("\x02  A\x03") << plain
        << args("network 127.0.9.44 -c 10: -w 100: --plugin") << 3
        << "^UNKNOWN - 127\\.0\\.9\\.44: Printer OK \\(status A\\), svaret har ikke antall "
           "etiketter igjen \\(seks sifre\\), så --warning 100: og --critical 10: kan ikke "
           "sjekkes \\| time=[0-9.]+s;;;0\\.000;10\\.000$"
        << QString() << 0;
    QTest::newRow("label count not a number, a threshold set: UNKNOWN")
        << none << QByteArray("\x02  A00x500\x03") << plain
        << args("network 127.0.9.45 -w 100: --plugin") << 3
        << "^UNKNOWN - 127\\.0\\.9\\.45: Printer OK \\(status A\\), svaret har ikke antall "
           "etiketter igjen \\(seks sifre\\), så --warning 100: kan ikke sjekkes \\|"
        << QString() << 0;
    // Both ports refuse at once; the network test would go on for its 5.8 s.
    QTest::newRow("timeout after a refusal: CRITICAL with the refusal")
        << none << QByteArray() << plain << args("network 127.0.9.46 -t 3 --plugin") << 2
        << "^CRITICAL - 127\\.0\\.9\\.46: port 1025: Connection refused \\(10061\\); kontrollen "
           "ble avbrutt etter 3 s \\(--timeout\\) \\| time=[0-9.]+s;;;0\\.000;3\\.000$"
        << "\nport 1024: Connection refused (10061)\n"
        << 5;

    QTest::newRow("serial ready") << args("--serial -s A -l 120") << QByteArray() << plain
                                  << args("serial --to 2 --pause 200") << 0
                                  << "^OK - com1: - Skriver OK - \\(status A, 120 etiketter "
                                     "igjen\\) \\| time=[0-9.]+s;;;0\\.000;10\\.000 "
                                     "answered=1;;;0 labels=120;;;0$"
                                  << "  Data fra printer =  -->^B  A000120^C<--\n"
                                  << 0;
    QTest::newRow("serial memory nearly full, range corrected")
        << args("--serial -s C") << QByteArray() << plain << args("serial --from 3 --to 2 --plugin")
        << 1 << "^WARNING - com1: Buffer nesten fullt \\(status C" << QString() << 0;
    QTest::newRow("serial no port answering")
        << none << QByteArray() << plain << args("serial --to 1 --pause 10") << 2
        << "^CRITICAL - ingen serieport svarte \\(com 1 til 1, 19200\\)"
        << "Prøver com1 ( 19200 )\n"
        << 0;
    // Six answering ports at the longest pause take more than the network's 10 s.
    QTest::newRow("serial slow sweep within its own default timeout")
        << args("--serial -s A") << QByteArray() << "one printer on com1 to com6"
        << args("serial --to 6 --pause 2000 --plugin") << 0
        << "^OK - com1: - Skriver OK - \\(status A, 500 etiketter igjen\\), 6 porter svarte \\| "
           "time=[0-9.]+s;;;0\\.000;20\\.000 answered=6;;;0 labels=500;;;0$"
        << "\ncom1: - Skriver OK - (status A)\ncom2: - Skriver OK - (status A)\n"
        << 0;
    // COM1 has been answered when the time runs out in COM2's pause: its WARNING is the
    // outcome, not a timeout's status.
    QTest::newRow("serial cut short after a WARNING on COM1")
        << args("--serial -s A -l 3") << QByteArray() << "one printer on com1 to com6"
        << args("serial --to 6 --pause 2000 -w 10: -t 3 --plugin") << 1
        << "^WARNING - com1: - Skriver OK - \\(status A, 3 etiketter igjen\\), etiketter utenfor "
           "--warning 10:; kontrollen ble avbrutt etter 3 s \\(--timeout\\) \\| "
           "time=[0-9.]+s;;;0\\.000;3\\.000 answered=1;;;0 labels=3;10:;;0$"
        << QString() << 5;
    // SOLVARN_COM_PORTS in the order given: its second entry is COM2, though it sorts first.
    QTest::newRow("serial COM2 is the second port given, not the second in path order")
        << args("--serial -s A -l 2") << QByteArray() << "missing port, then the printer"
        << args("serial --from 2 --to 2 --plugin") << 0
        << "^OK - com2: - Skriver OK - \\(status A, 2 etiketter igjen\\) \\|" << QString() << 0;
    QTest::newRow("serial port the user may not open")
        << args("--serial -s A") << QByteArray() << "not allowed" << args("serial --to 1 --plugin")
        << 3
        << "^UNKNOWN - com1 \\(/dev/[^)]+\\): ingen tilgang; brukeren må være med i gruppen "
           "dialout \\| time=[0-9.]+s;;;0\\.000;10\\.000 answered=0;;;0$"
        << QString() << 0;

    // The check could not ask: the printer may be well, a matter for whoever holds the port.
    QTest::newRow("serial port held by another program")
        << args("--serial -s A") << QByteArray() << "held by another program"
        << args("serial --to 1 --plugin") << 3
        << "^UNKNOWN - com1 \\(/dev/pts/[0-9]+\\): i bruk av et annet program \\| "
           "time=[0-9.]+s;;;0\\.000;10\\.000 answered=0;;;0$"
        << QString() << 0;
    // A printer at another speed answers with bytes that are no status: told as such, with
    // their codes, never as a printer's unknown letter; a framed unknown letter is a printer's.
    QTest::newRow("serial printer at another speed: no status, maybe the wrong speed")
        << args("--serial --speed 4800") << QByteArray() << plain
        << args("serial --to 1 --plugin -v") << 2
        << "^CRITICAL - com1 svarte, men ikke med en status: mulig feil hastighet \\(19200\\), "
           "prøv en annen \\| time=[0-9.]+s;;;0\\.000;10\\.000 answered=0;;;0$"
        << "\ncom1 svarte, men ikke med en status: mulig feil hastighet; mottatt (tegnkoder) 248 "
           "128 0 254\n"
        << 0;
    QTest::newRow("serial printer with an unknown letter in its frame: a printer's answer")
        << args("--serial -s Z -l 5") << QByteArray() << plain << args("serial --to 1 --plugin")
        << 2
        << "^CRITICAL - com1: - UKJENT KODE : Z KODE INN= Z000005 \\(status Z, 5 etiketter "
           "igjen\\) \\| time=[0-9.]+s;;;0\\.000;10\\.000 answered=1;;;0 labels=5;;;0$"
        << QString() << 0;
    // The serial values as the window takes them, alike for find (see find_data).
    QTest::newRow("serial --pause 5 runs, raised to 10 as the window does")
        << args("--serial --no-reply") << QByteArray() << plain << args("serial --to 1 --pause 5")
        << 2 << "^CRITICAL - ingen serieport svarte \\(com 1 til 1, 19200\\) \\|"
        << "1  1\nPrøver com1 ( 19200 )\n  Data fra printer =  --><--\n"
        << 0;
    QTest::newRow("serial --pause 99999 refused: past the field's 16 bits")
        << none << QByteArray() << plain << args("serial --pause 99999 --plugin") << 3
        << "^UNKNOWN - --pause is out of range \\(-32768 to 32767\\): \"99999\"$" << QString() << 0;
    QTest::newRow("serial --from 0 corrected to com1")
        << none << QByteArray() << plain << args("serial --from 0") << 2
        << "^CRITICAL - ingen serieport svarte \\(com 1 til 1, 19200\\) \\|"
        << "Ugyldige verdier oppgitt. Setter comport til 1\n1  1\nPrøver com1 ( 19200 )\n"
           "  comPortInvalid.\n"
        << 0;
    QTest::newRow("serial --from 300 past --to corrected to com1")
        << none << QByteArray() << plain << args("serial --from 300") << 2
        << "^CRITICAL - ingen serieport svarte \\(com 1 til 1, 19200\\) \\|"
        << "Ugyldige verdier oppgitt. Setter comport til 1\n1  1\nPrøver com1 ( 19200 )\n"
           "  comPortInvalid.\n"
        << 0;

    const QString unknown = QStringLiteral("^UNKNOWN - ");
    const QByteArray noReply;
    for (const auto &[name, line] : {
             std::pair{"unknown option", "network 127.0.9.19 --colour"},
             std::pair{"no check named", "--plugin"},
             std::pair{"unknown check", "parallel"},
             std::pair{"address missing", "network"},
             std::pair{"address of blanks", "network \t"},
             std::pair{"address with a blank", "network a\tb"},
             std::pair{"address empty", "network "},
             std::pair{"address past 255", "network 999.1.2.3"},
             std::pair{"address with a port", "network host:1025"},
             std::pair{"address twice, -H and after network", "network 127.0.9.19 -H 127.0.9.19"},
             std::pair{"-H for serial", "serial -H 127.0.9.19"},
             std::pair{"range not a range", "network 127.0.9.19 -w 5:1"},
             std::pair{"speed not a number", "serial --speed fast"},
             std::pair{"range not readable", "serial --from x"},
             std::pair{"pause beyond 16 bits", "serial --pause 40000"},
             std::pair{"timeout not positive", "network 127.0.9.19 --timeout 0"},
             std::pair{"timeout state not a state", "network 127.0.9.19 -t 3:foo"},
             std::pair{"timeout state past 3", "network 127.0.9.19 -t 3:4"},
             std::pair{"timeout state empty", "network 127.0.9.19 -t 3:"},
             std::pair{"value missing at the end", "network 127.0.9.19 -w"},
             std::pair{"serial option for the network", "network 127.0.9.19 --to 3"},
             std::pair{"bad address under --plugin", "network a:b --plugin"},
         }) {
        QTest::newRow(name) << none << noReply << plain << args(QLatin1String(line)) << 3 << unknown
                            << QString() << 0;
    }
}

void TestSolvarnSjekk::check()
{
    QFETCH(QStringList, simArguments);
    QFETCH(QByteArray, fakeReply);
    QFETCH(QString, rig);
    QFETCH(QStringList, arguments);
    QFETCH(int, exitCode);
    QFETCH(QString, summary);
    QFETCH(QString, shown);
    QFETCH(int, withinSeconds);

    for (QString &argument : arguments)
        argument.replace(QLatin1Char('\t'), QLatin1Char(' '));

    SimProcess sim;
    QString device;
    const bool serial = arguments.first() == QLatin1String("serial");
    if (!simArguments.isEmpty())
        QVERIFY2(startSim(sim, simArguments, serial ? &device : nullptr), qPrintable(sim.err()));
    std::unique_ptr<FakePrinterServer> fake;
    if (!fakeReply.isEmpty()) {
        FakePrinterScript script;
        script.innPieces = {fakeReply};
        fake = std::make_unique<FakePrinterServer>(QHostAddress(arguments.at(1)), script);
        QVERIFY2(fake->listenError().isEmpty(), qPrintable(fake->listenError()));
    }
    if (serial && device.isEmpty())
        device = QStringLiteral("/dev/solvarn-no-such-port");

    // These rigs reach the check through Linux itself: a private resolver file in a mount
    // namespace, a device's file permissions, a terminal held exclusively (Wine lets a second
    // program open a COM port that one holds). The Windows build under Wine has none of them.
    const bool linuxRig = rig == QLatin1String("silent name server") ||
                          rig == QLatin1String("not allowed") ||
                          rig == QLatin1String("held by another program");
    if (linuxRig && qEnvironmentVariableIsSet("SOLVARN_SJEKK_UNDER_WINE"))
        QSKIP("the rig needs Linux's name resolution, device permissions or terminals");

    CheckRun run;
    if (rig == QLatin1String("silent name server")) {
        SilentNameServer nameServer;
        if (!nameServer.skipReason.isEmpty())
            QSKIP(qPrintable(QStringLiteral("no silent name server: ") + nameServer.skipReason));
        run = runCheck(arguments, QString(), nameServer.wrapper);
        if (run.err.contains(QLatin1String("unshare:")) ||
            run.err.contains(QLatin1String("mount:")))
            QSKIP(qPrintable(QStringLiteral("no private resolv.conf: ") + run.err));
    } else if (rig == QLatin1String("not allowed")) {
        NotAllowed notAllowed(device);
        if (!notAllowed.skipReason.isEmpty())
            QSKIP(qPrintable(notAllowed.skipReason));
        run = runCheck(arguments, device, notAllowed.wrapper, notAllowed.checkProgram);
    } else if (rig == QLatin1String("held by another program")) {
        const HeldPort held(device);
        if (!held.skipReason.isEmpty())
            QSKIP(qPrintable(held.skipReason));
        run = runCheck(arguments, device, held.wrapper);
    } else if (rig == QLatin1String("missing port, then the printer")) {
        run = runCheck(arguments, QStringLiteral("/dev/zz-solvarn-no-such-port:") + device);
    } else if (rig == QLatin1String("one printer on com1 to com6")) {
        run = runCheck(arguments, QStringList(6, device).join(QLatin1Char(':')));
    } else {
        run = runCheck(arguments, device);
    }
    COMPARE_EXIT(run, exitCode);
    if (withinSeconds > 0)
        QVERIFY2(run.elapsedMs < withinSeconds * 1000, qPrintable(QString::number(run.elapsedMs)));

    QStringList lines = run.out.split(QLatin1Char('\n'));
    QCOMPARE(lines.takeLast(), QString()); // every line ends
    QVERIFY(!lines.isEmpty());
    // A monitoring engine reads the first line; on a terminal the summary comes after the log.
    // Bad arguments give no log: the summary, then the usage line.
    const bool plugin = arguments.contains(QStringLiteral("--plugin"));
    const bool usageError =
        exitCode == 3 && shown.isEmpty() && summary == QLatin1String("^UNKNOWN - ");
    const QString line = plugin || usageError ? lines.first() : lines.last();
    QVERIFY2(pluginLine.match(line).hasMatch(), qPrintable(line));
    QVERIFY2(line.startsWith(statusWord(exitCode) + QStringLiteral(" - ")), qPrintable(line));
    QVERIFY2(QRegularExpression(summary).match(line).hasMatch(), qPrintable(line));
    if (!shown.isEmpty())
        QVERIFY2(run.out.contains(shown), qPrintable(run.out));
    if (usageError) {
        // Bad arguments: the summary, one usage line, and one clear line on standard error.
        QCOMPARE(lines.size(), 2);
        QCOMPARE(lines.at(1),
                 QStringLiteral("Usage: solvarn-sjekk [options] network ADDRESS | -H ADDRESS | "
                                "serial"));
        if (!plugin) {
            QVERIFY2(run.err.startsWith(QStringLiteral("solvarn-sjekk: ")) &&
                         run.err.count(QLatin1Char('\n')) == 1,
                     qPrintable(run.err));
        }
    }
    // Nothing on standard error that an engine would put in front of the summary.
    if (plugin)
        QCOMPARE(run.err, QString());
    // The long output grows with -v: what was checked, then the log, then the bytes.
    int verbosity = 0;
    for (const QString &argument : arguments) {
        if (QRegularExpression(QStringLiteral("^-v+$")).match(argument).hasMatch())
            verbosity += int(argument.size()) - 1;
    }
    if (plugin && exitCode != 3) {
        QCOMPARE(run.out.contains(QStringLiteral("\nkontroll: ")), verbosity >= 1);
        QCOMPARE(run.out.contains(QStringLiteral("\nSTART ")), verbosity >= 2);
        QCOMPARE(run.out.contains(QStringLiteral(" mottok ")), verbosity >= 3);
    }
    // Nothing reaches the terminal raw: no CR, no escape.
    QVERIFY(!run.out.contains(QLatin1Char('\r')));
    QVERIFY(!run.out.contains(QChar(0x1b)));
}

void TestSolvarnSjekk::rawIsTheWindowsCopiedLog_data()
{
    QTest::addColumn<QString>("mode");
    QTest::addColumn<QString>("address");
    QTest::newRow("network, print head open") << "network"
                                              << "127.0.9.20";
    QTest::newRow("serial") << "serial" << QString();
}

void TestSolvarnSjekk::rawIsTheWindowsCopiedLog()
{
    QFETCH(QString, mode);
    QFETCH(QString, address);
    const bool serial = mode == QLatin1String("serial");

    SimProcess sim;
    QString device;
    QStringList simArguments = {QStringLiteral("--status"), QStringLiteral("b")};
    if (serial)
        simArguments << QStringLiteral("--serial");
    else
        simArguments << QStringLiteral("--address") << address;
    QVERIFY2(startSim(sim, simArguments, serial ? &device : nullptr), qPrintable(sim.err()));

    // The window, as a user runs it with the same values.
    SerialPortControl comPort([device](qint16 number) { return number == 1 ? device : QString(); });
    FakeClipboard clipboard;
    TestWindow window(TestWindow::Seams().comPort(comPort).clipboard(clipboard));
    Form1 &form = window.form();
    if (serial) {
        form.findChild<QLineEdit *>(QStringLiteral("txtComTil"))->setText(QStringLiteral("2"));
    } else {
        form.cmdTCP_Click();
        form.findChild<QLineEdit *>(QStringLiteral("txtIP"))->setText(address);
    }
    form.findChild<QPushButton *>(QStringLiteral("cmdTest"))->click();
    form.findChild<QPushButton *>(QStringLiteral("comKopiperTekst"))->click();

    const CheckRun run = runCheck(serial ? QStringList{mode, QStringLiteral("--to"),
                                                       QStringLiteral("2"), QStringLiteral("--raw")}
                                         : QStringList{mode, address, QStringLiteral("--raw")},
                                  device);
    COMPARE_EXIT(run, 2);
    QVERIFY(clipboard.text.contains(QStringLiteral("Skrivehodet")));
    QCOMPARE(masked(run.out), masked(clipboard.text));
    // The summary still reaches whoever reads standard error.
    QVERIFY2(run.err.startsWith(QStringLiteral("CRITICAL - ")), qPrintable(run.err));
}

// A reset and a clean close look the same to Qt; the socket control tells them apart with the
// system's help, which differs between Linux and Windows.
void TestSolvarnSjekk::printerHangsUp_data()
{
    QTest::addColumn<QString>("address");
    QTest::addColumn<bool>("reset");
    QTest::addColumn<QString>("summary");
    QTest::addColumn<QString>("shown");

    QTest::newRow("reset at once")
        << "127.0.9.37" << true
        << "^CRITICAL - 127\\.0\\.9\\.37: port 1025: Connection reset by peer \\(10054\\) \\|"
        << "TCP/IP FEIL (SockInn). Kode=10054\n";
    QTest::newRow("clean close at once")
        << "127.0.9.38" << false
        << "^CRITICAL - 127\\.0\\.9\\.38: port 1024 ble lukket av skriveren med en gang, uten svar "
           "\\(i bruk av et annet program\\?\\) \\|"
        << "Finner ikke skriver på IP-adresse 127.0.9.38\n";
}

void TestSolvarnSjekk::printerHangsUp()
{
    QFETCH(QString, address);
    QFETCH(bool, reset);
    QFETCH(QString, summary);
    QFETCH(QString, shown);

    FakePrinterScript script;
    script.dropOnAccept = true;
    script.dropWithReset = reset;
    FakePrinterServer printer(QHostAddress(address), script);
    QVERIFY2(printer.listenError().isEmpty(), qPrintable(printer.listenError()));

    const CheckRun run = runCheck({QStringLiteral("network"), address});
    COMPARE_EXIT(run, 2);
    // tools/windows/test-wine.sh says so when the Windows build runs under Wine.
    if (qEnvironmentVariableIsSet("SOLVARN_SJEKK_UNDER_WINE"))
        QEXPECT_FAIL("reset at once",
                     "Wine's sockets take a reset's error before the program can ask for it: "
                     "under Wine a reset reads as a clean close",
                     Abort);
    const QString last = run.out.section(QLatin1Char('\n'), -2, -2);
    QVERIFY2(QRegularExpression(summary).match(last).hasMatch(), qPrintable(last));
    QVERIFY2(run.out.contains(shown), qPrintable(run.out));
}

void TestSolvarnSjekk::linksNoGui()
{
    if (program != QLatin1String(SOLVARN_SJEKK_PATH))
        QSKIP("solvarn-sjekk is another build (SOLVARN_SJEKK_COMMAND): its linking is its own");
    const QString readelf = QStandardPaths::findExecutable(QStringLiteral("readelf"));
    if (readelf.isEmpty())
        QSKIP("readelf (binutils) is not installed: the linked libraries cannot be listed");
    QProcess process;
    process.start(readelf, {QStringLiteral("-d"), program});
    QVERIFY(process.waitForFinished(10000));
    const QString dynamic = QString::fromUtf8(process.readAllStandardOutput());
    QVERIFY2(dynamic.contains(QStringLiteral("libQt6Core")), qPrintable(dynamic));
    QVERIFY2(!dynamic.contains(QStringLiteral("libQt6Gui")), qPrintable(dynamic));
    QVERIFY2(!dynamic.contains(QStringLiteral("libQt6Widgets")), qPrintable(dynamic));
}

void TestSolvarnSjekk::informationOptions_data()
{
    QTest::addColumn<QStringList>("arguments");
    QTest::addColumn<QString>("shown");
    QTest::newRow("-V") << QStringList{QStringLiteral("-V")} << "solvarn-sjekk 1.0\n";
    QTest::newRow("-h") << QStringList{QStringLiteral("-h")} << "  -v, --verbose ";
    QTest::newRow("--version") << QStringList{QStringLiteral("--version")} << "solvarn-sjekk 1.0\n";
    QTest::newRow("--help names the environment")
        << QStringList{QStringLiteral("--help")}
        << "Environment:\n  SOLVARN_COM_PORTS         serial: device paths, separated by colons";
    QTest::newRow("--help names -H")
        << QStringList{QStringLiteral("--help")} << "  -H, --hostname <ADDRESS>";
    QTest::newRow("--help names the program, not its path")
        << QStringList{QStringLiteral("--help")}
        << "Usage: solvarn-sjekk [options] network ADDRESS | -H ADDRESS | serial\n";
    QTest::newRow("find --help") << QStringList{QStringLiteral("find"), QStringLiteral("--help")}
                                 << "Usage: solvarn-sjekk find [options] ADDRESSES\n";
}

void TestSolvarnSjekk::informationOptions()
{
    QFETCH(QStringList, arguments);
    QFETCH(QString, shown);
    const CheckRun run = runCheck(arguments);
    // UNKNOWN, as plugins end when they check nothing.
    COMPARE_EXIT(run, 3);
    QVERIFY2(run.out.contains(shown), qPrintable(run.out));
    QCOMPARE(run.err, QString());
    // Every line fits a terminal of 80 columns, as the plugin guidelines ask.
    for (const QString &line : run.out.split(QLatin1Char('\n')))
        QVERIFY2(line.size() <= 80, qPrintable(line));
}

void TestSolvarnSjekk::readerGoneEarly_data()
{
    QTest::addColumn<QStringList>("arguments");
    QTest::addColumn<int>("exitCode");
    QTest::newRow("--version") << QStringList{QStringLiteral("--version")} << 3;
    QTest::newRow("a network check, nobody there")
        << QStringList{QStringLiteral("network"), QStringLiteral("127.0.9.39"),
                       QStringLiteral("--timeout"), QStringLiteral("2")}
        << 2;
}

// A reader that went away before the first line (`| head -0`) ends nothing but the output: the
// check still ends with its status, not by the signal of a broken pipe.
void TestSolvarnSjekk::readerGoneEarly()
{
    QFETCH(QStringList, arguments);
    QFETCH(int, exitCode);
    if (qEnvironmentVariableIsSet("SOLVARN_SJEKK_UNDER_WINE"))
        QSKIP("Windows has no broken-pipe signal");
    QProcess process;
    // Standard output becomes a pipe whose reading end is already closed.
    process.setChildProcessModifier([] {
        int ends[2];
        if (::pipe(ends) == 0) {
            ::dup2(ends[1], STDOUT_FILENO);
            ::close(ends[0]);
            ::close(ends[1]);
        }
    });
    process.start(program, arguments);
    QVERIFY(process.waitForFinished(40000));
    QCOMPARE(process.exitStatus(), QProcess::NormalExit);
    QCOMPARE(process.exitCode(), exitCode);
}

void TestSolvarnSjekk::statusOfLetter_data()
{
    QTest::addColumn<QChar>("letter");
    QTest::addColumn<int>("exitCode");
    const struct
    {
        char16_t letter;
        int exitCode;
    } rows[] = {
        // Off line.
        {u'0', 2},
        {u'1', 2},
        {u'2', 2},
        {u'3', 2},
        // On line; ribbon, memory, both nearly used up.
        {u'A', 0},
        {u'B', 1},
        {u'C', 1},
        {u'D', 1},
        // Printing.
        {u'G', 0},
        {u'H', 1},
        {u'I', 1},
        {u'J', 1},
        // Label ready.
        {u'M', 0},
        {u'N', 1},
        {u'O', 1},
        {u'P', 1},
        // Compiling.
        {u'S', 0},
        {u'T', 1},
        {u'U', 1},
        {u'V', 1},
        // Printer errors.
        {u'a', 2},
        {u'b', 2},
        {u'c', 2},
        {u'd', 2},
        {u'e', 2},
        {u'f', 2},
        {u'g', 2},
        {u'h', 2},
        {u'i', 2},
        {u'j', 2},
        {u'k', 2},
        // Outside the table: the print-stop codes, neighbours, case, blank, control, Latin-1.
        {u'4', 2},
        {u'E', 2},
        {u'K', 2},
        {u'Q', 2},
        {u'W', 2},
        {u'F', 2},
        {u'L', 2},
        {u'R', 2},
        {u'Z', 2},
        {u'l', 2},
        {u'z', 2},
        {u' ', 2},
        {u'\x05', 2},
        {u'\xe5', 2},
    };
    for (const auto &row : rows) {
        QTest::addRow("letter %04x", unsigned(row.letter)) << QChar(row.letter) << row.exitCode;
    }
}

void TestSolvarnSjekk::statusOfLetter()
{
    QFETCH(QChar, letter);
    QFETCH(int, exitCode);
    QCOMPARE(static_cast<int>(::statusOfLetter(letter)), exitCode);
}

void TestSolvarnSjekk::summaryLine_data()
{
    QTest::addColumn<QString>("text");
    QTest::addColumn<QString>("line");
    QString controls;
    for (char16_t code = 0; code < 0x20; ++code)
        controls += QChar(code);
    QTest::newRow("every C0 control") << QStringLiteral("a") + controls + QStringLiteral("b")
                                      << "OK - a b | time=1.000s;;;0.000;10.000";
    QTest::newRow("DEL") << QStringLiteral("a\x7f"
                                           "b")
                         << "OK - a b | time=1.000s;;;0.000;10.000";
    QTest::newRow("C1 controls") << QStringLiteral("a") + QChar(0x80) + QChar(0x9b) + QChar(0x9f) +
                                        QStringLiteral("b")
                                 << "OK - a b | time=1.000s;;;0.000;10.000";
    QTest::newRow("a bar would start the performance data")
        << QStringLiteral("A|B | x=1") << "OK - A/B / x=1 | time=1.000s;;;0.000;10.000";
    QTest::newRow("Norwegian letters and Latin-1 stay")
        << QStringLiteral("Skrivehodet åpent ÆØÅ ¤")
        << "OK - Skrivehodet åpent ÆØÅ ¤ | time=1.000s;;;0.000;10.000";
}

void TestSolvarnSjekk::summaryLine()
{
    QFETCH(QString, text);
    QFETCH(QString, line);
    const CheckSummary summary{CheckStatus::Ok, text, {elapsedPerfData(1000, 10)}, {text}};
    QCOMPARE(summary.line(), line);
    // The long output is made safe alike.
    QCOMPARE(summary.detailLines(), QStringList{line.section(QStringLiteral(" | "), 0, 0).mid(5)});
}

void TestSolvarnSjekk::optionLimits_data()
{
    QTest::addColumn<QString>("line");
    QTest::addColumn<QString>("error"); // empty: accepted
    const auto row = [](const char *name, const char *line, const char *error) {
        QTest::newRow(name) << QString::fromLatin1(line) << QString::fromLatin1(error);
    };
    row("--timeout largest", "network 127.0.0.1 --timeout 86400", "");
    row("--timeout one past", "network 127.0.0.1 --timeout 86401",
        "--timeout needs whole seconds from 1 to 86400, not \"86401\"");
    row("--timeout smallest", "network 127.0.0.1 -t 1", "");
    row("--timeout state word in any case", "network 127.0.0.1 -t 3:critical", "");
    row("--timeout state with the default seconds", "network 127.0.0.1 -t :0", "");
    row("--timeout state not a state", "network 127.0.0.1 -t 3:foo",
        "--timeout needs a state after the colon: 0 to 3, OK, WARNING, CRITICAL or UNKNOWN, "
        "not \"foo\"");
    row("--timeout seconds bad before a state", "network 127.0.0.1 -t x:UNKNOWN",
        "--timeout needs whole seconds from 1 to 86400, not \"x\"");
    // An empty value (the line's last blank) is the option left out.
    row("--timeout empty", "network 127.0.0.1 -t ", "");
    row("--from empty", "serial --from ", "");
    row("--from largest", "serial --from 32767 --to 32767", "");
    row("--from one past", "serial --from 32768",
        "--from is out of range (-32768 to 32767): \"32768\"");
    row("--from smallest", "serial --from -32768", "");
    row("--from one below", "serial --from -32769",
        "--from is out of range (-32768 to 32767): \"-32769\"");
    row("--to largest", "serial --to 32767", "");
    row("--to one past", "serial --to 32768", "--to is out of range (-32768 to 32767): \"32768\"");
    row("--pause largest", "serial --pause 32767", "");
    row("--pause one past", "serial --pause 32768",
        "--pause is out of range (-32768 to 32767): \"32768\"");
    row("--speed largest", "serial --speed 2147483647", "");
    row("--speed one past", "serial --speed 2147483648",
        "--speed needs a whole number from 1 to 2147483647, not \"2147483648\"");
    row("--speed 0", "serial --speed 0",
        "--speed needs a whole number from 1 to 2147483647, not \"0\"");
    row("host name of 253",
        QByteArray("network " + QByteArray(63, 'a') + '.' + QByteArray(63, 'b') + '.' +
                   QByteArray(63, 'c') + '.' + QByteArray(61, 'd'))
            .constData(),
        "");
    row("label of 64", QByteArray("network " + QByteArray(64, 'a') + ".no").constData(),
        QByteArray('"' + QByteArray(64, 'a') + ".no\" is neither an IP address nor a host name")
            .constData());
    row("IPv6 address", "network ::1", "");
    row("host name", "network etikett-1.lager.example", "");
    row("hyphen at the end of a label", "network etikett-.lager",
        "\"etikett-.lager\" is neither an IP address nor a host name");
}

void TestSolvarnSjekk::optionLimits()
{
    QFETCH(QString, line);
    QFETCH(QString, error);
    const CheckOptions options =
        parseCheckOptions(QStringList{program} + line.split(QLatin1Char(' ')));
    QCOMPARE(options.error, error);
    QCOMPARE(options.action == CheckOptions::Action::Run, error.isEmpty());
}

void TestSolvarnSjekk::serialDefaultTimeout_data()
{
    QTest::addColumn<QString>("from");
    QTest::addColumn<QString>("to");
    QTest::addColumn<QString>("pause");
    QTest::addColumn<int>("seconds");
    QTest::newRow("window's start values: 16 x 0.85 s + 5 s") << "1"
                                                              << "16"
                                                              << "350" << 19;
    QTest::newRow("12 ports at 2000 ms: 12 x 2.5 s + 5 s") << "1"
                                                           << "12"
                                                           << "2000" << 35;
    QTest::newRow("one quick port: the network's 10 s") << "1"
                                                        << "1"
                                                        << "10" << 10;
    QTest::newRow("pause past 2000 counts as 2000") << "1"
                                                    << "4"
                                                    << "9000" << 15;
    QTest::newRow("pause below 10 counts as 10") << "1"
                                                 << "30"
                                                 << "-5" << 21;
    QTest::newRow("reversed range is corrected to one port") << "9"
                                                             << "2"
                                                             << "2000" << 10;
    QTest::newRow("the widest range, to a day at most") << "-32768"
                                                        << "32767"
                                                        << "2000" << 86400;
}

void TestSolvarnSjekk::serialDefaultTimeout()
{
    QFETCH(QString, from);
    QFETCH(QString, to);
    QFETCH(QString, pause);
    QFETCH(int, seconds);
    QCOMPARE(serialDefaultTimeoutSeconds({from, to, QStringLiteral("19200"), pause}), seconds);
    // And what the options take when --timeout is not given.
    const CheckOptions options =
        parseCheckOptions({program, QStringLiteral("serial"), QStringLiteral("--from"), from,
                           QStringLiteral("--to"), to, QStringLiteral("--pause"), pause});
    QCOMPARE(options.timeoutSeconds, seconds);
}

// One rule for the check and find, the window's: a value that reads as the window's field reads
// a 16-bit number is taken and corrected as the sweep corrects its fields; any other is refused.
void TestSolvarnSjekk::serialRangeRule_data()
{
    QTest::addColumn<QString>("line");  // the serial options, after "serial" or "find --serial"
    QTest::addColumn<QString>("error"); // empty: accepted
    QTest::addColumn<int>("from");
    QTest::addColumn<int>("to");
    QTest::addColumn<int>("pause");
    QTest::addColumn<bool>("portsCorrected");
    const auto row = [](const char *name, const char *line, int from, int to, int pause,
                        bool corrected) {
        QTest::newRow(name) << QString::fromLatin1(line) << QString() << from << to << pause
                            << corrected;
    };
    const auto refused = [](const char *name, const char *line, const char *error) {
        QTest::newRow(name) << QString::fromLatin1(line) << QString::fromUtf8(error) << 0 << 0 << 0
                            << false;
    };
    row("the window's start values", "", 1, 16, 350, false);
    row("--pause 5 raised to 10", "--pause 5", 1, 16, 10, false);
    row("--pause 9 raised to 10", "--pause 9", 1, 16, 10, false);
    row("--pause 10 kept", "--pause 10", 1, 16, 10, false);
    row("--pause 2000 kept", "--pause 2000", 1, 16, 2000, false);
    row("--pause 2001 lowered to 2000", "--pause 2001", 1, 16, 2000, false);
    row("--pause 32767 lowered to 2000", "--pause 32767", 1, 16, 2000, false);
    refused("--pause 99999 does not fit the field", "--pause 99999",
            "--pause is out of range (-32768 to 32767): \"99999\"");
    refused("--pause letters", "--pause kort", "--pause needs a number, not \"kort\"");
    row("--pause read as the field reads it", "--pause 1.5e3", 1, 16, 10, false);
    row("--from 0 corrected to com1", "--from 0", 1, 1, 350, true);
    row("--from 300 past --to corrected to com1", "--from 300", 1, 1, 350, true);
    row("--from 300 --to 300 tried as given", "--from 300 --to 300", 300, 300, 350, false);
    row("--to 0 corrected to com1", "--to 0", 1, 1, 350, true);
    row("reversed range corrected to com1", "--from 3 --to 2", 1, 1, 350, true);
    row("--from 16 --to 16 kept", "--from 16 --to 16", 16, 16, 350, false);
    row("--from 32767", "--from 32767 --to 32767", 32767, 32767, 350, false);
    row("negative ports tried as given", "--from -3 --to -1", -3, -1, 350, false);
    row("--from -1 up to the default --to", "--from -1", -1, 16, 350, false);
    row("--pause -5 raised to 10", "--pause -5", 1, 16, 10, false);
    refused("--from 32768", "--from 32768", "--from is out of range (-32768 to 32767): \"32768\"");
    row("an empty value is the option left out", "--from  --pause ", 1, 16, 350, false);
    refused("--to not a number", "--to x", "--to needs a number, not \"x\"");
}

void TestSolvarnSjekk::serialRangeRule()
{
    QFETCH(QString, line);
    QFETCH(QString, error);
    QFETCH(int, from);
    QFETCH(int, to);
    QFETCH(int, pause);
    QFETCH(bool, portsCorrected);
    const QStringList options = line.isEmpty() ? QStringList() : line.split(QLatin1Char(' '));

    const CheckOptions check =
        parseCheckOptions(QStringList{program, QStringLiteral("serial")} + options);
    QCOMPARE(check.error, error);
    const FindOptions find = parseFindOptions(
        QStringList{program, QStringLiteral("find"), QStringLiteral("--serial")} + options);
    QCOMPARE(find.error, error);
    if (!error.isEmpty()) {
        QCOMPARE(check.action, CheckOptions::Action::Error);
        QCOMPARE(find.action, FindOptions::Action::Error);
        return;
    }
    QCOMPARE(check.action, CheckOptions::Action::Run);
    QCOMPARE(find.action, FindOptions::Action::Run);
    // The check hands the texts to the sweep, which corrects them as it starts.
    const SerialRange swept = correctedSerialRange(check.fields);
    QCOMPARE(int(swept.from), from);
    QCOMPARE(int(swept.to), to);
    QCOMPARE(int(swept.pause), pause);
    QCOMPARE(swept.portsCorrected, portsCorrected);
    QCOMPARE(find.comFrom, from);
    QCOMPARE(find.comTo, to);
    QCOMPARE(find.pauseMs, pause);
    QCOMPARE(find.portsCorrected, portsCorrected);
}

void TestSolvarnSjekk::thresholdRange_data()
{
    QTest::addColumn<QString>("range");
    QTest::addColumn<double>("value");
    QTest::addColumn<int>("state");          // with -w RANGE at VALUE labels: 0 OK, 1 WARNING,
                                             // 3 UNKNOWN (not a range)
    QTest::addColumn<QString>("normalised"); // as the performance data and the summary write it
    QTest::addColumn<QString>("address");    // empty: the range reader alone; otherwise the
                                             // whole program against printer-sim there
    const auto row = [](const QString &range, double value, int state, const QString &normalised,
                        const QString &address = QString()) {
        QTest::addRow("[%s] at %s%s", qPrintable(range),
                      qPrintable(QString::number(value, 'g', 17)),
                      address.isEmpty() ? "" : ", whole program")
            << range << value << state << normalised << address;
    };
    const QString refused;

    // The plugins' C library's range tests.
    row("6", -1, 1, "6");
    row("6", 0, 0, "6");
    row("6", 6, 0, "6");
    row("6", 6.1, 1, "6");
    row("-7:23", -23, 1, "-7:23");
    row("-7:23", -7, 0, "-7:23");
    row("-7:23", 23, 0, "-7:23");
    row("-7:23", 23.1, 1, "-7:23");
    row(":5.75", -1, 1, "5.75");
    row(":5.75", 0, 0, "5.75");
    row(":5.75", 4, 0, "5.75");
    row(":5.75", 5.75, 0, "5.75");
    row(":5.75", 5.7501, 1, "5.75");
    row(":5.75", 6, 1, "5.75", "127.0.9.27");
    row("~:-95.99", -96, 0, "~:-95.99");
    row("~:-95.99", -95.99, 0, "~:-95.99");
    row("~:-95.99", -95.989, 1, "~:-95.99");
    row("~:-95.99", 0, 1, "~:-95.99");
    row("12345678901234567890:", 1e19, 1, "12345678901234567000:");
    row("12345678901234567890:", 12345678901234567890.0, 0, "12345678901234567000:");
    row("12345678901234567890:", 2.5e19, 0, "12345678901234567000:");
    row("~:0", 0.5, 1, "~:0");
    row("~:0", -10, 0, "~:0");
    row("~:0", 0, 0, "~:0");
    row("@0:657.8210567", 32.88, 1, "@657.8210567");
    row("@0:657.8210567", -2, 0, "@657.8210567");
    row("@0:657.8210567", 657.8210567, 1, "@657.8210567");
    row("@0:657.8210567", 0, 1, "@657.8210567");
    row("1:1", 0.5, 1, "1:1");
    row("1:1", 1, 0, "1:1");
    row("1:1", 5.2, 1, "1:1");
    row("2:1", 0, 3, refused);
    // A percentage, which the C library ignores, is no count of labels.
    row("1:12%", 5, 3, refused);

    // The Perl module's range tests.
    row("@1:1", 0.5, 0, "@1:1");
    row("@1:1", 1, 1, "@1:1");
    row("@1:1", 5.2, 0, "@1:1");
    row("10:", 9.91, 1, "10:");
    row("10:", 10, 0, "10:");
    row("10:", 11.1, 0, "10:");
    row("10:", 123456789012346, 0, "10:");
    row("123456789012345:", 123456789012344.91, 1, "123456789012345:");
    row("123456789012345:", 123456789012345, 0, "123456789012345:");
    for (const char *garbage : {":", "1:~", "foo", "1-10", "10:~", "1-10:2.4", "1,10"})
        row(QLatin1String(garbage), 0, 3, refused);

    // The guidelines' forms, both ends open, and "@" at the ends of its range.
    row("~:", 0, 0, "~:", "127.0.9.28");
    row("~:", 999999, 0, "~:");
    row("@~:", 0, 1, "@~:");
    row("~:10", 10, 0, "~:10");
    row("~:10", 11, 1, "~:10");
    row("@10:20", 9, 0, "@10:20");
    row("@10:20", 10, 1, "@10:20");
    row("@10:20", 11, 1, "@10:20");
    row("@10:20", 20, 1, "@10:20", "127.0.9.29");
    row("@10:20", 21, 0, "@10:20");
    row("20:10", 15, 3, refused);
    row("nan", 0, 3, refused, "127.0.9.33");
    row("10:20:30", 15, 3, refused);
    row("", 0, 3, refused);

    // Numbers as the C library reads them, written back plain.
    row(" 10", 11, 1, "10", "127.0.9.31");
    row("1e1", 10, 0, "10");
    row("1e1", 11, 1, "10");
    row("+10", 15, 1, "10", "127.0.9.32");
    row("@ 10 : 20 ", 15, 1, "@10:20");
    row("-0:5", 0, 0, "5");
    // What Icinga 2 reads as a number, and what it refuses (with all performance data).
    row("1e308", 1, 0, QStringLiteral("1") + QString(308, QLatin1Char('0')));
    row("2.3e-308:", 1, 0, QStringLiteral("0.") + QString(307, QLatin1Char('0')) + "23:");
    row(QString(309, QLatin1Char('9')), 1, 3, refused);
    row("1e309", 1, 3, refused);
    row("1e-400:", 1, 3, refused);
    row("2.2e-308:", 1, 3, refused);
    row("inf", 1, 3, refused);
    row("0x10", 1, 3, refused);

    // Rows of earlier work.
    row("10", 0, 0, "10");
    row("10", 10, 0, "10");
    row("10", 11, 1, "10");
    row("10", -1, 1, "10");
    row("10:", 9, 1, "10:");
    row("10:", 999999, 0, "10:");
    row("~:10", -5, 0, "~:10");
    row("10:20", 9, 1, "10:20");
    row("10:20", 20, 0, "10:20");
    row("10:20", 21, 1, "10:20");
    row("@0:5", 5, 1, "@5");
    row("@0:5", 6, 0, "@5");
    row("@10", 0, 1, "@10");
    row("2.5:", 2, 1, "2.5:");
    row("5:1", 0, 3, refused);
    row("ten", 0, 3, refused);
}

void TestSolvarnSjekk::thresholdRange()
{
    QFETCH(QString, range);
    QFETCH(double, value);
    QFETCH(int, state);
    QFETCH(QString, normalised);
    QFETCH(QString, address);
    const std::optional<ThresholdRange> parsed = ThresholdRange::parse(range);
    QCOMPARE(parsed.has_value(), state != 3);
    if (parsed) {
        QCOMPARE(int(parsed->alerts(value)), state);
        QCOMPARE(parsed->text(), normalised);
    }
    if (address.isEmpty())
        return;

    const QString labels = QString::number(qint64(value));
    SimProcess sim;
    QVERIFY2(startSim(sim, {QStringLiteral("-a"), address, QStringLiteral("-s"),
                            QStringLiteral("A"), QStringLiteral("-l"), labels}),
             qPrintable(sim.err()));
    const CheckRun run = runCheck(
        {QStringLiteral("-H"), address, QStringLiteral("--plugin"), QStringLiteral("-w"), range});
    COMPARE_EXIT(run, state);
    if (state != 3) {
        QVERIFY2(run.out.contains(QStringLiteral(" labels=%1;%2;;0\n").arg(labels, normalised)),
                 qPrintable(run.out));
    }
}

void TestSolvarnSjekk::serialVerdict_data()
{
    // "port:reply", "port!error number" (an open that failed), "port!denied" (the user may not
    // open its device), in the order of the sweep.
    QTest::addColumn<QStringList>("replies");
    QTest::addColumn<QString>("line");
    QTest::newRow("equally bad: the first is named")
        << QStringList{"3:\x02  B000040\x03", "5:\x02  C000050\x03"}
        << "WARNING - com3: Farge bånd nesten tomt (status B, 40 etiketter igjen), 2 porter "
           "svarte | answered=2;;;0 labels=40;;;0";
    QTest::newRow("the worst decides, wherever it comes")
        << QStringList{"1:\x02  A000001\x03", "2:\x02  b000002\x03", "4:\x02  C000004\x03"}
        << "CRITICAL - com2: Off-line, error condition - Skrivehodet åpent - (status b, 2 "
           "etiketter igjen), 3 porter svarte | answered=3;;;0 labels=2;;;0";
    QTest::newRow("an OK after a warning does not win")
        << QStringList{"7:\x02  D000007\x03", "8:\x02  A000008\x03"}
        << "WARNING - com7: Fargebånd nesten tomt og buffer nesten fullt (status D, 7 etiketter "
           "igjen), 2 porter svarte | answered=2;;;0 labels=7;;;0";
    QTest::newRow("empty replies do not count")
        << QStringList{"1:", "2:\x02  A000120\x03"}
        << "OK - com2: - Skriver OK - (status A, 120 etiketter igjen) | "
           "answered=1;;;0 labels=120;;;0";
    // 8005 comPortAlreadyOpen, 8002 comPortInvalid, 380 a speed the port cannot do.
    QTest::newRow("held port, the others silent: the first held one named")
        << QStringList{"1:", "2!8005", "3!8005"}
        << "UNKNOWN - com2 (/dev/ttyS2): i bruk av et annet program | answered=0;;;0";
    QTest::newRow("a denied port is named before a held one, wherever it comes")
        << QStringList{"1!8005", "2!denied"}
        << "UNKNOWN - com2 (/dev/ttyS2): ingen tilgang; brukeren må være med i gruppen dialout | "
           "answered=0;;;0";
    QTest::newRow("a missing port is not held")
        << QStringList{"1!8002"}
        << "CRITICAL - ingen serieport svarte (com 1 til 16, 19200) | "
           "answered=0;;;0";
    QTest::newRow("a speed the port cannot do is not held")
        << QStringList{"1!380"}
        << "CRITICAL - ingen serieport svarte (com 1 til 16, 19200) | "
           "answered=0;;;0";
    QTest::newRow("an answer decides over a held port")
        << QStringList{"1!8005", "2:\x02  b000002\x03"}
        << "CRITICAL - com2: Off-line, error condition - Skrivehodet åpent - (status b, 2 "
           "etiketter igjen) | answered=1;;;0 labels=2;;;0";
}

void TestSolvarnSjekk::serialVerdict()
{
    QFETCH(QStringList, replies);
    QFETCH(QString, line);
    SerialCheckHost host;
    for (const QString &reply : replies) {
        const QChar mark = reply.contains(QLatin1Char('!')) ? QLatin1Char('!') : QLatin1Char(':');
        const auto port = qint16(reply.section(mark, 0, 0).toInt());
        const QString rest = reply.section(mark, 1);
        const QString device = QStringLiteral("/dev/ttyS%1").arg(port);
        if (mark == QLatin1Char(':')) {
            host.replyReceived(port, rest);
        } else if (rest == QLatin1String("denied")) {
            // As the watched control tells it: denied first, then the open that failed.
            host.portDenied(port, device);
            host.openFailed(port, 8005, device);
        } else {
            host.openFailed(port, rest.toInt(), device);
        }
    }
    const SerialSweepFields fields{QStringLiteral("1"), QStringLiteral("16"),
                                   QStringLiteral("19200"), QStringLiteral("350")};
    QCOMPARE(host.summary(fields, {}).line(), line);
}

void TestSolvarnSjekk::networkVerdict_data()
{
    QTest::addColumn<QString>("testState");
    QTest::addColumn<int>("loops");
    QTest::addColumn<bool>("received");
    QTest::addColumn<QString>("status"); // strStatus
    QTest::addColumn<bool>("soFar");     // the finding of a test still running, not its end
    QTest::addColumn<QString>("line");   // empty: nothing found so far
    const QString status = QStringLiteral("OK: Printer OK\rA000500");
    const QString init = QStringLiteral("init!");
    QTest::newRow("status on the last pass counts")
        << "PRINTING" << 21 << true << status << false
        << "OK - 127.0.0.1: Printer OK (status A, 500 etiketter igjen) | labels=500;;;0";
    QTest::newRow("status on the first pass")
        << "PRINTING" << 1 << true << status << false
        << "OK - 127.0.0.1: Printer OK (status A, 500 etiketter igjen) | labels=500;;;0";
    QTest::newRow("status while port 1024 never connected")
        << "KLIKK" << 21 << true << status << false
        << "CRITICAL - Finner ikke skriver på IP-adresse 127.0.0.1";
    QTest::newRow("no status in 21 passes")
        << "PRINTING" << 21 << false << init << false
        << "CRITICAL - Finner ikke skriver på IP-adresse 127.0.0.1";
    // A socket error's text took the place of the decoded reply: the loop ended at 20 passes,
    // one short of "not found".
    QTest::newRow("20 passes, a reply that does not decode")
        << "ERROR" << 20 << true
        << QStringLiteral("TCP/IP FEIL (SockInn). Kode=10054\r\nConnection reset by peer") << false
        << "CRITICAL - 127.0.0.1: skriveren svarte ikke med status";
    // Should the time run out now, the printer has answered all the same.
    QTest::newRow("so far: a status before port 1024 connected")
        << "KLIKK" << 2 << true << status << true
        << "OK - 127.0.0.1: Printer OK (status A, 500 etiketter igjen) | labels=500;;;0";
    QTest::newRow("so far: connected, no status yet")
        << "PRINTING" << 3 << false << init << true << QString();
}

void TestSolvarnSjekk::networkVerdict()
{
    QFETCH(QString, testState);
    QFETCH(int, loops);
    QFETCH(bool, received);
    QFETCH(QString, status);
    QFETCH(bool, soFar);
    QFETCH(QString, line);
    NetworkState state;
    state.strStatus = status;
    state.bStatusReceived = received;
    // Beside a decoded reply's text the receiver leaves the status itself: that of the frame
    // with the text's status field, where that frame reads as the text.
    StatusDecoder decoder;
    const std::optional<PrinterStatus> decoded = decoder.read(
        QStringLiteral("\x02  ") + status.section(QLatin1Char('\r'), 1) + QStringLiteral("\x03"));
    if (decoded && StatusDecoder::statusText(*decoded) == status)
        state.status = decoded;
    state.strTestState = testState;
    state.strPrinterIP = QStringLiteral("127.0.0.1");
    state.intLoops = qint16(loops);
    if (soFar) {
        const std::optional<CheckSummary> found = networkFindingSoFar(state, SocketHistory{}, {});
        QCOMPARE(found ? found->line() : QString(), line);
        return;
    }
    QCOMPARE(networkSummary(state, SocketHistory{}, {}).line(), line);
}

void TestSolvarnSjekk::secondCheckStartsAfresh()
{
    // The check's state (the test's variables, the sockets' history) lives in the check that
    // runProgram makes for each run: a second run in the same process starts from nothing.
    SimProcess ready;
    QVERIFY2(startSim(ready, {QStringLiteral("-a"), QStringLiteral("127.0.9.25"),
                              QStringLiteral("-s"), QStringLiteral("A")}),
             qPrintable(ready.err()));
    const CheckRun first = runCheckHere(
        {QStringLiteral("-H"), QStringLiteral("127.0.9.25"), QStringLiteral("--plugin")});
    COMPARE_EXIT(first, 0);
    QVERIFY(!first.endedByWatchdog);
    QVERIFY2(first.out.startsWith(QStringLiteral("OK - 127.0.9.25: Printer OK (status A")),
             qPrintable(first.out));

    SimProcess silent;
    QVERIFY2(startSim(silent, {QStringLiteral("-a"), QStringLiteral("127.0.9.26"),
                               QStringLiteral("--no-reply")}),
             qPrintable(silent.err()));
    const CheckRun second = runCheckHere(
        {QStringLiteral("-H"), QStringLiteral("127.0.9.26"), QStringLiteral("--plugin")});
    COMPARE_EXIT(second, 2);
    QVERIFY(!second.endedByWatchdog);
    QVERIFY2(second.out.startsWith(
                 QStringLiteral("CRITICAL - Finner ikke skriver på IP-adresse 127.0.9.26 | ")),
             qPrintable(second.out));
}

void TestSolvarnSjekk::find_data()
{
    QTest::addColumn<QStringList>("sims"); // one printer-sim each; serial: COM 1, 2, ... in order
    QTest::addColumn<QString>("arguments");
    QTest::addColumn<int>("exitCode");
    QTest::addColumn<QString>("out"); // times written as <s> and <ms>
    QTest::addColumn<QString>("err"); // a text standard error must show
    // A shell command that runs the program, PROG, in a changed setting; empty: run directly.
    QTest::addColumn<QString>("setting");
    // A --timeout here is the time a host has to show what it is: a row whose verdict needs its
    // sims' bytes read in that time gives them at least a second, as a busy machine (or Wine on
    // one) can hold the program back for half of one.

    QTest::newRow("range with printers at known addresses")
        << QStringList{"-a 127.0.25.10 -s A -l 500", "-a 127.0.25.12 -s B -l 42"}
        << "find 127.0.25.8/29 --timeout 1" << 0
        << "Skrivere som svarte:\n"
           "  127.0.25.10  status A: OK: Printer OK, 500 etiketter igjen (<s>)\n"
           "  127.0.25.12  status B: OK: Fargebåndet er nesten tomt, 42 etiketter igjen (<s>)\n"
           "6 adresser prøvd: 2 skrivere, 0 annet, 0 uten svar, 4 avvist\n"
        << QString() << QString();
    QTest::newRow("printer in error, a list with a CIDR /31")
        << QStringList{"-a 127.0.25.20 -s b -l 3"} << "find 127.0.25.20/31,127.0.25.22" << 0
        << "Skrivere som svarte:\n"
           "  127.0.25.20  status b: FEIL: Off line, Skriverfeil - Skrivehodet åpent, 3 etiketter "
           "igjen (<s>)\n"
           "3 adresser prøvd: 1 skriver, 0 annet, 0 uten svar, 2 avvist\n"
        << QString() << QString();
    QTest::newRow("ports that answer with no status are listed apart")
        << QStringList{"-a 127.0.25.30 --refuse-1025", "-a 127.0.25.31 --flood-bytes SSH-2.0",
                       "-a 127.0.25.32 --no-reply"}
        << "find 127.0.25.30-32 --timeout 2" << 1
        << "Annet som svarte, uten status:\n"
           "  127.0.25.30  port 1024 åpen, port 1025: Connection refused (10061)\n"
           "  127.0.25.31  port 1025 og 1024 åpne, ingen status; mottatt på port 1025: "
           "\"SSH-2.0SSH-2.0SSH-2.0SSH-2.0SSH-2.0SSH-2\"\n"
           "Stille, men med port 1025 og 1024 åpne (prøv en lengre --timeout):\n"
           "  127.0.25.32  port 1025 og 1024 åpne, ingen status, heller ikke etter ENQ på port "
           "1024\n"
           "3 adresser prøvd: 0 skrivere, 2 annet, 1 uten svar (1 med port 1025 og 1024 åpne), 0 "
           "avvist\n"
        << QString() << QString();
    QTest::newRow("a peer's UTF-8 shown as UTF-8")
        << QStringList{"-a 127.0.25.116 --flood-bytes blåbær"} << "find 127.0.25.116 --timeout 2"
        << 1
        << "Annet som svarte, uten status:\n"
           "  127.0.25.116  port 1025 og 1024 åpne, ingen status; mottatt på port 1025: "
           "\"blåbærblåbærblåbærblåbærblåbær\"\n"
           "1 adresse prøvd: 0 skrivere, 1 annet, 0 uten svar, 0 avvist\n"
        << QString() << QString();
    QTest::newRow("a status without port 1024 is no printer, as for the check")
        << QStringList{"-a 127.0.25.35 -s A --refuse-1024"} << "find 127.0.25.35" << 1
        << "Annet som svarte, uten status:\n"
           "  127.0.25.35  status A på port 1025, men port 1024 svarte ikke\n"
           "1 adresse prøvd: 0 skrivere, 1 annet, 0 uten svar, 0 avvist\n"
        << QString() << QString();
    QTest::newRow("CSV, field by field")
        << QStringList{"-a 127.0.25.40 -s b -l 7", "-a 127.0.25.41 --flood-bytes a,b\"c"}
        << "find 127.0.25.40,127.0.25.41 --csv --timeout 2" << 0
        << "sted,hastighet,funn,status,tekst,etiketter,tid_ms\n"
           "127.0.25.40,,skriver,b,\"FEIL: Off line, Skriverfeil - Skrivehodet åpent\",7,<ms>\n"
           "127.0.25.41,,annet,,\"port 1025 og 1024 åpne, ingen status; mottatt på port 1025: "
           "\"\"a,b\"\"ca,b\"\"ca,b\"\"ca,b\"\"ca,b\"\"ca,b\"\"ca,b\"\"ca,b\"\"c\"\"\",,<ms>\n"
        << QString() << QString();
    // Norwegian Excel splits at ";" and reads UTF-8 only after a byte order mark; a field is
    // quoted for the separator in use, not for a comma.
    QTest::newRow("CSV for Norwegian Excel: ; and a byte order mark")
        << QStringList{"-a 127.0.25.130 -s b -l 7", "-a 127.0.25.131 --flood-bytes SSH-2.0"}
        << "find 127.0.25.130,127.0.25.131 --csv --separator ; --bom --timeout 2" << 0
        << QString(QChar(QChar::ByteOrderMark)) +
               "sted;hastighet;funn;status;tekst;etiketter;tid_ms\n"
               "127.0.25.130;;skriver;b;FEIL: Off line, Skriverfeil - Skrivehodet åpent;7;<ms>\n"
               "127.0.25.131;;annet;;\"port 1025 og 1024 åpne, ingen status; mottatt på port 1025: "
               "\"\"SSH-2.0SSH-2.0SSH-2.0SSH-2.0SSH-2.0SSH-2\"\"\";;<ms>\n"
        << QString() << QString();
    QTest::newRow("CSV with tabs") << QStringList{"-a 127.0.25.132 -s A -l 12"}
                                   << "find 127.0.25.132 --csv --separator tab --timeout 2" << 0
                                   << "sted\thastighet\tfunn\tstatus\ttekst\tetiketter\ttid_ms\n"
                                      "127.0.25.132\t\tskriver\tA\tOK: Printer OK\t12\t<ms>\n"
                                   << QString() << QString();
    QTest::newRow("Icinga 2 host objects for the printers only")
        << QStringList{"-a 127.0.25.50 -s A", "-a 127.0.25.51 --no-reply"}
        << "find 127.0.25.48/29 --icinga2 --timeout 2" << 0
        << "/* Etikettskrivere funnet av solvarn-sjekk find: 1 */\n"
           "object Host \"etikettskriver-127-0-25-50\" {\n"
           "  address = \"127.0.25.50\"\n"
           "  check_command = \"hostalive\"\n"
           "  vars.solvarn_printer = \"network\"\n"
           "}\n"
        << QString() << QString();
    QTest::newRow("nothing found")
        << QStringList{} << "find 127.0.25.60-127.0.25.61" << 1
        << "2 adresser prøvd: 0 skrivere, 0 annet, 0 uten svar, 2 avvist\n"
        << QString() << QString();
    // The limit of open files, soft and hard, as a shell sets it: fewer at once, none lost.
    QTest::newRow("descriptor limit: fewer at once, every printer found")
        << QStringList{"-a 127.0.25.70 -s A", "-a 127.0.25.125 -s B -l 9"}
        << "find 127.0.25.64/26 --parallel 1024" << 0
        << "Skrivere som svarte:\n"
           "  127.0.25.70  status A: OK: Printer OK, 500 etiketter igjen (<s>)\n"
           "  127.0.25.125  status B: OK: Fargebåndet er nesten tomt, 9 etiketter igjen (<s>)\n"
           "62 adresser prøvd: 2 skrivere, 0 annet, 0 uten svar, 60 avvist\n"
        << "Prøver 62 adresser, "
        << "ulimit -n 40; exec PROG";
    QTest::newRow("soft descriptor limit raised toward the hard one")
        << QStringList{} << "find 127.0.25.64/26 --parallel 1024" << 1
        << "62 adresser prøvd: 0 skrivere, 0 annet, 0 uten svar, 62 avvist\n"
        << "Prøver 62 adresser, 62 om gangen: høyst 1 x 2.00 s = 2.00 s"
        << "ulimit -S -n 30; exec PROG";
    QTest::newRow("no descriptor left for a connection: the search cannot be done")
        << QStringList{} << "find 127.0.25.64/26" << 3 << QString()
        << "the search cannot be done on this computer: only "
        << "ulimit -n 12; exec PROG";
    // A network namespace of its own, loopback down: no route to anywhere, no packet sent.
    QTest::newRow("unreachable network counted apart, with the system's reason")
        << QStringList{} << "find 10.99.0.0/29 --timeout 0.5" << 1
        << "6 adresser prøvd: 0 skrivere, 0 annet, 0 uten svar, 0 avvist, 6 kan ikke nås "
           "(Network unreachable)\n"
        << QString() << "exec unshare -rn PROG";
    QTest::newRow("SIGTERM: what was found is written, with how far it came")
        << QStringList{"-a 127.0.25.80 -s A", "-a 127.0.25.81 --delay 30000"}
        << "find 127.0.25.80-81 --timeout 20" << 143
        << "Skrivere som svarte:\n"
           "  127.0.25.80  status A: OK: Printer OK, 500 etiketter igjen (<s>)\n"
           "1 adresse prøvd: 1 skriver, 0 annet, 0 uten svar, 0 avvist\n"
           "Avbrutt (signal 15) etter 1 av 2 adresser\n"
        << QString() << "exec timeout --preserve-status -s TERM 2 PROG";
    QTest::newRow("SIGINT (Ctrl+C): the CSV so far, how far it came on standard error")
        << QStringList{"-a 127.0.25.82 -s b -l 4", "-a 127.0.25.83 --delay 30000"}
        << "find 127.0.25.82-83 --timeout 20 --csv" << 130
        << "sted,hastighet,funn,status,tekst,etiketter,tid_ms\n"
           "127.0.25.82,,skriver,b,\"FEIL: Off line, Skriverfeil - Skrivehodet åpent\",4,<ms>\n"
        << "Avbrutt (signal 2) etter 1 av 2 adresser\n"
        << "exec timeout --preserve-status -s INT 2 PROG";
    QTest::newRow("standard output full: exit 3, not success")
        << QStringList{"-a 127.0.25.90 -s A"} << "find 127.0.25.90 --icinga2" << 3 << QString()
        << "could not be written to standard output: No space left on device"
        << "exec PROG >/dev/full";
    QTest::newRow("CSV to a full standard output")
        << QStringList{} << "find 127.0.25.91 --csv" << 3 << QString()
        << "could not be written to standard output: "
        << "exec PROG >/dev/full";
    const QString keptFile = QStringLiteral(
        "d=$(mktemp -d) && echo '/* forrige liste */' >\"$d/l.conf\" && PROG --output "
        "\"$d/l.conf\"; s=$?; cat \"$d/l.conf\"; ls \"$d\" >&2; rm -r \"$d\"; exit $s");
    QTest::newRow("--output: no printer found leaves the last list as it was")
        << QStringList{} << "find 127.0.25.92 --icinga2" << 1 << "/* forrige liste */\n"
        << "l.conf left as it was: no printer found\nl.conf\n"
        << keptFile;
    QTest::newRow("--output: a list with printers takes the last one's place")
        << QStringList{"-a 127.0.25.93 -s A"} << "find 127.0.25.93 --icinga2" << 0
        << "/* Etikettskrivere funnet av solvarn-sjekk find: 1 */\n"
           "object Host \"etikettskriver-127-0-25-93\" {\n"
           "  address = \"127.0.25.93\"\n"
           "  check_command = \"hostalive\"\n"
           "  vars.solvarn_printer = \"network\"\n"
           "}\n"
        << QString() << keptFile;
    QTest::newRow("printer that reports on request only: asked once with ENQ")
        << QStringList{"-a 127.0.25.100 -s C -l 12 --timing enq", "-a 127.0.25.101 --no-reply"}
        << "find 127.0.25.100-101 --timeout 1" << 0
        << "Skrivere som svarte:\n"
           "  127.0.25.100  status C: OK: Skriverminnet er nesten fullt, 12 etiketter igjen "
           "(<s>)\n"
           "    svarer bare når den blir spurt (ENQ på port 1024); vinduets nettverkstest spør "
           "aldri og finner den ikke\n"
           "Stille, men med port 1025 og 1024 åpne (prøv en lengre --timeout):\n"
           "  127.0.25.101  port 1025 og 1024 åpne, ingen status, heller ikke etter ENQ på port "
           "1024\n"
           "2 adresser prøvd: 1 skriver, 0 annet, 1 uten svar (1 med port 1025 og 1024 åpne), 0 "
           "avvist\n"
        << QString() << QString();
    QTest::newRow("blanks separate addresses within one argument, as --help says")
        << QStringList{} << "find" << 1
        << "2 adresser prøvd: 0 skrivere, 0 annet, 0 uten svar, 2 avvist\n"
        << QString() << "exec PROG '127.0.25.113 127.0.25.114'";
    QTest::newRow("a /30 is its two hosts")
        << QStringList{} << "find 127.0.25.108/30" << 1
        << "2 adresser prøvd: 0 skrivere, 0 annet, 0 uten svar, 2 avvist\n"
        << QString() << QString();
    QTest::newRow("a /32 is its one address")
        << QStringList{} << "find 127.0.25.109/32" << 1
        << "1 adresse prøvd: 0 skrivere, 0 annet, 0 uten svar, 1 avvist\n"
        << QString() << QString();
    QTest::newRow("an address given twice is tried and listed once")
        << QStringList{"-a 127.0.25.111 -s A"} << "find 127.0.25.110-112,127.0.25.111" << 0
        << "Skrivere som svarte:\n"
           "  127.0.25.111  status A: OK: Printer OK, 500 etiketter igjen (<s>)\n"
           "3 adresser prøvd: 1 skriver, 0 annet, 0 uten svar, 2 avvist\n"
        << QString() << QString();
    QTest::newRow("listed by address as numbers: .9 before .10, whoever answered first")
        << QStringList{"-a 127.0.25.9 -s A --delay 300", "-a 127.0.25.10 -s B -l 1"}
        << "find 127.0.25.9-10" << 0
        << "Skrivere som svarte:\n"
           "  127.0.25.9  status A: OK: Printer OK, 500 etiketter igjen (<s>)\n"
           "  127.0.25.10  status B: OK: Fargebåndet er nesten tomt, 1 etiketter igjen (<s>)\n"
           "2 adresser prøvd: 2 skrivere, 0 annet, 0 uten svar, 0 avvist\n"
        << QString() << QString();
    QTest::newRow("one port open and silent is another answer, not a silent host")
        << QStringList{"-a 127.0.25.112 --refuse-1024 --no-reply"}
        << "find 127.0.25.112 --timeout 1" << 1
        << "Annet som svarte, uten status:\n"
           "  127.0.25.112  port 1025 åpen, ingen status\n"
           "1 adresse prøvd: 0 skrivere, 1 annet, 0 uten svar, 0 avvist\n"
        << QString() << QString();
    for (const auto &[name, line, error] : {
             std::tuple{"range too large", "find 127.0.24.0/21", "more than 1024 addresses"},
             std::tuple{"range too large even with --all", "find 127.0.0.0/15 --all",
                        "more than 65536 addresses"},
             std::tuple{"part past 255", "find 127.0.25.256", "not an IPv4 address"},
             std::tuple{"prefix past 32", "find 127.0.25.0/33", "not an IPv4 range in CIDR"},
             std::tuple{"range backwards", "find 127.0.25.9-127.0.25.1", "from a lower"},
             std::tuple{"range end short form backwards", "find 127.0.25.9-3", "from a lower"},
             std::tuple{"IPv6", "find ::1", "IPv6 is not supported"},
             std::tuple{"broadcast address", "find 255.255.255.255", "the broadcast address"},
             std::tuple{"range ending at the broadcast address", "find 255.255.255.250-255",
                        "the broadcast address"},
             std::tuple{"multicast address", "find 224.0.0.1", "multicast addresses"},
             std::tuple{"range over the multicast block", "find 223.255.255.200-224.0.0.3",
                        "multicast addresses"},
             std::tuple{"unspecified address", "find 0.0.0.0", "the unspecified address"},
             std::tuple{"an address with a minus is no option", "find -127.0.25.10",
                        "\"-127.0.25.10\" is no option and no address"},
             std::tuple{"an address with a minus after an option with no value",
                        "find --csv -127.0.25.10", "\"-127.0.25.10\" is no option and no address"},
             std::tuple{"an option's value with a minus is its value, no address",
                        "find 127.0.25.1 --timeout -1",
                        "--timeout needs seconds from 0.1 to 60, not \"-1\""},
             std::tuple{"leading zero", "find 127.0.25.010", "leading zero is ambiguous"},
             std::tuple{"range end with a leading zero", "find 127.0.25.1-09",
                        "leading zero is ambiguous"},
             std::tuple{"too large even for --all says so without it", "find 10.0.0.0/8",
                        "more than 65536 addresses: too many to try, even with --all"},
             std::tuple{"--output without a name", "find 127.0.25.1 --output -",
                        "--output needs a file name"},
             std::tuple{"IPv6 range", "find fe80::/64", "IPv6 is not supported"},
             std::tuple{"no addresses", "find", "find needs the addresses"},
             std::tuple{"host name", "find printer.example", "not an IPv4 address"},
             std::tuple{"one connection cannot hold an address", "find 127.0.25.1 --parallel 1",
                        "--parallel needs a whole number from 2"},
             std::tuple{"CSV and Icinga 2 at once", "find 127.0.25.1 --csv --icinga2",
                        "cannot be given together"},
             std::tuple{"serial with addresses", "find --serial 127.0.25.1", "takes no addresses"},
             std::tuple{"CSV separator not one of the three", "find 127.0.25.1 --csv --separator .",
                        "--separator needs \",\", \";\" or \"tab\", not \".\""},
             std::tuple{"CSV separator of two characters", "find 127.0.25.1 --csv --separator ;;",
                        "--separator needs"},
             std::tuple{"byte order mark without --csv", "find 127.0.25.1 --bom",
                        "--separator and --bom are for --csv"},
             std::tuple{"separator for the Icinga 2 list",
                        "find 127.0.25.1 --icinga2 --separator ;",
                        "--separator and --bom are for --csv"},
             std::tuple{"serial option for the network", "find 127.0.25.1 --to 3",
                        "--to is for the serial search"},
             std::tuple{"timeout just under its shortest", "find 127.0.25.1 --timeout 0.099",
                        "--timeout needs seconds from 0.1 to 60, not \"0.099\""},
             std::tuple{"timeout just past its longest", "find 127.0.25.1 --timeout 60.001",
                        "--timeout needs seconds from 0.1 to 60, not \"60.001\""},
             std::tuple{"serial --pause 99999 refused as the check refuses it",
                        "find --serial --pause 99999",
                        "--pause is out of range (-32768 to 32767): \"99999\""},
         }) {
        QTest::newRow(name) << QStringList{} << QString::fromLatin1(line) << 3 << QString()
                            << QString::fromLatin1(error) << QString();
    }

    // Serial: COM1 never answers, COM2 is set to 9600 baud, COM3 does not exist.
    QTest::newRow("serial search finds the printer at 9600 and at no other speed")
        << QStringList{"--serial --no-reply", "--serial --speed 9600 -s A -l 120"}
        << "find --serial --to 3 --pause 50" << 0
        << "Skrivere som svarte:\n"
           "  com2 (9600)  status A: - Skriver OK -, 120 etiketter igjen (<s>)\n"
           "Porter som ikke kunne prøves:\n"
           "  com3 (/dev/solvarn-no-such-port): finnes ikke\n"
           "3 porter, 16 forsøk: 1 skriver, 0 annet, 1 port uten svar, 1 kunne ikke prøves\n"
        << "høyst 39 x 50 ms = 1.95 s" << QString();
    QTest::newRow("serial port with noise at every speed of the list")
        << QStringList{"--serial --speed 4800"} << "find --serial --to 1 --pause 50 --csv" << 1
        << "sted,hastighet,funn,status,tekst,etiketter,tid_ms\n"
           "com1,,annet,,ingen status; mottatt (tegnkoder) ved 19200: 248 128 0 254; 9600: 248 "
           "128 0 254; 38400: 248 128 0 254; 2400: 248 128 0 254; 110: 248 128 0 254; 300: 248 128 "
           "0 254; 600: 248 128 0 254; 1200: 248 128 0 254; 14400: 248 128 0 254; 28800: 248 128 0 "
           "254; 56000: 248 128 0 254; 128000: 248 128 0 254; 256000: 248 128 0 254,,<ms>\n"
        << "høyst 13 x 50 ms = 0.65 s" << QString();
    // The serial values read and corrected as the check and the window do (see check_data).
    QTest::newRow("serial --pause 5 raised to 10 as the window does")
        << QStringList{"--serial --no-reply"} << "find --serial --to 1 --pause 5" << 1
        << "1 port, 13 forsøk: 0 skrivere, 0 annet, 1 port uten svar\n"
        << "Prøver com1 til com1 med hastighetene 19200 9600 38400 2400 110 300 600 1200 14400 "
           "28800 56000 128000 256000: høyst 13 x 10 ms = 0.13 s\n"
        << QString();
    QTest::newRow("serial --from 0 corrected to com1")
        << QStringList{"--serial -s A"} << "find --serial --from 0" << 0
        << "Skrivere som svarte:\n"
           "  com1 (19200)  status A: - Skriver OK -, 500 etiketter igjen (<s>)\n"
           "1 port, 1 forsøk: 1 skriver, 0 annet, 0 porter uten svar\n"
        << "Ugyldige verdier oppgitt. Setter comport til 1\nPrøver com1 til com1 med "
           "hastighetene 19200 9600 38400 2400 110 300 600 1200 14400 28800 56000 128000 "
           "256000: høyst 13 x 350 ms = 4.55 s\n"
        << QString();
    // As the window's sweep of -1 to 1: com-1 and com0 are tried and are no ports; com0 inside
    // a range is never taken for the typing error that --from 0 is.
    QTest::newRow("serial range from com-1: the numbers no port has named, com1 found")
        << QStringList{"--serial -s A"} << "find --serial --from -1 --to 1 --pause 50" << 0
        << "Skrivere som svarte:\n"
           "  com1 (19200)  status A: - Skriver OK -, 500 etiketter igjen (<s>)\n"
           "Porter som ikke kunne prøves:\n"
           "  com-1: finnes ikke\n"
           "  com0: finnes ikke\n"
           "3 porter, 3 forsøk: 1 skriver, 0 annet, 0 porter uten svar, 2 kunne ikke prøves\n"
        << "Prøver com-1 til com1 med hastighetene" << QString();
    QTest::newRow("serial --from 300 past --to corrected to com1")
        << QStringList{"--serial -s B -l 7"} << "find --serial --from 300" << 0
        << "Skrivere som svarte:\n"
           "  com1 (19200)  status B: Farge bånd nesten tomt, 7 etiketter igjen (<s>)\n"
           "1 port, 1 forsøk: 1 skriver, 0 annet, 0 porter uten svar\n"
        << "Ugyldige verdier oppgitt. Setter comport til 1\nPrøver com1 til com1 med " << QString();
    // As a user outside dialout: root runs a copy of the program as nobody.
    QTest::newRow("serial port the user may not open, and one that does not exist")
        << QStringList{"--serial -s A"} << "find --serial --to 2 --pause 50" << 1
        << "Porter som ikke kunne prøves:\n"
           "  com1 (<pty>): ingen tilgang; brukeren må være med i gruppen dialout\n"
           "  com2 (/dev/solvarn-no-such-port): finnes ikke\n"
           "2 porter, 2 forsøk: 0 skrivere, 0 annet, 0 porter uten svar, 2 kunne ikke prøves\n"
        << QString()
        << "d=$(mktemp -d) && cp \"$0\" \"$d/s\" && chmod 755 \"$d\" \"$d/s\" && setpriv "
           "--reuid=nobody --regid=nogroup --clear-groups \"$d/s\" \"$@\"; s=$?; rm -r \"$d\"; "
           "exit $s";
    QTest::newRow("serial port held by another program")
        << QStringList{"--serial -s A"} << "find --serial --to 1 --pause 50" << 1
        << "Porter som ikke kunne prøves:\n"
           "  com1 (<pty>): i bruk av et annet program\n"
           "1 port, 1 forsøk: 0 skrivere, 0 annet, 0 porter uten svar, 1 kunne ikke prøves\n"
        << QString() << "held by another program";
    // One rule for a well-formed frame on both roads, whatever its letter.
    QTest::newRow("serial frame with a letter outside the table is a printer's")
        << QStringList{"--serial -s Z -l 5"} << "find --serial --to 1 --pause 50" << 0
        << "Skrivere som svarte:\n"
           "  com1 (19200)  status Z: - UKJENT KODE : Z  KODE INN= Z, 5 etiketter igjen (<s>)\n"
           "1 port, 1 forsøk: 1 skriver, 0 annet, 0 porter uten svar\n"
        << QString() << QString();
    QTest::newRow("network frame with a letter outside the table is a printer's")
        << QStringList{"-a 127.0.25.105 -s Z -l 5"} << "find 127.0.25.105" << 0
        << "Skrivere som svarte:\n"
           "  127.0.25.105  status Z: FEIL: Uregistrert feil, 5 etiketter igjen (<s>)\n"
           "1 adresse prøvd: 1 skriver, 0 annet, 0 uten svar, 0 avvist\n"
        << QString() << QString();
    // A speed the classic terminal codes cannot name, set by Qt through termios2.
    QTest::newRow("serial printer at 14400 baud")
        << QStringList{"--serial --speed 14400 -s A"} << "find --serial --to 1 --pause 50" << 0
        << "Skrivere som svarte:\n"
           "  com1 (14400)  status A: - Skriver OK -, 500 etiketter igjen (<s>)\n"
           "1 port, 9 forsøk: 1 skriver, 0 annet, 0 porter uten svar\n"
        << "høyst 13 x 50 ms = 0.65 s" << QString();
    QTest::newRow("serial summary counts the port that answered with noise")
        << QStringList{"--serial --speed 4800"} << "find --serial --to 1 --pause 20" << 1
        << "Annet som svarte, uten status:\n"
           "  com1  ingen status; mottatt (tegnkoder) ved 19200: 248 128 0 254; 9600: 248 128 0 "
           "254; 38400: 248 128 0 254; 2400: 248 128 0 254; 110: 248 128 0 254; 300: 248 128 0 "
           "254; 600: 248 128 0 254; 1200: 248 128 0 254; 14400: 248 128 0 254; 28800: 248 128 0 "
           "254; 56000: 248 128 0 254; 128000: 248 128 0 254; 256000: 248 128 0 254\n"
           "1 port, 13 forsøk: 0 skrivere, 1 annet, 0 porter uten svar\n"
        << QString() << QString();
}

void TestSolvarnSjekk::find()
{
    QFETCH(QStringList, sims);
    QFETCH(QString, arguments);
    QFETCH(int, exitCode);
    QFETCH(QString, out);
    QFETCH(QString, err);
    QFETCH(QString, setting);
    if (setting.contains(QLatin1String("setpriv")) && ::geteuid() != 0)
        QSKIP("runs the program as nobody, which needs root");
    // The Windows build under Wine has none of Linux's shell rigs (limits, network namespaces,
    // signals, other users, /dev/full), and Wine's serial ports take only the usual speeds.
    const bool underWine = qEnvironmentVariableIsSet("SOLVARN_SJEKK_UNDER_WINE");
    if (underWine && !setting.isEmpty())
        QSKIP("the rig needs Linux's shell: limits, namespaces, signals, users or /dev/full");
    if (underWine && sims.join(QLatin1Char(' '))
                         .contains(QRegularExpression(
                             QStringLiteral("--speed (14400|28800|56000|128000|256000)\\b"))))
        QSKIP("Wine's serial ports take only the usual speeds");

    std::vector<std::unique_ptr<SimProcess>> printers;
    QStringList devices;
    for (const QString &line : sims) {
        printers.push_back(std::make_unique<SimProcess>());
        const bool serial = line.startsWith(QLatin1String("--serial"));
        QString device;
        QVERIFY2(
            startSim(*printers.back(), line.split(QLatin1Char(' ')), serial ? &device : nullptr),
            qPrintable(printers.back()->err()));
        if (serial)
            devices << device;
    }
    if (!devices.isEmpty())
        devices << QStringLiteral("/dev/solvarn-no-such-port");

    // "held by another program": COM1's device held exclusively by the test itself.
    std::unique_ptr<HeldPort> held;
    if (setting == QLatin1String("held by another program")) {
        held = std::make_unique<HeldPort>(devices.first());
        if (!held->skipReason.isEmpty())
            QSKIP(qPrintable(held->skipReason));
    }
    const QStringList wrapper =
        held ? held->wrapper
        : setting.isEmpty()
            ? QStringList{}
            : QStringList{QStringLiteral("sh"), QStringLiteral("-c"),
                          QString(setting).replace(QStringLiteral("PROG"),
                                                   QStringLiteral("\"$0\" \"$@\""))};
    const CheckRun run =
        runCheck(arguments.split(QLatin1Char(' ')), devices.join(QLatin1Char(':')), wrapper);
    COMPARE_EXIT(run, exitCode);
    QString shown = run.out;
    shown.replace(QRegularExpression(QStringLiteral("\\([0-9]+\\.[0-9]{2} s\\)")),
                  QStringLiteral("(<s>)"));
    shown.replace(QRegularExpression(QStringLiteral("/dev/pts/[0-9]+")), QStringLiteral("<pty>"));
    // Under Wine a port's device is Windows' name for it.
    if (underWine)
        shown.replace(QRegularExpression(QStringLiteral("\\(COM[0-9]+\\): finnes ikke")),
                      QStringLiteral("(/dev/solvarn-no-such-port): finnes ikke"));
    shown.replace(QRegularExpression(QStringLiteral("(?<=[,;\t])[0-9]+$"),
                                     QRegularExpression::MultilineOption),
                  QStringLiteral("<ms>"));
    if (exitCode == 3) {
        QCOMPARE(run.out, QString());
        // A usage error is one line and nothing else; a search that could not be done or
        // written ends with its line.
        QVERIFY2(run.err.section(QLatin1Char('\n'), -2, -2)
                         .startsWith(QStringLiteral("solvarn-sjekk find: ")) &&
                     (!setting.isEmpty() || run.err.count(QLatin1Char('\n')) == 1),
                 qPrintable(run.err));
    } else {
        QCOMPARE(shown, out);
    }
    QVERIFY2(run.err.contains(err), qPrintable(run.err));
}

void TestSolvarnSjekk::pipeLineEnds_data()
{
    QTest::addColumn<QString>("text");
    QTest::addColumn<QString>("crLf");
    QTest::newRow("empty") << ""
                           << "";
    QTest::newRow("no line end") << "Skriver"
                                 << "Skriver";
    QTest::newRow("LF alone") << "\n"
                              << "\r\n";
    QTest::newRow("two lines, the last one ended") << "a\nb\n"
                                                   << "a\r\nb\r\n";
    QTest::newRow("empty lines") << "\n\n"
                                 << "\r\n\r\n";
    QTest::newRow("CR LF stays as it is") << "a\r\nb\n"
                                          << "a\r\nb\r\n";
    QTest::newRow("a lone CR is no line end") << "a\rb\n"
                                              << "a\rb\r\n";
    QTest::newRow("CR, then LF on a line of its own") << "\r\r\n"
                                                      << "\r\r\n";
}

void TestSolvarnSjekk::pipeLineEnds()
{
    QFETCH(QString, text);
    QFETCH(QString, crLf);
    QCOMPARE(PipeText::withCrLf(text), crLf);
}

QTEST_MAIN(TestSolvarnSjekk)
#include "tst_solvarnsjekk.moc"
