#ifndef SERIALPORTCONTROL_H
#define SERIALPORTCONTROL_H

#include "portcontrolbase.h"

#include <QSerialPort>

// The serial control over the system's ports, through QSerialPort.
//
// The sweep that drives it lets no events run, and QSerialPort moves bytes only through the
// event loop or its wait calls, so every member moves them itself: Output hands its bytes to
// the system before it returns, and InBufferCount and Input first take in whatever has reached
// the device by then. The receive buffer holds at most inBufferSize bytes, the most that the
// 16-bit count can report; a device that sends without end waits there until it is read.
//
// Errors are thrown as RuntimeError: comPortInvalid for a number with no port behind it,
// comPortAlreadyOpen for a port that another program (or this control) holds,
// comNoOpen for a device that fails while open (the control then closes it), comPortNotOpen
// for Output, InBufferCount and Input on a closed port, and invalidPropertyValue for a settings
// text that is malformed or that the port refuses.
class SerialPortControl : public PortControlBase
{
public:
    static constexpr qint64 inBufferSize = 32767;
    // How long Output waits for the system to take its bytes before it counts the device as
    // failed. Without flow control this only runs out on a device that is stuck.
    static constexpr int outputTimeoutMs = 1000;

    explicit SerialPortControl(ComPortNumbering numbering = systemComPortNumbering());
    // Numbers that name fixed devices and need no listing.
    explicit SerialPortControl(ComPortResolver resolver);
    ~SerialPortControl() override;

    void setPortOpen(bool open) override;
    bool PortOpen() const override;
    void setOutput(const QString &data) override;
    int InBufferCount() override;
    QString Input() override;

protected:
    bool applyToOpenPort(const SerialSettings &settings) override;

private:
    void open();
    bool apply(const SerialSettings &settings);
    void requireOpen() const;
    void takeArrived();
    bool healthy();
    [[noreturn]] void failWhileOpen();

    QSerialPort m_port;
};

#endif // SERIALPORTCONTROL_H
