#ifndef SERIALCHECKHOST_H
#define SERIALCHECKHOST_H

#include "checksummary.h"
#include "printerstatus.h"
#include "serialsweephost.h"

#include <QList>
#include <QString>

#include <functional>
#include <optional>

// The serial sweep's front-end on the command line. It keeps the corrected range for the
// summary (the sweep logs the correction itself), what each port answered and which ports the
// user may not open, and makes the summary: the worst status of the ports that answered (the
// first of equally bad ones named), each port on a line of its own; UNKNOWN when none answered
// but a port was denied (a matter of the user's rights, not of the printer) or held by another
// program (the check could not ask; the printer may be fine), CRITICAL when a port answered with
// no status (a wrong speed, another device) or none answered at all. A printer's status is a
// well-formed frame, whatever its letter, as the window and find take it.
class SerialCheckHost : public SerialSweepHost
{
public:
    // What is said of a port the user may not open, by the check and by find.
    static QString deniedText(qint16 port, const QString &device);

    void setTestRunning(bool running) override;
    void setComFraText(const QString &text) override;
    void setComTilText(const QString &text) override;
    void setPauseText(const QString &text) override;
    void replyReceived(qint16 port, const QString &reply) override;
    void portDone() override;
    // The port's device exists, but the user may not open it.
    void portDenied(qint16 port, const QString &device);
    // An open that failed, with the control's number; told after portDenied.
    void openFailed(qint16 port, qint32 number, const QString &device);

    // The caller adds the time to the performance data.
    CheckSummary summary(const SerialSweepFields &fields, const LabelThresholds &thresholds) const;
    // The summary of a sweep that is still running, once a port has answered.
    std::optional<CheckSummary> findingSoFar(const SerialSweepFields &fields,
                                             const LabelThresholds &thresholds) const;
    // Called after each port the sweep has tried.
    void setPortDoneHandler(std::function<void()> handler);

private:
    struct Answer
    {
        qint16 port = 0;
        PrinterStatus status;
    };
    struct Denied
    {
        qint16 port = 0;
        QString device;
    };

    struct NoStatus
    {
        qint16 port = 0;
        QString reply;
    };

    QList<Answer> m_answers;
    // Ports that answered, but not with a status.
    QList<NoStatus> m_noStatus;
    QList<Denied> m_denied;
    // Ports held by another program.
    QList<Denied> m_inUse;
    QString m_correctedFra;
    QString m_correctedTil;
    std::function<void()> m_portDoneHandler;
};

#endif // SERIALCHECKHOST_H
