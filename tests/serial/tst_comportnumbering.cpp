#include "comportnumbering.h"

#include <QTest>

#include <algorithm>

class TestComPortNumbering : public QObject
{
    Q_OBJECT

private slots:
    void numbering_data();
    void numbering();
    void orderIsStrictAndTotal();
    void systemNumberingHasNoPortBelowOne();
};

void TestComPortNumbering::numbering_data()
{
    QTest::addColumn<QStringList>("listed");
    QTest::addColumn<QStringList>("expected");

    QTest::newRow("none") << QStringList() << QStringList();
    QTest::newRow("numbers compare by value")
        << QStringList{"/dev/ttyS10", "/dev/ttyS2", "/dev/ttyS1"}
        << QStringList{"/dev/ttyS1", "/dev/ttyS2", "/dev/ttyS10"};
    QTest::newRow("on-board and USB ports together")
        << QStringList{"/dev/ttyUSB0", "/dev/ttyS0",    "/dev/ttyACM1",
                       "/dev/ttyACM0", "/dev/ttyUSB10", "/dev/ttyUSB2"}
        << QStringList{"/dev/ttyACM0", "/dev/ttyACM1", "/dev/ttyS0",
                       "/dev/ttyUSB0", "/dev/ttyUSB2", "/dev/ttyUSB10"};
    QTest::newRow("macOS call-out and dial-in devices")
        << QStringList{"/dev/tty.usbserial-2", "/dev/cu.usbserial-10", "/dev/cu.usbserial-2"}
        << QStringList{"/dev/cu.usbserial-2", "/dev/cu.usbserial-10", "/dev/tty.usbserial-2"};
    QTest::newRow("numbers in the middle of a name")
        << QStringList{"/dev/ttyXR12a", "/dev/ttyXR3a", "/dev/ttyXR3"}
        << QStringList{"/dev/ttyXR3", "/dev/ttyXR3a", "/dev/ttyXR12a"};
}

void TestComPortNumbering::numbering()
{
    QFETCH(QStringList, listed);
    QFETCH(QStringList, expected);

    QCOMPARE(comPortByDevicePath(listed, 0), QString());
    QCOMPARE(comPortByDevicePath(listed, -1), QString());
    for (int number = 1; number <= expected.size(); ++number)
        QCOMPARE(comPortByDevicePath(listed, qint16(number)), expected.at(number - 1));
    QCOMPARE(comPortByDevicePath(listed, qint16(expected.size() + 1)), QString());
    QCOMPARE(comPortByDevicePath(listed, 32767), QString());
}

void TestComPortNumbering::orderIsStrictAndTotal()
{
    // std::sort needs a strict weak order; leading zeros must not make two paths equivalent.
    const QStringList paths = {"/dev/ttyS01", "/dev/ttyS1", "/dev/ttyS001",
                               "/dev/ttyS10", "/dev/ttyS",  "/dev/tty",
                               "/dev/ttyS1a", "a",          ""};
    for (const QString &a : paths) {
        QVERIFY2(!devicePathLess(a, a), qPrintable(a));
        for (const QString &b : paths) {
            if (a != b)
                QVERIFY2(devicePathLess(a, b) != devicePathLess(b, a), qPrintable(a + " " + b));
            for (const QString &c : paths) {
                if (devicePathLess(a, b) && devicePathLess(b, c))
                    QVERIFY2(devicePathLess(a, c), qPrintable(a + " " + b + " " + c));
            }
        }
    }
}

void TestComPortNumbering::systemNumberingHasNoPortBelowOne()
{
    const ComPortResolver resolver = systemComPortNumbering().resolve;
    QCOMPARE(resolver(0), QString());
    QCOMPARE(resolver(-5), QString());
#ifndef Q_OS_WIN
    // No machine lists this many ports.
    QCOMPARE(resolver(32767), QString());
#endif
}

QTEST_GUILESS_MAIN(TestComPortNumbering)
#include "tst_comportnumbering.moc"
