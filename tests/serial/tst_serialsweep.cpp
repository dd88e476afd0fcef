#include "datetimetext.h"
#include "fakecommcontrol.h"
#include "fakeplatform.h"
#include "formtesthost.h"
#include "serialsweep.h"
#include "sweeplogtext.h"

#include <QComboBox>
#include <QLineEdit>
#include <QPushButton>
#include <QTest>
#include <QTimer>

#include <memory>

namespace {

const QString goodReply = QStringLiteral("\x02  A000120\x03");

using namespace SweepLogText;

QString portLine(int port)
{
    return SweepLogText::portLine(port, QStringLiteral("9600"));
}

QString testError(int number)
{
    return QStringLiteral("Testfeil %1").arg(number);
}

QString goodLines()
{
    return replyLines(goodReply, QStringLiteral("- Skriver OK -"));
}

QStringList openCalls(int port)
{
    return {QStringLiteral("setSettings(9600,n,8,1)"), QStringLiteral("setCommPort(%1)").arg(port),
            QStringLiteral("setPortOpen(true)")};
}

// The calls on one port that answers with one piece.
QStringList goodCalls(int port)
{
    return openCalls(port) + QStringList{"CommPort",          "setOutput(5)", "pausems(350)",
                                         "InBufferCount",     "Input",        "InBufferCount",
                                         "setPortOpen(false)"};
}

// A log that notes, with every text appended, whether the test button was on.
class WatchedLog : public LogSink
{
public:
    void AppendLog(const QString &text) override
    {
        this->text += text;
        buttonOn.append(button && button->isEnabled());
    }

    QString text;
    QList<bool> buttonOn;
    QPushButton *button = nullptr;
};

// Counts the window's paints and notes how long the log was at each.
class PaintWatch : public QObject
{
public:
    PaintWatch(QWidget &window, const WatchedLog &log)
        : m_log(log)
    {
        window.installEventFilter(this);
    }

    QList<qsizetype> logLengths;

protected:
    bool eventFilter(QObject *, QEvent *event) override
    {
        if (event->type() == QEvent::Paint)
            logLengths.append(m_log.text.size());
        return false;
    }

private:
    const WatchedLog &m_log;
};

// The sweep with real fields and button, a scripted control and a log that watches the button.
struct Rig
{
    Rig()
    {
        comboHastighet->setEditable(true);
        comboHastighet->setEditText(QStringLiteral("9600"));
        txtComFra->setText(QStringLiteral("1"));
        txtComTil->setText(QStringLiteral("1"));
        txtPause->setText(QStringLiteral("350"));
        log.button = cmdTest;
        sleeper.onSleep = [this] {
            comPort.calls.append(QStringLiteral("pausems(%1)").arg(sleeper.pauses.last()));
            if (onSleep)
                onSleep();
        };
        FormFields fields;
        fields.txtComFra = txtComFra;
        fields.txtComTil = txtComTil;
        fields.comboHastighet = comboHastighet;
        fields.txtPause = txtPause;
        fields.cmdTest = cmdTest;
        fields.window = &window;
        host = std::make_unique<FormTestHost>(fields);
        sweep = std::make_unique<SerialSweep>(*host, comPort, sleeper, log);
    }

    // Runs the sweep and returns the log between its START and SLUTT lines, after checking
    // those two lines and the empty line at the end.
    QString run()
    {
        const QString before = currentDateTimeText();
        sweep->TestSerialPrinter(host->serialFields());
        const QString after = currentDateTimeText();

        const QString start = QStringLiteral("START Serieport ");
        const qsizetype startEnd = log.text.indexOf(QStringLiteral("\r\n"));
        const QString startStamp = log.text.mid(start.size(), startEnd - start.size());
        if (!log.text.startsWith(start) || (startStamp != before && startStamp != after))
            return QStringLiteral("(bad start line) ") + log.text;

        const QString end = QStringLiteral("SLUTT Serieport ");
        const qsizetype endAt = log.text.lastIndexOf(end);
        const QString endStamp = log.text.mid(endAt + end.size());
        if (endAt < 0 || (endStamp != before + QStringLiteral("\r\n\r\n") &&
                          endStamp != after + QStringLiteral("\r\n\r\n")))
            return QStringLiteral("(bad end lines) ") + log.text;
        return log.text.mid(startEnd + 2, endAt - startEnd - 2);
    }

    QWidget window;
    QLineEdit *txtComFra = new QLineEdit(&window);
    QLineEdit *txtComTil = new QLineEdit(&window);
    QComboBox *comboHastighet = new QComboBox(&window);
    QLineEdit *txtPause = new QLineEdit(&window);
    QPushButton *cmdTest = new QPushButton(&window);
    FakeCommControl comPort;
    FakeSleeper sleeper;
    WatchedLog log;
    std::function<void()> onSleep;
    std::unique_ptr<FormTestHost> host;
    std::unique_ptr<SerialSweep> sweep;
};

} // namespace

class TestSerialSweep : public QObject
{
    Q_OBJECT

private slots:
    void sweep_data();
    void sweep();
    void collectsUpToTheReplyLimit_data();
    void collectsUpToTheReplyLimit();
    void boundsPassesThatTakeNothing_data();
    void boundsPassesThatTakeNothing();
    void buttonIsOffFromStartLineToEmptyLine_data();
    void buttonIsOffFromStartLineToEmptyLine();
    void repaintsOnceAfterEachPort();
    void letsNoEventsRun();
    void speedTextGoesOutUnchanged();
};

void TestSerialSweep::sweep_data()
{
    QTest::addColumn<int>("from");
    QTest::addColumn<int>("to");
    QTest::addColumn<QStringList>("script");  // "call=error number" or "CommPort->reported number"
    QTest::addColumn<QStringList>("replies"); // "port:piece"
    QTest::addColumn<bool>("leftOpen");
    QTest::addColumn<QString>("body");
    QTest::addColumn<QStringList>("calls"); // checked when not empty

    const QString good = QStringLiteral("1:") + goodReply;

    QTest::newRow("a printer that answers")
        << 1 << 1 << QStringList() << QStringList{good} << false
        << rangeLine(1, 1) + portLine(1) + goodLines() << QStringList{"PortOpen"} + goodCalls(1);

    QTest::newRow("blanks dropped at the ends of each piece, kept inside")
        << 1 << 1 << QStringList() << QStringList{"1: A ", "1: 00 0 ", "1:   "} << false
        << rangeLine(1, 1) + portLine(1) +
               replyLines(QStringLiteral("A00 0"), QStringLiteral("- Skriver OK -"))
        << QStringList();

    QTest::newRow("a printer that answers nothing")
        << 1 << 1 << QStringList() << QStringList() << false
        << rangeLine(1, 1) + portLine(1) + silentLines()
        << QStringList{"PortOpen"} + openCalls(1) +
               QStringList{"CommPort", "setOutput(5)", "pausems(350)", "InBufferCount",
                           "setPortOpen(false)"};

    QTest::newRow("codes 2, 65 and 3") << 1 << 1 << QStringList()
                                       << QStringList{"1:\x02"
                                                      "A\x03"}
                                       << false
                                       << rangeLine(1, 1) + portLine(1) +
                                              line(QStringLiteral("  Data fra printer =  -->\x02"
                                                                  "A\x03<--")) +
                                              line(QStringLiteral("  - Skriver OK -")) +
                                              line(QStringLiteral("     bytes: -->2 65 3 <--"))
                                       << QStringList();

    QTest::newRow("a port left open by an earlier sweep is closed first, silently")
        << 1 << 1 << QStringList() << QStringList{good} << true
        << rangeLine(1, 1) + portLine(1) + goodLines()
        << QStringList{"PortOpen", "setPortOpen(false)"} + goodCalls(1);

    const struct
    {
        int number;
        const char *name;
    } known[] = {{8002, "comPortInvalid"},
                 {8005, "comPortAlreadyOpen"},
                 {8012, "comNoOpen"},
                 {8018, "comPortNotOpen"}};
    for (const auto &error : known) {
        const QString knownLine = knownError(error.name);
        QTest::addRow("%d on open skips the port", error.number)
            << 1 << 2 << QStringList{QStringLiteral("setPortOpen(true)#1=%1").arg(error.number)}
            << QStringList{QStringLiteral("2:") + goodReply} << false
            << rangeLine(1, 2) + portLine(1) + knownLine + portLine(2) + goodLines()
            << QStringList{"PortOpen"} + openCalls(1) + goodCalls(2);
    }
    QTest::newRow("8002 on the port number")
        << 1 << 2 << QStringList{"setCommPort(1)=8002"}
        << QStringList{QStringLiteral("2:") + goodReply} << false
        << rangeLine(1, 2) + portLine(1) + knownError("comPortInvalid") + portLine(2) + goodLines()
        << QStringList{"PortOpen", "setSettings(9600,n,8,1)", "setCommPort(1)"} + goodCalls(2);
    QTest::newRow("8005 on the settings")
        << 1 << 1 << QStringList{"setSettings=8005"} << QStringList() << false
        << rangeLine(1, 1) + portLine(1) + knownError("comPortAlreadyOpen")
        << QStringList{"PortOpen", "setSettings(9600,n,8,1)"};
    QTest::newRow("8018 on the enquiry: no pause, no reply, port not closed")
        << 1 << 1 << QStringList{"setOutput=8018"} << QStringList{good} << false
        << rangeLine(1, 1) + portLine(1) + knownError("comPortNotOpen")
        << QStringList{"PortOpen"} + openCalls(1) + QStringList{"CommPort", "setOutput(5)"};
    QTest::newRow("8012 on the count")
        << 1 << 1 << QStringList{"InBufferCount=8012"} << QStringList{good} << false
        << rangeLine(1, 1) + portLine(1) + knownError("comNoOpen")
        << QStringList{"PortOpen"} + openCalls(1) +
               QStringList{"CommPort", "setOutput(5)", "pausems(350)", "InBufferCount"};
    QTest::newRow("8012 on the second read drops what the first took")
        << 1 << 1 << QStringList{"Input#2=8012"} << QStringList{"1:A", "1:B"} << false
        << rangeLine(1, 1) + portLine(1) + knownError("comNoOpen") << QStringList();
    QTest::newRow("8018 on the port number read")
        << 1 << 1 << QStringList{"CommPort=8018"} << QStringList() << false
        << rangeLine(1, 1) + portLine(1) + knownError("comPortNotOpen")
        << QStringList{"PortOpen"} + openCalls(1) + QStringList{"CommPort"};

    QTest::newRow("settings refused: logged, then the port is tried with the old settings")
        << 1 << 1 << QStringList{"setSettings=380"} << QStringList{good} << false
        << rangeLine(1, 1) + portLine(1) + otherError(380, testError(380)) + goodLines()
        << QStringList{"PortOpen"} + goodCalls(1);
    QTest::newRow("port number refused: the open goes on")
        << 1 << 1 << QStringList{"setCommPort=380"} << QStringList{good} << false
        << rangeLine(1, 1) + portLine(1) + otherError(380, testError(380)) + goodLines()
        << QStringList{"PortOpen"} + goodCalls(1);
    QTest::newRow("open fails otherwise: the enquiry still goes out")
        << 1 << 1 << QStringList{"setPortOpen(true)=5"} << QStringList{good} << false
        << rangeLine(1, 1) + portLine(1) + otherError(5, testError(5)) + goodLines()
        << QStringList{"PortOpen"} + goodCalls(1);
    QTest::newRow("port number read fails: taken for a match")
        << 1 << 1 << QStringList{"CommPort#1=5"} << QStringList{good} << false
        << rangeLine(1, 1) + portLine(1) + otherError(5, testError(5)) + goodLines()
        << QStringList{"PortOpen"} + goodCalls(1);
    QTest::newRow("enquiry fails otherwise: the pause still runs")
        << 1 << 1 << QStringList{"setOutput=5"} << QStringList{good} << false
        << rangeLine(1, 1) + portLine(1) + otherError(5, testError(5)) + goodLines()
        << QStringList{"PortOpen"} + goodCalls(1);
    QTest::newRow("count fails: one read, then the count again")
        << 1 << 1 << QStringList{"InBufferCount#1=5"} << QStringList{good} << false
        << rangeLine(1, 1) + portLine(1) + otherError(5, testError(5)) + goodLines()
        << QStringList{"PortOpen"} + goodCalls(1);
    QTest::newRow("read fails: the count again")
        << 1 << 1 << QStringList{"Input#1=5"} << QStringList{good} << false
        << rangeLine(1, 1) + portLine(1) + otherError(5, testError(5)) + goodLines()
        << QStringList{"PortOpen"} + openCalls(1) +
               QStringList{"CommPort",      "setOutput(5)",  "pausems(350)",
                           "InBufferCount", "Input",         "InBufferCount",
                           "Input",         "InBufferCount", "setPortOpen(false)"};
    QTest::newRow("close fails otherwise: logged, the next port goes on")
        << 1 << 2 << QStringList{"setPortOpen(false)#1=5"}
        << QStringList{good, QStringLiteral("2:") + goodReply} << false
        << rangeLine(1, 2) + portLine(1) + goodLines() + otherError(5, testError(5)) + portLine(2) +
               goodLines()
        << QStringList();
    QTest::newRow("out of memory is an other error")
        << 1 << 1 << QStringList{"Input#1=-1"} << QStringList{good} << false
        << rangeLine(1, 1) + portLine(1) + otherError(7, QStringLiteral("Out of memory")) +
               goodLines()
        << QStringList();

    QTest::newRow("port number mismatch: no enquiry, no pause, the buffer is still read")
        << 1 << 1 << QStringList{"CommPort->9"} << QStringList{good} << false
        << rangeLine(1, 1) + portLine(1) +
               line(QStringLiteral("  Port <> status. ComControlName.CommPort = 9")) + goodLines()
        << QStringList{"PortOpen"} + openCalls(1) +
               QStringList{"CommPort", "CommPort",      "InBufferCount",
                           "Input",    "InBufferCount", "setPortOpen(false)"};
    QTest::newRow("port number mismatch, second read fails: no mismatch line")
        << 1 << 1 << QStringList{"CommPort->9", "CommPort#2=5"} << QStringList() << false
        << rangeLine(1, 1) + portLine(1) + otherError(5, testError(5)) + silentLines()
        << QStringList();

    QTest::newRow("looking for a port left open fails otherwise: it is closed")
        << 1 << 1 << QStringList{"PortOpen=5"} << QStringList{good} << false
        << rangeLine(1, 1) + otherError(5, testError(5)) + portLine(1) + goodLines()
        << QStringList{"PortOpen", "setPortOpen(false)"} + goodCalls(1);
    QTest::newRow("looking for a port left open meets a known error: logged, first port goes on")
        << 1 << 1 << QStringList{"PortOpen=8018"} << QStringList{good} << true
        << rangeLine(1, 1) + knownError("comPortNotOpen") + portLine(1) + goodLines()
        << QStringList{"PortOpen"} + goodCalls(1);
    QTest::newRow("closing a port left open meets a known error: logged, first port goes on")
        << 1 << 1 << QStringList{"setPortOpen(false)#1=8012"} << QStringList{good} << true
        << rangeLine(1, 1) + knownError("comNoOpen") + portLine(1) + goodLines()
        << QStringList{"PortOpen", "setPortOpen(false)"} + goodCalls(1);

    QTest::newRow("range ending at 32767: the counter overflows after the last port")
        << 32766 << 32767 << QStringList() << QStringList{QStringLiteral("32767:") + goodReply}
        << false
        << rangeLine(32766, 32767) + portLine(32766) + silentLines() + portLine(32767) +
               goodLines() + otherError(6, QStringLiteral("Overflow"))
        << QStringList();
    QTest::newRow("negative ports are tried")
        << -1 << 1 << QStringList{"setCommPort(-1)=8002", "setCommPort(0)=8002"}
        << QStringList{good} << false
        << rangeLine(-1, 1) + portLine(-1) + knownError("comPortInvalid") + portLine(0) +
               knownError("comPortInvalid") + portLine(1) + goodLines()
        << QStringList();
}

void TestSerialSweep::sweep()
{
    QFETCH(int, from);
    QFETCH(int, to);
    QFETCH(QStringList, script);
    QFETCH(QStringList, replies);
    QFETCH(bool, leftOpen);
    QFETCH(QString, body);
    QFETCH(QStringList, calls);

    Rig rig;
    rig.txtComFra->setText(QString::number(from));
    rig.txtComTil->setText(QString::number(to));
    rig.comPort.open = leftOpen;
    for (const QString &entry : script) {
        if (entry.startsWith(QStringLiteral("CommPort->"))) {
            rig.comPort.reportedPort.insert(qint16(from), qint16(entry.mid(10).toInt()));
            continue;
        }
        const QStringList parts = entry.split(QLatin1Char('='));
        const qint32 number = parts.at(1).toInt();
        rig.comPort.failures.insert(parts.at(0), RuntimeError{number, testError(number)});
    }
    for (const QString &reply : replies) {
        const qsizetype colon = reply.indexOf(QLatin1Char(':'));
        rig.comPort.replies[qint16(reply.left(colon).toInt())].append(reply.mid(colon + 1));
    }

    QCOMPARE(rig.run(), body);
    if (!calls.isEmpty())
        QCOMPARE(rig.comPort.calls, calls);
    QVERIFY(rig.cmdTest->isEnabled());
}

void TestSerialSweep::collectsUpToTheReplyLimit_data()
{
    QTest::addColumn<QString>("piece");
    QTest::addColumn<QString>("reply");
    QTest::addColumn<QString>("status");

    // The limit is 32767 characters.
    const QString ok = QStringLiteral("- Skriver OK -");
    QTest::newRow("one character at a time") << "A" << QString(32767, QLatin1Char('A')) << ok;
    QTest::newRow("pieces that cross the limit are cut")
        << "AB" << QStringLiteral("AB").repeated(16383) + QStringLiteral("A") << ok;
    // Blanks count as taken even where they are dropped: 10922 pieces of three, then one blank.
    QTest::newRow("blanks count towards the limit")
        << " A " << QString(10922, QLatin1Char('A')) << ok;
    QTest::newRow("a device sending only blanks")
        << "  " << QString() << QStringLiteral("- Skriveren svarer ikke -");
}

void TestSerialSweep::collectsUpToTheReplyLimit()
{
    QFETCH(QString, piece);
    QFETCH(QString, reply);
    QFETCH(QString, status);

    Rig rig;
    rig.txtComTil->setText(QStringLiteral("2"));
    rig.comPort.endless.insert(1, piece);
    rig.comPort.replies[2] = QStringList{goodReply};

    const QString body = rig.run();
    QCOMPARE(body,
             rangeLine(1, 2) + portLine(1) + replyLines(reply, status) + portLine(2) + goodLines());
}

void TestSerialSweep::boundsPassesThatTakeNothing_data()
{
    QTest::addColumn<QStringList>("script");
    QTest::addColumn<QString>("endless");

    QTest::newRow("the count fails every time") << QStringList{"InBufferCount=5"} << QString();
    QTest::newRow("the read fails every time") << QStringList{"Input=5"} << "A";
    QTest::newRow("both fail every time") << QStringList{"InBufferCount=5", "Input=5"} << "A";
}

void TestSerialSweep::boundsPassesThatTakeNothing()
{
    QFETCH(QStringList, script);
    QFETCH(QString, endless);

    Rig rig;
    for (const QString &entry : script)
        rig.comPort.failures.insert(entry.section(QLatin1Char('='), 0, 0),
                                    RuntimeError{5, testError(5)});
    if (!endless.isEmpty())
        rig.comPort.endless.insert(1, endless);

    const QString body = rig.run();

    // The port gives up after its bound of 100 passes, reports what it has (nothing) and is closed.
    const int errorsPerPass = int(script.size());
    const QString errors = otherError(5, testError(5)).repeated(100 * errorsPerPass);
    QCOMPARE(body, rangeLine(1, 1) + portLine(1) + errors + silentLines());
    QCOMPARE(rig.comPort.calls.count(QStringLiteral("Input")), 100);
    QCOMPARE(rig.comPort.calls.last(), QStringLiteral("setPortOpen(false)"));
}

void TestSerialSweep::buttonIsOffFromStartLineToEmptyLine_data()
{
    QTest::addColumn<QStringList>("script");

    QTest::newRow("ports that answer") << QStringList();
    QTest::newRow("every port failing") << QStringList{"setPortOpen(true)=8002"};
    QTest::newRow("every step failing otherwise")
        << QStringList{"PortOpen=5", "setSettings=5", "setCommPort=5",   "setPortOpen=5",
                       "CommPort=5", "setOutput=5",   "InBufferCount=5", "Input=5"};
}

void TestSerialSweep::buttonIsOffFromStartLineToEmptyLine()
{
    QFETCH(QStringList, script);

    Rig rig;
    rig.txtComTil->setText(QStringLiteral("3"));
    for (const QString &entry : script) {
        const QStringList parts = entry.split(QLatin1Char('='));
        const qint32 number = parts.at(1).toInt();
        rig.comPort.failures.insert(parts.at(0), RuntimeError{number, testError(number)});
    }
    int callsWithButtonOn = 0;
    rig.comPort.onCall = [&](const QString &) { callsWithButtonOn += rig.cmdTest->isEnabled(); };

    QVERIFY(rig.cmdTest->isEnabled());
    rig.run();

    QVERIFY(!rig.comPort.calls.isEmpty());
    QCOMPARE(callsWithButtonOn, 0);
    // The start line goes out with the button on; every line after it, the empty one last
    // included, with the button off; and the button is on again when the sweep returns.
    QVERIFY(rig.log.buttonOn.size() > 3);
    QCOMPARE(rig.log.buttonOn.first(), true);
    QCOMPARE(rig.log.buttonOn.count(true), 1);
    QCOMPARE(rig.log.text.right(4), QStringLiteral("\r\n\r\n"));
    QVERIFY(rig.cmdTest->isEnabled());
}

void TestSerialSweep::repaintsOnceAfterEachPort()
{
    Rig rig;
    rig.txtComTil->setText(QStringLiteral("3"));
    rig.comPort.failures.insert(QStringLiteral("setPortOpen(true)#1"), RuntimeError{8002, {}});
    rig.comPort.failures.insert(QStringLiteral("setOutput#1"), RuntimeError{5, testError(5)});
    rig.comPort.replies[3] = QStringList{goodReply};
    rig.window.show();
    QVERIFY(QTest::qWaitForWindowExposed(&rig.window));
    PaintWatch paints(rig.window, rig.log);

    const QString body = rig.run();

    // One paint after each port, with that port's lines already in the log.
    const QString start = rig.log.text.left(rig.log.text.indexOf(QStringLiteral("\r\n")) + 2);
    const QString afterPort1 = start + rangeLine(1, 3) + portLine(1) + knownError("comPortInvalid");
    const QString afterPort2 =
        afterPort1 + portLine(2) + otherError(5, testError(5)) + silentLines();
    const QString afterPort3 = afterPort2 + portLine(3) + goodLines();
    QVERIFY(rig.log.text.startsWith(afterPort3));
    QCOMPARE(paints.logLengths,
             (QList<qsizetype>{afterPort1.size(), afterPort2.size(), afterPort3.size()}));
}

void TestSerialSweep::letsNoEventsRun()
{
    Rig rig;
    rig.txtComTil->setText(QStringLiteral("2"));
    bool delivered = false;
    QTimer::singleShot(0, &rig.window, [&] { delivered = true; });
    int deliveredDuringSweep = 0;
    rig.comPort.onCall = [&](const QString &) { deliveredDuringSweep += delivered; };
    rig.onSleep = [&] { deliveredDuringSweep += delivered; };

    rig.run();

    QVERIFY(rig.comPort.calls.size() > 10);
    QCOMPARE(deliveredDuringSweep, 0);
    QVERIFY(!delivered);
    QTRY_VERIFY(delivered);
}

void TestSerialSweep::speedTextGoesOutUnchanged()
{
    Rig rig;
    rig.comboHastighet->setEditText(QStringLiteral(" 9600 baud"));

    const QString body = rig.run();

    QCOMPARE(body, rangeLine(1, 1) + portLine(1, QStringLiteral(" 9600 baud")) + silentLines());
    QCOMPARE(rig.comPort.calls.at(1), QStringLiteral("setSettings( 9600 baud,n,8,1)"));
    QCOMPARE(rig.comboHastighet->currentText(), QStringLiteral(" 9600 baud"));
}

QTEST_MAIN(TestSerialSweep)
#include "tst_serialsweep.moc"
