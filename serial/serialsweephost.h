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
};

#endif // SERIALSWEEPHOST_H
