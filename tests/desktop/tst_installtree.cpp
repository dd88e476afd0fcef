#include "desktopidentity.h"

#include <QDir>
#include <QFileInfo>
#include <QImage>
#include <QProcess>
#include <QRegularExpression>
#include <QStandardPaths>
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
    void manualPageOptions_data();
    void manualPageOptions();
    void manualPageWarnings_data();
    void manualPageWarnings();

private:
    QString path(const QString &relative) const { return m_prefix.filePath(relative); }
    QString read(const QString &relative) const;
    QString desktopValue(const QString &key) const;
    QString manualPageSource(const QString &program);

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

// ok: it ended by itself with status 0; exitCode: its status, where it ended by itself.
QString run(const QString &program, const QStringList &arguments, bool *ok, int *exitCode = nullptr)
{
    QProcess process;
    process.start(program, arguments);
    const bool ended =
        process.waitForFinished(processTimeoutMs) && process.exitStatus() == QProcess::NormalExit;
    *ok = ended && process.exitCode() == 0;
    if (exitCode && ended)
        *exitCode = process.exitCode();
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

QString TestInstallTree::manualPageSource(const QString &program)
{
    bool ok = false;
    const QString page = run(
        QStringLiteral("gzip"),
        {QStringLiteral("-dc"), path(QStringLiteral("share/man/man1/%1.1.gz").arg(program))}, &ok);
    return ok ? page : QString();
}

void TestInstallTree::manualPage_data()
{
    QTest::addColumn<QString>("program");
    QTest::addColumn<QString>("expected"); // a text the page must hold

    QTest::newRow("window, written by hand")
        << QStringLiteral("solvarn-printersjekk") << QStringLiteral("SATO label printer");
    QTest::newRow("printer-sim, an option")
        << QStringLiteral("printer-sim") << QStringLiteral("\\-\\-close\\-on\\-connect");
    QTest::newRow("solvarn-sjekk, an option")
        << QStringLiteral("solvarn-sjekk") << QStringLiteral("\\-\\-plugin");
    QTest::newRow("solvarn-sjekk, its name line")
        << QStringLiteral("solvarn-sjekk")
        << QStringLiteral(".SH NAME\nsolvarn-sjekk \\- check a SATO label printer from the "
                          "command line\n");
    QTest::newRow("solvarn-sjekk, synopsis")
        << QStringLiteral("solvarn-sjekk") << QStringLiteral(".SH SYNOPSIS\n");
    QTest::newRow("solvarn-sjekk, exit status of monitoring")
        << QStringLiteral("solvarn-sjekk") << QStringLiteral(".SH EXIT STATUS\n");
    QTest::newRow("solvarn-sjekk, UNKNOWN is 3")
        << QStringLiteral("solvarn-sjekk") << QStringLiteral(".B 3\nUNKNOWN:");
    QTest::newRow("solvarn-sjekk, environment")
        << QStringLiteral("solvarn-sjekk")
        << QStringLiteral(".SH ENVIRONMENT\n.TP\n.B SOLVARN_COM_PORTS\n");
    QTest::newRow("solvarn-sjekk, examples")
        << QStringLiteral("solvarn-sjekk") << QStringLiteral(".SH EXAMPLES\n");
    QTest::newRow("solvarn-sjekk, see also")
        << QStringLiteral("solvarn-sjekk")
        << QStringLiteral(".SH SEE ALSO\n.BR solvarn-printersjekk (1),");
    QTest::newRow("printer-sim, its name line")
        << QStringLiteral("printer-sim")
        << QStringLiteral(".SH NAME\nprinter-sim \\- play a SATO label printer for support, "
                          "training and tests\n");
    QTest::newRow("printer-sim, exit status 4")
        << QStringLiteral("printer-sim") << QStringLiteral(".B 4\nPseudo-terminal failure");
    QTest::newRow("printer-sim, environment")
        << QStringLiteral("printer-sim") << QStringLiteral(".SH ENVIRONMENT\n");
    QTest::newRow("printer-sim, files: the link")
        << QStringLiteral("printer-sim") << QStringLiteral(".SH FILES\n.TP\n.I path\n");
    QTest::newRow("printer-sim, see also")
        << QStringLiteral("printer-sim") << QStringLiteral(".SH SEE ALSO\n");
}

void TestInstallTree::manualPage()
{
    QFETCH(QString, program);
    QFETCH(QString, expected);

    const QString page = manualPageSource(program);
    QVERIFY2(page.startsWith(QStringLiteral(".\\\"")) || page.startsWith(QStringLiteral(".TH")),
             qPrintable(page.left(200)));
    QVERIFY2(page.contains(expected), qPrintable(page.left(2000)));
}

// Every option that the program's --help names has an entry of its own (a .TP tag) in the
// OPTIONS section of its page, so that a new option cannot reach --help and miss the page.
void TestInstallTree::manualPageOptions_data()
{
    QTest::addColumn<QString>("program");
    QTest::addColumn<QString>("executable");
    QTest::addColumn<QStringList>("someOptions"); // a few that --help must be seen to name
    QTest::addColumn<int>("helpExit");            // a monitoring plugin's --help ends with 3

    QTest::newRow("solvarn-sjekk")
        << QStringLiteral("solvarn-sjekk") << QStringLiteral(SOLVARN_SJEKK_PATH)
        << QStringList{QStringLiteral("-h"), QStringLiteral("--help"), QStringLiteral("--from"),
                       QStringLiteral("--timeout")}
        << 3;
    QTest::newRow("printer-sim") << QStringLiteral("printer-sim")
                                 << QStringLiteral(PRINTER_SIM_PATH)
                                 << QStringList{QStringLiteral("-s"), QStringLiteral("--status"),
                                                QStringLiteral("--allow-non-loopback"),
                                                QStringLiteral("--split-pause")}
                                 << 0;
}

void TestInstallTree::manualPageOptions()
{
    QFETCH(QString, program);
    QFETCH(QString, executable);
    QFETCH(QStringList, someOptions);
    QFETCH(int, helpExit);

    bool ok = false;
    int exitCode = -1;
    const QString help = run(executable, {QStringLiteral("--help")}, &ok, &exitCode);
    QVERIFY2(exitCode == helpExit, qPrintable(help));
    // Anything that looks like an option anywhere in --help, in its descriptions too.
    static const QRegularExpression optionInHelp(
        QStringLiteral("(?<![\\w-])(--?[A-Za-z][A-Za-z0-9-]*)"));
    QStringList options;
    for (auto match = optionInHelp.globalMatch(help); match.hasNext();)
        options << match.next().captured(1);
    options.removeDuplicates();
    for (const QString &option : someOptions)
        QVERIFY2(options.contains(option), qPrintable(option + QStringLiteral(" in --help")));

    const QString page = manualPageSource(program);
    const qsizetype begin = page.indexOf(QStringLiteral("\n.SH OPTIONS\n"));
    QVERIFY2(begin >= 0, "the page has no OPTIONS section");
    qsizetype end = page.indexOf(QStringLiteral("\n.SH "), begin + 1);
    if (end < 0)
        end = page.size();
    // The tags of the section's entries, as the reader sees them: without font changes, with
    // groff's minus \- as the hyphen it shows.
    static const QRegularExpression fontChange(QStringLiteral("\\\\f(\\[[^\\]]*\\]|\\(..|.)"));
    QStringList tags;
    const QStringList lines = page.mid(begin, end - begin).split(QLatin1Char('\n'));
    for (qsizetype i = 1; i < lines.size(); ++i) {
        if (lines.at(i - 1).startsWith(QStringLiteral(".TP"))) {
            QString tag = lines.at(i);
            tag.remove(fontChange).remove(QStringLiteral("\\%")).remove(QStringLiteral("\\&"));
            tags << tag.replace(QStringLiteral("\\-"), QStringLiteral("-"));
        }
    }
    const QString tagText = tags.join(QLatin1Char('\n'));
    for (const QString &option : std::as_const(options)) {
        const QRegularExpression entry(
            QStringLiteral("(?<![\\w-])%1(?![\\w-])").arg(QRegularExpression::escape(option)));
        QVERIFY2(tagText.contains(entry),
                 qPrintable(QStringLiteral("%1 --help names %2, which has no entry under OPTIONS "
                                           "in its manual page")
                                .arg(program, option)));
    }
}

// As man shows the page, with groff's warnings on (what lintian checks too).
void TestInstallTree::manualPageWarnings_data()
{
    QTest::addColumn<QString>("program");
    QTest::newRow("window") << QStringLiteral("solvarn-printersjekk");
    QTest::newRow("solvarn-sjekk") << QStringLiteral("solvarn-sjekk");
    QTest::newRow("printer-sim") << QStringLiteral("printer-sim");
}

void TestInstallTree::manualPageWarnings()
{
    QFETCH(QString, program);

    const QString man = QStandardPaths::findExecutable(QStringLiteral("man"));
    if (man.isEmpty())
        QSKIP("man (man-db) is not installed");
    QProcess process;
    QProcessEnvironment environment = QProcessEnvironment::systemEnvironment();
    environment.insert(QStringLiteral("LC_ALL"), QStringLiteral("C.UTF-8"));
    environment.insert(QStringLiteral("MANWIDTH"), QStringLiteral("80"));
    process.setProcessEnvironment(environment);
    process.start(man, {QStringLiteral("--warnings"), QStringLiteral("-E"), QStringLiteral("UTF-8"),
                        QStringLiteral("-l"),
                        path(QStringLiteral("share/man/man1/%1.1.gz").arg(program))});
    QVERIFY(process.waitForFinished(processTimeoutMs));
    const QString shown = QString::fromUtf8(process.readAllStandardOutput());
    const QString warnings = QString::fromUtf8(process.readAllStandardError());
    QCOMPARE(process.exitCode(), 0);
    QVERIFY2(warnings.isEmpty(), qPrintable(warnings));
    QVERIFY2(shown.contains(QStringLiteral("SEE ALSO")), qPrintable(shown.left(500)));
}

QTEST_GUILESS_MAIN(TestInstallTree)
#include "tst_installtree.moc"
