#include "fieldnumber.h"
#include "runtimeerror.h"

#include <QTest>

class TestFieldNumber : public QObject
{
    Q_OBJECT

private slots:
    void reads_data();
    void reads();
    void overflows_data();
    void overflows();
};

void TestFieldNumber::reads_data()
{
    QTest::addColumn<QString>("text");
    QTest::addColumn<int>("number");

    QTest::newRow("plain") << "350" << 350;
    QTest::newRow("empty") << "" << 0;
    QTest::newRow("blanks only") << "   " << 0;
    QTest::newRow("letters") << "abc" << 0;
    QTest::newRow("letters after digits") << "12abc" << 12;
    QTest::newRow("blank inside") << "1 2" << 12;
    QTest::newRow("tab and line feed inside") << "\t1\n2 0" << 120;
    QTest::newRow("carriage return ends the number") << "1\r2" << 1;
    QTest::newRow("leading blanks, minus, half to even") << "  -3.5" << -4;
    QTest::newRow("blank between sign and digits") << "- 3" << -3;
    QTest::newRow("plus sign") << "+7" << 7;
    QTest::newRow("a second sign ends it") << "-+5" << 0;
    QTest::newRow("sign after digits ends it") << "5-3" << 5;
    QTest::newRow("2.5 to even 2") << "2.5" << 2;
    QTest::newRow("3.5 to even 4") << "3.5" << 4;
    QTest::newRow("0.5 to even 0") << "0.5" << 0;
    QTest::newRow("-0.5 to even 0") << "-0.5" << 0;
    QTest::newRow("-2.5 to even -2") << "-2.5" << -2;
    QTest::newRow("just above a half rounds up") << "2.500001" << 3;
    QTest::newRow("just below a half rounds down") << "2.4999999" << 2;
    QTest::newRow("half with trailing zeros is still a half") << "2.5000" << 2;
    QTest::newRow("fraction only") << ".7" << 1;
    QTest::newRow("point only") << "." << 0;
    QTest::newRow("minus only") << "-" << 0;
    QTest::newRow("second point ends it") << "1.2.9" << 1;
    QTest::newRow("blank inside the fraction") << "2. 5" << 2;
    QTest::newRow("comma is no decimal sign") << "2,9" << 2;
    QTest::newRow("exponent is not read") << "1e2" << 1;
    QTest::newRow("hexadecimal prefix is not read") << "&H10" << 0;
    QTest::newRow("leading zeros") << "000000000000042" << 42;
    QTest::newRow("largest") << "32767" << 32767;
    QTest::newRow("largest, fraction below a half") << "32767.4" << 32767;
    QTest::newRow("smallest") << "-32768" << -32768;
    QTest::newRow("smallest, half goes to even") << "-32768.5" << -32768;
    QTest::newRow("digits beyond ASCII end it") << "1٣" << 1;
}

void TestFieldNumber::reads()
{
    QFETCH(QString, text);
    QFETCH(int, number);

    // A row that throws fails by itself, and the rows after it still run.
    int read = 0;
    try {
        read = readFieldNumber(text);
    } catch (const RuntimeError &error) {
        QFAIL(qPrintable(QStringLiteral("threw %1 (%2)").arg(error.number).arg(error.description)));
    } catch (...) {
        QFAIL("threw something other than a RuntimeError");
    }
    QCOMPARE(read, number);
}

void TestFieldNumber::overflows_data()
{
    QTest::addColumn<QString>("text");

    QTest::newRow("32768") << "32768";
    QTest::newRow("32767.5 rounds to 32768") << "32767.5";
    QTest::newRow("-32769") << "-32769";
    QTest::newRow("-32768.6") << "-32768.6";
    QTest::newRow("blanks do not hide digits") << "3 2 7 6 8";
    QTest::newRow("forty thousand") << "40000";
    QTest::newRow("many digits") << "123456789012345678901234567890";
}

void TestFieldNumber::overflows()
{
    QFETCH(QString, text);

    try {
        const qint16 number = readFieldNumber(text);
        QFAIL(qPrintable(QStringLiteral("read as %1").arg(number)));
    } catch (const RuntimeError &error) {
        QCOMPARE(error.number, RuntimeErrors::Overflow);
        QCOMPARE(error.description, QStringLiteral("Overflow"));
    } catch (...) {
        QFAIL("threw something other than a RuntimeError");
    }
}

QTEST_APPLESS_MAIN(TestFieldNumber)
#include "tst_fieldnumber.moc"
