#include "resizerule.h"

#include <QTest>

class TestResizeRule : public QObject
{
    Q_OBJECT

private slots:
    void bounds_data();
    void bounds();
};

void TestResizeRule::bounds_data()
{
    QTest::addColumn<double>("outerWidth");
    QTest::addColumn<double>("outerHeight");
    QTest::addColumn<double>("width");  // -1: left as it was
    QTest::addColumn<double>("height"); // -1: left as it was

    QTest::newRow("width 460 too narrow") << 460.0 << 5000.0 << -1.0 << 1880.0;
    QTest::newRow("width 461 smallest box") << 461.0 << 5000.0 << 21.0 << 1880.0;
    QTest::newRow("height 3200 too low") << 5000.0 << 3200.0 << 4560.0 << -1.0;
    QTest::newRow("height 3201 smallest box") << 5000.0 << 3201.0 << 4560.0 << 81.0;
    QTest::newRow("9000 x 9000") << 9000.0 << 9000.0 << 8560.0 << 5880.0;
    QTest::newRow("minimised") << 0.0 << 0.0 << -1.0 << -1.0;
    QTest::newRow("negative") << -3000.0 << -1.0 << -1.0 << -1.0;
    QTest::newRow("fraction just above") << 460.5 << 3200.25 << 20.5 << 80.25;
    QTest::newRow("huge") << 1e12 << 1e12 << 1e12 - 440 << 1e12 - 3120;
}

void TestResizeRule::bounds()
{
    QFETCH(double, outerWidth);
    QFETCH(double, outerHeight);
    QFETCH(double, width);
    QFETCH(double, height);

    const LogBoxResize resized = logBoxResize(outerWidth, outerHeight);
    QCOMPARE(resized.width.value_or(-1), width);
    QCOMPARE(resized.height.value_or(-1), height);
}

QTEST_APPLESS_MAIN(TestResizeRule)
#include "tst_resizerule.moc"
