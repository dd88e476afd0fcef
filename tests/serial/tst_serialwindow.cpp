// The serial sweep as a user runs it: through the window's test button, with pseudo-terminals
// for COM ports and fake printers at their far ends.

#include "announcer.h"
#include "commcontrol.h"
#include "fakeplatform.h"
#include "fakeprinter.h"
#include "form1.h"
#include "runtimeerror.h"
#include "serialportcontrol.h"
#include "sweeplogtext.h"
#include "testwindow.h"

#include <QAccessible>
#include <QComboBox>
#include <QLineEdit>
#include <QPushButton>
#include <QRegularExpression>
#include <QSerialPort>
#include <QTest>
#include <QTimer>

#include <algorithm>
#include <chrono>
#include <map>
#include <memory>
#include <thread>

namespace {

constexpr int answerTimeoutMs = 5000;
const QByteArray goodFrame("\x02  A000120\x03");

// Passes every call to the real control, running a hook first.
class ObservedCommControl : public CommControl
{
public:
    explicit ObservedCommControl(CommControl &inner)
        : m_inner(inner)
    {
    }

    std::function<void()> onCall;

    void refreshPortList() override
    {
        observe();
        m_inner.refreshPortList();
    }
    void setSettings(const QString &settings) override
    {
        observe();
        m_inner.setSettings(settings);
    }
    QString Settings() const override { return m_inner.Settings(); }
    void setCommPort(qint16 port) override
    {
        observe();
        m_inner.setCommPort(port);
    }
    qint16 CommPort() const override
    {
        observe();
        return m_inner.CommPort();
    }
    void setPortOpen(bool open) override
    {
        observe();
        m_inner.setPortOpen(open);
    }
    bool PortOpen() const override
    {
        observe();
        return m_inner.PortOpen();
    }
    void setOutput(const QString &data) override
    {
        observe();
        m_inner.setOutput(data);
    }
    int InBufferCount() override
    {
        observe();
        return m_inner.InBufferCount();
    }
    QString Input() override
    {
        observe();
        return m_inner.Input();
    }

private:
    void observe() const
    {
        if (onCall)
            onCall();
    }

    CommControl &m_inner;
};

using namespace SweepLogText;

QString portLine(int port)
{
    return SweepLogText::portLine(port, QStringLiteral("19200"));
}

QString goodLines()
{
    return replyLines(QString::fromLatin1(goodFrame), QStringLiteral("- Skriver OK -"));
}

QString overflowLines()
{
    return otherError(6, QStringLiteral("Overflow"));
}

// The window with the real serial control, whose COM numbers name pseudo-terminals, and a
// pause that ends once the printer on the open port has answered. The numbers are those of the
// devices map, or with a lister the system's numbering over what it lists.
struct WindowRig
{
    explicit WindowRig(ComPortLister lister = {})
        : control(lister ? listedComPortNumbering(std::move(lister)) : fixedNumbering())
    {
        sleeper.onSleep = [this] { paused(); };
        observed.onCall = [this] {
            ++calls;
            callsWithButtonOn += cmdTest()->isEnabled();
            callsAfterTimer += timerFired;
        };
    }

    FakePrinter &addPrinter(qint16 number, FakePrinter::Behaviour behaviour,
                            const QByteArray &reply = {})
    {
        auto printer = std::make_unique<FakePrinter>(behaviour, reply);
        devices[number] = printer->devicePath();
        printersByNumber[number] = printer.get();
        printers.push_back(std::move(printer));
        return *printers.back();
    }

    QLineEdit *field(const char *name) const { return window->findChild<QLineEdit *>(name); }
    QPushButton *cmdTest() const { return window->findChild<QPushButton *>("cmdTest"); }
    QComboBox *comboHastighet() const { return window->findChild<QComboBox *>("comboHastighet"); }

    void setFields(const QString &from, const QString &to, const QString &pause)
    {
        field("txtComFra")->setText(from);
        field("txtComTil")->setText(to);
        field("txtPause")->setText(pause);
    }

    // Clicks "Test skriver" and returns the log between the START and SLUTT lines.
    QString clickTest()
    {
        QTimer::singleShot(0, &window.form(), [this] { timerFired = true; });
        cmdTest()->click();
        const QString &log = window->logText();
        const qsizetype startEnd = log.indexOf(QStringLiteral("\r\n"));
        const qsizetype endAt = log.lastIndexOf(QStringLiteral("SLUTT Serieport "));
        if (!log.startsWith(QStringLiteral("START Serieport ")) || endAt < 0 ||
            !log.endsWith(QStringLiteral("\r\n\r\n")))
            return QStringLiteral("(no START or SLUTT) ") + log;
        return log.mid(startEnd + 2, endAt - startEnd - 2);
    }

    void paused()
    {
        pausesWithButtonOn += cmdTest()->isEnabled();
        pausesAfterTimer += timerFired;
        const auto printer = printersByNumber.find(control.CommPort());
        if (printer != printersByNumber.end()) {
            const int answered = ++enquiries[printer->second];
            if (!printer->second->waitUntilAnswered(answered, answerTimeoutMs))
                ++pausesWithoutAnswer;
        }
        if (onPause)
            onPause(control.CommPort());
    }

    std::map<qint16, QString> devices;
    std::vector<std::unique_ptr<FakePrinter>> printers;
    std::map<qint16, FakePrinter *> printersByNumber;
    std::map<FakePrinter *, int> enquiries;

    ComPortNumbering fixedNumbering()
    {
        return {{}, [this](qint16 number) {
                    const auto device = devices.find(number);
                    return device == devices.end() ? QString() : device->second;
                }};
    }

    SerialPortControl control;
    ObservedCommControl observed{control};
    FakeSleeper sleeper;
    FakeClipboard clipboard;
    FakeEventPump eventPump;
    TestWindow window{
        TestWindow::Seams().clipboard(clipboard).eventPump(eventPump).sleeper(sleeper).comPort(
            observed)};

    std::function<void(qint16 port)> onPause;
    bool timerFired = false;
    int calls = 0;
    int callsWithButtonOn = 0;
    int callsAfterTimer = 0;
    int pausesWithButtonOn = 0;
    int pausesAfterTimer = 0;
    int pausesWithoutAnswer = 0;
};

// Counts the paints of a window while a test runs (its button off); the window's usual repaint
// once the test is over is not the test's.
class PaintCounter : public QObject
{
public:
    PaintCounter(QWidget &window, const QWidget &testButton)
        : m_testButton(testButton)
    {
        window.installEventFilter(this);
    }
    int paints = 0;

protected:
    bool eventFilter(QObject *, QEvent *event) override
    {
        paints += event->type() == QEvent::Paint && !m_testButton.isEnabled();
        return false;
    }

private:
    const QWidget &m_testButton;
};

} // namespace

class TestSerialWindow : public QObject
{
    Q_OBJECT

private slots:
    void printersOfEveryKind();
    void everyPortFailing();
    void speedTextRefused();
    void numbersHoldThroughTheSweep();
    void fieldCorrections_data();
    void fieldCorrections();
    void hostileLine_data();
    void hostileLine();
    void verdictOffered_data();
    void verdictOffered();
};

void TestSerialWindow::printersOfEveryKind()
{
    using B = FakePrinter::Behaviour;
    WindowRig rig;
    FakePrinter &good = rig.addPrinter(1, B::Answer, goodFrame);
    FakePrinter &errorLetter = rig.addPrinter(2, B::Answer, "\x02  c000000\x03");
    FakePrinter &silent = rig.addPrinter(3, B::Silent);
    FakePrinter &late = rig.addPrinter(4, B::Late, goodFrame);
    FakePrinter &padded = rig.addPrinter(5, B::Answer, "  \x02  G000001\x03  ");
    FakePrinter &flood = rig.addPrinter(6, B::Flood, "A");
    rig.devices[7] = QStringLiteral("/dev/pts/no-such-terminal");
    FakePrinter &held = rig.addPrinter(8, B::Silent);
    // Number 9 has no port at all.
    FakePrinter &vanishing = rig.addPrinter(10, B::Silent);
    FakePrinter &last = rig.addPrinter(11, B::Answer, goodFrame);
    for (const auto &printer : rig.printers)
        QVERIFY(printer->isValid());

    QSerialPort otherOpener;
    otherOpener.setPortName(held.devicePath());
    QVERIFY(otherOpener.open(QIODevice::ReadWrite));

    rig.onPause = [&](qint16 port) {
        if (port == 5) // the late printer answers once its port is long closed
            late.sendLateReply();
        if (port == 10)
            vanishing.vanish();
    };
    rig.window->show();
    QVERIFY(QTest::qWaitForWindowExposed(&rig.window.form()));
    PaintCounter paints(rig.window.form(), *rig.cmdTest());
    rig.setFields(QStringLiteral("1"), QStringLiteral("11"), QStringLiteral("10"));

    QString body = rig.clickTest();

    // The flood is cut wherever the sweep stopped reading it; its lines are checked apart.
    static const QRegularExpression floodLines(
        QStringLiteral("  Data fra printer =  -->(A+)<--\r\n  - Skriver OK -\r\n"
                       "     bytes: -->((?:65 )+)<--\r\n"));
    const QRegularExpressionMatch floodMatch = floodLines.match(body);
    QVERIFY2(floodMatch.hasMatch(), qPrintable(body.left(2000)));
    const qsizetype flooded = floodMatch.capturedLength(1);
    QVERIFY(flooded <= 32767);
    QCOMPARE(floodMatch.capturedLength(2), 3 * flooded);
    body.replace(floodMatch.capturedStart(), floodMatch.capturedLength(),
                 QStringLiteral("(flood)"));

    const QString expected =
        rangeLine(1, 11) + portLine(1) + goodLines() + portLine(2) +
        replyLines(QStringLiteral("\x02  c000000\x03"),
                   QStringLiteral("Off-line, error condition - Tomt for etiketter -")) +
        portLine(3) + silentLines() + portLine(4) + silentLines() + portLine(5) +
        replyLines(QStringLiteral("\x02  G000001\x03"),
                   QStringLiteral("Skriver ut etikett - Skriver OK -")) +
        portLine(6) + QStringLiteral("(flood)") + portLine(7) + knownError("comPortInvalid") +
        portLine(8) + knownError("comPortAlreadyOpen") + portLine(9) +
        knownError("comPortInvalid") + portLine(10) + knownError("comNoOpen") + portLine(11) +
        goodLines();
    QCOMPARE(body, expected);

    // Each printer that was reached got the one enquiry and nothing else.
    for (FakePrinter *printer : {&good, &errorLetter, &silent, &late, &padded, &flood, &last})
        QCOMPARE(printer->received(), QByteArray("\x05"));
    QCOMPARE(held.received(), QByteArray());
    QCOMPARE(rig.sleeper.pauses, QList<qint32>(8, 10));
    QCOMPARE(rig.pausesWithoutAnswer, 0);

    // Off for the whole sweep, no event delivered under it, one paint after each port.
    QCOMPARE(rig.callsWithButtonOn, 0);
    QCOMPARE(rig.pausesWithButtonOn, 0);
    QCOMPARE(rig.callsAfterTimer + rig.pausesAfterTimer, 0);
    QCOMPARE(paints.paints, 11);
    QVERIFY(rig.cmdTest()->isEnabled());
    QVERIFY(!rig.control.PortOpen());
    QTRY_VERIFY(rig.timerFired);
}

void TestSerialWindow::everyPortFailing()
{
    WindowRig rig;
    FakePrinter &held = rig.addPrinter(2, FakePrinter::Behaviour::Silent);
    rig.devices[1] = QStringLiteral("/dev/pts/no-such-terminal");
    QSerialPort otherOpener;
    otherOpener.setPortName(held.devicePath());
    QVERIFY(otherOpener.open(QIODevice::ReadWrite));
    rig.setFields(QStringLiteral("1"), QStringLiteral("3"), QStringLiteral("350"));

    const QString body = rig.clickTest();

    QCOMPARE(body, rangeLine(1, 3) + portLine(1) + knownError("comPortInvalid") + portLine(2) +
                       knownError("comPortAlreadyOpen") + portLine(3) +
                       knownError("comPortInvalid"));
    QVERIFY(rig.calls > 0);
    QCOMPARE(rig.callsWithButtonOn, 0);
    QVERIFY(rig.sleeper.pauses.isEmpty());
    QVERIFY(rig.cmdTest()->isEnabled());
}

void TestSerialWindow::speedTextRefused()
{
    WindowRig rig;
    FakePrinter &printer = rig.addPrinter(1, FakePrinter::Behaviour::Answer, goodFrame);
    rig.comboHastighet()->setEditText(QStringLiteral("fast"));
    rig.setFields(QStringLiteral("1"), QStringLiteral("1"), QStringLiteral("10"));

    const QString body = rig.clickTest();

    // The control keeps the settings it had, and the port is tried with them.
    QCOMPARE(body, rangeLine(1, 1) + portLine(1, QStringLiteral("fast")) +
                       line(QStringLiteral("  Annen Feil: 380-Invalid property value\r\n")) +
                       goodLines());
    QCOMPARE(rig.control.Settings(), QStringLiteral("9600,n,8,1"));
    QCOMPARE(printer.received(), QByteArray("\x05"));
}

void TestSerialWindow::numbersHoldThroughTheSweep()
{
    // The system lists three ports when the sweep begins. The first is pulled out while the
    // sweep is on it, and the sweep is a slow one, longer than a listing was ever held.
    QStringList listed;
    int listings = 0;
    WindowRig rig([&] {
        ++listings;
        return listed;
    });
    std::vector<FakePrinter *> byPath;
    std::map<const FakePrinter *, QByteArray> frames;
    for (const char n : {'1', '2', '3'}) {
        const QByteArray frame = QByteArray("\x02  A00000") + n + '\x03';
        FakePrinter &printer =
            rig.addPrinter(qint16(n - '0'), FakePrinter::Behaviour::Answer, frame);
        QVERIFY(printer.isValid());
        frames[&printer] = frame;
        byPath.push_back(&printer);
    }
    std::sort(byPath.begin(), byPath.end(), [](const FakePrinter *a, const FakePrinter *b) {
        return devicePathLess(a->devicePath(), b->devicePath());
    });
    for (std::size_t i = 0; i < byPath.size(); ++i) {
        listed.append(byPath[i]->devicePath());
        rig.printersByNumber[qint16(i + 1)] = byPath[i];
    }
    constexpr auto slowPort = std::chrono::milliseconds(2100);
    rig.onPause = [&](qint16 port) {
        if (port == 1) {
            listed.removeFirst();
            std::this_thread::sleep_for(slowPort);
        }
    };
    rig.setFields(QStringLiteral("1"), QStringLiteral("3"), QStringLiteral("2000"));

    QString body = rig.clickTest();

    QString expected = rangeLine(1, 3);
    for (int port = 1; port <= 3; ++port) {
        expected += portLine(port) + replyLines(QString::fromLatin1(frames[byPath[port - 1]]),
                                                QStringLiteral("- Skriver OK -"));
    }
    QCOMPARE(body, expected);
    for (const FakePrinter *printer : byPath)
        QCOMPARE(printer->received(), QByteArray("\x05"));
    QCOMPARE(listings, 1);

    // The next sweep takes the list again: COM1 is now the port that was second.
    rig.onPause = {};
    rig.setFields(QStringLiteral("1"), QStringLiteral("1"), QStringLiteral("10"));
    body = rig.clickTest();
    QCOMPARE(listings, 2);
    QCOMPARE(byPath[1]->received(), QByteArray("\x05\x05"));
}

void TestSerialWindow::fieldCorrections_data()
{
    QTest::addColumn<QString>("from");
    QTest::addColumn<QString>("to");
    QTest::addColumn<QString>("pause");
    QTest::addColumn<QStringList>("fieldsAfter"); // from, to, pause
    QTest::addColumn<int>("pauseUsed");
    QTest::addColumn<QString>("body");

    const QString correction =
        line(QStringLiteral("Ugyldige verdier oppgitt. Setter comport til 1"));
    const QString com1 = portLine(1) + goodLines();
    const QString invalid = knownError("comPortInvalid");

    QTest::newRow("pause 5 becomes 10")
        << "1"
        << "1"
        << "5" << QStringList{"1", "1", "10"} << 10 << rangeLine(1, 1) + com1;
    QTest::newRow("pause 2500 becomes 2000")
        << "1"
        << "1"
        << "2500" << QStringList{"1", "1", "2000"} << 2000 << rangeLine(1, 1) + com1;
    QTest::newRow("empty pause becomes 10")
        << "1"
        << "1"
        << "" << QStringList{"1", "1", "10"} << 10 << rangeLine(1, 1) + com1;
    QTest::newRow("pause of letters becomes 10")
        << "1"
        << "1"
        << "lang" << QStringList{"1", "1", "10"} << 10 << rangeLine(1, 1) + com1;
    QTest::newRow("pause with blanks is read whole and left as typed")
        << "1"
        << "1"
        << " 2 0 0" << QStringList{"1", "1", " 2 0 0"} << 200 << rangeLine(1, 1) + com1;
    QTest::newRow("range 3 to 2 is corrected")
        << "3"
        << "2"
        << "10" << QStringList{"1", "1", "10"} << 10 << correction + rangeLine(1, 1) + com1;
    QTest::newRow("range 0 to 2 is corrected")
        << "0"
        << "2"
        << "10" << QStringList{"1", "1", "10"} << 10 << correction + rangeLine(1, 1) + com1;
    QTest::newRow("range 1 to 0 is corrected")
        << "1"
        << "0"
        << "10" << QStringList{"1", "1", "10"} << 10 << correction + rangeLine(1, 1) + com1;
    QTest::newRow("range -1 to 1 is tried as typed")
        << "-1"
        << "1"
        << "10" << QStringList{"-1", "1", "10"} << 10
        << rangeLine(-1, 1) + portLine(-1) + invalid + portLine(0) + invalid + com1;
    QTest::newRow("first port above 32767")
        << "40000"
        << "1"
        << "10" << QStringList{"1", "1", "10"} << 10
        << overflowLines() + correction + rangeLine(1, 1) + com1;
    QTest::newRow("last port above 32767") << "1"
                                           << "99999"
                                           << "10" << QStringList{"1", "1", "10"} << 10
                                           << overflowLines() + correction + rangeLine(1, 1) + com1;
    QTest::newRow("range ending at 32767") << "32766"
                                           << "32767"
                                           << "10" << QStringList{"32766", "32767", "10"} << 10
                                           << rangeLine(32766, 32767) + portLine(32766) + invalid +
                                                  portLine(32767) + goodLines() + overflowLines();
}

void TestSerialWindow::fieldCorrections()
{
    QFETCH(QString, from);
    QFETCH(QString, to);
    QFETCH(QString, pause);
    QFETCH(QStringList, fieldsAfter);
    QFETCH(int, pauseUsed);
    QFETCH(QString, body);

    WindowRig rig;
    rig.addPrinter(1, FakePrinter::Behaviour::Answer, goodFrame);
    rig.addPrinter(32767, FakePrinter::Behaviour::Answer, goodFrame);
    rig.setFields(from, to, pause);

    QCOMPARE(rig.clickTest(), body);

    QCOMPARE(rig.field("txtComFra")->text(), fieldsAfter.at(0));
    QCOMPARE(rig.field("txtComTil")->text(), fieldsAfter.at(1));
    QCOMPARE(rig.field("txtPause")->text(), fieldsAfter.at(2));
    QCOMPARE(rig.sleeper.pauses, QList<qint32>{pauseUsed});
    QCOMPARE(rig.callsWithButtonOn, 0);
    QVERIFY(rig.cmdTest()->isEnabled());
}

void TestSerialWindow::hostileLine_data()
{
    QTest::addColumn<int>("behaviour");
    QTest::addColumn<QByteArray>("reply");
    // The far end is closed, as a pulled cable, while the sweep waits for the reply.
    QTest::addColumn<bool>("pulledInPause");
    // What the sweep logs for the port, as a pattern.
    QTest::addColumn<QString>("portLines");

    using B = FakePrinter::Behaviour;
    // Cut wherever the sweep stopped reading, and a blank at either end of a piece dropped.
    const QString floodLines =
        QStringLiteral("  Data fra printer =  -->[\x02 A0-9\x03]++<--\r\n  - Skriver OK -\r\n"
                       "     bytes: -->(?:[0-9]{1,2} )++<--\r\n");
    const QString lineGone = QRegularExpression::escape(knownError("comNoOpen"));
    QTest::newRow("flood of frames") << int(B::Flood) << goodFrame << false << floodLines;
    QTest::newRow("cable pulled while the reply arrives")
        << int(B::Flood) << goodFrame << true << lineGone;
    QTest::newRow("half a frame, then the line gone")
        << int(B::HalfThenGone) << goodFrame << false << lineGone;
}

void TestSerialWindow::hostileLine()
{
    QFETCH(int, behaviour);
    QFETCH(QByteArray, reply);
    QFETCH(bool, pulledInPause);
    QFETCH(QString, portLines);

    WindowRig rig;
    FakePrinter &hostile = rig.addPrinter(1, FakePrinter::Behaviour(behaviour), reply);
    FakePrinter &next = rig.addPrinter(2, FakePrinter::Behaviour::Answer, goodFrame);
    QVERIFY(hostile.isValid() && next.isValid());
    rig.onPause = [&](qint16 port) {
        if (port == 1 && pulledInPause)
            hostile.vanish();
    };
    rig.setFields(QStringLiteral("1"), QStringLiteral("2"), QStringLiteral("10"));

    const QString body = rig.clickTest();

    // A line (or lines) for the port, then the next port as usual.
    const QRegularExpression expected(
        QRegularExpression::anchoredPattern(
            QRegularExpression::escape(rangeLine(1, 2) + portLine(1)) + QStringLiteral("(") +
            portLines + QStringLiteral(")") +
            QRegularExpression::escape(portLine(2) + goodLines())),
        QRegularExpression::DotMatchesEverythingOption);
    const QRegularExpressionMatch match = expected.match(body);
    QVERIFY2(match.hasMatch(), qPrintable(body.right(600)));
    // Nothing but the enquiry ever went out on either line.
    QCOMPARE(hostile.received(), QByteArray("\x05"));
    QCOMPARE(next.received(), QByteArray("\x05"));
    QVERIFY(rig.cmdTest()->isEnabled());
}

void TestSerialWindow::verdictOffered_data()
{
    // What the printers on COM1, COM2, ... answer; empty: a printer that stays silent; "-": no
    // port with that number.
    QTest::addColumn<QList<QByteArray>>("replies");
    QTest::addColumn<QString>("announced"); // as the window's announcement tells it
    const QByteArray absent("-");
    QTest::newRow("one printer answers")
        << QList<QByteArray>{goodFrame, {}}
        << QStringLiteral("com1: - Skriver OK -. com2 svarer ikke.");
    QTest::newRow("two printers answer")
        << QList<QByteArray>{goodFrame, "\x02  c000000\x03"}
        << QStringLiteral("com1: - Skriver OK -; "
                          "com2: Off-line, error condition - Tomt for etiketter -.");
    QTest::newRow("no printer answers")
        << QList<QByteArray>{{}, {}}
        << QStringLiteral("Ingen skriver svarte. com1 til com2 svarer ikke. Sjekk at skriveren "
                          "er på og koplet til, prøv en annen hastighet, eller finn den med "
                          "solvarn-sjekk find --serial.");
    QTest::newRow("an answer that is no status, beside a missing port")
        << QList<QByteArray>{"\xf8\x80\x00", absent}
        << QStringLiteral("Ingen skriver svarte. com1 svarte, men ikke med en status: mulig feil "
                          "hastighet, prøv en annen hastighet. com2 finnes ikke. Sjekk at "
                          "skriveren er på og koplet til, prøv en annen hastighet, eller finn "
                          "den med solvarn-sjekk find --serial.");
    QTest::newRow("a printer among missing ports")
        << QList<QByteArray>{absent, goodFrame, absent, absent, {}, absent}
        << QStringLiteral("com2: - Skriver OK -. com5 svarer ikke. com1, com3 til com4 og com6 "
                          "finnes ikke.");
}

void TestSerialWindow::verdictOffered()
{
    QFETCH(QList<QByteArray>, replies);
    QFETCH(QString, announced);

    WindowRig rig;
    for (qsizetype i = 0; i < replies.size(); ++i) {
        const qint16 number = static_cast<qint16>(i + 1);
        if (replies.at(i) == "-")
            continue;
        if (replies.at(i).isEmpty())
            rig.addPrinter(number, FakePrinter::Behaviour::Silent);
        else
            rig.addPrinter(number, FakePrinter::Behaviour::Answer, replies.at(i));
    }
    rig.setFields(QStringLiteral("1"), QString::number(replies.size()), QStringLiteral("10"));
    const Announcer *announcer = rig.window->findChild<Announcer *>();
    QVERIFY(announcer);

    rig.clickTest();
    QWidget *latest = announcer->latest();
    QVERIFY(latest);
    QCOMPARE(QAccessible::queryAccessibleInterface(latest)->text(QAccessible::Name), announced);
    QCOMPARE(QAccessible::queryAccessibleInterface(latest)->role(), QAccessible::Notification);
    // A second sweep tells its own verdict, not the first one's as well.
    rig.clickTest();
    latest = announcer->latest();
    QCOMPARE(QAccessible::queryAccessibleInterface(latest)->text(QAccessible::Name), announced);
}

QTEST_MAIN(TestSerialWindow)
#include "tst_serialwindow.moc"
