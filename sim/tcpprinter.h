#ifndef TCPPRINTER_H
#define TCPPRINTER_H

#include "printdatacounter.h"
#include "simoptions.h"

#include <QObject>
#include <QPointer>
#include <QTcpServer>
#include <QTimer>

class EventLog;
class PrinterState;
class QTcpSocket;
class ReplySender;

// The printer on the network, in two-port mode: status frames go out on port 1025, print data
// and enquiries come in on port 1024. Each port takes one connection at a time, as the
// printers do: a second one is accepted and closed at once, so that its client sees the
// refusal straight away instead of hanging in the backlog. The status port sends on its own
// (cycle timing) or for each ENQ on the data port (enq timing).
class TcpPrinter : public QObject
{
    Q_OBJECT

public:
    TcpPrinter(SimOptions options, PrinterState *state, EventLog *log, QObject *parent = nullptr);
    ~TcpPrinter() override;

    // Listens on the ports that are not refused. Returns SimExit::Ok, or
    // SimExit::CannotListen with the reason in error.
    int listen(QString *error);

private:
    void acceptStatus();
    void acceptData();
    QTcpSocket *acceptOne(QTcpServer &server, const QPointer<QTcpSocket> &current);
    void readData();
    void takePrintData(const QByteArray &bytes);
    void enquiry();
    void sendStatus();
    void log(quint16 port, const QString &what);

    SimOptions m_options;
    PrinterState *m_state = nullptr;
    EventLog *m_log = nullptr;
    QTcpServer m_statusServer;
    QTcpServer m_dataServer;
    QPointer<QTcpSocket> m_statusSocket;
    QPointer<QTcpSocket> m_dataSocket;
    QPointer<ReplySender> m_sender;
    QTimer m_cycleTimer;
    PrintDataCounter m_printData;
};

#endif // TCPPRINTER_H
