#include "form1ui.h"

#include "announcer.h"
#include "formfonts.h"
#include "formlayout.h"
#include "logbox.h"
#include "serialrules.h"
#include "twipsplacer.h"

#include <QComboBox>
#include <QGroupBox>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>

void Form1Ui::setupUi(QWidget *form, const Twips::Scale &scale)
{
    form->setObjectName(QStringLiteral("Form1"));
    form->setWindowTitle(QStringLiteral("Solvarn printersjekk"));
    form->resize(scale.toPixelsX(FormLayout::clientWidth),
                 scale.toPixelsY(FormLayout::clientHeight));
    const QFont windowFont = FormFonts::windowFont(form->font());
    form->setFont(windowFont);
    const TwipsPlacer placer(scale);

    Label1 =
        placer.label(form, "Label1", QStringLiteral("Solvarn - test av printertilkopling v1.0"),
                     FormLayout::Label1);
    Label1->setFont(FormFonts::titleFont(windowFont));
    Label9 = placer.label(form, "Label9", QStringLiteral("Kvanta AS"), FormLayout::Label9);

    cmdCom = placer.button(form, "cmdCom", QStringLiteral("Serieport"), FormLayout::cmdCom);
    cmdTCP = placer.button(form, "cmdTCP", QStringLiteral("Nettverk"), FormLayout::cmdTCP);

    frCom = placer.place(new QGroupBox(QStringLiteral("Serieportskriver"), form), "frCom",
                         FormLayout::frCom);
    frTCP = placer.place(new QGroupBox(QStringLiteral("Nettverksskriver (TCP/IP)"), form), "frTCP",
                         FormLayout::frTCP);

    cmdTest = placer.button(form, "cmdTest", QStringLiteral("Test skriver"), FormLayout::cmdTest);
    cmdTest->setToolTip(
        QStringLiteral("Sender ctrl+E til skriveren,og viser resultatet i feltet nedenfor"));
    comKopiperTekst = placer.button(form, "comKopiperTekst", QStringLiteral("Kopier tekst"),
                                   FormLayout::comKopiperTekst);
    comKopiperTekst->setToolTip(
        QStringLiteral("Legger teksten i feltet nedenfor på clipboardet. Bruk ctrl+v for å lime "
                       "den inn i en mail. el."));
    cmdBlankut =
        placer.button(form, "cmdBlankut", QStringLiteral("Blank loggen"), FormLayout::cmdBlankut);
    cmdHelp = placer.button(form, "cmdHelp", QStringLiteral("Hjelp"), FormLayout::cmdHelp);
    cmdAvslutt =
        placer.button(form, "cmdAvslutt", QStringLiteral("Avslutt"), FormLayout::cmdAvslutt);

    txtResultat = placer.place(new LogBox(form), "txtResultat", FormLayout::txtResultat);
    announcer = new Announcer(form);

    setupSerialFrame(placer);
    setupNetworkFrame(placer);
}

void Form1Ui::setupSerialFrame(const TwipsPlacer &placer)
{
    Label4 = placer.label(frCom, "Label4", QStringLiteral("Hastighet"), FormLayout::Label4);
    comboHastighet =
        placer.place(new QComboBox(frCom), "comboHastighet", FormLayout::comboHastighet);
    comboHastighet->setEditable(true);
    // The list is the list: typing a speed neither adds it nor completes it to another.
    comboHastighet->setInsertPolicy(QComboBox::NoInsert);
    comboHastighet->setCompleter(nullptr);
    comboHastighet->setEditText(QString::number(SerialRules::startSpeed));
    Label5 = placer.label(frCom, "Label5", QStringLiteral("( 9600 eller 19200 er vanligst)"),
                          FormLayout::Label5);
    Label2 = placer.label(frCom, "Label2", QStringLiteral("Test fra com"), FormLayout::Label2);
    txtComFra = placer.textBox(frCom, "txtComFra", FormLayout::txtComFra);
    Label3 = placer.label(frCom, "Label3", QStringLiteral("til"), FormLayout::Label3);
    txtComTil = placer.textBox(frCom, "txtComTil", FormLayout::txtComTil);
    const QString pauseTip =
        QStringLiteral("Pause før vi forventer svar -  min %1, max %2 millisekunder")
            .arg(SerialRules::shortestPause)
            .arg(SerialRules::longestPause);
    Label6 = placer.label(frCom, "Label6", QStringLiteral("Pause (ms)"), FormLayout::Label6);
    Label6->setToolTip(pauseTip);
    txtPause = placer.textBox(frCom, "txtPause", FormLayout::txtPause);
    txtPause->setToolTip(pauseTip);
}

void Form1Ui::setupNetworkFrame(const TwipsPlacer &placer)
{
    Label7 = placer.label(frTCP, "Label7", QStringLiteral("IP-adresse"), FormLayout::Label7);
    txtIP = placer.textBox(frTCP, "txtIP", FormLayout::txtIP);
    txtIP->setText(QStringLiteral("127.0.0.1"));
    Label8 = placer.label(frTCP, "Label8", QStringLiteral("(port inn 1025, port ut 1024)"),
                          FormLayout::Label8);
    cmdOpenTCP =
        placer.button(frTCP, "cmdOpenTCP", QStringLiteral("Åpne sockets"), FormLayout::cmdOpenTCP);
    cmdSendTest =
        placer.button(frTCP, "cmdSendTest", QStringLiteral("test"), FormLayout::cmdSendTest);
    cmdSendTest->setEnabled(false); // has no action and is never switched on
    cmdCloseTCP = placer.button(frTCP, "cmdCloseTCP", QStringLiteral("Lukk sockets"),
                                FormLayout::cmdCloseTCP);
}
