#include "portcontrolbase.h"
#include "ptypair.h"
#include "runtimeerror.h"
#include "serialportcontrol.h"

#include <QSerialPort>
#include <QTest>

#include <atomic>
#include <fcntl.h>
#include <memory>
#include <poll.h>
#include <termios.h>
#include <thread>
#include <unistd.h>

namespace {

constexpr int arrivalTimeoutMs = 5000;
const QString enquiry(QChar(5));

// The error number a call throws, or 0 when it throws none.
template <typename Call> qint32 errorOf(Call &&call)
{
    try {
        call();
    } catch (const RuntimeError &error) {
        return error.number;
    }
    return 0;
}

// Numbers 1 and 2 are the two pseudo-terminals, 3 a device path that does not exist; no other
// number has a port.
ComPortResolver numbering(const PtyPair &first, const PtyPair &second)
{
    return [&first, &second](qint16 number) -> QString {
        switch (number) {
        case 1:
            return first.devicePath();
        case 2:
            return second.devicePath();
        case 3:
            return QStringLiteral("/dev/pts/no-such-terminal");
        default:
            return {};
        }
    };
}

// A control over no device that keeps each line the base puts on the open port. Like a port
// without 1.5 stop bits, it refuses them, after taking what it can of the rest.
class LineKeepingControl : public PortControlBase
{
public:
    LineKeepingControl()
        : PortControlBase(ComPortNumbering{{}, [](qint16) { return QStringLiteral("COM1"); }})
    {
    }

    bool PortOpen() const override { return m_open; }

    QList<SerialSettings> lines;

private:
    void openDevice(const QString &) override
    {
        m_open = true;
        lines.append(lineSettings());
    }
    void closeDevice() override { m_open = false; }
    bool applyToOpenPort(const SerialSettings &settings) override
    {
        lines.append(settings);
        return settings.stopBits != SerialLine::OneAndHalfStop;
    }
    void write(const QByteArray &) override {}
    void takeArrived() override {}
    qint64 received() const override { return 0; }
    QByteArray takeReceived() override { return {}; }

    bool m_open = false;
};

speed_t lineSpeed(const PtyPair &line)
{
    termios settings{};
    tcgetattr(line.slaveFd(), &settings);
    return cfgetospeed(&settings);
}

} // namespace

class TestSerialPortControl : public QObject
{
    Q_OBJECT

private slots:
    void init();
    void cleanup();

    void enquiryReachesTheFarEndAtOnce();
    void replyIsSeenWithoutEventLoop();
    void bytesPassUntranslated();
    void closesAndReopens();
    void portHeldByAnotherOpener();
    void portOpenTwice();
    void numbersWithoutPort_data();
    void numbersWithoutPort();
    void closedPort_data();
    void closedPort();
    void badSettings_data();
    void badSettings();
    void settingsReachTheLine();
    void speedChangesOnOpenPort();
    void settingsOnOpenPort_data();
    void settingsOnOpenPort();
    void portNumberCannotChangeWhileOpen();
    void farEndVanishes_data();
    void farEndVanishes();
    void receiveBufferIsBounded();

private:
    std::unique_ptr<PtyPair> m_first;
    std::unique_ptr<PtyPair> m_second;
    std::unique_ptr<SerialPortControl> m_control;
};

void TestSerialPortControl::init()
{
    m_first = std::make_unique<PtyPair>();
    m_second = std::make_unique<PtyPair>();
    QVERIFY(m_first->isValid());
    QVERIFY(m_second->isValid());
    m_control = std::make_unique<SerialPortControl>(numbering(*m_first, *m_second));
}

void TestSerialPortControl::cleanup()
{
    m_control.reset();
    m_first.reset();
    m_second.reset();
}

void TestSerialPortControl::enquiryReachesTheFarEndAtOnce()
{
    m_control->setSettings(QStringLiteral("19200,n,8,1"));
    m_control->setCommPort(1);
    m_control->setPortOpen(true);
    QVERIFY(m_control->PortOpen());

    m_control->setOutput(enquiry);

    // No event loop runs between the call and the far end reading.
    QCOMPARE(m_first->receiveAtFarEnd(arrivalTimeoutMs), QByteArray("\x05"));
    QCOMPARE(m_first->receiveAtFarEnd(50), QByteArray());
}

void TestSerialPortControl::replyIsSeenWithoutEventLoop()
{
    m_control->setCommPort(1);
    m_control->setPortOpen(true);
    QCOMPARE(m_control->InBufferCount(), 0);

    const QByteArray reply("\x02  A000120\x03");
    QVERIFY(m_first->sendFromFarEnd(reply));
    QVERIFY(m_first->waitUntilWaitingAtPort(int(reply.size()), arrivalTimeoutMs));
    QCOMPARE(m_control->InBufferCount(), int(reply.size()));

    // What arrives between the count and the read is read as well.
    QVERIFY(m_first->sendFromFarEnd("more"));
    QVERIFY(m_first->waitUntilWaitingAtPort(4, arrivalTimeoutMs));
    QCOMPARE(m_control->Input(), QString::fromLatin1(reply + "more"));
    QCOMPARE(m_control->InBufferCount(), 0);
    QCOMPARE(m_control->Input(), QString());
}

void TestSerialPortControl::bytesPassUntranslated()
{
    m_control->setCommPort(1);
    m_control->setPortOpen(true);

    // Every byte value both ways, line ends and Latin-1 letters unchanged.
    QByteArray all;
    for (int byte = 0; byte < 256; ++byte)
        all.append(char(byte));
    m_control->setOutput(QString::fromLatin1(all));
    QByteArray received;
    while (received.size() < all.size()) {
        const QByteArray piece = m_first->receiveAtFarEnd(arrivalTimeoutMs);
        QVERIFY(!piece.isEmpty());
        received += piece;
    }
    QCOMPARE(received, all);

    QVERIFY(m_first->sendFromFarEnd(all));
    QVERIFY(m_first->waitUntilWaitingAtPort(int(all.size()), arrivalTimeoutMs));
    QCOMPARE(m_control->Input(), QString::fromLatin1(all));
}

void TestSerialPortControl::closesAndReopens()
{
    m_control->setCommPort(1);
    m_control->setPortOpen(true);
    m_control->setPortOpen(false);
    QVERIFY(!m_control->PortOpen());
    // Closing a closed port is no error.
    m_control->setPortOpen(false);

    m_control->setCommPort(2);
    m_control->setPortOpen(true);
    QVERIFY(m_control->PortOpen());
    QCOMPARE(m_control->CommPort(), qint16(2));
    m_control->setOutput(enquiry);
    QCOMPARE(m_second->receiveAtFarEnd(arrivalTimeoutMs), QByteArray("\x05"));
    QCOMPARE(m_first->receiveAtFarEnd(50), QByteArray());
}

void TestSerialPortControl::portHeldByAnotherOpener()
{
    QSerialPort other;
    other.setPortName(m_first->devicePath());
    QVERIFY(other.open(QIODevice::ReadWrite));

    m_control->setCommPort(1);
    QCOMPARE(errorOf([&] { m_control->setPortOpen(true); }), CommControl::comPortAlreadyOpen);
    QVERIFY(!m_control->PortOpen());

    // Once the other opener lets go, the port opens.
    other.close();
    m_control->setPortOpen(true);
    QVERIFY(m_control->PortOpen());
}

void TestSerialPortControl::portOpenTwice()
{
    m_control->setCommPort(1);
    m_control->setPortOpen(true);
    QCOMPARE(errorOf([&] { m_control->setPortOpen(true); }), CommControl::comPortAlreadyOpen);
    QVERIFY(m_control->PortOpen());
}

void TestSerialPortControl::numbersWithoutPort_data()
{
    QTest::addColumn<int>("number");

    QTest::newRow("device path that does not exist") << 3;
    QTest::newRow("number the numbering does not know") << 4;
    QTest::newRow("largest number") << 32767;
}

void TestSerialPortControl::numbersWithoutPort()
{
    QFETCH(int, number);

    m_control->setCommPort(qint16(number));
    QCOMPARE(errorOf([&] { m_control->setPortOpen(true); }), CommControl::comPortInvalid);
    QVERIFY(!m_control->PortOpen());
    QCOMPARE(m_control->CommPort(), qint16(number));
}

void TestSerialPortControl::closedPort_data()
{
    QTest::addColumn<bool>("wasOpen");
    QTest::newRow("never opened") << false;
    QTest::newRow("closed") << true;
}

void TestSerialPortControl::closedPort()
{
    QFETCH(bool, wasOpen);

    m_control->setCommPort(1);
    if (wasOpen) {
        m_control->setPortOpen(true);
        m_control->setPortOpen(false);
    }
    QCOMPARE(errorOf([&] { m_control->setOutput(enquiry); }), CommControl::comPortNotOpen);
    QCOMPARE(errorOf([&] { m_control->InBufferCount(); }), CommControl::comPortNotOpen);
    QCOMPARE(errorOf([&] { m_control->Input(); }), CommControl::comPortNotOpen);
    QCOMPARE(m_first->receiveAtFarEnd(50), QByteArray());

    // Numbers below 1 are refused as they are set.
    QCOMPARE(errorOf([&] { m_control->setCommPort(0); }), CommControl::comPortInvalid);
    QCOMPARE(errorOf([&] { m_control->setCommPort(-1); }), CommControl::comPortInvalid);
    QCOMPARE(m_control->CommPort(), qint16(1));
}

void TestSerialPortControl::badSettings_data()
{
    QTest::addColumn<QString>("settings");
    QTest::addColumn<bool>("open");

    QTest::newRow("letters for a speed") << "fast,n,8,1" << false;
    QTest::newRow("empty speed") << ",n,8,1" << false;
    QTest::newRow("unknown parity") << "9600,q,8,1" << false;
    QTest::newRow("no stop bits") << "9600,n,8" << false;
    QTest::newRow("letters for a speed, port open") << "fast,n,8,1" << true;
}

void TestSerialPortControl::badSettings()
{
    QFETCH(QString, settings);
    QFETCH(bool, open);

    m_control->setSettings(QStringLiteral("19200,n,8,1"));
    m_control->setCommPort(1);
    if (open)
        m_control->setPortOpen(true);

    QCOMPARE(errorOf([&] { m_control->setSettings(settings); }), CommControl::invalidPropertyValue);
    QCOMPARE(m_control->Settings(), QStringLiteral("19200,n,8,1"));
    if (!open)
        m_control->setPortOpen(true);
    QCOMPARE(lineSpeed(*m_first), speed_t(B19200));
}

void TestSerialPortControl::settingsReachTheLine()
{
    m_control->setSettings(QStringLiteral("1200,e,7,2"));
    m_control->setCommPort(1);
    m_control->setPortOpen(true);

    // A pseudo-terminal keeps speed and stop bits but always runs 8 data bits, no parity.
    termios line{};
    QCOMPARE(tcgetattr(m_first->slaveFd(), &line), 0);
    QCOMPARE(cfgetospeed(&line), speed_t(B1200));
    QVERIFY(line.c_cflag & CSTOPB);
    QVERIFY(!(line.c_cflag & CRTSCTS));
    QVERIFY(!(line.c_iflag & (IXON | IXOFF)));
}

void TestSerialPortControl::speedChangesOnOpenPort()
{
    m_control->setSettings(QStringLiteral("9600,n,8,1"));
    m_control->setCommPort(1);
    m_control->setPortOpen(true);
    QCOMPARE(lineSpeed(*m_first), speed_t(B9600));

    m_control->setSettings(QStringLiteral("38400,n,8,1"));
    QCOMPARE(lineSpeed(*m_first), speed_t(B38400));
    QCOMPARE(m_control->Settings(), QStringLiteral("38400,n,8,1"));
}

void TestSerialPortControl::settingsOnOpenPort_data()
{
    QTest::addColumn<QString>("settings");
    QTest::addColumn<qint32>("error");
    QTest::addColumn<QString>("kept"); // the settings text afterwards
    QTest::addColumn<qint32>("speed"); // the line's afterwards
    QTest::addColumn<int>("stopBits");

    QTest::newRow("taken at once")
        << "38400,n,8,2" << 0 << "38400,n,8,2" << 38400 << int(SerialLine::TwoStop);
    QTest::newRow("refused: the old ones kept, on the line too")
        << "38400,n,8,1.5" << CommControl::invalidPropertyValue << "19200,n,8,1" << 19200
        << int(SerialLine::OneStop);
}

void TestSerialPortControl::settingsOnOpenPort()
{
    QFETCH(QString, settings);
    QFETCH(qint32, error);
    QFETCH(QString, kept);
    QFETCH(qint32, speed);
    QFETCH(int, stopBits);

    LineKeepingControl control;
    control.setSettings(QStringLiteral("19200,n,8,1"));
    control.setPortOpen(true);
    QCOMPARE(errorOf([&] { control.setSettings(settings); }), error);
    QCOMPARE(control.Settings(), kept);
    QVERIFY(control.PortOpen());
    QCOMPARE(control.lines.constLast().baudRate, speed);
    QCOMPARE(int(control.lines.constLast().stopBits), stopBits);
}

void TestSerialPortControl::portNumberCannotChangeWhileOpen()
{
    m_control->setCommPort(1);
    m_control->setPortOpen(true);
    QCOMPARE(errorOf([&] { m_control->setCommPort(2); }), CommControl::comPortAlreadyOpen);
    QCOMPARE(m_control->CommPort(), qint16(1));
}

void TestSerialPortControl::farEndVanishes_data()
{
    QTest::addColumn<QString>("call");
    QTest::newRow("count") << "InBufferCount";
    QTest::newRow("read") << "Input";
    QTest::newRow("enquiry") << "Output";
}

void TestSerialPortControl::farEndVanishes()
{
    QFETCH(QString, call);

    m_control->setCommPort(1);
    m_control->setPortOpen(true);
    m_first->closeFarEnd();

    const qint32 error = errorOf([&] {
        if (call == QLatin1String("InBufferCount"))
            m_control->InBufferCount();
        else if (call == QLatin1String("Input"))
            m_control->Input();
        else
            m_control->setOutput(enquiry);
    });
    QCOMPARE(error, CommControl::comNoOpen);
    // The control lets go of the failed device: the next port can be opened.
    QVERIFY(!m_control->PortOpen());
    m_control->setCommPort(2);
    m_control->setPortOpen(true);
    QVERIFY(m_control->PortOpen());
}

void TestSerialPortControl::receiveBufferIsBounded()
{
    m_control->setCommPort(1);
    m_control->setPortOpen(true);

    // A device that sends without end, several times what the buffer holds.
    struct Device
    {
        explicit Device(int master)
            : thread([this, master] {
                // Never blocked in a write, so that it sees the stop.
                ::fcntl(master, F_SETFL, ::fcntl(master, F_GETFL) | O_NONBLOCK);
                const QByteArray block(4096, 'A');
                while (!stop) {
                    pollfd fd{master, POLLOUT, 0};
                    if (::poll(&fd, 1, 10) > 0)
                        (void)::write(master, block.constData(), size_t(block.size()));
                }
            })
        {
        }
        ~Device()
        {
            stop = true;
            thread.join();
        }
        std::atomic<bool> stop{false};
        std::thread thread;
    } device(m_first->masterFd());

    // The control holds at most 32767 characters.
    constexpr int bound = 32767;
    int count = 0;
    QDeadlineTimer deadline(arrivalTimeoutMs);
    while (count < bound && !deadline.hasExpired()) {
        count = m_control->InBufferCount();
        QVERIFY2(count <= bound, qPrintable(QString::number(count)));
    }
    QCOMPARE(count, bound);
    QCOMPARE(m_control->InBufferCount(), bound);
    // Reading makes room for more.
    QCOMPARE(m_control->Input(), QString(bound, QLatin1Char('A')));
}

QTEST_GUILESS_MAIN(TestSerialPortControl)
#include "tst_serialportcontrol.moc"
