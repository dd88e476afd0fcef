#include "desktopidentity.h"

#include <QDir>
#include <QFileInfo>
#include <QImage>
#include <QProcess>
#include <QRegularExpression>
#include <QTemporaryDir>
#include <QTest>

// Installs the build into a fresh prefix, as `cmake --install` does for the package, and reads
// what a desktop, man and the software centre would read there.
class TestInstallTree : public QObject
{
    Q_OBJECT

private slots:
    void initTestCase();
    void installedFile_data();
    void installedFile();
    void iconSize_data();
    void iconSize();
    void desktopEntry_data();
    void desktopEntry();
    void metainfo_data();
    void metainfo();
    void manualPage_data();
    void manualPage();

private:
    QString path(const QString &relative) const { return m_prefix.filePath(relative); }
    QString read(const QString &relative) const;
    QString desktopValue(const QString &key) const;

    QTemporaryDir m_prefix;
    QString m_desktopEntry;
    QString m_metainfo;
};

namespace {
constexpr int processTimeoutMs = 30000;

const QString desktopEntryPath =
    QStringLiteral("share/applications/%1.desktop").arg(DesktopIdentity::desktopFileName());
const QString metainfoPath =
    QStringLiteral("share/metainfo/%1.metainfo.xml").arg(DesktopIdentity::desktopFileName());

QString run(const QString &program, const QStringList &arguments, bool *ok)
{
    QProcess process;
    process.start(program, arguments);
    *ok = process.waitForFinished(processTimeoutMs) &&
          process.exitStatus() == QProcess::NormalExit && process.exitCode() == 0;
    return QString::fromUtf8(process.readAllStandardOutput() + process.readAllStandardError());
}
} // namespace

void TestInstallTree::initTestCase()
{
    QVERIFY(m_prefix.isValid());
    bool ok = false;
    const QString output = run(QStringLiteral(CMAKE_COMMAND_PATH),
                               {QStringLiteral("--install"), QStringLiteral(BUILD_DIR),
                                QStringLiteral("--prefix"), m_prefix.path()},
                               &ok);
    QVERIFY2(ok, qPrintable(output));
    m_desktopEntry = read(desktopEntryPath);
    m_metainfo = read(metainfoPath);
}

QString TestInstallTree::read(const QString &relative) const
{
    QFile file(path(relative));
    return file.open(QIODevice::ReadOnly) ? QString::fromUtf8(file.readAll()) : QString();
}

QString TestInstallTree::desktopValue(const QString &key) const
{
    const QRegularExpression line(QStringLiteral("^%1=(.*)$").arg(QRegularExpression::escape(key)),
                                  QRegularExpression::MultilineOption);
    return line.match(m_desktopEntry).captured(1);
}

void TestInstallTree::installedFile_data()
{
    QTest::addColumn<QString>("relative");
    QTest::addColumn<bool>("executable");

    QTest::newRow("window program") << QStringLiteral("bin/solvarn-printersjekk") << true;
    QTest::newRow("printer-sim") << QStringLiteral("bin/printer-sim") << true;
    QTest::newRow("command-line check") << QStringLiteral("bin/solvarn-sjekk") << true;
    QTest::newRow("desktop entry") << desktopEntryPath << false;
    QTest::newRow("AppStream metadata") << metainfoPath << false;
    QTest::newRow("scalable icon")
        << QStringLiteral("share/icons/hicolor/scalable/apps/solvarn-printersjekk.svg") << false;
    QTest::newRow("copyright") << QStringLiteral("share/doc/solvarn-printersjekk/copyright")
                               << false;
    QTest::newRow("changelog") << QStringLiteral("share/doc/solvarn-printersjekk/changelog.gz")
                               << false;
}

void TestInstallTree::installedFile()
{
    QFETCH(QString, relative);
    QFETCH(bool, executable);

    const QFileInfo info(path(relative));
    QVERIFY2(info.isFile(), qPrintable(relative));
    QCOMPARE(info.isExecutable(), executable);
}

void TestInstallTree::iconSize_data()
{
    QTest::addColumn<int>("size");
    for (const int size : {16, 32, 48, 64, 128, 256})
        QTest::newRow(qPrintable(QStringLiteral("%1 px").arg(size))) << size;
}

// Icon themes look a PNG up by its folder's size; a picture of another size is refused.
void TestInstallTree::iconSize()
{
    QFETCH(int, size);
    const QImage icon(
        path(QStringLiteral("share/icons/hicolor/%1x%1/apps/solvarn-printersjekk.png").arg(size)));
    QCOMPARE(icon.size(), QSize(size, size));
}

void TestInstallTree::desktopEntry_data()
{
    QTest::addColumn<QString>("key");
    QTest::addColumn<QString>("installedAs"); // %1 = the value; empty: compare with expected
    QTest::addColumn<QString>("expected");

    QTest::newRow("Exec runs an installed program") << "Exec"
                                                    << "bin/%1"
                                                    << "";
    QTest::newRow("Icon is the installed icon") << "Icon"
                                                << "share/icons/hicolor/scalable/apps/%1.svg"
                                                << "";
    QTest::newRow("Norwegian name") << "Name[nb]"
                                    << ""
                                    << "Solvarn printersjekk";
    QTest::newRow("English name") << "Name"
                                  << ""
                                  << "Solvarn printer check";
    QTest::newRow("Norwegian comment") << "Comment[nb]"
                                       << ""
                                       << "Sjekk at en SATO-etikettskriver er tilkoplet og svarer";
    QTest::newRow("in the Utility menu") << "Categories"
                                         << ""
                                         << "Utility;";
    QTest::newRow("a window, not a terminal") << "Terminal"
                                              << ""
                                              << "false";
}

void TestInstallTree::desktopEntry()
{
    QFETCH(QString, key);
    QFETCH(QString, installedAs);
    QFETCH(QString, expected);

    const QString value = desktopValue(key);
    QVERIFY2(!value.isEmpty(), qPrintable(key));
    if (installedAs.isEmpty())
        QCOMPARE(value, expected);
    else
        QVERIFY2(QFileInfo::exists(path(installedAs.arg(value))), qPrintable(value));
}

void TestInstallTree::metainfo_data()
{
    QTest::addColumn<QString>("expected");

    QTest::newRow("launches the installed desktop entry")
        << QStringLiteral("<launchable type=\"desktop-id\">%1.desktop</launchable>")
               .arg(DesktopIdentity::desktopFileName());
    QTest::newRow("this release")
        << QStringLiteral("<release version=\"%1\"").arg(QStringLiteral(PROJECT_VERSION_TEXT));
    const QImage screenshot(QStringLiteral(SCREENSHOT_PATH));
    QTest::newRow("the README's screenshot at its size")
        << QStringLiteral("width=\"%1\" height=\"%2\"")
               .arg(screenshot.width())
               .arg(screenshot.height());
    const QDir bin(path(QStringLiteral("bin")));
    for (const QString &program : bin.entryList(QDir::Files))
        QTest::newRow(qPrintable(QStringLiteral("provides %1").arg(program)))
            << QStringLiteral("<binary>%1</binary>").arg(program);
}

void TestInstallTree::metainfo()
{
    QFETCH(QString, expected);
    QVERIFY2(m_metainfo.contains(expected), qPrintable(m_metainfo));
}

void TestInstallTree::manualPage_data()
{
    QTest::addColumn<QString>("program");
    QTest::addColumn<bool>("fromHelp");
    QTest::addColumn<QString>("expected"); // a text the page must hold

    QTest::newRow("window, written by hand")
        << QStringLiteral("solvarn-printersjekk") << false << QStringLiteral("SATO label printer");
    QTest::newRow("printer-sim, from its --help")
        << QStringLiteral("printer-sim") << true << QStringLiteral("\\-\\-close\\-on\\-connect");
    QTest::newRow("solvarn-sjekk, from its --help")
        << QStringLiteral("solvarn-sjekk") << true << QStringLiteral("\\-\\-plugin");
}

void TestInstallTree::manualPage()
{
    QFETCH(QString, program);
    QFETCH(bool, fromHelp);
    QFETCH(QString, expected);

    if (fromHelp && !MANPAGES_FROM_HELP)
        QSKIP("this build makes no manual pages from --help (SOLVARN_MANPAGES is off)");
    bool ok = false;
    const QString page = run(
        QStringLiteral("gzip"),
        {QStringLiteral("-dc"), path(QStringLiteral("share/man/man1/%1.1.gz").arg(program))}, &ok);
    QVERIFY2(ok, qPrintable(page));
    QVERIFY2(page.startsWith(QStringLiteral(".\\\"")) || page.startsWith(QStringLiteral(".TH")),
             qPrintable(page.left(200)));
    QVERIFY2(page.contains(expected), qPrintable(page.left(2000)));
}

QTEST_GUILESS_MAIN(TestInstallTree)
#include "tst_installtree.moc"
