#ifndef FORM1UI_H
#define FORM1UI_H

#include "twips.h"

class Announcer;
class LogBox;
class QComboBox;
class QGroupBox;
class QLabel;
class QLineEdit;
class QPushButton;
class QWidget;
class TwipsPlacer;

// The window's controls, made and placed on the window once, as a form designer's generated
// class does: names, captions, tips, places in twips, fonts and the window's own size and
// title. What the controls do, and their start values, are the window's.
class Form1Ui
{
public:
    void setupUi(QWidget *form, const Twips::Scale &scale);

    QLabel *Label1 = nullptr;
    QLabel *Label9 = nullptr;
    QPushButton *cmdCom = nullptr;
    QPushButton *cmdTCP = nullptr;
    QGroupBox *frCom = nullptr;
    QGroupBox *frTCP = nullptr;
    QPushButton *cmdTest = nullptr;
    QPushButton *comKopiperTekst = nullptr;
    QPushButton *cmdBlankut = nullptr;
    QPushButton *cmdHelp = nullptr;
    QPushButton *cmdAvslutt = nullptr;
    LogBox *txtResultat = nullptr;
    // Takes no room and draws nothing: what a screen reader is told of outcomes.
    Announcer *announcer = nullptr;

    // In the serial frame.
    QLabel *Label4 = nullptr;
    QComboBox *comboHastighet = nullptr;
    QLabel *Label5 = nullptr;
    QLabel *Label2 = nullptr;
    QLineEdit *txtComFra = nullptr;
    QLabel *Label3 = nullptr;
    QLineEdit *txtComTil = nullptr;
    QLabel *Label6 = nullptr;
    QLineEdit *txtPause = nullptr;

    // In the network frame.
    QLabel *Label7 = nullptr;
    QLineEdit *txtIP = nullptr;
    QLabel *Label8 = nullptr;
    QPushButton *cmdOpenTCP = nullptr;
    QPushButton *cmdSendTest = nullptr;
    QPushButton *cmdCloseTCP = nullptr;

private:
    void setupSerialFrame(const TwipsPlacer &placer);
    void setupNetworkFrame(const TwipsPlacer &placer);
};

#endif // FORM1UI_H
