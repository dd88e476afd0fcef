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
// A log box on screen, already holding the given number of lines.
struct ShownLog
{
    explicit ShownLog(int lines)
    {
        box.resize(400, 300);
        box.show();
        for (int i = 0; i < lines; ++i)
            log.AddLogLine(QStringLiteral("Prøver com%1 ( 19200 )").arg(i));
    }

    LogBox box;
    FakeClipboard clipboard;
    LogPane log{box, clipboard};
};
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
    ShownLog shown(lines);
    QVERIFY(QTest::qWaitForWindowExposed(&shown.box));
    LogPane &log = shown.log;
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
    ShownLog shown(lines);
    QVERIFY(QTest::qWaitForWindowExposed(&shown.box));
    LogPane &log = shown.log;
    QBENCHMARK
    {
        log.AddLogLine(QStringLiteral("  Data fra printer =  -->\u0002  A000120\u0003<--"));
    }
}

QTEST_MAIN(BenchLogBox)
#include "bench_logbox.moc"
