#include "statusdecoder.h"

#include <QTest>

namespace {

const QString STX = QStringLiteral("\x02");
const QString ETX = QStringLiteral("\x03");

// The printer's usual reply: STX, a two-character ID, the letter, six digits, ETX.
QString reply(const QString &letter, const QString &digits = QStringLiteral("000123"))
{
    return STX + QStringLiteral("  ") + letter + digits + ETX;
}

} // namespace

class TestStatusDecoder : public QObject
{
    Q_OBJECT

private slots:
    void statusMessage_data();
    void statusMessage();
    void oneText_data();
    void oneText();
    void pieces_data();
    void pieces();
    void replySplitAnywhere_data();
    void replySplitAnywhere();
    void keptTextStaysBounded();
    void clearForgetsPartialReply();
    void fields_data();
    void fields();
};

void TestStatusDecoder::statusMessage_data()
{
    QTest::addColumn<QString>("letter");
    QTest::addColumn<QString>("message");

    const auto row = [](const char *letter, const QString &message) {
        QTest::addRow("%s", letter) << QString::fromLatin1(letter) << message;
    };
    row("0", QStringLiteral("FEIL: Skriveren er Off line"));
    row("1", QStringLiteral("FEIL: Off line - Fargebånd nesten tomt"));
    row("2", QStringLiteral("FEIL: Off line - Skriverminne nesten fullt"));
    row("3",
        QStringLiteral("FEIL: Off line - Fargebånd nesten tomt og skriverminne er nesten fullt"));
    row("A", QStringLiteral("OK: Printer OK"));
    row("B", QStringLiteral("OK: Fargebåndet er nesten tomt"));
    row("C", QStringLiteral("OK: Skriverminnet er nesten fullt"));
    row("D", QStringLiteral("OK: Fargebånd nesten tomt og skriverminne nesten fullt"));
    row("G", QStringLiteral("OK: Skriver etikett"));
    row("H", QStringLiteral("OK: Skriver etikett, men fargebåndet er nesten tomt"));
    row("I", QStringLiteral("OK: Skriver etikett, men skriverminne er nesten fullt"));
    row("J", QStringLiteral("OK: Fargebånd nesten tomt og skriverminne nesten fullt"));
    row("M", QStringLiteral("OK: Etikett klar"));
    row("N", QStringLiteral("OK: Etikett klar, fargebåndet er nesten tomt"));
    row("O", QStringLiteral("OK: Etikett klar, skriverminne er nesten fullt"));
    row("P", QStringLiteral("OK: Fargebånd nesten tomt og skriverminne nesten fullt"));
    row("S", QStringLiteral("OK: On line, compiling print job - Skriver OK"));
    row("T", QStringLiteral("OK: On line, compiling print job - Fargebånd nesten tomt"));
    row("U", QStringLiteral("OK: On line, compiling print job - Skriverminne nesten fullt"));
    row("V", QStringLiteral("OK: On line, compiling print job - Fargebånd nesten tomt og "
                            "skriverminne nesten fullt"));
    row("a", QStringLiteral("FEIL: Off line, Skriverfeil - Printerminne fullt"));
    row("b", QStringLiteral("FEIL: Off line, Skriverfeil - Skrivehodet åpent"));
    row("c", QStringLiteral("FEIL: Off line, Skriverfeil - Tomt for etiketter"));
    row("d", QStringLiteral("FEIL: Off line, Skriverfeil - Tomt for fargebånd"));
    row("e", QStringLiteral("FEIL: Off line, Skriverfeil - Etikettfeil"));
    row("f", QStringLiteral("FEIL: Off line, Skriverfeil - Feil på sensor"));
    row("g", QStringLiteral("FEIL: Off line, Skriverfeil - Feil på skrivehodet"));
    row("h", QStringLiteral("FEIL: Off line, Skriverfeil - Deksel åpent"));
    row("i", QStringLiteral("FEIL: Off line, Skriverfeil - Feil på minnekort"));
    row("j", QStringLiteral("FEIL: Off line, Skriverfeil - Feil på kutter"));
    row("k", QStringLiteral("FEIL: Off line, Skriverfeil - Annen feil (Could be framing error)"));

    // Case matters, and everything off the table is one text.
    const QString unknown = QStringLiteral("FEIL: Uregistrert feil");
    for (const char *letter :
         {"E", "F", "K", "Q", "W", "Z", "z", "l", "m", "p", "4", "9", " ", "\x03", "\x7f", "\xff"})
        QTest::addRow("unknown %02x", static_cast<unsigned char>(letter[0]))
            << QString(QChar(static_cast<unsigned char>(letter[0]))) << unknown;
}

void TestStatusDecoder::statusMessage()
{
    QFETCH(QString, letter);
    QFETCH(QString, message);
    QCOMPARE(StatusDecoder::statusMessage(letter.at(0)), message);
}

void TestStatusDecoder::oneText_data()
{
    QTest::addColumn<QString>("received");
    QTest::addColumn<bool>("decoded");
    QTest::addColumn<QString>("statusText");

    QTest::newRow("reply") << reply(QStringLiteral("A")) << true
                           << QStringLiteral("OK: Printer OK\rA000123");
    QTest::newRow("characters after the ETX") << reply(QStringLiteral("A")) + QStringLiteral("xyz")
                                              << true << QStringLiteral("OK: Printer OK\rA000123");
    QTest::newRow("characters before the STX")
        << QStringLiteral("\x04\x04") + reply(QStringLiteral("C")) << true
        << QStringLiteral("OK: Skriverminnet er nesten fullt\rC000123");
    QTest::newRow("two replies: the first counts")
        << reply(QStringLiteral("A")) + reply(QStringLiteral("b")) << true
        << QStringLiteral("OK: Printer OK\rA000123");
    QTest::newRow("no STX") << QStringLiteral("  B000042") + ETX << true
                            << QStringLiteral("OK: Fargebåndet er nesten tomt\rB000042");
    QTest::newRow("short body takes the ETX")
        << STX + QStringLiteral("  a") + ETX << true
        << QStringLiteral("FEIL: Off line, Skriverfeil - Printerminne fullt\ra") + ETX;
    // With text before the STX the body runs past the ETX by as much.
    QTest::newRow("short body and text before the STX")
        << QStringLiteral("zz") + STX + QStringLiteral("  h") + ETX + QStringLiteral("qq") << true
        << QStringLiteral("FEIL: Off line, Skriverfeil - Deksel åpent\rh") + ETX +
               QStringLiteral("qq");
    QTest::newRow("lower-case letter")
        << reply(QStringLiteral("d")) << true
        << QStringLiteral("FEIL: Off line, Skriverfeil - Tomt for fargebånd\rd000123");
    QTest::newRow("letter off the table")
        << reply(QStringLiteral("E")) << true << QStringLiteral("FEIL: Uregistrert feil\rE000123");
    QTest::newRow("digit 4") << reply(QStringLiteral("4")) << true
                             << QStringLiteral("FEIL: Uregistrert feil\r4000123");
    QTest::newRow("long frame with a job name")
        << STX + QStringLiteral("01G000001JOBNAME_16_BYTES") + ETX << true
        << QStringLiteral("OK: Skriver etikett\rG000001");
    QTest::newRow("length before the STX")
        << QStringLiteral("0011") + reply(QStringLiteral("S")) << true
        << QStringLiteral("OK: On line, compiling print job - Skriver OK\rS000123");
    // An unfinished frame is given up when a new one starts before it ends.
    QTest::newRow("new STX before the ETX")
        << STX + QStringLiteral("  A00") + reply(QStringLiteral("b"), QStringLiteral("000000"))
        << true << QStringLiteral("FEIL: Off line, Skriverfeil - Skrivehodet åpent\rb000000");
    QTest::newRow("bytes above 127 pass as they are")
        << STX + QStringLiteral("  \u00e5\u00ff") + ETX << true
        << QStringLiteral("FEIL: Uregistrert feil\r\u00e5\u00ff") + ETX;

    // Nothing to decode: the status field is empty.
    QTest::newRow("STX, one character, ETX")
        << STX + QStringLiteral("x") + ETX << false << QString();
    // The body takes in the ETX, which becomes the status letter.
    QTest::newRow("STX, two characters, ETX") << STX + QStringLiteral("xy") + ETX << true
                                              << QStringLiteral("FEIL: Uregistrert feil\r") + ETX;
    QTest::newRow("STX and ETX") << STX + ETX << false << QString();
    QTest::newRow("ETX alone") << ETX << false << QString();
    QTest::newRow("ETX before STX") << ETX + reply(QStringLiteral("A")) << false << QString();
    // Incomplete: kept, and no answer yet.
    QTest::newRow("no ETX") << STX + QStringLiteral("  A000123") << false << QString();
    QTest::newRow("empty") << QString() << false << QString();
}

void TestStatusDecoder::oneText()
{
    QFETCH(QString, received);
    QFETCH(bool, decoded);
    QFETCH(QString, statusText);

    StatusDecoder decoder;
    QString result = QStringLiteral("untouched");
    QCOMPARE(decoder.decode(received, result), decoded);
    QCOMPARE(result, decoded ? statusText : QStringLiteral("untouched"));
}

void TestStatusDecoder::pieces_data()
{
    QTest::addColumn<QStringList>("pieces");
    // What each piece decodes to; empty where it decodes to nothing.
    QTest::addColumn<QStringList>("results");

    const QString ok = QStringLiteral("OK: Printer OK\rA000123");
    QTest::newRow("reply in two pieces")
        << QStringList{STX + QStringLiteral("  A00"), QStringLiteral("0123") + ETX}
        << QStringList{QString(), ok};
    QTest::newRow("reply in three pieces")
        << QStringList{STX, QStringLiteral("  A0001"), QStringLiteral("23") + ETX}
        << QStringList{QString(), QString(), ok};
    QTest::newRow("reply and the start of the next")
        << QStringList{reply(QStringLiteral("A")) + STX + QStringLiteral("  b0"),
                       QStringLiteral("00001") + ETX}
        << QStringList{ok,
                       QStringLiteral("FEIL: Off line, Skriverfeil - Skrivehodet åpent\rb000001")};
    QTest::newRow("a trailing line end is harmless")
        << QStringList{reply(QStringLiteral("A")) + QStringLiteral("\r\n"),
                       reply(QStringLiteral("M"))}
        << QStringList{ok, QStringLiteral("OK: Etikett klar\rM000123")};
    QTest::newRow("noise before the reply")
        << QStringList{QStringLiteral("noise"), reply(QStringLiteral("A"))}
        << QStringList{QString(), ok};
    QTest::newRow("empty pieces change nothing")
        << QStringList{QString(), STX + QStringLiteral("  A"), QString(),
                       QStringLiteral("000123") + ETX}
        << QStringList{QString(), QString(), QString(), ok};
    QTest::newRow("replies one by one")
        << QStringList{reply(QStringLiteral("A")), reply(QStringLiteral("c")),
                       reply(QStringLiteral("A"))}
        << QStringList{
               ok, QStringLiteral("FEIL: Off line, Skriverfeil - Tomt for etiketter\rc000123"), ok};
    const QString headOpen =
        QStringLiteral("FEIL: Off line, Skriverfeil - Skrivehodet åpent\rb000000");
    QTest::newRow("a new STX starts the reply over")
        << QStringList{STX + QStringLiteral("  A00"),
                       reply(QStringLiteral("b"), QStringLiteral("000000"))}
        << QStringList{QString(), headOpen};
    // Without an STX of its own the next reply would be read with the remnant in front.
    QTest::newRow("a remnant without STX after the ETX is dropped")
        << QStringList{reply(QStringLiteral("A")) + QStringLiteral("\r\n"),
                       QStringLiteral("  B000042") + ETX}
        << QStringList{ok, QStringLiteral("OK: Fargebåndet er nesten tomt\rB000042")};
    // The bound is 4096 characters.
    QTest::newRow("junk up to the bound, then a reply in two pieces")
        << QStringList{QString(4096, QLatin1Char('x')) + STX + QStringLiteral("  A00"),
                       QStringLiteral("0123") + ETX}
        << QStringList{QString(), ok};
    // A frame that runs on past the bound reads as it would have in one piece.
    QTest::newRow("a frame longer than the bound keeps its start")
        << QStringList{STX + QString(4096, QLatin1Char('x')), QStringLiteral("0123") + ETX}
        << QStringList{QString(), QStringLiteral("FEIL: Uregistrert feil\rxxxxxxx")};
    // Kept whole, the text before the STX lengthens the body past the ETX, so the field takes
    // in what follows it; thrown away, the field would end at the ETX.
    QTest::newRow("kept text up to the bound is kept")
        << QStringList{QString(4095, QLatin1Char('x')) + STX,
                       QStringLiteral("  h") + ETX + QStringLiteral("qq")}
        << QStringList{QString(), QStringLiteral("FEIL: Off line, Skriverfeil - Deksel åpent\rh") +
                                      ETX + QStringLiteral("qq")};
    QTest::newRow("kept text one past the bound keeps only its frame")
        << QStringList{QString(4096, QLatin1Char('x')) + STX,
                       QStringLiteral("  h") + ETX + QStringLiteral("qq")}
        << QStringList{QString(),
                       QStringLiteral("FEIL: Off line, Skriverfeil - Deksel åpent\rh") + ETX};
}

void TestStatusDecoder::pieces()
{
    QFETCH(QStringList, pieces);
    QFETCH(QStringList, results);

    StatusDecoder decoder;
    for (qsizetype i = 0; i < pieces.size(); ++i) {
        QString statusText;
        const bool decoded = decoder.decode(pieces.at(i), statusText);
        QCOMPARE(decoded, !results.at(i).isEmpty());
        QCOMPARE(statusText, results.at(i));
    }
}

void TestStatusDecoder::replySplitAnywhere_data()
{
    QTest::addColumn<QString>("whole");
    QTest::addColumn<QString>("statusText");

    const QString ribbon = QStringLiteral("OK: Fargebåndet er nesten tomt\rB654321");
    QTest::newRow("reply") << reply(QStringLiteral("B"), QStringLiteral("654321")) << ribbon;
    QTest::newRow("reply after junk and an unfinished frame")
        << QStringLiteral("\r\nzz") + STX + QStringLiteral("  b0") + STX + STX +
               reply(QStringLiteral("B"), QStringLiteral("654321"))
        << ribbon;
}

void TestStatusDecoder::replySplitAnywhere()
{
    QFETCH(QString, whole);
    QFETCH(QString, statusText);

    for (qsizetype cut = 1; cut < whole.size(); ++cut) {
        StatusDecoder decoder;
        QString decoded;
        QVERIFY2(!decoder.decode(whole.left(cut), decoded), qPrintable(QString::number(cut)));
        QVERIFY2(decoder.decode(whole.mid(cut), decoded), qPrintable(QString::number(cut)));
        QCOMPARE(decoded, statusText);
        QVERIFY(decoder.keptText().isEmpty());
    }
}

void TestStatusDecoder::keptTextStaysBounded()
{
    StatusDecoder decoder;
    QString statusText;
    const QString chunk(1000, QLatin1Char('x'));
    for (int i = 0; i < 100; ++i) {
        QVERIFY(!decoder.decode(chunk, statusText));
        QVERIFY(decoder.keptText().size() <= 4096);
    }
    // A large piece that ends with the start of a reply keeps only that start.
    QVERIFY(decoder.decode(chunk + reply(QStringLiteral("A")) + STX, statusText));
    QCOMPARE(decoder.keptText(), STX);
}

void TestStatusDecoder::clearForgetsPartialReply()
{
    StatusDecoder decoder;
    QString statusText;
    QVERIFY(!decoder.decode(STX + QStringLiteral("  A00"), statusText));
    decoder.clear();
    QVERIFY(decoder.keptText().isEmpty());
    QVERIFY(decoder.decode(QStringLiteral("0123") + ETX, statusText));
    QCOMPARE(statusText, QStringLiteral("FEIL: Off line - Skriverminne nesten fullt\r23"));
}

void TestStatusDecoder::fields_data()
{
    QTest::addColumn<QString>("received");
    QTest::addColumn<QString>("letter");
    QTest::addColumn<bool>("known");
    QTest::addColumn<bool>("fault");
    QTest::addColumn<QString>("message");
    QTest::addColumn<QString>("labels");
    QTest::addColumn<QString>("field");
    QTest::addColumn<QString>("raw"); // the reply body

    QTest::newRow("reply") << reply(QStringLiteral("A")) << QStringLiteral("A") << true << false
                           << QStringLiteral("Printer OK") << QStringLiteral("123")
                           << QStringLiteral("A000123") << QStringLiteral("  A000123") + ETX;
    QTest::newRow("error letter") << reply(QStringLiteral("b"), QStringLiteral("000000"))
                                  << QStringLiteral("b") << true << true
                                  << QStringLiteral("Off line, Skriverfeil - Skrivehodet åpent")
                                  << QStringLiteral("0") << QStringLiteral("b000000")
                                  << QStringLiteral("  b000000") + ETX;
    QTest::newRow("letter off the table")
        << reply(QStringLiteral("Z"), QStringLiteral("000005")) << QStringLiteral("Z") << false
        << true << QStringLiteral("Uregistrert feil") << QStringLiteral("5")
        << QStringLiteral("Z000005") << QStringLiteral("  Z000005") + ETX;
    QTest::newRow("short body: no labels, the ETX in the field")
        << STX + QStringLiteral("  a") + ETX << QStringLiteral("a") << true << true
        << QStringLiteral("Off line, Skriverfeil - Printerminne fullt") << QString()
        << QStringLiteral("a") + ETX << QStringLiteral("  a") + ETX;
    QTest::newRow("labels that are not all digits")
        << reply(QStringLiteral("A"), QStringLiteral("12345x")) << QStringLiteral("A") << true
        << false << QStringLiteral("Printer OK") << QString() << QStringLiteral("A12345x")
        << QStringLiteral("  A12345x") + ETX;
    QTest::newRow("long frame: the job name stays in the body")
        << STX + QStringLiteral("01G000001JOBNAME_16_BYTES") + ETX << QStringLiteral("G") << true
        << false << QStringLiteral("Skriver etikett") << QStringLiteral("1")
        << QStringLiteral("G000001") << QStringLiteral("01G000001JOBNAME_16_BYTES") + ETX;
    QTest::newRow("text before the STX lengthens the body")
        << QStringLiteral("zz") + STX + QStringLiteral("  h") + ETX + QStringLiteral("qq")
        << QStringLiteral("h") << true << true
        << QStringLiteral("Off line, Skriverfeil - Deksel åpent") << QString()
        << QStringLiteral("h") + ETX + QStringLiteral("qq")
        << QStringLiteral("  h") + ETX + QStringLiteral("qq");
    QTest::newRow("no STX: the body is what stands before the ETX")
        << QStringLiteral("  B000042") + ETX << QStringLiteral("B") << true << false
        << QStringLiteral("Fargebåndet er nesten tomt") << QStringLiteral("42")
        << QStringLiteral("B000042") << QStringLiteral("  B000042");
}

void TestStatusDecoder::fields()
{
    QFETCH(QString, received);
    QFETCH(QString, letter);
    QFETCH(bool, known);
    QFETCH(bool, fault);
    QFETCH(QString, message);
    QFETCH(QString, labels);
    QFETCH(QString, field);
    QFETCH(QString, raw);

    StatusDecoder decoder;
    const std::optional<PrinterStatus> status = decoder.read(received);
    QVERIFY(status);
    QCOMPARE(status->letter, letter);
    QCOMPARE(status->known, known);
    QCOMPARE(status->fault, fault);
    QCOMPARE(status->message, message);
    QCOMPARE(status->labels, labels);
    QCOMPARE(status->field, field);
    QCOMPARE(status->raw, raw);
}

QTEST_APPLESS_MAIN(TestStatusDecoder)

#include "tst_statusdecoder.moc"
