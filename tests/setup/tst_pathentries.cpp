// The installer's edit of the system PATH (pathedit): whole entries only, every other character
// kept, and a value that would grow too long left alone.

#include "pathentries.h"

#include <QTest>

Q_DECLARE_METATYPE(PathEditOutcome)

class TestPathEntries : public QObject
{
    Q_OBJECT

private slots:
    void edit_data();
    void edit();
};

void TestPathEntries::edit_data()
{
    QTest::addColumn<QString>("action");
    QTest::addColumn<QString>("path");
    QTest::addColumn<QString>("folder");
    QTest::addColumn<PathEditOutcome>("outcome");
    QTest::addColumn<QString>("expected");

    const QString add = QStringLiteral("add");
    const QString remove = QStringLiteral("remove");
    const QString folder = QStringLiteral("C:\\Program Files\\Solvarn printersjekk");
    const auto changed = PathEditOutcome::Changed;
    const auto unchanged = PathEditOutcome::Unchanged;

    QTest::newRow("add: appended, %SystemRoot% kept as written")
        << add << "%SystemRoot%\\system32;%SystemRoot%" << folder << changed
        << "%SystemRoot%\\system32;%SystemRoot%;C:\\Program Files\\Solvarn printersjekk";
    QTest::newRow("add: there already, other case and a trailing backslash")
        << add << "C:\\Windows;c:\\program files\\SOLVARN printersjekk\\;D:\\x" << folder
        << unchanged << "C:\\Windows;c:\\program files\\SOLVARN printersjekk\\;D:\\x";
    QTest::newRow("add: there already, with a trailing slash")
        << add << "C:\\Windows;C:\\Program Files\\Solvarn printersjekk/" << folder << unchanged
        << "C:\\Windows;C:\\Program Files\\Solvarn printersjekk/";
    QTest::newRow("add: there already, in quotes")
        << add << "\"C:\\Program Files\\Solvarn printersjekk\";C:\\Windows" << folder << unchanged
        << "\"C:\\Program Files\\Solvarn printersjekk\";C:\\Windows";
    QTest::newRow("add: a folder that shares the name as a prefix is another folder")
        << add << "C:\\Program Files\\Solvarn printersjekk-gammel;C:\\Windows" << folder << changed
        << "C:\\Program Files\\Solvarn printersjekk-gammel;C:\\Windows;C:\\Program "
           "Files\\Solvarn printersjekk";
    QTest::newRow("add: the folder's text inside a quoted entry is no entry")
        << add << "\"C:\\a;C:\\Program Files\\Solvarn printersjekk;b\"" << folder << changed
        << "\"C:\\a;C:\\Program Files\\Solvarn printersjekk;b\";C:\\Program Files\\Solvarn "
           "printersjekk";
    QTest::newRow("add: empty PATH")
        << add << "" << folder << changed << "C:\\Program Files\\Solvarn printersjekk";
    QTest::newRow("add: a closing separator stays closing")
        << add << "C:\\Windows;" << folder << changed
        << "C:\\Windows;C:\\Program Files\\Solvarn printersjekk;";
    QTest::newRow("add: empty entries and blanks kept")
        << add << "C:\\Windows;; C:\\Tools " << folder << changed
        << "C:\\Windows;; C:\\Tools ;C:\\Program Files\\Solvarn printersjekk";
    QTest::newRow("add: Norwegian letters compared without case")
        << add << "c:\\programfiler\\SOLVARN ÆØÅ"
        << "C:\\Programfiler\\Solvarn æøå" << unchanged << "c:\\programfiler\\SOLVARN ÆØÅ";
    QTest::newRow("add: a folder with a separator goes in quotes")
        << add << "C:\\Windows"
        << "C:\\a;b" << changed << "C:\\Windows;\"C:\\a;b\"";
    // 32728 + 1 + 37 characters: exactly the 32766 that Windows takes.
    QTest::newRow("add: up to the longest value")
        << add << QString(32728, QLatin1Char('x')) << folder << changed
        << QString(32728, QLatin1Char('x')) + ";C:\\Program Files\\Solvarn printersjekk";
    QTest::newRow("add: one past the longest value is refused, the PATH left whole")
        << add << QString(32729, QLatin1Char('x')) << folder << PathEditOutcome::TooLong
        << QString(32729, QLatin1Char('x'));

    QTest::newRow("remove: the last entry")
        << remove << "%SystemRoot%\\system32;C:\\Program Files\\Solvarn printersjekk" << folder
        << changed << "%SystemRoot%\\system32";
    QTest::newRow("remove: an entry with a trailing slash")
        << remove << "C:\\Windows;C:\\Program Files\\Solvarn printersjekk/;D:\\Tools" << folder
        << changed << "C:\\Windows;D:\\Tools";
    QTest::newRow("remove: the neighbour that shares the prefix stays whole")
        << remove
        << "C:\\Windows;C:\\Program Files\\Solvarn printersjekk-gammel;C:\\Program "
           "Files\\Solvarn printersjekk"
        << folder << changed << "C:\\Windows;C:\\Program Files\\Solvarn printersjekk-gammel";
    QTest::newRow("remove: only the prefix-sharing folder there")
        << remove << "C:\\Windows;C:\\Program Files\\Solvarn printersjekk-gammel" << folder
        << unchanged << "C:\\Windows;C:\\Program Files\\Solvarn printersjekk-gammel";
    QTest::newRow("remove: not from inside a quoted entry")
        << remove << "\"C:\\a;C:\\Program Files\\Solvarn printersjekk;b\";C:\\Windows" << folder
        << unchanged << "\"C:\\a;C:\\Program Files\\Solvarn printersjekk;b\";C:\\Windows";
    QTest::newRow("remove: the first entry with the separator after it")
        << remove << "C:\\Program Files\\Solvarn printersjekk;C:\\Windows" << folder << changed
        << "C:\\Windows";
    QTest::newRow("remove: the only entry")
        << remove << "C:\\Program Files\\Solvarn printersjekk" << folder << changed << "";
    QTest::newRow("remove: from the middle, entries added later stay")
        << remove << "C:\\Windows;C:\\Program Files\\Solvarn printersjekk;D:\\Tools" << folder
        << changed << "C:\\Windows;D:\\Tools";
    QTest::newRow("remove: a closing separator comes back")
        << remove << "C:\\Windows;C:\\Program Files\\Solvarn printersjekk;" << folder << changed
        << "C:\\Windows;";
    QTest::newRow("remove: only the last of two")
        << remove
        << "C:\\Program Files\\Solvarn printersjekk;C:\\Windows;c:\\program files\\solvarn "
           "printersjekk\\"
        << folder << changed << "C:\\Program Files\\Solvarn printersjekk;C:\\Windows";
}

void TestPathEntries::edit()
{
    QFETCH(QString, action);
    QFETCH(QString, path);
    QFETCH(QString, folder);
    QFETCH(PathEditOutcome, outcome);
    QFETCH(QString, expected);

    const PathEdit edit = action == QLatin1String("add")
                              ? addPathEntry(path.toStdWString(), folder.toStdWString())
                              : removePathEntry(path.toStdWString(), folder.toStdWString());
    QCOMPARE(int(edit.outcome), int(outcome));
    QCOMPARE(QString::fromStdWString(edit.path), expected);
}

QTEST_GUILESS_MAIN(TestPathEntries)
#include "tst_pathentries.moc"
