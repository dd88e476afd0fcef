#include "fakeplatform.h"
#include "logbox.h"
#include "logpane.h"

#include <QTest>

// What one progress star costs, on an empty log and on a log of 100,000 lines: appending
// must not lay out the whole log again, so the two should cost about the same.
class BenchLogBox : public QObject
{
    Q_OBJECT

private slots:
    void appendStar_data();
    void appendStar();
    void addLine_data();
    void addLine();
};

namespace {
void fill(LogPane &log, int lines)
{
    for (int i = 0; i < lines; ++i)
        log.AddLogLine(QStringLiteral("Prøver com%1 ( 19200 )").arg(i));
}
} // namespace

void BenchLogBox::appendStar_data()
{
    QTest::addColumn<int>("lines");
    QTest::newRow("empty log") << 0;
    QTest::newRow("100000 lines") << 100000;
}

void BenchLogBox::appendStar()
{
    QFETCH(int, lines);
    LogBox box;
    box.resize(400, 300);
    box.show();
    QVERIFY(QTest::qWaitForWindowExposed(&box));
    FakeClipboard clipboard;
    LogPane log(box, clipboard);
    fill(log, lines);
    QBENCHMARK
    {
        log.AppendLog(QStringLiteral("*"));
    }
}

void BenchLogBox::addLine_data()
{
    appendStar_data();
}

void BenchLogBox::addLine()
{
    QFETCH(int, lines);
    LogBox box;
    box.resize(400, 300);
    box.show();
    QVERIFY(QTest::qWaitForWindowExposed(&box));
    FakeClipboard clipboard;
    LogPane log(box, clipboard);
    fill(log, lines);
    QBENCHMARK
    {
        log.AddLogLine(QStringLiteral("  Data fra printer =  -->\u0002  A000120\u0003<--"));
    }
}

QTEST_MAIN(BenchLogBox)
#include "bench_logbox.moc"
