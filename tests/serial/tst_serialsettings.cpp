#include "serialsettings.h"

#include <QSerialPort>
#include <QTest>

class TestSerialSettings : public QObject
{
    Q_OBJECT

private slots:
    void accepted_data();
    void accepted();
    void refused_data();
    void refused();
};

void TestSerialSettings::accepted_data()
{
    QTest::addColumn<QString>("text");
    QTest::addColumn<int>("baudRate");
    QTest::addColumn<int>("parity");
    QTest::addColumn<int>("dataBits");
    QTest::addColumn<int>("stopBits");

    QTest::newRow("the sweep's 9600") << "9600,n,8,1" << 9600 << int(QSerialPort::NoParity)
                                      << int(QSerialPort::Data8) << int(QSerialPort::OneStop);
    QTest::newRow("the list's 256000") << "256000,n,8,1" << 256000 << int(QSerialPort::NoParity)
                                       << int(QSerialPort::Data8) << int(QSerialPort::OneStop);
    QTest::newRow("110, the slowest listed")
        << "110,n,8,1" << 110 << int(QSerialPort::NoParity) << int(QSerialPort::Data8)
        << int(QSerialPort::OneStop);
    QTest::newRow("upper-case parity") << "19200,N,8,1" << 19200 << int(QSerialPort::NoParity)
                                       << int(QSerialPort::Data8) << int(QSerialPort::OneStop);
    QTest::newRow("even, 7, 2") << "1200,e,7,2" << 1200 << int(QSerialPort::EvenParity)
                                << int(QSerialPort::Data7) << int(QSerialPort::TwoStop);
    QTest::newRow("odd, 5, 1.5") << "300,O,5,1.5" << 300 << int(QSerialPort::OddParity)
                                 << int(QSerialPort::Data5) << int(QSerialPort::OneAndHalfStop);
    QTest::newRow("mark, 6") << "600,m,6,1" << 600 << int(QSerialPort::MarkParity)
                             << int(QSerialPort::Data6) << int(QSerialPort::OneStop);
    QTest::newRow("space") << "2400,s,8,1" << 2400 << int(QSerialPort::SpaceParity)
                           << int(QSerialPort::Data8) << int(QSerialPort::OneStop);
    QTest::newRow("a speed off the list") << "12345,n,8,1" << 12345 << int(QSerialPort::NoParity)
                                          << int(QSerialPort::Data8) << int(QSerialPort::OneStop);
    QTest::newRow("leading zeros") << "09600,n,8,1" << 9600 << int(QSerialPort::NoParity)
                                   << int(QSerialPort::Data8) << int(QSerialPort::OneStop);
    QTest::newRow("largest 32-bit speed")
        << "2147483647,n,8,1" << 2147483647 << int(QSerialPort::NoParity) << int(QSerialPort::Data8)
        << int(QSerialPort::OneStop);
}

void TestSerialSettings::accepted()
{
    QFETCH(QString, text);
    QFETCH(int, baudRate);
    QFETCH(int, parity);
    QFETCH(int, dataBits);
    QFETCH(int, stopBits);

    const auto settings = parseSerialSettings(text);
    QVERIFY(settings);
    QCOMPARE(settings->baudRate, baudRate);
    QCOMPARE(int(settings->parity), parity);
    QCOMPARE(int(settings->dataBits), dataBits);
    QCOMPARE(int(settings->stopBits), stopBits);
}

void TestSerialSettings::refused_data()
{
    QTest::addColumn<QString>("text");

    QTest::newRow("empty speed") << ",n,8,1";
    QTest::newRow("letters for a speed") << "fast,n,8,1";
    QTest::newRow("blank after the speed") << "9600 ,n,8,1";
    QTest::newRow("blank before the speed") << " 9600,n,8,1";
    QTest::newRow("negative speed") << "-9600,n,8,1";
    QTest::newRow("signed speed") << "+9600,n,8,1";
    QTest::newRow("speed 0") << "0,n,8,1";
    QTest::newRow("speed beyond 32 bits") << "2147483648,n,8,1";
    QTest::newRow("speed with a fraction") << "9600.5,n,8,1";
    QTest::newRow("unknown parity") << "9600,x,8,1";
    QTest::newRow("parity word") << "9600,none,8,1";
    QTest::newRow("4 data bits") << "9600,n,4,1";
    QTest::newRow("9 data bits") << "9600,n,9,1";
    QTest::newRow("3 stop bits") << "9600,n,8,3";
    QTest::newRow("too few parts") << "9600,n,8";
    QTest::newRow("too many parts") << "9600,n,8,1,1";
    QTest::newRow("empty") << "";
    QTest::newRow("semicolons") << "9600;n;8;1";
}

void TestSerialSettings::refused()
{
    QFETCH(QString, text);

    QVERIFY(!parseSerialSettings(text));
}

QTEST_APPLESS_MAIN(TestSerialSettings)
#include "tst_serialsettings.moc"
