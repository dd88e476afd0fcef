#include "desktopidentity.h"

#include <QGuiApplication>
#include <QPixmap>
#include <QTest>

// The window's icon comes from the program's own resources, so it shows without an installed
// icon theme or Qt's SVG plugin.
class TestDesktopIdentity : public QObject
{
    Q_OBJECT

private slots:
    void windowIcon_data();
    void windowIcon();
};

void TestDesktopIdentity::windowIcon_data()
{
    QTest::addColumn<int>("size");
    QTest::addColumn<QPoint>("bodyPixel");  // on the printer's body
    QTest::addColumn<QPoint>("checkPixel"); // on the check mark, white only where drawn sharp

    QTest::newRow("16 px, its own drawing") << 16 << QPoint(2, 10) << QPoint(12, 11);
    QTest::newRow("48 px") << 48 << QPoint(6, 30) << QPoint(34, 40);
    QTest::newRow("256 px") << 256 << QPoint(32, 160) << QPoint(184, 216);
}

void TestDesktopIdentity::windowIcon()
{
    QFETCH(int, size);
    QFETCH(QPoint, bodyPixel);
    QFETCH(QPoint, checkPixel);

    DesktopIdentity::apply();
    const QImage image = QGuiApplication::windowIcon().pixmap(QSize(size, size), 1.0).toImage();
    QCOMPARE(image.size(), QSize(size, size));
    QCOMPARE(image.pixelColor(bodyPixel), QColor(0x37, 0x47, 0x4f));
    QCOMPARE(image.pixelColor(checkPixel), QColor(Qt::white));
}

QTEST_MAIN(TestDesktopIdentity)
#include "tst_desktopidentity.moc"
