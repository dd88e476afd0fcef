#ifndef NETWORKPRINTER_H
#define NETWORKPRINTER_H

#include <QObject>

class EventPump;
class LogSink;
class ModalMessageBox;
class Sleeper;
class SocketControl;
class QLineEdit;
class QPushButton;

// The window's fields that the network side reads and switches.
struct NetworkControls
{
    QLineEdit *txtIP = nullptr;
    QPushButton *cmdTest = nullptr;
};

struct NetworkPlatform
{
    SocketControl *sockInn = nullptr; // printer port 1025, status in
    SocketControl *sockUt = nullptr;  // printer port 1024
    ModalMessageBox *messageBox = nullptr;
    EventPump *eventPump = nullptr;
    Sleeper *sleeper = nullptr;
};

// The network printer test with its socket pair.
class NetworkPrinter : public QObject
{
    Q_OBJECT

public:
    NetworkPrinter(const NetworkControls &controls, const NetworkPlatform &platform, LogSink &log,
                   QObject *parent = nullptr);

    void TestNetworkPrinter();
    void cmdOpenTCP_Click();
    void cmdCloseTCP_Click();

private:
    NetworkControls m_controls;
    NetworkPlatform m_platform;
    LogSink &m_log;
};

#endif // NETWORKPRINTER_H
