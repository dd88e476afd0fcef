#ifndef SERIALPORTCONTROL_H
#define SERIALPORTCONTROL_H

#include "portcontrolbase.h"

#include <QSerialPort>

// The serial control over the system's ports, through QSerialPort (what it keeps alike with
// the Windows control, and its errors: portcontrolbase.h).
//
// QSerialPort moves bytes only through the event loop or its wait calls, and the sweep lets no
// events run, so every member moves them itself with the wait calls.
class SerialPortControl : public PortControlBase
{
public:
    explicit SerialPortControl(ComPortNumbering numbering = systemComPortNumbering());
    // Numbers that name fixed devices and need no listing.
    explicit SerialPortControl(ComPortResolver resolver);
    ~SerialPortControl() override;

    bool PortOpen() const override;

private:
    void openDevice(const QString &device) override;
    void closeDevice() override;
    bool applyToOpenPort(const SerialSettings &settings) override;
    void write(const QByteArray &bytes) override;
    void takeArrived() override;
    qint64 received() const override;
    QByteArray takeReceived() override;

    bool apply(const SerialSettings &settings);
    bool healthy();
    [[noreturn]] void failWhileOpen();

    QSerialPort m_port;
};

#endif // SERIALPORTCONTROL_H
