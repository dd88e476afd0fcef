#include "form1.h"

#include "announcer.h"
#include "answeringsleeper.h"
#include "commcontrol.h"
#include "enterpressesbutton.h"
#include "formlayout.h"
#include "formtesthost.h"
#include "framewatcher.h"
#include "frozeninput.h"
#include "helptext.h"
#include "lineeditaccessible.h"
#include "logbox.h"
#include "logpane.h"
#include "namedcomboboxaccessible.h"
#include "networkprinter.h"
#include "qteventpump.h"
#include "resizerule.h"
#include "serialsweep.h"
#include "socketcontrol.h"
#include "speedboxstepper.h"
#include "systemclipboard.h"
#include "systemcommcontrol.h"
#include "systemsocketcontrol.h"
#include "widgetmessagebox.h"

#include <QCloseEvent>
#include <QComboBox>
#include <QCoreApplication>
#include <QGroupBox>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QWindow>

#include <cstdlib>

namespace {

// Places controls in twips at the window's scale.
class Placer
{
public:
    explicit Placer(const Twips::Scale &scale)
        : m_scale(scale)
    {
    }

    template <typename Widget>
    Widget *place(Widget *widget, const char *name, const Twips::Rect &rect) const
    {
        widget->setObjectName(QLatin1String(name));
        widget->setGeometry(m_scale.toPixels(rect));
        return widget;
    }

    QLabel *label(QWidget *parent, const char *name, const QString &text,
                  const Twips::Rect &rect) const
    {
        return place(new QLabel(text, parent), name, rect);
    }

    QPushButton *button(QWidget *parent, const char *name, const QString &text,
                        const Twips::Rect &rect) const
    {
        auto *result = place(new QPushButton(text, parent), name, rect);
        result->setAutoDefault(false);
        return result;
    }

    QLineEdit *textBox(QWidget *parent, const char *name, const Twips::Rect &rect) const
    {
        return place(new QLineEdit(parent), name, rect);
    }

private:
    const Twips::Scale &m_scale;
};

// Ties a field to the label before it and gives both the field's name: the captions are
// written for the eye ("til" alone says little), the field inherits the frame's caption
// otherwise, and screen readers name a field after the label tied to it before its own name.
void nameField(QLabel *label, QWidget *field, const QString &name)
{
    if (label) {
        label->setBuddy(field);
        label->setAccessibleName(name);
    }
    field->setAccessibleName(name);
}

// What a screen reader says of the selected mode's button, which is switched off and so never
// reached with Tab, and of the other mode's button, which is.
const QString selectedModeText = QStringLiteral("Valgt");
const QString serialSelectedText = QStringLiteral("Serieport er valgt");
const QString networkSelectedText = QStringLiteral("Nettverk er valgt");

// What a screen reader user is told of a button's outcome that shows nowhere near the focus.
const QString copiedText = QStringLiteral("Loggen er kopiert til utklippstavlen");
const QString clearedText = QStringLiteral("Loggen er tom");
const QString helpWrittenText = QStringLiteral("Hjelpeteksten står i loggen");
const QString testEndedText = QStringLiteral("Testen er ferdig");
// How much darker the selected mode's button face is than a button's usual face.
constexpr int selectedFaceDarker = 115;

const QStringList fontFamilies = {
    QStringLiteral("MS Shell Dlg 2"), QStringLiteral("Liberation Sans"), QStringLiteral("Arial"),
    QStringLiteral("Helvetica"),      QStringLiteral("Nimbus Sans"),
};

const QStringList speeds = {
    QStringLiteral("110"),    QStringLiteral("300"),   QStringLiteral("600"),
    QStringLiteral("1200"),   QStringLiteral("2400"),  QStringLiteral("9600"),
    QStringLiteral("14400"),  QStringLiteral("19200"), QStringLiteral("28800"),
    QStringLiteral("38400"),  QStringLiteral("56000"), QStringLiteral("128000"),
    QStringLiteral("256000"),
};

} // namespace

Form1::Form1(Form1Platform platform, QWidget *parent)
    : QWidget(parent)
{
    // On Linux the toolkit names a combo box by the text it shows; this names it as elsewhere.
    // Before any control exists: a screen reader may ask for a control as soon as it is made.
    NamedComboBoxAccessible::install();
    LineEditAccessible::install();
    Announcer::install();
    setObjectName(QStringLiteral("Form1"));
    setWindowTitle(QStringLiteral("Solvarn printersjekk"));
    // The screen's resolution for text, which the window's fonts follow: the layout follows too.
    m_twips = Twips::Scale(logicalDpiX(), logicalDpiY());
    resize(m_twips.toPixelsX(FormLayout::clientWidth), m_twips.toPixelsY(FormLayout::clientHeight));

    createControls();
    setUpAccessibility();
    createPlatform(std::move(platform));
    connectEvents();
    setTabOrder();
    Form_Load();
}

Form1::~Form1() = default;

void Form1::createControls()
{
    // The layout is made for a small bitmap sans serif of 8 points; a face with Arial's widths
    // at 7.5 points is as wide, and keeps every caption inside its control.
    const Placer placer(m_twips);
    QFont windowFont = font();
    windowFont.setFamilies(fontFamilies);
    windowFont.setPointSizeF(7.5);
    setFont(windowFont);

    m_Label1 =
        placer.label(this, "Label1", QStringLiteral("Solvarn - test av printertilkopling v1.0"),
                     FormLayout::Label1);
    QFont titleFont = windowFont;
    titleFont.setFamilies(QStringList{QStringLiteral("MS Sans Serif")} + fontFamilies);
    titleFont.setPointSizeF(13.5);
    titleFont.setWeight(QFont::Normal);
    titleFont.setBold(false);
    titleFont.setItalic(false);
    m_Label1->setFont(titleFont);
    m_Label9 = placer.label(this, "Label9", QStringLiteral("Kvanta AS"), FormLayout::Label9);

    m_cmdCom = placer.button(this, "cmdCom", QStringLiteral("Serieport"), FormLayout::cmdCom);
    m_cmdTCP = placer.button(this, "cmdTCP", QStringLiteral("Nettverk"), FormLayout::cmdTCP);

    m_frCom = placer.place(new QGroupBox(QStringLiteral("Serieportskriver"), this), "frCom",
                           FormLayout::frCom);
    m_frTCP = placer.place(new QGroupBox(QStringLiteral("Nettverksskriver (TCP/IP)"), this),
                           "frTCP", FormLayout::frTCP);

    m_cmdTest = placer.button(this, "cmdTest", QStringLiteral("Test skriver"), FormLayout::cmdTest);
    m_cmdTest->setToolTip(
        QStringLiteral("Sender ctrl+E til skriveren,og viser resultatet i feltet nedenfor"));
    m_comKopiperTekst = placer.button(this, "comKopiperTekst", QStringLiteral("Kopier tekst"),
                                      FormLayout::comKopiperTekst);
    m_comKopiperTekst->setToolTip(
        QStringLiteral("Legger teksten i feltet nedenfor på clipboardet. Bruk ctrl+v for å lime "
                       "den inn i en mail. el."));
    m_cmdBlankut =
        placer.button(this, "cmdBlankut", QStringLiteral("Blank loggen"), FormLayout::cmdBlankut);
    m_cmdHelp = placer.button(this, "cmdHelp", QStringLiteral("Hjelp"), FormLayout::cmdHelp);
    m_cmdAvslutt =
        placer.button(this, "cmdAvslutt", QStringLiteral("Avslutt"), FormLayout::cmdAvslutt);

    m_txtResultat = placer.place(new LogBox(this), "txtResultat", FormLayout::txtResultat);
    m_announcer = new Announcer(this);

    // The serial frame.
    m_Label4 = placer.label(m_frCom, "Label4", QStringLiteral("Hastighet"), FormLayout::Label4);
    m_comboHastighet =
        placer.place(new QComboBox(m_frCom), "comboHastighet", FormLayout::comboHastighet);
    m_comboHastighet->setEditable(true);
    // The list is the list: typing a speed neither adds it nor completes it to another.
    m_comboHastighet->setInsertPolicy(QComboBox::NoInsert);
    m_comboHastighet->setCompleter(nullptr);
    m_comboHastighet->setEditText(QStringLiteral("19200"));
    m_Label5 = placer.label(m_frCom, "Label5", QStringLiteral("( 9600 eller 19200 er vanligst)"),
                            FormLayout::Label5);
    m_Label2 = placer.label(m_frCom, "Label2", QStringLiteral("Test fra com"), FormLayout::Label2);
    m_txtComFra = placer.textBox(m_frCom, "txtComFra", FormLayout::txtComFra);
    m_Label3 = placer.label(m_frCom, "Label3", QStringLiteral("til"), FormLayout::Label3);
    m_txtComTil = placer.textBox(m_frCom, "txtComTil", FormLayout::txtComTil);
    const QString pauseTip =
        QStringLiteral("Pause før vi forventer svar -  min 10, max 2000 millisekunder");
    m_Label6 = placer.label(m_frCom, "Label6", QStringLiteral("Pause (ms)"), FormLayout::Label6);
    m_Label6->setToolTip(pauseTip);
    m_txtPause = placer.textBox(m_frCom, "txtPause", FormLayout::txtPause);
    m_txtPause->setToolTip(pauseTip);

    // The network frame.
    m_Label7 = placer.label(m_frTCP, "Label7", QStringLiteral("IP-adresse"), FormLayout::Label7);
    m_txtIP = placer.textBox(m_frTCP, "txtIP", FormLayout::txtIP);
    m_txtIP->setText(QStringLiteral("127.0.0.1"));
    m_Label8 = placer.label(m_frTCP, "Label8", QStringLiteral("(port inn 1025, port ut 1024)"),
                            FormLayout::Label8);
    m_cmdOpenTCP = placer.button(m_frTCP, "cmdOpenTCP", QStringLiteral("Åpne sockets"),
                                 FormLayout::cmdOpenTCP);
    m_cmdSendTest =
        placer.button(m_frTCP, "cmdSendTest", QStringLiteral("test"), FormLayout::cmdSendTest);
    m_cmdSendTest->setEnabled(false); // has no action and is never switched on
    m_cmdCloseTCP = placer.button(m_frTCP, "cmdCloseTCP", QStringLiteral("Lukk sockets"),
                                  FormLayout::cmdCloseTCP);
}

void Form1::setUpAccessibility()
{
    nameField(m_Label2, m_txtComFra, QStringLiteral("COM fra"));
    nameField(m_Label3, m_txtComTil, QStringLiteral("COM til"));
    nameField(m_Label4, m_comboHastighet, QStringLiteral("Hastighet"));
    nameField(m_Label6, m_txtPause, QStringLiteral("Pause (ms)"));
    nameField(m_Label7, m_txtIP, QStringLiteral("IP-adresse"));
    nameField(nullptr, m_txtResultat, QStringLiteral("Logg"));

    // The selected mode's button is switched off, which the toolkit draws in grey on grey and
    // screen readers call unavailable. Switched off, a mode button reads as selected instead:
    // its caption in the usual text colour on a darker face, pressed in.
    for (QPushButton *modeButton : {m_cmdCom, m_cmdTCP}) {
        QPalette palette = modeButton->palette();
        palette.setColor(QPalette::Disabled, QPalette::ButtonText,
                         palette.color(QPalette::Active, QPalette::ButtonText));
        palette.setColor(
            QPalette::Disabled, QPalette::Button,
            palette.color(QPalette::Active, QPalette::Button).darker(selectedFaceDarker));
        modeButton->setPalette(palette);
    }
}

void Form1::createPlatform(Form1Platform platform)
{
    m_platform = std::move(platform);
    if (!m_platform.clipboard) {
        m_ownClipboard = std::make_unique<SystemClipboard>();
        m_platform.clipboard = m_ownClipboard.get();
    }
    if (!m_platform.messageBox) {
        m_ownMessageBox = std::make_unique<WidgetMessageBox>(this);
        m_platform.messageBox = m_ownMessageBox.get();
    }
    if (!m_platform.eventPump) {
        m_ownEventPump = std::make_unique<QtEventPump>();
        m_platform.eventPump = m_ownEventPump.get();
    }
    if (!m_platform.sleeper) {
        m_ownSleeper = std::make_unique<AnsweringSleeper>();
        m_platform.sleeper = m_ownSleeper.get();
    }
    if (!m_platform.comPort) {
        m_ownComPort = createSystemCommControl();
        m_platform.comPort = m_ownComPort.get();
    }
    if (!m_platform.sockInn) {
        m_ownSockInn = createSystemSocketControl();
        m_platform.sockInn = m_ownSockInn.get();
    }
    if (!m_platform.sockUt) {
        m_ownSockUt = createSystemSocketControl();
        m_platform.sockUt = m_ownSockUt.get();
    }
    if (!m_platform.endProgram)
        m_platform.endProgram = [this] { endProgramNow(); };

    m_log = std::make_unique<LogPane>(*m_txtResultat, *m_platform.clipboard);

    FormFields fields;
    fields.txtComFra = m_txtComFra;
    fields.txtComTil = m_txtComTil;
    fields.comboHastighet = m_comboHastighet;
    fields.txtPause = m_txtPause;
    fields.txtIP = m_txtIP;
    fields.cmdTest = m_cmdTest;
    fields.window = this;
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
    connect(m_cmdCom, &QPushButton::clicked, this, &Form1::cmdCom_Click);
    connect(m_cmdTCP, &QPushButton::clicked, this, &Form1::cmdTCP_Click);
    connect(m_cmdTest, &QPushButton::clicked, this, &Form1::cmdTest_Click);
    connect(m_comKopiperTekst, &QPushButton::clicked, this, [this] {
        m_log->comKopiperTekst_Click();
        m_announcer->announce(copiedText);
    });
    connect(m_cmdBlankut, &QPushButton::clicked, this, [this] {
        m_log->cmdBlankut_Click();
        m_announcer->announce(clearedText);
    });
    connect(m_cmdHelp, &QPushButton::clicked, this, &Form1::cmdHelp_Click);
    connect(m_cmdAvslutt, &QPushButton::clicked, this, &Form1::cmdAvslutt_Click);
    // The socket buttons tell their outcome in the log: what they wrote is announced.
    connect(m_cmdOpenTCP, &QPushButton::clicked, this, [this] {
        const qsizetype before = m_log->text().size();
        m_network->cmdOpenTCP_Click(m_txtIP->text());
        m_announcer->announce(m_log->text().mid(before));
    });
    connect(m_cmdCloseTCP, &QPushButton::clicked, this, [this] {
        const qsizetype before = m_log->text().size();
        m_network->cmdCloseTCP_Click();
        m_announcer->announce(m_log->text().mid(before));
    });

    // The window manager's frame arrives after the window is first shown, without a resize.
    connect(new FrameWatcher(*this), &FrameWatcher::frameMarginsChanged, this, &Form1::Form_Resize);
    auto *enterPressesButton = new EnterPressesButton(this);
    for (QPushButton *button : findChildren<QPushButton *>())
        enterPressesButton->watch(button);
    (new SpeedBoxStepper(this))->watch(m_comboHastighet);
}

void Form1::setTabOrder()
{
    // Ascending tab index; labels and frames never take the focus.
    const QList<QWidget *> order = {
        m_cmdAvslutt, m_cmdTest,        m_txtResultat, m_cmdBlankut,  m_comKopiperTekst, m_cmdHelp,
        m_txtPause,   m_comboHastighet, m_txtComTil,   m_txtComFra,   m_txtIP,           m_cmdCom,
        m_cmdTCP,     m_cmdCloseTCP,    m_cmdOpenTCP,  m_cmdSendTest,
    };
    for (qsizetype i = 1; i < order.size(); ++i)
        QWidget::setTabOrder(order.at(i - 1), order.at(i));
}

void Form1::Form_Load()
{
    for (const QString &speed : speeds)
        m_comboHastighet->addItem(speed);
    // Adding to an empty list selects its first entry; nothing is to be selected.
    m_comboHastighet->setCurrentIndex(-1);
    m_comboHastighet->setEditText(QStringLiteral("19200"));

    m_txtComFra->setText(QStringLiteral("1"));
    m_txtComTil->setText(QStringLiteral("16"));
    m_txtPause->setText(QStringLiteral("350"));

    m_frTCP->move(m_frCom->x(), m_frTCP->y());
    m_frTCP->move(m_frTCP->x(), m_frCom->y());

    m_PrinterMode = serialMode;
    ShowPrinterMode();
}

void Form1::ShowPrinterMode()
{
    const bool serial = m_PrinterMode == serialMode;
    m_frTCP->setVisible(!serial);
    m_frCom->setVisible(serial);
    // Before its button is switched off: the toolkit would hand the focus to the next control
    // in the tab order, "Avslutt" or "Lukk sockets", where Space ends the program or closes.
    if (isVisible())
        focusShownFrame();
    m_cmdCom->setEnabled(!serial);
    m_cmdTCP->setEnabled(serial);
    m_cmdCom->setAccessibleDescription(serial ? selectedModeText : networkSelectedText);
    m_cmdTCP->setAccessibleDescription(serial ? serialSelectedText : selectedModeText);
}

void Form1::focusShownFrame()
{
    QGroupBox *shown = m_PrinterMode == serialMode ? m_frCom : m_frTCP;
    // The frame's first field in the tab order.
    for (QWidget *next = nextInFocusChain(); next != this; next = next->nextInFocusChain()) {
        if (shown->isAncestorOf(next) && next->isEnabled() && next->isVisibleTo(this) &&
            (next->focusPolicy() & Qt::TabFocus)) {
            next->setFocus(Qt::OtherFocusReason);
            // Typing then replaces the whole value, as after Tab, instead of adding to it.
            if (auto *field = qobject_cast<QLineEdit *>(next))
                field->selectAll();
            return;
        }
    }
    m_cmdTest->setFocus(Qt::OtherFocusReason);
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
    QString verdict;
    if (m_PrinterMode == serialMode) {
        TestSerialPrinter();
        verdict = m_testHost->serialVerdict();
    } else {
        TestNetworkPrinter();
        verdict = m_network->verdict();
    }
    // Screen readers speak neither the lines added to the log nor the focus that the switched
    // off test button passes on in time: the verdict, which stands a few lines above the end,
    // is announced once, as soon as the test has ended.
    m_announcer->announce(verdict.isEmpty() ? testEndedText : verdict);
}

void Form1::TestSerialPrinter()
{
    m_serial->TestSerialPrinter(m_testHost->serialFields());
    dropInputMadeWhileFrozen();
}

void Form1::TestNetworkPrinter()
{
    m_network->TestNetworkPrinter(m_testHost->address());
}

void Form1::cmdHelp_Click()
{
    m_log->cmdBlankut_Click();
    const QStringList guide =
        m_PrinterMode == serialMode ? HelpText::serialGuide() : HelpText::networkGuide();
    for (const QString &line : guide)
        m_log->AddLogLine(line);
    m_announcer->announce(helpWrittenText);
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
    if (!m_cmdTest->isEnabled())
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
    if (resized.width)
        m_txtResultat->resize(m_twips.toPixelsX(*resized.width), m_txtResultat->height());
    if (resized.height)
        m_txtResultat->resize(m_txtResultat->width(), m_twips.toPixelsY(*resized.height));
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
        m_cmdAvslutt->setFocus(Qt::OtherFocusReason);
        // The focus is drawn from the first moment, not only once Tab has been pressed.
        setAttribute(Qt::WA_KeyboardFocusChange);
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
