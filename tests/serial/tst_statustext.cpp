#include "statustext.h"

#include <QTest>

namespace {

QString unknown(const QString &letter, const QString &input)
{
    return QStringLiteral("- UKJENT KODE : ") + letter + QStringLiteral("  KODE INN= ") + input;
}

const QString noAnswer = QStringLiteral("- Skriveren svarer ikke -");
const QString stx(QChar(2));
const QString etx(QChar(3));

} // namespace

class TestStatusText : public QObject
{
    Q_OBJECT

private slots:
    void table_data();
    void table();
    void replies_data();
    void replies();
    void ownTextsForBusyLetters_data();
    void ownTextsForBusyLetters();
    void everyOtherCharacterIsUnknown();
    void fields_data();
    void fields();
};

void TestStatusText::table_data()
{
    QTest::addColumn<QString>("letter");
    QTest::addColumn<QString>("text");

    const QList<std::pair<const char *, QString>> rows = {
        {"0", QStringLiteral("Off Line - Sjekk printer")},
        {"1", QStringLiteral("Off Line - Fargebånd nesten tomt")},
        {"2", QStringLiteral("Off Line - Buffer nesten fullt")},
        {"3", QStringLiteral("Off Line - Fargebånd nesten tomt og buffer er nesten fullt")},
        {"A", QStringLiteral("- Skriver OK -")},
        {"B", QStringLiteral("Farge bånd nesten tomt")},
        {"C", QStringLiteral("Buffer nesten fullt")},
        {"D", QStringLiteral("Fargebånd nesten tomt og buffer nesten fullt")},
        {"H", QStringLiteral("Fargebånd nesten tomt")},
        {"I", QStringLiteral("Buffer nesten fullt")},
        {"J", QStringLiteral("Fargebånd nesten tomt og buffer nesten fullt")},
        {"N", QStringLiteral("Fargebånd nesten tomt")},
        {"O", QStringLiteral("Buffer nesten fullt")},
        {"P", QStringLiteral("Fargebånd nesten tomt og buffer nesten fullt")},
        {"T", QStringLiteral("On-line, compilinge print job - Fargebånd nesten tomt -")},
        {"U", QStringLiteral("On-line, compilinge print job - Buffer nesten fullt -")},
        {"V",
         QStringLiteral(
             "On-line, compilinge print job - Fargebånd nesten tomt og buffer nesten fullt -")},
        {"a", QStringLiteral("Off-line, error condition - Mottaksbuffer fullt -")},
        {"b", QStringLiteral("Off-line, error condition - Skrivehodet åpent -")},
        {"c", QStringLiteral("Off-line, error condition - Tomt for etiketter -")},
        {"d", QStringLiteral("Off-line, error condition - Tomt for fargebånd -")},
        {"e", QStringLiteral("Off-line, error condition - Etikettfeil -")},
        {"f", QStringLiteral("Off-line, error condition - Feil på sensor -")},
        {"g", QStringLiteral("Off-line, error condition - Feil på skrivehodet -")},
        {"h", QStringLiteral("Off-line, error condition - Deksel åpent -")},
        {"i", QStringLiteral("Off-line, error condition - Feil på minnekort -")},
        {"j", QStringLiteral("Off-line, error condition - Feil på kutter -")},
        {"k", QStringLiteral("Off-line, error condition - Annen feil (Could be framing error) -")},
    };
    for (const auto &[letter, text] : rows)
        QTest::newRow(letter) << QString::fromLatin1(letter) << text;
}

void TestStatusText::table()
{
    QFETCH(QString, letter);
    QFETCH(QString, text);

    QCOMPARE(GetStatustext(letter), text);
    // As the printer frames it: STX, job id, letter, labels left, ETX.
    QCOMPARE(GetStatustext(stx + QStringLiteral("  ") + letter + QStringLiteral("000120") + etx),
             text);
}

void TestStatusText::replies_data()
{
    QTest::addColumn<QString>("reply");
    QTest::addColumn<QString>("text");

    const QString ok = QStringLiteral("- Skriver OK -");
    QTest::newRow("empty") << QString() << noAnswer;
    QTest::newRow("control characters and blanks only")
        << stx + etx + QStringLiteral("\r\n \t") + QString(QChar(0)) << noAnswer;
    QTest::newRow("code 32 is skipped, 33 is not") << QStringLiteral(" !") << unknown("!", " !");
    QTest::newRow("STX A ETX") << stx + QStringLiteral("A") + etx << ok;
    QTest::newRow("blank, CR, A") << QStringLiteral(" \rA") << ok;
    QTest::newRow("only the first printable counts")
        << QStringLiteral("0A") << QStringLiteral("Off Line - Sjekk printer");
    QTest::newRow("an error letter after blanks")
        << QStringLiteral("   a")
        << QStringLiteral("Off-line, error condition - Mottaksbuffer fullt -");
    QTest::newRow("B has its own spelling")
        << QStringLiteral("B") << QStringLiteral("Farge bånd nesten tomt");
    QTest::newRow("case: E is not e") << QStringLiteral("E") << unknown("E", "E");
    QTest::newRow("case: K is not k") << QStringLiteral("K") << unknown("K", "K");
    QTest::newRow("case: l is past the error letters") << QStringLiteral("l") << unknown("l", "l");
    QTest::newRow("digit 4") << QStringLiteral("4") << unknown("4", "4");
    QTest::newRow("digit 9") << QStringLiteral("9") << unknown("9", "9");
    QTest::newRow("unknown letter shows the whole input, framing included")
        << stx + QStringLiteral("X") + etx << unknown("X", stx + QStringLiteral("X") + etx);
    QTest::newRow("unknown letter keeps the blanks of the input")
        << QStringLiteral("  X 12 ") << unknown("X", "  X 12 ");
    QTest::newRow("a letter beyond ASCII") << QStringLiteral("\r\nå") << unknown("å", "\r\nå");
    QTest::newRow("DEL is printable")
        << QString(QChar(127)) << unknown(QString(QChar(127)), QString(QChar(127)));
    QTest::newRow("a Latin-1 control above DEL is printable")
        << QString(QChar(0x85)) + QStringLiteral("A")
        << unknown(QString(QChar(0x85)), QString(QChar(0x85)) + "A");
    QTest::newRow("a character beyond 16 bits stays whole")
        << QStringLiteral("\U0001F5A8") << unknown("\U0001F5A8", "\U0001F5A8");
}

void TestStatusText::replies()
{
    QFETCH(QString, reply);
    QFETCH(QString, text);

    QCOMPARE(GetStatustext(reply), text);
}

void TestStatusText::ownTextsForBusyLetters_data()
{
    QTest::addColumn<QString>("letter");
    QTest::addColumn<QString>("text");
    QTest::newRow("G printing a label")
        << QStringLiteral("G") << QStringLiteral("Skriver ut etikett - Skriver OK -");
    QTest::newRow("M label ready")
        << QStringLiteral("M") << QStringLiteral("Etikett klar - Skriver OK -");
    QTest::newRow("S compiling a print job")
        << QStringLiteral("S") << QStringLiteral("On-line, compilinge print job - Skriver OK -");
}

void TestStatusText::ownTextsForBusyLetters()
{
    QFETCH(QString, letter);
    QFETCH(QString, text);

    QCOMPARE(GetStatustext(letter), text);
    QCOMPARE(GetStatustext(stx + QStringLiteral("  ") + letter + QStringLiteral("000001") + etx),
             text);
}

void TestStatusText::everyOtherCharacterIsUnknown()
{
    // Every character from 33 up to 255 that the table does not list falls to the unknown text.
    const QString listed = QStringLiteral("0123ABCDGHIJMNOPSTUVabcdefghijk");
    for (char16_t code = 33; code <= 255; ++code) {
        const QString letter(QChar{code});
        const bool isUnknown = GetStatustext(letter) == unknown(letter, letter);
        QVERIFY2(isUnknown != listed.contains(letter), qPrintable(QString::number(code)));
    }
}

void TestStatusText::fields_data()
{
    QTest::addColumn<QString>("reply");
    QTest::addColumn<QString>("letter");
    QTest::addColumn<bool>("known");
    QTest::addColumn<QString>("message");
    QTest::addColumn<QString>("labels");
    QTest::addColumn<bool>("framed");
    QTest::addColumn<QString>("letterText"); // the text with the letter alone for the reply

    const QString ok = QStringLiteral("- Skriver OK -");
    QTest::newRow("known letter in a frame")
        << stx + QStringLiteral("  A000120") + etx << QStringLiteral("A") << true << ok
        << QStringLiteral("120") << true << ok;
    QTest::newRow("unknown letter in a frame is framed all the same")
        << stx + QStringLiteral("  Z000005") + etx << QStringLiteral("Z") << false << QString()
        << QStringLiteral("5") << true << unknown("Z", "Z");
    QTest::newRow("a letter beyond 16 bits, and the labels after both its halves")
        << stx + QStringLiteral("  \U0001F5A8000007") + etx << QStringLiteral("\U0001F5A8") << false
        << QString() << QStringLiteral("7") << true << unknown("\U0001F5A8", "\U0001F5A8");
    QTest::newRow("empty reply") << QString() << QString() << false << QString() << QString()
                                 << false << noAnswer;
    QTest::newRow("control characters before the letter, no frame")
        << QStringLiteral("\r\n\tB000042") << QStringLiteral("B") << true
        << QStringLiteral("Farge bånd nesten tomt") << QStringLiteral("42") << false
        << QStringLiteral("Farge bånd nesten tomt");
    QTest::newRow("no labels where the six are not all digits")
        << stx + QStringLiteral("  A00x500") + etx << QStringLiteral("A") << true << ok << QString()
        << true << ok;
    QTest::newRow("no labels left is a count of 0")
        << stx + QStringLiteral("  c000000") + etx << QStringLiteral("c") << true
        << QStringLiteral("Off-line, error condition - Tomt for etiketter -") << QStringLiteral("0")
        << true << QStringLiteral("Off-line, error condition - Tomt for etiketter -");
    QTest::newRow("five digits are no labels")
        << stx + QStringLiteral("  A00012") + etx << QStringLiteral("A") << true << ok << QString()
        << true << ok;
    QTest::newRow("five digits at the end are no labels")
        << QStringLiteral("A00012") << QStringLiteral("A") << true << ok << QString() << false
        << ok;
    QTest::newRow("no ETX: no frame") << stx + QStringLiteral("  A000001") << QStringLiteral("A")
                                      << true << ok << QStringLiteral("1") << false << ok;
    QTest::newRow("an ETX before the letter closes an empty frame")
        << stx + etx + QStringLiteral("A") + etx << QStringLiteral("A") << true << ok << QString()
        << false << ok;
    QTest::newRow("a printable character before the STX is the letter, outside the frame")
        << QStringLiteral("x") + stx + QStringLiteral("  A000001") + etx << QStringLiteral("x")
        << false << QString() << QString() << false << unknown("x", "x");
    QTest::newRow("control characters only")
        << stx + etx + QStringLiteral("\r\n") << QString() << false << QString() << QString()
        << false << noAnswer;
}

void TestStatusText::fields()
{
    QFETCH(QString, reply);
    QFETCH(QString, letter);
    QFETCH(bool, known);
    QFETCH(QString, message);
    QFETCH(QString, labels);
    QFETCH(bool, framed);
    QFETCH(QString, letterText);

    const PrinterStatus status = readSerialStatus(reply);
    QCOMPARE(status.raw, reply);
    QCOMPARE(status.letter, letter);
    QCOMPARE(status.known, known);
    QCOMPARE(status.message, message);
    QCOMPARE(status.labels, labels);
    QCOMPARE(status.framed, framed);
    QCOMPARE(serialLetterText(status), letterText);
}

QTEST_APPLESS_MAIN(TestStatusText)
#include "tst_statustext.moc"
