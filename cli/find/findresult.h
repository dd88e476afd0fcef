#ifndef FINDRESULT_H
#define FINDRESULT_H

#include <QList>
#include <QString>

// What `find` met at one address or serial port.
struct FoundPlace
{
    QString where;    // an address, or "com3"
    qint32 speed = 0; // serial: the speed it answered at
    qint64 elapsedMs = 0;
    // A printer: its status letter, the check's text for it and the labels left (empty where
    // the printer sent no six digits for them).
    QString letter;
    QString text;
    QString labels;
    // Something else: what was seen instead of a status.
    QString seen;
    // A printer that sent its status only after the enquiry on port 1024.
    bool onRequest = false;
};

struct FindResults
{
    QList<FoundPlace> printers;
    QList<FoundPlace> others;
    // Silent hosts that took both connections: the likeliest printers of the silent ones.
    QList<FoundPlace> candidates;
    // Serial ports that could not be tried (no access, in use, no such port): seen says why.
    QList<FoundPlace> unusable;
    int tried = 0;
    int silent = 0;
    int silentOpen = 0; // of the silent: both ports open, nothing said
    int refused = 0;
    // Not reached at all (no route, network or host unreachable), and the system's reason.
    int unreachable = 0;
    QString unreachableReason;
    // What was to be tried, and the signal that ended the search before (0: none).
    int total = 0;
    int interruptedBy = 0;
    // Why the search could not be done on this computer (empty: it was).
    QString failure;
};

#endif // FINDRESULT_H
