#ifndef SERIALCHECKHOST_H
#define SERIALCHECKHOST_H

#include "checksummary.h"
#include "serialsweephost.h"

#include <QList>
#include <QString>

// The serial sweep's front-end on the command line. It keeps the corrected range for the
// summary (the sweep logs the correction itself) and what each port answered, and makes the
// summary: the worst status of the ports that answered, CRITICAL when none did.
class SerialCheckHost : public SerialSweepHost
{
public:
    void setTestRunning(bool running) override;
    void setComFraText(const QString &text) override;
    void setComTilText(const QString &text) override;
    void setPauseText(const QString &text) override;
    void replyReceived(qint16 port, const QString &reply) override;
    void portDone() override;

    CheckSummary summary(const SerialSweepFields &fields, qint64 elapsedMs) const;

private:
    struct Answer
    {
        qint16 port = 0;
        QChar letter;
        QString reply;
    };

    QList<Answer> m_answers;
    QString m_correctedFra;
    QString m_correctedTil;
};

#endif // SERIALCHECKHOST_H
