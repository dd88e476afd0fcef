#include "fakesocketcontrol.h"

FakeSocketControl::FakeSocketControl(const QString &name, QStringList *journal)
    : m_name(name)
    , m_journal(journal)
{
}

void FakeSocketControl::record(const QString &operation, const QString &detail) const
{
    if (m_journal) {
        QString entry = m_name + QLatin1Char('.') + operation;
        if (!detail.isNull())
            entry += QLatin1Char('=') + detail;
        m_journal->append(entry);
    }
    const auto failure = failures.constFind(operation);
    if (failure != failures.constEnd())
        throw *failure;
}

void FakeSocketControl::setRemoteHost(const QString &host)
{
    record(QStringLiteral("RemoteHost"), host);
    remoteHost = host;
}

void FakeSocketControl::setRemotePort(qint32 port)
{
    record(QStringLiteral("RemotePort"), QString::number(port));
    remotePort = port;
}

void FakeSocketControl::Connect()
{
    record(QStringLiteral("Connect"));
    state = stateAfterConnect;
}

void FakeSocketControl::Close()
{
    record(QStringLiteral("Close"));
    state = sckClosed;
    waiting.clear();
}

qint16 FakeSocketControl::State() const
{
    ++stateReads;
    const auto failure = failures.constFind(QStringLiteral("State"));
    if (failure != failures.constEnd())
        throw *failure;
    if (!scriptedStates.isEmpty())
        return scriptedStates.takeFirst();
    return state;
}

void FakeSocketControl::GetData(QString &data)
{
    record(QStringLiteral("GetData"));
    data = waiting;
    waiting.clear();
}

void FakeSocketControl::raiseError(qint16 number, const QString &description)
{
    emit Error(number, description);
}

void FakeSocketControl::arrive(const QString &text)
{
    waiting += text;
    emit DataArrival(static_cast<qint32>(waiting.size()));
}
