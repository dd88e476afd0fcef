#include "serialverdict.h"

#include "statustext.h"

#include <QStringList>

namespace {

// "com1", "com1 og com3", "com1, com3 og com5 til com9": runs of neighbours told as a range.
QString portsText(const QList<qint16> &ports)
{
    QStringList runs;
    for (qsizetype i = 0; i < ports.size();) {
        qsizetype end = i;
        while (end + 1 < ports.size() && ports.at(end + 1) == ports.at(end) + 1)
            ++end;
        if (end > i)
            runs << QStringLiteral("com%1 til com%2").arg(ports.at(i)).arg(ports.at(end));
        else
            runs << QStringLiteral("com%1").arg(ports.at(i));
        i = end + 1;
    }
    if (runs.size() < 2)
        return runs.join(QString());
    const QString last = runs.takeLast();
    return runs.join(QStringLiteral(", ")) + QStringLiteral(" og ") + last;
}

} // namespace

void SerialVerdict::clear()
{
    m_ports.clear();
}

void SerialVerdict::replyReceived(qint16 port, const PrinterStatus &status)
{
    Outcome outcome = Outcome::Status;
    if (status.raw.isEmpty())
        outcome = Outcome::Silent;
    else if (!status.framed)
        outcome = Outcome::NotAStatus;
    m_ports.append(Port{port, outcome, PortFailure::Reason::Other, status});
}

void SerialVerdict::portFailed(qint16 port, qint32 errorNumber, bool denied)
{
    m_ports.append(Port{port, Outcome::Failed, PortFailure::reasonOf(errorNumber, denied),
                        PrinterStatus()});
}

QList<qint16> SerialVerdict::portsWith(Outcome outcome) const
{
    QList<qint16> ports;
    for (const Port &port : m_ports) {
        if (port.outcome == outcome)
            ports << port.number;
    }
    return ports;
}

QList<qint16> SerialVerdict::portsFailedWith(PortFailure::Reason reason) const
{
    QList<qint16> ports;
    for (const Port &port : m_ports) {
        if (port.outcome == Outcome::Failed && port.reason == reason)
            ports << port.number;
    }
    return ports;
}

QString SerialVerdict::text() const
{
    QStringList sentences;
    QStringList statuses;
    for (const Port &port : m_ports) {
        if (port.outcome == Outcome::Status)
            statuses << QStringLiteral("com%1: %2")
                            .arg(QString::number(port.number), serialLetterText(port.status));
    }
    if (!statuses.isEmpty())
        sentences << statuses.join(QStringLiteral("; "));
    else
        sentences << QStringLiteral("Ingen skriver svarte");

    const auto tellPorts = [&](const QList<qint16> &ports, const QString &what) {
        if (!ports.isEmpty())
            sentences << what.arg(portsText(ports));
    };
    const auto tell = [&](Outcome outcome, const QString &what) {
        tellPorts(portsWith(outcome), what);
    };
    const auto tellFailed = [&](PortFailure::Reason reason, const QString &what) {
        tellPorts(portsFailedWith(reason), what);
    };
    tell(Outcome::NotAStatus,
         QStringLiteral("%1 svarte, men ikke med en status: mulig feil hastighet, prøv en annen "
                        "hastighet"));
    tellFailed(PortFailure::Reason::Speed,
               QStringLiteral("%1 kan ikke bruke denne hastigheten, prøv en annen"));
    tell(Outcome::Silent, QStringLiteral("%1 svarer ikke"));
    tellFailed(PortFailure::Reason::NoSuchPort, QStringLiteral("%1 finnes ikke"));
    tellFailed(PortFailure::Reason::InUse,
               QStringLiteral("%1 er i bruk av et annet program, lukk det og prøv igjen"));
    tellFailed(PortFailure::Reason::NoAccess,
               QStringLiteral("%1: ingen tilgang, be om tilgang til porten (gruppen dialout)"));
    tellFailed(PortFailure::Reason::Other, QStringLiteral("%1 kunne ikke åpnes"));

    if (statuses.isEmpty()) {
        sentences << QStringLiteral("Sjekk at skriveren er på og koplet til, prøv en annen "
                                    "hastighet, eller finn den med solvarn-sjekk find --serial");
    }
    return sentences.join(QStringLiteral(". ")) + QLatin1Char('.');
}
