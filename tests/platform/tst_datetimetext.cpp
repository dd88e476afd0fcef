#include "datetimetext.h"

#include <QTest>

class TestDateTimeText : public QObject
{
    Q_OBJECT

private slots:
    void localeText_data();
    void localeText();
    void noZoneAndSecondsAlways_data();
    void noZoneAndSecondsAlways();
};

void TestDateTimeText::localeText_data()
{
    QTest::addColumn<QString>("locale");
    QTest::addColumn<QString>("expected");

    QTest::newRow("Norwegian") << QStringLiteral("nb_NO") << QStringLiteral("08.12.2026 13:45:07");
    QTest::newRow("US English") << QStringLiteral("en_US") << QStringLiteral("12/8/26 1:45:07 PM");
    QTest::newRow("German") << QStringLiteral("de_DE") << QStringLiteral("08.12.26 13:45:07");
}

void TestDateTimeText::localeText()
{
    QFETCH(QString, locale);
    QFETCH(QString, expected);
    const QDateTime when(QDate(2026, 12, 8), QTime(13, 45, 7));
    QCOMPARE(dateTimeText(when, QLocale(locale)), expected);
}

void TestDateTimeText::noZoneAndSecondsAlways_data()
{
    QTest::addColumn<QString>("locale");
    for (const char *name : {"C", "nb_NO", "nn_NO", "sv_SE", "en_GB", "en_US", "fr_FR", "ja_JP",
                             "zh_CN", "ar_EG", "ko_KR"})
        QTest::newRow(name) << QString::fromLatin1(name);
}

void TestDateTimeText::noZoneAndSecondsAlways()
{
    QFETCH(QString, locale);
    const QString format = timeOfDayFormat(QLocale(locale));
    QVERIFY2(format.contains(QLatin1Char('s')), qPrintable(format));
    QCOMPARE(format, format.trimmed());
    const QString text = QLocale(locale).toString(QTime(9, 5, 3), format);
    QVERIFY2(!text.contains(QLatin1String("UTC")) && !text.contains(QLatin1String("GMT")),
             qPrintable(text));
}

QTEST_APPLESS_MAIN(TestDateTimeText)
#include "tst_datetimetext.moc"
