#ifndef FAKESOCKETCONTROL_H
#define FAKESOCKETCONTROL_H

#include "runtimeerror.h"
#include "socketcontrol.h"

#include <QHash>
#include <QList>
#include <QStringList>

// A socket control that does what it is told and writes what was done into a journal (shared
// by both sockets when they are given the same one), e.g. "Inn.RemoteHost=127.0.4.1",
// "Ut.Connect", "Inn.Close".
class FakeSocketControl : public SocketControl
{
public:
    FakeSocketControl(const QString &name, QStringList *journal);

    void setRemoteHost(const QString &host) override;
    void setRemotePort(qint32 port) override;
    void Connect() override;
    void Close() override;
    qint16 State() const override;
    void GetData(QString &data) override;

    // Raises the control's events as the platform would.
    void raiseError(qint16 number, const QString &description);
    void arrive(const QString &text);

    // Operations ("RemoteHost", "RemotePort", "Connect", "Close", "State", "GetData") that
    // throw instead, and what they throw.
    QHash<QString, RuntimeError> failures;
    // The state; Connect moves it to stateAfterConnect, Close to closed.
    qint16 state = sckClosed;
    qint16 stateAfterConnect = sckConnecting;
    // Answers for the next reads of State, before falling back on state.
    mutable QList<qint16> scriptedStates;
    mutable int stateReads = 0;
    QString remoteHost;
    qint32 remotePort = 0;
    QString waiting;

private:
    void record(const QString &operation, const QString &detail = QString()) const;

    QString m_name;
    QStringList *m_journal = nullptr;
};

#endif // FAKESOCKETCONTROL_H
