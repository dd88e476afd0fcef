#include "announcer.h"
#include "fakeplatform.h"
#include "form1.h"
#include "serialportcontrol.h"
#include "simprocess.h"
#include "testwindow.h"
#include "threadsleeper.h"

#include <QAccessible>
#include <QGuiApplication>
#include <QLineEdit>
#include <QPushButton>
#include <QTest>

// The window against printer-sim run as its own process, as a support person would use the
// two together: the serial sweep on the simulator's pseudo-terminal, and the network test on
// its loopback ports.
class TestWindowAgainstSim : public QObject
{
    Q_OBJECT

private slots:
    void serialSweepReadsTheReply();
    void networkTest_data();
    void networkTest();
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

QTEST_MAIN(TestWindowAgainstSim)
#include "tst_windowagainstsim.moc"
