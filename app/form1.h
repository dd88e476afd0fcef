#ifndef FORM1_H
#define FORM1_H

#include "twips.h"

#include <QWidget>

#include <functional>
#include <memory>

class Announcer;
class Clipboard;
class CommControl;
class EventPump;
class FormTestHost;
class LogBox;
class LogPane;
class ModalMessageBox;
class NetworkPrinter;
class SerialSweep;
class Sleeper;
class SocketControl;
class QComboBox;
class QGroupBox;
class QLabel;
class QLineEdit;
class QPushButton;

// What the window uses of the platform. Anything left empty is the real thing, owned by the
// window; tests hand in fakes, which the window does not own.
struct Form1Platform
{
    Clipboard *clipboard = nullptr;
    ModalMessageBox *messageBox = nullptr;
    EventPump *eventPump = nullptr;
    Sleeper *sleeper = nullptr;
    CommControl *comPort = nullptr;
    SocketControl *sockInn = nullptr;
    SocketControl *sockUt = nullptr;
    // Ends the program at once, whatever runs; by default closes the ports and quits.
    std::function<void()> endProgram;
};

// The program's one window. Controls carry their names as object names.
class Form1 : public QWidget
{
    Q_OBJECT

public:
    static constexpr qint16 serialMode = 1;
    static constexpr qint16 networkMode = 2;

    explicit Form1(Form1Platform platform = {}, QWidget *parent = nullptr);
    ~Form1() override;

    qint16 PrinterMode() const { return m_PrinterMode; }
    const QString &logText() const;

    // Window events, public so that a driver can call them as the toolkit would.
    void cmdCom_Click();
    void cmdTCP_Click();
    void cmdTest_Click();
    void cmdHelp_Click();
    void cmdAvslutt_Click();
    void Form_Resize();

protected:
    void resizeEvent(QResizeEvent *event) override;
    void showEvent(QShowEvent *event) override;
    void closeEvent(QCloseEvent *event) override;

private:
    void createControls();
    void setUpAccessibility();
    void createPlatform(Form1Platform platform);
    void connectEvents();
    void setTabOrder();
    void Form_Load();
    void ShowPrinterMode();
    void focusShownFrame();
    void TestSerialPrinter();
    void TestNetworkPrinter();
    void endProgramNow();

    qint16 m_PrinterMode = serialMode;
    bool m_firstShow = true;
    Twips::Scale m_twips;

    QLabel *m_Label1 = nullptr;
    QLabel *m_Label9 = nullptr;
    QPushButton *m_cmdCom = nullptr;
    QPushButton *m_cmdTCP = nullptr;
    QGroupBox *m_frCom = nullptr;
    QGroupBox *m_frTCP = nullptr;
    QPushButton *m_cmdTest = nullptr;
    QPushButton *m_comKopiperTekst = nullptr;
    QPushButton *m_cmdBlankut = nullptr;
    QPushButton *m_cmdHelp = nullptr;
    QPushButton *m_cmdAvslutt = nullptr;
    LogBox *m_txtResultat = nullptr;
    Announcer *m_announcer = nullptr;
    QLabel *m_Label4 = nullptr;
    QComboBox *m_comboHastighet = nullptr;
    QLabel *m_Label5 = nullptr;
    QLabel *m_Label2 = nullptr;
    QLineEdit *m_txtComFra = nullptr;
    QLabel *m_Label3 = nullptr;
    QLineEdit *m_txtComTil = nullptr;
    QLabel *m_Label6 = nullptr;
    QLineEdit *m_txtPause = nullptr;
    QLabel *m_Label7 = nullptr;
    QLineEdit *m_txtIP = nullptr;
    QLabel *m_Label8 = nullptr;
    QPushButton *m_cmdOpenTCP = nullptr;
    QPushButton *m_cmdSendTest = nullptr;
    QPushButton *m_cmdCloseTCP = nullptr;

    // Real platform parts, for whatever the caller did not hand in.
    std::unique_ptr<Clipboard> m_ownClipboard;
    std::unique_ptr<ModalMessageBox> m_ownMessageBox;
    std::unique_ptr<EventPump> m_ownEventPump;
    std::unique_ptr<Sleeper> m_ownSleeper;
    std::unique_ptr<CommControl> m_ownComPort;
    std::unique_ptr<SocketControl> m_ownSockInn;
    std::unique_ptr<SocketControl> m_ownSockUt;
    Form1Platform m_platform;

    std::unique_ptr<FormTestHost> m_testHost;
    std::unique_ptr<LogPane> m_log;
    std::unique_ptr<SerialSweep> m_serial;
    std::unique_ptr<NetworkPrinter> m_network;
};

#endif // FORM1_H
