#include "fakecommcontrol.h"

#include <new>

void FakeCommControl::call(const QString &name, const QString &argument) const
{
    const QString whole =
        argument.isNull() ? name : name + QLatin1Char('(') + argument + QLatin1Char(')');
    calls.append(whole);
    const QString nameCount = name + QLatin1Char('#') + QString::number(++m_occurrences[name]);
    const QString wholeCount = whole + QLatin1Char('#') + QString::number(++m_occurrences[whole]);
    if (onCall)
        onCall(whole);
    for (const QString &key : {whole, name, nameCount, wholeCount}) {
        const auto failure = failures.constFind(key);
        if (failure == failures.constEnd())
            continue;
        if (failure->number == badAlloc)
            throw std::bad_alloc();
        throw *failure;
    }
}

void FakeCommControl::setSettings(const QString &newSettings)
{
    call(QStringLiteral("setSettings"), newSettings);
    settings = newSettings;
}

void FakeCommControl::setCommPort(qint16 newPort)
{
    call(QStringLiteral("setCommPort"), QString::number(newPort));
    port = newPort;
}

qint16 FakeCommControl::CommPort() const
{
    call(QStringLiteral("CommPort"));
    return reportedPort.value(port, port);
}

void FakeCommControl::setPortOpen(bool newOpen)
{
    call(QStringLiteral("setPortOpen"), newOpen ? QStringLiteral("true") : QStringLiteral("false"));
    open = newOpen;
}

bool FakeCommControl::PortOpen() const
{
    call(QStringLiteral("PortOpen"));
    return open;
}

void FakeCommControl::setOutput(const QString &data)
{
    QStringList codes;
    for (const QChar c : data)
        codes.append(QString::number(c.unicode()));
    call(QStringLiteral("setOutput"), codes.join(QLatin1Char(' ')));
}

int FakeCommControl::InBufferCount()
{
    call(QStringLiteral("InBufferCount"));
    if (endless.contains(port))
        return static_cast<int>(endless.value(port).size());
    const QStringList &pieces = replies[port];
    return pieces.isEmpty() ? 0 : static_cast<int>(pieces.first().size());
}

QString FakeCommControl::Input()
{
    call(QStringLiteral("Input"));
    if (endless.contains(port))
        return endless.value(port);
    QStringList &pieces = replies[port];
    return pieces.isEmpty() ? QString() : pieces.takeFirst();
}
