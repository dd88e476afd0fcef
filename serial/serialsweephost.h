#ifndef SERIALSWEEPHOST_H
#define SERIALSWEEPHOST_H

#include "testhost.h"

#include <QString>
#include <QtGlobal>

// The texts of the serial fields as they read when a sweep starts.
struct SerialSweepFields
{
    QString comFra;
    QString comTil;
    QString hastighet;
    QString pause;
};

// What a sweep is about to try, once it has read and corrected the fields.
struct SerialSweepPlan
{
    qint16 comFra = 0;
    qint16 comTil = 0;
    QString hastighet;
    qint16 pause = 0;
    // Whether the sweep wrote a corrected value back into the field.
    bool pauseCorrected = false;
    bool portsCorrected = false;
};

// The front-end of a serial sweep: takes the corrected field texts back, hears what each port
// answered, and is told when a port is done (the window repaints then).
class SerialSweepHost : public TestHost
{
public:
    virtual void setComFraText(const QString &text) = 0;
    virtual void setComTilText(const QString &text) = 0;
    virtual void setPauseText(const QString &text) = 0;
    // The reply collected from a port, also when it is empty.
    virtual void replyReceived(qint16 port, const QString &reply) = 0;
    virtual void portDone() = 0;
    // Told before the first port; a front-end that tells nobody in advance does nothing.
    virtual void sweepStarts(const SerialSweepPlan &plan) { static_cast<void>(plan); }
    // The port's status line is the next line the sweep logs.
    virtual void statusLineFollows(qint16 port) { static_cast<void>(port); }
    // A port left at an error before it could be asked, with the number of the first error met
    // at the port (the one that says why: absent, held, a speed it cannot do).
    virtual void portFailed(qint16 port, qint32 errorNumber)
    {
        static_cast<void>(port);
        static_cast<void>(errorNumber);
    }
};

#endif // SERIALSWEEPHOST_H
