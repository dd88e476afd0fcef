// The Icinga 2 definitions in docs/monitoring, checked by the real engine (`icinga2 daemon -C`)
// in a small configuration that includes them. Runs where icinga2 is installed and the test
// runs as root (the engine validates as root); says so and skips otherwise.

#include <QProcess>
#include <QStandardPaths>
#include <QTemporaryDir>
#include <QTest>

#include <unistd.h>

namespace {
const QString monitoringDir = QStringLiteral(SOLVARN_MONITORING_DIR);

const QString hosts = QStringLiteral("object Host \"etikettskriver-lager\" {\n"
                                     "  address = \"127.0.9.40\"\n"
                                     "  check_command = \"solvarn-sjekk-network\"\n"
                                     "  vars.solvarn_printer = \"network\"\n"
                                     "}\n"
                                     "object Host \"kasse-1\" {\n"
                                     "  address = \"127.0.9.41\"\n"
                                     "  check_command = \"solvarn-sjekk-network\"\n"
                                     "  vars.solvarn_printer = \"serial\"\n"
                                     "  vars.solvarn_to = 4\n"
                                     "}\n");
} // namespace

class TestMonitoringConfig : public QObject
{
    Q_OBJECT

private slots:
    void icinga2Validates_data();
    void icinga2Validates();
};

void TestMonitoringConfig::icinga2Validates_data()
{
    QTest::addColumn<QString>("extra");
    QTest::addColumn<bool>("valid");
    QTest::newRow("definitions as shipped") << QString() << true;
    // Proves that the engine really looks at the commands: a wrong name must fail.
    QTest::newRow("a service naming a missing command")
        << QStringLiteral("object Service \"x\" {\n  host_name = \"kasse-1\"\n"
                          "  check_command = \"solvarn-sjekk-nettverk\"\n}\n")
        << false;
}

void TestMonitoringConfig::icinga2Validates()
{
    QFETCH(QString, extra);
    QFETCH(bool, valid);

    const QString icinga2 = QStandardPaths::findExecutable(
        QStringLiteral("icinga2"), {QStringLiteral("/usr/sbin"), QStringLiteral("/usr/bin")});
    if (icinga2.isEmpty())
        QSKIP("icinga2 is not installed (Debian package icinga2-bin): Icinga 2 check skipped");
    if (::geteuid() != 0)
        QSKIP("icinga2 validates as root only: Icinga 2 check skipped");

    QTemporaryDir dir;
    QVERIFY(dir.isValid());
    QFile config(dir.filePath(QStringLiteral("icinga2.conf")));
    QVERIFY(config.open(QIODevice::WriteOnly));
    // Copies: the engine reads as its own user, who may not reach the source tree.
    for (const char *name : {"solvarn-sjekk.conf", "icinga2-services.conf"}) {
        const QString copy = dir.filePath(QLatin1String(name));
        QVERIFY(QFile::copy(monitoringDir + QLatin1Char('/') + QLatin1String(name), copy));
        QVERIFY(QFile::setPermissions(copy, QFile::ReadOwner | QFile::ReadOther));
    }
    const QString text = QStringLiteral("include \"solvarn-sjekk.conf\"\n"
                                        "include \"icinga2-services.conf\"\n") +
                         hosts + extra;
    config.write(text.toUtf8());
    config.close();
    QVERIFY(QFile::setPermissions(dir.path(), QFile::ReadOwner | QFile::WriteOwner |
                                                  QFile::ExeOwner | QFile::ReadOther |
                                                  QFile::ExeOther));
    QVERIFY(config.setPermissions(QFile::ReadOwner | QFile::WriteOwner | QFile::ReadOther));

    QProcess process;
    process.setProcessChannelMode(QProcess::MergedChannels);
    process.start(icinga2, {QStringLiteral("daemon"), QStringLiteral("-C"), QStringLiteral("-c"),
                            config.fileName()});
    QVERIFY(process.waitForFinished(60000));
    const QString output = QString::fromUtf8(process.readAll());
    QVERIFY2((process.exitCode() == 0) == valid, qPrintable(output));
    if (valid) {
        QVERIFY2(output.contains(QStringLiteral("Instantiated 2 CheckCommands")),
                 qPrintable(output));
        QVERIFY2(output.contains(QStringLiteral("Instantiated 2 Services")), qPrintable(output));
    }
}

QTEST_MAIN(TestMonitoringConfig)
#include "tst_monitoringconfig.moc"
