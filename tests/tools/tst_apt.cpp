// apt.sh's apt_get as ./dev and the package check call it, with a fake apt-get (and sudo) first
// on the PATH: the lock wait reaches apt-get, and a busy apt is told apart.

#include <QFile>
#include <QProcess>
#include <QTemporaryDir>
#include <QTest>

class TestApt : public QObject
{
    Q_OBJECT

private slots:
    void lockWait_data();
    void lockWait();
};

namespace {

constexpr int scriptTimeoutMs = 30000;

// apt-get writes its arguments, one a line, to apt-get.args beside it, then says what it is
// told to on standard error and exits with the status it is told to. sudo runs its command.
bool writeFakes(const QTemporaryDir &dir)
{
    const QList<std::pair<QString, QByteArray>> fakes = {
        {QStringLiteral("apt-get"),
         "#!/bin/sh\n"
         "printf '%s\\n' \"$@\" > \"$(dirname \"$0\")/apt-get.args\"\n"
         "[ -n \"$FAKE_APT_SAYS\" ] && printf '%s\\n' \"$FAKE_APT_SAYS\" >&2\n"
         "exit \"${FAKE_APT_STATUS:-0}\"\n"},
        {QStringLiteral("sudo"), "#!/bin/sh\nexec \"$@\"\n"},
    };
    for (const auto &[name, text] : fakes) {
        QFile file(dir.filePath(name));
        if (!file.open(QIODevice::WriteOnly) || file.write(text) != text.size())
            return false;
        file.close();
        if (!file.setPermissions(file.permissions() | QFileDevice::ExeOwner))
            return false;
    }
    return true;
}

} // namespace

void TestApt::lockWait_data()
{
    // SOLVARN_APT_WAIT as the user set it; null: not set at all.
    QTest::addColumn<QString>("wait");
    QTest::addColumn<QStringList>("arguments"); // to apt_get
    QTest::addColumn<int>("aptStatus");
    QTest::addColumn<QString>("aptSays");
    QTest::addColumn<QStringList>("aptGot"); // the arguments apt-get was given
    QTest::addColumn<QString>("told");       // apt.sh's own words after apt-get; empty: none

    const QString busy = QStringLiteral(
        "E: Could not get lock /var/lib/dpkg/lock-frontend. It is held by process 4242 "
        "(unattended-upgr)");
    QTest::newRow("the default wait")
        << QString() << QStringList{"update"} << 0 << QString()
        << QStringList{"-o", "DPkg::Lock::Timeout=300", "update"} << QString();
    QTest::newRow("SOLVARN_APT_WAIT")
        << "7" << QStringList{"install", "-y", "--no-install-recommends", "xvfb"} << 0 << QString()
        << QStringList{"-o", "DPkg::Lock::Timeout=7",   "install",
                       "-y", "--no-install-recommends", "xvfb"}
        << QString();
    QTest::newRow("SOLVARN_APT_WAIT empty: the default")
        << "" << QStringList{"update"} << 0 << QString()
        << QStringList{"-o", "DPkg::Lock::Timeout=300", "update"} << QString();
    QTest::newRow("still busy after the wait")
        << "12" << QStringList{"update"} << 100 << busy
        << QStringList{"-o", "DPkg::Lock::Timeout=12", "update"}
        << "apt is still busy after 12 s: another program holds its lock";
    QTest::newRow("another failure: apt's words alone")
        << "12" << QStringList{"install", "-y", "no-such-package"} << 100
        << "E: Unable to locate package no-such-package"
        << QStringList{"-o", "DPkg::Lock::Timeout=12", "install", "-y", "no-such-package"}
        << QString();
}

void TestApt::lockWait()
{
    QFETCH(QString, wait);
    QFETCH(QStringList, arguments);
    QFETCH(int, aptStatus);
    QFETCH(QString, aptSays);
    QFETCH(QStringList, aptGot);
    QFETCH(QString, told);

    QTemporaryDir fakes;
    QVERIFY(fakes.isValid());
    QVERIFY(writeFakes(fakes));

    QProcessEnvironment environment = QProcessEnvironment::systemEnvironment();
    environment.insert(QStringLiteral("PATH"),
                       fakes.path() + QLatin1Char(':') + environment.value(QStringLiteral("PATH")));
    environment.remove(QStringLiteral("SOLVARN_APT_WAIT"));
    if (!wait.isNull())
        environment.insert(QStringLiteral("SOLVARN_APT_WAIT"), wait);
    environment.insert(QStringLiteral("FAKE_APT_STATUS"), QString::number(aptStatus));
    environment.insert(QStringLiteral("FAKE_APT_SAYS"), aptSays);
    QProcess bash;
    bash.setProcessEnvironment(environment);
    bash.start(QStringLiteral("bash"),
               QStringList{QStringLiteral("-c"), QStringLiteral(". \"$0\" && apt_get \"$@\""),
                           QStringLiteral(SOLVARN_APT_SCRIPT)} +
                   arguments);
    QVERIFY(bash.waitForFinished(scriptTimeoutMs));
    const QString errors = QString::fromUtf8(bash.readAllStandardError());
    QCOMPARE(bash.exitStatus(), QProcess::NormalExit);
    QVERIFY2(bash.exitCode() == aptStatus, qPrintable(errors));

    QFile got(fakes.filePath(QStringLiteral("apt-get.args")));
    QVERIFY2(got.open(QIODevice::ReadOnly), qPrintable(errors));
    QCOMPARE(QString::fromUtf8(got.readAll()).split(QLatin1Char('\n'), Qt::SkipEmptyParts), aptGot);
    // apt's own words pass through, and apt.sh's follow only for a lock still held.
    QVERIFY2(errors.contains(aptSays), qPrintable(errors));
    QVERIFY2(told.isEmpty() ? !errors.contains(QStringLiteral("apt is still busy"))
                            : errors.contains(told),
             qPrintable(errors));
}

QTEST_GUILESS_MAIN(TestApt)
#include "tst_apt.moc"
