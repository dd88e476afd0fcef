#include "announcer.h"
#include "fakeplatform.h"
#include "form1.h"
#include "serialportcontrol.h"
#include "simprocess.h"
#include "testwindow.h"
#include "threadsleeper.h"

#include <QAccessible>
#include <QElapsedTimer>
#include <QFile>
#include <QGuiApplication>
#include <QLineEdit>
#include <QProcess>
#include <QPushButton>
#include <QRegularExpression>
#include <QStandardPaths>
#include <QTemporaryDir>
#include <QTest>

// The window against printer-sim run as its own process, as a support person would use the
// two together: the serial sweep on the simulator's pseudo-terminal, and the network test on
// its loopback ports. Under a window manager (underwindowmanager.sh), also the window's own
// program, closed through the window manager.
class TestWindowAgainstSim : public QObject
{
    Q_OBJECT

private slots:
    void serialSweepReadsTheReply();
    void networkTest_data();
    void networkTest();
    void closingTheProgramsWindow_data();
    void closingTheProgramsWindow();
};

namespace {
void setText(Form1 &form, const char *name, const QString &text)
{
    form.findChild<QLineEdit *>(QLatin1String(name))->setText(text);
}

void clickTest(Form1 &form)
{
    form.findChild<QPushButton *>(QStringLiteral("cmdTest"))->click();
}

// The window's announcements as they reach assistive technology: a notification appears with
// the text. The toolkit sends such events only while its bridge to assistive technology is
// on: under withatspi.sh, not on the offscreen platform, where the text alone is checked.
class Announcements
{
public:
    Announcements()
    {
        s_seen.clear();
        QAccessible::installUpdateHandler(record);
    }
    ~Announcements() { QAccessible::installUpdateHandler(nullptr); }
    Announcements(const Announcements &) = delete;
    Announcements &operator=(const Announcements &) = delete;

    static bool bridgeOn() { return qEnvironmentVariableIsSet("QT_LINUX_ACCESSIBILITY_ALWAYS_ON"); }
    const QStringList &seen() const { return s_seen; }

private:
    static void record(QAccessibleEvent *event)
    {
        if (event->type() == QAccessible::ObjectShow && event->object() &&
            event->object()->objectName() == QLatin1String("announcement"))
            s_seen << event->accessibleInterface()->text(QAccessible::Name);
    }

    static inline QStringList s_seen;
};
} // namespace

void TestWindowAgainstSim::serialSweepReadsTheReply()
{
    SimProcess sim;
    sim.start({QStringLiteral("--serial"), QStringLiteral("--status"), QStringLiteral("A"),
               QStringLiteral("--labels"), QStringLiteral("120")});
    QVERIFY2(sim.waitUntilReady(), qPrintable(sim.err()));
    QTRY_VERIFY(sim.out().contains(QLatin1Char('\n')));
    const QString device = sim.out().section(QLatin1Char('\n'), 0, 0).trimmed();
    QVERIFY2(device.startsWith(QLatin1Char('/')), qPrintable(device));

    // COM2 is the simulator; COM1 and COM3 have nothing behind them.
    SerialPortControl comPort([device](qint16 number) { return number == 2 ? device : QString(); });
    ThreadSleeper sleeper;
    TestWindow window(TestWindow::Seams().comPort(comPort).sleeper(sleeper));
    Form1 &form = window.form();
    setText(form, "txtComFra", QStringLiteral("1"));
    setText(form, "txtComTil", QStringLiteral("3"));
    setText(form, "txtPause", QStringLiteral("200"));
    clickTest(form);

    const QString log = form.logText();
    const QString expected = QStringLiteral("1  3\r\n"
                                            "Prøver com1 ( 19200 )\r\n"
                                            "  comPortInvalid.\r\n"
                                            "Prøver com2 ( 19200 )\r\n"
                                            "  Data fra printer =  -->\u0002  A000120\u0003<--\r\n"
                                            "  - Skriver OK -\r\n"
                                            "     bytes: -->2 32 32 65 48 48 48 49 50 48 3 <--\r\n"
                                            "Prøver com3 ( 19200 )\r\n"
                                            "  comPortInvalid.\r\n"
                                            "SLUTT Serieport ");
    QVERIFY2(log.contains(expected), qPrintable(log));
    QVERIFY(log.startsWith(QStringLiteral("START Serieport ")));
    QVERIFY(sim.err().contains(QStringLiteral("A000120")));
}

void TestWindowAgainstSim::networkTest_data()
{
    QTest::addColumn<QString>("address");
    QTest::addColumn<QString>("status");
    QTest::addColumn<QString>("verdict");
    QTest::addColumn<QString>("announced"); // as the window's announcement tells it

    QTest::newRow("healthy printer")
        << QStringLiteral("127.0.0.81") << QStringLiteral("A")
        << QStringLiteral("**Printer er tilkoplet!\r\n*Printer er online, og klar til utskrift\r\n")
        << QStringLiteral("Printer er online, og klar til utskrift");
    QTest::newRow("print head open")
        << QStringLiteral("127.0.0.82") << QStringLiteral("b")
        << QStringLiteral("FEIL: Off line, Skriverfeil - Skrivehodet åpent\rb000500\r\n"
                          "Lukker porter mot IP=127.0.0.82\r\n")
        << QStringLiteral("FEIL: Off line, Skriverfeil - Skrivehodet åpent b000500");
}

void TestWindowAgainstSim::networkTest()
{
    QFETCH(QString, address);
    QFETCH(QString, status);
    QFETCH(QString, verdict);
    QFETCH(QString, announced);

    SimProcess sim;
    sim.start({QStringLiteral("--address"), address, QStringLiteral("--status"), status,
               QStringLiteral("--labels"), QStringLiteral("500")});
    QVERIFY2(sim.waitUntilReady(), qPrintable(sim.err()));

    TestWindow window;
    Form1 &form = window.form();
    // Only a shown window announces.
    form.show();
    form.cmdTCP_Click();
    setText(form, "txtIP", address);
    const auto *announcer = form.findChild<Announcer *>();
    QVERIFY(announcer);
    if (Announcements::bridgeOn())
        QTRY_VERIFY_WITH_TIMEOUT(QAccessible::isActive(), 10000);
    Announcements events;
    clickTest(form);

    const QString log = form.logText();
    QVERIFY2(log.contains(verdict), qPrintable(log));
    // The start, then the verdict once, as the test ends.
    const QStringList told = {QStringLiteral("Tester skriveren på ") + address +
                                  QStringLiteral(", svar innen omtrent 6 sekunder."),
                              announced};
    QCOMPARE(announcer->announced(), told);
    if (Announcements::bridgeOn())
        QCOMPARE(events.seen(), told);
    QVERIFY(!log.contains(QStringLiteral("Finner ikke skriver")));
    QVERIFY(window.messageBox.messages.isEmpty());
    QVERIFY(form.findChild<QPushButton *>(QStringLiteral("cmdTest"))->isEnabled());
}

#ifdef SOLVARN_WINDOW_PROGRAM
namespace {

// The address of the printer whose test the close cuts short.
const QString closedTestAddress = QStringLiteral("127.0.0.83");
// How late that printer answers: well before the window's test would give up, and well after
// the window, once closed, should have ended.
constexpr int closedTestReplyDelayMs = 4000;
// Past the answer's due time, for the printer to have sent it if anyone were still there.
constexpr int replyDueMarginMs = 500;
// A generous bound for "about a second", for a loaded machine; the time taken is reported.
constexpr int closeEndsWithinMs = 10000;
// Also how long the window may take to be shown.
constexpr int xdotoolTimeoutMs = 30000;
constexpr int testStartedTimeoutMs = 30000;
constexpr int keyDelayMs = 50;
// The tab order, as a screen reader's user meets it: from the first focus, "Avslutt", to
// "Nettverk"; after the switch, from the address to "Test skriver".
constexpr int tabsToNettverk = 10;
constexpr int tabsToTestSkriver = 5;

// The window's own program on the test's display, worked from outside as a user would, with
// the keyboard and the window manager's close (xdotool).
class ProgramWindow
{
public:
    ~ProgramWindow()
    {
        if (m_process.state() != QProcess::NotRunning) {
            m_process.kill();
            m_process.waitForFinished();
        }
    }

    // Starts the program; true once its window is shown and has the focus.
    bool start()
    {
        // Into a file, where each write stands as soon as it is made.
        if (!m_outputDir.isValid())
            return false;
        m_process.setProcessChannelMode(QProcess::MergedChannels);
        m_process.setStandardOutputFile(outputPath());
        m_process.start(QStringLiteral(SOLVARN_WINDOW_PROGRAM), QStringList());
        if (!m_process.waitForStarted())
            return false;
        const QString pid = QString::number(m_process.processId());
        QString found;
        if (!xdotool({"search", "--sync", "--onlyvisible", "--pid", pid}, &found))
            return false;
        const QString windowId = found.section(QLatin1Char('\n'), 0, 0).trimmed();
        return !windowId.isEmpty() && xdotool({"windowactivate", "--sync", windowId});
    }

    // From the first focus, Tab by Tab to "Nettverk", pressed; the address, whole and selected
    // after the switch, typed over; on to "Test skriver", pressed.
    static bool startNetworkTest(const QString &address)
    {
        return keys(tabsToNettverk) &&
               xdotool({"type", "--delay", QString::number(keyDelayMs), address}) &&
               keys(tabsToTestSkriver);
    }

    // The window manager's close, as Alt+F4 asks for it: the window is asked to close, no
    // signal is sent.
    static bool closeThroughWindowManager() { return xdotool({"key", "alt+F4"}); }

    // What the program has written so far, standard output and error together.
    QByteArray written() const
    {
        QFile output(outputPath());
        return output.open(QIODevice::ReadOnly) ? output.readAll() : QByteArray();
    }

    QProcess &process() { return m_process; }

private:
    // Tab as often as given, then Space.
    static bool keys(int tabs)
    {
        QStringList arguments = {"key", "--delay", QString::number(keyDelayMs)};
        for (int i = 0; i < tabs; ++i)
            arguments << "Tab";
        return xdotool(arguments << "space");
    }

    // Runs xdotool on the test's display; false when it failed or took too long.
    static bool xdotool(const QStringList &arguments, QString *output = nullptr)
    {
        QProcess tool;
        tool.start(QStringLiteral("xdotool"), arguments);
        if (!tool.waitForFinished(xdotoolTimeoutMs)) {
            tool.kill();
            tool.waitForFinished();
            return false;
        }
        if (output)
            *output = QString::fromLocal8Bit(tool.readAllStandardOutput());
        return tool.exitStatus() == QProcess::NormalExit && tool.exitCode() == 0;
    }

    QString outputPath() const { return m_outputDir.filePath(QStringLiteral("output")); }

    QTemporaryDir m_outputDir;
    QProcess m_process;
};

} // namespace
#endif

void TestWindowAgainstSim::closingTheProgramsWindow_data()
{
    QTest::addColumn<bool>("duringTest"); // the close comes while a network test waits
    QTest::newRow("idle") << false;
    QTest::newRow("while the network test waits") << true;
}

// Every other window test hands the window a program's end of its own; here the real one runs.
void TestWindowAgainstSim::closingTheProgramsWindow()
{
#ifndef SOLVARN_WINDOW_PROGRAM
    QSKIP("the window's own program is built for another system");
#else
    if (QGuiApplication::platformName() != QLatin1String("xcb"))
        QSKIP("needs a window manager: runs under underwindowmanager.sh");
    if (QStandardPaths::findExecutable(QStringLiteral("xdotool")).isEmpty())
        QSKIP("xdotool is not installed");
    QFETCH(bool, duringTest);

    SimProcess sim;
    if (duringTest) {
        sim.start({QStringLiteral("--address"), closedTestAddress, QStringLiteral("--delay"),
                   QString::number(closedTestReplyDelayMs)});
        QVERIFY2(sim.waitUntilReady(), qPrintable(sim.err()));
    }
    ProgramWindow window;
    QVERIFY2(window.start(), window.written().constData());
    QElapsedTimer sinceConnected;
    if (duringTest) {
        QVERIFY(window.startNetworkTest(closedTestAddress));
        QTRY_VERIFY2_WITH_TIMEOUT(sim.err().contains(QStringLiteral("1025: connection from")),
                                  qPrintable(sim.err()), testStartedTimeoutMs);
        sinceConnected.start();
    }
    const QByteArray writtenBefore = window.written();

    QElapsedTimer sinceClose;
    sinceClose.start();
    QVERIFY(window.closeThroughWindowManager());
    QVERIFY(window.process().waitForFinished(2 * closeEndsWithinMs));
    const qint64 tookMs = sinceClose.elapsed();
    qInfo("the program ended %lld ms after the close", tookMs);
    QVERIFY2(tookMs < closeEndsWithinMs, qPrintable(QString::number(tookMs)));
    QCOMPARE(window.process().exitStatus(), QProcess::NormalExit);
    QCOMPARE(window.process().exitCode(), 0);
    QCOMPARE(window.written().mid(writtenBefore.size()), QByteArray());
    if (!duringTest)
        return;

    // The test went no further: its connections were gone before the printer's answer was due.
    const auto closedOn = [&sim](const char *port) {
        const QRegularExpression closed(QLatin1String(port) +
                                            QStringLiteral(": connection from \\S+ closed$"),
                                        QRegularExpression::MultilineOption);
        return sim.err().contains(closed);
    };
    QTRY_VERIFY2_WITH_TIMEOUT(closedOn("1025") && closedOn("1024"), qPrintable(sim.err()),
                              closeEndsWithinMs);
    QTest::qWait(
        qMax(qint64(0), closedTestReplyDelayMs + replyDueMarginMs - sinceConnected.elapsed()));
    QVERIFY2(!sim.err().contains(QStringLiteral("sent <STX>")), qPrintable(sim.err()));
#endif
}

QTEST_MAIN(TestWindowAgainstSim)
#include "tst_windowagainstsim.moc"
