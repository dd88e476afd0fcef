#include "fakeplatform.h"
#include "logbox.h"
#include "logpane.h"

#include <QScrollBar>
#include <QTest>
#include <QTextDocument>

#include <memory>

namespace {
// A log box on screen, already holding the given number of lines. The lines go in as one
// append: the log text and the document are the same as after one line at a time, which would
// take minutes for the long log.
struct ShownLog
{
    explicit ShownLog(int lines)
    {
        QString text;
        for (int i = 0; i < lines; ++i)
            text += QStringLiteral("Prøver com%1 ( 19200 )\r\n").arg(i);
        box.resize(400, 300);
        box.show();
        box.appendLogText(text);
    }

    // As a sweep's log stands in the window: a block for each line at least, the view on the
    // newest.
    bool followsTheEnd(int lines) const
    {
        const QScrollBar *vertical = box.verticalScrollBar();
        return box.document()->blockCount() > lines && vertical->value() == vertical->maximum();
    }

    LogBox box;
    FakeClipboard clipboard;
    LogPane log{box, clipboard};
};
} // namespace

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
    void cleanupTestCase();

private:
    ShownLog &shownLog(int lines);

    std::unique_ptr<ShownLog> m_shown;
    QByteArray m_shownFor;
};

// Qt Test runs a benchmark's function again and again until its timing settles; the row's log
// is made once, at its first run, and grows by what each run appends, as a test's log does.
ShownLog &BenchLogBox::shownLog(int lines)
{
    const QByteArray row = QByteArray(QTest::currentTestFunction()) + ':' + QTest::currentDataTag();
    if (!m_shown || m_shownFor != row) {
        m_shown.reset();
        m_shown = std::make_unique<ShownLog>(lines);
        m_shownFor = row;
    }
    return *m_shown;
}

void BenchLogBox::cleanupTestCase()
{
    m_shown.reset();
}

void BenchLogBox::appendStar_data()
{
    QTest::addColumn<int>("lines");
    QTest::newRow("empty log") << 0;
    QTest::newRow("100000 lines") << 100000;
}

void BenchLogBox::appendStar()
{
    QFETCH(int, lines);
    ShownLog &shown = shownLog(lines);
    QVERIFY(QTest::qWaitForWindowExposed(&shown.box));
    QVERIFY(shown.followsTheEnd(lines));
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
    ShownLog &shown = shownLog(lines);
    QVERIFY(QTest::qWaitForWindowExposed(&shown.box));
    QVERIFY(shown.followsTheEnd(lines));
    LogPane &log = shown.log;
    QBENCHMARK
    {
        log.AddLogLine(QStringLiteral("  Data fra printer =  -->\u0002  A000120\u0003<--"));
    }
}

QTEST_MAIN(BenchLogBox)
#include "bench_logbox.moc"
