#include "eventlog.h"
#include "printdatacounter.h"
#include "printerstate.h"
#include "replysender.h"
#include "replyshape.h"
#include "statusframe.h"

#include <QElapsedTimer>
#include <QSignalSpy>
#include <QtTest>
#include <algorithm>

using ByteList = QList<QByteArray>;
using IntList = QList<int>;

namespace {
const QByteArray healthy("\x02  A000500\x03");

// A reply sender whose line is a list of writes; the peer reads at once unless told not to.
class SenderRig
{
public:
    explicit SenderRig(const ReplyShape &shape)
        : sender(
              shape, [] { return healthy; }, [this](const QByteArray &bytes) { writes += bytes; },
              [this] { return peerReads ? 0 : joined().size(); }, &log, QStringLiteral("line"))
    {
    }

    QByteArray joined() const { return writes.join(); }
    bool logged(const QString &part) const
    {
        return std::any_of(lines.cbegin(), lines.cend(),
                           [&](const QString &line) { return line.contains(part); });
    }

    ByteList writes;
    QStringList lines;
    bool peerReads = true;
    EventLog log{[this](const QString &line) { lines += line; }};
    ReplySender sender;
};
} // namespace

class TestSimReply : public QObject
{
    Q_OBJECT

private slots:
    void frame_data();
    void frame();
    void wrap_data();
    void wrap();
    void cut_data();
    void cut();
    void printData_data();
    void printData();
    void printerState_data();
    void printerState();

    void answerGoesOutAtOnceAndIsLogged();
    void silentSenderWritesNothing();
    void delayedAnswer();
    void answerInPieces();
    void answerDueWhilePiecesGoOutIsSkipped();
    void dropLineWhenSecondPieceIsDue();
    void floodRepeatsTheAnswer_data();
    void floodRepeatsTheAnswer();
    void floodToAPeerThatDoesNotReadStaysBounded();
};

void TestSimReply::frame_data()
{
    QTest::addColumn<QByteArray>("id");
    QTest::addColumn<char>("letter");
    QTest::addColumn<int>("labels");
    QTest::addColumn<QByteArray>("frame");

    QTest::newRow("healthy, no job") << QByteArray("  ") << 'A' << 500 << healthy;
    QTest::newRow("no labels") << QByteArray("  ") << 'c' << 0 << QByteArray("\x02  c000000\x03");
    QTest::newRow("most labels") << QByteArray("  ") << 'A' << 999999
                                 << QByteArray("\x02  A999999\x03");
    QTest::newRow("above the range held")
        << QByteArray("  ") << 'A' << 1000000 << QByteArray("\x02  A999999\x03");
    QTest::newRow("below the range held")
        << QByteArray("  ") << 'A' << -5 << QByteArray("\x02  A000000\x03");
    QTest::newRow("job id") << QByteArray("12") << 'G' << 7
                            << QByteArray("\x02"
                                          "12G000007\x03");
    QTest::newRow("short id padded") << QByteArray("1") << 'A' << 1
                                     << QByteArray("\x02"
                                                   "1 A000001\x03");
    QTest::newRow("long id cut") << QByteArray("123") << 'A' << 1
                                 << QByteArray("\x02"
                                               "12A000001\x03");
    QTest::newRow("letter the check does not know")
        << QByteArray("  ") << 'X' << 42 << QByteArray("\x02  X000042\x03");
    QTest::newRow("byte beyond ASCII") << QByteArray("  ") << '\xe5' << 42
                                       << QByteArray("\x02  \xe5"
                                                     "000042\x03");
}

void TestSimReply::frame()
{
    QFETCH(QByteArray, id);
    QFETCH(char, letter);
    QFETCH(int, labels);
    QFETCH(QByteArray, frame);

    const QByteArray built = StatusFrame::build(id, letter, labels);
    QCOMPARE(built, frame);
    QCOMPARE(built.size(), StatusFrame::size);
}

void TestSimReply::wrap_data()
{
    QTest::addColumn<QByteArray>("prefix");
    QTest::addColumn<QByteArray>("suffix");
    QTest::addColumn<bool>("twice");
    QTest::addColumn<QByteArray>("reply");

    QTest::newRow("plain") << QByteArray() << QByteArray() << false << healthy;
    QTest::newRow("length before STX") << QByteArray("\0\0\0\x0b", 4) << QByteArray() << false
                                       << QByteArray("\0\0\0\x0b", 4) + healthy;
    QTest::newRow("CR LF after ETX")
        << QByteArray() << QByteArray("\r\n") << false << healthy + "\r\n";
    QTest::newRow("two frames") << QByteArray() << QByteArray() << true << healthy + healthy;
    QTest::newRow("two wrapped frames")
        << QByteArray("<") << QByteArray(">") << true << "<" + healthy + "><" + healthy + ">";
}

void TestSimReply::wrap()
{
    QFETCH(QByteArray, prefix);
    QFETCH(QByteArray, suffix);
    QFETCH(bool, twice);
    QFETCH(QByteArray, reply);

    ReplyShape shape;
    shape.prefix = prefix;
    shape.suffix = suffix;
    shape.twice = twice;
    QCOMPARE(shape.wrap(healthy), reply);
}

void TestSimReply::cut_data()
{
    QTest::addColumn<QByteArray>("reply");
    QTest::addColumn<int>("pieces");
    QTest::addColumn<IntList>("sizes");

    QTest::newRow("whole") << healthy << 1 << IntList{11};
    QTest::newRow("halves") << healthy << 2 << IntList{6, 5};
    QTest::newRow("thirds") << healthy << 3 << IntList{4, 4, 3};
    QTest::newRow("byte by byte") << healthy << 11 << IntList(11, 1);
    QTest::newRow("more pieces than bytes") << healthy << 20 << IntList(11, 1);
    QTest::newRow("nothing to cut") << QByteArray() << 3 << IntList{};
}

void TestSimReply::cut()
{
    QFETCH(QByteArray, reply);
    QFETCH(int, pieces);
    QFETCH(IntList, sizes);

    ReplyShape shape;
    shape.pieces = pieces;
    const ByteList cut = shape.cut(reply);
    IntList cutSizes;
    for (const QByteArray &piece : cut)
        cutSizes += static_cast<int>(piece.size());
    QCOMPARE(cutSizes, sizes);
    QCOMPARE(cut.join(), reply);
}

void TestSimReply::printData_data()
{
    QTest::addColumn<ByteList>("chunks");
    QTest::addColumn<int>("printed");
    QTest::addColumn<int>("jobs");

    QTest::newRow("text is no job") << ByteList{"hello\r\n"} << 0 << 0;
    QTest::newRow("one job") << ByteList{"\x1b"
                                         "A"
                                         "\x1b"
                                         "H0100text\x1b"
                                         "Z"}
                             << 1 << 1;
    QTest::newRow("end of job alone") << ByteList{"\x1bZ"} << 1 << 1;
    QTest::newRow("quantity") << ByteList{"\x1b"
                                          "A\x1bQ3\x1bZ"}
                              << 3 << 1;
    QTest::newRow("six-digit quantity") << ByteList{"\x1bQ000010\x1bZ"} << 10 << 1;
    QTest::newRow("seventh digit is data") << ByteList{"\x1bQ1234567\x1bZ"} << 123456 << 1;
    QTest::newRow("quantity is per job") << ByteList{"\x1bQ5\x1bZ\x1b"
                                                     "A\x1bZ"}
                                         << 6 << 2;
    QTest::newRow("ESC Q without digits") << ByteList{"\x1bQ\x1bZ"} << 1 << 1;
    QTest::newRow("commands cut between chunks") << ByteList{"\x1b"
                                                             "A\x1b",
                                                             "Q1", "2\x1b", "Z"}
                                                 << 12 << 1;
    QTest::newRow("Z without ESC") << ByteList{"Z"} << 0 << 0;
    QTest::newRow("ESC ESC Z") << ByteList{"\x1b\x1bZ"} << 1 << 1;
    // 2200 jobs of 999999 labels would pass the largest int; a printer holds 999999 at most.
    QTest::newRow("thousands of full jobs in one piece")
        << ByteList{QByteArray("\x1bQ999999\x1bZ").repeated(2200)} << 999999 << 2200;
}

void TestSimReply::printData()
{
    QFETCH(ByteList, chunks);
    QFETCH(int, printed);
    QFETCH(int, jobs);

    PrintDataCounter counter;
    int total = 0;
    for (const QByteArray &chunk : chunks)
        total += counter.take(chunk);
    QCOMPARE(total, printed);
    QCOMPARE(counter.jobs(), jobs);
}

void TestSimReply::printerState_data()
{
    QTest::addColumn<char>("letter");
    QTest::addColumn<int>("labels");
    QTest::addColumn<IntList>("prints");
    QTest::addColumn<QList<bool>>("ranOut");
    QTest::addColumn<QByteArray>("frame");

    QTest::newRow("counts down") << 'A' << 500 << IntList{3} << QList<bool>{false}
                                 << QByteArray("\x02  A000497\x03");
    QTest::newRow("last label") << 'B' << 3 << IntList{3} << QList<bool>{true}
                                << QByteArray("\x02  c000000\x03");
    QTest::newRow("more than left")
        << 'A' << 2 << IntList{5} << QList<bool>{true} << QByteArray("\x02  c000000\x03");
    QTest::newRow("runs out once")
        << 'A' << 1 << IntList{1, 1} << QList<bool>{true, false} << QByteArray("\x02  c000000\x03");
    QTest::newRow("told to have none keeps its letter")
        << 'A' << 0 << IntList{1} << QList<bool>{false} << QByteArray("\x02  A000000\x03");
}

void TestSimReply::printerState()
{
    QFETCH(char, letter);
    QFETCH(int, labels);
    QFETCH(IntList, prints);
    QFETCH(QList<bool>, ranOut);
    QFETCH(QByteArray, frame);

    PrinterState state(StatusFrame::noJobId, letter, labels);
    QList<bool> results;
    for (const int count : prints)
        results += state.print(count);
    QCOMPARE(results, ranOut);
    QCOMPARE(state.frame(), frame);
}

void TestSimReply::answerGoesOutAtOnceAndIsLogged()
{
    SenderRig rig{ReplyShape()};
    rig.sender.answer();
    QCOMPARE(rig.writes, ByteList{healthy});
    QVERIFY(rig.logged(QStringLiteral(" line: sent <STX>  A000500<ETX> (11 bytes)")));
}

void TestSimReply::silentSenderWritesNothing()
{
    ReplyShape shape;
    shape.silent = true;
    shape.flood = true;
    SenderRig rig(shape);
    rig.sender.answer();
    QTest::qWait(50);
    QVERIFY(rig.writes.isEmpty());
    QVERIFY(rig.lines.isEmpty());
}

void TestSimReply::delayedAnswer()
{
    constexpr int delayMs = 150;
    ReplyShape shape;
    shape.delayMs = delayMs;
    SenderRig rig(shape);
    QElapsedTimer clock;
    clock.start();
    rig.sender.answer();
    QVERIFY(rig.writes.isEmpty());
    QTRY_COMPARE(rig.writes, ByteList{healthy});
    QVERIFY2(clock.elapsed() >= delayMs, qPrintable(QString::number(clock.elapsed())));
}

void TestSimReply::answerInPieces()
{
    constexpr int gapMs = 40;
    ReplyShape shape;
    shape.pieces = 3;
    shape.pieceGapMs = gapMs;
    SenderRig rig(shape);
    QElapsedTimer clock;
    clock.start();
    rig.sender.answer();
    QCOMPARE(rig.writes.size(), 1);
    QVERIFY(rig.sender.sendingPieces());
    QTRY_COMPARE(rig.writes.size(), 3);
    QVERIFY(clock.elapsed() >= 2 * gapMs);
    QCOMPARE(rig.joined(), healthy);
    QVERIFY(!rig.sender.sendingPieces());
    // One log line for the answer, not one per piece.
    QCOMPARE(rig.lines.size(), 1);
    QVERIFY(rig.logged(QStringLiteral("in 3 pieces, 40 ms apart")));
}

void TestSimReply::answerDueWhilePiecesGoOutIsSkipped()
{
    ReplyShape shape;
    shape.pieces = 2;
    shape.pieceGapMs = 50;
    SenderRig rig(shape);
    rig.sender.answer();
    rig.sender.answer();
    QVERIFY(rig.logged(QStringLiteral("answer skipped")));
    QTRY_COMPARE(rig.writes.size(), 2);
    QTest::qWait(100);
    QCOMPARE(rig.joined(), healthy);
}

void TestSimReply::dropLineWhenSecondPieceIsDue()
{
    ReplyShape shape;
    shape.pieces = 2;
    shape.pieceGapMs = 20;
    shape.dropLine = true;
    SenderRig rig(shape);
    QSignalSpy dropped(&rig.sender, &ReplySender::lineDropped);
    QVERIFY(dropped.isValid());
    rig.sender.answer();
    QTRY_COMPARE(dropped.count(), 1);
    QCOMPARE(rig.writes, ByteList{healthy.left(6)});
    QVERIFY(!rig.sender.sendingPieces());
}

void TestSimReply::floodRepeatsTheAnswer_data()
{
    QTest::addColumn<QByteArray>("unit");
    QTest::addColumn<QByteArray>("repeated");
    QTest::newRow("frames") << QByteArray() << healthy;
    QTest::newRow("bytes") << QByteArray("x") << QByteArray("x");
}

void TestSimReply::floodRepeatsTheAnswer()
{
    QFETCH(QByteArray, unit);
    QFETCH(QByteArray, repeated);

    ReplyShape shape;
    shape.flood = true;
    shape.floodUnit = unit;
    SenderRig rig(shape);
    rig.sender.answer();
    QVERIFY(rig.sender.flooding());
    constexpr qsizetype enough = 512 * 1024;
    QTRY_VERIFY(rig.sender.floodedBytes() > enough);
    const QByteArray all = rig.joined();
    QCOMPARE(all.size(), rig.sender.floodedBytes());
    QCOMPARE(all.size() % repeated.size(), 0);
    QCOMPARE(all, repeated.repeated(all.size() / repeated.size()));
    // Further answers change nothing while it floods.
    const int logLines = static_cast<int>(rig.lines.size());
    rig.sender.answer();
    QCOMPARE(rig.lines.size(), logLines);
}

void TestSimReply::floodToAPeerThatDoesNotReadStaysBounded()
{
    ReplyShape shape;
    shape.flood = true;
    SenderRig rig(shape);
    rig.peerReads = false;
    rig.sender.answer();
    QVERIFY(rig.sender.floodedBytes() > 0);
    QTest::qWait(100);
    QVERIFY2(rig.sender.floodedBytes() <= 128 * 1024,
             qPrintable(QString::number(rig.sender.floodedBytes())));
}

QTEST_GUILESS_MAIN(TestSimReply)
#include "tst_simreply.moc"
