#include "form1.h"

#include "enterpressesbutton.h"
#include "form1accessibility.h"
#include "form1focus.h"
#include "formtesthost.h"
#include "framewatcher.h"
#include "frozeninput.h"
#include "helptext.h"
#include "logbox.h"
#include "logpane.h"
#include "networkprinter.h"
#include "portfailure.h"
#include "realplatformparts.h"
#include "resizerule.h"
#include "serialrules.h"
#include "serialsweep.h"
#include "speedboxstepper.h"
#include "teststarttext.h"

#include <QCloseEvent>
#include <QComboBox>
#include <QCoreApplication>
#include <QGroupBox>
#include <QLineEdit>
#include <QPushButton>
#include <QScreen>
#include <QStyle>
#include <QWindow>

#include <cstdlib>

Form1::Form1(Form1Platform platform, QWidget *parent)
    : QWidget(parent)
    , m_platform(std::move(platform))
{
    Form1Accessibility::install();
    // The screen's resolution for text, which the window's fonts follow: the layout follows too.
    m_twips = Twips::Scale(logicalDpiX(), logicalDpiY());
    m_ui.setupUi(this, m_twips);
    m_accessibility = std::make_unique<Form1Accessibility>(m_ui);
    m_focus = std::make_unique<Form1Focus>(*this, m_ui);

    m_realParts = std::make_unique<RealPlatformParts>(m_platform, this);
    if (!m_platform.endProgram)
        m_platform.endProgram = [this] { endProgramNow(); };
    createTests();

    connectEvents();
    m_focus->setTabOrder();
    Form_Load();
}

void Form1::stepAsideFromAnother()
{
    const int step = style()->pixelMetric(QStyle::PM_TitleBarHeight, nullptr, this);
    QRect placed = frameGeometry().translated(step, step);
    if (const QScreen *shown = screen()) {
        const QRect room = shown->availableGeometry();
        // Back to the top left corner where the step would leave the screen.
        if (!room.contains(placed))
            placed.moveTopLeft(room.topLeft());
    }
    move(placed.topLeft());
}

Form1::~Form1() = default;

void Form1::createTests()
{
    m_log = std::make_unique<LogPane>(*m_ui.txtResultat, *m_platform.clipboard);

    FormFields fields;
    fields.txtComFra = m_ui.txtComFra;
    fields.txtComTil = m_ui.txtComTil;
    fields.comboHastighet = m_ui.comboHastighet;
    fields.txtPause = m_ui.txtPause;
    fields.txtIP = m_ui.txtIP;
    fields.cmdTest = m_ui.cmdTest;
    fields.window = this;
    fields.log = m_log.get();
    fields.announce = [this](const QString &text) { m_accessibility->announceStart(text); };
    if (m_platform.comPortDevice) {
        fields.portDenied = [device = m_platform.comPortDevice](qint16 port) {
            return PortFailure::denied(device(port));
        };
    }
    m_testHost = std::make_unique<FormTestHost>(fields);
    m_serial = std::make_unique<SerialSweep>(*m_testHost, *m_platform.comPort, *m_platform.sleeper,
                                             *m_log);

    NetworkPlatform networkPlatform;
    networkPlatform.sockInn = m_platform.sockInn;
    networkPlatform.sockUt = m_platform.sockUt;
    networkPlatform.messageBox = m_platform.messageBox;
    networkPlatform.eventPump = m_platform.eventPump;
    networkPlatform.sleeper = m_platform.sleeper;
    m_network = std::make_unique<NetworkPrinter>(*m_testHost, networkPlatform, *m_log);
}

void Form1::connectEvents()
{
    connect(m_ui.cmdCom, &QPushButton::clicked, this, &Form1::cmdCom_Click);
    connect(m_ui.cmdTCP, &QPushButton::clicked, this, &Form1::cmdTCP_Click);
    connect(m_ui.cmdTest, &QPushButton::clicked, this, &Form1::cmdTest_Click);
    connect(m_ui.comKopiperTekst, &QPushButton::clicked, this, [this] {
        m_log->comKopiperTekst_Click();
        m_accessibility->announceCopied();
    });
    connect(m_ui.cmdBlankut, &QPushButton::clicked, this, [this] {
        m_log->cmdBlankut_Click();
        m_accessibility->announceCleared();
    });
    connect(m_ui.cmdHelp, &QPushButton::clicked, this, &Form1::cmdHelp_Click);
    connect(m_ui.cmdAvslutt, &QPushButton::clicked, this, &Form1::cmdAvslutt_Click);
    connect(m_ui.cmdOpenTCP, &QPushButton::clicked, this, &Form1::cmdOpenTCP_Click);
    connect(m_ui.cmdCloseTCP, &QPushButton::clicked, this, &Form1::cmdCloseTCP_Click);

    // The window manager's frame arrives after the window is first shown, without a resize.
    connect(new FrameWatcher(*this), &FrameWatcher::frameMarginsChanged, this, &Form1::Form_Resize);
    auto *enterPressesButton = new EnterPressesButton(this);
    for (QPushButton *button : findChildren<QPushButton *>())
        enterPressesButton->watch(button);
    (new SpeedBoxStepper(this))->watch(m_ui.comboHastighet);
}

void Form1::Form_Load()
{
    for (const QString &speed : SerialRules::speeds)
        m_ui.comboHastighet->addItem(speed);
    // Adding to an empty list selects its first entry; nothing is to be selected.
    m_ui.comboHastighet->setCurrentIndex(-1);
    m_ui.comboHastighet->setEditText(QString::number(SerialRules::startSpeed));

    m_ui.txtComFra->setText(QString::number(SerialRules::startComFra));
    m_ui.txtComTil->setText(QString::number(SerialRules::startComTil));
    m_ui.txtPause->setText(QString::number(SerialRules::startPause));

    m_ui.frTCP->move(m_ui.frCom->x(), m_ui.frTCP->y());
    m_ui.frTCP->move(m_ui.frTCP->x(), m_ui.frCom->y());

    m_PrinterMode = serialMode;
    ShowPrinterMode();
}

void Form1::ShowPrinterMode()
{
    const bool serial = m_PrinterMode == serialMode;
    m_ui.frTCP->setVisible(!serial);
    m_ui.frCom->setVisible(serial);
    // Before its button is switched off: the toolkit would hand the focus to the next control
    // in the tab order, "Avslutt" or "Lukk sockets", where Space ends the program or closes.
    if (isVisible())
        m_focus->focusFirstFieldOf(serial ? m_ui.frCom : m_ui.frTCP);
    m_ui.cmdCom->setEnabled(!serial);
    m_ui.cmdTCP->setEnabled(serial);
    m_accessibility->showSelectedMode(serial);
}

void Form1::cmdCom_Click()
{
    m_PrinterMode = serialMode;
    ShowPrinterMode();
}

void Form1::cmdTCP_Click()
{
    m_PrinterMode = networkMode;
    ShowPrinterMode();
}

void Form1::cmdTest_Click()
{
    m_accessibility->testStarts();
    QString verdict;
    qsizetype verdictAt = -1;
    bool closeRequested = false;
    if (m_PrinterMode == serialMode) {
        closeRequested = TestSerialPrinter();
        verdict = m_testHost->serialVerdict();
        verdictAt = m_testHost->serialVerdictAt();
    } else {
        m_testHost->announceAtStart(networkStartText(m_testHost->address()));
        TestNetworkPrinter();
        verdict = m_network->verdict();
        // The verdict is the last line of its kind that the test wrote.
        if (!verdict.isEmpty())
            verdictAt = m_log->text().lastIndexOf(verdict);
    }
    m_accessibility->testEnded(verdict, verdictAt);
    if (closeRequested)
        m_platform.endProgram();
}

bool Form1::TestSerialPrinter()
{
    m_serial->TestSerialPrinter(m_testHost->serialFields());
    return dropInputMadeWhileFrozen();
}

void Form1::TestNetworkPrinter()
{
    m_network->TestNetworkPrinter(m_testHost->address());
}

// The socket buttons tell their outcome in the log: what they wrote is announced.
void Form1::cmdOpenTCP_Click()
{
    const qsizetype before = m_log->text().size();
    m_network->cmdOpenTCP_Click(m_ui.txtIP->text());
    m_accessibility->announceLogged(m_log->text().mid(before));
}

void Form1::cmdCloseTCP_Click()
{
    const qsizetype before = m_log->text().size();
    m_network->cmdCloseTCP_Click();
    m_accessibility->announceLogged(m_log->text().mid(before));
}

void Form1::cmdHelp_Click()
{
    m_log->cmdBlankut_Click();
    const QStringList guide =
        m_PrinterMode == serialMode ? HelpText::serialGuide() : HelpText::networkGuide();
    for (const QString &line : guide)
        m_log->AddLogLine(line);
    m_accessibility->announceHelpWritten();
}

void Form1::cmdAvslutt_Click()
{
    m_platform.endProgram();
}

void Form1::endProgramNow()
{
    hide();
    // While the network test waits under this click, returning would let it run on and write;
    // the program ends here instead, and the system closes its ports and sockets.
    if (!m_ui.cmdTest->isEnabled())
        std::_Exit(EXIT_SUCCESS);
    QCoreApplication::quit();
}

const QString &Form1::logText() const
{
    return m_log->text();
}

void Form1::Form_Resize()
{
    // The outer size, frame and title bar included where the platform draws them.
    QSize outer = size();
    if (const QWindow *window = windowHandle())
        outer = outer.grownBy(window->frameMargins());
    const LogBoxResize resized =
        logBoxResize(m_twips.fromPixelsX(outer.width()), m_twips.fromPixelsY(outer.height()));
    LogBox *logBox = m_ui.txtResultat;
    if (resized.width)
        logBox->resize(m_twips.toPixelsX(*resized.width), logBox->height());
    if (resized.height)
        logBox->resize(logBox->width(), m_twips.toPixelsY(*resized.height));
}

void Form1::resizeEvent(QResizeEvent *event)
{
    QWidget::resizeEvent(event);
    Form_Resize();
}

void Form1::showEvent(QShowEvent *event)
{
    QWidget::showEvent(event);
    if (m_firstShow) {
        m_firstShow = false;
        m_focus->focusAtFirstShow();
        Form_Resize();
    }
}

void Form1::closeEvent(QCloseEvent *event)
{
    // Closing through the title bar ends the program like "Avslutt", also in the middle of a
    // test, and once only: the program's end, not Qt's last-window rule, decides.
    event->ignore();
    m_platform.endProgram();
}
