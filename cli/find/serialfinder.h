#ifndef SERIALFINDER_H
#define SERIALFINDER_H

#include "findresult.h"

#include <QList>

#include <functional>

class CommControl;
class Sleeper;

// Tries each COM port of a range at each speed of a list with the serial sweep itself (its
// enquiry, pause and error rules), one port and speed at a time, and notes where a printer
// answered with a well-formed status. Once a port has answered, its other speeds are left out.
class SerialFinder
{
public:
    using Progress = std::function<void(const FindResults &, int total)>;

    SerialFinder(CommControl &comPort, Sleeper &sleeper, int from, int to, QList<qint32> speeds,
                 int pauseMs);

    // Asked before each port and speed; once it returns a signal's number the search stops
    // and returns what it found so far.
    void setStopWhen(std::function<int()> stopWhen);
    FindResults run(const Progress &progress);

    // Told by the control of an open that failed (the control's number), and of a port whose
    // device the user may not open; the port is then not tried at its other speeds.
    void openFailed(qint16 port, qint32 number, const QString &device);
    void portDenied(qint16 port, const QString &device);

private:
    // One port at one speed, as the sweep tried it.
    struct Attempt
    {
        QString unusable; // why the port could not be tried; empty: it was
        bool answered = false;
        QString reply;
        qint64 elapsedMs = 0;
    };

    Attempt ask(int port, qint32 speed);
    // What the control says of a port number that cannot be swept alone.
    QString numberFailure(qint16 port);

    CommControl &m_comPort;
    Sleeper &m_sleeper;
    int m_from = 1;
    int m_to = 1;
    QList<qint32> m_speeds;
    int m_pauseMs = 0;
    std::function<int()> m_stopWhen;
    // Why the current attempt's port could not be opened; empty: it could.
    QString m_unusable;
    bool m_denied = false;
};

#endif // SERIALFINDER_H
