// The Icinga 2 definitions in docs/monitoring, checked by the real engine: validated
// (`icinga2 daemon -C`) in a small configuration that includes them, and run by the daemon
// itself against printer-sim on 127.0.9.70 to 127.0.9.79 and a pseudo-terminal, and against the
// printers that `solvarn-sjekk find --icinga2` listed on 127.0.25.200 to 127.0.25.207, the results
// read back through its REST API on 127.0.0.1. Runs where icinga2 is installed and the test
// runs as root (the engine validates as root and runs the checks as its own user); says so and
// skips otherwise. The Nagios command of docs/monitoring/nagios.cfg runs as Nagios would run it,
// through the shell, against printer-sim on 127.0.9.80 and 127.0.9.81.

#include "simprocess.h"

#include <QAuthenticator>
#include <QDeadlineTimer>
#include <QEventLoop>
#include <QJsonArray>
#include <QJsonDocument>
#include <QJsonObject>
#include <QMap>
#include <QNetworkAccessManager>
#include <QNetworkReply>
#include <QProcess>
#include <QRegularExpression>
#include <QStandardPaths>
#include <QTcpServer>
#include <QTemporaryDir>
#include <QTest>
#include <QTimer>

#include <memory>
#include <vector>

#include <pwd.h>
#include <sys/types.h>
#include <unistd.h>

namespace {
const QString monitoringDir = QStringLiteral(SOLVARN_MONITORING_DIR);
const QString checkProgram = QStringLiteral(SOLVARN_SJEKK_PATH);
// The daemon as Debian installs it; /usr/sbin/icinga2 is a wrapper that wants the service's
// folders.
const QString icinga2Daemon = QStringLiteral("/usr/lib/x86_64-linux-gnu/icinga2/sbin/icinga2");
const QString icingaUser = QStringLiteral("nagios");
const QString nodeName = QStringLiteral("solvarn-test");
const QString apiUser = QStringLiteral("solvarn");
const QString apiPassword = QStringLiteral("proeve");
constexpr int apiWaitMs = 10000;

QString findIcinga2()
{
    return QStandardPaths::findExecutable(
        QStringLiteral("icinga2"), {QStringLiteral("/usr/sbin"), QStringLiteral("/usr/bin")});
}

bool giveTo(const QString &path, uid_t user, gid_t group)
{
    return ::chown(QFile::encodeName(path).constData(), user, group) == 0;
}

bool writeFile(const QString &path, const QString &text)
{
    QFile file(path);
    return file.open(QIODevice::WriteOnly) && file.write(text.toUtf8()) >= 0;
}

// The Icinga 2 daemon in the foreground under a private configuration and state in a temporary
// folder, as its own user, with the REST API on a free port of 127.0.0.1.
class Icinga2Run
{
public:
    ~Icinga2Run() { stop(); }

    // Empty when running, otherwise why not. In printerHosts, @SJEKK@ stands for the program.
    QString start(const QString &printerHosts)
    {
        const passwd *user = ::getpwnam(qPrintable(icingaUser));
        if (!user)
            return QStringLiteral("no user ") + icingaUser;
        if (!m_dir.isValid())
            return QStringLiteral("no temporary folder");
        const auto everyoneReads = QFileDevice::ReadOwner | QFileDevice::WriteOwner |
                                   QFileDevice::ExeOwner | QFileDevice::ReadOther |
                                   QFileDevice::ExeOther;
        QFile::setPermissions(m_dir.path(), everyoneReads);
        // The user runs its copy of the check: the build tree may be closed to it.
        m_program = m_dir.filePath(QStringLiteral("solvarn-sjekk"));
        if (!QFile::copy(checkProgram, m_program) ||
            !QFile::setPermissions(m_program, everyoneReads))
            return QStringLiteral("no copy of solvarn-sjekk");
        for (const char *name : {"solvarn-sjekk.conf", "icinga2-services.conf"}) {
            const QString copy = m_dir.filePath(QLatin1String(name));
            if (!QFile::copy(monitoringDir + QLatin1Char('/') + QLatin1String(name), copy))
                return QStringLiteral("no copy of ") + QLatin1String(name);
            QFile::setPermissions(copy, QFileDevice::ReadOwner | QFileDevice::ReadOther);
        }
        QTcpServer probe;
        if (!probe.listen(QHostAddress::LocalHost))
            return QStringLiteral("no free port on 127.0.0.1");
        m_port = probe.serverPort();
        probe.close();

        for (const char *folder : {"state", "state/run", "state/data", "state/data/certs",
                                   "state/cache", "state/log", "state/spool"}) {
            const QString path = m_dir.filePath(QLatin1String(folder));
            if (!QDir().mkpath(path) || !giveTo(path, user->pw_uid, user->pw_gid))
                return QStringLiteral("no folder ") + path;
        }
        const QString certs = m_dir.filePath(QStringLiteral("state/data/certs/"));
        QProcess pki;
        pki.setProcessEnvironment(daemonEnvironment());
        pki.setProcessChannelMode(QProcess::MergedChannels);
        pki.start(findIcinga2(),
                  {QStringLiteral("pki"), QStringLiteral("new-cert"), QStringLiteral("--cn"),
                   nodeName, QStringLiteral("--key"), certs + nodeName + QStringLiteral(".key"),
                   QStringLiteral("--cert"), certs + nodeName + QStringLiteral(".crt")});
        if (!pki.waitForFinished(60000) || pki.exitCode() != 0)
            return QStringLiteral("no certificate: ") + QString::fromUtf8(pki.readAll());
        // Its own certificate authority.
        if (!QFile::copy(certs + nodeName + QStringLiteral(".crt"),
                         certs + QStringLiteral("ca.crt")) ||
            !giveTo(certs + QStringLiteral("ca.crt"), user->pw_uid, user->pw_gid))
            return QStringLiteral("no ca.crt");

        const QString config =
            QStringLiteral("const NodeName = \"%1\"\n"
                           "include \"solvarn-sjekk.conf\"\n"
                           "include \"icinga2-services.conf\"\n"
                           "object Endpoint NodeName { }\n"
                           "object Zone NodeName { endpoints = [ NodeName ] }\n"
                           "object CheckerComponent \"checker\" { }\n"
                           "object ApiListener \"api\" {\n"
                           "  bind_host = \"127.0.0.1\"\n"
                           "  bind_port = %2\n"
                           "}\n"
                           "object ApiUser \"%3\" {\n"
                           "  password = \"%4\"\n"
                           "  permissions = [ \"*\" ]\n"
                           "}\n"
                           "object CheckCommand \"alive\" { command = [ \"/bin/true\" ] }\n")
                .arg(nodeName)
                .arg(m_port)
                .arg(apiUser, apiPassword) +
            QString(printerHosts).replace(QLatin1String("@SJEKK@"), m_program);
        const QString configPath = m_dir.filePath(QStringLiteral("icinga2.conf"));
        if (!writeFile(configPath, config))
            return QStringLiteral("no icinga2.conf");
        QFile::setPermissions(configPath, QFileDevice::ReadOwner | QFileDevice::ReadOther);

        const QString state = m_dir.filePath(QStringLiteral("state"));
        m_daemon.setProcessEnvironment(daemonEnvironment());
        m_daemon.setProcessChannelMode(QProcess::MergedChannels);
        m_daemon.start(icinga2Daemon,
                       {QStringLiteral("daemon"), QStringLiteral("-c"), configPath,
                        QStringLiteral("-DInitRunDir=") + state + QStringLiteral("/run"),
                        QStringLiteral("-DDataDir=") + state + QStringLiteral("/data"),
                        QStringLiteral("-DCacheDir=") + state + QStringLiteral("/cache"),
                        QStringLiteral("-DLogDir=") + state + QStringLiteral("/log"),
                        QStringLiteral("-DSpoolDir=") + state + QStringLiteral("/spool")});
        if (!m_daemon.waitForStarted(10000))
            return QStringLiteral("the daemon did not start: ") + m_daemon.errorString();
        // Answering once it has loaded the configuration and opened its API.
        const QDeadlineTimer deadline(60000);
        while (!deadline.hasExpired()) {
            if (m_daemon.state() == QProcess::NotRunning)
                return QStringLiteral("the daemon ended: ") + output();
            if (request("GET", QStringLiteral("/v1/status/IcingaApplication")).contains("results"))
                return QString();
            QTest::qWait(500);
        }
        return QStringLiteral("the API did not answer within 60 s: ") + output();
    }

    void stop()
    {
        if (m_daemon.state() == QProcess::NotRunning)
            return;
        m_daemon.terminate();
        if (!m_daemon.waitForFinished(20000)) {
            m_daemon.kill();
            m_daemon.waitForFinished(5000);
        }
    }

    QString output() { return QString::fromUtf8(m_daemon.readAll()); }

    // The API's answer, or empty.
    QByteArray request(const QByteArray &verb, const QString &path, const QByteArray &body = {})
    {
        QNetworkAccessManager manager;
        QNetworkRequest request(
            QUrl(QStringLiteral("https://127.0.0.1:%1%2").arg(m_port).arg(path)));
        request.setRawHeader("Accept", "application/json");
        request.setRawHeader("Authorization",
                             "Basic " +
                                 (apiUser + QLatin1Char(':') + apiPassword).toUtf8().toBase64());
        if (!body.isEmpty())
            request.setHeader(QNetworkRequest::ContentTypeHeader,
                              QStringLiteral("application/json"));
        QNetworkReply *reply = manager.sendCustomRequest(request, verb, body);
        // Its own certificate, made for this run only.
        QObject::connect(reply, &QNetworkReply::sslErrors, reply,
                         [reply](const QList<QSslError> &) { reply->ignoreSslErrors(); });
        QEventLoop loop;
        QObject::connect(reply, &QNetworkReply::finished, &loop, &QEventLoop::quit);
        QTimer::singleShot(apiWaitMs, &loop, &QEventLoop::quit);
        loop.exec();
        const QByteArray answer = reply->isFinished() ? reply->readAll() : QByteArray();
        reply->abort();
        reply->deleteLater();
        return answer;
    }

private:
    static QProcessEnvironment daemonEnvironment()
    {
        QProcessEnvironment environment = QProcessEnvironment::systemEnvironment();
        environment.insert(QStringLiteral("ICINGA2_USER"), icingaUser);
        environment.insert(QStringLiteral("ICINGA2_GROUP"), icingaUser);
        return environment;
    }

    QTemporaryDir m_dir;
    QProcess m_daemon;
    QString m_program;
    quint16 m_port = 0;
};

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
// As an installation's icinga2.conf and constants.conf have them.
const QString itlIncludes = QStringLiteral(
    "const PluginDir = \"/usr/lib/nagios/plugins\"\ninclude <itl>\ninclude <plugins>\n");

// The host objects that `solvarn-sjekk find --icinga2` lists for two printers (ready, out of
// labels) beside a host that accepts and never answers and addresses that refuse. The
// simulators stay in printers.
QString foundHosts(std::vector<std::unique_ptr<SimProcess>> &printers)
{
    for (const char *line : {"-a 127.0.25.201 -s A -l 300", "-a 127.0.25.202 -s c -l 0",
                             "-a 127.0.25.203 --no-reply"}) {
        printers.push_back(std::make_unique<SimProcess>());
        printers.back()->start(QString::fromLatin1(line).split(QLatin1Char(' ')));
        if (!printers.back()->waitUntilReady())
            return QString();
    }
    QProcess find;
    find.start(checkProgram,
               {QStringLiteral("find"), QStringLiteral("127.0.25.200-207"),
                QStringLiteral("--icinga2"), QStringLiteral("--timeout"), QStringLiteral("1")});
    if (!find.waitForFinished(30000) || find.exitCode() != 0)
        return QString();
    return QString::fromUtf8(find.readAllStandardOutput());
}

// The command line of a command in nagios.cfg as Nagios hands it to the shell: its macros
// replaced by plain text, the program where this build has it. Empty where there is none.
QString nagiosCommandLine(const QString &commandName, const QMap<QString, QString> &macros)
{
    QFile file(monitoringDir + QStringLiteral("/nagios.cfg"));
    if (!file.open(QIODevice::ReadOnly))
        return QString();
    const QString config = QString::fromUtf8(file.readAll());
    const QRegularExpression definition(
        QStringLiteral("command_name\\s+%1\\s*\\n\\s*command_line\\s+([^\\n]+)")
            .arg(QRegularExpression::escape(commandName)));
    QString line = definition.match(config).captured(1).trimmed();
    line.replace(QStringLiteral("/usr/bin/solvarn-sjekk"), checkProgram);
    for (auto macro = macros.cbegin(); macro != macros.cend(); ++macro)
        line.replace(macro.key(), macro.value());
    return line;
}

} // namespace

class TestMonitoringConfig : public QObject
{
    Q_OBJECT

private slots:
    void icinga2Validates_data();
    void icinga2Validates();
    void icinga2RunsTheChecks_data();
    void icinga2RunsTheChecks();
    void nagiosCommandRuns_data();
    void nagiosCommandRuns();
    void cleanupTestCase();

private:
    // Started by the first row, for all of them.
    QString startDaemon();

    std::unique_ptr<Icinga2Run> m_icinga2;
    QString m_whyNot;
    QJsonObject m_services; // the results by service name
    std::vector<std::unique_ptr<SimProcess>> m_printers;
};

void TestMonitoringConfig::icinga2Validates_data()
{
    QTest::addColumn<QString>("extra");
    QTest::addColumn<bool>("valid");
    QTest::addColumn<int>("services");
    QTest::addColumn<bool>("onlyOurCommands");
    QTest::newRow("definitions as shipped") << QString() << true << 2 << true;
    std::vector<std::unique_ptr<SimProcess>> printers;
    // The hosts' "hostalive" comes from the Icinga Template Library, as in any installation.
    QTest::newRow("with the printers that find --icinga2 listed")
        << itlIncludes + foundHosts(printers) << true << 4 << false;
    // Proves that the engine really looks at the commands: a wrong name must fail.
    QTest::newRow("a service naming a missing command")
        << QStringLiteral("object Service \"x\" {\n  host_name = \"kasse-1\"\n"
                          "  check_command = \"solvarn-sjekk-nettverk\"\n}\n")
        << false << 0 << true;
}

void TestMonitoringConfig::icinga2Validates()
{
    QFETCH(QString, extra);
    QFETCH(bool, valid);
    QFETCH(int, services);
    QFETCH(bool, onlyOurCommands);

    const QString icinga2 = findIcinga2();
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
        QVERIFY2(!onlyOurCommands ||
                     output.contains(QStringLiteral("Instantiated 2 CheckCommands")),
                 qPrintable(output));
        QVERIFY2(output.contains(QStringLiteral("Instantiated %1 Services").arg(services)),
                 qPrintable(output));
    }
}

QString TestMonitoringConfig::startDaemon()
{
    if (findIcinga2().isEmpty())
        return QStringLiteral("icinga2 is not installed (Debian package icinga2-bin)");
    if (!QFile::exists(icinga2Daemon))
        return QStringLiteral("no Icinga 2 daemon at ") + icinga2Daemon;
    if (::geteuid() != 0)
        return QStringLiteral("the daemon runs the checks as its own user, which needs root");

    const auto startPrinter = [this](const QStringList &arguments) {
        m_printers.push_back(std::make_unique<SimProcess>());
        m_printers.back()->start(arguments);
        return m_printers.back()->waitUntilReady();
    };
    const auto args = [](const QString &line) { return line.split(QLatin1Char(' ')); };
    for (const char *line :
         {"-a 127.0.9.70 -s A -l 500", "-a 127.0.9.71 -s b -l 500", "-a 127.0.9.72 -s B -l 42",
          "-a 127.0.9.74 --no-reply", "-a 127.0.9.75 -s A -l 8",
          // A reply without the labels left: a short frame (STX, two blanks, A, ETX) ahead of
          // the whole one; the check reads the first.
          "-a 127.0.9.76 -s A --prefix \\x02\\x20\\x20A\\x03", "-a 127.0.9.77 -s A -l 8",
          "-a 127.0.9.78 -s A -l 8", "-a 127.0.9.79 --no-reply"}) {
        if (!startPrinter(args(QLatin1String(line))))
            return QStringLiteral("printer-sim did not start: ") + m_printers.back()->err();
    }
    if (!startPrinter(args(QStringLiteral("--serial -s A -l 120"))))
        return QStringLiteral("printer-sim --serial did not start: ") + m_printers.back()->err();
    SimProcess &serial = *m_printers.back();
    QDeadlineTimer lineDeadline(5000);
    while (!serial.out().contains(QLatin1Char('\n')) && !lineDeadline.hasExpired())
        QTest::qWait(20);
    const QString device = serial.out().section(QLatin1Char('\n'), 0, 0).trimmed();
    // The daemon's user opens it, as it would a port of group dialout it belongs to.
    if (!device.startsWith(QLatin1Char('/')) ||
        !QFile::setPermissions(device, QFileDevice::ReadOwner | QFileDevice::WriteOwner |
                                           QFileDevice::ReadGroup | QFileDevice::WriteGroup |
                                           QFileDevice::ReadOther | QFileDevice::WriteOther))
        return QStringLiteral("no pseudo-terminal for the serial printer");

    const auto host = [](const char *name, const char *address, const char *vars) {
        return QStringLiteral(
                   "object Host \"%1\" {\n  address = \"%2\"\n"
                   "  check_command = \"alive\"\n  vars.solvarn_sjekk = \"@SJEKK@\"\n%3}\n")
            .arg(QLatin1String(name), QLatin1String(address), QLatin1String(vars));
    };
    const QString hosts =
        host("skriver-klar", "127.0.9.70", "  vars.solvarn_printer = \"network\"\n") +
        host("skriver-feil", "127.0.9.71", "  vars.solvarn_printer = \"network\"\n") +
        host("skriver-advarsel", "127.0.9.72",
             "  vars.solvarn_printer = \"network\"\n  vars.solvarn_timeout = 12\n") +
        host("skriver-avvist", "127.0.9.73", "  vars.solvarn_printer = \"network\"\n") +
        host("skriver-stille", "127.0.9.74", "  vars.solvarn_printer = \"network\"\n") +
        host("skriver-rull", "127.0.9.75",
             "  vars.solvarn_printer = \"network\"\n  vars.solvarn_warning = \"10:\"\n") +
        host("skriver-uten-antall", "127.0.9.76",
             "  vars.solvarn_printer = \"network\"\n  vars.solvarn_warning = \"100:\"\n"
             "  vars.solvarn_critical = \"10:\"\n") +
        host("skriver-tom-start", "127.0.9.77",
             "  vars.solvarn_printer = \"network\"\n  vars.solvarn_critical = \":5.75\"\n") +
        // An unset warning passed on as "" (as a template's default might), beside a
        // critical range.
        host("skriver-tom-advarsel", "127.0.9.78",
             "  vars.solvarn_printer = \"network\"\n  vars.solvarn_warning = \"\"\n"
             "  vars.solvarn_critical = \"10:\"\n") +
        host("skriver-stille-ukjent", "127.0.9.79",
             "  vars.solvarn_printer = \"network\"\n  vars.solvarn_timeout = 3\n"
             "  vars.solvarn_timeout_state = \"UNKNOWN\"\n") +
        host("kasse-1", "127.0.0.1",
             qPrintable(QStringLiteral("  vars.solvarn_printer = \"serial\"\n"
                                       "  vars.solvarn_to = 1\n  vars.solvarn_pause = 100\n"
                                       "  vars.solvarn_com_ports = \"%1\"\n")
                            .arg(device)));

    // As an administrator takes them over, with the program where this build has it.
    QString found = foundHosts(m_printers);
    if (!found.contains(QLatin1String("object Host")))
        return QStringLiteral("FAIL find --icinga2 listed no printers: ") + found;
    found.replace(QStringLiteral("\n}\n"),
                  QStringLiteral("\n  vars.solvarn_sjekk = \"@SJEKK@\"\n}\n"));

    m_icinga2 = std::make_unique<Icinga2Run>();
    const QString whyNot = m_icinga2->start(hosts + itlIncludes + found);
    if (!whyNot.isEmpty())
        return QStringLiteral("FAIL ") + whyNot;
    // The shipped services check every 5 minutes, the first time somewhere within them: now.
    m_icinga2->request("POST", QStringLiteral("/v1/actions/reschedule-check"),
                       R"({"type": "Service", "filter": "true", "force": true})");

    const QDeadlineTimer deadline(120000);
    while (!deadline.hasExpired()) {
        const QJsonArray results =
            QJsonDocument::fromJson(
                m_icinga2->request("GET", QStringLiteral("/v1/objects/services?attrs=__name&"
                                                         "attrs=last_check_result&"
                                                         "attrs=check_timeout&attrs=vars")))
                .object()
                .value(QStringLiteral("results"))
                .toArray();
        QJsonObject checked;
        for (const QJsonValue &result : results) {
            const QJsonObject attrs = result.toObject().value(QStringLiteral("attrs")).toObject();
            if (attrs.value(QStringLiteral("last_check_result")).isObject())
                checked.insert(attrs.value(QStringLiteral("__name")).toString(), attrs);
        }
        // Every service the daemon holds, however many the configuration gives it.
        if (!results.isEmpty() && checked.size() == results.size()) {
            m_services = checked;
            break;
        }
        QTest::qWait(1000);
    }
    m_icinga2->stop();
    m_printers.clear();
    if (m_services.isEmpty())
        return QStringLiteral("FAIL not every service had a result within 120 s: ") +
               m_icinga2->output().right(2000);
    return QString();
}

void TestMonitoringConfig::icinga2RunsTheChecks_data()
{
    QTest::addColumn<QString>("service");
    QTest::addColumn<int>("state");
    QTest::addColumn<QString>("output"); // a pattern for the whole output
    QTest::addColumn<QString>("perfData");
    QTest::addColumn<int>("checkTimeout"); // the engine's: the plugin's and 10 s
    QTest::addColumn<QString>("command");  // a pattern for the command line, its arguments
                                           // joined by blanks; empty: any

    QTest::newRow("ready") << "skriver-klar!etikettskriver" << 0
                           << "^OK - 127\\.0\\.9\\.70: Printer OK \\(status A, 500 etiketter "
                              "igjen\\)$"
                           << "^time=[0-9.]+s;;;0\\.000;10\\.000 labels=500;;;0$" << 20
                           << QString();
    QTest::newRow("printer error")
        << "skriver-feil!etikettskriver" << 2
        << "^CRITICAL - 127\\.0\\.9\\.71: Off line, Skriverfeil - "
           "Skrivehodet åpent \\(status b, 500 etiketter igjen\\)$"
        << "^time=[0-9.]+s;;;0\\.000;10\\.000 labels=500;;;0$" << 20 << QString();
    QTest::newRow("warning, own timeout")
        << "skriver-advarsel!etikettskriver" << 1
        << "^WARNING - 127\\.0\\.9\\.72: Fargebåndet er nesten tomt \\(status B, 42 etiketter "
           "igjen\\)$"
        << "^time=[0-9.]+s;;;0\\.000;12\\.000 labels=42;;;0$" << 22 << QString();
    QTest::newRow("refused address")
        << "skriver-avvist!etikettskriver" << 2
        << "^CRITICAL - 127\\.0\\.9\\.73: port 1025: Connection refused \\(10061\\)\n"
           "port 1025: Connection refused \\(10061\\)\nport 1024: Connection refused \\(10061\\)$"
        << "^time=[0-9.]+s;;;0\\.000;10\\.000$" << 20 << QString();
    QTest::newRow("silent peer")
        << "skriver-stille!etikettskriver" << 2
        << "^CRITICAL - Finner ikke skriver på IP-adresse 127\\.0\\.9\\.74$"
        << "^time=[0-9.]+s;;;0\\.000;10\\.000$" << 20 << QString();
    QTest::newRow("labels below --warning")
        << "skriver-rull!etikettskriver" << 1
        << "^WARNING - 127\\.0\\.9\\.75: Printer OK \\(status A, 8 etiketter igjen\\), etiketter "
           "utenfor --warning 10:$"
        << "^time=[0-9.]+s;;;0\\.000;10\\.000 labels=8;10:;;0$" << 20 << QString();
    QTest::newRow("no label count, thresholds set")
        << "skriver-uten-antall!etikettskriver" << 3
        << "^UNKNOWN - 127\\.0\\.9\\.76: Printer OK \\(status A\\), svaret har ikke antall "
           "etiketter igjen \\(seks sifre\\), så --warning 100: og --critical 10: kan ikke "
           "sjekkes$"
        << "^time=[0-9.]+s;;;0\\.000;10\\.000$" << 20 << QString();
    QTest::newRow("a range with an empty start")
        << "skriver-tom-start!etikettskriver" << 2
        << "^CRITICAL - 127\\.0\\.9\\.77: Printer OK \\(status A, 8 etiketter igjen\\), "
           "etiketter utenfor --critical 5\\.75$"
        << "^time=[0-9.]+s;;;0\\.000;10\\.000 labels=8;;5\\.75;0$" << 20 << QString();
    QTest::newRow("serial printer through SOLVARN_COM_PORTS")
        << "kasse-1!etikettskriver-serie" << 0
        << "^OK - com1: - Skriver OK - \\(status A, 120 etiketter igjen\\)\n"
           "com1: - Skriver OK - \\(status A\\)$"
        << "^time=[0-9.]+s;;;0\\.000;10\\.000 answered=1;;;0 labels=120;;;0$" << 20 << QString();
    QTest::newRow("found by find --icinga2: ready")
        << "etikettskriver-127-0-25-201!etikettskriver" << 0
        << "^OK - 127\\.0\\.25\\.201: Printer OK \\(status A, 300 etiketter igjen\\)$"
        << "^time=[0-9.]+s;;;0\\.000;10\\.000 labels=300;;;0$" << 20 << QString();
    QTest::newRow("found by find --icinga2: out of labels")
        << "etikettskriver-127-0-25-202!etikettskriver" << 2
        << "^CRITICAL - 127\\.0\\.25\\.202: Off line, Skriverfeil - Tomt for etiketter "
           "\\(status c, 0 etiketter igjen\\)$"
        << "^time=[0-9.]+s;;;0\\.000;10\\.000 labels=0;;;0$" << 20 << QString();
    QTest::newRow("an empty warning is left out, the critical range kept")
        << "skriver-tom-advarsel!etikettskriver" << 2
        << "^CRITICAL - 127\\.0\\.9\\.78: Printer OK \\(status A, 8 etiketter igjen\\), "
           "etiketter utenfor --critical 10:$"
        << "^time=[0-9.]+s;;;0\\.000;10\\.000 labels=8;;10:;0$" << 20
        << "^\\S+ --plugin -H 127\\.0\\.9\\.78 -c 10: -t 10$";
    QTest::newRow("silent printer, timeout state UNKNOWN")
        << "skriver-stille-ukjent!etikettskriver" << 3
        << "^UNKNOWN - 127\\.0\\.9\\.79: tidsavbrudd, ingen status fra skriveren; kontrollen "
           "ble avbrutt etter 3 s \\(--timeout\\)$"
        << "^time=[0-9.]+s;;;0\\.000;3\\.000$" << 13
        << "^\\S+ --plugin -H 127\\.0\\.9\\.79 -t 3:UNKNOWN$";
}

void TestMonitoringConfig::icinga2RunsTheChecks()
{
    QFETCH(QString, service);
    QFETCH(int, state);
    QFETCH(QString, output);
    QFETCH(QString, perfData);
    QFETCH(int, checkTimeout);
    QFETCH(QString, command);

    if (!m_icinga2 && m_whyNot.isEmpty())
        m_whyNot = startDaemon();
    if (m_whyNot.startsWith(QLatin1String("FAIL ")))
        QFAIL(qPrintable(m_whyNot));
    if (!m_whyNot.isEmpty())
        QSKIP(qPrintable(QStringLiteral("Icinga 2 daemon run skipped: ") + m_whyNot));

    const QJsonObject attrs = m_services.value(service).toObject();
    const QJsonObject result = attrs.value(QStringLiteral("last_check_result")).toObject();
    const QString shown = QString::fromUtf8(QJsonDocument(attrs).toJson());
    QCOMPARE(result.value(QStringLiteral("state")).toInt(-1), state);
    // Icinga cuts the performance data off the first line and keeps the blank before it.
    QString text = result.value(QStringLiteral("output")).toString();
    text.replace(QRegularExpression(QStringLiteral(" +(\n|$)")), QStringLiteral("\\1"));
    QVERIFY2(QRegularExpression(output).match(text).hasMatch(), qPrintable(shown));
    QStringList perf;
    for (const QJsonValue &entry : result.value(QStringLiteral("performance_data")).toArray())
        perf << entry.toString();
    QVERIFY2(QRegularExpression(perfData).match(perf.join(QLatin1Char(' '))).hasMatch(),
             qPrintable(shown));
    QCOMPARE(attrs.value(QStringLiteral("check_timeout")).toInt(), checkTimeout);
    if (!command.isEmpty()) {
        QStringList arguments;
        for (const QJsonValue &argument : result.value(QStringLiteral("command")).toArray())
            arguments << argument.toString();
        QVERIFY2(QRegularExpression(command).match(arguments.join(QLatin1Char(' '))).hasMatch(),
                 qPrintable(shown));
    }
}

void TestMonitoringConfig::nagiosCommandRuns_data()
{
    QTest::addColumn<QString>("address");
    QTest::addColumn<QStringList>("args"); // $ARG1$, $ARG2$, $ARG3$
    QTest::addColumn<int>("exitCode");
    QTest::addColumn<QString>("summary"); // a pattern for the first line
    QTest::newRow("a critical range alone: $ARG2$ empty")
        << "127.0.9.80" << QStringList{"10", "", "10:"} << 0
        << "^OK - 127\\.0\\.9\\.80: Printer OK \\(status A, 500 etiketter igjen\\) \\| "
           "time=[0-9.]+s;;;0\\.000;10\\.000 labels=500;;10:;0$";
    QTest::newRow("every argument empty: the defaults")
        << "127.0.9.81" << QStringList{"", "", ""} << 0
        << "^OK - 127\\.0\\.9\\.81: Printer OK \\(status A, 500 etiketter igjen\\) \\| "
           "time=[0-9.]+s;;;0\\.000;10\\.000 labels=500;;;0$";
}

void TestMonitoringConfig::nagiosCommandRuns()
{
    QFETCH(QString, address);
    QFETCH(QStringList, args);
    QFETCH(int, exitCode);
    QFETCH(QString, summary);

    const QString line = nagiosCommandLine(QStringLiteral("check_solvarn_network"),
                                           {{QStringLiteral("$HOSTADDRESS$"), address},
                                            {QStringLiteral("$ARG1$"), args.at(0)},
                                            {QStringLiteral("$ARG2$"), args.at(1)},
                                            {QStringLiteral("$ARG3$"), args.at(2)}});
    QVERIFY2(line.startsWith(checkProgram), qPrintable(line));
    SimProcess printer;
    printer.start({QStringLiteral("-a"), address, QStringLiteral("-s"), QStringLiteral("A"),
                   QStringLiteral("-l"), QStringLiteral("500")});
    QVERIFY2(printer.waitUntilReady(), qPrintable(printer.err()));

    QProcess shell;
    shell.start(QStringLiteral("/bin/sh"), {QStringLiteral("-c"), line});
    QVERIFY(shell.waitForFinished(30000));
    const QString out = QString::fromUtf8(shell.readAllStandardOutput());
    QVERIFY2(shell.exitCode() == exitCode, qPrintable(line + QLatin1Char('\n') + out));
    QVERIFY2(QRegularExpression(summary).match(out.section(QLatin1Char('\n'), 0, 0)).hasMatch(),
             qPrintable(out));
}

void TestMonitoringConfig::cleanupTestCase()
{
    m_icinga2.reset();
    m_printers.clear();
}

QTEST_MAIN(TestMonitoringConfig)
#include "tst_monitoringconfig.moc"
