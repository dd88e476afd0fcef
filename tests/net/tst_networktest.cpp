#include "fakeplatform.h"
#include "fakesocketcontrol.h"
#include "formtesthost.h"
#include "networkcontrols.h"
#include "networkstate.h"
#include "networktest.h"
#include "socketpair.h"
#include "statusreceiver.h"

#include <QApplication>
#include <QLineEdit>
#include <QPushButton>
#include <QRegularExpression>
#include <QTest>

using States = QList<qint16>;

namespace {

const QString address = QStringLiteral("127.0.4.200");
const QString okReply = QStringLiteral("\x02  A000123\x03");

// The START and SLUTT lines carry the time of the run.
QString withoutTimes(QString log)
{
    static const QRegularExpression stamp(QStringLiteral("(START|SLUTT) Nettverk [^\r\n]+"));
    return log.replace(stamp, QStringLiteral("\\1 Nettverk <time>"));
}

QString stars(int count)
{
    return QString(count, QLatin1Char('*'));
}

// The lines every run ends with, after the "Ferdig=" line and the verdict.
QString closing(const QString &ip = address)
{
    return QStringLiteral("Lukker porter mot IP=") + ip +
           QStringLiteral("\r\nSLUTT Nettverk <time>\r\n\r\n");
}

const QString opening = QStringLiteral("START Nettverk <time>\r\n"
                                       "Forsøker å nå skriveren, dette kan ta flere sekunder:\r\n");

const QString notFound = QStringLiteral("Finner ikke skriver på IP-adresse ") + address +
                         QStringLiteral("\r\n Sjekk at den er koplet til.\r\n");

QStringList settIPDataJournal(const QString &ip = address)
{
    return {QStringLiteral("Inn.RemoteHost=") + ip, QStringLiteral("Inn.RemotePort=1025"),
            QStringLiteral("Inn.Connect"),          QStringLiteral("Ut.RemoteHost=") + ip,
            QStringLiteral("Ut.RemotePort=1024"),   QStringLiteral("Ut.Connect")};
}

// The network side wired to fakes, as the window wires it to the real parts.
struct Rig
{
    Rig()
    {
        txtIP.setText(address);
        QObject::connect(&inn, &SocketControl::Error, &events,
                         [this](qint16 number, const QString &description) {
                             pair.SockInn_Error(number, description);
                         });
        QObject::connect(&inn, &SocketControl::DataArrival, &events,
                         [this](qint32 bytesTotal) { receiver.SockInn_DataArrival(bytesTotal); });
    }

    QStringList journal;
    FakeSocketControl inn{QStringLiteral("Inn"), &journal};
    FakeSocketControl ut{QStringLiteral("Ut"), &journal};
    RecordingMessageBox box;
    FakeEventPump pump;
    FakeSleeper sleeper;
    StringLog log;
    QLineEdit txtIP;
    QPushButton cmdTest;
    NetworkState state;
    StatusReceiver receiver{inn, box, state};
    SocketPair pair{inn, ut, box, log, state, receiver};
    QObject events; // context of the event connections
    FormTestHost host{[this] {
        FormFields fields;
        fields.txtIP = &txtIP;
        fields.cmdTest = &cmdTest;
        return fields;
    }()};
    NetworkTest test{host, inn, ut, pair, pump, sleeper, log, state};
};

} // namespace

class TestNetworkTest : public QObject
{
    Q_OBJECT

private slots:
    void advanceTestState_data();
    void advanceTestState();

    void settIPData();
    void settIPDataRefusals_data();
    void settIPDataRefusals();
    void closeSockets_data();
    void closeSockets();
    void openByHand();
    void closeByHand();
    void closeByHandFails();
    void sockInnError_data();
    void sockInnError();
    void dataArrival();
    void dataArrivalGetDataFails_data();
    void dataArrivalGetDataFails();

    void printerOnline();
    void printerNeverAnswers();
    void replyWhileConnecting();
    void printerError();
    void sockUtFails();
    void sockInnFails();
    void errorTrap_data();
    void errorTrap();
    void refusedAtEveryStep();
    void addressReadOnce();
    void closedByHandDuringTest();
    void secondRunStartsAfresh_data();
    void secondRunStartsAfresh();
};

void TestNetworkTest::advanceTestState_data()
{
    QTest::addColumn<QString>("testState");
    QTest::addColumn<QString>("status");
    QTest::addColumn<States>("utStates");
    QTest::addColumn<qint16>("innState");
    QTest::addColumn<QString>("expectedState");
    QTest::addColumn<bool>("connects");
    QTest::addColumn<int>("utReads");
    QTest::addColumn<int>("innReads");
    QTest::addColumn<QString>("expectedLog");

    const QString init = QStringLiteral("init!");
    const QString none;
    // "FEIL" anywhere sends every state to ERROR before anything is read.
    QTest::newRow("FEIL in KLIKK")
        << "KLIKK"
        << "x FEIL: y" << States{0} << qint16(0) << "ERROR" << false << 0 << 0 << none;
    QTest::newRow("FEIL in PRINTING")
        << "PRINTING"
        << "FEIL" << States{7} << qint16(7) << "ERROR" << false << 0 << 0 << none;
    QTest::newRow("FEIL in HELTFERDIG") << "HELTFERDIG"
                                        << "TCP/IP FEIL (SockInn). Kode=1" << States{7} << qint16(7)
                                        << "ERROR" << false << 0 << 0 << none;
    QTest::newRow("feil in lower case")
        << "KLIKK"
        << "feil" << States{0} << qint16(0) << "KLIKK" << true << 1 << 1 << none;

    // KLIKK: reads both sockets and connects when either is closed.
    QTest::newRow("both closed") << "KLIKK" << init << States{0} << qint16(0) << "KLIKK" << true
                                 << 1 << 1 << none;
    QTest::newRow("SockUt closed")
        << "KLIKK" << init << States{0} << qint16(7) << "KLIKK" << true << 1 << 1 << none;
    QTest::newRow("SockInn closed")
        << "KLIKK" << init << States{7} << qint16(0) << "KLIKK" << true << 1 << 1 << none;
    QTest::newRow("connecting") << "KLIKK" << init << States{6} << qint16(6) << "KLIKK" << false
                                << 2 << 1 << none;
    QTest::newRow("connected") << "KLIKK" << init << States{7} << qint16(9) << "PRINT" << false << 3
                               << 1 << none;
    QTest::newRow("error") << "KLIKK" << init << States{9} << qint16(7) << "ERROR" << false << 4
                           << 1 << none;
    QTest::newRow("resolving") << "KLIKK" << init << States{4} << qint16(7) << "KLIKK" << false << 4
                               << 1 << none;
    QTest::newRow("peer closed") << "KLIKK" << init << States{8} << qint16(7) << "KLIKK" << false
                                 << 4 << 1 << none;
    QTest::newRow("OK status in KLIKK") << "KLIKK"
                                        << "OK: Printer OK\rA000000" << States{7} << qint16(7)
                                        << "PRINT" << false << 3 << 1 << none;
    // Every comparison reads the state afresh.
    QTest::newRow("connected by the second read")
        << "KLIKK" << init << States{6, 7, 7} << qint16(7) << "PRINT" << false << 3 << 1 << none;
    QTest::newRow("failed by the fourth read")
        << "KLIKK" << init << States{6, 7, 9, 9} << qint16(7) << "ERROR" << false << 4 << 1 << none;
    QTest::newRow("connecting again by the second read")
        << "KLIKK" << init << States{9, 6} << qint16(7) << "KLIKK" << false << 2 << 1 << none;

    // PRINT follows SockUt alone.
    QTest::newRow("PRINT, connected")
        << "PRINT" << init << States{7} << qint16(0) << "PRINTING" << false << 1 << 0
        << QStringLiteral("Printer er tilkoplet!\r\n");
    QTest::newRow("PRINT, connecting")
        << "PRINT" << init << States{6} << qint16(7) << "PRINT" << false << 1 << 0 << none;
    QTest::newRow("PRINT, closed")
        << "PRINT" << init << States{0} << qint16(0) << "PRINT" << false << 1 << 0 << none;
    QTest::newRow("PRINT, error") << "PRINT" << init << States{9} << qint16(7) << "PRINT" << false
                                  << 1 << 0 << none;

    QTest::newRow("PRINTING") << "PRINTING" << init << States{0} << qint16(0) << "FERDIG" << false
                              << 0 << 0 << none;
    QTest::newRow("FERDIG") << "FERDIG" << init << States{0} << qint16(0) << "HELTFERDIG" << false
                            << 0 << 0 << none;
    QTest::newRow("HELTFERDIG") << "HELTFERDIG" << init << States{0} << qint16(0) << "HELTFERDIG"
                                << false << 0 << 0 << none;
    QTest::newRow("ERROR without FEIL")
        << "ERROR" << init << States{7} << qint16(0) << "ERROR" << false << 0 << 0 << none;
    QTest::newRow("klikk in lower case")
        << "klikk" << init << States{0} << qint16(0) << "klikk" << false << 0 << 0 << none;
    QTest::newRow("no state") << "" << init << States{0} << qint16(0) << "" << false << 0 << 0
                              << none;
}

void TestNetworkTest::advanceTestState()
{
    QFETCH(QString, testState);
    QFETCH(QString, status);
    QFETCH(States, utStates);
    QFETCH(qint16, innState);
    QFETCH(QString, expectedState);
    QFETCH(bool, connects);
    QFETCH(int, utReads);
    QFETCH(int, innReads);
    QFETCH(QString, expectedLog);

    Rig rig;
    rig.state.strTestState = testState;
    rig.state.strStatus = status;
    rig.state.strConnectIP = QStringLiteral("127.0.4.201");
    rig.ut.state = utStates.last();
    rig.ut.scriptedStates = utStates;
    rig.inn.state = innState;

    rig.test.AdvanceTestState();

    QCOMPARE(rig.state.strTestState, expectedState);
    QCOMPARE(rig.journal,
             connects ? settIPDataJournal(QStringLiteral("127.0.4.201")) : QStringList());
    QCOMPARE(rig.ut.stateReads, utReads);
    QCOMPARE(rig.inn.stateReads, innReads);
    QCOMPARE(rig.log.text, expectedLog);
    QCOMPARE(rig.state.strStatus, status);
    QVERIFY(rig.box.messages.isEmpty());
}

void TestNetworkTest::settIPData()
{
    Rig rig;
    // The address goes to the sockets exactly as typed.
    rig.pair.SettIPData(QStringLiteral(" 127.0.4.202 "));
    QCOMPARE(rig.journal, settIPDataJournal(QStringLiteral(" 127.0.4.202 ")));
    QVERIFY(rig.log.text.isEmpty());
    QVERIFY(rig.box.messages.isEmpty());
}

void TestNetworkTest::settIPDataRefusals_data()
{
    QTest::addColumn<QStringList>("innFailures");
    QTest::addColumn<QStringList>("utFailures");
    QTest::addColumn<qint32>("number");
    QTest::addColumn<QStringList>("boxes");

    const QString refused =
        QStringLiteral("Programfeil (SettIPData): Invalid operation at current state 40020");
    QTest::newRow("SockInn's host") << QStringList{QStringLiteral("RemoteHost")} << QStringList{}
                                    << 40020 << QStringList{refused};
    QTest::newRow("SockUt's connect")
        << QStringList{} << QStringList{QStringLiteral("Connect")} << 40020 << QStringList{refused};
    QTest::newRow("all six") << QStringList{QStringLiteral("RemoteHost"),
                                            QStringLiteral("RemotePort"), QStringLiteral("Connect")}
                             << QStringList{QStringLiteral("RemoteHost"),
                                            QStringLiteral("RemotePort"), QStringLiteral("Connect")}
                             << 40020 << QStringList(6, refused);
    QTest::newRow("negative number")
        << QStringList{QStringLiteral("RemotePort")} << QStringList{} << -5
        << QStringList{QStringLiteral("Programfeil (SettIPData): Invalid operation at current "
                                      "state-5")};
}

void TestNetworkTest::settIPDataRefusals()
{
    QFETCH(QStringList, innFailures);
    QFETCH(QStringList, utFailures);
    QFETCH(qint32, number);
    QFETCH(QStringList, boxes);

    Rig rig;
    const RuntimeError error{number, QStringLiteral("Invalid operation at current state")};
    for (const QString &operation : innFailures)
        rig.inn.failures.insert(operation, error);
    for (const QString &operation : utFailures)
        rig.ut.failures.insert(operation, error);

    rig.pair.SettIPData(address);

    // Every operation is still tried, in order, after a refusal.
    QCOMPARE(rig.journal, settIPDataJournal());
    QCOMPARE(rig.box.messages, boxes);
    QVERIFY(rig.log.text.isEmpty());
}

void TestNetworkTest::closeSockets_data()
{
    QTest::addColumn<QString>("failingSocket");
    QTest::addColumn<QStringList>("journal");
    QTest::addColumn<QStringList>("boxes");

    QTest::newRow("both close") << QString()
                                << QStringList{QStringLiteral("Inn.Close"),
                                               QStringLiteral("Ut.Close")}
                                << QStringList{};
    QTest::newRow("SockInn fails: SockUt is not tried")
        << QStringLiteral("Inn") << QStringList{QStringLiteral("Inn.Close")}
        << QStringList{QStringLiteral("Programfeil (CloseSockets): Close failed 12345")};
    QTest::newRow("SockUt fails")
        << QStringLiteral("Ut")
        << QStringList{QStringLiteral("Inn.Close"), QStringLiteral("Ut.Close")}
        << QStringList{QStringLiteral("Programfeil (CloseSockets): Close failed 12345")};
}

void TestNetworkTest::closeSockets()
{
    QFETCH(QString, failingSocket);
    QFETCH(QStringList, journal);
    QFETCH(QStringList, boxes);

    Rig rig;
    const RuntimeError error{12345, QStringLiteral("Close failed")};
    if (failingSocket == QLatin1String("Inn"))
        rig.inn.failures.insert(QStringLiteral("Close"), error);
    if (failingSocket == QLatin1String("Ut"))
        rig.ut.failures.insert(QStringLiteral("Close"), error);

    rig.pair.CloseSockets();

    QCOMPARE(rig.journal, journal);
    QCOMPARE(rig.box.messages, boxes);
    QVERIFY(rig.log.text.isEmpty());
}

void TestNetworkTest::openByHand()
{
    Rig rig;
    rig.txtIP.setText(QStringLiteral("127.0.4.203"));
    rig.pair.cmdOpenTCP_Click(rig.txtIP.text());
    QCOMPARE(rig.log.text, QStringLiteral("Åpner porter manuelt\r\n"));
    QCOMPARE(rig.journal, settIPDataJournal(QStringLiteral("127.0.4.203")));

    // A second click finds the sockets open; the control's refusals come up as boxes.
    rig.inn.failures.insert(QStringLiteral("Connect"), RuntimeError{40020, QStringLiteral("No")});
    rig.pair.cmdOpenTCP_Click(rig.txtIP.text());
    QCOMPARE(rig.box.messages, QStringList{QStringLiteral("Programfeil (SettIPData): No 40020")});
}

void TestNetworkTest::closeByHand()
{
    Rig rig;
    rig.inn.state = SocketControl::sckError;
    rig.ut.state = SocketControl::sckClosed;
    // A reply begun before the click is not finished by what comes after it.
    rig.inn.arrive(QStringLiteral("\x02  A00"));

    rig.pair.cmdCloseTCP_Click();

    QCOMPARE(rig.log.text, QStringLiteral("Lukker porter manuelt\r\n"));
    QCOMPARE(rig.journal, (QStringList{QStringLiteral("Inn.GetData"), QStringLiteral("Inn.Close"),
                                       QStringLiteral("Ut.Close")}));
    QCOMPARE(rig.inn.stateReads + rig.ut.stateReads, 0);
    QVERIFY(rig.receiver.decoder().keptText().isEmpty());
}

void TestNetworkTest::closeByHandFails()
{
    Rig rig;
    rig.inn.failures.insert(QStringLiteral("Close"), RuntimeError{7, QStringLiteral("Stuck")});
    rig.pair.cmdCloseTCP_Click();
    QCOMPARE(rig.box.messages,
             QStringList{QStringLiteral("Programfeil (cmdCloseTCP_Click): Stuck 7")});
    QCOMPARE(rig.journal, QStringList{QStringLiteral("Inn.Close")});
}

void TestNetworkTest::sockInnError_data()
{
    QTest::addColumn<qint16>("number");
    QTest::addColumn<QString>("description");
    QTest::addColumn<QString>("text");

    QTest::newRow("refused") << qint16(10061) << QStringLiteral("Connection refused")
                             << QStringLiteral("TCP/IP FEIL (SockInn). Kode=10061\r\nConnection "
                                               "refused");
    // The event's number is 16 bits wide: 40020 arrives wrapped.
    QTest::newRow("wrapped") << qint16(-25516) << QStringLiteral("Invalid operation")
                             << QStringLiteral("TCP/IP FEIL (SockInn). Kode=-25516\r\nInvalid "
                                               "operation");
    QTest::newRow("empty description")
        << qint16(0) << QString() << QStringLiteral("TCP/IP FEIL (SockInn). Kode=0\r\n");
}

void TestNetworkTest::sockInnError()
{
    QFETCH(qint16, number);
    QFETCH(QString, description);
    QFETCH(QString, text);

    Rig rig;
    rig.state.strStatus = QStringLiteral("init!");
    rig.inn.raiseError(number, description);
    QCOMPARE(rig.state.strStatus, text);
    QCOMPARE(rig.log.text, text + QStringLiteral("\r\n"));
    QVERIFY(rig.box.messages.isEmpty());
}

void TestNetworkTest::dataArrival()
{
    Rig rig;
    rig.state.strStatus = QStringLiteral("init!");

    // Half a reply: nothing yet, and no box.
    rig.inn.arrive(QStringLiteral("\x02  B00"));
    QCOMPARE(rig.state.strStatus, QStringLiteral("init!"));
    QVERIFY(!rig.state.bStatusReceived);

    rig.inn.arrive(QStringLiteral("0042\x03"));
    QCOMPARE(rig.state.strStatus, QStringLiteral("OK: Fargebåndet er nesten tomt\rB000042"));
    QVERIFY(rig.state.bStatusReceived);

    // Only a decoded reply changes the two; nothing here sets the flag back.
    rig.inn.arrive(QStringLiteral("\x02x\x03"));
    QCOMPARE(rig.state.strStatus, QStringLiteral("OK: Fargebåndet er nesten tomt\rB000042"));
    QVERIFY(rig.state.bStatusReceived);

    rig.inn.arrive(okReply);
    QCOMPARE(rig.state.strStatus, QStringLiteral("OK: Printer OK\rA000123"));
    QVERIFY(rig.box.messages.isEmpty());
    QVERIFY(rig.log.text.isEmpty());
}

void TestNetworkTest::dataArrivalGetDataFails_data()
{
    QTest::addColumn<qint32>("number");
    QTest::addColumn<QString>("box");

    QTest::newRow("positive") << 40006
                              << QStringLiteral("Programfeil (SockInn_DataArrival):  40006: Bad");
    QTest::newRow("negative") << -5 << QStringLiteral("Programfeil (SockInn_DataArrival): -5: Bad");
}

void TestNetworkTest::dataArrivalGetDataFails()
{
    QFETCH(qint32, number);
    QFETCH(QString, box);

    Rig rig;
    rig.state.strStatus = QStringLiteral("init!");
    rig.inn.failures.insert(QStringLiteral("GetData"), RuntimeError{number, QStringLiteral("Bad")});
    rig.inn.arrive(okReply);
    QCOMPARE(rig.box.messages, QStringList{box});
    QCOMPARE(rig.state.strStatus, QStringLiteral("init!"));
    QVERIFY(!rig.state.bStatusReceived);
}

void TestNetworkTest::printerOnline()
{
    Rig rig;
    bool testButtonEnabledMeanwhile = true;
    rig.pump.onProcess = [&] {
        testButtonEnabledMeanwhile = testButtonEnabledMeanwhile && rig.cmdTest.isEnabled();
        if (rig.pump.calls == 2) {
            rig.inn.state = SocketControl::sckConnected;
            rig.ut.state = SocketControl::sckConnected;
        }
        if (rig.pump.calls == 3)
            rig.inn.arrive(okReply);
    };

    rig.test.TestNetworkPrinter(rig.host.address());

    QCOMPARE(withoutTimes(rig.log.text),
             opening +
                 QStringLiteral("**Printer er tilkoplet!\r\n"
                                "*Printer er online, og klar til utskrift\r\n"
                                "\r\n"
                                "Ferdig=True loops=3\r\n") +
                 closing());
    QVERIFY(rig.log.text.startsWith(QStringLiteral("START Nettverk ")));
    QCOMPARE(rig.sleeper.pauses, QList<qint32>(5, 250));
    QCOMPARE(rig.pump.calls, 5);
    const QStringList afterConnect{QStringLiteral("Inn.GetData"), QStringLiteral("Inn.Close"),
                                   QStringLiteral("Ut.Close")};
    QCOMPARE(rig.journal, settIPDataJournal() + afterConnect);
    QCOMPARE(rig.state.strTestState, QStringLiteral("HELTFERDIG"));
    QVERIFY(!testButtonEnabledMeanwhile);
    QVERIFY(rig.cmdTest.isEnabled());
    QVERIFY(rig.box.messages.isEmpty());
}

void TestNetworkTest::printerNeverAnswers()
{
    Rig rig;
    rig.test.TestNetworkPrinter(rig.host.address());

    QCOMPARE(withoutTimes(rig.log.text), opening + stars(21) +
                                             QStringLiteral("\r\nFerdig=True loops=21\r\n") +
                                             notFound + closing());
    QCOMPARE(rig.sleeper.pauses, QList<qint32>(23, 250));
    QCOMPARE(rig.pump.calls, 23);
    QCOMPARE(rig.state.strTestState, QStringLiteral("KLIKK"));
    QVERIFY(rig.cmdTest.isEnabled());
}

void TestNetworkTest::replyWhileConnecting()
{
    // A reply decoded before "PRINTING" does not end the loop; the next passes still count.
    Rig rig;
    rig.pump.onProcess = [&] {
        if (rig.pump.calls == 2)
            rig.inn.arrive(okReply);
        if (rig.pump.calls == 5) {
            rig.inn.state = SocketControl::sckConnected;
            rig.ut.state = SocketControl::sckConnected;
        }
    };
    rig.test.TestNetworkPrinter(rig.host.address());
    QCOMPARE(withoutTimes(rig.log.text),
             opening +
                 QStringLiteral("*****Printer er tilkoplet!\r\n"
                                "*Printer er online, og klar til utskrift\r\n"
                                "\r\n"
                                "Ferdig=True loops=6\r\n") +
                 closing());
}

void TestNetworkTest::printerError()
{
    Rig rig;
    rig.inn.stateAfterConnect = SocketControl::sckConnected;
    rig.ut.stateAfterConnect = SocketControl::sckConnected;
    rig.pump.onProcess = [&] {
        if (rig.pump.calls == 4)
            rig.inn.arrive(QStringLiteral("\x02  c000000\x03"));
    };
    rig.test.TestNetworkPrinter(rig.host.address());
    QCOMPARE(withoutTimes(rig.log.text),
             opening +
                 QStringLiteral("**Printer er tilkoplet!\r\n**\r\n"
                                "Ferdig=True loops=4\r\n"
                                "FEIL: Off line, Skriverfeil - Tomt for etiketter\r"
                                "c000000\r\n") +
                 closing());
    QCOMPARE(rig.state.strTestState, QStringLiteral("ERROR"));
}

void TestNetworkTest::sockUtFails()
{
    Rig rig;
    rig.inn.stateAfterConnect = SocketControl::sckConnected;
    rig.ut.stateAfterConnect = SocketControl::sckError;
    rig.test.TestNetworkPrinter(rig.host.address());
    QCOMPARE(withoutTimes(rig.log.text), opening + stars(21) +
                                             QStringLiteral("\r\nFerdig=True loops=21\r\n"
                                                            "init!\r\n") +
                                             closing());
}

void TestNetworkTest::sockInnFails()
{
    Rig rig;
    rig.ut.stateAfterConnect = SocketControl::sckConnected;
    rig.pump.onProcess = [&] {
        if (rig.pump.calls == 2)
            rig.inn.raiseError(10061, QStringLiteral("Connection refused"));
    };
    rig.test.TestNetworkPrinter(rig.host.address());
    const QString error =
        QStringLiteral("TCP/IP FEIL (SockInn). Kode=10061\r\nConnection refused\r\n");
    QCOMPARE(withoutTimes(rig.log.text), opening + QStringLiteral("*") + error + stars(20) +
                                             QStringLiteral("\r\nFerdig=True loops=21\r\n") +
                                             error + closing());
}

void TestNetworkTest::errorTrap_data()
{
    QTest::addColumn<qint32>("number");
    QTest::addColumn<QString>("line");

    QTest::newRow("socket error") << 10050 << QStringLiteral(" TCP/IP feil: 10050-Boom\r\n\r\n");
    QTest::newRow("negative") << -3 << QStringLiteral(" TCP/IP feil: -3-Boom\r\n\r\n");
    QTest::newRow("comPortInvalid") << 8002 << QStringLiteral("  comPortInvalid.\r\n");
}

void TestNetworkTest::errorTrap()
{
    QFETCH(qint32, number);
    QFETCH(QString, line);

    // Every step in KLIKK reads the state and fails; the test logs it and goes on.
    Rig rig;
    rig.ut.failures.insert(QStringLiteral("State"), RuntimeError{number, QStringLiteral("Boom")});
    rig.test.TestNetworkPrinter(rig.host.address());

    QString expected = opening;
    for (int pass = 0; pass < 21; ++pass)
        expected += line + QStringLiteral("*");
    expected += line + line + QStringLiteral("\r\nFerdig=True loops=21\r\n") + notFound + closing();
    QCOMPARE(withoutTimes(rig.log.text), expected);
    QVERIFY(rig.journal.endsWith(QStringLiteral("Ut.Close")));
    QVERIFY(rig.cmdTest.isEnabled());
}

void TestNetworkTest::refusedAtEveryStep()
{
    // The sockets stay closed after each refused connect, so every step in KLIKK tries again.
    Rig rig;
    const RuntimeError refused{10049, QStringLiteral("Address not available")};
    rig.inn.failures.insert(QStringLiteral("Connect"), refused);
    rig.ut.failures.insert(QStringLiteral("Connect"), refused);
    int pumpsWhileBoxOpen = 0;
    rig.box.onShow = [&] { pumpsWhileBoxOpen = rig.pump.calls; };

    rig.test.TestNetworkPrinter(rig.host.address());

    QCOMPARE(rig.box.messages,
             QStringList(2 * 23, QStringLiteral("Programfeil (SettIPData): Address not available "
                                                "10049")));
    QCOMPARE(pumpsWhileBoxOpen, 22);
    QCOMPARE(withoutTimes(rig.log.text), opening + stars(21) +
                                             QStringLiteral("\r\nFerdig=True loops=21\r\n") +
                                             notFound + closing());
}

void TestNetworkTest::addressReadOnce()
{
    Rig rig;
    rig.pump.onProcess = [&] { rig.txtIP.setText(QStringLiteral("127.0.4.250")); };
    rig.test.TestNetworkPrinter(rig.host.address());
    QCOMPARE(rig.journal.mid(0, 6), settIPDataJournal());
    QVERIFY(rig.log.text.contains(notFound));
    QVERIFY(withoutTimes(rig.log.text).endsWith(closing()));
}

void TestNetworkTest::closedByHandDuringTest()
{
    // Closed while connecting the first step finds them closed and connects again; closed
    // after "PRINTING" the test goes on without them.
    Rig rig;
    rig.pump.onProcess = [&] {
        if (rig.pump.calls == 2 || rig.pump.calls == 5)
            rig.pair.cmdCloseTCP_Click();
        if (rig.pump.calls == 3) {
            rig.inn.state = SocketControl::sckConnected;
            rig.ut.state = SocketControl::sckConnected;
        }
    };
    rig.test.TestNetworkPrinter(rig.host.address());

    QCOMPARE(withoutTimes(rig.log.text),
             opening +
                 QStringLiteral("*Lukker porter manuelt\r\n"
                                "**Printer er tilkoplet!\r\n"
                                "*Lukker porter manuelt\r\n") +
                 stars(17) + QStringLiteral("\r\nFerdig=True loops=21\r\n") + notFound + closing());
    const QStringList closes{QStringLiteral("Inn.Close"), QStringLiteral("Ut.Close")};
    QCOMPARE(rig.journal, settIPDataJournal() + closes + settIPDataJournal() + closes + closes);
}

void TestNetworkTest::secondRunStartsAfresh_data()
{
    QTest::addColumn<QString>("firstReply");
    QTest::addColumn<QString>("firstVerdict");
    QTest::addColumn<qint16>("secondUtState");
    QTest::addColumn<QString>("secondPasses");

    const QString silent = QStringLiteral("**Printer er tilkoplet!\r\n") + stars(19) +
                           QStringLiteral("\r\nFerdig=True loops=21\r\n") + notFound;
    const QString online = QStringLiteral("Printer er online, og klar til utskrift\r\n");
    const QString noLabels =
        QStringLiteral("FEIL: Off line, Skriverfeil - Tomt for etiketter\rc000000\r\n");
    // The printer answered the first run; the second finds it connecting and silent.
    QTest::newRow("after an OK status, a silent printer")
        << okReply << online << qint16(SocketControl::sckConnected) << silent;
    QTest::newRow("after a FEIL status, a silent printer")
        << QStringLiteral("\x02  c000000\x03") << noLabels << qint16(SocketControl::sckConnected)
        << silent;
    // The verdict of a failed `SockUt` is the status text as the second run set it.
    QTest::newRow("after an OK status, SockUt fails")
        << okReply << online << qint16(SocketControl::sckError)
        << stars(21) + QStringLiteral("\r\nFerdig=True loops=21\r\ninit!\r\n");
}

void TestNetworkTest::secondRunStartsAfresh()
{
    QFETCH(QString, firstReply);
    QFETCH(QString, firstVerdict);
    QFETCH(qint16, secondUtState);
    QFETCH(QString, secondPasses);

    Rig rig;
    rig.inn.stateAfterConnect = SocketControl::sckConnected;
    rig.ut.stateAfterConnect = SocketControl::sckConnected;
    rig.pump.onProcess = [&] {
        if (rig.pump.calls == 3)
            rig.inn.arrive(firstReply);
    };
    rig.test.TestNetworkPrinter(rig.host.address());
    QVERIFY2(rig.log.text.contains(firstVerdict), qPrintable(rig.log.text));
    QVERIFY(rig.state.bStatusReceived);

    rig.pump.onProcess = nullptr;
    rig.ut.stateAfterConnect = secondUtState;
    rig.log.text.clear();
    rig.test.TestNetworkPrinter(rig.host.address());

    QCOMPARE(withoutTimes(rig.log.text), opening + secondPasses + closing());
    QVERIFY(!rig.state.bStatusReceived);
    QVERIFY(rig.box.messages.isEmpty());
}

QTEST_MAIN(TestNetworkTest)

#include "tst_networktest.moc"
