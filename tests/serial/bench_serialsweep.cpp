// What the serial sweep costs beyond its pauses, on pseudo-terminals and on numbers with no
// device behind them, with the log box and the repaint a user has.

#include "fakeplatform.h"
#include "fakeprinter.h"
#include "formtesthost.h"
#include "logbox.h"
#include "logpane.h"
#include "serialportcontrol.h"
#include "serialsweep.h"

#include <QComboBox>
#include <QElapsedTimer>
#include <QLineEdit>
#include <QPushButton>
#include <QTest>

#include <map>
#include <memory>

namespace {

constexpr int answerTimeoutMs = 5000;

// The sweep's fields, button and log in a shown window.
struct SweepWindow
{
    explicit SweepWindow(CommControl &comPort)
    {
        comboHastighet->setEditable(true);
        comboHastighet->setEditText(QStringLiteral("9600"));
        txtPause->setText(QStringLiteral("10"));
        logBox->resize(600, 400);
        window.show();
        host = std::make_unique<FormTestHost>(FormFields{txtComFra,
                                                         txtComTil,
                                                         comboHastighet,
                                                         txtPause,
                                                         nullptr,
                                                         cmdTest,
                                                         &window,
                                                         nullptr,
                                                         {},
                                                         {}});
        sweep = std::make_unique<SerialSweep>(*host, comPort, sleeper, log);
    }

    void setRange(int from, int to)
    {
        txtComFra->setText(QString::number(from));
        txtComTil->setText(QString::number(to));
    }

    QWidget window;
    QLineEdit *txtComFra = new QLineEdit(&window);
    QLineEdit *txtComTil = new QLineEdit(&window);
    QComboBox *comboHastighet = new QComboBox(&window);
    QLineEdit *txtPause = new QLineEdit(&window);
    QPushButton *cmdTest = new QPushButton(&window);
    LogBox *logBox = new LogBox(&window);
    FakeClipboard clipboard;
    LogPane log{*logBox, clipboard};
    FakeSleeper sleeper;
    std::unique_ptr<FormTestHost> host;
    std::unique_ptr<SerialSweep> sweep;
};

} // namespace

class BenchSerialSweep : public QObject
{
    Q_OBJECT

private slots:
    void portBeyondPause();
    void emptyPorts();
    void emptyPortsSystemNumbering();
};

void BenchSerialSweep::portBeyondPause()
{
    // Ports with a printer that answers at once; the pause lasts until its reply waits at the
    // port, and that time is taken out: what is left is open, enquiry, read, close, the log
    // lines and the repaint.
    constexpr int ports = 16;
    constexpr int sweeps = 20;
    std::map<qint16, std::unique_ptr<FakePrinter>> printers;
    for (qint16 number = 1; number <= ports; ++number) {
        printers[number] =
            std::make_unique<FakePrinter>(FakePrinter::Behaviour::Answer, "\x02  A000120\x03");
        QVERIFY(printers[number]->isValid());
    }
    SerialPortControl control([&](qint16 number) {
        const auto printer = printers.find(number);
        return printer == printers.end() ? QString() : printer->second->devicePath();
    });
    SweepWindow rig(control);
    rig.setRange(1, ports);

    QElapsedTimer paused;
    qint64 pausedNs = 0;
    int answers = 0;
    rig.sleeper.onSleep = [&] {
        paused.start();
        if (!printers.at(control.CommPort())
                 ->waitUntilAnswered(answers / ports + 1, answerTimeoutMs))
            qWarning("no answer on com%d", control.CommPort());
        ++answers;
        pausedNs += paused.nsecsElapsed();
    };

    qint64 totalNs = 0;
    for (int sweep = 0; sweep < sweeps; ++sweep) {
        rig.log.cmdBlankut_Click();
        QElapsedTimer elapsed;
        elapsed.start();
        rig.sweep->TestSerialPrinter(rig.host->serialFields());
        totalNs += elapsed.nsecsElapsed();
    }
    QVERIFY(rig.log.text().contains(QStringLiteral("- Skriver OK -")));
    QCOMPARE(answers, ports * sweeps);

    const double msPerPort = double(totalNs - pausedNs) / 1e6 / (ports * sweeps);
    qInfo("one port beyond the pause: %.3f ms (%d ports)", msPerPort, ports * sweeps);
    QTest::setBenchmarkResult(msPerPort * 1e6, QTest::WalltimeNanoseconds);
}

void BenchSerialSweep::emptyPorts()
{
    // 256 numbers whose device paths do not exist: every open fails in the system.
    SerialPortControl control(
        [](qint16 number) { return QStringLiteral("/dev/pts/absent-") + QString::number(number); });
    SweepWindow rig(control);
    rig.setRange(1, 256);

    QBENCHMARK
    {
        rig.log.cmdBlankut_Click();
        rig.sweep->TestSerialPrinter(rig.host->serialFields());
    }
    QCOMPARE(rig.log.text().count(QStringLiteral("  comPortInvalid.")), 256);
}

void BenchSerialSweep::emptyPortsSystemNumbering()
{
    // Numbers beyond every port the system lists, on a control made afresh for each sweep, as
    // a user's first sweep has it: one listing of the system's ports included.
    std::unique_ptr<SerialPortControl> control;
    QBENCHMARK
    {
        control = std::make_unique<SerialPortControl>();
        SweepWindow rig(*control);
        rig.setRange(1001, 1256);
        rig.sweep->TestSerialPrinter(rig.host->serialFields());
        QCOMPARE(rig.log.text().count(QStringLiteral("  comPortInvalid.")), 256);
    }
}

QTEST_MAIN(BenchSerialSweep)
#include "bench_serialsweep.moc"
