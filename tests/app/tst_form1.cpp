#include "announcer.h"
#include "answeringsleeper.h"
#include "fakecommcontrol.h"
#include "fakeplatform.h"
#include "fakesocketcontrol.h"
#include "form1.h"
#include "logbox.h"
#include "testwindow.h"
#include "toolkittranslator.h"

#include <QAccessible>
#include <QApplication>
#include <QClipboard>
#include <QComboBox>
#include <QElapsedTimer>
#include <QGroupBox>
#include <QLabel>
#include <QLineEdit>
#include <QMenu>
#include <QProcess>
#include <QPushButton>
#include <QScrollBar>
#include <QTemporaryDir>
#include <QTest>
#include <QTextBlock>
#include <QTimer>
#include <QWindow>
#include <QtTest/qtestspontaneevent.h>

#include <cmath>
#include <memory>

// Stands for the accessibility bridge's adaptor, which the window's pause answers: it goes by
// the same class name.
class AtSpiAdaptor : public QObject
{
    Q_OBJECT
};

namespace {

// Positions and sizes in twips, as the window is laid out; 15 twips to a pixel.
QRect twips(int left, int top, int width, int height)
{
    return QRect(left / 15, top / 15, width / 15, height / 15);
}

const QString serialGuide = QStringLiteral(
    "Serieportskriver. (klikk på hjelp med nettverksskriver valgt for hjelp om den)\r\n"
    "\r\n"
    "Dette programmet er laget for å teste om en SATO etikettskriver er \r\n"
    "tilkoplet til serieporten (COM). Oppgi hvilken hastighet du ønsker å prøve\r\n"
    "og hvilke COM-porter som skal testes. Programmet sender så en kommando\r\n"
    "til skriveren og viser resultatet i dette feltet.\r\n"
    "Skriveren vil kun svare dersom hastigheten er korrekt, og stemmer med hva\r\n"
    "skriveren er konfigurert til (normalt 19200 eller 9600).\r\n"
    "Dersom du er usikker på hvilke COM-porter du har, kan du legge inn\r\n"
    "fra 1 til 16 først, dersom det ikke gir resultat prøv med 1 til 256\r\n"
    "Prøv først med hastighet 19200 deretter med hastighet 9600\r\n"
    "Dersom skriveren svarer med en kjent kode vil det vises en tekst i loggen.\r\n"
    "Dataene som kommer fra skriveren vises også i vinduet, dette er informasjon\r\n"
    "Kvanta har nytte av for å fastslå hva som er galt\r\n"
    "\r\n"
    "Oppsummering:\r\n"
    " - Sørg for at skriver er skrudd på og koplet til PC med en seriekabel\r\n"
    " - Klikk på Test skriver-knappen og se om det kommer svar fra skriver\r\n"
    "   (Det vil si at det står noe mellom --> og <-- her i 'Data fra printer =  --><--')\r\n"
    " - Prøv først med hastighet 19200, så med hastighet 9600\r\n"
    " - Dersom dette ikke gir resultater, endre 'com til' til 256 og prøv igjen\r\n"
    " - Dersom dette ikke gir resultater, kan du prøve flere hastigheter\r\n"
    " - Send loggen (fra dette vinduet) til din kontakt på Kvanta for analyse\r\n");

const QString networkGuide =
    QStringLiteral("Nettverksskriver. (Klikk på hjelp med serieport valgt for hjelp om den)\r\n"
                   "\r\n"
                   "Dette programmet er laget for å teste om en SATO etikettskriver er \r\n"
                   "tilkoplet nettverket slik at den vil fungere med Solvarn\r\n"
                   "Printeren må først settes opp ihht veiledning fra leverandøren\r\n"
                   "slik at den får korrekt IP-adresse. Legg så denne IP-adressen inn\r\n"
                   "i feltet for IP-adresse og klikk på Test skriver-knappen\r\n"
                   "Eventuelle feilmeldinger vil vises i dette statusvinduet.\r\n"
                   "\r\n"
                   "Solvarn kommuniserer med printeren på port 1025 (inn) og 1024 (ut)\r\n"
                   "så disse portene må være åpne i en eventuellbrannmur mellom maskinen\r\n"
                   "som skal nå skriveren og skriveren\r\n");

// Fakes for every device a test of the window's own reaches.
struct FakeDevices
{
    TestWindow::Seams seams(FakeClipboard &clipboard)
    {
        return TestWindow::Seams()
            .clipboard(clipboard)
            .comPort(comPort)
            .sockets(sockInn, sockUt)
            .sleeper(sleeper)
            .eventPump(eventPump);
    }

    FakeCommControl comPort;
    QStringList socketJournal;
    FakeSocketControl sockInn{QStringLiteral("Inn"), &socketJournal};
    FakeSocketControl sockUt{QStringLiteral("Ut"), &socketJournal};
    FakeSleeper sleeper;
    FakeEventPump eventPump;
};

} // namespace

class TestForm1 : public QObject
{
    Q_OBJECT

private slots:
    void init();
    void cleanup();

    void controls_data();
    void controls();
    void startValues();
    void captionsFitTheirControls();
    void speedList();
    void wheelOverSpeedBox_data();
    void wheelOverSpeedBox();
    void tooltips();
    void firstFocusAndTabOrder_data();
    void firstFocusAndTabOrder();
    void modeSwitchKeepsTypedTexts();
    void logBoxFollowsWindowSize_data();
    void logBoxFollowsWindowSize();
    void logBoxFollowsFrameOnceKnown();
    void help_data();
    void help();
    void helpTwiceAndAfterModeSwitch();
    void copyAndClearThroughButtons();
    void copyReachesSystemClipboardUnchanged();
    void avsluttEndsProgram();
    void testButtonRunsTestOfSelectedMode_data();
    void testButtonRunsTestOfSelectedMode();
    void inputDuringSerialSweepIsDropped_data();
    void inputDuringSerialSweepIsDropped();
    void announcementsInOrder_data();
    void announcementsInOrder();
    void contextMenusReadNorwegian_data();
    void contextMenusReadNorwegian();
    void secondWindowStepsAside_data();
    void secondWindowStepsAside();
    void closingTheWindow_data();
    void closingTheWindow();
    void accessibleNames_data();
    void accessibleNames();
    void modeSwitchFocusAndState_data();
    void modeSwitchFocusAndState();
    void spaceTwiceAfterModeSwitch_data();
    void spaceTwiceAfterModeSwitch();
    void keysInSpeedBox_data();
    void keysInSpeedBox();
    void focusVisible_data();
    void focusVisible();
    void windowAtFontDpi_data();
    void windowAtFontDpi();
    void startedWithoutDesktop_data();
    void startedWithoutDesktop();
    void pauseAnswersOnlyTheBridge_data();
    void pauseAnswersOnlyTheBridge();

private:
    template <typename T> T *child(const char *name)
    {
        T *widget = m_form->findChild<T *>(QLatin1String(name));
        if (!widget)
            qFatal("no control %s", name);
        return widget;
    }
    void click(const char *name) { QTest::mouseClick(child<QPushButton>(name), Qt::LeftButton); }
    bool showActive()
    {
        m_form->show();
        QApplication::setActiveWindow(m_form);
        return QTest::qWaitForWindowActive(m_form);
    }
    // Presses a button as a user does: a click through the window, or a key with the focus.
    void press(const char *name, const QString &way)
    {
        auto *button = child<QPushButton>(name);
        if (way == QLatin1String("click")) {
            const QPoint at = button->mapTo(m_form, button->rect().center());
            QTest::mouseClick(m_form->windowHandle(), Qt::LeftButton, Qt::NoModifier, at);
            return;
        }
        button->setFocus(Qt::TabFocusReason);
        QTest::keyClick(m_form->windowHandle(),
                        way == QLatin1String("Space") ? Qt::Key_Space : Qt::Key_Return);
    }

    FakeClipboard m_clipboard;
    std::unique_ptr<TestWindow> m_window;
    Form1 *m_form = nullptr;
};

void TestForm1::init()
{
    m_clipboard = FakeClipboard();
    m_window = std::make_unique<TestWindow>(TestWindow::Seams().clipboard(m_clipboard));
    m_form = &m_window->form();
}

void TestForm1::cleanup()
{
    m_form = nullptr;
    m_window.reset();
}

void TestForm1::controls_data()
{
    QTest::addColumn<QString>("name");
    QTest::addColumn<QString>("container");
    QTest::addColumn<QString>("text");
    QTest::addColumn<QRect>("geometry");

    const QString window = QStringLiteral("Form1");
    const QString frCom = QStringLiteral("frCom");
    const QString frTCP = QStringLiteral("frTCP");
    QTest::newRow("Label1") << "Label1" << window << "Solvarn - test av printertilkopling v1.0"
                            << twips(120, 120, 4695, 435);
    QTest::newRow("Label9") << "Label9" << window << "Kvanta AS" << twips(4920, 240, 1095, 255);
    QTest::newRow("cmdCom") << "cmdCom" << window << "Serieport" << twips(120, 780, 855, 375);
    QTest::newRow("cmdTCP") << "cmdTCP" << window << "Nettverk" << twips(120, 1200, 855, 375);
    QTest::newRow("frCom") << "frCom" << window << "Serieportskriver"
                           << twips(1080, 660, 4815, 1155);
    QTest::newRow("frTCP on frCom's place")
        << "frTCP" << window << "Nettverksskriver (TCP/IP)" << twips(1080, 660, 4815, 1155);
    QTest::newRow("cmdTest") << "cmdTest" << window << "Test skriver"
                             << twips(120, 1980, 1095, 375);
    QTest::newRow("comKopiperTekst")
        << "comKopiperTekst" << window << "Kopier tekst" << twips(1320, 1980, 1095, 375);
    QTest::newRow("cmdBlankut") << "cmdBlankut" << window << "Blank loggen"
                                << twips(2520, 1980, 1095, 375);
    QTest::newRow("cmdHelp") << "cmdHelp" << window << "Hjelp" << twips(4080, 1980, 855, 375);
    QTest::newRow("cmdAvslutt") << "cmdAvslutt" << window << "Avslutt"
                                << twips(5040, 1980, 855, 375);
    QTest::newRow("Label4") << "Label4" << frCom << "Hastighet" << twips(120, 300, 975, 255);
    QTest::newRow("comboHastighet")
        << "comboHastighet" << frCom << "19200" << twips(1200, 240, 1095, 315);
    QTest::newRow("Label5") << "Label5" << frCom << "( 9600 eller 19200 er vanligst)"
                            << twips(2400, 300, 2175, 255);
    QTest::newRow("Label2") << "Label2" << frCom << "Test fra com" << twips(120, 780, 975, 315);
    QTest::newRow("txtComFra") << "txtComFra" << frCom << "1" << twips(1200, 720, 375, 285);
    QTest::newRow("Label3") << "Label3" << frCom << "til" << twips(1680, 780, 135, 255);
    QTest::newRow("txtComTil") << "txtComTil" << frCom << "16" << twips(1920, 720, 375, 285);
    QTest::newRow("Label6") << "Label6" << frCom << "Pause (ms)" << twips(3000, 780, 855, 255);
    QTest::newRow("txtPause") << "txtPause" << frCom << "350" << twips(3900, 720, 615, 285);
    QTest::newRow("Label7") << "Label7" << frTCP << "IP-adresse" << twips(120, 360, 975, 255);
    QTest::newRow("txtIP") << "txtIP" << frTCP << "127.0.0.1" << twips(1080, 300, 1455, 285);
    QTest::newRow("Label8") << "Label8" << frTCP << "(port inn 1025, port ut 1024)"
                            << twips(2700, 360, 1995, 255);
    QTest::newRow("cmdOpenTCP") << "cmdOpenTCP" << frTCP << "Åpne sockets"
                                << twips(1080, 720, 1455, 315);
    QTest::newRow("cmdSendTest") << "cmdSendTest" << frTCP << "test" << twips(2640, 720, 435, 315);
    QTest::newRow("cmdCloseTCP") << "cmdCloseTCP" << frTCP << "Lukk sockets"
                                 << twips(3180, 720, 1515, 315);
}

void TestForm1::controls()
{
    QFETCH(QString, name);
    QFETCH(QString, container);
    QFETCH(QString, text);
    QFETCH(QRect, geometry);

    auto *widget = m_form->findChild<QWidget *>(name);
    QVERIFY(widget);
    QCOMPARE(widget->parentWidget()->objectName(), container);
    QCOMPARE(widget->geometry(), geometry);

    QString shown;
    if (auto *label = qobject_cast<QLabel *>(widget))
        shown = label->text();
    else if (auto *button = qobject_cast<QPushButton *>(widget))
        shown = button->text();
    else if (auto *frame = qobject_cast<QGroupBox *>(widget))
        shown = frame->title();
    else if (auto *edit = qobject_cast<QLineEdit *>(widget))
        shown = edit->text();
    else if (auto *combo = qobject_cast<QComboBox *>(widget))
        shown = combo->currentText();
    QCOMPARE(shown, text);
}

void TestForm1::startValues()
{
    QCOMPARE(m_form->windowTitle(), QStringLiteral("Solvarn printersjekk"));
    QCOMPARE(m_form->PrinterMode(), Form1::serialMode);
    QVERIFY(m_form->logText().isEmpty());
    QCOMPARE(child<LogBox>("txtResultat")->geometry(), twips(120, 2460, 5775, 4575));

    m_form->show();
    QVERIFY(QTest::qWaitForWindowExposed(m_form));
    QVERIFY(child<QGroupBox>("frCom")->isVisible());
    QVERIFY(!child<QGroupBox>("frTCP")->isVisible());
    QVERIFY(!child<QPushButton>("cmdCom")->isEnabled());
    QVERIFY(child<QPushButton>("cmdTCP")->isEnabled());
    QVERIFY(child<QPushButton>("cmdTest")->isEnabled());

    // The network frame's "test" button is there, greyed out, in network mode.
    click("cmdTCP");
    QVERIFY(child<QPushButton>("cmdSendTest")->isVisible());
    QVERIFY(!child<QPushButton>("cmdSendTest")->isEnabled());

    const QFont title = child<QLabel>("Label1")->font();
    QCOMPARE(title.pointSizeF(), 13.5);
    QVERIFY(!title.bold());
    QVERIFY(!title.italic());
}

void TestForm1::captionsFitTheirControls()
{
    // A caption cut short at its control's edge would not read as the system's text.
    for (QLabel *label : m_form->findChildren<QLabel *>()) {
        const int needed = label->fontMetrics().horizontalAdvance(label->text());
        QVERIFY2(needed <= label->width(), qPrintable(QStringLiteral("%1 needs %2 px, has %3")
                                                          .arg(label->objectName())
                                                          .arg(needed)
                                                          .arg(label->width())));
    }
    for (QPushButton *button : m_form->findChildren<QPushButton *>()) {
        const int needed = button->fontMetrics().horizontalAdvance(button->text());
        QVERIFY2(needed < button->width(), qPrintable(QStringLiteral("%1 needs %2 px, has %3")
                                                          .arg(button->objectName())
                                                          .arg(needed)
                                                          .arg(button->width())));
    }
}

void TestForm1::speedList()
{
    auto *combo = child<QComboBox>("comboHastighet");
    QStringList entries;
    for (int i = 0; i < combo->count(); ++i)
        entries << combo->itemText(i);
    QCOMPARE(entries, QStringList({"110", "300", "600", "1200", "2400", "9600", "14400", "19200",
                                   "28800", "38400", "56000", "128000", "256000"}));
    QCOMPARE(combo->currentIndex(), -1);
    QCOMPARE(combo->currentText(), QStringLiteral("19200"));
    QVERIFY(combo->isEditable());

    // Any text may be typed, and typing it does not add it to the list.
    m_form->show();
    QVERIFY(QTest::qWaitForWindowExposed(m_form));
    combo->lineEdit()->selectAll();
    QTest::keyClicks(combo->lineEdit(), QStringLiteral("1"));
    QCOMPARE(combo->currentText(), QStringLiteral("1"));
    QTest::keyClick(combo->lineEdit(), Qt::Key_Return);
    QCOMPARE(combo->count(), 13);
    QCOMPARE(combo->currentText(), QStringLiteral("1"));
}

void TestForm1::wheelOverSpeedBox_data()
{
    QTest::addColumn<QString>("shown");
    QTest::addColumn<int>("delta"); // one notch; positive: away from the user
    QTest::addColumn<QString>("after");
    QTest::newRow("towards the user from 19200") << "19200" << -120 << "28800";
    QTest::newRow("away from the user from 19200") << "19200" << 120 << "14400";
    QTest::newRow("at the top of the list") << "110" << 120 << "110";
    QTest::newRow("at the end of the list") << "256000" << -120 << "256000";
    QTest::newRow("from a speed typed by hand") << "4800" << -120 << "9600";
    QTest::newRow("over a text that is no speed") << "fort" << -120 << "fort";
    QTest::newRow("sideways") << "19200" << 0 << "19200";
}

void TestForm1::wheelOverSpeedBox()
{
    QFETCH(QString, shown);
    QFETCH(int, delta);
    QFETCH(QString, after);

    m_form->show();
    QVERIFY(QTest::qWaitForWindowExposed(m_form));
    auto *combo = child<QComboBox>("comboHastighet");
    combo->setEditText(shown);
    // Through the window, which hands the wheel to the control under the pointer, as from the
    // platform: the box's text field passes it on to the box.
    const QPointF at(combo->mapTo(m_form, combo->rect().center()));
    const QPoint angle = delta ? QPoint(0, delta) : QPoint(-120, 0);
    QWheelEvent wheel(at, m_form->mapToGlobal(at), QPoint(), angle, Qt::NoButton, Qt::NoModifier,
                      Qt::NoScrollPhase, false);
    QSpontaneKeyEvent::setSpontaneous(&wheel);
    qApp->notify(m_form->windowHandle(), &wheel);
    QCOMPARE(combo->currentText(), after);
}

void TestForm1::tooltips()
{
    QCOMPARE(child<QPushButton>("cmdTest")->toolTip(),
             QStringLiteral("Sender ctrl+E til skriveren,og viser resultatet i feltet nedenfor"));
    QCOMPARE(child<QPushButton>("comKopiperTekst")->toolTip(),
             QStringLiteral("Legger teksten i feltet nedenfor på clipboardet. Bruk ctrl+v for å "
                            "lime den inn i en mail. el."));
    const QString pause =
        QStringLiteral("Pause før vi forventer svar -  min 10, max 2000 millisekunder");
    QCOMPARE(child<QLineEdit>("txtPause")->toolTip(), pause);
    QCOMPARE(child<QLabel>("Label6")->toolTip(), pause);
}

void TestForm1::firstFocusAndTabOrder_data()
{
    QTest::addColumn<bool>("network");
    QTest::addColumn<QStringList>("order");
    QTest::newRow("serial mode") << false
                                 << QStringList{"cmdAvslutt", "cmdTest",         "txtResultat",
                                                "cmdBlankut", "comKopiperTekst", "cmdHelp",
                                                "txtPause",   "comboHastighet",  "txtComTil",
                                                "txtComFra",  "cmdTCP",          "cmdAvslutt"};
    QTest::newRow("network mode") << true
                                  << QStringList{"cmdAvslutt", "cmdTest",         "txtResultat",
                                                 "cmdBlankut", "comKopiperTekst", "cmdHelp",
                                                 "txtIP",      "cmdCom",          "cmdCloseTCP",
                                                 "cmdOpenTCP", "cmdAvslutt"};
}

void TestForm1::firstFocusAndTabOrder()
{
    QFETCH(bool, network);
    QFETCH(QStringList, order);

    m_form->show();
    QApplication::setActiveWindow(m_form);
    QVERIFY(QTest::qWaitForWindowActive(m_form));
    QTRY_VERIFY(QApplication::focusWidget());
    QCOMPARE(QApplication::focusWidget()->objectName(), QStringLiteral("cmdAvslutt"));
    if (network) {
        m_form->cmdTCP_Click();
        child<QPushButton>("cmdAvslutt")->setFocus();
    }

    QStringList visited;
    for (int i = 0; i < order.size(); ++i) {
        QWidget *focus = QApplication::focusWidget();
        QVERIFY(focus);
        // The editable combo box holds the focus in its line edit.
        if (qobject_cast<QComboBox *>(focus->parentWidget()))
            focus = focus->parentWidget();
        visited << focus->objectName();
        QTest::keyClick(focus, Qt::Key_Tab);
    }
    QCOMPARE(visited, order);
}

void TestForm1::modeSwitchKeepsTypedTexts()
{
    m_form->show();
    QVERIFY(QTest::qWaitForWindowExposed(m_form));
    child<QLineEdit>("txtComFra")->setText(QStringLiteral("3"));
    child<QLineEdit>("txtPause")->setText(QStringLiteral("abc"));
    child<QComboBox>("comboHastighet")->setEditText(QStringLiteral("9600"));
    m_form->cmdHelp_Click();
    const QString log = m_form->logText();

    click("cmdTCP");
    QCOMPARE(m_form->PrinterMode(), Form1::networkMode);
    QVERIFY(child<QGroupBox>("frTCP")->isVisible());
    QVERIFY(!child<QGroupBox>("frCom")->isVisible());
    QCOMPARE(child<QGroupBox>("frTCP")->geometry(), child<QGroupBox>("frCom")->geometry());
    QVERIFY(!child<QPushButton>("cmdTCP")->isEnabled());
    QVERIFY(child<QPushButton>("cmdCom")->isEnabled());
    child<QLineEdit>("txtIP")->setText(QStringLiteral("127.0.0.9"));

    click("cmdCom");
    QCOMPARE(m_form->PrinterMode(), Form1::serialMode);
    QVERIFY(child<QGroupBox>("frCom")->isVisible());
    QVERIFY(!child<QGroupBox>("frTCP")->isVisible());
    QVERIFY(!child<QPushButton>("cmdCom")->isEnabled());
    QVERIFY(child<QPushButton>("cmdTCP")->isEnabled());

    QCOMPARE(child<QLineEdit>("txtComFra")->text(), QStringLiteral("3"));
    QCOMPARE(child<QLineEdit>("txtComTil")->text(), QStringLiteral("16"));
    QCOMPARE(child<QLineEdit>("txtPause")->text(), QStringLiteral("abc"));
    QCOMPARE(child<QComboBox>("comboHastighet")->currentText(), QStringLiteral("9600"));
    QCOMPARE(child<QLineEdit>("txtIP")->text(), QStringLiteral("127.0.0.9"));
    QCOMPARE(m_form->logText(), log);
}

void TestForm1::logBoxFollowsWindowSize_data()
{
    // The window's outer size, frame included, at 15 twips a pixel.
    QTest::addColumn<QSize>("window");
    QTest::addColumn<QSize>("box");
    QTest::newRow("9000 x 9000 twips") << QSize(600, 600) << QSize(571, 392);
    QTest::newRow("design size") << QSize(404, 560) << QSize(375, 352);
    QTest::newRow("too small keeps the box") << QSize(30, 200) << QSize(385, 305);
    QTest::newRow("narrow but tall") << QSize(31, 700) << QSize(2, 492);
}

void TestForm1::logBoxFollowsWindowSize()
{
    QFETCH(QSize, window);
    QFETCH(QSize, box);

    m_form->show();
    QVERIFY(QTest::qWaitForWindowExposed(m_form));
    auto *log = child<LogBox>("txtResultat");
    // Start from the box's design size, so that "unchanged" is seen as such.
    log->resize(385, 305);
    m_form->setMinimumSize(1, 1);
    const QSize client = window.shrunkBy(m_form->windowHandle()->frameMargins());
    m_form->resize(client);
    QTRY_COMPARE(m_form->size(), client);
    QCOMPARE(log->size(), box);
    QCOMPARE(log->pos(), QPoint(8, 164));
    QCOMPARE(child<QPushButton>("cmdAvslutt")->geometry(), twips(5040, 1980, 855, 375));
}

void TestForm1::logBoxFollowsFrameOnceKnown()
{
    // A window manager frames the window only after it is first shown.
    if (QGuiApplication::platformName() != QLatin1String("xcb"))
        QSKIP("needs a window manager: runs under underwindowmanager.sh");
    m_form->show();
    QVERIFY(QTest::qWaitForWindowExposed(m_form));
    const QWindow *window = m_form->windowHandle();
    QTRY_VERIFY(!window->frameMargins().isNull());

    const QSize outer = m_form->size().grownBy(window->frameMargins());
    const QSize box(qRound((outer.width() * 15 - 440) / 15.0),
                    qRound((outer.height() * 15 - 3120) / 15.0));
    QTRY_COMPARE(child<LogBox>("txtResultat")->size(), box);
}

void TestForm1::help_data()
{
    QTest::addColumn<bool>("network");
    QTest::addColumn<QString>("guide");
    // The control that has the focus when Return is pressed; none: the handler is called.
    QTest::addColumn<QString>("returnIn");
    QTest::newRow("serial") << false << serialGuide << "";
    QTest::newRow("network") << true << networkGuide << "";
    QTest::newRow("Return on the focused Hjelp") << false << serialGuide << "cmdHelp";
    QTest::newRow("Return in a port field writes nothing") << false << ""
                                                           << "txtComFra";
    QTest::newRow("Return in the speed box writes nothing") << false << ""
                                                            << "comboHastighet";
    QTest::newRow("Return in the address field writes nothing") << true << ""
                                                                << "txtIP";
}

void TestForm1::help()
{
    QFETCH(bool, network);
    QFETCH(QString, guide);
    QFETCH(QString, returnIn);

    if (network)
        m_form->cmdTCP_Click();
    if (returnIn.isEmpty()) {
        m_form->cmdHelp_Click();
    } else {
        m_form->show();
        QApplication::setActiveWindow(m_form);
        QVERIFY(QTest::qWaitForWindowActive(m_form));
        m_form->findChild<QWidget *>(returnIn)->setFocus();
        QTest::keyClick(m_form->windowHandle(), Qt::Key_Return);
    }
    QCOMPARE(m_form->logText(), guide);
    if (!guide.isEmpty())
        QCOMPARE(m_form->logText().count(QStringLiteral("\r\n")), network ? 12 : 23);
}

void TestForm1::helpTwiceAndAfterModeSwitch()
{
    m_form->show();
    QVERIFY(QTest::qWaitForWindowExposed(m_form));
    click("cmdBlankut");
    click("cmdHelp");
    click("cmdHelp");
    QCOMPARE(m_form->logText(), serialGuide);

    click("cmdTCP");
    click("cmdHelp");
    QCOMPARE(m_form->logText(), networkGuide);

    click("cmdCom");
    click("cmdHelp");
    QCOMPARE(m_form->logText(), serialGuide);
}

void TestForm1::copyAndClearThroughButtons()
{
    m_form->show();
    QVERIFY(QTest::qWaitForWindowExposed(m_form));

    click("comKopiperTekst");
    QCOMPARE(m_clipboard.text, QString());
    QCOMPARE(m_clipboard.clears, 1);

    click("cmdHelp");
    click("comKopiperTekst");
    QCOMPARE(m_clipboard.text, serialGuide);
    click("comKopiperTekst");
    QCOMPARE(m_clipboard.text, serialGuide);
    QCOMPARE(m_form->logText(), serialGuide);

    click("cmdBlankut");
    QVERIFY(m_form->logText().isEmpty());
    QCOMPARE(m_clipboard.text, serialGuide);
}

void TestForm1::copyReachesSystemClipboardUnchanged()
{
    Form1 form; // the real clipboard
    form.cmdTCP_Click();
    form.cmdHelp_Click();
    QGuiApplication::clipboard()->setText(QStringLiteral("før"));
    QTest::mouseClick(form.findChild<QPushButton *>(QStringLiteral("comKopiperTekst")),
                      Qt::LeftButton);
    QCOMPARE(QGuiApplication::clipboard()->text(), networkGuide);

    form.findChild<QPushButton *>(QStringLiteral("cmdBlankut"))->click();
    form.findChild<QPushButton *>(QStringLiteral("comKopiperTekst"))->click();
    QCOMPARE(QGuiApplication::clipboard()->text(), QString());
}

void TestForm1::avsluttEndsProgram()
{
    m_form->show();
    QVERIFY(QTest::qWaitForWindowExposed(m_form));
    click("cmdAvslutt");
    QCOMPARE(m_window->endCalls(), 1);
}

void TestForm1::testButtonRunsTestOfSelectedMode_data()
{
    QTest::addColumn<bool>("network");
    QTest::addColumn<QString>("startLine");
    QTest::addColumn<int>("key"); // pressed on the focused button; none: a click
    QTest::newRow("serial") << false << QStringLiteral("START Serieport ") << 0;
    QTest::newRow("network") << true << QStringLiteral("START Nettverk ") << 0;
    QTest::newRow("serial by the keypad's Enter")
        << false << QStringLiteral("START Serieport ") << int(Qt::Key_Enter);
    QTest::newRow("network by Return")
        << true << QStringLiteral("START Nettverk ") << int(Qt::Key_Return);
}

void TestForm1::testButtonRunsTestOfSelectedMode()
{
    QFETCH(bool, network);
    QFETCH(QString, startLine);
    QFETCH(int, key);

    FakeDevices devices;
    TestWindow window(devices.seams(m_clipboard));
    Form1 &form = window.form();
    form.findChild<QLineEdit *>(QStringLiteral("txtComTil"))->setText(QStringLiteral("1"));
    if (network)
        form.cmdTCP_Click();

    auto *cmdTest = form.findChild<QPushButton *>(QStringLiteral("cmdTest"));
    bool testButtonOffWhileRunning = true;
    devices.sleeper.onSleep = [&] { testButtonOffWhileRunning &= !cmdTest->isEnabled(); };
    if (key) {
        form.show();
        QApplication::setActiveWindow(&form);
        QVERIFY(QTest::qWaitForWindowActive(&form));
        cmdTest->setFocus();
        QTest::keyClick(form.windowHandle(), Qt::Key(key),
                        key == Qt::Key_Enter ? Qt::KeypadModifier : Qt::NoModifier);
    } else {
        cmdTest->click();
    }

    QVERIFY2(form.logText().startsWith(startLine), qPrintable(form.logText()));
    QVERIFY(form.logText().endsWith(QStringLiteral("\r\n\r\n")));
    QVERIFY(!devices.sleeper.pauses.isEmpty());
    QVERIFY(testButtonOffWhileRunning);
    QVERIFY(cmdTest->isEnabled());
    // Only the selected mode's ports are touched.
    QCOMPARE(devices.comPort.calls.isEmpty(), network);
    QCOMPARE(devices.socketJournal.isEmpty(), !network);
    QCOMPARE(form.PrinterMode(), network ? Form1::networkMode : Form1::serialMode);
}

void TestForm1::inputDuringSerialSweepIsDropped_data()
{
    // Input as the platform queues it for the window, made while the sweep holds the window.
    QTest::addColumn<QString>("control");
    QTest::addColumn<QList<int>>("mouse");
    QTest::addColumn<QList<int>>("keys");
    QTest::addColumn<bool>("close"); // the title bar's close
    const int press = QEvent::MouseButtonPress;
    const int release = QEvent::MouseButtonRelease;
    QTest::newRow("double click on Test skriver")
        << "cmdTest" << QList<int>{press, QEvent::MouseButtonDblClick, release} << QList<int>{}
        << false;
    QTest::newRow("click on Blank loggen")
        << "cmdBlankut" << QList<int>{press, release} << QList<int>{} << false;
    // The log box holds the focus while the test button is off; Tab leads to "Blank loggen".
    QTest::newRow("Tab and Space to Blank loggen")
        << "" << QList<int>{} << QList<int>{Qt::Key_Tab, Qt::Key_Space} << false;
    // Dropped with the rest, but the window closes once the sweep is over.
    QTest::newRow("close request and a click on Blank loggen")
        << "cmdBlankut" << QList<int>{press, release} << QList<int>{} << true;
}

void TestForm1::inputDuringSerialSweepIsDropped()
{
    QFETCH(QString, control);
    QFETCH(QList<int>, mouse);
    QFETCH(QList<int>, keys);
    QFETCH(bool, close);

    FakeCommControl comPort;
    FakeSleeper sleeper;
    TestWindow test(TestWindow::Seams().clipboard(m_clipboard).comPort(comPort).sleeper(sleeper));
    Form1 &form = test.form();
    form.findChild<QLineEdit *>(QStringLiteral("txtComTil"))->setText(QStringLiteral("1"));
    form.show();
    QApplication::setActiveWindow(&form);
    QVERIFY(QTest::qWaitForWindowActive(&form));
    QWindow *window = form.windowHandle();

    auto postMouse = [&form, window](QWidget *target, int type) {
        const QPointF at(target->mapTo(&form, target->rect().center()));
        const Qt::MouseButtons held =
            type == QEvent::MouseButtonRelease ? Qt::NoButton : Qt::LeftButton;
        QCoreApplication::postEvent(window, new QMouseEvent(QEvent::Type(type), at, at,
                                                            form.mapToGlobal(at), Qt::LeftButton,
                                                            held, Qt::NoModifier));
    };
    auto postKey = [window](int key) {
        const QString text = key == Qt::Key_Space ? QStringLiteral(" ") : QString();
        for (QEvent::Type type : {QEvent::KeyPress, QEvent::KeyRelease})
            QCoreApplication::postEvent(window, new QKeyEvent(type, key, Qt::NoModifier, text));
    };
    int pauses = 0;
    sleeper.onSleep = [&] {
        if (++pauses > 1)
            return;
        for (int type : mouse)
            postMouse(form.findChild<QWidget *>(control), type);
        for (int key : keys)
            postKey(key);
        if (close)
            QCoreApplication::postEvent(window, new QCloseEvent);
    };

    auto *cmdTest = form.findChild<QPushButton *>(QStringLiteral("cmdTest"));
    QTest::mouseClick(cmdTest, Qt::LeftButton);
    QCoreApplication::processEvents();
    QCoreApplication::processEvents();

    const QString log = form.logText();
    QCOMPARE(pauses, 1);
    QCOMPARE(sleeper.pauses, QList<qint32>({350}));
    QCOMPARE(test.endCalls(), close ? 1 : 0);
    QVERIFY2(log.startsWith(QStringLiteral("START Serieport ")), qPrintable(log));
    QCOMPARE(log.count(QStringLiteral("START Serieport ")), 1);
    QVERIFY(log.endsWith(QStringLiteral("\r\n\r\n")));
    QVERIFY(cmdTest->isEnabled());

    // Input made once the sweep is over acts as usual.
    auto *cmdBlankut = form.findChild<QPushButton *>(QStringLiteral("cmdBlankut"));
    postMouse(cmdBlankut, QEvent::MouseButtonPress);
    postMouse(cmdBlankut, QEvent::MouseButtonRelease);
    QTRY_VERIFY(form.logText().isEmpty());
}

namespace {
// The serial control's calls that fail, and with which error number.
using Failures = QHash<QString, int>;
} // namespace

void TestForm1::announcementsInOrder_data()
{
    // The fields' texts; the network mode where the address is given.
    QTest::addColumn<QStringList>("fields"); // COM fra, COM til, pause
    QTest::addColumn<QString>("address");
    QTest::addColumn<QString>("reply"); // what COM1 answers
    QTest::addColumn<Failures>("failures");
    QTest::addColumn<QList<qint32>>("pauses");
    QTest::addColumn<QString>("caretLine"); // the log's line where the caret stands after
    QTest::addColumn<QStringList>("announced");

    const QString good = QStringLiteral("\x02  A000120\x03");
    const Failures secondInUse = {{"setPortOpen(true)#2", CommControl::comPortAlreadyOpen}};
    QTest::newRow("sweep: the start, then the verdict")
        << QStringList{"1", "2", "350"} << QString() << good << secondInUse << QList<qint32>{350}
        << QStringLiteral("  - Skriver OK -")
        << QStringList{
               "Tester com1 til com2 med hastighet 19200 og pause 350 ms, ferdig innen ett "
               "sekund.",
               "com1: - Skriver OK -. com2 er i bruk av et annet program, lukk det og prøv igjen."};
    QTest::newRow("sweep: the corrected fields told")
        << QStringList{"3", "2", "5"} << QString() << QString() << Failures{} << QList<qint32>{10}
        << QStringLiteral("  - Skriveren svarer ikke -")
        << QStringList{"Portene er rettet til com1. Pausen er rettet til 10 ms. Tester com1 med "
                       "hastighet 19200 og pause 10 ms, ferdig innen ett sekund.",
                       "Ingen skriver svarte. com1 svarer ikke. Sjekk at skriveren er på og "
                       "koplet til, prøv en annen hastighet, eller finn den med solvarn-sjekk "
                       "find --serial."};
    // A settings text the control refuses does not hide why a port then could not be opened.
    QTest::newRow("sweep: the longest pause, ports that failed otherwise")
        << QStringList{"1", "3", "2000"} << QString() << QString()
        << Failures{{"setSettings#2", CommControl::invalidPropertyValue},
                    {"setPortOpen(true)#2", CommControl::comPortAlreadyOpen},
                    {"setCommPort(3)", CommControl::comNoOpen}}
        << QList<qint32>{2000} << QStringLiteral("  - Skriveren svarer ikke -")
        << QStringList{"Tester com1 til com3 med hastighet 19200 og pause 2000 ms, ferdig innen "
                       "omtrent 6 sekunder.",
                       "Ingen skriver svarte. com1 svarer ikke. com2 er i bruk av et annet "
                       "program, lukk det og prøv igjen. com3 kunne ikke åpnes. Sjekk at "
                       "skriveren er på og koplet til, prøv en annen hastighet, eller finn den "
                       "med solvarn-sjekk find --serial."};
    // "Blank loggen" during the test: its outcome and the verdict both kept, in order.
    QTest::newRow("network: a button's outcome during the test")
        << QStringList{} << QStringLiteral("127.0.4.210") << QString() << Failures{}
        << QList<qint32>(23, 250) << QStringLiteral("Finner ikke skriver på IP-adresse 127.0.4.210")
        << QStringList{"Tester skriveren på 127.0.4.210, svar innen omtrent 6 sekunder.",
                       "Loggen er tom",
                       "Finner ikke skriver på IP-adresse 127.0.4.210 Sjekk at den er koplet til."};
}

void TestForm1::announcementsInOrder()
{
    QFETCH(QStringList, fields);
    QFETCH(QString, address);
    QFETCH(QString, reply);
    QFETCH(Failures, failures);
    QFETCH(QList<qint32>, pauses);
    QFETCH(QString, caretLine);
    QFETCH(QStringList, announced);

    FakeDevices devices;
    if (!reply.isEmpty())
        devices.comPort.replies[1] = QStringList{reply};
    for (auto failure = failures.cbegin(); failure != failures.cend(); ++failure)
        devices.comPort.failures[failure.key()] =
            RuntimeError{failure.value(), QStringLiteral("x")};
    TestWindow window(devices.seams(m_clipboard));
    Form1 &form = window.form();
    if (address.isEmpty()) {
        form.findChild<QLineEdit *>(QStringLiteral("txtComFra"))->setText(fields.at(0));
        form.findChild<QLineEdit *>(QStringLiteral("txtComTil"))->setText(fields.at(1));
        form.findChild<QLineEdit *>(QStringLiteral("txtPause"))->setText(fields.at(2));
    } else {
        form.cmdTCP_Click();
        form.findChild<QLineEdit *>(QStringLiteral("txtIP"))->setText(address);
        devices.eventPump.onProcess = [&] {
            if (devices.eventPump.calls == 2)
                form.findChild<QPushButton *>(QStringLiteral("cmdBlankut"))->click();
        };
    }
    form.findChild<QPushButton *>(QStringLiteral("cmdTest"))->click();

    QCOMPARE(form.findChild<Announcer *>()->announced(), announced);
    // The sweep's pauses, and so its length, are those it had before anything was told.
    QCOMPARE(devices.sleeper.pauses, pauses);
    const LogBox *log = form.findChild<LogBox *>(QStringLiteral("txtResultat"));
    QCOMPARE(log->textCursor().block().text(), caretLine);
}

void TestForm1::contextMenusReadNorwegian_data()
{
    QTest::addColumn<QString>("control");
    QTest::addColumn<QStringList>("entries"); // without the key letter's mark and the shortcut
    const QStringList field = {"Angre",   "Gjør om", "Klipp ut", "Kopier",
                               "Lim inn", "Slett",   "Merk alt"};
    QTest::newRow("log box") << "txtResultat" << QStringList{"Kopier", "Merk alt"};
    QTest::newRow("port field") << "txtComFra" << field;
    QTest::newRow("speed box") << "comboHastighet" << field;
    QTest::newRow("log's vertical scroll bar")
        << "vertical" << QStringList{"Rull hit", "Øverst",   "Nederst", "Side opp",
                                     "Side ned", "Rull opp", "Rull ned"};
    QTest::newRow("log's horizontal scroll bar")
        << "horizontal"
        << QStringList{"Rull hit",       "Venstre kant",     "Høyre kant",    "Side til venstre",
                       "Side til høyre", "Rull til venstre", "Rull til høyre"};
}

void TestForm1::contextMenusReadNorwegian()
{
    QFETCH(QString, control);
    QFETCH(QStringList, entries);

    // Installed as the program installs it at start.
    ToolkitTranslator translator;
    QCoreApplication::installTranslator(&translator);
    m_form->show();
    QVERIFY(QTest::qWaitForWindowExposed(m_form));
    QWidget *target = nullptr;
    if (control == QLatin1String("vertical"))
        target = child<LogBox>("txtResultat")->verticalScrollBar();
    else if (control == QLatin1String("horizontal"))
        target = child<LogBox>("txtResultat")->horizontalScrollBar();
    else
        target = child<QWidget>(qPrintable(control));

    QStringList shown;
    bool menuSeen = false;
    QTimer::singleShot(0, this, [&] {
        auto *menu = qobject_cast<QMenu *>(QApplication::activePopupWidget());
        if (!menu)
            return;
        menuSeen = true;
        for (const QAction *action : menu->actions()) {
            if (!action->isSeparator())
                shown << action->text().section(QLatin1Char('\t'), 0, 0).remove(QLatin1Char('&'));
        }
        menu->close();
    });
    // A right click through the window, which opens the control's menu as a user's would.
    const QPoint at = target->mapTo(m_form, target->rect().center());
    QTest::mouseClick(m_form->windowHandle(), Qt::RightButton, Qt::NoModifier, at);
    QCoreApplication::removeTranslator(&translator);

    QVERIFY(menuSeen);
    QCOMPARE(shown, entries);
}

// A second window opens a title bar's height below and right of where it was placed, and where
// that would leave the screen, in the screen's top left corner (offscreen: a screen of 800 x 800,
// a window of 408 x 564, a title bar of 24).
void TestForm1::secondWindowStepsAside_data()
{
    QTest::addColumn<QPoint>("placed");
    QTest::addColumn<QPoint>("expected");
    QTest::newRow("left of the middle") << QPoint(100, 5) << QPoint(124, 29);
    QTest::newRow("at the corner") << QPoint(0, 0) << QPoint(24, 24);
    QTest::newRow("a step from both edges") << QPoint(368, 212) << QPoint(392, 236);
    QTest::newRow("past the right edge") << QPoint(369, 0) << QPoint(0, 0);
    QTest::newRow("past the bottom") << QPoint(0, 213) << QPoint(0, 0);
}

void TestForm1::secondWindowStepsAside()
{
    QFETCH(QPoint, placed);
    QFETCH(QPoint, expected);
    Form1 &window = m_window->form();
    window.show();
    QVERIFY(QTest::qWaitForWindowExposed(&window));
    window.move(placed);
    window.stepAsideFromAnother();
    QCOMPARE(window.frameGeometry().topLeft(), expected);
}

void TestForm1::closingTheWindow_data()
{
    // The pass of the network test in which the title bar's close arrives; 0: when idle.
    QTest::addColumn<int>("closeAtPass");
    QTest::newRow("idle") << 0;
    QTest::newRow("while the network test waits") << 2;
    QTest::newRow("after the network test's loop") << 22;
}

void TestForm1::closingTheWindow()
{
    QFETCH(int, closeAtPass);

    FakeDevices devices;
    FakeEventPump &eventPump = devices.eventPump;
    TestWindow window(devices.seams(m_clipboard));
    Form1 &form = window.form();
    form.cmdTCP_Click();
    form.findChild<QLineEdit *>(QStringLiteral("txtIP"))->setText(QStringLiteral("127.0.4.210"));
    form.show();
    QVERIFY(QTest::qWaitForWindowExposed(&form));

    if (closeAtPass > 0) {
        bool closed = true;
        int endCallsMeanwhile = -1;
        eventPump.onProcess = [&] {
            if (eventPump.calls == closeAtPass) {
                closed = form.close();
                endCallsMeanwhile = window.endCalls();
            }
        };
        form.findChild<QPushButton *>(QStringLiteral("cmdTest"))->click();

        // The program ends at once, in the pass where the close arrived, as "Avslutt" does.
        QVERIFY(!closed);
        QCOMPARE(endCallsMeanwhile, 1);
        QCOMPARE(window.endCalls(), 1);
        return;
    }

    // Idle, closing ends the program, once.
    form.close();
    QCOMPARE(window.endCalls(), 1);
}

namespace {

// The contrast of a control's caption with its face, as the guidelines for legible text count
// it: the face is the commonest colour inside the border, the caption the one that stands out
// most from it.
double captionContrast(QWidget *control)
{
    const QImage image = control->grab().toImage();
    const auto luminance = [](QRgb rgb) {
        const auto linear = [](int channel) {
            const double c = channel / 255.0;
            return c <= 0.03928 ? c / 12.92 : std::pow((c + 0.055) / 1.055, 2.4);
        };
        return 0.2126 * linear(qRed(rgb)) + 0.7152 * linear(qGreen(rgb)) +
               0.0722 * linear(qBlue(rgb));
    };
    const auto ratio = [](double a, double b) {
        return (std::max(a, b) + 0.05) / (std::min(a, b) + 0.05);
    };
    QHash<QRgb, int> counts;
    for (int y = 3; y < image.height() - 3; ++y) {
        for (int x = 3; x < image.width() - 3; ++x)
            ++counts[image.pixel(x, y)];
    }
    QRgb face = 0;
    int most = 0;
    for (auto it = counts.cbegin(); it != counts.cend(); ++it) {
        if (it.value() > most) {
            most = it.value();
            face = it.key();
        }
    }
    double best = 1.0;
    for (auto it = counts.cbegin(); it != counts.cend(); ++it)
        best = std::max(best, ratio(luminance(it.key()), luminance(face)));
    return best;
}

} // namespace

void TestForm1::accessibleNames_data()
{
    QTest::addColumn<QString>("control");
    QTest::addColumn<QString>("name");
    QTest::addColumn<QString>("label"); // the label that screen readers find it by
    QTest::newRow("first port") << "txtComFra"
                                << "COM fra"
                                << "Label2";
    QTest::newRow("last port") << "txtComTil"
                               << "COM til"
                               << "Label3";
    QTest::newRow("speed box") << "comboHastighet"
                               << "Hastighet"
                               << "Label4";
    QTest::newRow("pause") << "txtPause"
                           << "Pause (ms)"
                           << "Label6";
    QTest::newRow("address") << "txtIP"
                             << "IP-adresse"
                             << "Label7";
    QTest::newRow("log box") << "txtResultat"
                             << "Logg"
                             << "";
}

void TestForm1::accessibleNames()
{
    QFETCH(QString, control);
    QFETCH(QString, name);
    QFETCH(QString, label);

    QAccessibleInterface *field =
        QAccessible::queryAccessibleInterface(child<QWidget>(qPrintable(control)));
    QVERIFY(field);
    QCOMPARE(field->text(QAccessible::Name), name);
    QStringList labels;
    for (const auto &relation : field->relations(QAccessible::Label))
        labels << relation.first->object()->objectName();
    if (!label.isEmpty()) {
        QVERIFY2(labels.contains(label), qPrintable(labels.join(QLatin1Char(','))));
        QCOMPARE(child<QLabel>(qPrintable(label))->buddy(), child<QWidget>(qPrintable(control)));
    }
    // The speed box keeps what it shows as its value.
    if (control == QLatin1String("comboHastighet")) {
        QCOMPARE(field->role(), QAccessible::ComboBox);
        QCOMPARE(field->text(QAccessible::Value), QStringLiteral("19200"));
    }
}

void TestForm1::modeSwitchFocusAndState_data()
{
    QTest::addColumn<QStringList>("switches"); // the mode buttons pressed, in order
    QTest::addColumn<QString>("way");
    QTest::addColumn<QString>("focus");
    QTest::addColumn<QString>("selected");
    QTest::addColumn<QString>("other");
    QTest::addColumn<QString>("otherTells"); // the other button's description: the mode now
    QTest::newRow("at start") << QStringList{} << "click"
                              << "cmdAvslutt"
                              << "cmdCom"
                              << "cmdTCP"
                              << "Serieport er valgt";
    QTest::newRow("Nettverk by click") << QStringList{"cmdTCP"} << "click"
                                       << "txtIP"
                                       << "cmdTCP"
                                       << "cmdCom"
                                       << "Nettverk er valgt";
    QTest::newRow("Nettverk by Space") << QStringList{"cmdTCP"} << "Space"
                                       << "txtIP"
                                       << "cmdTCP"
                                       << "cmdCom"
                                       << "Nettverk er valgt";
    QTest::newRow("Nettverk by Return") << QStringList{"cmdTCP"} << "Return"
                                        << "txtIP"
                                        << "cmdTCP"
                                        << "cmdCom"
                                        << "Nettverk er valgt";
    QTest::newRow("Serieport again by click") << QStringList{"cmdTCP", "cmdCom"} << "click"
                                              << "txtPause"
                                              << "cmdCom"
                                              << "cmdTCP"
                                              << "Serieport er valgt";
    QTest::newRow("Serieport again by Space") << QStringList{"cmdTCP", "cmdCom"} << "Space"
                                              << "txtPause"
                                              << "cmdCom"
                                              << "cmdTCP"
                                              << "Serieport er valgt";
}

void TestForm1::modeSwitchFocusAndState()
{
    QFETCH(QStringList, switches);
    QFETCH(QString, way);
    QFETCH(QString, focus);
    QFETCH(QString, selected);
    QFETCH(QString, other);
    QFETCH(QString, otherTells);

    QVERIFY(showActive());
    QTRY_VERIFY(QApplication::focusWidget());
    for (const QString &button : switches)
        press(qPrintable(button), way);

    QCOMPARE(QApplication::focusWidget()->objectName(), focus);
    auto *selectedButton = child<QPushButton>(qPrintable(selected));
    QAccessibleInterface *selectedFace = QAccessible::queryAccessibleInterface(selectedButton);
    QAccessibleInterface *otherFace =
        QAccessible::queryAccessibleInterface(child<QPushButton>(qPrintable(other)));
    QCOMPARE(selectedFace->text(QAccessible::Description), QStringLiteral("Valgt"));
    QCOMPARE(otherFace->text(QAccessible::Description), otherTells);
    QVERIFY(selectedFace->state().disabled);
    QVERIFY(!otherFace->state().disabled);
    const double contrast = captionContrast(selectedButton);
    QVERIFY2(contrast >= 3.0, qPrintable(QString::number(contrast)));
    QCOMPARE(m_window->endCalls(), 0);
}

void TestForm1::spaceTwiceAfterModeSwitch_data()
{
    QTest::addColumn<bool>("toSerial");
    QTest::addColumn<QString>("focus");
    QTest::newRow("to Serieport") << true << "txtPause";
    QTest::newRow("to Nettverk") << false << "txtIP";
}

void TestForm1::spaceTwiceAfterModeSwitch()
{
    QFETCH(bool, toSerial);
    QFETCH(QString, focus);

    QVERIFY(showActive());
    if (toSerial)
        m_form->cmdTCP_Click();
    child<QPushButton>(toSerial ? "cmdCom" : "cmdTCP")->setFocus(Qt::TabFocusReason);
    QTest::keyClick(m_form->windowHandle(), Qt::Key_Space);
    QTest::keyClick(m_form->windowHandle(), Qt::Key_Space);

    QCOMPARE(m_window->endCalls(), 0);
    QVERIFY(m_form->isVisible());
    QCOMPARE(m_form->PrinterMode(), toSerial ? Form1::serialMode : Form1::networkMode);
    QCOMPARE(QApplication::focusWidget()->objectName(), focus);
    QCOMPARE(m_form->logText(), QString());
}

void TestForm1::keysInSpeedBox_data()
{
    QTest::addColumn<QString>("shown");
    QTest::addColumn<int>("key");
    QTest::addColumn<int>("modifiers");
    QTest::addColumn<QString>("after");
    const int none = Qt::NoModifier;
    QTest::newRow("Down from 19200") << "19200" << int(Qt::Key_Down) << none << "28800";
    QTest::newRow("Up from 19200") << "19200" << int(Qt::Key_Up) << none << "14400";
    QTest::newRow("Page Down from 19200") << "19200" << int(Qt::Key_PageDown) << none << "28800";
    QTest::newRow("Page Up from 19200") << "19200" << int(Qt::Key_PageUp) << none << "14400";
    QTest::newRow("Up at the top of the list") << "110" << int(Qt::Key_Up) << none << "110";
    QTest::newRow("Page Up at the top of the list")
        << "110" << int(Qt::Key_PageUp) << none << "110";
    QTest::newRow("Down at the end of the list")
        << "256000" << int(Qt::Key_Down) << none << "256000";
    QTest::newRow("Page Down at the end of the list")
        << "256000" << int(Qt::Key_PageDown) << none << "256000";
    QTest::newRow("keypad Down from a speed typed by hand")
        << "4800" << int(Qt::Key_Down) << int(Qt::KeypadModifier) << "9600";
    QTest::newRow("Down over a text that is no speed")
        << "fort" << int(Qt::Key_Down) << none << "fort";
}

void TestForm1::keysInSpeedBox()
{
    QFETCH(QString, shown);
    QFETCH(int, key);
    QFETCH(int, modifiers);
    QFETCH(QString, after);

    QVERIFY(showActive());
    auto *combo = child<QComboBox>("comboHastighet");
    combo->setEditText(shown);
    combo->setFocus(Qt::TabFocusReason);
    QTest::keyClick(m_form->windowHandle(), Qt::Key(key), Qt::KeyboardModifiers(modifiers));
    QCOMPARE(combo->currentText(), after);
    QCOMPARE(combo->count(), 13);
}

void TestForm1::focusVisible_data()
{
    QTest::addColumn<QString>("control");
    QTest::addColumn<bool>("atStart"); // focused as the window opens; else given the focus
    QTest::newRow("Avslutt at start") << "cmdAvslutt" << true;
    QTest::newRow("log box") << "txtResultat" << false;
}

void TestForm1::focusVisible()
{
    QFETCH(QString, control);
    QFETCH(bool, atStart);

    // The control's edge, two pixels wide, where a focus frame is drawn; the caret inside a
    // focused text is no frame.
    const auto edge = [](QWidget *widget) {
        const QImage image = widget->grab().toImage();
        QList<QRgb> pixels;
        for (int y = 0; y < image.height(); ++y) {
            for (int x = 0; x < image.width(); ++x) {
                if (x < 2 || y < 2 || x >= image.width() - 2 || y >= image.height() - 2)
                    pixels << image.pixel(x, y);
            }
        }
        return pixels;
    };
    QVERIFY(showActive());
    QTRY_VERIFY(QApplication::focusWidget());
    auto *focused = child<QWidget>(qPrintable(control));
    if (!atStart)
        focused->setFocus(Qt::OtherFocusReason);
    QCOMPARE(QApplication::focusWidget(), focused);
    const QList<QRgb> withFocus = edge(focused);
    child<QWidget>(atStart ? "cmdHelp" : "cmdAvslutt")->setFocus(Qt::OtherFocusReason);
    QVERIFY(!focused->hasFocus());
    QVERIFY(edge(focused) != withFocus);
}

void TestForm1::windowAtFontDpi_data()
{
    // The desktop's font resolution with no other scaling, as "larger text" sets it.
    QTest::addColumn<int>("dpi");
    QTest::addColumn<QSize>("window");
    QTest::addColumn<QRect>("cmdAvslutt");
    QTest::newRow("96 dpi") << 96 << QSize(404, 560) << QRect(336, 132, 57, 25);
    QTest::newRow("120 dpi") << 120 << QSize(505, 700) << QRect(420, 165, 71, 31);
    QTest::newRow("144 dpi") << 144 << QSize(606, 840) << QRect(504, 198, 86, 38);
}

void TestForm1::windowAtFontDpi()
{
    QFETCH(int, dpi);
    QFETCH(QSize, window);
    QFETCH(QRect, cmdAvslutt);

    if (m_form->logicalDpiY() != dpi) {
        // The screen's resolution is fixed when the program starts: this row, and the check of
        // every caption, run again in a program of their own on a screen of that resolution.
        if (!QGuiApplication::platformName().startsWith(QLatin1String("offscreen")))
            QSKIP("the screen of another resolution is one of the offscreen platform's");
        QTemporaryDir dir;
        QVERIFY(dir.isValid());
        QFile config(dir.filePath(QStringLiteral("screen.json")));
        QVERIFY(config.open(QIODevice::WriteOnly));
        config.write(QStringLiteral("{\"screens\": [{\"name\": \"screen\", \"x\": 0, \"y\": 0, "
                                    "\"width\": 1280, \"height\": 1024, \"logicalDpi\": %1, "
                                    "\"logicalBaseDpi\": %1, \"dpr\": 1}]}")
                         .arg(dpi)
                         .toUtf8());
        config.close();
        QProcess again;
        QProcessEnvironment environment = QProcessEnvironment::systemEnvironment();
        environment.insert(QStringLiteral("QT_QPA_PLATFORM"),
                           QStringLiteral("offscreen:configfile=") + config.fileName());
        again.setProcessEnvironment(environment);
        again.setProcessChannelMode(QProcess::MergedChannels);
        again.start(
            QCoreApplication::applicationFilePath(),
            {QStringLiteral("windowAtFontDpi:") + QString::fromUtf8(QTest::currentDataTag()),
             QStringLiteral("captionsFitTheirControls")});
        QVERIFY(again.waitForFinished(60000));
        const QString output = QString::fromLocal8Bit(again.readAll());
        QVERIFY2(again.exitStatus() == QProcess::NormalExit && again.exitCode() == 0,
                 qPrintable(output));
        QVERIFY2(output.contains(QStringLiteral("Totals: 4 passed, 0 failed")), qPrintable(output));
        return;
    }
    QCOMPARE(m_form->size(), window);
    QCOMPARE(child<QPushButton>("cmdAvslutt")->geometry(), cmdAvslutt);
    // The frames' title stays clear of the fields inside.
    const QGroupBox *frame = child<QGroupBox>("frCom");
    QVERIFY(frame->fontMetrics().height() <= child<QComboBox>("comboHastighet")->y());
}

void TestForm1::startedWithoutDesktop_data()
{
    QTest::addColumn<QString>("variable"); // the one naming a desktop, if any
    QTest::addColumn<QString>("display");
    // What follows the program's own line: the start of the toolkit's reason, which the user
    // needs to mend the display (empty: nothing follows).
    QTest::addColumn<QString>("toolkitReason");
    QTest::newRow("no desktop named") << ""
                                      << ""
                                      << "";
    QTest::newRow("a desktop that cannot be reached")
        << "DISPLAY"
        << ":65000"
        << "qt.qpa.xcb: could not connect to display :65000\n";
    // Named by Wayland alone, the toolkit is left to try; without a Wayland server it fails.
    QTest::newRow("a Wayland desktop that cannot be reached") << "WAYLAND_DISPLAY"
                                                              << "wayland-65000"
                                                              << "qt.qpa.";
}

void TestForm1::startedWithoutDesktop()
{
    QFETCH(QString, variable);
    QFETCH(QString, display);
    QFETCH(QString, toolkitReason);
#ifndef SOLVARN_WINDOW_PROGRAM
    QSKIP("the window's own program is built for another system");
#else
    QProcessEnvironment environment = QProcessEnvironment::systemEnvironment();
    for (const char *name : {"DISPLAY", "WAYLAND_DISPLAY", "QT_QPA_PLATFORM"})
        environment.remove(QLatin1String(name));
    if (!variable.isEmpty())
        environment.insert(variable, display);
    QProcess program;
    program.setProcessEnvironment(environment);
    program.start(QStringLiteral(SOLVARN_WINDOW_PROGRAM), {});
    QVERIFY(program.waitForFinished(30000));
    QCOMPARE(program.exitStatus(), QProcess::NormalExit);
    QCOMPARE(program.exitCode(), 1);
    const QString errors = QString::fromUtf8(program.readAllStandardError());
    const QString ownLine =
        QStringLiteral("Solvarn printersjekk trenger et grafisk skrivebord; "
                       "solvarn-sjekk kjører de samme testene i en terminal.\n");
    if (toolkitReason.isEmpty()) {
        QCOMPARE(errors, ownLine);
    } else {
        // The program's line first, then the toolkit's lines as they came, its reason first.
        QVERIFY2(errors.startsWith(ownLine + toolkitReason), qPrintable(errors));
        QVERIFY2(errors.contains(QStringLiteral("Could not load the Qt platform plugin \"xcb\"")),
                 qPrintable(errors));
    }
    QCOMPARE(program.readAllStandardOutput(), QByteArray());
#endif
}

void TestForm1::pauseAnswersOnlyTheBridge_data()
{
    QTest::addColumn<int>("pauseMs");
    QTest::addColumn<bool>("answered"); // the bridge's waiting call, by the pause's end
    QTest::newRow("no pause") << 0 << false;
    QTest::newRow("the shortest pause") << 10 << true;
    QTest::newRow("a network pass") << 250 << true;
}

void TestForm1::pauseAnswersOnlyTheBridge()
{
    QFETCH(int, pauseMs);
    QFETCH(bool, answered);

    AnsweringSleeper sleeper;
    AtSpiAdaptor bridge;
    QObject window;
    // The pause learns the bridge from a call delivered to it in the usual way.
    QMetaObject::invokeMethod(
        &bridge, [] {}, Qt::QueuedConnection);
    QCoreApplication::processEvents();

    bool bridgeAnswered = false;
    bool windowEventRan = false;
    bool timerRan = false;
    QMetaObject::invokeMethod(
        &bridge, [&] { bridgeAnswered = true; }, Qt::QueuedConnection);
    QMetaObject::invokeMethod(
        &window, [&] { windowEventRan = true; }, Qt::QueuedConnection);
    QTimer::singleShot(0, &window, [&] { timerRan = true; });
    QElapsedTimer clock;
    clock.start();
    sleeper.sleepMs(pauseMs);

    QVERIFY2(clock.elapsed() >= pauseMs, qPrintable(QString::number(clock.elapsed())));
    QCOMPARE(bridgeAnswered, answered);
    QVERIFY(!windowEventRan);
    QVERIFY(!timerRan);
    QCoreApplication::processEvents();
    QVERIFY(windowEventRan);
}

QTEST_MAIN(TestForm1)
#include "tst_form1.moc"
