#ifndef SERIALPRINTER_H
#define SERIALPRINTER_H

#include "devicelink.h"
#include "pseudoterminal.h"
#include "replysender.h"
#include "simoptions.h"

#include <QObject>

class EventLog;
class PrinterState;

// The printer on a serial line: a pseudo-terminal that answers each ENQ with the status
// frame and ignores every other byte; set to one speed, it answers the enquiry of a program
// that opened the line at another speed or framing with noise. An answer that falls due while
// nobody has the port open (a late one, after the far end gave up) is lost, as on a real line, and
// logged once.
class SerialPrinter : public QObject
{
    Q_OBJECT

public:
    SerialPrinter(SimOptions options, PrinterState *state, EventLog *log,
                  QObject *parent = nullptr);

    // Opens the line and makes the link, if one was asked for. Returns SimExit::Ok, or
    // SimExit::PtyFailure with the reason in error.
    int open(QString *error);

    QString devicePath() const { return m_pty.devicePath(); }

signals:
    // The line is gone: cut on purpose (--drop-line), or broken.
    void lineClosed(int exitCode);

private:
    void takeBytes(const QByteArray &bytes);
    void answerEnquiry();
    void writeAnswer(const QByteArray &bytes);
    void dropLine();
    void lineFailed(const QString &error);

    SimOptions m_options;
    PrinterState *m_state = nullptr;
    EventLog *m_log = nullptr;
    PseudoTerminal m_pty;
    DeviceLink m_link;
    ReplySender m_sender;
    bool m_lossLogged = false;
};

#endif // SERIALPRINTER_H
