#include "portfailure.h"

#include "commcontrol.h"

PortFailure::Reason PortFailure::reasonOf(qint32 errorNumber, bool denied)
{
    switch (errorNumber) {
    case CommControl::comPortInvalid:
        return Reason::NoSuchPort;
    case CommControl::comPortAlreadyOpen:
        return denied ? Reason::NoAccess : Reason::InUse;
    case CommControl::invalidPropertyValue:
        return Reason::Speed;
    default:
        return Reason::Other;
    }
}

QString PortFailure::words(Reason reason)
{
    switch (reason) {
    case Reason::NoSuchPort:
        return QStringLiteral("finnes ikke");
    case Reason::InUse:
        return QStringLiteral("i bruk av et annet program");
    case Reason::NoAccess:
        return QStringLiteral("ingen tilgang; brukeren må være med i gruppen dialout");
    case Reason::Speed:
        return QStringLiteral("kan ikke bruke denne hastigheten");
    case Reason::Other:
        break;
    }
    return QStringLiteral("kunne ikke åpnes");
}

QString PortFailure::told(qint16 port, const QString &device, Reason reason)
{
    const QString where = device.isEmpty() ? QStringLiteral("com%1").arg(port)
                                           : QStringLiteral("com%1 (%2)").arg(port).arg(device);
    return where + QStringLiteral(": ") + words(reason);
}
