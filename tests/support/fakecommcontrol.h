#ifndef FAKECOMMCONTROL_H
#define FAKECOMMCONTROL_H

#include "commcontrol.h"
#include "runtimeerror.h"

#include <QHash>
#include <QStringList>

#include <functional>

// A serial control that plays from a script and records every call, for driving the sweep
// through each of its error and continuation paths.
//
// Calls are recorded as "setSettings(9600,n,8,1)", "setCommPort(3)", "setPortOpen(true)",
// "setPortOpen(false)", "PortOpen", "CommPort", "setOutput(5)" (character codes),
// "InBufferCount" and "Input".
class FakeCommControl : public CommControl
{
public:
    // Failures to raise, keyed by the whole call ("setCommPort(2)"), by its name for every
    // call of it ("InBufferCount"), or by either and its occurrence ("Input#3",
    // "setPortOpen(false)#1", counted from 1). The
    // number badAlloc stands for running out of memory.
    static constexpr qint32 badAlloc = -1;
    QHash<QString, RuntimeError> failures;
    // Pieces that Input hands out for each port number, in order. InBufferCount reports the
    // length of the next piece, 0 when none is left.
    QHash<qint16, QStringList> replies;
    // A piece that a port hands out again and again without end.
    QHash<qint16, QString> endless;
    // What CommPort reports after a port number was set, where that is another number.
    QHash<qint16, qint16> reportedPort;
    // Runs at every call, after it was recorded.
    std::function<void(const QString &call)> onCall;

    mutable QStringList calls;
    bool open = false;
    qint16 port = 1;
    QString settings = QStringLiteral("9600,n,8,1");

    void setSettings(const QString &settings) override;
    QString Settings() const override { return settings; }
    void setCommPort(qint16 port) override;
    qint16 CommPort() const override;
    void setPortOpen(bool open) override;
    bool PortOpen() const override;
    void setOutput(const QString &data) override;
    int InBufferCount() override;
    QString Input() override;

private:
    void call(const QString &name, const QString &argument = QString()) const;

    mutable QHash<QString, int> m_occurrences;
};

#endif // FAKECOMMCONTROL_H
