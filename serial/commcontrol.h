#ifndef COMMCONTROL_H
#define COMMCONTROL_H

#include "runtimeerror.h"

#include <QString>
#include <QtGlobal>

// The serial port control the sweep drives (the window's `ComControlName`). Every member may
// throw RuntimeError with one of the numbers below, or another number with its description.
class CommControl
{
public:
    // Error numbers the sweep tells apart by name.
    static constexpr qint32 comPortInvalid = RuntimeErrors::ComPortInvalid;
    static constexpr qint32 comPortAlreadyOpen = RuntimeErrors::ComPortAlreadyOpen;
    static constexpr qint32 comNoOpen = RuntimeErrors::ComNoOpen;
    static constexpr qint32 comPortNotOpen = RuntimeErrors::ComPortNotOpen;
    // A settings text that is not speed,parity,data bits,stop bits the port accepts.
    static constexpr qint32 invalidPropertyValue = RuntimeErrors::InvalidPropertyValue;

    virtual ~CommControl() = default;

    // Takes the system's list of ports afresh: a COM number names the same device until the
    // next call. The sweep calls it once, before its first port. A control whose numbers need
    // no list has nothing to do.
    virtual void refreshPortList() {}

    // "speed,parity,data bits,stop bits", e.g. "9600,n,8,1"; applied when the port opens.
    virtual void setSettings(const QString &settings) = 0;
    virtual QString Settings() const = 0;

    // The COM number the next open uses.
    virtual void setCommPort(qint16 port) = 0;
    virtual qint16 CommPort() const = 0;

    virtual void setPortOpen(bool open) = 0;
    virtual bool PortOpen() const = 0;

    // Puts the text on the line at once, one byte per character (codes 0-255).
    virtual void setOutput(const QString &data) = 0;
    // Received characters waiting, including what has reached the device since the last call.
    virtual int InBufferCount() = 0;
    // Takes the waiting characters, one character per byte.
    virtual QString Input() = 0;
};

#endif // COMMCONTROL_H
