// solvarn-sjekk as a script or a monitoring system runs it: the built program against
// printer-sim (network and pseudo-terminal), a fake printer and bad arguments, on addresses
// 127.0.9.10 to 127.0.9.39, with no display in its environment.

#include "fakeplatform.h"
#include "fakeprinterserver.h"
#include "form1.h"
#include "serialportcontrol.h"
#include "simprocess.h"

#include <QDeadlineTimer>
#include <QLineEdit>
#include <QProcess>
#include <QPushButton>
#include <QRegularExpression>
#include <QStandardPaths>
#include <QTest>

#include <memory>

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
};

CheckRun runCheck(const QStringList &arguments, const QString &comPorts = QString())
{
    QProcessEnvironment environment = QProcessEnvironment::systemEnvironment();
    for (const char *display : {"DISPLAY", "WAYLAND_DISPLAY", "QT_QPA_PLATFORM"})
        environment.remove(QLatin1String(display));
    if (!comPorts.isEmpty())
        environment.insert(QStringLiteral("SOLVARN_COM_PORTS"), comPorts);
    QProcess process;
    process.setProcessEnvironment(environment);
    process.start(program, arguments);
    CheckRun run;
    if (!process.waitForFinished(30000) || process.exitStatus() != QProcess::NormalExit) {
        process.kill();
        process.waitForFinished();
        return run;
    }
    run.exitCode = process.exitCode();
    run.out = QString::fromUtf8(process.readAllStandardOutput());
    run.err = QString::fromUtf8(process.readAllStandardError());
    return run;
}

// The monitoring-plugin line: STATUS - text, then optionally " | " and label=value[UOM]
// entries with up to four ;-separated thresholds and limits.
const QRegularExpression pluginLine(QStringLiteral(
    "^(OK|WARNING|CRITICAL|UNKNOWN) - [^|\\n]+"
    "(?: \\| (?:[^ =']+|'[^']+')=-?[0-9.]+(?:s|ms|us|%|B|KB|MB|TB|c)?(?:;-?[0-9.]*){0,4}"
    "(?: (?:[^ =']+|'[^']+')=-?[0-9.]+(?:s|ms|us|%|B|KB|MB|TB|c)?(?:;-?[0-9.]*){0,4})*)?$"));

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
};

void TestSolvarnSjekk::check_data()
{
    QTest::addColumn<QStringList>("simArguments"); // empty: no simulator
    QTest::addColumn<QByteArray>("fakeReply");     // a fake printer's reply on 1025 instead
    QTest::addColumn<QStringList>("arguments");
    QTest::addColumn<int>("exitCode");
    QTest::addColumn<QString>("summary"); // a pattern for the summary line
    QTest::addColumn<QString>("shown");   // a text the log must show on the terminal

    const auto args = [](const QString &line) { return line.split(QLatin1Char(' ')); };
    const QStringList none;

    QTest::newRow("network ready")
        << args("-a 127.0.9.10 -s A -l 500") << QByteArray() << args("network 127.0.9.10") << 0
        << "^OK - 127\\.0\\.9\\.10: Printer OK \\(status A, 500 etiketter igjen\\) \\| "
           "time=[0-9.]+s;;;0 labels=500;;;0$"
        << "*Printer er online, og klar til utskrift\n";
    QTest::newRow("network ready, plugin line alone")
        << args("-a 127.0.9.11 -s M -l 7") << QByteArray() << args("network 127.0.9.11 --plugin")
        << 0
        << "^OK - 127\\.0\\.9\\.11: Etikett klar \\(status M, 7 etiketter igjen\\) \\| "
           "time=[0-9.]+s;;;0 labels=7;;;0$"
        << QString();
    QTest::newRow("network ribbon nearly out")
        << args("-a 127.0.9.12 -s B -l 42") << QByteArray() << args("network 127.0.9.12") << 1
        << "^WARNING - 127\\.0\\.9\\.12: Fargebåndet er nesten tomt \\(status B, 42 etiketter "
           "igjen\\)"
        << QString();
    QTest::newRow("network print head open, status CR shown as a blank")
        << args("-a 127.0.9.13 -s b") << QByteArray() << args("network 127.0.9.13") << 2
        << "^CRITICAL - 127\\.0\\.9\\.13: Off line, Skriverfeil - Skrivehodet åpent \\(status b"
        << "FEIL: Off line, Skriverfeil - Skrivehodet åpent b000500\n";
    QTest::newRow("network off line with memory nearly full")
        << args("-a 127.0.9.14 -s 2") << QByteArray() << args("network 127.0.9.14 --plugin") << 2
        << "^CRITICAL - 127\\.0\\.9\\.14: Off line - Skriverminne nesten fullt" << QString();
    QTest::newRow("network refused")
        << none << QByteArray() << args("network 127.0.9.15") << 2
        << "^CRITICAL - 127\\.0\\.9\\.15: TCP/IP FEIL \\(SockInn\\)\\. Kode=10061 "
        << "TCP/IP FEIL (SockInn). Kode=10061\n";
    QTest::newRow("network escape sequence from the printer is shown, not obeyed")
        << none << QByteArray("\x02  b\x1b[2J\x07\x03") << args("network 127.0.9.16") << 2
        << "^CRITICAL - 127\\.0\\.9\\.16: Off line, Skriverfeil - Skrivehodet åpent \\(status b\\)"
        << "Skrivehodet åpent b^[[2J^G^C\n";
    QTest::newRow("network connects but never reports")
        << args("-a 127.0.9.18 --timing enq") << QByteArray() << args("network 127.0.9.18") << 2
        << "^CRITICAL - Finner ikke skriver på IP-adresse 127\\.0\\.9\\.18 \\|"
        << "Finner ikke skriver på IP-adresse 127.0.9.18\n Sjekk at den er koplet til.\n";
    QTest::newRow("timeout while the printer never reports")
        << args("-a 127.0.9.17 --timing enq") << QByteArray()
        << args("network 127.0.9.17 --timeout 1") << 3
        << "^UNKNOWN - ingen svar innen 1 s \\(--timeout\\), kontrollen ble avbrutt \\| "
           "time=[0-9.]+s;;;0$"
        << "Forsøker å nå skriveren";

    QTest::newRow("serial ready")
        << args("--serial -s A -l 120") << QByteArray() << args("serial --to 2 --pause 200") << 0
        << "^OK - com1: - Skriver OK - \\(status A\\) \\| time=[0-9.]+s;;;0 port=1;;;1 "
           "answered=1;;;0$"
        << "  Data fra printer =  -->^B  A000120^C<--\n";
    QTest::newRow("serial memory nearly full, range corrected")
        << args("--serial -s C") << QByteArray() << args("serial --from 3 --to 2 --plugin") << 1
        << "^WARNING - com1: Buffer nesten fullt \\(status C\\)" << QString();
    QTest::newRow("serial no port answering")
        << none << QByteArray() << args("serial --to 1 --pause 10") << 2
        << "^CRITICAL - ingen serieport svarte \\(com 1 til 1, 19200\\)"
        << "Prøver com1 ( 19200 )\n";

    const QString unknown = QStringLiteral("^UNKNOWN - ");
    const QByteArray noReply;
    for (const auto &[name, line] : {
             std::pair{"unknown option", "network 127.0.9.19 --colour"},
             std::pair{"no check named", "--plugin"},
             std::pair{"unknown check", "parallel"},
             std::pair{"address missing", "network"},
             std::pair{"address of blanks", "network \t"},
             std::pair{"speed not a number", "serial --speed fast"},
             std::pair{"range not readable", "serial --from x"},
             std::pair{"pause beyond 16 bits", "serial --pause 40000"},
             std::pair{"timeout not positive", "network 127.0.9.19 --timeout 0"},
             std::pair{"serial option for the network", "network 127.0.9.19 --to 3"},
         }) {
        QTest::newRow(name) << none << noReply << args(QLatin1String(line)) << 3 << unknown
                            << QString();
    }
}

void TestSolvarnSjekk::check()
{
    QFETCH(QStringList, simArguments);
    QFETCH(QByteArray, fakeReply);
    QFETCH(QStringList, arguments);
    QFETCH(int, exitCode);
    QFETCH(QString, summary);
    QFETCH(QString, shown);

    if (arguments.contains(QStringLiteral("\t")))
        arguments.replace(arguments.indexOf(QStringLiteral("\t")), QStringLiteral("  "));

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

    const CheckRun run = runCheck(arguments, device);
    QCOMPARE(run.exitCode, exitCode);

    QStringList lines = run.out.split(QLatin1Char('\n'));
    QCOMPARE(lines.takeLast(), QString()); // every line ends
    QVERIFY(!lines.isEmpty());
    const QString last = lines.last();
    QVERIFY2(pluginLine.match(last).hasMatch(), qPrintable(last));
    QVERIFY2(last.startsWith(statusWord(exitCode) + QStringLiteral(" - ")), qPrintable(last));
    QVERIFY2(QRegularExpression(summary).match(last).hasMatch(), qPrintable(last));
    if (arguments.contains(QStringLiteral("--plugin")) || (exitCode == 3 && shown.isEmpty()))
        QCOMPARE(lines.size(), 1);
    else
        QVERIFY2(run.out.contains(shown), qPrintable(run.out));
    if (exitCode == 3 && shown.isEmpty()) {
        // Bad arguments: one clear line on standard error.
        QVERIFY2(run.err.startsWith(QStringLiteral("solvarn-sjekk: ")) &&
                     run.err.count(QLatin1Char('\n')) == 1,
                 qPrintable(run.err));
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
    RecordingMessageBox messageBox;
    FakeClipboard clipboard;
    Form1Platform platform;
    platform.comPort = &comPort;
    platform.messageBox = &messageBox;
    platform.clipboard = &clipboard;
    platform.endProgram = [] {};
    Form1 form(platform);
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
    QCOMPARE(run.exitCode, 2);
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
        << "^CRITICAL - 127\\.0\\.9\\.37: TCP/IP FEIL \\(SockInn\\)\\. Kode=10054 "
        << "TCP/IP FEIL (SockInn). Kode=10054\n";
    QTest::newRow("clean close at once")
        << "127.0.9.38" << false
        << "^CRITICAL - Finner ikke skriver på IP-adresse 127\\.0\\.9\\.38 \\|"
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
    QCOMPARE(run.exitCode, 2);
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

QTEST_MAIN(TestSolvarnSjekk)
#include "tst_solvarnsjekk.moc"
