#include "fakeplatform.h"
#include "logbox.h"
#include "logpane.h"

#include <QScrollBar>
#include <QTest>
#include <QTextBlock>

#include <functional>

using LogScript = std::function<void(LogPane &)>;
Q_DECLARE_METATYPE(LogScript)

class TestLogBox : public QObject
{
    Q_OBJECT

private slots:
    void operations_data();
    void operations();
    void clearLeavesClipboardAlone();
    void copy_data();
    void copy();
    void displayJoinsLineEndSplitOverTwoAppends();
    void viewFollowsNewestLineOnlyAtEnd();
    void userCannotType();
    void longLogIsKeptWhole();
};

void TestLogBox::operations_data()
{
    QTest::addColumn<LogScript>("script");
    QTest::addColumn<QString>("expected");

    QTest::newRow("empty line") << LogScript([](LogPane &log) { log.AddLogLine(QString()); })
                                << QStringLiteral("\r\n");
    QTest::newRow("abc") << LogScript([](LogPane &log) { log.AddLogLine(QStringLiteral("abc")); })
                         << QStringLiteral("abc\r\n");
    QTest::newRow("stars then X") << LogScript([](LogPane &log) {
        log.AddLogLine(QStringLiteral("Forsøker"));
        for (int i = 0; i < 3; ++i)
            log.AppendLog(QStringLiteral("*"));
        log.AddLogLine(QStringLiteral("X"));
    }) << QStringLiteral("Forsøker\r\n***X\r\n");
    QTest::newRow("lone CR stays") << LogScript([](LogPane &log) {
        log.AddLogLine(QStringLiteral("OK: Printer OK\rA000120"));
    }) << QStringLiteral("OK: Printer OK\rA000120\r\n");
    QTest::newRow("clear empty") << LogScript([](LogPane &log) { log.cmdBlankut_Click(); })
                                 << QString();
    QTest::newRow("clear then write") << LogScript([](LogPane &log) {
        log.AddLogLine(QStringLiteral("gammel"));
        log.cmdBlankut_Click();
        log.AppendLog(QStringLiteral("ny"));
    }) << QStringLiteral("ny");
    QTest::newRow("control characters kept") << LogScript([](LogPane &log) {
        log.AddLogLine(QStringLiteral("-->") + QChar(2) + QStringLiteral("  A") + QChar(3) +
                       QStringLiteral("<--"));
    }) << QStringLiteral("-->\u0002  A\u0003<--\r\n");
}

void TestLogBox::operations()
{
    QFETCH(LogScript, script);
    QFETCH(QString, expected);

    LogBox box;
    FakeClipboard clipboard;
    LogPane log(box, clipboard);
    script(log);
    QCOMPARE(log.text(), expected);
}

void TestLogBox::clearLeavesClipboardAlone()
{
    LogBox box;
    FakeClipboard clipboard;
    LogPane log(box, clipboard);
    log.AddLogLine(QStringLiteral("abc"));
    log.cmdBlankut_Click();
    QCOMPARE(clipboard.clears, 0);
    QCOMPARE(clipboard.sets, 0);
    QCOMPARE(clipboard.text, QStringLiteral("(untouched)"));
    QVERIFY(box.toPlainText().isEmpty());
}

void TestLogBox::copy_data()
{
    QTest::addColumn<QString>("log");
    QTest::newRow("empty log empties the clipboard") << QString();
    QTest::newRow("CR LF and lone CR unchanged")
        << QStringLiteral("START\r\nFEIL: Off line\rc000000\r\n\r\n");
    QTest::newRow("Norwegian letters") << QStringLiteral("Åpner porter manuelt\r\nære øl\r\n");
}

void TestLogBox::copy()
{
    QFETCH(QString, log);

    LogBox box;
    FakeClipboard clipboard;
    LogPane pane(box, clipboard);
    pane.AppendLog(log);

    pane.comKopiperTekst_Click();
    QCOMPARE(clipboard.text, log);
    QCOMPARE(clipboard.clears, 1);

    pane.comKopiperTekst_Click();
    QCOMPARE(clipboard.text, log);
    QCOMPARE(pane.text(), log);
}

void TestLogBox::displayJoinsLineEndSplitOverTwoAppends()
{
    LogBox box;
    box.appendLogText(QStringLiteral("a\r"));
    box.appendLogText(QStringLiteral("\nb\rc\r\n"));
    QCOMPARE(box.logText(), QStringLiteral("a\r\nb\rc\r\n"));
    QCOMPARE(box.toPlainText(), QStringLiteral("a\nb\nc\n"));
}

void TestLogBox::viewFollowsNewestLineOnlyAtEnd()
{
    LogBox box;
    box.resize(300, 150);
    box.show();
    QVERIFY(QTest::qWaitForWindowExposed(&box));
    for (int i = 0; i < 200; ++i)
        box.appendLogText(QStringLiteral("linje %1\r\n").arg(i));

    QScrollBar *bar = box.verticalScrollBar();
    QVERIFY(bar->maximum() > 0);
    QCOMPARE(bar->value(), bar->maximum());

    // Reading further up: new lines do not pull the view away.
    bar->setValue(10);
    box.appendLogText(QStringLiteral("ny linje\r\n"));
    QCOMPARE(bar->value(), 10);

    // Back at the end: the view follows again.
    bar->setValue(bar->maximum());
    const int maximumBefore = bar->maximum();
    box.appendLogText(QStringLiteral("enda en\r\n"));
    QVERIFY(bar->maximum() > maximumBefore);
    QCOMPARE(bar->value(), bar->maximum());
}

void TestLogBox::userCannotType()
{
    LogBox box;
    box.appendLogText(QStringLiteral("abc\r\n"));
    box.show();
    QVERIFY(QTest::qWaitForWindowExposed(&box));
    box.setFocus();
    QTest::keyClicks(&box, QStringLiteral("xyz"));
    QTest::keyClick(&box, Qt::Key_Backspace);
    QTest::keyClick(&box, Qt::Key_Return);
    QCOMPARE(box.logText(), QStringLiteral("abc\r\n"));
    QCOMPARE(box.toPlainText(), QStringLiteral("abc\n"));
    QVERIFY(box.textInteractionFlags() & Qt::TextSelectableByMouse);
    QCOMPARE(box.lineWrapMode(), QPlainTextEdit::NoWrap);
    QCOMPARE(box.horizontalScrollBarPolicy(), Qt::ScrollBarAlwaysOn);
    QCOMPARE(box.verticalScrollBarPolicy(), Qt::ScrollBarAlwaysOn);
}

void TestLogBox::longLogIsKeptWhole()
{
    LogBox box;
    FakeClipboard clipboard;
    LogPane log(box, clipboard);
    constexpr int lines = 20000;
    for (int i = 0; i < lines; ++i)
        log.AddLogLine(QStringLiteral("Prøver com%1 ( 19200 )").arg(i));
    QCOMPARE(log.text().count(QStringLiteral("\r\n")), lines);
    QVERIFY(log.text().startsWith(QStringLiteral("Prøver com0 ( 19200 )\r\n")));
    QVERIFY(log.text().endsWith(QStringLiteral("Prøver com19999 ( 19200 )\r\n")));
    QCOMPARE(box.document()->blockCount(), lines + 1);
}

QTEST_MAIN(TestLogBox)
#include "tst_logbox.moc"
