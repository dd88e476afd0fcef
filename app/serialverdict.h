#ifndef SERIALVERDICT_H
#define SERIALVERDICT_H

#include "portfailure.h"
#include "printerstatus.h"

#include <QList>
#include <QString>
#include <QtGlobal>

// The verdict of a sweep as a screen reader user hears it, made from what each port did: the
// ports that answered with their status, then in plain words what the others were, and the
// next step where there is one. A user who cannot see the log must still tell a wrong port
// from a wrong speed from a printer that is off.
class SerialVerdict
{
public:
    void clear();
    // A reply counts as a printer's status where it is a well-formed frame, whatever its
    // letter: an unknown letter is the printer's own trouble, not a wrong speed.
    void replyReceived(qint16 port, const PrinterStatus &status);
    // denied: the port's device exists but the user may not open it.
    void portFailed(qint16 port, qint32 errorNumber, bool denied);

    QString text() const;

private:
    enum class Outcome { Status, NotAStatus, Silent, Failed };
    struct Port
    {
        qint16 number = 0;
        Outcome outcome = Outcome::Failed;
        // Why, for a port that failed.
        PortFailure::Reason reason = PortFailure::Reason::Other;
        PrinterStatus status;
    };

    QList<qint16> portsWith(Outcome outcome) const;
    QList<qint16> portsFailedWith(PortFailure::Reason reason) const;

    QList<Port> m_ports;
};

#endif // SERIALVERDICT_H
