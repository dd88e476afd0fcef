#ifndef SIMULATOR_H
#define SIMULATOR_H

#include "printerstate.h"
#include "simoptions.h"

#include <QObject>
#include <QString>

#include <memory>

class EventLog;
class SerialPrinter;
class TcpPrinter;

// One simulated printer as the options describe it: on the network or on a serial line.
class Simulator : public QObject
{
    Q_OBJECT

public:
    Simulator(SimOptions options, EventLog *log, QObject *parent = nullptr);
    ~Simulator() override;

    // Opens its ports or its line and logs what it plays. Returns SimExit::Ok, or the exit
    // status for the failure with its reason in error.
    int start(QString *error);

    // The serial side's device, empty on the network side.
    QString devicePath() const;

signals:
    // The simulator has nothing more to do (the serial line is gone) and the program
    // should end with this status.
    void finished(int exitCode);

private:
    QString describe() const;

    SimOptions m_options;
    EventLog *m_log = nullptr;
    PrinterState m_state;
    std::unique_ptr<TcpPrinter> m_tcp;
    std::unique_ptr<SerialPrinter> m_serial;
};

#endif // SIMULATOR_H
