#ifndef PORTCONTROLBASE_H
#define PORTCONTROLBASE_H

#include "commcontrol.h"
#include "comportnumbering.h"
#include "serialsettings.h"

#include <QByteArray>

// What the serial controls over real ports keep alike, whatever carries their bytes: the
// settings text and its line settings, the COM number and the numbering that finds its device,
// the receive buffer's size, the time a write may take, and the order of each member's steps.
// The controls beside it carry the bytes: Qt's serial port, or Windows' own API.
//
// The sweep that drives a control lets no events run, so setOutput hands its bytes to the
// system before it returns, and InBufferCount and Input first take in whatever has reached the
// device by then. The receive buffer holds at most inBufferSize bytes, the most that the 16-bit
// count can report; a device that sends without end waits there until it is read.
//
// Errors are thrown as RuntimeError: comPortInvalid for a number with no port behind it and for
// a COM number below 1, comPortAlreadyOpen for a port that another program (or this control)
// holds and for a change of COM number while the port is open, comNoOpen for a device that
// fails while open (the control then closes it), comPortNotOpen for setOutput, InBufferCount
// and Input on a closed port, and invalidPropertyValue for a settings text that is malformed
// or that the port refuses (the port then keeps what it had).
class PortControlBase : public CommControl
{
public:
    static constexpr qint64 inBufferSize = 32767;
    // How long setOutput may take to hand its bytes to the system before the device counts as
    // failed. Without flow control this only runs out on a device that is stuck.
    static constexpr int outputTimeoutMs = 1000;

    void refreshPortList() override;
    void setSettings(const QString &settings) override;
    QString Settings() const override;
    void setCommPort(qint16 port) override;
    qint16 CommPort() const override;
    void setPortOpen(bool open) override;
    void setOutput(const QString &data) override;
    int InBufferCount() override;
    QString Input() override;

protected:
    explicit PortControlBase(ComPortNumbering numbering);

    const SerialSettings &lineSettings() const { return m_lineSettings; }

private:
    void requireOpen() const;
    // The device behind the COM number now set; empty when the numbering has none.
    QString device() const;

    // Opens the device with the line settings, or throws; the port is closed and the device
    // named.
    virtual void openDevice(const QString &device) = 0;
    // Closes the port if it is open.
    virtual void closeDevice() = 0;
    // Puts the settings on the open port at once; false if the port refuses them.
    virtual bool applyToOpenPort(const SerialSettings &settings) = 0;
    // Hands bytes (at least one) to the open port's system before it returns, or throws.
    virtual void write(const QByteArray &bytes) = 0;
    // Takes in what has reached the open device, up to inBufferSize in all, or throws.
    virtual void takeArrived() = 0;
    virtual qint64 received() const = 0;
    virtual QByteArray takeReceived() = 0;

    ComPortNumbering m_numbering;
    QString m_settings = QStringLiteral("9600,n,8,1");
    SerialSettings m_lineSettings;
    qint16 m_commPort = 1;
};

#endif // PORTCONTROLBASE_H
