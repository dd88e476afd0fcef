#ifndef PORTFAILURE_H
#define PORTFAILURE_H

#include <QString>
#include <QtGlobal>

// Why a port could not be asked, told apart one way for every front-end: the window's spoken
// verdict, the check's summary and find's list. The control reports a port held by another
// program and one the user may not open alike ("already open"); only the device's rights tell
// them apart.
class PortFailure
{
public:
    enum class Reason { NoSuchPort, InUse, NoAccess, Speed, Other };

    // From the number of the first error met at the port, and whether its device is one the
    // user may not open (denied below).
    static Reason reasonOf(qint32 errorNumber, bool denied);
    // Whether the user may not open the device at all (a device of group dialout, for
    // instance): it exists, and this user may not both read and write it. A port held by
    // another program can be read and written by this user. Never on Windows.
    static bool denied(const QString &device);
    // What is said of the port after its name, in a list or a summary: "finnes ikke",
    // "i bruk av et annet program", ...
    static QString words(Reason reason);
    // The port, its device where known, and the words: "com1 (/dev/ttyS0): finnes ikke".
    static QString told(qint16 port, const QString &device, Reason reason);
};

#endif // PORTFAILURE_H
